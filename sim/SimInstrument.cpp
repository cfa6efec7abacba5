#include "sim/SimInstrument.h"
#include "link/ReadOnlyCodes.h"
#include "model/modGasCommon.h"
#include "settingsfiles/SettingLines.h"
#include "settingsfiles/SettingsFile.h"
#include "sim/PtyLine.h"
#include "sim/SimRequestCheck.h"
#include "sim/samples/SampleRecord.h"
#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <cmath>
#include <utility>
#include <unistd.h>

struct SimInstrument::Transfer {
    QByteArray code;
    char area = 'F';
    int blockSize = 0;
    int next = 0; // header of the block on the line
    int last = 0;
    int step = 1;
    int blocksSent = 0;
};

namespace {
const QHash<QString, SettingLines::Entry> &EntryByKey()
{
    static const QHash<QString, SettingLines::Entry> map = [] {
        QHash<QString, SettingLines::Entry> m;
        for (const SettingLines::Entry &e : SettingLines::entries())
            m.insert(e.code + QLatin1Char('|') + SettingLines::requestKey(e), e);
        return m;
    }();
    return map;
}

bool HasEntries(const QString &code)
{
    for (const SettingLines::Entry &e : SettingLines::entries())
        if (e.code == code)
            return e.index >= 0;
    return false;
}

QList<QByteArray> SplitFields(const QString &text)
{
    QList<QByteArray> out = text.toLatin1().split(',');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

int HexField(const QByteArray &f, bool *ok) { return f.size() == 4 ? f.toInt(ok, 16) : (*ok = false, 0); }
} // namespace

SimInstrument::SimInstrument(QObject *parent) : QObject(parent), m_outTimer(new QTimer(this))
{
    m_clock.start();
    m_outTimer->setSingleShot(true);
    connect(m_outTimer, &QTimer::timeout, this, &SimInstrument::sendDue);
    m_state.ClearDatas();
    m_factory = m_state;
}

SimInstrument::~SimInstrument()
{
    hangUp();
    for (int fd : std::as_const(m_spentLines))
        ::close(fd);
}

char SimInstrument::PatternByte(char area, quint32 offset)
{
    return char((offset * 31u + (offset >> 8) * 7u + quint32(quint8(area))) & 0xFFu);
}

// ---- state

void SimInstrument::fillDemoState()
{
    m_state = DemoRecord();
    m_factory = m_state;
}

bool SimInstrument::loadSettings(const QString &path, QString *error)
{
    clsInstrument loaded = m_state;
    const SettingsFileResult r = LoadConfig(loaded, path, false);
    if (!r.ok) {
        if (error)
            *error = r.error;
        return false;
    }
    loaded.ClearChangeFlags();
    loaded.setImportFlag(0);
    m_state = loaded;
    m_factory = loaded;
    return true;
}

bool SimInstrument::holdWrites(const QList<QByteArray> &lines, QString *error)
{
    clsInstrument held = m_state;
    for (const QByteArray &line : lines) {
        const Link::Answer a = Link::SplitBody(line);
        const bool write =
            a.valid && a.mode == 'W' && a.code != "GJ" && SettingLines::isKnownCode(QString::fromLatin1(a.code));
        QString why = write ? SimRequestCheck::Problem(line) : QStringLiteral("not a setting-line write");
        if (why.isEmpty())
            why = SimRequestCheck::ApplySettingWrite(held, line);
        if (!why.isEmpty()) {
            if (error)
                *error = QStringLiteral("%1: %2").arg(QString::fromLatin1(line), why);
            return false;
        }
    }
    m_state = held;
    m_factory = held;
    return true;
}

// ---- serving

QString SimInstrument::openPty()
{
    hangUp();
    m_pty = std::make_unique<PtyLine>();
    if (!m_pty->open()) {
        m_pty.reset();
        return {};
    }
    connect(m_pty.get(), &PtyLine::received, this, &SimInstrument::receive);
    return m_pty->slavePath();
}

bool SimInstrument::serveIrda(const QString &name)
{
    hangUp();
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    if (!m_server->listen(name)) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server->nextPendingConnection()) {
            if (m_client) { // one program at a time, as with a real infrared link
                s->abort();
                s->deleteLater();
                continue;
            }
            m_client = s;
            m_asm.reset();
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s == m_client)
                    receive(s->readAll());
            });
            connect(s, &QLocalSocket::disconnected, this, [this, s] {
                if (s == m_client)
                    m_client = nullptr;
                s->deleteLater();
            });
        }
    });
    return true;
}

