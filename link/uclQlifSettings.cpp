// The settings read (GetInstrument, GetLatestHistory) and the write sequence (SetInstrument).
// Both walk the setting-line codec; only the codes that are not setting lines are listed here.
#include "core/modMain.h"
#include "link/ReadOnlyCodes.h"
#include "link/SupportFlags.h"
#include "link/uclQlifPrivate.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "settingsfiles/SettingLabel.h"
#include "settingsfiles/SettingLines.h"
#include <functional>

namespace {
QStringList ToStrings(const QList<QByteArray> &fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QByteArray &f : fields)
        out.append(QString::fromLatin1(f));
    return out;
}

QByteArray ReadRequest(const SettingLines::Entry &e)
{
    QByteArray body = e.code.toLatin1() + ",R,";
    const QString key = SettingLines::requestKey(e);
    if (!key.isEmpty())
        body += key.toLatin1() + ",";
    return body;
}
} // namespace

// A read that ends in failure leaves the status at failed, whatever its last exchange was
// (a refusal completes an exchange: on its own it would read done). Cancelled and reset stay.
void uclQlif::failStatus()
{
    if (m_status != StatusCancelled && m_status != StatusReset)
        m_status = StatusFailed;
}

void uclQlif::failLine(clsInstrument &inst, const QString &code, const QString &key, const QString &why)
{
    clsInstrument::DeviceDoor door(inst);
    inst.setFailLine(code + QStringLiteral(",R"));
    m_readFailure = QStringLiteral("%1: %2").arg(SettingLabel(code, key), why);
    m_log.addLine(QStringLiteral("<<< Read failed: %1 >>>").arg(m_readFailure));
    failStatus();
}

bool uclQlif::GetInstrument(clsInstrument &iObj)
{
    m_readFailure.clear();
    m_readGaps.clear();
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    iObj.ClearDatas();
    clsInstrument::DeviceDoor door(iObj);

    GroupSupport groups;
    bool walked = true;
    for (const SettingLines::Entry &e : SettingLines::entries()) {
        const QString key = SettingLines::requestKey(e);
        const Reply r = exchange(ReadRequest(e), StatusWaitRead);
        if (r.outcome == Outcome::Refused) {
            // Not every instrument knows every command: note it and read on. The line's cleared
            // value is not the instrument's.
            m_log.addLine(QStringLiteral("<<< %1,R refused >>>").arg(e.code));
            groups.missed(iObj, e, QStringLiteral("the instrument refused to read it"));
            continue;
        }
        if (r.outcome != Outcome::Accepted) {
            failLine(iObj, e.code, key, r.outcome == Outcome::Busy ? QStringLiteral("the instrument is busy") : r.why);
            walked = false;
            break;
        }
        // Names as the instrument holds them, blanks in front included (only the padding is the
        // writer's): an untouched upload gives them back as they came.
        const SettingLines::ParseResult p = SettingLines::parseFields(iObj, e.code, ToStrings(r.answer.fields),
                                                                      SettingLines::Door::Device,
                                                                      SettingLines::Blanks::Keep);
        if (p.ok()) {
            groups.answered(e); // the codec itself notes a group an older instrument answers in short
            continue;
        }
        // An older instrument may answer a group it lacks in a form of its own: read on, as past
        // a refusal.
        if (SettingLines::supportFlag(e) != clsInstrument::M::Count) {
            m_log.addLine(QStringLiteral("<<< %1,R: %2 >>>").arg(e.code, p.reason));
            groups.missed(iObj, e, QStringLiteral("its answer could not be taken (%1)").arg(p.reason));
            continue;
        }
        failLine(iObj, e.code, key, p.reason);
        walked = false;
        break;
    }
    // Only the whole walk tells whether a group answered at all. A failed read is settled too:
    // the record it leaves still tells what it could not read.
    const GroupSupport::Settled settled = groups.settle(iObj);
    for (const QString &codes : settled.refused)
        m_log.addLine(QStringLiteral("<<< %1: no entry answered; taken as not supported >>>").arg(codes));
    for (const GroupSupport::Missed &m : settled.unread)
        m_readGaps << QStringLiteral("%1: %2").arg(SettingLabel(*m.entry), m.why);
    if (!walked)
        return false;

    for (const QByteArray &code : ReadOnlyCodes::ReadOrder()) {
        const Reply r = exchange(code + ",R,", StatusWaitRead);
        if (r.outcome == Outcome::Refused && code != "HC") {
            m_log.addLine(QStringLiteral("<<< %1,R refused >>>").arg(QString::fromLatin1(code)));
            continue;
        }
        QString why = r.outcome == Outcome::Refused ? QStringLiteral("refused by the instrument") : r.why;
        if (r.outcome != Outcome::Accepted || !ReadOnlyCodes::Apply(iObj, code, r.answer.fields, &why)) {
            failLine(iObj, QString::fromLatin1(code), {}, why);
            return false;
        }
        if (code == "MS" && !iObj.MessageString().isEmpty()) {
            const QString text = iObj.MessageString();
            emit InstMessage(text);
        }
    }
    SetCatPpmCh(iObj);
    SetCatVolCh(iObj);
    return true;
}

bool uclQlif::GetLatestHistory(clsInstrument &iObj)
{
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    const Reply r = exchange("SO,R,0,", StatusWaitRead);
    if (r.outcome != Outcome::Accepted) {
        failStatus();
        return false;
    }
    QString text, why;
    clsInstrument::DeviceDoor door(iObj);
    if (!ReadOnlyCodes::ApplyHistory(iObj, r.answer.fields, &text, &why)) {
        m_log.addLine(QStringLiteral("<<< SO,R: %1 >>>").arg(why));
        failStatus();
        return false;
    }
    emit InterMessage(text);
    return true;
}

