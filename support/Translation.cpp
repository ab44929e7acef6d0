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

const char* TranslateInContext(const char* context, const char* text) {
    // The catalogue keys a text in context as the context, EOT and the text.
    const std::string key = std::string(context) + '\004' + text;
    const char* translated = dgettext(TranslationDomain, key.c_str());
    return translated == key.c_str() ? text : translated;
}

}  // namespace Kramo
