#include "ItemSearch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "support/FormatText.h"
#include "support/StringEncoding.h"
#include "support/TextHelpers.h"

namespace Kramo {
namespace {

constexpr std::size_t MinimumQueryBytes = 4;
constexpr unsigned TopBucket = 4;
// The visit ends once the bucket of the full query holds this many hits.
constexpr std::size_t EnoughHits = 60;

// The search form of a name, made word by word: the same words come back in many names and the
// transliterator is slow. A blank never combines with the letters around it, so the result is
// the one of the whole name.
std::string SearchKeyOf(const std::string& name,
                        std::unordered_map<std::string, std::string>& wordKeys) {
    std::string key;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = name.find(' ', start);
        const std::string word =
            name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        auto known = wordKeys.find(word);
        if (known == wordKeys.end()) {
            known = wordKeys.emplace(word, StringEncoding::MakeSearchKey(word)).first;
        }
        key += known->second;
        if (end == std::string::npos) {
            return key;
        }
        key += ' ';
        start = end + 1;
    }
}

// Each record once, at the place of its last change: it is read as it is now anyway.
std::vector<StoreChange> LatestPerRecord(const std::vector<StoreChange>& changes) {
    std::set<std::pair<StoreChange::Record, int>> seen;
    std::vector<StoreChange> latest;
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        if (seen.emplace(change->record, change->id).second) {
            latest.push_back(*change);
        }
    }
    std::reverse(latest.begin(), latest.end());
    return latest;
}

}  // namespace

ItemSearch::ItemSearch(StoreSource store, FailureReport report)
    : store_(std::move(store)), report_(std::move(report)) {}

void ItemSearch::FetchLatestData() {
    try {
        Fetch();
    } catch (const std::exception& failure) {
        report_(failure);
    } catch (...) {
        report_(std::runtime_error("ItemSearch::FetchLatestData"));
    }
}

void ItemSearch::Fetch() {
    fetched_ = true;
    sellers_.clear();
    items_.clear();
    texts_.clear();
    textStarts_.clear();
    DataAccessInterface& store = store_();
    sellers_ = store.GetSellers();
    std::unordered_map<std::string, std::string> wordKeys;
    for (const Seller& seller : sellers_) {
        for (Item& item : store.GetSellerItems(seller.ID)) {
            item.NAME = SearchKeyOf(item.NAME, wordKeys);
            Append(std::move(item));
        }
    }
}

void ItemSearch::Append(Item item) {
    items_.push_back(std::move(item));
    const Item& stored = items_.back();
    textStarts_.push_back(texts_.size());
    texts_ += stored.NAME;
    texts_ += ' ';
    texts_ += FormatText("%0.2f", stored.PRICE);
}

void ItemSearch::ApplyChanges(const std::vector<StoreChange>& changes) {
    // Before the first refresh there is nothing to keep current: it reads everything anyway.
    if (!fetched_) {
        return;
    }
    const bool everything =
        std::any_of(changes.begin(), changes.end(),
                    [](const StoreChange& change) { return change.IsEverything(); });
    if (everything) {
        FetchLatestData();
        return;
    }
    try {
        DataAccessInterface& store = store_();
        bool textsChanged = false;
        for (const StoreChange& change : LatestPerRecord(changes)) {
            if (change.record == StoreChange::Record::Seller) {
                textsChanged |= ApplySellerChange(store, change);
            } else {
                textsChanged |= ApplyItemChange(store, change);
            }
        }
        if (textsChanged) {
            RebuildTexts();
        }
    } catch (const std::exception& failure) {
        RebuildTexts();
        report_(failure);
    } catch (...) {
        RebuildTexts();
        report_(std::runtime_error("ItemSearch::ApplyChanges"));
    }
}

bool ItemSearch::ApplySellerChange(DataAccessInterface& store, const StoreChange& change) {
    const auto found =
        std::find_if(sellers_.begin(), sellers_.end(),
                     [&change](const Seller& seller) { return seller.ID == change.id; });
    std::optional<Seller> current;
    if (!change.removed) {
        try {
            current = store.GetSeller(change.id);
        } catch (const WrongSellerException&) {
            // removed again since the notice
        }
    }
    if (current && found != sellers_.end()) {
        *found = *current;
    } else if (current) {
        sellers_.push_back(*current);
    } else {
        if (found != sellers_.end()) {
            sellers_.erase(found);
        }
        RemoveItemsWhere([&change](const Item& item) { return item.SELLER_ID == change.id; });
        return true;
    }
    return false;
}

