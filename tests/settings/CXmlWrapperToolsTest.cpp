#include "settings/CXmlWrapperTools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/LogCapture.h"
#include "common/TemporaryDirectory.h"
#include "settings/CXMLReaderImpl.h"

namespace {

using ConvFile::CConvFile;
using Kramo::CXmlNode;
using Kramo::CXmlWrapperTools;
using KramoTest::LogCapture;
using KramoTest::TemporaryDirectory;
using testing::HasSubstr;
using testing::Not;

const char* const Declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

// The tree in one line: each element as name[attribute=value,...]{text}(children).
std::string Outline(const CXmlNode& node) {
    std::string outline = node.GetName();
    if (node.GetAttributeCount() > 0) {
        outline += "[";
        for (const CXmlNode& attribute : node.Attributes()) {
            outline += attribute.GetName() + "=" + attribute.GetText() + ",";
        }
        outline.back() = ']';
    }
    if (!node.GetText().empty()) {
        outline += "{" + node.GetText() + "}";
    }
    if (node.GetChildCount() > 0) {
        outline += "(";
        for (const CXmlNode& child : node.Children()) {
            outline += Outline(child) + ",";
        }
        outline.back() = ')';
    }
    return outline;
}

struct TreeCase {
    const char* name;
    const char* content;
    const char* outline;
    const char* logged;  // an error expected in the log, or empty
    bool wellFormed;
};

TEST(CXmlWrapperTools, BuildsTheTreeAndStopsAtTheFirstWrongEndTag) {
    const TreeCase cases[] = {
        {"self-closing child", "<a><b/></a>", "(a(b))", "", true},
        {"attributes in order", "<a z='1' y='2'/><c/>", "(a[z=1,y=2],c)", "", true},
        {"later text replaces earlier", "<a>first<b/>second</a>", "(a{second}(b))", "", true},
        {"left open at the end", "<a><b x='1'>", "(a(b[x=1]))", "", false},
        {"wrong end tag", "<a></b><c/>", "(a)",
         "Error while parsing, expecting endtag 'b' but found 'a' instead.\n", false},
        {"end tags match case", "<a><B></b></a>", "(a(B))",
         "Error while parsing, expecting endtag 'b' but found 'B' instead.\n", false},
        {"end tag at top level", "</a><b/>", "",
         "Error while parsing, expecting endtag 'a' but already in root node.\n", false},
        {"everything ignorable", "<?xml?><!-- x --><![CDATA[y]]>tail", "", "", true},
    };
    for (const TreeCase& c : cases) {
        TemporaryDirectory directory;
        directory.WriteFile("in.xml", c.content);
        LogCapture log;
        CXmlNode root;
        bool wellFormed = !c.wellFormed;
        EXPECT_TRUE(
            CXmlWrapperTools::ReadTreeFromDiskFile(directory.File("in.xml"), root, &wellFormed));
        EXPECT_EQ(Outline(root), c.outline) << c.name;
        EXPECT_EQ(wellFormed, c.wellFormed) << c.name;
        const std::string text = log.Text();
        EXPECT_THAT(text, HasSubstr("CXmlWrapperTools::ReadTreeFromIrrXml() reading xml into '' "
                                    "root.\n"));
        EXPECT_THAT(text, HasSubstr("CXmlWrapperTools::ReadTreeFromIrrXml() file read.\n"));
        if (*c.logged != '\0') {
            EXPECT_THAT(text, HasSubstr(std::string("ReadTreeFromIrrXml() ") + c.logged)) << c.name;
        } else {
            EXPECT_THAT(text, Not(HasSubstr("Error"))) << c.name;
        }
    }
}

TEST(CXmlWrapperTools, FileWithoutContentGivesAnEmptyTree) {
    TemporaryDirectory directory;
    directory.WriteFile("empty.xml", "");
    for (const std::string& path :
         {directory.File("empty.xml"), directory.File("missing.xml"), directory.Path()}) {
        CXmlNode root;
        EXPECT_TRUE(CXmlWrapperTools::ReadTreeFromDiskFile(path, root)) << path;
        EXPECT_EQ(root.GetChildCount(), 0u) << path;
        EXPECT_TRUE(root.FindChild("kramo").IsNull());
    }
}

TEST(CXmlWrapperTools, OversizedFileMakesNoReader) {
    TemporaryDirectory directory;
    directory.WriteFile("huge.xml", "<a/>");
    std::filesystem::resize_file(directory.File("huge.xml"),
                                 irr::io::CXMLReaderImpl::MaximumInputSize + 1);
    LogCapture log;
    CXmlNode root;
    EXPECT_FALSE(CXmlWrapperTools::ReadTreeFromDiskFile(directory.File("huge.xml"), root));
    EXPECT_EQ(root.GetChildCount(), 0u);
    EXPECT_THAT(log.Text(), HasSubstr("CXmlWrapperTools::ReadTreeFromDiskFile() error.\n"));
}

TEST(CXmlWrapperTools, DeeplyNestedFileIsReadAndReleased) {
    TemporaryDirectory directory;
    std::string content;
    for (int depth = 0; depth < 100000; ++depth) {
        content += "<a>";
    }
    directory.WriteFile("deep.xml", content);
    CXmlNode root;
    ASSERT_TRUE(CXmlWrapperTools::ReadTreeFromDiskFile(directory.File("deep.xml"), root));
    const CXmlNode* node = &root;
    int depth = 0;
    while (node->GetChildCount() > 0) {
        node = &node->Children().front();
        ++depth;
    }
    EXPECT_EQ(depth, 100000);
}

std::string WriteToText(const CXmlNode& root) {
    TemporaryDirectory directory;
    CConvFile file;
    EXPECT_TRUE(file.Open(directory.File("out.xml"), CConvFile::ForWriting));
    EXPECT_EQ(CXmlWrapperTools::WriteSimpleXmlFile(file, root), CXmlWrapperTools::Written);
    file.Close();
    return directory.ReadFile("out.xml");
}

TEST(CXmlWrapperTools, WritesEachAttributeOnItsOwnLine) {
    CXmlNode root;
    CXmlNode& top = root.AddChild("top");
    CXmlNode& withText = top.AddChild("note");
    withText.SetText("hello");
    CXmlNode& list = top.AddChild("list");
    list.AddAttribute("n", "2");
    list.SetText("head");
    list.AddChild("item").AddAttribute("v", "1");
    root.AddChild("second");

    EXPECT_EQ(WriteToText(root), std::string(Declaration) +
                                     "<top>\n"
                                     "\t<note>hello\n"
                                     "</note>\n"
                                     "\t<list\n"
                                     "\t\tn=\"2\"\n"
                                     "\t\t>\n"
                                     "head\t\t<item\n"
                                     "\t\t\tv=\"1\"\n"
                                     "\t\t\t />\n"
                                     "\t</list>\n"
                                     "</top>\n"
                                     "<second />\n");
    EXPECT_EQ(WriteToText(CXmlNode()), Declaration);
}

TEST(CXmlWrapperTools, WrittenValuesReadBackUnchanged) {
    const std::vector<std::string> values = {
        "plain",
        "say \"hi\" & 'bye'",
        "<tag>&amp;</tag>",
        "&lt; stays written as typed",
        "tab\there\nand line",
        "Čiapka ďžšťľ € 😀",
        "",
        std::string(20000, 'x') + "\"" + std::string(10, 'y'),
    };
    TemporaryDirectory directory;
    CXmlNode written;
    CXmlNode& top = written.AddChild("top");
    for (const std::string& value : values) {
        top.AddChild("e").AddAttribute("v", value);
        top.AddChild("t").SetText(value + "!");  // short blank texts are not kept as text
    }
    CConvFile file;
    ASSERT_TRUE(file.Open(directory.File("values.xml"), CConvFile::ForWriting));
    ASSERT_EQ(CXmlWrapperTools::WriteSimpleXmlFile(file, written), CXmlWrapperTools::Written);
    ASSERT_TRUE(file.Close());

    CXmlNode read;
    ASSERT_TRUE(CXmlWrapperTools::ReadTreeFromDiskFile(directory.File("values.xml"), read));
    CXmlNode& readTop = read.FindChild("top");
    ASSERT_EQ(readTop.GetChildCount(), 2 * values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(readTop.GetChild(2 * i).FindAttribute("v").GetText(), values[i]);
        // The writer ends a childless element's text with a line break of its own.
        EXPECT_EQ(readTop.GetChild(2 * i + 1).GetText(), values[i] + "!\n");
    }
}

TEST(CXmlWrapperTools, ReportsAFileItCannotWriteTo) {
    CXmlNode root;
    root.AddChild("a").AddAttribute("v", std::string(100000, 'v'));
    {
        LogCapture log;
        CConvFile closed;
        EXPECT_EQ(CXmlWrapperTools::WriteSimpleXmlFile(closed, root),
                  CXmlWrapperTools::FileNotOpen);
        EXPECT_THAT(log.Text(),
                    HasSubstr("CXmlWrapperTools::WriteSimpleXmlFile() target file not opened.\n"));
    }
    CConvFile full;
    ASSERT_TRUE(full.Open("/dev/full", CConvFile::ForWriting));
    EXPECT_EQ(CXmlWrapperTools::WriteSimpleXmlFile(full, root), CXmlWrapperTools::WriteFailed);

    TemporaryDirectory directory;
    directory.WriteFile("r.xml", "<a/>");
    CConvFile forReading;
    ASSERT_TRUE(forReading.Open(directory.File("r.xml"), CConvFile::ForReading));
    EXPECT_EQ(CXmlWrapperTools::WriteSimpleXmlFile(forReading, root),
              CXmlWrapperTools::WriteFailed);
}

}  // namespace
