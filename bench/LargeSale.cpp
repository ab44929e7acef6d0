#include "LargeSale.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace KramoBench {

const LargeSale& LargeSale::Selling() {
    static const LargeSale sale(false);
    return sale;
}

const LargeSale& LargeSale::Settled() {
    static const LargeSale sale(true);
    return sale;
}

LargeSale::LargeSale(bool settled) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kramo-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    directory_ = pattern + "/";
    for (int seller = 1; seller <= SellerCount; ++seller) {
        WriteSellerFile(seller, settled);
    }
}

LargeSale::~LargeSale() {
    std::filesystem::remove_all(directory_);
}

void LargeSale::WriteSellerFile(int seller, bool settled) const {
    static const char states[] = "ospvdn";
    const std::string id = std::to_string(seller);
    std::ofstream file(directory_ + id + "-S" + id + "-Predajca " + id + ".txt");
    file << id << "*S" << id << "*Predajca " << id << "*poznámka*p*" << (settled ? seller % 3 : 1)
         << "\n";
    for (int number = 1; number <= ItemsPerSeller; ++number) {
        file << number << "*Detská bunda č. " << number << "*" << number % 50 << ".5*"
             << (number % 2 ? 'a' : 'b') << "*" << (settled ? states[number % 6] : 's') << "\n";
    }
}

double PeakResidentMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace KramoBench
