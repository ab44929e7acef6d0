#include "support/FileFinder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/TemporaryDirectory.h"

namespace {

using Kramo::FileFinder;
using KramoTest::TemporaryDirectory;
using testing::ElementsAre;
using testing::IsEmpty;

std::vector<std::string> AllMatches(FileFinder& finder, const std::string& pattern) {
    std::vector<std::string> names;
    for (bool found = finder.FindFirst(pattern); found; found = finder.FindNext()) {
        names.push_back(finder.FoundName());
    }
    return names;
}

TEST(FileFinder, WildcardsMatchWithoutRegardToCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.txt", "1-Red-RS.txt", true},
        {"*.txt", "NOTES.TXT", true},
        {"*.txt", "a.txt.bak", false},
        {"*.txt", "a.txt~", false},
        {"12-*.txt", "12-x.txt", true},
        {"12-*.txt", "112-x.txt", false},
        {"?-*.txt", "5-a.txt", true},
        {"?-*.txt", "15-a.txt", false},
        {"*", "", true},
        {"a*b*c", "axxbyyc", true},
        {"a*b*c", "axxbyy", false},
        {"[ab].txt", "[ab].txt", true},
        {"[ab].txt", "a.txt", false},
        {"**", "anything", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileFinder::WildcardMatches(c.pattern, c.name), c.matches)
            << c.pattern << " ~ " << c.name;
    }
}

TEST(FileFinder, VisitsMatchesInNameOrder) {
    TemporaryDirectory directory;
    for (const char* name : {"2-b.txt", "1-a.TXT", "notes.doc", "3-c.txt.tmp"}) {
        directory.WriteFile(name, "");
    }
    FileFinder finder;
    EXPECT_THAT(AllMatches(finder, directory.File("*.txt")), ElementsAre("1-a.TXT", "2-b.txt"));
    EXPECT_FALSE(finder.FindNext());
}

TEST(FileFinder, TrailingSeparatorSearchesEverything) {
    TemporaryDirectory directory;
    directory.WriteFile("a.xls", "");
    mkdir(directory.File("finished").c_str(), 0777);
    FileFinder finder;
    EXPECT_THAT(AllMatches(finder, directory.Path() + "/"), ElementsAre("a.xls", "finished"));
    ASSERT_TRUE(finder.FindFirst(directory.File("fin*")));
    EXPECT_TRUE(finder.FoundIsDirectory());
}

TEST(FileFinder, NoMatchOrNoDirectory) {
    TemporaryDirectory directory;
    FileFinder finder;
    EXPECT_THAT(AllMatches(finder, directory.File("*.txt")), IsEmpty());
    EXPECT_FALSE(finder.FindFirst(directory.File("missing/*.txt")));
    EXPECT_FALSE(finder.FindNext());
}

TEST(FileFinder, NewSearchClosesTheFormerOne) {
    TemporaryDirectory directory;
    directory.WriteFile("a.txt", "");
    directory.WriteFile("b.txt", "");
    directory.WriteFile("c.xls", "");
    FileFinder finder;
    ASSERT_TRUE(finder.FindFirst(directory.File("*.txt")));
    ASSERT_TRUE(finder.FindFirst(directory.File("*.xls")));
    EXPECT_EQ(finder.FoundName(), "c.xls");
    EXPECT_FALSE(finder.FindNext());
}

TEST(FileFinder, SharedFinderLivesWhileHeld) {
    std::shared_ptr<FileFinder> first = FileFinder::Acquire();
    std::shared_ptr<FileFinder> second = FileFinder::Acquire();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.use_count(), 2);
    std::weak_ptr<FileFinder> watch = first;
    first.reset();
    second.reset();
    EXPECT_TRUE(watch.expired());
}

}  // namespace
