#include "model/Rounding.h"

#include <gtest/gtest.h>
#include <cmath>

TEST(Rounding, HalfEvenTiesGoToTheEvenNeighbour)
{
    const struct { double in, out; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999999, 2}, {2.5000001, 3}, {-2.5000001, -3}, {1e15 + 0.5, 1e15}, {7, 7},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(Rounding, WholeNumberConversionsRefuseOverflow)
{
    EXPECT_EQ(ToInt16(32767.4), int16_t(32767));
    EXPECT_FALSE(ToInt16(32767.5)); // rounds to 32768
    EXPECT_EQ(ToInt16(-32768.5), int16_t(-32768)); // tie to the even -32768
    EXPECT_FALSE(ToInt16(-32769));
    EXPECT_FALSE(ToInt16(std::nan("")));
    EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
    EXPECT_FALSE(ToInt32(2147483647.5));
    EXPECT_EQ(ToInt32(-2147483648.0), int32_t(-2147483647 - 1));
    EXPECT_FALSE(ToInt32(INFINITY));
}

TEST(Rounding, DisplayRoundsHalvesAwayFromZeroOnTheTypedDigits)
{
    const struct { float v; int d; const char *out; } cases[] = {
        {0.25f, 1, "0.3"},  {0.35f, 1, "0.4"},  {2.45f, 1, "2.5"},  {-0.25f, 1, "-0.3"},
        {2.5f, 0, "3"},     {-2.5f, 0, "-3"},   {99.95f, 1, "100.0"}, {-0.04f, 1, "0.0"},
        {12.345f, 2, "12.35"}, {1e-7f, 3, "0.000"}, {123456.8f, 0, "123457"}, {0.0005f, 3, "0.001"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatDecimals(c.v, c.d), QString::fromLatin1(c.out)) << c.v << " " << c.d;
    EXPECT_EQ(FormatDecimals(0.125, 2), QStringLiteral("0.13"));
    EXPECT_EQ(FormatDecimals(1e20, 0), QStringLiteral("100000000000000000000"));
}

TEST(Rounding, PatternsAndGeneralForm)
{
    EXPECT_EQ(FormatPattern(25.0f, QStringLiteral("#0.0")), QStringLiteral("25.0"));
    EXPECT_EQ(FormatPattern(0.5f, QStringLiteral("0.00")), QStringLiteral("0.50"));
    EXPECT_EQ(FormatPattern(2.5, QStringLiteral("x")), QStringLiteral("2.5"));
    const struct { float v; const char *out; } general[] = {
        {3.0f, "3"}, {0.1f, "0.1"}, {1e-5f, "1E-05"}, {12345678.0f, "1.234568E+07"}, {-0.0f, "0"},
    };
    for (const auto &c : general)
        EXPECT_EQ(GeneralNumber(c.v), QString::fromLatin1(c.out)) << c.out;
}
