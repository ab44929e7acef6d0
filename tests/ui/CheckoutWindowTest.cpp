#include <gdk/gdk.h>
#include <gdk/gdkkeysyms.h>
#include <glib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <gtkmm/button.h>
#include <gtkmm/comboboxentry.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/main.h>
#include <gtkmm/rc.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include <cctype>
#include <chrono>
#include <filesystem>

#include "Keyboard.h"
#include "WindowFixture.h"
#include "common/PdfReadBack.h"
#include "common/PostgresTestDatabase.h"
#include "storage/DataPostgresPqxx.h"
#include "support/UniqueKey.h"

namespace {

using KramoTest::Keyboard;
using testing::ContainsRegex;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

class CheckoutWindowTest : public KramoTest::WindowFixture {
  protected:
    void SetUp() override {
        WriteSellerFile("1-AB-Anna.txt",
                        "1*AB*Anna*pozn.*p*1\n1*Čierna bunda*10*a*s\n2*Kočík*2.5*b*s\n"
                        "3*Bábika*4*a*p\n");
        WriteSellerFile("2-CD-Cyril.txt",
                        "2*CD*Cyril*pozn.*p*1\n1*Modrá čiapka*3*a*s\n2*Hrnček*1*a*o\n"
                        "3*Sveter*6*a*v\n4*Lopta*2*a*d\n5*Šál*1.5*a*n\n");
        Open();
        Main().CheckoutButton().clicked();
        DrainEvents();
    }

    KramoDialogs::CheckoutWindow& Desk() { return Windows().Checkout(); }

    // Typed into the field and clicked as a person does: the field or button takes the cursor.
    void Type(Gtk::Entry& entry, const std::string& text) {
        entry.grab_focus();
        entry.set_text(text);
        DrainEvents();
    }
    void Choose(const std::string& code, const std::string& number) {
        Type(Desk().SellerEntry(), code);
        Type(Desk().ItemEntry(), number);
    }
    void Click(Gtk::Button& button) {
        button.grab_focus();
        button.clicked();
        DrainEvents();
    }

