#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pdf/HPDFWrapper.h"
#include "pdf/SellerOverview.h"
#include "register/SellersSummary.h"
#include "settings/ExceptionReporter.h"
#include "settings/KramoSettings.h"
#include "storage/CachedDataTextfile.h"

namespace {

using namespace Kramo;

constexpr int SellerCount = 2000;
constexpr int ItemsPerSeller = 200;

// A large sale after the event: 2,000 sellers of 200 items in every state, a third of the
// sellers handed back, a third still selling.
class SettledSale {
  public:
    SettledSale() {
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
    ~SettledSale() { std::filesystem::remove_all(directory_); }
    SettledSale(const SettledSale&) = delete;
    SettledSale& operator=(const SettledSale&) = delete;

    // Written once per run, removed at exit.
    static const SettledSale& Instance() {
        static const SettledSale sale;
        return sale;
    }

    const std::string& Directory() const { return directory_; }

  private:
    void WriteSellerFile(int seller) const {
        static const char states[] = "ospvdn";
        const std::string id = std::to_string(seller);
        std::ofstream file(directory_ + id + "-S" + id + "-Predajca " + id + ".txt");
        file << id << "*S" << id << "*Predajca " << id << "*poznámka*p*" << seller % 3 << "\n";
        for (int number = 1; number <= ItemsPerSeller; ++number) {
            file << number << "*Detská bunda č. " << number << "*" << number % 50 << ".5*"
                 << (number % 2 ? 'a' : 'b') << "*" << states[number % 6] << "\n";
        }
    }

    std::string directory_;
};

class IgnoringReporter : public ExceptionReporter {
  public:
    void HandleException(const std::exception&) override {}
};

template <typename Content>
void WriteDocument(const std::string& path, const Content& content) {
    HPDFWrapper writer;
    writer.SetOrigin("Jarna kramo 2012", "PC123");
    writer.Open(path);
    content(writer);
    writer.Close();
}

// Every seller's statement in one document, as the organiser saves it after the sale.
void BM_SellerOverview(benchmark::State& state) {
    const SettledSale& sale = SettledSale::Instance();
    CachedDataTextfile store(sale.Directory());
    std::vector<int> sellerIds;
    for (const Seller& seller : store.GetSellers()) {
        sellerIds.push_back(seller.ID);
    }
    const std::string path = sale.Directory() + "overview.pdf";
    for (auto _ : state) {
        WriteDocument(path, [&](PdfWrapperBase& writer) {
            WriteSellerOverview(writer, store, sellerIds, "eur");
        });
    }
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
}
BENCHMARK(BM_SellerOverview)->Unit(benchmark::kSecond)->Iterations(1);

// The summary table of all sellers with the statistics over all items.
void BM_SellersSummary(benchmark::State& state) {
    const SettledSale& sale = SettledSale::Instance();
    CachedDataTextfile store(sale.Directory());
    IgnoringReporter reporter;
    const KramoSettings settings(reporter, sale.Directory());
    const std::string path = sale.Directory() + "summary.pdf";
    for (auto _ : state) {
        WriteDocument(
            path, [&](PdfWrapperBase& writer) { WriteSellersSummary(writer, store, settings); });
    }
}
BENCHMARK(BM_SellersSummary)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
