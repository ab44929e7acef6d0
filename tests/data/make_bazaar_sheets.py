#!/usr/bin/python3
"""Writes the seller sheets of a rehearsed bazaar day with xlwt (Debian's python3-xlwt).

    /usr/bin/python3 tests/data/make_bazaar_sheets.py FOLDER DESCRIPTION

The description has one line per sheet and per item, fields separated by tabs:
    sheet <file name> <seller name> <code> <note>
    item <number> <name> <price>
An empty name leaves the name cell empty; the price is written as a number cell.
"""
import sys

import xlwt


def save(folder, sheet):
    if sheet is None:
        return
    book = xlwt.Workbook(encoding="utf-8")
    page = book.add_sheet("Predajca")
    page.write(0, 6, "!version3!")
    page.write(2, 1, sheet["name"])
    page.write(3, 1, sheet["code"])
    page.write(3, 2, "!code!")
    page.write(4, 1, sheet["note"])
    page.write(4, 2, "!note!")
    page.write(7, 0, "!number!")
    page.write(7, 1, "!name!")
    page.write(7, 2, "!price!")
    page.write(8, 0, "číslo")
    page.write(8, 1, "popis")
    page.write(8, 2, "cena")
    for row, (number, name, price) in enumerate(sheet["items"], start=9):
        page.write(row, 0, number)
        if name:
            page.write(row, 1, name)
        page.write(row, 2, price)
    book.save("%s/%s" % (folder, sheet["file"]))


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
