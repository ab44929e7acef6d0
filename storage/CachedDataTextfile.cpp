#include "CachedDataTextfile.h"

#include <algorithm>
#include <iterator>

#include "core/TextLimits.h"
#include "storage/SellerFolder.h"
#include "support/FolderLock.h"
#include "support/Log.h"
#include "support/UniqueKey.h"

namespace Kramo {
namespace {

// The largest key counting from 0, plus one: keys are ordered, so this takes constant time.
template <typename Record>
int NextId(const std::map<int32_t, Record>& table) {
    return table.empty() ? 1 : std::max(0, table.rbegin()->first) + 1;
}

// The lowest positive key the table does not hold.
template <typename Record>
int LowestFreeId(const std::map<int32_t, Record>& table) {
    int32_t id = 1;
    for (auto entry = table.lower_bound(1); entry != table.end() && entry->first == id; ++entry) {
        ++id;
    }
    return id;
}

template <typename Record>
Record Fitted(Record record) {
    FitTextsToLimits(record);
    return record;
}

}  // namespace

CachedDataTextfile::CachedDataTextfile(const std::string& dataDirectory)
    : DataTextfile(dataDirectory), lock_(FolderLock::Acquire(dataDirectory)) {
    if (!lock_) {
        throw DataFolderInUseException(dataDirectory);
    }
    LoadDirectory();
    journal_ = std::make_unique<SaleJournal>(DataDirectory() + SaleJournal::FileName);
}

void CachedDataTextfile::LoadDirectory() {
    // Every seller opened together carries the moment the store was opened.
    const Seller opened;
    for (LoadedSellerFile& file : LoadSellerFolder(*this, DataDirectory(), opened, loadReport_)) {
        sellers_[file.seller.ID] = Fitted(file.seller);
        NoteSellerFile(file.seller.ID, file.name);
        for (Item& item : file.items) {
            item.ID = GetNextItemId();
            StoreItem(item);
        }
    }
}

void CachedDataTextfile::ChangeAndSave(const std::vector<int>& sellerIds,
                                       const std::function<void()>& change) {
    const std::vector<SellerState> former = StatesOf(sellerIds);
    change();
    for (std::size_t written = 0; written < sellerIds.size(); ++written) {
        try {
            SaveSellerFile(sellerIds[written]);
        } catch (const std::exception& failure) {
            LogMessage(LogError, "CachedDataTextfile: change not stored, taken back: %s\n",
                       failure.what());
            Restore(former);
            for (std::size_t again = 0; again < written; ++again) {
                try {
                    SaveSellerFile(sellerIds[again]);
                } catch (const std::exception& second) {
                    LogMessage(LogError, "CachedDataTextfile: file left with the change: %s\n",
                               second.what());
                }
            }
            throw;
        }
    }
}

std::vector<CachedDataTextfile::SellerState> CachedDataTextfile::StatesOf(
    const std::vector<int>& sellerIds) const {
    std::vector<SellerState> states;
    for (const int sellerId : sellerIds) {
        SellerState state{sellerId, std::nullopt, {}};
        const auto seller = sellers_.find(sellerId);
        if (seller != sellers_.end()) {
            state.seller = seller->second;
        }
        for (const int32_t itemId : ItemIdsOf(sellerId)) {
            state.items.push_back(items_.at(itemId));
        }
        states.push_back(std::move(state));
    }
    return states;
}

void CachedDataTextfile::Restore(const std::vector<SellerState>& states) {
    // Every seller's present items go first: an item moved between two of them must not be
    // dropped after it has been put back.
    for (const SellerState& state : states) {
        for (const int32_t itemId : ItemIdsOf(state.id)) {
            items_.erase(itemId);
        }
        itemIdsBySeller_.erase(state.id);
    }
    for (const SellerState& state : states) {
        if (state.seller) {
            sellers_[state.id] = *state.seller;
        } else {
            sellers_.erase(state.id);
        }
        for (const Item& item : state.items) {
            StoreItem(item);
        }
    }
}

void CachedDataTextfile::StoreItem(const Item& item) {
    items_[item.ID] = Fitted(item);
    itemIdsBySeller_[item.SELLER_ID].insert(item.ID);
}

void CachedDataTextfile::StoreNewItems(std::vector<Item>& items, int sellerId) {
    for (Item& item : items) {
        item.ID = GetNextItemId();
        item.SELLER_ID = sellerId;
        StoreItem(item);
    }
}

const Seller& CachedDataTextfile::FindSeller(int sellerId) const {
    const auto found = sellers_.find(sellerId);
    if (found == sellers_.end()) {
        throw WrongSellerException();
    }
    return found->second;
}

const Item& CachedDataTextfile::FindItem(int itemId) const {
    const auto found = items_.find(itemId);
    if (found == items_.end()) {
        throw WrongItemException();
    }
    return found->second;
}

const std::set<int32_t>& CachedDataTextfile::ItemIdsOf(int sellerId) const {
    static const std::set<int32_t> none;
    const auto found = itemIdsBySeller_.find(sellerId);
    return found == itemIdsBySeller_.end() ? none : found->second;
}

std::vector<Seller> CachedDataTextfile::GetSellers() {
    std::vector<Seller> sellers;
    sellers.reserve(sellers_.size());
    for (const auto& entry : sellers_) {
        sellers.push_back(entry.second);
    }
    return sellers;
}

Seller CachedDataTextfile::GetSeller(int sellerId) {
    return FindSeller(sellerId);
}

Seller CachedDataTextfile::GetSellerByCode(const std::string& shortCode) {
    const auto found = std::find_if(sellers_.begin(), sellers_.end(), [&](const auto& entry) {
        return entry.second.SHORT_CODE == shortCode;
    });
    if (found == sellers_.end()) {
        throw WrongSellerException();
    }
    return found->second;
}

std::vector<Item> CachedDataTextfile::GetSellerItems(int sellerId) {
    FindSeller(sellerId);
    const std::set<int32_t>& ids = ItemIdsOf(sellerId);
    std::vector<Item> items;
    items.reserve(ids.size());
    for (const int32_t id : ids) {
        items.push_back(items_.at(id));
    }
    return items;
}

Item CachedDataTextfile::GetSellerItemByNumber(int sellerId, int number) {
    FindSeller(sellerId);
    for (const int32_t id : ItemIdsOf(sellerId)) {
        const Item& item = items_.at(id);
        if (item.NUMBER == number) {
            return item;
        }
    }
    throw WrongItemException();
}

int CachedDataTextfile::AddSeller(Seller& seller) {
    seller.ID = GetNextSellerId();
    ChangeAndSave({seller.ID}, [&] { sellers_[seller.ID] = Fitted(seller); });
    return seller.ID;
}

void CachedDataTextfile::UpdateSeller(int sellerId, const Seller& seller) {
    FindSeller(sellerId);
    ChangeAndSave({sellerId}, [&] { sellers_[sellerId] = Fitted(seller); });
}

void CachedDataTextfile::RemoveSeller(int sellerId) {
    FindSeller(sellerId);
    DataTextfile::RemoveSeller(sellerId);
    for (const int32_t id : ItemIdsOf(sellerId)) {
        items_.erase(id);
    }
    itemIdsBySeller_.erase(sellerId);
    sellers_.erase(sellerId);
}

int CachedDataTextfile::AddItem(Item& item, int sellerId) {
    FindSeller(sellerId);
    item.ID = GetNextItemId();
    item.SELLER_ID = sellerId;
    ChangeAndSave({sellerId}, [&] { StoreItem(item); });
    return item.ID;
}

void CachedDataTextfile::AddItems(std::vector<Item>& items, int sellerId) {
    FindSeller(sellerId);
    // One rewrite for the whole list: an imported sheet is a hundred items.
    if (items.empty()) {
        return;
    }
    ChangeAndSave({sellerId}, [&] { StoreNewItems(items, sellerId); });
}

int CachedDataTextfile::AddSellerWithItems(Seller& seller, std::vector<Item>& items) {
    seller.ID = GetNextSellerId();
    ChangeAndSave({seller.ID}, [&] {
        sellers_[seller.ID] = Fitted(seller);
        StoreNewItems(items, seller.ID);
    });
    return seller.ID;
}

void CachedDataTextfile::ModifyItem(int itemId, const Item& item) {
    const int formerSellerId = FindItem(itemId).SELLER_ID;
    FindSeller(item.SELLER_ID);
    Item stored = item;
    stored.ID = itemId;
    // The new owner's file first: a crash in between leaves the item twice, never nowhere.
    std::vector<int> sellerIds{stored.SELLER_ID};
    if (formerSellerId != stored.SELLER_ID) {
        sellerIds.push_back(formerSellerId);
    }
    ChangeAndSave(sellerIds, [&] {
        itemIdsBySeller_[formerSellerId].erase(itemId);
        StoreItem(stored);
    });
}

void CachedDataTextfile::RemoveItem(int itemId) {
    const int sellerId = GetItem(itemId).SELLER_ID;
    ChangeAndSave({sellerId}, [&] {
        items_.erase(itemId);
        itemIdsBySeller_[sellerId].erase(itemId);
    });
}

void CachedDataTextfile::SetItemsStatus(const std::vector<int>& itemIds, int32_t status) {
    std::vector<int> sellerIds;
    for (const int itemId : itemIds) {
        const int sellerId = FindItem(itemId).SELLER_ID;
        if (std::find(sellerIds.begin(), sellerIds.end(), sellerId) == sellerIds.end()) {
            sellerIds.push_back(sellerId);
        }
    }
    ChangeAndSave(sellerIds, [&] {
        for (const int itemId : itemIds) {
            items_.at(itemId).STATUS = status;
        }
    });
}

Item CachedDataTextfile::GetItem(int itemId) {
    return FindItem(itemId);
}

int CachedDataTextfile::GetSellerPosition(int sellerId) {
    const auto found = sellers_.find(sellerId);
    return found == sellers_.end() ? -1 : static_cast<int>(std::distance(sellers_.begin(), found));
}

int CachedDataTextfile::GetItemPosition(int itemId) {
    const std::set<int32_t>& ids = ItemIdsOf(GetItem(itemId).SELLER_ID);
    const auto found = ids.find(itemId);
    return found == ids.end() ? -1 : static_cast<int>(std::distance(ids.begin(), found));
}

int CachedDataTextfile::GetNextSellerId() {
    const int next = NextId(sellers_);
    return next <= MaxSellerId ? next : LowestFreeId(sellers_);
}

int CachedDataTextfile::GetNextItemId() {
    return NextId(items_);
}

void CachedDataTextfile::StoreSale(const SaleRecord& sale) {
    if (journal_->Find(sale.key) != nullptr) {
        LogMessage(LogNotice, "StoreSale: sale %s is on record already\n", sale.key.c_str());
        return;
    }
    RecordedSale record;
    record.key = sale.key.empty() ? NewUniqueKey() : sale.key;
    record.desk = sale.desk;
    record.time = GetCurrentTimestamp();
    std::map<int, int32_t> formerStates;
    std::vector<int> notInStock;
    for (const int itemId : sale.itemIds) {
        const auto found = items_.find(itemId);
        if (found == items_.end() || (found->second.STATUS != InStock && !sale.IsForced(itemId))) {
            notInStock.push_back(itemId);
        } else if (formerStates.emplace(itemId, found->second.STATUS).second) {
            ++record.itemCount;
            record.total += found->second.PRICE;
            // Forced and in stock after all is an ordinary sale.
            if (found->second.STATUS != InStock) {
                ++record.forcedCount;
                record.forcedTotal += found->second.PRICE;
            }
        }
    }
    if (!notInStock.empty()) {
        throw ItemsNotInStockException(notInStock);
    }
    SetItemsStatus(sale.itemIds, Sold);
    try {
        journal_->AddSale(record);
    } catch (const std::exception& failure) {
        LogMessage(LogError, "StoreSale: sale not recorded, items put back: %s\n", failure.what());
        PutBackStates(formerStates);
        throw;
    }
}

std::vector<RecordedSale> CachedDataTextfile::GetRecordedSales() {
    return journal_->Sales();
}

void CachedDataTextfile::CancelSale(const SaleRecord& sale) {
    const RecordedSale* recorded = journal_->Find(sale.key);
    if (recorded != nullptr && recorded->cancelled) {
        return;
    }
    std::map<int, int32_t> formerStates;
    for (const int itemId : sale.itemIds) {
        formerStates.emplace(itemId, FindItem(itemId).STATUS);
    }
    SetItemsStatus(sale.itemIds, InStock);
    if (recorded == nullptr) {
        return;
    }
    try {
        journal_->AddCancellation(sale.key, GetCurrentTimestamp());
    } catch (const std::exception& failure) {
        LogMessage(LogError, "CancelSale: storno not recorded, items put back: %s\n",
                   failure.what());
        PutBackStates(formerStates);
        throw;
    }
}

void CachedDataTextfile::PutBackStates(const std::map<int, int32_t>& formerStates) {
    std::map<int32_t, std::vector<int>> itemsByState;
    for (const auto& [itemId, status] : formerStates) {
        itemsByState[status].push_back(itemId);
    }
    for (const auto& [status, itemIds] : itemsByState) {
        try {
            SetItemsStatus(itemIds, status);
        } catch (const std::exception& failure) {
            LogMessage(LogError, "CachedDataTextfile: %i items not put back: %s\n",
                       static_cast<int>(itemIds.size()), failure.what());
        }
    }
}

void CachedDataTextfile::SaveSellerFile(int sellerId) {
    WriteSellerFile(GetSeller(sellerId), GetSellerItems(sellerId));
}

}  // namespace Kramo
