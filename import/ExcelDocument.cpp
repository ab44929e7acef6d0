#include "ExcelDocument.h"

#include "import/WorkbookParser.h"

namespace YExcel {

bool ExcelDocument::Load(const std::string& path) {
    if (!storage_.Open(path)) {
        LoadStream({});
        return false;
    }
    std::vector<uint8_t> stream;
    storage_.ReadStream("Workbook", stream);
    LoadStream(stream);
    return true;
}

void ExcelDocument::LoadStream(const std::vector<uint8_t>& stream) {
    workbook_ = Workbook();
    worksheets_.clear();
    sheets_.clear();
    WorkbookParser parser(stream);
    parser.Parse(workbook_, worksheets_);
    damage_ = parser.Damage();
    for (const Worksheet& worksheet : worksheets_) {
        sheets_.emplace_back(worksheet, workbook_);
        if (damage_.empty()) {
            damage_ = sheets_.back().Damage();
        }
    }
}

const ExcelSheet* ExcelDocument::Sheet(std::size_t index) const {
    return index < sheets_.size() ? &sheets_[index] : nullptr;
}

}  // namespace YExcel
