#include "SellersSummary.h"

#include <algorithm>
#include <array>
#include <functional>

#include "core/ItemStatus.h"
#include "core/SellerFees.h"
#include "core/SellerStatus.h"
#include "core/StorageExceptions.h"
#include "pdf/PageLayout.h"
#include "pdf/SkippedSellers.h"
#include "register/ExceptionHandlers.h"
#include "register/SellerList.h"
#include "support/Clock.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

constexpr float SummaryX = 8.0f;
constexpr float HeadingFontSize = 1.2f;
constexpr float LineStep = 1.6f;
constexpr float GapBelowTable = 3.2f;
// A statistics line at or below this y goes to a new page.
constexpr float LowestStatisticsLine = 98.0f;
constexpr int32_t CountedItemStates = 6;  // Unassigned up to ToTrace

enum SummaryColumn { Code, Name, Comment, Category, SoldAndProfit, SaleFees, HandlingFees };

// The amount columns are wide enough for "1234.50 / 234.50" and "234.50" in the table's font,
// and the category column for the longest category name, so that no digit is cut off.
PdfColumns SummaryColumns() {
    PdfColumns columns;
    columns.AddColumn(_("Kód"), 6);
    columns.AddColumn(_("Meno"), 19);
    columns.AddColumn(_("Poznámka"), 19);
    columns.AddColumn(_("Kategória"), 12);
    columns.AddColumn(_("Predané/Zisk"), 17);
    // TRANSLATORS: narrow column heads of the sellers' summary: the fee on sold items and the
    // handling fee per item.
    columns.AddColumn(_("popl"), 7);
    columns.AddColumn(_("manip"), 8);
    return columns;
}

// What the seller table adds up while it is filled. Sums of money are kept in double
// precision: in single precision a bazaar's total of goods is off by cents from a few
// thousand items on.
struct FeeTotals {
    double profit = 0.0;
    double saleFees = 0.0;
    double handlingFees = 0.0;
};

// What the statistics add up over every item of every seller.
struct ItemTotals {
    int count = 0;
    double price = 0.0;
    std::array<int, CountedItemStates> countPerState{};
    std::array<double, CountedItemStates> pricePerState{};
};

// A list read at the start; a failure is reported and the summary goes on without it.
template <typename Record>
std::vector<Record> ReadOrReport(const std::function<std::vector<Record>()>& read) {
    try {
        return read();
    } catch (const std::exception& failure) {
        HandleException(failure);
        return {};
    }
}

const SellerCategory& CategoryOf(const std::vector<SellerCategory>& categories,
                                 const Seller& seller) {
    const auto found = std::find_if(categories.begin(), categories.end(),
                                    [&seller](const SellerCategory& category) {
                                        return category.ID == seller.SELLER_CATEGORY_ID;
                                    });
    if (found == categories.end()) {
        throw WrongSellerCategoryException();
    }
    return *found;
}

// The cell of one fee kind: empty when the settlement has no line of it.
std::string FeeCell(const SellerSettlement& settlement, FeeKind kind, double& total) {
    SellerSettlement ofKind;
    ofKind.lines = settlement.LinesOfKind(kind);
    if (ofKind.lines.empty()) {
        return {};
    }
    const double sum = ofKind.FeeSum();
    total += sum;
    return FormatText("%0.2f", sum);
}

class SummaryWriter {
  public:
    SummaryWriter(PdfWrapperBase& writer, DataAccessInterface& store, const KramoSettings& settings)
        : writer_(writer), store_(store), settings_(settings) {}

    void Write() {
        sellers_ = ReadOrReport<Seller>([this] { return store_.GetSellers(); });
        sellerCategories_ =
            ReadOrReport<SellerCategory>([this] { return store_.GetSellerCategories(); });
        itemCategories_ = store_.GetItemCategories();

        writer_.NewPage(_("Zhrnutie predajcov"));
        WritePageDecoration(writer_);
        writer_.SetFontSize(HeadingFontSize);
        y_ = PageLayout::ContinuationTop;
        WriteHeadingLine(
            FormatText(_("Počet predávajúcich dohromady: %i"), static_cast<int>(sellers_.size())));
        WriteHeadingLine(FormatText(_("Stav dňa: %s"), FormatDateText().c_str()));
        y_ = DrawTableSplitOnPages(writer_, SummaryX, y_, SellerTable(), SummaryColumns()) +
             GapBelowTable;
        WriteStatistics();
        skipped_.Report();
    }

  private:
    void WriteHeadingLine(const std::string& text) {
        writer_.WriteText(SummaryX, y_, text);
        y_ += LineStep;
    }

    PdfTable SellerTable() {
        SellerList sorted;
        sorted.Reload(sellers_);
        std::array<std::vector<const Seller*>, SellerStatusCount> groups;
        for (const SellerList::Entry& entry : sorted.Entries()) {
            if (entry.seller.STATUS >= 0 && entry.seller.STATUS < SellerStatusCount) {
                groups[entry.seller.STATUS].push_back(&entry.seller);
            }
        }
        PdfTable table(sellers_.size() + SellerStatusCount, SummaryColumns().Columns());
        std::size_t row = 0;
        for (int32_t status = 0; status < SellerStatusCount; ++status) {
            table.Cell(Comment, row++) =
                FormatText(_(" %i ks - %s"), static_cast<int>(groups[status].size()),
                           SellerStatusDisplayName(status));
            for (const Seller* seller : groups[status]) {
                FillSellerRow(table, row++, *seller);
            }
        }
        return table;
    }

