#include "import/FolderImport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "common/LogCapture.h"
#include "common/ScriptedUserMessages.h"
#include "common/TemporaryDirectory.h"
#include "storage/CachedDataTextfile.h"

namespace {

using KramoExcel::FolderImport;
using KramoTest::TemporaryDirectory;
using testing::HasSubstr;

std::string Sheet(const char* name) {
    return std::string(KRAMO_TEST_DATA) + "/" + name;
}

class FolderImportTest : public testing::Test {
  protected:
    FolderImportTest() {
        std::filesystem::create_directory(directory_.File("data"));
        std::filesystem::create_directory(directory_.File("sheets"));
        store_ = std::make_unique<Kramo::CachedDataTextfile>(directory_.File("data/"));
    }

    void Put(const char* sheet, const std::string& as) {
        std::filesystem::copy_file(Sheet(sheet), Folder() + as);
    }
    std::string Folder() const { return directory_.File("sheets/"); }
    bool Exists(const std::string& relative) const {
        return std::filesystem::exists(Folder() + relative);
    }
    std::string ReportOf(const FolderImport::Summary& summary, const std::string& name) const {
        for (const std::string& report : summary.reports) {
            if (report.find("\n" + name + "\n") != std::string::npos)
                return report;
        }
        return "no report for " + name;
    }

    TemporaryDirectory directory_;
    std::unique_ptr<Kramo::CachedDataTextfile> store_;
};

TEST_F(FolderImportTest, SortsEverySheetIntoFinishedOrError) {
    KramoTest::LogCapture log;
    Put("whole-prices.xls", "anna.xls");
    Put("zero-price.xls", "darcek.xls");
    Put("no-markers.xls", "bez.xls");
    directory_.WriteFile("sheets/Thumbs.db", "cache");
    directory_.WriteFile("sheets/zoznam.ods", "x");

    FolderImport folderImport(*store_, directory_.File("data/"), directory_.Path());
    const FolderImport::Summary summary = folderImport.Run(Folder());

    EXPECT_EQ(summary.correct, 1);
    EXPECT_EQ(summary.errors, 3);
    EXPECT_EQ(summary.notSheets, 1);
    EXPECT_EQ(ReportOf(summary, "anna.xls"),
              "Spracovaný súbor\nanna.xls\n načítaný, kód 'AN', 3 kusov tovaru; Info:  Obsahuje 3 "
              "ks tovaru s okruhlou cenou;");
    EXPECT_EQ(ReportOf(summary, "darcek.xls"),
              "Spracovaný súbor\ndarcek.xls\n Chyba:  Obsahuje 1 ks tovaru s nulovou cenou;");
    EXPECT_THAT(ReportOf(summary, "bez.xls"),
                HasSubstr("Chyba: Error importing file.Nepodarilo sa mi načítať"));
    EXPECT_THAT(ReportOf(summary, "zoznam.ods"),
                HasSubstr("pretože súbor nie je úplný archív ZIP"));
    // A file of another kind is named, and left where it is.
    EXPECT_EQ(ReportOf(summary, "Thumbs.db"),
              "Spracovaný súbor\nThumbs.db\n Nie je hárok predajcu, ostal v priečinku;");
    EXPECT_TRUE(Exists("Thumbs.db"));

    EXPECT_TRUE(Exists("finished/anna.xls"));
    for (const char* name : {"darcek.xls", "bez.xls", "zoznam.ods"}) {
        EXPECT_TRUE(Exists(std::string("error/") + name)) << name;
    }
    EXPECT_TRUE(std::filesystem::is_empty(Folder() + "warning"));

    // Only the accepted sheet reached the store, its items priced into categories.
    const std::vector<Kramo::Seller> sellers = store_->GetSellers();
    ASSERT_EQ(sellers.size(), 1u);
    EXPECT_EQ(sellers[0].SHORT_CODE, "AN");
    EXPECT_EQ(sellers[0].STATUS, Kramo::NotSelling);
    EXPECT_EQ(sellers[0].SELLER_CATEGORY_ID, 11);
    EXPECT_EQ(store_->GetSellerItems(sellers[0].ID).size(), 3u);

    // Each log line is written in three entries: the operation, the text, the line end.
    const std::string text = log.Text();
    EXPECT_THAT(text, HasSubstr(" ImportMultiSellers: "));
    EXPECT_THAT(text, HasSubstr(" Selected folder: " + Folder()));
    EXPECT_THAT(text, HasSubstr(" Dokončené ... správne načítaných: 1 chýb: 3."));
    EXPECT_LT(text.find("Selected folder"), text.find("Spracovaný súbor"));
}

TEST_F(FolderImportTest, KnownCodeIsRefusedAndNothingIsEverOverwritten) {
    Put("whole-prices.xls", "anna.xls");
    FolderImport first(*store_, directory_.File("data/"), directory_.Path());
    first.Run(Folder());

    // The same seller again, under a name that already stands in "error".
    Put("whole-prices.xls", "zoznam.xls");
    directory_.WriteFile("sheets/error/zoznam.xls", "an earlier seller's sheet");
    FolderImport second(*store_, directory_.File("data/"), directory_.Path());
    const FolderImport::Summary summary = second.Run(Folder());

    EXPECT_EQ(summary.errors, 1);
    EXPECT_THAT(ReportOf(summary, "zoznam.xls"),
                HasSubstr(" Predajca s rovnakým kódom už existuje. Zmažte najskôr predajcu 'AN'."));
    EXPECT_THAT(ReportOf(summary, "zoznam.xls"), HasSubstr("uložený ako 'zoznam_2.xls'"));
    EXPECT_EQ(directory_.ReadFile("sheets/error/zoznam.xls"), "an earlier seller's sheet");
    EXPECT_TRUE(Exists("error/zoznam_2.xls"));
    EXPECT_EQ(store_->GetSellers().size(), 1u);
}

TEST_F(FolderImportTest, EmptyFolderReportsNothingDone) {
    FolderImport folderImport(*store_, directory_.File("data/"), directory_.Path());
    const FolderImport::Summary summary = folderImport.Run(Folder());
    EXPECT_TRUE(summary.reports.empty());
    EXPECT_EQ(summary.correct + summary.errors, 0);
}

}  // namespace

