#include "SellerSheet.h"

#include <cstdlib>
#include <stdexcept>

#include "support/FormatText.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

namespace KramoExcel {
namespace {

const char* const NoMarkers = N_("súbor neobsahuje špeciálne znaky");
const char* const NoSellerData = N_("zo súboru sa nepodarilo sa načítať údaje predajcu");
// 100 skipped rows in a row are passed over; the 101st ends the item table.
constexpr int SkippedRowsEndingTheTable = 101;
constexpr long HighestNumber = 1000;

struct Position {
    int row = -1;
    int column = -1;
};

Position Find(const ExcelFileWrapper& wrapper, const char* marker) {
    Position position;
    wrapper.FindCell(marker, position.row, position.column);
    return position;
}

bool Found(const Position& position) {
    return position.row >= 0;
}

const std::string& CellOrFail(const CellGrid& grid, int column, int row) {
    if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= grid.Rows() ||
        static_cast<std::size_t>(column) >= grid.Columns()) {
        throw std::runtime_error(_(NoSellerData));
    }
    return grid.Cell(static_cast<std::size_t>(column), static_cast<std::size_t>(row));
}

// The leading integer as atoi reads it, kept within long for the range check.
long LeadingNumber(const std::string& text) {
    return std::strtol(text.c_str(), nullptr, 10);
}

Kramo::Item ReadItemRow(const CellGrid& grid, std::size_t row, std::size_t numberColumn,
                        std::size_t priceColumn) {
    const std::string& numberText = grid.Cell(numberColumn, row);
    const std::string& name = grid.Cell(numberColumn + 1, row);
    const std::string& priceText = grid.Cell(priceColumn, row);
    const long number = LeadingNumber(numberText);
    if (number < 1 || number > HighestNumber) {
        throw std::runtime_error(
            Kramo::FormatText(_("Tovar na riadku %i má namiesto čísla text '%s'"),
                              static_cast<int>(row), numberText.c_str()));
    }
    double price = 0.0;
    if (!Kramo::ParseNumber(priceText, price)) {
        throw std::runtime_error(
            Kramo::FormatText(_("Tovar na riadku %i má namiesto ceny text '%s'"),
                              static_cast<int>(row), priceText.c_str()));
    }
    Kramo::Item read;
    read.NAME = name;
    read.NUMBER = static_cast<int32_t>(number);
    read.PRICE = price;
    read.ITEM_CATEGORY_ID = 0;
    read.STATUS = Kramo::Unassigned;
    return Kramo::Item::NewFrom(read);
}

// Returns how many rows were skipped for a missing name while a price stood there: an empty
// name cell or a formula, which reads as empty too.
int ReadItems(const CellGrid& grid, const Position& numberMarker, const Position& priceMarker,
              std::vector<Kramo::Item>& items) {
    const auto numberColumn = static_cast<std::size_t>(numberMarker.column);
    const auto priceColumn = static_cast<std::size_t>(priceMarker.column);
    if (numberColumn + 1 >= grid.Columns()) {
        throw std::runtime_error(_(NoSellerData));  // no column for the names
    }
    int skipped = 0;
    int nameless = 0;
    for (std::size_t row = static_cast<std::size_t>(numberMarker.row) + 2; row < grid.Rows();
         ++row) {
        const bool hasName = !grid.Cell(numberColumn + 1, row).empty();
        const bool hasPrice = !grid.Cell(priceColumn, row).empty();
        if (!hasName || !hasPrice) {
            if (++skipped == SkippedRowsEndingTheTable) {
                break;
            }
            // A numbered row without name and price is an unused line of the form.
            nameless += !hasName && hasPrice;
            continue;
        }
        skipped = 0;
        items.push_back(ReadItemRow(grid, row, numberColumn, priceColumn));
    }
    return nameless;
}

int ReadSheet(const ExcelFileWrapper& wrapper, Kramo::Seller& seller,
              std::vector<Kramo::Item>& items) {
    // "!version3!" and "!name!" are found but change nothing: the name column is always the
    // one right of the number column.
    const Position number = Find(wrapper, "!number!");
    const Position price = Find(wrapper, "!price!");
    const Position infoTable = Find(wrapper, "!infotable!");
    const Position code = Find(wrapper, "!code!");
    const Position note = Find(wrapper, "!note!");
    // A sheet carrying the seller in an info table has no arrangement this program reads.
    if (!Found(number) || !Found(price) || number.row != price.row || Found(infoTable) ||
        !Found(code) || !Found(note)) {
        throw std::runtime_error(_(NoMarkers));
    }
    const CellGrid& grid = wrapper.Grid();
    seller.SHORT_CODE = CellOrFail(grid, code.column - 1, code.row);
    seller.NAME = CellOrFail(grid, code.column - 1, code.row - 1);
    seller.COMMENT = CellOrFail(grid, note.column - 1, note.row);
    seller.SELLER_CATEGORY_ID = 0;
    // The caller's list grows only when the whole table was read.
    std::vector<Kramo::Item> read;
    const int skippedNameless = ReadItems(grid, number, price, read);
    items.insert(items.end(), read.begin(), read.end());
    return skippedNameless;
}

}  // namespace

const char* SellerSheetBecause() {
    // TRANSLATORS: joins the file's path to the reason it was not read; the report looks for it
    // to show the reason alone.
    return _("\npretože ");
}

int ReadSellerSheet(ExcelFileWrapper& wrapper, const std::string& path, Kramo::Seller& seller,
                    std::vector<Kramo::Item>& items) {
    const std::string prefix =
        _("Nepodarilo sa mi načítať súbor s predajcom\n") + path + SellerSheetBecause();
    try {
        wrapper.LoadFile(path);
        return ReadSheet(wrapper, seller, items);
    } catch (const std::runtime_error& failure) {
        throw std::runtime_error(prefix + failure.what());
    }
}

}  // namespace KramoExcel
