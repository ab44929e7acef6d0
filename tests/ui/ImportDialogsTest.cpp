#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "WindowFixture.h"

namespace {

using KramoDialogs::ImportDialogs;
using testing::HasSubstr;
using testing::StartsWith;

std::string Sheet(const char* name) {
    return std::string(KRAMO_TEST_DATA) + "/" + name;
}

class ImportDialogsTest : public KramoTest::WindowFixture {
  protected:
    void SetUp() override {
        Open();
        Windows().Imports().SetChooser([this](const ImportDialogs::Choice& choice) {
            asked_.push_back(choice);
            return answer_;
        });
    }

    // The user's next choice in the chooser; empty cancels it.
    void Choose(const std::string& answer) { answer_ = answer; }
    std::string Folder(const char* name) {
        const std::string folder = ProgramDirectory() + name + "/";
        std::filesystem::create_directories(folder);
        return folder;
    }

    std::vector<ImportDialogs::Choice> asked_;
    std::string answer_;
};

TEST_F(ImportDialogsTest, CancellingChangesNothing) {
    Choose("");
    Windows().Imports().ImportSingleSeller();
    Windows().Imports().ImportMultiSellers();
    ASSERT_EQ(asked_.size(), 2u);
    EXPECT_EQ(asked_[0].title, "Select importer file");
    EXPECT_THAT(asked_[0].patterns, testing::ElementsAre("*.ods", "*.xls", "*.xlsx", "*.txt"));
    EXPECT_EQ(asked_[1].title, "Select folder with sheets");
    EXPECT_TRUE(asked_[1].chooseFolder);
    EXPECT_EQ(asked_[1].startFolder, DataDirectory());  // still the data folder
    EXPECT_EQ(Settings().LastImportFolder(), "");
    EXPECT_TRUE(Boxes().ShownBoxes().size() == 1u);  // only the start's "no seller" notice
}

TEST_F(ImportDialogsTest, SingleSheetIsStoredEvenWithAZeroPriceAndShown) {
    const std::string folder = Folder("odovzdane");
    std::filesystem::copy_file(Sheet("seller-sheet.xls"), folder + "anna.xls");
    Choose(folder + "anna.xls");
    Windows().Imports().ImportSingleSeller();
    DrainEvents();

    const auto infos = Boxes().ShownOfKind("info");
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_EQ(infos[1].text, "Predajca načítaný");
    EXPECT_EQ(infos[1].detail, "Kód: AN Meno: Anna Nováková Počet položiek: 5");
    const std::vector<Kramo::Seller> sellers = Store().GetSellers();
    ASSERT_EQ(sellers.size(), 1u);
    EXPECT_EQ(Main().CurrentSellerId(), sellers[0].ID);
    EXPECT_EQ(ItemColumn(Main().Columns().name).size(), 5u);
    EXPECT_EQ(Settings().LastImportFolder(), folder);

    // The next chooser, of either command, opens where the last one was confirmed.
    Choose("");
    Windows().Imports().ImportMultiSellers();
    EXPECT_EQ(asked_.back().startFolder, folder);

    // The same sheet again: refused, nothing changes.
    Choose(folder + "anna.xls");
    Windows().Imports().ImportSingleSeller();
    const auto errors = Boxes().ShownOfKind("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].detail,
              "Predajca s rovnakým kódom už existuje. Zmažte najskôr predajcu 'AN'.");
    EXPECT_EQ(errors[0].text, "");
    EXPECT_EQ(Store().GetSellers().size(), 1u);
}

TEST_F(ImportDialogsTest, SheetsThatCannotBeReadAreReported) {
    const std::string folder = Folder("zle");
    std::filesystem::copy_file(Sheet("no-markers.xls"), folder + "bez.xls");
    Choose(folder + "bez.xls");
    Windows().Imports().ImportSingleSeller();
    std::filesystem::copy_file(Sheet("no-markers.xls"), folder + "bez.pdf");
    Choose(folder + "bez.pdf");
    Windows().Imports().ImportSingleSeller();

    const auto errors = Boxes().ShownOfKind("error");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].text, "Error importing file.");
    EXPECT_THAT(errors[0].detail, StartsWith("Error importing file.Nepodarilo sa mi načítať"));
    EXPECT_THAT(errors[0].detail, HasSubstr("súbor neobsahuje špeciálne znaky"));
    EXPECT_EQ(errors[1].detail, "Neznámy typ súboru. Podporované su 'ods', 'xls', 'xlsx', 'txt'");
    EXPECT_TRUE(Store().GetSellers().empty());
}

TEST_F(ImportDialogsTest, FolderImportTellsTheTotalsAndListsTheSellers) {
    const std::string folder = Folder("harky");
    std::filesystem::copy_file(Sheet("whole-prices.xls"), folder + "anna.xls");
    std::filesystem::copy_file(Sheet("seller-sheet.xls"), folder + "nula.xls");  // a zero price
    Choose(folder);
    Windows().Imports().ImportMultiSellers();
    DrainEvents();

    const auto infos = Boxes().ShownOfKind("info");
    EXPECT_EQ(infos.back().text, "Predajcovia načítaný");
    EXPECT_EQ(infos.back().detail, "Korektne načítaných hárkov: 1 Chýb: 1.");
    EXPECT_EQ(Main().Sellers().Size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(folder + "finished/anna.xls"));
    EXPECT_TRUE(std::filesystem::exists(folder + "error/nula.xls"));

    Choose(Folder("prazdny"));
    Windows().Imports().ImportMultiSellers();
    EXPECT_EQ(Boxes().ShownOfKind("info").back().detail, "Korektne načítaných hárkov: 0 Chýb: 0.");
}

}  // namespace