void SimInstrument::hangUp()
{
    if (m_pty) {
        if (const int fd = m_pty->takeSlaveHold(); fd >= 0)
            m_spentLines.append(fd);
        m_pty->close();
        m_pty->deleteLater();
        m_pty.release();
    }
    if (m_client) {
        QLocalSocket *c = m_client;
        m_client = nullptr;
        c->abort();
        c->deleteLater();
    }
    if (m_server) {
        m_server->close();
        m_server->deleteLater();
        m_server = nullptr;
    }
    m_transfer.reset();
    m_asm.reset();
    m_heldFrame.clear();
    m_outbox.clear(); // what was still to go is lost with the line
    m_outTimer->stop();
}


// ---- rules

void SimInstrument::addRule(const SimFaultRule &rule)
{
    m_rules.append(rule);
    m_ruleSeen.append(0);
    m_ruleFired.append(0);
}

void SimInstrument::clearRules()
{
    m_rules.clear();
    m_ruleSeen.clear();
    m_ruleFired.clear();
}

// Every matching rule counts the request; the first one due fires.
int SimInstrument::fireRule(SimFault fault, const QByteArray &code, char mode)
{
    int fired = -1;
    for (int i = 0; i < m_rules.size(); ++i) {
        const SimFaultRule &r = m_rules[i];
        if (r.fault != fault || (!r.code.isEmpty() && r.code != code) || (r.mode && r.mode != mode))
            continue;
        const int seen = ++m_ruleSeen[i];
        if (fired >= 0 || seen < r.nth || (r.times >= 0 && m_ruleFired[i] >= r.times))
            continue;
        ++m_ruleFired[i];
        fired = i;
    }
    return fired;
}

// ---- line

void SimInstrument::deliver(const QByteArray &bytes, int delayMs)
{
    if (m_outbox.isEmpty() && delayMs <= 0) {
        put(bytes);
        return;
    }
    const qint64 due = m_clock.elapsed() + qMax(0, delayMs);
    m_outbox.append({m_outbox.isEmpty() ? due : qMax(due, m_outbox.last().due), bytes});
    if (m_outbox.size() == 1)
        m_outTimer->start(int(qMax<qint64>(0, due - m_clock.elapsed())));
}

void SimInstrument::sendDue()
{
    while (!m_outbox.isEmpty() && m_outbox.first().due <= m_clock.elapsed())
        put(m_outbox.takeFirst().bytes);
    if (!m_outbox.isEmpty())
        m_outTimer->start(int(qMax<qint64>(0, m_outbox.first().due - m_clock.elapsed())));
}

void SimInstrument::sendHeldNow() { sendHeldFirst(int(m_outbox.size())); }

void SimInstrument::sendHeldFirst(int n)
{
    for (; n > 0 && !m_outbox.isEmpty(); --n)
        put(m_outbox.takeFirst().bytes);
    if (m_outbox.isEmpty())
        m_outTimer->stop();
}

void SimInstrument::put(const QByteArray &bytes)
{
    m_bytesOut += quint64(bytes.size());
    emit delivered(bytes);
    if (m_pty)
        m_pty->write(bytes);
    else if (m_client)
        m_client->write(bytes);
}

// The frame with one checksum digit changed.
static QByteArray Damaged(QByteArray frame)
{
    const qsizetype at = frame.indexOf(Link::ETX, 1);
    if (at > 0 && at + 1 < frame.size())
        frame[at + 1] = frame[at + 1] == '0' ? '1' : '0';
    return frame;
}

void SimInstrument::sendFrame(const QByteArray &frame, bool corrupt, int delayMs)
{
    m_lastFrame = frame;
    const bool damage = corrupt || ruleHits(SimFault::DamageAll, frame.mid(1, 2), 0);
    deliver(damage ? Damaged(frame) : frame, delayMs);
}

