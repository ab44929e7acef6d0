#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/radiobutton.h>
#include <gtkmm/rc.h>
#include <gtkmm/window.h>

#include <utility>

#include "WindowFixture.h"
#include "storage/CachedDataTextfile.h"

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// The desk's next write meets what another desk did a moment before: the item it writes was
// sold there at another price, or removed; the code of the seller it adds was taken.
class BusyStore : public Kramo::CachedDataTextfile {
  public:
    using CachedDataTextfile::CachedDataTextfile;
    void ModifyItem(int itemId, const Kramo::Item& item) override {
        if (std::exchange(changeItem, false)) {
            Kramo::Item other = GetItem(itemId);
            other.PRICE = 9.0;
            other.STATUS = Kramo::Sold;
            CachedDataTextfile::ModifyItem(itemId, other);
            throw Kramo::RecordChangedException();
        }
        if (std::exchange(removeItem, false)) {
            RemoveItem(itemId);
            throw Kramo::WrongItemException();
        }
        CachedDataTextfile::ModifyItem(itemId, item);
    }
    int AddSeller(Kramo::Seller& seller) override {
        if (std::exchange(takeCode, false)) {
            Kramo::Seller other = seller;
            other.NAME = "Iná pokladňa";
            CachedDataTextfile::AddSeller(other);
            throw Kramo::SellerCodeTakenException(seller.SHORT_CODE);
        }
        return CachedDataTextfile::AddSeller(seller);
    }

    bool changeItem = false;
    bool removeItem = false;
    bool takeCode = false;
};

class EditDialogsTest : public KramoTest::WindowFixture {
  protected:
    void SetUp() override {
        WriteSellerFile("1-AB-Anna.txt",
                        "1*AB*Anna*pozn.*p*0\n1*Kabát*5*a*s\n2*Kočík*2.5*b*s\n3*Šál*1*a*s\n");
        Open();
    }

    KramoDialogs::ItemDialog& ItemBox() { return Windows().Items(); }
    KramoDialogs::SellerDialog& SellerBox() { return Windows().Sellers(); }

    void Click(Gtk::Button& button) {
        button.clicked();
        DrainEvents();
    }
    bool Marked(Gtk::Widget& field) {
        return field.get_modifier_style()->get_base(Gtk::STATE_NORMAL).to_string() ==
               Gdk::Color("pink").to_string();
    }
    BusyStore& UseBusyStore() {
        auto owned = std::make_unique<BusyStore>(DataDirectory());
        BusyStore& store = *owned;
        Register().ReplaceStore(std::move(owned));
        return store;
    }
    std::vector<std::string> ItemFields() {
        return {ItemBox().NameEntry().get_text(), ItemBox().NumberEntry().get_text(),
                ItemBox().PriceEntry().get_text()};
    }
};

TEST_F(EditDialogsTest, NewItemIsCorrectedFirstAndSavedOnTheSecondConfirmation) {
    Click(Main().AddItemButton());
    EXPECT_TRUE(ItemBox().Window().get_visible());
    EXPECT_THAT(ItemFields(), ElementsAre("Názov", "-1", "-1.00"));
    EXPECT_EQ(ItemBox().StatusCombo().ActiveText(), "Skladom");
    EXPECT_EQ(ItemBox().StatusCombo().ItemCount(), 7);
    EXPECT_FALSE(Marked(ItemBox().PriceEntry()));

    Click(ItemBox().OkButton());
    EXPECT_THAT(ItemFields(), ElementsAre("Názov", "4", "1.0"));
    EXPECT_TRUE(Marked(ItemBox().PriceEntry()));
    EXPECT_TRUE(Marked(ItemBox().NumberEntry()));
    EXPECT_FALSE(Marked(ItemBox().NameEntry()));
    EXPECT_EQ(Store().GetSellerItems(1).size(), 3u);

    ItemBox().CategoryCombo().set_active(1);
    ItemBox().PriceEntry().grab_focus();
    Click(ItemBox().OkButton());
    const std::vector<Kramo::Item> items = ReopenStore()->GetSellerItems(1);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[3].NAME, "Názov");
    EXPECT_EQ(items[3].NUMBER, 4);
    EXPECT_DOUBLE_EQ(items[3].PRICE, 1.0);
    EXPECT_EQ(items[3].STATUS, Kramo::InStock);
    EXPECT_EQ(Store().GetItemCategory(items[3].ITEM_CATEGORY_ID).CODE, 'b');
    EXPECT_EQ(ItemColumn(Main().Columns().name).size(), 4u);

    // Open again, empty, for the next item, which is typed from its name on; cancelling ends
    // the series.
    EXPECT_TRUE(ItemBox().Window().get_visible());
    EXPECT_THAT(ItemFields(), ElementsAre("Názov", "-1", "-1.00"));
    EXPECT_EQ(ItemBox().Window().get_focus(), &ItemBox().NameEntry());
    EXPECT_FALSE(Marked(ItemBox().PriceEntry()));
    Click(ItemBox().CancelButton());
    EXPECT_FALSE(ItemBox().Window().get_visible());
    EXPECT_EQ(ItemBox().DialogItem().ID, -1);
    EXPECT_EQ(Store().GetSellerItems(1).size(), 4u);
}

