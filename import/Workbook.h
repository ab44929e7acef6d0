#pragma once

#include <string>
#include <vector>

#include "import/SharedStringTable.h"

namespace YExcel {

// What the workbook's globals hold that the sheets need.
struct Workbook {
    SharedStringTable sharedStrings;
    std::vector<std::string> sheetNames;  // read, not used to find the sheets
    // The first damage met in the globals: it concerns every sheet.
    std::string damage;
};

}  // namespace YExcel
