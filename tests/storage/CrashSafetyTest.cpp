#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "DataDirectory.h"
#include "storage/CachedDataTextfile.h"
#include "storage/SellerFileNames.h"

namespace {

using namespace Kramo;
using KramoTest::DataDirectory;

constexpr int SellerCount = 4;
constexpr int ItemsPerSeller = 50;

// Lets the test write whole versions of a seller file, and nothing in between.
class VersionWriter : public CachedDataTextfile {
  public:
    using CachedDataTextfile::CachedDataTextfile;
    using DataTextfile::WriteSellerFile;
};

// Odd rounds rename the seller, so the file under the former name must go as well.
std::string NameOf(int seller, int round) {
    return "Seller " + std::to_string(seller) + (round % 2 ? " odd" : " even");
}

Seller SellerOf(int seller, int round) {
    Seller record;
    record.ID = seller;
    record.SHORT_CODE = "C" + std::to_string(seller);
    record.NAME = NameOf(seller, round);
    record.COMMENT = "round " + std::to_string(round);
    record.SELLER_CATEGORY_ID = 11;
    record.STATUS = Selling;
    return record;
}

std::vector<Item> ItemsOf(int round) {
    std::vector<Item> items(ItemsPerSeller);
    for (int i = 0; i < ItemsPerSeller; ++i) {
        items[i].NUMBER = i + 1;
        items[i].NAME = "item " + std::to_string(i + 1);
        items[i].PRICE = round;
        items[i].ITEM_CATEGORY_ID = 1;
        items[i].STATUS = InStock;
    }
    return items;
}

std::string ExpectedContent(int seller, int round) {
    std::string content = std::to_string(seller) + "*C" + std::to_string(seller) + "*" +
                          NameOf(seller, round) + "*round " + std::to_string(round) + "*p*1\n";
    for (int i = 1; i <= ItemsPerSeller; ++i) {
        content += std::to_string(i) + "*item " + std::to_string(i) + "*" + std::to_string(round) +
                   ".00*a*s\n";
    }
    return content;
}

// Tells the parent through `started` once the first file is whole, then writes until killed.
void KeepRewriting(const std::string& directory, int started) {
    VersionWriter writer(directory);
    for (int round = 1;; ++round) {
        for (int seller = 1; seller <= SellerCount; ++seller) {
            writer.WriteSellerFile(SellerOf(seller, round), ItemsOf(round));
            if (started >= 0) {
                ::write(started, "1", 1);
                ::close(started);
                started = -1;
            }
        }
    }
}

// Every seller file must be one complete version, under that version's name.
void CheckEveryFileIsAWholeVersion(const DataDirectory& data) {
    VersionWriter reader(data.Path());
    std::vector<bool> sellerSeen(SellerCount + 1, false);
    for (const std::string& name : data.FileNames()) {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".txt") != 0) {
            continue;  // the temporary file of a write that was cut short
        }
        Seller seller;
        std::vector<Item> items;
        const int id = reader.LoadFromTxtFile(data.Path() + name, seller, items);
        EXPECT_TRUE(id >= 1 && id <= SellerCount) << name;
        EXPECT_EQ(seller.COMMENT.rfind("round ", 0), 0u) << name;
        if (id < 1 || id > SellerCount || seller.COMMENT.size() < 7) {
            continue;
        }
        const int round = std::stoi(seller.COMMENT.substr(6));
        EXPECT_EQ(data.ReadFile(name), ExpectedContent(id, round)) << name;
        EXPECT_EQ(name, SellerFileName(id, "C" + std::to_string(id), NameOf(id, round)));
        sellerSeen[id] = true;
    }
    for (int seller = 1; seller <= SellerCount; ++seller) {
        EXPECT_TRUE(sellerSeen[seller]) << "no file of seller " << seller;
    }
}

TEST(CrashSafety, KilledWriterLeavesOnlyWholeFiles) {
    DataDirectory data;
    {
        VersionWriter writer(data.Path());
        for (int seller = 1; seller <= SellerCount; ++seller) {
            writer.WriteSellerFile(SellerOf(seller, 0), ItemsOf(0));
        }
    }
    for (int attempt = 0; attempt < 25; ++attempt) {
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            ::close(started[0]);
            try {
                KeepRewriting(data.Path(), started[1]);
            } catch (...) {
            }
            ::_exit(1);  // never back into the test runner
        }
        ::close(started[1]);
        // Wait for the stream of writes to run, however slow the machine, then kill it at
        // varying moments so that the kill lands in different steps of a write.
        char signal = 0;
        const bool running = ::read(started[0], &signal, 1) == 1;
        ::close(started[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(317 * attempt));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(running && WIFSIGNALED(status)) << "the writer stopped by itself";
        CheckEveryFileIsAWholeVersion(data);
    }
}

}  // namespace
