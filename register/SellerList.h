#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/Seller.h"

namespace Kramo {

// The sellers as the main window and the checkout list them: sorted by code without regard
// to letter case, with the sellers matching a find text first and marked.
class SellerList {
  public:
    static constexpr const char* NameMarker = ">>  ";
    static constexpr const char* CodeMarker = ">>>  ";

    struct Entry {
        Seller seller;
        std::string marker;
        std::string foldedName;  // search form, made once per reload
        std::string foldedCode;
    };

    // Replaces the list and applies the empty find text.
    void Reload(const std::vector<Seller>& sellers);
    // A text of two characters or more marks the sellers whose name (or else code) holds it,
    // without regard to diacritics and letter case, and puts them first.
    void ApplyFindText(const std::string& text);

    // The first entry whose code equals the given one, ignoring ASCII letter case.
    std::optional<std::size_t> PositionOfCode(const std::string& code) const;
    std::optional<std::size_t> PositionOfId(int sellerId) const;

    // marker + code + " - " + name, one per entry: the rows of the seller combos.
    std::vector<std::string> ComboTexts() const;

    const std::vector<Entry>& Entries() const { return entries_; }
    const Entry& At(std::size_t position) const { return entries_.at(position); }
    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

  private:
    std::vector<Entry> entries_;
};

}  // namespace Kramo
