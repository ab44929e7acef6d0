#include "PostgresRowReader.h"

#include <cmath>
#include <pqxx/except>
#include <pqxx/field>

#include "core/ItemStatus.h"
#include "core/SellerStatus.h"
#include "storage/PostgresTimestamp.h"
#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

// A report names this many rows; the rest are counted.
constexpr std::size_t NamedRows = 5;

// The columns as each table holds them, up to the last one read.
const std::vector<const char*> SellerColumns = {
    "ID",         "SHORT_CODE",         "NAME",     "COMMENT", "CHANGING",
    "CHANGED_BY", "SELLER_CATEGORY_ID", "MODIFIED", "STATUS",  "VERSION"};
const std::vector<const char*> ItemColumns = {
    "ID",     "NAME",   "SELLER_ID", "PRICE",  "CHANGING", "CHANGED_BY", "ITEM_CATEGORY_ID",
    "NUMBER", "STATUS", "MODIFIED",  "VERSION"};
const std::vector<const char*> ItemCategoryColumns = {
    "ID",       "CODE",        "NAME", "PRICE_FROM", "PRICE_TO", "HANDLING_FEE", "HANDLING_PERCENT",
    "SALE_FEE", "SALE_PERCENT"};
const std::vector<const char*> SellerCategoryColumns = {"ID",
                                                        "CODE",
                                                        "NAME",
                                                        "PARTICIPATION_FEE",
                                                        "HANDLING_FACTOR",
                                                        "HANDLING_PERCENT_FACTOR",
                                                        "SALE_FEE_FACTOR",
                                                        "SALE_PERCENT_FACTOR"};

// The checks of one row. The first fault found is the one reported; later reads are skipped.
class RowCheck {
  public:
    RowCheck(const pqxx::row& row, const char* table, const std::vector<const char*>& columns)
        : row_(row), columns_(columns) {
        fault_.table = table;
        fault_.id = row.size() > 0 && !row[0].is_null() ? row[0].c_str() : "?";
        const std::size_t present = row.size();
        if (present < columns.size()) {
            Fail(present, FormatText(_("chýba stĺpec (stĺpcov v tabuľke: %zu)"), present));
            fault_.wholeTable = true;
        }
    }

    template <typename Value>
    RowCheck& Read(std::size_t column, Value& value) {
        if (!ok_) {
            return *this;
        }
        try {
            if (!row_[static_cast<pqxx::row::size_type>(column)].to(value)) {
                Fail(column, _("chýba hodnota (NULL)"));
            }
        } catch (const pqxx::conversion_error&) {
            Fail(column, FormatText(_("neplatná hodnota „%s“"), Field(column).c_str()));
        }
        return *this;
    }

    // A number that may be NULL, which then reads as the fallback.
    RowCheck& ReadAmount(std::size_t column, double& value, double fallback) {
        if (ok_ && Field(column).is_null()) {
            value = fallback;
            return *this;
        }
        Read(column, value);
        return Require(std::isfinite(value), column, N_("hodnota nie je konečné číslo"));
    }

    RowCheck& ReadPositive(std::size_t column, int32_t& value) {
        Read(column, value);
        return Require(value > 0, column,
                       [&value] { return FormatText(_("%i nie je kladné číslo"), value); });
    }

    // A read time stamp knows no day of the week: the record's own is replaced whole.
    RowCheck& ReadTime(std::size_t column, Timestamp& time) {
        std::string text;
        Read(column, text);
        Timestamp read;
        Require(ParsePostgresTimestamp(text, read) && IsStorableTimestamp(read), column,
                [&text] { return FormatText(_("neplatný čas „%s“"), text.c_str()); });
        time = read;
        return *this;
    }

    // The problem's text is made only for a row that fails: most rows pass every check.
    template <typename Problem>
    RowCheck& Require(bool condition, std::size_t column, const Problem& problem) {
        if (ok_ && !condition) {
            Fail(column, problem());
        }
        return *this;
    }
    // The problem as a message ID, translated only for a row that fails.
    RowCheck& Require(bool condition, std::size_t column, const char* problem) {
        return Require(condition, column, [problem] { return std::string(_(problem)); });
    }

    bool Ok() const { return ok_; }
    const BadRow& Fault() const { return fault_; }

  private:
    pqxx::field Field(std::size_t column) const {
        return row_[static_cast<pqxx::row::size_type>(column)];
    }

    void Fail(std::size_t column, const std::string& problem) {
        ok_ = false;
        fault_.column = columns_[column];
        fault_.problem = problem;
    }

    const pqxx::row& row_;
    const std::vector<const char*>& columns_;
    bool ok_ = true;
    BadRow fault_;
};

std::string PriceProblem(double price) {
    if (!std::isfinite(price)) {
        return _("cena nie je konečné číslo");
    }
    return price < 0.0 ? _("záporná cena") : _("príliš vysoká cena");
}

}  // namespace

std::string BadRow::Text() const {
    // TRANSLATORS: the table, the row's ID, the column and what is wrong with its value.
    return (FormatStream(_("Chybný riadok v tabuľke %s (ID %s, stĺpec %s: %s)."))
            << table << id << column << problem)
        .str();
}

