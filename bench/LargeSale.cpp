#include "LargeSale.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace Kramo {

LargeSale::LargeSale() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kramo-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    directory_ = pattern + "/";
    for (int seller = 1; seller <= SellerCount; ++seller) {
        WriteSellerFile(seller);
    }
}

LargeSale::~LargeSale() {
    std::filesystem::remove_all(directory_);
}

const LargeSale& LargeSale::Instance() {
    static const LargeSale sale;
    return sale;
}

void LargeSale::WriteSellerFile(int seller) const {
    const std::string id = std::to_string(seller);
    std::ofstream file(directory_ + id + "-S" + id + "-Predajca " + id + ".txt");
    file << id << "*S" << id << "*Predajca " << id << "*poznámka*p*1\n";
    for (int number = 1; number <= ItemsPerSeller; ++number) {
        file << number << "*Detská bunda č. " << number << "*" << number % 50 << ".5*"
             << (number % 2 ? 'a' : 'b') << "*s\n";
    }
}

}  // namespace Kramo
