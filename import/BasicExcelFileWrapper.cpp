#include "BasicExcelFileWrapper.h"

#include <cstdio>
#include <stdexcept>

#include "import/CellText.h"
#include "import/ExcelDocument.h"
#include "import/GridBuilder.h"
#include "import/Utf16Text.h"
#include "support/FileHelpers.h"
#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

namespace KramoExcel {

namespace {

// The damage itself is a reader's technical note, the same one the log gets: not translated.
std::string Damaged(const std::string& damage) {
    return (Kramo::FormatStream(_("The workbook is damaged: %s.")) << damage).str();
}

}  // namespace

BasicExcelFileWrapper::BasicExcelFileWrapper(std::string copyFolder)
    : copyPath_(std::move(copyFolder) + "/tmp.xls") {}

std::string BasicExcelFileWrapper::CellText(const YExcel::ExcelCell& cell) {
    int32_t integer = 0;
    switch (cell.Kind()) {
        case YExcel::CellInteger:
            cell.GetInteger(integer);
            return IntegerCellText(integer);
        case YExcel::CellDouble:
            return FractionCellText(cell.GetDouble());
        case YExcel::CellText8:
        case YExcel::CellText16:
            return Utf16ToUtf8(cell.Text());
        default:  // empty cells and formulas
            return {};
    }
}

void BasicExcelFileWrapper::LoadFile(const std::string& path) {
    if (path.find('.') == std::string::npos) {
        throw std::runtime_error(_("File does not have extension."));
    }
    if (Kramo::LowerCaseExtension(path) != "xls") {
        throw std::runtime_error(_("File extension is not xls."));
    }
    if (!Kramo::CopyFileContents(path, copyPath_)) {
        throw std::runtime_error(_("Could not open file."));
    }
    YExcel::ExcelDocument document;
    if (!document.Load(copyPath_)) {
        throw std::runtime_error(_("Could not open file."));
    }
    // The seller's sheet is the first: damage after it, in a sheet nobody reads, costs nothing.
    const YExcel::ExcelSheet* sheet = document.Sheet(0);
    if (sheet == nullptr) {
        throw std::runtime_error(document.Damage().empty() ? _("XLS contains no sheets")
                                                           : Damaged(document.Damage()));
    }
    if (!sheet->Damage().empty()) {
        throw std::runtime_error(Damaged(sheet->Damage()));
    }
    if (sheet->Overfull()) {
        throw GridBuilder::TooManyCells();
    }
    if (!document.Damage().empty()) {
        Kramo::LogMessage(Kramo::LogNotice,
                          "Workbook '%s' is damaged after its first sheet (%s); the first sheet "
                          "was read whole and is used.\n",
                          path.c_str(), document.Damage().c_str());
    }
    FillGrid(*sheet);
    std::remove(copyPath_.c_str());
}

void BasicExcelFileWrapper::FillGrid(const YExcel::ExcelSheet& sheet) {
    grid_ = CellGrid(sheet.RowCount(), sheet.ColumnCount());
    sheet.ForEachCell([this](uint32_t row, uint32_t column, const YExcel::ExcelCell& cell) {
        grid_.Put(column, row, CellText(cell));
    });
}

}  // namespace KramoExcel