    std::vector<std::string> Rows(const Gtk::TreeModelColumn<Glib::ustring>& column) {
        std::vector<std::string> texts;
        for (const Gtk::TreeModel::Row& row : Desk().PurchaseRows()->children()) {
            texts.push_back(Glib::ustring(row[column]).raw());
        }
        return texts;
    }
    std::vector<std::string> ItemComboTexts() {
        std::vector<std::string> texts;
        for (const Gtk::TreeModel::Row& row : Desk().ItemCombo().get_model()->children()) {
            Glib::ustring text;
            row.get_value(0, text);
            texts.push_back(text.raw());
        }
        return texts;
    }
    int32_t StoredState(int sellerId, int number) {
        return ReopenStore()->GetSellerItemByNumber(sellerId, number).STATUS;
    }
    // The colour the program set on the price label, as "#rrrrggggbbbb".
    std::string PriceBackground() {
        return Desk().PriceLabel().get_modifier_style()->get_bg(Gtk::STATE_NORMAL).to_string();
    }
    bool CursorInScanField() { return Desk().Window().get_focus() == &Desk().ScanEntry(); }
    std::vector<std::string> Receipts() {
        std::vector<std::string> receipts;
        for (const auto& entry :
             std::filesystem::directory_iterator(ProgramDirectory() + "documents")) {
            if (entry.path().extension() == ".pdf") {
                receipts.push_back(entry.path().string());
            }
        }
        std::sort(receipts.begin(), receipts.end());
        return receipts;
    }
    std::string SearchHitState(const std::string& query) {
        Type(Desk().Search().TextEntry(), query);
        EXPECT_EQ(Desk().Search().Hits().size(), 1u) << query;
        return Desk().Search().Hits().empty()
                   ? ""
                   : Kramo::ItemStatusDisplayName(Desk().Search().Hits()[0].STATUS);
    }
};

TEST_F(CheckoutWindowTest, AWholePurchaseAsACashierMakesIt) {
    EXPECT_TRUE(Desk().Window().get_visible());
    EXPECT_TRUE(CursorInScanField());
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 0.00");  // as the description has it

    Choose("ab", "1");  // the code in another letter case
    EXPECT_EQ(Desk().SellerCombo().get_active_row_number(), 0);
    EXPECT_THAT(ItemComboTexts(), ElementsAre("1 - Čierna bunda", "2 - Kočík", "3 - Bábika"));
    EXPECT_EQ(Desk().PriceLabel().get_text(), "10.00 Skladom");
    EXPECT_EQ(PriceBackground(), Gdk::Color("black").to_string());
    Click(Desk().AddButton());
    EXPECT_EQ(Desk().SellerEntry().get_text(), "");
    EXPECT_TRUE(CursorInScanField());
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 10.00 eur");

    Choose("AB", "1");  // the same item again: one row, no question
    Click(Desk().AddButton());
    EXPECT_THAT(Rows(Desk().Columns().number), ElementsAre("AB - 1"));

    Choose("AB", "3");  // sold already: asked, and no adds nothing
    EXPECT_EQ(Desk().PriceLabel().get_text(), "4.00 Predane");
    EXPECT_EQ(PriceBackground(), Gdk::Color("red").to_string());
    Boxes().AnswerQuestion(false);
    Click(Desk().AddButton());
    ASSERT_EQ(Boxes().ShownOfKind("question").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("question")[0].text,
              "Tento tovar nieje označený že je na sklade");
    EXPECT_EQ(Boxes().ShownOfKind("question")[0].detail, "Chcete ho naozaj predať?");
    EXPECT_THAT(Rows(Desk().Columns().number), ElementsAre("AB - 1"));
    EXPECT_TRUE(CursorInScanField());

    Type(Desk().Search().TextEntry(), "modrá ČIAP");
    EXPECT_EQ(Desk().Search().FoundLabel().get_text(), "Nájdených: 1");
    Desk().Search().Box().set_active(0);  // take the hit
    DrainEvents();
    EXPECT_EQ(Desk().SellerEntry().get_text(), "CD");
    EXPECT_EQ(Desk().ItemEntry().get_text(), "1");
    EXPECT_EQ(Desk().PriceLabel().get_text(), "3.00 Skladom");
    Click(Desk().AddButton());

    Choose("ab", "2");
    Click(Desk().AddButton());
    EXPECT_THAT(Rows(Desk().Columns().number), ElementsAre("AB - 1", "CD - 1", "AB - 2"));
    EXPECT_THAT(Rows(Desk().Columns().category), ElementsAre("a", "a", "b"));
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 15.50 eur");

    Gtk::TreeModel::Path first;
    first.push_back(0);
    Desk().PurchaseView().get_selection()->select(first);
    Click(Desk().RemoveButton());
    EXPECT_THAT(Rows(Desk().Columns().name), ElementsAre("Modrá čiapka", "Kočík"));
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 5.50 eur");
    EXPECT_TRUE(CursorInScanField());

    Boxes().AnswerQuestion(true);
    Click(Desk().FinishButton());
    EXPECT_EQ(Boxes().ShownOfKind("question").back().text, "Dokončiť nákup?");
    EXPECT_EQ(Boxes().ShownOfKind("question").back().detail, "");
    EXPECT_THAT(Rows(Desk().Columns().name), IsEmpty());
    EXPECT_THAT(Desk().CurrentPurchase().ItemIds(), IsEmpty());
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 0.00 eur (Predchádzajúci nákup: 5.50 eur)");
    EXPECT_THAT(Boxes().ShownOfKind("error"), IsEmpty());
    EXPECT_TRUE(CursorInScanField());

    // Exactly the listed items are sold, in the store and in the files.
    EXPECT_EQ(StoredState(1, 1), Kramo::InStock);
    EXPECT_EQ(StoredState(1, 2), Kramo::Sold);
    EXPECT_EQ(StoredState(2, 1), Kramo::Sold);
    std::vector<std::filesystem::path> receipts;
    for (const auto& entry :
         std::filesystem::directory_iterator(ProgramDirectory() + "documents")) {
        receipts.push_back(entry.path());
    }
    ASSERT_EQ(receipts.size(), 1u);
    const std::string receipt = KramoTest::PdfReadBack(receipts[0].string()).Text();
    EXPECT_THAT(receipt, HasSubstr("Modrá čiapka"));
    EXPECT_THAT(receipt, HasSubstr("Kočík"));
    EXPECT_THAT(receipt, Not(HasSubstr("Čierna bunda")));
    EXPECT_THAT(receipt, ContainsRegex("Suma +5\\.50"));

    // Back in the main window, the seller's items show what was sold.
    Click(Desk().BackButton());
    EXPECT_EQ(Main().CurrentSellerId(), 1);
    EXPECT_THAT(ItemColumn(Main().Columns().state), ElementsAre("Skladom", "Predane", "Predane"));
    EXPECT_EQ(Main().SellerCombo().get_active_row_number(), 0);
}

TEST_F(CheckoutWindowTest, UnknownCodeOrNumberChoosesNothing) {
    Choose("ab", "2");
    EXPECT_NE(Desk().CheckoutItemId(), -1);
    Type(Desk().ItemEntry(), "9");  // the seller has no 9: the label keeps its text
    EXPECT_EQ(Desk().CheckoutItemId(), -1);
    EXPECT_EQ(Desk().ItemCombo().get_active_row_number(), -1);
    EXPECT_EQ(Desk().PriceLabel().get_text(), "2.50 Skladom");
    Click(Desk().AddButton());
    EXPECT_THAT(Desk().CurrentPurchase().ItemIds(), IsEmpty());

    Type(Desk().SellerEntry(), "xy");
    EXPECT_EQ(Desk().CheckoutSellerId(), -1);
    EXPECT_EQ(Desk().SellerCombo().get_active_row_number(), -1);
    EXPECT_THAT(ItemComboTexts(), IsEmpty());

    // Back to the same seller row: its items are listed again.
    Type(Desk().SellerEntry(), "ab");
    Type(Desk().SellerEntry(), "AB");
    EXPECT_EQ(ItemComboTexts().size(), 3u);
}

// An item removed at another desk meanwhile is named; it leaves the purchase only when the
// cashier says so.
TEST_F(CheckoutWindowTest, ItemGoneMeanwhileIsNamedAndTakenOutOnlyOnTheCashiersWord) {
    Choose("ab", "2");
    Click(Desk().AddButton());
    Store().RemoveItem(Store().GetSellerItemByNumber(1, 2).ID);  // gone meanwhile
    Boxes().AnswerQuestion(true);                                // "Dokončiť nákup?"
    Click(Desk().FinishButton());                                // not taken out: no answer is no
    EXPECT_THAT(Boxes().ShownOfKind("question").back().text,
                testing::EndsWith("tovar:\nAB-2  Kočík  2.50 eur\n\nOdstrániť ho z nákupu?"));
    EXPECT_TRUE(Boxes().ShownOfKind("error").empty());
    EXPECT_EQ(Desk().CurrentPurchase().ItemIds().size(), 1u);
    EXPECT_EQ(Rows(Desk().Columns().name).size(), 1u);
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 2.50 eur");
    EXPECT_TRUE(CursorInScanField());

    Boxes().AnswerQuestion(true);
    Boxes().AnswerQuestion(true);
    Click(Desk().FinishButton());
    EXPECT_THAT(Desk().CurrentPurchase().ItemIds(), IsEmpty());
    EXPECT_THAT(Rows(Desk().Columns().name), IsEmpty());
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 0.00 eur");
    const std::size_t asked = Boxes().ShownOfKind("question").size();
    Click(Desk().FinishButton());  // an empty purchase is not finished
    EXPECT_EQ(Boxes().ShownOfKind("question").size(), asked);
}

TEST_F(CheckoutWindowTest, LongItemTextsAreCutAtACharacter) {
    Click(Desk().BackButton());
    EXPECT_FALSE(Desk().Window().get_visible());
    // 63 ASCII bytes then two-byte letters: byte 70 falls inside one.
    WriteSellerFile("3-EF-Eva.txt",
                    "3*EF*Eva*pozn.*p*1\n7*" + std::string(59, 'x') + "ščťžýáíé*3*a*s\n");
    ReplaceStore();
    Click(Main().CheckoutButton());
    Choose("ef", "7");
    const std::vector<std::string> texts = ItemComboTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "7 - " + std::string(59, 'x') + "ščť");
    EXPECT_TRUE(g_utf8_validate(texts[0].c_str(), -1, nullptr));
}

