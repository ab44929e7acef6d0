#include "support/Translation.h"

#include <libintl.h>

namespace Kramo {

void StartTranslations(const std::string& localeDirectory) {
    bindtextdomain(TranslationDomain, localeDirectory.c_str());
    // The toolkit takes UTF-8 whatever the locale's own character set is.
    bind_textdomain_codeset(TranslationDomain, "UTF-8");
    textdomain(TranslationDomain);
}

const char* Translate(const char* text) {
    return dgettext(TranslationDomain, text);
}

}  // namespace Kramo
