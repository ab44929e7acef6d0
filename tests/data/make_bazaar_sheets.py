#!/usr/bin/python3
"""Writes the seller sheets of a rehearsed bazaar day, each in the format its file name says,
with the writers a seller might use: xlwt (python3-xlwt) for .xls, openpyxl (python3-openpyxl)
for .xlsx, gnumeric's ssconvert (gnumeric) for .ods, Python's csv module for .csv (in turn
Windows-1250 with semicolons, as Excel writes it on a Slovak Windows, and UTF-8 with a byte-order
mark and commas).

    /usr/bin/python3 tests/data/make_bazaar_sheets.py FOLDER DESCRIPTION

The description has one line per sheet and per item, fields separated by tabs:
    sheet <file name> <seller name> <code> <note>
    item <number> <name> <price>
An empty name leaves the name cell empty; the price is written as a number cell (a text field
in csv).
"""
import csv
import os
import subprocess
import sys
import tempfile

import openpyxl
import xlwt


def cells_of(sheet):
    """The sheet's cells as (row, column, value)."""
    cells = [(0, 6, "!version3!"), (2, 1, sheet["name"]), (3, 1, sheet["code"]),
             (3, 2, "!code!"), (4, 1, sheet["note"]), (4, 2, "!note!"),
             (7, 0, "!number!"), (7, 1, "!name!"), (7, 2, "!price!"),
             (8, 0, "číslo"), (8, 1, "popis"), (8, 2, "cena")]
    for row, (number, name, price) in enumerate(sheet["items"], start=9):
        cells.append((row, 0, number))
        if name:
            cells.append((row, 1, name))
        cells.append((row, 2, price))
    return cells


def save_xls(path, cells):
    book = xlwt.Workbook(encoding="utf-8")
    page = book.add_sheet("Predajca")
    for row, column, value in cells:
        page.write(row, column, value)
    book.save(path)


def save_xlsx(path, cells):
    book = openpyxl.Workbook()
    page = book.active
    page.title = "Predajca"
    for row, column, value in cells:
        page.cell(row=row + 1, column=column + 1, value=value)
    book.save(path)


def save_ods(path, cells):
    with tempfile.TemporaryDirectory() as folder:
        xls = os.path.join(folder, "sheet.xls")
        save_xls(xls, cells)
        subprocess.run(["ssconvert", "-T", "Gnumeric_OpenCalc:odf", xls, path], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


csv_count = 0


def save_csv(path, cells):
    global csv_count
    encoding, separator = (("cp1250", ";"), ("utf-8-sig", ","))[csv_count % 2]
    csv_count += 1
    table = [[""] * 7 for _ in range(max(row for row, _, _ in cells) + 1)]
    for row, column, value in cells:
        table[row][column] = str(value)
    with open(path, "w", encoding=encoding, newline="") as out:
        csv.writer(out, delimiter=separator).writerows(table)


WRITERS = {".xls": save_xls, ".xlsx": save_xlsx, ".ods": save_ods, ".csv": save_csv}


def save(folder, sheet):
    if sheet is None:
        return
    path = "%s/%s" % (folder, sheet["file"])
    WRITERS[os.path.splitext(path)[1]](path, cells_of(sheet))


def main():
    folder = sys.argv[1]
    sheet = None
    with open(sys.argv[2], encoding="utf-8") as description:
        lines = description.read().splitlines()
    for line in lines:
        fields = line.split("\t")
        if fields[0] == "sheet":
            save(folder, sheet)
            sheet = {"file": fields[1], "name": fields[2], "code": fields[3],
                     "note": fields[4], "items": []}
        elif fields[0] == "item":
            price = float(fields[3])
            if price == int(price):
                price = int(price)
            sheet["items"].append((int(fields[1]), fields[2], price))
    save(folder, sheet)


main()
