#include "core/NumberText.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>

namespace sumvarl {
namespace {

struct ReadCase
{
    const char16_t* text;
    double value;
};

// The text as UTF-8, so that a failing case names its input.
void PrintTo(const ReadCase& c, std::ostream* os)
{
    std::u16string_view text(c.text);
    *os << '"';
    for (const char16_t ch : text) {
        if (ch >= 0x20 && ch < 0x7F) {
            *os << static_cast<char>(ch);
        } else {
            *os << "\\u" << std::hex << static_cast<unsigned>(ch) << std::dec;
        }
    }
    *os << '"';
}

class ReadNumberTest : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(ReadNumberTest, ReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(ReadNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadNumberTest,
    ::testing::Values(
        ReadCase{u"25", 25}, ReadCase{u"2.5", 2.5}, ReadCase{u"-2.5", -2.5}, ReadCase{u"+7", 7},
        ReadCase{u"1 5", 15}, ReadCase{u" \t1\n2 ", 12}, ReadCase{u"- 5", -5},
        ReadCase{u"12abc", 12}, ReadCase{u"", 0}, ReadCase{u"abc", 0}, ReadCase{u"&H1F", 31},
        ReadCase{u"&h1f", 31}, ReadCase{u"&O17", 15}, ReadCase{u"&o18", 1}, ReadCase{u"&H", 0},
        ReadCase{u"&X1", 0}, ReadCase{u"1e3", 1000}, ReadCase{u"1E+2", 100},
        ReadCase{u"25e-1", 2.5}, ReadCase{u"1e", 1}, ReadCase{u"1,000", 1}, ReadCase{u"50%", 50},
        ReadCase{u"$5", 0}, ReadCase{u"-5", -5}, ReadCase{u".5", 0.5}, ReadCase{u"5.", 5},
        ReadCase{u"1.2.3", 1.2}, ReadCase{u".", 0}, ReadCase{u"-", 0}, ReadCase{u"\r5", 0},
        ReadCase{u"NaN", 0}, ReadCase{u"1e-400", 0}, ReadCase{u"-0", 0}, ReadCase{u"0.000e5", 0}));

// A Chinese input method in full-width mode: the forms read as their ASCII twins, mixed too,
// and the full-width misfits still end the number.
INSTANTIATE_TEST_SUITE_P(
    FullWidth, ReadNumberTest,
    ::testing::Values(ReadCase{u"２０", 20}, ReadCase{u"１２．５", 12.5}, ReadCase{u"－５", -5},
                      ReadCase{u"＋７", 7}, ReadCase{u"１Ｅ２", 100}, ReadCase{u"２５ｅ－１", 2.5},
                      ReadCase{u"1２", 12}, ReadCase{u"－ ３.5", -3.5}, ReadCase{u"&H１０", 16},
                      ReadCase{u"＆Ｈ１Ｆ", 0}, ReadCase{u"１，０００", 1}, ReadCase{u"５０％", 50},
                      ReadCase{u"１２ａｂｃ", 12}, ReadCase{u"１．２．３", 1.2}));

TEST(ReadNumber, HugeValuesStayFinite)
{
    EXPECT_EQ(ReadNumber(u"1e400"), DBL_MAX);
    EXPECT_EQ(ReadNumber(u"-1e400"), -DBL_MAX);
    EXPECT_EQ(ReadNumber(u"0.0001e99999999999999999999"), DBL_MAX);
    EXPECT_EQ(ReadNumber(u"123e-99999999999999999999"), 0.0);
    EXPECT_EQ(ReadNumber(std::u16string(400, u'9')), DBL_MAX);
    EXPECT_EQ(ReadNumber(u"&H" + std::u16string(1000, u'F')), DBL_MAX);
    const std::u16string manyDigits = u"3" + std::u16string(100000, u'0') + u"e-100000";
    EXPECT_DOUBLE_EQ(ReadNumber(manyDigits), 3.0);
}

struct Int16Case
{
    double value;
    std::optional<std::int16_t> expected;
};

// Names the row instead of GoogleTest's byte dump, which reads the padding.
void PrintTo(const Int16Case& c, std::ostream* os)
{
    *os << c.value;
}

class ToInt16Test : public ::testing::TestWithParam<Int16Case>
{
};

TEST_P(ToInt16Test, RoundsHalfToEvenWithinSixteenBits)
{
    EXPECT_EQ(ToInt16(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ToInt16Test,
    ::testing::Values(Int16Case{2.5, 2}, Int16Case{3.5, 4}, Int16Case{-2.5, -2}, Int16Case{4.5, 4},
                      Int16Case{2.4999, 2}, Int16Case{2.5001, 3}, Int16Case{32767, 32767},
                      Int16Case{32767.4, 32767}, Int16Case{32767.5, std::nullopt},
                      Int16Case{-32768, -32768}, Int16Case{-32768.5, -32768},
                      Int16Case{-32768.6, std::nullopt}, Int16Case{40000, std::nullopt},
                      Int16Case{DBL_MAX, std::nullopt}, Int16Case{NAN, std::nullopt},
                      Int16Case{INFINITY, std::nullopt}));

// The conversions chained the way the settings boxes use them.
TEST(ToInt16, FromTypedText)
{
    EXPECT_EQ(ToInt16(ReadNumber(u"2.5")), 2);
    EXPECT_EQ(ToInt16(ReadNumber(u"3.5")), 4);
    EXPECT_EQ(ToInt16(ReadNumber(u"-32768")), -32768);
    EXPECT_EQ(ToInt16(ReadNumber(u"32767.5")), std::nullopt);
    EXPECT_EQ(ToInt16(ReadNumber(u"40000")), std::nullopt);
    EXPECT_EQ(ToInt16(ReadNumber(u"1e400")), std::nullopt);
}

TEST(FloorToInt16, FloorsTowardMinusInfinity)
{
    EXPECT_EQ(FloorToInt16(9.99), 9);
    EXPECT_EQ(FloorToInt16(-0.01), -1);
    EXPECT_EQ(FloorToInt16(-32768.0), -32768);
    EXPECT_EQ(FloorToInt16(32768.0), std::nullopt);
    EXPECT_EQ(FloorToInt16(-32768.5), std::nullopt);
    EXPECT_EQ(FloorToInt16(NAN), std::nullopt);
}

TEST(DecimalText, PlainDigitsWithMinusForNegatives)
{
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(17), u"17");
    EXPECT_EQ(DecimalText(-32768), u"-32768");
}

} // namespace
} // namespace sumvarl
