// The dialog frame: the record copy, opening on a working copy, the distribution boxes,
// the whole-grid checks of OK, OK and Cancel.
#include "FsFixture.h"
#include "factory/CopyInstrument.h"
#include "factory/FsRulesSetup.h"
#include "support/InstrumentDiff.h"
#include <QCheckBox>

using namespace FsSetup;

// ---- CopyInstrument -------------------------------------------------------------------------

TEST(CopyInstrument, ChangedOnlyWritesTheFlaggedMembersAndTheirGroups)
{
    clsInstrument src, dst;
    src.setInvalidWB(true);
    dst.setInvalidWB(false);
    src.ClearChangeFlags();
    dst.ClearChangeFlags();
    CopyInstrument(dst, src, true);
    EXPECT_FALSE(dst.AnyChangeFlag());

    src.setXS_(5, QStringLiteral("NORTH"));
    src.setLB_longname(3, QStringLiteral("Long three"));
    {
        clsInstrument::DeviceDoor door(src);
        src.setLB_name(3, QStringLiteral("L3"));
        src.setLB_fc(3, 125);
        src.setHE_(0, 4);
        src.setXS_(6, QStringLiteral("SOUTH"));
    }
    src.setHE_(1, 7);
    src.setZero(0, 1);
    src.setFL_(0, 450);
    src.setXS_(127, QStringLiteral("LAST"));  // the last entry of each kind of member
    src.setStel(6, 7.5f);
    src.setPIDWarn(2, 1, 3.5f);
    CopyInstrument(dst, src, true);
    // Everything flagged or in a flagged group came across, the ratio with its FL_; what
    // the instrument reported (invalidWB) stays.
    EXPECT_EQ(DifferentMembers(dst, src), "invalidWB(0,0): false / true; Ratio(0,0): 450 / 0; XS_(6,0):  / SOUTH");
    EXPECT_TRUE(dst.Change_XS_(5));
    for (int i = 0; i <= 2; ++i)
        EXPECT_TRUE(dst.Change_HE_(i)) << i;
    for (int ch = 0; ch <= 6; ++ch)
        EXPECT_TRUE(dst.Change_Zero(ch)) << ch;
    EXPECT_TRUE(dst.Change_SubBoard());
    EXPECT_FALSE(dst.Change_XS_(6));
}

// ---- opening, OK and Cancel -----------------------------------------------------------------

TEST_F(FsFixture, DistributionBoxesFollowAllAndThePidPair)
{
    ASSERT_TRUE(Open());
    dlg->chkAll->setChecked(true);
    for (QCheckBox *c : {dlg->chkUser, dlg->chkStation, dlg->chkConvertion, dlg->chkPID[0], dlg->chkPID[1]})
        EXPECT_TRUE(c->isChecked()) << c->objectName().toStdString();
    dlg->chkPID[1]->setChecked(false);
    EXPECT_FALSE(dlg->chkPID[0]->isChecked());
    dlg->chkStation->setChecked(false);
    EXPECT_TRUE(dlg->chkAll->isChecked());
}

TEST_F(FsFixture, UntouchedOkFlagsNothingAndKeepsTheReportedCommandGroups)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setHcMode(9);       // no entry in its list: an empty cell
        rec().setLogoDisp(7);
        rec().setDispID(1);       // shows "Off", which stands for 0
        rec().setSpecType(QStringLiteral("x"));
        rec().setBarHoleTime(5);
        rec().setInvalidWB(true);
    }
    ASSERT_TRUE(Open());
    edit().setInvalidWB(false); // as a loaded file would leave it
    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    EXPECT_TRUE(boxes->prompts().isEmpty());
    EXPECT_FALSE(rec().AnyChangeFlag());
    EXPECT_TRUE(rec().invalidWB());
    EXPECT_EQ(rec().HcMode(), 9);
    EXPECT_EQ(rec().DispID(), 1);
    EXPECT_EQ(rec().BarHoleTime(), 5);
}

TEST_F(FsFixture, CancelDiscardsAndEveryOpeningStartsAfresh)
{
    rec().setChange_AlarmMode(true);
    ASSERT_TRUE(Open());
    ASSERT_NE(dlg->EditInstrument(), &rec());
    EXPECT_FALSE(edit().AnyChangeFlag()) << "a working copy without the record's flags";
    dlg->SSTab1->setTab(4);
    ASSERT_TRUE(Pick(dlg->vfgDatas[ListSetUp], SetUpRow::Latching, 1, GetMsg(8005)));
    QTest::mouseClick(dlg->cmdCancel, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().AlarmMode(), 0);
    rec().setChange_AlarmMode(false);
    EXPECT_FALSE(rec().AnyChangeFlag());

    // Hidden and shown again, the same dialog still takes a fresh copy.
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Pick(dlg->vfgDatas[ListSetUp], SetUpRow::Latching, 1, GetMsg(8005)));
    dlg->hide();
    ASSERT_FALSE(dlg->isVisible());
    frmFsDialog *same = dlg;
    rec().setCalLimit(90);
    ASSERT_EQ(Open(), same);
    EXPECT_EQ(dlg->vfgDatas[ListSetUp]->TextMatrix(SetUpRow::Latching, 1), GetMsg(8006));
    EXPECT_EQ(dlg->vfgDatas[ListSetUp]->TextMatrix(SetUpRow::CalInterval, 1), QStringLiteral("90"));
    EXPECT_FALSE(edit().AnyChangeFlag());
}

