#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The instrument's end of a pseudo-terminal. The program opens the slave device
// (slavePath()) as its serial port.
class PtyLine : public QObject
{
    Q_OBJECT
public:
    explicit PtyLine(QObject *parent = nullptr);
    ~PtyLine() override;

    bool open();
    void close(); // hangs up: the program's port sees the line drop
    // Hands over the slave descriptor this line holds (-1 when none), so that close() leaves it
    // open: while it is open the terminal's number is not given to another pseudo-terminal.
    int takeSlaveHold();
    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    void write(const QByteArray &bytes);

signals:
    void received(const QByteArray &bytes);

private:
    void onReadable();
    void onWritable();

    int m_master = -1;
    int m_keepSlave = -1; // held open so the master never reads EIO while the port is closed
    QString m_slavePath;
    QByteArray m_out;
    QSocketNotifier *m_readNote = nullptr;
    QSocketNotifier *m_writeNote = nullptr;
};
