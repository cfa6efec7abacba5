#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"

#include <gtest/gtest.h>

TEST(GasCommon, FormatValueWordsAndDigits)
{
    const struct { float v; int d; const char *out; } cases[] = {
        // The not-set words in both their negative and their unsigned 16-bit forms.
        {-101, 1, "-----"}, {65535, 1, "-----"}, {-118, 0, "?????"}, {65278, 0, "?????"},
        {-121, 2, "*****"}, {56797, 2, "*****"}, {-102, 0, "NORMAL"}, {-116, 0, "MIN"},
        {-150, 1, "?????"}, {-180, 1, "?????"}, {-181, 0, "-181"},   {-100, 0, "-100"},
        {-101.5f, 1, "-101.5"}, {12.345f, 2, "12.35"}, {12.6f, 5, "13"}, {-0.25f, 1, "-0.3"},
        {65534, 0, "65534"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatValue(c.v, c.d), QString::fromLatin1(c.out)) << c.v;
}

TEST(GasCommon, ReadingOverAndPatterns)
{
    EXPECT_EQ(FormatReading(-0.1f, 1), QStringLiteral("-----"));
    EXPECT_EQ(FormatReading(-101, 1), QStringLiteral("-----"));
    EXPECT_EQ(FormatReading(20.95f, 1), QStringLiteral("21.0"));
    EXPECT_EQ(FormatReading(7.5f, 4), QStringLiteral("8"));

    EXPECT_EQ(OverText(QStringLiteral("12.5"), -101), QStringLiteral("-----"));
    EXPECT_EQ(OverText(QStringLiteral("20"), 20), QStringLiteral("20"));
    EXPECT_EQ(OverText(QStringLiteral("20.1"), 20), QStringLiteral("OVER"));
    EXPECT_EQ(OverText(QStringLiteral("-0.1"), 20), QStringLiteral("OVER"));
    EXPECT_EQ(OverText(QStringLiteral("NORMAL"), 20), QStringLiteral("NORMAL"));
    EXPECT_EQ(OverText(QStringLiteral("*****"), 20), QStringLiteral("*****"));

    EXPECT_EQ(DigitFormat(9), QStringLiteral("#0.000000000"));
    EXPECT_EQ(DigitFormat(10), QString());
    EXPECT_EQ(DigitFormat(-1), QString());
}

TEST(GasCommon, GasLabel)
{
    EXPECT_EQ(GasLabel("OXY", "vol%", 25, 1), QStringLiteral("OXY(25.0vol%)"));
    EXPECT_EQ(GasLabel("H2S", "ppm", 99.95f, 1), QStringLiteral("H2S(100.0ppm)"));
    EXPECT_EQ(GasLabel("H2S", "ppm", -1, 1), QStringLiteral("H2S(ppm)"));
    EXPECT_EQ(GasLabel("CH4", "%LEL", 100, 12), QStringLiteral("CH4(100%LEL)"));
    EXPECT_EQ(GasLabel("---", "ppm", 5, 0), QStringLiteral("---(---)"));
    EXPECT_EQ(GasLabel("   ", "ppm", 5, 0), QStringLiteral("---(---)"));
}

TEST(GasCommon, RoundToStepRefusesZeroStepAndOverflow)
{
    bool ok = false;
    EXPECT_FLOAT_EQ(RoundToStep(0.15f, 0.1f, &ok), 0.2f);
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(RoundToStep(0.25f, 0.1f), 0.2f); // tie to even: 2 steps
    EXPECT_FLOAT_EQ(RoundToStep(0.35f, 0.1f), 0.4f);
    EXPECT_FLOAT_EQ(RoundToStep(12.5f, 5.0f), 10.0f);
    EXPECT_FLOAT_EQ(RoundToStep(-3.0f, 0.0f, &ok), 0.0f);
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(RoundToStep(32767.0f, 1.0f, &ok), 32767.0f);
    EXPECT_TRUE(ok);

    EXPECT_FLOAT_EQ(RoundToStep(5.0f, 0.0f, &ok), 0.0f);
    EXPECT_FALSE(ok);
    EXPECT_FLOAT_EQ(RoundToStep(40000.0f, 1.0f, &ok), 0.0f);
    EXPECT_FALSE(ok);
    EXPECT_FLOAT_EQ(RoundToStepWide(50000.0f, 1.0f, &ok), 50000.0f);
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(RoundToStepWide(3.0e9f, 1.0f, &ok), 0.0f);
    EXPECT_FALSE(ok);
    RoundToStep(1.0f, 1e-6f, &ok);
    EXPECT_FALSE(ok);
}

TEST(GasCommon, HexWords)
{
    const struct { int64_t v; const char *out; } h2[] = {
        {10, "0A"}, {256, "00"}, {0x1234, "34"}, {-101, "9B"},
    };
    for (const auto &c : h2)
        EXPECT_EQ(Hex2(c.v), QString::fromLatin1(c.out)) << c.v;

    const struct { int32_t v; const char *out; } h4[] = {
        {0, "0000"},     {0xFA, "00FA"},  {50000, "C350"}, {50001, "D000"}, {50050, "D000"},
        {50051, "D001"}, {60000, "D064"}, {-101, "FF9B"},  {-1, "FFFF"},    {65535, "D09B"},
    };
    for (const auto &c : h4)
        EXPECT_EQ(Hex4(c.v), QString::fromLatin1(c.out)) << c.v;
}

TEST(GasCommon, WideCodesRoundTripForEveryValueTheEncoderProduces)
{
    EXPECT_EQ(DecodeWide(0xC350), 50000);
    EXPECT_EQ(DecodeWide(0xD000), 50001);
    EXPECT_EQ(DecodeWide(0xD001), 50100);
    EXPECT_EQ(DecodeWide(0xD064), 60000);
    EXPECT_EQ(DecodeWide(0xFFFFFFFFLL), (0xFFFFFFFFLL - 0xD000) * 100 + 50000); // no overflow
    for (int32_t v = 0; v <= 2000000; v += (v < 60000 ? 1 : 97)) {
        const int32_t code = EncodeWide(v);
        ASSERT_EQ(EncodeWide(int32_t(DecodeWide(code))), code) << v;
    }
    for (int32_t code = 0xD000; code <= 0xFFFF; ++code)
        ASSERT_EQ(EncodeWide(int32_t(DecodeWide(code))), code) << code;
}

TEST(GasCommon, ValueToHex)
{
    const struct { float v; int d; const char *out; } cases[] = {
        {25, 1, "00FA"},     {-121, 1, "DDDD"}, {-101, 3, "FFFF"}, {-118, 0, "FEFE"},
        {-5, 1, "0000"},     {-0.5f, 0, "0000"}, {5000, 1, "C350"}, {50001, 0, "D000"},
        {6000, 1, "D064"},   {2.5f, 0, "0002"},  {3.5f, 0, "0004"}, {19.5f, 1, "00C3"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ValueToHex(c.v, c.d), QString::fromLatin1(c.out)) << c.v << " " << c.d;
    bool ok = true;
    EXPECT_EQ(ValueToHex(1e10f, 0, &ok), QString());
    EXPECT_FALSE(ok);
}

TEST(GasCommon, HexToValueReportsBadText)
{
    bool ok = false;
    EXPECT_FLOAT_EQ(HexToValue("DDDD", 1, &ok), -121);
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(HexToValue("ffff", 1), -101);
    EXPECT_FLOAT_EQ(HexToValue("D000", 0), 50001);
    EXPECT_FLOAT_EQ(HexToValue("FFFFFFFF", 0), -1);
    EXPECT_FLOAT_EQ(HexToValue("0001", 3), 0.001f);
    for (const char *bad : {"", "XYZ", "12G4", "&H12", "123456789", "1 2", "-1"}) {
        ok = true;
        EXPECT_FLOAT_EQ(HexToValue(QString::fromLatin1(bad), 1, &ok), 0) << bad;
        EXPECT_FALSE(ok) << bad;
    }
    // Every value written comes back (within its last digit) through the pair.
    for (float v : {0.0f, 0.1f, 19.5f, 23.5f, 500.0f, 4999.9f, 5000.0f, 6000.0f})
        EXPECT_NEAR(HexToValue(ValueToHex(v, 1), 1), v, 1e-3) << v;
}

TEST(GasCommon, TextToValue)
{
    const struct { const char *t; int d; float out; } cases[] = {
        {"&HDDDD", 1, -121}, {"&H00FA", 1, 25}, {"&hD064", 0, 60000}, {"OVER", 0, -107},
        {"ALRM", 0, -104},   {"NORMAL", 0, -102}, {"12", 1, 1.2f},   {"1.5", 1, 0.15f},
    };
    for (const auto &c : cases) {
        bool ok = false;
        EXPECT_FLOAT_EQ(TextToValue(QString::fromLatin1(c.t), c.d, &ok), c.out) << c.t;
        EXPECT_TRUE(ok) << c.t;
    }
    for (const char *bad : {"&HZZ", "&H", "ALARM", "hello", ""}) {
        bool ok = true;
        EXPECT_FLOAT_EQ(TextToValue(QString::fromLatin1(bad), 0, &ok), 0) << bad;
        EXPECT_FALSE(ok) << bad;
    }
}

TEST(GasCommon, UnitsAndIntervals)
{
    EXPECT_EQ(UnitCode("PPM"), 0); // exact comparison; anything unknown is vol%
    for (int c = 0; c <= 3; ++c)
        EXPECT_EQ(UnitCode(UnitName(c)), c);
    EXPECT_EQ(UnitName(4), QString());

    const int seconds[] = {5, 10, 20, 30, 60, 180, 300, 600};
    for (int code = 0; code < 8; ++code) {
        EXPECT_EQ(IndexToInterval(code), seconds[code]);
        EXPECT_EQ(IntervalToCode(seconds[code]), code);
        EXPECT_EQ(IntervalToIndex(seconds[code]), code);
    }
    EXPECT_EQ(IntervalToCode(15), 0);
    EXPECT_EQ(IndexToInterval(8), 300);
    EXPECT_EQ(IndexToInterval(-1), 300);
}

TEST(GasCommon, PointReached)
{
    ResetModelGlobals();
    clsInstrument &r = gInstrument();
    r.setGasName(0, "CH4");
    r.setWarning(0, 10);
    EXPECT_FALSE(PointReached(0, 9.9f));
    EXPECT_TRUE(PointReached(0, 10));
    r.setGasType(0, 5);
    EXPECT_TRUE(PointReached(0, 1)); // PID channels take any value
    r.setGasType(0, 0);
    r.setWarning(0, -101);
    EXPECT_TRUE(PointReached(0, 1));

    r.setGasName(1, "OXY");
    r.setWarning(1, 19.5f);
    EXPECT_FALSE(PointReached(1, 20.9f));
    EXPECT_TRUE(PointReached(1, 19.5f));
    EXPECT_TRUE(PointReached(1, 0));
    r.setWarning(1, -121);
    EXPECT_TRUE(PointReached(1, 20.9f));
    r.setGasName(1, "OXY "); // not exactly "OXY": the ordinary rule
    r.setWarning(1, 19.5f);
    EXPECT_TRUE(PointReached(1, 20.9f));
    ResetModelGlobals();
}

TEST(GasCommon, CatTableFollowsTheFirmware)
{
    ResetModelGlobals();
    SetCatTable(4769);
    for (const QString *l : {&gCatName, &gCatLongName, &gCatRatio, &gCatDigit})
        EXPECT_EQ(l->split('|').size(), 5);
    SetCatTable(4770);
    for (const QString *l : {&gCatName, &gCatLongName, &gCatRatio, &gCatDigit})
        EXPECT_EQ(l->split('|').size(), 6);
    SetCatTable(-5);
    EXPECT_EQ(gCatName.split('|').size(), 5);
    ResetModelGlobals();
}

TEST(GasCommon, DerivedChannelsRaiseNoFlags)
{
    clsInstrument r;
    r.setGasName(0, "CH4");
    r.setGasFullScale(0, 100);
    r.setGasEnabled(0, -1);
    r.setFL_(0, 50000);
    r.setCATppm1st(5000);
    r.setCATppm2nd(10000);
    r.setCATvol1st(0.5f);
    r.setCATvol2nd(1.0f);
    r.setGasName(1, "OXY");
    r.setGasEnabled(1, -1);
    r.setInert1st(5.0f);
    r.setInert2nd(10.0f);
    r.ClearChangeFlags();

    SetCatPpmCh(r);
    SetCatVolCh(r);
    EXPECT_FALSE(r.AnyChangeFlag());

    // The catalytic ppm channel scales by the ratio, the vol% one by 1/10000; inert from the OXY channel.
    EXPECT_EQ(r.GasName(7), QStringLiteral("CH4"));
    EXPECT_FLOAT_EQ(r.GasFullScale(7), 50000);
    EXPECT_FLOAT_EQ(r.Alarm(7), 10000);
    EXPECT_EQ(r.GasEnabled(7), -1);
    EXPECT_FLOAT_EQ(r.GasFullScale(8), 5);
    EXPECT_FLOAT_EQ(r.GasDesit(8), 0.05f);
    EXPECT_FLOAT_EQ(r.Warning(8), 0.5f);
    EXPECT_EQ(r.GasName(9), QStringLiteral("OXY"));
    EXPECT_FLOAT_EQ(r.GasFullScale(9), 40);
    EXPECT_FLOAT_EQ(r.Alarm(9), 10);

    // A cleared record gets the same decimal places, so both sides of a file agree.
    clsInstrument cleared;
    SetCatPpmCh(cleared);
    SetCatVolCh(cleared);
    EXPECT_EQ(cleared.GasPoint(7), kCatPpmPoint);
    EXPECT_EQ(cleared.GasPoint(8), kCatVolPoint);
    EXPECT_EQ(cleared.GasPoint(9), kInertPoint);
}
