// A1-style cell addresses: names of rows and columns and reading blocks such as "B3:D4".
#include <gtest/gtest.h>

#include "spreadsheet/XlsAddress.h"

using namespace kelm;

namespace {

TEST(XlsAddress, CellNames) {
    struct Case {
        int row, col;
        const char* name;
    } cases[] = {{0, 0, "A1"},    {2, 1, "B3"},   {0, 25, "Z1"},          {0, 26, "AA1"},
                 {9, 51, "AZ10"}, {0, 52, "BA1"}, {65535, 255, "IV65536"}};
    for (const Case& c : cases) {
        EXPECT_EQ(XlsCellName(c.row, c.col), c.name);
        const auto range = ParseXlsRange(c.name);
        ASSERT_TRUE(range) << c.name;
        EXPECT_EQ(*range, (XlsRange{c.row, c.col, c.row, c.col})) << c.name;
    }
    EXPECT_EQ(XlsRangeName({0, 0, 4, 11}), "A1:L5");
    EXPECT_EQ(XlsRangeName({6, 2, 6, 2}), "C7");
}

TEST(XlsAddress, BlocksInAnyCornerOrderAndCase) {
    struct Case {
        const char* text;
        XlsRange range;
    } cases[] = {
        {"B3:D4", {2, 1, 3, 3}},      {"d4:b3", {2, 1, 3, 3}},    {"D3:B4", {2, 1, 3, 3}},
        {"$A$1:$L$5", {0, 0, 4, 11}}, {" A1:L1 ", {0, 0, 0, 11}}, {"A5", {4, 0, 4, 0}},
    };
    for (const Case& c : cases) {
        const auto range = ParseXlsRange(c.text);
        ASSERT_TRUE(range) << c.text;
        EXPECT_EQ(*range, c.range) << c.text;
    }
}

TEST(XlsAddress, TextsThatAreNoAddressOrLieOutsideTheSheet) {
    for (const char* text : {"", "A", "1", "A0", "IW1", "A65537", "A1:", ":B2", "A1B", "A-1", "1A",
                             "A1:B2:C3", "ZZZZZZZZZZZZ1", "A99999999999"}) {
        EXPECT_FALSE(ParseXlsRange(text)) << text;
    }
    EXPECT_FALSE(ParseXlsRange(QStringLiteral("中1")));
    EXPECT_FALSE(ParseXlsRange(QStringLiteral("A１")));  // full-width digit
}

}  // namespace
