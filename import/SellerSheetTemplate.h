#pragma once

#include <string>

namespace KramoExcel {

// An empty seller sheet as an xlsx workbook, for the sellers to fill in: the sale's name in
// the title, short instructions, the seller's name, code and note, and the item table with
// the numbers 1 to rows written in. The markers the import finds the parts by sit in a hidden
// row and a hidden column. The file at path is replaced whole or not at all; a failure throws
// std::runtime_error naming the file and the reason.
void WriteSellerSheetTemplate(const std::string& path, const std::string& saleName, int rows = 200);

}  // namespace KramoExcel
