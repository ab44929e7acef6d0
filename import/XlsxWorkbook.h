#pragma once

#include <map>
#include <string>
#include <vector>

#include "import/ExcelFileWrapper.h"
#include "import/ZipContainer.h"

namespace KramoExcel {

// Reads xlsx workbooks (Office Open XML, as Excel 2007 and later, LibreOffice and gnumeric
// save them): the first worksheet in the workbook's order becomes the grid, its cells as the
// XLS reader gives the same cells (XlsxSheet).
class XlsxWorkbook : public ExcelFileWrapper {
  public:
    void LoadFile(const std::string& path) override;

  private:
    struct Relationship {
        std::string type;
        std::string target;  // the part's name in the container
    };
    using Relationships = std::map<std::string, Relationship>;

    // The relationships of a part, from its "_rels/<name>.rels"; none when it has no such part.
    static Relationships ReadRelationships(const ZipContainer& zip, const std::string& part);
    // The part of the given type ("/worksheet"); empty when there is none.
    static std::string TargetOfType(const Relationships& relationships, const std::string& type);
    static std::string WorkbookPart(const ZipContainer& zip);
    static std::string FirstWorksheetPart(const ZipContainer& zip, const std::string& workbook,
                                          const Relationships& relationships);
    static std::vector<std::string> ReadSharedStrings(const ZipContainer& zip,
                                                      const std::string& part);
};

}  // namespace KramoExcel
