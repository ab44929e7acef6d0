#include "settings/CXmlNode.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Kramo::CXmlNode;

TEST(CXmlNode, NullNodeAnswersEveryMissAndStaysUnchanged) {
    CXmlNode& null = CXmlNode::Null();
    EXPECT_EQ(null.GetName(), "!null child!");
    EXPECT_EQ(null.GetText(), "!null child!");

    EXPECT_TRUE(null.AddChild("a").IsNull());
    EXPECT_TRUE(null.AddAttribute("b", "1").IsNull());
    null.SetValueInt(5);
    null.SetText("changed");
    EXPECT_EQ(null.GetText(), "!null child!");
    EXPECT_EQ(null.GetChildCount(), 0u);
    EXPECT_EQ(null.GetAttributeCount(), 0u);
    EXPECT_TRUE(null.FindChild("a").IsNull());
    EXPECT_TRUE(null.FindAttribute("b").IsNull());

    CXmlNode document;
    EXPECT_TRUE(document.FindChild("kramo").FindChild("config").FindAttribute("x").IsNull());
    // A value set through a missed lookup must not show up in the next miss.
    document.FindChild("missing").FindAttribute("port").SetValueInt(7);
    EXPECT_EQ(document.FindChild("other").GetText(), "!null child!");
}

TEST(CXmlNode, LookupsIgnoreLetterCaseAndFindTheFirstMatch) {
    CXmlNode document;
    CXmlNode& kramo = document.AddChild("kramo");
    CXmlNode& first = kramo.AddChild("config");
    first.AddAttribute("SaleName", "A");
    first.AddAttribute("salename", "B");
    CXmlNode& second = kramo.AddChild("Config");

    EXPECT_EQ(&kramo.FindChild("CONFIG"), &first);
    EXPECT_EQ(first.FindAttribute("SALENAME").GetText(), "A");
    EXPECT_EQ(&kramo.GetChild(1), &second);
    EXPECT_TRUE(kramo.GetChild(2).IsNull());
    EXPECT_TRUE(first.GetAttribute(2).IsNull());
    EXPECT_EQ(first.GetAttribute(1).GetText(), "B");
    EXPECT_TRUE(kramo.FindChild("confi").IsNull());
}

TEST(CXmlNode, AddedNodesKeepTheirAddressAndParent) {
    CXmlNode document;
    CXmlNode& a = document.AddChild("a");
    CXmlNode& attribute = a.AddAttribute("port", "");
    for (int i = 0; i < 100; ++i) {
        document.AddChild("b").AddChild("c");
        a.AddAttribute("x", "y");
    }
    EXPECT_EQ(&document.GetChild(0), &a);
    EXPECT_EQ(a.GetParent(), &document);
    EXPECT_EQ(attribute.GetParent(), &a);
    EXPECT_EQ(document.GetParent(), nullptr);
    EXPECT_EQ(a.GetKind(), CXmlNode::Element);
    EXPECT_EQ(attribute.GetKind(), CXmlNode::Attribute);
    attribute.SetValueInt(-2147483647 - 1);
    EXPECT_EQ(a.FindAttribute("port").GetText(), "-2147483648");
}

TEST(CXmlNode, DeepTreeIsDestroyedWithoutExhaustingTheStack) {
    auto document = std::make_unique<CXmlNode>();
    CXmlNode* current = document.get();
    for (int depth = 0; depth < 200000; ++depth) {
        current = &current->AddChild("a");
    }
    document.reset();
    SUCCEED();
}

}  // namespace
