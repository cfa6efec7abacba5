#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>

// What the link sees of a line: write bytes, bytes arrived, line lost. The serial port, the
// infrared-socket stand-in and the tests' pseudo-terminal are interchangeable behind it.
class Transport : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~Transport() override = default;

    // Starts opening; false when it failed at once. An infrared socket opens asynchronously:
    // isActive() turns true when a peer serves it.
    virtual bool open() = 0;
    virtual void close() = 0;
    // True while bytes can be exchanged with a peer.
    virtual bool isActive() const = 0;
    virtual bool write(const QByteArray &bytes) = 0;
    virtual QString name() const = 0;

signals:
    void received(const QByteArray &bytes);
    // The line went down under us (adapter unplugged, peer hung up).
    void lost();
    // Error number of the infrared socket, for the IrDAError event.
    void socketError(int number);
};
