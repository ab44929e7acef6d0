#pragma once

#include <cstddef>
#include <string>

#include "import/GObjectHandle.h"
#include "import/ZipEntry.h"

typedef struct _GsfInfile GsfInfile;

namespace KramoExcel {

// A zip file read through libgsf, the container of xlsx and ods workbooks. Parts are named by
// their path inside the container ("xl/workbook.xml"), letter case not counting.
class ZipContainer {
  public:
    // A seller's workbook is a few kilobytes; a larger file is refused before it is opened.
    static constexpr std::size_t MaxFileBytes = std::size_t{32} << 20;

    // Throws std::runtime_error with the reason in words when the file cannot be opened or is
    // no complete zip file.
    explicit ZipContainer(const std::string& path);

    bool Has(const std::string& partName) const;
    // The part, to be read piece by piece. Throws std::runtime_error with the reason in words
    // when it is missing or claims more than ZipEntry::MaxBytes.
    ZipEntry Open(const std::string& partName) const;

  private:
    // A new reference to the part, or none.
    GsfInput* Find(const std::string& partName) const;

    GObjectHandle<GsfInfile> zip_;
    std::size_t fileBytes_ = 0;
};

}  // namespace KramoExcel
