#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "import/CellRecord.h"

namespace YExcel {

// The cell records of one worksheet, in the order they stand in the stream.
struct Worksheet {
    // More cells than a seller's sheet could ever need; a sheet claiming more would only
    // exhaust the memory. MULRK and MULBLANK records count once per column.
    static constexpr std::size_t MaxCells = std::size_t{1} << 20;

    std::vector<CellBlock> cells;
    std::size_t cellCount = 0;
    // More than MaxCells: the cells are dropped, the sheet is refused as too large to read.
    bool overfull = false;
    // The first damage met inside the worksheet; empty when it was read whole.
    std::string damage;
};

}  // namespace YExcel
