#include "storage/FieldReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using Kramo::FieldReader;

std::vector<std::string> FirstFields(const std::string& line, std::size_t count) {
    const FieldReader reader(line);
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < count; ++i) {
        fields.push_back(reader.Field(i));
    }
    return fields;
}

TEST(FieldReader, SeparatorRunsCountAsOneBoundary) {
    struct Case {
        const char* line;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"1*Blue jacket*5.0*a*s\n", {"1", "Blue jacket", "5.0", "a", "s", ""}},
        {"1*Blue jacket*5.0*a*s\r\n", {"1", "Blue jacket", "5.0", "a", "s", ""}},
        {"1|Boots||12.5**b*p", {"1", "Boots", "12.5", "b", "p", ""}},
        {"**1*x", {"1", "x", "", "", "", ""}},
        {"1*a\rb*2", {"1", "a", "b", "2", "", ""}},
        {"", {"", "", "", "", "", ""}},
        {"*|\r\n", {"", "", "", "", "", ""}},
        {"12*AB*Some Name**p*1\n", {"12", "AB", "Some Name", "p", "1", ""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirstFields(c.line, 6), c.fields) << "line: " << c.line;
    }
}

TEST(FieldReader, LongFieldIsCutTheRestStaysInPlace) {
    const std::string longName(300, 'x');
    const FieldReader reader("7*" + longName + "*3.5*b");
    EXPECT_EQ(reader.Field(1), std::string(254, 'x'));
    EXPECT_EQ(reader.Field(2), "3.5");
    EXPECT_EQ(reader.Field(3), "b");
}

}  // namespace
