// Properties, transports and the connection state machine of the link.
#include "link/uclQlif.h"
#include "core/Messages.h"
#include "core/Wait.h"
#include "core/modMain.h"
#include "link/IrdaTransport.h"
#include "link/SerialTransport.h"
#include "link/modAddLib.h"
#include "model/modGasCommon.h"

uclQlif::uclQlif(QObject *parent)
    : QObject(parent), m_serial(std::make_unique<SerialTransport>()), m_irda(std::make_unique<IrdaTransport>())
{
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &uclQlif::onTick);
    for (Transport *t : {static_cast<Transport *>(m_serial.get()), static_cast<Transport *>(m_irda.get())}) {
        connect(t, &Transport::received, this, &uclQlif::onBytes);
        connect(t, &Transport::lost, this, &uclQlif::onLost);
        connect(t, &Transport::socketError, this, &uclQlif::onSocketError);
    }
    m_log.setEnabled(false);
}

uclQlif::~uclQlif()
{
    m_timer.stop();
    m_serial->close();
    m_irda->close();
}

// ---- properties

void uclQlif::setRetry(int16_t v) { m_retry = v < 1 ? int16_t(1) : v; }
void uclQlif::setTimeout(int16_t seconds) { m_timeout = seconds < 1 ? int16_t(1) : seconds; }

void uclQlif::setSerialComm(bool v) { m_serialComm = v; }

void uclQlif::setCommPort(int16_t port)
{
    m_commPort = port;
    if (port == gIrCommNum && !gIrCommDevice.isEmpty())
        m_commDevice = gIrCommDevice;
    else
        m_commDevice = PortDeviceForNumber(port);
    m_serial->setDevice(m_commDevice);
}

void uclQlif::setCommDevice(const QString &device)
{
    m_commDevice = device;
    m_serial->setDevice(device);
}

void uclQlif::setSettings(const QString &settings)
{
    if (m_serial->setSettings(settings))
        m_settings = settings;
    else
        m_log.addLine(QStringLiteral("<<< Bad port settings \"%1\" >>>").arg(settings));
}

void uclQlif::setHandshaking(int16_t v)
{
    m_handshaking = v;
    m_serial->setHandshaking(v);
}

void uclQlif::setRTSEnable(bool v)
{
    m_rts = v;
    m_serial->setRts(v);
}

void uclQlif::setDTREnable(bool v)
{
    m_dtr = v;
    m_serial->setDtr(v);
}

void uclQlif::setPortOpen(bool open)
{
    if (open == m_portOpen && (open ? m_active != nullptr : m_active == nullptr))
        return;
    m_portOpen = open;
    // The program closes or opens the port on purpose (start, power off, another port): a new
    // session on the line, nothing sent before is waited for. The link's own reopen while it
    // searches is not one: the instrument goes on answering in order through it.
    m_order.clear();
    if (open) {
        openTransport();
        enterSearching(false);
        if (!m_timer.isActive())
            m_timer.start();
    } else {
        closeTransport();
        m_linkState = LinkDown;
        m_status = StatusReset;
    }
}

void uclQlif::setSerialFileNo(int16_t n)
{
    m_serialFileNo = n;
    m_log.setEnabled(n >= 1);
}

void uclQlif::setTimerEnabled(bool on)
{
    if (on)
        m_timer.start();
    else
        m_timer.stop();
}

void uclQlif::setCancel(bool v)
{
    m_cancel = v;
    if (v)
        WaitNotify(); // a running wait ends now, not at its next poll
}

void uclQlif::setRunDensty(bool v)
{
    m_runDensty = v;
    m_denstyCountdown = 1;
    m_denstyFailures = 0;
}

void uclQlif::setTickInterval(int ms) { m_timer.setInterval(qMax(1, ms)); }
void uclQlif::setIrdaServerName(const QString &name) { m_irda->setServerName(name); }

void uclQlif::setHostTransport(Transport *t)
{
    closeTransport();
    if (m_host)
        disconnect(m_host, nullptr, this, nullptr);
    m_host = t;
    if (t) {
        connect(t, &Transport::received, this, &uclQlif::onBytes);
        connect(t, &Transport::lost, this, &uclQlif::onLost);
        connect(t, &Transport::socketError, this, &uclQlif::onSocketError);
    }
}

