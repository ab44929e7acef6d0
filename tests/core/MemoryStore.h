#pragma once

#include <map>
#include <vector>

#include "core/DataAccessInterface.h"

namespace KramoTest {

// The smallest complete store: what the shared operations of the interface are tested over.
// It records the category look-ups it is asked for.
class MemoryStore : public Kramo::DataAccessInterface {
  public:
    std::vector<Kramo::Seller> GetSellers() override;
    Kramo::Seller GetSeller(int sellerId) override;
    Kramo::Seller GetSellerByCode(const std::string& shortCode) override;
    std::vector<Kramo::Item> GetSellerItems(int sellerId) override;
    Kramo::Item GetSellerItemByNumber(int sellerId, int number) override;
    int AddSeller(Kramo::Seller& seller) override;
    bool MarkSellerChanging(int) override { return true; }
    void UpdateSeller(int sellerId, const Kramo::Seller& seller) override;
    void RemoveSeller(int sellerId) override;
    int AddItem(Kramo::Item& item, int sellerId) override;
    void ModifyItem(int itemId, const Kramo::Item& item) override;
    void RemoveItem(int itemId) override;
    Kramo::Item GetItem(int itemId) override;
    std::vector<Kramo::ItemCategory> GetItemCategoriesByIds(const std::vector<int>& ids) override;
    std::vector<Kramo::ItemCategory> GetItemCategories() override { return itemCategories; }
    std::vector<Kramo::ItemCategory> GetItemCategoriesByCodes(
        const std::vector<char>& codes) override;
    std::vector<Kramo::SellerCategory> GetSellerCategoriesByIds(
        const std::vector<int>& ids) override;
    std::vector<Kramo::SellerCategory> GetSellerCategories() override { return sellerCategories; }
    std::vector<Kramo::SellerCategory> GetSellerCategoriesByCodes(
        const std::vector<char>& codes) override;
    void StoreSale(const Kramo::SaleRecord&) override;
    int GetSellerPosition(int sellerId) override;
    int GetItemPosition(int itemId) override;
    int GetNextItemId() override;

    // Stores a seller under the ID it carries.
    void PutSeller(const Kramo::Seller& seller) { sellers_[seller.ID] = seller; }

    std::vector<Kramo::ItemCategory> itemCategories;
    std::vector<Kramo::SellerCategory> sellerCategories;
    std::vector<std::vector<int>> itemCategoryRequests;  // arguments of GetItemCategoriesByIds

  private:
    std::map<int, Kramo::Seller> sellers_;
    std::map<int, Kramo::Item> items_;
};

}  // namespace KramoTest
