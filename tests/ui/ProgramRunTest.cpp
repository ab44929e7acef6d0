#include "ProgramRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/TemporaryDirectory.h"

namespace {

using KramoTest::ProgramRun;
using KramoTest::TemporaryDirectory;
using testing::HasSubstr;
using testing::Not;

constexpr const char* MainTitle = "Kramo – predajcovia a ich tovar";

const std::vector<std::string> StartUp = {
    "=== Kramo starting ===\n",        "main2 starting\n",      "Call to Glib::init\n",
    "Creating central instance\n",     "Creating conv funcs\n", "Gtk::Main\n",
    "Loading and applying settings\n", "SetupDialogs\n"};
const std::vector<std::string> ShutDown = {"Finishing application...\n",
                                           "Removing central instance\n", "Finished.\n"};

// Each line stands in the log after the one before it.
void ExpectInOrder(const std::string& log, const std::vector<std::string>& lines) {
    std::string::size_type position = 0;
    for (const std::string& line : lines) {
        const std::string::size_type found = log.find(" " + line, position);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << log;
        position = found + line.size();
    }
}

class ProgramTest : public testing::Test {
  protected:
    ProgramTest() {
        mkdir(directory_.File("data").c_str(), 0777);
        std::filesystem::copy_file(KRAMO_GLADE_FILE, directory_.File("data/kramo.glade"));
    }

    std::string Log() const { return directory_.ReadFile("kramo-log.txt"); }

    TemporaryDirectory directory_;
};

TEST_F(ProgramTest, StartsShowsTheMainWindowAndShutsDownInOrder) {
    directory_.WriteFile("data/1-AB-Anna.txt", "1*AB*Anna*pozn.*p*0\n1*Kabát*5*a*s\n");
    ProgramRun program(KRAMO_PROGRAM, directory_.Path());
    ASSERT_TRUE(program.WaitForWindow(MainTitle)) << Log();
    program.CloseWindows(MainTitle);
    EXPECT_EQ(program.WaitForExit(), 0);

    const std::string log = Log();
    std::vector<std::string> whole = StartUp;
    whole.push_back("Gtk::Main::run()\n");
    whole.insert(whole.end(), ShutDown.begin(), ShutDown.end());
    ExpectInOrder(log, whole);
    EXPECT_THAT(log, Not(HasSubstr("Exception - ")));
}

TEST_F(ProgramTest, EmptyDataFolderSaysThereIsNoSellerOverTheShownWindow) {
    ProgramRun program(KRAMO_PROGRAM, directory_.Path());
    ASSERT_TRUE(program.WaitForWindow(MainTitle)) << Log();
    ASSERT_TRUE(program.WaitForBoxOver(MainTitle)) << Log();  // the notice
    program.CloseBoxesOver(MainTitle);
    ASSERT_TRUE(program.WaitForBoxOver(MainTitle, false)) << Log();
    program.CloseWindows(MainTitle);
    EXPECT_EQ(program.WaitForExit(), 0);
    ExpectInOrder(Log(), ShutDown);
}

// A settings file cut short is said in a box before the main window, and stays as it is.
TEST_F(ProgramTest, SettingsThatCannotBeReadAreSaidAtStart) {
    directory_.WriteFile("data/1-AB-Anna.txt", "1*AB*Anna*pozn.*p*0\n");
    directory_.WriteFile("kramo.xml", "<kramo><config salename='Jesen'/>");
    ProgramRun program(KRAMO_PROGRAM, directory_.Path());
    ASSERT_TRUE(program.WaitForWindow("")) << Log();  // the error box
    program.CloseWindows("");
    ASSERT_TRUE(program.WaitForWindow(MainTitle)) << Log();
    program.CloseWindows(MainTitle);
    EXPECT_EQ(program.WaitForExit(), 0);
    EXPECT_THAT(Log(), HasSubstr("kramo.xml sa nedá prečítať: zápis XML je poškodený."));
    EXPECT_EQ(directory_.ReadFile("kramo.xml"), "<kramo><config salename='Jesen'/>");
}

TEST_F(ProgramTest, BrokenWindowDescriptionEndsTheStartInOrder) {
    directory_.WriteFile("data/kramo.glade", "<?xml version=\"1.0\"?>\n<glade-interface>\n<widg");
    ProgramRun program(KRAMO_PROGRAM, directory_.Path());
    ASSERT_TRUE(program.WaitForWindow("")) << Log();  // the error box
    program.CloseWindows("");
    EXPECT_EQ(program.WaitForExit(), 0);

    const std::string log = Log();
    std::vector<std::string> whole = StartUp;
    whole.push_back("Exception - std::exception: ");
    whole.insert(whole.end(), ShutDown.begin(), ShutDown.end());
    ExpectInOrder(log, whole);
    EXPECT_THAT(log, Not(HasSubstr("Gtk::Main::run()")));
}

}  // namespace
