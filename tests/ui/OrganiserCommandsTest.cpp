#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <gtkmm/dialog.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/radiobutton.h>
#include <gtkmm/spinbutton.h>
#include <gtkmm/window.h>

#include <filesystem>
#include <fstream>

#include "WindowFixture.h"
#include "common/PdfReadBack.h"
#include "common/PostgresTestDatabase.h"
#include "support/DocumentOpener.h"
#include "support/FormatText.h"

namespace {

using KramoTest::PdfReadBack;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::MatchesRegex;
using testing::SizeIs;

// The main window's menu of other actions, with the viewer and the save question answered by
// the test.
class OrganiserCommandsTest : public KramoTest::WindowFixture {
  protected:
    class RecordingOpener : public Kramo::DocumentOpener {
      public:
        void Open(const std::string& path) override { paths.push_back(path); }
        std::vector<std::string> paths;
    };

    void AnswerTargetWith(const std::string& path) {
        Windows().Documents().SetTargetQuestion(
            [this, path](const std::string& folder, const std::string& proposedName) {
                asked_.push_back(folder + proposedName);
                return path;
            });
    }

    void Activate(const char* menuItem) {
        Gtk::MenuItem* item = nullptr;
        Windows().MenuDescription()->get_widget(menuItem, item);
        ASSERT_NE(item, nullptr);
        item->activate();
        DrainEvents();
    }

    RecordingOpener opener_;
    Kramo::DocumentOpenerScope openerScope_{opener_};
    std::vector<std::string> asked_;
};

TEST_F(OrganiserCommandsTest, StatisticsAreSavedWhereTheUserSaysAndOpened) {
    WriteSellerFile("1-A-Alfa.txt", "1*A*Alfa*pozn.*p*1\n1*Kočík*25*a*p\n2*Bábika*2.5*b*s\n");
    Open();
    const std::string path = ProgramDirectory() + "moja statistika.pdf";
    AnswerTargetWith(path);
    Windows().Documents().SaveStatistics();

    ASSERT_THAT(asked_, SizeIs(1));
    EXPECT_THAT(asked_[0], MatchesRegex(".*/documents/+Statistika_[0-9]{2}-[0-9]{2}-[0-9]{2}_"
                                        "[0-9]{2}-[0-9]{2}\\.pdf"));
    EXPECT_THAT(opener_.paths, ElementsAre(path));
    const std::string text = PdfReadBack(path).Text();
    EXPECT_THAT(text, HasSubstr("1 ks - Predava"));
    EXPECT_THAT(text, HasSubstr("Kusov tovaru: 2"));
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());
}

// The sheet template goes where the user says, from the menu, and the box says where.
TEST_F(OrganiserCommandsTest, SheetTemplateIsSavedFromTheMenu) {
    Open();
    const std::string path = ProgramDirectory() + "hárok.xlsx";
    AnswerTargetWith(path);
    Activate("menuItemSheetTemplate");
    ASSERT_THAT(asked_, SizeIs(1));
    EXPECT_THAT(asked_[0], MatchesRegex(".*/documents/+Harok_predajcu\\.xlsx"));
    ASSERT_THAT(Boxes().ShownOfKind("info"), SizeIs(1));
    EXPECT_THAT(Boxes().ShownOfKind("info")[0].text, HasSubstr(path));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
}

TEST_F(OrganiserCommandsTest, CancelledQuestionWritesNothing) {
    WriteSellerFile("1-A-Alfa.txt", "1*A*Alfa*pozn.*p*1\n");
    Open();
    AnswerTargetWith("");
    Windows().Documents().SaveStatistics();
    Windows().Documents().SaveSellerOverview();
    EXPECT_THAT(asked_, SizeIs(2));
    EXPECT_THAT(opener_.paths, IsEmpty());
    // The folder the question opens in is there, and stays empty.
    EXPECT_TRUE(std::filesystem::is_empty(ProgramDirectory() + "documents/"));
}

