#include <benchmark/benchmark.h>

#include "core/SellerFees.h"

namespace {

using namespace Kramo;

// The overview settles every seller in a row: one seller of 200 items over 8 categories.
void BM_ComputeSellerFees(benchmark::State& state) {
    std::vector<ItemCategory> categories(8);
    for (int i = 0; i < 8; ++i) {
        categories[i].ID = i + 1;
        categories[i].NAME = "kategória " + std::to_string(i);
        categories[i].HandlingFee = 0.1 * i;
        categories[i].SalePercent = i;
    }
    SellerCategory seller;
    seller.HandlingFactor = seller.SalePercentFactor = 1.0;
    seller.ParticipationFee = 1.0;
    std::vector<Item> items(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].PRICE = 0.5 + static_cast<double>(i % 40);
        items[i].STATUS = static_cast<int32_t>(i % 4);
        items[i].ITEM_CATEGORY_ID = static_cast<int32_t>(i % 8 + 1);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeSellerFees(items, categories, seller, "eur"));
    }
}
BENCHMARK(BM_ComputeSellerFees)->Arg(200)->Arg(1000);

}  // namespace
