#include "MemoryStore.h"

#include <algorithm>

using namespace Kramo;

namespace KramoTest {
namespace {

template <typename Category, typename Key, typename Field>
std::vector<Category> Select(const std::vector<Category>& all, const std::vector<Key>& keys,
                             Field field) {
    std::vector<Category> selected;
    for (const Category& category : all) {
        if (std::find(keys.begin(), keys.end(), category.*field) != keys.end()) {
            selected.push_back(category);
        }
    }
    return selected;
}

}  // namespace

std::vector<Seller> MemoryStore::GetSellers() {
    std::vector<Seller> sellers;
    for (const auto& entry : sellers_)
        sellers.push_back(entry.second);
    return sellers;
}

Seller MemoryStore::GetSeller(int sellerId) {
    const auto found = sellers_.find(sellerId);
    if (found == sellers_.end())
        throw WrongSellerException();
    return found->second;
}

Seller MemoryStore::GetSellerByCode(const std::string& shortCode) {
    for (const auto& entry : sellers_) {
        if (entry.second.SHORT_CODE == shortCode)
            return entry.second;
    }
    throw WrongSellerException();
}

std::vector<Item> MemoryStore::GetSellerItems(int sellerId) {
    GetSeller(sellerId);
    std::vector<Item> items;
    for (const auto& entry : items_) {
        if (entry.second.SELLER_ID == sellerId)
            items.push_back(entry.second);
    }
    return items;
}

Item MemoryStore::GetSellerItemByNumber(int sellerId, int number) {
    for (const Item& item : GetSellerItems(sellerId)) {
        if (item.NUMBER == number)
            return item;
    }
    throw WrongItemException();
}

int MemoryStore::AddSeller(Seller& seller) {
    seller.ID = GetNextSellerId();
    sellers_[seller.ID] = seller;
    return seller.ID;
}

void MemoryStore::UpdateSeller(int sellerId, const Seller& seller) {
    GetSeller(sellerId);
    sellers_[sellerId] = seller;
}

void MemoryStore::RemoveSeller(int sellerId) {
    if (sellers_.erase(sellerId) == 0)
        throw WrongSellerException();
}

int MemoryStore::AddItem(Item& item, int sellerId) {
    item.ID = GetNextItemId();
    item.SELLER_ID = sellerId;
    items_[item.ID] = item;
    return item.ID;
}

void MemoryStore::ModifyItem(int itemId, const Item& item) {
    GetItem(itemId);
    items_[itemId] = item;
    items_[itemId].ID = itemId;
}

void MemoryStore::RemoveItem(int itemId) {
    if (items_.erase(itemId) == 0)
        throw WrongItemException();
}

Item MemoryStore::GetItem(int itemId) {
    const auto found = items_.find(itemId);
    if (found == items_.end())
        throw WrongItemException();
    return found->second;
}

std::vector<ItemCategory> MemoryStore::GetItemCategoriesByIds(const std::vector<int>& ids) {
    itemCategoryRequests.push_back(ids);
    return Select(itemCategories, ids, &ItemCategory::ID);
}

std::vector<ItemCategory> MemoryStore::GetItemCategoriesByCodes(const std::vector<char>& codes) {
    return Select(itemCategories, codes, &ItemCategory::CODE);
}

std::vector<SellerCategory> MemoryStore::GetSellerCategoriesByIds(const std::vector<int>& ids) {
    return Select(sellerCategories, ids, &SellerCategory::ID);
}

std::vector<SellerCategory> MemoryStore::GetSellerCategoriesByCodes(
    const std::vector<char>& codes) {
    return Select(sellerCategories, codes, &SellerCategory::CODE);
}

void MemoryStore::StoreSale(const Kramo::SaleRecord&) {
    throw NotImplementedException();
}

int MemoryStore::GetSellerPosition(int sellerId) {
    const auto found = sellers_.find(sellerId);
    return found == sellers_.end() ? -1 : static_cast<int>(std::distance(sellers_.begin(), found));
}

int MemoryStore::GetItemPosition(int itemId) {
    const Item item = GetItem(itemId);
    const std::vector<Item> items = GetSellerItems(item.SELLER_ID);
    const auto found = std::find_if(items.begin(), items.end(),
                                    [itemId](const Item& other) { return other.ID == itemId; });
    return static_cast<int>(std::distance(items.begin(), found));
}

int MemoryStore::GetNextItemId() {
    return items_.empty() ? 1 : items_.rbegin()->first + 1;
}

}  // namespace KramoTest
