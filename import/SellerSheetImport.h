#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Item.h"
#include "core/Seller.h"

namespace KramoExcel {

enum SheetOutcome : int32_t {
    Loaded = 0,
    // 1 refused ods and xlsx sheets before they were read.
    UnknownType = 2,  // not a seller sheet: no sheet format, no seller file
    Failed = 3,
};

// The result of reading one seller's file.
struct SellerSheetImport {
    SheetOutcome outcome = UnknownType;
    Kramo::Seller seller;
    std::vector<Kramo::Item> items;
    std::string FailureText;
    int32_t ZeroPriceCount = 0;
    int32_t RoundPriceCount = 0;  // whole prices, 0 included
    int32_t NamelessCount = 0;
};

// Reads one file of any kind: a seller sheet saved as xls, xlsx, ods or csv, or a seller's text
// file read as the text-file store reads its own (a store over the data directory reads it).
// Failures of reading do not escape; they become the outcome Failed with their text. The XLS
// copy "tmp.xls" is made in copyFolder.
SellerSheetImport ImportSellerSheet(const std::string& path, const std::string& dataDirectory,
                                    const std::string& copyFolder = ".");

}  // namespace KramoExcel
