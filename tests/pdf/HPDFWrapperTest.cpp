#include "pdf/HPDFWrapper.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

#include "common/LogCapture.h"
#include "common/PdfReadBack.h"
#include "common/TemporaryDirectory.h"
#include "pdf/PageLayout.h"

namespace {

using Kramo::HPDFWrapper;
using Kramo::PdfColumns;
using Kramo::PdfTable;
using KramoTest::PdfReadBack;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

class HPDFWrapperTest : public testing::Test {
  protected:
    HPDFWrapperTest() { writer_.SetOrigin("Jarna kramo", "PC7"); }

    void OpenWithPage(const std::string& title = "Strana") {
        writer_.Open(Path());
        writer_.NewPage(title);
    }
    std::string Path() const { return directory_.File("doc.pdf"); }
    PdfReadBack Saved() {
        if (writer_.IsOpen()) {
            writer_.Close();
        }
        std::string report;
        EXPECT_TRUE(PdfReadBack(Path()).StructureIsSound(report)) << report;
        return PdfReadBack(Path());
    }

    // A table of numbered rows "r001", "r002", ... under the header "cislo" and "nazov".
    static PdfTable NumberedRows(std::size_t rows) {
        PdfTable table(rows, 2);
        for (std::size_t row = 0; row < rows; ++row) {
            table.Cell(0, row) = "r" + std::to_string(1001 + row).substr(1);
            table.Cell(1, row) = "vec";
        }
        return table;
    }
    static PdfColumns TwoColumns() {
        PdfColumns columns;
        columns.AddColumn("cislo", 10);
        columns.AddColumn("nazov", 40);
        return columns;
    }
    static int CountRowsOnPage(const PdfReadBack& document, std::size_t page) {
        int count = 0;
        for (const std::string& line : document.Lines(page)) {
            count += std::regex_search(line, std::regex("r[0-9]{3}"));
        }
        return count;
    }

    KramoTest::LogCapture log_;
    KramoTest::TemporaryDirectory directory_;
    HPDFWrapper writer_;
};

TEST_F(HPDFWrapperTest, PercentOfThePageBecomesWholePoints) {
    EXPECT_EQ(writer_.XPercentToPoints(5.0f), 29);    // 29.75
    EXPECT_EQ(writer_.YPercentToPoints(20.0f), 672);  // 672.8
    EXPECT_EQ(writer_.YPercentToPoints(0.0f), 841);
    EXPECT_EQ(writer_.HeightPercentToPoints(1.56f), 13);  // 13.12
    EXPECT_EQ(writer_.HeightPercentToPoints(2.0f), 16);   // the default font size
    const Kramo::PagePoint point = writer_.PercentToPoints(100.0f, 100.0f);
    EXPECT_EQ(point.x, 595);
    EXPECT_EQ(point.y, 0);
    const Kramo::PagePercent back = writer_.PointsToPercent(297.5f, 420.5f);
    EXPECT_FLOAT_EQ(back.x, 50.0f);
    EXPECT_FLOAT_EQ(back.y, 50.0f);
    EXPECT_FLOAT_EQ(writer_.PointsToHeightPercent(84.1f), 10.0f);
}

TEST_F(HPDFWrapperTest, FontSizeAndLineHeightFollowTheTruncatedPoints) {
    writer_.Open(Path());
    EXPECT_EQ(writer_.FontSizePoints(), 16u);
    writer_.SetFontSize(1.3f);
    EXPECT_EQ(writer_.FontSizePoints(), 10u);
    EXPECT_FLOAT_EQ(writer_.FontHeight(), 10.0f / 841.0f * 100.0f);
    EXPECT_FLOAT_EQ(writer_.LineHeight(), writer_.FontHeight());
}

TEST_F(HPDFWrapperTest, CloseOfAWriterNeverOpened) {
    try {
        writer_.Close();
        FAIL();
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "PDF not open");
    }
}

TEST_F(HPDFWrapperTest, SlovakTextAndBookmarksReadBack) {
    OpenWithPage("Účet Čiernej");
    writer_.WriteText(10.0f, 10.0f, "ČĎĽŇŠŤŽ čďľňšťž Súčet predaných vecí");
    writer_.NewPage("Druhá strana");
    Kramo::WritePageDecoration(writer_);
    const PdfReadBack document = Saved();
    const std::vector<std::string> pages = document.Pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_THAT(pages[0], HasSubstr("ČĎĽŇŠŤŽ čďľňšťž Súčet predaných vecí"));
    EXPECT_THAT(pages[1], HasSubstr("na krame 'Jarna kramo'."));
    EXPECT_THAT(pages[1], HasSubstr("na počítači 'PC7'."));
    EXPECT_THAT(pages[1], HasSubstr("Dokument vytvorený '"));
    EXPECT_THAT(document.Bookmarks(), ElementsAre("Kramo", "Ucet Ciernej", "Druha strana"));
    EXPECT_EQ(writer_.CurrentPageTitle(), "Druhá strana");
}

