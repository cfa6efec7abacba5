#include "platform/Tabs.h"
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

UpDown::UpDown(QWidget *parent) : QWidget(parent)
{
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_up->setAutoRepeat(true);
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
    m_down->setAutoRepeat(true);
    for (auto *b : {m_up, m_down}) {
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        b->setFocusPolicy(Qt::NoFocus);
        lay->addWidget(b);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDown::setValue(int v)
{
    m_value = std::clamp(v, std::min(m_min, m_max), std::max(m_min, m_max));
    if (m_buddy)
        m_buddy->setText(QString::number(m_value));
}

void UpDown::step(int dir)
{
    int v = m_value;
    if (m_buddy) {
        bool ok = false;
        const int t = m_buddy->text().trimmed().toInt(&ok);
        if (ok)
            v = t;
    }
    const int lo = std::min(m_min, m_max), hi = std::max(m_min, m_max);
    // A reversed range (Min above Max) turns the arrows round, as such controls do.
    const int sign = m_min <= m_max ? 1 : -1;
    long long next = (long long)v + (long long)dir * sign * m_inc;
    if (next > hi)
        next = m_wrap ? lo : hi;
    if (next < lo)
        next = m_wrap ? hi : lo;
    m_value = int(next);
    if (m_buddy)
        m_buddy->setText(QString::number(m_value));
    emit Change();
}
