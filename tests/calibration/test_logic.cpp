#include "calibration/CalibrationLogic.h"
#include "mainwindow/GasGridRules.h"
#include "model/modGasCommon.h"
#include "model/clsInstrument.h"
#include "sim/samples/SampleRecord.h"
#include <gtest/gtest.h>

namespace {

// The demo instrument (0 is catalytic, 100 %LEL = 50000 ppm), with an H2S step of 0.5.
clsInstrument instrument()
{
    clsInstrument inst = DemoRecord();
    inst.setGasDesit(2, 0.5f);
    return inst;
}

std::array<bool, kCalChannels> ticks(std::initializer_list<int> chs)
{
    std::array<bool, kCalChannels> t{};
    for (int ch : chs)
        t[ch] = true;
    return t;
}

std::array<QString, kCalChannels> texts(std::initializer_list<const char *> list)
{
    std::array<QString, kCalChannels> t;
    int i = 0;
    for (const char *s : list)
        t[i++] = QString::fromLatin1(s);
    return t;
}

} // namespace

TEST(CalLogic, NumericTextEmptyAndDashes)
{
    double v = 0;
    EXPECT_TRUE(IsNumericText(QStringLiteral(" 1e2 "), &v));
    EXPECT_DOUBLE_EQ(v, 100.0);
    for (const char *bad : {"", "-----", "abc", "1,5", "inf", "nan", "1e999", "5 ppm", "--5"})
        EXPECT_FALSE(IsNumericText(QString::fromLatin1(bad))) << bad;
    const clsInstrument inst = instrument();
    const SpanEdit blank = ValidateSpanText(inst, 2, QStringLiteral("   "));
    EXPECT_TRUE(blank.accepted && blank.untick);
    EXPECT_EQ(blank.text, QStringLiteral("0"));
    const SpanEdit dashes = ValidateSpanText(inst, 2, QStringLiteral("-----"));
    EXPECT_TRUE(dashes.accepted && !dashes.untick);
    EXPECT_EQ(dashes.text, QStringLiteral("0.0"));
    EXPECT_FALSE(ValidateSpanText(inst, 0, QStringLiteral("abc")).accepted);
}

TEST(CalLogic, ValidateLimitsAndStep)
{
    const clsInstrument inst = instrument();
    // Above full scale, below zero, short of the warning point: refused, text reformatted.
    SpanEdit e = ValidateSpanText(inst, 2, QStringLiteral("31"));
    EXPECT_FALSE(e.accepted);
    EXPECT_EQ(e.text, QStringLiteral("31.0"));
    for (const char *t : {"4.9", "-1", "1e30"})
        EXPECT_FALSE(ValidateSpanText(inst, 2, QString::fromLatin1(t)).accepted) << t;
    for (const char *t : {"5", "30"})
        EXPECT_TRUE(ValidateSpanText(inst, 2, QString::fromLatin1(t)).accepted) << t;

    // Oxygen reversed: at or below the warning point, or exactly 0.
    EXPECT_TRUE(ValidateSpanText(inst, 1, QStringLiteral("18")).accepted);
    EXPECT_TRUE(ValidateSpanText(inst, 1, QStringLiteral("0")).accepted);
    EXPECT_FALSE(ValidateSpanText(inst, 1, QStringLiteral("20.9")).accepted);

    // H2S step 0.5: 12.25 is 24.5 steps, which goes to the even 24.
    e = ValidateSpanText(inst, 2, QStringLiteral("12.25"));
    EXPECT_TRUE(e.accepted);
    EXPECT_EQ(e.text, QStringLiteral("12.0"));
    e = ValidateSpanText(inst, 2, QStringLiteral("12.75"));
    EXPECT_EQ(e.text, QStringLiteral("13.0"));
    e = ValidateSpanText(inst, 3, QStringLiteral("100.4"));
    EXPECT_EQ(e.text, QStringLiteral("100"));

    // A step of 0, or one so fine that the count of steps leaves 32 bits.
    clsInstrument odd = instrument();
    odd.setGasDesit(3, 0);
    EXPECT_FALSE(ValidateSpanText(odd, 3, QStringLiteral("100")).accepted);
    odd.setGasDesit(3, 1e-8f);
    EXPECT_FALSE(ValidateSpanText(odd, 3, QStringLiteral("100")).accepted);

    // The main grid's rounding: a 50000 ppm scale in steps of 1 holds more than 32767 steps.
    odd.setGasFullScale(3, 50000);
    odd.setGasDesit(3, 1);
    for (const char *t : {"40000", "32767.5", "50000"}) {
        const SpanEdit span = ValidateSpanText(odd, 3, QString::fromLatin1(t));
        const GasGrid::Entry cell = GasGrid::CheckEntry(odd, GasGrid::RowOfChannel(3), GasGrid::ColAutoCal,
                                                        QString::fromLatin1(t), false);
        EXPECT_TRUE(span.accepted) << t;
        ASSERT_EQ(cell.action, GasGrid::Entry::Action::Store) << t;
        EXPECT_EQ(span.text, FormatValue(cell.value, 0)) << t;
    }
}

