#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>
#include <gtkmm/menuitem.h>

#include "WindowFixture.h"

namespace {

using KramoDialogs::ImportDialogs;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

std::string Sheet(const char* name) {
    return std::string(KRAMO_TEST_DATA) + "/" + name;
}

class ImportDialogsTest : public KramoTest::WindowFixture {
  protected:
    void SetUp() override {
        Open();
        Windows().Imports().SetChooser([this](const ImportDialogs::Choice& choice) {
            asked_.push_back(choice);
            return answer_;
        });
    }

    // The user's next choice in the chooser; empty cancels it.
    void Choose(const std::string& answer) { answer_ = answer; }
    std::string Folder(const char* name) {
        const std::string folder = ProgramDirectory() + name + "/";
        std::filesystem::create_directories(folder);
        return folder;
    }

    std::vector<ImportDialogs::Choice> asked_;
    std::string answer_;
};

TEST_F(ImportDialogsTest, CancellingChangesNothing) {
    Choose("");
    Windows().Imports().ImportSingleSeller();
    Windows().Imports().ImportMultiSellers();
    ASSERT_EQ(asked_.size(), 2u);
    EXPECT_EQ(asked_[0].title, "Select importer file");
    EXPECT_THAT(asked_[0].patterns,
                testing::ElementsAre("*.ods", "*.xls", "*.xlsx", "*.csv", "*.txt"));
    EXPECT_EQ(asked_[1].title, "Select folder with sheets");
    EXPECT_TRUE(asked_[1].chooseFolder);
    EXPECT_EQ(asked_[1].startFolder, DataDirectory());  // still the data folder
    EXPECT_EQ(Settings().LastImportFolder(), "");
    EXPECT_TRUE(Boxes().ShownBoxes().empty());
}

// The folder import refuses a sheet with a zero price; the single import asks first.
TEST_F(ImportDialogsTest, SingleSheetWithAZeroPriceIsStoredOnlyWhenTheUserSaysSo) {
    const std::string folder = Folder("odovzdane");
    std::filesystem::copy_file(Sheet("seller-sheet.xls"), folder + "anna.xls");
    Choose(folder + "anna.xls");
    Boxes().AnswerQuestion(false);
    Windows().Imports().ImportSingleSeller();
    const auto questions = Boxes().ShownOfKind("question");
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text,
              "Hárok obsahuje 1 ks tovaru s nulovou cenou. Napriek tomu ho uložiť?");
    EXPECT_TRUE(Store().GetSellers().empty());
    EXPECT_THAT(
        ImportReportRows(),
        ElementsAre("anna.xls | odmietnutý | AN – Anna Nováková |  | Obsahuje 1 ks tovaru "
                    "s nulovou cenou. Hárok ste sa rozhodli neuložiť.",
                    "    Preskočené riadky s cenou, ale bez názvu (prázdny alebo vzorec): 1",
                    "    Ceny bez centov: 3"));
    EXPECT_TRUE(Windows().Imports().ReportWindow().Window().get_visible());

    Boxes().AnswerQuestion(true);
    Windows().Imports().ImportSingleSeller();
    DrainEvents();
    const std::vector<Kramo::Seller> sellers = Store().GetSellers();
    ASSERT_EQ(sellers.size(), 1u);
    EXPECT_EQ(Main().CurrentSellerId(), sellers[0].ID);
    EXPECT_EQ(ItemColumn(Main().Columns().name).size(), 5u);
    EXPECT_EQ(Settings().LastImportFolder(), folder);
    EXPECT_EQ(ImportReportRows().at(0), "anna.xls | uložený | AN – Anna Nováková | 5 | ");
    EXPECT_EQ(ImportReportRows().at(1),
              "    Uložený na vaše rozhodnutie, hoci obsahuje 1 ks tovaru s nulovou cenou");

    // The next chooser, of either command, opens where the last one was confirmed.
    Choose("");
    Windows().Imports().ImportMultiSellers();
    EXPECT_EQ(asked_.back().startFolder, folder);

    // The same sheet again: refused without a question, nothing changes.
    Choose(folder + "anna.xls");
    Windows().Imports().ImportSingleSeller();
    EXPECT_EQ(Boxes().ShownOfKind("question").size(), 2u);
    EXPECT_EQ(ImportReportRows().at(0),
              "anna.xls | odmietnutý | AN – Anna Nováková |  | Predajca s rovnakým kódom už "
              "existuje. Zmažte najskôr predajcu 'AN' tlačidlom „Odstrániť predajcu“, ak je v "
              "zozname omylom.");
    EXPECT_EQ(ImportReportRows().at(1), "    Obsahuje 1 ks tovaru s nulovou cenou");
    EXPECT_EQ(Store().GetSellers().size(), 1u);
    EXPECT_TRUE(Boxes().ShownOfKind("error").empty());
    EXPECT_TRUE(Boxes().ShownOfKind("info").empty());
}

