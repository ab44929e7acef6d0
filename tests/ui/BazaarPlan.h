#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace KramoTest {

// The fees as the organiser set them up, written down here on their own so that the test's
// payouts are computed without the program's arithmetic. Amounts are whole cents, rates
// hundredths of a percent.
struct FeeSchedule {
    struct Category {
        std::string name;
        long fromCents;
        long toCents;
        long handlingCents;
        long salePercentHundredths;
    };
    std::vector<Category> categories;
    long participationCents = 0;

    // The built-in categories of the seller files: every price falls into the first one.
    static FeeSchedule TextFiles();
    // The categories the database schema sets up.
    static FeeSchedule Database();

    std::size_t CategoryFor(long priceCents) const;
};

struct ExpectedSettlement {
    long soldCents = 0;
    long payoutCents = 0;
    long handlingCents = 0;
    long saleFeeCents = 0;
    int soldCount = 0;
};

// One whole bazaar day planned in advance from a seed: the sheets the sellers hand in (some
// of them refused), the sellers added by hand, and the purchases with the way each item is
// found at the desk. The plan also keeps the state every item should be in.
class BazaarPlan {
  public:
    enum class Fate { Stored, ZeroPrice, DuplicateCode, Damaged, NamelessText, ByHand };
    enum class Way { CodeAndNumber, Search, ItemCombo };

    struct PlannedItem {
        int number = 0;
        std::string name;
        long cents = 0;
        std::size_t category = 0;  // index into the fee schedule's categories
        int status = 0;            // expected state, in the program's numbering
        int id = -1;               // the store's ID once stored
    };
    struct PlannedSeller {
        std::string file;
        std::string name;
        std::string code;
        std::string note;
        Fate fate = Fate::Stored;
        std::vector<PlannedItem> items;
        int skippedRows = 0;  // rows of the sheet without a name, never items
        int id = -1;
        bool Stored() const { return fate == Fate::Stored || fate == Fate::ByHand; }
    };
    struct ItemRef {
        std::size_t seller;
        std::size_t item;
        Way way;
    };
    struct PlannedPurchase {
        std::vector<ItemRef> items;
        long Cents(const BazaarPlan& plan) const;
    };

    BazaarPlan(unsigned seed, int sheetCount, int purchaseCount, const FeeSchedule& fees);

    // Writes every sheet file into the folder: the workbooks (xls, xlsx, ods, csv) through
    // real writers, the damaged one cut short, the text sheet and a stray file that is no
    // sheet at all.
    void WriteSheets(const std::string& folder) const;

    std::vector<PlannedSeller>& Sellers() { return sellers_; }
    const std::vector<PlannedSeller>& Sellers() const { return sellers_; }
    const std::vector<PlannedPurchase>& Purchases() const { return purchases_; }
    PlannedItem& ItemOf(const ItemRef& ref) { return sellers_[ref.seller].items[ref.item]; }
    const PlannedItem& ItemOf(const ItemRef& ref) const {
        return sellers_[ref.seller].items[ref.item];
    }
    const FeeSchedule& Fees() const { return fees_; }

    int CountOf(Fate fate) const;
    // Sheet files the folder import should accept and refuse (the stray file is neither).
    int AcceptedSheets() const { return CountOf(Fate::Stored); }
    int RefusedFiles() const;
    static const char* StrayFileName() { return "Thumbs.db"; }

    ExpectedSettlement Settle(const PlannedSeller& seller) const;

  private:
    void PlanSheets(unsigned seed, int sheetCount);
    void PlanHandAddedSellers();
    void PlanPurchases(unsigned seed, int purchaseCount);
    std::string SheetDescription() const;

    FeeSchedule fees_;
    std::vector<PlannedSeller> sellers_;
    std::vector<PlannedPurchase> purchases_;
};

// Whole cents as the documents print them: "12.30", "-0.50".
std::string CentsText(long cents);

}  // namespace KramoTest
