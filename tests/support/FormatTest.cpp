#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "support/FormatStream.h"
#include "support/FormatText.h"

namespace {

using Kramo::FormatStream;

template <typename... Arguments>
std::string Printf(const char* format, Arguments... arguments) {
    const int length = std::snprintf(nullptr, 0, format, arguments...);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, arguments...);
    return buffer.data();
}

TEST(FormatText, CutsAt511Characters) {
    const std::string text = Kramo::FormatText("%s!", std::string(600, 'a').c_str());
    EXPECT_EQ(text, std::string(511, 'a'));
}

TEST(FormatText, BufferVariantReusesTheSharedBuffer) {
    const char* first = Kramo::FormatTextBuffer("%i", 1);
    const char* second = Kramo::FormatTextBuffer("%i", 2);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(second, "2");
}

// Each case formats the same arguments through printf and through the stream.
TEST(FormatStream, EqualsPrintf) {
    EXPECT_EQ((FormatStream("%5.2f|%-8s|%03d") << 3.14159 << "ab" << 7).str(),
              Printf("%5.2f|%-8s|%03d", 3.14159, "ab", 7));
    EXPECT_EQ((FormatStream("%x %X %o %u") << -1 << 255 << 8 << 42u).str(),
              Printf("%x %X %o %u", -1, 255, 8, 42u));
    EXPECT_EQ((FormatStream("%+d %+d % d") << 5 << -5 << 5).str(), Printf("%+d %+d % d", 5, -5, 5));
    EXPECT_EQ((FormatStream("%10.3e|%g|%G") << 12345.678 << 0.0001 << 1e20).str(),
              Printf("%10.3e|%g|%G", 12345.678, 0.0001, 1e20));
    EXPECT_EQ((FormatStream("%c%c %5s|%.2s") << 'o' << 'k' << "abc"
                                             << "xyz")
                  .str(),
              Printf("%c%c %5s|%.2s", 'o', 'k', "abc", "xyz"));
    EXPECT_EQ((FormatStream("%ld %lld %hhd") << LONG_MAX << LLONG_MIN << 3).str(),
              Printf("%ld %lld %hhd", LONG_MAX, LLONG_MIN, 3));
    EXPECT_EQ((FormatStream("100%% of %i%%") << 7).str(), Printf("100%% of %i%%", 7));
    EXPECT_EQ((FormatStream("%#x %#o") << 255 << 8).str(), Printf("%#x %#o", 255, 8));
}

TEST(FormatStream, FormatsTextOfAnyLength) {
    const std::string longText(10000, 'z');
    EXPECT_EQ((FormatStream("<%s>") << longText).str(), "<" + longText + ">");
    // A NUL byte does not end the text, as it would end printf's copy.
    const std::string withNul("a\0b", 3);
    EXPECT_EQ((FormatStream("<%s>") << withNul).str(), "<" + withNul + ">");
}

TEST(FormatStream, ConversionWithoutArgumentStaysAsWritten) {
    EXPECT_EQ((FormatStream("a=%s b=%s") << "1").str(), "a=1 b=%s");
    EXPECT_EQ(FormatStream("no arguments 50%%").str(), "no arguments 50%");
}

TEST(FormatStream, UnknownConversionIsLiteralText) {
    EXPECT_EQ((FormatStream("%y %i") << 4).str(), "%y 4");
}

TEST(FormatStream, ConvertsBetweenNumberKinds) {
    EXPECT_EQ((FormatStream("%0.1f") << 5).str(), "5.0");
    EXPECT_EQ((FormatStream("%i") << 2.9).str(), "2.9");
    EXPECT_EQ((FormatStream("%s/%s") << 12 << 'c').str(), "12/c");
}

}  // namespace
