#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <gtkmm/cellrenderertoggle.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/radiobutton.h>
#include <gtkmm/settings.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include "BoxAnswerer.h"
#include "Keyboard.h"
#include "WindowFixture.h"
#include "common/TemporaryDirectory.h"
#include "settings/FontSizeOption.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

class MainWindowTest : public KramoTest::WindowFixture {
  protected:
    void TypeFindText(const std::string& text) {
        MainWidget<Gtk::Entry>("entry_find_seller").set_text(text);
        DrainEvents();
    }

    // Clicks the "prebrate" check box of a row, as the toolkit reports it.
    void ToggleRow(int row) {
        Gtk::TreeViewColumn* column = Main().ItemView().get_column(2);
        auto* toggle = dynamic_cast<Gtk::CellRendererToggle*>(column->get_first_cell_renderer());
        ASSERT_NE(toggle, nullptr);
        g_signal_emit_by_name(toggle->gobj(), "toggled", std::to_string(row).c_str());
        DrainEvents();
    }

    std::vector<int32_t> StoredStates(int sellerId) {
        std::vector<int32_t> states;
        for (const Kramo::Item& item : Store().GetSellerItems(sellerId)) {
            states.push_back(item.STATUS);
        }
        return states;
    }

    // The window on screen with the cursor in the find field, where a scanner types.
    KramoTest::Keyboard ShowForScanning() {
        Main().Window().show();
        DrainEvents();
        Main().FindEntry().grab_focus();
        return KramoTest::Keyboard(Main().Window());
    }
    std::string ScanResultBackground() {
        return Main().ScanResultLabel().get_modifier_style()->get_bg(Gtk::STATE_NORMAL).to_string();
    }
    std::vector<int> SelectedRows() {
        std::vector<int> rows;
        for (const Gtk::TreeModel::Path& path :
             Main().ItemView().get_selection()->get_selected_rows()) {
            rows.push_back(path.front());
        }
        return rows;
    }
    bool ReadyForTheNextScan() {
        return Main().Window().get_focus() == &Main().FindEntry() &&
               SelectedForTheNextScan(Main().FindEntry());
    }
};

TEST_F(MainWindowTest, EmptyStoreSaysThereIsNoSellerOverTheShownWindow) {
    Open();
    EXPECT_THAT(SellerComboTexts(), IsEmpty());
    EXPECT_EQ(Main().CurrentSellerId(), -1);
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());  // the window is not on screen yet

    Main().Window().show();
    for (int wait = 0; wait < 200 && Boxes().ShownBoxes().empty(); ++wait) {
        DrainEvents();
        g_usleep(10000);
    }
    ASSERT_EQ(Boxes().ShownOfKind("info").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("info")[0].text, "Neexistuje žiaden predajca");
    EXPECT_TRUE(Main().Window().get_mapped());
    TypeFindText("ab");  // nothing to find in an empty list
    EXPECT_EQ(Main().CurrentSellerId(), -1);
    Main().Window().hide();
}

// Restores the desktop's font when the test ends.
class DesktopFontScope {
  public:
    DesktopFontScope() : former_(Gtk::Settings::get_default()->property_gtk_font_name()) {}
    ~DesktopFontScope() { Gtk::Settings::get_default()->property_gtk_font_name() = former_; }
    const Glib::ustring& Former() const { return former_; }

  private:
    Glib::ustring former_;
};

TEST_F(MainWindowTest, LargestFontKeepsTheDesktopFamilyAndTheWindowFitsTheScreen) {
    DesktopFontScope desktopFont;
    const int largest = Kramo::OfferedFontSizes().back().value;
    KramoDialogs::UserInterface::UseFontSize(largest);
    WriteSellerFile("1-AB-Anna Nováková-Hrušovská.txt",
                    "1*AB*Anna Nováková-Hrušovská*volať večer po šiestej*p*1\n"
                    "1*Zimná bunda s kapucňou, veľkosť 128*25*a*s\n");
    Open();

    const Pango::FontDescription font = Main().FindEntry().get_style()->get_font();
    EXPECT_EQ(font.get_family(), Pango::FontDescription(desktopFont.Former()).get_family());
    EXPECT_EQ(font.get_size(), largest * Pango::SCALE);
    const Gtk::Requisition size = Main().Window().size_request();
    EXPECT_LE(size.width, 1280);
    EXPECT_LE(size.height, 800);
}

