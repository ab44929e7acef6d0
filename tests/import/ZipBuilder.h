#pragma once

#include <string>
#include <utility>
#include <vector>

namespace KramoTest {

// Writes a zip container part by part through libgsf's zip writer (deflated, as office
// programs write them): the xlsx and ods workbooks of the reader tests, hostile ones included.
class ZipBuilder {
  public:
    // A part of a name already added is replaced.
    ZipBuilder& Add(std::string name, std::string content);
    // Throws std::runtime_error when the file cannot be written.
    void Write(const std::string& path) const;

    // The smallest xlsx: a workbook with one sheet whose <sheetData> holds the rows given,
    // and the shared strings (<si> elements) when there are any.
    static ZipBuilder Xlsx(const std::string& rows, const std::string& sharedStrings = "");
    // The smallest ods: one table holding the rows given.
    static ZipBuilder Ods(const std::string& rows);

  private:
    std::vector<std::pair<std::string, std::string>> parts_;
};

}  // namespace KramoTest