TEST(CalLogic, RequestFieldsAndTheCatalyticConversion)
{
    clsInstrument inst = instrument();
    // 50 %LEL of a 100 %LEL scale with 50000 ppm at 100 %LEL: 25000 = 61A8.
    SpanRequest r = BuildSpanRequest(inst, ticks({0}), texts({"50"}));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.request, QStringLiteral("1000000,61A8,0000,0000,0000,0000,0000,0000"));
    inst.setGasType(0, 4); // infrared: the value goes as typed
    r = BuildSpanRequest(inst, ticks({0, 2}), texts({"50", "20.9", "25.0", "100"}));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.request, QStringLiteral("1010000,0032,0000,00FA,0000,0000,0000,0000"));
    r = BuildSpanRequest(inst, ticks({}), texts({"50"}));
    EXPECT_FALSE(r.ok() || r.anySelected());
    EXPECT_EQ(r.badChannel, -1);
}

TEST(CalLogic, RequestRefusesTickedChannelWithoutUsableValue)
{
    clsInstrument inst = instrument();
    // Not a number, zero on a toxic gas, a value rounding to nothing, above full scale.
    for (const char *bad : {"-----", "*****", "0", "0.0", "0.04", "31"}) {
        const SpanRequest r = BuildSpanRequest(inst, ticks({2, 3}), texts({"", "", bad, "100"}));
        EXPECT_FALSE(r.ok()) << bad;
        EXPECT_EQ(r.badChannel, 2) << bad;
    }
    // Zero is a real point for oxygen ("--" typed there becomes 0.0).
    const SpanRequest oxy = BuildSpanRequest(inst, ticks({1}), texts({"", "0.0"}));
    ASSERT_TRUE(oxy.ok());
    EXPECT_EQ(oxy.request, QStringLiteral("0100000,0000,0000,0000,0000,0000,0000,0000"));
    // An unticked channel's text does not matter.
    EXPECT_TRUE(BuildSpanRequest(inst, ticks({3}), texts({"junk", "", "", "100"})).ok());
    // No division by zero: no ppm per scale, a zero scale, a scale not set.
    inst.setFL_(0, 0);
    EXPECT_EQ(BuildSpanRequest(inst, ticks({0}), texts({"50"})).badChannel, 0);
    inst = instrument();
    inst.setGasFullScale(0, 0);
    EXPECT_EQ(BuildSpanRequest(inst, ticks({0}), texts({"0"})).badChannel, 0);
    inst.setGasFullScale(0, -101);
    EXPECT_EQ(BuildSpanRequest(inst, ticks({0}), texts({"50"})).badChannel, 0);
}

TEST(CalLogic, RequestRefusesValuesBeyondFourHexDigits)
{
    clsInstrument inst = instrument();
    inst.setGasType(3, 4);
    inst.setGasFullScale(3, 5e6f);
    // Wide words still fit (60000 is D064) ...
    EXPECT_EQ(SpanField(inst, 3, QStringLiteral("60000")), QStringLiteral("D064"));
    // ... up to FFFF, which the instrument reads as "not set"; past it nothing fits.
    EXPECT_EQ(SpanField(inst, 3, QStringLiteral("1278700")), QString());
    EXPECT_EQ(SpanField(inst, 3, QStringLiteral("2000000")), QString());
    // DDDD would read as "no value".
    EXPECT_EQ(SpanField(inst, 3, QStringLiteral("404900")), QString());
    EXPECT_EQ(SpanField(inst, 3, QStringLiteral("404800")), QStringLiteral("DDDC"));
}

TEST(CalLogic, ReportLines)
{
    const clsInstrument inst = instrument();
    const std::array<float, kCalChannels> readings{3.0f, 20.9f, 12.34f, -101, 0, 0, 0};
    const int digits[] = {1, 0, 2, 7, 1, 1, 1};
    const QString report = CalReportLines(inst, ticks({0, 1, 2, 3}), [&](int ch) { return digits[ch]; }, readings);
    EXPECT_EQ(report, QStringLiteral("CH4  Adjustment Complete.\r\nOXY(20.9) Failed\r\nH2S No Action\r\n"));
    // A status that is not stored (-1) and unreported channels give nothing.
    EXPECT_EQ(CalReportLines(inst, ticks({0}), [](int) { return -1; }, readings), QString());
    EXPECT_EQ(CalReportLines(inst, ticks({}), [](int) { return 1; }, readings), QString());
}
