#pragma once

#include <string>
#include <vector>

#include "common/TemporaryDirectory.h"
#include "core/DataAccessInterface.h"
#include "core/Item.h"
#include "core/Seller.h"

namespace KramoTest {

// A data directory "data/" inside a fresh temporary folder, so that a test can also see
// whether anything was written beside it.
class DataDirectory {
  public:
    DataDirectory();

    // Ends with '/', as the store expects.
    const std::string& Path() const { return path_; }
    const std::string& Root() const { return root_.Path(); }

    void WriteFile(const std::string& name, const std::string& content) const;
    std::string ReadFile(const std::string& name) const;
    // Every entry of the data directory, sorted.
    std::vector<std::string> FileNames() const;
    // Every entry of the enclosing folder: only "data" is expected there.
    std::vector<std::string> RootNames() const;

  private:
    TemporaryDirectory root_;
    std::string path_;
};

Kramo::Seller MakeSeller(const std::string& code, const std::string& name,
                         const std::string& comment = "", int32_t category = 11,
                         int32_t status = 0);
Kramo::Item MakeItem(int32_t number, const std::string& name, double price, int32_t category = 1,
                     int32_t status = 1);

// Seller and item fields that the files hold; IDs of items and times are made anew at load.
std::string Describe(const Kramo::Seller& seller);
std::string Describe(const Kramo::Item& item);

// Every seller of the store, each followed by its items, described as above.
std::vector<std::string> Contents(Kramo::DataAccessInterface& store);

}  // namespace KramoTest
