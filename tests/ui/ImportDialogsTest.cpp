#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include "WindowFixture.h"

namespace {

using KramoDialogs::ImportDialogs;
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

TEST_F(ImportDialogsTest, SingleSheetIsStoredEvenWithAZeroPriceAndShown) {
    const std::string folder = Folder("odovzdane");
    std::filesystem::copy_file(Sheet("seller-sheet.xls"), folder + "anna.xls");
    Choose(folder + "anna.xls");
    Windows().Imports().ImportSingleSeller();
    DrainEvents();

    const auto infos = Boxes().ShownOfKind("info");
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0].text, "Predajca načítaný");
    EXPECT_EQ(infos[0].detail, "Kód: AN Meno: Anna Nováková Počet položiek: 5");
    const std::vector<Kramo::Seller> sellers = Store().GetSellers();
    ASSERT_EQ(sellers.size(), 1u);
    EXPECT_EQ(Main().CurrentSellerId(), sellers[0].ID);
    EXPECT_EQ(ItemColumn(Main().Columns().name).size(), 5u);
    EXPECT_EQ(Settings().LastImportFolder(), folder);

    // The next chooser, of either command, opens where the last one was confirmed.
    Choose("");
    Windows().Imports().ImportMultiSellers();
    EXPECT_EQ(asked_.back().startFolder, folder);

    // The same sheet again: refused, nothing changes.
    Choose(folder + "anna.xls");
    Windows().Imports().ImportSingleSeller();
    const auto errors = Boxes().ShownOfKind("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].detail,
              "Predajca s rovnakým kódom už existuje. Zmažte najskôr predajcu 'AN'.");
    EXPECT_EQ(errors[0].text, "");
    EXPECT_EQ(Store().GetSellers().size(), 1u);
}

TEST_F(ImportDialogsTest, SheetsThatCannotBeReadAreReported) {
    const std::string folder = Folder("zle");
    std::filesystem::copy_file(Sheet("no-markers.xls"), folder + "bez.xls");
    Choose(folder + "bez.xls");
    Windows().Imports().ImportSingleSeller();
    std::filesystem::copy_file(Sheet("no-markers.xls"), folder + "bez.pdf");
    Choose(folder + "bez.pdf");
    Windows().Imports().ImportSingleSeller();

    const auto errors = Boxes().ShownOfKind("error");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text, "Error importing file.");
    EXPECT_THAT(errors[0].detail, StartsWith("Error importing file.Nepodarilo sa mi načítať"));
    EXPECT_THAT(errors[0].detail, HasSubstr("súbor neobsahuje špeciálne znaky"));
    EXPECT_EQ(errors[1].detail,
              "Neznámy typ súboru. Podporované sú 'ods', 'xls', 'xlsx', 'csv', 'txt'");
    EXPECT_TRUE(Store().GetSellers().empty());
}

TEST_F(ImportDialogsTest, FolderImportTellsTheTotalsAndListsTheSellers) {
    const std::string folder = Folder("harky");
    std::filesystem::copy_file(Sheet("whole-prices.xls"), folder + "anna.xls");
    std::filesystem::copy_file(Sheet("seller-sheet.xls"), folder + "nula.xls");  // a zero price
    Choose(folder);
    Windows().Imports().ImportMultiSellers();
    DrainEvents();

    const auto infos = Boxes().ShownOfKind("info");
    EXPECT_EQ(infos.back().text, "Predajcovia načítaný");
    EXPECT_EQ(infos.back().detail, "Korektne načítaných hárkov: 1 Chýb: 1.");
    EXPECT_EQ(Main().Sellers().Size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(folder + "finished/anna.xls"));
    EXPECT_TRUE(std::filesystem::exists(folder + "error/nula.xls"));

    Choose(Folder("prazdny"));
    Windows().Imports().ImportMultiSellers();
    EXPECT_EQ(Boxes().ShownOfKind("info").back().detail, "Korektne načítaných hárkov: 0 Chýb: 0.");
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
        ASSERT_EQ(Boxes().ShownOfKind("info").size(), 1u);
        EXPECT_EQ(Boxes().ShownOfKind("info")[0].detail, "Korektne načítaných hárkov: 1 Chýb: 0.");
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
