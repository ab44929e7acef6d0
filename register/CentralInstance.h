#pragma once

#include <functional>
#include <memory>

#include "core/ItemSearch.h"
#include "register/KramoRegister.h"
#include "register/UserInterfaceBase.h"
#include "settings/ExceptionReporter.h"
#include "settings/KramoSettings.h"

namespace Kramo {

// The one application object: the settings, the register with the open store, the item search
// and the windows, created in this order on first use and destroyed in the reverse order.
class CentralInstance {
  public:
    using UserInterfaceFactory =
        std::function<std::unique_ptr<UserInterfaceBase>(CentralInstance&)>;

    // The instance, created on first use; a logic error once it has been removed.
    static CentralInstance& Instance();
    // How the first use makes the windows' object; without one the program has no windows.
    static void SetUserInterfaceFactory(UserInterfaceFactory factory);
    // Shutdown: the windows, then the register with its store, then the settings.
    static void Remove();

    // Only Instance() makes one.
    class CreationKey {
        friend class CentralInstance;
        CreationKey() = default;
    };
    CentralInstance(CreationKey, const UserInterfaceFactory& factory);
    CentralInstance(const CentralInstance&) = delete;
    CentralInstance& operator=(const CentralInstance&) = delete;

    KramoSettings& Settings() { return settings_; }
    KramoRegister& Register() { return register_; }
    ItemSearch& Search() { return itemSearch_; }
    // Null when the program runs without windows.
    UserInterfaceBase* UserInterface() { return userInterface_.get(); }

    // Sets the font and opens the store the settings choose. A store that cannot be opened is
    // logged, shown and thrown as a runtime error; the register then holds no store.
    void ApplySettings();

  private:
    // Reports settings failures through the common handler.
    class Reporter : public ExceptionReporter {
      public:
        void HandleException(const std::exception& failure) override;
    };

    // Declared in the order of creation; destroyed windows first, settings last. The search
    // comes before the windows, which use it.
    Reporter reporter_;
    KramoSettings settings_;
    KramoRegister register_;
    ItemSearch itemSearch_;
    std::unique_ptr<UserInterfaceBase> userInterface_;
};

}  // namespace Kramo