void SimInstrument::receive(const QByteArray &bytes)
{
    m_bytesIn += quint64(bytes.size());
    m_asm.feed(bytes);
    for (const Link::Frame &f : m_asm.takeFrames()) {
        switch (f.kind) {
        case Link::Frame::Text:
            handleRequest(f.body);
            break;
        case Link::Frame::Bad:
        case Link::Frame::Overlong:
            deliver(QByteArray(1, Link::NAK));
            break;
        case Link::Frame::BadChar:
            // Whole, but not what an instrument takes: a NAK would only bring it again.
            if (m_poweredOn)
                refuseMalformed(f.body, QStringLiteral("holds the byte 0x%1, which a text frame does not carry")
                                        .arg(QString::number(f.badByte, 16).toUpper().rightJustified(2, QLatin1Char('0'))));
            break;
        case Link::Frame::Nak:
            if (!m_lastFrame.isEmpty()) {
                const int hold = fireRule(SimFault::HoldRepeat, m_lastFrame.mid(1, 2), 0);
                sendFrame(m_lastFrame, false, hold >= 0 ? m_rules[hold].delayMs : 0);
            }
            break;
        case Link::Frame::Ack:
            if (m_transfer) {
                m_transfer->next += m_transfer->step;
                if (m_transfer->next > m_transfer->last)
                    m_transfer.reset();
                else
                    sendBlock();
            } else if (!m_textBlocks.isEmpty()) {
                sendNextTextBlock();
            }
            break;
        case Link::Frame::Junk:
            if (f.raw.contains(Link::ESC)) { // the program stopped the transfer
                m_transfer.reset();
                m_textBlocks.clear();
            }
            break;
        case Link::Frame::Binary:
            break;
        }
    }
}

QByteArray SimInstrument::busyOr(int &counter, const QByteArray &result)
{
    if (counter > 0) {
        --counter;
        return QByteArray(1, Link::SUB);
    }
    return result;
}

void SimInstrument::refuseMalformed(const QByteArray &body, const QString &reason)
{
    if (m_malformed.size() < kMaxKeptRefusals)
        m_malformed.append({body, reason});
    const Link::Answer req = Link::SplitBody(body);
    if (req.valid)
        sendAnswer(req.code, 'N', {});
    else
        deliver(QByteArray(1, Link::NAK)); // not even a code to answer with
}

void SimInstrument::handleRequest(const QByteArray &body)
{
    ++m_requestCount;
    if (m_requests.size() >= kMaxKeptRequests)
        m_requests.removeFirst();
    m_requests.append(body);
    emit requestSeen(body);
    if (!m_poweredOn)
        return;
    m_transfer.reset(); // a new request ends any transfer or long answer still running
    m_textBlocks.clear();
    if (!m_heldFrame.isEmpty())
        sendFrame(std::exchange(m_heldFrame, QByteArray()), false);
    if (const QString why = SimRequestCheck::Problem(body); !why.isEmpty()) {
        refuseMalformed(body, why);
        return;
    }
    const Link::Answer req = Link::SplitBody(body);
    if (ruleHits(SimFault::DamagedBefore, req.code, req.mode) && !m_lastFrame.isEmpty())
        deliver(Damaged(m_lastFrame));
    if (ruleHits(SimFault::HangUp, req.code, req.mode)) {
        QTimer::singleShot(0, this, [this] { hangUp(); });
        return;
    }
    if (ruleHits(SimFault::NoAnswer, req.code, req.mode))
        return;
    if (ruleHits(SimFault::Refuse, req.code, req.mode)) {
        sendAnswer(req.code, 'N', {});
        return;
    }
    if (ruleHits(SimFault::NakRequest, req.code, req.mode)) {
        deliver(QByteArray(1, Link::NAK));
        return;
    }
    if (ruleHits(SimFault::StaleRead, req.code, req.mode)) {
        Link::Answer read = req;
        read.mode = 'R';
        read.fields = HasEntries(QString::fromLatin1(req.code)) ? req.fields.mid(0, 1) : QList<QByteArray>();
        QByteArray mode;
        bool transfer = false;
        QByteArray body = req.code + ",R,";
        for (const QByteArray &x : answerFields(read, &mode, &transfer))
            body += x + ',';
        sendFrame(Link::BuildTextFrame(body), false);
        return;
    }
    QByteArray mode;
    bool transfer = false;
    QList<QByteArray> fields = answerFields(req, &mode, &transfer);
    if (transfer) {
        startTransfer(req);
        return;
    }
    if (mode == "X") { // malformed: already refused
        return;
    }
    if (mode != "N") {
        const int few = fireRule(SimFault::FewerFields, req.code, req.mode);
        if (few >= 0)
            fields = fields.mid(0, qMax<qsizetype>(0, fields.size() - qMax(1, m_rules[few].dropFields)));
    }
    sendAnswer(req.code, mode.isEmpty() ? req.mode : mode[0], fields);
}

