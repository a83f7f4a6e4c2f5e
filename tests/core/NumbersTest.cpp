// The number and time texts: what every edit, label and table shows and reads back.
#include "model/Numbers.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace halvern {
namespace {

struct FixedCase {
    double value;
    int precision;
    int decimals;
    const char* expected;
};

class FormatFixedTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixedTest, WritesRoundedFixedOrScientificText) {
    const FixedCase& c = GetParam();
    EXPECT_EQ(FormatFixed(c.value, c.precision, c.decimals), c.expected)
        << c.value << " with " << c.precision << "/" << c.decimals;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatFixedTest,
    ::testing::Values(
        // the worked examples of the display rule
        FixedCase{123.456, 4, 2, "123.50"}, FixedCase{12.5, 2, 2, "13.00"}, FixedCase{150, 2, 2, "1.5E02"},
        FixedCase{100, 2, 2, "1E02"}, FixedCase{0.26, 2, 2, "0.26"}, FixedCase{10, 2, 2, "10.00"},
        FixedCase{1, 5, 3, "1.000"}, FixedCase{6, 3, 0, "6"},
        // halves away from zero, on the decimal digits
        FixedCase{0.125, 5, 2, "0.13"}, FixedCase{-0.125, 5, 2, "-0.13"}, FixedCase{-2.5, 2, 0, "-3"},
        FixedCase{2.5, 2, 0, "3"}, FixedCase{1.005, 5, 2, "1.00"},
        FixedCase{2.675, 5, 2, "2.67"}, // 2.67499999... in binary
        FixedCase{0.3, 5, 2, "0.30"}, FixedCase{0.1 + 0.2, 18, 2, "0.30"},
        // negatives, zero and values that round to zero carry no "-"
        FixedCase{-123.456, 5, 2, "-123.46"}, FixedCase{0, 5, 2, "0.00"}, FixedCase{-0.0, 5, 2, "0.00"},
        FixedCase{-0.004, 5, 2, "0.00"}, FixedCase{-0.005, 5, 2, "-0.01"}, FixedCase{0.0049, 5, 2, "0.00"},
        FixedCase{0.4, 5, 0, "0"}, FixedCase{0.5, 5, 0, "1"}, FixedCase{1e-30, 5, 3, "0.000"},
        // precision limits the significant digits, padded with zeros
        FixedCase{1234.5678, 4, 3, "1235.000"}, FixedCase{1.23456, 3, 4, "1.2300"},
        FixedCase{0.000123456, 2, 6, "0.000120"}, FixedCase{9.96, 2, 2, "10.00"},
        // precision clamped to 2..18
        FixedCase{123.456, 0, 2, "1.2E02"}, FixedCase{12.34, 1, 2, "12.00"},
        FixedCase{0.1, 30, 20, "0.10000000000000000600"},
        FixedCase{123456789012345678.0, 25, 0, "123456789012345680"},
        // scientific when the integer part outgrows the precision
        FixedCase{1234, 2, 0, "1.2E3"}, FixedCase{99.5, 2, 2, "1E02"}, FixedCase{99.4, 2, 2, "99.00"},
        FixedCase{-150, 2, 2, "-1.5E02"}, FixedCase{123456, 3, 4, "1.23E0005"},
        FixedCase{123456, 3, 5, "1.23E5"}, FixedCase{1e20, 5, 2, "1E20"}, FixedCase{2.5e7, 5, 1, "2.5E7"},
        // many decimals
        FixedCase{3.14159265, 15, 5, "3.14159"}, FixedCase{2, 5, 5, "2.00000"},
        // the tables' 11/2: just above a half, where the value times 100 in binary lands on
        // the half, and the largest sizes before one more digit
        FixedCase{0.17500000000000002, 11, 2, "0.18"}, FixedCase{0.20500000000000002, 11, 2, "0.21"},
        FixedCase{99999999.995, 11, 2, "100000000.00"}, FixedCase{9999999.995, 11, 2, "9999999.99"},
        FixedCase{-99999999.99, 11, 2, "-99999999.99"}, FixedCase{123456789.125, 11, 2, "123456789.13"}));

TEST(FormatFixed, NeverWritesInfOrNanButRaisesTheFloatingPointError) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(FormatFixed(inf, 5, 2), EOverflow);
    EXPECT_THROW(FormatFixed(-inf, 5, 2), EOverflow);
    EXPECT_THROW(FormatFixed(nan, 5, 2), EInvalidOp);
    EXPECT_THROW(FormatGeneral(nan), EInvalidOp);
    EXPECT_THROW(FormatNumber(inf, 11, 0), EOverflow);
    EXPECT_THROW(FormatMoney(-inf), EOverflow);
    EXPECT_THROW(FormatWidth8(inf), EOverflow);
}

