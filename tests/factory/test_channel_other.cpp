#include "factory/FsRulesChannel.h"
#include "factory/FsRulesOther.h"
#include "mainwindow/modMainWindow.h"
#include "model/clsInstrument.h"

#include <gtest/gtest.h>

using FsChannel::Ticks;

TEST(ChannelRules, OneGasPerPositionAndNeverTheLastTick)
{
    clsInstrument inst;
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setUG_(0, 5);
        inst.setUG_(1, 2);
    }
    Ticks t = FsChannel::TicksOf(inst);
    EXPECT_TRUE(t[0][0] && t[0][2] && !t[0][1]);
    EXPECT_TRUE(t[1][1]);

    auto next = FsChannel::Toggle(t, 2, 2);           // H2S takes Ch2 from OXY
    ASSERT_TRUE(next);
    EXPECT_TRUE((*next)[2][1]);
    EXPECT_FALSE((*next)[1][1]);
    next = FsChannel::Toggle(t, 3, 4);                // a free position changes no other row
    ASSERT_TRUE(next);
    EXPECT_EQ(FsChannel::TicksOf(inst)[0], (*next)[0]);
    EXPECT_TRUE(FsChannel::Toggle(t, 0, 1));          // two other ticks remain

    Ticks one{};
    one[4][5] = true;
    EXPECT_FALSE(FsChannel::Toggle(one, 4, 6));       // the last tick stays
    EXPECT_FALSE(FsChannel::Toggle(one, 7, 1));
}

TEST(ChannelRules, ApplyKeepsHighBitsAndFlagsOnlyRealChanges)
{
    clsInstrument inst;
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setUG_(0, 0x41);   // bit 6 beyond the six positions
        inst.setUG_(1, 32);     // Ch6
        inst.setUG_(2, 0x80);   // high bit only: in no position
    }
    Ticks t = FsChannel::TicksOf(inst);
    FsChannel::ApplyChannelMap(inst, t);
    for (int g = 0; g < FsChannel::kGases; ++g) {
        EXPECT_FALSE(inst.Change_UG_(g)) << g;
        EXPECT_FALSE(inst.Change_GasEnable(g)) << g;
    }
    EXPECT_EQ(inst.UG_(0), 0x41);

    t[0] = {true, true, true, true, true, true};
    t[1] = {};
    FsChannel::ApplyChannelMap(inst, t);
    EXPECT_EQ(inst.UG_(0), 0x7F);
    EXPECT_EQ(inst.GasEnabled(0), -1);
    EXPECT_EQ(inst.UG_(1), 0);
    EXPECT_EQ(inst.GasEnabled(1), 0);
    EXPECT_TRUE(inst.Change_UG_(1));
    EXPECT_FALSE(inst.Change_UG_(2));
}

TEST(OtherRules, ZeroSuppressAndMEValues)
{
    for (const char *ok : {"0", "1", "2", "3"})
        EXPECT_TRUE(FsOther::ZeroSuppressAcceptable(ok));
    for (const char *bad : {"4", "-1", "10", "", "a"})
        EXPECT_FALSE(FsOther::ZeroSuppressAcceptable(bad)) << bad;

    EXPECT_EQ(FsOther::MEValue(1, 1, "29"), std::nullopt);
    EXPECT_EQ(FsOther::MEValue(1, 2, "256"), std::nullopt);
    EXPECT_EQ(FsOther::MEValue(1, 1, "030"), "30");
    EXPECT_EQ(FsOther::MEValue(1, 1, "29.5"), "30");   // half to even
    EXPECT_EQ(FsOther::MEValue(1, 1, "254.5"), "254");
    EXPECT_EQ(FsOther::MEValue(2, 1, "12.6"), std::nullopt);
    EXPECT_EQ(FsOther::MEValue(2, 2, "12.6"), "13");
    EXPECT_EQ(FsOther::MEValue(2, 2, "0"), "0");
    EXPECT_EQ(FsOther::MEValue(2, 2, "41"), std::nullopt);
    EXPECT_EQ(FsOther::MEValue(2, 3, "255"), "255");
    EXPECT_EQ(FsOther::MEValue(2, 3, "100.00"), std::nullopt); // six characters
    EXPECT_EQ(FsOther::MEValue(3, 1, "100"), std::nullopt);
    EXPECT_EQ(FsOther::MEValue(1, 1, "abc"), std::nullopt);
}

