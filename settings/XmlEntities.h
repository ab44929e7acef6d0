#pragma once

namespace Kramo {

// The entities the reader replaces, and so the only ones the writer may use.
struct XmlEntity {
    const char* text;
    char character;
};

inline constexpr XmlEntity XmlEntities[] = {
    {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''},
};

}  // namespace Kramo
