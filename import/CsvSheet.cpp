#include "CsvSheet.h"

#include <glib.h>

#include <array>
#include <stdexcept>

#include "support/FileHelpers.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/StringEncoding.h"
#include "support/Translation.h"

namespace KramoExcel {
namespace {

constexpr std::size_t LinesForTheSeparator = 20;
const char Separators[] = {';', ',', '\t'};  // in this order when they stand equally often

bool StartsWith(const std::string& text, const char* start) {
    return text.compare(0, std::char_traits<char>::length(start), start) == 0;
}

// The fields of the text, one after the other, with the row and column each stands in.
class FieldSplitter {
  public:
    FieldSplitter(char separator, GridBuilder& grid) : separator_(separator), grid_(grid) {}

    void Split(const std::string& text) {
        for (std::size_t at = 0; at < text.size(); ++at) {
            const char c = text[at];
            const bool crlf = c == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
            if (quoted_) {
                InQuotes(c, crlf, text, at);
            } else if (c == '"' && field_.empty() && !wasQuoted_) {
                quoted_ = true;
                wasQuoted_ = true;
                quoteLine_ = line_;
            } else if (c == separator_) {
                EndField();
            } else if (c == '\n' || c == '\r') {
                at += crlf;
                EndField();
                EndRow();
            } else {
                Add(c);
            }
        }
        if (quoted_) {
            throw std::runtime_error(Kramo::FormatText(
                _("úvodzovky otvorené na riadku %zu sa do konca súboru nezatvorili"), quoteLine_));
        }
        if (column_ > 0 || !field_.empty() || wasQuoted_) {
            EndField();  // the last line without its line break
        }
    }

  private:
    void InQuotes(char c, bool crlf, const std::string& text, std::size_t& at) {
        if (c == '"' && at + 1 < text.size() && text[at + 1] == '"') {
            Add('"');
            ++at;
        } else if (c == '"') {
            quoted_ = false;
        } else if (crlf) {
            // A line break in a cell: one character, as a spreadsheet keeps it.
            Add('\n');
            ++at;
            ++line_;
        } else {
            line_ += c == '\n';
            Add(c);
        }
    }

    void Add(char c) {
        field_ += c;
        if (field_.size() > GridBuilder::MaxCellBytes) {
            throw std::runtime_error(
                Kramo::FormatText(_("pole z riadku %zu má viac ako %zu kB textu%s"),
                                  quoted_ ? quoteLine_ : line_, GridBuilder::MaxCellBytes >> 10,
                                  quoted_ ? _("; nechýbajú v ňom koncové úvodzovky?") : ""));
        }
    }

    void EndField() {
        if (column_ >= GridBuilder::MaxColumns) {
            throw std::runtime_error(Kramo::FormatText(_("riadok %zu má viac ako %zu polí"), line_,
                                                       GridBuilder::MaxColumns));
        }
        grid_.Put(row_, column_++, std::move(field_));
        field_.clear();
        wasQuoted_ = false;
    }

    void EndRow() {
        ++line_;
        column_ = 0;
        if (++row_ > GridBuilder::MaxRows) {
            throw std::runtime_error(
                Kramo::FormatText(_("súbor má viac ako %zu riadkov, toľko ich program nenačíta"),
                                  GridBuilder::MaxRows));
        }
    }

    const char separator_;
    GridBuilder& grid_;
    std::string field_;
    std::size_t row_ = 0;
    std::size_t column_ = 0;
    std::size_t line_ = 1;  // as a text editor counts them, for the reasons
    std::size_t quoteLine_ = 0;
    bool quoted_ = false;
    bool wasQuoted_ = false;
};

}  // namespace

std::string CsvSheet::ReadFile(const std::string& path) {
    const Kramo::FileHandle file = Kramo::OpenRegularFile(path, "rb");
    if (!file) {
        throw std::runtime_error(_("súbor sa nepodarilo otvoriť"));
    }
    std::string bytes;
    std::array<char, 65536> buffer{};
    std::size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) {
        bytes.append(buffer.data(), count);
        if (bytes.size() > MaxFileBytes) {
            throw std::runtime_error(Kramo::FormatText(
                _("súbor je väčší ako %zu MB, taký hárok predajcu program nenačíta"),
                MaxFileBytes >> 20));
        }
    }
    if (std::ferror(file.get())) {
        throw std::runtime_error(_("súbor sa nepodarilo prečítať"));
    }
    return bytes;
}

std::string CsvSheet::ToUtf8(std::string bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.erase(0, 3);
        if (!g_utf8_validate(bytes.data(), static_cast<gssize>(bytes.size()), nullptr)) {
            throw std::runtime_error(_("súbor sa hlási ako UTF-8, ale jeho text v UTF-8 nie je"));
        }
        return bytes;
    }
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
        throw std::runtime_error(
            _("súbor je v kódovaní UTF-16; uložte ho ako CSV v kódovaní UTF-8 alebo Windows-1250"));
    }
    if (g_utf8_validate(bytes.data(), static_cast<gssize>(bytes.size()), nullptr)) {
        return bytes;
    }
    try {
        return Kramo::StringEncoding::ToUtf8(bytes, Kramo::StringEncoding::Windows1250Name);
    } catch (const std::runtime_error& failure) {
        Kramo::LogMessage(Kramo::LogNotice, "CSV text is neither UTF-8 nor Windows-1250: %s\n",
                          failure.what());
        throw std::runtime_error(_("text súboru nie je v kódovaní UTF-8 ani Windows-1250"));
    }
}

char CsvSheet::DetectSeparator(const std::string& text) {
    std::array<std::size_t, 3> counts{};
    bool quoted = false;
    std::size_t lines = 0;
    for (std::size_t at = 0; at < text.size() && lines < LinesForTheSeparator; ++at) {
        const char c = text[at];
        if (c == '"') {
            quoted = !quoted;  // a doubled quote turns twice
        } else if (!quoted && c == '\n') {
            ++lines;
        } else if (!quoted) {
            for (std::size_t kind = 0; kind < counts.size(); ++kind) {
                counts[kind] += c == Separators[kind];
            }
        }
    }
    std::size_t most = 0;
    for (std::size_t kind = 1; kind < counts.size(); ++kind) {
        if (counts[kind] > counts[most]) {
            most = kind;
        }
    }
    return Separators[most];
}

void CsvSheet::Split(const std::string& text, char separator, GridBuilder& grid) {
    FieldSplitter(separator, grid).Split(text);
}

void CsvSheet::LoadFile(const std::string& path) {
    const std::string text = ToUtf8(ReadFile(path));
    GridBuilder builder;
    Split(text, DetectSeparator(text), builder);
    grid_ = builder.Finish();
}

}  // namespace KramoExcel