TEST_F(EditDialogsTest, EditedItemGetsItsCorrectionsOneByOne) {
    SelectItemRows({1});
    Click(Main().ModifyItemButton());
    EXPECT_THAT(ItemFields(), ElementsAre("Kočík", "2", "2.50"));
    EXPECT_EQ(ItemBox().CategoryCombo().ActiveText(), "bb");

    struct Step {
        const char* name;
        const char* number;
        const char* price;
        std::vector<std::string> shown;
        bool saved;
    };
    const Step steps[] = {
        {"", "2", "abc", {"Popis predmetu", "2", "1.0"}, false},
        {"Kočík", "1", "2,5", {"Kočík", "4", "2.5"}, false},  // 1 is Kabát's
        {"Kočík", "05", "-3", {"Kočík", "5", "1.0"}, false},
        {"Kočík", "5", "0", {"Kočík", "5", "0"}, true},  // a price of 0 passes
    };
    for (const Step& step : steps) {
        ItemBox().NameEntry().set_text(step.name);
        ItemBox().NumberEntry().set_text(step.number);
        ItemBox().PriceEntry().set_text(step.price);
        Click(ItemBox().OkButton());
        EXPECT_EQ(ItemFields(), step.shown) << step.price;
        EXPECT_EQ(ItemBox().Window().get_visible(), !step.saved) << step.price;
    }
    const Kramo::Item stored = ReopenStore()->GetSellerItemByNumber(1, 5);
    EXPECT_EQ(stored.NAME, "Kočík");
    EXPECT_DOUBLE_EQ(stored.PRICE, 0.0);
    EXPECT_EQ(Store().GetSellerItems(1).size(), 3u);
}

TEST_F(EditDialogsTest, ModifyNeedsExactlyOneRow) {
    SelectItemRows({0, 1});
    Click(Main().ModifyItemButton());
    EXPECT_FALSE(ItemBox().Window().get_visible());
    EXPECT_THROW(ItemBox().RegisterStartDialogEditProduct(999), std::runtime_error);
}

TEST_F(EditDialogsTest, NewSellerGetsAGeneratedCodeAndItsFirstItem) {
    Click(Main().AddSellerButton());
    EXPECT_TRUE(SellerBox().Window().get_visible());
    EXPECT_EQ(SellerBox().NameEntry().get_text(), "Nový predajca");
    EXPECT_EQ(SellerBox().CodeEntry().get_text(), "");

    SellerBox().NameEntry().set_text("");
    Click(SellerBox().OkButton());
    EXPECT_EQ(SellerBox().NameEntry().get_text(), "Nový predajca");
    EXPECT_TRUE(Marked(SellerBox().NameEntry()));

    SellerBox().NameEntry().set_text("Pavol Horák");
    Click(SellerBox().OkButton());  // the code comes from the typed name
    EXPECT_EQ(SellerBox().CodeEntry().get_text(), "PH");
    EXPECT_TRUE(Marked(SellerBox().CodeEntry()));
    EXPECT_TRUE(SellerBox().Window().get_visible());

    SellerBox().NoteEntry().set_text("volať");
    Click(SellerBox().OkButton());
    EXPECT_FALSE(SellerBox().Window().get_visible());
    const Kramo::Seller stored = ReopenStore()->GetSellerByCode("PH");
    EXPECT_EQ(stored.NAME, "Pavol Horák");
    EXPECT_EQ(stored.COMMENT, "volať");
    EXPECT_EQ(Main().CurrentSellerId(), stored.ID);
    EXPECT_TRUE(ItemBox().Window().get_visible());  // its first item follows
    EXPECT_EQ(ItemBox().DialogItem().SELLER_ID, stored.ID);
    Click(ItemBox().CancelButton());
}