std::string BadRowsReport(const std::vector<BadRow>& badRows) {
    std::string report;
    for (std::size_t i = 0; i < badRows.size() && i < NamedRows; ++i) {
        report += (i == 0 ? "" : "\n") + badRows[i].Text();
    }
    if (badRows.size() > NamedRows) {
        report +=
            "\n" + FormatText(_("… a ďalšie chybné riadky (%zu)."), badRows.size() - NamedRows);
    }
    return report;
}

PostgresRowReader::PostgresRowReader(const std::vector<int>& categoryIds)
    : categoryIds_(categoryIds.begin(), categoryIds.end()) {}

std::optional<Seller> PostgresRowReader::ReadSeller(const pqxx::row& row) {
    Seller seller;
    RowCheck check(row, "sellers", SellerColumns);
    check.ReadPositive(0, seller.ID)
        .Read(1, seller.SHORT_CODE)
        .Read(2, seller.NAME)
        .Read(3, seller.COMMENT)
        .Read(6, seller.SELLER_CATEGORY_ID)
        .Require(
            categoryIds_.count(seller.SELLER_CATEGORY_ID) > 0, 6,
            [&seller] { return FormatText(_("neznáma kategória %i"), seller.SELLER_CATEGORY_ID); })
        .ReadTime(7, seller.MODIFIED)
        .Read(8, seller.STATUS)
        .Require(seller.STATUS >= 0 && seller.STATUS < SellerStatusCount, 8,
                 [&seller] { return FormatText(_("neznámy stav %i"), seller.STATUS); })
        .ReadPositive(9, seller.VERSION);
    if (!check.Ok()) {
        Note(check.Fault());
        return std::nullopt;
    }
    return seller;
}

std::optional<Item> PostgresRowReader::ReadItem(const pqxx::row& row) {
    Item item;
    RowCheck check(row, "items", ItemColumns);
    check.ReadPositive(0, item.ID)
        .Read(1, item.NAME)
        .ReadPositive(2, item.SELLER_ID)
        .Read(3, item.PRICE)
        .Require(std::isfinite(item.PRICE) && item.PRICE >= 0.0 && item.PRICE < PriceLimit, 3,
                 [&item] { return PriceProblem(item.PRICE); })
        .Read(6, item.ITEM_CATEGORY_ID)
        .Require(categoryIds_.count(item.ITEM_CATEGORY_ID) > 0, 6,
                 [&item] { return FormatText(_("neznáma kategória %i"), item.ITEM_CATEGORY_ID); })
        .ReadPositive(7, item.NUMBER)
        .Read(8, item.STATUS)
        // Undefined is a state of its own: what an unreadable letter of a seller file became.
        .Require(item.STATUS >= Unassigned && item.STATUS <= Undefined, 8,
                 [&item] { return FormatText(_("neznámy stav %i"), item.STATUS); })
        .ReadTime(9, item.MODIFIED)
        .ReadPositive(10, item.VERSION);
    if (!check.Ok()) {
        Note(check.Fault());
        return std::nullopt;
    }
    return item;
}

std::optional<ItemCategory> PostgresRowReader::ReadItemCategory(const pqxx::row& row) {
    ItemCategory category;
    std::string code;
    RowCheck check(row, "item_category", ItemCategoryColumns);
    check.ReadPositive(0, category.ID)
        .Read(1, code)
        .Read(2, category.NAME)
        .ReadAmount(3, category.PriceFrom, 0.0)
        .ReadAmount(4, category.PriceTo, PriceLimit)
        .ReadAmount(5, category.HandlingFee, 0.0)
        .ReadAmount(6, category.HandlingPercent, 0.0)
        .ReadAmount(7, category.SaleFee, 0.0)
        .ReadAmount(8, category.SalePercent, 0.0);
    if (!check.Ok()) {
        Note(check.Fault());
        return std::nullopt;
    }
    category.CODE = code.empty() ? '\0' : code.front();
    return category;
}

std::optional<SellerCategory> PostgresRowReader::ReadSellerCategory(const pqxx::row& row) {
    SellerCategory category;
    std::string code;
    RowCheck check(row, "seller_category", SellerCategoryColumns);
    check.ReadPositive(0, category.ID)
        .Read(1, code)
        .Require(code.size() == 1, 1, N_("kód nemá práve jeden znak"))
        .Read(2, category.NAME);
    // The factors have no fallback: a NULL is a fault.
    double* const factors[] = {&category.ParticipationFee, &category.HandlingFactor,
                               &category.HandlingPercentFactor, &category.SaleFeeFactor,
                               &category.SalePercentFactor};
    for (std::size_t i = 0; i < std::size(factors); ++i) {
        check.Read(3 + i, *factors[i])
            .Require(std::isfinite(*factors[i]), 3 + i, N_("hodnota nie je konečné číslo"));
    }
    if (!check.Ok()) {
        Note(check.Fault());
        return std::nullopt;
    }
    category.CODE = code.front();
    return category;
}

}  // namespace Kramo
