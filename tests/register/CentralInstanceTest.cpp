#include "register/CentralInstance.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/LogCapture.h"
#include "common/PostgresTestDatabase.h"
#include "common/ScriptedUserMessages.h"

namespace {

using Kramo::CentralInstance;
using testing::HasSubstr;

// The instance is one per process and never made again: each test runs in a process of its
// own, so every test may use it once.
// The two stores are told apart by what they hold, never by their addresses, which the
// allocator may give out twice.
TEST(CentralInstance, ApplyingTwiceLeavesExactlyTheSecondStore) {
    KramoTest::PostgresTestDatabase firstDatabase;
    KramoTest::PostgresTestDatabase secondDatabase;
    CentralInstance& central = CentralInstance::Instance();
    KramoTest::ChooseDatabase(central.Settings(), firstDatabase.Connection());
    central.ApplySettings();
    Kramo::Seller seller;
    seller.SHORT_CODE = "PRV";
    seller.NAME = "Len v prvej";
    seller.SELLER_CATEGORY_ID = central.Register().Store().GetSellerCategories().front().ID;
    central.Register().Store().AddSeller(seller);
    ASSERT_EQ(central.Register().Store().GetSellers().size(), 1u);

    KramoTest::ChooseDatabase(central.Settings(), secondDatabase.Connection());
    central.ApplySettings();
    ASSERT_TRUE(central.Register().HasStore());
    EXPECT_TRUE(central.Register().Store().GetSellers().empty());
    EXPECT_EQ(firstDatabase.Scalar("SELECT count(*) FROM sellers"), "1");
    EXPECT_EQ(central.UserInterface(), nullptr);
    CentralInstance::Remove();
    EXPECT_THROW(CentralInstance::Instance(), std::logic_error);
}

TEST(CentralInstance, DatabaseThatCannotBeReachedIsLoggedShownAndThrown) {
    KramoTest::LogCapture log;
    KramoTest::ScriptedUserMessages boxes;
    CentralInstance& central = CentralInstance::Instance();
    central.Settings().SetDatabaseInLocalFiles(false);
    central.Settings().SetServerAddress("127.0.0.1");
    central.Settings().SetPort(1);  // nobody listens there
    try {
        central.ApplySettings();
        FAIL() << "no failure";
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "DataStorageException");
    }
    EXPECT_FALSE(central.Register().HasStore());
    EXPECT_THAT(log.Text(), HasSubstr("HandlePostgresException: Connection to database failed: "));
    const auto shown = boxes.ShownOfKind("error");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Problem s databazou, prosim skuste opat.");
    EXPECT_EQ(shown[1].text, "Error initing dialog.");
    EXPECT_EQ(shown[1].detail, "DataStorageException");
    CentralInstance::Remove();
}

TEST(CentralInstance, DatabaseChosenInTheSettingsOpensWithItsSaleName) {
    KramoTest::PostgresTestDatabase database;
    CentralInstance& central = CentralInstance::Instance();
    KramoTest::ChooseDatabase(central.Settings(), database.Connection());
    central.ApplySettings();
    ASSERT_TRUE(central.Register().HasStore());
    EXPECT_EQ(central.Settings().SaleName(), "Testovacia kramo");
    EXPECT_EQ(central.Register().Store().GetSellerCategories().size(), 3u);
    CentralInstance::Remove();
}

TEST(CentralInstance, DatabaseOfAnotherVersionIsAnInitialisationError) {
    KramoTest::LogCapture log;
    KramoTest::ScriptedUserMessages boxes;
    KramoTest::PostgresTestDatabase database;
    database.Execute("UPDATE info SET \"VERSION\" = 2");
    CentralInstance& central = CentralInstance::Instance();
    KramoTest::ChooseDatabase(central.Settings(), database.Connection());
    EXPECT_THROW(central.ApplySettings(), std::runtime_error);
    EXPECT_FALSE(central.Register().HasStore());
    ASSERT_EQ(boxes.ShownOfKind("error").size(), 1u);
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
