#include "link/SerialLog.h"
#include "core/FileIO.h"
#include "core/modMain.h"
#include <QDateTime>
#include <QTime>
#include <cerrno>
#include <cstring>
#include <unistd.h>

SerialLog::SerialLog() = default;
SerialLog::~SerialLog() { m_file.close(); }

void SerialLog::setEnabled(bool on)
{
    m_file.close();
    m_enabled = on;
    if (on)
        open();
}

void SerialLog::setPath(const QString &path)
{
    m_path = path;
    if (m_enabled)
        setEnabled(true);
}

QString SerialLog::path() const { return m_path.isEmpty() ? AppFile(QStringLiteral("SerialLog.log")) : m_path; }

void SerialLog::open()
{
    const QString p = path();
    int fd = -1;
    m_stopped = false;
    m_offReason.clear();
    const FileResult r = OpenRegularForAppend(p, fd, m_size);
    if (r && m_file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle))
        return;
    if (fd >= 0)
        ::close(fd);
    m_enabled = false;
    m_offReason = QStringLiteral("%1: %2").arg(p, r ? m_file.errorString() : r.error);
}

// The local time is looked up once a second, not for every line of a transfer.
QByteArray SerialLog::stamp()
{
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != m_stampSecond) {
        m_stampSecond = second;
        m_stamp = QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toLatin1();
    }
    return m_stamp;
}

void SerialLog::addLine(const QString &text)
{
    if (!m_enabled || m_stopped)
        return;
    QByteArray line = stamp();
    line += ' ';
    const QByteArray full = line + "<<< Serial log full: later lines are not written >>>\r\n";
    line += text.toLatin1();
    line += "\r\n";
    if (m_size + line.size() + full.size() > m_maxBytes) {
        m_stopped = true;
        line = full;
    }
    if (m_file.write(line) != line.size() || !m_file.flush()) {
        // The system's own words ("File too large"): QFile says only "Unknown error" for a short write.
        const int err = errno;
        m_stopped = true;
        m_offReason = QStringLiteral("%1: %2").arg(path(), QString::fromLocal8Bit(std::strerror(err)));
        if (m_stopNotice)
            m_stopNotice(m_offReason);
    }
    m_size += line.size();
}

void SerialLog::logSent(const QByteArray &raw)
{
    if (m_enabled)
        addLine(QStringLiteral("> : ") + Visible(raw));
}

void SerialLog::logReceived(const Link::Frame &frame)
{
    if (!m_enabled)
        return;
    if (frame.kind == Link::Frame::Binary)
        addLine(QStringLiteral("< : ") + VisibleBinary(frame));
    else
        addLine(QStringLiteral("< : ") + Visible(frame.raw));
}

QString SerialLog::Visible(const QByteArray &raw)
{
    QString out;
    out.reserve(raw.size() + 16);
    for (char ch : raw) {
        const auto c = static_cast<quint8>(ch);
        switch (c) {
        case 0x02: out += QLatin1String("[STX]"); break;
        case 0x03: out += QLatin1String("[ETX]"); break;
        case 0x04: out += QLatin1String("[EOT]"); break;
        case 0x05: out += QLatin1String("[ENQ]"); break;
        case 0x06: out += QLatin1String("[ACK]"); break;
        case 0x15: out += QLatin1String("[NAK]"); break;
        case 0x17: out += QLatin1String("[ETB]"); break;
        case 0x1A: out += QLatin1String("[SUB]"); break;
        case 0x1B: out += QLatin1String("[ESC]"); break;
        default:
            if (c < 0x20 || (c >= 0x7F && c < 0xA0))
                out += QStringLiteral("[%1]").arg(c, 2, 16, QLatin1Char('0')).toUpper();
            else
                out += QChar(c);
        }
    }
    return out;
}

QString SerialLog::VisibleBinary(const Link::Frame &frame)
{
    // raw holds STX, the header digits, ETX, checksum and end; the payload is never copied there.
    const QByteArray &r = frame.raw;
    if (r.size() < 5)
        return Visible(r);
    return Visible(r.left(5)) + QStringLiteral("<%1 bytes>").arg(frame.body.size()) + Visible(r.mid(5));
}
