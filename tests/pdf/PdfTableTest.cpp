#include "core/PdfTable.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "pdf/PdfColumns.h"

namespace {

using Kramo::PdfTable;

TEST(PdfTable, ResizeKeepsTheTopLeftCellsAndEmptiesTheRest) {
    PdfTable table(2, 3);
    table.Cell(0, 0) = "a";
    table.Cell(2, 0) = "c";
    table.Cell(1, 1) = "e";
    table.Resize(3, 2);
    EXPECT_EQ(table.Rows(), 3u);
    EXPECT_EQ(table.Columns(), 2u);
    EXPECT_EQ(table.Cell(0, 0), "a");
    EXPECT_EQ(table.Cell(1, 1), "e");
    EXPECT_EQ(table.Cell(1, 2), "");
    table.Resize(3, 2);  // same size: nothing changes
    EXPECT_EQ(table.Cell(0, 0), "a");
    table.Resize(0, 0);
    EXPECT_EQ(table.Rows(), 0u);
}

TEST(PdfTable, CellOutsideTheGridIsOutOfRange) {
    PdfTable table(3, 2);
    const std::pair<std::size_t, std::size_t> outside[] = {{2, 0}, {0, 3}, {5, 5}};
    for (const auto& [column, row] : outside) {
        try {
            table.Cell(column, row);
            ADD_FAILURE() << column << "," << row;
        } catch (const std::out_of_range& failure) {
            EXPECT_STREQ(failure.what(), "Cell() out of range");
        }
    }
    const PdfTable& constant = table;
    EXPECT_THROW(constant.Cell(2, 0), std::out_of_range);
}

TEST(PdfColumns, HeaderWhenAnyTitleIsNotEmpty) {
    Kramo::PdfColumns columns;
    columns.AddColumn("", 83);
    columns.AddColumn("", 7);
    EXPECT_FALSE(columns.HasHeader());
    EXPECT_EQ(columns.TotalWidth(), 90u);
    columns.AddColumn("x", 5);
    EXPECT_TRUE(columns.HasHeader());
    EXPECT_FALSE(columns.At(2).headerJoin);
}

}  // namespace
