#include "BazaarDay.h"

#include <gmock/gmock.h>
#include <gtkmm/button.h>
#include <gtkmm/comboboxentry.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/radiobutton.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>

#include <cctype>
#include <chrono>
#include <climits>
#include <cmath>
#include <filesystem>
#include <regex>
#include <set>

#include "common/PdfReadBack.h"
#include "common/PostgresTestDatabase.h"
#include "core/ItemBarcode.h"
#include "core/ItemStatus.h"
#include "core/SellerStatus.h"
#include "core/StorageExceptions.h"
#include "pdf/LabelLayout.h"
#include "register/ItemLabelsDocument.h"
#include "register/SettingsApplication.h"
#include "support/StringEncoding.h"

namespace KramoTest {
namespace {

using testing::HasSubstr;
using Plan = BazaarPlan;

// The sellers (by their place in the plan) whose goods carry labels read by the scanner: one
// label document for the group, kept small, as reading pages back takes its time.
constexpr std::size_t LabelledSellerEvery = 6;

std::string Lowered(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::vector<std::string> ReceiptFiles(const std::string& folder) {
    std::vector<std::string> files;
    if (!std::filesystem::exists(folder)) {
        return files;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("Predaj_", 0) == 0) {
            files.push_back(entry.path().string());
        }
    }
    return files;
}

}  // namespace

long CentsIn(const std::string& text, const std::string& pattern) {
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern))) {
        ADD_FAILURE() << "'" << pattern << "' is not in:\n" << text;
        return LONG_MIN;
    }
    return std::lround(std::stod(match[1].str()) * 100.0);
}

namespace {

// A statement's closing line in cents: the payout, or what the seller owes as a negative amount;
// neither line carries a sign of its own.
long PayoutCentsIn(const std::string& text) {
    if (text.find("Predajca dlhuje") != std::string::npos) {
        const long owed = CentsIn(text, "Predajca dlhuje \\(eur\\) : +([0-9.]+)");
        return owed == LONG_MIN ? owed : -owed;
    }
    return CentsIn(text, "Celkom vyplatene \\(eur\\) : +([0-9.]+)");
}

}  // namespace

void BazaarDay::MakePlan(unsigned seed, int sheets, int purchases, const FeeSchedule& fees) {
    plan_ = std::make_unique<BazaarPlan>(seed, sheets, purchases, fees);
}

void BazaarDay::UseDatabase(const Kramo::PostgresConnection& connection) {
    ChooseDatabase(Settings(), connection);
    Kramo::ApplySettings(Settings(), Register(), &Windows());
    Main().ReloadSellerList();
    DrainEvents();
}

void BazaarDay::Click(Gtk::Button& button) {
    button.clicked();
    DrainEvents();
}

void BazaarDay::Press(Gtk::RadioButton& button) {
    button.set_active(true);
    DrainEvents();
}

void BazaarDay::Type(Gtk::Entry& entry, const std::string& text) {
    entry.set_text(text);
    DrainEvents();
}

void BazaarDay::RemarkAllItems() {
    Boxes().AnswerQuestion(true);
    Click(Main().ToggleAcceptedButton());
}

void BazaarDay::MoveSeller(Plan::PlannedSeller& seller, int32_t state, const char* person,
                           int32_t itemsFrom, int32_t itemsTo) {
    Boxes().AnswerPrompt(person, true);
    Press(Main().StateButton(state));
    EXPECT_EQ(Store().GetSeller(seller.id).STATUS, state) << seller.code;
    for (Plan::PlannedItem& item : seller.items) {
        if (item.status == itemsFrom) {
            item.status = itemsTo;
        }
    }
}

void BazaarDay::ShowSeller(int sellerId) {
    const auto position = Main().Sellers().PositionOfId(sellerId);
    ASSERT_TRUE(position.has_value()) << sellerId;
    Main().SellerCombo().set_active(static_cast<int>(*position));
    DrainEvents();
    ASSERT_EQ(Main().CurrentSellerId(), sellerId);
}

void BazaarDay::ImportSheets() {
    if (!std::filesystem::exists(SheetFolder())) {
        const std::string writing = ProgramDirectory() + "odovzdane.tmp";
        std::filesystem::remove_all(writing);
        std::filesystem::create_directories(writing);
        plan_->WriteSheets(writing);
        std::filesystem::rename(writing, SheetFolder());
    }
    Windows().Imports().SetChooser(
        [this](const KramoDialogs::ImportDialogs::Choice&) { return SheetFolder(); });
    Windows().Imports().ImportMultiSellers();
    DrainEvents();
}