TEST_F(OrganiserCommandsTest, OverviewHasEverySellersStatementInListOrder) {
    constexpr int Sellers = 300;
    for (int id = 1; id <= Sellers; ++id) {
        // Codes in the reverse order of the IDs: the list's order is the codes'.
        const std::string code = Kramo::FormatText("K%03i", Sellers + 1 - id);
        WriteSellerFile(Kramo::FormatText("%i-%s-Predajca %i.txt", id, code.c_str(), id),
                        Kramo::FormatText("%i*%s*Predajca %i*pozn.*p*1\n1*Kočík*25*a*p\n", id,
                                          code.c_str(), id));
    }
    Open();
    const std::string path = ProgramDirectory() + "prehlad.pdf";
    AnswerTargetWith(path);
    Activate("menuItemSaveSellerOverview");

    ASSERT_THAT(asked_, SizeIs(1));
    EXPECT_THAT(asked_[0], HasSubstr("/PrehladPredajcov_"));
    EXPECT_THAT(opener_.paths, ElementsAre(path));
    const PdfReadBack document(path);
    EXPECT_THAT(document.Pages(), SizeIs(Sellers));
    const std::vector<std::string> bookmarks = document.Bookmarks();
    ASSERT_THAT(bookmarks, SizeIs(Sellers + 1));
    EXPECT_EQ(bookmarks[0], "Kramo");
    EXPECT_EQ(bookmarks[1], "K001 - Predajca 300");
    EXPECT_EQ(bookmarks[Sellers], "K300 - Predajca 1");
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());
}

// The desks on record are offered with this one first; the chosen desk's cash-up of the
// chosen day goes into the documents folder and is opened.
TEST_F(OrganiserCommandsTest, CashUpOfTheChosenDeskIsWrittenAndOpened) {
    WriteSellerFile("1-A-Alfa.txt", "1*A*Alfa*pozn.*p*1\n1*Kočík*25*a*s\n2*Bábika*2.5*a*s\n");
    Open();
    Settings().SetDeskName("Pokladňa 1");
    const std::vector<Kramo::Item> items = Register().Store().GetSellerItems(1);
    Kramo::SaleRecord sale;
    sale.key = "c0ffee";
    sale.desk = "Vchod";
    sale.itemIds = {items.at(0).ID};
    Register().Store().StoreSale(sale);

    std::vector<std::string> offered;
    bool confirm = false;
    Windows().Documents().CashUpChoice().SetRunner([&](KramoDialogs::CashUpDialog& dialog) {
        offered.clear();
        for (int row = 0; row < 2; ++row) {
            dialog.DeskCombo().set_active(row);
            offered.push_back(dialog.DeskCombo().get_active_text());
        }
        return confirm ? Gtk::RESPONSE_OK : Gtk::RESPONSE_CANCEL;
    });
    Activate("menuItemCashUp");
    EXPECT_THAT(offered, ElementsAre("Pokladňa 1", "Vchod"));
    EXPECT_THAT(opener_.paths, IsEmpty());

    confirm = true;
    Activate("menuItemCashUp");
    ASSERT_THAT(opener_.paths, SizeIs(1));
    EXPECT_THAT(opener_.paths[0], MatchesRegex(".*/documents/+Uzavierka_Vchod_[0-9]{2}-[0-9]{2}-"
                                               "[0-9]{2}_[0-9]{2}-[0-9]{2}\\.pdf"));
    const std::string text = PdfReadBack(opener_.paths[0]).Text();
    EXPECT_THAT(text, HasSubstr("Uzávierka pokladne Vchod"));
    EXPECT_THAT(text, HasSubstr("Nákupy: 1, spolu 25.00 eur"));
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());
}

TEST_F(OrganiserCommandsTest, FailureWhileWritingIsReportedAndNothingOpened) {
    WriteSellerFile("1-A-Alfa.txt", "1*A*Alfa*pozn.*p*1\n");
    Open();
    AnswerTargetWith(ProgramDirectory() + "no such folder/statistika.pdf");
    Activate("menuitemStats");
    EXPECT_THAT(opener_.paths, IsEmpty());
    ASSERT_THAT(Boxes().ShownOfKind("error"), SizeIs(1));
    EXPECT_EQ(Boxes().ShownOfKind("error")[0].detail, "PDF runtime error");
}

