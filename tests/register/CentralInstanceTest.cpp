#include "register/CentralInstance.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/LogCapture.h"
#include "common/ScriptedUserMessages.h"

namespace {

using Kramo::CentralInstance;
using testing::HasSubstr;

// The instance is one per process and never made again: each test runs in a process of its
// own, so every test may use it once.
TEST(CentralInstance, ApplyingTwiceLeavesExactlyTheSecondStore) {
    CentralInstance& central = CentralInstance::Instance();
    central.Settings().SetDatabaseInLocalFiles(true);
    central.ApplySettings();
    const Kramo::DataAccessInterface* first = &central.Register().Store();
    central.ApplySettings();
    EXPECT_TRUE(central.Register().HasStore());
    EXPECT_NE(&central.Register().Store(), first);
    EXPECT_EQ(central.UserInterface(), nullptr);
    CentralInstance::Remove();
    EXPECT_THROW(CentralInstance::Instance(), std::logic_error);
}

TEST(CentralInstance, StoreThatCannotOpenIsLoggedShownAndThrown) {
    KramoTest::LogCapture log;
    KramoTest::ScriptedUserMessages boxes;
    CentralInstance& central = CentralInstance::Instance();
    central.Settings().SetDatabaseInLocalFiles(false);
    try {
        central.ApplySettings();
        FAIL() << "no failure";
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "Error initializing data connection");
    }
    EXPECT_FALSE(central.Register().HasStore());
    EXPECT_THAT(log.Text(), HasSubstr("Error initializing data connection"));
    ASSERT_EQ(boxes.ShownOfKind("error").size(), 1u);
    EXPECT_EQ(boxes.ShownOfKind("error")[0].text, "Error initing dialog.");
    EXPECT_EQ(boxes.ShownOfKind("error")[0].detail, "Error initializing data connection");
    CentralInstance::Remove();
}

// Keeps what the start-up asks of the windows.
class RecordingWindows : public Kramo::UserInterfaceBase {
  public:
    explicit RecordingWindows(std::vector<int>& fontSizes) : fontSizes_(fontSizes) {}
    bool SetupDialogs() override { return true; }
    void LoadSellers() override {}
    void Run() override {}
    void InstallFontStyle(int size) override { fontSizes_.push_back(size); }

  private:
    std::vector<int>& fontSizes_;
};

TEST(CentralInstance, FontSizeOtherThanTheDefaultInstallsTheStyle) {
    std::vector<int> fontSizes;
    CentralInstance::SetUserInterfaceFactory(
        [&fontSizes](CentralInstance&) { return std::make_unique<RecordingWindows>(fontSizes); });
    CentralInstance& central = CentralInstance::Instance();
    ASSERT_NE(central.UserInterface(), nullptr);
    central.Settings().SetDatabaseInLocalFiles(true);
    central.Settings().SetFontSize(-1);
    central.ApplySettings();
    EXPECT_TRUE(fontSizes.empty());
    central.Settings().SetFontSize(12);
    central.ApplySettings();
    EXPECT_EQ(fontSizes, std::vector<int>{12});
    CentralInstance::Remove();
    CentralInstance::SetUserInterfaceFactory(nullptr);
}

}  // namespace
