// Other settings (alternate ranges, zero follower and suppress, PID range), ME values and
// the zero / span readings. The rules are FsOther's; here they meet the grids.
#include "core/modMain.h"
#include "factory/FsRulesOther.h"
#include "factory/frmFsDialog.h"
#include "model/Rounding.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Twips.h"

using namespace FsOther;

namespace {

constexpr int kWhite = 16777215;
constexpr int kRed = 255;
// FACTORY SETTINGS row of INERT SELECT.
constexpr int kInertRow = 10;

bool grey(const FlexGrid *g, int r, int c) { return g->Cell(FlexGrid::SetBackColor, r, c).toInt() == g->GreyColor(); }
int checkState(const FlexGrid *g, int r, int c) { return g->Cell(FlexGrid::SetChecked, r, c).toInt(); }

void setBox(FlexGrid *g, int r, int c, bool on)
{
    g->setCell(FlexGrid::SetChecked, r, c, on ? FlexGrid::Checked : FlexGrid::Unchecked);
}

void setGrey(FlexGrid *g, int r1, int c1, int r2, int c2, int colour)
{
    g->setCell(FlexGrid::SetBackColor, r1, c1, r2, c2, colour);
}

QFont programFont()
{
    QFont font;
    CopyFont(font, gFont);
    return font;
}

// Widths that are shares of the grid's own width (taken again whenever it changes size).
void sizeOtherSetGrid(FlexGrid *g)
{
    const int share = int(RoundHalfEven((WidthTwips(g) - g->ColWidth(0)) / 5.0));
    for (int c = ColAltRange; c <= ColPidHigh; ++c)
        g->setColWidth(c, qMax(0, share));
}

void sizeMEGrid(FlexGrid *g)
{
    g->setColWidth(0, int(RoundHalfEven(WidthTwips(g) / 3.5)));
    g->setColWidth(1, int(RoundHalfEven(WidthTwips(g) / 4.0)));
    g->setColWidth(2, int(RoundHalfEven(WidthTwips(g) / 4.0)));
}

void sizeZeroSpanGrid(FlexGrid *z)
{
    z->setColWidth(0, int(RoundHalfEven(WidthTwips(z) / 3.5)));
    z->setColWidth(1, int(RoundHalfEven(WidthTwips(z) / 3.0)));
}

} // namespace

void frmFsDialog::wireOtherTab()
{
    connect(vfgOtherSet, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgOtherSet_BeforeEdit);
    connect(vfgOtherSet, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgOtherSet_ValidateEdit);
    connect(vfgOtherSet, &FlexGrid::AfterEdit, this, &frmFsDialog::vfgOtherSet_AfterEdit);
    connect(vfgME, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgME_BeforeEdit);
    connect(vfgME, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgME_ValidateEdit);
    connect(vfgZeroSpan, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgZeroSpan_BeforeEdit);
    vfgOtherSet->setSizeRule([g = vfgOtherSet] { sizeOtherSetGrid(g); });
    vfgME->setSizeRule([g = vfgME] { sizeMEGrid(g); });
    vfgZeroSpan->setSizeRule([g = vfgZeroSpan] { sizeZeroSpanGrid(g); });
}

