#include <benchmark/benchmark.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <pqxx/pqxx>
#include <stdexcept>
#include <string>

#include "ScanLoop.h"
#include "core/ItemBarcode.h"
#include "core/ItemSearch.h"
#include "storage/DataPostgresPqxx.h"
#include "support/Log.h"
#include "support/UniqueKey.h"

namespace {

using namespace Kramo;

constexpr int SellerCount = 2000;
constexpr int ItemsPerSeller = 200;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        throw std::runtime_error(std::string(name) + " is not set: run scripts/bench");
    }
    return value;
}

// The prepared database of the server scripts/bench starts, filled once per run as a large
// sale leaves it: 2,000 sellers with 200 items each.
class LargeSale {
  public:
    static LargeSale& Instance() {
        SetLogLevel(0);  // the store's connection lines would land beside the repository
        static LargeSale sale;
        return sale;
    }

    DataPostgresPqxx& Store() { return store_; }

  private:
    LargeSale() : store_(Connection(), saleName_, [](const std::exception&) { std::abort(); }) {
        pqxx::connection filler(Connection().ConnectionString());
        pqxx::work work(filler);
        work.exec(
            "INSERT INTO sellers (\"SHORT_CODE\", \"NAME\", \"COMMENT\", \"SELLER_CATEGORY_ID\", "
            "\"MODIFIED\", \"STATUS\") SELECT 'S' || s, 'Predajca ' || s, '', 11, now(), 1 "
            "FROM generate_series(1, " +
            std::to_string(SellerCount) + ") s");
        work.exec(
            "INSERT INTO items (\"NAME\", \"SELLER_ID\", \"PRICE\", \"ITEM_CATEGORY_ID\", "
            "\"NUMBER\", \"STATUS\", \"MODIFIED\") SELECT 'Detska bunda c. ' || n, s.\"ID\", "
            "n % 50 + 0.5, 1, n, 1, now() FROM sellers s, generate_series(1, " +
            std::to_string(ItemsPerSeller) + ") n");
        work.exec("ANALYZE");
        work.commit();
    }

    static PostgresConnection Connection() {
        PostgresConnection connection;
        connection.address = Environment("KRAMO_TEST_PG_ADDRESS");
        connection.port = std::stoi(Environment("KRAMO_TEST_PG_PORT"));
        connection.user = Environment("KRAMO_TEST_PG_USER");
        connection.password = Environment("KRAMO_TEST_PG_PASSWORD");
        connection.databaseName = Environment("KRAMO_TEST_PG_DATABASE");
        return connection;
    }

    std::string saleName_;
    DataPostgresPqxx store_;
};

// One purchase of 10 items, each time 10 other items.
void BM_StoreSale(benchmark::State& state) {
    DataPostgresPqxx& store = LargeSale::Instance().Store();
    int next = 1;
    for (auto _ : state) {
        std::vector<int> purchase;
        for (int i = 0; i < 10; ++i) {
            purchase.push_back(next);
            next = next % (SellerCount * ItemsPerSeller) + 1;
        }
        Kramo::SaleRecord sale;
        sale.key = Kramo::NewUniqueKey();
        sale.itemIds = purchase;
        store.StoreSale(sale);
    }
}
BENCHMARK(BM_StoreSale)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GetSellerItems(benchmark::State& state) {
    DataPostgresPqxx& store = LargeSale::Instance().Store();
    const int seller = store.GetSellerByCode("S1000").ID;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.GetSellerItems(seller));
    }
}
BENCHMARK(BM_GetSellerItems)->Unit(benchmark::kMillisecond)->UseRealTime();

// The checkout's lookup of one item: seller by code, then the item by its number.
void BM_CheckoutLookup(benchmark::State& state) {
    DataPostgresPqxx& store = LargeSale::Instance().Store();
    for (auto _ : state) {
        const Seller seller = store.GetSellerByCode("S1500");
        benchmark::DoNotOptimize(store.GetSellerItemByNumber(seller.ID, 150));
    }
}
BENCHMARK(BM_CheckoutLookup)->Unit(benchmark::kMillisecond)->UseRealTime();

