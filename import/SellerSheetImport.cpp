#include "SellerSheetImport.h"

#include <cmath>
#include <memory>
#include <stdexcept>

#include "import/BasicExcelFileWrapper.h"
#include "import/CsvSheet.h"
#include "import/OdsWorkbook.h"
#include "import/SellerSheet.h"
#include "import/XlsxWorkbook.h"
#include "storage/CachedDataTextfile.h"
#include "support/FileHelpers.h"

namespace KramoExcel {
namespace {

// The reader of a sheet format; none for a file of another kind.
std::unique_ptr<ExcelFileWrapper> ReaderFor(const std::string& extension,
                                            const std::string& copyFolder) {
    if (extension == "xls") {
        return std::make_unique<BasicExcelFileWrapper>(copyFolder);
    }
    if (extension == "xlsx") {
        return std::make_unique<XlsxWorkbook>();
    }
    if (extension == "ods") {
        return std::make_unique<OdsWorkbook>();
    }
    if (extension == "csv") {
        return std::make_unique<CsvSheet>();
    }
    return nullptr;
}

void Count(SellerSheetImport& import) {
    for (const Kramo::Item& item : import.items) {
        import.ZeroPriceCount += item.PRICE == 0.0;
        import.RoundPriceCount += item.PRICE == std::trunc(item.PRICE);
        import.NamelessCount += item.NAME.empty();
    }
}

}  // namespace

SellerSheetImport ImportSellerSheet(const std::string& path, const std::string& dataDirectory,
                                    const std::string& copyFolder) {
    SellerSheetImport import;
    const std::string extension = Kramo::LowerCaseExtension(path);
    try {
        if (extension == "txt") {
            Kramo::CachedDataTextfile store(dataDirectory);
            store.LoadFromTxtFile(path, import.seller, import.items);
            import.outcome = Loaded;
        } else if (const auto reader = ReaderFor(extension, copyFolder)) {
            ReadSellerSheet(*reader, path, import.seller, import.items);
            import.outcome = Loaded;
        } else {
            import.outcome = UnknownType;
        }
    } catch (const std::runtime_error& failure) {
        import.outcome = Failed;
        import.FailureText = failure.what();
        import.items.clear();
    }
    if (import.outcome == Loaded) {
        Count(import);
    }
    return import;
}

}  // namespace KramoExcel
