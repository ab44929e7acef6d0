#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace Kramo {

// The offered entry whose key the settings name; the first one for a key not offered (an
// older or mistyped kramo.xml), so that a choice is always made.
template <typename Entry>
const Entry& OfferedByKey(const std::vector<Entry>& offered, const std::string& key) {
    const auto found = std::find_if(offered.begin(), offered.end(),
                                    [&](const Entry& entry) { return entry.key == key; });
    return found == offered.end() ? offered.front() : *found;
}

}  // namespace Kramo
