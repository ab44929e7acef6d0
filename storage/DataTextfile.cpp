#include "DataTextfile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "core/TextLimits.h"
#include "storage/FieldReader.h"
#include "storage/SellerFileNames.h"
#include "support/CConvFile.h"
#include "support/FileHelpers.h"
#include "support/FormatStream.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

using ConvFile::CConvFile;

// An empty text field is written as this one character. The reader merges a run of separators
// into one boundary, so writing nothing would move every later field up by one. DEL is never
// typed into a name nor imported, and it is replaced in every written text like a separator,
// so a field holding it alone can only mean "empty". An older reader of these files sees a
// one-character text instead, with every later field still in its place.
constexpr char EmptyFieldMarker = '\x7F';
constexpr char Replacement = '_';
// The reader takes a line in pieces of LineBufferSize - 1 bytes, its line break included, and
// a field up to MaxFieldLength bytes: a header line with the longest texts the limits allow,
// and numbers of any width, must come whole.
constexpr std::size_t NumberWidth = 11;  // "-2147483648"
constexpr std::size_t LongestHeaderLine = NumberWidth + 1 + MaxSellerCodeBytes + 1 +
                                          MaxSellerNameBytes + 1 + MaxSellerNoteBytes + 1 +
                                          1 /* category letter */ + 1 + NumberWidth + 1;
static_assert(LongestHeaderLine < ConvFile::CConvFile::LineBufferSize,
              "the longest header line must be read as one line");
static_assert(std::max({MaxSellerCodeBytes, MaxSellerNameBytes, MaxSellerNoteBytes,
                        MaxItemNameBytes}) <= FieldReader::MaxFieldLength,
              "a text longer than a field would be cut by the reader");
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
// Item states 0..5 are read back from their letters; anything else is Undefined.
const std::string_view ReadableStatusLetters(ItemStatusLetters,
                                             static_cast<std::size_t>(ItemStatusCount));

std::string EncodeText(const std::string& text) {
    if (text.empty()) {
        return std::string(1, EmptyFieldMarker);
    }
    std::string encoded = text;
    for (char& c : encoded) {
        if (FieldReader::IsSeparator(c) || c == EmptyFieldMarker) {
            c = Replacement;
        }
    }
    return encoded;
}

std::string DecodeText(std::string field) {
    return field == std::string(1, EmptyFieldMarker) ? std::string() : field;
}

