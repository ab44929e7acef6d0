#pragma once

// Interface texts go through gettext: the Slovak texts are the message IDs, so without a
// catalogue for the user's language (and under Slovak) the program speaks as it always did.
// Include this header only in source files: `_` would clash with names in headers that
// others include (the test matchers among them).

#include <string>

namespace Kramo {

constexpr const char* TranslationDomain = "kramo";

// Binds the program's catalogues in localeDirectory (…/<language>/LC_MESSAGES/kramo.mo) and
// makes the program's domain the default one, for the window description among others.
void StartTranslations(const std::string& localeDirectory);

// The text in the user's language; the ID itself when no catalogue translates it.
const char* Translate(const char* text) __attribute__((format_arg(1)));
// The same for a text whose translation depends on where it stands (a short word used twice).
const char* TranslateInContext(const char* context, const char* text)
    __attribute__((format_arg(2)));

}  // namespace Kramo

// A text to translate where it is used.
#define _(text) ::Kramo::Translate(text)
// A text to translate with a word on where it stands: C_("column", "Predané").
#define C_(context, text) ::Kramo::TranslateInContext(context, text)
// A text marked for the catalogue but translated later, at its use (tables of texts).
#define N_(text) (text)
