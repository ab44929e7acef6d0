#include "support/TextHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>

#include "common/LocaleScope.h"
#include "common/LogCapture.h"

namespace {

using testing::ElementsAre;
using testing::EndsWith;
using testing::IsEmpty;

TEST(ParseNumber, AcceptsPointCommaAndTrailingText) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"12,5", 12.5},   {"12.5", 12.5}, {"3kg", 3.0},
                          {"-0,25", -0.25}, {" 7", 7.0},    {"1e3", 1000.0}};
    for (const Case& c : cases) {
        double value = 0.0;
        EXPECT_TRUE(Kramo::ParseNumber(c.text, value)) << c.text;
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
}

TEST(ParseNumber, RejectsTextWithoutNumberAndLogsIt) {
    KramoTest::LogCapture log;
    double value = 42.0;
    EXPECT_FALSE(Kramo::ParseNumber("abc", value));
    EXPECT_DOUBLE_EQ(value, 42.0);
    EXPECT_THAT(log.Text(), EndsWith("Could not convert text abc to number."));
    EXPECT_FALSE(Kramo::ParseNumber("", value));
}

TEST(ParseNumber, ReadsThePointUnderADecimalCommaLocale) {
    // The toolkit switches the numeric locale to the user's one, Slovak uses a comma.
    KramoTest::LocaleScope slovak(LC_NUMERIC, KramoTest::LocaleScope::Slovak);
    double value = 0.0;
    EXPECT_TRUE(Kramo::ParseNumber("12.5", value));
    EXPECT_DOUBLE_EQ(value, 12.5);
    EXPECT_TRUE(Kramo::ParseNumber("0,75", value));
    EXPECT_DOUBLE_EQ(value, 0.75);
}

TEST(IsNumberText, PlainDecimalNumbersOnly) {
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {{"-12.5", true}, {"12", true},  {"1.2.3", false}, {"12a", false},
                          {"", false},     {"-", true},   {".", true},      {"--1", false},
                          {"1,5", false},  {" 1", false}, {"0.", true}};
    for (const Case& c : cases) {
        EXPECT_EQ(Kramo::IsNumberText(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(DecimalCommaToPoint, CountsReplacements) {
    std::string text = "1,5;2,25,";
    EXPECT_EQ(Kramo::DecimalCommaToPoint(text), 3);
    EXPECT_EQ(text, "1.5;2.25.");
    std::string none = "abc";
    EXPECT_EQ(Kramo::DecimalCommaToPoint(none), 0);
}

TEST(SplitText, SkipsEmptyTokens) {
    EXPECT_THAT(Kramo::SplitText("  Red   Shop ", " "), ElementsAre("Red", "Shop"));
    EXPECT_THAT(Kramo::SplitText("a;b,,c", ";,"), ElementsAre("a", "b", "c"));
    EXPECT_THAT(Kramo::SplitText("", " "), IsEmpty());
    EXPECT_THAT(Kramo::SplitText("   ", " "), IsEmpty());
    EXPECT_THAT(Kramo::SplitText("word", ""), ElementsAre("word"));
}

TEST(CharacterCount, CountsCharactersNotBytes) {
    EXPECT_EQ(Kramo::CharacterCount(""), 0u);
    EXPECT_EQ(Kramo::CharacterCount("ab"), 2u);
    EXPECT_EQ(Kramo::CharacterCount("Č"), 1u);
    EXPECT_EQ(Kramo::CharacterCount("ďž€"), 3u);
}

TEST(LetterCase, ChangesAsciiLettersOnly) {
    std::string text = "Čierna bunda 12x";
    Kramo::ToUpperText(text);
    EXPECT_EQ(text, "ČIERNA BUNDA 12X");
    Kramo::ToLowerText(text);
    EXPECT_EQ(text, "Čierna bunda 12x");
    EXPECT_TRUE(Kramo::EqualIgnoringCase("ab", "AB"));
    EXPECT_FALSE(Kramo::EqualIgnoringCase("ab", "abc"));
    EXPECT_FALSE(Kramo::EqualIgnoringCase("Č", "č"));  // only ASCII letters fold
}

TEST(CutAtCharacter, NeverSplitsAUtf8Character) {
    EXPECT_EQ(Kramo::CutAtCharacter("abc", 3), "abc");
    EXPECT_EQ(Kramo::CutAtCharacter("abcd", 3), "abc");
    EXPECT_EQ(Kramo::CutAtCharacter("abč", 3), "ab");  // č is two bytes
    EXPECT_EQ(Kramo::CutAtCharacter("abč", 4), "abč");
    EXPECT_EQ(Kramo::CutAtCharacter("a€x", 3), "a");                // € is three bytes
    EXPECT_EQ(Kramo::CutAtCharacter("a\xF0\x9F\x98\x80", 4), "a");  // four bytes
    EXPECT_EQ(Kramo::CutAtCharacter("č", 0), "");
}

TEST(WellFormedUtf8, ReplacesEveryByteThatStartsNoCharacter) {
    const std::pair<const char*, const char*> cases[] = {
        {"Hračka 😀 €", "Hračka 😀 €"},
        {"a\x80"
         "b",
         "a?b"},                       // a stray continuation byte
        {"a\xC3", "a?"},               // cut at the end
        {"\xC3(", "?("},               // cut by the next character
        {"\xC0\xAF", "??"},            // overlong '/'
        {"\xED\xA0\x80", "???"},       // a surrogate
        {"\xF4\x90\x80\x80", "????"},  // past U+10FFFF
        {"\xFF", "?"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Kramo::WellFormedUtf8(text), expected) << text;
    }
}

}  // namespace
