#include "ExcelFileWrapper.h"

namespace KramoExcel {

bool ExcelFileWrapper::FindCell(const std::string& text, int& row, int& column) const {
    for (const auto& [position, cellText] : grid_.Filled()) {
        if (cellText == text) {
            row = static_cast<int>(position.first);
            column = static_cast<int>(position.second);
            return true;
        }
    }
    row = -1;
    column = -1;
    return false;
}

}  // namespace KramoExcel