TEST_F(CheckoutWindowTest, SearchCountsAtMostSixtyAndAPlus) {
    std::string items = "3*EF*Eva*pozn.*p*1\n";
    for (int i = 1; i <= 70; ++i) {
        items += std::to_string(i) + "*Lopta*1*a*s\n";
    }
    WriteSellerFile("3-EF-Eva.txt", items);
    ReplaceStore();
    Click(Desk().BackButton());
    Click(Main().CheckoutButton());  // opening takes a fresh snapshot
    Type(Desk().Search().TextEntry(), "lopta");
    EXPECT_EQ(Desk().Search().FoundLabel().get_text(), "Nájdených: 60 +");
    EXPECT_EQ(Desk().Search().Hits().size(), 61u);
    EXPECT_EQ(Desk().Search().Box().get_model()->children().size(), 61u);
    Type(Desk().Search().TextEntry(), "lop");
    EXPECT_EQ(Desk().Search().FoundLabel().get_text(), "Nájdených: 0");
    EXPECT_TRUE(Desk().Search().Hits().empty());

    Type(Desk().Search().TextEntry(), "lopta");
    Click(Desk().BackButton());
    Click(Main().CheckoutButton());  // opening empties the search
    EXPECT_EQ(Desk().Search().TextEntry().get_text(), "");
    EXPECT_EQ(Desk().Search().FoundLabel().get_text(), "");
    EXPECT_TRUE(Desk().Search().Hits().empty());
}

