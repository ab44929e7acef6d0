#include "ItemScan.h"

#include <array>
#include <cctype>
#include <utility>

namespace Kramo {
namespace {

constexpr int LargestNumber = 9999;

// The digits 1 to 9 and 0 as the top row of a Slovak or Czech keyboard types them.
constexpr std::array<std::pair<std::string_view, char>, 12> AccentedDigitKeys{{
    {"+", '1'},
    {"ľ", '2'},
    {"ě", '2'},
    {"š", '3'},
    {"č", '4'},
    {"ť", '5'},
    {"ř", '5'},
    {"ž", '6'},
    {"ý", '7'},
    {"á", '8'},
    {"í", '9'},
    {"é", '0'},
}};

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsSeparator(char c) {
    return c == ' ' || c == '-' || c == '/' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsSeparator(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSeparator(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The text with every accented digit key turned into its digit; nothing when anything else
// but digits stands in it.
std::optional<std::string> DigitsOfKeys(std::string_view text) {
    std::string digits;
    while (!text.empty()) {
        if (IsDigit(text.front())) {
            digits += text.front();
            text.remove_prefix(1);
            continue;
        }
        bool matched = false;
        for (const auto& [key, digit] : AccentedDigitKeys) {
            if (text.substr(0, key.size()) == key) {
                digits += digit;
                text.remove_prefix(key.size());
                matched = true;
                break;
            }
        }
        if (!matched) {
            return std::nullopt;
        }
    }
    return digits;
}

std::optional<ItemKey> BarcodeOf(std::string_view text) {
    if (const std::optional<ItemKey> key = ItemBarcode::Parse(text)) {
        return key;
    }
    const std::size_t prefix = ItemBarcode::Prefix.size();
    if (text.size() <= prefix) {
        return std::nullopt;
    }
    const std::optional<std::string> digits = DigitsOfKeys(text.substr(prefix));
    return digits ? ItemBarcode::Parse(std::string(text.substr(0, prefix)) + *digits)
                  : std::nullopt;
}

ScanRefusal RefusalOfState(int32_t status) {
    switch (status) {
        case InStock:
            return ScanRefusal::None;
        case Sold:
            return ScanRefusal::Sold;
        case Unassigned:
            return ScanRefusal::NotAccepted;
        case Returned:
            return ScanRefusal::Returned;
        case Gift:
            return ScanRefusal::GivenAway;
        case ToTrace:
            return ScanRefusal::ToTrace;
        default:
            return ScanRefusal::UnknownState;
    }
}

std::optional<int> SellerIdOf(DataAccessInterface& store, const SellerList& sellers,
                              const ScanQuery& query) {
    if (query.barcode) {
        try {
            return store.GetSeller(query.barcode->sellerId).ID;
        } catch (const WrongSellerException&) {
            return std::nullopt;
        }
    }
    const std::optional<std::size_t> position = sellers.PositionOfCode(query.sellerCode);
    return position ? std::optional<int>(sellers.At(*position).seller.ID) : std::nullopt;
}

}  // namespace

bool ScanOutcome::CanBeOverruled() const {
    return item && refusal != ScanRefusal::None && refusal != ScanRefusal::AlreadyInPurchase;
}

std::optional<ScanQuery> ItemScan::Parse(std::string_view text) {
    text = Trimmed(text);
    ScanQuery query;
    if ((query.barcode = BarcodeOf(text))) {
        return query;
    }
    std::size_t digitsStart = text.size();
    while (digitsStart > 0 && IsDigit(text[digitsStart - 1])) {
        --digitsStart;
    }
    const std::string_view digits = text.substr(digitsStart);
    const std::string_view code = Trimmed(text.substr(0, digitsStart));
    if (digits.empty() || digits.size() > 4 || code.empty()) {
        return std::nullopt;
    }
    query.sellerCode = std::string(code);
    query.number = std::stoi(std::string(digits));
    return query.number <= LargestNumber ? std::optional<ScanQuery>(query) : std::nullopt;
}

ScanOutcome ItemScan::Find(DataAccessInterface& store, const SellerList& sellers,
                           const Purchase& purchase, std::string_view text) {
    ScanOutcome outcome;
    const std::optional<ScanQuery> query = Parse(text);
    const std::optional<int> sellerId = query ? SellerIdOf(store, sellers, *query) : std::nullopt;
    if (!sellerId) {
        // A text that names no seller at all reads as a code nobody has.
        outcome.refusal = ScanRefusal::UnknownSeller;
        return outcome;
    }
    try {
        outcome.item = store.GetSellerItemByNumber(
            *sellerId, query->barcode ? query->barcode->number : query->number);
    } catch (const WrongItemException&) {
        outcome.refusal = ScanRefusal::UnknownItem;
        return outcome;
    }
    outcome.refusal = purchase.Contains(outcome.item->ID) ? ScanRefusal::AlreadyInPurchase
                                                          : RefusalOfState(outcome.item->STATUS);
    return outcome;
}

const char* ItemScan::RefusalText(ScanRefusal refusal) {
    switch (refusal) {
        case ScanRefusal::None:
            return "";
        case ScanRefusal::UnknownSeller:
            return "neznámy predajca";
        case ScanRefusal::UnknownItem:
            return "neznámy tovar";
        case ScanRefusal::AlreadyInPurchase:
            return "už je v nákupe";
        case ScanRefusal::Sold:
            return "už predané";
        case ScanRefusal::NotAccepted:
            return "nie je prebraté";
        case ScanRefusal::Returned:
            return "vrátené predajcovi";
        case ScanRefusal::GivenAway:
            return "darované";
        case ScanRefusal::ToTrace:
            return "treba dohľadať";
        case ScanRefusal::UnknownState:
            return "neznámy stav";
    }
    return "";
}

}  // namespace Kramo
