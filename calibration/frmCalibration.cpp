#include "calibration/frmCalibration.h"
#include "calibration/CalibrationLogic.h"
#include "calibration/frmUploadCalib.h"
#include "calibration/modCalibration.h"
#include "core/Messages.h"
#include "core/modMain.h"
#include "link/uclQlif.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/modMainWindow.h"
#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include "settingsfiles/SettingLabel.h"
#include <QCloseEvent>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <cmath>

namespace {
const QString kName = QStringLiteral("frmCalibration");
constexpr int kRows = 8;
constexpr int kCols = 4;
constexpr int kColCheck = 1;
constexpr int kColSpan = 2;
constexpr int kColReading = 3;
// The pump is switched on at load and its answer decides nothing, but a span run with the pump
// off would adjust to the wrong gas: the technician is told to look first.
constexpr const char *kPumpNotConfirmed = "The pump did not confirm that it is on: check it before a span calibration.";
constexpr const char *kPumpNotConfirmedShort = "pump not confirmed";
} // namespace

uclQlif *CalLink()
{
    frmMain *main = frmMain::Find();
    return main ? main->uclQL7150 : nullptr;
}

frmCalibration::frmCalibration(QWidget *parent) : QDialog(parent)
{
    setObjectName(kName);
    setModal(true);
    setMinimumSize(TwipsToPixels(kMinWidth), TwipsToPixels(kMinHeight));
    resize(TwipsToPixels(9000), TwipsToPixels(4800));

    fraCalibration = new QGroupBox(this);
    fraCalibration->setObjectName(QStringLiteral("fraCalibration"));
    vfgCal = new FlexGrid(fraCalibration);
    vfgCal->setObjectName(QStringLiteral("vfgCal"));
    vfgCal->setEditable(FlexGrid::EditKeyboardMouse);
    vfgCal->setExtendLastCol(true);
    for (int i = 0; i < int(cmdCal.size()); ++i) {
        cmdCal[i] = new QPushButton(fraCalibration);
        cmdCal[i]->setObjectName(QStringLiteral("cmdCal_%1").arg(i));
        cmdCal[i]->setAutoDefault(false);
        connect(cmdCal[i], &QPushButton::clicked, this, [this, i] { cmdCal_Click(i); });
    }
    connect(vfgCal, &FlexGrid::BeforeEdit, this, &frmCalibration::vfgCal_BeforeEdit);
    connect(vfgCal, &FlexGrid::AfterEdit, this, &frmCalibration::vfgCal_AfterEdit);
    connect(vfgCal, &FlexGrid::ValidateEdit, this, &frmCalibration::vfgCal_ValidateEdit);
}

frmCalibration::~frmCalibration() = default;

void frmCalibration::Register()
{
    if (!IsFormRegistered(kName))
        RegisterForm(kName, [] { return new frmCalibration; });
}

frmCalibration *frmCalibration::Default()
{
    Register();
    return qobject_cast<frmCalibration *>(Form(kName));
}

frmCalibration *frmCalibration::Find() { return qobject_cast<frmCalibration *>(FindForm(kName)); }

void frmCalibration::setVisible(bool visible)
{
    // Load runs once, before the window is first shown (exec() shows it).
    if (visible && !m_loaded)
        Form_Load();
    QDialog::setVisible(visible);
}

void frmCalibration::Form_Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    setWindowTitle(GetMsg(9201));
    CopyFontToAll(this, gFont);
    SetCalCaptions();
    FillCalGrid();
    Form_Resize();
    gCalFormOpen = true;
    if (uclQlif *link = CalLink()) {
        connect(link, &uclQlif::LinkLost, this, &frmCalibration::linkDown);
        connect(link, &uclQlif::OnConnect, this, &frmCalibration::linkUp);
        link->setCancel(false);
        link->setRunDensty(true);
        if (!link->SetPump(true))
            pumpNotConfirmed(link->CommandFailure());
    }
}

void frmCalibration::pumpNotConfirmed(const QString &failure)
{
    // Without a reason from the link the request never went out (another transfer held the line).
    const QString why = failure.isEmpty() ? SettingLabel(QStringLiteral("BP")) + QStringLiteral(": not sent") : failure;
    if (frmMain *main = frmMain::Find()) {
        main->AddInfo(QString::fromLatin1(kPumpNotConfirmed), frmMain::kRed);
        main->AddReasons({why});
    }
    // The frame's caption is the window's one line of text: it says it there, in red.
    fraCalibration->setTitle(QStringLiteral("%1 - %2: %3").arg(GetMsg(5216), QString::fromLatin1(kPumpNotConfirmedShort), why));
    fraCalibration->setToolTip(QString::fromLatin1(kPumpNotConfirmed) + QLatin1Char('\n') + why);
    fraCalibration->setStyleSheet(QStringLiteral("QGroupBox::title { color: rgb(255, 0, 0); }"));
}