void uclQlif::AddLog(const QString &vData) { m_log.addLine(vData); }

// ---- transports

Transport *uclQlif::transport() const { return m_active; }

void uclQlif::openTransport()
{
    m_active = m_host ? m_host
           : m_serialComm ? static_cast<Transport *>(m_serial.get()) : static_cast<Transport *>(m_irda.get());
    m_asm.reset();
    if (!m_active->open())
        m_log.addLine(QStringLiteral("<<< Port %1 not opened: %2 >>>").arg(m_active->name(), m_serial->lastError()));
}

void uclQlif::closeTransport()
{
    m_serial->close();
    m_irda->close();
    if (m_host)
        m_host->close();
    m_active = nullptr;
    m_pending = PendingKind::None;
    m_asm.reset();
}

void uclQlif::onLost()
{
    m_log.addLine(QStringLiteral("<<< Line lost >>>"));
    m_lineDropped = true;
    dropConnection(true);
    WaitNotify();
}

void uclQlif::onSocketError(int number)
{
    emit IrDAError(int16_t(number));
}

// ---- state machine

void uclQlif::Reset()
{
    m_linkState = LinkDown;
    m_status = StatusReset;
    m_pending = PendingKind::None;
    m_pendingDone = false;
    m_connectAttempts = 0;
    m_reopenCycles = 0;
    m_denstyFailures = 0;
    m_probeCountdown = 0;
    m_searchReported = false;
    m_asm.reset();
}

void uclQlif::enterSearching(bool reopened)
{
    m_linkState = reopened ? LinkReopened : LinkSearching;
    m_status = StatusReset;
    m_probeCountdown = 1;
    if (!reopened) {
        m_connectAttempts = 0;
        if (!m_serialComm && !m_searchReported) {
            m_searchReported = true;
            emit IrDAError(1022); // the main window shows "Search..."
        }
    }
}

void uclQlif::becomeConnected()
{
    // What is still on the line stays counted: the probe's own answer has settled what went
    // before it, and a late answer of the last connection may still come on the same line.
    m_linkState = LinkConnected;
    m_status = StatusIdle;
    m_connectAttempts = 0;
    m_denstyFailures = 0;
    m_denstyCountdown = kDenstyTicks;
    m_searchReported = false;
    emit OnConnect();
}

void uclQlif::dropConnection(bool lineLost)
{
    const bool wasConnected = m_linkState == LinkConnected;
    m_pending = PendingKind::None;
    if (lineLost) {
        Reset();
        emit LinkLost();
    } else {
        enterSearching(false);
        if (wasConnected)
            emit LinkLost();
    }
}

void uclQlif::onTick()
{
    ++m_tickCount;
    if (m_pending != PendingKind::None) {
        if (m_settleWanted)
            sendSettlingCheck();
        if (--m_ticksLeft > 0)
            return;
        if (m_pending == PendingKind::Probe || m_pending == PendingKind::Poll) {
            completePending(Outcome::Failed, {});
        } else if (m_resendsLeft > 0) {
            --m_resendsLeft;
            emit ConnectRetry(int16_t(m_retry - m_resendsLeft));
            m_log.addLine(QStringLiteral("<<< Time out, resend >>>"));
            resendPending();
        } else {
            m_log.addLine(QStringLiteral("<<< Time out >>>"));
            failPending(noAnswerReason());
        }
        return;
    }
    if (m_run) {
        pollTick();
        return;
    }
    if (m_opDepth > 0 || !m_portOpen)
        return;
    if (m_linkState == LinkDown) {
        if (!m_active)
            openTransport();
        enterSearching(false);
        return;
    }
    if (m_linkState == LinkConnected)
        connectedTick();
    else
        searchTick();
}

void uclQlif::searchTick()
{
    if (--m_probeCountdown > 0)
        return;
    m_probeCountdown = kProbeTicks;
    if (!m_active)
        openTransport();
    if (m_active->isActive()) {
        if (sendRequest("RC,R,", PendingKind::Probe)) {
            m_ticksLeft = kProbeTicks - 1;
            return;
        }
    } else {
        m_active->open();
    }
    probeFailed(); // no active line: counts like a silent probe
}

