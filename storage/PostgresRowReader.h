#pragma once

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include <pqxx/row>

#include "core/Item.h"
#include "core/ItemCategory.h"
#include "core/Seller.h"
#include "core/SellerCategory.h"

namespace Kramo {

// A row the store could not take, with where it is and what is wrong with it.
struct BadRow {
    std::string table;
    std::string id;      // the row's ID as the database gave it; "?" when that is unreadable
    std::string column;  // the first faulty column
    std::string problem;
    // A column missing in the whole table spoils every row alike: it is one fault, not many.
    bool wholeTable = false;

    // "Chybný riadok v tabuľke items (ID 17, stĺpec PRICE: záporná cena)."
    std::string Text() const;
};

// Turns the rows of one query into records and checks every one of them: the column count,
// NULLs, numbers that convert, ranges, known states, categories that exist, time stamps that
// read. A row that fails is not turned into a record but noted as a bad row, so that the
// caller uses the other rows and reports the bad ones together.
class PostgresRowReader {
  public:
    // Reading sellers or items: the IDs of their category table, which their category column
    // must name. Reading categories: none.
    explicit PostgresRowReader(const std::vector<int>& categoryIds = {});

    std::optional<Seller> ReadSeller(const pqxx::row& row);
    std::optional<Item> ReadItem(const pqxx::row& row);
    std::optional<ItemCategory> ReadItemCategory(const pqxx::row& row);
    std::optional<SellerCategory> ReadSellerCategory(const pqxx::row& row);

    const std::vector<BadRow>& BadRows() const { return badRows_; }

    // The highest price an item row may hold: the open upper end of the item categories.
    static constexpr double PriceLimit = 10000000.0;

  private:
    void Note(BadRow badRow) { badRows_.push_back(std::move(badRow)); }

    std::unordered_set<int> categoryIds_;
    std::vector<BadRow> badRows_;
};

// One report of the bad rows of one query: the first few, each on its line, and how many more.
std::string BadRowsReport(const std::vector<BadRow>& badRows);

}  // namespace Kramo