// A red cell anywhere in a list (its last row too; never in column 0), or a count the
// table has no rows for, stops OK with the list named.
TEST_F(FsFixture, OkNamesTheListWithARedCell)
{
    ASSERT_TRUE(Open());
    auto okRefuses = [&](const QString &list) {
        boxes->clear();
        dlg->cmdOK_Click();
        return boxes->prompts() == QStringList{GetMsg(8056, list)} && boxes->calls()[0].icon() == vb::Critical && dlg
               && dlg->isVisible();
    };
    // The fixture's record has no conversion factors, which the count's check would mark.
    for (int r = 1; r <= 30; ++r)
        dlg->vfgPreConv->setTextMatrix(r, 3, QStringLiteral("1.00"));
    for (int r = 1; r <= 5; ++r)
        dlg->vfgUserConv->setTextMatrix(r, 3, QStringLiteral("1.00"));
    dlg->txtCount->setText(QStringLiteral("3"));
    dlg->vfgPID[0]->setCell(FlexGrid::SetBackColor, 2, 0, kRed);
    const struct { FlexGrid *grid; int row, col, setting; const char *list; } red[] = {
        {dlg->vfgUser, 31, 1, FlexGrid::SetBackColor, "User List"},
        {dlg->vfgStation, 127, 1, FlexGrid::SetForeColor, "Station List"},
        {dlg->vfgPID[1], 17, 3, FlexGrid::SetBackColor, "PID Sensor (Low Range) Settings"},
        {dlg->vfgDatas[ListOther], 3, 1, FlexGrid::SetBackColor, "Parameter"},
        {dlg->vfgPreConv, 30, 7, FlexGrid::SetBackColor, "Pre-Defined Conversion Table"},
        {dlg->vfgME, 1, 2, FlexGrid::SetBackColor, "CAT DATA"},
    };
    for (const auto &r : red) {
        r.grid->setCell(r.setting, r.row, r.col, kRed);
        EXPECT_TRUE(okRefuses(QString::fromLatin1(r.list))) << r.list;
        r.grid->setCell(r.setting, r.row, r.col, r.setting == FlexGrid::SetForeColor ? 0 : kWhite);
    }
    for (const char *count : {"31", "", "x"}) {
        dlg->txtCount->setText(QString::fromLatin1(count));
        EXPECT_TRUE(okRefuses(QStringLiteral("Pre-Defined Conversion Table"))) << count;
    }
    dlg->txtCount->setText(QStringLiteral("3"));
    boxes->clear();
    dlg->cmdOK_Click();
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(boxes->prompts().isEmpty());
}

TEST_F(FsFixture, OkRunsNotPastAnOpenEditorOrAValueThatDoesNotConvert)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(4);
    FlexGrid *setUp = dlg->vfgDatas[ListSetUp];
    EXPECT_FALSE(Edit(setUp, SetUpRow::CalInterval, 1, QStringLiteral("999"), true));
    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("Parameter"))});
    EXPECT_TRUE(dlg && dlg->isVisible());
    EXPECT_TRUE(setUp->IsEditing());
    EXPECT_FALSE(rec().AnyChangeFlag());

    // An empty number may stand in the cell, but OK names the row and applies nothing.
    EditorLine(setUp)->clear();
    ASSERT_TRUE(setUp->CommitEdit());
    ASSERT_TRUE(Pick(setUp, SetUpRow::Latching, 1, GetMsg(8005)));
    boxes->clear();
    dlg->cmdOK_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, GetMsg(8007))});
    EXPECT_FALSE(edit().AnyChangeFlag());
    EXPECT_EQ(edit().AlarmMode(), 0);

    // An accepted entry still in its editor is what OK applies; the interval loses its
    // leading zeros and is sent even when it equals the instrument's.
    ASSERT_TRUE(Edit(setUp, SetUpRow::CalInterval, 1, QStringLiteral("030")));
    EXPECT_EQ(setUp->TextMatrix(SetUpRow::CalInterval, 1), QStringLiteral("30"));
    ASSERT_TRUE(OpenCell(setUp, SetUpRow::CalInterval, 1));
    QTest::keyClicks(EditorLine(setUp), QStringLiteral("030"));
    boxes->clear();
    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().CalLimit(), 30);
    EXPECT_TRUE(rec().Change_CalLimit());
    EXPECT_EQ(rec().AlarmMode(), 1);
}
