#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "storage/CachedDataTextfile.h"

namespace {

using namespace Kramo;

constexpr int SellerCount = 2000;
constexpr int ItemsPerSeller = 200;

// A data directory as a large sale leaves it: 2,000 seller files of 200 items each, written
// once per run and removed at exit.
class LargeSale {
  public:
    LargeSale() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kramo-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        directory_ = pattern + "/";
        for (int seller = 1; seller <= SellerCount; ++seller) {
            WriteSellerFile(seller);
        }
    }
    ~LargeSale() { std::filesystem::remove_all(directory_); }
    LargeSale(const LargeSale&) = delete;
    LargeSale& operator=(const LargeSale&) = delete;

    static const LargeSale& Instance() {
        static const LargeSale sale;
        return sale;
    }

    const std::string& Directory() const { return directory_; }

  private:
    void WriteSellerFile(int seller) const {
        const std::string id = std::to_string(seller);
        std::ofstream file(directory_ + id + "-S" + id + "-Predajca " + id + ".txt");
        file << id << "*S" << id << "*Predajca " << id << "*poznámka*p*1\n";
        for (int number = 1; number <= ItemsPerSeller; ++number) {
            file << number << "*Detská bunda č. " << number << "*" << number % 50 << ".5*"
                 << (number % 2 ? 'a' : 'b') << "*s\n";
        }
    }

    std::string directory_;
};

double PeakResidentMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_OpenDataDirectory(benchmark::State& state) {
    const LargeSale& sale = LargeSale::Instance();
    for (auto _ : state) {
        CachedDataTextfile store(sale.Directory());
        benchmark::DoNotOptimize(store.GetNextItemId());
    }
    state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_OpenDataDirectory)->Unit(benchmark::kMillisecond)->Iterations(1);

// One edit at the checkout or in the item dialog: the seller's whole file is rewritten.
void BM_ModifyItem(benchmark::State& state) {
    CachedDataTextfile store(LargeSale::Instance().Directory());
    const int sellerId = SellerCount / 2;
    Item item = store.GetSellerItemByNumber(sellerId, 7);
    const double price = item.PRICE;
    for (auto _ : state) {
        item.PRICE = item.PRICE == price ? price + 1.0 : price;
        store.ModifyItem(item.ID, item);
    }
}
BENCHMARK(BM_ModifyItem)->Unit(benchmark::kMillisecond);

void BM_GetSellerItems(benchmark::State& state) {
    CachedDataTextfile store(LargeSale::Instance().Directory());
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.GetSellerItems(SellerCount / 2));
    }
}
BENCHMARK(BM_GetSellerItems)->Unit(benchmark::kMicrosecond);

}  // namespace
