// Feeds arbitrary files through the whole XLS path: compound document, workbook stream,
// sheet grid and the seller sheet reading. Nothing may crash, hang or read out of bounds.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "FuzzWorkFolder.h"
#include "core/Item.h"
#include "core/Seller.h"
#include "import/BasicExcelFileWrapper.h"
#include "import/SellerSheet.h"
#include "support/Log.h"

namespace {

using KramoFuzz::WorkFolder;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Kramo::SetLogLevel(0);
    const std::string path = WorkFolder() + "input.xls";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    KramoExcel::BasicExcelFileWrapper wrapper(WorkFolder());
    Kramo::Seller seller;
    std::vector<Kramo::Item> items;
    try {
        KramoExcel::ReadSellerSheet(wrapper, path, seller, items);
    } catch (const std::runtime_error&) {
        // a refused file is a correct answer
    }
    return 0;
}
