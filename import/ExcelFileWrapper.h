#pragma once

#include <string>

#include "import/CellGrid.h"

namespace KramoExcel {

// A spreadsheet read as a grid of UTF-8 cell texts.
class ExcelFileWrapper {
  public:
    virtual ~ExcelFileWrapper() = default;

    // Replaces the grid with the first worksheet of the file; throws std::runtime_error with
    // the reason when that fails.
    virtual void LoadFile(const std::string& path) = 0;

    // The first cell whose whole text is the given (non-empty) one, row by row from the top,
    // each row from the left; -1 and -1 when there is none.
    bool FindCell(const std::string& text, int& row, int& column) const;

    const CellGrid& Grid() const { return grid_; }

  protected:
    CellGrid grid_;
};

}  // namespace KramoExcel
