#include "DiacriticRemover.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <stdexcept>

namespace Kramo {

DiacriticRemover::DiacriticRemover(const std::string& rule) {
    UErrorCode status = U_ZERO_ERROR;
    transliterator_.reset(icu::Transliterator::createInstance(icu::UnicodeString::fromUTF8(rule),
                                                              UTRANS_FORWARD, status));
    if (U_FAILURE(status)) {
        transliterator_.reset();
        creationError_ = u_errorName(status);
    }
}

DiacriticRemover::~DiacriticRemover() = default;

std::string DiacriticRemover::Apply(const std::string& text) const {
    if (!transliterator_) {
        throw std::runtime_error("StringEncoding::RemoveDiacritics: transliterator not created (" +
                                 creationError_ + ")");
    }
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    transliterator_->transliterate(unicode);
    std::string result;
    unicode.toUTF8String(result);
    return result;
}

}  // namespace Kramo
