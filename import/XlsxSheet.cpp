#include "XlsxSheet.h"

#include <cctype>
#include <charconv>
#include <optional>
#include <stdexcept>

#include "import/CellText.h"
#include "support/FormatStream.h"
#include "support/Translation.h"

namespace KramoExcel {
namespace {

// A whole number of at most nine digits; none for anything else.
std::optional<std::size_t> WholeNumber(const char* first, const char* last) {
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || last - first > 9) {
        return std::nullopt;
    }
    return number;
}

// "B7" as row 6, column 1; none when the reference is no cell of the largest sheet.
std::optional<std::pair<std::size_t, std::size_t>> CellReference(const std::string& reference) {
    std::size_t column = 0;
    std::size_t letters = 0;
    while (letters < reference.size() && letters < 3 &&
           std::isalpha(static_cast<unsigned char>(reference[letters]))) {
        column = column * 26 + static_cast<std::size_t>(std::toupper(reference[letters]) - 'A' + 1);
        ++letters;
    }
    const char* digits = reference.data() + letters;
    const auto row = WholeNumber(digits, reference.data() + reference.size());
    if (letters == 0 || !row || *row == 0) {
        return std::nullopt;
    }
    return std::make_pair(*row - 1, column - 1);
}

std::string NumberText(const std::string& value) {
    double number = 0.0;
    return ParseXmlNumber(value, number) ? NumberCellText(number) : value;
}

std::string DateText(const std::string& value) {
    double serial = 0.0;
    return ParseIsoDate(value, serial) ? NumberCellText(serial) : value;
}

}  // namespace

std::string XlsxSheet::ReadElementText(XmlStreamReader& xml) {
    std::string text;
    if (xml.IsEmptyElement()) {
        return text;
    }
    const int depth = xml.Depth();
    while (xml.Next() && !(xml.IsEnd() && xml.Depth() == depth)) {
        if (xml.IsText()) {
            text += xml.Value();
        }
    }
    return text;
}

std::string XlsxSheet::ReadRichText(XmlStreamReader& xml) {
    std::string text;
    if (xml.IsEmptyElement()) {
        return text;
    }
    const int depth = xml.Depth();
    while (xml.Next() && !(xml.IsEnd() && xml.Depth() == depth)) {
        if (xml.IsStart() && xml.Is("rPh")) {
            xml.SkipElement();
        } else if (xml.IsStart() && xml.Is("t")) {
            text += ReadElementText(xml);
        }
    }
    return text;
}

void XlsxSheet::Read(ZipEntry& part, GridBuilder& grid) const {
    XmlStreamReader xml(part);
    Position next;
    std::size_t nextRow = 0;
    bool inSheetData = false;
    while (xml.Next()) {
        if (xml.Is("sheetData")) {
            inSheetData = xml.IsStart() && !xml.IsEmptyElement();
        } else if (!inSheetData || !xml.IsStart()) {
            continue;
        } else if (xml.Is("row")) {
            // Rows and cells may be left out; their references say where the next stands.
            const std::string reference = xml.Attribute("r").value_or("");
            const auto row = WholeNumber(reference.data(), reference.data() + reference.size());
            next.row = row && *row > 0 ? *row - 1 : nextRow;
            next.column = 0;
            nextRow = next.row + 1;
        } else if (xml.Is("c")) {
            ReadCell(xml, next, grid);
        }
    }
}

void XlsxSheet::ReadCell(XmlStreamReader& xml, Position& next, GridBuilder& grid) const {
    const std::string reference = xml.Attribute("r").value_or("");
    if (const auto position = CellReference(reference)) {
        next.row = position->first;
        next.column = position->second;
    }
    const Position at = next;
    ++next.column;
    const std::string type = xml.Attribute("t").value_or("n");
    if (xml.IsEmptyElement()) {
        return;  // a formatted blank cell
    }
    bool formula = false;
    std::optional<std::string> value;
    const int depth = xml.Depth();
    while (xml.Next() && !(xml.IsEnd() && xml.Depth() == depth)) {
        if (!xml.IsStart()) {
            continue;
        }
        if (xml.Is("f")) {
            formula = true;
            xml.SkipElement();
        } else if (xml.Is("v")) {
            value = ReadElementText(xml);
        } else if (xml.Is("is")) {
            value = ReadRichText(xml);
        } else {
            xml.SkipElement();
        }
    }
    if (formula || type == "e") {
        grid.Put(at.row, at.column, std::string());  // as the XLS reader gives them: empty
    } else if (!value) {
        return;
    } else if (type == "s") {
        grid.Put(at.row, at.column, SharedString(*value, reference));
    } else if (type == "b") {
        grid.Put(at.row, at.column, BooleanCellText(*value == "1" || *value == "true"));
    } else if (type == "d") {
        grid.Put(at.row, at.column, DateText(*value));
    } else if (type == "inlineStr" || type == "str") {
        grid.Put(at.row, at.column, std::move(*value));
    } else {
        grid.Put(at.row, at.column, NumberText(*value));
    }
}

std::string XlsxSheet::SharedString(const std::string& index, const std::string& reference) const {
    const auto number = WholeNumber(index.data(), index.data() + index.size());
    if (!number || *number >= sharedStrings_.size()) {
        throw std::runtime_error(
            (Kramo::FormatStream(_("bunka %s odkazuje na text, ktorý zošit nemá"))
             << reference.substr(0, 16))
                .str());
    }
    return sharedStrings_[*number];
}

}  // namespace KramoExcel
