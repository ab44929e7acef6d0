#include "FolderImport.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "import/ImportedSellerStore.h"
#include "support/FileFinder.h"
#include "support/FileHelpers.h"
#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/Translation.h"
#include "support/UserMessages.h"

namespace KramoExcel {
namespace {

constexpr int MaxNameSuffix = 1000;

// The files of the folder, directories left out, listed before any is touched: reading a
// text sheet runs a search of its own.
std::vector<std::string> FilesOf(const std::string& folder) {
    std::vector<std::string> names;
    Kramo::FileFinder finder;
    for (bool found = finder.FindFirst(folder + "*"); found; found = finder.FindNext()) {
        if (!finder.FoundIsDirectory()) {
            names.push_back(finder.FoundName());
        }
    }
    return names;
}

// "name_2.xls" for the second file called "name.xls".
std::string NumberedName(const std::string& name, int number) {
    const std::string::size_type point = name.rfind('.');
    const std::string suffix = "_" + std::to_string(number);
    return point == std::string::npos || point == 0
               ? name + suffix
               : name.substr(0, point) + suffix + name.substr(point);
}

// A rename that never replaces an existing file.
bool RenameWithoutReplacing(const std::string& from, const std::string& to, bool& targetExists) {
    targetExists = false;
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    targetExists = errno == EEXIST;
    return false;
}

}  // namespace

void FolderImport::LogLine(const std::string& text) {
    Kramo::LogMessage(Kramo::LogNotice, "ImportMultiSellers: ");
    Kramo::LogMessage(Kramo::LogNotice, "%s", text.c_str());
    Kramo::LogMessage(Kramo::LogNotice, "\n");
}

FolderImport::FolderImport(Kramo::DataAccessInterface& store, std::string dataDirectory,
                           std::string copyFolder)
    : store_(store), dataDirectory_(std::move(dataDirectory)), copyFolder_(std::move(copyFolder)) {}

FolderImport::Summary FolderImport::Run(const std::string& folder) {
    LogLine("Selected folder: " + folder);
    for (const char* subfolder : {"finished", "warning", "error"}) {
        Kramo::CreateDirectoryIfMissing(folder, subfolder);
    }
    Summary summary;
    summary.report = ImportReport(folder);
    if (ReadCategories()) {
        ImportFiles(folder, summary);
    } else {
        summary.stopped = true;
    }
    LogLine(Kramo::FormatText("Dokončené ... správne načítaných: %i chýb: %i.", summary.correct,
                              summary.errors));
    if (summary.notSheets > 0) {
        LogLine(Kramo::FormatText("Files that are no seller sheets, left in the folder: %i",
                                  summary.notSheets));
    }
    return summary;
}

void FolderImport::ImportFiles(const std::string& folder, Summary& summary) {
    for (const std::string& name : FilesOf(folder)) {
        FileResult result = ImportFile(folder, name);
        LogLine(result.logLine);
        const bool isError = result.entry.error;
        summary.report.Add(std::move(result.entry));
        if (result.notASheet) {
            ++summary.notSheets;
            continue;
        }
        ++(isError ? summary.errors : summary.correct);
        if (result.storeFailed) {
            summary.stopped = true;
            return;
        }
    }
}

bool FolderImport::ReadCategories() {
    try {
        sellerCategoryId_ = ImportSellerCategory(store_);
        itemCategories_ = store_.GetItemCategories();
        return true;
    } catch (const std::exception& failure) {
        LogLine(std::string("Categories not read, nothing imported: ") + failure.what());
        StopAfterStoreFailure(
            (Kramo::FormatStream(
                 _("Kategórie sa nepodarilo prečítať: %s\nŽiadny súbor sa nespracoval."))
             << failure.what())
                .str());
        return false;
    }
}

void FolderImport::StopAfterStoreFailure(const std::string& text) {
    Kramo::ShowErrorBox(text, _("Import priečinka sa zastavil."));
}

std::string FolderImport::LogError(const SellerSheetImport& import, const SheetVerdict& verdict) {
    if (import.outcome == Failed) {
        return "Error importing file." + import.FailureText;
    }
    if (!verdict.refusal.empty()) {
        return " " + verdict.refusal;
    }
    std::string error;
    if (import.ZeroPriceCount > 0) {
        error += Kramo::FormatText(" Obsahuje %i ks tovaru s nulovou cenou", import.ZeroPriceCount);
    }
    if (import.NamelessCount > 0) {
        error += Kramo::FormatText(" Obsahuje %i ks tovaru bez mena", import.NamelessCount);
    }
    return error;
}

SheetVerdict FolderImport::StoreOrRefuse(SellerSheetImport& import) {
    SheetVerdict verdict = JudgeSheet(import, store_);
    if (verdict.refusal.empty() && verdict.doubts.empty()) {
        StoreJudgedSheet(store_, import, verdict, sellerCategoryId_, itemCategories_,
                         Kramo::NotSelling);
    }
    return verdict;
}

void FolderImport::StopAt(const std::string& name, const SellerSheetImport& import,
                          const std::string& failure, FileResult& result) {
    // The sheet itself is sound: it stays where it is for the next run.
    result.logLine += " Chyba: Predajcu sa nepodarilo uložiť: " + failure +
                      "; súbor ostal v priečinku, import sa zastavil;";
    result.entry = ReportEntry(name, import, SheetVerdict(), false);
    result.entry.state = ImportReport::State::Stopped;
    result.entry.reason =
        (Kramo::FormatStream(_("Predajcu sa nepodarilo uložiť: %s. Súbor a súbory, "
                               "na ktoré import neprišiel, ostali v priečinku."))
         << failure)
            .str();
    result.entry.error = true;
    result.storeFailed = true;
    StopAfterStoreFailure(
        (Kramo::FormatStream(_("Predajcu zo súboru %s sa nepodarilo uložiť: %s\nTento "
                               "súbor a súbory, na ktoré import neprišiel, ostali v "
                               "priečinku; po odstránení príčiny spustite import znova."))
         << name << failure)
            .str());
}

FolderImport::FileResult FolderImport::ImportFile(const std::string& folder,
                                                  const std::string& name) {
    SellerSheetImport import = ImportSellerSheet(folder + name, dataDirectory_, copyFolder_);
    FileResult result;
    result.logLine = "Spracovaný súbor\n" + name + "\n";
    if (import.outcome == UnknownType) {
        // A picture, a thumbnail cache, a document: none of the import's business.
        result.logLine += " Nie je hárok predajcu, ostal v priečinku;";
        result.entry = ReportEntry(name, import, JudgeSheet(import, store_), false);
        result.entry.warnings.push_back(_("Súbor ostal v priečinku."));
        result.notASheet = true;
        return result;
    }
    SheetVerdict verdict;
    try {
        verdict = StoreOrRefuse(import);
    } catch (const std::exception& failure) {
        StopAt(name, import, failure.what(), result);
        return result;
    }
    const std::string error = LogError(import, verdict);
    const bool stored = verdict.refusal.empty() && verdict.doubts.empty();
    result.entry = ReportEntry(name, import, verdict, stored);
    if (stored) {
        result.logLine += Kramo::FormatText(" načítaný, kód '%s', %i kusov tovaru;",
                                            import.seller.SHORT_CODE.c_str(),
                                            static_cast<int>(import.items.size()));
        if (import.RoundPriceCount > 0) {
            result.logLine += Kramo::FormatText(" Info:  Obsahuje %i ks tovaru s okruhlou cenou;",
                                                import.RoundPriceCount);
        }
    } else {
        result.logLine += " Chyba: " + error + ";";
    }
    if (!MoveInto(folder, name, stored ? "finished" : "error", result)) {
        result.entry.error = true;
    }
    return result;
}

bool FolderImport::MoveInto(const std::string& folder, const std::string& name,
                            const std::string& subfolder, FileResult& result) {
    const std::string source = folder + name;
    const std::string destinationFolder = folder + subfolder + "/";
    bool targetExists = false;
    if (RenameWithoutReplacing(source, destinationFolder + name, targetExists)) {
        return true;
    }
    // A sheet of the same name from another seller is already there: keep both.
    for (int number = 2; targetExists && number <= MaxNameSuffix; ++number) {
        const std::string numbered = NumberedName(name, number);
        if (RenameWithoutReplacing(source, destinationFolder + numbered, targetExists)) {
            result.logLine +=
                " Súbor s rovnakým menom už existuje, uložený ako '" + numbered + "';";
            result.entry.warnings.push_back(
                (Kramo::FormatStream(_("V priečinku '%s' už je súbor s rovnakým menom, tento je "
                                       "uložený ako '%s'."))
                 << subfolder << numbered)
                    .str());
            return true;
        }
    }
    result.logLine += " Chyba pri presune na miesto: " + destinationFolder + name;
    result.entry.warnings.push_back(
        (Kramo::FormatStream(_("Súbor sa nepodarilo presunúť do %s.")) << destinationFolder + name)
            .str());
    return false;
}

}  // namespace KramoExcel