// One scan of a label at the cash desk: the barcode read, seller and item found, the checks,
// the item added to the purchase; each time another item.
void BM_ScanToPurchase(benchmark::State& state) {
    DataPostgresPqxx& store = LargeSale::Instance().Store();
    SellerList sellers;
    sellers.Reload(store.GetSellers());
    KramoBench::ScanIntoPurchases(state, store, sellers, [&sellers](int scan) {
        const int sellerId = sellers.At(static_cast<std::size_t>(scan % SellerCount)).seller.ID;
        return ItemBarcode::Text({sellerId, scan / SellerCount % ItemsPerSeller + 1});
    });
}
BENCHMARK(BM_ScanToPurchase)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ModifyItem(benchmark::State& state) {
    DataPostgresPqxx& store = LargeSale::Instance().Store();
    Item item = store.GetItem(4242);
    for (auto _ : state) {
        item.PRICE += 0.5;
        store.ModifyItem(item.ID, item);
    }
}
BENCHMARK(BM_ModifyItem)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every seller: what the seller list, the next seller ID and every new seller code read.
void BM_GetSellers(benchmark::State& state) {
    DataPostgresPqxx& store = LargeSale::Instance().Store();
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.GetSellers());
    }
}
BENCHMARK(BM_GetSellers)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GenerateSellerCode(benchmark::State& state) {
    DataPostgresPqxx& store = LargeSale::Instance().Store();
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.GenerateSellerCode("Nova Predajkyna", "", -1));
    }
}
BENCHMARK(BM_GenerateSellerCode)->Unit(benchmark::kMillisecond)->UseRealTime();

// A sale at one desk until the other desk's search holds the item as sold: the commit, the
// notice through the server, TakeChanges and ApplyChanges reading the item again. Each
// iteration sells another item, from the last one down; median and maximum in the counters.
void BM_SaleSeenByOtherDesk(benchmark::State& state) {
    DataPostgresPqxx& desk = LargeSale::Instance().Store();
    PostgresConnection connection;
    connection.address = Environment("KRAMO_TEST_PG_ADDRESS");
    connection.port = std::stoi(Environment("KRAMO_TEST_PG_PORT"));
    connection.user = Environment("KRAMO_TEST_PG_USER");
    connection.password = Environment("KRAMO_TEST_PG_PASSWORD");
    connection.databaseName = Environment("KRAMO_TEST_PG_DATABASE");
    std::string saleName;
    DataPostgresPqxx other(connection, saleName, [](const std::exception&) { std::abort(); });
    ItemSearch search([&other]() -> DataAccessInterface& { return other; },
                      [](const std::exception&) { std::abort(); });
    search.FetchLatestData();
    other.TakeChanges();

    int next = SellerCount * ItemsPerSeller;
    std::vector<double> latencies;
    for (auto _ : state) {
        const int itemId = next--;
        const auto start = std::chrono::steady_clock::now();
        SaleRecord sale;
        sale.key = NewUniqueKey();
        sale.itemIds = {itemId};
        desk.StoreSale(sale);
        bool seen = false;
        while (!seen) {
            pollfd socket{other.ChangesSocket(), POLLIN, 0};
            ::poll(&socket, 1, 1);
            const std::vector<StoreChange> changes = other.TakeChanges();
            search.ApplyChanges(changes);
            seen = std::any_of(changes.begin(), changes.end(),
                               [itemId](const StoreChange& change) { return change.id == itemId; });
        }
        const std::chrono::duration<double> latency = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(latency.count());
        latencies.push_back(latency.count() * 1000.0);
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = latencies[latencies.size() / 2];
    state.counters["max_ms"] = latencies.back();
}
BENCHMARK(BM_SaleSeenByOtherDesk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(300);

}  // namespace
