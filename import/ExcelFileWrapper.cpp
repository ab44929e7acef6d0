#include "ExcelFileWrapper.h"

namespace KramoExcel {

bool ExcelFileWrapper::FindCell(const std::string& text, int& row, int& column) const {
    for (std::size_t r = 0; r < grid_.Rows(); ++r) {
        for (std::size_t c = 0; c < grid_.Columns(); ++c) {
            if (grid_.Cell(c, r) == text) {
                row = static_cast<int>(r);
                column = static_cast<int>(c);
                return true;
            }
        }
    }
    row = -1;
    column = -1;
    return false;
}

}  // namespace KramoExcel
