#include "OdsWorkbook.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <utility>
#include <vector>

#include "import/CellText.h"
#include "import/LibraryWarningsToLog.h"
#include "import/ZipContainer.h"
#include "support/Translation.h"

namespace KramoExcel {
namespace {

const char* const OfficeNs = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
const char* const TableNs = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
const char* const TextNs = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";

// A repeat count of the attribute: at least 1, at most the limit.
std::size_t Repeats(const XmlStreamReader& xml, const char* attribute, const char* namespaceUri,
                    std::size_t limit) {
    const std::string text = xml.Attribute(attribute, namespaceUri).value_or("1");
    unsigned long long count = 1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error == std::errc::result_out_of_range) {
        return limit;
    }
    return error != std::errc() || count == 0
               ? 1
               : static_cast<std::size_t>(std::min<unsigned long long>(count, limit));
}

bool IsRowGroup(const XmlStreamReader& xml) {
    return xml.Is("table-header-rows", TableNs) || xml.Is("table-row-group", TableNs) ||
           xml.Is("table-rows", TableNs);
}

bool IsCell(const XmlStreamReader& xml) {
    return xml.Is("table-cell", TableNs) || xml.Is("covered-table-cell", TableNs);
}

std::string NumberOr(const std::optional<std::string>& value,
                     bool (*parse)(const std::string&, double&), std::string shown) {
    double number = 0.0;
    return value && parse(*value, number) ? NumberCellText(number) : shown;
}

// Paragraph text as OpenDocument keeps it: a run of white space is one space, none at the
// start of a paragraph; spaces that count are written as <text:s>.
class ParagraphText {
  public:
    void StartParagraph() {
        if (paragraphs_++ > 0) {
            Append("\n");
        }
        collapsing_ = true;
    }
    void AppendCharacters(const std::string& characters) {
        for (const char c : characters) {
            const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
            if (!space) {
                text_ += c;
                collapsing_ = false;
            } else if (!collapsing_) {
                text_ += ' ';
                collapsing_ = true;
            }
        }
        GridBuilder::CheckCellText(text_.size());
    }
    void Append(const std::string& kept) {
        text_ += kept;
        collapsing_ = false;
        GridBuilder::CheckCellText(text_.size());
    }
    bool HasParagraph() const { return paragraphs_ > 0; }
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
    int paragraphs_ = 0;
    bool collapsing_ = true;
};

}  // namespace

void OdsWorkbook::LoadFile(const std::string& path) {
    LibraryWarningsToLog warnings("Zip container");
    const ZipContainer zip(path);
    ZipEntry content = zip.Open("content.xml");
    XmlStreamReader xml(content);
    GridBuilder builder;
    while (xml.Next()) {
        if (xml.IsStart() && xml.Is("table", TableNs)) {
            ReadTable(xml, builder);
            grid_ = builder.Finish();
            return;
        }
    }
    throw std::runtime_error(_("zošit neobsahuje žiadny hárok"));
}

void OdsWorkbook::ReadTable(XmlStreamReader& xml, GridBuilder& grid) {
    if (xml.IsEmptyElement()) {
        return;
    }
    const int depth = xml.Depth();
    std::size_t row = 0;
    while (xml.Next() && !(xml.IsEnd() && xml.Depth() == depth)) {
        if (!xml.IsStart() || IsRowGroup(xml)) {
            continue;  // rows in groups count as the others
        }
        if (xml.Is("table-row", TableNs)) {
            row += ReadRow(xml, row, grid);
        } else {
            xml.SkipElement();  // columns, shapes, named ranges
        }
    }
}

