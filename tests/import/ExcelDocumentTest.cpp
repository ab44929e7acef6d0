#include "import/ExcelDocument.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/TemporaryDirectory.h"
#include "import/Utf16Text.h"

namespace {

using namespace YExcel;
using KramoExcel::Utf16ToUtf8;

std::string Workbook(const char* name) {
    return std::string(KRAMO_TEST_DATA) + "/" + name;
}

std::string TextOf(const ExcelSheet& sheet, uint32_t row, uint32_t column) {
    return Utf16ToUtf8(sheet.CellAt(row, column).Text());
}

TEST(ExcelDocument, ReadsEveryKindOfCellAWriterProduces) {
    ExcelDocument document;
    ASSERT_TRUE(document.Load(Workbook("cell-kinds.xls")));
    EXPECT_EQ(document.Damage(), "");
    ASSERT_EQ(document.WorksheetCount(), 2u);
    const ExcelSheet& sheet = *document.Sheet(0);

    EXPECT_EQ(sheet.RowCount(), 4u);  // the blank cell of row 5 does not count
    EXPECT_EQ(sheet.ColumnCount(), 5u);

    int32_t integer = 0;
    EXPECT_EQ(sheet.CellAt(0, 0).Kind(), CellInteger);
    EXPECT_TRUE(sheet.CellAt(0, 0).GetInteger(integer));
    EXPECT_EQ(integer, 5);
    EXPECT_EQ(sheet.CellAt(0, 1).Kind(), CellDouble);
    EXPECT_DOUBLE_EQ(sheet.CellAt(0, 1).GetDouble(), 2.5);
    EXPECT_EQ(sheet.CellAt(0, 2).Kind(), CellDouble);
    EXPECT_DOUBLE_EQ(sheet.CellAt(0, 2).GetDouble(), 1234567.891);

    EXPECT_EQ(sheet.CellAt(1, 0).Kind(), CellText8);
    EXPECT_EQ(TextOf(sheet, 1, 0), "plain");
    EXPECT_EQ(sheet.CellAt(1, 1).Kind(), CellText16);
    EXPECT_EQ(TextOf(sheet, 1, 1), "Čierna bunda");
    // 8-bit strings are ISO 8859-1: è must not turn into č.
    EXPECT_EQ(sheet.CellAt(1, 2).Kind(), CellText8);
    EXPECT_EQ(TextOf(sheet, 1, 2), "crème");

    EXPECT_EQ(sheet.CellAt(2, 0).Kind(), CellFormula);
    EXPECT_EQ(sheet.CellAt(2, 1).Kind(), CellInteger);  // a boolean
    for (uint32_t column = 2; column <= 4; ++column) {
        EXPECT_TRUE(sheet.CellAt(3, column).GetInteger(integer));
        EXPECT_EQ(integer, static_cast<int32_t>(column + 5));
    }
    EXPECT_EQ(sheet.CellAt(5, 1).Kind(), CellEmpty);

    const ExcelSheet& empty = *document.Sheet(1);
    EXPECT_EQ(empty.RowCount(), 1u);
    EXPECT_EQ(empty.ColumnCount(), 1u);
    EXPECT_EQ(document.Sheet(2), nullptr);
}

TEST(ExcelDocument, SharedStringsSplitOverContinueRecords) {
    ExcelDocument document;
    ASSERT_TRUE(document.Load(Workbook("long-shared-strings.xls")));
    EXPECT_EQ(document.Damage(), "");
    const ExcelSheet& sheet = *document.Sheet(0);
    ASSERT_EQ(sheet.RowCount(), 400u);
    for (uint32_t row = 0; row < 400; ++row) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "Položka %03u ", row);
        std::string expected = prefix;
        for (int i = 0; i < 4; ++i)
            expected += "ľščťžýáíé";
        expected += std::string(row % 50, 'x');
        ASSERT_EQ(TextOf(sheet, row, 1), expected) << row;
    }
}

TEST(ExcelDocument, OnlyBlankCellsGiveOneEmptyCell) {
    ExcelDocument document;
    ASSERT_TRUE(document.Load(Workbook("only-blank-cells.xls")));
    const ExcelSheet& sheet = *document.Sheet(0);
    EXPECT_EQ(sheet.RowCount(), 1u);
    EXPECT_EQ(sheet.ColumnCount(), 1u);
    EXPECT_EQ(sheet.CellAt(0, 0).Kind(), CellEmpty);
}

TEST(ExcelDocument, FileThatIsNoCompoundDocumentFailsToLoad) {
    KramoTest::TemporaryDirectory directory;
    directory.WriteFile("renamed.xls", "1*AB*Anna*pozn.*p*0\n");
    directory.WriteFile("empty.xls", "");
    ExcelDocument document;
    EXPECT_FALSE(document.Load(directory.File("renamed.xls")));
    EXPECT_FALSE(document.Load(directory.File("empty.xls")));
    EXPECT_FALSE(document.Load(directory.File("missing.xls")));
    EXPECT_EQ(document.WorksheetCount(), 0u);
}

TEST(ExcelSheet, GrowsOnRequestWithinTheLargestGrid) {
    ExcelDocument document;
    ASSERT_TRUE(document.Load(Workbook("only-blank-cells.xls")));
    ExcelSheet sheet = *document.Sheet(0);
    ASSERT_NE(sheet.Cell(9, 3), nullptr);
    EXPECT_EQ(sheet.RowCount(), 10u);
    EXPECT_EQ(sheet.ColumnCount(), 4u);
    EXPECT_EQ(sheet.Cell(65536, 0), nullptr);
    EXPECT_EQ(sheet.Cell(0, 256), nullptr);
    EXPECT_NE(sheet.Cell(65535, 255), nullptr);
    EXPECT_EQ(sheet.CellAt(70000, 0).Kind(), CellEmpty);
}

TEST(Utf16ToUtf8, PairsSurrogatesAndReplacesLoneOnes) {
    EXPECT_EQ(Utf16ToUtf8(u"Čačky 12€"), "Čačky 12€");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800') + u"a"), "\uFFFDa");
    EXPECT_EQ(Utf16ToUtf8(u""), "");
}

}  // namespace
