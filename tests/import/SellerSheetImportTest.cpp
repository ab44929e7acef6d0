#include "import/SellerSheetImport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "common/PdfReadBack.h"
#include "common/TemporaryDirectory.h"
#include "import/BasicExcelFileWrapper.h"
#include "import/SellerSheet.h"
#include "import/SellerSheetTemplate.h"

namespace {

using namespace KramoExcel;
using KramoTest::TemporaryDirectory;
using testing::EndsWith;
using testing::StartsWith;

std::string Sheet(const char* name) {
    return std::string(KRAMO_TEST_DATA) + "/" + name;
}

class SellerSheetImportTest : public testing::Test {
  protected:
    SellerSheetImport Import(const std::string& path) {
        return ImportSellerSheet(path, directory_.File("data/"), directory_.Path());
    }

    TemporaryDirectory directory_;
};

TEST_F(SellerSheetImportTest, ReadsTheSellerAndTheItemTable) {
    const SellerSheetImport import = Import(Sheet("seller-sheet.xls"));
    ASSERT_EQ(import.outcome, Loaded) << import.FailureText;
    EXPECT_EQ(import.seller.NAME, "Anna Nováková");
    EXPECT_EQ(import.seller.SHORT_CODE, "AN");
    EXPECT_EQ(import.seller.COMMENT, "volať večer");
    EXPECT_EQ(import.seller.SELLER_CATEGORY_ID, 0);

    std::vector<std::string> names;
    for (const Kramo::Item& item : import.items)
        names.push_back(item.NAME);
    // Row 11 is never read; rows without a name or a price are skipped; 100 skipped rows are
    // passed over, the 101st ends the table.
    EXPECT_THAT(
        names, testing::ElementsAre("Zimná bunda", "Kočík", "Hračka", "Lopta", "Po sto prázdnych"));
    EXPECT_DOUBLE_EQ(import.items[0].PRICE, 12.5);
    EXPECT_DOUBLE_EQ(import.items[1].PRICE, 12.5);  // typed with a decimal comma
    EXPECT_DOUBLE_EQ(import.items[2].PRICE, 2.0);   // 1.999 shows as 2.00
    EXPECT_EQ(import.items[3].NUMBER, 7);           // 7.0 as a floating cell
    for (const Kramo::Item& item : import.items) {
        EXPECT_EQ(item.ID, -1);
        EXPECT_EQ(item.SELLER_ID, -1);
        EXPECT_EQ(item.STATUS, Kramo::Unassigned);
        EXPECT_EQ(item.ITEM_CATEGORY_ID, 0);
    }
    EXPECT_EQ(import.ZeroPriceCount, 1);
    EXPECT_EQ(import.RoundPriceCount, 3);  // 2.00, 0 and 3
    EXPECT_EQ(import.NamelessCount, 0);
    EXPECT_EQ(import.SkippedNamelessRows, 1);  // a price without a name; a name without a price
    EXPECT_EQ(import.BlankNameCount, 0);
    EXPECT_FALSE(std::filesystem::exists(directory_.File("tmp.xls")));
}

// One sheet saved by real programs in every format the import reads (make_workbooks.py): the
// same seller and the same items, whatever the format. The note holds a line break, a name
// two spaces, another leading ones; a price is typed as text with a decimal comma.
TEST_F(SellerSheetImportTest, OneSheetReadsAlikeInEveryFormat) {
    struct Item {
        int32_t number;
        const char* name;
        double price;
    };
    const Item expected[] = {{1, "Zimná bunda – veľkosť 140", 12.5},
                             {2, "Kočík", 45.9},
                             {3, "Detské topánky  č. 28", 4},
                             {10, "Crème de la crème", 0.99},
                             {11, "  Sánky", 0},
                             {12, "Lopta", 7},
                             {13, "Kniha", 3},
                             {1000, "Posledná", 150}};
    for (const char* format : {"xls", "xlsx", "ods", "csv"}) {
        const SellerSheetImport import = Import(Sheet("every-format.") + format);
        ASSERT_EQ(import.outcome, Loaded) << format << ": " << import.FailureText;
        EXPECT_EQ(import.seller.NAME, "Mária Šťastná") << format;
        EXPECT_EQ(import.seller.SHORT_CODE, "MS") << format;
        EXPECT_EQ(import.seller.COMMENT, "prinesie v sobotu\nráno") << format;
        ASSERT_EQ(import.items.size(), std::size(expected)) << format;
        for (std::size_t i = 0; i < std::size(expected); ++i) {
            EXPECT_EQ(import.items[i].NUMBER, expected[i].number) << format << " " << i;
            EXPECT_EQ(import.items[i].NAME, expected[i].name) << format << " " << i;
            EXPECT_DOUBLE_EQ(import.items[i].PRICE, expected[i].price) << format << " " << i;
        }
        EXPECT_EQ(import.ZeroPriceCount, 1) << format;
        EXPECT_EQ(import.RoundPriceCount, 5) << format;
        EXPECT_EQ(import.SkippedNamelessRows, 1) << format;
    }
}

// The template this program writes, filled in by a seller (openpyxl) and saved again by
// LibreOffice and by gnumeric in their own formats, gives the seller and the items typed in.
TEST_F(SellerSheetImportTest, FilledTemplateImportsFromEveryProgram) {
    const std::string blank = directory_.File("Harok_predajcu.xlsx");
    WriteSellerSheetTemplate(blank, "Jarná burza 2027");
    const std::string filled = directory_.File("filled.xlsx");
    const std::string saved = directory_.File("saved");
    const std::vector<std::vector<std::string>> runs = {
        {"/usr/bin/python3", KRAMO_TEST_DATA "/fill_sheet_template.py", blank, filled},
        {"soffice", "-env:UserInstallation=file://" + directory_.File("profile"), "--headless",
         "--convert-to", "ods", "--outdir", saved, filled},
        {"ssconvert", filled, saved + "/gnumeric.xlsx"},
        {"ssconvert", filled, saved + "/gnumeric.xls"},
    };
    for (const std::vector<std::string>& run : runs) {
        const KramoTest::ToolRun done = KramoTest::RunTool(run);
        ASSERT_EQ(done.exitCode, 0) << run.front() << ": " << done.output;
    }
    EXPECT_EQ(Import(blank).items.size(), 0u);
    for (const std::string& path :
         {filled, saved + "/filled.ods", saved + "/gnumeric.xlsx", saved + "/gnumeric.xls"}) {
        const SellerSheetImport import = Import(path);
        ASSERT_EQ(import.outcome, Loaded) << path << ": " << import.FailureText;
        EXPECT_EQ(import.seller.NAME, "Anna Nováková") << path;
        EXPECT_EQ(import.seller.SHORT_CODE, "AN") << path;
        EXPECT_EQ(import.seller.COMMENT, "0905 123 456") << path;
        ASSERT_EQ(import.items.size(), 3u) << path;
        EXPECT_EQ(import.items[1].NAME, "Kočík") << path;
        EXPECT_EQ(import.items[2].NUMBER, 5) << path;
        EXPECT_DOUBLE_EQ(import.items[2].PRICE, 2.4) << path;
    }
}

// Written by another writer than the other test sheets: gnumeric's own XLS export.
TEST_F(SellerSheetImportTest, SheetOfAFullSpreadsheetProgramReads) {
    const SellerSheetImport import = Import(Sheet("gnumeric-seller-sheet.xls"));
    ASSERT_EQ(import.outcome, Loaded) << import.FailureText;
    EXPECT_EQ(import.seller.NAME, "Mária Šťastná");
    EXPECT_EQ(import.seller.SHORT_CODE, "MS");
    EXPECT_EQ(import.seller.COMMENT, "prinesie v sobotu ráno");
    ASSERT_EQ(import.items.size(), 4u);
    EXPECT_EQ(import.items[0].NAME, "Zimná bunda – veľkosť 140");
    EXPECT_DOUBLE_EQ(import.items[0].PRICE, 12.5);
    EXPECT_DOUBLE_EQ(import.items[1].PRICE, 45.9);
    EXPECT_EQ(import.items[3].NUMBER, 10);
    EXPECT_EQ(import.items[3].NAME, "Crème de la crème");
    EXPECT_DOUBLE_EQ(import.items[3].PRICE, 0.99);
}

// Each sheet is read or refused with its reason. The numbers 0, 1000 and 1001 are the edges of
// what an item may be numbered.
TEST_F(SellerSheetImportTest, SheetsAreReadOrRefusedWithTheirReason) {
    const struct {
        const char* sheet;
        const char* reason;  // none: read, its last item numbered lastNumber
        int32_t lastNumber = 0;
    } cases[] = {
        {"number-highest.xls", nullptr, 1000},
        // cells at row 4200, column 250 and in the last row and column a sheet can have
        {"far-cells.xls", nullptr, 2},
        // the seller's sheet whole, the damage in the sheet after it
        {"damaged-second-sheet.xls", nullptr, 2},
        {"number-formula.xls", "Tovar na riadku 12 má namiesto čísla text ''"},
        {"number-too-large.xls", "Tovar na riadku 12 má namiesto čísla text '1001'"},
        {"number-zero.xls", "Tovar na riadku 12 má namiesto čísla text '0'"},
        {"price-text.xls", "Tovar na riadku 12 má namiesto ceny text 'zadarmo'"},
        {"no-markers.xls", "súbor neobsahuje špeciálne znaky"},
        {"info-table.xls", "súbor neobsahuje špeciálne znaky"},
        {"code-in-row-0.xls", "zo súboru sa nepodarilo sa načítať údaje predajcu"},
    };
    for (const auto& c : cases) {
        const std::string path = Sheet(c.sheet);
        const SellerSheetImport import = Import(path);
        if (c.reason == nullptr) {
            ASSERT_EQ(import.outcome, Loaded) << c.sheet << ": " << import.FailureText;
            EXPECT_EQ(import.seller.SHORT_CODE, "AN") << c.sheet;
            ASSERT_EQ(import.items.size(), 2u) << c.sheet;
            EXPECT_EQ(import.items.back().NUMBER, c.lastNumber) << c.sheet;
            continue;
        }
        EXPECT_EQ(import.outcome, Failed) << c.sheet;
        EXPECT_EQ(import.FailureText,
                  "Nepodarilo sa mi načítať súbor s predajcom\n" + path + "\npretože " + c.reason);
        EXPECT_TRUE(import.items.empty()) << c.sheet;
        EXPECT_EQ(import.ZeroPriceCount + import.RoundPriceCount + import.NamelessCount, 0);
    }
}

TEST_F(SellerSheetImportTest, FormulaPriceSkipsTheRowSilently) {
    const SellerSheetImport import = Import(Sheet("price-formula.xls"));
    ASSERT_EQ(import.outcome, Loaded) << import.FailureText;
    ASSERT_EQ(import.items.size(), 1u);
    EXPECT_EQ(import.items[0].NAME, "Riadna");
    EXPECT_EQ(import.SkippedNamelessRows, 0);  // a name without a price is no lost item
}

TEST_F(SellerSheetImportTest, ExtensionDecidesTheKindOfFile) {
    std::filesystem::copy_file(Sheet("whole-prices.xls"), directory_.File("Sheet.XLS"));
    EXPECT_EQ(Import(directory_.File("Sheet.XLS")).outcome, Loaded);
    for (const char* name : {"a.ods", "b.XLSX", "c.Csv"}) {
        directory_.WriteFile(name, "x");
        EXPECT_EQ(Import(directory_.File(name)).outcome, Failed) << name;
    }
    for (const char* name : {"noextension", "thumbs.db", "c.pdf"}) {
        directory_.WriteFile(name, "x");
        EXPECT_EQ(Import(directory_.File(name)).outcome, UnknownType) << name;
    }
}

TEST_F(SellerSheetImportTest, TextSheetIsASellerFile) {
    directory_.WriteFile("7-EV-Eva.txt",
                         "7*EV*Eva*po piatej*s*1\n1*Kabát*12.5*b*s\n2*Šál*0.0*a*o\n");
    const SellerSheetImport import = Import(directory_.File("7-EV-Eva.txt"));
    ASSERT_EQ(import.outcome, Loaded) << import.FailureText;
    EXPECT_EQ(import.seller.SHORT_CODE, "EV");
    EXPECT_EQ(import.seller.STATUS, Kramo::Selling);
    ASSERT_EQ(import.items.size(), 2u);
    EXPECT_EQ(import.ZeroPriceCount, 1);

    const SellerSheetImport missing = Import(directory_.File("missing.txt"));
    EXPECT_EQ(missing.outcome, Failed);
    EXPECT_EQ(missing.FailureText, "DataTextfile::LoadFromTxtFile() File not opened.");
}

TEST_F(SellerSheetImportTest, FilesThatAreNoWorkbooksFail) {
    directory_.WriteFile("text.xls", "not a workbook");
    const SellerSheetImport import = Import(directory_.File("text.xls"));
    EXPECT_EQ(import.outcome, Failed);
    EXPECT_THAT(import.FailureText, EndsWith("pretože Could not open file."));
    EXPECT_THAT(Import(directory_.File("missing.xls")).FailureText,
                EndsWith("pretože Could not open file."));
}

TEST(BasicExcelFileWrapper, CellTextsFollowTheCellKinds) {
    TemporaryDirectory directory;
    BasicExcelFileWrapper wrapper(directory.Path());
    wrapper.LoadFile(Sheet("cell-kinds.xls"));
    const CellGrid& grid = wrapper.Grid();
    EXPECT_EQ(grid.Cell(0, 0), "5");
    EXPECT_EQ(grid.Cell(1, 0), "2.50");
    EXPECT_EQ(grid.Cell(2, 0), "1234567.89");
    EXPECT_EQ(grid.Cell(1, 1), "Čierna bunda");
    EXPECT_EQ(grid.Cell(2, 1), "crème");
    EXPECT_EQ(grid.Cell(0, 2), "");  // a formula
    int row = 0;
    int column = 0;
    EXPECT_TRUE(wrapper.FindCell("crème", row, column));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(column, 2);
    EXPECT_FALSE(wrapper.FindCell("!number!", row, column));
    EXPECT_EQ(row, -1);
    EXPECT_EQ(column, -1);
    EXPECT_THROW(wrapper.LoadFile("noextension"), std::runtime_error);
}

}  // namespace
