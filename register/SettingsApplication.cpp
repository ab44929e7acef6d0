#include "SettingsApplication.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "core/StorageExceptions.h"
#include "register/ExceptionHandlers.h"
#include "storage/CachedDataTextfile.h"
#include "storage/DataPostgresPqxx.h"
#include "support/FileHelpers.h"
#include "support/Log.h"
#include "support/UserMessages.h"

namespace Kramo {
namespace {

std::unique_ptr<DataAccessInterface> OpenDatabaseStore(KramoSettings& settings) {
    const PostgresConnection connection{settings.ServerAddress(), settings.User(),
                                        settings.Password(), settings.DatabaseName(),
                                        settings.Port()};
    // With the database the sale's name is the one kept there, for every cash desk alike.
    std::string saleName = settings.SaleName();
    auto store = std::make_unique<DataPostgresPqxx>(
        connection, saleName, [](const std::exception& failure) { HandleException(failure); });
    settings.SetSaleName(saleName);
    return store;
}

std::unique_ptr<DataAccessInterface> OpenStore(KramoSettings& settings) {
    if (!settings.DatabaseInLocalFiles()) {
        return OpenDatabaseStore(settings);
    }
    // A fresh installation, or settings naming a new folder: the sellers' files need a home.
    CreateDirectoryIfMissing(settings.DataDirectory());
    return std::make_unique<CachedDataTextfile>(settings.DataDirectory());
}

}  // namespace

void ApplySettings(KramoSettings& settings, KramoRegister& kramoRegister,
                   UserInterfaceBase* userInterface) {
    if (settings.FontSize() != -1 && userInterface != nullptr) {
        userInterface->InstallFontStyle(settings.FontSize());
    }
    kramoRegister.ReleaseStore();

    std::string error;
    try {
        kramoRegister.ReplaceStore(OpenStore(settings));
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
