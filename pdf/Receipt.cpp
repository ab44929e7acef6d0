#include "Receipt.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "pdf/PageLayout.h"
#include "support/Clock.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

enum ReceiptColumn { Position, Label, Name, Price };

// The totals lines: what the purchase costs, what the buyer gave and the change.
const char* SumText() {
    return C_("receipt", "Suma");
}
const char* ReceivedText() {
    return C_("receipt", "Prijaté");
}
const char* ChangeText() {
    return C_("receipt", "Vydať");
}

// What the buyer paid and gets back, as the receipt prints them.
struct Payment {
    double sum = 0.0;
    double received = 0.0;
    double change = 0.0;
};

Payment PaymentOf(const std::vector<Item>& items, std::optional<double> amountReceived) {
    Payment payment;
    for (const Item& item : items) {
        payment.sum += item.PRICE;
    }
    payment.received = amountReceived.value_or(payment.sum);
    // Never "-0.00" for an exact payment; less than the sum is the checkout's to refuse.
    payment.change = std::max(0.0, payment.received - payment.sum);
    return payment;
}

std::string Amount(double value) {
    return FormatText("%0.2f", value);
}

PdfColumns ReceiptColumns() {
    PdfColumns columns;
    columns.AddColumn("#", 5);
    columns.AddColumn(_("číslo"), 10);
    columns.AddColumn(_("názov"), 30);
    columns.AddColumn(_("cena"), 20);
    return columns;
}

Seller SellerOfItem(DataAccessInterface& store, const Item& item) {
    try {
        return store.GetSeller(item.SELLER_ID);
    } catch (const WrongSellerException&) {
        throw std::runtime_error("KramoRegister::FinishCheckout: Seller not found");
    }
}

// One item as the receipt names it.
struct ReceiptLine {
    std::string label;  // the seller's code and the item's number
    std::string name;
    std::string price;
};

ReceiptLine LineOfItem(DataAccessInterface& store, const Item& item) {
    const Seller seller = SellerOfItem(store, item);
    return {FormatText("%s-%i", seller.SHORT_CODE.c_str(), item.NUMBER), item.NAME,
            Amount(item.PRICE)};
}

std::vector<ReceiptLine> LinesOfItems(DataAccessInterface& store, const std::vector<Item>& items) {
    std::vector<ReceiptLine> lines;
    lines.reserve(items.size());
    for (const Item& item : items) {
        lines.push_back(LineOfItem(store, item));
    }
    return lines;
}

std::string PageTitle() {
    const Timestamp now = CurrentTimestamp();
    return FormatText(_("Ucet vystaveny %i-%i-%i %i:%i"), now.Year, now.Month, now.Day, now.Hour,
                      now.Minute);
}

// The item rows, an empty row, the sum and the payment rows.
PdfTable ReceiptTable(DataAccessInterface& store, const std::vector<Item>& items,
                      const Payment& payment) {
    PdfTable table(items.size() + 4, ReceiptColumns().Columns());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ReceiptLine line = LineOfItem(store, items[i]);
        table.Cell(Position, i) = FormatText("%i", static_cast<int>(i + 1));
        table.Cell(Label, i) = line.label;
        table.Cell(Name, i) = line.name;
        table.Cell(Price, i) = line.price;
    }
    const std::size_t sumRow = items.size() + 1;
    const std::pair<const char*, double> totals[] = {{SumText(), payment.sum},
                                                     {ReceivedText(), payment.received},
                                                     {ChangeText(), payment.change}};
    for (std::size_t i = 0; i < 3; ++i) {
        table.Cell(Name, sumRow + i) = totals[i].first;
        table.Cell(Price, sumRow + i) = Amount(totals[i].second);
    }
    return table;
}

void WriteA4Receipt(PdfWrapperBase& writer, DataAccessInterface& store,
                    const std::vector<Item>& items, const Payment& payment) {
    writer.NewPage(PageTitle());
    WritePageDecoration(writer);
    const PdfTable table = ReceiptTable(store, items, payment);
    DrawTableSplitOnPages(writer, 5.0f, 20.0f, table, ReceiptColumns());
}

constexpr float PointsPerMm = 72.0f / 25.4f;
constexpr float RollMarginMm = 5.0f;  // above the first line and below the last
constexpr float LineSpacing = 1.3f;   // a line's height for each point of its font
constexpr unsigned int HeadingExtraPoints = 2;
constexpr const char* RegularFont = "Helvetica";
constexpr const char* BoldFont = "Helvetica-Bold";

// The printable column down a roll and the baseline of the line being written.
class RollCursor {
  public:
    RollCursor(PdfWrapperBase& writer, const ReceiptPage& page, std::size_t items)
        : writer_(writer),
          font_(page.fontPoints),
          line_(static_cast<float>(page.fontPoints) * LineSpacing),
          left_(static_cast<float>(page.rollWidthMm - page.printableWidthMm) / 2.0f * PointsPerMm),
          width_(static_cast<float>(page.printableWidthMm) * PointsPerMm),
          gap_(static_cast<float>(page.fontPoints) * 0.8f) {
        // The heading, the date, a rule, the items, a rule, the sum and the payment lines.
        const float height = 2.0f * RollMarginMm * PointsPerMm + HeadingLine() +
                             line_ * (static_cast<float>(items) + 6.0f);
        writer_.SetPageSize(static_cast<float>(page.rollWidthMm) * PointsPerMm, height);
        writer_.NewPage(PageTitle());
        top_ = height - RollMarginMm * PointsPerMm;
    }

