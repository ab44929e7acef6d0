#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <poll.h>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <numeric>
#include <pqxx/pqxx>
#include <random>
#include <set>
#include <stdexcept>
#include <string>

#include "ScanLoop.h"
#include "core/ItemBarcode.h"
#include "core/ItemSearch.h"
#include "core/StorageExceptions.h"
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

    static PostgresConnection Connection() {
        PostgresConnection connection;
        connection.address = Environment("KRAMO_TEST_PG_ADDRESS");
        connection.port = std::stoi(Environment("KRAMO_TEST_PG_PORT"));
        connection.user = Environment("KRAMO_TEST_PG_USER");
        connection.password = Environment("KRAMO_TEST_PG_PASSWORD");
        connection.databaseName = Environment("KRAMO_TEST_PG_DATABASE");
        return connection;
    }

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

    std::string saleName_;
    DataPostgresPqxx store_;
};

// One purchase of 10 items, each time 10 other items in stock.
void BM_StoreSale(benchmark::State& state) {
    DataPostgresPqxx& store = LargeSale::Instance().Store();
    // Items once sold are not sold again: every run of the loop goes on where the last ended.
    static int next = 1;
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

// Three desks, processes of their own with their own sessions, each selling 1,000 purchases of
// three items at once, mostly from a block of items of its own; every tenth purchase takes its
// last item from the next desk's block: one the next desk's purchase of the same number holds, sold
// at about the same moment, so one of the two is refused. Counts the items sold twice and the sales
// a desk was told were recorded but are not (both must be 0), and the median and 99th percentile of
// StoreSale: of every call, and of the recorded sales alone.
void BM_ThreeDesksSell(benchmark::State& state) {
    constexpr int Desks = 3;
    constexpr int Purchases = 1000;
    constexpr int Pool = Desks * Purchases * 3;
    constexpr int FirstItem = 300001;
    LargeSale::Instance();  // the database filled
    static int run = 0;
    for (auto _ : state) {
        const std::string desks = "bench-" + std::to_string(getpid()) + "-" + std::to_string(++run);
        {
            pqxx::connection session(LargeSale::Connection().ConnectionString());
            pqxx::work work(session);
            work.exec("UPDATE items SET \"STATUS\" = 1 WHERE \"ID\" BETWEEN " +
                      std::to_string(FirstItem) + " AND " + std::to_string(FirstItem + Pool - 1));
            work.commit();
        }
        std::vector<std::pair<pid_t, FILE*>> children;
        for (int desk = 0; desk < Desks; ++desk) {
            int results[2];
            if (pipe(results) != 0) {
                throw std::runtime_error("pipe");
            }
            const pid_t child = fork();
            if (child == 0) {
                close(results[0]);
                FILE* out = fdopen(results[1], "w");
                std::string saleName;
                DataPostgresPqxx store(LargeSale::Connection(), saleName,
                                       [](const std::exception&) {});
                const int own = FirstItem + desk * Purchases * 3;
                const int next = FirstItem + (desk + 1) % Desks * Purchases * 3;
                for (int purchase = 0; purchase < Purchases; ++purchase) {
                    SaleRecord sale;
                    sale.key = NewUniqueKey();
                    sale.desk = desks + "-" + std::to_string(desk);
                    sale.itemIds = {
                        own + 3 * purchase, own + 3 * purchase + 1,
                        purchase % 10 == 0 ? next + 3 * purchase + 1 : own + 3 * purchase + 2};
                    const auto start = std::chrono::steady_clock::now();
                    const char* outcome = "sold";
                    try {
                        store.StoreSale(sale);
                    } catch (const ItemsNotInStockException&) {
                        outcome = "refused";
                    } catch (const std::exception&) {
                        outcome = "failed";
                    }
                    const std::chrono::duration<double, std::milli> took =
                        std::chrono::steady_clock::now() - start;
                    std::fprintf(out, "%s %s %f\n", outcome, sale.key.c_str(), took.count());
                }
                std::fclose(out);
                _exit(0);
            }
            close(results[1]);
            children.emplace_back(child, fdopen(results[0], "r"));
        }
        std::vector<double> times;
        std::vector<double> soldTimes;
        std::set<std::string> soldKeys;
        int refused = 0;
        int failed = 0;
        for (const auto& [child, in] : children) {
            char outcome[16];
            char key[64];
            double took = 0;
            while (std::fscanf(in, "%15s %63s %lf", outcome, key, &took) == 3) {
                times.push_back(took);
                if (std::strcmp(outcome, "sold") == 0) {
                    soldKeys.insert(key);
                    soldTimes.push_back(took);
                } else if (std::strcmp(outcome, "refused") == 0) {
                    ++refused;
                } else {
                    ++failed;
                }
            }
            std::fclose(in);
            waitpid(child, nullptr, 0);
        }
        pqxx::connection session(LargeSale::Connection().ConnectionString());
        pqxx::work work(session);
        const std::string these = "sold.\"DESK\" LIKE '" + desks + "-%'";
        const int twice =
            work.exec1(
                    "SELECT count(*) FROM (SELECT \"ITEM_ID\" FROM sold_item JOIN sold ON "
                    "sold.\"ID\" = \"SOLD_ID\" WHERE " +
                    these + " GROUP BY \"ITEM_ID\" HAVING count(*) > 1) AS twice")[0]
                .as<int>();
        const pqxx::result recorded = work.exec("SELECT \"SALE_KEY\" FROM sold WHERE " + these);
        int lost = 0;
        std::set<std::string> recordedKeys;
        for (const pqxx::row& row : recorded) {
            recordedKeys.insert(row[0].c_str());
        }
        for (const std::string& key : soldKeys) {
            lost += recordedKeys.count(key) == 0 ? 1 : 0;
        }
        // Items sold with no sale on record are lost sales too.
        lost +=
            work.exec1("SELECT count(*) FROM items WHERE \"STATUS\" = 2 AND \"ID\" BETWEEN " +
                       std::to_string(FirstItem) + " AND " + std::to_string(FirstItem + Pool - 1) +
                       " AND \"ID\" NOT IN (SELECT \"ITEM_ID\" FROM sold_item JOIN sold ON "
                       "sold.\"ID\" = \"SOLD_ID\" WHERE " +
                       these + ")")[0]
                .as<int>();
        std::sort(times.begin(), times.end());
        std::sort(soldTimes.begin(), soldTimes.end());
        state.counters["sold"] = static_cast<double>(soldKeys.size());
        state.counters["refused"] = refused;
        state.counters["failed"] = failed;
        state.counters["double_sales"] = twice;
        state.counters["lost_sales"] = lost;
        state.counters["median_ms"] = times.empty() ? 0 : times[times.size() / 2];
        state.counters["p99_ms"] = times.empty() ? 0 : times[times.size() * 99 / 100];
        state.counters["sold_median_ms"] = soldTimes.empty() ? 0 : soldTimes[soldTimes.size() / 2];
        state.counters["sold_p99_ms"] =
            soldTimes.empty() ? 0 : soldTimes[soldTimes.size() * 99 / 100];
    }
}
BENCHMARK(BM_ThreeDesksSell)
    ->Iterations(1)
    ->Repetitions(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
// A sale at one desk until the other desk's search holds the item as sold: the commit, the
// notice through the server, TakeChanges and ApplyChanges reading the item again. Each
// iteration sells another item, from the last one down; median and maximum in the counters.
void BM_SaleSeenByOtherDesk(benchmark::State& state) {
    DataPostgresPqxx& desk = LargeSale::Instance().Store();
    std::string saleName;
    DataPostgresPqxx other(LargeSale::Connection(), saleName,
                           [](const std::exception&) { std::abort(); });
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
