// The instrument view: identity fields, the three lists and the gas grid, filled from
// gInstrument. Showing a record never changes a setting and raises no Change_ flag;
// only the user's own choice in a list goes through the record's user door.
#include "mainwindow/frmMain.h"

#include "core/Messages.h"
#include "core/modMain.h"
#include "mainwindow/GasGridRules.h"
#include "model/ModelGlobals.h"
#include "model/Rounding.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "platform/FlexGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <functional>

using namespace GasGrid;

namespace {

constexpr int kStations = 128;
constexpr int kUsers = 32;

// Refills a name list with its entries and selects the 1-based choice, without
// running the list's handler. -1 (no selection) for a choice outside the list.
int fillNameList(QComboBox *list, int count, const std::function<QString(int)> &name, int choice)
{
    const QSignalBlocker block(list);
    list->clear();
    for (int i = 0; i < count; ++i)
        list->addItem(name(i));
    const int index = (choice >= 1 && choice <= count) ? choice - 1 : -1;
    list->setCurrentIndex(index);
    return index;
}

QString romText(int32_t rom)
{
    if (rom == 0)
        return QString();
    const QString digits = QStringLiteral("%1").arg(qAbs(qint64(rom)), 5, 10, QLatin1Char('0'));
    return rom < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

void frmMain::ShowInstrument()
{
    clsInstrument &inst = gInstrument();
    mGridEditBusy = true;
    txtSuffix->setText(gFactorySuffix);

    // Station and user lists. The ID fields mirror the selected name; they are not
    // instrument settings, so keeping them in step raises no flag.
    const int station = fillNameList(cmbStation, kStations, [&inst](int i) { return inst.XS_(i); }, inst.XV_(0));
    const int user = fillNameList(cmbUser, kUsers, [&inst](int i) { return inst.XZ_(i); }, inst.XV_(1));
    {
        clsInstrument::DeviceDoor door(inst);
        if (station >= 0)
            inst.setStationID(inst.XS_(station));
        if (user >= 0)
            inst.setUserID(inst.XZ_(user));
    }

    lblInst[7]->setText(romText(inst.RomNumber()));
    lblInst[9]->setText(inst.SUM());
    txtOption[0]->setText(inst.SerialNo());
    txtOption[1]->setText(inst.StationID());
    txtOption[2]->setText(inst.UserID());
    for (QLineEdit *field : txtOption)
        field->setModified(false);

    // An interval the list does not hold (15 s, say) is shown as no selection and
    // stays in the record as it is.
    {
        const QSignalBlocker block(cmbInterval);
        cmbInterval->setCurrentIndex(cmbInterval->findText(QString::number(inst.Intervals())));
    }

    FlexGrid *g = vfgOption;
    const int n = ChannelCount(inst);
    g->CancelEdit();
    g->Clear();
    g->setRows(n + kHeaderRows);
    g->setCols(kCols);
    g->setFixedRows(kHeaderRows);
    g->setFixedCols(1);
    g->setEditable(FlexGrid::EditKeyboardMouse);
    g->setMergeCells(1);
    for (int r = 0; r < g->Rows(); ++r)
        g->setMergeRow(r, r == 0);

    const QString pointsHeader = GetMsg(5672);
    const QString header0[kCols] = {QString(), pointsHeader, pointsHeader, pointsHeader, pointsHeader, QString()};
    const int header1[kCols] = {5648, 5650, 5651, 5652, 5653, 5654};
    for (int c = 0; c < kCols; ++c) {
        g->setTextMatrix(0, c, header0[c]);
        g->setTextMatrix(1, c, GetMsg(header1[c]));
    }
    g->setCell(FlexGrid::SetAlignment, 0, ColWarning, FlexGrid::AlignCenterCenter);
    g->setCell(FlexGrid::SetAlignment, 1, ColGas, FlexGrid::AlignCenterCenter);

    for (int ch = 0; ch < n; ++ch)
        for (int c = ColGas; c < kCols; ++c)
            g->setTextMatrix(RowOfChannel(ch), c, CellText(inst, ch, c));

    const int lastRow = n + kHeaderRows - 1;
    g->setCell(FlexGrid::SetForeColor, RowOfChannel(7), ColGas, lastRow, ColGas, kDerivedLabel);
    g->setCell(FlexGrid::SetBackColor, RowOfChannel(0), ColStel, RowOfChannel(1), ColTwa, g->BackColorFixed());
    g->setCell(FlexGrid::SetBackColor, RowOfChannel(7), ColStel, lastRow, ColAutoCal, g->BackColorFixed());
    CheckAlarmCells();
    g->setCell(FlexGrid::SetAlignment, 1, ColWarning, lastRow, ColAutoCal, FlexGrid::AlignCenterCenter);
    mGridEditBusy = false;
    // Last: the fields and the grid just refilled hold no refused entry any more.
    SetCommandEnabled();
}

void frmMain::RestoreGasEnable() { ShowInstrument(); }

void frmMain::ClearInstrumentView()
{
    lblInst[7]->clear();
    lblInst[9]->clear();
    txtOption[0]->setText(QString()); // from code: not a user's edit
    for (QComboBox *list : {cmbStation, cmbUser}) {
        const QSignalBlocker block(list);
        list->clear();
    }
}

void frmMain::CheckAlarmCells()
{
    const clsInstrument &inst = gInstrument();
    FlexGrid *g = vfgOption;
    // The rows the grid holds now; the record may have changed since the fill.
    const int n = qMin(g->Rows() - kHeaderRows, ChannelCount(inst));
    for (int ch = 0; ch < n; ++ch) {
        const int row = RowOfChannel(ch);
        const int order = GasGrid::CheckAlarmLevel(inst, ch) ? kNormal : kRed;
        g->setCell(FlexGrid::SetBackColor, row, ColWarning, row, ColAlarm, order);
        if (ch <= 6)
            g->setCell(FlexGrid::SetBackColor, row, ColAutoCal,
                       PointReached(inst, ch, inst.AutoCalib(ch)) ? kNormal : kRed);
    }
}

bool frmMain::CheckAlarmLevel(int16_t Channel)
{
    return GasGrid::CheckAlarmLevel(gInstrument(), Channel);
}

void frmMain::ShowAnalogValues() { ShowAnalogValues(gInstrument()); }

void frmMain::ShowAnalogValues(const clsInstrument &inst)
{
    AddInfo(QStringLiteral("VANTIK Analog to Digital Converter Values List"), kBlueGreen);
    auto line = [&](int i) {
        const QString volts = FormatDecimals(double(inst.AnalogValue(i)) / 1000.0, 3);
        AddInfo(QStringLiteral("ch%1 \t: %2V").arg(i).arg(volts), kBlueGreen);
    };
    for (int i = 0; i <= 13; ++i)
        line(i);
    AddInfo(QString(), kBlueGreen);
    for (int i = 14; i <= 25; ++i)
        line(i);
}

// The list handlers run for the user's choice only: fills and clears block them.
void frmMain::cmbStation_Click()
{
    const int index = cmbStation->currentIndex();
    if (index < 0)
        return;
    clsInstrument &inst = gInstrument();
    inst.setXV_(0, index + 1);
    inst.setStationID(inst.XS_(index));
    txtOption[1]->setText(inst.StationID());
}

void frmMain::cmbUser_Click()
{
    const int index = cmbUser->currentIndex();
    if (index < 0)
        return;
    clsInstrument &inst = gInstrument();
    inst.setXV_(1, index + 1);
    inst.setUserID(inst.XZ_(index));
    txtOption[2]->setText(inst.UserID());
    txtOption[2]->setModified(false); // the serial number's own edit stays pending
}

void frmMain::cmbInterval_Click()
{
    if (cmbInterval->currentIndex() < 0)
        return;
    bool ok = false;
    const int seconds = cmbInterval->currentText().toInt(&ok);
    if (ok && ToInt16(seconds))
        gInstrument().setIntervals(seconds);
}
