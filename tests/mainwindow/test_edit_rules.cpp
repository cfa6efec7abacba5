// The checks behind the gas grid and the text fields, without a widget: the cases the
// grid tests do not reach.
#include "GasRecord.h"
#include "core/modMain.h"
#include "mainwindow/GasGridRules.h"

#include <gtest/gtest.h>

using namespace GasGrid;

namespace {

TEST(GasRules, AlarmOrder)
{
    clsInstrument rec;
    FillGasRecord(rec);
    clsInstrument::DeviceDoor door(rec);
    auto order = [&](int ch, float w, float a) {
        rec.setWarning(ch, w);
        rec.setAlarm(ch, a);
        return CheckAlarmLevel(rec, ch);
    };
    EXPECT_FALSE(order(2, 100, 50));
    EXPECT_TRUE(order(2, 100, 100));
    EXPECT_TRUE(order(2, -101, 5)) << "not set";
    EXPECT_TRUE(order(2, 100, -121)) << "not used";
    // Oxygen: AlarmO2 = 1 wants the warning above the alarm, 0 the plain order.
    EXPECT_TRUE(order(1, 19.5f, 18));
    EXPECT_FALSE(order(1, 18, 19.5f));
    rec.setAlarmO2(0);
    EXPECT_TRUE(order(1, 18, 19.5f));
    rec.setAlarmO2(1);
    rec.setGasName(1, "OXY ");
    EXPECT_TRUE(order(1, 18, 19.5f)) << "only the exact name is oxygen";
    // Channel 9 keeps the plain order whatever its name.
    EXPECT_FALSE(order(9, 5, 3));
}

TEST(GasRules, OnlyPlainDecimalNumbers)
{
    clsInstrument rec;
    FillGasRecord(rec);
    for (const char *t : {"**", "abc", "1e3", "1,5", "1.2.3", "+", ".", "nan", "inf", "0x10"})
        EXPECT_EQ(CheckEntry(rec, 4, ColWarning, t, false).why, Refusal::NotNumeric) << t;
    for (const char *t : {"+5", "5.", ".5", " 007 "})
        EXPECT_EQ(CheckEntry(rec, 4, ColWarning, t, false).action, Entry::Action::Store) << t;
}

TEST(GasRules, CsaShareOfTheDerivedFullScales)
{
    clsInstrument rec;
    FillGasRecord(rec);
    {
        clsInstrument::DeviceDoor door(rec);
        rec.setGasFullScale(7, 20000);
    }
    EXPECT_EQ(CheckEntry(rec, kCatPpmRow, ColWarning, "12000", true).action, Entry::Action::Store);
    EXPECT_EQ(CheckEntry(rec, kCatPpmRow, ColWarning, "12010", true).why, Refusal::CsaLimit);
    EXPECT_EQ(CheckEntry(rec, kCatVolRow, ColAlarm, "3", true).action, Entry::Action::Store);
    EXPECT_EQ(CheckEntry(rec, kCatVolRow, ColAlarm, "3.01", true).why, Refusal::CsaLimit);
    EXPECT_EQ(CheckEntry(rec, kInertRow, ColAlarm, "39.9", true).action, Entry::Action::Store);
}

TEST(SerialFieldRules, KeysAndText)
{
    using namespace SerialField;
    EXPECT_EQ(FilterKey('a', 0), 'A');
    EXPECT_EQ(FilterKey(' ', 0), ' ');
    for (int k : {int('!'), int('\''), int('_'), int('{'), 9, 0xE9})
        EXPECT_EQ(FilterKey(k, 0), 0) << k;
    EXPECT_EQ(FilterKey('1', 20), 0) << "the 21st character";
    EXPECT_EQ(FilterKey(8, 20), 8);
    EXPECT_EQ(FilterKey('1', 20, 3), '1') << "typing over a selection";

    ResetCoreGlobals();
    EXPECT_TRUE(Acceptable("") && Acceptable("   AB-12") && Acceptable(QString(20, QLatin1Char('9'))));
    EXPECT_FALSE(Acceptable(QString(21, QLatin1Char('9'))));
    EXPECT_FALSE(Acceptable("ab") || Acceptable("AB_12"));
    EXPECT_FALSE(gAllowLeadBlank) << "the switch is put back";
    EXPECT_EQ(SpaceCountText("A  "), "(Left space 0)");
}

TEST(FileSuffixRules, RefusesWhatAFileNameCannotHold)
{
    for (const char *s : {"", "_lab A", "-2024.v2", "(x)"})
        EXPECT_TRUE(FileSuffixAcceptable(s)) << s;
    for (const char *s : {"a/b", "..\\x", "c:", "a*", "a?", "\"", "<", ">", "a|b", "a\tb", "\r\n"})
        EXPECT_FALSE(FileSuffixAcceptable(s)) << s;
    EXPECT_FALSE(FileSuffixAcceptable(QString(QChar(0x20AC)))) << "not single-byte";
}

} // namespace