// Reads back a line that was written: empty when the instrument answers with exactly the
// fields that were sent, else why not. The answer carries the values themselves (and the entry
// number, for list codes), so it speaks for what the instrument holds. *stopped: the line
// itself failed (no answer, lost, cancelled) and the upload cannot go on.
QString uclQlif::readBackProblem(const QByteArray &line, const QByteArray &readRequest, bool *stopped)
{
    const Link::Answer written = Link::SplitBody(line);
    const Reply r = exchange(readRequest, StatusWaitRead);
    *stopped = r.outcome == Outcome::Failed || r.outcome == Outcome::Cancelled;
    if (*stopped)
        return QStringLiteral("reading it back: %1").arg(r.why);
    if (r.outcome != Outcome::Accepted)
        return QStringLiteral("the instrument refused to read it back");
    if (r.answer.fields != written.fields)
        return QStringLiteral("the instrument holds other values");
    return {};
}

bool uclQlif::SetInstrument(clsInstrument &iObj)
{
    m_uploadProblems.clear();
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    bool allAccepted = true;
    auto problem = [&](const QString &text) {
        m_log.addLine(QStringLiteral("<<< %1 >>>").arg(text));
        m_uploadProblems.append(text);
        allAccepted = false;
    };

    // Every line this upload sends, in order, built before the first goes out so that a stop
    // can say how much was left. readBack is the request that reads the line back, empty for
    // commands that have none. entry names the line in the log pane (none: its code does); the
    // label is built only for a line the pane shows.
    struct Planned {
        QByteArray line;
        const SettingLines::Entry *entry;
        QByteArray readBack;
        std::function<void()> accepted;
    };
    auto what = [](const Planned &p) {
        return p.entry ? SettingLabel(*p.entry) : SettingLabel(QString::fromLatin1(p.line.left(2)));
    };
    QList<Planned> plan;
    // The serial numbers are never part of a settings file; they go only when edited.
    if (iObj.Change_SerialNo())
        plan.append({"SN,W," + iObj.SerialNo().toLatin1() + ",", nullptr, "SN,R,",
                     [&] { iObj.setChange_SerialNo(false); }});
    if (iObj.Change_DummySerial())
        plan.append({"DS,W," + iObj.DummySerial().toLatin1() + ",", nullptr, "DS,R,",
                     [&] { iObj.setChange_DummySerial(false); }});
    for (const SettingLines::Entry &e : SettingLines::entries()) {
        if (!SettingLines::linkWrites(e))
            continue;
        // The station and user selection always goes: the instrument may have moved on.
        const bool always = e.code == QLatin1String("XV");
        if (!always && !SettingLines::isChanged(iObj, e))
            continue;
        if (!SettingLines::isSupported(iObj, e))
            continue;
        // What the download could not read and nobody typed is left as the instrument has it.
        if (SettingLines::isUnread(iObj, e)) {
            problem(QStringLiteral("%1 not sent: it could not be read from the instrument").arg(SettingLabel(e)));
            continue;
        }
        const SettingLines::LineText lt = SettingLines::lineText(iObj, e, QLatin1Char('W'));
        if (!lt.ok) {
            problem(QStringLiteral("%1 not sent: %2").arg(SettingLabel(e), lt.reason));
            continue;
        }
        plan.append({lt.text.toLatin1(), &e, ReadRequest(e), [&iObj, &e] { SettingLines::clearChanged(iObj, e); }});
    }
    if (iObj.Change_SubBoard())
        plan.append({"SB,W,", nullptr, {}, [&] { iObj.setChange_SubBoard(false); }});
    if (gFactorySave)
        plan.append({"UD,W,", nullptr, {}, [] {}});

    // A write counts when the instrument took it and the answer is its own. "CC,W," carries no
    // entry: while an earlier request of the code may still be answered, the answer that came
    // may be that one's. A write that can be read back takes it and is read back; SB and UD,
    // which cannot, wait for their own. A refusal changes no support flag: the setting stays
    // changed and the next upload sends it again.
    for (qsizetype i = 0; i < plan.size(); ++i) {
        const Planned &p = plan[i];
        QString stop;
        const Reply r = exchange(p.line, StatusWaitWrite, p.readBack.isEmpty() ? Unsure::Wait : Unsure::Take);
        if (r.outcome == Outcome::Refused && r.own) {
            problem(QStringLiteral("%1 refused by the instrument").arg(what(p)));
            continue;
        }
        if (r.outcome == Outcome::Busy) {
            stop = QStringLiteral("the instrument is busy");
        } else if (r.outcome != Outcome::Accepted && r.outcome != Outcome::Refused) {
            stop = r.why;
        } else if (!r.own) {
            bool stopped = false;
            const QString why = readBackProblem(p.line, p.readBack, &stopped);
            if (stopped) {
                stop = why;
            } else if (!why.isEmpty()) {
                problem(QStringLiteral("%1 not confirmed: %2").arg(what(p), why));
                continue;
            }
        }
        if (stop.isEmpty()) {
            p.accepted();
            continue;
        }
        const qsizetype left = plan.size() - i - 1;
        const QString after = left == 0   ? QStringLiteral("it was the last setting to send")
                              : left == 1 ? QStringLiteral("the setting after it was not sent")
                                          : QStringLiteral("the %1 settings after it were not sent").arg(left);
        problem(QStringLiteral("Upload stopped at %1: %2; %3").arg(what(p), stop, after));
        return false;
    }
    return allAccepted;
}