// The tests run in the C locale unless something set another; pin it for the
// separator and money texts.
class CLocaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current != nullptr ? current : "C";
        std::setlocale(LC_ALL, "C");
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_F(CLocaleTest, FormatNumberGroupsThousands) {
    EXPECT_EQ(FormatNumber(182625, 11, 0), "182,625");
    EXPECT_EQ(FormatNumber(-1234567, 11, 0), "-1,234,567");
    EXPECT_EQ(FormatNumber(1234567.891, 11, 2), "1,234,567.89");
    EXPECT_EQ(FormatNumber(999, 11, 2), "999.00");
    EXPECT_EQ(FormatNumber(1000, 6, 2), "1,000.00");
    EXPECT_EQ(FormatNumber(-100, 11, 0), "-100");
    EXPECT_EQ(FormatNumber(0.5, 11, 2), "0.50");
    EXPECT_EQ(FormatNumber(1234567, 3, 0), "1.23E6"); // scientific form is not grouped
}

TEST_F(CLocaleTest, FormatMoneyUsesRandAndPadsToEight) {
    EXPECT_EQ(FormatMoney(10000), "R10,000.00");
    EXPECT_EQ(FormatMoney(5), "   R5.00");
    EXPECT_EQ(FormatMoney(-5), "  -R5.00");
    EXPECT_EQ(FormatMoney(0), "   R0.00");
    EXPECT_EQ(FormatMoney(1234567.125), "R1,234,567.13");
    EXPECT_EQ(FormatMoney(-1234.5), "-R1,234.50");
}

TEST_F(CLocaleTest, DecimalCommaLocaleStillWritesAndReadsPoints) {
    // Where a locale with a decimal comma is installed, the texts must not follow it.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    EXPECT_EQ(FormatFixed(2.5, 5, 2), "2.50");
    EXPECT_EQ(FormatWidth8(10), "   10.00");
    EXPECT_EQ(ParseNumber("2.5"), 2.5);
    EXPECT_EQ(FormatNumber(1234567.5, 11, 1), "1 234 567.5"); // "." grouping becomes a blank
}

TEST(FormatGeneral, ShortestText) {
    EXPECT_EQ(FormatGeneral(20), "20");
    EXPECT_EQ(FormatGeneral(2.5), "2.5");
    EXPECT_EQ(FormatGeneral(0.1), "0.1");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatGeneral(-0.75), "-0.75");
    EXPECT_EQ(FormatGeneral(0), "0");
    EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
    EXPECT_EQ(FormatGeneral(1e-5), "1E-5");
    EXPECT_EQ(FormatGeneral(1.5e-7), "1.5E-7");
    EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatGeneral(1e15), "1E15");
    EXPECT_EQ(FormatGeneral(999999999999999.9), "1E15");
    EXPECT_EQ(FormatGeneral(-2.5e20), "-2.5E20");
}

TEST(FormatGeneral, RoundTripsFifteenDigits) {
    for (const double value : {0.123456789012345, 1.1, 98765.4321, 3.14159265358979, 1e-3, 7.00000000000001,
                               -4.56789012345678, 123456.789012345}) {
        const auto back = ParseNumber(FormatGeneral(value));
        ASSERT_TRUE(back.has_value()) << FormatGeneral(value);
        EXPECT_EQ(*back, value) << FormatGeneral(value);
    }
}

TEST(FormatWidth8, TwoDecimalsRightAligned) {
    EXPECT_EQ(FormatWidth8(36 * (1 / 3.6)), "   10.00");
    EXPECT_EQ(FormatWidth8(100 * (1 / 3.6)), "   27.78");
    EXPECT_EQ(FormatWidth8(12345.678), "12345.68");
    EXPECT_EQ(FormatWidth8(1234567.5), "1234567.50");
    EXPECT_EQ(FormatWidth8(-1.5), "   -1.50");
    EXPECT_EQ(FormatWidth8(0.125), "    0.13"); // a binary tie still rounds away from zero
}