std::size_t OdsWorkbook::ReadRow(XmlStreamReader& xml, std::size_t firstRow, GridBuilder& grid) {
    const std::size_t repeats = Repeats(xml, "number-rows-repeated", TableNs, GridBuilder::MaxRows);
    if (xml.IsEmptyElement()) {
        return repeats;
    }
    std::vector<std::pair<std::size_t, std::string>> cells;
    std::size_t column = 0;
    const int depth = xml.Depth();
    while (xml.Next() && !(xml.IsEnd() && xml.Depth() == depth)) {
        if (!xml.IsStart()) {
            continue;
        }
        if (!IsCell(xml)) {
            xml.SkipElement();
            continue;
        }
        const std::size_t width =
            Repeats(xml, "number-columns-repeated", TableNs, GridBuilder::MaxColumns);
        if (const std::optional<std::string> text = ReadCell(xml)) {
            const std::size_t end = std::min(column + width, GridBuilder::MaxColumns);
            grid.ExpectMore(cells.size() + (end > column ? end - column : 0));
            for (std::size_t at = column; at < end; ++at) {
                cells.emplace_back(at, *text);
            }
        }
        column = std::min(column + width, GridBuilder::MaxColumns);
    }
    if (cells.empty()) {
        return repeats;  // empty rows are only passed over, however many
    }
    const std::size_t rows =
        std::min(repeats, GridBuilder::MaxRows - std::min(firstRow, GridBuilder::MaxRows));
    grid.ExpectMore(rows > GridBuilder::MaxCells / cells.size() ? GridBuilder::MaxCells + 1
                                                                : rows * cells.size());
    for (std::size_t row = firstRow; row < firstRow + rows; ++row) {
        for (const auto& [at, text] : cells) {
            grid.Put(row, at, text);
        }
    }
    return repeats;
}

std::optional<std::string> OdsWorkbook::ReadCell(XmlStreamReader& xml) {
    // The attributes first: reading the paragraphs moves the reader on.
    const std::optional<std::string> type = xml.Attribute("value-type", OfficeNs);
    const bool formula = xml.Attribute("formula", TableNs).has_value();
    const std::optional<std::string> value = xml.Attribute("value", OfficeNs);
    const std::optional<std::string> boolean = xml.Attribute("boolean-value", OfficeNs);
    const std::optional<std::string> date = xml.Attribute("date-value", OfficeNs);
    const std::optional<std::string> time = xml.Attribute("time-value", OfficeNs);
    bool hasParagraph = false;
    std::string shown = ReadParagraphs(xml, hasParagraph);
    if (formula) {
        return std::string();  // as the XLS reader gives a formula: empty
    }
    if (!type) {
        return hasParagraph ? std::optional<std::string>(std::move(shown)) : std::nullopt;
    }
    if (*type == "float" || *type == "percentage" || *type == "currency") {
        return NumberOr(value, &ParseXmlNumber, std::move(shown));
    }
    if (*type == "boolean") {
        return BooleanCellText(boolean.value_or("") == "true");
    }
    if (*type == "date") {
        return NumberOr(date, &ParseIsoDate, std::move(shown));
    }
    if (*type == "time") {
        return NumberOr(time, &ParseIsoDuration, std::move(shown));
    }
    return shown;
}

std::string OdsWorkbook::ReadParagraphs(XmlStreamReader& xml, bool& hasParagraph) {
    ParagraphText text;
    if (!xml.IsEmptyElement()) {
        const int depth = xml.Depth();
        int paragraphDepth = -1;
        while (xml.Next() && !(xml.IsEnd() && xml.Depth() == depth)) {
            if (xml.IsEnd() && xml.Depth() == paragraphDepth) {
                paragraphDepth = -1;
            } else if (xml.IsText()) {
                if (paragraphDepth >= 0) {
                    text.AppendCharacters(xml.Value());
                }
            } else if (!xml.IsStart()) {
                continue;
            } else if (xml.Is("p", TextNs) || xml.Is("h", TextNs)) {
                text.StartParagraph();
                paragraphDepth = xml.IsEmptyElement() ? -1 : xml.Depth();
            } else if (xml.Is("s", TextNs)) {
                const std::size_t count = Repeats(xml, "c", TextNs, GridBuilder::MaxCellBytes + 1);
                text.Append(std::string(count, ' '));
            } else if (xml.Is("tab", TextNs)) {
                text.Append("\t");
            } else if (xml.Is("line-break", TextNs)) {
                text.Append("\n");
            } else if (xml.Is("note", TextNs) || !xml.InNamespace(TextNs)) {
                xml.SkipElement();  // comments, notes, frames: not the cell's text
            }
        }
    }
    hasParagraph = text.HasParagraph();
    return text.Take();
}

}  // namespace KramoExcel
