#include "CentralInstance.h"

#include <stdexcept>

#include "register/ExceptionHandlers.h"
#include "register/SettingsApplication.h"

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

void CentralInstance::ApplySettings() {
    Kramo::ApplySettings(settings_, register_, userInterface_.get());
}

}  // namespace Kramo
