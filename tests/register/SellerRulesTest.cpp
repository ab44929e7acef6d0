#include <gtest/gtest.h>

#include <filesystem>

#include "../core/MemoryStore.h"
#include "common/TemporaryDirectory.h"
#include "register/ImportFolderRule.h"
#include "register/ItemEntryRules.h"
#include "register/SellerStateRules.h"
#include "settings/KramoSettings.h"

namespace {

using Kramo::Item;
using Kramo::ItemEntryRules;
using Kramo::SellerStateRules;

std::vector<Item> ItemsInStates(const std::vector<int32_t>& states) {
    std::vector<Item> items;
    for (const int32_t state : states) {
        Item item;
        item.STATUS = state;
        items.push_back(item);
    }
    return items;
}

TEST(SellerStateRules, EachMoveByItsTable) {
    struct Case {
        int32_t from;
        int32_t to;
        std::vector<int32_t> items;
        bool refused;
        std::string message;
        std::string role;
    };
    const Case cases[] = {
        {0, 1, {1, 2, 3, 4, 5}, false, "", "Prijal"},
        {0, 1, {0, 1, 6}, false, "2 kus(ov) tovaru nieje prebratých.", "Prijal"},
        {0, 2, {}, true, "", ""},
        {1, 0, {0, 1}, false, "", ""},
        {1, 0, {2}, false, "1 kus(ov) tovaru už nieje prijatých.", ""},
        {1,
         2,
         {2, 3, 4, 5, 1},
         false,
         "1 kus(ov) tovaru nieje predaných/vrátených/stratených/darovaných.",
         "Vydal"},
        {2, 0, {}, true, "", ""},
        {2,
         1,
         {3, 4, 5, 2, 1},
         false,
         "2 kus(ov) tovaru nieje vrátených/stratených/darovaných.",
         "Prijal"},
        {7, 1, {}, true, "", ""},  // a state no button has
    };
    for (const Case& c : cases) {
        const SellerStateRules::Decision decision =
            SellerStateRules::Check(c.from, c.to, ItemsInStates(c.items));
        const std::string name = std::to_string(c.from) + "->" + std::to_string(c.to);
        EXPECT_EQ(decision.refused, c.refused) << name;
        EXPECT_EQ(decision.badMessage, c.message) << name;
        EXPECT_EQ(decision.badItems > 0, !c.message.empty()) << name;
        if (!c.refused) {
            EXPECT_EQ(decision.personRole, c.role) << name;
        }
    }
    EXPECT_EQ(SellerStateRules::NoteWithPerson("abc", "Prijal", "Eva"), "abc Prijal:Eva");
}

TEST(ItemEntryRules, NameAndPriceCorrections) {
    EXPECT_EQ(ItemEntryRules::CorrectedName(""), "Popis predmetu");
    EXPECT_EQ(ItemEntryRules::CorrectedName("Kabát"), std::nullopt);

    struct Case {
        const char* typed;
        std::optional<std::string> corrected;
    };
    const Case cases[] = {
        {"0", std::nullopt}, {"12.5", std::nullopt}, {"-3", "1.0"},    {"abc", "1.0"},
        {"2,5", "2.5"},      {"1,20", "1.20"},       {"", "1.0"},      {"-", "1.0"},
        {".", "1.0"},        {"1.2.3", "1.0"},       {"1,2,3", "1.0"}, {"-2,5", "-2.5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ItemEntryRules::CorrectedPrice(c.typed), c.corrected) << c.typed;
    }
}

TEST(ItemEntryRules, NumbersOfTheField) {
    EXPECT_EQ(ItemEntryRules::NumberOf("05"), 5);
    EXPECT_EQ(ItemEntryRules::NumberOf("12ab"), 12);
    EXPECT_EQ(ItemEntryRules::NumberOf("ab"), 0);
    EXPECT_EQ(ItemEntryRules::NumberOf("99999999999999"), 2147483647);
    EXPECT_DOUBLE_EQ(ItemEntryRules::PriceOf("2.5"), 2.5);
}

class SilentReporter : public Kramo::ExceptionReporter {
  public:
    void HandleException(const std::exception&) override {}
};

TEST(ItemEntryRules, NumberToStoreAvoidsTakenNumbers) {
    auto owned = std::make_unique<KramoTest::MemoryStore>();
    KramoTest::MemoryStore* store = owned.get();
    Kramo::KramoRegister kramoRegister;
    kramoRegister.ReplaceStore(std::move(owned));
    SilentReporter reporter;
    Kramo::KramoSettings settings(reporter, "/nonexistent/");
    Kramo::Checkout checkout(kramoRegister, settings);
    Kramo::Seller seller;
    const int sellerId = store->AddSeller(seller);
    for (const int number : {1, 2, 5}) {
        Item item;
        item.NUMBER = number;
        store->AddItem(item, sellerId);
    }
    Item fresh;
    fresh.SELLER_ID = sellerId;
    EXPECT_EQ(ItemEntryRules::NumberToStore(checkout, fresh, "3"), "3");
    EXPECT_EQ(ItemEntryRules::NumberToStore(checkout, fresh, "03"), "3");
    EXPECT_EQ(ItemEntryRules::NumberToStore(checkout, fresh, "2"), "6");
    EXPECT_EQ(ItemEntryRules::NumberToStore(checkout, fresh, "-1"), "6");  // 1 is taken
    EXPECT_EQ(ItemEntryRules::NumberToStore(checkout, fresh, "x"), "6");
}

// A folder import moves every file of its folder: the program's own folders are refused.
TEST(ImportFolderRule, RefusesTheProgramsOwnFolders) {
    KramoTest::TemporaryDirectory program;
    SilentReporter reporter;
    const Kramo::KramoSettings settings(reporter, program.Path() + "/");
    for (const char* folder : {"data", "harky", "kopia", "stara"}) {
        std::filesystem::create_directory(program.File(folder));
    }
    program.WriteFile("kopia/kramo.glade", "");
    program.WriteFile("stara/kramo.xml", "");
    std::filesystem::create_directory_symlink(program.File("data"), program.File("odkaz"));
    const struct {
        std::string folder;
        bool refused;
    } cases[] = {
        {program.Path(), true},         {program.Path() + "/", true},
        {program.File("data"), true},   {program.File("data/"), true},
        {program.File("odkaz"), true},  {program.File("kopia"), true},
        {program.File("stara/"), true}, {program.File("harky"), false},
        {program.File("chyba"), false},  // missing: the import itself finds nothing
    };
    for (const auto& c : cases) {
        const std::optional<std::string> refusal = Kramo::RefusedImportFolder(c.folder, settings);
        EXPECT_EQ(refusal.has_value(), c.refused) << c.folder;
        if (refusal) {
            EXPECT_NE(refusal->find(c.folder), std::string::npos) << *refusal;
        }
    }
}

}  // namespace
