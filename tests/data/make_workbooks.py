#!/usr/bin/python3
"""Writes the test workbooks with real writers: xlwt (Debian's python3-xlwt) for XLS,
openpyxl (python3-openpyxl) for xlsx, gnumeric's ssconvert (gnumeric) for ods, Python's csv
module for csv.

Run with Debian's own interpreter, which sees the python3-* packages:
    /usr/bin/python3 tests/data/make_workbooks.py tests/data
"""
import csv
import os
import subprocess
import sys
import tempfile

import openpyxl
import xlwt


def cell_kinds(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Tovar")
    sheet.write(0, 0, 5)                 # RK integer
    sheet.write(0, 1, 2.5)               # RK with the divide flag
    sheet.write(0, 2, 1234567.891)       # NUMBER
    sheet.write(1, 0, "plain")           # 8-bit shared string
    sheet.write(1, 1, "Čierna bunda")    # 16-bit shared string
    sheet.write(1, 2, "crème")           # 8-bit, a letter outside ASCII
    sheet.write(2, 0, xlwt.Formula("A1+1"))
    sheet.write(2, 1, True)              # BOOLERR
    sheet.write(3, 2, 7)
    sheet.write(3, 3, 8)
    sheet.write(3, 4, 9)                 # a MULRK of columns 2..4
    sheet.write(5, 1, "")                # a blank cell: no text, does not grow the grid
    book.add_sheet("Druhý")
    book.save(path)


def long_strings(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Zoznam")
    for row in range(400):
        text = "Položka %03d " % row + "ľščťžýáíé" * 4 + "x" * (row % 50)
        sheet.write(row, 0, row + 1)
        sheet.write(row, 1, text)
    book.save(path)


def only_blanks(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Prazdny")
    style = xlwt.easyxf("font: bold on")
    sheet.write(3, 3, "", style)
    sheet.write(10, 1, None, style)
    book.save(path)


def seller_sheet(path, items, code_cell=(1, 2), extra=None, markers=True, header_row=10,
                 code="AN", damaged_second_sheet=False):
    """A seller's sheet: name above the code, the note below, the item table at header_row.

    With damaged_second_sheet a second sheet follows whose closing record claims more bytes
    than the workbook has: the damage comes after the seller's sheet, which stays whole.
    """
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Predajca")
    code_row, code_column = code_cell
    if code_row > 0:
        sheet.write(code_row - 1, code_column - 1, "Anna Nováková")
    sheet.write(code_row, code_column - 1, code)
    sheet.write(code_row + 1, code_column - 1, "volať večer")
    if markers:
        sheet.write(code_row, code_column, "!code!")
        sheet.write(code_row + 1, code_column, "!note!")
        sheet.write(0, 6, "!version3!")
        sheet.write(header_row, 0, "!number!")
        sheet.write(header_row, 1, "!name!")
        sheet.write(header_row, 2, "!price!")
    sheet.write(header_row + 1, 0, 99)          # never read
    sheet.write(header_row + 1, 1, "nečítané")
    sheet.write(header_row + 1, 2, 1)
    for row, (number, name, price) in items.items():
        for column, value in enumerate((number, name, price)):
            if value is not None:
                sheet.write(row, column, value)
    for (row, column), value in (extra or {}).items():
        sheet.write(row, column, value)
    if not damaged_second_sheet:
        book.save(path)
        return
    book.add_sheet("Poznámky").write(0, 0, "iný hárok")
    stream = bytearray(book.get_biff_data())
    assert stream[-4:] == b"\x0a\x00\x00\x00"  # the last sheet's EOF
    stream[-2:] = b"\xff\xff"
    from xlwt import CompoundDoc
    CompoundDoc.XlsDoc().save(path, bytes(stream))


def seller_sheets(folder):
    seller_sheet(folder + "/seller-sheet.xls", {
        12: (1, "Zimná bunda", 12.5),
        13: (2, "Kočík", "12,5"),
        14: (3, "Hračka", 1.999),
        15: (7.0, "Lopta", 0),
        17: (4, "", 5),               # no name: skipped
        18: (5, "Kniha", None),       # no price: skipped
        116: (8, "Po sto prázdnych", 3),
        218: (9, "Po stojeden prázdnych", 3),
    })
    seller_sheet(folder + "/number-formula.xls",
                 {12: (xlwt.Formula("1+1"), "Vzorec", 2)})
    seller_sheet(folder + "/price-formula.xls",
                 {12: (1, "Vzorec v cene", xlwt.Formula("1+1")), 13: (2, "Riadna", 4)})
    seller_sheet(folder + "/number-too-large.xls", {12: (1001, "Veľa", 2)})
    seller_sheet(folder + "/number-zero.xls", {12: (0, "Nula", 2)})
    seller_sheet(folder + "/price-text.xls", {12: (1, "Drahé", "zadarmo")})
    seller_sheet(folder + "/no-markers.xls", {12: (1, "Bez značiek", 2)}, markers=False)
    seller_sheet(folder + "/code-in-row-0.xls", {12: (1, "Kód hore", 2)}, code_cell=(0, 2))
    seller_sheet(folder + "/info-table.xls", {12: (1, "Tabuľka", 2)},
                 extra={(0, 8): "!infotable!"})
    seller_sheet(folder + "/whole-prices.xls",
                 {12: (1, "Šál", 2), 13: (2, "Čiapka", 3), 14: (3, "Rukavice", 4)})
    seller_sheet(folder + "/zero-price.xls",
                 {12: (1, "Darček", 0), 13: (2, "Čiapka", 3)}, code="DA")
    seller_sheet(folder + "/number-highest.xls", {12: (1, "Prvá", 2), 13: (1000, "Posledná", 3)})
    seller_sheet(folder + "/far-cells.xls", {12: (1, "Šál", 2), 13: (2, "Čiapka", 3)},
                 extra={(4200, 250): "poznámka ďaleko", (65535, 255): "posledná bunka"})
    seller_sheet(folder + "/damaged-second-sheet.xls", {12: (1, "Šál", 2), 13: (2, "Čiapka", 3)},
                 damaged_second_sheet=True)


# One seller's sheet, cell by cell, as (row, column, value); saved in every format the import
# reads, it must give the same seller and the same items.
EVERY_FORMAT_CELLS = [
    (0, 6, "!version3!"),
    (1, 1, "Mária Šťastná"),
    (2, 1, "MS"), (2, 2, "!code!"),
    (3, 1, "prinesie v sobotu\nráno"), (3, 2, "!note!"),
    (5, 0, "!number!"), (5, 1, "!name!"), (5, 2, "!price!"),
    (6, 0, 99), (6, 1, "nečítané"), (6, 2, 1),
    (7, 0, 1), (7, 1, "Zimná bunda – veľkosť 140"), (7, 2, 12.5),
    (8, 0, 2), (8, 1, "Kočík"), (8, 2, "45,90"),
    (9, 0, 3), (9, 1, "Detské topánky  č. 28"), (9, 2, 4),
    (10, 0, 10), (10, 1, "Crème de la crème"), (10, 2, 0.99),
    (11, 0, 11), (11, 1, "  Sánky"), (11, 2, 0),
    (12, 0, 12), (12, 1, "Lopta"), (12, 2, 7.0),
    (13, 0, 5), (13, 2, 8),                                      # no name: skipped
    (15, 0, "13"), (15, 1, "Kniha"), (15, 2, "3"),
    (40, 0, 1000), (40, 1, "Posledná"), (40, 2, 150),
]


def every_format(folder):
    """The same sheet as xls (xlwt), xlsx (openpyxl), ods (gnumeric from the xls), csv."""
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Predajca")
    for row, column, value in EVERY_FORMAT_CELLS:
        sheet.write(row, column, value)
    book.add_sheet("Poznámky").write(0, 0, "iný hárok")
    book.save(folder + "/every-format.xls")

    workbook = openpyxl.Workbook()
    page = workbook.active
    page.title = "Predajca"
    for row, column, value in EVERY_FORMAT_CELLS:
        page.cell(row=row + 1, column=column + 1, value=value)
    workbook.create_sheet("Poznámky")["A1"] = "iný hárok"
    workbook.save(folder + "/every-format.xlsx")

    subprocess.run(["ssconvert", "-T", "Gnumeric_OpenCalc:odf", folder + "/every-format.xls",
                    folder + "/every-format.ods"], check=True, stderr=subprocess.DEVNULL)

    rows = max(row for row, _, _ in EVERY_FORMAT_CELLS) + 1
    table = [[""] * 7 for _ in range(rows)]
    for row, column, value in EVERY_FORMAT_CELLS:
        table[row][column] = str(value)
    # Excel's "CSV UTF-8": a byte-order mark, semicolons.
    with open(folder + "/every-format.csv", "w", encoding="utf-8-sig", newline="") as out:
        csv.writer(out, delimiter=";").writerows(table)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    cell_kinds(folder + "/cell-kinds.xls")
    long_strings(folder + "/long-shared-strings.xls")
    only_blanks(folder + "/only-blank-cells.xls")
    seller_sheets(folder)
    every_format(folder)