TEST_F(MainWindowTest, ShowsTheFirstSellerByCodeWithItsItems) {
    WriteSellerFile("2-b-Beta.txt", "2*b*Beta*volať večer*s*1\n1*Kočík*25*a*s\n3*Bábika*2.5*b*p\n");
    WriteSellerFile("1-A-Alfa.txt", "1*A*Alfa*pozn.*p*0\n");
    WriteSellerFile("3-c-Cyril.txt", "3*c*Cyril*pozn.*d*2\n");
    Open();

    EXPECT_THAT(SellerComboTexts(), ElementsAre("A - Alfa", "b - Beta", "c - Cyril"));
    EXPECT_THAT(CheckoutSellerComboTexts(), ElementsAre("A - Alfa", "b - Beta", "c - Cyril"));
    EXPECT_EQ(Main().CurrentSellerId(), 1);
    EXPECT_EQ(Main().SellerCombo().get_active_row_number(), 0);
    EXPECT_TRUE(Boxes().ShownBoxes().empty());

    Main().SellerCombo().set_active(1);
    DrainEvents();
    EXPECT_EQ(Main().CurrentSellerId(), 2);
    const KramoDialogs::ItemsColumns& columns = Main().Columns();
    EXPECT_THAT(ItemColumn(columns.number), ElementsAre("1", "3"));
    EXPECT_THAT(ItemColumn(columns.name), ElementsAre("Kočík", "Bábika"));
    EXPECT_THAT(ItemColumn(columns.price), ElementsAre("25.00", "2.50"));
    EXPECT_THAT(ItemColumn(columns.category), ElementsAre("aa", "bb"));
    EXPECT_THAT(ItemColumn(columns.state), ElementsAre("Skladom", "Predane"));
    EXPECT_EQ(MainWidget<Gtk::Label>("label seller note").get_text(), "volať večer");
    EXPECT_EQ(MainWidget<Gtk::Label>("label seller type").get_text(), "Sympatizant");
    EXPECT_TRUE(MainWidget<Gtk::RadioButton>("radiobuttonSellerStateSelling").get_active());

    Main().SellerCombo().set_active(2);
    DrainEvents();
    EXPECT_TRUE(MainWidget<Gtk::RadioButton>("radiobuttonSellerStateReturned").get_active());
    EXPECT_EQ(MainWidget<Gtk::Label>("label seller type").get_text(), "Organizator");
}

TEST_F(MainWindowTest, FindTextPrefersAnExactCodeThenMarksNames) {
    WriteSellerFile("1-X-Abel.txt", "1*X*Abel*pozn.*p*0\n");
    WriteSellerFile("2-AB-Cabot.txt", "2*AB*Cabot*pozn.*p*0\n");
    Open();

    TypeFindText("ab");  // the code of Cabot, in another letter case
    EXPECT_EQ(Main().CurrentSellerId(), 2);

    TypeFindText("be");
    EXPECT_THAT(SellerComboTexts(), ElementsAre(">>  X - Abel", "AB - Cabot"));
    EXPECT_THAT(CheckoutSellerComboTexts(), ElementsAre(">>  X - Abel", "AB - Cabot"));
    EXPECT_EQ(Main().CurrentSellerId(), 1);

    TypeFindText("c");  // one character marks nothing
    EXPECT_THAT(SellerComboTexts(), ElementsAre("AB - Cabot", "X - Abel"));
    EXPECT_EQ(Main().CurrentSellerId(), 2);
}