void frmFsDialog::SetOtherSetGrid()
{
    static const clsInstrument empty;
    const clsInstrument &rec = EditInstrument() ? *EditInstrument() : empty;
    // Which cells are boxes follows the connected instrument's sensors, also after a load.
    const clsInstrument &sensors = Instrument() ? *Instrument() : rec;
    FlexGrid *g = vfgOtherSet;
    const int greyColour = g->GreyColor();
    g->Clear();
    g->setCols(6);
    g->setRows(kChannels + 1);
    const QString headers[] = {QString(), QStringLiteral("Alternate Ranges"), QStringLiteral("Zero Follower"),
                               QStringLiteral("Zero Suppress"), QStringLiteral("PID High Range"),
                               QStringLiteral("IR Auto Range")};
    for (int c = 0; c < 6; ++c)
        g->setTextMatrix(0, c, headers[c]);
    const QString fixed[] = {QString(), QStringLiteral("OXY"), QStringLiteral("H2S"), QStringLiteral("CO ")};
    for (int ch = 0; ch < kChannels; ++ch) {
        const int r = ch + 1;
        g->setTextMatrix(r, ColName, ch >= 1 && ch <= 3 ? fixed[ch] : rec.GasName(ch));
        setBox(g, r, ColAltRange, rec.AltRng(ch) == 1);
        if (ch < 1 || ch > 3)
            setGrey(g, r, ColAltRange, r, ColAltRange, greyColour);
        setBox(g, r, ColZero, rec.Zero(ch) == 1);
        g->setTextMatrix(r, ColZeroSuppress, QString::number(rec.ZeroForce(ch)));
        if (sensors.GasType(ch) == SensorType::Pid)
            setBox(g, r, ColPidHigh, rec.PIDSmallRange(ch) == 0);
        else
            setGrey(g, r, ColPidHigh, r, ColPidHigh, greyColour);
        setGrey(g, r, ColIrAutoRange, r, ColIrAutoRange, greyColour);
        if (sensors.GasType(ch) == SensorType::Infrared) {
            const QString denst = FormatValue(rec.changeDenst(ch), rec.GasPoint(ch));
            g->setTextMatrix(r, ColIrAutoRange, denst);
            if (denst != QLatin1String("-----"))
                setBox(g, r, ColIrAutoRange, rec.AutoRange(ch) == 1);
        }
    }
    const int oxy = kOxyChannel + 1;
    setGrey(g, oxy, ColZero, oxy, ColZeroSuppress, greyColour);
    g->setTextMatrix(oxy, ColZeroSuppress, QStringLiteral("-----"));

    g->setCell(FlexGrid::SetAlignment, 0, 0, 0, ColPidHigh, FlexGrid::AlignCenterCenter);
    g->setCell(FlexGrid::SetCheckAlignment, 1, ColAltRange, kChannels, ColPidHigh, FlexGrid::AlignCenterCenter);
    g->setCell(FlexGrid::SetAlignment, 1, ColZeroSuppress, kChannels, ColIrAutoRange, FlexGrid::AlignRightCenter);
    g->setCell(FlexGrid::SetAlignment, 1, ColName, kChannels, ColName, FlexGrid::AlignLeftCenter);
    g->setCell(FlexGrid::SetFont, 0, 0, kChannels, ColPidHigh, programFont());
    sizeOtherSetGrid(g);
    g->setEditable(FlexGrid::EditKeyboardMouse);
}

void frmFsDialog::SetMEGrid()
{
    static const clsInstrument empty;
    const clsInstrument &rec = EditInstrument() ? *EditInstrument() : empty;
    FlexGrid *g = vfgME;
    const int greyColour = g->GreyColor();
    g->Clear();
    g->setCols(4);
    g->setRows(8);
    g->setFormatString(QStringLiteral("|Normal|ME|H2"));
    const QString captions[] = {QString(), QStringLiteral("EV VALUE"), QStringLiteral("EV D/A"),
                                QStringLiteral("CAT ZERO D/A"), QStringLiteral("ZERO L"), QStringLiteral("ZERO M"),
                                QStringLiteral("ZERO H"), QStringLiteral("SPAN")};
    for (int r = 1; r < 8; ++r)
        g->setTextMatrix(r, 0, captions[r]);
    auto put = [g](int r, int c, int v) { g->setTextMatrix(r, c, QString::number(v)); };
    put(1, 1, rec.HH_(0));
    put(1, 2, rec.HH_(1));
    for (int i = 0; i < 3; ++i)
        put(2, i + 1, rec.HE_(i));
    put(3, 1, rec.RP_(0));
    put(3, 2, rec.RP_(1));
    for (int i = 0; i < 3; ++i)
        put(4 + i, 1, rec.SZ_(i));
    put(7, 1, rec.S1_(0));
    for (int i = 0; i < 4; ++i)
        put(4 + i, 2, rec.SI_(i));
    setGrey(g, 1, 3, 1, 3, greyColour);
    setGrey(g, 3, 1, 7, 3, greyColour);
    sizeMEGrid(g);
    g->setCell(FlexGrid::SetFont, 0, 0, 7, 3, programFont());
    g->setEditable(FlexGrid::EditKeyboardMouse);

    FlexGrid *z = vfgZeroSpan;
    z->Clear();
    z->setCols(3);
    z->setRows(4);
    z->setFormatString(QStringLiteral("|ZERO|SPAN"));
    const QString rows[] = {QStringLiteral("OXY"), QStringLiteral("H2S"), QStringLiteral("CO ")};
    for (int i = 0; i < 3; ++i) {
        z->setTextMatrix(i + 1, 0, rows[i]);
        z->setTextMatrix(i + 1, 1, QString::number(rec.SZ_(3 + i)));
        z->setTextMatrix(i + 1, 2, QString::number(rec.S1_(1 + i)));
    }
    setGrey(z, 1, 1, 3, 2, greyColour);
    sizeZeroSpanGrid(z);
    z->setCell(FlexGrid::SetFont, 0, 0, 3, 2, programFont());
    z->setEditable(FlexGrid::EditKeyboardMouse);
}