void frmCalibration::SetCalCaptions()
{
    fraCalibration->setTitle(GetMsg(5216));
    cmdCal[0]->setText(GetMsg(5218));
    cmdCal[1]->setText(GetMsg(5219));
    cmdCal[2]->setText(GetMsg(5220));
}

bool frmCalibration::dataPresent() const
{
    const uclQlif *link = CalLink();
    const int status = link ? link->Status() : 0;
    return status != 0 && status != 1 && gInstrument().CommFlags() != 0;
}

void frmCalibration::FillCalGrid()
{
    const clsInstrument &inst = gInstrument();
    const bool data = dataPresent();
    const clsInstrument &names = data ? inst : gSampleInstrument();
    FlexGrid *g = vfgCal;
    g->Clear();
    g->setCols(kCols);
    g->setRows(kRows);
    for (int ch = 0; ch < kCalChannels; ++ch)
        g->setTextMatrix(ch + 1, 0,
                         GasLabel(names.GasName(ch), names.GasUnit(ch), names.GasFullScale(ch), names.GasPoint(ch)));
    for (int ch = 0; ch < kCalChannels; ++ch) {
        const int r = ch + 1;
        if (inst.GasEnabled(ch) != 0) {
            g->setCell(FlexGrid::SetChecked, r, kColCheck, FlexGrid::Checked);
            g->setCell(FlexGrid::SetBackColor, r, kColCheck, g->BackColor());
        } else {
            g->setCell(FlexGrid::SetChecked, r, kColCheck, FlexGrid::Unchecked);
            g->setCell(FlexGrid::SetBackColor, r, kColCheck, data ? kDisabledCheckColor : g->GreyColor());
        }
        g->setCell(FlexGrid::SetAlignment, r, kColCheck, FlexGrid::AlignCenterCenter);
    }
    g->setFormatString(GetMsg(5656));
    for (int ch = 0; ch < kCalChannels; ++ch) {
        const int r = ch + 1;
        if (data && !inst.GasName(ch).isEmpty()) {
            g->setTextMatrix(r, kColSpan, FormatValue(inst.AutoCalib(ch), inst.GasPoint(ch)));
        } else {
            g->setTextMatrix(r, kColSpan, QStringLiteral("-----"));
            g->setCell(FlexGrid::SetBackColor, r, kColSpan, g->GreyColor());
        }
    }
    setColumnWidths();
    g->Refresh();
}

void frmCalibration::setColumnWidths()
{
    const double w = vfgCal->Width();
    vfgCal->setColWidth(0, int(RoundHalfEven(w * 0.3)));
    vfgCal->setColWidth(1, int(RoundHalfEven(w * 0.1)));
    vfgCal->setColWidth(2, int(RoundHalfEven(w * 0.3)));
}

void frmCalibration::linkDown()
{
    m_linkDown = true;
    cmdCal[0]->setEnabled(false);
    cmdCal[1]->setEnabled(false);
    // The last readings are no longer current: they are not shown as if they were.
    for (int ch = 0; ch < kCalChannels; ++ch)
        vfgCal->setTextMatrix(ch + 1, kColReading, QStringLiteral("-----"));
    vfgCal->Refresh();
}

void frmCalibration::linkUp()
{
    m_linkDown = false;
    cmdCal[0]->setEnabled(true);
    cmdCal[1]->setEnabled(true);
}

void frmCalibration::Refresh_InstMoment()
{
    if (m_linkDown)
        return; // a reading from before the loss
    const clsInstrument &inst = gInstrument();
    for (int ch = 0; ch < kCalChannels; ++ch)
        vfgCal->setTextMatrix(ch + 1, kColReading,
                              OverText(FormatValue(gMomentValues[ch], inst.GasPoint(ch)), inst.GasFullScale(ch)));
    vfgCal->Refresh();
}

void frmCalibration::vfgCal_BeforeEdit(int Row, int Col, bool &Cancel)
{
    if (Col == kColReading || Row < 1 || Col < 1)
        Cancel = true;
    else if (vfgCal->Cell(FlexGrid::SetBackColor, Row, Col).toInt() == vfgCal->GreyColor())
        Cancel = true;
}

void frmCalibration::vfgCal_AfterEdit(int Row, int Col)
{
    if (Col != kColCheck || Row < 1 || Row > kCalChannels)
        return;
    // A switched-off channel cannot take part in a span.
    if (gInstrument().GasEnabled(Row - 1) == 0)
        vfgCal->setCell(FlexGrid::SetChecked, Row, kColCheck, FlexGrid::Unchecked);
}

