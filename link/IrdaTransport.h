#pragma once
#include "link/Transport.h"
#include <QLocalSocket>

// Stand-in for the infrared socket, which Linux no longer offers: a local socket at a
// well-known name that an infrared bridge (or the simulator with --irda) serves.
// With nobody serving it there is no active link.
class IrdaTransport : public Transport
{
    Q_OBJECT
public:
    static QString DefaultServerName();

    explicit IrdaTransport(QObject *parent = nullptr);
    ~IrdaTransport() override;

    void setServerName(const QString &name) { m_serverName = name; }
    QString serverName() const { return m_serverName; }

    bool open() override;
    void close() override;
    bool isActive() const override;
    bool write(const QByteArray &bytes) override;
    QString name() const override { return m_serverName; }

    // The Windows Sockets numbers the main window knows for a socket error:
    // 10048 address in use, 10060 time-out; 0 for errors that only mean "nobody there".
    static int ErrorNumber(QLocalSocket::LocalSocketError error);

private:
    QLocalSocket m_socket;
    QString m_serverName;
    bool m_wasConnected = false;
};