void BazaarDay::BindToStore(bool takeStates) {
    for (Plan::PlannedSeller& seller : plan_->Sellers()) {
        if (!seller.Stored()) {
            continue;
        }
        try {
            seller.id = Store().GetSellerByCode(seller.code).ID;
        } catch (const Kramo::WrongSellerException&) {
            seller.id = -1;
            continue;
        }
        const std::vector<Kramo::Item> stored = Store().GetSellerItems(seller.id);
        for (Plan::PlannedItem& item : seller.items) {
            const auto match = std::find_if(
                stored.begin(), stored.end(),
                [&](const Kramo::Item& candidate) { return candidate.NUMBER == item.number; });
            if (match != stored.end()) {
                item.id = match->ID;
                if (takeStates) {
                    item.status = match->STATUS;
                }
            }
        }
    }
}

void BazaarDay::FillItemDialog(const Plan::PlannedItem& item) {
    KramoDialogs::ItemDialog& dialog = Windows().Items();
    ASSERT_TRUE(dialog.Window().get_visible());
    Type(dialog.NameEntry(), item.name);
    Type(dialog.NumberEntry(), std::to_string(item.number));
    Type(dialog.PriceEntry(), CentsText(item.cents));
    dialog.CategoryCombo().set_active(static_cast<int>(item.category));
    EXPECT_EQ(dialog.StatusCombo().ActiveText(), "Skladom");
    Click(dialog.OkButton());
    // Saved at once, and opened again empty for the next item.
    EXPECT_EQ(dialog.NameEntry().get_text(), "Názov") << item.name;
}

void BazaarDay::AddSellersByHand() {
    for (Plan::PlannedSeller& seller : plan_->Sellers()) {
        if (seller.fate != Plan::Fate::ByHand) {
            continue;
        }
        if (seller.id == -1) {
            Click(Main().AddSellerButton());
            KramoDialogs::SellerDialog& dialog = Windows().Sellers();
            Type(dialog.NameEntry(), seller.name);
            Type(dialog.CodeEntry(), seller.code);
            Type(dialog.NoteEntry(), seller.note);
            Click(dialog.OkButton());
            ASSERT_FALSE(dialog.Window().get_visible()) << seller.name;
            // The dialog for the new seller's first item follows by itself.
        } else if (std::any_of(seller.items.begin(), seller.items.end(),
                               [](const Plan::PlannedItem& item) { return item.id == -1; })) {
            ShowSeller(seller.id);  // a day started again: the items not stored yet
            Click(Main().AddItemButton());
        } else {
            continue;
        }
        for (const Plan::PlannedItem& item : seller.items) {
            if (item.id == -1) {
                FillItemDialog(item);
            }
        }
        Click(Windows().Items().CancelButton());
    }
    BindToStore();
}

void BazaarDay::ScanAtFindField(Kramo::ScanDesk desk, const std::string& text) {
    Main().ScanModeCombo().set_active(static_cast<int>(desk));
    Type(Main().FindEntry(), text);
    Main().FindEntry().activate();
    DrainEvents();
}

bool BazaarDay::HandInByScanning(const Plan::PlannedSeller& seller) {
    bool scanned = false;
    for (const Plan::PlannedItem& item : seller.items) {
        const auto label = labelBarcodes_.find(std::make_pair(seller.id, item.number));
        if (label == labelBarcodes_.end()) {
            continue;
        }
        // Goods added by hand come in stock, and so do those scanned before a restart.
        const bool inStock = Store().GetItem(item.id).STATUS == Kramo::InStock;
        const std::string shown = seller.code + "-" + std::to_string(item.number);
        ScanAtFindField(Kramo::ScanDesk::HandIn, label->second);
        EXPECT_EQ(Main().ScanResultLabel().get_text(),
                  shown + (inStock ? " už je prebraté" : " prebraté"));
        if (!scanned) {
            ScanAtFindField(Kramo::ScanDesk::HandIn, label->second);
            EXPECT_EQ(Main().ScanResultLabel().get_text(), shown + " už je prebraté");
        }
        EXPECT_EQ(Main().CurrentSellerId(), seller.id);
        scanned = true;
        ++handInScans_;
    }
    Main().ScanModeCombo().set_active(static_cast<int>(Kramo::ScanDesk::Find));
    return scanned;
}

