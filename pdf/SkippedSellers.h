#pragma once

#include <exception>
#include <set>
#include <string>
#include <vector>

namespace Kramo {

// The sellers that a document of all sellers could not show whole. One broken seller must not
// cost the organiser the whole document: the document goes on without it, each such seller is
// logged when it is noted, and all of them are told in one box at the end.
class SkippedSellers {
  public:
    // The seller is named by its code, or by its ID when not even its record could be read.
    // A seller already noted is not noted again.
    void Note(int sellerId, const std::string& code, const std::exception& failure);
    bool Empty() const { return lines_.empty(); }
    // One error box naming every noted seller and why; nothing when none was noted.
    void Report() const;

  private:
    std::set<int> noted_;
    std::vector<std::string> lines_;
};

}  // namespace Kramo