// Two desks on one database: what the other sells leaves this desk's offer within a second,
// in the search, in the purchase and in the price line, without reopening the checkout.
TEST_F(CheckoutWindowTest, AnItemAnotherDeskSoldIsNoLongerOffered) {
    KramoTest::PostgresTestDatabase database;
    database.Execute(
        "INSERT INTO sellers (\"SHORT_CODE\", \"NAME\", \"SELLER_CATEGORY_ID\", \"MODIFIED\", "
        "\"STATUS\") VALUES ('EF', 'Eva', 11, now(), 1);"
        "INSERT INTO items (\"NAME\", \"SELLER_ID\", \"PRICE\", \"ITEM_CATEGORY_ID\", "
        "\"NUMBER\", \"STATUS\", \"MODIFIED\") VALUES ('Trojkolka', 1, 12, 2, 1, 1, now())");
    const auto openDesk = [&database] {
        std::string saleName;
        return std::make_unique<Kramo::DataPostgresPqxx>(
            database.Connection(), saleName,
            [](const std::exception& failure) { ADD_FAILURE() << failure.what(); });
    };
    Register().ReplaceStore(openDesk());
    const std::unique_ptr<Kramo::DataPostgresPqxx> other = openDesk();
    Click(Desk().BackButton());
    Click(Main().CheckoutButton());
    Choose("EF", "1");
    Click(Desk().AddButton());
    EXPECT_EQ(SearchHitState("trojkolka"), "Skladom");
    Main().ShowSeller(Store().GetSeller(1));
    SelectItemRows({0});

    Kramo::SaleRecord sale;
    sale.key = Kramo::NewUniqueKey();
    sale.itemIds = {1};
    sale.title = "Sale";
    other->StoreSale(sale);
    const gint64 end = g_get_monotonic_time() + 1000 * 1000;
    while (Rows(Desk().Columns().state) != std::vector<std::string>{"Predane"} &&
           g_get_monotonic_time() < end) {
        DrainEventsFor(10);
    }
    EXPECT_THAT(Rows(Desk().Columns().state), ElementsAre("Predane"));
    ASSERT_EQ(Desk().Search().Hits().size(), 1u);
    EXPECT_EQ(Desk().Search().Hits()[0].STATUS, Kramo::Sold);
    EXPECT_EQ(Desk().PriceLabel().get_text(), "EF - 1 predala iná pokladňa");
    // The main window behind shows the seller's items as they are, the selection kept.
    EXPECT_THAT(ItemColumn(Main().Columns().state), ElementsAre("Predane"));
    EXPECT_EQ(Main().ItemView().get_selection()->count_selected_rows(), 1);
    Register().ReplaceStore(ReopenStore());  // before the database goes
}

// Presses a key on the checkout window as the keyboard would.
void PressKey(Gtk::Window& window, guint keyval) {
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = static_cast<GdkWindow*>(g_object_ref(window.get_window()->gobj()));
    event->key.keyval = keyval;
    gtk_main_do_event(event);
    gdk_event_free(event);
}

