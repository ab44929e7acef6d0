#include "register/CentralInstance.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/LogCapture.h"
#include "common/PostgresTestDatabase.h"
#include "common/ScriptedUserMessages.h"
#include "common/TemporaryDirectory.h"
#include "register/SettingsApplication.h"
#include "storage/CachedDataTextfile.h"
#include "support/FolderLock.h"

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

// The text store opened the way the start opens it, on a program folder of the test's own.
class TextStoreStart : public testing::Test {
  protected:
    class IgnoringReporter : public Kramo::ExceptionReporter {
      public:
        void HandleException(const std::exception&) override {}
    };

    TextStoreStart() : settings_(reporter_, program_.Path() + "/") {
        settings_.SetDatabaseInLocalFiles(true);
        ::mkdir(settings_.DataDirectory().c_str(), 0755);
    }

    KramoTest::TemporaryDirectory program_;
    IgnoringReporter reporter_;
    Kramo::KramoSettings settings_;
    Kramo::KramoRegister register_;
    KramoTest::ScriptedUserMessages boxes_;
};

// A second program on the same folder would give new sellers the IDs the first one gives and
// overwrite its files: it is refused. Within one program the folder is shared.
TEST_F(TextStoreStart, SecondProgramOnTheDataFolderIsRefusedWithABoxNamingIt) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t other = ::fork();
    ASSERT_NE(other, -1);
    if (other == 0) {
        const auto lock = Kramo::FolderLock::Acquire(settings_.DataDirectory());
        ::write(ready[1], "1", 1);
        ::pause();
        ::_exit(0);
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    EXPECT_THROW(Kramo::ApplySettings(settings_, register_, nullptr), std::runtime_error);
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_FALSE(register_.HasStore());
    const auto shown = boxes_.ShownOfKind("error");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Údaje sú už otvorené v inom programe Kramo");
    EXPECT_EQ(shown[0].detail, "Priečinok s údajmi „" + settings_.DataDirectory() +
                                   "“ už používa iný spustený program Kramo. Pokračujte v ňom, "
                                   "alebo ho zatvorte a spustite tento program znova.");
    // Once the other program has ended, the folder opens, also twice within one program.
    Kramo::ApplySettings(settings_, register_, nullptr);
    EXPECT_TRUE(register_.HasStore());
    EXPECT_NO_THROW(Kramo::CachedDataTextfile(settings_.DataDirectory()));
}

TEST_F(TextStoreStart, SellerFilesNotLoadedAreNamedInOneBox) {
    const std::string data = settings_.DataDirectory();
    ASSERT_EQ(::mkfifo((data + "1-A-pipe.txt").c_str(), 0644), 0);
    for (int seller = 2; seller <= 13; ++seller) {
        ASSERT_EQ(::symlink("nowhere", (data + std::to_string(seller) + "-B-x.txt").c_str()), 0);
    }
    Kramo::ApplySettings(settings_, register_, nullptr);
    ASSERT_TRUE(register_.HasStore());
    const auto shown = boxes_.ShownOfKind("error");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Niektoré súbory v priečinku s údajmi program nenačítal");
    EXPECT_THAT(shown[0].detail,
                testing::StartsWith("„1-A-pipe.txt“ nie je obyčajný súbor, nenačítal sa.\n"
                                    "„10-B-x.txt“ sa nedá prečítať, nenačítal sa.\n"));
    // Ten files and how many more there are.
    EXPECT_THAT(shown[0].detail,
                testing::EndsWith("\n… a ďalšie (3), všetky sú uvedené v kramo-log.txt.\n"));
}

}  // namespace
