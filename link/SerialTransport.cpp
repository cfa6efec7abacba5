#include "link/SerialTransport.h"
#include <QStringList>

SerialTransport::SerialTransport(QObject *parent) : Transport(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_port.readAll();
        if (!bytes.isEmpty())
            emit received(bytes);
    });
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialTransport::onError);
}

SerialTransport::~SerialTransport() { m_port.close(); }

bool SerialTransport::setSettings(const QString &settings)
{
    const QStringList parts = settings.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    bool ok = false;
    const qint32 baud = parts[0].trimmed().toInt(&ok);
    if (!ok || baud <= 0)
        return false;
    QSerialPort::Parity parity;
    const QString p = parts[1].trimmed().toLower();
    if (p == QLatin1String("n"))
        parity = QSerialPort::NoParity;
    else if (p == QLatin1String("e"))
        parity = QSerialPort::EvenParity;
    else if (p == QLatin1String("o"))
        parity = QSerialPort::OddParity;
    else if (p == QLatin1String("m"))
        parity = QSerialPort::MarkParity;
    else if (p == QLatin1String("s"))
        parity = QSerialPort::SpaceParity;
    else
        return false;
    const int bits = parts[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8)
        return false;
    QSerialPort::StopBits stop;
    const QString s = parts[3].trimmed();
    if (s == QLatin1String("1"))
        stop = QSerialPort::OneStop;
    else if (s == QLatin1String("1.5"))
        stop = QSerialPort::OneAndHalfStop;
    else if (s == QLatin1String("2"))
        stop = QSerialPort::TwoStop;
    else
        return false;
    m_settings = settings;
    m_baud = baud;
    m_parity = parity;
    m_dataBits = static_cast<QSerialPort::DataBits>(bits);
    m_stopBits = stop;
    return true;
}

bool SerialTransport::open()
{
    if (m_port.isOpen())
        return true;
    m_lastError.clear();
    if (m_device.isEmpty()) {
        m_lastError = QStringLiteral("no serial device");
        return false;
    }
    m_port.setPortName(m_device);
    m_port.setBaudRate(m_baud);
    m_port.setParity(m_parity);
    m_port.setDataBits(m_dataBits);
    m_port.setStopBits(m_stopBits);
    m_port.setFlowControl(m_handshaking == 1   ? QSerialPort::SoftwareControl
                          : m_handshaking >= 2 ? QSerialPort::HardwareControl
                                               : QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_lastError = m_port.errorString();
        return false;
    }
    // A pseudo-terminal has no modem lines; refusing RTS or DTR is not a reason to fail.
    if (m_handshaking < 2)
        m_port.setRequestToSend(m_rts);
    m_port.setDataTerminalReady(m_dtr);
    m_port.clearError();
    return true;
}

void SerialTransport::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool SerialTransport::isActive() const { return m_port.isOpen(); }

bool SerialTransport::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return false;
    return m_port.write(bytes) == bytes.size();
}

void SerialTransport::onError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError)
        return;
    m_lastError = m_port.errorString();
    // An unplugged adapter or a hung-up peer: close at once, or the port keeps reporting it.
    if (error == QSerialPort::ResourceError || error == QSerialPort::PermissionError) {
        if (m_port.isOpen()) {
            m_port.close();
            emit lost();
        }
    }
}
