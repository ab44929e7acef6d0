#include "support/CConvFile.h"

#include <gtest/gtest.h>

#include "common/TemporaryDirectory.h"

namespace {

using ConvFile::CConvFile;
using KramoTest::TemporaryDirectory;

TEST(CConvFile, WritesAndReadsLines) {
    TemporaryDirectory directory;
    const std::string path = directory.File("seller.txt");
    {
        CConvFile file;
        ASSERT_TRUE(file.Open(path, CConvFile::ForWriting));
        EXPECT_EQ(file.Write("first line\n"), 11u);
        EXPECT_EQ(file.WriteFormatted("%i|%s|%0.1f\n", 7, "Čiapka", 2.5), 14u);
        EXPECT_EQ(file.Position(), 25);
        EXPECT_EQ(file.Size(), 25);
        EXPECT_TRUE(file.Close());
    }
    CConvFile file;
    ASSERT_TRUE(file.Open(path, CConvFile::ForReading));
    EXPECT_EQ(file.Size(), 25);
    EXPECT_EQ(file.ReadLine().value_or("none"), "first line\n");
    EXPECT_EQ(file.Position(), 11);
    EXPECT_EQ(file.ReadLine().value_or("none"), "7|Čiapka|2.5\n");
    EXPECT_FALSE(file.ReadLine().has_value());
    EXPECT_EQ(file.LastError(), CConvFile::e_could_not_read);
}

TEST(CConvFile, LongLineComesInPiecesOf511) {
    TemporaryDirectory directory;
    directory.WriteFile("long.txt", std::string(600, 'x') + "\n");
    CConvFile file;
    ASSERT_TRUE(file.Open(directory.File("long.txt"), CConvFile::ForReading));
    EXPECT_EQ(file.ReadLine().value_or("").size(), 511u);
    EXPECT_EQ(file.ReadLine().value_or(""), std::string(89, 'x') + "\n");
}

TEST(CConvFile, RefusesWrongUse) {
    TemporaryDirectory directory;
    CConvFile file;
    EXPECT_FALSE(file.Open(directory.File("a.txt"), 2));
    EXPECT_EQ(file.LastError(), CConvFile::e_bad_parameter3);
    EXPECT_FALSE(file.Open(directory.File("missing.txt"), CConvFile::ForReading));
    EXPECT_EQ(file.LastError(), CConvFile::e_no_file);
    EXPECT_FALSE(file.ReadLine().has_value());
    EXPECT_EQ(file.LastError(), CConvFile::e_not_opened);
    EXPECT_EQ(file.Write("x"), 0u);
    EXPECT_EQ(file.LastError(), CConvFile::e_not_opened);
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(file.LastError(), CConvFile::e_not_opened);

    directory.WriteFile("r.txt", "content\n");
    ASSERT_TRUE(file.Open(directory.File("r.txt"), CConvFile::ForReading));
    EXPECT_FALSE(file.Open(directory.File("r.txt"), CConvFile::ForReading));  // already open
    EXPECT_EQ(file.Write("x"), 0u);
    EXPECT_EQ(file.LastError(), CConvFile::e_not_opened_for_writing);
    EXPECT_EQ(directory.ReadFile("r.txt"), "content\n");
}

TEST(CConvFile, FormattedWriteOver8191CharactersWritesNothing) {
    TemporaryDirectory directory;
    CConvFile file;
    ASSERT_TRUE(file.Open(directory.File("f.txt"), CConvFile::ForWriting));
    EXPECT_EQ(file.WriteFormatted("%s", std::string(8192, 'a').c_str()), 0u);
    EXPECT_EQ(file.LastError(), CConvFile::e_no_memory);
    EXPECT_EQ(file.WriteFormatted("%s", ""), 0u);
    EXPECT_EQ(file.LastError(), CConvFile::e_no_error);
    EXPECT_EQ(file.WriteFormatted("%s", std::string(8191, 'b').c_str()), 8191u);
    file.Close();
    EXPECT_EQ(directory.ReadFile("f.txt"), std::string(8191, 'b'));
}

TEST(CConvFile, FullDiskIsReported) {
    CConvFile file;
    ASSERT_TRUE(file.Open("/dev/full", CConvFile::ForWriting));
    file.Write(std::string(100, 'x'));  // buffered: the failure shows on flush or close
    EXPECT_FALSE(file.Flush());
    EXPECT_EQ(file.LastError(), CConvFile::e_media_error);
    EXPECT_FALSE(file.Close());
    EXPECT_FALSE(file.IsOpen());
}

TEST(CConvFile, ErrorCodesHaveNames) {
    EXPECT_STREQ(CConvFile::ErrorCodeNames[CConvFile::e_no_error], "e_no_error");
    EXPECT_STREQ(CConvFile::ErrorCodeNames[CConvFile::e_bad_parameter3], "e_bad_parameter3");
    EXPECT_STREQ(CConvFile::ErrorCodeNames[CConvFile::e_media_error], "e_media_error");
    EXPECT_EQ(CConvFile::e_media_error, 13);
}

}  // namespace
