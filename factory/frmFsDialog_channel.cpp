// Channel gas mapping: which gas sits at which of the six channel positions.
#include "core/modMain.h"
#include "factory/FsRulesChannel.h"
#include "factory/frmFsDialog.h"
#include "model/Rounding.h"
#include "model/clsInstrument.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Twips.h"

using namespace FsChannel;

namespace {

Ticks ticksOf(const FlexGrid *g)
{
    Ticks t{};
    for (int gas = 0; gas < kGases; ++gas)
        for (int c = 0; c < kPositions; ++c)
            t[size_t(gas)][size_t(c)] = g->Cell(FlexGrid::SetChecked, gas + 1, c + 1).toInt() == FlexGrid::Checked;
    return t;
}

// Channel positions share the grid's width by sevenths; the sixth is the narrow one.
void sizeChannelGrid(FlexGrid *g)
{
    for (int c = 1; c <= kPositions; ++c)
        g->setColWidth(c, int(RoundHalfEven(WidthTwips(g) / 7.0)));
    g->setColWidth(kPositions, 100);
}

} // namespace

void frmFsDialog::wireChannelTab()
{
    connect(vfgChannel, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgChannel_ValidateEdit);
    vfgChannel->setSizeRule([g = vfgChannel] { sizeChannelGrid(g); });
}

void frmFsDialog::SetChannelGrid()
{
    static const clsInstrument empty;
    const clsInstrument &rec = EditInstrument() ? *EditInstrument() : empty;
    FlexGrid *g = vfgChannel;
    g->Clear();
    g->setCols(kPositions + 1);
    g->setRows(kGases + 1);
    QFont font;
    CopyFont(font, gFont);
    g->setCell(FlexGrid::SetFont, 0, 0, kGases, kPositions, font);
    g->setEditable(FlexGrid::EditKeyboardMouse);
    for (int c = 1; c <= kPositions; ++c)
        g->setTextMatrix(0, c, QStringLiteral("Ch%1").arg(c));
    sizeChannelGrid(g);
    const QString fixed[] = {QString(), QStringLiteral("OXY"), QStringLiteral("H2S"), QStringLiteral("CO ")};
    for (int gas = 0; gas < kGases; ++gas)
        g->setTextMatrix(gas + 1, 0, gas >= 1 && gas <= 3 ? fixed[gas] : rec.GasName(gas));
    g->setCell(FlexGrid::SetAlignment, 0, 0, 0, kPositions, FlexGrid::AlignCenterCenter);
    const Ticks t = TicksOf(rec);
    for (int gas = 0; gas < kGases; ++gas)
        for (int c = 0; c < kPositions; ++c) {
            g->setCell(FlexGrid::SetCheckAlignment, gas + 1, c + 1, FlexGrid::AlignCenterCenter);
            g->setCell(FlexGrid::SetChecked, gas + 1, c + 1,
                       t[size_t(gas)][size_t(c)] ? FlexGrid::Checked : FlexGrid::Unchecked);
        }
    g->setCell(FlexGrid::SetAlignment, 1, 0, kGases, 0, FlexGrid::AlignLeftCenter);
}

void frmFsDialog::vfgChannel_ValidateEdit(int Row, int Col, bool &Cancel)
{
    const std::optional<Ticks> next = Toggle(ticksOf(vfgChannel), Row - 1, Col);
    if (!next) {
        Cancel = true;
        return;
    }
    // The clicked cell toggles itself once this returns; the others of its column follow now.
    for (int gas = 0; gas < kGases; ++gas)
        if (gas + 1 != Row)
            vfgChannel->setCell(FlexGrid::SetChecked, gas + 1, Col,
                                (*next)[size_t(gas)][size_t(Col - 1)] ? FlexGrid::Checked : FlexGrid::Unchecked);
}

void frmFsDialog::GetChannelGrid(clsInstrument &rec) { ApplyChannelMap(rec, ticksOf(vfgChannel)); }