void frmCalibration::vfgCal_ValidateEdit(int Row, int Col, bool &Cancel)
{
    if (Col != kColSpan || Row < 1 || Row > kCalChannels)
        return;
    const SpanEdit e = ValidateSpanText(gInstrument(), Row - 1, vfgCal->EditText());
    vfgCal->setEditText(e.text);
    if (e.untick)
        vfgCal->setCell(FlexGrid::SetChecked, Row, kColCheck, FlexGrid::Unchecked);
    if (!e.accepted)
        Cancel = true;
}

void frmCalibration::cmdCal_Click(int Index)
{
    if (m_running || (m_linkDown && Index != 2))
        return;
    switch (Index) {
    case 0:
        runZero();
        break;
    case 1:
        runSpan();
        break;
    case 2:
        if (!Unload(this))
            reject();
        break;
    default:
        break;
    }
}

void frmCalibration::showRun(int mode, const QString &caption, const QString &request)
{
    m_running = true;
    CalResult = false;
    CalReport.clear();
    gTransferMode = mode;
    QPointer<frmUploadCalib> run = frmUploadCalib::Default();
    if (run) {
        run->setSpanConStr(request);
        run->setWindowTitle(caption);
        run->exec();
    }
    gTransferMode = 0;
    m_running = false;
}

// Every run first ends the open span edit; a refused value stays in its editor and no run starts.
bool frmCalibration::endOpenEdit() { return EndOpenEdits({vfgCal}); }

void frmCalibration::runZero()
{
    if (!endOpenEdit())
        return;
    // The instrument is asked to zero every channel; there is nothing to choose.
    showRun(3, GetMsg(6002), QString());
    // A failed run has already been logged by the run window.
    if (CalResult)
        MsgBox(CalReport, vb::Information, GetMsg(5355));
}

void frmCalibration::runSpan()
{
    if (!endOpenEdit())
        return;
    std::array<bool, kCalChannels> selected{};
    std::array<QString, kCalChannels> texts;
    vfgCal->setCol(kColCheck);
    for (int ch = 0; ch < kCalChannels; ++ch) {
        vfgCal->setRow(ch + 1);
        selected[ch] = vfgCal->CellChecked() != FlexGrid::Unchecked;
        gCalSelect[ch] = selected[ch];
        texts[ch] = vfgCal->TextMatrix(ch + 1, kColSpan);
    }
    const SpanRequest req = BuildSpanRequest(gInstrument(), selected, texts);
    if (!req.anySelected()) {
        MsgBox(GetMsg(5345), vb::Critical, GetMsg(5346));
        return;
    }
    if (!req.ok()) {
        // Asking for a span without a value the instrument can use would adjust it to nothing.
        const int r = req.badChannel + 1;
        MsgBox(GetMsg(5380) + QStringLiteral("\r\n") + vfgCal->TextMatrix(r, 0), vb::Critical, GetMsg(5346));
        vfgCal->setRow(r);
        vfgCal->setCol(kColSpan);
        return;
    }
    showRun(4, GetMsg(6003), req.request);
    if (CalResult)
        MsgBox(CalReport, vb::Information, GetMsg(5355));
}

void frmCalibration::reject()
{
    if (m_running)
        return;
    // Escape and the close box unload the window like Exit does.
    if (!m_closing) {
        m_closing = true;
        const bool unloaded = Unload(this);
        m_closing = false;
        if (unloaded)
            return;
    }
    QDialog::reject();
}

void frmCalibration::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmCalibration::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmCalibration::Form_Resize()
{
    if (m_inResize || isMinimized())
        return;
    m_inResize = true;
    if (width() < TwipsToPixels(kMinWidth) || height() < TwipsToPixels(kMinHeight))
        resize(std::max(width(), TwipsToPixels(kMinWidth)), std::max(height(), TwipsToPixels(kMinHeight)));
    const int innerW = WidthTwips(this);
    const int innerH = HeightTwips(this);
    MoveTwips(fraCalibration, 120, 120, innerW - 240, innerH - 240);
    const int frameW = WidthTwips(fraCalibration);
    const int frameH = HeightTwips(fraCalibration);
    const int gridW = frameW - 240;
    const int gridH = frameH - 1080;
    MoveTwips(vfgCal, 120, 360, gridW, gridH);
    const int n = int(cmdCal.size());
    const double share = double(gridW) / n;
    const double gap = share / 16;
    const double top = 360 + gridH + 120;
    const double height = frameH - 240 - top;
    for (int i = 0; i < n; ++i)
        MoveTwips(cmdCal[i], 120 + i * share + gap / 2, top, share - gap, height);
    setColumnWidths();
    m_inResize = false;
}
