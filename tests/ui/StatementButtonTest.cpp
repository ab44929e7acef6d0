#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <gtkmm/button.h>

#include <filesystem>

#include "WindowFixture.h"
#include "common/PdfReadBack.h"
#include "support/DocumentOpener.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::MatchesRegex;
using testing::SizeIs;

class StatementButtonTest : public KramoTest::WindowFixture {
  protected:
    // Notes the documents handed to the viewer instead of starting one.
    class RecordingOpener : public Kramo::DocumentOpener {
      public:
        void Open(const std::string& path) override { paths.push_back(path); }
        std::vector<std::string> paths;
    };

    void ClickStatement() {
        Main().StatementButton().clicked();
        DrainEvents();
    }

    RecordingOpener opener_;
    Kramo::DocumentOpenerScope openerScope_{opener_};
};

TEST_F(StatementButtonTest, WritesTheShownSellersStatementAndOpensIt) {
    WriteSellerFile("1-A-Alfa.txt", "1*A*Alfa*pozn.*p*0\n");
    WriteSellerFile("2-b-Beta.txt",
                    "2*b*Beta Čierna*volať*p*1\n1*Kočík*25*a*p\n3*Bábika*2.5*b*s\n");
    Open();
    Main().SellerCombo().set_active(1);
    DrainEvents();
    ClickStatement();

    ASSERT_THAT(opener_.paths, SizeIs(1));
    const std::string& path = opener_.paths[0];
    EXPECT_THAT(path, MatchesRegex(".*/documents/+PoPredaji_b_[0-9]{2}-[0-9]{2}-[0-9]{2}_"
                                   "[0-9]{2}-[0-9]{2}\\.pdf"));
    ASSERT_TRUE(std::filesystem::exists(path));
    const std::string text = KramoTest::PdfReadBack(path).Text();
    EXPECT_THAT(text, HasSubstr("Predavajuci: b - Beta Čierna (Predajca), stav 'Predava'"));
    EXPECT_THAT(text, testing::ContainsRegex("Súčet predaných vecí +25\\.00"));
    EXPECT_THAT(Boxes().ShownBoxes(), IsEmpty());
}

// Labels only for what is still to be sold; a seller with none says so and opens nothing.
TEST_F(StatementButtonTest, LabelsOfTheShownSellersUnsoldItemsScanToThem) {
    WriteSellerFile("1-A-Alfa.txt", "1*A*Alfa*pozn.*p*0\n1*Šál*3*a*p\n");
    WriteSellerFile("2-b-Beta.txt",
                    "2*b*Beta Čierna*volať*p*1\n1*Kočík*25*a*p\n3*Bábika*2.5*b*s\n"
                    "4*Lopta*1*a*o\n5*Auto*1*a*v\n");
    Open();
    Main().SellerCombo().set_active(1);
    DrainEvents();
    Main().LabelsButton().clicked();
    DrainEvents();
    ASSERT_THAT(opener_.paths, SizeIs(1));
    EXPECT_THAT(opener_.paths[0], MatchesRegex(".*/documents/+Stitky_b_[0-9_-]+\\.pdf"));
    const KramoTest::PdfReadBack labels(opener_.paths[0]);
    EXPECT_THAT(labels.Barcodes(300),
                testing::UnorderedElementsAre("KR0000020003", "KR0000020004"));
    EXPECT_THAT(labels.Text(), HasSubstr("b-3"));

    Main().SellerCombo().set_active(0);
    DrainEvents();
    Main().LabelsButton().clicked();
    DrainEvents();
    EXPECT_THAT(opener_.paths, SizeIs(1));
    ASSERT_THAT(Boxes().ShownBoxes(), testing::Not(IsEmpty()));
    EXPECT_EQ(Boxes().ShownBoxes().back().text, "Žiadny tovar nepotrebuje štítok.");
}

TEST_F(StatementButtonTest, WithoutASellerNothingHappens) {
    Open();
    const std::size_t boxesBefore = Boxes().ShownBoxes().size();  // "no seller" at start
    ClickStatement();
    EXPECT_THAT(opener_.paths, IsEmpty());
    EXPECT_EQ(Boxes().ShownBoxes().size(), boxesBefore);
}

}  // namespace