void BazaarDay::AcceptGoodsAndStartSelling() {
    if (labelBarcodes_.empty()) {
        ReadLabels();
    }
    bool firstSeller = true;
    for (std::size_t index = 0; index < plan_->Sellers().size(); ++index) {
        Plan::PlannedSeller& seller = plan_->Sellers()[index];
        if (seller.id == -1 || Store().GetSeller(seller.id).STATUS != Kramo::NotSelling) {
            continue;
        }
        ShowSeller(seller.id);
        const std::vector<Kramo::Item> items = Store().GetSellerItems(seller.id);
        const bool unaccepted = std::any_of(items.begin(), items.end(), [](const Kramo::Item& i) {
            return i.STATUS == Kramo::Unassigned;
        });
        if (firstSeller && unaccepted) {
            // Selling before the goods were taken over is refused.
            const std::size_t errors = Boxes().ShownOfKind("error").size();
            Press(Main().StateButton(Kramo::Selling));
            EXPECT_EQ(Boxes().ShownOfKind("error").size(), errors + 1);
            EXPECT_TRUE(Main().StateButton(Kramo::NotSelling).get_active());
        }
        firstSeller = false;
        const bool scannedIn = HandInByScanning(seller);
        if (!scannedIn && index % 5 == 2) {
            // Ticked one by one in the list, as the goods come out of the bag.
            for (std::size_t row = 0; row < items.size(); ++row) {
                if (items[row].STATUS == Kramo::Unassigned) {
                    Main().ToggleItem(std::to_string(row));
                    DrainEvents();
                }
            }
        } else if (!scannedIn) {
            RemarkAllItems();
        }
        MoveSeller(seller, Kramo::Selling, "Eva", Kramo::Unassigned, Kramo::InStock);
    }
}

bool BazaarDay::ChooseBySearch(const Plan::PlannedItem& item) {
    KramoDialogs::CheckoutWindow& desk = Windows().Checkout();
    Type(desk.Search().TextEntry(), item.name + " " + CentsText(item.cents));
    const std::vector<Kramo::Item>& hits = desk.Search().Hits();
    const auto hit = std::find_if(hits.begin(), hits.end(), [&](const Kramo::Item& candidate) {
        return candidate.ID == item.id;
    });
    if (hit == hits.end()) {
        return false;
    }
    desk.Search().Box().set_active(static_cast<int>(hit - hits.begin()));
    DrainEvents();
    ++searchSales_;
    return true;
}

void BazaarDay::ChooseFromItemCombo(const Plan::PlannedSeller& seller,
                                    const Plan::PlannedItem& item) {
    KramoDialogs::CheckoutWindow& desk = Windows().Checkout();
    Type(desk.SellerEntry(), seller.code);
    int row = 0;
    const std::string start = std::to_string(item.number) + " - ";
    for (const Gtk::TreeModel::Row& entry : desk.ItemCombo().get_model()->children()) {
        Glib::ustring text;
        entry.get_value(0, text);
        if (text.raw().rfind(start, 0) == 0) {
            desk.ItemCombo().set_active(row);
            DrainEvents();
            return;
        }
        ++row;
    }
    ADD_FAILURE() << "no row for " << seller.code << " " << item.number;
}

void BazaarDay::ChooseAtDesk(const Plan::ItemRef& ref) {
    KramoDialogs::CheckoutWindow& desk = Windows().Checkout();
    const Plan::PlannedSeller& seller = plan_->Sellers()[ref.seller];
    const Plan::PlannedItem& item = seller.items[ref.item];
    if (ref.way == Plan::Way::Search && ChooseBySearch(item)) {
        return;
    }
    if (ref.way == Plan::Way::ItemCombo) {
        ChooseFromItemCombo(seller, item);
        return;
    }
    // Cashiers type codes in either case.
    Type(desk.SellerEntry(), item.number % 2 ? Lowered(seller.code) : seller.code);
    Type(desk.ItemEntry(), std::to_string(item.number));
}

void BazaarDay::ReadLabels() {
    labelBarcodes_.clear();
    // One sheet of labels: reading a page back as a scanner takes about a second.
    const std::size_t sheet = static_cast<std::size_t>(
        Kramo::LabelLayout::ByKey(Settings().LabelLayout()).LabelsPerSheet());
    std::vector<Kramo::Seller> sellers;
    std::size_t labels = 0;
    for (std::size_t index = 1; index < plan_->Sellers().size(); index += LabelledSellerEvery) {
        const int sellerId = plan_->Sellers()[index].id;
        if (sellerId == -1) {
            continue;
        }
        const std::vector<Kramo::Item> items = Store().GetSellerItems(sellerId);
        labels += static_cast<std::size_t>(
            std::count_if(items.begin(), items.end(), Kramo::ItemNeedsLabel));
        if (labels > sheet) {
            break;
        }
        sellers.push_back(Store().GetSeller(sellerId));
    }
    const std::optional<std::string> document =
        Kramo::PrintItemLabels(Register(), Settings(), sellers);
    if (!document) {
        return;  // a day started again with all their goods sold
    }
    for (const std::string& text : PdfReadBack(*document).Barcodes(300)) {
        const std::optional<Kramo::ItemKey> key = Kramo::ItemBarcode::Parse(text);
        ASSERT_TRUE(key.has_value()) << text;
        labelBarcodes_.emplace(std::make_pair(key->sellerId, key->number), text);
    }
}

