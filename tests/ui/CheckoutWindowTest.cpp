#include <gdk/gdkkeysyms.h>
#include <glib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <gtkmm/button.h>
#include <gtkmm/comboboxentry.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/rc.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include <filesystem>

#include "WindowFixture.h"
#include "common/PdfReadBack.h"

namespace {

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
        WriteSellerFile("2-CD-Cyril.txt", "2*CD*Cyril*pozn.*p*1\n1*Modrá čiapka*3*a*s\n");
        Open();
        Main().CheckoutButton().clicked();
        DrainEvents();
    }

    KramoDialogs::CheckoutWindow& Desk() { return Windows().Checkout(); }

    void Type(Gtk::Entry& entry, const std::string& text) {
        entry.set_text(text);
        DrainEvents();
    }
    void Choose(const std::string& code, const std::string& number) {
        Type(Desk().SellerEntry(), code);
        Type(Desk().ItemEntry(), number);
    }
    void Click(Gtk::Button& button) {
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
};

TEST_F(CheckoutWindowTest, AWholePurchaseAsACashierMakesIt) {
    EXPECT_TRUE(Desk().Window().get_visible());
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 0.00");  // as the description has it

    Choose("ab", "1");  // the code in another letter case
    EXPECT_EQ(Desk().SellerCombo().get_active_row_number(), 0);
    EXPECT_THAT(ItemComboTexts(), ElementsAre("1 - Čierna bunda", "2 - Kočík", "3 - Bábika"));
    EXPECT_EQ(Desk().PriceLabel().get_text(), "10.00 Skladom");
    EXPECT_EQ(PriceBackground(), Gdk::Color("black").to_string());
    Click(Desk().AddButton());
    EXPECT_EQ(Desk().SellerEntry().get_text(), "");
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

    Boxes().AnswerQuestion(true);
    Click(Desk().FinishButton());
    EXPECT_EQ(Boxes().ShownOfKind("question").back().text, "Dokončiť nákup?");
    EXPECT_EQ(Boxes().ShownOfKind("question").back().detail, "");
    EXPECT_THAT(Rows(Desk().Columns().name), IsEmpty());
    EXPECT_THAT(Desk().CurrentPurchase().ItemIds(), IsEmpty());
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 0.00 eur (Predchádzajúci nákup: 5.50 eur)");
    EXPECT_THAT(Boxes().ShownOfKind("error"), IsEmpty());

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

TEST_F(CheckoutWindowTest, FailedFinishIsReportedAndKeepsThePurchase) {
    Choose("ab", "2");
    Click(Desk().AddButton());
    Store().RemoveItem(Store().GetSellerItemByNumber(1, 2).ID);  // gone meanwhile
    Boxes().AnswerQuestion(true);
    Click(Desk().FinishButton());
    ASSERT_EQ(Boxes().ShownOfKind("error").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("error")[0].text, "Program nemohol vykonat operaciu.");
    EXPECT_EQ(Boxes().ShownOfKind("error")[0].detail, "Wrong Item");
    EXPECT_EQ(Desk().CurrentPurchase().ItemIds().size(), 1u);
    EXPECT_EQ(Rows(Desk().Columns().name).size(), 1u);
    EXPECT_EQ(Desk().SumLabel().get_text(), "Suma: 2.50 eur");

    Click(Desk().FinishButton());  // nothing else to finish once the row is gone
    Gtk::TreeModel::Path first;
    first.push_back(0);
    Desk().PurchaseView().get_selection()->select(first);
    Click(Desk().RemoveButton());
    EXPECT_THAT(Desk().CurrentPurchase().ItemIds(), IsEmpty());
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
    Desk().SellerEntry().grab_focus();
    const std::vector<Gtk::Widget*> expected = {&Desk().ItemEntry(), &Desk().AddButton(),
                                                &Desk().FinishButton(), &Desk().SellerCombo()};
    for (Gtk::Widget* widget : expected) {
        PressKey(window, GDK_Tab);
        EXPECT_TRUE(window.get_focus() == widget || window.get_focus()->is_ancestor(*widget));
    }
    PressKey(window, GDK_ISO_Left_Tab);
    EXPECT_EQ(window.get_focus(), &Desk().FinishButton());
    Desk().BackButton().grab_focus();
    PressKey(window, GDK_Tab);  // round to the start
    EXPECT_EQ(window.get_focus(), &Desk().SellerEntry());
    Desk().Search().TextEntry().grab_focus();
    PressKey(window, GDK_ISO_Left_Tab);
    // The item combo is empty, so its button cannot take the focus: the seller combo's does.
    EXPECT_TRUE(window.get_focus()->is_ancestor(Desk().SellerCombo()));
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

}  // namespace
