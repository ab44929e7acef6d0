#!/usr/bin/env python3
"""Fills in the program's empty seller sheet as a seller would, with openpyxl.

Usage: fill_sheet_template.py TEMPLATE.xlsx FILLED.xlsx
The seller and the items written are the ones the template round trip test expects.
"""
import sys

import openpyxl

template, filled = sys.argv[1], sys.argv[2]
book = openpyxl.load_workbook(template)
sheet = book.worksheets[0]
# The seller's fields stand in the price column above the table, the items from row 11 on.
sheet["C5"] = "Anna Nováková"
sheet["C6"] = "AN"
sheet["C7"] = "0905 123 456"
for number, name, price in ((1, "Detská bunda", 5.5), (2, "Kočík", 25), (5, "Šál", 2.4)):
    row = 10 + number
    sheet.cell(row=row, column=2, value=name)
    sheet.cell(row=row, column=3, value=price)
book.save(filled)
