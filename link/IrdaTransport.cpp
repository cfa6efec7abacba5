#include "link/IrdaTransport.h"

QString IrdaTransport::DefaultServerName() { return QStringLiteral("vantik-irda"); }

IrdaTransport::IrdaTransport(QObject *parent) : Transport(parent), m_serverName(DefaultServerName())
{
    connect(&m_socket, &QLocalSocket::readyRead, this, [this] {
        const QByteArray bytes = m_socket.readAll();
        if (!bytes.isEmpty())
            emit received(bytes);
    });
    connect(&m_socket, &QLocalSocket::connected, this, [this] { m_wasConnected = true; });
    connect(&m_socket, &QLocalSocket::disconnected, this, [this] {
        if (m_wasConnected) {
            m_wasConnected = false;
            emit lost();
        }
    });
    connect(&m_socket, &QLocalSocket::errorOccurred, this, [this](QLocalSocket::LocalSocketError e) {
        const int n = ErrorNumber(e);
        if (n != 0)
            emit socketError(n);
    });
}

IrdaTransport::~IrdaTransport()
{
    m_wasConnected = false;
    m_socket.abort();
}

bool IrdaTransport::open()
{
    if (m_socket.state() != QLocalSocket::UnconnectedState)
        return true;
    m_socket.connectToServer(m_serverName);
    return true;
}

void IrdaTransport::close()
{
    m_wasConnected = false;
    m_socket.abort();
}

bool IrdaTransport::isActive() const { return m_socket.state() == QLocalSocket::ConnectedState; }

bool IrdaTransport::write(const QByteArray &bytes)
{
    if (!isActive())
        return false;
    return m_socket.write(bytes) == bytes.size();
}

int IrdaTransport::ErrorNumber(QLocalSocket::LocalSocketError error)
{
    switch (error) {
    case QLocalSocket::SocketTimeoutError:
        return 10060;
    case QLocalSocket::SocketAccessError:
    case QLocalSocket::SocketResourceError:
    case QLocalSocket::UnsupportedSocketOperationError:
        return 10048;
    default:
        return 0; // not served, refused, peer closed: simply no active link
    }
}
