#include "storage/SellerFileNames.h"

#include <gtest/gtest.h>

#include "support/FileFinder.h"

namespace {

using Kramo::SellerFileName;

TEST(SellerFileNames, NameAndCodeCannotLeaveTheDirectory) {
    struct Case {
        const char* code;
        const char* name;
        const char* fileName;
    };
    const Case cases[] = {
        {"AB", "Some Name", "12-AB-Some Name.txt"},
        {"AB", "../../etc/passwd", "12-AB-.._.._etc_passwd.txt"},
        {"../", "x", "12-.._-x.txt"},
        {"A\\B", "C:\\x", "12-A_B-C__x.txt"},
        {"AB", "line\nbreak\ttab\x7F", "12-AB-line_break_tab_.txt"},
        {"A*B", "what? \"<this>\" | that", "12-A_B-what_ __this__ _ that.txt"},
        {"", "", "12--.txt"},
        {"ŽČ", "Ľudmila Šťastná", "12-ŽČ-Ľudmila Šťastná.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SellerFileName(12, c.code, c.name), c.fileName) << c.name;
    }
}

TEST(SellerFileNames, LongNameIsCutAtACharacterBoundary) {
    std::string name;
    for (int i = 0; i < 100; ++i) {
        name += "č";  // two bytes each
    }
    const std::string fileName = SellerFileName(3, "X", " " + name);
    EXPECT_LT(fileName.size(), 255u);
    // 1 blank + 49 whole characters fit in 100 bytes; the 50th would be cut in half.
    EXPECT_EQ(fileName, "3-X- " + name.substr(0, 98) + ".txt");
}

TEST(SellerFileNames, TemporaryFileIsNeverLoadedAsASeller) {
    EXPECT_FALSE(Kramo::FileFinder::WildcardMatches("*.txt", Kramo::SellerTemporaryFileName(12)));
}

}  // namespace
