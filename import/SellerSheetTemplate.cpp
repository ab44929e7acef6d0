#include "SellerSheetTemplate.h"

#include <xlsxwriter.h>

#include <cstdio>
#include <stdexcept>

#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace KramoExcel {
namespace {

// Rows and columns from 0, as libxlsxwriter counts them.
enum Column : lxw_col_t { NumberColumn = 0, NameColumn = 1, PriceColumn = 2, MarkerColumn = 3 };
constexpr lxw_row_t TitleRow = 0;
constexpr lxw_row_t InstructionsRow = 1;
constexpr lxw_row_t NameRow = 4;  // the name stands right above the code
constexpr lxw_row_t CodeRow = 5;
constexpr lxw_row_t NoteRow = 6;
constexpr lxw_row_t MarkerRow = 8;   // the item table's header row for the import
constexpr lxw_row_t HeadingRow = 9;  // the row below it, never read: the headings people see
constexpr lxw_row_t FirstItemRow = 10;

const char* const Instructions =
    N_("Vyplňte svoje meno, kód predajcu, ktorý vám pridelil organizátor, a poznámku (napríklad "
       "telefón). Potom ku každému číslu napíšte názov veci a jej cenu v eurách; číslo je to, "
       "ktoré dáte na vec. Riadky bez názvu alebo bez ceny sa neprenesú. Riadky a stĺpce "
       "nepresúvajte, súbor uložte (xlsx, ods alebo xls) a odovzdajte organizátorovi.");

class TemplateWriter {
  public:
    TemplateWriter(lxw_workbook* workbook, lxw_worksheet* sheet)
        : workbook_(workbook), sheet_(sheet) {}

    void Write(const std::string& saleName, int rows) {
        WriteTitle(saleName);
        WriteSellerFields();
        WriteItemTable(rows);
        worksheet_freeze_panes(sheet_, FirstItemRow, 0);
        // Printed on A4, as wide as the page, the headings on every page.
        worksheet_set_paper(sheet_, 9);
        worksheet_set_portrait(sheet_);
        worksheet_fit_to_pages(sheet_, 1, 0);
        worksheet_repeat_rows(sheet_, HeadingRow, HeadingRow);
    }

  private:
    lxw_format* Format(bool bold, double size, bool wrap = false) {
        lxw_format* format = workbook_add_format(workbook_);
        if (bold) {
            format_set_bold(format);
        }
        format_set_font_size(format, size);
        if (wrap) {
            format_set_text_wrap(format);
            format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
        }
        return format;
    }

    void WriteTitle(const std::string& saleName) {
        const std::string title =
            saleName.empty() ? std::string(_("Hárok predajcu"))
                             : (Kramo::FormatStream(_("Hárok predajcu – %s")) << saleName).str();
        worksheet_merge_range(sheet_, TitleRow, NumberColumn, TitleRow, PriceColumn, title.c_str(),
                              Format(true, 14));
        worksheet_set_row(sheet_, InstructionsRow, 40, nullptr);
        worksheet_set_row(sheet_, InstructionsRow + 1, 12, nullptr);
        worksheet_merge_range(sheet_, InstructionsRow, NumberColumn, InstructionsRow + 1,
                              PriceColumn, _(Instructions), Format(false, 10, true));
    }

    void WriteSellerFields() {
        lxw_format* label = Format(true, 11);
        lxw_format* field = Format(false, 11);
        format_set_bottom(field, LXW_BORDER_THIN);
        const struct {
            lxw_row_t row;
            const char* label;
            const char* marker;
        } fields[] = {{NameRow, N_("Meno a priezvisko:"), nullptr},
                      {CodeRow, N_("Kód predajcu:"), "!code!"},
                      {NoteRow, N_("Poznámka:"), "!note!"}};
        for (const auto& seller : fields) {
            worksheet_merge_range(sheet_, seller.row, NumberColumn, seller.row, NameColumn,
                                  _(seller.label), label);
            worksheet_write_blank(sheet_, seller.row, PriceColumn, field);
            if (seller.marker != nullptr) {
                worksheet_write_string(sheet_, seller.row, MarkerColumn, seller.marker, nullptr);
            }
        }
        // The seller's fields are the price column's cells above the table; their markers go
        // right beside them, in the hidden column.
        lxw_row_col_options hidden{};
        hidden.hidden = 1;
        worksheet_set_column_opt(sheet_, MarkerColumn, MarkerColumn, 10, nullptr, &hidden);
    }

    void WriteItemTable(int rows) {
        worksheet_set_column(sheet_, NumberColumn, NumberColumn, 8, nullptr);
        worksheet_set_column(sheet_, NameColumn, NameColumn, 42, nullptr);
        worksheet_set_column(sheet_, PriceColumn, PriceColumn, 30, nullptr);
        worksheet_write_string(sheet_, MarkerRow, NumberColumn, "!number!", nullptr);
        worksheet_write_string(sheet_, MarkerRow, NameColumn, "!name!", nullptr);
        worksheet_write_string(sheet_, MarkerRow, PriceColumn, "!price!", nullptr);
        worksheet_write_string(sheet_, MarkerRow, MarkerColumn, "!version3!", nullptr);
        lxw_row_col_options hidden{};
        hidden.hidden = 1;
        worksheet_set_row_opt(sheet_, MarkerRow, LXW_DEF_ROW_HEIGHT, nullptr, &hidden);

        lxw_format* heading = Format(true, 11);
        format_set_bottom(heading, LXW_BORDER_MEDIUM);
        // The import reads the markers above, never these headings: they may be translated.
        worksheet_write_string(sheet_, HeadingRow, NumberColumn, _("Číslo"), heading);
        worksheet_write_string(sheet_, HeadingRow, NameColumn, _("Názov veci"), heading);
        worksheet_write_string(sheet_, HeadingRow, PriceColumn, _("Cena (eur)"), heading);

        lxw_format* number = Format(true, 11);
        format_set_align(number, LXW_ALIGN_CENTER);
        lxw_format* price = Format(false, 11);
        format_set_num_format(price, "0.00");
        for (int item = 1; item <= rows; ++item) {
            const lxw_row_t row = FirstItemRow + static_cast<lxw_row_t>(item - 1);
            worksheet_write_number(sheet_, row, NumberColumn, item, number);
            worksheet_write_blank(sheet_, row, PriceColumn, price);
        }
    }

    lxw_workbook* workbook_;
    lxw_worksheet* sheet_;
};

}  // namespace

void WriteSellerSheetTemplate(const std::string& path, const std::string& saleName, int rows) {
    // libxlsxwriter writes the whole file when the workbook is closed: into a name of its own
    // first, so that a failure never leaves a broken sheet under the chosen name.
    const std::string partial = path + ".part";
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    lxw_workbook* workbook = workbook_new_opt(partial.c_str(), &options);
    if (workbook == nullptr) {
        throw std::runtime_error(
            (Kramo::FormatStream(_("Šablónu hárku sa nepodarilo vytvoriť: %s")) << path).str());
    }
    // TRANSLATORS: the name of the template's sheet tab; at most 31 characters.
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, _("Predajca"));
    TemplateWriter(workbook, sheet).Write(saleName, rows);
    const lxw_error closed = workbook_close(workbook);
    if (closed != LXW_NO_ERROR || std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        throw std::runtime_error(Kramo::FormatText(
            _("Šablónu hárku sa nepodarilo uložiť do %s: %s"), path.c_str(), lxw_strerror(closed)));
    }
}

}  // namespace KramoExcel
