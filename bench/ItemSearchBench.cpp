#include <benchmark/benchmark.h>

#include "LargeSale.h"
#include "core/ItemSearch.h"
#include "storage/CachedDataTextfile.h"

namespace {

using namespace Kramo;

ItemSearch SearchOver(CachedDataTextfile& store) {
    return ItemSearch([&store]() -> DataAccessInterface& { return store; },
                      [](const std::exception&) { std::abort(); });
}

// The refresh when the checkout opens: every item of the 400,000 read and put in search form.
void BM_FetchLatestData(benchmark::State& state) {
    CachedDataTextfile store(KramoBench::LargeSale::Selling().Directory());
    ItemSearch search = SearchOver(store);
    for (auto _ : state) {
        search.FetchLatestData();
    }
}
BENCHMARK(BM_FetchLatestData)->Unit(benchmark::kMillisecond);

// Two words over the 400,000 items in memory: one that every item has and a price that one
// item in fifty has; then two words no item has, the longest scan.
void BM_FindItems(benchmark::State& state, const char* query) {
    CachedDataTextfile store(KramoBench::LargeSale::Selling().Directory());
    ItemSearch search = SearchOver(store);
    search.FetchLatestData();
    for (auto _ : state) {
        benchmark::DoNotOptimize(search.FindItems(query));
    }
}
BENCHMARK_CAPTURE(BM_FindItems, common_words, "bunda 17.50")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindItems, missing_words, "zelena ciapka")->Unit(benchmark::kMillisecond);

}  // namespace
