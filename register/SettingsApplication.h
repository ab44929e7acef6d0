#pragma once

#include "register/KramoRegister.h"
#include "register/UserInterfaceBase.h"
#include "settings/KramoSettings.h"

namespace Kramo {

// Sets the interface font (when there are windows) and replaces the register's store with the
// one the settings choose. A store that cannot be opened is logged, shown and thrown as a
// runtime error; the register then holds no store. Seller files that the text store skipped
// or set aside are named in one box.
void ApplySettings(KramoSettings& settings, KramoRegister& kramoRegister,
                   UserInterfaceBase* userInterface);

}  // namespace Kramo
