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

TEST(GasCommon, ReadingOverPatternsAndLabels)
{
    EXPECT_EQ(FormatReading(-0.1f, 1), QStringLiteral("-----"));
    EXPECT_EQ(FormatReading(-101, 1), QStringLiteral("-----"));
    EXPECT_EQ(FormatReading(20.95f, 1), QStringLiteral("21.0"));
    EXPECT_EQ(FormatReading(7.5f, 4), QStringLiteral("8"));

    const struct { const char *shown; float fullScale; const char *out; } over[] = {
        {"12.5", -101, "-----"}, {"20", 20, "20"}, {"20.1", 20, "OVER"}, {"-0.1", 20, "OVER"},
        {"NORMAL", 20, "NORMAL"}, {"*****", 20, "*****"},
    };
    for (const auto &c : over)
        EXPECT_EQ(OverText(QString::fromLatin1(c.shown), c.fullScale), QString::fromLatin1(c.out)) << c.shown;
    EXPECT_EQ(DigitFormat(9), QStringLiteral("#0.000000000"));
    EXPECT_EQ(DigitFormat(10), QString());
    EXPECT_EQ(DigitFormat(-1), QString());
    const struct { const char *name, *unit; float fullScale; int digits; const char *out; } labels[] = {
        {"OXY", "vol%", 25, 1, "OXY(25.0vol%)"}, {"H2S", "ppm", 99.95f, 1, "H2S(100.0ppm)"},
        {"H2S", "ppm", -1, 1, "H2S(ppm)"},       {"CH4", "%LEL", 100, 12, "CH4(100%LEL)"},
        {"---", "ppm", 5, 0, "---(---)"},        {"   ", "ppm", 5, 0, "---(---)"},
    };
    for (const auto &c : labels)
        EXPECT_EQ(GasLabel(c.name, c.unit, c.fullScale, c.digits), QString::fromLatin1(c.out)) << c.out;
}

TEST(GasCommon, RoundToStepRefusesZeroStepAndOverflow)
{
    const struct { float v, step, out; bool ok; } cases[] = {
        {0.15f, 0.1f, 0.2f, true}, {0.25f, 0.1f, 0.2f, true}, {0.35f, 0.1f, 0.4f, true}, // ties to the even step
        {12.5f, 5.0f, 10.0f, true}, {-3.0f, 0.0f, 0.0f, true}, {32767.0f, 1.0f, 32767.0f, true},
        {5.0f, 0.0f, 0.0f, false},  {40000.0f, 1.0f, 0.0f, false}, {1.0f, 1e-6f, 0.0f, false},
    };
    for (const auto &c : cases) {
        bool ok = !c.ok;
        EXPECT_FLOAT_EQ(RoundToStep(c.v, c.step, &ok), c.out) << c.v << " " << c.step;
        EXPECT_EQ(ok, c.ok) << c.v << " " << c.step;
    }
    bool ok = false;
    EXPECT_FLOAT_EQ(RoundToStepWide(50000.0f, 1.0f, &ok), 50000.0f);
    EXPECT_TRUE(ok);
    EXPECT_FLOAT_EQ(RoundToStepWide(3.0e9f, 1.0f, &ok), 0.0f);
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
    for (const auto &[code, value] : {std::pair{0xC350, 50000}, std::pair{0xD000, 50001}, std::pair{0xD001, 50100}, std::pair{0xD064, 60000}})
        EXPECT_EQ(DecodeWide(code), value) << code;
    EXPECT_EQ(DecodeWide(0xFFFFFFFFLL), (0xFFFFFFFFLL - 0xD000) * 100 + 50000); // no overflow
    for (int32_t v = 0; v <= 2000000; v += (v < 60000 ? 1 : 97)) {
        const int32_t code = EncodeWide(v);
        ASSERT_EQ(EncodeWide(int32_t(DecodeWide(code))), code) << v;
    }
    for (int32_t code = 0xD000; code <= 0xFFFF; ++code)
        ASSERT_EQ(EncodeWide(int32_t(DecodeWide(code))), code) << code;
}

TEST(GasCommon, ValueToHexAndBack)
{
    const struct { float v; int d; const char *hex; float back; } cases[] = {
        {25, 1, "00FA", 25},      {-121, 1, "DDDD", -121}, {-101, 3, "FFFF", -101}, {-118, 0, "FEFE", -118},
        {-5, 1, "0000", 0},       {-0.5f, 0, "0000", 0},   {5000, 1, "C350", 5000}, {50001, 0, "D000", 50001},
        {6000, 1, "D064", 6000},  {2.5f, 0, "0002", 2},    {3.5f, 0, "0004", 4},    {19.5f, 1, "00C3", 19.5f},
        {4999.9f, 1, "C34F", 4999.9f}, {0.001f, 3, "0001", 0.001f},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ValueToHex(c.v, c.d), QString::fromLatin1(c.hex)) << c.v << " " << c.d;
        bool ok = false;
        EXPECT_NEAR(HexToValue(QString::fromLatin1(c.hex).toLower(), c.d, &ok), c.back, 1e-3) << c.hex;
        EXPECT_TRUE(ok) << c.hex;
    }
    bool ok = true;
    EXPECT_EQ(ValueToHex(1e10f, 0, &ok), QString());
    EXPECT_FALSE(ok);
    EXPECT_FLOAT_EQ(HexToValue("FFFFFFFF", 0), -1);
    for (const char *bad : {"", "XYZ", "12G4", "&H12", "123456789", "1 2", "-1"}) {
        ok = true;
        EXPECT_FLOAT_EQ(HexToValue(QString::fromLatin1(bad), 1, &ok), 0) << bad;
        EXPECT_FALSE(ok) << bad;
    }
}