// From the menu where the user says; automatically into the settings' folder, keeping the
// newest, and a folder that is gone is told once while the sale goes on.
TEST_F(OrganiserCommandsTest, DataIsBackedUpFromTheMenuAndAutomatically) {
    WriteSellerFile("1-A-Alfa.txt", "1*A*Alfa*pozn.*p*1\n1*Kočík*25*a*p\n");
    Open();
    const std::string path = ProgramDirectory() + "zaloha.zip";
    AnswerTargetWith(path);
    Activate("menuItemBackup");
    ASSERT_THAT(asked_, SizeIs(1));
    EXPECT_THAT(asked_[0], MatchesRegex(".*/documents/+Zaloha_[0-9]{2}-[0-9]{2}-[0-9]{2}_"
                                        "[0-9]{2}-[0-9]{2}\\.zip"));
    ASSERT_THAT(Boxes().ShownOfKind("info"), SizeIs(1));
    EXPECT_THAT(Boxes().ShownOfKind("info")[0].text, HasSubstr(path));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    Activate("menuItemBackup");
    // The folder chosen last is offered again.
    EXPECT_THAT(asked_[1], MatchesRegex(ProgramDirectory() + "Zaloha_.*\\.zip"));

    const auto backUp = [this] {
        ASSERT_TRUE(Windows().Backups().BackUpNow());
        for (int wait = 0; wait < 500 && Windows().Backups().Busy(); ++wait) {
            DrainEventsFor(10);
        }
        ASSERT_FALSE(Windows().Backups().Busy());
    };
    const std::string folder = ProgramDirectory() + "zalohy";
    std::filesystem::create_directory(folder);
    Settings().SetBackupFolder(folder);
    Settings().SetBackupKeep(1);
    backUp();
    backUp();
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_THAT(names, ElementsAre(MatchesRegex("Zaloha_.*_2\\.zip")));

    Settings().SetBackupFolder(ProgramDirectory() + "vybraty kluc");
    backUp();
    backUp();
    ASSERT_THAT(Boxes().ShownOfKind("error"), SizeIs(1));
    EXPECT_THAT(Boxes().ShownOfKind("error")[0].detail, HasSubstr("vybraty kluc"));
    Settings().SetDatabaseInLocalFiles(false);
    EXPECT_FALSE(Windows().Backups().BackUpNow());
}

// The settings dialog, answered by the test after it has changed the widgets.
class SettingsDialogTest : public KramoTest::WindowFixture {
  protected:
    void SetUp() override {
        WriteSellerFile("1-A-Alfa.txt", "1*A*Alfa*pozn.*p*0\n");
        Open();
    }

    // Opens the dialog; the change is made on the shown widgets, then OK or Cancel.
    void Answer(const std::function<void(KramoDialogs::SettingsDialog&)>& change, bool ok = true) {
        KramoDialogs::SettingsDialog& dialog = Windows().SettingsWindow();
        dialog.SetRunner([&](Gtk::Dialog&) {
            shownPort_ = dialog.PortEntry().get_text();
            shownFontSizes_ = dialog.FontSizeCombo().ItemCount();
            change(dialog);
            return ok ? Gtk::RESPONSE_OK : Gtk::RESPONSE_CANCEL;
        });
        Gtk::MenuItem* item = nullptr;
        Windows().MenuDescription()->get_widget("menuItemSettings", item);
        ASSERT_NE(item, nullptr);
        item->activate();
        DrainEvents();
    }

    std::string SettingsFile() const {
        std::ifstream file(ProgramDirectory() + "kramo.xml");
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    void UseDatabase(KramoDialogs::SettingsDialog& dialog,
                     const Kramo::PostgresConnection& connection) {
        dialog.DatabaseButton().set_active(true);
        dialog.AddressEntry().set_text(connection.address);
        dialog.UserEntry().set_text(connection.user);
        dialog.PasswordEntry().set_text(connection.password);
        dialog.DatabaseNameEntry().set_text(connection.databaseName);
        dialog.PortEntry().set_text(std::to_string(connection.port));
    }

    std::string shownPort_;
    int shownFontSizes_ = 0;
};

TEST_F(SettingsDialogTest, ConfirmingWithoutAFontChangeShowsNoBox) {
    Answer([](KramoDialogs::SettingsDialog& dialog) {
        EXPECT_EQ(dialog.FontSizeCombo().ActiveText(), "Prednastavený");
        dialog.SaleNameEntry().set_text("Jesenná kramo");
    });
    EXPECT_EQ(shownPort_, "5432");
    EXPECT_EQ(shownFontSizes_, 9);
    EXPECT_EQ(Settings().SaleName(), "Jesenná kramo");
    EXPECT_THAT(SettingsFile(), HasSubstr("salename=\"Jesenná kramo\""));
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());
}

// The font of a window built now.
std::string FontOfANewWindow() {
    Gtk::Window window;
    Gtk::Label label("Kramo");
    window.add(label);
    label.ensure_style();
    return label.get_style()->get_font().to_string();
}

