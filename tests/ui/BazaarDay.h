#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BazaarPlan.h"
#include "WindowFixture.h"
#include "register/ItemMarking.h"
#include "storage/PostgresConnection.h"
#include "support/DocumentOpener.h"

namespace KramoTest {

// A bazaar day as the organiser and the cashiers live it, driven through the real windows:
// the sheets imported, sellers and items added by hand, goods accepted, the purchases sold
// at the checkout, the rest returned, every document printed. The day follows a plan made in
// advance, and each step brings the store towards it from wherever the store is, so that a
// day interrupted by a crash can simply be started again.
class BazaarDay : public WindowFixture {
  protected:
    struct Documents {
        std::vector<std::string> statements;  // in the seller list's order
        std::string overview;
        std::string statistics;
    };
    // Each finished purchase: its index in the plan and the receipt written for it.
    using SaleJournal = std::function<void(std::size_t purchase, const std::string& receipt)>;

    void MakePlan(unsigned seed, int sheets, int purchases, const FeeSchedule& fees);
    BazaarPlan& Plan() { return *plan_; }
    std::string SheetFolder() const { return ProgramDirectory() + "odovzdane/"; }

    // Switches the program to the database, as the settings dialog would.
    void UseDatabase(const Kramo::PostgresConnection& connection);

    void ImportSheets();
    // Finds the planned sellers and items in the store and takes their IDs (which a text-file
    // store gives anew at every start), and with takeStates their states too.
    void BindToStore(bool takeStates = false);
    void AddSellersByHand();
    void AcceptGoodsAndStartSelling();
    // Sells the purchases the filter picks (all of them without one); purchases whose items
    // the store has sold already are skipped.
    // Sells the picked purchases of the plan; each purchase not picked is handed to `skipped`
    // (at the open checkout).
    void SellPurchases(const std::function<bool(std::size_t)>& picks = nullptr,
                       const SaleJournal& journal = nullptr,
                       const std::function<void(std::size_t)>& skipped = nullptr);
    // Puts a purchase that another desk sells on this desk's counter, calls `added`, waits
    // until the other desk has sold it, and tries to finish it: the cashier is told that its
    // items went elsewhere and takes them out; nothing is recorded here, no receipt written.
    void LoseContestedPurchase(std::size_t index, const std::function<void()>& added);
    // The net total of a desk's cash-up for today, printed through "Uzávierka pokladne…".
    long CashUpCents(const std::string& desk);
    void ReturnGoodsAndHandBack();
    Documents PrintDocuments();

    // The store and the documents against the plan and the test's own arithmetic.
    void ExpectStoreAsPlanned();
    void ExpectStatements(const Documents& documents);
    void ExpectOverview(const Documents& documents);
    void ExpectStatistics(const Documents& documents);

    int ReceiptsChecked() const { return receiptsChecked_; }
    int ContestsLost() const { return contestsLost_; }
    int SearchSales() const { return searchSales_; }
    // Items sold through the scan field: by the barcodes read off the printed labels, and by
    // other barcodes or codes typed there; purchases paid through the payment field.
    int LabelScans() const { return labelScans_; }
    int CodeScans() const { return codeScans_; }
    int PaidAtField() const { return paidAtField_; }
    // Items handed in and given back by scanning their labels in the main window's find field.
    int HandInScans() const { return handInScans_; }
    int ReturnScans() const { return returnScans_; }

  private:
    class RecordingOpener : public Kramo::DocumentOpener {
      public:
        void Open(const std::string& path) override { paths.push_back(path); }
        std::vector<std::string> paths;
    };

    void ShowSeller(int sellerId);
    // Re-marks the shown seller's items through the button, the question answered yes.
    void RemarkAllItems();
    // Sets the shown seller's state, the prompt answered with the person; the planned items
    // in one state are in the other afterwards, as re-marking left them.
    void MoveSeller(BazaarPlan::PlannedSeller& seller, int32_t state, const char* person,
                    int32_t itemsFrom, int32_t itemsTo);
    void Press(Gtk::RadioButton& button);
    void Click(Gtk::Button& button);
    void Type(Gtk::Entry& entry, const std::string& text);
    void FillItemDialog(const BazaarPlan::PlannedItem& item);
    void ChooseAtDesk(const BazaarPlan::ItemRef& ref);
    // Prints a sheet of labels for some sellers' goods, as the organiser does before the sale,
    // and reads their barcodes back from the page as a scanner would.
    void ReadLabels();
    // Sells the item through the scan field when its label was read or, for some items, by
    // its barcode or its code typed there; false when it is to be chosen the other ways.
    bool ScanAtDesk(const BazaarPlan::ItemRef& ref);
    std::string ScanTextOf(const BazaarPlan::ItemRef& ref) const;
    // At the hand-in desk: the shown seller's goods taken over by scanning their labels, one
    // scanned twice by mistake; false when none of the seller's labels was read.
    bool HandInByScanning(const BazaarPlan::PlannedSeller& seller);
    // At the return desk: the shown seller's unsold goods given back by scanning their labels,
    // and one sold item's label refused; false when no unsold item's label was read.
    bool ReturnByScanning(BazaarPlan::PlannedSeller& seller);
    void ScanAtFindField(Kramo::ScanDesk desk, const std::string& text);
    void Scan(const std::string& text);
    // Finishes the purchase through the payment field: Enter on the empty scan field, then an
    // amount received or Enter alone for the exact sum. The amount received in cents.
    long PayAtField(std::size_t index, long cents);
    bool ChooseBySearch(const BazaarPlan::PlannedItem& item);
    void ChooseFromItemCombo(const BazaarPlan::PlannedSeller& seller,
                             const BazaarPlan::PlannedItem& item);
    void SellOne(std::size_t index, const SaleJournal& journal);
    void TryExtras(std::size_t index);
    void ExpectReceipt(const std::string& path, const BazaarPlan::PlannedPurchase& purchase,
                       long receivedCents);
    void SetToGift(const BazaarPlan::PlannedSeller& seller, std::size_t itemIndex);
    std::vector<const BazaarPlan::PlannedSeller*> SellersInListOrder();

    std::unique_ptr<BazaarPlan> plan_;
    RecordingOpener opener_;
    Kramo::DocumentOpenerScope openerScope_{opener_};
    int receiptsChecked_ = 0;
    int contestsLost_ = 0;
    int searchSales_ = 0;
    int labelScans_ = 0;
    int codeScans_ = 0;
    int paidAtField_ = 0;
    int handInScans_ = 0;
    int returnScans_ = 0;
    // The barcode on each label read, by the seller's ID and the item's number.
    std::map<std::pair<int, int>, std::string> labelBarcodes_;
};

// The number of the first capture group of the pattern in the text, in whole cents; fails the
// test and gives LONG_MIN when the pattern is not there.
long CentsIn(const std::string& text, const std::string& pattern);

}  // namespace KramoTest
