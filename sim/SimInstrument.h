#pragma once
#include "link/FrameCodec.h"
#include "model/clsInstrument.h"
#include "sim/SimFaults.h"
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class PtyLine;
class QLocalServer;
class QLocalSocket;

// The simulated instrument: holds a full instrument state and answers every request of the
// link over a pseudo-terminal or the infrared-socket stand-in, with faults injected by rule.
// Runs on the caller's event loop, so tests that use it in-process stay deterministic.
class SimInstrument : public QObject
{
    Q_OBJECT
public:
    explicit SimInstrument(QObject *parent = nullptr);
    ~SimInstrument() override;

    clsInstrument &state() { return m_state; }
    const clsInstrument &state() const { return m_state; }
    // A plausible instrument: four fixed channels, one option board, names, lists, tables.
    void fillDemoState();
    // Loads a plain settings file into the state; false with the reason.
    bool loadSettings(const QString &path, QString *error);

    // Serving. openPty() gives the slave device path ("" on failure).
    QString openPty();
    bool serveIrda(const QString &name);
    void hangUp();

    // Behaviour.
    void addRule(const SimFaultRule &rule);
    void clearRules();
    void setBusyPolls(int polls) { m_busyPolls = polls; } // busy answers before a result
    void setDefaultResult(const QString &status) { m_defaultResult = status.toLatin1(); }
    void setZeroResult(const QString &digits) { m_zeroResult = digits.toLatin1(); }
    void setSpanResult(const QString &digits) { m_spanResult = digits.toLatin1(); }
    void setPoweredOn(bool on) { m_poweredOn = on; }
    bool poweredOn() const { return m_poweredOn; }

    // What the link sent: every request body, in order.
    const QList<QByteArray> &requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    bool pumpOn() const { return m_pump; }
    QDateTime clock() const { return QDateTime::currentDateTime().addSecs(m_clockOffset); }

    // Memory images are a pattern anyone can recompute.
    static char PatternByte(char area, quint32 offset);

    // Bytes from the program (public so fuzzing and unit tests can feed it directly).
    void receive(const QByteArray &bytes);

signals:
    void requestSeen(const QByteArray &body);

private:
    struct Transfer;
    const SimFaultRule *matchRule(const QByteArray &code, char mode);
    bool ruleHits(SimFault fault, const QByteArray &code, char mode);
    void handleRequest(const QByteArray &body);
    QList<QByteArray> answerFields(const Link::Answer &req, QByteArray *mode, bool *startTransfer);
    void sendAnswer(const QByteArray &code, char mode, const QList<QByteArray> &fields);
    void sendFrame(const QByteArray &frame, bool corrupt);
    void deliver(const QByteArray &bytes);
    void startTransfer(const Link::Answer &req);
    void sendBlock();
    QByteArray busyOr(int &counter, const QByteArray &result);

    clsInstrument m_state;
    clsInstrument m_factory;
    std::unique_ptr<PtyLine> m_pty;
    QLocalServer *m_server = nullptr;
    QLocalSocket *m_client = nullptr;
    Link::FrameAssembler m_asm;
    QList<SimFaultRule> m_rules;
    QList<int> m_ruleSeen;   // matching requests seen per rule
    QList<int> m_ruleFired;  // times fired per rule
    QList<QByteArray> m_requests;
    QByteArray m_lastFrame;  // resent on NAK
    QByteArray m_heldFrame;  // a late answer, sent when the next request arrives
    std::unique_ptr<Transfer> m_transfer;
    int m_busyPolls = 2;
    int m_defaultBusy = 0, m_restoreBusy = 0, m_zeroBusy = 0, m_spanBusy = 0;
    bool m_restoring = false;
    QByteArray m_defaultResult = "0";
    QByteArray m_zeroResult = "1111111";
    QByteArray m_spanResult = "1111111";
    QByteArray m_romVersion[4] = {"", "V1.20", "V1.30", "V1.40"};
    bool m_pump = false;
    bool m_poweredOn = true;
    qint64 m_clockOffset = 0;
    quint32 m_readingTick = 0;
    int m_pendingDeliveries = 0;
};
