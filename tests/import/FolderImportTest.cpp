#include "import/FolderImport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "common/LogCapture.h"
#include "common/ScriptedUserMessages.h"
#include "common/TemporaryDirectory.h"
#include "storage/CachedDataTextfile.h"

namespace {

using KramoExcel::FolderImport;
using KramoExcel::ImportReport;
using KramoTest::TemporaryDirectory;
using testing::ElementsAre;
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
    static ImportReport::Entry EntryOf(const FolderImport::Summary& summary,
                                       const std::string& name) {
        for (const ImportReport::Entry& entry : summary.report.Entries()) {
            if (entry.fileName == name)
                return entry;
        }
        ADD_FAILURE() << "no entry for " << name;
        return {};
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
    EXPECT_EQ(summary.report.Totals(), "Korektne načítaných hárkov: 1 Chýb: 3.");
    const ImportReport::Entry anna = EntryOf(summary, "anna.xls");
    EXPECT_EQ(anna.state, ImportReport::State::Stored);
    EXPECT_EQ(anna.sellerCode, "AN");
    EXPECT_EQ(anna.sellerName, "Anna Nováková");
    EXPECT_EQ(anna.itemsStored, 3);
    EXPECT_THAT(anna.warnings, ElementsAre("Ceny bez centov: 3"));
    const ImportReport::Entry darcek = EntryOf(summary, "darcek.xls");
    EXPECT_EQ(darcek.state, ImportReport::State::Refused);
    EXPECT_EQ(darcek.sellerCode, "DA");
    EXPECT_EQ(darcek.itemsStored, 0);
    EXPECT_EQ(darcek.reason, "Obsahuje 1 ks tovaru s nulovou cenou");
    EXPECT_EQ(EntryOf(summary, "bez.xls").reason,
              "Hárok sa nepodarilo prečítať: súbor neobsahuje špeciálne znaky");
    EXPECT_EQ(EntryOf(summary, "bez.xls").sellerCode, "");
    EXPECT_THAT(EntryOf(summary, "zoznam.ods").reason, HasSubstr("súbor nie je úplný archív ZIP"));
    // A file of another kind is named, and left where it is.
    const ImportReport::Entry thumbs = EntryOf(summary, "Thumbs.db");
    EXPECT_EQ(thumbs.state, ImportReport::State::NotASheet);
    EXPECT_FALSE(thumbs.error);
    EXPECT_THAT(thumbs.warnings, ElementsAre("Súbor ostal v priečinku."));
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
    EXPECT_THAT(text, HasSubstr("Spracovaný súbor\nanna.xls\n načítaný, kód 'AN', 3 kusov "
                                "tovaru; Info:  Obsahuje 3 ks tovaru s okruhlou cenou;"));
    EXPECT_THAT(text,
                HasSubstr("Spracovaný súbor\ndarcek.xls\n Chyba:  Obsahuje 1 ks tovaru s nulovou "
                          "cenou;"));
    EXPECT_THAT(text, HasSubstr("Spracovaný súbor\nbez.xls\n Chyba: Error importing "
                                "file.Nepodarilo sa mi načítať"));
    EXPECT_THAT(text, HasSubstr("Spracovaný súbor\nThumbs.db\n Nie je hárok predajcu, ostal v "
                                "priečinku;"));
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
    const ImportReport::Entry zoznam = EntryOf(summary, "zoznam.xls");
    EXPECT_EQ(zoznam.reason,
              "Predajca s rovnakým kódom už existuje. Zmažte najskôr predajcu 'AN' tlačidlom "
              "„Odstrániť predajcu“, ak je v zozname omylom.");
    EXPECT_THAT(zoznam.warnings,
                ElementsAre("Ceny bez centov: 3",
                            "V priečinku 'error' už je súbor s rovnakým menom, tento je uložený "
                            "ako 'zoznam_2.xls'."));
    EXPECT_EQ(directory_.ReadFile("sheets/error/zoznam.xls"), "an earlier seller's sheet");
    EXPECT_TRUE(Exists("error/zoznam_2.xls"));
    EXPECT_EQ(store_->GetSellers().size(), 1u);
}

// Rows a seller may not know were lost: a price without a name (an empty cell or a formula),
// a name of blanks. A numbered line left empty is the form's own and no warning.
TEST_F(FolderImportTest, StoredSheetCarriesItsWarningsIntoTheReportText) {
    directory_.WriteFile("sheets/eva.csv",
                         ";Eva Malá\n;EV;!code!\n;pozn.;!note!\n\n!number!;!name!;!price!\n\n"
                         "1;Kabát;12,50\n2;;5\n3;   ;4\n4;;\n5;;3,20\n6;Šál;7\n");
    FolderImport folderImport(*store_, directory_.File("data/"), directory_.Path());
    const FolderImport::Summary summary = folderImport.Run(Folder());

    ASSERT_EQ(summary.report.Entries().size(), 1u);
    const ImportReport::Entry& eva = summary.report.Entries()[0];
    EXPECT_EQ(eva.state, ImportReport::State::Stored);
    EXPECT_EQ(eva.itemsStored, 3);
    EXPECT_EQ(summary.report.Text(),
              "Import hárkov predajcov: " + Folder() +
                  "\nKorektne načítaných hárkov: 1 Chýb: 0.\n\n"
                  "eva.csv: uložený, predajca EV – Eva Malá, uložených položiek: 3\n"
                  "    Preskočené riadky s cenou, ale bez názvu (prázdny alebo vzorec): 2\n"
                  "    Názvy len z medzier: 1\n"
                  "    Ceny bez centov: 2\n");
}

TEST_F(FolderImportTest, EmptyFolderReportsNothingDone) {
    FolderImport folderImport(*store_, directory_.File("data/"), directory_.Path());
    const FolderImport::Summary summary = folderImport.Run(Folder());
    EXPECT_TRUE(summary.report.Entries().empty());
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
    ASSERT_EQ(summary.report.Entries().size(), 1u);
    const ImportReport::Entry& stopped = summary.report.Entries()[0];
    EXPECT_EQ(stopped.state, ImportReport::State::Stopped);
    EXPECT_THAT(stopped.reason, HasSubstr("Predajca sa nezapísal do databázy."));
    EXPECT_THAT(log.Text(), HasSubstr("Chyba: Predajcu sa nepodarilo uložiť: Predajca sa "
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

// Another desk stores a seller under the first sheet's code between the check and the write.
class RacedStore : public Kramo::CachedDataTextfile {
  public:
    using CachedDataTextfile::CachedDataTextfile;
    int AddSellerWithItems(Kramo::Seller& seller, std::vector<Kramo::Item>& items) override {
        if (std::exchange(raced_, false)) {
            throw Kramo::SellerCodeTakenException(seller.SHORT_CODE);
        }
        return CachedDataTextfile::AddSellerWithItems(seller, items);
    }

  private:
    bool raced_ = true;
};

TEST_F(FolderImportTest, CodeTakenMeanwhileRefusesThatSheetAndTheRunGoesOn) {
    KramoTest::ScriptedUserMessages boxes;
    Put("whole-prices.xls", "anna.xls");
    directory_.WriteFile("sheets/eva.csv",
                         ";Eva Malá\n;EV;!code!\n;pozn.;!note!\n\n!number!;!name!;!price!\n"
                         "1;Kabát;12,50\n");
    RacedStore raced(directory_.File("data/"));
    FolderImport folderImport(raced, directory_.File("data/"), directory_.Path());
    const FolderImport::Summary summary = folderImport.Run(Folder());

    EXPECT_FALSE(summary.stopped);
    EXPECT_EQ(summary.correct, 1);
    EXPECT_EQ(summary.errors, 1);
    EXPECT_TRUE(boxes.ShownBoxes().empty());
    ASSERT_EQ(summary.report.Entries().size(), 2u);
    const ImportReport::Entry& refused = summary.report.Entries()[0];
    EXPECT_EQ(refused.state, ImportReport::State::Refused);
    EXPECT_EQ(refused.reason, "Kód predajcu " + refused.sellerCode + " už má iný predajca.");
    EXPECT_TRUE(Exists("error/" + refused.fileName));
    EXPECT_EQ(summary.report.Entries()[1].state, ImportReport::State::Stored);
    EXPECT_EQ(raced.GetSellers().size(), 1u);
}

}  // namespace
