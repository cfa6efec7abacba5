// Single commands: clock, pump, DEFAULT, factory restore, power off, zero and span calibration.
#include "core/Messages.h"
#include "core/Wait.h"
#include "core/modMain.h"
#include "link/ReadOnlyCodes.h"
#include "link/uclQlifPrivate.h"
#include "settingsfiles/SettingLabel.h"
#include <QElapsedTimer>
#include <QLocale>
#include <QRegularExpression>

QString uclQlif::Problem(const Reply &r)
{
    switch (r.outcome) {
    case Outcome::Accepted:
        return {};
    case Outcome::Refused:
        return QStringLiteral("refused by the instrument");
    case Outcome::Busy:
        return QStringLiteral("the instrument is busy");
    case Outcome::Failed:
    case Outcome::Cancelled:
        break;
    }
    return r.why;
}

void uclQlif::commandFailed(const QByteArray &code, const QString &why)
{
    m_commandFailure = QStringLiteral("%1: %2").arg(SettingLabel(QString::fromLatin1(code)), why);
    m_log.addLine(QStringLiteral("<<< %1 >>>").arg(m_commandFailure));
}

// A command counts only on its own answer (the exchange waits for it): an answer an earlier
// request of its code may have had confirms nothing.
bool uclQlif::commandDone(const QByteArray &code, const Reply &r)
{
    if (r.outcome == Outcome::Accepted)
        return true;
    commandFailed(code, Problem(r));
    return false;
}

bool uclQlif::SetDateTime(const QDateTime &vData)
{
    m_commandFailure.clear();
    if (!vData.isValid() || vData.date().year() < 2000 || vData.date().year() > 2099)
        return false;
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    // The time goes on while the line is settled or the request resent: send the time it is
    // when the request leaves, not the time it was asked for.
    QElapsedTimer since;
    since.start();
    return commandDone("HC", exchange("HC", [&] { return "HC,W," + ReadOnlyCodes::ClockText(vData.addMSecs(since.elapsed())) + ","; },
                                      StatusWaitWrite));
}

bool uclQlif::SetPump(bool Values)
{
    m_commandFailure.clear();
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    return commandDone("BP", exchange(Values ? "BP,W,1," : "BP,W,0,", StatusWaitWrite));
}

bool uclQlif::DefaultInstrument(int16_t Dat)
{
    m_commandFailure.clear();
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    m_defaultStatus.clear();
    bool ok = false;
    // The boards take their time; poll while the instrument says busy, within bounds.
    busyPoll("UX,W," + QByteArray::number(quint16(Dat), 16).toUpper() + ",", "UX,C,", kDefaultPollTicks,
             [&](const Reply &r) {
                 if (r.outcome == Outcome::Busy)
                     return PollVerdict::Again;
                 if (r.outcome == Outcome::Accepted && !r.answer.fields.isEmpty() &&
                     r.answer.fields[0].size() <= 8) {
                     m_defaultStatus = QString::fromLatin1(r.answer.fields[0]);
                     ok = m_defaultStatus == QLatin1String("0");
                 }
                 return PollVerdict::Done;
             });
    m_log.addLine(GetMsg(ok ? 5375 : 5376));
    return ok;
}

bool uclQlif::RestoreFactorySet()
{
    m_commandFailure.clear();
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    return busyPoll("UP,W,", "BP,R,", kRestorePollTicks, [](const Reply &r) {
               if (r.outcome == Outcome::Busy)
                   return PollVerdict::Again;
               return r.outcome == Outcome::Accepted ? PollVerdict::Done : PollVerdict::Failed;
           }) == PollEnd::Done;
}

bool uclQlif::BodyPowerOff()
{
    m_commandFailure.clear();
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    const Reply r = exchange("RO,W,", StatusWaitWrite);
    if (commandDone("RO", r)) {
        m_portOpen = false;
        closeTransport();
        Reset();
        return true;
    }
    // A refusal proves the instrument is there. Silence does not: it may have gone off without
    // a word, so the link searches again instead of claiming a connection.
    if (r.outcome == Outcome::Failed && m_linkState == LinkConnected) {
        m_log.addLine(QStringLiteral("<<< No answer to power off: searching again >>>"));
        dropConnection(false);
    }
    return false;
}

bool uclQlif::runCalibration(const QByteArray &code, const QString &gasFlag, QString &status)
{
    status.clear(); // a status left from the last run must not end this one
    const bool zero = code == "SZ";
    const PollEnd end = busyPoll(code + ",W," + gasFlag.toLatin1() + ",", code + ",C,", kCalPollTicks, [&](const Reply &r) {
        if (r.outcome == Outcome::Accepted || r.outcome == Outcome::Busy) {
            if (!r.answer.fields.isEmpty() && r.answer.fields[0].size() <= 16)
                status = QString::fromLatin1(r.answer.fields[0]);
            return status.size() == 7 ? PollVerdict::Done : PollVerdict::Again;
        }
        // A zero run the instrument last called busy polls on when a poll is not answered
        // or refused; anything else ends the run.
        if (zero && status == QString(QChar(Link::SUB)))
            return PollVerdict::Again;
        return PollVerdict::Failed;
    });
    if (end == PollEnd::NotStarted)
        m_log.addLine(GetMsg(5516, FormatGeneralDate(QDateTime::currentDateTime())));
    return end == PollEnd::Done;
}

// ---- busy polls

