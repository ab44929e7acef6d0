#include "PdfColumns.h"

#include <algorithm>

namespace Kramo {

void PdfColumns::AddColumn(const std::string& title, unsigned int width) {
    PdfColumn column;
    column.title = title;
    column.width = width;
    columns_.push_back(std::move(column));
}

bool PdfColumns::HasHeader() const {
    return std::any_of(columns_.begin(), columns_.end(),
                       [](const PdfColumn& column) { return !column.title.empty(); });
}

unsigned int PdfColumns::TotalWidth() const {
    unsigned int total = 0;
    for (const PdfColumn& column : columns_) {
        total += column.width;
    }
    return total;
}

}  // namespace Kramo