std::string BazaarDay::ScanTextOf(const Plan::ItemRef& ref) const {
    const Plan::PlannedSeller& seller = plan_->Sellers()[ref.seller];
    const Plan::PlannedItem& item = seller.items[ref.item];
    const auto label = labelBarcodes_.find(std::make_pair(seller.id, item.number));
    if (label != labelBarcodes_.end()) {
        return label->second;
    }
    if (item.number % 3 == 1) {
        return Kramo::ItemBarcode::Text({seller.id, item.number});  // a label printed earlier
    }
    if (item.number % 3 == 2) {
        return "";
    }
    // A label that does not scan: the code and number read off it, typed as people write them.
    // A code ending in a digit needs something between it and the number.
    const char* const separators[] = {" ", "-", "/", ""};
    std::string separator = separators[item.number / 3 % 4];
    if (separator.empty() && std::isdigit(static_cast<unsigned char>(seller.code.back()))) {
        separator = " ";
    }
    return (item.number % 2 ? Lowered(seller.code) : seller.code) + separator +
           std::to_string(item.number);
}

void BazaarDay::Scan(const std::string& text) {
    KramoDialogs::CheckoutWindow& desk = Windows().Checkout();
    desk.ScanEntry().set_text(text);
    desk.ScanEntry().activate();
    DrainEvents();
}

bool BazaarDay::ScanAtDesk(const Plan::ItemRef& ref) {
    if (ref.way != Plan::Way::CodeAndNumber) {
        return false;
    }
    const std::string text = ScanTextOf(ref);
    if (text.empty()) {
        return false;
    }
    KramoDialogs::CheckoutWindow& desk = Windows().Checkout();
    const Plan::PlannedItem& item = plan_->ItemOf(ref);
    Scan(text);
    EXPECT_EQ(desk.PriceLabel().get_text(), CentsText(item.cents) + " Skladom") << text;
    EXPECT_EQ(desk.ScanEntry().get_text(), "") << text;
    if (labelBarcodes_.count(std::make_pair(plan_->Sellers()[ref.seller].id, item.number)) > 0) {
        ++labelScans_;
    } else {
        ++codeScans_;
    }
    return true;
}

long BazaarDay::PayAtField(std::size_t index, long cents) {
    KramoDialogs::CheckoutWindow& desk = Windows().Checkout();
    Scan("");  // Enter on the empty scan field
    EXPECT_EQ(desk.Window().get_focus(), &desk.AmountEntry());
    long received = cents;
    if (index % 2 == 1) {
        // A note or two; typed with a decimal comma.
        received = (cents / 2000 + 1) * 2000;
        std::string amount = CentsText(received);
        std::replace(amount.begin(), amount.end(), '.', ',');
        Type(desk.AmountEntry(), amount);
        EXPECT_EQ(desk.ChangeLabel().get_text(), "Vydať: " + CentsText(received - cents) + " eur");
    }
    desk.AmountEntry().activate();
    DrainEvents();
    EXPECT_EQ(desk.Window().get_focus(), &desk.ScanEntry());
    ++paidAtField_;
    return received;
}

void BazaarDay::TryExtras(std::size_t index) {
    KramoDialogs::CheckoutWindow& desk = Windows().Checkout();
    const auto& purchases = plan_->Purchases();
    if (index % 25 == 15 && plan_->ItemOf(purchases[0].items[0]).status == Kramo::Sold) {
        // An item sold before: the cashier is asked and declines.
        const std::size_t questions = Boxes().ShownOfKind("question").size();
        ChooseAtDesk(
            {purchases[0].items[0].seller, purchases[0].items[0].item, Plan::Way::CodeAndNumber});
        Boxes().AnswerQuestion(false);
        Click(desk.AddButton());
        EXPECT_EQ(Boxes().ShownOfKind("question").size(), questions + 1);
        EXPECT_TRUE(desk.CurrentPurchase().ItemIds().empty());
        // Scanned, it is refused in red without a question.
        const Plan::PlannedSeller& seller = plan_->Sellers()[purchases[0].items[0].seller];
        Scan(
            Kramo::ItemBarcode::Text({seller.id, seller.items[purchases[0].items[0].item].number}));
        EXPECT_THAT(desk.PriceLabel().get_text(), HasSubstr("už predané"));
        EXPECT_EQ(Boxes().ShownOfKind("question").size(), questions + 1);
        EXPECT_TRUE(desk.CurrentPurchase().ItemIds().empty());
        desk.ScanEntry().set_text("");
    }
    if (index % 25 == 20 && index + 2 < purchases.size()) {
        // Put on the counter by another customer's mistake, and taken off again (a purchase
        // this desk sells later, when two desks share the day).
        const Plan::ItemRef other = purchases[index + 2].items[0];
        if (plan_->ItemOf(other).status == Kramo::InStock) {
            ChooseAtDesk({other.seller, other.item, Plan::Way::CodeAndNumber});
            Click(desk.AddButton());
            ASSERT_EQ(desk.PurchaseRows()->children().size(), 1u);
            Gtk::TreeModel::Path first;
            first.push_back(0);
            desk.PurchaseView().get_selection()->select(first);
            Click(desk.RemoveButton());
            EXPECT_TRUE(desk.CurrentPurchase().ItemIds().empty());
        }
    }
}