TEST(OtherRules, ApplyWritesChangedSwitchesAndLoadsRangeParameters)
{
    FillReferenceTables();
    clsInstrument inst;
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setAltRng(2, 0);
        inst.setAltRng(3, 7);   // a value the box cannot show
        inst.setZero(0, -1);
        inst.setZeroForce(0, 2);
        inst.setGasType(5, 5);
        inst.setPIDSmallRange(5, 1);
        inst.setAlarmO2(9);     // no oxygen pattern of that number
        inst.setHH_(0, 100);
    }
    const clsInstrument before = inst;
    FsOther::OtherSet grid;
    for (int ch = 0; ch < 7; ++ch) {
        grid.altRange[ch] = ch >= 1 && ch <= 3 ? 2 : 0;
        grid.zero[ch] = 2;
        grid.zeroSuppress[ch] = QString::number(inst.ZeroForce(ch));
        grid.pidHigh[ch] = inst.GasType(ch) == 5 ? 2 : 0;
    }
    grid.zeroSuppress[1] = "-----";
    FsOther::ApplyOtherSet(inst, grid);   // as shown: nothing changes
    EXPECT_FALSE(inst.AnyChangeFlag());

    grid.altRange[2] = 1;
    grid.altRange[1] = 1;
    grid.zeroSuppress[0] = "3";
    grid.pidHigh[5] = 1;
    FsOther::ApplyOtherSet(inst, grid);
    EXPECT_EQ(inst.AltRng(2), 1);
    const RangeSpec &s = gRangeSpecs[1][2];
    EXPECT_EQ(inst.GasFullScale(2), s.FullScale);
    EXPECT_EQ(inst.Warning(2), s.Warning);
    EXPECT_EQ(inst.AutoCalib(2), s.AutoCalib);
    EXPECT_EQ(inst.GasFullScale(1), gRangeSpecs[1][1].FullScale);
    EXPECT_EQ(inst.Warning(1), before.Warning(1));   // pattern 9 has no table entry
    EXPECT_FALSE(inst.Change_AltRng(3));
    EXPECT_EQ(inst.ZeroForce(0), 3);
    EXPECT_EQ(inst.PIDSmallRange(5), 0);
    EXPECT_FALSE(inst.Change_Zero(0));

    FsOther::MEGrid me;
    me[1] = {"", "100", "40", ""};
    me[2] = {"", "0", "0", "0"};
    FsOther::ApplyME(inst, me);
    EXPECT_FALSE(inst.Change_HH_(0));
    EXPECT_TRUE(inst.Change_HH_(1));
    EXPECT_EQ(inst.HH_(1), 40);
    EXPECT_FALSE(inst.Change_HE_(0));
    EXPECT_FALSE(inst.Change_SI_(0));   // empty cells write nothing
}

// ---- through the dialog -------------------------------------------------------------------

#include "FsFixture.h"
#include "../mainwindow/MainFixture.h"
#include <QTimer>

namespace {

class ChannelDialog : public FsFixture
{
protected:
    void SetUp() override
    {
        FsFixture::SetUp();
        clsInstrument::DeviceDoor door(rec());
        rec().setUG_(0, 0x41);   // Ch1 and a bit beyond the six positions
        rec().setUG_(1, 2);
        rec().setGasType(5, 5);
        rec().setGasName(5, "VOC");
        rec().setPIDName(3, "VOC");
        rec().setGasType(6, 5);
        rec().setGasName(6, "XYZ");
        rec().setHH_(0, 100);
        rec().setHH_(1, 20);
        rec().setInertOnOff(1);
    }
    int checked(FlexGrid *g, int r, int c) { return g->Cell(FlexGrid::SetChecked, r, c).toInt(); }
    // Clicks a check cell as the user does (BeforeEdit, ValidateEdit, toggle, AfterEdit).
    void Toggle(FlexGrid *g, int r, int c)
    {
        g->setRow(r);
        g->setCol(c);
        g->SetFocus();
        QTest::keyClick(g->view(), Qt::Key_Space);
    }
};

} // namespace

