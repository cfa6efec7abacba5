// The receive path, the send path and the blocking exchange of the link.
#include "core/Wait.h"
#include "core/modMain.h"
#include "link/Transport.h"
#include "link/modAddLib.h"
#include "link/uclQlif.h"
#include "link/uclQlifPrivate.h"

namespace {
constexpr int kMaxAnswerBlocks = 16; // a text answer longer than this is not ours
}

// ---- receive

void uclQlif::onBytes(const QByteArray &bytes)
{
    m_asm.feed(bytes);
    const QList<Link::Frame> frames = m_asm.takeFrames();
    for (const Link::Frame &f : frames)
        handleFrame(f);
    if (m_settleWanted)
        sendSettlingCheck();
    if (!m_serialComm)
        emit StsIdle();
}

void uclQlif::handleFrame(const Link::Frame &f)
{
    m_log.logReceived(f);
    m_sinceReceive.start();
    switch (f.kind) {
    case Link::Frame::Text:
        sendRaw(QByteArray(1, Link::ACK));
        handleText(f);
        break;
    case Link::Frame::Binary:
        handleBinary(f);
        break;
    case Link::Frame::Bad:
        m_log.addLine(QStringLiteral("<<< Check SUM error >>>"));
        // A damaged answer counts against the retries like a missing one; a line that damages
        // every answer must end the exchange, not trade NAK for resend for ever.
        if (m_pending == PendingKind::Probe || m_pending == PendingKind::Poll) {
            completePending(Outcome::Failed, {});
        } else if (m_pending != PendingKind::None) {
            if (m_resendsLeft > 0) {
                --m_resendsLeft;
                emit ConnectRetry(int16_t(m_retry - m_resendsLeft));
                // The repeat is owed by the line like an answer; a block of a dump is told by
                // its header and needs no place on the list.
                if (sendRaw(QByteArray(1, Link::NAK)) && m_pending == PendingKind::Op)
                    m_order.repeatAsked();
                m_ticksLeft = m_timeout * 10; // the resend gets a full time-out
            } else {
                m_log.addLine(QStringLiteral("<<< Damaged answers, retries spent >>>"));
                failPending(QStringLiteral("every answer arrived damaged"));
            }
        }
        break;
    case Link::Frame::Nak:
        // The instrument could not read our request: send it again while retries last.
        if (m_pending == PendingKind::Op || m_pending == PendingKind::Dump) {
            if (m_resendsLeft > 0) {
                --m_resendsLeft;
                resendPending();
            } else {
                m_log.addLine(QStringLiteral("<<< Request not taken by the instrument, retries spent >>>"));
                failPending(QStringLiteral("the instrument could not read the request"));
            }
        }
        break;
    case Link::Frame::BadChar:
        refuseCharacters(f);
        break;
    case Link::Frame::Overlong:
        m_log.addLine(QStringLiteral("<<< Frame too long, dropped >>>"));
        break;
    case Link::Frame::Ack:
    case Link::Frame::Junk:
        break;
    }
}

void uclQlif::handleText(const Link::Frame &f)
{
    const Link::Answer a = Link::SplitBody(f.body);
    // The first block says whose answer this may be: a request still on the line of its code,
    // in its mode (a refusal or busy answer in any), and for a list read with its entry first.
    // A stale read answer of a code never acknowledges a write of it. Later blocks of a long
    // answer run on in the first block's code and mode.
    const bool fits = m_pending != PendingKind::None &&
                      (m_blockCount > 0 ? a.valid && a.code == m_pendingCode && a.mode == m_blocksMode
                                        : m_order.match(a, m_group).mayBePending());
    if (!fits) {
        // A late answer settles what went before it, whenever it comes.
        if (f.last && (m_order.answered(a, 0), settlingCheckAnswered()))
            return;
        m_log.addLine(QStringLiteral("<<< Unexpected answer >>>"));
        return;
    }
    gDataReceived = true;
    // A long answer may come in several blocks: the fields run on from block to block.
    if (!f.last || m_blockCount > 0) {
        if (++m_blockCount > kMaxAnswerBlocks || m_blocks.size() + f.body.size() > kMaxAnswerBlocks * Link::kMaxTextBody) {
            m_log.addLine(QStringLiteral("<<< Answer too long >>>"));
            failPending(QStringLiteral("the answer was too long"));
            return;
        }
        if (m_blocks.isEmpty()) {
            m_blocks = f.body;
            m_blocksMode = a.mode;
        } else {
            m_blocks += f.body.mid(5).prepend(m_blocks.endsWith(',') ? "" : ",");
        }
        if (!f.last) {
            m_status = StatusMultiBlock;
            m_ticksLeft = m_timeout * 10;
            return;
        }
    }
    const Link::Answer whole = m_blockCount > 0 ? Link::SplitBody(m_blocks) : a;
    m_blocks.clear();
    m_blockCount = 0;
    if (!whole.valid) {
        failPending(QStringLiteral("the answer was damaged"));
        return;
    }
    bool own = true;
    if (!takesAnswer(whole, &own))
        return;
    // The unsure answer was the request's own after all (the NAK's repeat came too): it counts.
    const Link::Answer &taken = m_unsureAnswer.valid && own ? m_unsureAnswer : whole;
    completePending(OutcomeOf(taken), taken, {}, own);
}

