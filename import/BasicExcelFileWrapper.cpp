#include "BasicExcelFileWrapper.h"

#include <cstdio>
#include <stdexcept>

#include "import/ExcelDocument.h"
#include "import/Utf16Text.h"
#include "support/FileHelpers.h"
#include "support/FormatText.h"
#include "support/TextHelpers.h"

namespace KramoExcel {
namespace {

// A seller's list is a few hundred rows; a workbook asking for millions of cells is damaged
// or hostile and would only exhaust the memory.
constexpr std::size_t MaxGridCells = 1u << 20;

}  // namespace

BasicExcelFileWrapper::BasicExcelFileWrapper(std::string copyFolder)
    : copyPath_(std::move(copyFolder) + "/tmp.xls") {}

std::string BasicExcelFileWrapper::CellText(const YExcel::ExcelCell& cell) {
    int32_t integer = 0;
    switch (cell.Kind()) {
        case YExcel::CellInteger:
            cell.GetInteger(integer);
            return Kramo::FormatText("%i", integer);
        case YExcel::CellDouble:
            return Kramo::FormatText("%0.2f", cell.GetDouble());
        case YExcel::CellText8:
        case YExcel::CellText16:
            return Utf16ToUtf8(cell.Text());
        default:  // empty cells and formulas
            return {};
    }
}

void BasicExcelFileWrapper::LoadFile(const std::string& path) {
    if (path.find('.') == std::string::npos) {
        throw std::runtime_error("File does not have extension.");
    }
    if (Kramo::LowerCaseExtension(path) != "xls") {
        throw std::runtime_error("File extension is not xls.");
    }
    if (!Kramo::CopyFileContents(path, copyPath_)) {
        throw std::runtime_error("Could not open file.");
    }
    YExcel::ExcelDocument document;
    if (!document.Load(copyPath_)) {
        throw std::runtime_error("Could not open file.");
    }
    if (!document.Damage().empty()) {
        throw std::runtime_error("The workbook is damaged: " + document.Damage() + ".");
    }
    if (document.WorksheetCount() == 0) {
        throw std::runtime_error("XLS contains no sheets");
    }
    const YExcel::ExcelSheet* sheet = document.Sheet(0);
    if (sheet == nullptr) {
        throw std::runtime_error("Error retrieving sheet");
    }
    FillGrid(*sheet);
    std::remove(copyPath_.c_str());
}

void BasicExcelFileWrapper::FillGrid(const YExcel::ExcelSheet& sheet) {
    const std::size_t rows = sheet.RowCount();
    const std::size_t columns = sheet.ColumnCount();
    if (rows * columns > MaxGridCells) {
        throw std::runtime_error("The workbook is damaged: its sheet is too large.");
    }
    grid_ = Kramo::PdfTable(rows, columns);
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t column = 0; column < columns; ++column) {
            grid_.Cell(column, row) =
                CellText(sheet.CellAt(static_cast<uint32_t>(row), static_cast<uint32_t>(column)));
        }
    }
}

}  // namespace KramoExcel