TEST_F(SettingsDialogTest, FontSizeChangeIsSavedAndAnnouncedForTheNextStart) {
    const std::string font = FontOfANewWindow();
    Answer([](KramoDialogs::SettingsDialog& dialog) { dialog.FontSizeCombo().set_active(4); });
    EXPECT_EQ(FontOfANewWindow(), font);  // not half now: no window changes before the restart
    EXPECT_EQ(Settings().FontSize(), 10);
    EXPECT_THAT(SettingsFile(), HasSubstr("fontSize=\"10\""));
    ASSERT_THAT(Boxes().ShownOfKind("info"), SizeIs(1));
    EXPECT_EQ(Boxes().ShownOfKind("info")[0].text,
              "Zmena veľkosti písma sa prejaví pri ďalšom spustení programu");
    EXPECT_EQ(Boxes().ShownOfKind("info")[0].detail, "Veľkosť písma zmenená");
    // The store was opened again over the same folder.
    EXPECT_EQ(Store().GetSellers().size(), 1u);

    Answer([](KramoDialogs::SettingsDialog& dialog) {
        EXPECT_EQ(dialog.FontSizeCombo().ActiveText(), "10");
    });
}

TEST_F(SettingsDialogTest, EnterInAFieldAnswersOk) {
    KramoDialogs::SettingsDialog& dialog = Windows().SettingsWindow();
    dialog.SetRunner([this, &dialog](Gtk::Dialog& shown) {
        int response = Gtk::RESPONSE_NONE;
        sigc::connection answered =
            shown.signal_response().connect([&response](int answer) { response = answer; });
        shown.show();
        dialog.SaleNameEntry().set_text("Jesenná kramo");
        dialog.SaleNameEntry().activate();
        DrainEventsFor(400);
        answered.disconnect();
        return response;
    });
    dialog.OpenSettingsDialog();
    EXPECT_EQ(Settings().SaleName(), "Jesenná kramo");
}

TEST_F(SettingsDialogTest, LabelSheetReceiptsDeskAndBackupsAreChosenAndShownAgain) {
    Answer([](KramoDialogs::SettingsDialog& dialog) {
        // Beside the program the data stays in its folder: nothing to choose.
        EXPECT_FALSE(dialog.BazaarFolderEntry().is_sensitive());
        EXPECT_EQ(dialog.BackupMinutesSpin().get_value_as_int(), 0);
        EXPECT_EQ(dialog.BackupKeepSpin().get_value_as_int(), 12);
        dialog.BackupFolderEntry().set_text("/media/usb/zalohy");
        dialog.BackupMinutesSpin().set_value(10);
        dialog.BackupKeepSpin().set_value(5);
        EXPECT_EQ(dialog.LabelLayoutCombo().ActiveText(), "A4, 3 × 8 štítkov (70 × 37 mm)");
        EXPECT_EQ(dialog.PrintReceiptsCombo().ActiveText(), "netlačiť");
        dialog.LabelLayoutCombo().set_active(2);
        dialog.FirstFreeLabelSpin().set_value(7);
        dialog.ReceiptPageCombo().set_active(1);
        dialog.PrintReceiptsCombo().set_active(1);
        dialog.ReceiptPrinterEntry().set_text("Pokladna");
        dialog.DeskNameEntry().set_text("Pokladňa pri vchode");
    });
    EXPECT_THAT(SettingsFile(), HasSubstr("layout=\"a4-2x8\"\n\t\t\tfirstFree=\"7\""));
    EXPECT_EQ(Settings().ReceiptPage(), "roll-80");
    EXPECT_EQ(Settings().PrintReceipts(), Kramo::ReceiptPrinting::Ask);
    EXPECT_EQ(Settings().ReceiptPrinterName(), "Pokladna");
    EXPECT_THAT(SettingsFile(), HasSubstr("<desk\n\t\t\tname=\"Pokladňa pri vchode\""));
    EXPECT_EQ(Settings().BackupFolder(), "/media/usb/zalohy");
    EXPECT_EQ(Settings().BackupEveryMinutes(), 10);
    EXPECT_EQ(Settings().BackupKeep(), 5);
    Answer([](KramoDialogs::SettingsDialog& dialog) {
        EXPECT_EQ(dialog.DeskNameEntry().get_text(), "Pokladňa pri vchode");
        EXPECT_EQ(dialog.BackupFolderEntry().get_text(), "/media/usb/zalohy");
        EXPECT_EQ(dialog.BackupMinutesSpin().get_value_as_int(), 10);
        EXPECT_EQ(dialog.LabelLayoutCombo().get_active_row_number(), 2);
        EXPECT_EQ(dialog.FirstFreeLabelSpin().get_value_as_int(), 7);
        EXPECT_EQ(dialog.ReceiptPageCombo().get_active_row_number(), 1);
    });
}