TEST_F(EditDialogsTest, EnterConfirmsTheSellerAndItemDialogs) {
    Click(Main().UpdateSellerButton());
    SellerBox().NoteEntry().set_text("volať ráno");
    SellerBox().NoteEntry().activate();
    DrainEventsFor(400);
    EXPECT_FALSE(SellerBox().Window().get_visible());
    EXPECT_EQ(Store().GetSeller(1).COMMENT, "volať ráno");

    SelectItemRows({0});
    Click(Main().ModifyItemButton());
    ItemBox().PriceEntry().set_text("6");
    ItemBox().PriceEntry().activate();
    DrainEventsFor(400);
    EXPECT_FALSE(ItemBox().Window().get_visible());
    EXPECT_DOUBLE_EQ(Store().GetSellerItemByNumber(1, 1).PRICE, 6.0);
}

TEST_F(EditDialogsTest, ExistingSellerKeepsItsCodeAndATakenCodeIsReplaced) {
    WriteSellerFile("2-CD-Cyril.txt", "2*CD*Cyril*pozn.*p*0\n");
    ReplaceStore();
    Main().ReloadSellerList();
    Main().ShowSellerAt(0);
    Click(Main().UpdateSellerButton());
    EXPECT_EQ(SellerBox().CodeEntry().get_text(), "AB");
    SellerBox().CodeEntry().set_text("cd");  // Cyril's, in lower case
    Click(SellerBox().OkButton());
    EXPECT_EQ(SellerBox().CodeEntry().get_text(), "CE");
    Click(SellerBox().CancelButton());
    EXPECT_FALSE(SellerBox().Window().get_visible());
    EXPECT_EQ(Store().GetSeller(1).SHORT_CODE, "AB");
}

// The edit is not written over another desk's change: the dialog shows the item as it is now,
// and the next confirmation writes onto that.
TEST_F(EditDialogsTest, ItemChangedOrRemovedAtAnotherDeskIsShownAsItIsNow) {
    BusyStore& store = UseBusyStore();
    SelectItemRows({1});
    Click(Main().ModifyItemButton());
    ItemBox().NameEntry().set_text("Kočík modrý");
    store.changeItem = true;
    Click(ItemBox().OkButton());
    EXPECT_TRUE(ItemBox().Window().get_visible());
    EXPECT_THAT(ItemFields(), ElementsAre("Kočík", "2", "9.00"));
    EXPECT_EQ(ItemBox().StatusCombo().ActiveText(), "Predane");
    EXPECT_THAT(ItemColumn(Main().Columns().price), ElementsAre("5.00", "9.00", "1.00"));
    ASSERT_EQ(Boxes().ShownOfKind("error").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("error")[0].detail,
              "Tovar medzitým zmenila iná pokladňa. Zobrazuje sa jeho aktuálny stav.");

    ItemBox().NameEntry().set_text("Kočík modrý");
    Click(ItemBox().OkButton());
    EXPECT_FALSE(ItemBox().Window().get_visible());
    EXPECT_EQ(ReopenStore()->GetSellerItemByNumber(1, 2).STATUS, Kramo::Sold);

    SelectItemRows({0});
    Click(Main().ModifyItemButton());
    store.removeItem = true;
    Click(ItemBox().OkButton());
    EXPECT_FALSE(ItemBox().Window().get_visible());
    EXPECT_EQ(Boxes().ShownOfKind("error").back().detail,
              "Tovar medzitým odstránila iná pokladňa.");
    EXPECT_THAT(ItemColumn(Main().Columns().name), ElementsAre("Kočík modrý", "Šál"));
}

