#include <benchmark/benchmark.h>

#include "LargeSale.h"
#include "core/ItemBarcode.h"
#include "register/ItemScan.h"
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
    Purchase purchase;
    int next = 0;
    for (auto _ : state) {
        const int seller = next % LargeSale::SellerCount + 1;
        const int number = next / LargeSale::SellerCount % LargeSale::ItemsPerSeller + 1;
        ++next;
        const std::string text = barcode
                                     ? ItemBarcode::Text({seller, number})
                                     : "s" + std::to_string(seller) + " " + std::to_string(number);
        const ScanOutcome outcome = ItemScan::Find(store, sellers, purchase, text);
        if (outcome.refusal != ScanRefusal::None) {
            state.SkipWithError("scan refused");
            break;
        }
        purchase.Add(outcome.item->ID);
        if (purchase.ItemIds().size() == 3) {
            purchase.Clear();
        }
    }
}
BENCHMARK_CAPTURE(BM_ScanToPurchase, barcode, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ScanToPurchase, typed_code, false)->Unit(benchmark::kMicrosecond);

}  // namespace
