#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "LargeSale.h"
#include "storage/CachedDataTextfile.h"

namespace {

using namespace Kramo;

using KramoBench::LargeSale;

void BM_OpenDataDirectory(benchmark::State& state) {
    const LargeSale& sale = LargeSale::Selling();
    for (auto _ : state) {
        CachedDataTextfile store(sale.Directory());
        benchmark::DoNotOptimize(store.GetNextItemId());
    }
    state.counters["peak_rss_MB"] = KramoBench::PeakResidentMegabytes();
}
BENCHMARK(BM_OpenDataDirectory)->Unit(benchmark::kMillisecond)->Iterations(1);

// One edit at the checkout or in the item dialog: the seller's whole file is rewritten.
void BM_ModifyItem(benchmark::State& state) {
    CachedDataTextfile store(LargeSale::Selling().Directory());
    const int sellerId = LargeSale::SellerCount / 2;
    Item item = store.GetSellerItemByNumber(sellerId, 7);
    const double price = item.PRICE;
    for (auto _ : state) {
        item.PRICE = item.PRICE == price ? price + 1.0 : price;
        store.ModifyItem(item.ID, item);
    }
}
BENCHMARK(BM_ModifyItem)->Unit(benchmark::kMillisecond);

void BM_GetSellerItems(benchmark::State& state) {
    CachedDataTextfile store(LargeSale::Selling().Directory());
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.GetSellerItems(LargeSale::SellerCount / 2));
    }
}
BENCHMARK(BM_GetSellerItems)->Unit(benchmark::kMicrosecond);

}  // namespace
