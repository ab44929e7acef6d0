#pragma once

#include <string>
#include <vector>

#include "core/Item.h"
#include "core/ItemCategory.h"
#include "core/RecordedSale.h"
#include "core/SaleRecord.h"
#include "core/Seller.h"
#include "core/SellerCategory.h"
#include "core/StorageExceptions.h"
#include "core/StoreChange.h"
#include "support/Timestamp.h"

namespace Kramo {

// The one way to the data: every store implements this, and nothing above the stores knows
// which store is behind it. Records go in and out by value; every list is a fresh copy.
// The operations keep this order, the order of the stores' slots.
class DataAccessInterface {
  public:
    DataAccessInterface() = default;
    DataAccessInterface(const DataAccessInterface&) = delete;
    DataAccessInterface& operator=(const DataAccessInterface&) = delete;

    virtual std::vector<Seller> GetSellers() = 0;
    virtual Seller GetSeller(int sellerId) = 0;
    virtual Seller GetSellerByCode(const std::string& shortCode) = 0;
    virtual std::vector<Item> GetSellerItems(int sellerId) = 0;
    virtual Item GetSellerItemByNumber(int sellerId, int number) = 0;
    // Assigns the new ID, writes it into the caller's record and returns it.
    virtual int AddSeller(Seller& seller) = 0;
    // A notice that a seller is about to be edited; callers ignore the answer.
    virtual bool MarkSellerChanging(int sellerId) = 0;
    // A store shared by several desks writes the seller only while its VERSION is the one
    // the record carries (RecordChangedException otherwise, WrongSellerException when it is
    // gone) and gives the record its new VERSION; SellerCodeTakenException when another seller
    // holds the code.
    virtual void UpdateSeller(int sellerId, const Seller& seller) = 0;
    virtual void RemoveSeller(int sellerId) = 0;
    // Assigns the new ID and SELLER_ID, writes both into the caller's record, returns the ID.
    virtual int AddItem(Item& item, int sellerId) = 0;
    // As UpdateSeller: a shared store refuses a stale record (RecordChangedException) and one
    // removed meanwhile (WrongItemException).
    virtual void ModifyItem(int itemId, const Item& item) = 0;
    virtual void RemoveItem(int itemId) = 0;
    virtual Item GetItem(int itemId) = 0;
    virtual std::vector<Item> GetItemsByIds(const std::vector<int>& itemIds);
    // One category per item, in the items' order.
    virtual std::vector<ItemCategory> GetCategoriesOfItems(const std::vector<Item>& items);
    virtual std::vector<ItemCategory> GetItemCategoriesByIds(const std::vector<int>& ids) = 0;
    virtual std::vector<ItemCategory> GetItemCategories() = 0;
    virtual ItemCategory GetItemCategory(int id);
    virtual ItemCategory GetItemCategoryByCode(char code);
    virtual std::vector<ItemCategory> GetItemCategoriesByCodes(const std::vector<char>& codes) = 0;
    virtual std::vector<SellerCategory> GetSellerCategoriesByIds(const std::vector<int>& ids) = 0;
    virtual std::vector<SellerCategory> GetSellerCategories() = 0;
    virtual SellerCategory GetSellerCategory(int id);
    virtual SellerCategory GetSellerCategoryByCode(char code);
    virtual std::vector<SellerCategory> GetSellerCategoriesByCodes(
        const std::vector<char>& codes) = 0;
    virtual bool ReservedCheckA(int value);
    virtual int ReservedCountA(int value);
    virtual bool ReservedCheckB(int value);
    virtual int ReservedCountB(int value);
    virtual Timestamp GetCurrentTimestamp();
    // Records one completed sale and marks its items sold: all of them or none. An item that
    // is no longer in stock (and not forced) refuses the whole sale with
    // ItemsNotInStockException naming such items. A sale whose key is on record already is
    // not recorded again, and counts as done.
    virtual void StoreSale(const SaleRecord& sale) = 0;
    // The sales on record, cancelled ones included, oldest first; NotImplementedException
    // from a store that keeps none.
    virtual std::vector<RecordedSale> GetRecordedSales();
    virtual void ReservedOperationA();
    virtual void ReservedOperationB();
    // 0-based position in GetSellers, or -1.
    virtual int GetSellerPosition(int sellerId) = 0;
    // 0-based position among the owner's GetSellerItems, or -1.
    virtual int GetItemPosition(int itemId) = 0;
    virtual int GetNextSellerId();
    virtual int GetNextItemId() = 0;
    // A short code no other seller has, from startCode or the initials of the name.
    virtual std::string GenerateSellerCode(const std::string& name, const std::string& startCode,
                                           int sellerId);
    // The caller's items end up carrying their new IDs.
    virtual void AddItems(std::vector<Item>& items, int sellerId);
    // A new seller together with its items; a store that can keeps the two from being stored
    // apart, so that a crash never leaves an imported seller without its goods. Returns the ID.
    virtual int AddSellerWithItems(Seller& seller, std::vector<Item>& items);
    // Gives every listed item the state: all of them, or on a failure (thrown) none. The
    // default changes them one by one and puts the changed ones back on a failure.
    virtual void SetItemsStatus(const std::vector<int>& itemIds, int32_t status);
    // Takes back a finished sale (a storno): its items are in stock again. The default is
    // SetItemsStatus; a store that records sales keeps the cancelled one marked as such.
    virtual void CancelSale(const SaleRecord& sale);
    // What other desks changed since the last call, oldest first; nothing from a store that
    // only this desk uses. Never blocks.
    virtual std::vector<StoreChange> TakeChanges();
    // A socket that becomes readable when TakeChanges has something, or -1.
    virtual int ChangesSocket() const;
    virtual ~DataAccessInterface() = default;
};

}  // namespace Kramo
