#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "import/ExcelSheet.h"
#include "import/StructuredStorage.h"
#include "import/Workbook.h"
#include "import/Worksheet.h"

namespace YExcel {

// An XLS workbook read whole: its globals, its worksheets in stream order, and one grid of
// cells per worksheet.
class ExcelDocument {
  public:
    // False only when the file cannot be opened as a compound document. A missing or
    // damaged workbook stream loads what it can (see WorksheetCount and Damage).
    bool Load(const std::string& path);
    // Loads a workbook stream already in memory.
    void LoadStream(const std::vector<uint8_t>& stream);

    std::size_t WorksheetCount() const { return sheets_.size(); }
    // None when the index is not below the count.
    const ExcelSheet* Sheet(std::size_t index) const;
    // Empty unless the workbook was damaged; then what was wrong first. A sheet read whole
    // before the damage has no damage of its own (ExcelSheet::Damage) and can be used.
    const std::string& Damage() const { return damage_; }

  private:
    KramoExcel::StructuredStorage storage_;
    Workbook workbook_;
    std::vector<Worksheet> worksheets_;
    std::vector<ExcelSheet> sheets_;
    std::string damage_;
};

}  // namespace YExcel
