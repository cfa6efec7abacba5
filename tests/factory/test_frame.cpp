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

namespace {
using M = clsInstrument::M;

// A value of the member's own type that a fresh record does not hold, one for each entry
// (and each seed).
QVariant Planted(const clsInstrument &fresh, M m, int i, int j, int seed = 0)
{
    const int n = 2 + 2 * i + j + 500 * seed;
    switch (clsInstrument::info(m).kind) {
    case clsInstrument::Kind::Text: return QStringLiteral("T%1").arg(n);
    case clsInstrument::Kind::Date: return QDateTime(QDate(2001, 1, 1), QTime(0, 0)).addDays(n);
    case clsInstrument::Kind::Bool: return (seed + i) % 2 == 0 ? !fresh.value(m, i, j).toBool() : fresh.value(m, i, j).toBool();
    case clsInstrument::Kind::Single: return float(n) + 0.5f;
    case clsInstrument::Kind::Int64: return qint64(n);
    default: return n;
    }
}

// The entries a copy carries (back: the changed-only copy of OK). Written out apart from the
// copy, so that a member it misses or an entry it stops short of fails below.
bool Carried(M m, int i, bool back)
{
    const clsInstrument::MemberInfo &mi = clsInstrument::info(m);
    switch (m) {
    case M::SUM: case M::CommFlags: case M::ImportFlag: case M::FailLine: case M::MessageString: case M::Key:
    case M::Ratio: case M::CalibBefore: case M::CalibAfter: case M::CalibDate: case M::AnalogValue:
    case M::Inert1st: case M::Inert2nd:
        return false;
    case M::InvalidIF: return !back;
    case M::GasType: case M::AutoRange: case M::changeDenst: return !back && i <= 8;
    case M::GasName: return i <= 8;
    case M::ZeroForce: return i <= 6;
    case M::AltRng: return i >= 1 && i <= 3;
    case M::GasUnit: case M::GasFullScale: case M::GasDesit: case M::GasPoint: case M::GasEnabled:
    case M::AutoCalib: case M::PIDSmallRange: case M::Zero: case M::Warning: case M::Alarm: case M::Stel: case M::Twa:
        return i <= (back ? 6 : 8);
    default: // a bounded table's top entry is a spare; a member without a flag never goes back
        return !(back && mi.flag == clsInstrument::F::NoFlag) && (!mi.outsideIsError || mi.count1 == 1 || i < mi.count1 - 1);
    }
}

// The groups the instrument takes in one command: one flagged entry sends them whole.
bool GroupFlagged(const clsInstrument &src, M m, int i)
{
    const struct { M m; int first, last; } groups[] = {
        {M::HH_, 0, 1}, {M::HE_, 0, 2}, {M::RP_, 0, 1}, {M::SI_, 0, 3},
        {M::AltRng, 1, 3}, {M::Zero, 0, 6}, {M::ZeroForce, 0, 6},
    };
    for (const auto &g : groups)
        if (g.m == m && i >= g.first && i <= g.last)
            for (int k = g.first; k <= g.last; ++k)
                if (src.isChanged(m, k))
                    return true;
    return false;
}

// A varied record (sim/samples) with every entry it leaves as a cleared record has it
// planted too (channels 7 and 8, the ME values, the support flags...), as a download leaves it.
clsInstrument Varied(unsigned seed)
{
    clsInstrument r = VariedRecord(seed), cleared;
    cleared.ClearDatas();
    clsInstrument::DeviceDoor door(r);
    ForEachMemberEntry([&](M m, int i, int j) {
        if (clsInstrument::info(m).kind == clsInstrument::Kind::Bool || r.value(m, i, j) == cleared.value(m, i, j))
            r.setValue(m, Planted(cleared, m, i, j, int(seed)), i, j);
    });
    return r;
}

// b with every entry that a holds too made different, so that a copy that misses one shows.
void SetApart(clsInstrument &b, const clsInstrument &a, int seed)
{
    clsInstrument::DeviceDoor door(b);
    ForEachMemberEntry([&](M m, int i, int j) {
        if (b.value(m, i, j) == a.value(m, i, j))
            b.setValue(m, clsInstrument::info(m).kind == clsInstrument::Kind::Bool ? QVariant(!a.value(m, i, j).toBool())
                                                                                   : Planted(a, m, i, j, seed), i, j);
    });
}

std::string Differences(const clsInstrument &a, const clsInstrument &b, const std::function<bool(M, int)> &compare)
{
    return MemberDifferences(a, b, compare).join(QStringLiteral("; ")).toStdString();
}
} // namespace

