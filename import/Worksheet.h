#pragma once

#include <vector>

#include "import/CellRecord.h"

namespace YExcel {

// The cell records of one worksheet, in the order they stand in the stream.
struct Worksheet {
    std::vector<CellBlock> cells;
};

}  // namespace YExcel
