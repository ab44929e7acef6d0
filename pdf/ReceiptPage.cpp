#include "ReceiptPage.h"

#include "support/KeyedChoice.h"
#include "support/Translation.h"

namespace Kramo {

const std::vector<ReceiptPage>& ReceiptPage::All() {
    // Receipt printers print 72 mm of an 80 mm roll and 48 mm of a 58 mm one (576 and 384 dots
    // at 203 dpi).
    // The titles are the catalogue's IDs: the settings translate them where they show them.
    static const std::vector<ReceiptPage> pages{
        {"a4", N_("Hárok A4"), 0.0, 0.0, 0},
        {"roll-80", N_("Pokladničná páska 80 mm"), 80.0, 72.0, 9},
        {"roll-58", N_("Pokladničná páska 58 mm"), 58.0, 48.0, 8},
    };
    return pages;
}

const ReceiptPage& ReceiptPage::ByKey(const std::string& key) {
    return OfferedByKey(All(), key);
}

}  // namespace Kramo
