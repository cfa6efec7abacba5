#include "mainwindow/frmUpload.h"
#include "core/Messages.h"
#include "core/modMain.h"
#include "link/uclQlif.h"
#include "mainwindow/frmMain.h"
#include "platform/Animation.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Twips.h"
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {
const QString kName = QStringLiteral("frmUpload");
constexpr int kLabelHeight = 375; // twips
} // namespace

frmUpload::frmUpload(QWidget *parent) : QWidget(parent, parent ? Qt::Tool : Qt::Window)
{
    setObjectName(kName);
    setWindowTitle(QStringLiteral("Now Upload"));
    amnUpload = new Animation(this);
    amnUpload->setObjectName(QStringLiteral("amnUpload"));
    lblUpload = new QLabel(QStringLiteral("Now Uploading."), this);
    lblUpload->setObjectName(QStringLiteral("lblUpload"));
    MoveTwips(lblUpload, 60, 1080, 4440, kLabelHeight);
    cmdUpload = new QPushButton(QStringLiteral("Now Download"), this);
    cmdUpload->setObjectName(QStringLiteral("cmdUpload"));
    tmrInter = new QTimer(this);
    tmrInter->setObjectName(QStringLiteral("tmrInter"));
    tmrInter->setInterval(500);
    // Keeps the window in front of the main window while a blocking call runs.
    connect(tmrInter, &QTimer::timeout, this, [this] {
        // A platform without window stacking (offscreen) has nothing to keep in front.
        if (isVisible() && QGuiApplication::platformName() != QLatin1String("offscreen"))
            raise();
    });
    connect(cmdUpload, &QPushButton::clicked, this, &frmUpload::cmdUpload_Click);
    Form_Load();
}

frmUpload *frmUpload::Default()
{
    if (!IsFormRegistered(kName))
        RegisterForm(kName, [] { return new frmUpload(frmMain::Find()); });
    return qobject_cast<frmUpload *>(Form(kName));
}

frmUpload *frmUpload::Find() { return qobject_cast<frmUpload *>(FindForm(kName)); }

void frmUpload::UnloadDefault()
{
    if (frmUpload *u = Find()) {
        u->m_unloading = true;
        Unload(u);
        // Gone for FindForm at once, whatever the event loop does next.
        u->hide();
    }
}

void frmUpload::closeEvent(QCloseEvent *event)
{
    if (m_unloading)
        event->accept();
    else
        event->ignore();
}

void frmUpload::Form_Load()
{
    CopyFontToAll(this, gFont);
    // Centred for the height with the button, as designed.
    const QScreen *s = screen();
    const QRect scr = s ? s->geometry() : QRect(0, 0, 1024, 768);
    const int w = TwipsToPixels(ComputedWidthTwips());
    const int h = TwipsToPixels(64 * TwipsPerPixelY() + 2.6 * HeightTwips(lblUpload));
    move(scr.x() + (scr.width() - w) / 2, scr.y() + (scr.height() - h) / 2);

    struct Texts {
        int message;
        bool cancel;
    };
    bool known = true;
    Texts t{6004, false};
    switch (gTransferMode) {
    case 0: t = {6004, false}; break;
    case 1: t = {6001, true}; break;
    case 2: t = {6001, false}; break;
    case 3: t = {6002, false}; break;
    case 4: t = {6003, false}; break;
    case 5: case 6: case 7: t = {6004, true}; break;
    case 8: t = {6058, false}; break;
    default: known = false; break;
    }
    if (known) {
        const QString text = GetMsg(t.message);
        setWindowTitle(text);
        lblUpload->setText(text);
        cmdUpload->setVisible(t.cancel);
        if (t.cancel)
            cmdUpload->setText(GetMsg(6005));
    }
    m_canceled = false;
    amnUpload->Open(AppFile(QStringLiteral("Filemove.avi")));
    amnUpload->Play();
    CopyFontToAll(this, gFont);
    tmrInter->start();
    Form_Resize();
}

int frmUpload::ComputedWidthTwips() const { return 288 * TwipsPerPixelX() + 240; }

int frmUpload::ComputedHeightTwips() const
{
    const double factor = cmdUpload->isHidden() ? 2.0 : 2.6;
    return int(64 * TwipsPerPixelY() + factor * HeightTwips(lblUpload));
}

void frmUpload::Form_Resize()
{
    if (m_inResize)
        return;
    m_inResize = true;
    setFixedSize(TwipsToPixels(ComputedWidthTwips()), TwipsToPixels(ComputedHeightTwips()));
    const int W = PixelsToTwips(width());
    const int H = PixelsToTwips(height());
    MoveTwips(amnUpload, 60, 60, W - 120, 64 * TwipsPerPixelY());
    const int labelTop = TopTwips(amnUpload) + HeightTwips(amnUpload) + 60;
    MoveTwips(lblUpload, 60, labelTop, W - 120);
    const int labelFoot = labelTop + HeightTwips(lblUpload);
    if (!cmdUpload->isHidden())
        MoveTwips(cmdUpload, 60, labelFoot + 60, W - 120, H - labelFoot - 120);
    m_inResize = false;
}

void frmUpload::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmUpload::cmdUpload_Click()
{
    if (m_canceled)
        return;
    lblUpload->setText(GetMsg(6006));
    if (frmMain *m = frmMain::Find())
        m->uclQL7150->setCancel(true);
    m_canceled = true;
    cmdUpload->setEnabled(false);
}
