#include "SheetVerdict.h"

#include <algorithm>

#include "import/ImportedSellerStore.h"
#include "import/SellerSheet.h"
#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace KramoExcel {
namespace {

const char* const UnknownTypeText =
    N_("Neznámy typ súboru. Podporované sú 'ods', 'xls', 'xlsx', 'csv', 'txt'");

// The reader's failure text names the file, which the report names already: the reason
// after it, on one line.
std::string ReadingFailure(const std::string& failureText) {
    const std::string because = SellerSheetBecause();
    const std::string::size_type at = failureText.rfind(because);
    std::string reason =
        at == std::string::npos ? failureText : failureText.substr(at + because.size());
    std::replace(reason.begin(), reason.end(), '\n', ' ');
    return (Kramo::FormatStream(_("Hárok sa nepodarilo prečítať: %s")) << reason).str();
}

std::string CodeTaken(const std::string& code) {
    return Kramo::FormatText(
        _("Predajca s rovnakým kódom už existuje. Zmažte najskôr predajcu '%s' tlačidlom "
          "„Odstrániť predajcu“, ak je v zozname omylom."),
        code.c_str());
}

std::string Containing(const SheetVerdict& verdict) {
    return (Kramo::FormatStream(_("Obsahuje %s")) << verdict.DoubtText()).str();
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
        // TRANSLATORS: joins the sheet's doubts: "2 ks tovaru s nulovou cenou a 1 ks tovaru bez
        // názvu".
        text += (text.empty() ? "" : _(" a ")) + doubt;
    }
    return text;
}

std::string SheetVerdict::DoubtQuestion() const {
    return (Kramo::FormatStream(_("Hárok obsahuje %s. Napriek tomu ho uložiť?")) << DoubtText())
        .str();
}

SheetVerdict JudgeSheet(const SellerSheetImport& import, Kramo::DataAccessInterface& store) {
    SheetVerdict verdict;
    switch (import.outcome) {
        case UnknownType:
            verdict.refusal = _(UnknownTypeText);
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
    AddCount(verdict.doubts, import.ZeroPriceCount, _("%i ks tovaru s nulovou cenou"));
    AddCount(verdict.doubts, import.NamelessCount, _("%i ks tovaru bez názvu"));
    AddCount(verdict.warnings, import.SkippedNamelessRows,
             _("Preskočené riadky s cenou, ale bez názvu (prázdny alebo vzorec): %i"));
    AddCount(verdict.warnings, import.BlankNameCount, _("Názvy len z medzier: %i"));
    AddCount(verdict.warnings, import.RoundPriceCount, _("Ceny bez centov: %i"));
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
            entry.warnings.push_back(
                (Kramo::FormatStream(_("Uložený na vaše rozhodnutie, hoci obsahuje %s"))
                 << verdict.DoubtText())
                    .str());
        }
    } else {
        entry.state = import.outcome == UnknownType ? ImportReport::State::NotASheet
                                                    : ImportReport::State::Refused;
        entry.error = import.outcome != UnknownType;
        if (verdict.refusal.empty()) {
            entry.reason = Containing(verdict);
        } else {
            entry.reason = verdict.refusal;
            if (!verdict.doubts.empty()) {
                entry.warnings.push_back(Containing(verdict));
            }
        }
    }
    entry.warnings.insert(entry.warnings.end(), verdict.warnings.begin(), verdict.warnings.end());
    return entry;
}

}  // namespace KramoExcel
