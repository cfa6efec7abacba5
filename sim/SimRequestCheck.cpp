#include "sim/SimRequestCheck.h"
#include "link/FrameCodec.h"
#include "link/ReadOnlyCodes.h"
#include "model/clsInstrument.h"
#include "settingsfiles/SettingLines.h"
#include <QHash>
#include <QSet>
#include <QStringList>

namespace SimRequestCheck {

namespace {

using Fields = QList<QByteArray>;

bool IsHexUpper(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool Hex(const QByteArray &f, int minWidth, int maxWidth)
{
    if (f.size() < minWidth || f.size() > maxWidth)
        return false;
    for (char c : f)
        if (!IsHexUpper(c))
            return false;
    return true;
}

int HexValue(const QByteArray &f) { return f.toInt(nullptr, 16); }

// Seven characters "0" or "1", one per channel.
bool ChannelMask(const QByteArray &f)
{
    if (f.size() != 7)
        return false;
    for (char c : f)
        if (c != '0' && c != '1')
            return false;
    return true;
}

bool Board(const QByteArray &f) { return f == "1" || f == "2" || f == "3"; }

// Setting codes and the entry keys of list codes ("" for a code without entries).
const QHash<QByteArray, QSet<QByteArray>> &SettingKeys()
{
    static const QHash<QByteArray, QSet<QByteArray>> keys = [] {
        QHash<QByteArray, QSet<QByteArray>> m;
        for (const SettingLines::Entry &e : SettingLines::entries())
            m[e.code.toLatin1()].insert(SettingLines::requestKey(e).toLatin1());
        return m;
    }();
    return keys;
}

QString Count(const Fields &f, int want)
{
    return f.size() == want ? QString() : QStringLiteral("%1 fields, %2 expected").arg(f.size()).arg(want);
}

QString FieldProblem(int k, const QByteArray &f, const char *what)
{
    return QStringLiteral("field %1 \"%2\": %3").arg(k + 1).arg(QString::fromLatin1(f), QLatin1String(what));
}

// Memory-dump ranges: start and end, both four hex digits, aligned to the block, in order,
// inside the memory.
QString DumpRange(const Fields &f, int at, int align, int limit)
{
    for (int k = at; k < at + 2; ++k)
        if (!Hex(f[k], 4, 4) || HexValue(f[k]) % align != 0)
            return FieldProblem(k, f[k], "not a block start in four hex digits");
    const int from = HexValue(f[at]), to = HexValue(f[at + 1]);
    if (from > to)
        return QStringLiteral("start %1 after end %2").arg(from).arg(to);
    if (to >= limit)
        return QStringLiteral("end %1 outside the memory").arg(to);
    return {};
}

QString SettingLine(const Link::Answer &a)
{
    const auto it = SettingKeys().constFind(a.code);
    if (a.mode == 'R') {
        const bool list = !it->contains(QByteArray());
        if (list ? a.fields.size() != 1 || !it->contains(a.fields[0]) : !a.fields.isEmpty())
            return QStringLiteral("no entry \"%1\"").arg(QString::fromLatin1(a.fields.join(',')));
        return {};
    }
    if (a.mode != 'W')
        return QStringLiteral("mode %1 unknown for %2").arg(QLatin1Char(a.mode)).arg(QString::fromLatin1(a.code));
    if (a.code == "GJ")
        return QStringLiteral("GJ is read only");
    return {}; // the values: ApplySettingWrite
}

} // namespace

QString Problem(const QByteArray &body)
{
    if (!body.endsWith(','))
        return QStringLiteral("the request does not end with \",\"");
    const Link::Answer a = Link::SplitBody(body);
    if (!a.valid)
        return QStringLiteral("not \"CC,M,fields\"");
    const Fields &f = a.fields;
    const QByteArray cm = a.code + ',' + a.mode;

    // Requests without fields.
    static const QSet<QByteArray> bare = {"RC,R", "DN,R", "SN,R", "DS,R", "BP,R", "UP,W", "UD,W", "RO,W", "SB,W",
                                          "UX,C", "SZ,C", "S2,C", "SZ,R"};
    if (bare.contains(cm) || (a.mode == 'R' && ReadOnlyCodes::IsReadOnly(a.code) && a.code != "SO"))
        return Count(f, 0);
    if (cm == "SN,W" || cm == "DS,W") {
        const int width = clsInstrument::info(a.code == "SN" ? clsInstrument::M::SerialNo : clsInstrument::M::DummySerial).blankWidth;
        if (f.size() != 1)
            return Count(f, 1);
        if (f[0].isEmpty() || (width > 0 && f[0].size() > width))
            return FieldProblem(0, f[0], "empty or too long");
        return {};
    }
    if (cm == "HC,W") {
        if (f.size() != 1)
            return Count(f, 1);
        if (f[0].size() != 12 || !ReadOnlyCodes::ParseClock(f[0]).isValid())
            return FieldProblem(0, f[0], "not a date yyMMddHHmmss");
        return {};
    }
    if (cm == "SO,R")
        return f == Fields{"0"} ? QString() : QStringLiteral("only record 0 is kept");
    if (cm == "BP,W") {
        if (f.size() != 1)
            return Count(f, 1);
        return f[0] == "0" || f[0] == "1" ? QString() : FieldProblem(0, f[0], "pump is 0 or 1");
    }
    if (cm == "UX,W") {
        // Bit 0 the main board, bits 1 to 3 the option boards; at least one.
        if (f.size() != 1)
            return Count(f, 1);
        return Hex(f[0], 1, 1) && HexValue(f[0]) != 0 ? QString() : FieldProblem(0, f[0], "not a board mask 1-F");
    }
    if (cm == "SZ,W") {
        if (f.size() != 1)
            return Count(f, 1);
        return ChannelMask(f[0]) ? QString() : FieldProblem(0, f[0], "not seven channel flags");
    }
    if (cm == "S2,W") {
        // Seven channel flags, then one span value per channel; a channel not asked has 0000.
        if (f.size() != 8)
            return Count(f, 8);
        if (!ChannelMask(f[0]))
            return FieldProblem(0, f[0], "not seven channel flags");
        for (int ch = 0; ch < 7; ++ch) {
            const QByteArray &v = f[ch + 1];
            if (!Hex(v, 4, 4))
                return FieldProblem(ch + 1, v, "not four hex digits");
            if (f[0][ch] == '0' && v != "0000")
                return FieldProblem(ch + 1, v, "a value for a channel not asked");
        }
        return {};
    }
    if (cm == "MM,W") {
        if (f.size() != 2)
            return Count(f, 2);
        if (!Board(f[0]))
            return FieldProblem(0, f[0], "no such board");
        return f[1] == "S" || f[1] == "E" ? QString() : FieldProblem(1, f[1], "not S or E");
    }
    if (cm == "OB,R") {
        if (f.size() != 3)
            return Count(f, 3);
        if (!Board(f[0]))
            return FieldProblem(0, f[0], "no such board");
        if (f[1] != "VPR")
            return FieldProblem(1, f[1], "unknown board request");
        return Hex(f[2], 1, 3) && HexValue(f[2]) >= 1 && HexValue(f[2]) <= 256 ? QString()
                                                                               : FieldProblem(2, f[2], "not a byte count 1-100");
    }
    if (cm == "EP,R")
        return f.size() != 2 ? Count(f, 2) : DumpRange(f, 0, 1, 4096);
    if (cm == "EF,R")
        return f.size() != 2 ? Count(f, 2) : DumpRange(f, 0, 256, 8192);
    if (cm == "OD,R") {
        if (f.size() != 4)
            return Count(f, 4);
        if (!Board(f[0]))
            return FieldProblem(0, f[0], "no such board");
        if (f[1] != "ESR" && f[1] != "EFR")
            return FieldProblem(1, f[1], "not ESR or EFR");
        return DumpRange(f, 2, 128, 65536);
    }
    if (SettingKeys().contains(a.code))
        return SettingLine(a);
    static const QSet<QByteArray> otherCodes = {"RC", "DN", "SN", "DS", "BP", "UP", "UD", "RO", "SB", "UX",
                                                "SZ", "S2", "HC", "SO", "MM", "OB", "EP", "EF", "OD"};
    if (otherCodes.contains(a.code) || ReadOnlyCodes::IsReadOnly(a.code))
        return QStringLiteral("mode %1 unknown for %2").arg(QLatin1Char(a.mode)).arg(QString::fromLatin1(a.code));
    return QStringLiteral("unknown code %1").arg(QString::fromLatin1(a.code));
}

QString ApplySettingWrite(clsInstrument &inst, const QByteArray &body)
{
    const Link::Answer a = Link::SplitBody(body);
    const QString code = QString::fromLatin1(a.code);
    const SettingLines::Entry *entry = nullptr;
    for (const SettingLines::Entry &e : SettingLines::entries()) {
        if (e.code != code)
            continue;
        const QString key = SettingLines::requestKey(e);
        if (key.isEmpty() || (!a.fields.isEmpty() && key.toLatin1() == a.fields[0])) {
            entry = &e;
            break;
        }
    }
    if (!entry)
        return QStringLiteral("no entry \"%1\"").arg(QString::fromLatin1(a.fields.value(0)));
    QStringList fields;
    for (const QByteArray &x : a.fields)
        fields.append(QString::fromLatin1(x));
    clsInstrument next = inst;
    {
        clsInstrument::DeviceDoor door(next);
        // An instrument keeps the bytes a write carries, blanks in front of a name included.
        const SettingLines::ParseResult p =
            SettingLines::parseFields(next, code, fields, SettingLines::Door::Device, SettingLines::Blanks::Keep);
        if (!p.ok())
            return p.reason.isEmpty() ? QStringLiteral("refused") : p.reason;
    }
    const SettingLines::LineText back = SettingLines::fieldsText(next, *entry, FieldCodec::Chars::Held);
    if (!back.ok)
        return back.error;
    QList<QByteArray> want = back.text.toLatin1().split(',');
    if (!want.isEmpty() && want.last().isEmpty())
        want.removeLast();
    if (want.size() != a.fields.size())
        return Count(a.fields, int(want.size()));
    for (int k = 0; k < want.size(); ++k)
        if (want[k] != a.fields[k])
            return QStringLiteral("field %1 \"%2\": written as \"%3\"")
                .arg(k + 1)
                .arg(QString::fromLatin1(a.fields[k]), QString::fromLatin1(want[k]));
    inst = next;
    return {};
}

} // namespace SimRequestCheck