uclQlif::Outcome uclQlif::OutcomeOf(const Link::Answer &a)
{
    if (a.mode == 'N')
        return Outcome::Refused;
    if (Link::IsBusy(a))
        return Outcome::Busy;
    return Outcome::Accepted;
}

// The answer settles every request sent before the one it answers. It is the pending
// request's own when every request still out that could have had it is the pending one (or a
// resent copy). One that an earlier request may have had is taken only by an exchange that
// can confirm otherwise; any other waits on for its own, which comes next when the answer was
// the earlier one's, or after the resend when it was its own.
bool uclQlif::takesAnswer(const Link::Answer &a, bool *own)
{
    const RequestOrder::Match m = m_order.answered(a, m_group);
    *own = m.ownOf(m_group) || (m.confirms == m_group && m_unsureAnswer.valid);
    if (*own || m_pending == PendingKind::Probe || m_pending == PendingKind::Poll)
        return true; // any answer to a probe proves the instrument is there
    ++m_unsure;
    if (m_takeUnsure)
        return true;
    if (m.unsure && m.first == m_group && m_pending == PendingKind::Op) {
        // Its own, or the repeat of a NAK sent after it: the NAK's own answer, or a check that
        // settles the line, tells which, without waiting out a time-out.
        m_log.addLine(QStringLiteral("<<< This answer may be the repeat a NAK asked for: settling the line >>>"));
        m_unsureAnswer = a;
        m_settleWanted = m_settleGroup == 0;
        return false;
    }
    m_log.addLine(QStringLiteral("<<< An earlier request may have had this answer: waiting for its own >>>"));
    return false;
}

void uclQlif::sendSettlingCheck()
{
    m_settleWanted = false;
    if (m_pending != PendingKind::Op || m_pendingDone || !m_unsureAnswer.valid || m_settleGroup)
        return;
    if (inGap()) {
        m_settleWanted = true; // the tick sends it once the instrument has had its gap
        return;
    }
    // With both checks out already, the time-out decides, as for any answer that stays unsure.
    const QByteArray check = freeCheck();
    if (check.isEmpty() || !sendRaw(Link::BuildTextFrame(check + ",R,")))
        return;
    m_settleGroup = ++m_groupSeq;
    m_order.sent(m_settleGroup, check, 'R', {});
}

// The check's answer settled everything sent before it, the NAK's repeat included: when that
// did not confirm the unsure answer, the request goes again now, within its retries.
bool uclQlif::settlingCheckAnswered()
{
    if (!m_settleGroup || m_order.holdsGroup(m_settleGroup))
        return false;
    m_settleGroup = 0;
    if (m_pending != PendingKind::Op || m_pendingDone || !m_unsureAnswer.valid)
        return true;
    m_unsureAnswer = {};
    if (m_resendsLeft > 0) {
        --m_resendsLeft;
        emit ConnectRetry(int16_t(m_retry - m_resendsLeft));
        m_log.addLine(QStringLiteral("<<< Not confirmed, resend >>>"));
        resendPending();
    } else {
        failPending(noAnswerReason());
    }
    return true;
}

