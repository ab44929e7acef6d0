#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Item.h"
#include "core/Seller.h"

namespace Kramo {

class DataTextfile;

// Seller IDs the text store accepts in a file and hands out: positive, and one below the
// largest, so that the next ID never overflows.
constexpr int32_t MaxSellerId = INT32_MAX - 1;

// A seller file read at start and accepted.
struct LoadedSellerFile {
    std::string name;
    Seller seller;
    std::vector<Item> items;
};

// Reads the seller files of the data folder (every "*.txt" in it) for the store's start, in
// name order. Skipped, and left as they are: what is not a regular file (a folder, a named
// pipe, a link to a device or to nothing), a file that cannot be read, and a file whose header
// holds no seller ID from 1 to MaxSellerId. Of several files with one ID the one written last
// is read and the others are moved into the subfolder SetAsideFolderName, never merged.
// Temporary files left by a killed write are removed. Each is logged, and each skipped or set
// aside file gets a line in Slovak in `report`, for the user. Every seller carries `opened` as
// its MODIFIED.
std::vector<LoadedSellerFile> LoadSellerFolder(DataTextfile& reader, const std::string& directory,
                                               const Seller& opened,
                                               std::vector<std::string>& report);

}  // namespace Kramo
