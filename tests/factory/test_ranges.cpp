// The fixed channels' reference ranges and oxygen points, as the dialog's grids apply them.
// The values are the instrument's own, written out here rather than read from the tables
// the dialog uses, so that a wrong table entry fails.
#include "FsFixture.h"
#include "factory/FsRulesSetup.h"

namespace {

class Ranges : public FsFixture {
protected:
    // The record as a download leaves it, with the alternate range and oxygen pattern given.
    void Given(int ch, int altRange, int alarmO2)
    {
        rec().ClearChangeFlags();
        clsInstrument::DeviceDoor door(rec());
        rec().setAltRng(ch, altRange);
        rec().setAlarmO2(alarmO2);
    }
    // Full scale, step, decimals | warning, alarm, STEL, TWA | span value of a channel.
    std::string Settings(int ch)
    {
        const clsInstrument &r = rec();
        auto n = [](float v) { return QString::number(v); };
        return QStringLiteral("%1 %2 %3 | %4 %5 %6 %7 | %8")
            .arg(n(r.GasFullScale(ch)), n(r.GasDesit(ch)), QString::number(r.GasPoint(ch)), n(r.Warning(ch)),
                 n(r.Alarm(ch)), n(r.Stel(ch)), n(r.Twa(ch)), n(r.AutoCalib(ch)))
            .toStdString();
    }
    void Ok()
    {
        QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
        ASSERT_TRUE(Closed()) << boxes->prompts().join('|').toStdString();
    }
};

} // namespace

// Ticking or unticking a fixed channel's alternate-range box loads that range's settings;
// the oxygen channel takes its points from the oxygen pattern in force.
TEST_F(Ranges, AlternateRangeBoxLoadsTheRangesSettings)
{
    const struct { int ch, from, alarmO2; const char *settings; } cases[] = {
        {2, 0, 0, "1000 5 0 | -121 -121 -121 -121 | 25"},   // a step of 5, no alarm points
        {2, 1, 0, "100 0.1 1 | 5 30 5 1 | 25"},             // a TWA limit of 1
        {3, 0, 0, "1000 2 0 | 24 50 200 24 | 50"},
        {3, 1, 0, "500 1 0 | 25 50 200 25 | 50"},
        {1, 0, 1, "100 1 0 | 19 18 -121 -121 | 12"},        // both points falling
        {1, 0, 2, "100 1 0 | 23 25 -121 -121 | 12"},
        {1, 1, 0, "40 0.1 1 | 19.5 23.5 -121 -121 | 12"},
        {1, 1, 1, "40 0.1 1 | 19.5 18.5 -121 -121 | 12"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.settings);
        Given(c.ch, c.from, c.alarmO2);
        ASSERT_TRUE(Open());
        dlg->SSTab1->setTab(2);
        FlexGrid *g = dlg->vfgOtherSet;
        g->setRow(c.ch + 1);
        g->setCol(1);
        g->SetFocus();
        QTest::keyClick(g->view(), Qt::Key_Space);
        Ok();
        EXPECT_EQ(rec().AltRng(c.ch), 1 - c.from);
        EXPECT_EQ(Settings(c.ch), c.settings);
    }
}

// A new oxygen pattern chosen in the set-up list brings its points for the range in force.
TEST_F(Ranges, OxygenPatternBringsItsPoints)
{
    using namespace FsSetup;
    const struct { int altRange, from, to; const char *points; } cases[] = {
        {0, 0, 1, "19.5 18.5"}, // both falling: the alarm below the warning
        {0, 1, 2, "23.5 25"},
        {0, 2, 0, "19.5 23.5"},
        {1, 0, 1, "19 18"},
        {1, 0, 2, "23 25"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.points);
        Given(1, c.altRange, c.from);
        ASSERT_TRUE(Open());
        dlg->SSTab1->setTab(4);
        FlexGrid *setUp = dlg->vfgDatas[ListSetUp];
        ASSERT_TRUE(OpenCell(setUp, SetUpRow::OxyPattern, 1));
        auto *combo = qobject_cast<QComboBox *>(setUp->Editor());
        ASSERT_TRUE(combo);
        combo->setCurrentIndex(c.to);
        QTest::keyClick(combo, Qt::Key_Return);
        Ok();
        EXPECT_EQ(rec().AlarmO2(), c.to);
        EXPECT_EQ(QStringLiteral("%1 %2").arg(rec().Warning(1)).arg(rec().Alarm(1)).toStdString(), c.points);
    }
}