    // A seller whose category or items cannot be read keeps its row without the amounts; it is
    // noted, and the table goes on with the others.
    void FillSellerRow(PdfTable& table, std::size_t row, const Seller& seller) {
        table.Cell(Code, row) = seller.SHORT_CODE;
        table.Cell(Name, row) = seller.NAME;
        table.Cell(Comment, row) = seller.COMMENT;
        try {
            const SellerCategory& category = CategoryOf(sellerCategories_, seller);
            table.Cell(Category, row) = category.NAME;
            if (seller.STATUS != NotSelling) {
                FillSettlement(table, row, seller, category);
            }
        } catch (const std::exception& failure) {
            skipped_.Note(seller.ID, seller.SHORT_CODE, failure);
        }
    }

    void FillSettlement(PdfTable& table, std::size_t row, const Seller& seller,
                        const SellerCategory& category) {
        const SellerSettlement settlement = ComputeSellerFees(
            store_.GetSellerItems(seller.ID), itemCategories_, category, settings_.CurrencyUnit());
        const double profit = settlement.soldSum - settlement.payout;
        fees_.profit += profit;
        table.Cell(SoldAndProfit, row) =
            seller.STATUS == Selling ? FormatText("%0.2f", settlement.soldSum)
                                     : FormatText("%0.2f / %0.2f", settlement.soldSum, profit);
        table.Cell(SaleFees, row) = FeeCell(settlement, FeeKind::Sale, fees_.saleFees);
        table.Cell(HandlingFees, row) = FeeCell(settlement, FeeKind::Handling, fees_.handlingFees);
        LogMessage(LogNotice,
                   "After seller %s - WholeSoldSumPercentageAllSellersSum : %0.2f "
                   "PerItemAllSellersSum: %0.2f\n",
                   seller.SHORT_CODE.c_str(), fees_.saleFees, fees_.handlingFees);
    }

    void CountItems() {
        LogMessage(LogNotice, "Counting up sum\n");
        for (const Seller& seller : sellers_) {
            try {
                CountItemsOf(seller);
            } catch (const std::exception& failure) {
                skipped_.Note(seller.ID, seller.SHORT_CODE, failure);
            }
            LogMessage(LogNotice, "After seller %s - %s : %i\n", seller.SHORT_CODE.c_str(),
                       seller.NAME.c_str(), static_cast<int>(items_.price));
        }
    }

    // Counted only once all of the seller's items are read: a seller is in the statistics whole
    // or not at all.
    void CountItemsOf(const Seller& seller) {
        for (const Item& item : store_.GetSellerItems(seller.ID)) {
            ++items_.count;
            items_.price += item.PRICE;
            if (item.STATUS >= 0 && item.STATUS < CountedItemStates) {
                ++items_.countPerState[item.STATUS];
                items_.pricePerState[item.STATUS] += item.PRICE;
            }
        }
    }

    // A line at the current y, on a new page when it would come too low.
    void WriteStatisticsLine(const std::string& text) {
        if (y_ >= LowestStatisticsLine) {
            writer_.NewPage(writer_.CurrentPageTitle());
            WritePageDecoration(writer_);
            y_ = PageLayout::ContinuationTop;
        }
        writer_.WriteText(SummaryX, y_, text);
    }

    void WriteNextStatisticsLine(const std::string& text) {
        y_ += LineStep;
        WriteStatisticsLine(text);
    }

    void WriteStatistics() {
        WriteStatisticsLine(_("Ďalšie štatistické údaje:"));
        CountItems();
        const int sellerCount = static_cast<int>(sellers_.size());
        const char* currency = settings_.CurrencyCode().c_str();
        // Without any seller there is nothing to average: both averages show 0.
        const int itemsPerSeller = sellerCount > 0 ? items_.count / sellerCount : 0;
        const double pricePerSeller = sellerCount > 0 ? items_.price / sellerCount : 0.0;
        WriteNextStatisticsLine(FormatText(_("Počet predajcov: %i"), sellerCount));
        WriteNextStatisticsLine(FormatText(_("Kusov tovaru: %i"), items_.count));
        WriteNextStatisticsLine(
            FormatText(_("Cena tovaru spolu: %0.2f %s"), items_.price, currency));
        WriteNextStatisticsLine(
            FormatText(_("Priemerne kusov tovaru na predajcu: %i"), itemsPerSeller));
        WriteNextStatisticsLine(
            FormatText(_("Priemerná cena tovaru na predajcu: %0.0f %s"), pricePerSeller, currency));
        WriteNextStatisticsLine(FormatText(
            _("Suma získaná z %% poplatku za predané veci: %0.2f %s"), fees_.saleFees, currency));
        WriteNextStatisticsLine(
            FormatText(_("Suma získaná za manipulačný poplatok za kusy: %0.2f %s"),
                       fees_.handlingFees, currency));
        WriteNextStatisticsLine(FormatText(_("Zisk spolu: %0.2f"), fees_.profit));
        for (int32_t status = 0; status < CountedItemStates; ++status) {
            WriteNextStatisticsLine(FormatText(
                _("Kusov v '%s' : %i , cena tovaru : %0.0f %s"), ItemStatusDisplayName(status),
                items_.countPerState[status], items_.pricePerState[status], currency));
        }
    }

    PdfWrapperBase& writer_;
    DataAccessInterface& store_;
    const KramoSettings& settings_;
    std::vector<Seller> sellers_;
    std::vector<SellerCategory> sellerCategories_;
    std::vector<ItemCategory> itemCategories_;
    FeeTotals fees_;
    ItemTotals items_;
    SkippedSellers skipped_;
    float y_ = 0.0f;
};

}  // namespace

void WriteSellersSummary(PdfWrapperBase& writer, DataAccessInterface& store,
                         const KramoSettings& settings) {
    SummaryWriter(writer, store, settings).Write();
}

}  // namespace Kramo
