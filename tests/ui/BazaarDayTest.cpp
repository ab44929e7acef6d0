#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "BazaarDay.h"
#include "support/FormatText.h"

namespace {

using KramoTest::BazaarPlan;
using KramoTest::FeeSchedule;

class BazaarDayTest : public KramoTest::BazaarDay {
  protected:
    // Where the folder import should have moved each file of the sheet folder.
    void ExpectSheetsMoved() {
        for (const BazaarPlan::PlannedSeller& seller : Plan().Sellers()) {
            if (seller.fate == BazaarPlan::Fate::ByHand) {
                continue;
            }
            const char* target = seller.fate == BazaarPlan::Fate::Stored ? "finished/" : "error/";
            EXPECT_TRUE(std::filesystem::exists(SheetFolder() + target + seller.file))
                << seller.file;
        }
        EXPECT_TRUE(
            std::filesystem::exists(SheetFolder() + "error/" + BazaarPlan::StrayFileName()));
    }
};

TEST_F(BazaarDayTest, AWholeDayOnSellerFilesAddsUp) {
    Open();
    MakePlan(20261208, 40, 150, FeeSchedule::TextFiles());

    ImportSheets();
    BindToStore();
    const auto infos = Boxes().ShownOfKind("info");
    ASSERT_FALSE(infos.empty());
    EXPECT_EQ(infos.back().text, "Predajcovia načítaný");
    EXPECT_EQ(infos.back().detail,
              Kramo::FormatText("Korektne načítaných hárkov: %i Chýb: %i.", Plan().AcceptedSheets(),
                                Plan().RefusedFiles()));
    ExpectSheetsMoved();

    AddSellersByHand();
    AcceptGoodsAndStartSelling();
    ReplaceStore();  // what the files hold, as the next start of the program reads them
    Main().ReloadSellerList();
    BindToStore();
    ExpectStoreAsPlanned();

    SellPurchases();
    EXPECT_EQ(ReceiptsChecked(), static_cast<int>(Plan().Purchases().size()));
    EXPECT_GT(SearchSales(), 20);

    ReturnGoodsAndHandBack();
    const Documents documents = PrintDocuments();
    ReplaceStore();
    Main().ReloadSellerList();
    BindToStore();
    ExpectStoreAsPlanned();
    ExpectStatements(documents);
    ExpectOverview(documents);
    ExpectStatistics(documents);
    // Only the refused start of selling before the goods were accepted.
    EXPECT_EQ(Boxes().ShownOfKind("error").size(), 1u);
}

}  // namespace
