#include "register/DocumentNames.h"

#include <gtest/gtest.h>

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

}  // namespace