void frmFsDialog::vfgOtherSet_BeforeEdit(int Row, int Col, bool &Cancel)
{
    vfgOtherSet->setRow(Row);
    vfgOtherSet->setCol(Col);
    if (Row == 0 || Col == 0 || grey(vfgOtherSet, Row, Col)) {
        Cancel = true;
        return;
    }
    const clsInstrument *sensors = Instrument() ? Instrument() : EditInstrument();
    if (Col == ColPidHigh && sensors && EditInstrument() && sensors->GasType(Row - 1) == SensorType::Pid
        && !PidNameKnown(*EditInstrument(), vfgOtherSet->TextMatrix(Row, ColName)))
        Cancel = true;
}

void frmFsDialog::vfgOtherSet_ValidateEdit(int Row, int Col, bool &Cancel)
{
    if (Col != ColZeroSuppress)
        return;
    Cancel = !ZeroSuppressAcceptable(vfgOtherSet->EditText());
    vfgOtherSet->setCell(FlexGrid::SetBackColor, Row, Col, Cancel ? kRed : kWhite);
}

void frmFsDialog::vfgOtherSet_AfterEdit(int Row, int Col)
{
    // The oxygen channel's alternate range and the inert-gas selection exclude each other.
    if (Row != kOxyChannel + 1 || Col != ColAltRange || checkState(vfgOtherSet, Row, Col) != FlexGrid::Checked)
        return;
    if (clsInstrument *rec = EditInstrument(); rec && rec->InertOnOff() != 0)
        rec->setInertOnOff(0);
    vfgDatas[1]->setTextMatrix(kInertRow, 1, QStringLiteral("Off"));
}

void frmFsDialog::vfgME_BeforeEdit(int Row, int Col, bool &Cancel)
{
    vfgME->setRow(Row);
    vfgME->setCol(Col);
    const clsInstrument *rec = EditInstrument();
    if (Row == 0 || Col == 0 || grey(vfgME, Row, Col) || (rec && rec->invalidHE_() && Row == 2))
        Cancel = true;
}

void frmFsDialog::vfgME_ValidateEdit(int Row, int Col, bool &Cancel)
{
    const std::optional<QString> v = MEValue(Row, Col, vfgME->EditText());
    if (v && *v != vfgME->EditText())
        vfgME->setEditText(*v);
    Cancel = !v;
    vfgME->setCell(FlexGrid::SetBackColor, Row, Col, Cancel ? kRed : kWhite);
}

void frmFsDialog::vfgZeroSpan_BeforeEdit(int Row, int Col, bool &Cancel)
{
    if (Row == 0 || Col == 0 || grey(vfgZeroSpan, Row, Col))
        Cancel = true;
}

// ---- apply ----------------------------------------------------------------------------------

void frmFsDialog::GetMEGrid(clsInstrument &rec)
{
    MEGrid cells;
    for (int r = 1; r < 8; ++r)
        for (int c = 0; c < 4; ++c)
            cells[size_t(r)][size_t(c)] = vfgME->TextMatrix(r, c);
    ApplyME(rec, cells);
}

void frmFsDialog::GetOtherSetGrid(clsInstrument &rec)
{
    OtherSet grid;
    for (int ch = 0; ch < kChannels; ++ch) {
        grid.altRange[size_t(ch)] = checkState(vfgOtherSet, ch + 1, ColAltRange);
        grid.zero[size_t(ch)] = checkState(vfgOtherSet, ch + 1, ColZero);
        grid.zeroSuppress[size_t(ch)] = vfgOtherSet->TextMatrix(ch + 1, ColZeroSuppress);
        grid.pidHigh[size_t(ch)] = checkState(vfgOtherSet, ch + 1, ColPidHigh);
    }
    ApplyOtherSet(rec, grid);
}

void frmFsDialog::GetOtherSetChannel(clsInstrument &rec, int Channel) { FsOther::GetOtherSetChannel(rec, Channel); }