TEST_F(ChannelDialog, OneGasPerPositionAndTheLastTickStays)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(2);
    FlexGrid *g = dlg->vfgChannel;
    ASSERT_EQ(g->Rows(), 8);
    EXPECT_EQ(g->TextMatrix(0, 6), "Ch6");
    EXPECT_EQ(g->TextMatrix(4, 0), "CO ");
    EXPECT_EQ(checked(g, 1, 1), FlexGrid::Checked);
    EXPECT_EQ(checked(g, 2, 2), FlexGrid::Checked);
    Toggle(g, 3, 2);                                   // H2S takes Ch2 from OXY
    EXPECT_EQ(checked(g, 3, 2), FlexGrid::Checked);
    EXPECT_EQ(checked(g, 2, 2), FlexGrid::Unchecked);
    Toggle(g, 3, 2);
    EXPECT_EQ(checked(g, 3, 2), FlexGrid::Unchecked);  // Ch1 still ticked elsewhere
    Toggle(g, 1, 1);
    EXPECT_EQ(checked(g, 1, 1), FlexGrid::Checked);    // the last tick of the map
    EXPECT_TRUE(dlg->CheckChannelGrid());

    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().UG_(0), 0x41);                      // the bit beyond the grid survives
    EXPECT_FALSE(rec().Change_UG_(0));
    EXPECT_EQ(rec().UG_(1), 0);
    EXPECT_EQ(rec().GasEnabled(1), 0);
    EXPECT_TRUE(rec().Change_UG_(1));
}

TEST_F(ChannelDialog, OtherSettingsAndMEValues)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(2);
    FlexGrid *o = dlg->vfgOtherSet;
    EXPECT_EQ(o->TextMatrix(0, 3), "Zero Suppress");
    EXPECT_EQ(o->TextMatrix(2, 3), "-----");
    EXPECT_FALSE(OpenCell(o, 2, 3));                   // OXY has no zero suppress
    for (const char *bad : {"4", "-1", "10", "a"})
        EXPECT_FALSE(Edit(o, 1, 3, bad)) << bad;
    EXPECT_TRUE(Edit(o, 1, 3, "3"));
    EXPECT_EQ(Back(o, 1, 3), 16777215);
    EXPECT_EQ(checked(o, 6, 4), FlexGrid::Checked);    // PID channel 5 in the high range
    EXPECT_EQ(checked(o, 5, 4), 0);                    // no PID: no box
    Toggle(o, 7, 4);                                   // "XYZ" is no PID entry: locked
    EXPECT_EQ(checked(o, 7, 4), FlexGrid::Checked);
    Toggle(o, 6, 4);
    EXPECT_EQ(checked(o, 6, 4), FlexGrid::Unchecked);
    Toggle(o, 3, 1);                                   // H2S alternate range: inert stays
    EXPECT_EQ(edit().InertOnOff(), 1);
    Toggle(o, 2, 1);                                   // OXY alternate range: inert off
    EXPECT_EQ(edit().InertOnOff(), 0);
    EXPECT_EQ(dlg->vfgDatas[1]->TextMatrix(10, 1), "Off");

    dlg->SSTab1->setTab(4);
    FlexGrid *me = dlg->vfgME;
    EXPECT_EQ(me->TextMatrix(1, 0), "EV VALUE");
    EXPECT_FALSE(Edit(me, 1, 1, "29"));
    EXPECT_EQ(Back(me, 1, 1), 255);
    EXPECT_FALSE(Edit(me, 1, 1, "256"));
    EXPECT_TRUE(Edit(me, 1, 1, "030"));
    EXPECT_EQ(me->TextMatrix(1, 1), "30");
    EXPECT_FALSE(Edit(me, 2, 2, "41"));
    EXPECT_TRUE(Edit(me, 2, 2, "12.6"));
    EXPECT_EQ(me->TextMatrix(2, 2), "13");
    EXPECT_FALSE(OpenCell(me, 3, 1));                  // readings only
    EXPECT_FALSE(OpenCell(dlg->vfgZeroSpan, 1, 1));

    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().ZeroForce(0), 3);
    EXPECT_EQ(rec().PIDSmallRange(5), 1);
    EXPECT_EQ(rec().AltRng(1), 1);
    EXPECT_EQ(rec().GasFullScale(1), gRangeSpecs[1][1].FullScale);
    EXPECT_EQ(rec().Warning(1), gO2Warning[1][0]);
    EXPECT_EQ(rec().HH_(0), 30);
    EXPECT_EQ(rec().HE_(1), 13);
    EXPECT_EQ(rec().HH_(1), 20);
    EXPECT_FALSE(rec().Change_Zero(0));
}

