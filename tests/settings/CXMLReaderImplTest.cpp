#include "settings/CXMLReaderImpl.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/TemporaryDirectory.h"
#include "settings/CFileReadCallBack.h"

namespace {

using irr::io::CFileReadCallBack;
using irr::io::CXMLReaderImpl;
using KramoTest::TemporaryDirectory;
using namespace std::string_literals;

// Every node the reader delivers, one piece each, separated by '|': "<a x=1>" or "<a/>" for an
// element start, "</a>" for an end, T(...) text, C(...) comment, D(...) CDATA, "?" other.
std::string Describe(irr::io::IIrrXMLReader& reader) {
    std::string description;
    while (reader.Read()) {
        if (!description.empty()) {
            description += '|';
        }
        const std::string& text = reader.GetNodeName();
        switch (reader.GetNodeType()) {
            case irr::io::EXN_ELEMENT:
                description += "<" + text;
                for (std::size_t i = 0; i < reader.GetAttributeCount(); ++i) {
                    description +=
                        " " + reader.GetAttributeName(i) + "=" + reader.GetAttributeValue(i);
                }
                description += reader.IsEmptyElement() ? "/>" : ">";
                break;
            case irr::io::EXN_ELEMENT_END:
                description += "</" + text + ">";
                break;
            case irr::io::EXN_TEXT:
                description += "T(" + text + ")";
                break;
            case irr::io::EXN_COMMENT:
                description += "C(" + text + ")";
                break;
            case irr::io::EXN_CDATA:
                description += "D(" + text + ")";
                break;
            default:
                description += "?";
        }
    }
    return description;
}

std::string DescribeFile(const std::string& content) {
    TemporaryDirectory directory;
    directory.WriteFile("input.xml", content);
    CFileReadCallBack input(directory.File("input.xml"));
    CXMLReaderImpl reader(input);
    return Describe(reader);
}

struct ReaderCase {
    const char* name;
    std::string input;
    std::string nodes;
};

void ExpectNodes(const std::vector<ReaderCase>& cases) {
    for (const ReaderCase& c : cases) {
        EXPECT_EQ(DescribeFile(c.input), c.nodes) << c.name;
    }
}

TEST(CXMLReaderImpl, ReadsWellFormedMarkup) {
    ExpectNodes({
        {"attributes in both quotes", "<a x=\"1\" y='2'>hi there</a>",
         "<a x=1 y=2>|T(hi there)|</a>"},
        {"self-closing forms", "<a><b/><c /><d x='1'/></a>", "<a>|<b/>|<c/>|<d x=1/>|</a>"},
        {"attributes over lines", "<config\n\t\tsalename=\"S\"\n\t\t>", "<config salename=S>"},
        {"end tag taken verbatim", "<a></a b>", "<a>|</a b>"},
        {"declaration, comment, CDATA",
         "<?xml version=\"1.0\"?><!-- c <x> --><a><![CDATA[<raw>&amp;]]></a>",
         "?|C(!-- c <x> --)|<a>|D(<raw>&amp;)|</a>"},
        {"text after the last tag", "<a/>tail", "<a/>|?"},
        {"empty input", "", ""},
    });
}

TEST(CXMLReaderImpl, KeepsOnlyWhitespaceRunsOfThreeOrMore) {
    ExpectNodes({
        {"one and two characters dropped", "<a> <b/>\r\n</a>", "<a>|<b/>|</a>"},
        {"three characters kept", "<a>\n\t\t<b/></a>", "<a>|T(\n\t\t)|<b/>|</a>"},
        {"short non-blank text kept", "<a>x</a>", "<a>|T(x)|</a>"},
    });
}

TEST(CXMLReaderImpl, ReplacesOnlyThePredefinedEntities) {
    ExpectNodes({
        {"in attribute values", "<a v=\"&amp;&lt;&gt;&quot;&apos;\"/>", "<a v=&<>\"'/>"},
        {"unknown and cut entities pass", "<a v='&foo; &amp &#65; &'/>",
         "<a v=&foo; &amp &#65; &/>"},
        {"in text", "<a>x &lt; y&amp;z</a>", "<a>|T(x < y&z)|</a>"},
        {"not in names", "<a&amp;b x&lt;='1'></a&amp;b>", "<a&amp;b x&lt;=1>|</a&amp;b>"},
        {"entity at the very end", "<a>&amp", "<a>|?"},
    });
}

// Each input stops somewhere a careless reader would walk past the end of its buffer.
TEST(CXMLReaderImpl, StopsAtTheEndOfTruncatedOrMalformedInput) {
    ExpectNodes({
        {"lone <", "<", "<>"},
        {"text then lone <", "abc<", "T(abc)|<>"},
        {"name cut", "<a", "<a>"},
        {"after name", "<a ", "<a>"},
        {"attribute name cut", "<a x", "<a>"},
        {"attribute without value", "<a x>t</a>", "<a>|T(t)|</a>"},
        {"value without quotes", "<a x=1 y='2'>", "<a>"},
        {"value cut", "<a x=\"1", "<a>|?"},
        {"value unterminated before markup", "<a x=\"1><b/>", "<a>|T(1>)|<b/>"},
        {"quotes of two kinds", "<a x='1\">", "<a>|?"},
        {"second value cut", "<a x=\"1\" y=\"2", "<a x=1>|?"},
        {"self-closing cut", "<a x=\"1\"/", "<a x=1/>"},
        {"end tag cut", "<a></a", "<a>|</a>"},
        {"end tag of nothing", "</", "</>"},
        {"comment cut", "<!-- open <x>", "C(!-- open <x>)"},
        {"bare !", "<!", "C(!)"},
        {"CDATA cut", "<![CDATA[abc]]", "D(abc]])"},
        {"bare CDATA opening", "<![", "D()"},
        {"declaration cut", "<?xml version", "?"},
        {"zero bytes inside", "<a x='\0'>\0\0\0</a>"s, "<a x=\0>|T(\0\0\0)|</a>"s},
    });
}

std::string Units(const std::vector<std::uint32_t>& units, int unitSize, bool bigEndian) {
    std::string bytes;
    for (const std::uint32_t unit : units) {
        for (int k = 0; k < unitSize; ++k) {
            const int shift = 8 * (bigEndian ? unitSize - 1 - k : k);
            bytes += static_cast<char>((unit >> shift) & 0xFF);
        }
    }
    return bytes;
}

std::vector<std::uint32_t> WithMark(const std::u32string& text) {
    std::vector<std::uint32_t> units{0xFEFF};
    units.insert(units.end(), text.begin(), text.end());
    return units;
}

TEST(CXMLReaderImpl, TurnsMarkedWideInputIntoUtf8) {
    const std::u32string text = U"<a v=\"Čaj\">ďž</a>";
    const std::string expected = "<a v=Čaj>|T(ďž)|</a>";
    ExpectNodes({
        {"UTF-8 mark", "\xEF\xBB\xBF<a v=\"Čaj\">ďž</a>", expected},
        {"UTF-16 LE", Units(WithMark(text), 2, false), expected},
        {"UTF-16 BE", Units(WithMark(text), 2, true), expected},
        {"UTF-32 LE", Units(WithMark(text), 4, false), expected},
        {"UTF-32 BE", Units(WithMark(text), 4, true), expected},
        {"UTF-16 surrogate pair",
         Units({0xFEFF, '<', 'a', ' ', 'v', '=', '\'', 0xD83D, 0xDE00, '\'', '/', '>'}, 2, false),
         "<a v=\xF0\x9F\x98\x80/>"},
        {"UTF-16 broken surrogates",
         Units({0xFEFF, '<', 'a', '>', 0xDC00, 'x', 0xD800, '<', '/', 'a', '>', 0xD800}, 2, true),
         "<a>|T(\xEF\xBF\xBDx\xEF\xBF\xBD)|</a>|?"},
        {"UTF-32 beyond Unicode", Units({0xFEFF, '<', 'a', '>', 0x110000, 'x', 'y'}, 4, false),
         "<a>|?"},
        {"UTF-16 odd last byte", Units(WithMark(U"<a/>"), 2, false) + "<", "<a/>"},
        {"UTF-32 cut last unit", Units(WithMark(U"<a/>"), 4, true) + std::string(3, '\0'), "<a/>"},
        {"UTF-16 mark alone with a stray byte", "\xFF\xFE<", ""},
        {"UTF-32 mark alone", "\xFF\xFE\0\0"s, ""},
    });
}

TEST(CXMLReaderImpl, FileThatCannotBeReadGivesNoNodes) {
    TemporaryDirectory directory;
    for (const std::string& path : {directory.File("missing.xml"), directory.Path()}) {
        CFileReadCallBack input(path);
        EXPECT_EQ(input.GetSize(), 0u) << path;
        CXMLReaderImpl reader(input);
        EXPECT_FALSE(reader.Read()) << path;
        EXPECT_EQ(reader.GetNodeType(), irr::io::EXN_NONE);
        EXPECT_EQ(reader.GetAttributeName(0), "");
        EXPECT_EQ(reader.GetAttributeValue(3), "");
    }
}

}  // namespace
