#pragma once

#include <string>

#include "support/Timestamp.h"

namespace Kramo {

// "Prefix_yy-mm-dd_hh-mm.ext" with the local time: the proposed name of a saved document.
std::string TimeStampedFileName(const std::string& prefix, const std::string& extension,
                                const Timestamp& time);
std::string TimeStampedFileName(const std::string& prefix, const std::string& extension);

}  // namespace Kramo