TEST_F(CheckoutWindowTest, TabFollowsTheCashiersOrderAcrossTheWindow) {
    Gtk::Window& window = Desk().Window();
    // "Predať aj tak" and the storno cannot be used now: Tab passes them.
    const std::vector<Gtk::Widget*> expected = {&Desk().AmountEntry(),  &Desk().SellerEntry(),
                                                &Desk().ItemEntry(),    &Desk().AddButton(),
                                                &Desk().FinishButton(), &Desk().SellerCombo()};
    for (Gtk::Widget* widget : expected) {
        PressKey(window, GDK_Tab);
        EXPECT_TRUE(window.get_focus() == widget || window.get_focus()->is_ancestor(*widget));
    }
    PressKey(window, GDK_ISO_Left_Tab);
    EXPECT_EQ(window.get_focus(), &Desk().FinishButton());
    Desk().BackButton().grab_focus();
    PressKey(window, GDK_Tab);  // round to the start
    EXPECT_TRUE(CursorInScanField());
    Desk().Search().TextEntry().grab_focus();
    PressKey(window, GDK_ISO_Left_Tab);
    // The item combo is empty, so its button cannot take the focus: the seller combo's does.
    EXPECT_TRUE(window.get_focus()->is_ancestor(Desk().SellerCombo()));
    Desk().RemoveButton().grab_focus();
    PressKey(window, GDK_ISO_Left_Tab);  // the purchase list is on the way
    EXPECT_EQ(window.get_focus(), &Desk().PurchaseView());
}

TEST_F(CheckoutWindowTest, ClosingTheWindowLeavesTheCheckout) {
    GdkEvent* event = gdk_event_new(GDK_DELETE);
    event->any.window = static_cast<GdkWindow*>(g_object_ref(Desk().Window().get_window()->gobj()));
    gtk_main_do_event(event);
    gdk_event_free(event);
    DrainEvents();
    EXPECT_FALSE(Desk().Window().get_visible());
    Click(Main().CheckoutButton());  // the same window opens again
    EXPECT_TRUE(Desk().Window().get_visible());
}

// Scans and refusals through the scan field. Each refusal leaves the purchase as it was, says
// why in red where the price stood, and keeps the text selected for the next scan.
TEST_F(CheckoutWindowTest, TheScanFieldAddsAtOnceOrSaysWhyNot) {
    Keyboard keys(Desk().Window());
    keys.Scan("KR0000010002");
    EXPECT_THAT(Rows(Desk().Columns().number), ElementsAre("AB - 2"));
    EXPECT_EQ(Desk().PriceLabel().get_text(), "2.50 Skladom");
    EXPECT_EQ(PriceBackground(), Gdk::Color("black").to_string());
    EXPECT_EQ(Desk().ScanEntry().get_text(), "");
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 2.50 eur");
    EXPECT_TRUE(CursorInScanField());

    const struct {
        const char* scan;
        const char* shown;
        bool overrulable;
    } refusals[] = {
        {"KR0000010002", "2.50 už je v nákupe", false},
        {"ab3", "4.00 už predané", true},
        {"CD 2", "1.00 nie je prebraté", true},
        {"cd-3", "6.00 vrátené predajcovi", true},
        {"CD/4", "2.00 darované", true},
        {"CD5", "1.50 treba dohľadať", true},
        {"AB 9", "neznámy tovar", false},
        {"XY1", "neznámy predajca", false},
        {"KR0000990001", "neznámy predajca", false},
        {"bunda", "neznámy predajca", false},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.scan);
        keys.Scan(refusal.scan);
        EXPECT_EQ(Desk().PriceLabel().get_text(), refusal.shown);
        EXPECT_EQ(PriceBackground(), Gdk::Color("red").to_string());
        EXPECT_EQ(Desk().CurrentPurchase().ItemIds().size(), 1u);
        EXPECT_EQ(Desk().ScanEntry().get_text(), refusal.scan);
        EXPECT_TRUE(SelectedForTheNextScan(Desk().ScanEntry()));
        EXPECT_EQ(Desk().SellAnywayButton().is_sensitive(), refusal.overrulable);
        EXPECT_TRUE(CursorInScanField());
    }
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 2.50 eur");
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());  // no box stops the scanning

    // The selection dropped, as when another program takes it over: the next scan still
    // replaces the refused text.
    Desk().ScanEntry().select_region(0, 0);
    keys.Scan("AB1");
    EXPECT_THAT(Rows(Desk().Columns().number), ElementsAre("AB - 2", "AB - 1"));
}