// The run is driven by the link's tick and its receive path, not by the caller's stack: a
// modal window opened inside the wait (a message box, a dialog) runs its own event loop above
// the caller, and the polls go on under it. The caller only waits for the run's end.
struct uclQlif::PollRun {
    QByteArray first; // the command that starts the run
    QByteArray body;  // the poll
    int pollTicks = 0;
    std::function<PollVerdict(const Reply &)> judge;
    int countdown = 1; // ticks until the next request
    int polls = 0;
    QString why;           // what ended a run that failed or did not start
    bool started = false;  // the first command was accepted
    bool awaiting = false; // a request of the run is on the line
    PollEnd end = PollEnd::Running;
};

uclQlif::PollEnd uclQlif::busyPoll(const QByteArray &first, const QByteArray &pollBody, int pollTicks,
                                   const std::function<PollVerdict(const Reply &)> &judge)
{
    settleBefore(first.left(2));
    if (m_cancel) {
        m_status = StatusCancelled;
        commandFailed(first.left(2), QStringLiteral("cancelled"));
        return PollEnd::NotStarted;
    }
    PollRun run;
    run.first = first;
    run.body = pollBody;
    run.pollTicks = pollTicks;
    run.judge = judge;
    m_run = &run;
    pollTick(); // the first command goes at once
    waitFor([&] { return run.end != PollEnd::Running; });
    m_run = nullptr;
    if (run.end == PollEnd::Running) {
        m_pending = PendingKind::None;
        // A dropped line has reset the link already; leave its status at reset.
        m_status = m_cancel ? StatusCancelled : m_lineDropped ? StatusReset : StatusFailed;
        run.end = run.started ? PollEnd::Failed : PollEnd::NotStarted;
        run.why = m_cancel ? QStringLiteral("cancelled") : QStringLiteral("the line was lost");
    }
    if (run.end == PollEnd::Failed || run.end == PollEnd::NotStarted)
        commandFailed(first.left(2), run.why);
    return run.end;
}

void uclQlif::pollTick()
{
    PollRun &run = *m_run;
    if (run.end != PollEnd::Running || run.awaiting || m_pending != PendingKind::None || --run.countdown > 0)
        return;
    // Leave the instrument the gap it needs after its last answer.
    if (inGap()) {
        run.countdown = 1;
        return;
    }
    m_status = run.started ? StatusWaitRead : StatusWaitWrite;
    // A poll may take the answer of an earlier poll of the same run: both tell its status.
    if (!sendRequest(run.started ? run.body : run.first, PendingKind::Op, run.started ? Unsure::Take : Unsure::Wait)) {
        m_log.addLine(QStringLiteral("<<< Port not open >>>"));
        m_status = StatusFailed;
        run.why = QStringLiteral("the line is not open");
        run.end = run.started ? PollEnd::Failed : PollEnd::NotStarted;
        WaitNotify();
        return;
    }
    run.awaiting = true;
}

void uclQlif::pollAnswered(const Reply &r)
{
    PollRun &run = *m_run;
    if (!run.awaiting)
        return;
    run.awaiting = false;
    m_status = r.outcome == Outcome::Failed ? StatusFailed : StatusDone;
    if (!run.started) {
        run.started = r.outcome == Outcome::Accepted;
        run.end = run.started ? PollEnd::Running : PollEnd::NotStarted;
        run.why = Problem(r);
        run.countdown = run.pollTicks;
        return;
    }
    switch (run.judge(r)) {
    case PollVerdict::Again:
        if (++run.polls < m_busyPollLimit) {
            run.countdown = run.pollTicks;
            return;
        }
        m_log.addLine(QStringLiteral("<<< %1 did not finish >>>").arg(QString::fromLatin1(run.body.left(2))));
        run.why = QStringLiteral("it did not finish within %1 status polls").arg(m_busyPollLimit);
        run.end = PollEnd::Failed;
        break;
    case PollVerdict::Done:
        run.end = PollEnd::Done;
        break;
    case PollVerdict::Failed:
        run.why = r.outcome == Outcome::Accepted ? QStringLiteral("the instrument reported no result")
                                                 : QStringLiteral("its status poll: %1").arg(Problem(r));
        run.end = PollEnd::Failed;
        break;
    }
    if (run.end == PollEnd::Failed)
        m_status = StatusFailed;
}

bool uclQlif::ZeroCal(const QString &GasFlag)
{
    static const QRegularExpression flags(QStringLiteral("^[01]{7}$"));
    m_commandFailure.clear();
    m_zeroStatus.clear();
    if (!flags.match(GasFlag).hasMatch())
        return false;
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    return runCalibration("SZ", GasFlag, m_zeroStatus);
}

bool uclQlif::SpanCal(const QString &GasFlag)
{
    static const QRegularExpression request(QStringLiteral("^[01]{7}(,[0-9A-F]{4}){7}$"));
    m_commandFailure.clear();
    m_spanStatus.clear();
    if (!request.match(GasFlag).hasMatch())
        return false;
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    return runCalibration("S2", GasFlag, m_spanStatus);
}

namespace {
int16_t StatusDigit(const QString &status, int index)
{
    if (status.size() != 7 || index < 0 || index > 6 || !status[index].isDigit())
        return -1;
    return int16_t(status[index].digitValue());
}
} // namespace

int16_t uclQlif::ZeroStatus(int Index) const { return StatusDigit(m_zeroStatus, Index); }
int16_t uclQlif::SpanStatus(int Index) const { return StatusDigit(m_spanStatus, Index); }