TEST_F(EditDialogsTest, NewSellerWhoseCodeAnotherDeskTookGetsTheNextFreeOne) {
    BusyStore& store = UseBusyStore();
    Click(Main().AddSellerButton());
    SellerBox().NameEntry().set_text("Pavol Horák");
    SellerBox().CodeEntry().set_text("PH");
    store.takeCode = true;
    Click(SellerBox().OkButton());
    EXPECT_FALSE(SellerBox().Window().get_visible());
    ASSERT_EQ(Boxes().ShownOfKind("info").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("info")[0].text,
              "Kód PH medzitým dostal iný predajca na inej pokladni. Predajca Pavol Horák má "
              "kód PI.");
    const Kramo::Seller stored = ReopenStore()->GetSellerByCode("PI");
    EXPECT_EQ(stored.NAME, "Pavol Horák");
    EXPECT_EQ(Main().CurrentSellerId(), stored.ID);
    EXPECT_TRUE(ItemBox().Window().get_visible());
    Click(ItemBox().CancelButton());
}

class SellerStateTest : public KramoTest::WindowFixture {
  protected:
    void Press(const char* name) {
        MainWidget<Gtk::RadioButton>(name).set_active(true);
        DrainEvents();
    }
    bool Active(const char* name) { return MainWidget<Gtk::RadioButton>(name).get_active(); }
};

TEST_F(SellerStateTest, UnacceptedItemsRefuseSellingAndTheButtonComesBack) {
    WriteSellerFile("1-AB-Anna.txt", "1*AB*Anna*pozn.*p*0\n1*Kabát*5*a*s\n2*Čiapka*1*a*o\n");
    Open();
    Press("radiobuttonSellerStateSelling");
    ASSERT_EQ(Boxes().ShownOfKind("error").size(), 1u);
    EXPECT_EQ(Boxes().ShownOfKind("error")[0].text, "Prosím opravte");
    EXPECT_EQ(Boxes().ShownOfKind("error")[0].detail, "1 kus(ov) tovaru nieje prebratých.");
    EXPECT_TRUE(Active("radiobuttonSellerStateImported"));
    EXPECT_EQ(Store().GetSeller(1).STATUS, Kramo::NotSelling);

    Press("radiobuttonSellerStateReturned");  // straight to handed back: refused silently
    EXPECT_EQ(Boxes().ShownBoxes().size(), 1u);
    EXPECT_TRUE(Active("radiobuttonSellerStateImported"));
}

TEST_F(SellerStateTest, AcceptingAsksWhoTookTheGoodsAndNotesIt) {
    WriteSellerFile("1-AB-Anna.txt", "1*AB*Anna*pozn.*p*0\n1*Kabát*5*a*s\n");
    Open();
    Boxes().AnswerPrompt("", true);  // empty: asked again
    Boxes().AnswerPrompt("Eva", true);
    Press("radiobuttonSellerStateSelling");
    const auto prompts = Boxes().ShownOfKind("prompt");
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].text, "Kto prebral tovar tohoto predajcu?");
    const Kramo::Seller stored = ReopenStore()->GetSeller(1);
    EXPECT_EQ(stored.STATUS, Kramo::Selling);
    EXPECT_EQ(stored.COMMENT, "pozn. Prijal:Eva");
    EXPECT_EQ(MainWidget<Gtk::Label>("label seller note").get_text(), "pozn. Prijal:Eva");
    EXPECT_TRUE(Active("radiobuttonSellerStateSelling"));

    // Back to not selling asks nobody; selling again offers the last name, and cancelling
    // keeps the state.
    Press("radiobuttonSellerStateImported");
    EXPECT_EQ(Store().GetSeller(1).STATUS, Kramo::NotSelling);
    EXPECT_EQ(Boxes().ShownOfKind("prompt").size(), 2u);
    Boxes().AnswerPrompt("Ján", false);
    Press("radiobuttonSellerStateSelling");
    EXPECT_EQ(Boxes().ShownOfKind("prompt").back().detail, "Eva");
    EXPECT_TRUE(Active("radiobuttonSellerStateImported"));
    EXPECT_EQ(Store().GetSeller(1).STATUS, Kramo::NotSelling);
}

}  // namespace
