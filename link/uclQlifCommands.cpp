// Single commands: clock, pump, DEFAULT, factory restore, power off, zero and span calibration.
#include "core/Messages.h"
#include "core/modMain.h"
#include "link/ReadOnlyCodes.h"
#include "link/uclQlifPrivate.h"
#include <QLocale>
#include <QRegularExpression>

bool uclQlif::SetDateTime(const QDateTime &vData)
{
    if (!vData.isValid() || vData.date().year() < 2000 || vData.date().year() > 2099)
        return false;
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    return exchange("HC,W," + ReadOnlyCodes::ClockText(vData) + ",", StatusWaitWrite).outcome == Outcome::Accepted;
}

bool uclQlif::SetPump(bool Values)
{
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    return exchange(Values ? "BP,W,1," : "BP,W,0,", StatusWaitWrite).outcome == Outcome::Accepted;
}

bool uclQlif::DefaultInstrument(int16_t Dat)
{
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    m_defaultStatus.clear();
    bool ok = false;
    Reply r = exchange("UX,W," + QByteArray::number(quint16(Dat), 16).toUpper() + ",", StatusWaitWrite);
    if (r.outcome == Outcome::Accepted) {
        // The boards take their time; poll while the instrument says busy, within bounds.
        for (int poll = 0; poll < m_busyPollLimit; ++poll) {
            if (!waitTicks(kDefaultPollTicks))
                break;
            r = exchange("UX,C,", StatusWaitRead);
            if (r.outcome == Outcome::Busy)
                continue;
            if (r.outcome == Outcome::Accepted && !r.answer.fields.isEmpty() && r.answer.fields[0].size() <= 8) {
                m_defaultStatus = QString::fromLatin1(r.answer.fields[0]);
                ok = m_defaultStatus == QLatin1String("0");
            }
            break;
        }
    }
    m_log.addLine(GetMsg(ok ? 5375 : 5376));
    return ok;
}

bool uclQlif::RestoreFactorySet()
{
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    if (exchange("UP,W,", StatusWaitWrite).outcome != Outcome::Accepted)
        return false;
    for (int poll = 0; poll < m_busyPollLimit; ++poll) {
        if (!waitTicks(kRestorePollTicks))
            return false;
        const Reply r = exchange("BP,R,", StatusWaitRead);
        if (r.outcome == Outcome::Busy)
            continue;
        return r.outcome == Outcome::Accepted;
    }
    m_log.addLine(QStringLiteral("<<< Factory restore did not finish >>>"));
    return false;
}

bool uclQlif::BodyPowerOff()
{
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    const bool ok = exchange("RO,W,", StatusWaitWrite).outcome == Outcome::Accepted;
    // Only an instrument that took the command goes off; otherwise the line stays usable.
    if (ok) {
        m_portOpen = false;
        closeTransport();
        Reset();
    }
    return ok;
}

bool uclQlif::runCalibration(const QByteArray &code, const QString &gasFlag, QString &status)
{
    status.clear(); // a status left from the last run must not end this one
    if (exchange(code + ",W," + gasFlag.toLatin1() + ",", StatusWaitWrite).outcome != Outcome::Accepted) {
        m_log.addLine(GetMsg(5516, FormatGeneralDate(QDateTime::currentDateTime())));
        return false;
    }
    const bool zero = code == "SZ";
    for (int poll = 0; poll < m_busyPollLimit; ++poll) {
        if (!waitTicks(kCalPollTicks))
            return false;
        const Reply r = exchange(code + ",C,", StatusWaitRead);
        if (r.outcome == Outcome::Accepted || r.outcome == Outcome::Busy) {
            if (!r.answer.fields.isEmpty() && r.answer.fields[0].size() <= 16)
                status = QString::fromLatin1(r.answer.fields[0]);
            if (status.size() == 7)
                return true;
            continue;
        }
        // A zero run still busy may miss a poll; anything else ends the run.
        if (zero && r.outcome == Outcome::Failed && status == QString(QChar(Link::SUB)))
            continue;
        return false;
    }
    m_log.addLine(QStringLiteral("<<< Calibration did not finish >>>"));
    return false;
}

bool uclQlif::ZeroCal(const QString &GasFlag)
{
    static const QRegularExpression flags(QStringLiteral("^[01]{7}$"));
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