bool ItemSearch::ApplyItemChange(DataAccessInterface& store, const StoreChange& change) {
    const auto found = std::find_if(items_.begin(), items_.end(),
                                    [&change](const Item& item) { return item.ID == change.id; });
    std::optional<Item> current;
    if (!change.removed) {
        try {
            current = store.GetItem(change.id);
        } catch (const WrongItemException&) {
            // removed again since the notice, or a row the store could not read
        }
    }
    if (!current) {
        if (found == items_.end()) {
            return false;
        }
        items_.erase(found);
        return true;
    }
    std::unordered_map<std::string, std::string> wordKeys;
    current->NAME = SearchKeyOf(current->NAME, wordKeys);
    if (found == items_.end()) {
        Append(std::move(*current));
        return false;
    }
    // A sale changes only the state: the texts stay as they are.
    const bool textChanged = found->NAME != current->NAME || found->PRICE != current->PRICE;
    *found = std::move(*current);
    return textChanged;
}

void ItemSearch::RemoveItemsWhere(const std::function<bool(const Item&)>& gone) {
    items_.erase(std::remove_if(items_.begin(), items_.end(), gone), items_.end());
}

void ItemSearch::RebuildTexts() {
    std::vector<Item> items = std::move(items_);
    items_.clear();
    texts_.clear();
    textStarts_.clear();
    for (Item& item : items) {
        Append(std::move(item));
    }
}

void ItemSearch::SetItemsStatus(const std::vector<int>& itemIds, int32_t status) {
    const std::unordered_set<int> changed(itemIds.begin(), itemIds.end());
    for (Item& item : items_) {
        if (changed.count(item.ID) > 0) {
            item.STATUS = status;
        }
    }
}

const Seller* ItemSearch::SellerOf(int sellerId) const {
    const auto found =
        std::find_if(sellers_.begin(), sellers_.end(),
                     [sellerId](const Seller& seller) { return seller.ID == sellerId; });
    return found == sellers_.end() ? nullptr : &*found;
}

// One pass over all texts per distinct word: a hit counts for the item it starts in, when it
// also ends there, and the search goes on at the next item's text.
std::vector<unsigned> ItemSearch::MatchCounts(const std::vector<std::string>& words) const {
    std::vector<unsigned> counts(items_.size(), 0);
    std::vector<std::string> distinct = words;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    const char* const begin = texts_.data();
    const char* const end = begin + texts_.size();
    for (const std::string& word : distinct) {
        const auto times = static_cast<unsigned>(std::count(words.begin(), words.end(), word));
        std::size_t item = 0;
        const char* from = begin;
        while (from < end) {
            const void* hit =
                ::memmem(from, static_cast<std::size_t>(end - from), word.data(), word.size());
            if (hit == nullptr) {
                break;
            }
            const auto offset = static_cast<std::size_t>(static_cast<const char*>(hit) - begin);
            while (item + 1 < textStarts_.size() && textStarts_[item + 1] <= offset) {
                ++item;
            }
            const std::size_t itemEnd =
                item + 1 < textStarts_.size() ? textStarts_[item + 1] : texts_.size();
            if (offset + word.size() <= itemEnd) {
                counts[item] += times;
                from = begin + itemEnd;
            } else {
                from = static_cast<const char*>(hit) + 1;
            }
        }
    }
    return counts;
}

std::vector<Item> ItemSearch::FindItems(const std::string& query) const {
    if (query.size() < MinimumQueryBytes) {
        return {};
    }
    const std::vector<std::string> words = SplitText(StringEncoding::MakeSearchKey(query), " ");
    const std::vector<unsigned> counts = MatchCounts(words);
    const unsigned fullBucket = std::min<unsigned>(static_cast<unsigned>(words.size()), TopBucket);

    std::array<std::vector<std::size_t>, TopBucket + 1> buckets;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (counts[i] == 0) {
            continue;
        }
        buckets[std::min(counts[i], TopBucket)].push_back(i);
        if (buckets[fullBucket].size() > EnoughHits) {
            break;
        }
    }
    for (unsigned bucket = TopBucket; bucket > 0; --bucket) {
        if (buckets[bucket].empty()) {
            continue;
        }
        std::vector<Item> hits;
        const std::size_t count = std::min(buckets[bucket].size(), MaximumHits);
        for (std::size_t i = 0; i < count; ++i) {
            hits.push_back(items_[buckets[bucket][i]]);
        }
        return hits;
    }
    return {};
}

}  // namespace Kramo
