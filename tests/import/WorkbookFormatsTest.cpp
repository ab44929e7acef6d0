// The readers of xlsx, ods and csv sheets: each cell kind gives the text the XLS reader gives,
// and hostile or damaged files are refused with their reason, never exhausting the machine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <optional>

#include "ZipBuilder.h"
#include "common/TemporaryDirectory.h"
#include "import/CsvSheet.h"
#include "import/OdsWorkbook.h"
#include "import/SellerSheetImport.h"
#include "import/XlsxWorkbook.h"

namespace {

using namespace KramoExcel;
using KramoTest::TemporaryDirectory;
using KramoTest::ZipBuilder;
using testing::HasSubstr;
using Cells = std::map<CellGrid::Position, std::string>;

Cells Read(ExcelFileWrapper&& reader, const std::string& path) {
    reader.LoadFile(path);
    return reader.Grid().Filled();
}

std::string OdsCell(const std::string& attributes, const std::string& content = "") {
    return "<table:table-cell " + attributes + ">" + content + "</table:table-cell>";
}

TEST(WorkbookFormats, CellKindsGiveTheTextsOfTheXlsReader) {
    const struct {
        const char* kind;
        ZipBuilder workbook;
        bool isOds;
        Cells expected;
    } cases[] = {
        {"shared strings, rich text runs joined, phonetic hints left out",
         ZipBuilder::Xlsx("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\">"
                          "<v>1</v></c></row>",
                          "<si><t>Zimná</t></si><si><r><t>Čierna </t></r><r><rPr><b/></rPr>"
                          "<t>bunda</t></r><rPh sb=\"0\" eb=\"1\"><t>ブ</t></rPh></si>"),
         false,
         {{{0, 0}, "Zimná"}, {{0, 1}, "Čierna bunda"}}},
        {"inline strings",
         ZipBuilder::Xlsx("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><r><t>a</t></r><r>"
                          "<t xml:space=\"preserve\"> &amp; b</t></r></is></c></row>"),
         false,
         {{{0, 0}, "a & b"}}},
        {"numbers whole within an XLS integer cell or with two decimals",
         ZipBuilder::Xlsx("<row r=\"1\"><c r=\"A1\"><v>5</v></c><c r=\"B1\"><v>2.5</v></c>"
                          "<c r=\"C1\"><v>1234567.891</v></c><c r=\"D1\" t=\"n\"><v>7.0</v></c>"
                          "<c r=\"E1\"><v>1E3</v></c><c r=\"F1\"><v>1073741824</v></c>"
                          "<c r=\"G1\"><v>-3</v></c><c r=\"H1\" s=\"1\"/></row>"),
         false,
         {{{0, 0}, "5"},
          {{0, 1}, "2.50"},
          {{0, 2}, "1234567.89"},
          {{0, 3}, "7"},
          {{0, 4}, "1000"},
          {{0, 5}, "1073741824.00"},
          {{0, 6}, "-3"}}},
        {"booleans as 1 and 0; formulas and errors empty whatever their cached result",
         ZipBuilder::Xlsx("<row r=\"1\"><c r=\"A1\" t=\"b\"><v>1</v></c><c r=\"B1\" t=\"b\">"
                          "<v>0</v></c><c r=\"C1\"><f>1+1</f><v>2</v></c><c r=\"D1\" t=\"str\">"
                          "<f>A1</f><v>x</v></c><c r=\"E1\" t=\"e\"><v>#DIV/0!</v></c></row>"),
         false,
         {{{0, 0}, "1"}, {{0, 1}, "0"}}},
        {"left-out rows and cells: references, or else the next position",
         ZipBuilder::Xlsx("<row r=\"3\"><c><v>1</v></c><c r=\"D3\"><v>2</v></c><c><v>3</v></c>"
                          "</row><row><c><v>4</v></c></row>"),
         false,
         {{{2, 0}, "1"}, {{2, 3}, "2"}, {{2, 4}, "3"}, {{3, 0}, "4"}}},
        {"repeated rows and columns; empty repeats only move the position",
         ZipBuilder::Ods(
             "<table:table-row table:number-rows-repeated=\"2\">" +
             OdsCell("table:number-columns-repeated=\"2\" office:value-type=\"string\"",
                     "<text:p>x</text:p>") +
             OdsCell("table:number-columns-repeated=\"5\"") +
             OdsCell("office:value-type=\"float\" office:value=\"3\"", "<text:p>3,00</text:p>") +
             "</table:table-row><table:table-row table:number-rows-repeated=\"4\">" + OdsCell("") +
             "</table:table-row><table:table-row>" +
             OdsCell("office:value-type=\"string\"", "<text:p>y</text:p>") + "</table:table-row>"),
         true,
         {{{0, 0}, "x"},
          {{0, 1}, "x"},
          {{0, 7}, "3"},
          {{1, 0}, "x"},
          {{1, 1}, "x"},
          {{1, 7}, "3"},
          {{6, 0}, "y"}}},
        {"spaces, spans, tabs, line breaks and paragraphs; a comment is no text of the cell",
         ZipBuilder::Ods("<table:table-row>" +
                         OdsCell("office:value-type=\"string\"",
                                 "<office:annotation><text:p>komentár</text:p></office:annotation>"
                                 "<text:p> a  <text:s text:c=\"3\"/>b<text:span>c</text:span>"
                                 "<text:tab/>d</text:p><text:p>e<text:line-break/>f</text:p>") +
                         "</table:table-row>"),
         true,
         {{{0, 0}, "a    bc\td\ne\nf"}}},
        {"values by their type; formulas empty",
         ZipBuilder::Ods("<table:table-row>" +
                         OdsCell("office:value-type=\"float\" office:value=\"12.5\"",
                                 "<text:p>12,50 €</text:p>") +
                         OdsCell("office:value-type=\"percentage\" office:value=\"0.15\"") +
                         OdsCell("office:value-type=\"currency\" office:value=\"7\"") +
                         OdsCell("office:value-type=\"boolean\" office:boolean-value=\"true\"") +
                         OdsCell("office:value-type=\"date\" office:date-value=\"2024-03-01\"") +
                         OdsCell("table:formula=\"of:=1+1\" office:value-type=\"float\" "
                                 "office:value=\"2\"",
                                 "<text:p>2</text:p>") +
                         "</table:table-row>"),
         true,
         {{{0, 0}, "12.50"}, {{0, 1}, "0.15"}, {{0, 2}, "7"}, {{0, 3}, "1"}, {{0, 4}, "45352"}}},
    };
    TemporaryDirectory directory;
    for (const auto& c : cases) {
        const std::string path = directory.File(c.isOds ? "sheet.ods" : "sheet.xlsx");
        c.workbook.Write(path);
        const Cells cells = c.isOds ? Read(OdsWorkbook(), path) : Read(XlsxWorkbook(), path);
        EXPECT_EQ(cells, c.expected) << c.kind;
    }
}

TEST(WorkbookFormats, CsvEncodingsSeparatorsAndQuotes) {
    const struct {
        const char* kind;
        std::string bytes;
        Cells expected;
    } cases[] = {
        {"UTF-8 with a byte-order mark, semicolons, CRLF",
         "\xEF\xBB\xBF"
         "a;Čierna\r\n;d\r\n",
         {{{0, 0}, "a"}, {{0, 1}, "Čierna"}, {{1, 1}, "d"}}},
        {"Windows-1250, commas", "Ko\xE8\xEDk,\x9A\xE1l\n", {{{0, 0}, "Kočík"}, {{0, 1}, "šál"}}},
        {"tabs; separators inside quotes do not count",
         "\"a;b;c\"\tx\n\"d;e\"\ty\n",
         {{{0, 0}, "a;b;c"}, {{0, 1}, "x"}, {{1, 0}, "d;e"}, {{1, 1}, "y"}}},
        {"doubled quotes and a line break in a quoted field; no line end at the end",
         "x;\"povedal \"\"áno\"\"\r\na ďalej\";y\n\n1;\"12,50\"",
         {{{0, 0}, "x"},
          {{0, 1}, "povedal \"áno\"\na ďalej"},
          {{0, 2}, "y"},
          {{2, 0}, "1"},
          {{2, 1}, "12,50"}}},
        {"the most frequent separator wins",
         "a,b;c;d\n",
         {{{0, 0}, "a,b"}, {{0, 1}, "c"}, {{0, 2}, "d"}}},
    };
    TemporaryDirectory directory;
    for (const auto& c : cases) {
        directory.WriteFile("sheet.csv", c.bytes);
        EXPECT_EQ(Read(CsvSheet(), directory.File("sheet.csv")), c.expected) << c.kind;
    }
}

std::string SheetOf(const std::string& xml) {
    return "<?xml version=\"1.0\"?>" + xml +
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
           "<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>&lol9;</t></is></c></row>"
           "</sheetData></worksheet>";
}

ZipBuilder WithPart(ZipBuilder zip, const std::string& name, const std::string& content) {
    return zip.Add(name, content);
}

// Every file is refused with its reason in words, quickly and in little memory; the one
// million empty rows are only passed over.
TEST(WorkbookFormats, HostileAndDamagedFilesAreRefusedWithTheirReason) {
    const std::string laughs =
        "<!DOCTYPE worksheet [<!ENTITY lol \"lol\"><!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;"
        "&lol;&lol;&lol;&lol;&lol;\">" +
        [] {
            std::string entities;
            for (int level = 2; level <= 9; ++level) {
                entities += "<!ENTITY lol" + std::to_string(level) + " \"";
                for (int i = 0; i < 10; ++i)
                    entities += "&lol" + std::to_string(level - 1) + ";";
                entities += "\">";
            }
            return entities;
        }() +
        "]>";
    const std::string emptyRows = "<table:table-row table:number-rows-repeated=\"1000000\">" +
                                  OdsCell("table:number-columns-repeated=\"16384\"") +
                                  "</table:table-row>";
    const std::string filledRows = "<table:table-row table:number-rows-repeated=\"1000000\">" +
                                   OdsCell(
                                       "table:number-columns-repeated=\"99999999999999999999\" "
                                       "office:value-type=\"string\"",
                                       "<text:p>x</text:p>") +
                                   "</table:table-row>";
    const struct {
        const char* file;
        std::string content;  // a zip when the builder is used instead
        std::optional<ZipBuilder> zip;
        const char* reason;  // none: read
    } cases[] = {
        {"bomb.xlsx", "",
         ZipBuilder::Xlsx("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>" +
                          std::string(30 << 20, ' ')),
         "časť zošita xl/worksheets/sheet1.xml sa rozbaľuje na viac ako 200-násobok"},
        {"empty-rows.ods", "", ZipBuilder::Ods(emptyRows + emptyRows),
         "súbor neobsahuje "
         "špeciálne znaky"},
        {"filled-rows.ods", "", ZipBuilder::Ods(filledRows),
         "hárok má viac ako 1048576 buniek, toľko ich program nenačíta"},
        {"spaces.ods", "",
         ZipBuilder::Ods("<table:table-row>" +
                         OdsCell("office:value-type=\"string\"",
                                 "<text:p>a<text:s text:c=\"2000000000\"/></text:p>") +
                         "</table:table-row>"),
         "bunka hárka má viac ako 64 kB textu"},
        {"laughs.xlsx", "",
         WithPart(ZipBuilder::Xlsx(""), "xl/worksheets/sheet1.xml", SheetOf(laughs)),
         "časť zošita xl/worksheets/sheet1.xml obsahuje definíciu typu dokumentu alebo entitu"},
        {"entity.xlsx", "",
         WithPart(ZipBuilder::Xlsx(""), "xl/worksheets/sheet1.xml",
                  SheetOf("<!DOCTYPE worksheet [<!ENTITY lol9 SYSTEM \"file:///etc/passwd\">]>")),
         "časť zošita xl/worksheets/sheet1.xml obsahuje definíciu typu dokumentu alebo entitu"},
        {"no-sheet.xlsx", "",
         ZipBuilder()
             .Add("xl/workbook.xml",
                  "<workbook xmlns:r=\"r\"><sheets><sheet r:id=\"rId1\"/></sheets>"
                  "</workbook>")
             .Add("xl/_rels/workbook.xml.rels",
                  "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
                  "Target=\"worksheets/sheet1.xml\"/></Relationships>"),
         "v zošite chýba jeho časť xl/worksheets/sheet1.xml"},
        {"binary.xlsx", "",
         WithPart(ZipBuilder::Xlsx(""), "xl/worksheets/sheet1.xml", std::string("\x01\xff\0<", 4)),
         "časť zošita xl/worksheets/sheet1.xml nie je platné XML"},
        {"no-content.ods", "", ZipBuilder().Add("mimetype", "x"),
         "v zošite chýba jeho časť content.xml"},
        {"missing-string.xlsx", "",
         ZipBuilder::Xlsx("<row><c r=\"A1\" t=\"s\"><v>7</v></c></row>", "<si><t>a</t></si>"),
         "bunka A1 odkazuje na text, ktorý zošit nemá"},
        {"text.xlsx", "not a zip at all", std::nullopt, "súbor nie je úplný archív ZIP"},
        {"quote.csv", "a;\"" + std::string(100000, 'x'), std::nullopt,
         "pole z riadku 1 má viac ako 64 kB textu; nechýbajú v ňom koncové úvodzovky?"},
        {"short-quote.csv", "a\nb;\"c\n", std::nullopt,
         "úvodzovky otvorené na riadku 2 sa do konca súboru nezatvorili"},
        {"utf16.csv",
         "\xFF\xFE"
         "a\0;\0",
         std::nullopt, "súbor je v kódovaní UTF-16"},
        {"wide.csv", std::string(20000, ';'), std::nullopt, "riadok 1 má viac ako 16384 polí"},
    };
    TemporaryDirectory directory;
    for (const auto& c : cases) {
        const std::string path = directory.File(c.file);
        if (c.zip) {
            c.zip->Write(path);
        } else {
            directory.WriteFile(c.file, c.content);
        }
        const SellerSheetImport import = ImportSellerSheet(path, directory.File("data/"));
        EXPECT_EQ(import.outcome, Failed) << c.file;
        EXPECT_THAT(import.FailureText, HasSubstr(std::string("pretože ") + c.reason)) << c.file;
    }
    // Cut short, as an interrupted copy leaves it.
    ZipBuilder::Xlsx("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>")
        .Write(directory.File("cut.xlsx"));
    std::filesystem::resize_file(directory.File("cut.xlsx"),
                                 std::filesystem::file_size(directory.File("cut.xlsx")) - 30);
    EXPECT_THAT(ImportSellerSheet(directory.File("cut.xlsx"), directory.File("data/")).FailureText,
                HasSubstr("pretože súbor nie je úplný archív ZIP"));
    // A named pipe under a sheet's name is refused without waiting for a writer.
    for (const char* name : {"pipe.xlsx", "pipe.ods", "pipe.csv"}) {
        ASSERT_EQ(mkfifo(directory.File(name).c_str(), 0600), 0);
        EXPECT_THAT(ImportSellerSheet(directory.File(name), directory.File("data/")).FailureText,
                    HasSubstr("pretože súbor sa nepodarilo otvoriť"));
    }
}

}  // namespace