// Sends the frame again every periodMs while no newer request has come (bounded, so a
// forgotten rule cannot talk for ever).
void SimInstrument::chatterFrom(const QByteArray &frame, int periodMs, quint64 request, int left)
{
    if (left <= 0)
        return;
    QTimer::singleShot(periodMs, this, [=, this] {
        if (m_requestCount != request || !m_poweredOn)
            return;
        sendFrame(frame, false);
        chatterFrom(frame, periodMs, request, left - 1);
    });
}

void SimInstrument::sendAnswer(const QByteArray &code, char mode, const QList<QByteArray> &fields)
{
    QList<QByteArray> blocks = answerBlocks(code, mode, fields);
    const QByteArray frame = blocks.takeFirst();
    m_textBlocks = blocks;
    const bool corrupt = ruleHits(SimFault::CorruptChecksum, code, 0);
    const bool garbage = ruleHits(SimFault::Garbage, code, 0);
    const bool slow = ruleHits(SimFault::ByteByByte, code, 0);
    const int delayRule = fireRule(SimFault::Delay, code, 0);
    const int delay = delayRule >= 0 ? m_rules[delayRule].delayMs : 0;
    if (ruleHits(SimFault::LateAnswer, code, mode)) {
        m_heldFrame = frame;
        return;
    }
    if (const int chatter = fireRule(SimFault::Chatter, code, mode); chatter >= 0)
        chatterFrom(frame, qMax(1, m_rules[chatter].delayMs), m_requestCount);
    if (ruleHits(SimFault::DropMidFrame, code, mode)) {
        deliver(frame.left(frame.size() / 2));
        QTimer::singleShot(20, this, [this] { hangUp(); });
        return;
    }
    if (garbage)
        deliver(QByteArray("\x11\x7Fnoise\x13", 8), delay);
    if (!slow) {
        sendFrame(frame, corrupt, delay);
        return;
    }
    m_lastFrame = frame;
    for (int i = 0; i < frame.size(); ++i)
        deliver(frame.mid(i, 1), delay + i);
}

// The frames of one answer: one block, or several split between fields when the body is
// longer than the block size (each block starts with "CC,M,", the fields run on).
QList<QByteArray> SimInstrument::answerBlocks(const QByteArray &code, char mode, const QList<QByteArray> &fields) const
{
    const QByteArray head = code + ',' + mode + ',';
    QList<QByteArray> bodies{head};
    for (const QByteArray &f : fields) {
        if (m_answerBlockSize > 0 && bodies.last().size() > head.size() &&
            bodies.last().size() + f.size() + 1 > m_answerBlockSize)
            bodies.append(head);
        bodies.last() += f + ',';
    }
    QList<QByteArray> frames;
    for (int i = 0; i < bodies.size(); ++i)
        frames.append(Link::BuildTextFrame(bodies[i], i + 1 == bodies.size()));
    return frames;
}

void SimInstrument::sendNextTextBlock() { sendFrame(m_textBlocks.takeFirst(), false); }

