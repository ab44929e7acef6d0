#include "register/DocumentNames.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

TEST(TimeStampedFileName, YearModulo100AndTwoDigitFields) {
    Kramo::Timestamp time;
    time.Year = 2012;
    time.Month = 4;
    time.Day = 21;
    time.Hour = 18;
    time.Minute = 5;
    EXPECT_EQ(Kramo::TimeStampedFileName("Statistika", "pdf", time),
              "Statistika_12-04-21_18-05.pdf");
    time.Year = 2000;
    time.Hour = 0;
    EXPECT_EQ(Kramo::TimeStampedFileName("PrehladPredajcov", "pdf", time),
              "PrehladPredajcov_00-04-21_00-05.pdf");
}

// Separators never lead out of the folder; a long code is cut at a character, leaving room for
// a number.
TEST(StatementFileName, CodeIsAFileNamePartCutToFit) {
    Kramo::Timestamp time;
    time.Year = 2026;
    time.Month = 4;
    time.Day = 21;
    time.Hour = 18;
    time.Minute = 5;
    EXPECT_EQ(Kramo::StatementFileName("A/B\\C", time), "PoPredaji_A_B_C_26-04-21_18-05.pdf");
    std::string longCode = "a";
    for (int i = 0; i < 150; ++i) {
        longCode += "Ž";
    }
    const std::string name = Kramo::StatementFileName(longCode, time);
    EXPECT_LE(name.size() + 6, Kramo::LongestDocumentName);
    EXPECT_GT(name.size() + 8, Kramo::LongestDocumentName);
    EXPECT_TRUE(std::regex_match(name, std::regex("PoPredaji_a(Ž)+_26-04-21_18-05\\.pdf"))) << name;
}

}  // namespace
