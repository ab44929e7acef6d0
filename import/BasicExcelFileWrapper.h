#pragma once

#include <string>

#include "import/ExcelFileWrapper.h"

namespace YExcel {
class ExcelCell;
class ExcelSheet;
}  // namespace YExcel

namespace KramoExcel {

// Reads XLS workbooks. The file is read from a copy, "tmp.xls", so that the seller's own file
// stays free while the workbook is held.
class BasicExcelFileWrapper : public ExcelFileWrapper {
  public:
    // The copy goes into this folder (the working directory by default).
    explicit BasicExcelFileWrapper(std::string copyFolder = ".");

    void LoadFile(const std::string& path) override;

    // The text a cell shows in the grid.
    static std::string CellText(const YExcel::ExcelCell& cell);

  private:
    void FillGrid(const YExcel::ExcelSheet& sheet);

    std::string copyPath_;
};

}  // namespace KramoExcel