TEST_F(ChannelDialog, MeDaLockedWhenTheInstrumentRefusesIt)
{
    rec().setInvalidHE_(true);
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(4);
    EXPECT_FALSE(OpenCell(dlg->vfgME, 2, 1));
    EXPECT_TRUE(OpenCell(dlg->vfgME, 1, 1));
}

// ---- a session against the simulated instrument ---------------------------------------------

class ListsSession : public MainFixture {};

TEST_F(ListsSession, EditsOfTheseTabsAreExactlyWhatTheNextUploadSends)
{
    frmFsDialog::Register();
    ASSERT_TRUE(StartAndRead());
    clsInstrument &inst = gInstrument();
    ASSERT_FALSE(inst.AnyChangeFlag());
    bool edited = false;
    QTimer::singleShot(0, [&] {
        frmFsDialog *d = frmFsDialog::Find();
        if (!d)
            return;
        edited = FsEdit(d->vfgStation, 0, 1, QStringLiteral("E2E Station"));
        d->SSTab1->setTab(1);
        edited = FsEdit(d->vfgPreConv, 1, 5, QStringLiteral("900")) && edited;
        d->SSTab1->setTab(2);
        FlexGrid *c = d->vfgChannel;
        c->setRow(4);
        c->setCol(3);
        c->SetFocus();
        QTest::keyClick(c->view(), Qt::Key_Space);
        edited = FsEdit(d->vfgOtherSet, 1, 3, QStringLiteral("3")) && edited;
        d->SSTab1->setTab(4);
        edited = FsEdit(d->vfgME, 1, 1, QStringLiteral("123")) && edited;
        d->cmdOK_Click();
    });
    Press(form->cmdFactorySetting);
    ASSERT_TRUE(edited);
    EXPECT_TRUE(boxes->prompts().isEmpty());
    EXPECT_EQ(inst.XS_(0), "E2E Station");
    EXPECT_EQ(inst.LA_alarm(0), 900.0f);
    EXPECT_EQ(inst.UG_(3) & 4, 4);
    EXPECT_EQ(inst.ZeroForce(0), 3);
    EXPECT_EQ(inst.HH_(0), 123);

    sim->clearRequests();
    ASSERT_TRUE(form->uclQL7150->SetInstrument(inst));
    QStringList writes;
    for (const QByteArray &r : sim->requests())
        if (r.mid(2, 3) == ",W,")
            writes << QString::fromLatin1(r.left(2));
    writes.sort();
    // XV (the selection) always goes; SB commits the option boards, whose zero-suppress
    // values travel on the same line as channel 0's.
    EXPECT_EQ(writes, (QStringList{"HH", "LA", "SB", "UG", "US", "XS", "XV"}));
    EXPECT_TRUE(inst.Change_GasEnable(3)); // the upload never looks at this flag
    inst.setChange_GasEnable(3, false);
    EXPECT_FALSE(inst.AnyChangeFlag());
}
