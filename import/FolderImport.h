#pragma once

#include <string>
#include <vector>

#include "core/DataAccessInterface.h"
#include "import/ImportReport.h"
#include "import/SellerSheetImport.h"
#include "import/SheetVerdict.h"

namespace KramoExcel {

// Imports every sheet of a folder. Each sheet ends in the subfolder "finished" when its
// seller was stored, in "error" otherwise; a file that is no seller sheet stays where it is.
// The report says what happened to each file; the log gets a line for each. When the
// store fails (a database gone, a full disk), the run stops there as after its last file: that
// sheet and the ones not reached stay in the folder for the next run, and the failure is shown
// in an error box.
class FolderImport {
  public:
    struct Summary {
        ImportReport report;  // an entry per file
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
        ImportReport::Entry entry;
        std::string logLine;
        bool storeFailed = false;
        bool notASheet = false;
    };

    void ImportFiles(const std::string& folder, Summary& summary);
    FileResult ImportFile(const std::string& folder, const std::string& name);
    // Judges the import and stores it when nothing speaks against it; throws when the store
    // fails.
    SheetVerdict StoreOrRefuse(SellerSheetImport& import);
    void StopAt(const std::string& name, const SellerSheetImport& import,
                const std::string& failure, FileResult& result);
    // The store's categories for the new sellers; false, with the failure shown, when the
    // store cannot give them.
    bool ReadCategories();
    static void StopAfterStoreFailure(const std::string& text);
    // The log's error text of a sheet not stored, empty for one stored.
    static std::string LogError(const SellerSheetImport& import, const SheetVerdict& verdict);
    // Moves the file without replacing one of the same name; false when that failed.
    static bool MoveInto(const std::string& folder, const std::string& name,
                         const std::string& subfolder, FileResult& result);

    Kramo::DataAccessInterface& store_;
    std::string dataDirectory_;
    std::string copyFolder_;
    int32_t sellerCategoryId_ = -1;
    std::vector<Kramo::ItemCategory> itemCategories_;
};

}  // namespace KramoExcel