TEST_F(HPDFWrapperTest, TextOutsideLatin2IsLoggedAndDrawnAsItIs) {
    OpenWithPage();
    writer_.WriteText(10.0f, 10.0f, "Cena 5 €");
    Saved();
    EXPECT_THAT(log_.Text(), HasSubstr("Error encoding 'Cena 5 €' : StringEncoding::OneToAnother"));
}

TEST_F(HPDFWrapperTest, LongTableContinuesOnPagesWithTheHeaderRepeated) {
    OpenWithPage("Zoznam");
    // 20 + 1.95 + 46 * 1.56 < 95: the header and 45 rows on the first page, then 57 lines
    // (the header and 56 rows) on each continuation page from 3.5 down.
    const float end =
        Kramo::DrawTableSplitOnPages(writer_, 5.0f, 20.0f, NumberedRows(120), TwoColumns());
    EXPECT_NEAR(end, 3.5f + 1.95f + 19 * 1.56f, 1e-3);
    const PdfReadBack document = Saved();
    ASSERT_EQ(document.Pages().size(), 3u);
    EXPECT_EQ(CountRowsOnPage(document, 0), 45);
    EXPECT_EQ(CountRowsOnPage(document, 1), 56);
    EXPECT_EQ(CountRowsOnPage(document, 2), 19);
    for (std::size_t page = 0; page < 3; ++page) {
        EXPECT_THAT(document.Pages()[page], HasSubstr("cislo")) << page;
    }
    EXPECT_THAT(document.Pages()[1], HasSubstr("r046"));
    EXPECT_THAT(document.Pages()[1], Not(HasSubstr("r045")));
    // Continuation pages carry the decoration and the first page's title as bookmark.
    EXPECT_THAT(document.Pages()[2], HasSubstr("na krame 'Jarna kramo'."));
    EXPECT_THAT(document.Bookmarks(), ElementsAre("Kramo", "Zoznam", "Zoznam", "Zoznam"));
}

TEST_F(HPDFWrapperTest, EmptyTableDrawsItsHeaderOnly) {
    OpenWithPage();
    EXPECT_NEAR(Kramo::DrawTableSplitOnPages(writer_, 5.0f, 30.0f, PdfTable(0, 2), TwoColumns()),
                31.95f, 1e-4);
    EXPECT_THAT(Saved().Lines(0), ElementsAre(testing::MatchesRegex(" *cislo +nazov")));
}

TEST_F(HPDFWrapperTest, TableStartingTooLowBeginsOnTheNextPage) {
    OpenWithPage();
    const float end =
        Kramo::DrawTableSplitOnPages(writer_, 5.0f, 94.0f, NumberedRows(3), TwoColumns());
    EXPECT_NEAR(end, 3.5f + 1.95f + 3 * 1.56f, 1e-4);
    const PdfReadBack document = Saved();
    ASSERT_EQ(document.Pages().size(), 2u);
    EXPECT_EQ(CountRowsOnPage(document, 0), 0);
    EXPECT_EQ(CountRowsOnPage(document, 1), 3);
}

TEST_F(HPDFWrapperTest, TableWithoutHeaderUsesEveryLine) {
    OpenWithPage();
    PdfColumns columns;
    columns.AddColumn("", 83);
    columns.AddColumn("", 7);
    // (95 - 3.5) / 1.56 = 58.6: 58 rows on a continuation page.
    Kramo::DrawTableSplitOnPages(writer_, 5.0f, 94.0f, NumberedRows(60), columns);
    const PdfReadBack document = Saved();
    ASSERT_EQ(document.Pages().size(), 3u);
    EXPECT_EQ(CountRowsOnPage(document, 1), 58);
    EXPECT_EQ(CountRowsOnPage(document, 2), 2);
}

TEST_F(HPDFWrapperTest, CellTextIsCutToItsColumnAndAnEmptyTitleLeavesItsCellEmpty) {
    OpenWithPage();
    PdfColumns columns;
    columns.AddColumn("prvy", 10);
    columns.AddColumn("", 10);
    columns.AddColumn("treti", 10);
    PdfTable table(1, 3);
    table.Cell(0, 0) = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    table.Cell(1, 0) = "      100.00";  // padding gives way before a digit is cut
    table.Cell(2, 0) = "z";
    Kramo::DrawTableSplitOnPages(writer_, 5.0f, 10.0f, table, columns);
    const std::vector<std::string> lines = Saved().Lines(0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_THAT(lines[0], testing::MatchesRegex(" *prvy +treti"));
    EXPECT_THAT(lines[1], testing::MatchesRegex(" *ABCDEFGH[A-Z]* +100\\.00 +z"));
    EXPECT_THAT(lines[1], Not(HasSubstr("XYZ")));
}

TEST_F(HPDFWrapperTest, ColumnTooNarrowForOneCharacter) {
    OpenWithPage();
    PdfColumns columns;
    columns.AddColumn("W", 1);
    try {
        Kramo::DrawTableSplitOnPages(writer_, 5.0f, 10.0f, PdfTable(1, 1), columns);
        FAIL();
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "WriteSingleTextIntoWidth: HPDF_Font_MeasureText failed.");
    }
}