// Selling a refused item needs a second, deliberate step: Enter alone refuses it again.
TEST_F(CheckoutWindowTest, ARefusedItemIsSoldAnywayOnlyByItsOwnButton) {
    Keyboard keys(Desk().Window());
    keys.Scan("AB 3");
    keys.Press(GDK_Return);
    EXPECT_THAT(Desk().CurrentPurchase().ItemIds(), IsEmpty());
    EXPECT_EQ(Desk().PriceLabel().get_text(), "4.00 už predané");
    ASSERT_TRUE(Desk().SellAnywayButton().is_sensitive());
    EXPECT_FALSE(Desk().SellAnywayButton().has_default());

    keys.Press(GDK_a, GDK_MOD1_MASK);  // "Predať _aj tak"
    Keyboard::WaitForButton();
    EXPECT_THAT(Rows(Desk().Columns().number), ElementsAre("AB - 3"));
    EXPECT_THAT(Rows(Desk().Columns().state), ElementsAre("Predane"));
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 4.00 eur");
    EXPECT_FALSE(Desk().SellAnywayButton().is_sensitive());
    EXPECT_TRUE(CursorInScanField());
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());

    // The chance passes with the next character typed.
    keys.Scan("CD2");
    ASSERT_TRUE(Desk().SellAnywayButton().is_sensitive());
    keys.Press(GDK_x);
    EXPECT_FALSE(Desk().SellAnywayButton().is_sensitive());
    Click(Desk().SellAnywayButton());
    EXPECT_EQ(Desk().CurrentPurchase().ItemIds().size(), 1u);
}

// Three labels scanned, Enter to pay, Enter for the exact amount: sold, with a receipt, and the
// next customer starts in the scan field.
TEST_F(CheckoutWindowTest, AScannerSellsThreeItemsInThreeScansAndTwoKeys) {
    EXPECT_EQ(SearchHitState("čierna bunda"), "Skladom");
    Desk().Search().Clear();
    Desk().ScanEntry().grab_focus();
    Keyboard keys(Desk().Window());
    keys.Scan("KR0000010001");
    keys.Scan("KR0000010002");
    keys.Scan("KR0000020001");
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 15.50 eur");
    keys.Press(GDK_Return);
    EXPECT_EQ(Desk().Window().get_focus(), &Desk().AmountEntry());
    keys.Press(GDK_Return);
    EXPECT_EQ(keys.Presses(), 2);

    EXPECT_THAT(Desk().CurrentPurchase().ItemIds(), IsEmpty());
    EXPECT_EQ(Desk().SumLabel().get_text(),
              "Suma: 0.00 eur (Predchádzajúci nákup: 15.50 eur, vydať 0.00 eur)");
    EXPECT_EQ(Desk().ChangeLabel().get_text(), "Vydať: 0.00 eur");
    EXPECT_EQ(Desk().PriceLabel().get_text(), "");
    EXPECT_TRUE(CursorInScanField());
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());  // the payment step is the confirmation
    EXPECT_EQ(StoredState(1, 1), Kramo::Sold);
    EXPECT_EQ(StoredState(1, 2), Kramo::Sold);
    EXPECT_EQ(StoredState(2, 1), Kramo::Sold);
    ASSERT_EQ(Receipts().size(), 1u);
    const std::string receipt = KramoTest::PdfReadBack(Receipts()[0]).Text();
    EXPECT_THAT(receipt, ContainsRegex("Prijaté +15\\.50"));
    EXPECT_THAT(receipt, ContainsRegex("Vydať +0\\.00"));
    // The search no longer offers the items as in stock.
    EXPECT_EQ(SearchHitState("čierna bunda"), "Predane");
}

