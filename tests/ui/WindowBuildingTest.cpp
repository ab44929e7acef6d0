#include <gtest/gtest.h>

#include <regex>

#include "ToolkitWarnings.h"
#include "common/ScriptedUserMessages.h"
#include "common/TemporaryDirectory.h"
#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"
#include "ui/UserInterface.h"

// X11 last: its macros clash with the C++ headers above.
#include <gdk/gdkx.h>

namespace {

using KramoTest::ReadWholeFile;
using KramoTest::ScriptedUserMessages;
using KramoTest::TemporaryDirectory;

class SilentReporter : public Kramo::ExceptionReporter {
  public:
    void HandleException(const std::exception&) override {}
};

// A broken description makes the toolkit warn before the program reports it; the warnings are
// expected here and must not end the test.
using KramoTest::ExpectedToolkitWarnings;

class WindowBuildingTest : public testing::Test {
  protected:
    // The real description with one object renamed (or its class replaced), so the program
    // cannot find it.
    std::string BrokenDescription(const std::string& from, const std::string& to) {
        std::string text = ReadWholeFile(KRAMO_GLADE_FILE);
        text = std::regex_replace(text, std::regex(from), to);
        directory_.WriteFile("kramo.glade", text);
        return directory_.File("kramo.glade");
    }

    std::string BuildFailure(const std::string& gladeFile) {
        ExpectedToolkitWarnings warnings;
        KramoDialogs::UserInterface windows(settings_, register_, search_);
        try {
            windows.BuildWindows(gladeFile);
        } catch (const std::runtime_error& failure) {
            return failure.what();
        }
        return "built";
    }

    TemporaryDirectory directory_;
    SilentReporter reporter_;
    Kramo::KramoSettings settings_{reporter_, directory_.Path() + "/"};
    Kramo::KramoRegister register_;
    Kramo::ItemSearch search_{[this]() -> Kramo::DataAccessInterface& { return register_.Store(); },
                              [](const std::exception&) {}};
};

TEST_F(WindowBuildingTest, EachMissingObjectNamesItsStep) {
    const struct {
        const char* from;
        const char* to;
        const char* failure;
    } cases[] = {
        {"id=\"Register\"", "id=\"Other\"", "Dialog file is corrupt [windows]."},
        {"id=\"Tovar\"", "id=\"Other\"", "Dialog file is corrupt [windows]."},
        {"id=\"entry_find_seller\"", "id=\"x\"", "Dialog file is corrupt [register 1]."},
        {"id=\"button remove item\"", "id=\"x\"", "Dialog file is corrupt [register 1]."},
        // A combo box of another class would make a seller picker that does nothing.
        {"GtkComboBox\" id=\"combobox seller\"", "GtkCombo\" id=\"combobox seller\"",
         "Dialog file is corrupt [register 1]."},
        {"GtkComboBox\" id=\"sellerCategory\"", "GtkComboBoxEntry\" id=\"sellerCategory\"",
         "Dialog file is corrupt [6=Seller edit]."},
        {"id=\"label seller note\"", "id=\"x\"", "Dialog file is corrupt [register 2]."},
        {"id=\"menuitemStats\"", "id=\"x\"", "Dialog file is corrupt [register 2]."},
        {"id=\"radiobuttonSellerStateSelling\"", "id=\"x\"",
         "Dialog file is corrupt [register 3]."},
        {"id=\"search_found_text\"", "id=\"x\"", "Dialog file is corrupt [4]."},
        {"GtkButton\" id=\"button register\"", "GtkLabel\" id=\"button register\"",
         "Dialog file is corrupt [4]."},
        {"id=\"itemPrice\"", "id=\"x\"", "Dialog file is corrupt [5]."},
        {"id=\"sellerNote\"", "id=\"x\"", "Dialog file is corrupt [6=Seller edit]."},
        {"id=\"entry_text\"", "id=\"x\"", "Dialog file is corrupt [MessageEditBox]."},
        {"id=\"Nastavenia\"", "id=\"Other2\"", "Dialog file is corrupt [Nastavenia]."},
        {"id=\"entry_dbport\"", "id=\"x\"", "Dialog file is corrupt [Nastavenia] part 2."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildFailure(BrokenDescription(c.from, c.to)), c.failure) << c.from;
    }
    EXPECT_EQ(BuildFailure(KRAMO_GLADE_FILE), "built");
}

TEST_F(WindowBuildingTest, UnreadableFileNamesTheLastObjectItCouldNotLoad) {
    EXPECT_EQ(BuildFailure(directory_.File("missing.glade")),
              "ZelvarDialogsGtkmm::Init() error loading glade item from xml. "
              "'menuRegisterOtherActions'");
}

TEST_F(WindowBuildingTest, FailureIsShownAsAnErrorBox) {
    ExpectedToolkitWarnings warnings;
    KramoDialogs::UserInterface windows(settings_, register_, search_);
    ScriptedUserMessages boxes;
    EXPECT_FALSE(windows.SetupDialogs());  // no data folder, so no description in it
    ASSERT_EQ(boxes.ShownOfKind("error").size(), 1u);
    EXPECT_EQ(boxes.ShownOfKind("error")[0].text, "Error initing dialog.");
    EXPECT_EQ(boxes.ShownOfKind("error")[0].detail,
              "ZelvarDialogsGtkmm::Init() error loading glade item from xml. "
              "'menuRegisterOtherActions'");
}

// The toolkit's own X error handler ends the program when the pointer is asked over a window
// that has just gone; the program survives that, and the query says it failed.
TEST(VanishedWindowsTest, PointerAskedOverAGoneWindowLeavesTheProgramRunning) {
    Display* display = gdk_x11_get_default_xdisplay();
    const Window gone =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display, gone);
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    EXPECT_FALSE(XQueryPointer(display, gone, &root, &child, &rootX, &rootY, &x, &y, &mask));
    XSync(display, False);
}

}  // namespace
