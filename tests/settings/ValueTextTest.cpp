#include "settings/ValueText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(ValueText, NumbersReadTheLeadingNumericPart) {
    EXPECT_EQ(ValueText::toNumber("12abc"), 12);
    EXPECT_EQ(ValueText::toNumber("abc"), 0);
    EXPECT_EQ(ValueText::toNumber(" 1 2\t3\n"), 123);
    EXPECT_EQ(ValueText::toNumber("-4.5x"), -4.5);
    EXPECT_EQ(ValueText::toNumber("1.2.3"), 1.2);
    EXPECT_EQ(ValueText::toNumber("1e3"), 1000);
    EXPECT_EQ(ValueText::toNumber("2D2"), 200);
    EXPECT_EQ(ValueText::toNumber("7e"), 7);
    EXPECT_EQ(ValueText::toNumber("-"), 0);
    EXPECT_EQ(ValueText::toNumber(".5"), 0.5);
    EXPECT_EQ(ValueText::toNumber("1,000"), 1);
}

TEST(ValueText, HexAndOctalKeepTheirIntegerWidths) {
    EXPECT_EQ(ValueText::toNumber("&H1F"), 31);
    EXPECT_EQ(ValueText::toNumber("&hff"), 255);
    EXPECT_EQ(ValueText::toNumber("&HFFFF"), -1);
    EXPECT_EQ(ValueText::toNumber("&H8000"), -32768);
    EXPECT_EQ(ValueText::toNumber("&H10000"), 65536);
    EXPECT_EQ(ValueText::toNumber("&HFFFFFFFF"), -1);
    EXPECT_EQ(ValueText::toNumber("&O17"), 15);
    EXPECT_EQ(ValueText::toNumber("&17"), 15);
    EXPECT_EQ(ValueText::toNumber("&H"), 0);
    EXPECT_EQ(ValueText::toNumber("&H1G"), 1);
}

TEST(ValueText, Booleans) {
    EXPECT_EQ(ValueText::toBoolean("True"), true);
    EXPECT_EQ(ValueText::toBoolean("FALSE"), false);
    EXPECT_EQ(ValueText::toBoolean("0"), false);
    EXPECT_EQ(ValueText::toBoolean("-1"), true);
    EXPECT_EQ(ValueText::toBoolean("2.5"), true);
    EXPECT_EQ(ValueText::toBoolean("yes"), std::nullopt);
    EXPECT_EQ(ValueText::toBoolean("12abc"), std::nullopt);
    EXPECT_EQ(ValueText::fromBoolean(true), "True");
}

TEST(ValueText, NumberTextReadsBackToTheSameValue) {
    for (double v : {0.0, -0.0, 1.0, -7.0, 2730.0, 0.1, 1234.5, 1e20, -3.25e-7}) {
        const std::string text = ValueText::fromNumber(v);
        EXPECT_EQ(ValueText::toNumber(text), v) << text;
    }
    EXPECT_EQ(ValueText::fromNumber(2730), "2730");
    EXPECT_EQ(ValueText::fromNumber(-0.0), "0");
    EXPECT_EQ(ValueText::fromNumber(-1.5), "-1.5");
}

TEST(ValueText, RoundingIsHalfEven) {
    EXPECT_EQ(ValueText::roundHalfEven(2.5), 2);
    EXPECT_EQ(ValueText::roundHalfEven(3.5), 4);
    EXPECT_EQ(ValueText::roundHalfEven(-2.5), -2);
    EXPECT_EQ(ValueText::roundHalfEven(2.6), 3);
    // Stored numbers can be anything: beyond the range they stop at its ends.
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(ValueText::roundHalfEven(1e300), kMax);
    EXPECT_EQ(ValueText::roundHalfEven(-1e300), kMin);
    EXPECT_EQ(ValueText::roundHalfEven(ValueText::toNumber("1e999")), kMax);
    EXPECT_EQ(ValueText::roundHalfEven(std::nan("")), 0);
    EXPECT_EQ(ValueText::roundToInt(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(ValueText::roundToInt(-3e9), std::numeric_limits<int>::min());
    EXPECT_EQ(ValueText::roundToInt(2.5), 2);
}

TEST(ValueText, DatesReadBackAndNonsenseIsRefused) {
    const DateTime d{2024, 2, 29, 23, 5, 9};
    EXPECT_EQ(ValueText::fromDate(d), "2024/02/29 23:05:09");
    EXPECT_EQ(ValueText::toDate(ValueText::fromDate(d)), d);
    EXPECT_EQ(ValueText::toDate("2001-01-01"), (DateTime{2001, 1, 1, 0, 0, 0}));
    EXPECT_EQ(ValueText::toDate("2001/1/2 3:04"), (DateTime{2001, 1, 2, 3, 4, 0}));
    for (const char* bad : {"", "abc", "2023/02/29", "2001/13/01", "2001/01/01 25:00", "2001/01-01",
                            "2001/01/01 1:02:03x"})
        EXPECT_EQ(ValueText::toDate(bad), std::nullopt) << bad;
}
