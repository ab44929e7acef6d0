#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "register/ItemScan.h"

namespace KramoBench {

// Scans at the desk for as long as the benchmark runs: the text of the n-th scan read, the
// seller and the item found, the checks, the item added to a purchase of three.
inline void ScanIntoPurchases(benchmark::State& state, Kramo::DataAccessInterface& store,
                              const Kramo::SellerList& sellers,
                              const std::function<std::string(int)>& textOfScan) {
    Kramo::Purchase purchase;
    int next = 0;
    for (auto _ : state) {
        const Kramo::ScanOutcome outcome =
            Kramo::ItemScan::Find(store, sellers, purchase, textOfScan(next++));
        if (outcome.refusal != Kramo::ScanRefusal::None) {
            state.SkipWithError("scan refused");
            break;
        }
        purchase.Add(*outcome.item);
        if (purchase.ItemIds().size() == 3) {
            purchase.Clear();
        }
    }
}

}  // namespace KramoBench
