#include "register/SellerStatementDocument.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "DocumentFixture.h"
#include "common/PdfReadBack.h"
#include "register/DocumentNames.h"

namespace {

using KramoTest::PdfReadBack;
using testing::HasSubstr;
using testing::MatchesRegex;
using testing::SizeIs;

class SellerStatementDocumentTest : public KramoTest::DocumentFixture {};

TEST_F(SellerStatementDocumentTest, WritesTheStatementIntoTheDocumentsFolder) {
    AddItem(1, "Kočík", 12.5, Kramo::Sold);
    const auto path = Kramo::PrintSellerStatement(register_, *settings_, seller_.ID);
    ASSERT_TRUE(path);
    ASSERT_THAT(Documents(), SizeIs(1));
    EXPECT_THAT(Documents()[0],
                MatchesRegex("PoPredaji_AB_[0-9]{2}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}\\.pdf"));
    EXPECT_TRUE(std::filesystem::equivalent(*path, DocumentPath(Documents()[0])));
    std::string report;
    EXPECT_TRUE(PdfReadBack(*path).StructureIsSound(report)) << report;
    EXPECT_THAT(PdfReadBack(*path).Text(), HasSubstr("Predavajuci: AB - Anna Nováková (Predajca)"));
    EXPECT_TRUE(boxes_.ShownBoxes().empty());
}

TEST_F(SellerStatementDocumentTest, SellerCodeNeverLeadsOutOfTheFolder) {
    seller_.SHORT_CODE = "../a\\b";
    Store().PutSeller(seller_);
    const auto path = Kramo::PrintSellerStatement(register_, *settings_, seller_.ID);
    ASSERT_TRUE(path);
    ASSERT_THAT(Documents(), SizeIs(1));
    EXPECT_THAT(Documents()[0], testing::StartsWith("PoPredaji_.._a_b_"));
    EXPECT_EQ(Kramo::FileNamePart("$(touch x); rm"), "$(touch x); rm");
}

// Codes that differ only in a separator, printed in one minute, and a code longer than a file
// name may be: each statement gets a file of its own.
TEST_F(SellerStatementDocumentTest, EveryStatementGetsAFileOfItsOwn) {
    const auto print = [this](int id, const std::string& code) {
        Kramo::Seller seller = seller_;
        seller.ID = id;
        seller.SHORT_CODE = code;
        Store().PutSeller(seller);
        return Kramo::PrintSellerStatement(register_, *settings_, id);
    };
    std::string longCode;
    for (int i = 0; i < 130; ++i) {
        longCode += "Ž";
    }
    const auto slash = print(5, "A/B");
    const auto underscore = print(6, "A_B");
    const auto cut = print(7, longCode);
    ASSERT_TRUE(slash && underscore && cut);
    EXPECT_NE(*slash, *underscore);
    EXPECT_THAT(PdfReadBack(*slash).Text(), HasSubstr("Predavajuci: A/B - "));
    EXPECT_THAT(PdfReadBack(*underscore).Text(), HasSubstr("Predavajuci: A_B - "));
    EXPECT_THAT(PdfReadBack(*cut).Text(), HasSubstr("Predavajuci: ŽŽŽ"));
    EXPECT_THAT(Documents(), SizeIs(3));
    EXPECT_TRUE(boxes_.ShownBoxes().empty());
}

TEST_F(SellerStatementDocumentTest, SellerCategoryThatCannotBeReadStopsTheStatement) {
    seller_.SELLER_CATEGORY_ID = 77;
    Store().PutSeller(seller_);
    EXPECT_FALSE(Kramo::PrintSellerStatement(register_, *settings_, seller_.ID));
    EXPECT_TRUE(Documents().empty());
    ASSERT_THAT(boxes_.ShownBoxes(), SizeIs(1));
    EXPECT_EQ(boxes_.ShownBoxes()[0].text, "Program nemohol vykonat operaciu.");
    EXPECT_EQ(boxes_.ShownBoxes()[0].detail, "Wrong Seller category");
}

TEST_F(SellerStatementDocumentTest, FailureWhileWritingIsReportedAndTheDocumentKept) {
    Kramo::Item item = AddItem(1, "Kočík", 12.5);
    item.ITEM_CATEGORY_ID = 5;  // a deleted category
    Store().ModifyItem(item.ID, item);
    const auto path = Kramo::PrintSellerStatement(register_, *settings_, seller_.ID);
    ASSERT_TRUE(path);
    ASSERT_THAT(boxes_.ShownBoxes(), SizeIs(1));
    EXPECT_EQ(boxes_.ShownBoxes()[0].text, "Wrong Item category");
    EXPECT_EQ(boxes_.ShownBoxes()[0].detail, "Unknown PDF error");
    EXPECT_THAT(PdfReadBack(*path).Lines(0), SizeIs(5));
}

}  // namespace
