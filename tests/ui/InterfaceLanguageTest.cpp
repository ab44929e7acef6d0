#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/menu.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/notebook.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "WindowFixture.h"
#include "common/LocaleScope.h"
#include "common/PdfReadBack.h"
#include "support/Translation.h"

namespace {

using testing::HasSubstr;

// What a language's catalogue must show, and the letters no text of it may keep: Slovak ones
// the language does not write.
struct InterfaceLanguage {
    const char* locale;
    const char* mainTitle;
    const char* sumLabel;
    const char* finishQuestion;
    const char* receiptText;
    const char* foreignLetters;
};

void PrintTo(const InterfaceLanguage& language, std::ostream* out) {
    *out << language.locale;
}

// Every text a person reads in the widget and beneath it: titles, labels, tooltips, column
// heads, the tabs of notebooks and the menus behind menu items.
void GatherTexts(Gtk::Widget& widget, std::vector<std::string>& texts) {
    if (auto* window = dynamic_cast<Gtk::Window*>(&widget)) {
        texts.push_back(window->get_title());
    }
    if (auto* label = dynamic_cast<Gtk::Label*>(&widget)) {
        texts.push_back(label->get_text());
    }
    if (auto* button = dynamic_cast<Gtk::Button*>(&widget); button && !button->get_use_stock()) {
        texts.push_back(button->get_label());
    }
    texts.push_back(widget.get_tooltip_text());
    if (auto* view = dynamic_cast<Gtk::TreeView*>(&widget)) {
        for (Gtk::TreeViewColumn* column : view->get_columns()) {
            texts.push_back(column->get_title());
        }
    }
    if (auto* item = dynamic_cast<Gtk::MenuItem*>(&widget); item && item->has_submenu()) {
        GatherTexts(*item->get_submenu(), texts);
    }
    if (auto* notebook = dynamic_cast<Gtk::Notebook*>(&widget)) {
        for (int page = 0; page < notebook->get_n_pages(); ++page) {
            if (Gtk::Widget* tab = notebook->get_tab_label(*notebook->get_nth_page(page))) {
                GatherTexts(*tab, texts);
            }
        }
    }
    if (auto* container = dynamic_cast<Gtk::Container*>(&widget)) {
        for (Gtk::Widget* child : container->get_children()) {
            GatherTexts(*child, texts);
        }
    }
}

std::vector<std::string> WithForeignLetters(const std::vector<std::string>& texts,
                                            const std::string& letters) {
    std::vector<std::string> found;
    const Glib::ustring foreign(letters);
    for (const std::string& text : texts) {
        const Glib::ustring shown(text);
        for (const gunichar letter : foreign) {
            if (shown.find(letter) != Glib::ustring::npos) {
                found.push_back(text);
                break;
            }
        }
    }
    return found;
}

class InterfaceLanguageTest : public KramoTest::WindowFixture,
                              public testing::WithParamInterface<InterfaceLanguage> {
  protected:
    void SetUp() override {
        // The desktop's locale decides; a LANGUAGE list of the test's own machine must not.
        if (const char* list = std::getenv("LANGUAGE")) {
            formerLanguageList_ = list;
            ::unsetenv("LANGUAGE");
        }
        locale_.emplace(LC_MESSAGES, GetParam().locale);
        Kramo::StartTranslations(KRAMO_LOCALE_DIR);
        WriteSellerFile("1-AB-Anna.txt", "1*AB*Anna*note*p*1\n1*Red coat*10*a*s\n");
        Open();
    }
    void TearDown() override {
        locale_.reset();
        if (formerLanguageList_) {
            ::setenv("LANGUAGE", formerLanguageList_->c_str(), 1);
        }
    }

    std::vector<std::string> ShownTexts() {
        std::vector<std::string> texts;
        GatherTexts(Main().Window(), texts);
        Gtk::Menu* menu = nullptr;
        Windows().MenuDescription()->get_widget("menuRegisterOtherActions", menu);
        GatherTexts(*menu, texts);
        GatherTexts(Windows().Checkout().Window(), texts);
        GatherTexts(Windows().Sellers().Window(), texts);
        GatherTexts(Windows().Items().Window(), texts);
        GatherTexts(*Windows().SettingsWindow().SaleNameEntry().get_toplevel(), texts);
        return texts;
    }

  private:
    std::optional<KramoTest::LocaleScope> locale_;
    std::optional<std::string> formerLanguageList_;
};

TEST_P(InterfaceLanguageTest, WindowsBoxesAndReceiptSpeakTheDesktopsLanguage) {
    const InterfaceLanguage& language = GetParam();
    EXPECT_EQ(Main().Window().get_title(), language.mainTitle);

    Main().CheckoutButton().clicked();
    DrainEvents();
    KramoDialogs::CheckoutWindow& desk = Windows().Checkout();
    EXPECT_EQ(desk.SumLabel().get_text(), language.sumLabel);
    desk.SellerEntry().set_text("AB");
    desk.ItemEntry().set_text("1");
    DrainEvents();
    desk.AddButton().clicked();
    Boxes().AnswerQuestion(true);
    desk.FinishButton().clicked();
    DrainEvents();
    ASSERT_FALSE(Boxes().ShownOfKind("question").empty());
    EXPECT_EQ(Boxes().ShownOfKind("question").back().text, language.finishQuestion);

    std::vector<std::string> texts = ShownTexts();
    for (const auto& box : Boxes().ShownBoxes()) {
        texts.push_back(box.text);
        texts.push_back(box.detail);
    }
    std::string receipt;
    for (const auto& entry :
         std::filesystem::directory_iterator(ProgramDirectory() + "documents")) {
        receipt = KramoTest::PdfReadBack(entry.path().string()).Text();
    }
    EXPECT_THAT(receipt, HasSubstr(language.receiptText));
    texts.push_back(receipt);
    EXPECT_THAT(WithForeignLetters(texts, language.foreignLetters), testing::IsEmpty())
        << "texts the catalogue leaves in Slovak";
}

INSTANTIATE_TEST_SUITE_P(
    Languages, InterfaceLanguageTest,
    testing::Values(InterfaceLanguage{"cs_CZ.UTF-8", "Kramo – prodejci a jejich zboží",
                                      "Celkem: 0.00", "Dokončit nákup?", "Celkem", "äĺľôŕÄĹĽÔŔ"},
                    InterfaceLanguage{"en_US.UTF-8", "Kramo – sellers and their items",
                                      "Total: 0.00", "Complete the purchase?", "Total",
                                      "áäčďéíĺľňóôŕšťúýžÁÄČĎÉÍĹĽŇÓÔŔŠŤÚÝŽ"}),
    [](const testing::TestParamInfo<InterfaceLanguage>& info) {
        return std::string(info.param.locale).substr(0, 2);
    });

}  // namespace