TEST(CopyInstrument, EveryMemberOfTheListTravelsByBothCopies)
{
    const clsInstrument fresh;
    for (int k = 0; k < int(M::Count); ++k) {
        const M m = M(k);
        const clsInstrument::MemberInfo &mi = clsInstrument::info(m);
        clsInstrument all, full;
        for (int i = 0; i < mi.count1; ++i)
            for (int j = 0; j < mi.count2; ++j)
                all.setValue(m, Planted(fresh, m, i, j), i, j);
        CopyInstrument(full, all, false);
        for (int i = 0; i < mi.count1; ++i)
            for (int j = 0; j < mi.count2; ++j) {
                const QVariant v = Planted(fresh, m, i, j);
                EXPECT_EQ(full.value(m, i, j) == v, Carried(m, i, false)) << mi.name << "(" << i << "," << j << ") full";
                // Only this entry set and flagged: the copy back carries it and flags it.
                clsInstrument one, back;
                one.setValue(m, v, i, j);
                CopyInstrument(back, one, true);
                const bool carried = Carried(m, i, true);
                EXPECT_EQ(back.value(m, i, j) == v, carried) << mi.name << "(" << i << "," << j << ") back";
                EXPECT_EQ(back.isChanged(m, i, j), carried) << mi.name << "(" << i << "," << j << ") flag";
            }
    }
}

// Whole records, as the dialog copies them: the instrument's record over what an earlier
// opening left in the working copy, then a working copy with varied entries flagged back
// over the instrument's record. Every entry is either the source's or left as it was.
TEST(CopyInstrument, WholeVariedRecordsByBothCopies)
{
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        const clsInstrument inst = Varied(seed);
        clsInstrument edit = Varied(seed + 10);
        SetApart(edit, inst, 20 + int(seed));
        const clsInstrument left = edit;
        CopyInstrument(edit, inst, false);
        EXPECT_EQ(Differences(edit, inst, [](M m, int i) { return Carried(m, i, false); }), "") << "copied";
        EXPECT_EQ(Differences(edit, left, [](M m, int i) { return !Carried(m, i, false); }), "") << "left";

        // Edited entries: a third of every flag's, a different third for each seed.
        SetApart(edit, inst, 30 + int(seed));
        edit.ClearChangeFlags();
        for (int f = 0; f < int(clsInstrument::F::Count); ++f) {
            const auto &fi = clsInstrument::info(clsInstrument::F(f));
            for (int i = 0; i < fi.count1; ++i)
                for (int j = 0; j < fi.count2; ++j)
                    edit.setFlag(clsInstrument::F(f), (f + i + j + int(seed)) % 3 == 0, i, j);
        }
        clsInstrument back = inst;
        CopyInstrument(back, edit, true);
        auto travels = [&](M m, int i, int j = 0) {
            return Carried(m, i, true) && (edit.isChanged(m, i, j) || GroupFlagged(edit, m, i));
        };
        QStringList wrong;
        for (int k = 0; k < int(M::Count); ++k) {
            const M m = M(k);
            const clsInstrument::MemberInfo &mi = clsInstrument::info(m);
            for (int i = 0; i < mi.count1; ++i)
                for (int j = 0; j < mi.count2; ++j) {
                    QVariant want = travels(m, i, j) ? edit.value(m, i, j) : inst.value(m, i, j);
                    if (m == M::Ratio && i == 0 && edit.Change_FL_(0)) // the catalytic ratio goes as FL_(0)
                        want = float(edit.FL_(0));
                    if (back.value(m, i, j) != want || (mi.flag != clsInstrument::F::NoFlag && m != M::GasType
                                                        && back.isChanged(m, i, j) != travels(m, i, j)))
                        wrong << QStringLiteral("%1(%2,%3)").arg(QLatin1String(mi.name)).arg(i).arg(j);
                }
        }
        EXPECT_EQ(wrong.join(QLatin1Char(' ')).toStdString(), "");
    }
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
        if (boxes->prompts() != QStringList{GetMsg(8056, list)})
            return false;
        const MsgBoxCall &c = boxes->calls()[0];
        return c.title == GetMsg(5001) && c.icon() == vb::Critical && c.buttons() == vb::OKOnly && dlg && dlg->isVisible();
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
