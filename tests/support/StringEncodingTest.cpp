#include "support/StringEncoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "support/DiacriticRemover.h"

namespace {

using Kramo::StringEncoding;
using testing::EndsWith;
using testing::HasSubstr;
using testing::MatchesRegex;

std::string FailureOf(void (*conversion)(std::string&), std::string text) {
    try {
        conversion(text);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no failure";
}

TEST(StringEncoding, SlovakLettersRoundTripThroughLatin2) {
    std::string text = "Čierna ďžšťľ Ôň áé";
    StringEncoding::Utf8ToLatin2(text);
    EXPECT_EQ(text, "\xC8ierna \xEF\xBE\xB9\xBB\xB5 \xD4\xF2 \xE1\xE9");
    StringEncoding::Latin2ToUtf8(text);
    EXPECT_EQ(text, "Čierna ďžšťľ Ôň áé");
}

TEST(StringEncoding, EmptyTextConvertsToEmptyText) {
    std::string text;
    StringEncoding::Utf8ToLatin2(text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(StringEncoding::WideToUtf8(u""), "");
}

TEST(StringEncoding, TooLongInputFailsWithoutErrorNumber) {
    EXPECT_EQ(FailureOf(StringEncoding::Utf8ToLatin2, std::string(1025, 'a')),
              "StringEncoding::OneToAnother(UTF-8 => ISO_8859-2): Input string too long.");
    std::string limit(1024, 'a');
    StringEncoding::Utf8ToLatin2(limit);
    EXPECT_EQ(limit.size(), 1024u);
}

TEST(StringEncoding, CharacterMissingInLatin2FailsWithErrorNumber) {
    EXPECT_THAT(FailureOf(StringEncoding::Utf8ToLatin2, "Cena 5 €"),
                MatchesRegex("StringEncoding::OneToAnother\\(UTF-8 => ISO_8859-2\\): "
                             "Error in converting characters\\(errno:[0-9]+\\)"));
}

TEST(StringEncoding, OutputOver1024BytesFails) {
    // 600 Latin-2 letters with caron need 1200 bytes of UTF-8.
    EXPECT_THAT(FailureOf(StringEncoding::Latin2ToUtf8, std::string(600, '\xE8')),
                HasSubstr("Error in converting characters(errno:"));
}

TEST(StringEncoding, UnknownEncodingIsNotSupported) {
    try {
        StringEncoding::OneToAnother("a", 1, "UTF-8", "NO-SUCH-ENCODING");
        FAIL() << "no failure";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(),
                     "StringEncoding::OneToAnother(UTF-8 => NO-SUCH-ENCODING): Cannot open "
                     "converter - conversion from to is not supported by the implementation.");
    }
}

TEST(StringEncoding, WideTextUpTo512Characters) {
    EXPECT_EQ(StringEncoding::WideToUtf8(u"Čačky"), "Čačky");
    EXPECT_EQ(StringEncoding::WideToUtf8(std::u16string(512, u'x')), std::string(512, 'x'));
    EXPECT_THROW(StringEncoding::WideToUtf8(std::u16string(513, u'x')), std::runtime_error);
}

TEST(StringEncoding, RemovesDiacritics) {
    EXPECT_EQ(StringEncoding::RemoveDiacritics("Vrátené"), "Vratene");
    EXPECT_EQ(StringEncoding::RemoveDiacritics("Čierna ďžšťľ ÔŇ"), "Cierna dzstl ON");
    EXPECT_EQ(StringEncoding::RemoveDiacritics("plain ASCII 12.50"), "plain ASCII 12.50");
    std::string text = "Kočík";
    StringEncoding::RemoveDiacriticsInPlace(text);
    EXPECT_EQ(text, "Kocik");
}

TEST(StringEncoding, SearchKeyIsUnaccentedLowerCase) {
    EXPECT_EQ(StringEncoding::MakeSearchKey("Čierna Bunda"), "cierna bunda");
    EXPECT_EQ(StringEncoding::MakeSearchKey(""), "");
}

TEST(DiacriticRemover, BrokenRuleFailsCleanly) {
    const Kramo::DiacriticRemover remover("this is [ not a rule");
    EXPECT_FALSE(remover.IsReady());
    try {
        remover.Apply("á");
        FAIL() << "no failure";
    } catch (const std::runtime_error& error) {
        EXPECT_THAT(error.what(), HasSubstr("StringEncoding::RemoveDiacritics"));
    }
}

}  // namespace
