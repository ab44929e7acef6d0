#include "SellerSheetImport.h"

#include <cmath>
#include <stdexcept>

#include "import/BasicExcelFileWrapper.h"
#include "import/SellerSheet.h"
#include "storage/CachedDataTextfile.h"
#include "support/FileHelpers.h"

namespace KramoExcel {
namespace {

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
        } else if (extension == "xls") {
            BasicExcelFileWrapper wrapper(copyFolder);
            ReadSellerSheet(wrapper, path, import.seller, import.items);
            import.outcome = Loaded;
        } else if (extension == "ods" || extension == "xlsx") {
            import.outcome = UnsupportedFormat;
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
