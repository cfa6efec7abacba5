#pragma once
#include "link/Transport.h"
#include <QSerialPort>

// The serial line through QSerialPort: the USB infrared adapter, or a pseudo-terminal in tests.
class SerialTransport : public Transport
{
    Q_OBJECT
public:
    explicit SerialTransport(QObject *parent = nullptr);
    ~SerialTransport() override;

    void setDevice(const QString &device) { m_device = device; }
    QString device() const { return m_device; }
    // "921600,n,8,1": baud, parity (n e o m s), data bits, stop bits (1, 1.5, 2).
    // False for a text it cannot read; the previous settings stay.
    bool setSettings(const QString &settings);
    QString settings() const { return m_settings; }
    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both (taken as RTS/CTS).
    void setHandshaking(int mode) { m_handshaking = mode; }
    void setRts(bool on) { m_rts = on; }
    void setDtr(bool on) { m_dtr = on; }

    bool open() override;
    void close() override;
    bool isActive() const override;
    bool write(const QByteArray &bytes) override;
    QString name() const override { return m_device; }

    QString lastError() const { return m_lastError; }

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    QString m_device;
    QString m_settings = QStringLiteral("921600,n,8,1");
    qint32 m_baud = 921600;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::DataBits m_dataBits = QSerialPort::Data8;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
    int m_handshaking = 0;
    bool m_rts = false;
    bool m_dtr = false;
    QString m_lastError;
};
