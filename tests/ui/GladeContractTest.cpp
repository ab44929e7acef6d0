#include <gtest/gtest.h>
#include <gtkmm/widget.h>
#include <libglademm/xml.h>

namespace {

struct Expected {
    const char* topLevel;
    const char* widget;
    const char* type;
};

// Every object the program looks up, with the type it takes it as.
const Expected Contract[] = {
    {"Register", "Register", "GtkWindow"},
    {"Register", "combobox seller", "GtkComboBox"},
    {"Register", "entry_find_seller", "GtkEntry"},
    {"Register", "combo_scan_mode", "GtkComboBox"},
    {"Register", "label_scan_result", "GtkLabel"},
    {"Register", "button import seller", "GtkButton"},
    {"Register", "button import multi seller", "GtkButton"},
    {"Register", "button add seller", "GtkButton"},
    {"Register", "button update seller", "GtkButton"},
    {"Register", "treeview items", "GtkTreeView"},
    {"Register", "button add item", "GtkButton"},
    {"Register", "button modify item", "GtkButton"},
    {"Register", "button remove item", "GtkButton"},
    {"Register", "button toggle accepted", "GtkButton"},
    {"Register", "button calc repayment", "GtkButton"},
    {"Register", "button labels", "GtkButton"},
    {"Register", "button remove seller", "GtkButton"},
    {"Register", "label seller type", "GtkLabel"},
    {"Register", "label seller note", "GtkLabel"},
    {"Register", "button cashout", "GtkButton"},
    {"Register", "button_other_actions", "GtkButton"},
    {"Register", "radiobuttonSellerStateImported", "GtkRadioButton"},
    {"Register", "radiobuttonSellerStateSelling", "GtkRadioButton"},
    {"Register", "radiobuttonSellerStateReturned", "GtkRadioButton"},
    {"menuRegisterOtherActions", "menuRegisterOtherActions", "GtkMenu"},
    {"menuRegisterOtherActions", "menuItemSettings", "GtkMenuItem"},
    {"menuRegisterOtherActions", "menuItemSaveSellerOverview", "GtkMenuItem"},
    {"menuRegisterOtherActions", "menuitemStats", "GtkMenuItem"},
    {"menuRegisterOtherActions", "menuItemCashUp", "GtkMenuItem"},
    {"menuRegisterOtherActions", "menuItemLastImportReport", "GtkMenuItem"},
    {"menuRegisterOtherActions", "menuItemSheetTemplate", "GtkMenuItem"},
    {"menuRegisterOtherActions", "menuItemBackup", "GtkMenuItem"},
    {"menuRegisterOtherActions", "menuItemLabelsAll", "GtkMenuItem"},
    {"menuRegisterOtherActions", "menuItemLabelsNotSelling", "GtkMenuItem"},
    {"menuRegisterOtherActions", "menuItemLabelsSelling", "GtkMenuItem"},
    {"Pokladna", "Pokladna", "GtkWindow"},
    {"Pokladna", "treeview cashout items", "GtkTreeView"},
    {"Pokladna", "entry lookup seller", "GtkEntry"},
    {"Pokladna", "combo lookup seller", "GtkComboBox"},
    {"Pokladna", "entry lookup item", "GtkEntry"},
    {"Pokladna", "combo lookup item", "GtkComboBox"},
    {"Pokladna", "label item price", "GtkLabel"},
    {"Pokladna", "button cashout add item", "GtkButton"},
    {"Pokladna", "button cashout remove item", "GtkButton"},
    {"Pokladna", "label sum", "GtkLabel"},
    {"Pokladna", "label cashout finished", "GtkButton"},
    {"Pokladna", "button register", "GtkButton"},
    {"Pokladna", "comboboxentry_search", "GtkComboBoxEntry"},
    {"Pokladna", "search_found_text", "GtkLabel"},
    {"Pokladna", "entry scan", "GtkEntry"},
    {"Pokladna", "button sell anyway", "GtkButton"},
    {"Pokladna", "entry amount received", "GtkEntry"},
    {"Pokladna", "label change", "GtkLabel"},
    {"Pokladna", "button storno", "GtkButton"},
    {"Predajca", "Predajca", "GtkWindow"},
    {"Predajca", "sellerName", "GtkEntry"},
    {"Predajca", "sellerCode", "GtkEntry"},
    {"Predajca", "sellerNote", "GtkEntry"},
    {"Predajca", "sellerCategory", "GtkComboBox"},
    {"Predajca", "sellerButton_ok", "GtkButton"},
    {"Predajca", "sellerButton_cancel", "GtkButton"},
    {"Tovar", "Tovar", "GtkWindow"},
    {"Tovar", "itemName", "GtkEntry"},
    {"Tovar", "itemNumber", "GtkEntry"},
    {"Tovar", "itemPrice", "GtkEntry"},
    {"Tovar", "itemCategoryCombo", "GtkComboBox"},
    {"Tovar", "itemStatus_combobox", "GtkComboBox"},
    {"Tovar", "itemButton_ok", "GtkButton"},
    {"Tovar", "itemButton_cancel", "GtkButton"},
    {"MessageEditBox", "MessageEditBox", "GtkDialog"},
    {"MessageEditBox", "label_text", "GtkLabel"},
    {"MessageEditBox", "entry_text", "GtkEntry"},
    {"MessageEditBox", "button_ok", "GtkButton"},
    {"MessageEditBox", "button_cancel", "GtkButton"},
    {"Nastavenia", "Nastavenia", "GtkDialog"},
    {"Nastavenia", "entry_name_of_kramo", "GtkEntry"},
    {"Nastavenia", "combo_font_size", "GtkComboBox"},
    {"Nastavenia", "radio_1file", "GtkRadioButton"},
    {"Nastavenia", "radio_2db", "GtkRadioButton"},
    {"Nastavenia", "entry_dbaddress", "GtkEntry"},
    {"Nastavenia", "entry_dbuser", "GtkEntry"},
    {"Nastavenia", "entry_dbpassword", "GtkEntry"},
    {"Nastavenia", "entry_dbname", "GtkEntry"},
    {"Nastavenia", "combo_label_layout", "GtkComboBox"},
    {"Nastavenia", "spin_first_free_label", "GtkSpinButton"},
    {"Nastavenia", "combo_receipt_page", "GtkComboBox"},
    {"Nastavenia", "combo_print_receipts", "GtkComboBox"},
    {"Nastavenia", "entry_receipt_printer", "GtkEntry"},
    {"Nastavenia", "entry_desk_name", "GtkEntry"},
    {"Nastavenia", "entry_dbport", "GtkEntry"},
};

// The toolkit class behind a widget (gtkmm wraps each in a type of its own).
std::string ToolkitTypeName(Gtk::Widget* widget) {
    const std::string name = G_OBJECT_TYPE_NAME(widget->gobj());
    const std::string wrapperPrefix = "gtkmm__";
    return name.compare(0, wrapperPrefix.size(), wrapperPrefix) == 0
               ? name.substr(wrapperPrefix.size())
               : name;
}

TEST(WindowDescription, HoldsEveryObjectTheProgramLooksUp) {
    for (const Expected& expected : Contract) {
        SCOPED_TRACE(std::string(expected.topLevel) + " / " + expected.widget);
        const auto xml = Gnome::Glade::Xml::create(KRAMO_GLADE_FILE, expected.topLevel);
        Gtk::Widget* widget = xml->get_widget(expected.widget);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(ToolkitTypeName(widget), expected.type);
    }
}

TEST(WindowDescription, WindowsStayHiddenUntilTheProgramShowsThem) {
    for (const char* name :
         {"Register", "Pokladna", "Predajca", "Tovar", "MessageEditBox", "Nastavenia"}) {
        const auto xml = Gnome::Glade::Xml::create(KRAMO_GLADE_FILE, name);
        Gtk::Widget* window = xml->get_widget(name);
        ASSERT_NE(window, nullptr) << name;
        EXPECT_FALSE(window->is_visible()) << name;
    }
}

TEST(WindowDescription, StateButtonsAreOneGroup) {
    const auto xml = Gnome::Glade::Xml::create(KRAMO_GLADE_FILE, "Register");
    GtkWidget* first = xml->get_widget("radiobuttonSellerStateImported")->gobj();
    GSList* group = gtk_radio_button_get_group(GTK_RADIO_BUTTON(first));
    EXPECT_EQ(g_slist_length(group), 3u);
    const auto settings = Gnome::Glade::Xml::create(KRAMO_GLADE_FILE, "Nastavenia");
    GtkWidget* file = settings->get_widget("radio_1file")->gobj();
    EXPECT_EQ(g_slist_length(gtk_radio_button_get_group(GTK_RADIO_BUTTON(file))), 2u);
}

}  // namespace
