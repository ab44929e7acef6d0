#pragma once

#include <string>
#include <vector>

#include "core/DataAccessInterface.h"
#include "import/SellerSheetImport.h"

namespace KramoExcel {

// Imports every sheet of a folder. Each sheet ends in the subfolder "finished" when its
// seller was stored, in "error" otherwise; a file that is no seller sheet stays where it is.
// The report says what happened to each file. When the
// store fails (a database gone, a full disk), the run stops there as after its last file: that
// sheet and the ones not reached stay in the folder for the next run, and the failure is shown
// in an error box.
class FolderImport {
  public:
    struct Summary {
        std::vector<std::string> reports;  // one per file
        int correct = 0;
        int errors = 0;
        int notSheets = 0;     // files of other kinds, left in the folder
        bool stopped = false;  // by a failure of the store
    };

    FolderImport(Kramo::DataAccessInterface& store, std::string dataDirectory,
                 std::string copyFolder = ".");

    // The folder ends with '/'.
    Summary Run(const std::string& folder);

    // A line of the folder import's log: the operation, the text and the line end.
    static void LogLine(const std::string& text);

  private:
    struct FileResult {
        std::string report;
        bool isError = false;
        bool storeFailed = false;
        bool notASheet = false;
    };

    void ImportFiles(const std::string& folder, Summary& summary);
    FileResult ImportFile(const std::string& folder, const std::string& name);
    // Refuses the import (the text says why) or stores it; throws when the store fails.
    std::string StoreOrRefuse(SellerSheetImport& import);
    // The store's categories for the new sellers; false, with the failure shown, when the
    // store cannot give them.
    bool ReadCategories();
    static void StopAfterStoreFailure(const std::string& text);
    std::string ErrorOf(const SellerSheetImport& import) const;
    // Moves the file without replacing one of the same name; false when that failed.
    static bool MoveInto(const std::string& folder, const std::string& name,
                         const std::string& subfolder, std::string& report);

    Kramo::DataAccessInterface& store_;
    std::string dataDirectory_;
    std::string copyFolder_;
    int32_t sellerCategoryId_ = -1;
    std::vector<Kramo::ItemCategory> itemCategories_;
};

}  // namespace KramoExcel
