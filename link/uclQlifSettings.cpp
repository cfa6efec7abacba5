// The settings read (GetInstrument, GetLatestHistory) and the write sequence (SetInstrument).
// Both walk the setting-line codec; only the codes that are not setting lines are listed here.
#include "core/modMain.h"
#include "link/ReadOnlyCodes.h"
#include "link/SupportFlags.h"
#include "link/uclQlifPrivate.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "settingsfiles/SettingLines.h"
#include <QSet>

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

void uclQlif::failLine(clsInstrument &inst, const QString &code, const QString &why)
{
    clsInstrument::DeviceDoor door(inst);
    inst.setFailLine(code + QStringLiteral(",R"));
    m_log.addLine(QStringLiteral("<<< %1,R failed: %2 >>>").arg(code, why));
    failStatus();
}

bool uclQlif::GetInstrument(clsInstrument &iObj)
{
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    iObj.ClearDatas();
    clsInstrument::DeviceDoor door(iObj);

    for (const SettingLines::Entry &e : SettingLines::entries()) {
        const Reply r = exchange(ReadRequest(e), StatusWaitRead);
        if (r.outcome == Outcome::Refused) {
            // Not every instrument knows every command: note it and read on.
            if (!MarkUnsupported(iObj, e))
                m_log.addLine(QStringLiteral("<<< %1,R refused >>>").arg(e.code));
            continue;
        }
        if (r.outcome != Outcome::Accepted) {
            failLine(iObj, e.code,
                     r.outcome == Outcome::Cancelled ? QStringLiteral("cancelled")
                     : r.why.isEmpty()               ? QStringLiteral("no answer")
                                                     : r.why);
            return false;
        }
        const QString key = SettingLines::requestKey(e);
        if (!key.isEmpty() && (r.answer.fields.isEmpty() || QString::fromLatin1(r.answer.fields[0]) != key)) {
            failLine(iObj, e.code, QStringLiteral("answer for another entry"));
            return false;
        }
        const SettingLines::ParseResult p =
            SettingLines::parseFields(iObj, e.code, ToStrings(r.answer.fields), SettingLines::Door::Device);
        if (p.ok())
            continue; // the codec itself notes a group an older instrument answers in short
        // An older instrument answers some groups with fewer fields: the group counts as unsupported.
        if (MarkUnsupported(iObj, e)) {
            m_log.addLine(QStringLiteral("<<< %1,R: %2; taken as not supported >>>").arg(e.code, p.reason));
            continue;
        }
        failLine(iObj, e.code, p.reason);
        return false;
    }

    for (const QByteArray &code : ReadOnlyCodes::ReadOrder()) {
        const Reply r = exchange(code + ",R,", StatusWaitRead);
        if (r.outcome == Outcome::Refused && code != "HC") {
            m_log.addLine(QStringLiteral("<<< %1,R refused >>>").arg(QString::fromLatin1(code)));
            continue;
        }
        QString why = r.outcome == Outcome::Cancelled ? QStringLiteral("cancelled")
                      : r.why.isEmpty()               ? QStringLiteral("no answer")
                                                      : r.why;
        if (r.outcome != Outcome::Accepted || !ReadOnlyCodes::Apply(iObj, code, r.answer.fields, &why)) {
            failLine(iObj, QString::fromLatin1(code), why);
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

// Reads back a line that was written with its read request: true when the instrument answers
// with exactly the fields that were sent. Reads of list codes carry their entry number, so a
// late answer cannot stand in.
bool uclQlif::confirmWritten(const QByteArray &line, const QByteArray &readRequest, QString *why)
{
    const Link::Answer written = Link::SplitBody(line);
    const Reply r = exchange(readRequest, StatusWaitRead);
    if (r.outcome != Outcome::Accepted) {
        *why = r.outcome == Outcome::Refused ? QStringLiteral("the instrument refused to read it back")
               : r.why.isEmpty()             ? QStringLiteral("no answer to the read-back")
                                             : r.why;
        return false;
    }
    if (r.answer.fields != written.fields) {
        *why = QStringLiteral("the instrument holds other values");
        return false;
    }
    return true;
}

bool uclQlif::SetInstrument(clsInstrument &iObj)
{
    m_uploadProblems.clear();
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    bool allAccepted = true;
    // Codes whose write went out more than once: a late acknowledgement of one (they carry no
    // entry) could confirm a later write of the same code, so each of their writes from then
    // on is read back before it counts.
    QSet<QByteArray> unsure;

    auto problem = [&](const QString &text) {
        m_log.addLine(QStringLiteral("<<< %1 >>>").arg(text));
        m_uploadProblems.append(text);
        allAccepted = false;
    };
    // Sends one line and calls accepted() only when the instrument took it. False only when
    // the instrument is gone or the user cancelled. A refusal changes no support flag: the
    // setting stays changed and the next upload sends it again. readBack is the request that
    // reads the line back, empty for commands that have none.
    auto send = [&](const QByteArray &line, const QString &what, const QByteArray &readBack,
                    const std::function<void()> &accepted) {
        const Reply r = exchange(line, StatusWaitWrite);
        if (r.outcome == Outcome::Refused) {
            problem(QStringLiteral("%1 refused by the instrument").arg(what));
            return true;
        }
        if (r.outcome != Outcome::Accepted) {
            if (!r.why.isEmpty())
                problem(QStringLiteral("%1: %2").arg(what, r.why));
            allAccepted = false;
            return false;
        }
        if (r.sends > 1)
            unsure.insert(line.left(2));
        if (!readBack.isEmpty() && unsure.contains(line.left(2))) {
            QString why;
            if (!confirmWritten(line, readBack, &why)) {
                problem(QStringLiteral("%1 not confirmed: %2").arg(what, why));
                return !m_cancel && !m_lineDropped;
            }
        }
        accepted();
        return true;
    };

    // The serial numbers are never part of a settings file; they go only when edited.
    if (iObj.Change_SerialNo() &&
        !send("SN,W," + iObj.SerialNo().toLatin1() + ",", QStringLiteral("SN"), "SN,R,",
              [&] { iObj.setChange_SerialNo(false); }))
        return false;
    if (iObj.Change_DummySerial() &&
        !send("DS,W," + iObj.DummySerial().toLatin1() + ",", QStringLiteral("DS"), "DS,R,",
              [&] { iObj.setChange_DummySerial(false); }))
        return false;

    for (const SettingLines::Entry &e : SettingLines::entries()) {
        if (!SettingLines::linkWrites(e))
            continue;
        // The station and user selection always goes: the instrument may have moved on.
        const bool always = e.code == QLatin1String("XV");
        if (!always && !SettingLines::isChanged(iObj, e))
            continue;
        if (!SettingLines::isSupported(iObj, e))
            continue;
        const QString key = SettingLines::requestKey(e);
        const QString what = key.isEmpty() ? e.code : e.code + QLatin1Char(' ') + key;
        const SettingLines::LineText lt = SettingLines::lineText(iObj, e, QLatin1Char('W'));
        if (!lt.ok) {
            problem(QStringLiteral("%1 not sent: %2").arg(what, lt.reason));
            continue;
        }
        if (!send(lt.text.toLatin1(), what, ReadRequest(e), [&] { SettingLines::clearChanged(iObj, e); }))
            return false;
    }

    if (iObj.Change_SubBoard() && !send("SB,W,", QStringLiteral("SB"), {}, [&] { iObj.setChange_SubBoard(false); }))
        return false;
    if (gFactorySave && !send("UD,W,", QStringLiteral("UD"), {}, [] {}))
        return false;
    return allAccepted;
}