namespace {

// A store that refuses new sellers, as a database that has gone away does.
class RefusingStore : public Kramo::CachedDataTextfile {
  public:
    using CachedDataTextfile::CachedDataTextfile;
    int AddSellerWithItems(Kramo::Seller&, std::vector<Kramo::Item>&) override {
        throw std::runtime_error("Predajca sa nezapísal do databázy.");
    }
};

// The store fails at the first sheet: the run ends as after its last file, with its totals and
// closing line, and every sheet stays for the next run.
TEST_F(FolderImportTest, StoreFailureEndsTheRunAndKeepsTheSheets) {
    KramoTest::LogCapture log;
    KramoTest::ScriptedUserMessages boxes;
    Put("whole-prices.xls", "anna.xls");
    Put("number-highest.xls", "nora.xls");
    RefusingStore refusing(directory_.File("data/"));
    FolderImport folderImport(refusing, directory_.File("data/"), directory_.Path());
    const FolderImport::Summary summary = folderImport.Run(Folder());
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.correct, 0);
    EXPECT_EQ(summary.errors, 1);
    ASSERT_EQ(summary.reports.size(), 1u);
    EXPECT_THAT(summary.reports[0], HasSubstr("Chyba: Predajcu sa nepodarilo uložiť: Predajca sa "
                                              "nezapísal do databázy.; súbor ostal v priečinku"));
    EXPECT_TRUE(Exists("anna.xls"));
    EXPECT_TRUE(Exists("nora.xls"));
    EXPECT_TRUE(std::filesystem::is_empty(Folder() + "finished"));
    EXPECT_TRUE(std::filesystem::is_empty(Folder() + "error"));
    EXPECT_THAT(log.Text(), HasSubstr(" Dokončené ... správne načítaných: 0 chýb: 1."));
    ASSERT_EQ(boxes.ShownBoxes().size(), 1u);
    EXPECT_EQ(boxes.ShownBoxes()[0].text, "Import priečinka sa zastavil.");
    EXPECT_THAT(boxes.ShownBoxes()[0].detail, HasSubstr("Predajca sa nezapísal do databázy."));

    // Once the store takes sellers again, the same folder is imported (both sheets carry the
    // code AN: one is taken, the other refused).
    FolderImport again(*store_, directory_.File("data/"), directory_.Path());
    EXPECT_EQ(again.Run(Folder()).correct, 1);
    EXPECT_FALSE(Exists("anna.xls") || Exists("nora.xls"));
}

}  // namespace
