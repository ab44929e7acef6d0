#include "ItemScan.h"

#include <array>
#include <cctype>
#include <utility>

#include "support/Translation.h"

namespace Kramo {
namespace {

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

}  // namespace

ScanRefusal ItemScan::RefusalOfState(int32_t status) {
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

namespace {

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

std::vector<ScanQuery> ItemScan::Parse(std::string_view text) {
    text = Trimmed(text);
    if (const std::optional<ItemKey> barcode = BarcodeOf(text)) {
        return {ScanQuery{barcode, std::string(), -1}};
    }
    std::size_t digitsStart = text.size();
    while (digitsStart > 0 && IsDigit(text[digitsStart - 1])) {
        --digitsStart;
    }
    const bool separated = digitsStart > 0 && IsSeparator(text[digitsStart - 1]);
    // Without a separator the number may be any run of the last digits: "K0117" is seller
    // "K" with item 117 or seller "K01" with item 17.
    const std::size_t shortest = separated ? text.size() - digitsStart : 1;
    std::vector<ScanQuery> queries;
    for (std::size_t length = shortest;
         length <= std::min<std::size_t>(4, text.size() - digitsStart); ++length) {
        const std::string_view code = Trimmed(text.substr(0, text.size() - length));
        if (!code.empty()) {
            queries.push_back({std::nullopt, std::string(code),
                               std::stoi(std::string(text.substr(text.size() - length)))});
        }
    }
    return queries;
}

ScanOutcome ItemScan::Find(DataAccessInterface& store, const SellerList& sellers,
                           const Purchase& purchase, std::string_view text) {
    ScanOutcome outcome;
    std::optional<int> sellerId;
    int number = -1;
    for (const ScanQuery& query : Parse(text)) {
        if (const std::optional<int> found = SellerIdOf(store, sellers, query)) {
            if (sellerId) {
                outcome.refusal = ScanRefusal::AmbiguousCode;
                return outcome;
            }
            sellerId = found;
            number = query.barcode ? query.barcode->number : query.number;
        }
    }
    if (!sellerId) {
        // A text that names no seller at all reads as a code nobody has.
        outcome.refusal = ScanRefusal::UnknownSeller;
        return outcome;
    }
    try {
        outcome.item = store.GetSellerItemByNumber(*sellerId, number);
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
            return _("neznámy predajca");
        case ScanRefusal::UnknownItem:
            return _("neznámy tovar");
        case ScanRefusal::AmbiguousCode:
            return _("nejednoznačný kód, oddeľte číslo medzerou");
        case ScanRefusal::AlreadyInPurchase:
            return _("už je v nákupe");
        case ScanRefusal::Sold:
            return _("už predané");
        case ScanRefusal::NotAccepted:
            return _("nie je prebraté");
        case ScanRefusal::Returned:
            return _("vrátené predajcovi");
        case ScanRefusal::GivenAway:
            return _("darované");
        case ScanRefusal::ToTrace:
            return _("treba dohľadať");
        case ScanRefusal::UnknownState:
            return _("neznámy stav");
        case ScanRefusal::AlreadyAccepted:
            return _("už je prebraté");
        case ScanRefusal::AlreadyReturned:
            return _("už je vrátené");
        case ScanRefusal::SellerNotSelling:
            return _("predajca ešte nepredáva");
        case ScanRefusal::SellerSelling:
            return _("predajca už predáva");
        case ScanRefusal::SellerHandedBack:
            return _("predajca je už vydaný späť");
    }
    return "";
}

}  // namespace Kramo