void BazaarDay::SellOne(std::size_t index, const SaleJournal& journal) {
    KramoDialogs::CheckoutWindow& desk = Windows().Checkout();
    Plan::PlannedPurchase purchase;
    for (const Plan::ItemRef& ref : plan_->Purchases()[index].items) {
        Plan::PlannedItem& item = plan_->ItemOf(ref);
        ASSERT_NE(item.id, -1) << "item not in the store";
        if (Store().GetItem(item.id).STATUS == Kramo::Sold) {
            item.status = Kramo::Sold;  // sold before the program was started again
            continue;
        }
        purchase.items.push_back(ref);
    }
    if (purchase.items.empty()) {
        return;
    }
    TryExtras(index);
    for (const Plan::ItemRef& ref : purchase.items) {
        const bool twice = &ref == &purchase.items.front() && index % 25 == 10;
        if (ScanAtDesk(ref)) {
            if (twice) {
                Scan(ScanTextOf(ref));  // scanned twice: refused, still one row
                EXPECT_THAT(desk.PriceLabel().get_text(), HasSubstr("už je v nákupe"));
                desk.ScanEntry().set_text("");
            }
            continue;
        }
        ChooseAtDesk(ref);
        EXPECT_EQ(desk.CheckoutItemId(), plan_->ItemOf(ref).id);
        Click(desk.AddButton());
        if (twice) {
            Click(desk.AddButton());  // added twice: still one row
        }
    }
    ASSERT_EQ(desk.CurrentPurchase().ItemIds().size(), purchase.items.size()) << index;
    const long cents = purchase.Cents(*plan_);
    const std::string sum = CentsText(cents);
    EXPECT_EQ(desk.SumLabel().get_text(), "Suma: " + sum + " eur");

    const std::string folder = ProgramDirectory() + "documents";
    const std::vector<std::string> before = ReceiptFiles(folder);
    long received = cents;
    if (index % 3 != 0) {
        received = PayAtField(index, cents);
        EXPECT_EQ(desk.SumLabel().get_text(), "Suma: 0.00 eur (Predchádzajúci nákup: " + sum +
                                                  " eur, vydať " + CentsText(received - cents) +
                                                  " eur)");
    } else {
        Boxes().AnswerQuestion(true);
        Click(desk.FinishButton());
        EXPECT_EQ(desk.SumLabel().get_text(),
                  "Suma: 0.00 eur (Predchádzajúci nákup: " + sum + " eur)");
    }
    ASSERT_TRUE(desk.CurrentPurchase().ItemIds().empty()) << "purchase " << index << " kept";
    for (const Plan::ItemRef& ref : purchase.items) {
        plan_->ItemOf(ref).status = Kramo::Sold;
    }
    std::vector<std::string> written = ReceiptFiles(folder);
    const std::set<std::string> known(before.begin(), before.end());
    written.erase(std::remove_if(written.begin(), written.end(),
                                 [&](const std::string& path) { return known.count(path) > 0; }),
                  written.end());
    ASSERT_EQ(written.size(), 1u) << "one receipt per purchase";
    if (journal) {
        journal(index, written[0]);
    }
    ExpectReceipt(written[0], purchase, received);
}