QList<QByteArray> SimInstrument::answerFields(const Link::Answer &req, QByteArray *mode, bool *startTransfer)
{
    const QString code = QString::fromLatin1(req.code);
    const QList<QByteArray> &f = req.fields;
    *mode = QByteArray(1, req.mode);
    auto accepted = [&]() -> QList<QByteArray> { return {}; };
    auto refused = [&]() -> QList<QByteArray> {
        *mode = "N";
        return {};
    };

    if (req.code == "RC")
        return {"1"};
    if (req.code == "EP" || req.code == "EF" || req.code == "OD") {
        *startTransfer = req.mode == 'R';
        return refused();
    }
    if (req.mode == 'R' && ReadOnlyCodes::IsReadOnly(req.code)) {
        if (req.code == "HC" && ruleHits(SimFault::BadClock, req.code, req.mode))
            return {"991340256199"};
        return ReadOnlyCodes::Fields(m_state, req.code, clock());
    }
    if (req.code == "DN" && req.mode == 'R') {
        float v[7];
        ++m_readingTick;
        for (int ch = 0; ch < 7; ++ch)
            v[ch] = m_state.GasEnabled(ch)
                        ? float(std::round(((ch == 1 ? 20.9 : 0.0) + (m_readingTick % 5) * 0.1) * 10.0) / 10.0)
                        : ReadingCode::NotSet;
        return ReadOnlyCodes::ReadingFields(v);
    }
    if (req.code == "SO" && req.mode == 'R')
        return ReadOnlyCodes::HistoryFields(m_state);
    if ((req.code == "SN" || req.code == "DS") && req.mode == 'W') {
        if (f.isEmpty())
            return refused();
        clsInstrument::DeviceDoor door(m_state);
        (req.code == "SN") ? m_state.setSerialNo(QString::fromLatin1(f[0])) : m_state.setDummySerial(QString::fromLatin1(f[0]));
        return accepted();
    }
    if (req.code == "HC" && req.mode == 'W') {
        const QDateTime t = ReadOnlyCodes::ParseClock(f.value(0));
        if (!t.isValid())
            return refused();
        m_clockOffset = QDateTime::currentDateTime().secsTo(t);
        return accepted();
    }
    if (req.code == "BP") {
        if (req.mode == 'W') {
            m_pump = f.value(0) == "1";
            return accepted();
        }
        if (m_restoring) {
            const bool endless = ruleHits(SimFault::BusyForever, req.code, req.mode);
            if (endless || m_restoreBusy > 0) {
                if (!endless)
                    --m_restoreBusy;
                *mode = "C";
                return {QByteArray(1, Link::SUB)};
            }
            m_restoring = false;
        }
        return {m_pump ? "1" : "0"};
    }
    if (req.code == "UP" && req.mode == 'W') {
        m_state = m_factory;
        m_restoring = true;
        m_restoreBusy = m_busyPolls;
        return accepted();
    }
    if (req.code == "UD" && req.mode == 'W') {
        m_factory = m_state;
        return accepted();
    }
    if (req.code == "RO" && req.mode == 'W') {
        QTimer::singleShot(0, this, [this] { m_poweredOn = false; });
        return accepted();
    }
    if (req.code == "SB" && req.mode == 'W')
        return accepted();
    if (req.code == "UX" || req.code == "SZ" || req.code == "S2")
        return calibrationAnswer(req, mode);
    if (req.code == "MM" && req.mode == 'W') {
        bool ok = false;
        const int board = f.value(0).toInt(&ok);
        if (!ok || board < 1 || board > 3 || m_state.GasType(board + 3) == SensorType::EmptySlot)
            return refused();
        return accepted();
    }
    if (req.code == "OB" && req.mode == 'R') {
        bool ok = false;
        const int board = f.value(0).toInt(&ok);
        if (!ok || board < 1 || board > 3 || f.value(1) != "VPR")
            return refused();
        return {f[0], f[1], m_romVersion[board].toHex().toUpper()};
    }

    // Setting lines: a read answers with the fields of the write line, a write is applied.
    if (!SettingLines::isKnownCode(code) || (code == QLatin1String("GJ") && req.mode == 'W'))
        return refused();
    if (req.mode == 'R') {
        const QString key = HasEntries(code) ? QString::fromLatin1(f.value(0)) : QString();
        const auto it = EntryByKey().constFind(code + QLatin1Char('|') + key);
        if (it == EntryByKey().constEnd())
            return refused();
        // An instrument answers what it holds, also a byte the link will not take.
        const SettingLines::LineText lt = SettingLines::fieldsText(m_state, *it, FieldCodec::Chars::Held);
        return lt.ok ? SplitFields(lt.text) : refused();
    }
    if (req.mode == 'W') {
        QByteArray body = req.code + ",W,";
        for (const QByteArray &x : f)
            body += x + ',';
        if (const QString why = SimRequestCheck::ApplySettingWrite(m_state, body); !why.isEmpty()) {
            refuseMalformed(body, why);
            *mode = "X";
            return {};
        }
        return accepted();
    }
    return refused();
}

