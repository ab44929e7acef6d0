#include "SellerList.h"

#include <algorithm>

#include "support/StringEncoding.h"
#include "support/TextHelpers.h"

namespace Kramo {
namespace {

std::string LowerCode(const std::string& code) {
    std::string lower = code;
    ToLowerText(lower);
    return lower;
}

bool CodeOrder(const SellerList::Entry& left, const SellerList::Entry& right) {
    const std::string leftCode = LowerCode(left.seller.SHORT_CODE);
    const std::string rightCode = LowerCode(right.seller.SHORT_CODE);
    return leftCode != rightCode ? leftCode < rightCode : left.seller.ID < right.seller.ID;
}

}  // namespace

void SellerList::Reload(const std::vector<Seller>& sellers) {
    entries_.clear();
    entries_.reserve(sellers.size());
    for (const Seller& seller : sellers) {
        entries_.push_back({seller, "", StringEncoding::MakeSearchKey(seller.NAME),
                            StringEncoding::MakeSearchKey(seller.SHORT_CODE)});
    }
    ApplyFindText("");
}

void SellerList::ApplyFindText(const std::string& text) {
    std::sort(entries_.begin(), entries_.end(), CodeOrder);
    for (Entry& entry : entries_)
        entry.marker.clear();
    if (CharacterCount(text) <= 1) {
        return;
    }
    const std::string folded = StringEncoding::MakeSearchKey(text);
    for (Entry& entry : entries_) {
        if (entry.foldedName.find(folded) != std::string::npos) {
            entry.marker = NameMarker;
        } else if (entry.foldedCode.find(folded) != std::string::npos) {
            entry.marker = CodeMarker;
        }
    }
    std::stable_partition(entries_.begin(), entries_.end(),
                          [](const Entry& entry) { return !entry.marker.empty(); });
}

std::optional<std::size_t> SellerList::PositionOfCode(const std::string& code) const {
    for (std::size_t position = 0; position < entries_.size(); ++position) {
        if (EqualIgnoringCase(entries_[position].seller.SHORT_CODE, code)) {
            return position;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> SellerList::PositionOfId(int sellerId) const {
    for (std::size_t position = 0; position < entries_.size(); ++position) {
        if (entries_[position].seller.ID == sellerId) {
            return position;
        }
    }
    return std::nullopt;
}

std::vector<std::string> SellerList::ComboTexts() const {
    std::vector<std::string> texts;
    texts.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        texts.push_back(entry.marker + entry.seller.SHORT_CODE + " - " + entry.seller.NAME);
    }
    return texts;
}

}  // namespace Kramo
