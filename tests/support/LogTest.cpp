#include "support/Log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <regex>

#include "common/LogCapture.h"

namespace {

using Kramo::LogMessage;
using KramoTest::LogCapture;
using testing::HasSubstr;
using testing::Not;

const std::regex EntryPrefix(R"(^\d{1,2}/\d{1,2}/\d{4} \d{2}:\d{2}:\d{2}\.\d{3} )");

TEST(Log, EntryStartsWithTimePrefixAndReplacesPercent) {
    LogCapture log;
    LogMessage(Kramo::LogNotice, "Import %s 100%% done\n", "A");
    const std::string text = log.Text();
    EXPECT_TRUE(std::regex_search(text, EntryPrefix)) << text;
    EXPECT_THAT(text, HasSubstr(" Import A 100/ done\n"));
    EXPECT_THAT(text, Not(HasSubstr("%")));
}

TEST(Log, AddsNoLineBreakOfItsOwn) {
    LogCapture log;
    LogMessage(Kramo::LogNotice, "first ");
    LogMessage(Kramo::LogNotice, "second\n");
    const std::string text = log.Text();
    EXPECT_TRUE(std::regex_search(text, std::regex("first \\d+/\\d+/\\d{4} [0-9:.]+ second\n$")))
        << text;
}

struct LevelCase {
    int level;
    bool info, notice, error, detail;
};

TEST(Log, LevelDecidesWhichKindsAreWritten) {
    const LevelCase cases[] = {
        {0, false, false, false, false}, {1, false, true, true, false},
        {2, false, false, true, false},  {3, true, true, true, true},
        {4, true, true, true, true},     {5, false, false, false, false},
    };
    for (const LevelCase& c : cases) {
        LogCapture log(c.level);
        LogMessage(Kramo::LogInfo, "info\n");
        LogMessage(Kramo::LogNotice, "notice\n");
        LogMessage(Kramo::LogError, "error\n");
        LogMessage(Kramo::LogDetail, "detail\n");
        LogMessage(99, "unknown kind\n");
        const std::string text = log.Text();
        SCOPED_TRACE("level " + std::to_string(c.level) + ":\n" + text);
        EXPECT_EQ(text.find(" info\n") != std::string::npos, c.info);
        EXPECT_EQ(text.find(" notice\n") != std::string::npos, c.notice);
        EXPECT_EQ(text.find(" error\n") != std::string::npos, c.error);
        EXPECT_EQ(text.find(" detail\n") != std::string::npos, c.detail);
        EXPECT_EQ(text.find("unknown kind"), std::string::npos);
    }
}

TEST(Log, LongEntryIsCutTo1023Characters) {
    LogCapture log;
    LogMessage(Kramo::LogError, "%s", std::string(5000, 'x').c_str());
    EXPECT_EQ(log.Text().size(), 1023u);
}

TEST(Log, UnwritableFileDropsTheEntrySilently) {
    LogCapture log;
    Kramo::SetLogFile("/nonexistent-directory/log.txt");
    LogMessage(Kramo::LogError, "lost\n");
    Kramo::SetLogFile(log.Path());
    LogMessage(Kramo::LogError, "kept\n");
    EXPECT_THAT(log.Text(), Not(HasSubstr("lost")));
    EXPECT_THAT(log.Text(), HasSubstr("kept"));
}

TEST(Log, PrefixIsUniversalTimeWhateverTheTimeZone) {
    const char* former = std::getenv("TZ");
    const std::string formerZone = former ? former : "";
    setenv("TZ", "JST-9", 1);  // nine hours ahead of UTC, never the same calendar hour
    tzset();
    const std::time_t before = std::time(nullptr);
    const std::string prefix = Kramo::Log::TimePrefix();
    const std::time_t after = std::time(nullptr);
    former ? setenv("TZ", formerZone.c_str(), 1) : unsetenv("TZ");
    tzset();

    auto expectedHour = [](std::time_t moment) {
        std::tm utc{};
        gmtime_r(&moment, &utc);
        char text[8];
        std::snprintf(text, sizeof text, " %02i:", utc.tm_hour);
        return std::string(text);
    };
    const bool matches = prefix.find(expectedHour(before)) != std::string::npos ||
                         prefix.find(expectedHour(after)) != std::string::npos;
    EXPECT_TRUE(matches) << prefix;
}

}  // namespace
