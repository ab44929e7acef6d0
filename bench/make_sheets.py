#!/usr/bin/python3
"""Writes COUNT seller sheets of ITEMS items each into FOLDER, each seller with its own code.

    /usr/bin/python3 bench/make_sheets.py FOLDER COUNT ITEMS
"""
import sys

import xlwt

folder, count, items = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for index in range(count):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Predajca")
    sheet.write(0, 1, "Predajca č. %d" % index)
    sheet.write(1, 1, "S%03d" % index)
    sheet.write(1, 2, "!code!")
    sheet.write(2, 1, "hárok na meranie")
    sheet.write(2, 2, "!note!")
    sheet.write(4, 0, "!number!")
    sheet.write(4, 1, "!name!")
    sheet.write(4, 2, "!price!")
    for item in range(items):
        sheet.write(6 + item, 0, item + 1)
        sheet.write(6 + item, 1, "Detská bunda veľkosť %d" % (item % 40 + 80))
        sheet.write(6 + item, 2, 1.5 + item % 30)
    book.save("%s/sheet-%03d.xls" % (folder, index))