// Text back to a value: "&H" and hex digits give the three instrument words, else the wide
// decode scaled by the decimals; other text is known by its first three letters.
TEST(GasCommon, TextToValue)
{
    const struct { const char *text; int digits; float out; } cases[] = {
        {"&HDDDD", 1, -121},   {"&HFEFE", 2, -118},  {"&HFFFF", 3, -101}, {"&H00FA", 1, 25},
        {"&HC350", 0, 50000},  {"&HD000", 0, 50001}, {"&HD064", 0, 60000}, {"&HD001", 2, 501},
        {"OVER", 0, -107},     {"FAIL", 1, -110},    {"WARNING", 0, -103}, {"ALRM", 0, -104},
        {"STEL", 0, -105},     {"TWA", 0, -106},     {"MAX", 0, -115},     {"MINIMUM", 0, -116},
        {"NORMAL", 0, -102},   {"12", 1, 1.2f},      {"1.5", 1, 0.15f},
    };
    for (const auto &c : cases) {
        bool ok = false;
        EXPECT_FLOAT_EQ(TextToValue(QString::fromLatin1(c.text), c.digits, &ok), c.out) << c.text;
        EXPECT_TRUE(ok) << c.text;
    }
    // "ALA" is no word of its own (the alarm's is "ALR"); "&H" needs hex digits.
    for (const char *bad : {"ALARM", "OV", "hello", "", "&H", "&HZZ", "&H12G4"}) {
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
    // A warning point is reached from below, on OXY (exactly that name) from above; a not-set
    // point (negative) and a PID channel take any value, OXY also 0.
    const struct { const char *name; int type; float warning, value; bool reached; } cases[] = {
        {"CH4", 0, 10, 9.9f, false}, {"CH4", 0, 10, 10, true},       {"CH4", 5, 10, 1, true},
        {"CH4", 0, -101, 1, true},   {"OXY", 0, 19.5f, 20.9f, false}, {"OXY", 0, 19.5f, 19.5f, true},
        {"OXY", 0, 19.5f, 0, true},  {"OXY", 0, -121, 20.9f, true},   {"OXY ", 0, 19.5f, 20.9f, true},
    };
    for (const auto &c : cases) {
        clsInstrument r;
        r.setGasName(3, c.name);
        r.setGasType(3, int16_t(c.type));
        r.setWarning(3, c.warning);
        EXPECT_EQ(PointReached(r, 3, c.value), c.reached) << c.name << " " << c.warning << " " << c.value;
    }
}

TEST(GasCommon, CatTableFollowsTheFirmware)
{
    for (const auto &[version, entries] : {std::pair{4769, 5}, std::pair{4770, 6}, std::pair{-5, 5}}) {
        SetCatTable(version);
        for (const QString *l : {&gCatName, &gCatLongName, &gCatRatio, &gCatDigit})
            EXPECT_EQ(l->split('|').size(), entries) << version;
    }
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
    r.setGasEnabled(1, 0);
    for (int ch : {0, 1})
        r.setGasPoint(ch, 3);
    r.setInert1st(5.0f);
    r.setInert2nd(10.0f);
    r.ClearChangeFlags();

    SetCatPpmCh(r);
    SetCatVolCh(r);
    EXPECT_FALSE(r.AnyChangeFlag());

    // The catalytic ppm channel scales by the ratio, the vol% one by 1/10000; inert from the OXY channel.
    EXPECT_EQ(r.GasName(7) + r.GasName(8) + r.GasName(9), QStringLiteral("CH4CH4OXY"));
    EXPECT_EQ((QList<float>{r.GasFullScale(7), r.Alarm(7), r.GasFullScale(8), r.GasDesit(8), r.Warning(8),
                            r.GasFullScale(9), r.Warning(9), r.Alarm(9)}),
              (QList<float>{50000, 10000, 5, 0.05f, 0.5f, 40, 5, 10}));
    EXPECT_EQ(r.GasEnabled(7), -1);
    EXPECT_EQ(r.GasEnabled(9), 0);
    // The points keep their own decimals whatever their source channel shows, the same that
    // the settings lines scale them with.
    EXPECT_EQ((QList<int>{r.GasPoint(7), r.GasPoint(8), r.GasPoint(9)}), (QList<int>{kCatPpmPoint, kCatVolPoint, kInertPoint}));
}
