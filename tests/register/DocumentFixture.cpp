#include "DocumentFixture.h"

#include <algorithm>
#include <filesystem>

namespace KramoTest {

DocumentFixture::DocumentFixture() {
    settings_ = std::make_unique<Kramo::KramoSettings>(reporter_, programDirectory_.Path() + "/");
    auto store = std::make_unique<MemoryStore>();
    store_ = store.get();
    register_.ReplaceStore(std::move(store));

    Kramo::ItemCategory clothes;
    clothes.ID = 1;
    clothes.CODE = 'a';
    clothes.NAME = "Oblečenie";
    clothes.HandlingFee = 0.30;
    store_->itemCategories = {clothes};
    Kramo::SellerCategory ordinary;
    ordinary.ID = 11;
    ordinary.NAME = "Predajca";
    ordinary.HandlingFactor = 1.0;
    store_->sellerCategories = {ordinary};

    seller_.ID = 4;
    seller_.SHORT_CODE = "AB";
    seller_.NAME = "Anna Nováková";
    seller_.SELLER_CATEGORY_ID = 11;
    seller_.STATUS = Kramo::Selling;
    store_->PutSeller(seller_);
}

Kramo::Item DocumentFixture::AddItem(int number, const char* name, double price, int32_t status) {
    Kramo::Item item;
    item.NUMBER = number;
    item.NAME = name;
    item.PRICE = price;
    item.STATUS = status;
    item.ITEM_CATEGORY_ID = 1;
    store_->AddItem(item, seller_.ID);
    return item;
}

std::vector<std::string> DocumentFixture::Documents() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(programDirectory_.File("documents"), error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string DocumentFixture::DocumentPath(const std::string& name) const {
    return programDirectory_.File("documents/" + name);
}

}  // namespace KramoTest