TEST_F(ImportDialogsTest, SheetsThatCannotBeReadAreReported) {
    const std::string folder = Folder("zle");
    std::filesystem::copy_file(Sheet("no-markers.xls"), folder + "bez.xls");
    Choose(folder + "bez.xls");
    Windows().Imports().ImportSingleSeller();
    EXPECT_THAT(ImportReportRows(),
                ElementsAre("bez.xls | odmietnutý |  |  | Hárok sa nepodarilo prečítať: súbor "
                            "neobsahuje špeciálne znaky"));
    std::filesystem::copy_file(Sheet("no-markers.xls"), folder + "bez.pdf");
    Choose(folder + "bez.pdf");
    Windows().Imports().ImportSingleSeller();
    EXPECT_THAT(ImportReportRows(),
                ElementsAre("bez.pdf | nie je hárok predajcu |  |  | Neznámy typ súboru. "
                            "Podporované sú 'ods', 'xls', 'xlsx', 'csv', 'txt'"));
    EXPECT_TRUE(Boxes().ShownBoxes().empty());
    EXPECT_TRUE(Store().GetSellers().empty());
}

TEST_F(ImportDialogsTest, FolderImportReportIsShownSavedAndShownAgain) {
    Gtk::MenuItem* again = nullptr;
    Windows().MenuDescription()->get_widget("menuItemLastImportReport", again);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->is_sensitive());  // no import yet

    const std::string folder = Folder("harky");
    std::filesystem::copy_file(Sheet("whole-prices.xls"), folder + "anna.xls");
    std::filesystem::copy_file(Sheet("zero-price.xls"), folder + "nula.xls");
    Choose(folder);
    Windows().Imports().ImportMultiSellers();
    DrainEvents();

    KramoDialogs::ImportReportWindow& window = Windows().Imports().ReportWindow();
    EXPECT_TRUE(window.Window().get_visible());
    EXPECT_EQ(window.Heading().get_text().raw(),
              "Korektne načítaných hárkov: 1 Chýb: 1.\n" + folder);
    EXPECT_THAT(ImportReportRows(),
                testing::UnorderedElementsAre(
                    "anna.xls | uložený | AN – Anna Nováková | 3 | ", "    Ceny bez centov: 3",
                    "nula.xls | odmietnutý | DA – Anna Nováková |  | Obsahuje 1 ks tovaru s "
                    "nulovou cenou",
                    "    Ceny bez centov: 2"));
    EXPECT_EQ(Main().Sellers().Size(), 1u);
    EXPECT_TRUE(Boxes().ShownBoxes().empty());

    // Saved where the user says, into the documents folder by default.
    std::string proposed;
    const std::string saved = ProgramDirectory() + "sprava.txt";
    window.SetTargetQuestion([&](const std::string& folder, const std::string& name) {
        proposed = folder + name;
        return saved;
    });
    window.SaveButton().clicked();
    EXPECT_THAT(proposed, testing::MatchesRegex(".*/documents/+Import_[0-9]{2}-[0-9]{2}-[0-9]{2}_"
                                                "[0-9]{2}-[0-9]{2}\\.txt"));
    std::ifstream file(saved, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    EXPECT_THAT(text, StartsWith("Import hárkov predajcov: " + folder +
                                 "\nKorektne načítaných hárkov: 1 Chýb: 1.\n"));
    EXPECT_THAT(text, HasSubstr("\nnula.xls: odmietnutý, predajca DA – Anna Nováková\n"
                                "    Dôvod: Obsahuje 1 ks tovaru s nulovou cenou\n"));

    // Closed, and brought back from the menu until the next import replaces it.
    window.CloseButton().clicked();
    EXPECT_FALSE(window.Window().get_visible());
    EXPECT_TRUE(again->is_sensitive());
    again->activate();
    EXPECT_TRUE(window.Window().get_visible());
    EXPECT_EQ(ImportReportRows().size(), 4u);

    Choose(Folder("prazdny"));
    Windows().Imports().ImportMultiSellers();
    EXPECT_EQ(window.Heading().get_text().raw(),
              "Korektne načítaných hárkov: 0 Chýb: 0.\n" + Folder("prazdny"));
    EXPECT_TRUE(ImportReportRows().empty());
}

// Importing moves every file of the folder: never the program's own.
TEST_F(ImportDialogsTest, ProgramsOwnFoldersAreRefused) {
    WriteSellerFile("1-AB-Anna.txt", "1*AB*Anna*pozn.*p*0\n");
    const std::string holdsSettings = Folder("kopia");
    std::filesystem::copy_file(DataDirectory() + "kramo.glade", holdsSettings + "kramo.glade");
    for (const std::string& folder : {DataDirectory(), ProgramDirectory(), holdsSettings}) {
        Choose(folder);
        Windows().Imports().ImportMultiSellers();
        ASSERT_FALSE(Boxes().ShownOfKind("error").empty()) << folder;
        EXPECT_EQ(Boxes().ShownOfKind("error").back().text, "Z tohto priečinka sa nedá importovať");
    }
    EXPECT_EQ(Boxes().ShownOfKind("error").size(), 3u);
    EXPECT_TRUE(Boxes().ShownOfKind("info").empty());
    EXPECT_TRUE(std::filesystem::exists(DataDirectory() + "1-AB-Anna.txt"));
    EXPECT_TRUE(std::filesystem::exists(DataDirectory() + "kramo.glade"));
    EXPECT_FALSE(std::filesystem::exists(DataDirectory() + "error"));
}