// Enter in the find field: a label's barcode or a code and number typed there shows the item
// selected with its seller and changes nothing; a seller's code or name keeps working as typed.
TEST_F(MainWindowTest, AScanInTheFindFieldShowsTheItemWithItsSeller) {
    WriteSellerFile("1-AB-Anna.txt", "1*AB*Anna*pozn.*p*1\n1*Kabát*5*a*s\n");
    WriteSellerFile("2-CD-Cyril.txt", "2*CD*Cyril*pozn.*p*1\n1*Bunda*9*a*s\n2*Lopta*2*a*p\n");
    Open();
    KramoTest::Keyboard keys = ShowForScanning();

    keys.Scan("KR0000020002");
    EXPECT_EQ(Main().CurrentSellerId(), 2);
    EXPECT_THAT(SelectedRows(), ElementsAre(1));
    EXPECT_EQ(Main().ScanResultLabel().get_text(), "CD-2 Predane");
    EXPECT_EQ(ScanResultBackground(), Gdk::Color("black").to_string());
    EXPECT_TRUE(ReadyForTheNextScan());
    keys.Scan("ab 1");
    EXPECT_EQ(Main().CurrentSellerId(), 1);
    EXPECT_THAT(SelectedRows(), ElementsAre(0));
    EXPECT_EQ(Main().ScanResultLabel().get_text(), "AB-1 Skladom");

    keys.Scan("Cyril");  // a name: the seller found as typed, no scan
    EXPECT_EQ(Main().CurrentSellerId(), 2);
    EXPECT_EQ(Main().ScanResultLabel().get_text(), "");
    keys.Scan("ab");
    EXPECT_EQ(Main().CurrentSellerId(), 1);
    EXPECT_EQ(Main().ScanResultLabel().get_text(), "");
    keys.Scan("XY 9");
    EXPECT_EQ(Main().ScanResultLabel().get_text(), "neznámy predajca");
    EXPECT_EQ(ScanResultBackground(), Gdk::Color("red").to_string());
    EXPECT_TRUE(ReadyForTheNextScan());

    EXPECT_THAT(StoredStates(1), ElementsAre(Kramo::InStock));
    EXPECT_THAT(StoredStates(2), ElementsAre(Kramo::InStock, Kramo::Sold));
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());
}

// The hand-in and the return desks: each scan marks its item at once, on the seller's file too,
// or says in red why not; the item is shown selected in its new state and the field is ready
// for the next scan.
TEST_F(MainWindowTest, DesksMarkEachScannedItemOrSayWhyNot) {
    WriteSellerFile("1-AB-Anna.txt",
                    "1*AB*Anna*pozn.*p*0\n1*Kabát*5*a*o\n2*Čiapka*1*a*o\n"
                    "3*Šál*2*a*p\n");
    WriteSellerFile("2-CD-Cyril.txt",
                    "2*CD*Cyril*pozn.*p*1\n1*Bunda*9*a*s\n2*Lopta*2*a*p\n3*Vlak*3*a*o\n");
    Open();
    KramoTest::Keyboard keys = ShowForScanning();

    using Kramo::ScanDesk;
    const struct {
        ScanDesk desk;
        const char* scan;
        const char* line;
        bool refused;
        int sellerId;
        int row;
        const char* state;
    } scans[] = {
        {ScanDesk::HandIn, "AB1", "AB-1 prebraté", false, 1, 0, "Skladom"},
        {ScanDesk::HandIn, "ab 1", "AB-1 už je prebraté", true, 1, 0, "Skladom"},
        {ScanDesk::HandIn, "KR0000010003", "AB-3 už predané", true, 1, 2, "Predane"},
        {ScanDesk::HandIn, "CD/3", "CD-3 predajca už predáva", true, 2, 2, "Nezaradene"},
        {ScanDesk::Return, "KR0000020001", "CD-1 vrátené", false, 2, 0, "Vratene"},
        {ScanDesk::Return, "CD-1", "CD-1 už je vrátené", true, 2, 0, "Vratene"},
        {ScanDesk::Return, "cd2", "CD-2 už predané", true, 2, 1, "Predane"},
        {ScanDesk::Return, "AB 2", "AB-2 nie je prebraté", true, 1, 1, "Nezaradene"},
    };
    for (const auto& scan : scans) {
        SCOPED_TRACE(scan.scan);
        if (Main().ScanModeCombo().get_active_row_number() != static_cast<int>(scan.desk)) {
            Main().ScanModeCombo().set_active(static_cast<int>(scan.desk));
            DrainEvents();
            EXPECT_EQ(Main().Window().get_focus(), &Main().FindEntry());
        }
        keys.Scan(scan.scan);
        EXPECT_EQ(Main().ScanResultLabel().get_text(), scan.line);
        EXPECT_EQ(ScanResultBackground(), Gdk::Color(scan.refused ? "red" : "black").to_string());
        EXPECT_EQ(Main().CurrentSellerId(), scan.sellerId);
        EXPECT_THAT(SelectedRows(), ElementsAre(scan.row));
        EXPECT_EQ(ItemColumn(Main().Columns().state).at(static_cast<std::size_t>(scan.row)),
                  scan.state);
        EXPECT_TRUE(ReadyForTheNextScan());
    }
    // The selection dropped, as when another program takes it over: the next scan still
    // replaces the text.
    Main().FindEntry().select_region(0, 0);
    keys.Scan("CD-1");
    EXPECT_EQ(Main().ScanResultLabel().get_text(), "CD-1 už je vrátené");

    EXPECT_THAT(StoredStates(1), ElementsAre(Kramo::InStock, Kramo::Unassigned, Kramo::Sold));
    EXPECT_THAT(StoredStates(2), ElementsAre(Kramo::Returned, Kramo::Sold, Kramo::Unassigned));
    EXPECT_EQ(ReopenStore()->GetSellerItems(1).at(0).STATUS, Kramo::InStock);
    EXPECT_EQ(ReopenStore()->GetSellerItems(2).at(0).STATUS, Kramo::Returned);
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());
}