void BazaarDay::LoseContestedPurchase(std::size_t index, const std::function<void()>& added) {
    KramoDialogs::CheckoutWindow& desk = Windows().Checkout();
    const Plan::PlannedPurchase& purchase = plan_->Purchases()[index];
    for (const Plan::ItemRef& ref : purchase.items) {
        if (!ScanAtDesk(ref)) {
            ChooseAtDesk(ref);
            Click(desk.AddButton());
        }
    }
    ASSERT_EQ(desk.CurrentPurchase().ItemIds().size(), purchase.items.size()) << index;
    added();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(4);
    for (const Plan::ItemRef& ref : purchase.items) {
        while (Store().GetItem(plan_->ItemOf(ref).id).STATUS != Kramo::Sold) {
            ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "purchase " << index;
            DrainEventsFor(50);
        }
    }
    DrainEventsFor(400);  // the live view learns of the sale
    EXPECT_THAT(desk.PriceLabel().get_text(), HasSubstr("predala iná pokladňa"));

    const std::string folder = ProgramDirectory() + "documents";
    const std::size_t receipts = ReceiptFiles(folder).size();
    const std::size_t questions = Boxes().ShownOfKind("question").size();
    Boxes().AnswerQuestion(true);  // "Dokončiť nákup?"
    Boxes().AnswerQuestion(true);  // take the items out
    Click(desk.FinishButton());
    const auto asked = Boxes().ShownOfKind("question");
    ASSERT_EQ(asked.size(), questions + 2) << index;
    EXPECT_THAT(asked.back().text, HasSubstr("Na inej pokladni sa medzitým predal"));
    EXPECT_TRUE(desk.CurrentPurchase().ItemIds().empty()) << index;
    EXPECT_EQ(ReceiptFiles(folder).size(), receipts) << index;
    ++contestsLost_;
}

long BazaarDay::CashUpCents(const std::string& deskName) {
    bool found = false;
    Windows().Documents().CashUpChoice().SetRunner([&](KramoDialogs::CashUpDialog& dialog) {
        for (int row = 0; !found && row < 10; ++row) {
            dialog.DeskCombo().set_active(row);
            found = dialog.DeskCombo().get_active_text() == deskName;
        }
        return found ? Gtk::RESPONSE_OK : Gtk::RESPONSE_CANCEL;
    });
    Gtk::MenuItem* item = nullptr;
    Windows().MenuDescription()->get_widget("menuItemCashUp", item);
    const std::size_t opened = opener_.paths.size();
    item->activate();
    DrainEvents();
    EXPECT_TRUE(found) << deskName;
    if (opener_.paths.size() != opened + 1) {
        ADD_FAILURE() << "no cash-up of " << deskName;
        return -1;
    }
    const std::string text = PdfReadBack(opener_.paths.back()).Text();
    EXPECT_THAT(text, HasSubstr("Uzávierka pokladne " + deskName));
    return CentsIn(text, "Tržba po stornách: ([0-9.]+)");
}

void BazaarDay::ExpectReceipt(const std::string& path, const Plan::PlannedPurchase& purchase,
                              long receivedCents) {
    const std::string text = PdfReadBack(path).Text();
    for (const Plan::ItemRef& ref : purchase.items) {
        EXPECT_THAT(text, HasSubstr(plan_->ItemOf(ref).name)) << path;
    }
    const long cents = purchase.Cents(*plan_);
    EXPECT_EQ(CentsIn(text, "Suma +(-?[0-9.]+)"), cents) << path;
    EXPECT_EQ(CentsIn(text, "Prijaté +([0-9.]+)"), receivedCents) << path;
    EXPECT_EQ(CentsIn(text, "Vydať +([0-9.]+)"), receivedCents - cents) << path;
    ++receiptsChecked_;
}

void BazaarDay::SellPurchases(const std::function<bool(std::size_t)>& picks,
                              const SaleJournal& journal,
                              const std::function<void(std::size_t)>& skipped) {
    if (labelBarcodes_.empty()) {
        ReadLabels();
    }
    Click(Main().CheckoutButton());
    for (std::size_t index = 0; index < plan_->Purchases().size(); ++index) {
        if (!picks || picks(index)) {
            SellOne(index, journal);
        } else if (skipped) {
            skipped(index);
        }
    }
    Click(Windows().Checkout().BackButton());
}

void BazaarDay::SetToGift(const Plan::PlannedSeller& seller, std::size_t itemIndex) {
    const std::vector<Kramo::Item> items = Store().GetSellerItems(seller.id);
    const int itemId = seller.items[itemIndex].id;
    const auto row = std::find_if(items.begin(), items.end(),
                                  [itemId](const Kramo::Item& item) { return item.ID == itemId; });
    ASSERT_NE(row, items.end());
    SelectItemRows({static_cast<int>(row - items.begin())});
    Click(Main().ModifyItemButton());
    KramoDialogs::ItemDialog& dialog = Windows().Items();
    ASSERT_TRUE(dialog.Window().get_visible());
    EXPECT_EQ(dialog.NameEntry().get_text(), seller.items[itemIndex].name);
    dialog.StatusCombo().set_active(Kramo::Gift);
    Click(dialog.OkButton());
    EXPECT_FALSE(dialog.Window().get_visible());
}

