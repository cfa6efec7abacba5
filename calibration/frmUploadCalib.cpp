#include "calibration/frmUploadCalib.h"
#include "calibration/CalibrationLogic.h"
#include "calibration/frmCalibration.h"
#include "calibration/modCalibration.h"
#include "core/Messages.h"
#include "core/modMain.h"
#include "link/uclQlif.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/modMainWindow.h"
#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "platform/Animation.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Twips.h"
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {
const QString kName = QStringLiteral("frmUploadCalib");
constexpr int kRed = 255;
} // namespace

frmUploadCalib::frmUploadCalib(QWidget *parent) : QDialog(parent)
{
    setObjectName(kName);
    setModal(true);
    amnUpload = new Animation(this);
    amnUpload->setObjectName(QStringLiteral("amnUpload"));
    lblUpload = new QLabel(this);
    lblUpload->setObjectName(QStringLiteral("lblUpload"));
    lblUpload->setAlignment(Qt::AlignCenter);
    cmdUpload = new QPushButton(this);
    cmdUpload->setObjectName(QStringLiteral("cmdUpload"));
    cmdUpload->setAutoDefault(false);
    tmrInter = new QTimer(this);
    tmrInter->setObjectName(QStringLiteral("tmrInter"));
    connect(tmrInter, &QTimer::timeout, this, &frmUploadCalib::tmrInter_Timer);
}

frmUploadCalib::~frmUploadCalib() = default;

frmUploadCalib *frmUploadCalib::Default() { return DefaultForm<frmUploadCalib>(kName); }

frmUploadCalib *frmUploadCalib::Find() { return qobject_cast<frmUploadCalib *>(FindForm(kName)); }

void frmUploadCalib::setVisible(bool visible)
{
    if (visible && !m_loaded)
        Form_Load();
    QDialog::setVisible(visible);
}

void frmUploadCalib::Form_Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Resize();
    CopyFontToAll(this, gFont);
    if (gTransferMode == 3 || gTransferMode == 4) {
        const QString text = GetMsg(gTransferMode == 3 ? 6002 : 6003);
        setWindowTitle(text);
        lblUpload->setText(text);
    }
    cmdUpload->setVisible(false);
    Form_Resize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // A missing animation leaves its area empty; the run goes on.
    amnUpload->Open(AppFile(QString::fromLatin1(kAnimationFile)));
    amnUpload->Play();
    tmrInter->setInterval(1);
    tmrInter->start();
}

void frmUploadCalib::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmUploadCalib::Form_Resize()
{
    if (m_inResize)
        return;
    m_inResize = true;
    const int labelH = PixelsToTwips(lblUpload->sizeHint().height());
    const bool button = !cmdUpload->isHidden();
    const int w = 288 * TwipsPerPixelX() + 240;
    const int h = 64 * TwipsPerPixelY() + int(labelH * (button ? 2.6 : 2.0));
    setFixedSize(TwipsToPixels(w), TwipsToPixels(h));
    const int inner = w - 120;
    const int buttonH = button ? int(labelH * 0.6) + 120 : 0;
    const int amnH = std::max(0, h - 60 - 60 - labelH - 60 - buttonH - 60);
    MoveTwips(amnUpload, 60, 60, inner, amnH);
    MoveTwips(lblUpload, 60, 60 + amnH + 60, inner, labelH);
    MoveTwips(cmdUpload, 60, 60 + amnH + 60 + labelH + 60, inner, std::max(0, buttonH - 60));
    m_inResize = false;
}

void frmUploadCalib::tmrInter_Timer()
{
    // The timer keeps ticking while the link waits inside the run; only the first tick runs.
    if (m_started)
        return;
    m_started = true;
    if (gTransferMode == 3)
        m_result = runZero();
    else if (gTransferMode == 4)
        m_result = runSpan();
    else
        m_result = false; // nothing was asked for: end at once rather than hang
    finish();
}

bool frmUploadCalib::runZero()
{
    uclQlif *link = CalLink();
    if (link)
        link->setRunDensty(false);
    // Every channel is asked to zero, whatever is ticked.
    const bool ok = link && link->ZeroCal(QStringLiteral("1111111"));
    if (!ok) {
        logFailure();
        return false;
    }
    const clsInstrument &inst = gInstrument();
    std::array<bool, kCalChannels> reported{};
    for (int ch = 0; ch < kCalChannels; ++ch)
        reported[ch] = inst.GasEnabled(ch) != 0;
    m_report = CalReportLines(inst, reported, [link](int ch) { return int(link->ZeroStatus(ch)); }, gMomentValues);
    return true;
}

bool frmUploadCalib::runSpan()
{
    uclQlif *link = CalLink();
    if (link) {
        link->setRunDensty(false);
        link->AddLog(GetMsg(5515, FormatGeneralDate(QDateTime::currentDateTime())));
    }
    const bool ok = link && link->SpanCal(m_spanConStr);
    if (!ok) {
        logFailure();
        return false;
    }
    std::array<bool, kCalChannels> reported{};
    for (int ch = 0; ch < kCalChannels; ++ch)
        reported[ch] = gCalSelect[ch];
    m_report = CalReportLines(gInstrument(), reported, [link](int ch) { return int(link->SpanStatus(ch)); },
                              gMomentValues);
    return true;
}

void frmUploadCalib::logFailure()
{
    // Zero and span failures alike, once: a red line in the main log and one in the serial log.
    m_report.clear();
    if (frmMain *main = frmMain::Find()) {
        main->AddInfo(GetMsg(5413), kRed);
        if (uclQlif *link = CalLink())
            main->AddReasons({link->CommandFailure()});
    }
    if (uclQlif *link = CalLink())
        link->AddLog(GetMsg(5516, FormatGeneralDate(QDateTime::currentDateTime())));
}

void frmUploadCalib::finish()
{
    if (frmCalibration *cal = frmCalibration::Find()) {
        cal->CalResult = m_result;
        cal->CalReport = m_report;
    }
    if (uclQlif *link = CalLink())
        link->setRunDensty(true);
    tmrInter->stop();
    amnUpload->Stop();
    m_finished = true;
    if (!Unload(this))
        QDialog::reject();
}

void frmUploadCalib::reject()
{
    // Escape and the close box wait for the run: the link call is still using this window.
    if (!m_finished)
        return;
    QDialog::reject();
}
