#include "coreui/frmOpen.h"
#include "core/Messages.h"
#include "core/modMain.h"
#include "platform/Controls.h"
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

frmOpen::frmOpen(int closeAfterMs, QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_closeAfterMs(closeAfterMs)
{
    setObjectName(QStringLiteral("frmOpen"));
    setModal(true);
    setWindowTitle(GetMsg(5001));

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    m_lblTitle = new QLabel(GetMsg(5001), frame);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    m_lblTitle->setAlignment(Qt::AlignCenter);
    FontSpec title = gFont;
    title.size = gFont.size * 2;
    title.bold = true;
    title.weight = 700;
    CopyFont(m_lblTitle, title);

    auto *inner = new QVBoxLayout(frame);
    inner->setContentsMargins(40, 40, 40, 40);
    inner->addWidget(m_lblTitle);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
}

void frmOpen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Counted from the moment it shows, so a slow start never cuts the splash short.
    QTimer::singleShot(m_closeAfterMs, this, &QDialog::accept);
}

void frmOpen::ShowSplash(int closeAfterMs)
{
    frmOpen splash(closeAfterMs);
    splash.exec();
}
