#include "support/FileHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/LogCapture.h"
#include "common/TemporaryDirectory.h"

namespace {

using KramoTest::LogCapture;
using KramoTest::TemporaryDirectory;
using testing::HasSubstr;

bool IsDirectory(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

TEST(DirectoryOfPath, KeepsTheLastSeparator) {
    EXPECT_EQ(Kramo::DirectoryOfPath("C:\\data\\x.txt"), "C:\\data\\");
    EXPECT_EQ(Kramo::DirectoryOfPath("/home/kramo/data/x.txt"), "/home/kramo/data/");
    EXPECT_EQ(Kramo::DirectoryOfPath("x.txt"), "");
    EXPECT_EQ(Kramo::DirectoryOfPath("/a/b/"), "/a/b/");
    EXPECT_EQ(Kramo::DirectoryOfPath(std::string(600, 'd') + "/x").size(), 511u);
}

TEST(LowerCaseExtension, TextAfterTheLastPointInLowerCase) {
    EXPECT_EQ(Kramo::LowerCaseExtension("/sheets/Anna.XLS"), "xls");
    EXPECT_EQ(Kramo::LowerCaseExtension("archive.tar.GZ"), "gz");
    EXPECT_EQ(Kramo::LowerCaseExtension("noextension"), "");
    EXPECT_EQ(Kramo::LowerCaseExtension("trailing."), "");
}

TEST(CreateDirectoryIfMissing, CreatesOneLevel) {
    TemporaryDirectory directory;
    const std::string path = directory.File("documents");
    EXPECT_TRUE(Kramo::CreateDirectoryIfMissing(path));
    EXPECT_TRUE(IsDirectory(path));
    EXPECT_TRUE(Kramo::CreateDirectoryIfMissing(path));                    // already there
    EXPECT_FALSE(Kramo::CreateDirectoryIfMissing(directory.File("a/b")));  // no parents
}

TEST(CreateDirectoryIfMissing, FileInTheWayFails) {
    TemporaryDirectory directory;
    directory.WriteFile("taken", "x");
    EXPECT_FALSE(Kramo::CreateDirectoryIfMissing(directory.File("taken")));
}

TEST(CreateDirectoryIfMissing, ParentAndNameReportTheRealOutcome) {
    TemporaryDirectory directory;
    EXPECT_TRUE(Kramo::CreateDirectoryIfMissing(directory.Path(), "finished"));
    EXPECT_TRUE(IsDirectory(directory.File("finished")));
    EXPECT_FALSE(Kramo::CreateDirectoryIfMissing(directory.File("missing"), "error"));
}

TEST(CopyFileContents, CopiesBinaryContent) {
    TemporaryDirectory directory;
    const std::string content("a\0b\r\nč\xff", 8);
    directory.WriteFile("source.xls", content);
    EXPECT_TRUE(Kramo::CopyFileContents(directory.File("source.xls"), directory.File("tmp.xls")));
    EXPECT_EQ(directory.ReadFile("tmp.xls"), content);
}

TEST(CopyFileContents, ReportsWhichSideFailed) {
    TemporaryDirectory directory;
    LogCapture log;
    EXPECT_FALSE(Kramo::CopyFileContents(directory.File("none.xls"), directory.File("t.xls")));
    EXPECT_THAT(log.Text(), HasSubstr("File could not be open: '" + directory.File("none.xls")));

    directory.WriteFile("source.xls", "data");
    EXPECT_FALSE(Kramo::CopyFileContents(directory.File("source.xls"), directory.File("no/t.xls")));
    EXPECT_THAT(log.Text(),
                HasSubstr("Output file could not be open: '" + directory.File("no/t.xls") + "'"));
}

TEST(CopyFileContents, FullDiskIsAFailure) {
    TemporaryDirectory directory;
    LogCapture log;
    directory.WriteFile("source.xls", std::string(200000, 'x'));
    EXPECT_FALSE(Kramo::CopyFileContents(directory.File("source.xls"), "/dev/full"));
    EXPECT_THAT(log.Text(), HasSubstr("Output file could not be written: '/dev/full'"));
}

}  // namespace
