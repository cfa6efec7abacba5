#pragma once
#include "link/FrameCodec.h"
#include "link/RequestOrder.h"
#include "link/SerialLog.h"
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

class clsInstrument;
class Transport;
class SerialTransport;
class IrdaTransport;

// The instrument link: owns the serial or infrared-socket transport, frames requests,
// runs the connection state machine on its 100 ms tick, and offers the blocking operations
// the windows call. Blocking calls wait on a nested event loop, so timers and the events
// below keep running inside them; a second operation started meanwhile is refused.
//
// Events are Qt signals, declared in the order the windows know them.
class uclQlif : public QObject
{
    Q_OBJECT
public:
    // Command status codes.
    enum StatusCode {
        StatusReset = 0, StatusIdle = 2, StatusMultiBlock = 3, StatusWaitRead = 4, StatusWaitWrite = 5,
        StatusDone = 6, StatusFailed = 7, StatusCancelled = 8, StatusDump = 9
    };
    // Link states.
    enum LinkStateCode { LinkDown = 0, LinkSearching = 2, LinkConnected = 3, LinkReopened = 4 };

    explicit uclQlif(QObject *parent = nullptr);
    ~uclQlif() override;

    // --- properties ---
    int16_t Retry() const { return m_retry; }
    void setRetry(int16_t v);          // below 1 counts as 1
    int16_t Timeout() const { return m_timeout; }
    void setTimeout(int16_t seconds);  // below 1 counts as 1
    bool SerialComm() const { return m_serialComm; }
    void setSerialComm(bool v);
    int16_t CommPort() const { return m_commPort; }
    void setCommPort(int16_t port);    // also picks the device name kept beside gIrCommNum
    QString CommDevice() const { return m_commDevice; }
    void setCommDevice(const QString &device); // a device path given directly (tests: a pty)
    QString Settings() const { return m_settings; }
    void setSettings(const QString &settings);
    int16_t Handshaking() const { return m_handshaking; }
    void setHandshaking(int16_t v);
    bool RTSEnable() const { return m_rts; }
    void setRTSEnable(bool v);
    bool DTREnable() const { return m_dtr; }
    void setDTREnable(bool v);
    bool PortOpen() const { return m_portOpen; }
    void setPortOpen(bool open);
    int16_t SerialFileNo() const { return m_serialFileNo; }
    void setSerialFileNo(int16_t n);   // below 1: serial log off
    int16_t DumpListFileNo() const { return m_dumpListFileNo; }
    void setDumpListFileNo(int16_t n) { m_dumpListFileNo = n; }
    bool TimerEnabled() const { return m_timer.isActive(); }
    void setTimerEnabled(bool on);
    bool Connected() const { return m_linkState == LinkConnected; }
    void setConnected(bool) {}         // read-only: setting it has no effect
    int Status() const { return m_status; }
    bool Cancel() const { return m_cancel; }
    void setCancel(bool v);
    bool RunDensty() const { return m_runDensty; }
    void setRunDensty(bool v);
    QString DefaultStatus() const { return m_defaultStatus; }

    int LinkState() const { return m_linkState; }
    bool Busy() const { return m_opDepth > 0; }

    // --- host and test knobs ---
    // Real length of one tick; every wait of the link is counted in ticks.
    void setTickInterval(int ms);
    int tickInterval() const { return m_timer.interval(); }
    void setIrdaServerName(const QString &name);
    // A line of the host's own in place of the serial port and the infrared socket (the
    // fuzzer drives the receive path through one); nullptr goes back to those two. Set it
    // while the port is closed; not owned.
    void setHostTransport(Transport *t);
    SerialLog &serialLog() { return m_log; }
    // Busy polls before DEFAULT, factory restore or a calibration gives up (tests shorten it).
    void setBusyPollLimit(int polls) { m_busyPollLimit = qMax(1, polls); }
    // Number of frames written since construction (benchmarks, tests).
    quint64 framesSent() const { return m_framesSent; }