// The toolkit's own folder chooser, answered as a user would: a folder clicked once and OK, or
// its path typed into the location field and Enter.
class FolderChooserTest : public KramoTest::WindowFixture {
  protected:
    void SetUp() override {
        Open();
        parent_ = ProgramDirectory() + "odovzdane";
        folder_ = parent_ + "/harky";
        std::filesystem::create_directories(folder_ + "/stare");
        std::filesystem::copy_file(Sheet("whole-prices.xls"), parent_ + "/vedla.xls");
        std::filesystem::copy_file(Sheet("whole-prices.xls"), folder_ + "/anna.xls");
        std::filesystem::copy_file(Sheet("whole-prices.xls"), folder_ + "/stare/anna.xls");
        Settings().SetLastImportFolder(parent_ + "/");
    }

    // Runs the folder import while the user answers its chooser.
    void ImportAnswering(bool typing) {
        typing_ = typing;
        const guint answering = g_timeout_add(20, &FolderChooserTest::Answer, this);
        Windows().Imports().ImportMultiSellers();
        if (g_main_context_find_source_by_id(nullptr, answering) != nullptr) {
            g_source_remove(answering);
        }
    }

    void ExpectOnlyTheChosenFolderImported() {
        EXPECT_EQ(Settings().LastImportFolder(), folder_ + "/");
        EXPECT_TRUE(std::filesystem::exists(folder_ + "/finished/anna.xls"));
        EXPECT_TRUE(std::filesystem::exists(parent_ + "/vedla.xls"));       // beside it: left alone
        EXPECT_TRUE(std::filesystem::exists(folder_ + "/stare/anna.xls"));  // inside it too
        EXPECT_THAT(Windows().Imports().ReportWindow().Heading().get_text().raw(),
                    StartsWith("Korektne načítaných hárkov: 1 Chýb: 0.\n"));
    }

  private:
    static gboolean Answer(gpointer self) {
        auto* test = static_cast<FolderChooserTest*>(self);
        GtkWidget* chooser = VisibleChooser();
        return chooser != nullptr && (test->typing_ ? test->Type(chooser) : test->Click(chooser))
                   ? FALSE
                   : TRUE;
    }

    static GtkWidget* VisibleChooser() {
        GList* windows = gtk_window_list_toplevels();
        GtkWidget* chooser = nullptr;
        for (GList* node = windows; node != nullptr; node = node->next) {
            if (GTK_IS_FILE_CHOOSER_DIALOG(node->data) && GTK_WIDGET_VISIBLE(node->data)) {
                chooser = GTK_WIDGET(node->data);
            }
        }
        g_list_free(windows);
        return chooser;
    }

    static void PressKey(GtkWidget* chooser, guint keyval, guint state) {
        GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
        event->key.window = static_cast<GdkWindow*>(g_object_ref(chooser->window));
        event->key.keyval = keyval;
        event->key.state = state;
        gtk_main_do_event(event);
        gdk_event_free(event);
    }

    // Clicked once: the chooser selects the folder when it has read the list of its parent.
    bool Click(GtkWidget* chooser) {
        gchar* chosen = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
        const bool ready = chosen != nullptr && folder_ == chosen;
        g_free(chosen);
        if (!ready) {
            if (!acted_) {
                gtk_file_chooser_select_filename(GTK_FILE_CHOOSER(chooser), folder_.c_str());
                acted_ = true;
            }
            return false;
        }
        gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_OK);
        return true;
    }

    // Ctrl+L opens the location field; the path goes in, then Enter. A chooser still open after
    // that is cancelled.
    bool Type(GtkWidget* chooser) {
        if (!acted_) {
            PressKey(chooser, GDK_l, GDK_CONTROL_MASK);
            acted_ = true;
            return false;
        }
        if (entered_) {
            gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_CANCEL);
            return true;
        }
        GtkWidget* field = gtk_window_get_focus(GTK_WINDOW(chooser));
        if (field != nullptr && GTK_IS_ENTRY(field)) {
            gtk_entry_set_text(GTK_ENTRY(field), folder_.c_str());
            PressKey(chooser, GDK_Return, 0);
            entered_ = true;
        }
        return false;
    }

    std::string parent_;
    std::string folder_;
    bool typing_ = false;
    bool acted_ = false;
    bool entered_ = false;
};

TEST_F(FolderChooserTest, FolderClickedOnceIsTheOneImported) {
    ImportAnswering(false);
    ExpectOnlyTheChosenFolderImported();
}

TEST_F(FolderChooserTest, FolderTypedIsTheOneImported) {
    ImportAnswering(true);
    ExpectOnlyTheChosenFolderImported();
}

}  // namespace
