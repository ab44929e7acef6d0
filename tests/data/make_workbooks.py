#!/usr/bin/python3
"""Writes the test workbooks of the XLS reader with xlwt (Debian's python3-xlwt).

Run with Debian's own interpreter, which sees the python3-* packages:
    /usr/bin/python3 tests/data/make_workbooks.py tests/data
"""
import sys

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


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    cell_kinds(folder + "/cell-kinds.xls")
    long_strings(folder + "/long-shared-strings.xls")
    only_blanks(folder + "/only-blank-cells.xls")
