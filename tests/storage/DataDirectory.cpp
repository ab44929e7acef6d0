#include "DataDirectory.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace KramoTest {
DataDirectory::DataDirectory() : path_(root_.File("data") + "/") {
    std::filesystem::create_directory(path_);
}

void DataDirectory::WriteFile(const std::string& name, const std::string& content) const {
    root_.WriteFile("data/" + name, content);
}

std::string DataDirectory::ReadFile(const std::string& name) const {
    return ReadWholeFile(path_ + name);
}

std::vector<std::string> DataDirectory::FileNames() const {
    return EntriesOf(path_);
}

std::vector<std::string> DataDirectory::RootNames() const {
    return EntriesOf(root_.Path());
}

Kramo::Seller MakeSeller(const std::string& code, const std::string& name,
                         const std::string& comment, int32_t category, int32_t status) {
    Kramo::Seller seller;
    seller.SHORT_CODE = code;
    seller.NAME = name;
    seller.COMMENT = comment;
    seller.SELLER_CATEGORY_ID = category;
    seller.STATUS = status;
    return seller;
}

Kramo::Item MakeItem(int32_t number, const std::string& name, double price, int32_t category,
                     int32_t status) {
    Kramo::Item item;
    item.NUMBER = number;
    item.NAME = name;
    item.PRICE = price;
    item.ITEM_CATEGORY_ID = category;
    item.STATUS = status;
    return item;
}

std::string Describe(const Kramo::Seller& seller) {
    std::ostringstream text;
    text << seller.ID << " [" << seller.SHORT_CODE << "] [" << seller.NAME << "] ["
         << seller.COMMENT << "] cat " << seller.SELLER_CATEGORY_ID << " status " << seller.STATUS;
    return text.str();
}

std::string Describe(const Kramo::Item& item) {
    std::ostringstream text;
    text << "seller " << item.SELLER_ID << " #" << item.NUMBER << " [" << item.NAME << "] "
         << item.PRICE << " cat " << item.ITEM_CATEGORY_ID << " status " << item.STATUS;
    return text.str();
}

std::vector<std::string> Contents(Kramo::DataAccessInterface& store) {
    std::vector<std::string> lines;
    for (const Kramo::Seller& seller : store.GetSellers()) {
        lines.push_back(Describe(seller));
        for (const Kramo::Item& item : store.GetSellerItems(seller.ID)) {
            lines.push_back("  " + Describe(item));
        }
    }
    return lines;
}

}  // namespace KramoTest