TEST_F(HPDFWrapperTest, DrawTableRefusesWrongArguments) {
    OpenWithPage();
    struct Case {
        PdfTable table;
        PdfColumns columns;
        int firstRow;
        int space;
        const char* message;
    };
    const Case cases[] = {
        {NumberedRows(2), TwoColumns(), -1, 5, "DrawTable: firstRow or spaceForHowManyRows"},
        {NumberedRows(2), TwoColumns(), 0, 0, "DrawTable: firstRow or spaceForHowManyRows"},
        {PdfTable(2, 3), TwoColumns(), 0, 5, "DrawTable: t.Columns() != c.Columns()"},
        {PdfTable(2, 0), PdfColumns(), 0, 5, "DrawTable: Zero columns"},
    };
    for (const Case& c : cases) {
        float end = 0.0f;
        try {
            writer_.DrawTable(5.0f, 10.0f, Kramo::PdfTableStyle(), c.table, c.columns, c.firstRow,
                              c.space, end);
            ADD_FAILURE() << c.message;
        } catch (const std::out_of_range& failure) {
            EXPECT_STREQ(failure.what(), c.message);
        }
    }
}

TEST_F(HPDFWrapperTest, DrawTableLogsWhereItEnded) {
    OpenWithPage();
    float end = 0.0f;
    EXPECT_EQ(writer_.DrawTable(5.0f, 10.0f, Kramo::PdfTableStyle(), NumberedRows(5), TwoColumns(),
                                3, 10, end),
              2);
    EXPECT_NEAR(end, 10.0f + 1.95f + 2 * 1.56f, 1e-4);
    EXPECT_THAT(log_.Text(),
                HasSubstr("DrawTable() : first row: 3 content rows: 2 , finished at Y: 15.1\n"));
    // A first row beyond the table draws no row.
    EXPECT_EQ(writer_.DrawTable(5.0f, 10.0f, Kramo::PdfTableStyle(), NumberedRows(5), TwoColumns(),
                                9, 10, end),
              0);
    EXPECT_NEAR(end, 11.95f, 1e-4);
}

TEST_F(HPDFWrapperTest, LibraryErrorBecomesARuntimeErrorAndTheDocumentGoesOn) {
    OpenWithPage();
    try {
        writer_.SetFont("NoSuchFont");
        FAIL();
    } catch (const std::runtime_error& failure) {
        EXPECT_THAT(failure.what(), testing::StartsWith("PDF error: error_no="));
        EXPECT_THAT(failure.what(), testing::EndsWith("\n"));
    }
    writer_.WriteText(10.0f, 10.0f, "po chybe");
    EXPECT_THAT(Saved().Text(), HasSubstr("po chybe"));
}

TEST_F(HPDFWrapperTest, SavingIntoAMissingFolderFailsWithTheLibrarysFileError) {
    writer_.Open(directory_.File("missing/doc.pdf"));
    writer_.NewPage("x");
    try {
        writer_.Close();
        FAIL();
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "PDF error: error_no=1017, detail_no=2\n");
    }
    EXPECT_FALSE(writer_.IsOpen());
}

TEST(HPDFWrapperLifetime, DocumentLeftByAFailureIsSavedWhenTheWriterGoes) {
    KramoTest::TemporaryDirectory directory;
    const std::string path = directory.File("half.pdf");
    try {
        HPDFWrapper writer;
        writer.Open(path);
        writer.NewPage("Polovica");
        writer.WriteText(10.0f, 10.0f, "pred chybou");
        throw std::runtime_error("failure while writing");
    } catch (const std::runtime_error&) {
    }
    std::string report;
    EXPECT_TRUE(PdfReadBack(path).StructureIsSound(report)) << report;
    EXPECT_THAT(PdfReadBack(path).Text(), HasSubstr("pred chybou"));
}

TEST(HPDFWrapperLifetime, WriterThatCannotSaveWhenItGoesLogsInsteadOfThrowing) {
    KramoTest::LogCapture log;
    KramoTest::TemporaryDirectory directory;
    {
        HPDFWrapper writer;
        writer.Open(directory.File("missing/doc.pdf"));
        writer.NewPage("x");
    }
    EXPECT_THAT(log.Text(), HasSubstr("not saved: PDF error: error_no=1017, detail_no=2"));
}

}  // namespace