QString uclQlif::noAnswerReason() const
{
    const QString tries = m_sends > 1 ? QStringLiteral(" (%1 tries)").arg(m_sends) : QString();
    if (m_unsure == 0)
        return QStringLiteral("no answer from the instrument") + tries;
    return QStringLiteral("not confirmed: no answer of its own from the instrument%1; the answer that came may be an "
                          "earlier %2 request's")
        .arg(tries, QString::fromLatin1(m_pendingCode));
}

// ---- send

bool uclQlif::sendRaw(const QByteArray &bytes)
{
    if (!m_active || !m_active->isActive())
        return false;
    m_log.logSent(bytes);
    if (!m_active->write(bytes))
        return false;
    ++m_framesSent;
    emit StsTransmit();
    return true;
}

bool uclQlif::sendRequest(const QByteArray &body, PendingKind kind, Unsure unsure)
{
    m_pendingFrame = Link::BuildTextFrame(body);
    m_pendingCode = body.left(2);
    const Link::Answer request = Link::SplitBody(body);
    m_pendingMode = request.valid ? request.mode : 0;
    m_pendingKey = request.valid && request.mode == 'R' && !request.fields.isEmpty() ? request.fields[0] : QByteArray();
    m_group = ++m_groupSeq;
    m_unsure = 0;
    m_takeUnsure = unsure == Unsure::Take;
    m_unsureAnswer = {};
    m_settleWanted = false;
    m_settleGroup = 0; // a check still out for an earlier exchange settles nothing of this one
    m_pending = kind;
    m_pendingDone = false;
    m_blocks.clear();
    m_blockCount = 0;
    m_ticksLeft = m_timeout * 10;
    m_resendsLeft = m_retry;
    m_sends = 1;
    gDataReceived = false;
    if (!sendRaw(m_pendingFrame)) {
        m_pending = PendingKind::None;
        return false;
    }
    m_order.sent(m_group, m_pendingCode, m_pendingMode, m_pendingKey);
    return true;
}

void uclQlif::resendPending()
{
    // The resend is judged by its own answer; a check still out settles only what went before it.
    m_unsureAnswer = {};
    m_settleWanted = false;
    m_settleGroup = 0;
    m_blocks.clear();
    m_blockCount = 0;
    m_ticksLeft = m_timeout * 10;
    if (m_pending == PendingKind::Dump && m_dump) {
        // Ask again from the first block we are still missing.
        m_pendingFrame = Link::BuildTextFrame(m_dump->requestFrom(m_dump->received));
    } else if (m_pending == PendingKind::Op && m_makeBody) {
        m_pendingFrame = Link::BuildTextFrame(m_makeBody());
    }
    ++m_sends;
    if (!sendRaw(m_pendingFrame)) {
        failPending(QStringLiteral("the line is closed"));
        return;
    }
    m_order.sent(m_group, m_pendingCode, m_pendingMode, m_pendingKey);
}

// ---- blocking

bool uclQlif::beginOperation()
{
    if (m_opDepth > 0 || IsWaiting()) {
        m_log.addLine(QStringLiteral("<<< Busy: a transfer is running >>>"));
        return false;
    }
    ++m_opDepth;
    m_cancel = false;
    m_lineDropped = false;
    m_pending = PendingKind::None; // a probe or poll in flight is abandoned; its late answer is ignored
    return true;
}

void uclQlif::endOperation()
{
    --m_opDepth;
    if (m_status == StatusDump || m_status == StatusMultiBlock)
        m_status = StatusFailed;
}

bool uclQlif::waitFor(const std::function<bool()> &done)
{
    const WaitResult r = WaitUntil([&] { return done() || m_cancel || m_lineDropped; }, -1);
    return r == WaitResult::Done && !m_cancel && !m_lineDropped && done();
}

uclQlif::Reply uclQlif::exchange(const QByteArray &body, int waitStatus, Unsure unsure)
{
    return exchange(body.left(2), [&body] { return body; }, waitStatus, unsure);
}

