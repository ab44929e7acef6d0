#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "BiffBuilder.h"
#include "import/CellRecord.h"
#include "import/ExcelDocument.h"
#include "import/Utf16Text.h"

namespace {

using namespace YExcel;
using KramoExcel::Utf16ToUtf8;
using KramoTest::BiffBuilder;
using testing::HasSubstr;

constexpr uint16_t Globals = 0x0005;
constexpr uint16_t Sheet = 0x0010;
constexpr uint16_t Chart = 0x0020;

std::vector<uint8_t> SstHeader(uint32_t unique) {
    return BiffBuilder::Join({BiffBuilder::U32(unique), BiffBuilder::U32(unique)});
}

// Globals with a shared string table made of the given records (SST and CONTINUEs).
BiffBuilder& GlobalsWith(BiffBuilder& builder,
                         const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& records) {
    builder.Bof(Globals);
    for (const auto& [code, payload] : records)
        builder.Record(code, payload);
    return builder.Eof();
}

std::vector<uint8_t> LabelSst(uint16_t row, uint16_t column, uint32_t index) {
    return BiffBuilder::Join({BiffBuilder::CellHeader(row, column), BiffBuilder::U32(index)});
}

std::vector<uint8_t> RkCell(uint16_t row, uint16_t column, uint32_t rk) {
    return BiffBuilder::Join({BiffBuilder::CellHeader(row, column), BiffBuilder::U32(rk)});
}

std::unique_ptr<ExcelDocument> Loaded(const BiffBuilder& builder) {
    auto document = std::make_unique<ExcelDocument>();
    document->LoadStream(builder.Stream());
    return document;
}

TEST(DecodeRk, IntegersFractionsAndDoubles) {
    const struct {
        uint32_t rk;
        bool isInteger;
        double value;
    } cases[] = {
        {402, true, 100},          {403, true, 1},
        {123, false, 0.3},         {1072693248, false, 1.0},
        {1072693249, false, 0.01}, {static_cast<uint32_t>(-5 * 4 + 2), true, -5},
        {250 * 4 + 3, false, 2.5},
    };
    for (const auto& c : cases) {
        const RkNumber number = DecodeRk(c.rk);
        EXPECT_EQ(number.isInteger, c.isInteger) << c.rk;
        EXPECT_DOUBLE_EQ(number.value, c.value) << c.rk;
    }
}

TEST(WorkbookParser, StringPiecesOfMixedWidthJoinWithoutLoss) {
    // "abc" as 8-bit, then a CONTINUE whose own option byte switches to 16-bit for "čd".
    BiffBuilder builder;
    GlobalsWith(
        builder,
        {{0x00FC, BiffBuilder::Join({SstHeader(1), BiffBuilder::U16(5), {0x00}, {'a', 'b', 'c'}})},
         {0x003C, BiffBuilder::Join({{0x01}, BiffBuilder::U16(u'č'), BiffBuilder::U16(u'd')})}});
    builder.Bof(Sheet).Row(0).Record(0x00FD, LabelSst(0, 0, 0)).DbCell().Eof();
    const auto loaded = Loaded(builder);
    const ExcelDocument& document = *loaded;
    ASSERT_EQ(document.WorksheetCount(), 1u);
    const ExcelCell& cell = document.Sheet(0)->CellAt(0, 0);
    EXPECT_EQ(cell.Kind(), CellText8);  // the width of the first piece
    EXPECT_EQ(Utf16ToUtf8(cell.Text()), "abcčd");
    EXPECT_EQ(document.Damage(), "");
}

TEST(WorkbookParser, OldTextRecordsAreTextCells) {
    BiffBuilder builder;
    GlobalsWith(builder, {});
    builder.Bof(Sheet)
        .Row(0)
        .Record(0x0204, BiffBuilder::Join(
                            {BiffBuilder::CellHeader(0, 1), BiffBuilder::NarrowString("Kab\xE1t")}))
        .Record(0x00D6, BiffBuilder::Join({BiffBuilder::CellHeader(2, 3),
                                           BiffBuilder::WideString(u"Bunda čierna"),
                                           BiffBuilder::U16(1), BiffBuilder::U32(0x00050000)}))
        .DbCell()
        .Eof();
    const auto loaded = Loaded(builder);
    const ExcelDocument& document = *loaded;
    const ExcelSheet& sheet = *document.Sheet(0);
    EXPECT_EQ(Utf16ToUtf8(sheet.CellAt(0, 1).Text()), "Kabát");
    EXPECT_EQ(sheet.CellAt(2, 3).Kind(), CellText16);
    EXPECT_EQ(Utf16ToUtf8(sheet.CellAt(2, 3).Text()), "Bunda čierna");
    EXPECT_EQ(sheet.RowCount(), 3u);
    EXPECT_EQ(sheet.ColumnCount(), 4u);
}

TEST(WorkbookParser, WalkStopsAtAnyOtherSubstream) {
    BiffBuilder builder;
    GlobalsWith(builder, {});
    builder.Bof(Chart).Eof();
    builder.Bof(Sheet).Row(0).Record(0x027E, RkCell(0, 0, 402)).DbCell().Eof();
    EXPECT_EQ(Loaded(builder)->WorksheetCount(), 0u);

    BiffBuilder notBof;
    notBof.Record(0x0042, BiffBuilder::U16(1250));
    EXPECT_EQ(Loaded(notBof)->WorksheetCount(), 0u);
    EXPECT_EQ(Loaded(BiffBuilder())->WorksheetCount(), 0u);
}

TEST(WorkbookParser, CellsCountOnlyInsideRowBlocks) {
    BiffBuilder builder;
    GlobalsWith(builder, {});
    builder.Bof(Sheet)
        .Record(0x027E, RkCell(7, 7, 402))  // before any ROW: no cell
        .Row(0)
        .Record(0x027E, RkCell(0, 0, 402))
        .Record(0x0006, BiffBuilder::Join({BiffBuilder::CellHeader(1, 0),
                                           {0, 0, 0, 0, 0, 0, 0xFF, 0xFF},
                                           BiffBuilder::U16(0),
                                           BiffBuilder::U32(0),
                                           {1, 2, 3}}))
        .Record(0x0207, BiffBuilder::NarrowString("text result"))
        .Record(0x00BD,
                BiffBuilder::Join({BiffBuilder::U16(2), BiffBuilder::U16(2), BiffBuilder::U16(0),
                                   BiffBuilder::U32(6 * 4 + 2), BiffBuilder::U16(0),
                                   BiffBuilder::U32(7 * 4 + 2), BiffBuilder::U16(0),
                                   BiffBuilder::U32(8 * 4 + 2), BiffBuilder::U16(4)}))
        .DbCell()
        .Eof();
    const auto loaded = Loaded(builder);
    const ExcelDocument& document = *loaded;
    const ExcelSheet& sheet = *document.Sheet(0);
    EXPECT_EQ(sheet.RowCount(), 3u);
    EXPECT_EQ(sheet.ColumnCount(), 5u);
    EXPECT_EQ(sheet.CellAt(7, 7).Kind(), CellEmpty);
    const ExcelCell& formula = sheet.CellAt(1, 0);
    ASSERT_EQ(formula.Kind(), CellFormula);
    int32_t value = 0;
    EXPECT_FALSE(formula.GetInteger(value));  // a text result is no number
    ASSERT_NE(formula.Formula(), nullptr);
    EXPECT_TRUE(formula.Formula()->hasStringResult);
    EXPECT_TRUE(sheet.CellAt(2, 4).GetInteger(value));
    EXPECT_EQ(value, 8);
}

TEST(WorkbookParser, EndOfSheetInsideARowBlockKeepsTheCellsAndGoesOn) {
    BiffBuilder builder;
    GlobalsWith(builder, {});
    builder.Bof(Sheet).Row(0).Record(0x027E, RkCell(0, 0, 402)).Eof();
    builder.Bof(Sheet).Row(0).Record(0x027E, RkCell(1, 1, 403)).DbCell().Eof();
    const auto loaded = Loaded(builder);
    const ExcelDocument& document = *loaded;
    ASSERT_EQ(document.WorksheetCount(), 2u);
    int32_t value = 0;
    EXPECT_TRUE(document.Sheet(0)->CellAt(0, 0).GetInteger(value));
    EXPECT_EQ(value, 100);
    EXPECT_TRUE(document.Sheet(1)->CellAt(1, 1).GetInteger(value));
    EXPECT_EQ(value, 1);
}

TEST(WorkbookParser, DamagedStreamsStayInsideTheirBuffersAndSaySo) {
    struct Case {
        const char* name;
        BiffBuilder builder;
        std::size_t worksheets;
        const char* damage;
        bool firstSheetWhole = false;  // read before the damage: usable
    };
    std::vector<Case> cases;
    {
        BiffBuilder b;
        GlobalsWith(b, {});
        b.Bof(Sheet).Row(0).Record(0x027E, RkCell(0, 0, 402)).DbCell().Eof();
        b.Bof(Sheet).Row(0).Truncated(0x027E, 5000);
        cases.push_back({"record past the end", b, 2, "runs past the end", true});
    }
    {
        BiffBuilder b;
        GlobalsWith(b,
                    {{0x00FC, BiffBuilder::Join({SstHeader(1), BiffBuilder::NarrowString("a")})}});
        b.Bof(Sheet).Row(0).Record(0x00FD, LabelSst(0, 0, 5)).DbCell().Eof();
        cases.push_back({"string index beyond the table", b, 1, "string"});
    }
    {
        BiffBuilder b;
        GlobalsWith(b, {});
        b.Bof(Sheet)
            .Row(0)
            .Record(0x00BD, BiffBuilder::Join({BiffBuilder::U16(0), BiffBuilder::U16(1)}))
            .DbCell()
            .Eof();
        cases.push_back({"MULRK shorter than its header", b, 1, "damaged"});
    }
    {
        BiffBuilder b;
        GlobalsWith(
            b,
            {{0x00FC, BiffBuilder::Join({SstHeader(3), BiffBuilder::U16(400), {0x01}, {'x', 0}})}});
        cases.push_back({"shared string longer than its record", b, 0, "shared string"});
    }
    for (const Case& c : cases) {
        const std::unique_ptr<ExcelDocument> loaded = Loaded(c.builder);
        const ExcelDocument& document = *loaded;
        EXPECT_EQ(document.WorksheetCount(), c.worksheets) << c.name;
        EXPECT_THAT(document.Damage(), HasSubstr(c.damage)) << c.name;
        if (document.WorksheetCount() > 0) {
            EXPECT_EQ(document.Sheet(0)->Damage().empty(), c.firstSheetWhole) << c.name;
            EXPECT_THAT(document.Sheet(document.WorksheetCount() - 1)->Damage(),
                        HasSubstr(c.damage))
                << c.name;
        }
    }
}

// A sheet of more cells than the reader keeps holds none of them and says so; the limit
// counts the columns of a MULRK.
TEST(WorkbookParser, SheetOfTooManyCellsIsOverfull) {
    std::vector<uint8_t> mulRk = BiffBuilder::Join({BiffBuilder::U16(0), BiffBuilder::U16(0)});
    for (int column = 0; column < 256; ++column) {
        const std::vector<uint8_t> value =
            BiffBuilder::Join({BiffBuilder::U16(0), BiffBuilder::U32(402)});
        mulRk.insert(mulRk.end(), value.begin(), value.end());
    }
    const std::vector<uint8_t> lastColumn = BiffBuilder::U16(255);
    mulRk.insert(mulRk.end(), lastColumn.begin(), lastColumn.end());
    BiffBuilder builder;
    GlobalsWith(builder, {});
    builder.Bof(Sheet).Row(0);
    constexpr std::size_t Rows = Worksheet::MaxCells / 256 + 1;
    for (std::size_t row = 0; row < Rows; ++row) {
        mulRk[0] = static_cast<uint8_t>(row & 0xFF);
        mulRk[1] = static_cast<uint8_t>(row >> 8);
        builder.Record(0x00BD, mulRk);
    }
    builder.DbCell().Eof();
    const auto loaded = Loaded(builder);
    ASSERT_EQ(loaded->WorksheetCount(), 1u);
    EXPECT_TRUE(loaded->Sheet(0)->Overfull());
    EXPECT_EQ(loaded->Sheet(0)->RowCount(), 1u);
    EXPECT_EQ(loaded->Damage(), "");
}

TEST(WorkbookParser, EveryTruncationOfAWorkbookIsHandled) {
    BiffBuilder builder;
    GlobalsWith(builder, {{0x00FC, BiffBuilder::Join({SstHeader(2), BiffBuilder::NarrowString("ab"),
                                                      BiffBuilder::WideString(u"čď")})}});
    builder.Bof(Sheet)
        .Row(0)
        .Record(0x00FD, LabelSst(0, 0, 1))
        .Record(0x027E, RkCell(0, 1, 402))
        .DbCell()
        .Eof();
    const std::vector<uint8_t> whole = builder.Stream();
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        ExcelDocument document;
        document.LoadStream(std::vector<uint8_t>(whole.begin(), whole.begin() + length));
        EXPECT_LE(document.WorksheetCount(), 1u);
    }
}

}  // namespace
