#include "sim/PtyLine.h"
#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyLine::PtyLine(QObject *parent) : QObject(parent) {}
PtyLine::~PtyLine() { close(); }

bool PtyLine::open()
{
    close();
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0)
        return false;
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        close();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(ptsname(m_master));
    m_keepSlave = ::open(m_slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    // Raw both ways: no echo, no line editing, no CR/LF translation.
    struct termios t;
    if (m_keepSlave >= 0 && tcgetattr(m_keepSlave, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(m_keepSlave, TCSANOW, &t);
    }
    m_readNote = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNote, &QSocketNotifier::activated, this, &PtyLine::onReadable);
    m_writeNote = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNote->setEnabled(false);
    connect(m_writeNote, &QSocketNotifier::activated, this, &PtyLine::onWritable);
    return true;
}

void PtyLine::close()
{
    // The notifiers may be the ones whose signal is running now: let them go later.
    for (QSocketNotifier *n : {m_readNote, m_writeNote})
        if (n) {
            n->setEnabled(false);
            n->deleteLater();
        }
    m_readNote = nullptr;
    m_writeNote = nullptr;
    if (m_keepSlave >= 0)
        ::close(m_keepSlave);
    m_keepSlave = -1;
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    m_out.clear();
}

int PtyLine::takeSlaveHold()
{
    const int fd = m_keepSlave;
    m_keepSlave = -1;
    return fd;
}

void PtyLine::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    m_out += bytes;
    onWritable();
}

void PtyLine::onWritable()
{
    while (!m_out.isEmpty() && m_master >= 0) {
        const ssize_t n = ::write(m_master, m_out.constData(), size_t(m_out.size()));
        if (n > 0) {
            m_out.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // full: wait until the program has read
    }
    if (m_writeNote)
        m_writeNote->setEnabled(!m_out.isEmpty());
}

void PtyLine::onReadable()
{
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            emit received(QByteArray(buf, n));
            if (m_master < 0)
                return; // the handler hung up
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return;
    }
}
