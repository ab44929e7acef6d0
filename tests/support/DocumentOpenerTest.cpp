#include "support/DocumentOpener.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "common/LogCapture.h"
#include "common/TemporaryDirectory.h"
#include "support/DesktopOpener.h"

namespace {

using KramoTest::TemporaryDirectory;
using testing::HasSubstr;

// Waits for a file that a detached program writes.
bool WaitForFile(const std::string& path) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (std::filesystem::exists(path)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let it finish writing
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(DesktopOpener, HandsThePathOverAsOneArgumentThatNoShellReads) {
    TemporaryDirectory directory;
    // A stand-in for the desktop's opener: it writes down the argument it was given.
    const std::string opener = directory.File("opener");
    directory.WriteFile("opener", "#!/bin/sh\nprintf '%s' \"$1\" > '" + directory.File("got") +
                                      ".tmp' && mv '" + directory.File("got") + ".tmp' '" +
                                      directory.File("got") + "'\n");
    ASSERT_EQ(::chmod(opener.c_str(), 0755), 0);

    const std::string path = directory.Path() + "/PoPredaji_$(touch " + directory.File("ran") +
                             ");touch " + directory.File("ran2") + "_26-12-08_10-35.pdf";
    Kramo::DesktopOpener(opener).Open(path);

    ASSERT_TRUE(WaitForFile(directory.File("got")));
    EXPECT_EQ(directory.ReadFile("got"), path);
    EXPECT_FALSE(std::filesystem::exists(directory.File("ran")));
    EXPECT_FALSE(std::filesystem::exists(directory.File("ran2")));
}

TEST(DesktopOpener, OpenerThatCannotStartIsReported) {
    KramoTest::LogCapture log;
    try {
        Kramo::DesktopOpener("/nonexistent/opener").Open("/tmp/a.pdf");
        FAIL();
    } catch (const std::runtime_error& failure) {
        EXPECT_THAT(failure.what(), HasSubstr("Cannot start /nonexistent/opener: "));
    }
    EXPECT_THAT(log.Text(), HasSubstr("could not be started for '/tmp/a.pdf'"));
}

TEST(DocumentOpenerScope, InstallsAnOpenerForItsLifetime) {
    class Recording : public Kramo::DocumentOpener {
      public:
        void Open(const std::string& path) override { paths.push_back(path); }
        std::vector<std::string> paths;
    };
    Recording outer;
    Recording inner;
    Kramo::DocumentOpenerScope outerScope(outer);
    {
        Kramo::DocumentOpenerScope innerScope(inner);
        Kramo::OpenDocument("a.pdf");
    }
    Kramo::OpenDocument("b.pdf");
    EXPECT_THAT(inner.paths, testing::ElementsAre("a.pdf"));
    EXPECT_THAT(outer.paths, testing::ElementsAre("b.pdf"));
}

}  // namespace