// The leading integer as atoi reads it, without its undefined behaviour on overflow.
int32_t ReadInteger(const std::string& field) {
    const long value = std::strtol(field.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

char FirstCharacter(const std::string& field, char whenEmpty) {
    return field.empty() ? whenEmpty : field.front();
}

// Cents, as they are entered and printed on the receipts; one decimal place in older files
// reads the same.
std::string FormatPrice(double price) {
    // Wide enough for "%0.2f" of the largest double.
    std::array<char, 400> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%0.2f", price);
    return buffer.data();
}

char StatusLetter(int32_t status) {
    return (status >= 0 && status < ItemStatusCount) ? ItemStatusLetters[status] : '?';
}

int32_t StatusOfLetter(char letter) {
    const std::size_t position = ReadableStatusLetters.find(letter);
    return position == std::string_view::npos ? Undefined : static_cast<int32_t>(position);
}

// The target is replaced only by a complete, flushed file: old or new content, never half.
void ReplaceFile(const std::string& path, const std::string& temporaryPath,
                 const std::string& content) {
    switch (ReplaceFileContents(path, temporaryPath, content)) {
        case Replacement::Done:
            return;
        case Replacement::NotOpened:
            throw std::runtime_error(
                (FormatStream(_("Could not open output file '%s'")) << path).str());
        case Replacement::NotWritten:
            throw std::runtime_error(
                (FormatStream(_("Could not write output file '%s'")) << path).str());
    }
}

template <typename Category, typename Key>
std::vector<Category> LookUp(const std::vector<Category>& table, const std::vector<Key>& keys,
                             Key Category::*field) {
    std::vector<Category> found;
    found.reserve(keys.size());
    for (const Key key : keys) {
        const auto match = std::find_if(table.begin(), table.end(),
                                        [&](const Category& entry) { return entry.*field == key; });
        found.push_back(match != table.end() ? *match : table.front());
    }
    return found;
}

ItemCategory MakeItemCategory(int32_t id, char code, const char* name, double handlingFee) {
    ItemCategory category;
    category.ID = id;
    category.CODE = code;
    category.NAME = name;
    category.PriceTo = 0.0;
    category.HandlingFee = handlingFee;
    return category;
}

SellerCategory MakeSellerCategory(int32_t id, char code, const char* name, double handlingFactor,
                                  double salePercentFactor) {
    SellerCategory category;
    category.ID = id;
    category.CODE = code;
    category.NAME = name;
    category.HandlingFactor = handlingFactor;
    category.SalePercentFactor = salePercentFactor;
    return category;
}

}  // namespace

DataTextfile::DataTextfile(std::string dataDirectory)
    : dataDirectory_(std::move(dataDirectory)),
      itemCategories_{MakeItemCategory(1, 'a', "aa", 1.0), MakeItemCategory(2, 'b', "bb", 4.0)},
      sellerCategories_{MakeSellerCategory(11, 'p', "Predajca", 1.0, 1.0),
                        MakeSellerCategory(12, 's', "Sympatizant", 0.0, 1.0),
                        MakeSellerCategory(13, 'd', "Organizator", 0.0, 0.0)} {}

int DataTextfile::LoadFromTxtFile(const std::string& path, Seller& seller,
                                  std::vector<Item>& items) {
    items.clear();
    CConvFile file;
    if (!file.Open(path, CConvFile::ForReading)) {
        throw std::runtime_error("DataTextfile::LoadFromTxtFile() File not opened.");
    }
    std::string header = file.ReadLine().value_or(std::string());
    if (header.size() > 2 && header.compare(0, ByteOrderMark.size(), ByteOrderMark) == 0) {
        header.erase(0, ByteOrderMark.size());
    }
    ReadSellerLine(header, seller);
    while (const std::optional<std::string> line = file.ReadLine()) {
        const FieldReader fields(*line);
        // A blank line, common at the end of hand-made files, holds no item.
        if (!fields.IsEmpty()) {
            items.push_back(ReadItemLine(fields, seller.ID));
        }
    }
    return seller.ID;
}

void DataTextfile::ReadSellerLine(const std::string& line, Seller& seller) {
    const FieldReader fields(line);
    seller.ID = ReadInteger(fields.Field(0));
    seller.SHORT_CODE = DecodeText(fields.Field(1));
    seller.NAME = DecodeText(fields.Field(2));
    seller.COMMENT = DecodeText(fields.Field(3));
    seller.SELLER_CATEGORY_ID = GetSellerCategoryByCode(FirstCharacter(fields.Field(4), ' ')).ID;
    const int32_t status = ReadInteger(fields.Field(5));
    seller.STATUS = (status >= 0 && status < SellerStatusCount) ? status : NotSelling;
}

Item DataTextfile::ReadItemLine(const FieldReader& fields, int sellerId) {
    Item item;
    item.NUMBER = ReadInteger(fields.Field(0));
    item.NAME = DecodeText(fields.Field(1));
    item.PRICE = std::strtod(fields.Field(2).c_str(), nullptr);
    item.ITEM_CATEGORY_ID = GetItemCategoryByCode(FirstCharacter(fields.Field(3), '\0')).ID;
    item.STATUS = StatusOfLetter(FirstCharacter(fields.Field(4), '\0'));
    item.MODIFIED = GetCurrentTimestamp();
    item.SELLER_ID = sellerId;
    item.ID = -1;
    return item;
}

std::string DataTextfile::SellerLine(const Seller& seller) {
    return std::to_string(seller.ID) + '*' + EncodeText(seller.SHORT_CODE) + '*' +
           EncodeText(seller.NAME) + '*' + EncodeText(seller.COMMENT) + '*' +
           GetSellerCategory(seller.SELLER_CATEGORY_ID).CODE + '*' + std::to_string(seller.STATUS) +
           '\n';
}

std::string DataTextfile::ItemLine(const Item& item) {
    return std::to_string(item.NUMBER) + '*' + EncodeText(item.NAME) + '*' +
           FormatPrice(item.PRICE) + '*' + GetItemCategory(item.ITEM_CATEGORY_ID).CODE + '*' +
           StatusLetter(item.STATUS) + '\n';
}

void DataTextfile::WriteSellerFile(const Seller& seller, const std::vector<Item>& items) {
    // Longer texts would read back as other fields and invented items.
    Seller fitted = seller;
    FitTextsToLimits(fitted);
    const std::string formerName = FindSellerFile(seller.ID);
    const std::string name = SellerFileName(fitted.ID, fitted.SHORT_CODE, fitted.NAME);
    std::string content = SellerLine(fitted);
    for (Item item : items) {
        FitTextsToLimits(item);
        content += ItemLine(item);
    }
    ReplaceFile(dataDirectory_ + name, dataDirectory_ + SellerTemporaryFileName(seller.ID),
                content);
    fileNames_[seller.ID] = name;
    if (!formerName.empty() && formerName != name) {
        std::remove((dataDirectory_ + formerName).c_str());
    }
}

std::string DataTextfile::FindSellerFile(int sellerId) const {
    const auto found = fileNames_.find(sellerId);
    return found == fileNames_.end() ? std::string() : found->second;
}

bool DataTextfile::MarkSellerChanging(int) {
    return true;
}

void DataTextfile::UpdateSeller(int sellerId, const Seller& seller) {
    WriteSellerFile(seller, GetSellerItems(sellerId));
}

void DataTextfile::RemoveSeller(int sellerId) {
    const std::string name = FindSellerFile(sellerId);
    if (!name.empty()) {
        std::remove((dataDirectory_ + name).c_str());
        fileNames_.erase(sellerId);
    }
}

std::vector<ItemCategory> DataTextfile::GetItemCategoriesByIds(const std::vector<int>& ids) {
    return LookUp(itemCategories_, ids, &ItemCategory::ID);
}

std::vector<ItemCategory> DataTextfile::GetItemCategories() {
    return itemCategories_;
}

std::vector<ItemCategory> DataTextfile::GetItemCategoriesByCodes(const std::vector<char>& codes) {
    return LookUp(itemCategories_, codes, &ItemCategory::CODE);
}

std::vector<SellerCategory> DataTextfile::GetSellerCategoriesByIds(const std::vector<int>& ids) {
    return LookUp(sellerCategories_, ids, &SellerCategory::ID);
}

std::vector<SellerCategory> DataTextfile::GetSellerCategories() {
    return sellerCategories_;
}

std::vector<SellerCategory> DataTextfile::GetSellerCategoriesByCodes(
    const std::vector<char>& codes) {
    return LookUp(sellerCategories_, codes, &SellerCategory::CODE);
}

}  // namespace Kramo