    // --- operations ---
    void AddLog(const QString &vData);
    bool GetInstrument(clsInstrument &iObj);
    bool GetLatestHistory(clsInstrument &iObj);
    bool SetInstrument(clsInstrument &iObj);
    bool SetDateTime(const QDateTime &vData);
    bool SetPump(bool Values);
    bool DefaultInstrument(int16_t Dat);
    bool RestoreFactorySet();
    bool BodyPowerOff();
    void Reset();
    bool ByteArrayMode(int ch, const QString &SubCmd);
    QString getOptData(int ch, const QString &cmd, int byt);
    bool GetBinDump(const QString &FilePath, int sb, int eb);
    bool GetBinDumpFRAM(const QString &FilePath);
    bool GetOptBinDump(int ch, const QString &cmd, const QString &FilePath, int sz);
    // Why the last dump's image could not be written ("No space left on device"); empty
    // when it was written or the dump itself failed.
    QString DumpFileError() const { return m_dumpFileError; }
    // Why the last memory dump failed, for the log pane: the dump as the windows name it, where
    // it stopped and why ("FLASH Dump (EP) failed at block 1 of 4096: no answer from the
    // instrument (4 tries)"). Empty when it completed or only its file could not be written.
    QString DumpFailure() const { return m_dumpFailure; }
    // Why the last GetInstrument failed, for the user: "Interval Trend Time (XP): no answer
    // from the instrument (4 tries)"; empty when it did not fail.
    QString ReadFailure() const { return m_readFailure; }
    // What the last GetInstrument read on past, one text each: "Station 3 (XS 03): the
    // instrument refused to read it". Those lines stay unread in the record, and no upload sends
    // them until they are read or typed.
    QStringList ReadGaps() const { return m_readGaps; }
    // What the last SetInstrument could not send, or sent without the instrument taking it:
    // one text each, naming the setting and why ("Station 4 (XS 04) not sent: ... holds \",\"...").
    QStringList UploadProblems() const { return m_uploadProblems; }
    // Why the last single command (clock, pump, power off, DEFAULT, factory restore, zero,
    // span) failed, naming it: "Clock (HC): no answer from the instrument (4 tries)"; empty
    // when it did not fail.
    QString CommandFailure() const { return m_commandFailure; }
    bool ZeroCal(const QString &GasFlag);
    bool SpanCal(const QString &GasFlag);
    int16_t ZeroStatus(int Index) const;
    int16_t SpanStatus(int Index) const;

    // Ticks between the polls of the busy loops, and how many polls before giving up.
    static constexpr int kDefaultPollTicks = 50;   // "UX,C," about every 5 s
    static constexpr int kCalPollTicks = 20;       // "SZ,C," / "S2,C," every 2 s
    static constexpr int kRestorePollTicks = 20;   // "BP,R," every 2 s
    static constexpr int kMaxBusyPolls = 150;      // about 5 to 12 minutes: far beyond any real run
    static constexpr int kProbeTicks = 10;         // "RC,R," about every second
    static constexpr int kDenstyTicks = 10;        // "DN,R," every second
    static constexpr int kProbesPerReopen = 5;

signals:
    void OnConnect();
    void Densty(float Value1, float Value2, float Value3, float Value4, float Value5, float Value6,
                float Value7);
    void ConnectRetry(int16_t RetryCount);
    void InstMessage(const QString &MessageString);
    void InterMessage(const QString &MessageString);
    void AlarmMessage(const QString &MessageString);
    void DumpMessage(const QString &MessageString);
    void LinkLost();
    void IrDAError(int16_t ErrorNumber);
    void StsTransmit();
    void StsIdle();

public:
    // How one exchange ended.
    enum class Outcome { Accepted, Refused, Busy, Failed, Cancelled };
    struct Reply {
        Outcome outcome = Outcome::Failed;
        Link::Answer answer;
        int sends = 1; // how often the request went out (resends after a time-out or NAK)
        // No earlier request that may still be answered could have had this answer: it can only
        // be this request's own. Only an exchange that takes such answers sees it false.
        bool own = true;
        QString why; // a failed or cancelled exchange: why, in the user's words
    };
    // What an exchange does with an answer that an earlier request may have had: wait on for
    // its own (a resend after the time-out, within the retries), or take it with own false
    // for a caller that can confirm otherwise (a write it can read back).
    enum class Unsure { Wait, Take };

private:
    enum class PendingKind { None, Probe, Poll, Op, Dump };
    struct DumpState;

    // transport and state machine
    Transport *transport() const;
    void openTransport();
    void closeTransport();
    void onTick();
    void onBytes(const QByteArray &bytes);
    void onLost();
    void onSocketError(int number);
    void handleFrame(const Link::Frame &f);
    void handleText(const Link::Frame &f);
    void handleBinary(const Link::Frame &f);
    void completePending(Outcome outcome, const Link::Answer &answer, const QString &why = {}, bool own = true);
    void failPending(const QString &why) { completePending(Outcome::Failed, {}, why); }
    void refuseCharacters(const Link::Frame &f);
    // Settles the requests on the line by a whole answer; true when it is the pending
    // request's to take (its own, or one it takes unsure).
    bool takesAnswer(const Link::Answer &a, bool *own);
    static Outcome OutcomeOf(const Link::Answer &a);
    // After an answer that may be the pending request's own or a NAK's repeat: one connection
    // check settles the line at once instead of a time-out, then the request is confirmed
    // (the repeat came too) or sent again.
    void sendSettlingCheck();
    bool settlingCheckAnswered(); // true when the answer that came settled that check
    QString noAnswerReason() const;
    void searchTick();
    void probeFailed();
    void connectedTick();
    void enterSearching(bool reopened);
    void becomeConnected();
    void dropConnection(bool lineLost);

    // sending
    bool sendRaw(const QByteArray &bytes);
    bool sendRequest(const QByteArray &body, PendingKind kind, Unsure unsure = Unsure::Wait);
    void resendPending();

