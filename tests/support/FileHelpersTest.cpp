#include "support/FileHelpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <thread>
#include <vector>

#include "common/LogCapture.h"
#include "common/TemporaryDirectory.h"

namespace {

using KramoTest::LogCapture;
using KramoTest::TemporaryDirectory;
using testing::ElementsAre;
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

// Opening a named pipe waits for a writer, a device may never end: only regular files are
// opened, at once.
TEST(OpenRegularFile, OpensOnlyRegularFilesAndNeverWaits) {
    TemporaryDirectory directory;
    directory.WriteFile("regular", "content");
    ASSERT_EQ(::mkfifo(directory.File("pipe").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("/dev/zero", directory.File("device").c_str()), 0);
    ASSERT_EQ(::symlink("regular", directory.File("link").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", directory.File("dangling").c_str()), 0);
    ASSERT_EQ(::mkdir(directory.File("folder").c_str(), 0755), 0);
    const struct {
        const char* name;
        bool opens;
        int error;
    } cases[] = {{"regular", true, 0},      {"link", true, 0},           {"pipe", false, EINVAL},
                 {"device", false, EINVAL}, {"dangling", false, ENOENT}, {"folder", false, EISDIR}};
    for (const auto& c : cases) {
        errno = 0;
        const Kramo::FileHandle file = Kramo::OpenRegularFile(directory.File(c.name));
        EXPECT_EQ(file != nullptr, c.opens) << c.name;
        if (!c.opens) {
            EXPECT_EQ(errno, c.error) << c.name;
        }
    }
    EXPECT_FALSE(Kramo::CopyFileContents(directory.File("pipe"), directory.File("copy")));
}

TEST(ReplaceFileContents, WritesThroughAFileOfItsOwnAndLeavesNothingBeside) {
    TemporaryDirectory directory;
    directory.WriteFile("outside", "untouched");
    ASSERT_EQ(::mkdir(directory.File("data").c_str(), 0755), 0);
    const std::string data = directory.File("data/");
    // A link under the temporary name is no way out of the folder.
    ASSERT_EQ(::symlink("../outside", (data + "seller.tmp").c_str()), 0);
    EXPECT_EQ(Kramo::ReplaceFileContents(data + "seller.txt", data + "seller.tmp", "new"),
              Kramo::Replacement::Done);
    EXPECT_EQ(directory.ReadFile("data/seller.txt"), "new");
    EXPECT_EQ(directory.ReadFile("outside"), "untouched");
    // A name near the file system's limit still gets a temporary name that fits.
    const std::string longName(250, 'n');
    EXPECT_EQ(Kramo::ReplaceFileContents(data + longName, data + longName + ".part", "long"),
              Kramo::Replacement::Done);
    EXPECT_THAT(KramoTest::EntriesOf(data), ElementsAre(longName, "seller.tmp", "seller.txt"));
    // A folder in the way of the renaming: the failure leaves nothing behind either.
    ASSERT_EQ(::mkdir((data + "taken").c_str(), 0755), 0);
    EXPECT_EQ(Kramo::ReplaceFileContents(data + "taken", data + "taken.tmp", "x"),
              Kramo::Replacement::NotWritten);
    EXPECT_THAT(KramoTest::EntriesOf(data),
                ElementsAre(longName, "seller.tmp", "seller.txt", "taken"));
}

// Two writers of one file (two programs, or a program and its second window) each get their
// own temporary file: the file always holds one whole version.
TEST(ReplaceFileContents, TwoWritersNeverTearTheFile) {
    TemporaryDirectory directory;
    const std::string path = directory.File("seller.txt");
    const std::string versions[] = {std::string(100000, 'a'), std::string(70000, 'b')};
    directory.WriteFile("seller.txt", versions[0]);
    std::atomic<int> writing{2};
    std::atomic<int> failed{0};
    const auto writer = [&](const std::string& content) {
        for (int i = 0; i < 200; ++i) {
            failed += Kramo::ReplaceFileContents(path, path + ".tmp", content) !=
                      Kramo::Replacement::Done;
        }
        --writing;
    };
    std::thread first(writer, versions[0]);
    std::thread second(writer, versions[1]);
    int torn = 0;
    while (writing > 0) {
        const std::string content = KramoTest::ReadWholeFile(path);
        torn += content != versions[0] && content != versions[1];
    }
    first.join();
    second.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(KramoTest::EntriesOf(directory.Path()), std::vector<std::string>{"seller.txt"});
}

}  // namespace
