#include "SellerStatement.h"

#include <algorithm>
#include <cmath>

#include "core/ItemStatus.h"
#include "core/SellerFees.h"
#include "pdf/PageLayout.h"
#include "support/Clock.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

constexpr float StatementX = 5.0f;
constexpr float HeadingFontSize = 1.2f;
constexpr float HeadingLineStep = 1.6f;

enum ItemColumn { Number, Name, Price, Category, State, SoldPrice };
enum FeeColumn { Text, Amount };

PdfColumns ItemColumns() {
    PdfColumns columns;
    columns.AddColumn(_("cislo"), 5);
    columns.AddColumn(_("nazov"), 57);
    columns.AddColumn(_("cena"), 7);
    // TRANSLATORS: narrow column head: the item's category.
    columns.AddColumn(_("kat"), 6);
    columns.AddColumn(_("stav"), 8);
    columns.AddColumn(_("predane"), 7);
    return columns;
}

// The amounts column is wide enough for "= 9999.99" in the table's font, so that no digit of a
// payout is cut off.
PdfColumns FeeColumns() {
    PdfColumns columns;
    columns.AddColumn("", 80);
    columns.AddColumn("", 10);
    return columns;
}

const std::string& CategoryName(const std::vector<ItemCategory>& categories, int32_t id) {
    const auto found =
        std::find_if(categories.begin(), categories.end(),
                     [id](const ItemCategory& category) { return category.ID == id; });
    if (found == categories.end()) {
        throw WrongItemCategoryException();
    }
    return found->NAME;
}

float WriteHeading(PdfWrapperBase& writer, const Seller& seller,
                   const SellerCategory& sellerCategory) {
    writer.SetFontSize(HeadingFontSize);
    const std::string lines[] = {
        FormatText(_("Predavajuci: %s - %s (%s), stav '%s'"), seller.SHORT_CODE.c_str(),
                   seller.NAME.c_str(), sellerCategory.NAME.c_str(),
                   SellerStatusDisplayName(seller.STATUS)),
        FormatText("( %s )", seller.COMMENT.c_str()),
        FormatText(_("Stav dna: %s"), FormatDateText().c_str()),
    };
    float y = PageLayout::ContinuationTop;
    for (const std::string& line : lines) {
        writer.WriteText(StatementX, y, line);
        y += HeadingLineStep;
    }
    return y;
}

// The item rows; soldSum gets the plain sum of the sold prices.
PdfTable ItemTable(const std::vector<Item>& items, const std::vector<ItemCategory>& categories,
                   double& soldSum) {
    PdfTable table(items.size(), ItemColumns().Columns());
    soldSum = 0.0;
    for (std::size_t row = 0; row < items.size(); ++row) {
        const Item& item = items[row];
        table.Cell(Number, row) = FormatText("%i", item.NUMBER);
        table.Cell(Name, row) = item.NAME;
        table.Cell(Price, row) = FormatText("%8.2f", item.PRICE);
        table.Cell(Category, row) = CategoryName(categories, item.ITEM_CATEGORY_ID);
        table.Cell(State, row) = ItemStatusDisplayName(item.STATUS);
        if (item.STATUS == Sold) {
            table.Cell(SoldPrice, row) = FormatText("%10.2f", item.PRICE);
            soldSum += item.PRICE;
        }
    }
    return table;
}

std::string RightAligned(const std::string& amount) {
    return FormatText("%9s", amount.c_str());
}

// The closing line: the payout, or, when the fees exceed the sales, what the seller owes; a
// minus sign on a payout line would read as money handed over.
void WriteBalance(PdfTable& table, std::size_t row, double running,
                  const std::string& currencyUnit) {
    // In whole cents, so that a rounding residue shows neither as a debt nor as "-0.00".
    const double balance = std::round(running * 100.0) / 100.0 + 0.0;
    const bool owes = balance < 0.0;
    table.Cell(Text, row) = FormatText(
        owes ? _("Predajca dlhuje (%s) :") : _("Celkom vyplatene (%s) :"), currencyUnit.c_str());
    table.Cell(Amount, row) = RightAligned(FormatText("%6.2f", owes ? -balance : balance));
}

PdfTable FeeTable(const SellerSettlement& settlement, double soldSum,
                  const std::string& currencyUnit) {
    PdfTable table(2 * settlement.lines.size() + 6, FeeColumns().Columns());
    table.Cell(Text, 0) = _("Súčet predaných vecí");
    table.Cell(Amount, 0) = FormatText("%10.2f", soldSum);
    double running = settlement.soldSum;
    std::size_t row = 1;
    for (const FeeLine& line : settlement.lines) {
        table.Cell(Text, row) = line.text;
        table.Cell(Amount, row) = RightAligned(FormatText("- %6.2f", line.amount));
        running -= line.amount;
        table.Cell(Amount, row + 1) = FormatText("= %6.2f", running);
        row += 2;
    }
    ++row;  // an empty row
    WriteBalance(table, row, running, currencyUnit);
    row += 2;  // an empty row again
    table.Cell(Text, row) = _("Nepredané veci a\u00A0peniaze prevzal : ");
    return table;
}

}  // namespace

void WriteSellerStatement(PdfWrapperBase& writer, DataAccessInterface& store, const Seller& seller,
                          const SellerCategory& sellerCategory, const std::string& currencyUnit) {
    writer.NewPage(FormatText("%s - %s", seller.SHORT_CODE.c_str(), seller.NAME.c_str()));
    WritePageDecoration(writer);
    float y = WriteHeading(writer, seller, sellerCategory);

    const std::vector<Item> items = store.GetSellerItems(seller.ID);
    const std::vector<ItemCategory> categories = store.GetItemCategories();
    double soldSum = 0.0;
    const PdfTable itemTable = ItemTable(items, categories, soldSum);
    y = DrawTableSplitOnPages(writer, StatementX, y, itemTable, ItemColumns());

    const SellerSettlement settlement =
        ComputeSellerFees(items, categories, sellerCategory, currencyUnit);
    DrawTableSplitOnPages(writer, StatementX, y, FeeTable(settlement, soldSum, currencyUnit),
                          FeeColumns());
}

}  // namespace Kramo