TEST_F(SettingsDialogTest, CancelLeavesEverySetting) {
    Answer(
        [](KramoDialogs::SettingsDialog& dialog) {
            dialog.SaleNameEntry().set_text("Iná");
            dialog.FontSizeCombo().set_active(2);
        },
        false);
    EXPECT_EQ(Settings().SaleName(), "Jarna kramo 2012");
    EXPECT_EQ(Settings().FontSize(), -1);
    EXPECT_FALSE(std::filesystem::exists(ProgramDirectory() + "kramo.xml"));
}

TEST_F(SettingsDialogTest, PortTextWithoutDigitsStoresZero) {
    Answer([](KramoDialogs::SettingsDialog& dialog) { dialog.PortEntry().set_text("port"); });
    EXPECT_EQ(Settings().Port(), 0);
    Answer([](KramoDialogs::SettingsDialog& dialog) { dialog.PortEntry().set_text("5433x"); });
    EXPECT_EQ(Settings().Port(), 5433);
}

TEST_F(SettingsDialogTest, StoreMovesToTheDatabaseAndBack) {
    KramoTest::PostgresTestDatabase database;
    database.Execute(
        "INSERT INTO sellers (\"ID\", \"SHORT_CODE\", \"NAME\", \"SELLER_CATEGORY_ID\", "
        "\"MODIFIED\", \"STATUS\") VALUES (7, 'DB', 'Dana Bystrá', 11, now(), 1)");
    Answer(
        [&](KramoDialogs::SettingsDialog& dialog) { UseDatabase(dialog, database.Connection()); });
    EXPECT_FALSE(Settings().DatabaseInLocalFiles());
    EXPECT_THAT(SettingsFile(), HasSubstr("databaseInLocalFiles=\"False\""));
    EXPECT_THAT(SettingsFile(), HasSubstr("dbname=\"" + database.Connection().databaseName + "\""));
    EXPECT_THAT(SellerComboTexts(), ElementsAre("DB - Dana Bystrá"));
    // The sale's name is the database's.
    EXPECT_EQ(Settings().SaleName(), "Testovacia kramo");

    // The program goes on over the database: an item written there is shown.
    Kramo::Item item;
    item.NUMBER = 3;
    item.NAME = "Sánky";
    item.PRICE = 12.0;
    item.ITEM_CATEGORY_ID = 2;
    item.STATUS = Kramo::InStock;
    Store().AddItem(item, 7);
    Main().ShowSeller(Store().GetSeller(7));
    EXPECT_THAT(ItemColumn(Main().Columns().name), ElementsAre("Sánky"));
    EXPECT_EQ(database.Scalar("SELECT \"NAME\" FROM items"), "Sánky");

    Answer([&](KramoDialogs::SettingsDialog& dialog) {
        EXPECT_TRUE(dialog.DatabaseButton().get_active());
        EXPECT_EQ(dialog.DatabaseNameEntry().get_text(), database.Connection().databaseName);
        dialog.LocalFilesButton().set_active(true);
    });
    EXPECT_TRUE(Settings().DatabaseInLocalFiles());
    EXPECT_THAT(SellerComboTexts(), ElementsAre("A - Alfa"));
    EXPECT_THAT(Boxes().ShownOfKind("error"), IsEmpty());
}

TEST_F(SettingsDialogTest, FailedConnectionIsReportedAndTheProgramStaysUsable) {
    KramoTest::PostgresTestDatabase database;
    Kramo::PostgresConnection wrong = database.Connection();
    wrong.password = "not the password";
    Answer([&](KramoDialogs::SettingsDialog& dialog) { UseDatabase(dialog, wrong); });

    ASSERT_FALSE(Boxes().ShownOfKind("error").empty());
    EXPECT_EQ(Boxes().ShownOfKind("error").back().text, "Error initing dialog.");
    EXPECT_FALSE(Settings().DatabaseInLocalFiles());

    // Without a store a command reports that instead of failing the program.
    Main().StatementButton().clicked();
    DrainEvents();

    Answer(
        [](KramoDialogs::SettingsDialog& dialog) { dialog.LocalFilesButton().set_active(true); });
    EXPECT_THAT(SellerComboTexts(), ElementsAre("A - Alfa"));
    EXPECT_EQ(Store().GetSellers().size(), 1u);
}

}  // namespace