bool BazaarDay::ReturnByScanning(Plan::PlannedSeller& seller) {
    bool returned = false;
    bool soldTried = false;
    for (Plan::PlannedItem& item : seller.items) {
        const auto label = labelBarcodes_.find(std::make_pair(seller.id, item.number));
        const bool sold = item.status == Kramo::Sold;
        if (label == labelBarcodes_.end() || (item.status != Kramo::InStock && !sold) ||
            (sold && soldTried)) {
            continue;
        }
        const std::string shown = seller.code + "-" + std::to_string(item.number);
        ScanAtFindField(Kramo::ScanDesk::Return, label->second);
        EXPECT_EQ(Main().ScanResultLabel().get_text(), shown + (sold ? " už predané" : " vrátené"));
        if (sold) {
            soldTried = true;
            continue;
        }
        item.status = Kramo::Returned;
        returned = true;
        ++returnScans_;
    }
    Main().ScanModeCombo().set_active(static_cast<int>(Kramo::ScanDesk::Find));
    return returned;
}

void BazaarDay::ReturnGoodsAndHandBack() {
    bool scannedBack = false;  // one seller's goods go back through the return desk
    for (Plan::PlannedSeller& seller : plan_->Sellers()) {
        if (seller.id == -1 || Store().GetSeller(seller.id).STATUS != Kramo::Selling) {
            continue;
        }
        ShowSeller(seller.id);
        if (seller.fate == Plan::Fate::ByHand) {
            // The organiser keeps one unsold item as a gift for the charity table.
            for (std::size_t i = 0; i < seller.items.size(); ++i) {
                if (seller.items[i].status == Kramo::InStock) {
                    SetToGift(seller, i);
                    seller.items[i].status = Kramo::Gift;
                    break;
                }
            }
        }
        if (scannedBack || !ReturnByScanning(seller)) {
            RemarkAllItems();
        } else {
            scannedBack = true;
        }
        MoveSeller(seller, Kramo::HandedBack, "Jana", Kramo::InStock, Kramo::Returned);
    }
}

std::vector<const Plan::PlannedSeller*> BazaarDay::SellersInListOrder() {
    std::vector<const Plan::PlannedSeller*> ordered;
    for (const Kramo::SellerList::Entry& entry : Main().Sellers().Entries()) {
        const auto planned =
            std::find_if(plan_->Sellers().begin(), plan_->Sellers().end(),
                         [&](const Plan::PlannedSeller& s) { return s.id == entry.seller.ID; });
        ordered.push_back(planned == plan_->Sellers().end() ? nullptr : &*planned);
    }
    return ordered;
}

BazaarDay::Documents BazaarDay::PrintDocuments() {
    Windows().Documents().SetTargetQuestion(
        [](const std::string& folder, const std::string& name) { return folder + "/" + name; });
    Main().ReloadSellerList();
    Documents documents;
    for (std::size_t position = 0; position < Main().Sellers().Size(); ++position) {
        Main().SellerCombo().set_active(static_cast<int>(position));
        DrainEvents();
        const std::size_t opened = opener_.paths.size();
        Click(Main().StatementButton());
        EXPECT_EQ(opener_.paths.size(), opened + 1);
        documents.statements.push_back(opener_.paths.back());
    }
    const auto activate = [this](const char* name) {
        Gtk::MenuItem* item = nullptr;
        Windows().MenuDescription()->get_widget(name, item);
        item->activate();
        DrainEvents();
        return opener_.paths.back();
    };
    documents.overview = activate("menuItemSaveSellerOverview");
    documents.statistics = activate("menuitemStats");
    return documents;
}

void BazaarDay::ExpectStoreAsPlanned() {
    std::size_t stored = 0;
    for (const Plan::PlannedSeller& seller : plan_->Sellers()) {
        if (!seller.Stored()) {
            if (seller.fate != Plan::Fate::DuplicateCode) {
                EXPECT_THROW(Store().GetSellerByCode(seller.code), Kramo::WrongSellerException);
            }
            continue;
        }
        ++stored;
        const Kramo::Seller found = Store().GetSellerByCode(seller.code);
        EXPECT_EQ(found.NAME, seller.name);
        EXPECT_EQ(found.COMMENT.rfind(seller.note, 0), 0u) << found.COMMENT;
        const std::vector<Kramo::Item> items = Store().GetSellerItems(found.ID);
        ASSERT_EQ(items.size(), seller.items.size()) << seller.code;
        const std::vector<Kramo::ItemCategory> categories = Store().GetItemCategories();
        for (const Plan::PlannedItem& planned : seller.items) {
            const auto item = std::find_if(items.begin(), items.end(), [&](const Kramo::Item& i) {
                return i.NUMBER == planned.number;
            });
            ASSERT_NE(item, items.end()) << seller.code << " " << planned.number;
            EXPECT_EQ(item->NAME, planned.name);
            EXPECT_EQ(std::lround(item->PRICE * 100.0), planned.cents) << planned.name;
            EXPECT_EQ(item->STATUS, planned.status) << seller.code << " " << planned.number;
            EXPECT_EQ(item->ITEM_CATEGORY_ID, categories.at(planned.category).ID);
        }
    }
    EXPECT_EQ(Store().GetSellers().size(), stored);
}

