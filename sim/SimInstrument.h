#pragma once
#include "link/FrameCodec.h"
#include "model/clsInstrument.h"
#include "sim/SimFaults.h"
#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class PtyLine;
class QLocalServer;
class QLocalSocket;
class QTimer;

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
    // Loads a plain settings file into the state; false with the reason. The file's rule
    // holds: blanks in front of a name are trimmed.
    bool loadSettings(const QString &path, QString *error);
    // Takes setting-line writes ("XS,W,03,   LEAD         ,") as if they had come over the
    // line: checked as a write request is, names kept with the blanks in front they carry.
    // The result is the factory state too. All or nothing: false with the line and why.
    bool holdWrites(const QList<QByteArray> &lines, QString *error);

    // Serving. openPty() gives the slave device path ("" on failure).
    QString openPty();
    bool serveIrda(const QString &name);
    void hangUp();

    // Behaviour.
    void addRule(const SimFaultRule &rule);
    void clearRules();
    void setBusyPolls(int polls) { m_busyPolls = polls; } // busy answers before a result
    void setDefaultResult(const QString &status) { m_defaultResult = status.toLatin1(); }
    // Calibration status: by default it follows the request, one digit per channel: "1" for
    // an asked channel that is enabled, "2" (no action) for any other. A digit set here
    // replaces "1" for that channel when it is asked (0 back to the default); a whole result
    // set with setZeroResult / setSpanResult is answered as it stands ("" back to following).
    void setCalibrationDigit(int ch, char digit);
    void setZeroResult(const QString &digits) { m_zeroResult = digits.toLatin1(); }
    void setSpanResult(const QString &digits) { m_spanResult = digits.toLatin1(); }
    // Answers whose body is longer than this go out in several blocks (ETB ... EOT), split
    // between fields; 0 sends every answer in one block.
    void setAnswerBlockSize(int bodyBytes) { m_answerBlockSize = qMax(0, bodyBytes); }
    void setPoweredOn(bool on) { m_poweredOn = on; }
    // Sends at once, in order, every byte held back behind a delayed answer: a test holds
    // answers with a long delay and lets them go at the event it chooses.
    void sendHeldNow();
    // Sends the first n deliveries held back (a frame each, in order); the rest wait on.
    void sendHeldFirst(int n);
    qsizetype heldCount() const { return m_outbox.size(); }
    bool poweredOn() const { return m_poweredOn; }

    // What the link sent: the request bodies in order, the latest kMaxKeptRequests of them.
    static constexpr int kMaxKeptRequests = 20000;
    const QList<QByteArray> &requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    quint64 requestCount() const { return m_requestCount; } // every request since construction
    // Requests refused as malformed (SimRequestCheck), the first kMaxKeptRefusals of them.
    struct Refusal {
        QByteArray request;
        QString reason;
    };
    static constexpr int kMaxKeptRefusals = 100;
    const QList<Refusal> &malformedRequests() const { return m_malformed; }
    // Bytes taken from and put on the line since construction.
    quint64 bytesReceived() const { return m_bytesIn; }
    quint64 bytesSent() const { return m_bytesOut; }
    bool pumpOn() const { return m_pump; }
    QDateTime clock() const { return QDateTime::currentDateTime().addSecs(m_clockOffset); }

    // Memory images are a pattern anyone can recompute.
    static char PatternByte(char area, quint32 offset);

    // Bytes from the program (public so fuzzing and unit tests can feed it directly).
    void receive(const QByteArray &bytes);

signals:
    void requestSeen(const QByteArray &body);
    void delivered(const QByteArray &bytes); // what went on the line (fuzz seeds are recorded from it)

private:
    struct Transfer;
    int fireRule(SimFault fault, const QByteArray &code, char mode); // index of the rule that fires, -1 none
    bool ruleHits(SimFault fault, const QByteArray &code, char mode) { return fireRule(fault, code, mode) >= 0; }
    void refuseMalformed(const QByteArray &body, const QString &reason);
    void handleRequest(const QByteArray &body);
    QList<QByteArray> answerFields(const Link::Answer &req, QByteArray *mode, bool *startTransfer);
    void sendAnswer(const QByteArray &code, char mode, const QList<QByteArray> &fields);
    QList<QByteArray> answerBlocks(const QByteArray &code, char mode, const QList<QByteArray> &fields) const;
    void sendNextTextBlock();
    QList<QByteArray> calibrationAnswer(const Link::Answer &req, QByteArray *mode);
    QByteArray calibrationStatus(const QByteArray &asked) const;
    void sendFrame(const QByteArray &frame, bool corrupt, int delayMs = 0);
    void chatterFrom(const QByteArray &frame, int periodMs, quint64 request, int left = 1000);
    // Everything the instrument sends leaves in the order it was sent: bytes held back (a
    // delayed answer) hold back every byte after them, as an instrument answers in order.
    void deliver(const QByteArray &bytes, int delayMs = 0);
    void put(const QByteArray &bytes);
    void sendDue();
    void startTransfer(const Link::Answer &req);
    void sendBlock();
    QByteArray busyOr(int &counter, const QByteArray &result);

    clsInstrument m_state;
    clsInstrument m_factory;
    std::unique_ptr<PtyLine> m_pty;
    // Slave ends of the lines hung up so far, kept open while this instrument lives: a link
    // that still tries a hung-up line's device name must find nothing there, never another
    // program's new line that was given the same number.
    QList<int> m_spentLines;
    QLocalServer *m_server = nullptr;
    QLocalSocket *m_client = nullptr;
    Link::FrameAssembler m_asm;
    QList<SimFaultRule> m_rules;
    QList<int> m_ruleSeen;   // matching requests seen per rule
    QList<int> m_ruleFired;  // times fired per rule
    QList<QByteArray> m_requests;
    quint64 m_requestCount = 0;
    QList<Refusal> m_malformed;
    quint64 m_bytesIn = 0, m_bytesOut = 0;
    QList<QByteArray> m_textBlocks; // blocks of a long answer still to send, each on the ACK of the last
    int m_answerBlockSize = 0;
    QByteArray m_lastFrame;  // resent on NAK
    QByteArray m_heldFrame;  // a late answer, sent when the next request arrives
    struct Held {
        qint64 due; // ms on m_clock
        QByteArray bytes;
    };
    QList<Held> m_outbox;    // bytes waiting behind a delayed answer, in order
    QElapsedTimer m_clock;
    QTimer *m_outTimer = nullptr;
    std::unique_ptr<Transfer> m_transfer;
    int m_busyPolls = 2;
    int m_defaultBusy = 0, m_restoreBusy = 0, m_zeroBusy = 0, m_spanBusy = 0;
    bool m_restoring = false;
    QByteArray m_defaultResult = "0";
    QByteArray m_zeroResult; // "" follows the request
    QByteArray m_spanResult;
    QByteArray m_zeroStatus, m_spanStatus; // the answer of the run under way
    char m_calDigit[7] = {0, 0, 0, 0, 0, 0, 0};
    QByteArray m_romVersion[4] = {"", "V1.20", "V1.30", "V1.40"};
    bool m_pump = false;
    bool m_poweredOn = true;
    qint64 m_clockOffset = 0;
    quint32 m_readingTick = 0;
    int m_pendingDeliveries = 0;
};
