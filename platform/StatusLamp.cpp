#include "platform/StatusLamp.h"
#include "platform/Twips.h"
#include <QPainter>

StatusLamp::StatusLamp(QWidget *parent) : QWidget(parent) { resize(16, 16); }

void StatusLamp::setColors(int fill, int border)
{
    m_fill = fill & 0xFFFFFF;
    m_border = border & 0xFFFFFF;
    update();
}

void StatusLamp::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = std::min(width(), height()) - 2;
    if (d <= 0)
        return;
    const QRectF r((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    p.setPen(QPen(ColorFromRgb(m_border), 2));
    p.setBrush(ColorFromRgb(m_fill));
    p.drawEllipse(r);
}