void uclQlif::connectedTick()
{
    if (!m_runDensty || --m_denstyCountdown > 0)
        return;
    m_denstyCountdown = kDenstyTicks;
    if (sendRequest("DN,R,", PendingKind::Poll))
        m_ticksLeft = kDenstyTicks - 1;
}

// Ends the exchange in flight. Probes and polls are settled here; an operation's wait
// picks the reply up.
void uclQlif::completePending(Outcome outcome, const Link::Answer &answer, const QString &why, bool own)
{
    const PendingKind kind = m_pending;
    m_pending = PendingKind::None;
    m_blocks.clear();
    m_blockCount = 0;
    if (kind == PendingKind::Probe) {
        if (outcome != Outcome::Failed)
            becomeConnected();
        else
            probeFailed();
        return;
    }
    if (kind == PendingKind::Poll) {
        if (outcome == Outcome::Accepted) {
            m_denstyFailures = 0;
            onDensty(answer);
        } else if (++m_denstyFailures > m_retry) {
            m_log.addLine(QStringLiteral("<<< No answer to the reading poll >>>"));
            dropConnection(false);
        }
        return;
    }
    m_reply.outcome = outcome;
    m_reply.answer = answer;
    m_reply.sends = m_sends;
    m_reply.why = why;
    m_reply.own = own;
    m_pendingDone = true;
    if (m_run && kind == PendingKind::Op)
        pollAnswered(m_reply);
    WaitNotify();
}

// A whole frame whose body holds a byte that text frames do not carry. It is not damaged: a
// NAK would bring the same bytes again, so it is neither acknowledged nor asked for again.
// The exchange it answers fails at once with the reason; a frame that answers nothing in
// flight is only logged.
void uclQlif::refuseCharacters(const Link::Frame &f)
{
    const Link::Answer a = Link::SplitBody(f.body);
    const QString byte = QStringLiteral("0x") + QString::number(f.badByte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    const QString why = QStringLiteral("the answer holds a character the link does not take (%1)").arg(byte);
    const QString code = QString::fromLatin1(a.code);
    m_log.addLine(a.valid ? QStringLiteral("<<< %1,%2: %3 >>>").arg(code, QString(QLatin1Char(a.mode)), why)
                          : QStringLiteral("<<< An answer holds a character the link does not take (%1) >>>").arg(byte));
    // The rest of a long answer in progress is the pending request's as its first block was.
    const bool continuing = m_pending != PendingKind::None && m_blockCount > 0 && a.valid && a.code == m_pendingCode;
    if (!continuing && (m_pending == PendingKind::None || !m_order.match(a, m_group).mayBePending())) {
        m_order.answered(a, 0);
        return;
    }
    bool own = true;
    if (!continuing && !takesAnswer(a, &own))
        return;
    gDataReceived = true;
    completePending(Outcome::Failed, {}, why);
}

// Every fifth silent probe the port is closed and opened again; after Retry such rounds the
// user is told, and the search goes on so a switched-on instrument is still found.
void uclQlif::probeFailed()
{
    ++m_connectAttempts;
    if (m_connectAttempts % kProbesPerReopen == 0) {
        const int cycles = m_connectAttempts / kProbesPerReopen;
        emit ConnectRetry(int16_t(cycles));
        if (cycles >= m_retry) {
            const QString text = GetMsg(5405);
            m_log.addLine(text);
            emit AlarmMessage(text);
            m_connectAttempts = 0;
        }
        closeTransport();
        openTransport();
        enterSearching(true);
        m_probeCountdown = kProbeTicks;
    }
}

void uclQlif::onDensty(const Link::Answer &a)
{
    float v[7];
    for (int ch = 0; ch < 7; ++ch) {
        bool ok = false;
        v[ch] = ch < a.fields.size() ? a.fields[ch].toFloat(&ok) : ReadingCode::NotSet;
        if (!ok)
            v[ch] = ReadingCode::NotSet;
    }
    emit Densty(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
}