// ---- DEFAULT and calibration: accepted, busy for a few polls, then the status.

QList<QByteArray> SimInstrument::calibrationAnswer(const Link::Answer &req, QByteArray *mode)
{
    const int kind = req.code == "UX" ? 0 : req.code == "SZ" ? 1 : 2;
    int &busy = kind == 0 ? m_defaultBusy : kind == 1 ? m_zeroBusy : m_spanBusy;
    if (req.mode == 'W') {
        busy = m_busyPolls;
        if (kind == 1)
            m_zeroStatus = m_zeroResult.isEmpty() ? calibrationStatus(req.fields.value(0)) : m_zeroResult;
        else if (kind == 2)
            m_spanStatus = m_spanResult.isEmpty() ? calibrationStatus(req.fields.value(0)) : m_spanResult;
        return {};
    }
    if (req.mode == 'C') {
        if (ruleHits(SimFault::BusyForever, req.code, req.mode))
            return {QByteArray(1, Link::SUB)};
        return {busyOr(busy, kind == 0 ? m_defaultResult : kind == 1 ? m_zeroStatus : m_spanStatus)};
    }
    if (kind == 1 && req.mode == 'R') // the zero readings, a read-only list
        return ReadOnlyCodes::Fields(m_state, req.code, clock());
    *mode = "N";
    return {};
}

QByteArray SimInstrument::calibrationStatus(const QByteArray &asked) const
{
    QByteArray out(7, '2');
    for (int ch = 0; ch < 7 && ch < asked.size(); ++ch)
        if (asked[ch] == '1' && m_state.GasEnabled(ch))
            out[ch] = m_calDigit[ch] ? m_calDigit[ch] : '1';
    return out;
}

void SimInstrument::setCalibrationDigit(int ch, char digit)
{
    if (ch >= 0 && ch < 7)
        m_calDigit[ch] = digit;
}

void SimInstrument::startTransfer(const Link::Answer &req)
{
    auto t = std::make_unique<Transfer>();
    t->code = req.code;
    bool ok1 = false, ok2 = false;
    int firstField = 0;
    if (req.code == "EP") {
        t->area = 'F';
        t->blockSize = 1024;
        t->step = 1;
    } else if (req.code == "EF") {
        t->area = 'R';
        t->blockSize = 256;
        t->step = 256;
    } else {
        bool ok = false;
        const int board = req.fields.value(0).toInt(&ok);
        if (!ok || board < 1 || board > 3 || (req.fields.value(1) != "ESR" && req.fields.value(1) != "EFR")) {
            sendAnswer(req.code, 'N', {});
            return;
        }
        t->area = char((req.fields.value(1) == "ESR" ? 'a' : 'k') + board);
        t->blockSize = 128;
        t->step = 128;
        firstField = 2;
    }
    t->next = HexField(req.fields.value(firstField), &ok1);
    t->last = HexField(req.fields.value(firstField + 1), &ok2);
    if (!ok1 || !ok2 || t->next > t->last || (t->next % t->step) != 0) {
        sendAnswer(req.code, 'N', {});
        return;
    }
    m_transfer = std::move(t);
    sendBlock();
}

void SimInstrument::sendBlock()
{
    Transfer &t = *m_transfer;
    QByteArray payload(t.blockSize, 0);
    const quint32 base = quint32(t.next) * (t.step == 1 ? quint32(t.blockSize) : 1u);
    for (int i = 0; i < t.blockSize; ++i)
        payload[i] = PatternByte(t.area, base + quint32(i));
    ++t.blocksSent;
    bool corrupt = false;
    for (int i = 0; i < m_rules.size(); ++i) {
        const SimFaultRule &r = m_rules[i];
        if (r.fault == SimFault::CorruptChecksum && r.code == t.code && r.nth == t.blocksSent &&
            (r.times < 0 || m_ruleFired[i] < r.times)) {
            ++m_ruleFired[i];
            corrupt = true;
        }
    }
    if (ruleHits(SimFault::HangUp, t.code, 'B')) {
        QTimer::singleShot(0, this, [this] { hangUp(); });
        return;
    }
    sendFrame(Link::BuildBinaryFrame(quint16(t.next), payload, t.next + t.step > t.last), corrupt);
}