class RemovalTest : public MainWindowTest {
  protected:
    void SetUp() override {
        WriteSellerFile(
            "1-AB-Anna.txt",
            "1*AB*Anna*pozn.*p*0\n1*Kabát*5*a*s\n2*Čiapka*1*a*s\n3*Šál*2*a*s\n4*Rukavice*3*a*s\n");
        Open();
    }
};

TEST_F(RemovalTest, AsksWithTheCountAndRemovesOnYes) {
    SelectItemRows({0, 1, 3});
    Boxes().AnswerQuestion(true);
    Main().RemoveItemButton().clicked();
    DrainEvents();

    ASSERT_EQ(Boxes().ShownOfKind("question").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("question")[0].text,
              "Ste si istý že chcete odstrániť 3 ks tovaru?");
    EXPECT_EQ(Boxes().ShownOfKind("question")[0].detail, "Odstránenie tovaru");
    EXPECT_THAT(ItemColumn(Main().Columns().name), ElementsAre("Šál"));
    EXPECT_EQ(ReopenStore()->GetSellerItems(1).size(), 1u);  // the file follows
}

TEST_F(RemovalTest, NoKeepsEverything) {
    SelectItemRows({2});
    Boxes().AnswerQuestion(false);
    Main().RemoveItemButton().clicked();
    DrainEvents();
    EXPECT_EQ(Store().GetSellerItems(1).size(), 4u);
    EXPECT_EQ(ItemColumn(Main().Columns().name).size(), 4u);
}

// A seller goes with every item and the file after the question; a seller with a sold item
// stays and the box says why.
TEST_F(RemovalTest, SellerGoesWithItsItemsUnlessOneWasSold) {
    WriteSellerFile("2-CD-Cyril.txt", "2*CD*Cyril*pozn.*p*1\n1*Sveter*6*a*p\n2*Šál*1*a*s\n");
    ReplaceStore();
    Main().ReloadSellerList();
    TypeFindText("CD");
    Main().RemoveSellerButton().clicked();
    DrainEvents();
    ASSERT_EQ(Boxes().ShownOfKind("error").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("error")[0].detail,
              "Predajca má 1 kus(ov) predaného tovaru; jeho vyúčtovanie ešte čaká. Predajcu s "
              "predaným tovarom nemožno odstrániť.");
    EXPECT_TRUE(Boxes().ShownOfKind("question").empty());

    TypeFindText("AB");
    Boxes().AnswerQuestion(true);
    Main().RemoveSellerButton().clicked();
    DrainEvents();
    ASSERT_EQ(Boxes().ShownOfKind("question").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("question")[0].text,
              "Odstrániť predajcu AB – Anna so všetkým jeho tovarom (4 ks)? Odstránenie sa nedá "
              "vrátiť späť.");
    EXPECT_THAT(SellerComboTexts(), ElementsAre("CD - Cyril"));
    EXPECT_EQ(Main().CurrentSellerId(), 2);
    EXPECT_THAT(ReopenStore()->GetSellers(), testing::SizeIs(1));  // the file is gone
}

TEST_F(RemovalTest, NothingSelectedAsksNothing) {
    SelectItemRows({});
    Main().RemoveItemButton().clicked();
    DrainEvents();
    EXPECT_TRUE(Boxes().ShownBoxes().empty());
    EXPECT_EQ(Store().GetSellerItems(1).size(), 4u);
}

