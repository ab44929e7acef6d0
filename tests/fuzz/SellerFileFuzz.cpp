// Feeds arbitrary text through the seller file reader of the text-file store.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "FuzzWorkFolder.h"
#include "storage/CachedDataTextfile.h"
#include "support/Log.h"

namespace {

using KramoFuzz::WorkFolder;

// An empty data folder of its own, so the store reads nothing but the input.
Kramo::CachedDataTextfile& Store() {
    static const std::unique_ptr<Kramo::CachedDataTextfile> store = [] {
        const std::string data = WorkFolder() + "data/";
        mkdir(data.c_str(), 0700);
        return std::make_unique<Kramo::CachedDataTextfile>(data);
    }();
    return *store;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Kramo::SetLogLevel(0);
    const std::string path = WorkFolder() + "input.txt";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    Kramo::Seller seller;
    std::vector<Kramo::Item> items;
    try {
        Store().LoadFromTxtFile(path, seller, items);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
