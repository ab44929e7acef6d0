#include <benchmark/benchmark.h>

#include "LargeSale.h"
#include "ScanLoop.h"
#include "core/ItemBarcode.h"
#include "storage/CachedDataTextfile.h"

namespace {

using namespace Kramo;
using KramoBench::LargeSale;

// One scan at the cash desk over the 400,000 items of the text store: the text read, the
// seller and the item found, the checks, the item added to the purchase. A label's barcode
// and a code typed by hand, each time another item.
void BM_ScanToPurchase(benchmark::State& state, bool barcode) {
    CachedDataTextfile store(LargeSale::Selling().Directory());
    SellerList sellers;
    sellers.Reload(store.GetSellers());
    KramoBench::ScanIntoPurchases(state, store, sellers, [barcode](int scan) {
        const int seller = scan % LargeSale::SellerCount + 1;
        const int number = scan / LargeSale::SellerCount % LargeSale::ItemsPerSeller + 1;
        return barcode ? ItemBarcode::Text({seller, number})
                       : "s" + std::to_string(seller) + " " + std::to_string(number);
    });
}
BENCHMARK_CAPTURE(BM_ScanToPurchase, barcode, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ScanToPurchase, typed_code, false)->Unit(benchmark::kMicrosecond);

}  // namespace
