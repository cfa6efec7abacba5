// The ME and zero / span grids through the dialog: which cells OK takes into which member,
// and that the zero / span readings are shown only.
#include "FsFixture.h"

using M = clsInstrument::M;

namespace {

struct MeCell {
    int row, col;
    M member;
    int index;
};
// The cells OK reads: EV values, EV D/A values, the CAT zero D/A readings and the ME
// column of the zero and span rows.
const MeCell kRead[] = {
    {1, 1, M::HH_, 0}, {1, 2, M::HH_, 1}, {2, 1, M::HE_, 0}, {2, 2, M::HE_, 1}, {2, 3, M::HE_, 2},
    {3, 1, M::RP_, 0}, {3, 2, M::RP_, 1}, {4, 2, M::SI_, 0}, {5, 2, M::SI_, 1}, {6, 2, M::SI_, 2},
    {7, 2, M::SI_, 3},
};
// Shown, never read back.
const MeCell kShownOnly[] = {
    {4, 1, M::SZ_, 0}, {5, 1, M::SZ_, 1}, {6, 1, M::SZ_, 2}, {7, 1, M::S1_, 0},
};
// vfgZeroSpan: rows OXY, H2S, CO; ZERO and SPAN.
const MeCell kZeroSpan[] = {
    {1, 1, M::SZ_, 3}, {2, 1, M::SZ_, 4}, {3, 1, M::SZ_, 5}, {1, 2, M::S1_, 1}, {2, 2, M::S1_, 2}, {3, 2, M::S1_, 3},
};

class MeDialog : public FsFixture {
protected:
    void SetUp() override
    {
        FsFixture::SetUp();
        // Every value its own, so a cell that shows or writes the wrong one is seen.
        clsInstrument::DeviceDoor door(rec());
        int v = 40;
        for (const MeCell &c : kRead)
            rec().setValue(c.member, v++, c.index);
        for (const MeCell &c : kShownOnly)
            rec().setValue(c.member, v++, c.index);
        for (const MeCell &c : kZeroSpan)
            rec().setValue(c.member, v++, c.index);
    }
};

} // namespace

// What the ME grid holds in the cells OK reads reaches the record, the grey readings rows
// included (nobody types there, but OK takes what the grid shows); the other cells and the
// zero / span grid write nothing.
TEST_F(MeDialog, OkTakesTheMeCellsItReadsIntoTheirMembers)
{
    ASSERT_TRUE(Open());
    for (const MeCell &c : kRead)
        EXPECT_EQ(dlg->vfgME->TextMatrix(c.row, c.col), rec().value(c.member, c.index).toString()) << c.row << "," << c.col;
    for (const MeCell &c : kShownOnly)
        EXPECT_EQ(dlg->vfgME->TextMatrix(c.row, c.col), rec().value(c.member, c.index).toString()) << c.row << "," << c.col;

    const clsInstrument before = rec();
    int v = 200;
    for (const MeCell &c : kRead)
        dlg->vfgME->setTextMatrix(c.row, c.col, QString::number(v++));
    for (const MeCell &c : kShownOnly)
        dlg->vfgME->setTextMatrix(c.row, c.col, QStringLiteral("7"));
    for (int r = 3; r <= 7; ++r)
        dlg->vfgME->setTextMatrix(r, 3, QStringLiteral("7"));
    for (const MeCell &c : kZeroSpan)
        dlg->vfgZeroSpan->setTextMatrix(c.row, c.col, QStringLiteral("7"));
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();

    v = 200;
    for (const MeCell &c : kRead) {
        EXPECT_EQ(rec().value(c.member, c.index).toInt(), v++) << c.row << "," << c.col;
        EXPECT_TRUE(rec().isChanged(c.member, c.index)) << c.row << "," << c.col;
    }
    for (const MeCell &c : kShownOnly)
        EXPECT_EQ(rec().value(c.member, c.index), before.value(c.member, c.index)) << c.row << "," << c.col;
    for (const MeCell &c : kZeroSpan)
        EXPECT_EQ(rec().value(c.member, c.index), before.value(c.member, c.index)) << c.row << "," << c.col;
    EXPECT_EQ(Raised(rec()).size(), qsizetype(std::size(kRead))) << Raised(rec()).join(' ').toStdString();
}

// The zero / span grid shows the three fixed channels' zero and span readings and lets no
// cell be edited.
TEST_F(MeDialog, ZeroSpanGridShowsTheReadingsAndRefusesEveryEdit)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(4);
    FlexGrid *z = dlg->vfgZeroSpan;
    for (const MeCell &c : kZeroSpan)
        EXPECT_EQ(z->TextMatrix(c.row, c.col), rec().value(c.member, c.index).toString()) << c.row << "," << c.col;
    for (int r = 0; r < z->Rows(); ++r)
        for (int c = 0; c < z->Cols(); ++c) {
            bool cancel = false;
            dlg->vfgZeroSpan_BeforeEdit(r, c, cancel);
            EXPECT_TRUE(cancel) << r << "," << c;
            if (r > 0 && c > 0) {
                EXPECT_FALSE(OpenCell(z, r, c)) << r << "," << c;
            }
        }
}
