#pragma once

#include <string>

#include "support/Timestamp.h"

namespace Kramo {

// "Prefix_yy-mm-dd_hh-mm.ext" with the local time: the proposed name of a saved document.
std::string TimeStampedFileName(const std::string& prefix, const std::string& extension,
                                const Timestamp& time);
std::string TimeStampedFileName(const std::string& prefix, const std::string& extension);

// folder + name when no such file exists yet, else the name with "_2", "_3", ... before its
// extension: the first that is free. The folder ends with its separator.
std::string FreeFilePath(const std::string& folder, const std::string& name);

// A text from the data as a part of a file name: separators become '_', so that the name
// stays inside its folder.
std::string FileNamePart(const std::string& text);

}  // namespace Kramo
