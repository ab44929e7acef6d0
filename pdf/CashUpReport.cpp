#include "CashUpReport.h"

#include "pdf/PageLayout.h"
#include "support/Clock.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

constexpr float ReportX = 8.0f;
constexpr float TitleFontSize = 2.0f;
constexpr float TextFontSize = 1.3f;
constexpr float LineStep = 1.9f;
constexpr float GapBetweenParts = 1.5f;

enum HourColumn { HourText, Purchases, Items, Total };

PdfColumns HourColumns() {
    PdfColumns columns;
    columns.AddColumn(_("Hodina"), 16);
    columns.AddColumn(_("Nákupy"), 14);
    columns.AddColumn(_("Kusy"), 14);
    columns.AddColumn(C_("cash-up column", "Suma"), 18);
    return columns;
}

PdfTable HourTable(const CashUp& cashUp) {
    PdfTable table(cashUp.hours.size(), HourColumns().Columns());
    for (std::size_t row = 0; row < cashUp.hours.size(); ++row) {
        const CashUp::Hour& hour = cashUp.hours[row];
        table.Cell(HourText, row) = FormatText("%02i:00-%02i:59", hour.hour, hour.hour);
        table.Cell(Purchases, row) = FormatText("%i", hour.purchases);
        table.Cell(Items, row) = FormatText("%i", hour.items);
        table.Cell(Total, row) = FormatText("%0.2f", hour.total);
    }
    return table;
}

class ReportWriter {
  public:
    ReportWriter(PdfWrapperBase& writer, const std::string& currencyUnit)
        : writer_(writer), currency_(currencyUnit.c_str()) {}

    void Write(const CashUp& cashUp, const std::string& saleName) {
        writer_.NewPage(_("Uzávierka pokladne"));
        WritePageDecoration(writer_);
        writer_.SetFontSize(TitleFontSize);
        y_ = PageLayout::ContinuationTop + LineStep;
        Line(FormatText(_("Uzávierka pokladne %s"), cashUp.desk.c_str()));
        writer_.SetFontSize(TextFontSize);
        y_ += GapBetweenParts;
        Line(FormatText(_("Predaj: %s"), saleName.c_str()));
        Line(FormatText(_("Deň: %i. %i. %04i"), cashUp.day.Day, cashUp.day.Month, cashUp.day.Year));
        Line(FormatText(_("Vytlačené:%s"), FormatDateText().c_str()));
        y_ += GapBetweenParts;
        Line(
            FormatText(_("Nákupy: %i, spolu %0.2f %s"), cashUp.purchases, cashUp.total, currency_));
        Line(FormatText(_("Storná: %i, spolu %0.2f %s"), cashUp.cancellations,
                        cashUp.cancelledTotal, currency_));
        Line(FormatText(_("Tržba po stornách: %0.2f %s"), cashUp.netTotal, currency_));
        if (cashUp.forcedCount > 0) {
            Line(FormatText(_("Predané bez skladu (tovar nebol na sklade): %i ks, spolu %0.2f %s"),
                            cashUp.forcedCount, cashUp.forcedTotal, currency_));
        }
        y_ += GapBetweenParts;
        if (cashUp.hours.empty()) {
            Line(cashUp.purchases == 0 ? _("Žiadne nákupy v tento deň.")
                                       : _("Všetky nákupy dňa boli stornované."));
            return;
        }
        Line(_("Nákupy podľa hodín (bez stornovaných):"));
        DrawTableSplitOnPages(writer_, ReportX, y_, HourTable(cashUp), HourColumns());
    }

  private:
    void Line(const std::string& text) {
        writer_.WriteText(ReportX, y_, text);
        y_ += LineStep;
    }

    PdfWrapperBase& writer_;
    const char* currency_;
    float y_ = 0.0f;
};

}  // namespace

void WriteCashUpReport(PdfWrapperBase& writer, const CashUp& cashUp, const std::string& saleName,
                       const std::string& currencyUnit) {
    ReportWriter(writer, currencyUnit).Write(cashUp, saleName);
}

}  // namespace Kramo