    void Heading(const std::string& text) {
        writer_.SetFont(BoldFont);
        Write(font_ + HeadingExtraPoints, HeadingLine(), text, std::string());
        writer_.SetFont(RegularFont);
    }
    void Text(const std::string& text) { Write(font_, line_, text, std::string()); }
    void Total(const std::string& text, const std::string& amount, bool bold = false) {
        writer_.SetFont(bold ? BoldFont : RegularFont);
        Write(font_, line_, text, amount);
        writer_.SetFont(RegularFont);
    }
    // The code, the name cut to the room between it and the price, the price on the right.
    void ItemLine(const ReceiptLine& line, float labelWidth) {
        writer_.SetFontSizePoints(font_);
        const float baseline = Baseline(line_);
        const float priceWidth = PriceAtRight(baseline, line.price);
        writer_.WriteTextAt(left_, baseline, labelWidth, line.label);
        const float nameLeft = left_ + labelWidth + gap_;
        writer_.WriteTextAt(nameLeft, baseline, left_ + width_ - priceWidth - gap_ - nameLeft,
                            line.name);
        top_ -= line_;
    }
    void Rule() {
        const float y = top_ - line_ / 2.0f;
        writer_.FillRectangles({{left_, y, width_, 0.5f}}, 1.0f, 1.0f, 0.0f, 0.0f);
        top_ -= line_;
    }
    // The room for the codes: the widest, up to a third of the line.
    float LabelWidth(const std::vector<ReceiptLine>& lines) {
        writer_.SetFontSizePoints(font_);
        float widest = 0.0f;
        for (const ReceiptLine& line : lines) {
            widest = std::max(widest, writer_.TextWidth(line.label));
        }
        return std::min(widest, width_ / 3.0f);
    }

  private:
    float HeadingLine() const {
        return static_cast<float>(font_ + HeadingExtraPoints) * LineSpacing;
    }
    float Baseline(float lineHeight) const { return top_ - lineHeight * 0.8f; }
    float PriceAtRight(float baseline, const std::string& amount) {
        const float width = std::min(writer_.TextWidth(amount), width_ / 3.0f);
        // The measured width itself, rounded down on the way, would cut the last digit.
        writer_.WriteTextAt(left_ + width_ - width, baseline, width + 0.5f, amount);
        return width;
    }
    void Write(unsigned int font, float lineHeight, const std::string& text,
               const std::string& amount) {
        writer_.SetFontSizePoints(font);
        const float baseline = Baseline(lineHeight);
        const float amountWidth = amount.empty() ? 0.0f : PriceAtRight(baseline, amount) + gap_;
        writer_.WriteTextAt(left_, baseline, width_ - amountWidth, text);
        top_ -= lineHeight;
    }

    PdfWrapperBase& writer_;
    unsigned int font_;
    float line_;
    float left_;
    float width_;
    float gap_;
    float top_ = 0.0f;
};

void WriteRollReceipt(PdfWrapperBase& writer, DataAccessInterface& store,
                      const std::vector<Item>& items, const Payment& payment,
                      const ReceiptPage& page) {
    RollCursor roll(writer, page, items.size());
    roll.Heading(writer.SaleName());
    std::string date = FormatDateText();
    date.erase(0, date.find_first_not_of(' '));
    roll.Text(FormatText(_("Účet vystavený %s"), date.c_str()));
    roll.Rule();
    const std::vector<ReceiptLine> lines = LinesOfItems(store, items);
    const float labelWidth = roll.LabelWidth(lines);
    for (const ReceiptLine& line : lines) {
        roll.ItemLine(line, labelWidth);
    }
    roll.Rule();
    roll.Total(SumText(), Amount(payment.sum), true);
    roll.Total(ReceivedText(), Amount(payment.received));
    roll.Total(ChangeText(), Amount(payment.change));
}

}  // namespace

void WriteReceipt(PdfWrapperBase& writer, DataAccessInterface& store,
                  const std::vector<Item>& items, std::optional<double> amountReceived,
                  const ReceiptPage& page) {
    try {
        const Payment payment = PaymentOf(items, amountReceived);
        if (page.IsRoll()) {
            WriteRollReceipt(writer, store, items, payment, page);
        } else {
            WriteA4Receipt(writer, store, items, payment);
        }
    } catch (const std::runtime_error& failure) {
        throw std::runtime_error(std::string("PDF error:") + failure.what());
    } catch (const std::out_of_range& failure) {
        throw std::runtime_error(std::string("PDF out of range error") + failure.what());
    } catch (...) {
        throw std::runtime_error("PDF error(unknown)");
    }
}

}  // namespace Kramo
