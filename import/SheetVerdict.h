#pragma once

#include <string>
#include <vector>

#include "core/DataAccessInterface.h"
#include "import/ImportReport.h"
#include "import/SellerSheetImport.h"

namespace KramoExcel {

// What the import's rules say about one file, the same for the single import and the folder
// import: what refuses it, what is doubtful about it, and what is only worth a warning.
struct SheetVerdict {
    // Why the file cannot be stored (no seller sheet, not readable, its code already taken);
    // empty when it can.
    std::string refusal;
    // Items that the folder import refuses the sheet for and the single import asks about:
    // "2 ks tovaru s nulovou cenou".
    std::vector<std::string> doubts;
    // Told beside the file whatever became of it.
    std::vector<std::string> warnings;

    // The doubts in one phrase: "1 ks tovaru s nulovou cenou a 2 ks tovaru bez názvu".
    std::string DoubtText() const;
    // The question the single import asks before storing a doubtful sheet.
    std::string DoubtQuestion() const;
};

// Judges a read file; asks the store whether the seller's code is taken (a failure of the
// store passes through).
SheetVerdict JudgeSheet(const SellerSheetImport& import, Kramo::DataAccessInterface& store);

// Stores a sheet the verdict lets through, as StoreImportedSeller does; when another desk took
// its seller's code since the verdict was made, nothing is stored and the verdict refuses the
// sheet with that reason. True when stored.
bool StoreJudgedSheet(Kramo::DataAccessInterface& store, SellerSheetImport& import,
                      SheetVerdict& verdict, int32_t sellerCategoryId,
                      const std::vector<Kramo::ItemCategory>& itemCategories, int32_t status = -1);

// The report's entry for a file as the verdict leaves it: refused with the refusal or the
// doubts as its reason, or stored (after the user's consent the doubts become warnings).
ImportReport::Entry ReportEntry(const std::string& fileName, const SellerSheetImport& import,
                                const SheetVerdict& verdict, bool stored);

}  // namespace KramoExcel