uclQlif::Reply uclQlif::exchange(const QByteArray &code, const std::function<QByteArray()> &makeBody, int waitStatus,
                                 Unsure unsure)
{
    Reply r;
    settleBefore(code);
    if (m_cancel) {
        m_status = StatusCancelled;
        r.outcome = Outcome::Cancelled;
        r.why = QStringLiteral("cancelled");
        return r;
    }
    // Leave the instrument the gap it needs after its last answer.
    if (inGap())
        waitFor([this] { return !inGap(); });
    m_status = waitStatus;
    m_makeBody = makeBody;
    OpScope forget{[this] { m_makeBody = nullptr; }};
    if (!sendRequest(makeBody(), PendingKind::Op, unsure)) {
        m_log.addLine(QStringLiteral("<<< Port not open >>>"));
        m_status = StatusFailed;
        r.why = QStringLiteral("the line is not open");
        return r;
    }
    waitFor([&] { return m_pendingDone; });
    if (!m_pendingDone) {
        m_pending = PendingKind::None;
        // A dropped line has reset the link already; leave its status at reset.
        m_status = m_cancel ? StatusCancelled : m_lineDropped ? StatusReset : StatusFailed;
        r.outcome = m_cancel ? Outcome::Cancelled : Outcome::Failed;
        r.why = m_cancel ? QStringLiteral("cancelled") : QStringLiteral("the line was lost");
        return r;
    }
    r = m_reply;
    // The answer of a request that went out twice carries nothing that says which copy it
    // answers: the other copy's may still be on its way, and a later request of the same code
    // would take it for its own. Let it arrive and drop it before anything else is sent. A copy
    // that the line has settled already (a check answered after it) owes nothing.
    if (r.sends > 1 && r.outcome != Outcome::Failed && m_order.holdsGroup(m_group) && !settleAfterResend()) {
        r.outcome = m_cancel ? Outcome::Cancelled : Outcome::Failed;
        r.why = m_cancel        ? QStringLiteral("cancelled")
                : m_lineDropped ? QStringLiteral("the line was lost")
                                : QStringLiteral("the line does not fall quiet after a resend");
        m_status = m_cancel ? StatusCancelled : m_lineDropped ? StatusReset : StatusFailed;
        return r;
    }
    m_status = r.outcome == Outcome::Failed ? StatusFailed : StatusDone;
    return r;
}

// A request whose answer an earlier request of its code may still have (that one went
// unanswered) goes only after an exchange of a code with nothing on the line: that exchange's
// own answer settles everything sent before it, so the request's answer is surely its own.
// Costs one exchange, and only after a request went unanswered; when it fails, the request
// goes anyway and its answer is judged as it comes.
void uclQlif::settleBefore(const QByteArray &code)
{
    if (!m_order.holds(code))
        return;
    const QByteArray check = freeCheck();
    if (check.isEmpty())
        return;
    m_log.addLine(QStringLiteral("<<< An earlier %1 request may still be answered: settling the line first >>>")
                      .arg(QString::fromLatin1(code)));
    exchange(check + ",R,", m_status);
}

// A check whose own answer settles the line: a code with nothing of it out ("" when both are).
QByteArray uclQlif::freeCheck() const
{
    for (const QByteArray &check : {QByteArrayLiteral("RC"), QByteArrayLiteral("VP")})
        if (!m_order.holds(check))
            return check;
    return {};
}

// Whether the gap the instrument needs after its last answer is still running.
bool uclQlif::inGap() const
{
    return gDelay > 0 && m_sinceReceive.isValid() && m_sinceReceive.elapsed() < qint64(double(gDelay) * 1000.0);
}

// Waits until the line has been quiet for one time-out, dropping whatever arrives meanwhile
// (nothing is pending, so every answer is logged as unexpected). A line that keeps talking
// for the whole retry budget fails the exchange: its answers cannot be told apart.
bool uclQlif::settleAfterResend()
{
    const int timeoutMs = m_timeout * 10 * m_timer.interval();
    const int limitMs = timeoutMs * (m_retry + 1);
    QElapsedTimer since;
    since.start();
    auto quiet = [&] {
        return since.elapsed() >= timeoutMs && (!m_sinceReceive.isValid() || m_sinceReceive.elapsed() >= timeoutMs);
    };
    WaitUntil([&] { return quiet() || m_cancel || m_lineDropped || since.elapsed() >= limitMs; }, -1,
              qMax(1, m_timer.interval() / 2));
    if (m_cancel || m_lineDropped)
        return false;
    if (!quiet()) {
        m_log.addLine(QStringLiteral("<<< The line does not fall quiet after a resend >>>"));
        return false;
    }
    return true;
}
