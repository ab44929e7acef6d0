#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "LargeSale.h"
#include "pdf/HPDFWrapper.h"
#include "pdf/SellerOverview.h"
#include "register/SellersSummary.h"
#include "settings/ExceptionReporter.h"
#include "settings/KramoSettings.h"
#include "storage/CachedDataTextfile.h"

namespace {

using namespace Kramo;

using KramoBench::LargeSale;

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
    const LargeSale& sale = LargeSale::Settled();
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
    const LargeSale& sale = LargeSale::Settled();
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
