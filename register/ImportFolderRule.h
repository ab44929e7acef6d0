#pragma once

#include <optional>
#include <string>

#include "settings/KramoSettings.h"

namespace Kramo {

// The primary text of the box that refuses a folder import.
extern const char* const RefusedImportFolderTitle;

// Why a folder import must not run on the folder (the detail of the box), or nothing when it
// may. The import moves every file of the folder away, so the program's own folders are never
// taken: the data folder, the program folder, and any folder that holds the window description
// or the settings file.
std::optional<std::string> RefusedImportFolder(const std::string& folder,
                                               const KramoSettings& settings);

}  // namespace Kramo