// Every number shown starts from its 18 significant digits, correctly rounded from the
// binary value as printf's "%.17e" gives them; a short exact route works them out for the
// common sizes. With precision 18 and just enough decimals FormatFixed shows those 18
// digits unrounded, so they can be compared with printf's. Values that end in a tie at the
// 18th digit (a 16-digit whole number and eighths) and the edges of the route included.
TEST(FormatFixed, EighteenDigitsAsPrintfGivesThem) {
    std::vector<double> values = {1e-5,
                                  9.999999999999999e-6,
                                  1e17,
                                  99999999999999999.0,
                                  999999999999999872.0,
                                  0.1,
                                  2.675,
                                  1.005,
                                  1125899906842623.875,
                                  1125899906842622.125,
                                  562949953421311.9375,
                                  0.30000000000000004,
                                  9.9999999999999995e-2};
    std::mt19937_64 random(18);
    for (int i = 0; i < 20000; ++i)
        values.push_back(std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 80)));
    for (int i = 0; i < 2000; ++i)
        values.push_back(static_cast<double>(random() >> 11) / 8);
    for (const double value : values) {
        char printed[40];
        std::snprintf(printed, sizeof printed, "%.17e", value);
        const std::string text(printed);
        const std::string digits = text.substr(0, 1) + text.substr(2, 17);
        const int exponent = std::stoi(text.substr(20));
        if (exponent >= 18) continue; // shown in the scientific form
        std::string expected =
            "0." + std::string(static_cast<std::size_t>(std::max(-exponent - 1, 0)), '0') + digits;
        if (exponent == 17)
            expected = digits;
        else if (exponent >= 0)
            expected = digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
                       digits.substr(static_cast<std::size_t>(exponent) + 1);
        const int decimals = 17 - exponent;
        EXPECT_EQ(FormatFixed(value, 18, decimals), expected) << printed;
        EXPECT_EQ(FormatFixed(-value, 18, decimals), "-" + expected) << printed;
    }
}

struct ParseCase {
    const char* text;
    bool valid;
    double value;
};

class ParseNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, StrictPointDecimalSyntax) {
    const ParseCase& c = GetParam();
    const auto parsed = ParseNumber(c.text);
    ASSERT_EQ(parsed.has_value(), c.valid) << "'" << c.text << "'";
    if (c.valid) {
        EXPECT_EQ(*parsed, c.value) << "'" << c.text << "'";
    }
    double value = -99;
    EXPECT_EQ(TryParseNumber(c.text, value), c.valid);
    if (!c.valid) {
        EXPECT_EQ(value, -99) << "a failed parse leaves the target alone";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseNumberTest,
    ::testing::Values(ParseCase{"1.5", true, 1.5}, ParseCase{"1e3", true, 1000}, ParseCase{"-2", true, -2},
                      ParseCase{"+2", true, 2}, ParseCase{"  1.5", true, 1.5}, ParseCase{"\t7", true, 7},
                      ParseCase{".5", true, 0.5}, ParseCase{"5.", true, 5}, ParseCase{".", true, 0},
                      ParseCase{"-.", true, 0}, ParseCase{"-.5", true, -0.5},
                      ParseCase{"2.5E-2", true, 0.025}, ParseCase{"2e+2", true, 200},
                      ParseCase{"007", true, 7}, ParseCase{"2.345", true, 2.345},
                      ParseCase{"1e-400", true, 0}, ParseCase{".e5", true, 0},
                      ParseCase{"0.000e999999", true, 0},
                      ParseCase{"1.7976931348623157e308", true, 1.7976931348623157e308},
                      // rejected
                      ParseCase{"", false, 0}, ParseCase{"   ", false, 0}, ParseCase{"-", false, 0},
                      ParseCase{"+", false, 0}, ParseCase{"1,5", false, 0}, ParseCase{"1.5 ", false, 0},
                      ParseCase{"1,000", false, 0}, ParseCase{"1.2.3", false, 0}, ParseCase{"1e", false, 0},
                      ParseCase{"1e+", false, 0}, ParseCase{"e5", false, 0}, ParseCase{"- 1", false, 0},
                      ParseCase{"--1", false, 0}, ParseCase{"abc", false, 0}, ParseCase{"1x", false, 0},
                      ParseCase{"inf", false, 0}, ParseCase{"nan", false, 0}, ParseCase{"0x10", false, 0},
                      ParseCase{"1e400", false, 0}, ParseCase{"1.5e3.", false, 0}));

// Table texts are read through a short exact route; it must land on the same double as the
// full decimal conversion, for the texts the tables write and at the edges of that route
// (2^53 and its neighbours, 10^±22, 15, 16 and 19 digits, halfway decimals).
TEST(ParseNumber, ShortDecimalsReadAsTheFullConversionReadsThem) {
    const auto full = [](const std::string& text) {
        double value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    };
    std::vector<std::string> texts = {"9007199254740992",
                                      "9007199254740993",
                                      "9007199254740994",
                                      "900719925474099.3",
                                      "9007199254740993e-5",
                                      "1e22",
                                      "1e23",
                                      "1e-22",
                                      "1e-23",
                                      "9999999999999999999",
                                      "1234567890123456789e-10",
                                      "0.30000000000000004",
                                      "2.675",
                                      "1.005",
                                      "4.35",
                                      "0.1",
                                      "123456.785",
                                      "5e-324",
                                      "1.7976931348623157e308",
                                      "8.589973e9",
                                      "45.23e+2",
                                      "999999999999999",
                                      "99999999999999.9",
                                      "0.00000000000001",
                                      "999999999999999.9",
                                      "00000000000012.5"};
    std::mt19937_64 random(17);
    for (int i = 0; i < 20000; ++i) {
        const double value =
            std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 70));
        texts.push_back(FormatFixed(value, 18, static_cast<int>(random() % 9)));
        char text[40];
        std::snprintf(text, sizeof text, "%.*g", static_cast<int>(1 + random() % 19), value);
        texts.emplace_back(text);
    }
    for (const std::string& text : texts) {
        const auto parsed = ParseNumber(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_EQ(*parsed, full(text)) << text;
        EXPECT_EQ(*ParseNumber("-" + text), -full(text)) << text;
    }
}

