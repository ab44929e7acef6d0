#include "CentralInstance.h"

#include <stdexcept>

#include "core/StorageExceptions.h"
#include "register/ExceptionHandlers.h"
#include "storage/CachedDataTextfile.h"
#include "storage/DataPostgresPqxx.h"
#include "support/FileHelpers.h"
#include "support/Log.h"
#include "support/UserMessages.h"

namespace Kramo {
namespace {

CentralInstance::UserInterfaceFactory& Factory() {
    static CentralInstance::UserInterfaceFactory factory;
    return factory;
}

// The instance lives from its first use until Remove; after that it is never made again.
struct InstanceHolder {
    std::unique_ptr<CentralInstance> instance;
    bool removed = false;
};

InstanceHolder& Holder() {
    static InstanceHolder holder;
    return holder;
}

}  // namespace

CentralInstance& CentralInstance::Instance() {
    InstanceHolder& holder = Holder();
    if (!holder.instance) {
        if (holder.removed) {
            throw std::logic_error("CentralInstance used after it was removed");
        }
        holder.instance = std::make_unique<CentralInstance>(CreationKey(), Factory());
    }
    return *holder.instance;
}

void CentralInstance::SetUserInterfaceFactory(UserInterfaceFactory factory) {
    Factory() = std::move(factory);
}

void CentralInstance::Remove() {
    InstanceHolder& holder = Holder();
    holder.instance.reset();
    holder.removed = true;
}

CentralInstance::CentralInstance(CreationKey, const UserInterfaceFactory& factory)
    : settings_(reporter_),
      itemSearch_([this]() -> DataAccessInterface& { return register_.Store(); },
                  [](const std::exception& failure) { Kramo::HandleException(failure); }) {
    if (factory) {
        userInterface_ = factory(*this);
    }
}

void CentralInstance::Reporter::HandleException(const std::exception& failure) {
    Kramo::HandleException(failure);
}

std::unique_ptr<DataAccessInterface> CentralInstance::OpenStore() {
    if (!settings_.DatabaseInLocalFiles()) {
        return OpenDatabaseStore();
    }
    // A fresh installation, or settings naming a new folder: the sellers' files need a home.
    CreateDirectoryIfMissing(settings_.DataDirectory());
    return std::make_unique<CachedDataTextfile>(settings_.DataDirectory());
}

std::unique_ptr<DataAccessInterface> CentralInstance::OpenDatabaseStore() {
    const PostgresConnection connection{settings_.ServerAddress(), settings_.User(),
                                        settings_.Password(), settings_.DatabaseName(),
                                        settings_.Port()};
    // With the database the sale's name is the one kept there, for every cash desk alike.
    std::string saleName = settings_.SaleName();
    auto store = std::make_unique<DataPostgresPqxx>(
        connection, saleName, [](const std::exception& failure) { HandleException(failure); });
    settings_.SetSaleName(saleName);
    return store;
}

void CentralInstance::ApplySettings() {
    if (settings_.FontSize() != -1 && userInterface_) {
        userInterface_->InstallFontStyle(settings_.FontSize());
    }
    register_.ReleaseStore();

    std::string error;
    try {
        register_.ReplaceStore(OpenStore());
    } catch (const DataStorageException& failure) {
        error = failure.what();
    } catch (...) {
        error = "Error initializing data connection";
    }
    if (error.empty()) {
        return;
    }
    LogMessage(LogError, "%s\n", error.c_str());
    ShowErrorBox(error, "Error initing dialog.");
    throw std::runtime_error(error);
}

}  // namespace Kramo