TEST_F(CheckoutWindowTest, ThePaymentShowsTheChangeAndRefusesTooLittle) {
    Keyboard keys(Desk().Window());
    keys.Scan("ab2");
    keys.Scan("ab1");
    keys.Press(GDK_Return);
    keys.Type("12");
    EXPECT_EQ(Desk().ChangeLabel().get_text(), "Chýba: 0.50 eur");
    keys.Press(GDK_Return);  // too little: nothing is sold
    EXPECT_EQ(Desk().CurrentPurchase().ItemIds().size(), 2u);
    EXPECT_EQ(Desk().Window().get_focus(), &Desk().AmountEntry());
    keys.Press(GDK_Escape);  // back to scanning, the purchase as it was
    EXPECT_TRUE(CursorInScanField());
    EXPECT_EQ(Desk().AmountEntry().get_text(), "");
    keys.Press(GDK_Delete);  // the last one was scanned by mistake
    EXPECT_THAT(Rows(Desk().Columns().number), ElementsAre("AB - 2"));

    keys.Press(GDK_Return);
    keys.Type("x");
    EXPECT_EQ(Desk().ChangeLabel().get_text(), "Neplatná suma");
    keys.Press(GDK_BackSpace);
    keys.Type("20,5");
    EXPECT_EQ(Desk().ChangeLabel().get_text(), "Vydať: 18.00 eur");
    keys.Press(GDK_Return);
    EXPECT_EQ(Desk().SumLabel().get_text(),
              "Suma: 0.00 eur (Predchádzajúci nákup: 2.50 eur, vydať 18.00 eur)");
    EXPECT_EQ(Desk().ChangeLabel().get_text(), "Vydať: 18.00 eur");
    EXPECT_TRUE(CursorInScanField());
    EXPECT_EQ(StoredState(1, 2), Kramo::Sold);
    EXPECT_EQ(StoredState(1, 1), Kramo::InStock);
    ASSERT_EQ(Receipts().size(), 1u);
    const std::string receipt = KramoTest::PdfReadBack(Receipts()[0]).Text();
    EXPECT_THAT(receipt, ContainsRegex("Prijaté +20\\.50"));
    EXPECT_THAT(receipt, ContainsRegex("Vydať +18\\.00"));

    // The finish button takes the amount typed too, after its question.
    keys.Scan("ab1");
    Type(Desk().AmountEntry(), "50");
    Boxes().AnswerQuestion(true);
    Click(Desk().FinishButton());
    EXPECT_EQ(Desk().SumLabel().get_text(),
              "Suma: 0.00 eur (Predchádzajúci nákup: 10.00 eur, vydať 40.00 eur)");
    EXPECT_TRUE(CursorInScanField());
}

TEST_F(CheckoutWindowTest, DeleteTakesLinesBackAndStornoTakesBackTheLastPurchase) {
    Keyboard keys(Desk().Window());
    keys.Scan("AB1");
    keys.Scan("AB2");
    keys.Scan("CD1");
    keys.Press(GDK_Delete);  // on the empty scan field: the last line
    EXPECT_THAT(Rows(Desk().Columns().number), ElementsAre("AB - 1", "AB - 2"));
    Gtk::TreeModel::Path first;
    first.push_back(0);
    Desk().PurchaseView().get_selection()->select(first);
    Desk().PurchaseView().grab_focus();
    keys.Press(GDK_Delete);  // in the list: the chosen line
    EXPECT_THAT(Rows(Desk().Columns().number), ElementsAre("AB - 2"));
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 2.50 eur");
    EXPECT_TRUE(CursorInScanField());
    keys.Type("A");
    keys.Press(GDK_Delete);  // with text in the field, Delete only edits it
    EXPECT_EQ(Desk().CurrentPurchase().ItemIds().size(), 1u);
    keys.Press(GDK_BackSpace);

    EXPECT_FALSE(Desk().StornoButton().is_sensitive());
    keys.Press(GDK_Return);
    keys.Press(GDK_Return);
    EXPECT_EQ(StoredState(1, 2), Kramo::Sold);

    keys.Scan("AB1");  // the next customer is at the desk already
    Boxes().AnswerQuestion(true);
    Click(Desk().StornoButton());
    ASSERT_EQ(Boxes().ShownOfKind("question").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("question")[0].text,
              "Stornovať posledný nákup (1 ks, 2.50 eur)?");
    EXPECT_EQ(StoredState(1, 2), Kramo::InStock);
    EXPECT_FALSE(Desk().StornoButton().is_sensitive());
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 10.00 eur (Predchádzajúci nákup stornovaný)");
    EXPECT_THAT(Rows(Desk().Columns().number), ElementsAre("AB - 1"));
    EXPECT_TRUE(CursorInScanField());
    EXPECT_EQ(SearchHitState("Kočík"), "Skladom");
}

}  // namespace
