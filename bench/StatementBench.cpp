#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "pdf/HPDFWrapper.h"
#include "pdf/SellerStatement.h"
#include "storage/CachedDataTextfile.h"

namespace {

using namespace Kramo;

constexpr int ItemCount = 1000;

// One seller with 1,000 items, a third of them sold, in a data directory of its own; the
// statement is written beside it.
class LargeSeller {
  public:
    LargeSeller() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kramo-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        directory_ = pattern + "/";
        std::ofstream file(directory_ + "1-AB-Anna Nováková.txt");
        file << "1*AB*Anna Nováková*volať večer*p*1\n";
        for (int number = 1; number <= ItemCount; ++number) {
            file << number << "*Detská bunda zimná č. " << number << "*" << number % 50 << ".5*"
                 << (number % 2 ? 'a' : 'b') << "*" << (number % 3 ? 's' : 'p') << "\n";
        }
    }
    ~LargeSeller() { std::filesystem::remove_all(directory_); }
    LargeSeller(const LargeSeller&) = delete;
    LargeSeller& operator=(const LargeSeller&) = delete;

    const std::string& Directory() const { return directory_; }

  private:
    std::string directory_;
};

// The whole document: the writer opened, the statement drawn over its pages, the file saved.
void BM_SellerStatement(benchmark::State& state) {
    const LargeSeller data;
    CachedDataTextfile store(data.Directory());
    const Seller seller = store.GetSeller(1);
    const SellerCategory category = store.GetSellerCategory(seller.SELLER_CATEGORY_ID);
    const std::string path = data.Directory() + "statement.pdf";
    for (auto _ : state) {
        HPDFWrapper writer;
        writer.SetOrigin("Jarna kramo 2012", "PC123");
        writer.Open(path);
        WriteSellerStatement(writer, store, seller, category, "eur");
        writer.Close();
    }
    state.counters["file_kB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
}
BENCHMARK(BM_SellerStatement)->Unit(benchmark::kMillisecond);

}  // namespace
