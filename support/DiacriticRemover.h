#pragma once

#include <memory>
#include <string>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class Transliterator;
U_NAMESPACE_END

namespace Kramo {

// An ICU transliterator built once from a compound rule. When the rule cannot be built,
// Apply throws instead of working with a missing transliterator.
class DiacriticRemover {
  public:
    static constexpr const char* DefaultRule = "NFD; [:M:] Remove; NFC";

    explicit DiacriticRemover(const std::string& rule = DefaultRule);
    ~DiacriticRemover();
    DiacriticRemover(const DiacriticRemover&) = delete;
    DiacriticRemover& operator=(const DiacriticRemover&) = delete;

    bool IsReady() const { return transliterator_ != nullptr; }
    // The UTF-8 text passed through the transliterator.
    std::string Apply(const std::string& text) const;

  private:
    std::unique_ptr<icu::Transliterator> transliterator_;
    std::string creationError_;
};

}  // namespace Kramo
