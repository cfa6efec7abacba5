#include "link/SerialLog.h"
#include "core/modMain.h"
#include <QTime>

SerialLog::SerialLog() = default;
SerialLog::~SerialLog() { m_file.close(); }

void SerialLog::setEnabled(bool on)
{
    m_enabled = on;
    if (!on)
        m_file.close();
}

void SerialLog::setPath(const QString &path)
{
    m_file.close();
    m_path = path;
}

QString SerialLog::path() const { return m_path.isEmpty() ? AppFile(QStringLiteral("SerialLog.log")) : m_path; }

bool SerialLog::ensureOpen()
{
    const QString p = path();
    if (m_file.isOpen() && m_file.fileName() == p && m_file.exists())
        return true;
    // The main window deletes or rotates the log at start-up; reopen whenever the file went away.
    m_file.close();
    m_file.setFileName(p);
    m_stopped = false;
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append);
}

void SerialLog::addLine(const QString &text)
{
    if (!m_enabled || !ensureOpen() || m_stopped)
        return;
    QByteArray line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toLatin1();
    line += ' ';
    const QByteArray full = line + "<<< Serial log full: later lines are not written >>>\r\n";
    line += text.toLatin1();
    line += "\r\n";
    if (m_file.size() + line.size() + full.size() > m_maxBytes) {
        m_stopped = true;
        line = full;
    }
    if (m_file.write(line) != line.size() || !m_file.flush())
        m_stopped = true;
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
