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

using Texts = std::array<QString, kCalChannels>; // the span cells' texts

} // namespace

TEST(CalLogic, ValidateTextLimitsAndStep)
{
    for (const char *bad : {"", "-----", "abc", "1,5", "inf", "nan", "1e999", "5 ppm", "--5"})
        EXPECT_FALSE(IsNumericText(QString::fromLatin1(bad))) << bad;
    clsInstrument inst = instrument();
    // Channel, typed text, accepted, the text the editor shows afterwards.
    struct Case { int ch; const char *typed; bool accepted; const char *shown; };
    const Case cases[] = {
        {2, "   ", true, "0"}, {2, "-----", true, "0.0"}, {0, "abc", false, "0"},
        {2, "31", false, "31.0"}, {2, "4.9", false, "4.9"}, {2, "-1", false, "-1.0"}, {2, " 1e2 ", false, "100.0"},
        {2, "5", true, "5.0"}, {2, "30", true, "30.0"},
        {1, "18", true, "18.0"}, {1, "0", true, "0.0"}, {1, "20.9", false, "20.9"}, // oxygen: reversed
        {2, "12.25", true, "12.0"}, {2, "12.75", true, "13.0"}, {3, "100.4", true, "100"}, // halves to even
    };
    for (const Case &c : cases) {
        const SpanEdit e = ValidateSpanText(inst, c.ch, QString::fromLatin1(c.typed));
        EXPECT_EQ(e.accepted, c.accepted) << c.ch << " " << c.typed;
        EXPECT_EQ(e.text, QString::fromLatin1(c.shown)) << c.ch << " " << c.typed;
        EXPECT_EQ(e.untick, QString::fromLatin1(c.typed).trimmed().isEmpty()) << c.typed;
    }
    // A step of 0, or one so fine that the count of steps leaves 32 bits.
    for (float step : {0.0f, 1e-8f}) {
        inst.setGasDesit(3, step);
        EXPECT_FALSE(ValidateSpanText(inst, 3, QStringLiteral("100")).accepted) << step;
    }
    // The main grid's rounding: a 50000 ppm scale in steps of 1 holds more than 32767 steps.
    inst.setGasFullScale(3, 50000);
    inst.setGasDesit(3, 1);
    for (const char *t : {"40000", "32767.5", "50000"}) {
        const SpanEdit span = ValidateSpanText(inst, 3, QString::fromLatin1(t));
        const GasGrid::Entry cell = GasGrid::CheckEntry(inst, GasGrid::RowOfChannel(3), GasGrid::ColAutoCal,
                                                        QString::fromLatin1(t), false);
        EXPECT_TRUE(span.accepted && cell.action == GasGrid::Entry::Action::Store) << t;
        EXPECT_EQ(span.text, FormatValue(cell.value, 0)) << t;
    }
}

TEST(CalLogic, RequestFieldsAndTheCatalyticConversion)
{
    clsInstrument inst = instrument();
    // 50 %LEL of a 100 %LEL scale with 50000 ppm at 100 %LEL: 25000 = 61A8.
    SpanRequest r = BuildSpanRequest(inst, ticks({0}), Texts{"50"});
    EXPECT_EQ(r.request, QStringLiteral("1000000,61A8,0000,0000,0000,0000,0000,0000"));
    inst.setGasType(0, 4); // infrared: the value goes as typed
    r = BuildSpanRequest(inst, ticks({0, 2}), Texts{"50", "20.9", "25.0", "100"});
    EXPECT_EQ(r.request, QStringLiteral("1010000,0032,0000,00FA,0000,0000,0000,0000"));
    r = BuildSpanRequest(inst, ticks({}), Texts{"50"});
    EXPECT_FALSE(r.ok() || r.anySelected() || r.badChannel != -1);
    // The full scale itself and wide words still fit (60000 is D064) ...
    EXPECT_EQ(SpanField(inst, 2, QStringLiteral("30")), QStringLiteral("012C"));
    inst.setGasType(3, 4);
    inst.setGasFullScale(3, 5e6f);
    EXPECT_EQ(SpanField(inst, 3, QStringLiteral("60000")), QStringLiteral("D064"));
    // ... up to FFFF, which the instrument reads as "not set"; past it nothing fits; DDDD would
    // read as "no value".
    for (const char *t : {"1278700", "2000000", "404900"})
        EXPECT_EQ(SpanField(inst, 3, QString::fromLatin1(t)), QString()) << t;
    EXPECT_EQ(SpanField(inst, 3, QStringLiteral("404800")), QStringLiteral("DDDC"));
}

TEST(CalLogic, RequestRefusesTickedChannelWithoutUsableValue)
{
    clsInstrument inst = instrument();
    // Not a number, zero on a toxic gas, a value rounding to nothing, above full scale: the
    // first such channel is named.
    for (const char *bad : {"-----", "*****", "0", "0.0", "0.04", "31"}) {
        const SpanRequest r = BuildSpanRequest(inst, ticks({2, 3}), Texts{"", "", bad, "junk"});
        EXPECT_FALSE(r.ok()) << bad;
        EXPECT_EQ(r.badChannel, 2) << bad;
    }
    // Zero is a real point for oxygen ("--" typed there becomes 0.0); an unticked channel's
    // text does not matter.
    const SpanRequest oxy = BuildSpanRequest(inst, ticks({1}), Texts{"junk", "0.0"});
    EXPECT_EQ(oxy.request, QStringLiteral("0100000,0000,0000,0000,0000,0000,0000,0000"));
    // No division by zero: no ppm per scale, a zero scale, a scale not set.
    inst.setFL_(0, 0);
    EXPECT_EQ(BuildSpanRequest(inst, ticks({0}), Texts{"50"}).badChannel, 0);
    inst = instrument();
    inst.setGasFullScale(0, 0);
    EXPECT_EQ(BuildSpanRequest(inst, ticks({0}), Texts{"0"}).badChannel, 0);
    inst.setGasFullScale(0, -101);
    EXPECT_EQ(BuildSpanRequest(inst, ticks({0}), Texts{"50"}).badChannel, 0);
}

// The lines themselves are the window's runs' test; a status unknown (7) or not stored (-1) gives none.
TEST(CalLogic, ReportLinesOnlyForKnownStatuses)
{
    const std::array<float, kCalChannels> readings{};
    for (int status : {7, -1})
        EXPECT_EQ(CalReportLines(instrument(), ticks({0}), [=](int) { return status; }, readings), QString()) << status;
}