void BazaarDay::ExpectStatements(const Documents& documents) {
    const std::vector<const Plan::PlannedSeller*> sellers = SellersInListOrder();
    ASSERT_EQ(documents.statements.size(), sellers.size());
    for (std::size_t position = 0; position < sellers.size(); ++position) {
        ASSERT_NE(sellers[position], nullptr);
        const Plan::PlannedSeller& seller = *sellers[position];
        const ExpectedSettlement expected = plan_->Settle(seller);
        const std::string text = PdfReadBack(documents.statements[position]).Text();
        EXPECT_THAT(text, HasSubstr("Predavajuci: " + seller.code + " - " + seller.name));
        EXPECT_EQ(CentsIn(text, "Súčet predaných vecí +(-?[0-9.]+)"), expected.soldCents)
            << seller.code;
        EXPECT_EQ(PayoutCentsIn(text), expected.payoutCents) << seller.code;
    }
}

void BazaarDay::ExpectOverview(const Documents& documents) {
    const std::vector<const Plan::PlannedSeller*> sellers = SellersInListOrder();
    const PdfReadBack overview(documents.overview);
    const std::vector<std::string> pages = overview.Pages();
    const std::vector<std::string> bookmarks = overview.Bookmarks();
    ASSERT_EQ(pages.size(), sellers.size());
    ASSERT_EQ(bookmarks.size(), sellers.size() + 1);
    for (std::size_t position = 0; position < sellers.size(); ++position) {
        const Plan::PlannedSeller& seller = *sellers[position];
        // Bookmarks are written without diacritics.
        EXPECT_EQ(bookmarks[position + 1],
                  Kramo::StringEncoding::RemoveDiacritics(seller.code + " - " + seller.name));
        EXPECT_EQ(PayoutCentsIn(pages[position]), plan_->Settle(seller).payoutCents) << seller.code;
    }
}

void BazaarDay::ExpectStatistics(const Documents& documents) {
    const std::string text = PdfReadBack(documents.statistics).Text();
    long handling = 0, saleFees = 0, profit = 0, price = 0;
    int items = 0, sellers = 0;
    std::vector<int> perState(6, 0);
    for (const Plan::PlannedSeller& seller : plan_->Sellers()) {
        if (!seller.Stored()) {
            continue;
        }
        ++sellers;
        const ExpectedSettlement expected = plan_->Settle(seller);
        handling += expected.handlingCents;
        saleFees += expected.saleFeeCents;
        profit += expected.soldCents - expected.payoutCents;
        EXPECT_THAT(text, HasSubstr(CentsText(expected.soldCents) + " / " +
                                    CentsText(expected.soldCents - expected.payoutCents)))
            << seller.code;
        for (const Plan::PlannedItem& item : seller.items) {
            ++items;
            price += item.cents;
            ++perState.at(static_cast<std::size_t>(item.status));
        }
    }
    EXPECT_THAT(text, HasSubstr("Počet predajcov: " + std::to_string(sellers)));
    EXPECT_THAT(text, HasSubstr(std::to_string(sellers) + " ks - Vydany"));
    EXPECT_THAT(text, HasSubstr("Kusov tovaru: " + std::to_string(items)));
    EXPECT_EQ(CentsIn(text, "Cena tovaru spolu: ([0-9.]+)"), price);
    EXPECT_EQ(CentsIn(text, "za manipulačný poplatok za kusy: ([0-9.]+)"), handling);
    EXPECT_EQ(CentsIn(text, "poplatku za predané veci: ([0-9.]+)"), saleFees);
    EXPECT_EQ(CentsIn(text, "Zisk spolu: ([0-9.]+)"), profit);
    for (int status = 0; status < 6; ++status) {
        EXPECT_THAT(text,
                    HasSubstr(std::string("Kusov v '") + Kramo::ItemStatusDisplayName(status) +
                              "' : " + std::to_string(perState[static_cast<std::size_t>(status)])));
    }
}

}  // namespace KramoTest
