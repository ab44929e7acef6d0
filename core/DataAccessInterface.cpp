#include "DataAccessInterface.h"

#include <algorithm>

#include "support/Clock.h"
#include "support/Log.h"
#include "support/TextHelpers.h"

namespace Kramo {
namespace {

// A code that still collides after this many advances grows by one letter.
constexpr int AdvancesBeforeGrowing = 601;

// The whole first UTF-8 character, so an initial such as 'Č' is never cut in half.
std::string FirstCharacter(const std::string& word) {
    const auto lead = static_cast<unsigned char>(word.front());
    std::size_t length = 1;
    if (lead >= 0xF0) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    return word.substr(0, length);
}

std::string InitialsOf(const std::string& name) {
    std::string initials;
    for (const std::string& word : SplitText(name, " ")) {
        initials += FirstCharacter(word);
    }
    return initials;
}

// Odometer over letters: AZ -> BA, ZZ -> AA. Anything at or above 'Z' (bytes of non-ASCII
// letters included) turns into 'A' and carries, so the code stays valid text.
void AdvanceCode(std::string& code) {
    for (std::size_t i = code.size(); i-- > 0;) {
        const auto c = static_cast<unsigned char>(code[i]);
        if (c < 'Z') {
            code[i] = static_cast<char>(c + 1);
            return;
        }
        code[i] = 'A';
    }
}

template <typename Category>
const Category* FindById(const std::vector<Category>& categories, int id) {
    const auto found = std::find_if(categories.begin(), categories.end(),
                                    [id](const Category& category) { return category.ID == id; });
    return found == categories.end() ? nullptr : &*found;
}

}  // namespace

std::vector<Item> DataAccessInterface::GetItemsByIds(const std::vector<int>& itemIds) {
    std::vector<Item> items;
    items.reserve(itemIds.size());
    for (const int id : itemIds) {
        items.push_back(GetItem(id));
    }
    return items;
}

std::vector<ItemCategory> DataAccessInterface::GetCategoriesOfItems(
    const std::vector<Item>& items) {
    if (items.empty()) {
        return {};
    }
    std::vector<int> ids;
    ids.reserve(items.size());
    for (const Item& item : items) {
        ids.push_back(item.ITEM_CATEGORY_ID);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());

    const std::vector<ItemCategory> known = GetItemCategoriesByIds(ids);
    std::vector<ItemCategory> categories;
    categories.reserve(items.size());
    for (const Item& item : items) {
        const ItemCategory* category = FindById(known, item.ITEM_CATEGORY_ID);
        if (category == nullptr) {
            throw WrongItemCategoryException();
        }
        categories.push_back(*category);
    }
    return categories;
}

ItemCategory DataAccessInterface::GetItemCategory(int id) {
    const std::vector<ItemCategory> categories = GetItemCategoriesByIds({id});
    if (categories.empty()) {
        throw WrongItemCategoryException();
    }
    return categories.front();
}

ItemCategory DataAccessInterface::GetItemCategoryByCode(char code) {
    const std::vector<ItemCategory> categories = GetItemCategoriesByCodes({code});
    if (categories.empty()) {
        throw WrongItemCategoryException();
    }
    return categories.front();
}

SellerCategory DataAccessInterface::GetSellerCategory(int id) {
    const std::vector<SellerCategory> categories = GetSellerCategoriesByIds({id});
    if (categories.empty()) {
        throw WrongSellerCategoryException();
    }
    const SellerCategory* exact = FindById(categories, id);
    return exact != nullptr ? *exact : categories.front();
}

SellerCategory DataAccessInterface::GetSellerCategoryByCode(char code) {
    const std::vector<SellerCategory> categories = GetSellerCategoriesByCodes({code});
    if (categories.empty()) {
        throw WrongSellerCategoryException();
    }
    return categories.front();
}

bool DataAccessInterface::ReservedCheckA(int) {
    return false;
}

int DataAccessInterface::ReservedCountA(int) {
    return 0;
}

bool DataAccessInterface::ReservedCheckB(int) {
    return false;
}

int DataAccessInterface::ReservedCountB(int) {
    return 0;
}

Timestamp DataAccessInterface::GetCurrentTimestamp() {
    return CurrentTimestamp();
}

void DataAccessInterface::ReservedOperationA() {
    throw NotImplementedException();
}

void DataAccessInterface::ReservedOperationB() {
    throw NotImplementedException();
}

int DataAccessInterface::GetNextSellerId() {
    int largest = 0;
    for (const Seller& seller : GetSellers()) {
        largest = std::max(largest, seller.ID);
    }
    return largest + 1;
}

std::string DataAccessInterface::GenerateSellerCode(const std::string& name,
                                                    const std::string& startCode, int sellerId) {
    std::string code = startCode.empty() ? InitialsOf(name) : startCode;
    while (CharacterCount(code) < 2) {
        code += 'A';
    }
    const std::vector<Seller> sellers = GetSellers();
    int advances = 0;
    while (true) {
        ToUpperText(code);
        const auto holder = std::find_if(sellers.begin(), sellers.end(), [&](const Seller& seller) {
            return EqualIgnoringCase(seller.SHORT_CODE, code);
        });
        if (holder == sellers.end() || holder->ID == sellerId) {
            return code;
        }
        AdvanceCode(code);
        if (++advances == AdvancesBeforeGrowing) {
            code += 'A';
            advances = 0;
        }
    }
}

void DataAccessInterface::AddItems(std::vector<Item>& items, int sellerId) {
    for (Item& item : items) {
        item.SELLER_ID = sellerId;
        item.ID = AddItem(item, sellerId);
    }
}

int DataAccessInterface::AddSellerWithItems(Seller& seller, std::vector<Item>& items) {
    const int sellerId = AddSeller(seller);
    AddItems(items, sellerId);
    return sellerId;
}

void DataAccessInterface::SetItemsStatus(const std::vector<int>& itemIds, int32_t status) {
    std::vector<Item> formerItems;
    try {
        for (const int id : itemIds) {
            const Item former = GetItem(id);
            Item item = former;
            item.STATUS = status;
            ModifyItem(id, item);
            formerItems.push_back(former);
        }
    } catch (...) {
        // Half a change would leave items sold that the buyer did not get, or the reverse.
        for (auto item = formerItems.rbegin(); item != formerItems.rend(); ++item) {
            try {
                ModifyItem(item->ID, *item);
            } catch (const std::exception& failure) {
                LogMessage(LogError, "SetItemsStatus: item %i not put back: %s\n", item->ID,
                           failure.what());
            }
        }
        throw;
    }
}

std::vector<RecordedSale> DataAccessInterface::GetRecordedSales() {
    throw NotImplementedException();
}

void DataAccessInterface::CancelSale(const SaleRecord& sale) {
    SetItemsStatus(sale.itemIds, InStock);
}

std::vector<StoreChange> DataAccessInterface::TakeChanges() {
    return {};
}

int DataAccessInterface::ChangesSocket() const {
    return -1;
}

}  // namespace Kramo
