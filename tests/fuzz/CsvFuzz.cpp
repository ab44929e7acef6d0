// Feeds arbitrary bytes as a csv seller sheet: the encoding, the separator, the quoted fields
// and the seller sheet reading. Nothing may crash, hang, read out of bounds or exhaust the
// memory.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzWorkFolder.h"
#include "import/SellerSheetImport.h"
#include "support/Log.h"

namespace {

using KramoFuzz::WorkFolder;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Kramo::SetLogLevel(0);
    const std::string path = WorkFolder() + "input.csv";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    // Refusals are answers; nothing else may escape.
    KramoExcel::ImportSellerSheet(path, WorkFolder(), WorkFolder());
    return 0;
}
