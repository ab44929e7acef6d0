#include "StringEncoding.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <stdexcept>

#include "DiacriticRemover.h"
#include "TextHelpers.h"

namespace Kramo {
namespace {

const DiacriticRemover& SharedRemover() {
    static const DiacriticRemover remover;
    return remover;
}

// Built when the program loads, so the first search does not pay for it.
[[maybe_unused]] const bool removerBuiltAtStart = SharedRemover().IsReady();

[[noreturn]] void ThrowConversionError(const char* from, const char* to, const char* reason,
                                       int errorNumber) {
    std::string message =
        std::string("StringEncoding::OneToAnother(") + from + " => " + to + "): " + reason;
    if (errorNumber != 0) {
        message += "(errno:" + std::to_string(errorNumber) + ")";
    }
    throw std::runtime_error(message);
}

struct ConverterCloser {
    void operator()(iconv_t converter) const { iconv_close(converter); }
};

iconv_t OpenConverter(const char* from, const char* to) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        const int openError = errno;
        if (openError == EINVAL) {
            ThrowConversionError(from, to,
                                 "Cannot open converter - conversion from to is not supported "
                                 "by the implementation.",
                                 0);
        }
        ThrowConversionError(from, to, "Cannot open converter", openError);
    }
    return converter;
}

std::string ConvertBytes(const char* data, std::size_t size, const char* from, const char* to) {
    const std::vector<char> bytes = StringEncoding::OneToAnother(data, size, from, to);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::vector<char> StringEncoding::OneToAnother(const char* input, std::size_t length,
                                               const char* fromEncoding, const char* toEncoding) {
    if (length > ConversionLimit) {
        ThrowConversionError(fromEncoding, toEncoding, "Input string too long.", 0);
    }
    iconv_t converter = OpenConverter(fromEncoding, toEncoding);
    std::unique_ptr<void, ConverterCloser> closer(converter);

    std::array<char, ConversionLimit> output{};
    char* in = const_cast<char*>(input);  // iconv's interface is not const-correct
    std::size_t inLeft = length;
    char* out = output.data();
    std::size_t outLeft = output.size();
    // The last call with a null input flushes a stateful target's closing sequence.
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) ||
        iconv(converter, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        ThrowConversionError(fromEncoding, toEncoding, "Error in converting characters", errno);
    }
    return std::vector<char>(output.data(), out);
}

void StringEncoding::Utf8ToLatin2(std::string& text) {
    text = ConvertBytes(text.data(), text.size(), Utf8Name, Latin2Name);
}

void StringEncoding::Latin2ToUtf8(std::string& text) {
    text = ConvertBytes(text.data(), text.size(), Latin2Name, Utf8Name);
}

std::string StringEncoding::WideToUtf8(const std::u16string& text) {
    return ConvertBytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t),
                        WideName, Utf8Name);
}

std::string StringEncoding::ToUtf8(const std::string& text, const char* fromEncoding) {
    iconv_t converter = OpenConverter(fromEncoding, Utf8Name);
    std::unique_ptr<void, ConverterCloser> closer(converter);
    std::string converted;
    char* in = const_cast<char*>(text.data());  // iconv's interface is not const-correct
    std::size_t inLeft = text.size();
    std::array<char, 4096> output{};
    while (inLeft > 0) {
        char* out = output.data();
        std::size_t outLeft = output.size();
        const bool failed =
            iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1);
        const int error = errno;
        converted.append(output.data(), out);
        if (failed && error != E2BIG) {
            ThrowConversionError(fromEncoding, Utf8Name, "Error in converting characters", error);
        }
    }
    return converted;
}

std::string StringEncoding::RemoveDiacritics(const std::string& text) {
    return SharedRemover().Apply(text);
}

void StringEncoding::RemoveDiacriticsInPlace(std::string& text) {
    text = RemoveDiacritics(text);
}

std::string StringEncoding::MakeSearchKey(const std::string& text) {
    std::string key = RemoveDiacritics(text);
    ToLowerText(key);
    return key;
}

}  // namespace Kramo
