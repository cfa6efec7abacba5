#pragma once
#include <functional>
#include "link/FrameCodec.h"
#include <QFile>
#include <QString>

// The serial log "SerialLog.log" beside the program: one line per frame or note,
// "hh:nn:ss text", Latin-1, CR LF. Sent frames follow "> : ", received ones "< : ".
//
// It is an append-only log that must survive a crash mid-transfer, so it is kept open and
// flushed line by line instead of being rewritten through a temporary file. It is bounded:
// past kMaxBytes (or after a failed write, such as a full disk) one last line says so and
// nothing more is written to that file. Only a regular file is taken: a pipe, folder or
// device in its place (or a file that cannot be opened) turns the log off.
class SerialLog
{
public:
    SerialLog();
    ~SerialLog();

    // Off (the default) writes nothing and keeps no file open. On opens the file at once;
    // when it cannot be taken the log stays off and offReason() says why.
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    QString offReason() const { return m_offReason; }
    // Called once, with "<path>: <error>", when a write or its flush fails and the log stops.
    void setStopNotice(std::function<void(const QString &)> notice) { m_stopNotice = std::move(notice); }
    // Defaults to AppFile("SerialLog.log"); tests point it elsewhere.
    void setPath(const QString &path);
    QString path() const;

    static constexpr qint64 kMaxBytes = qint64(64) << 20;
    // Tests lower the bound.
    void setMaxBytes(qint64 bytes) { m_maxBytes = bytes; }

    void addLine(const QString &text);
    void logSent(const QByteArray &raw);
    void logReceived(const Link::Frame &frame);

    // Control characters as [STX], [ETX] ... or [hh]; everything else as it is.
    static QString Visible(const QByteArray &raw);
    // A binary block with its payload cut to "<n bytes>".
    static QString VisibleBinary(const Link::Frame &frame);

private:
    void open();
    QByteArray stamp(); // "hh:nn:ss" of now, local time

    bool m_enabled = false;
    bool m_stopped = false; // full, or a write failed: nothing more until the file is reopened
    qint64 m_maxBytes = kMaxBytes;
    qint64 m_size = 0;      // bytes in the file, kept here rather than asked of the file per line
    QString m_path;
    QString m_offReason;
    std::function<void(const QString &)> m_stopNotice;
    QFile m_file;
    qint64 m_stampSecond = -1;
    QByteArray m_stamp;
};