TEST_F(MainWindowTest, RemarkingASellingSellerReturnsOnlyItemsInStock) {
    WriteSellerFile(
        "1-AB-Anna.txt",
        "1*AB*Anna*pozn.*p*1\n1*Kabát*5*a*s\n2*Čiapka*1*a*p\n3*Šál*2*a*o\n4*Bunda*9*a*s\n");
    Open();
    Boxes().AnswerQuestion(true);
    Main().ToggleAcceptedButton().clicked();
    DrainEvents();

    ASSERT_EQ(Boxes().ShownOfKind("question").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("question")[0].text, "Ste si istý že chcete preznacit tovar?");
    EXPECT_EQ(Boxes().ShownOfKind("question")[0].detail, "Tovar sa označí na Vratene");
    EXPECT_THAT(StoredStates(1),
                ElementsAre(Kramo::Returned, Kramo::Sold, Kramo::Unassigned, Kramo::Returned));
    EXPECT_THAT(ItemColumn(Main().Columns().state),
                ElementsAre("Vratene", "Predane", "Nezaradene", "Vratene"));
}

TEST_F(MainWindowTest, RemarkingASellerNotYetSellingAcceptsUnassignedItems) {
    WriteSellerFile("1-AB-Anna.txt", "1*AB*Anna*pozn.*p*0\n1*Kabát*5*a*o\n2*Čiapka*1*a*n\n");
    Open();
    Boxes().AnswerQuestion(true);
    Main().ToggleAcceptedButton().clicked();
    DrainEvents();
    EXPECT_EQ(Boxes().ShownOfKind("question")[0].detail, "Tovar sa označí na Skladom");
    EXPECT_THAT(StoredStates(1), ElementsAre(Kramo::InStock, Kramo::ToTrace));
}

TEST_F(MainWindowTest, RemarkingAHandedBackSellerDoesNothingAndSaysNothing) {
    WriteSellerFile("1-AB-Anna.txt", "1*AB*Anna*pozn.*p*2\n1*Kabát*5*a*s\n");
    Open();
    Main().ToggleAcceptedButton().clicked();
    DrainEvents();
    EXPECT_TRUE(Boxes().ShownBoxes().empty());
    EXPECT_THAT(StoredStates(1), ElementsAre(Kramo::InStock));
}

TEST_F(MainWindowTest, CheckBoxTogglesByTheSellersState) {
    WriteSellerFile("1-AB-Anna.txt", "1*AB*Anna*pozn.*p*0\n1*Kabát*5*a*o\n2*Čiapka*1*a*p\n");
    WriteSellerFile("2-CD-Cyril.txt", "2*CD*Cyril*pozn.*p*1\n1*Bunda*9*a*s\n");
    Open();

    ToggleRow(0);  // not yet selling: unassigned -> in stock
    EXPECT_THAT(StoredStates(1), ElementsAre(Kramo::InStock, Kramo::Sold));
    EXPECT_THAT(ItemColumn(Main().Columns().state), ElementsAre("Skladom", "Predane"));
    ToggleRow(0);
    EXPECT_THAT(StoredStates(1), ElementsAre(Kramo::Unassigned, Kramo::Sold));
    ToggleRow(1);  // a sold item is left alone
    EXPECT_THAT(StoredStates(1), ElementsAre(Kramo::Unassigned, Kramo::Sold));

    Main().SellerCombo().set_active(1);
    DrainEvents();
    ToggleRow(0);  // selling: in stock -> returned
    EXPECT_THAT(StoredStates(2), ElementsAre(Kramo::Returned));
    EXPECT_THAT(ReopenStore()->GetSellerItems(2).at(0).STATUS, Kramo::Returned);

    ToggleRow(5);
    ASSERT_EQ(Boxes().ShownOfKind("error").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("error")[0].detail, "chyba");
}

TEST_F(MainWindowTest, SelectedItemIdsFollowTheRows) {
    WriteSellerFile("1-AB-Anna.txt", "1*AB*Anna*pozn.*p*0\n1*Kabát*5*a*o\n2*Čiapka*1*a*p\n");
    Open();
    SelectItemRows({1});
    const std::vector<Kramo::Item> items = Store().GetSellerItems(1);
    EXPECT_THAT(Main().RegisterGetSelectedItemIds(), ElementsAre(items[1].ID));
}

TEST_F(MainWindowTest, TargetFileQuestionCancelledGivesNoPath) {
    Open();
    KramoTest::BoxAnswerer user(GTK_RESPONSE_CANCEL);
    EXPECT_EQ(Main().AskTargetFile(DataDirectory(), "Statistika_12-04-21_18-05.pdf"), "");
    EXPECT_EQ(user.seen().title, "Cielovy subor");
}

}  // namespace
