#pragma once

namespace Kramo {

// The windows as the start-up and the settings see them; the toolkit's side implements it.
class UserInterfaceBase {
  public:
    virtual ~UserInterfaceBase() = default;

    // Builds every window from the window description; false when that failed (the user has
    // been told).
    virtual bool SetupDialogs() = 0;
    // Fills the seller list from the store and shows the first seller, or says there is none.
    virtual void LoadSellers() = 0;
    // Runs the main loop until the main window closes.
    virtual void Run() = 0;
    // Every widget uses the desktop's font family at this size; set once at start, before the
    // windows are built.
    virtual void InstallFontStyle(int size) = 0;
};

}  // namespace Kramo
