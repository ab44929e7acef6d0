#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "core/DataAccessInterface.h"

namespace Kramo {

// Finds items by words of their names or by their prices, over a snapshot of every seller's
// items taken from the store; the store is not touched while searching.
class ItemSearch {
  public:
    static constexpr std::size_t MaximumHits = 61;

    // The open store is asked for at every refresh, as the settings may have replaced it.
    using StoreSource = std::function<DataAccessInterface&()>;
    using FailureReport = std::function<void(const std::exception&)>;

    ItemSearch(StoreSource store, FailureReport report);

    // Rebuilds the snapshot. Never throws: a failure is reported and the snapshot keeps what
    // was read before it.
    void FetchLatestData();

    // The items whose name-and-price text holds the most of the query's words, in snapshot
    // order, at most MaximumHits; names in their search form. Nothing for 3 bytes or fewer.
    std::vector<Item> FindItems(const std::string& query) const;

    // Gives the listed items of the snapshot a new state: a sale or a storno at this desk shows
    // in the hits at once, without reading every item again.
    void SetItemsStatus(const std::vector<int>& itemIds, int32_t status);

    // Brings the snapshot up to the changes another desk made, record by record: a changed
    // record is read again and replaced (a new one appended), a removed one dropped; a change
    // of everything rebuilds the whole snapshot. Nothing before the first refresh. Never
    // throws: a failure is reported and the changes not applied yet wait for the next refresh.
    void ApplyChanges(const std::vector<StoreChange>& changes);

    const std::vector<Seller>& Sellers() const { return sellers_; }
    // The seller of the snapshot with this ID, or null.
    const Seller* SellerOf(int sellerId) const;

  private:
    void Fetch();
    // Appends an item whose name is in search form already.
    void Append(Item item);
    // True when the seller's items left the snapshot with it.
    bool ApplySellerChange(DataAccessInterface& store, const StoreChange& change);
    // True when the texts must be built anew: the item's name or price changed, or it is gone.
    bool ApplyItemChange(DataAccessInterface& store, const StoreChange& change);
    void RemoveItemsWhere(const std::function<bool(const Item&)>& gone);
    void RebuildTexts();
    // Per item, how many of the words its text holds (each word once per item).
    std::vector<unsigned> MatchCounts(const std::vector<std::string>& words) const;

    StoreSource store_;
    FailureReport report_;
    std::vector<Seller> sellers_;
    std::vector<Item> items_;
    // Every item's text (search-form name, a blank, the price "%0.2f") one after another;
    // item i's text starts at textStarts_[i] and ends where item i + 1's starts.
    std::string texts_;
    std::vector<std::size_t> textStarts_;
    bool fetched_ = false;
};

}  // namespace Kramo
