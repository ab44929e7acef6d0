#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "storage/DataTextfile.h"
#include "storage/SaleJournal.h"

namespace Kramo {

class FolderLock;

// The default store: reads every seller file of the data directory once, answers every query
// from memory, and after each change rewrites the file of the seller concerned at once.
// A change whose file cannot be written (a full disk) is thrown and not kept in memory either,
// so that a later write of the same seller never brings it to the disk unseen.
// Item IDs are handed out anew from 1 at every start; seller IDs persist in the files.
// Texts longer than the limits of core/TextLimits.h are kept cut, in memory as in the files.
class CachedDataTextfile : public DataTextfile {
  public:
    // Locks the directory for the store's life (DataFolderInUseException when another program
    // holds it) and loads its seller files (see LoadSellerFolder): files that cannot be
    // loaded are skipped and a second file of one seller is set aside, each logged and told in
    // LoadReport.
    explicit CachedDataTextfile(const std::string& dataDirectory);

    // One line in Slovak per file that the start skipped or set aside; empty when all loaded.
    const std::vector<std::string>& LoadReport() const { return loadReport_; }

    std::vector<Seller> GetSellers() override;
    Seller GetSeller(int sellerId) override;
    // Exact match, letter case included; the lowest ID wins.
    Seller GetSellerByCode(const std::string& shortCode) override;
    // In ascending item ID order.
    std::vector<Item> GetSellerItems(int sellerId) override;
    Item GetSellerItemByNumber(int sellerId, int number) override;
    int AddSeller(Seller& seller) override;
    void UpdateSeller(int sellerId, const Seller& seller) override;
    // Deletes the seller's file and drops the seller with all of its items.
    void RemoveSeller(int sellerId) override;
    // Throws WrongSellerException for an unknown seller before anything changes.
    int AddItem(Item& item, int sellerId) override;
    // All items first, then the seller's file once.
    void AddItems(std::vector<Item>& items, int sellerId) override;
    // The seller's file is written once, with its items in it.
    int AddSellerWithItems(Seller& seller, std::vector<Item>& items) override;
    // An item moved to another seller leaves both sellers' files rewritten.
    void ModifyItem(int itemId, const Item& item) override;
    void RemoveItem(int itemId) override;
    // Each seller concerned has its file rewritten once.
    void SetItemsStatus(const std::vector<int>& itemIds, int32_t status) override;
    Item GetItem(int itemId) override;
    // Sales go into the record of sales in the data folder (SaleJournal): the items are
    // marked sold in their files first, then the sale's line is appended and flushed; when
    // that line cannot be written the items get their former states back and the failure is
    // thrown. Items not in stock (gone, or in another state and not forced) refuse the whole
    // sale with ItemsNotInStockException.
    void StoreSale(const SaleRecord& sale) override;
    std::vector<RecordedSale> GetRecordedSales() override;
    // The items are in stock again and the storno is recorded; a sale this store has no
    // record of (no key) only gets its items back in stock.
    void CancelSale(const SaleRecord& sale) override;
    int GetSellerPosition(int sellerId) override;
    int GetItemPosition(int itemId) override;
    // One above the largest; the lowest free ID once the largest is MaxSellerId.
    int GetNextSellerId() override;
    int GetNextItemId() override;
    ~CachedDataTextfile() override = default;
    // Writes the seller's file from the tables.
    virtual void SaveSellerFile(int sellerId);

  private:
    // A seller's record and items as they were before a change.
    struct SellerState {
        int32_t id;
        std::optional<Seller> seller;
        std::vector<Item> items;
    };

    void LoadDirectory();
    // Makes the change in the tables, then writes the files of the sellers named, in order.
    // When a file cannot be written, the tables get those sellers back as they were, the files
    // written before it are written again from them, and the failure is thrown.
    void ChangeAndSave(const std::vector<int>& sellerIds, const std::function<void()>& change);
    std::vector<SellerState> StatesOf(const std::vector<int>& sellerIds) const;
    void Restore(const std::vector<SellerState>& states);
    void StoreItem(const Item& item);
    // Gives each item the next free ID and the seller, and keeps it in the tables.
    void StoreNewItems(std::vector<Item>& items, int sellerId);
    const Seller& FindSeller(int sellerId) const;
    const Item& FindItem(int itemId) const;
    // The seller's item IDs in ascending order; empty for a seller without items.
    const std::set<int32_t>& ItemIdsOf(int sellerId) const;
    // Gives each item its state again after a sale or storno that could not be recorded.
    void PutBackStates(const std::map<int, int32_t>& formerStates);

    std::shared_ptr<FolderLock> lock_;
    std::vector<std::string> loadReport_;
    std::map<int32_t, Seller> sellers_;
    std::map<int32_t, Item> items_;
    // Item IDs by SELLER_ID, so that one seller's items are found without walking them all.
    std::unordered_map<int32_t, std::set<int32_t>> itemIdsBySeller_;
    std::unique_ptr<SaleJournal> journal_;
};

}  // namespace Kramo
