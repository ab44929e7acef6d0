#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "pdf/PdfColumn.h"

namespace Kramo {

// The ordered columns of a document table.
class PdfColumns {
  public:
    void AddColumn(const std::string& title, unsigned int width);

    std::size_t Columns() const { return columns_.size(); }
    const PdfColumn& At(std::size_t index) const { return columns_.at(index); }
    PdfColumn& At(std::size_t index) { return columns_.at(index); }
    // A header row is drawn when at least one title is not empty.
    bool HasHeader() const;
    // The sum of the widths, percent of the page width.
    unsigned int TotalWidth() const;

  private:
    std::vector<PdfColumn> columns_;
};

}  // namespace Kramo