    // blocking helpers
    bool beginOperation();
    void endOperation();
    bool waitFor(const std::function<bool()> &done); // nested loop; false when cancelled
    Reply exchange(const QByteArray &body, int waitStatus, Unsure unsure = Unsure::Wait);
    // The body made when the request goes out, and again for each resend (a clock set carries
    // the time at which it is sent, not the time it was asked for).
    Reply exchange(const QByteArray &code, const std::function<QByteArray()> &makeBody, int waitStatus,
                   Unsure unsure = Unsure::Wait);
    void settleBefore(const QByteArray &code);
    QByteArray freeCheck() const;
    bool inGap() const;
    bool settleAfterResend();
    QString readBackProblem(const QByteArray &line, const QByteArray &readRequest, bool *stopped);
    void failLine(clsInstrument &inst, const QString &code, const QString &key, const QString &why);
    void failStatus();
    static QString Problem(const Reply &r); // why an exchange did not end accepted
    bool commandDone(const QByteArray &code, const Reply &r);
    void commandFailed(const QByteArray &code, const QString &why);

    // operations helpers
    // What a busy poll makes of one answer: poll again, or the run is over (well or not).
    enum class PollVerdict { Again, Done, Failed };
    enum class PollEnd { Running, NotStarted, Done, Failed }; // NotStarted: first was not accepted
    struct PollRun;
    // Sends first, then, once it is accepted, pollBody every pollTicks until judge ends the run
    // or the poll limit is reached.
    PollEnd busyPoll(const QByteArray &first, const QByteArray &pollBody, int pollTicks,
                     const std::function<PollVerdict(const Reply &)> &judge);
    void pollTick();
    void pollAnswered(const Reply &r);
    bool runCalibration(const QByteArray &code, const QString &gasFlag, QString &status);
    bool runDump(DumpState &d);
    void drainLine(); // after a dump that stopped early
    // what: the dump as the windows name it, built only when a failure is said.
    bool dumpToFile(DumpState &d, const QByteArray &image, const QString &FilePath,
                    const std::function<QString()> &what);
    bool addressedDump(QByteArray &image, int blockSize, const QString &label,
                       const std::function<QByteArray(int fromBlock)> &requestFrom, const QString &FilePath,
                       const std::function<QString()> &what);
    void onDensty(const Link::Answer &a);

    // settings and ports
    int16_t m_retry = 3;
    int16_t m_timeout = 3;
    bool m_serialComm = false;
    int16_t m_commPort = 0;
    QString m_commDevice;
    QString m_settings = QStringLiteral("921600,n,8,1");
    int16_t m_handshaking = 0;
    bool m_rts = false;
    bool m_dtr = false;
    bool m_portOpen = false;
    int16_t m_serialFileNo = 0;
    int16_t m_dumpListFileNo = 0;
    std::unique_ptr<SerialTransport> m_serial;
    std::unique_ptr<IrdaTransport> m_irda;
    Transport *m_active = nullptr;
    Transport *m_host = nullptr;

    // state machine
    QTimer m_timer;
    int m_linkState = LinkDown;
    int m_status = StatusReset;
    bool m_cancel = false;
    bool m_runDensty = false;
    int m_probeCountdown = 0;
    int m_connectAttempts = 0;
    int m_reopenCycles = 0;
    int m_denstyCountdown = 0;
    int m_denstyFailures = 0;
    bool m_searchReported = false;
    quint64 m_tickCount = 0;

    // receive path
    Link::FrameAssembler m_asm;
    PendingKind m_pending = PendingKind::None;
    QByteArray m_pendingCode;
    char m_pendingMode = 0;
    QByteArray m_pendingKey; // entry number of a list read: its answer starts with it
    QByteArray m_pendingFrame;
    std::function<QByteArray()> m_makeBody; // the pending request's body, made anew for a resend
    // Requests on the line that may still be answered, kept while the line stays open.
    RequestOrder m_order;
    quint64 m_group = 0;     // the pending request's group in m_order
    quint64 m_groupSeq = 0;
    bool m_takeUnsure = false;
    int m_unsure = 0;        // answers the pending request let pass as maybe an earlier one's
    Link::Answer m_unsureAnswer; // the pending request's answer, unless it was a NAK's repeat
    bool m_settleWanted = false; // a settling check is to go once the bytes in hand are read
    quint64 m_settleGroup = 0;   // that check on the line: its answer settles everything before it
    int m_ticksLeft = 0;
    int m_resendsLeft = 0;
    int m_sends = 0;         // times the pending request went out
    QByteArray m_blocks;     // text answer gathered over ETB blocks
    char m_blocksMode = 0;   // their mode, from the first block
    int m_blockCount = 0;
    bool m_pendingDone = false;
    Reply m_reply;
    QElapsedTimer m_sinceReceive;
    DumpState *m_dump = nullptr;
    PollRun *m_run = nullptr; // the busy-poll run in progress

    // operation state
    int m_opDepth = 0;
    int m_busyPollLimit = kMaxBusyPolls;
    bool m_lineDropped = false;
    QString m_defaultStatus;
    QString m_zeroStatus;
    QString m_spanStatus;

    SerialLog m_log;
    QString m_dumpFileError;
    QString m_dumpFailure;
    QStringList m_uploadProblems;
    QString m_readFailure;
    QStringList m_readGaps;
    QString m_commandFailure;
    quint64 m_framesSent = 0;
};
