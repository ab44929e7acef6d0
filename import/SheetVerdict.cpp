#include "SheetVerdict.h"

#include <algorithm>

#include "import/ImportedSellerStore.h"
#include "support/FormatText.h"

namespace KramoExcel {
namespace {

const char* const UnknownTypeText =
    "Neznámy typ súboru. Podporované sú 'ods', 'xls', 'xlsx', 'csv', 'txt'";

// The reader's failure text names the file, which the report names already: the reason
// after it, on one line.
std::string ReadingFailure(const std::string& failureText) {
    const std::string because = "\npretože ";
    const std::string::size_type at = failureText.rfind(because);
    std::string reason =
        at == std::string::npos ? failureText : failureText.substr(at + because.size());
    std::replace(reason.begin(), reason.end(), '\n', ' ');
    return "Hárok sa nepodarilo prečítať: " + reason;
}

std::string CodeTaken(const std::string& code) {
    return Kramo::FormatText(
        "Predajca s rovnakým kódom už existuje. Zmažte najskôr predajcu '%s' tlačidlom "
        "„Odstrániť predajcu“, ak je v zozname omylom.",
        code.c_str());
}

void AddCount(std::vector<std::string>& lines, int count, const char* format) {
    if (count > 0) {
        lines.push_back(Kramo::FormatText(format, count));
    }
}

}  // namespace

std::string SheetVerdict::DoubtText() const {
    std::string text;
    for (const std::string& doubt : doubts) {
        text += (text.empty() ? "" : " a ") + doubt;
    }
    return text;
}

std::string SheetVerdict::DoubtQuestion() const {
    return "Hárok obsahuje " + DoubtText() + ". Napriek tomu ho uložiť?";
}

SheetVerdict JudgeSheet(const SellerSheetImport& import, Kramo::DataAccessInterface& store) {
    SheetVerdict verdict;
    switch (import.outcome) {
        case UnknownType:
            verdict.refusal = UnknownTypeText;
            return verdict;
        case Failed:
            verdict.refusal = ReadingFailure(import.FailureText);
            return verdict;
        case Loaded:
            break;
    }
    if (SellerExistsWithCode(store, import.seller.SHORT_CODE)) {
        verdict.refusal = CodeTaken(import.seller.SHORT_CODE);
    }
    AddCount(verdict.doubts, import.ZeroPriceCount, "%i ks tovaru s nulovou cenou");
    AddCount(verdict.doubts, import.NamelessCount, "%i ks tovaru bez názvu");
    AddCount(verdict.warnings, import.SkippedNamelessRows,
             "Preskočené riadky s cenou, ale bez názvu (prázdny alebo vzorec): %i");
    AddCount(verdict.warnings, import.BlankNameCount, "Názvy len z medzier: %i");
    AddCount(verdict.warnings, import.RoundPriceCount, "Ceny bez centov: %i");
    return verdict;
}

bool StoreJudgedSheet(Kramo::DataAccessInterface& store, SellerSheetImport& import,
                      SheetVerdict& verdict, int32_t sellerCategoryId,
                      const std::vector<Kramo::ItemCategory>& itemCategories, int32_t status) {
    try {
        StoreImportedSeller(store, import, sellerCategoryId, itemCategories, status);
        return true;
    } catch (const Kramo::SellerCodeTakenException& taken) {
        // The sheet's code is the seller's own, printed on the labels: never another one.
        verdict.refusal = taken.what();
        return false;
    }
}

ImportReport::Entry ReportEntry(const std::string& fileName, const SellerSheetImport& import,
                                const SheetVerdict& verdict, bool stored) {
    ImportReport::Entry entry;
    entry.fileName = fileName;
    if (import.outcome == Loaded) {
        entry.sellerCode = import.seller.SHORT_CODE;
        entry.sellerName = import.seller.NAME;
    }
    if (stored) {
        entry.state = ImportReport::State::Stored;
        entry.itemsStored = static_cast<int>(import.items.size());
        if (!verdict.doubts.empty()) {
            entry.warnings.push_back("Uložený na vaše rozhodnutie, hoci obsahuje " +
                                     verdict.DoubtText());
        }
    } else {
        entry.state = import.outcome == UnknownType ? ImportReport::State::NotASheet
                                                    : ImportReport::State::Refused;
        entry.error = import.outcome != UnknownType;
        if (verdict.refusal.empty()) {
            entry.reason = "Obsahuje " + verdict.DoubtText();
        } else {
            entry.reason = verdict.refusal;
            if (!verdict.doubts.empty()) {
                entry.warnings.push_back("Obsahuje " + verdict.DoubtText());
            }
        }
    }
    entry.warnings.insert(entry.warnings.end(), verdict.warnings.begin(), verdict.warnings.end());
    return entry;
}

}  // namespace KramoExcel
