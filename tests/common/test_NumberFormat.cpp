#include <gtest/gtest.h>

#include "common/NumberFormat.h"

using kelm::FormatGeneral;
using kelm::FormatPattern;

TEST(FormatGeneral, AwkwardValues) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.05, "0.05"},       {2.675, "2.675"},   {-0.5, "-0.5"},
        {1e15, "1E15"},       {0.00001, "0.00001"}, {1.0 / 3, "0.333333333333333"},
        {2440, "2440"},       {1220.5, "1220.5"}, {0, "0"},
        {-0.0, "0"},          {999999999999999, "999999999999999"},
        {0.000001, "1E-6"},   {-1.5e-7, "-1.5E-7"}, {1.5e16, "1.5E16"},
        {0.1 + 0.2, "0.3"},   {560.26, "560.26"}, {100, "100"},
        {2.0 / 3, "0.666666666666667"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatGeneral(c.value), QString(c.text)) << c.value;
}

TEST(FormatPattern, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    const struct {
        double value;
        const char* pattern;
        const char* text;
    } cases[] = {
        {2.675, "0.00", "2.68"},
        {0.05, "0.0", "0.1"},
        {-0.5, "0", "-1"},
        {-0.5, "0.0", "-0.5"},
        {-0.04, "0.0", "0.0"},
        {1e15, "0.00", "1000000000000000.00"},
        {0.00001, "0.00", "0.00"},
        {1.0 / 3, "0.00", "0.33"},
        {2440, "0.0", "2440.0"},
        {1220.5, "0", "1221"},
        {560.26, "0.0", "560.3"},
        {1000, "0.0", "1000.0"},
        {87.525, "0.00", "87.53"},
        {9.96, "0.0", "10.0"},
        {54.2, "0.0%", "54.2%"},
        {12.345, "0.0㎡", "12.3㎡"},
        {1234.55, "￥0.0", "￥1234.6"},
        {0, "0.00", "0.00"},
        {0.999, "0.00", "1.00"},
        {1.25, "#.##", "1.25"},
        {1.5, "0.##", "1.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatPattern(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.text))
            << c.value << " " << c.pattern;
}

TEST(ParseNumber, AcceptsPointDecimalsAndRejectsOtherText) {
    double v = 7;
    EXPECT_TRUE(kelm::ParseNumber(" 560.3 ", v));
    EXPECT_DOUBLE_EQ(v, 560.3);
    EXPECT_FALSE(kelm::ParseNumber("12a", v));
    EXPECT_FALSE(kelm::ParseNumber("", v));
    for (const char* text : {"nan", "inf", "-inf", "1e999"}) EXPECT_FALSE(kelm::ParseNumber(text, v)) << text;
    EXPECT_DOUBLE_EQ(v, 560.3);
}
