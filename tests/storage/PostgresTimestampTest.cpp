#include "storage/PostgresTimestamp.h"

#include <gtest/gtest.h>

namespace {

using Kramo::Timestamp;

Timestamp Read(int year, int month, int day, int hour, int minute, int second) {
    return Timestamp{year, month, day, hour, minute, second, 0, -1, -1};
}

TEST(PostgresTimestamp, DatabaseTextsAreReadByTheirLeadingDigits) {
    struct Case {
        const char* text;
        bool read;
        Timestamp time;
    };
    const Case cases[] = {
        {"2026-12-08 03:10:08", true, Read(2026, 12, 8, 3, 10, 8)},
        {"2026-12-08 03:10:08.750", true, Read(2026, 12, 8, 3, 10, 8)},
        {"2026-12-08 03:10:08+01", true, Read(2026, 12, 8, 3, 10, 8)},
        {"2026-12-08", false, Timestamp{}},
        {"2026-12-08T03:10:08", false, Timestamp{}},
        {"2026-12 03:10:08", false, Timestamp{}},
        {"2026-12-08 03:10", false, Timestamp{}},
        {"2026-12-08 03:10:08 x", false, Timestamp{}},
        {"", false, Timestamp{}},
    };
    for (const Case& test : cases) {
        Timestamp time;
        EXPECT_EQ(Kramo::ParsePostgresTimestamp(test.text, time), test.read) << test.text;
        EXPECT_EQ(time, test.time) << test.text;
    }
}

TEST(PostgresTimestamp, OnlyRealCalendarTimesAreStorable) {
    struct Case {
        Timestamp time;
        bool storable;
    };
    const Case cases[] = {
        {Read(2026, 12, 8, 3, 10, 8), true},  {Read(2024, 2, 29, 23, 59, 59), true},
        {Read(1900, 1, 1, 0, 0, 0), true},    {Timestamp{}, false},
        {Read(1899, 12, 31, 0, 0, 0), false}, {Read(2026, 0, 1, 0, 0, 0), false},
        {Read(2026, 13, 1, 0, 0, 0), false},  {Read(2026, 2, 29, 0, 0, 0), false},
        {Read(2026, 4, 31, 0, 0, 0), false},  {Read(2026, 1, 1, 24, 0, 0), false},
        {Read(2026, 1, 1, 0, 60, 0), false},  {Read(2026, 1, 1, 0, 0, -1), false},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(Kramo::IsStorableTimestamp(test.time), test.storable)
            << Kramo::FormatPostgresTimestamp(test.time);
    }
    EXPECT_EQ(Kramo::FormatPostgresTimestamp(Read(987, 1, 2, 3, 4, 5)), "0987-01-02 03:04:05");
}

}  // namespace
