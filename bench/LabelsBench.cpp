#include <benchmark/benchmark.h>

#include <filesystem>

#include "LargeSale.h"
#include "pdf/StreamedPdfCanvas.h"
#include "register/ItemLabelsDocument.h"
#include "storage/CachedDataTextfile.h"

namespace {

using namespace Kramo;
using KramoBench::LargeSale;

// The labels of the given sellers: read from the store, drawn, the document saved.
void BM_Labels(benchmark::State& state) {
    CachedDataTextfile store(LargeSale::Selling().Directory());
    std::vector<Seller> sellers = store.GetSellers();
    sellers.resize(static_cast<std::size_t>(state.range(0)));
    const std::string path = LargeSale::Selling().Directory() + "labels.pdf";
    for (auto _ : state) {
        WriteStreamedPdf(path, "Jarna kramo 2012", "PC123", [&](PdfCanvas& canvas) {
            LabelSheets sheets(canvas, LabelLayout::ByKey("a4-3x8"), 1);
            for (const Seller& seller : sellers) {
                AddSellerLabels(sheets, store, seller, "eur");
            }
        });
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["peak_MB"] = KramoBench::PeakResidentMegabytes();
    std::filesystem::remove(path);
}
BENCHMARK(BM_Labels)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Labels)->Arg(LargeSale::SellerCount)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
