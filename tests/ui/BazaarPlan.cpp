#include "BazaarPlan.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "common/PdfReadBack.h"

namespace KramoTest {
namespace {

const char* const FirstNames[] = {"Anna", "Ján",    "Mária",    "Peter", "Zuzana", "Ľubomír",
                                  "Eva",  "Štefan", "Katarína", "Juraj", "Ďurko",  "Alžbeta"};
const char* const Surnames[] = {"Nováková", "Horváth", "Kováčová", "Šimko",   "Baláž",
                                "Tóthová",  "Ďurica",  "Mišík",    "Žilková", "Čierny"};
const char* const Goods[] = {"Detská bunda",  "Zimné čižmy",      "Kočík",   "Bábika",
                             "Lego kocky",    "Tričko s nápisom", "Sánky",   "Korčule",
                             "Plyšový macko", "Knižka rozprávok", "Šatôčky", "Hračkárske auto"};

template <typename T, std::size_t N>
const T& Pick(const T (&choices)[N], std::mt19937& random) {
    return choices[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

int Between(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

// Most sellers hand in XLS sheets; some save them from newer programs. A damaged sheet is
// never a csv file: cut short, it would still read.
const char* SheetExtension(int index, BazaarPlan::Fate fate) {
    if (fate == BazaarPlan::Fate::NamelessText) {
        return ".txt";
    }
    if (index % 8 == 2) {
        return ".xlsx";
    }
    if (index % 8 == 6) {
        return ".ods";
    }
    return index % 11 == 9 && fate != BazaarPlan::Fate::Damaged ? ".csv" : ".xls";
}

// Whole cents rounded down to a multiple of five, as the settlement rounds.
long RoundedDown(long numerator, long unit) {
    // numerator / unit cents, plus the thousandth of a euro the rounding adds
    return (numerator + unit / 10) / (unit * 5) * 5;
}

}  // namespace

std::string CentsText(long cents) {
    const long whole = std::labs(cents);
    char text[32];
    std::snprintf(text, sizeof text, "%s%ld.%02ld", cents < 0 ? "-" : "", whole / 100, whole % 100);
    return text;
}

FeeSchedule FeeSchedule::TextFiles() {
    FeeSchedule fees;
    fees.categories = {{"aa", 0, 0, 100, 0}, {"bb", 0, 0, 400, 0}};
    return fees;
}

FeeSchedule FeeSchedule::Database() {
    FeeSchedule fees;
    fees.categories = {{"Do 5 eur", 0, 499, 10, 1000},
                       {"Do 20 eur", 500, 1999, 20, 1000},
                       {"Do 100 eur", 2000, 9999, 50, 1000},
                       {"Nad 100 eur", 10000, 1000000000, 100, 800}};
    fees.participationCents = 50;
    return fees;
}

std::size_t FeeSchedule::CategoryFor(long priceCents) const {
    for (std::size_t index = 0; index < categories.size(); ++index) {
        if (categories[index].fromCents <= priceCents && priceCents <= categories[index].toCents) {
            return index;
        }
    }
    return 0;
}

long BazaarPlan::PlannedPurchase::Cents(const BazaarPlan& plan) const {
    long sum = 0;
    for (const ItemRef& ref : items) {
        sum += plan.ItemOf(ref).cents;
    }
    return sum;
}

BazaarPlan::BazaarPlan(unsigned seed, int sheetCount, int purchaseCount, const FeeSchedule& fees)
    : fees_(fees) {
    PlanSheets(seed, sheetCount);
    PlanHandAddedSellers();
    PlanPurchases(seed + 1, purchaseCount);
}

void BazaarPlan::PlanSheets(unsigned seed, int sheetCount) {
    std::mt19937 random(seed);
    for (int index = 1; index <= sheetCount; ++index) {
        PlannedSeller seller;
        seller.name = std::string(Pick(FirstNames, random)) + " " + Pick(Surnames, random);
        char code[16];
        std::snprintf(code, sizeof code, "K%02d", index);
        seller.code = code;
        seller.note = "tel. 0905 " + std::to_string(100000 + index);
        if (index % 20 == 0) {
            seller.fate = Fate::NamelessText;
        } else if (index % 17 == 5) {
            seller.fate = Fate::Damaged;
        } else if (index % 13 == 7) {
            seller.fate = Fate::ZeroPrice;
        } else if (index % 12 == 3 && index > 12) {
            seller.fate = Fate::DuplicateCode;
            const auto earlier = std::find_if(sellers_.rbegin(), sellers_.rend(),
                                              [](const PlannedSeller& s) { return s.Stored(); });
            seller.code = earlier->code;
        }
        seller.file =
            "harok-" + std::to_string(1000 + index).substr(1) + SheetExtension(index, seller.fate);
        const bool wholePrices = index % 10 == 4;
        const int count = Between(random, 6, 24);
        for (int number = 1; number <= count; ++number) {
            PlannedItem item;
            item.number = number + (number > 3 && index % 4 == 0 ? 2 : 0);  // gaps in numbering
            item.name = std::string(Pick(Goods, random)) + " veľ. " +
                        std::to_string(Between(random, 1, 12) * 10);
            const bool whole = wholePrices || Between(random, 0, 9) < 3;
            item.cents = whole ? Between(random, 1, 30) * 100L : Between(random, 5, 600) * 10L;
            if (index % 9 == 0 && number == 2) {
                item.cents = Between(random, 101, 180) * 100L;  // a dear one
            }
            item.category = fees_.CategoryFor(item.cents);
            seller.items.push_back(item);
        }
        if (seller.fate == Fate::ZeroPrice) {
            seller.items[count / 2].cents = 0;
        }
        if (seller.fate == Fate::NamelessText) {
            seller.items[1].name.clear();
        }
        if (index % 6 == 1) {
            seller.skippedRows = 1;
        }
        sellers_.push_back(seller);
    }
}

void BazaarPlan::PlanHandAddedSellers() {
    const std::pair<const char*, const char*> people[] = {{"Pavol Horák", "PH"},
                                                          {"Žofia Ďurišová", "ZD"}};
    const std::pair<const char*, long> goods[] = {{"Bicykel detský", 4500},
                                                  {"Autosedačka", 1990},
                                                  {"Puzzle 500 dielov", 350},
                                                  {"Hojdací koník", 1200}};
    for (const auto& [name, code] : people) {
        PlannedSeller seller;
        seller.name = name;
        seller.code = code;
        seller.note = "doniesol osobne";
        seller.fate = Fate::ByHand;
        int number = 1;
        for (const auto& [goodsName, cents] : goods) {
            PlannedItem item;
            item.number = number++;
            item.name = goodsName;
            item.cents = cents;
            // Chosen in the dialog, not by price: each category in turn.
            item.category = static_cast<std::size_t>(item.number - 1) % fees_.categories.size();
            item.status = 1;
            seller.items.push_back(item);
        }
        sellers_.push_back(seller);
    }
}

void BazaarPlan::PlanPurchases(unsigned seed, int purchaseCount) {
    std::mt19937 random(seed);
    std::vector<ItemRef> pool;
    for (std::size_t s = 0; s < sellers_.size(); ++s) {
        if (!sellers_[s].Stored()) {
            continue;
        }
        for (std::size_t i = 0; i < sellers_[s].items.size(); ++i) {
            pool.push_back({s, i, Way::CodeAndNumber});
        }
    }
    std::shuffle(pool.begin(), pool.end(), random);
    std::size_t next = 0;
    for (int index = 0; index < purchaseCount && next < pool.size(); ++index) {
        PlannedPurchase purchase;
        const int size = Between(random, 1, 3);
        for (int n = 0; n < size && next < pool.size(); ++n) {
            ItemRef ref = pool[next++];
            const int way = Between(random, 0, 19);
            ref.way = way < 12 ? Way::CodeAndNumber : way < 17 ? Way::Search : Way::ItemCombo;
            purchase.items.push_back(ref);
        }
        purchases_.push_back(purchase);
    }
    if (next > pool.size() * 4 / 5) {
        throw std::logic_error("the plan leaves too few items unsold");
    }
}

int BazaarPlan::CountOf(Fate fate) const {
    return static_cast<int>(
        std::count_if(sellers_.begin(), sellers_.end(),
                      [fate](const PlannedSeller& s) { return s.fate == fate; }));
}

int BazaarPlan::RefusedFiles() const {
    return CountOf(Fate::ZeroPrice) + CountOf(Fate::DuplicateCode) + CountOf(Fate::Damaged) +
           CountOf(Fate::NamelessText);
}

std::string BazaarPlan::SheetDescription() const {
    std::string description;
    for (const PlannedSeller& seller : sellers_) {
        if (seller.fate == Fate::NamelessText || seller.fate == Fate::ByHand) {
            continue;
        }
        description += "sheet\t" + seller.file + "\t" + seller.name + "\t" + seller.code + "\t" +
                       seller.note + "\n";
        for (std::size_t i = 0; i < seller.items.size(); ++i) {
            const PlannedItem& item = seller.items[i];
            description += "item\t" + std::to_string(item.number) + "\t" + item.name + "\t" +
                           CentsText(item.cents) + "\n";
            if (seller.skippedRows > 0 && i == 2) {
                description += "item\t99\t\t5.00\n";  // no name: not an item
            }
        }
    }
    return description;
}

void BazaarPlan::WriteSheets(const std::string& folder) const {
    const std::string descriptionFile = folder + "/.description";
    std::ofstream(descriptionFile) << SheetDescription();
    const ToolRun run = RunTool(
        {"/usr/bin/python3", KRAMO_TEST_DATA "/make_bazaar_sheets.py", folder, descriptionFile});
    std::filesystem::remove(descriptionFile);
    if (run.exitCode != 0) {
        throw std::runtime_error("the sheets could not be written: " + run.output);
    }
    for (const PlannedSeller& seller : sellers_) {
        const std::string path = folder + "/" + seller.file;
        if (seller.fate == Fate::Damaged) {
            // Cut off in the middle, as an interrupted copy from a memory stick leaves it.
            std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
        } else if (seller.fate == Fate::NamelessText) {
            std::ofstream text(path);
            text << "1*" << seller.code << "*" << seller.name << "*" << seller.note << "*p*0\n";
            for (const PlannedItem& item : seller.items) {
                // An empty field is one DEL character, as the program writes it: the reader
                // passes over two separators in a row.
                text << item.number << "*" << (item.name.empty() ? "\x7F" : item.name) << "*"
                     << CentsText(item.cents) << "*a*o\n";
            }
        }
    }
    std::ofstream(folder + "/" + StrayFileName()) << std::string(300, '\x01');
}

ExpectedSettlement BazaarPlan::Settle(const PlannedSeller& seller) const {
    ExpectedSettlement expected;
    long soldSum = 0;
    for (const PlannedItem& item : seller.items) {
        if (item.status == 2) {
            soldSum += item.cents;
            ++expected.soldCount;
        }
    }
    expected.soldCents = RoundedDown(soldSum * 10, 10);
    long payout = expected.soldCents;
    for (std::size_t c = 0; c < fees_.categories.size(); ++c) {
        const FeeSchedule::Category& category = fees_.categories[c];
        long handling = 0;
        long saleRateNumerator = 0;  // cents times hundredths of a percent
        for (const PlannedItem& item : seller.items) {
            if (item.category != c || item.status == 0) {
                continue;
            }
            handling += category.handlingCents;
            if (item.status == 2) {
                saleRateNumerator += item.cents * category.salePercentHundredths;
            }
        }
        const long handlingFee = RoundedDown(handling * 10, 10);
        const long saleFee = RoundedDown(saleRateNumerator, 10000);
        expected.handlingCents += handlingFee;
        expected.saleFeeCents += saleFee;
        payout -= handlingFee + saleFee;
    }
    expected.payoutCents = payout - fees_.participationCents;
    return expected;
}

}  // namespace KramoTest