TEST(ParseWhole, Int32Range) {
    EXPECT_EQ(ParseWhole("42"), 42);
    EXPECT_EQ(ParseWhole("  -7"), -7);
    EXPECT_EQ(ParseWhole("+0"), 0);
    EXPECT_EQ(ParseWhole("2147483647"), 2147483647);
    EXPECT_EQ(ParseWhole("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseWhole("0000000000000012"), 12);
    for (const char* bad :
         {"", "-", "2147483648", "-2147483649", "99999999999999999999", "1.0", "1e3", "4 ", "1,000", "."}) {
        EXPECT_FALSE(ParseWhole(bad).has_value()) << "'" << bad << "'";
    }
}

TEST(StrToFloat, TrimsBlanksAndNamesTheOriginalText) {
    EXPECT_EQ(StrToFloat(" 2.5 "), 2.5);
    EXPECT_EQ(StrToFloat("\t-3e1\t"), -30);
    EXPECT_EQ(StrToInt(" 12 "), 12);
    for (const std::string bad : {"", " 1,5 ", "abc"}) {
        try {
            StrToFloat(bad);
            ADD_FAILURE() << "'" << bad << "' converted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + bad + "' is not a valid floating point value");
        }
    }
    try {
        StrToInt(" 1.5");
        ADD_FAILURE() << "1.5 converted to an integer";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "' 1.5' is not a valid integer value");
    }
}

TEST(Times, WrittenAfterRoundingToTheMillisecond) {
    EXPECT_EQ(TimeToStr(3.0 / 24), "03:00:00");
    EXPECT_EQ(TimeToStr(23.0 / 24 + 1.0 / 24), "00:00:00");
    EXPECT_EQ(TimeToStr(1.0), "00:00:00");
    EXPECT_EQ(TimeToStr(25.0 / 24), "01:00:00");
    EXPECT_EQ(TimeToStr(0), "00:00:00");
    EXPECT_EQ(TimeToStr(EncodeTime(23, 59, 59)), "23:59:59");
    EXPECT_EQ(TimeToStr(EncodeTime(13, 5, 7)), "13:05:07");
    EXPECT_EQ(TimeToStr(86399.9996 / 86400), "00:00:00");
    EXPECT_EQ(TimeToShortStr(EncodeTime(13, 5, 59)), "13:05");
    EXPECT_EQ(TimeToShortStr(7.0 / 24), "07:00");
    // Adding hour by hour, as the tables label their rows, stays on whole hours.
    double t = 0;
    for (int h = 0; h < 24; ++h, t += 1.0 / 24) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d:00:00", h);
        EXPECT_EQ(TimeToStr(t), expected);
    }
}

TEST(Times, StrToTimeReadsTheWrittenForms) {
    EXPECT_EQ(StrToTime("04:00"), EncodeTime(4, 0));
    EXPECT_EQ(StrToTime("4:30"), EncodeTime(4, 30));
    EXPECT_EQ(StrToTime(" 23:59:59 "), EncodeTime(23, 59, 59));
    EXPECT_EQ(StrToTime("00:00:00"), 0.0);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0), 0.25);
    for (int minutes = 0; minutes < 24 * 60; minutes += 7) {
        const double time = EncodeTime(minutes / 60, minutes % 60, minutes % 60);
        const auto back = StrToTime(TimeToStr(time));
        ASSERT_TRUE(back.has_value()) << TimeToStr(time);
        EXPECT_EQ(TimeToStr(*back), TimeToStr(time));
    }
    for (const char* bad : {"", "24:00", "12:60", "12:00:60", "12", "12:5", "123:00", "12:00:", "12.00",
                            "12:00 pm", "-1:00", "1:00:00:00"}) {
        EXPECT_FALSE(StrToTime(bad).has_value()) << "'" << bad << "'";
    }
}

TEST(Trim, BlanksAndTabsAtBothEnds) {
    EXPECT_EQ(Trim("  a b \t"), "a b");
    EXPECT_EQ(Trim("\t\t"), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("x"), "x");
}

} // namespace
} // namespace halvern
