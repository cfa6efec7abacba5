#include "settingsfiles/SettingLines.h"

#include "core/clsToken.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "settingsfiles/FieldCodec.h"
#include "settingsfiles/SettingLinesInPlace.h"
#include "settingsfiles/SettingTable.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace SettingLines {

namespace {

using namespace detail;
using namespace FieldCodec;

Block blockOf(const Def &d, bool secondLs)
{
    const QLatin1String c(d.code);
    if (c == QLatin1String("XZ"))
        return Block::UserList;
    if (c == QLatin1String("XS"))
        return Block::StationList;
    if (c == QLatin1String("LO") || c == QLatin1String("LN") || c == QLatin1String("LB") || c == QLatin1String("LA"))
        return Block::Conversion;
    if (c == QLatin1String("LS"))
        return secondLs ? Block::PidHigh : Block::PidLow;
    if (c == QLatin1String("LI"))
        return Block::PidLow;
    if (c == QLatin1String("LJ"))
        return Block::PidHigh;
    return Block::Settings;
}

QVector<Entry> linesOf(const Def &d, bool secondLs)
{
    QVector<Entry> out;
    for (int e = 0; e < d.count; ++e)
        out << Entry{QLatin1String(d.code), d.key == Key::None ? -1 : e, blockOf(d, secondLs)};
    return out;
}

bool hasTail(const Def &d, int full) { return d.minFields < full; }

// ---- one field
int decimalsOf(const clsInstrument &r, const Field &f)
{
    switch (f.scale) {
    case Scale::Channel:
        return r.GasPoint(f.i);
    case Scale::CatPpm:
        return kCatPpmPoint;
    case Scale::CatVol:
        return kCatVolPoint;
    case Scale::Inert:
        return kInertPoint;
    case Scale::Pid:
        return r.PIDPoint(f.i, f.j);
    case Scale::None:
        break;
    }
    return 0;
}

std::optional<QString> digitOnly(int64_t v, QString *why)
{
    if (v < 0 || v > 9) {
        if (why)
            *why = QStringLiteral("%1 would not read back (only 0..9 can be written here)").arg(v);
        return std::nullopt;
    }
    return dec(v);
}

std::optional<QString> encode(const clsInstrument &r, const Field &f, QString *why, Chars chars)
{
    const double n = r.number(f.m, f.i, f.j);
    const auto whole = [&] { return int64_t(RoundHalfEven(n)); };
    switch (f.enc) {
    case Enc::Dec:
        return dec(whole());
    case Enc::Hex2:
        return hex2(whole(), why);
    case Enc::Hex4:
        return hex4(whole(), why);
    case Enc::Factor:
        // Four digits read back only up to 7FFF.
        if (whole() < 0 || whole() > 0x7FFF) {
            if (why)
                *why = QStringLiteral("factor %1 is outside 0..32767").arg(whole());
            return std::nullopt;
        }
        return hex4(whole(), why);
    case Enc::Hex4Raw:
        return hex4Raw(int(whole()));
    case Enc::HexPlain:
        return hexPlain(int(whole()));
    case Enc::Value:
        return valueWord(float(n), decimalsOf(r, f), why);
    case Enc::Small:
        return smallWord(float(n), decimalsOf(r, f), why);
    case Enc::Real:
        return real(float(n), why);
    case Enc::LaLevel: {
        const auto w = valueWord(float(n), 0, why);
        // Older files wrote the not-set codes as FF9B, FF8A, FF87: keep those words free.
        if (w && (*w == QLatin1String("FF9B") || *w == QLatin1String("FF8A") || *w == QLatin1String("FF87"))) {
            if (why)
                *why = QStringLiteral("%1 does not fit a four-digit word").arg(n);
            return std::nullopt;
        }
        return w;
    }
    case Enc::Text:
    case Enc::TextUpper:
    case Enc::TextKeep:
        return textN(r.text(f.m, f.i, f.j), f.width, why, chars);
    case Enc::TextRaw:
        return textRaw(r.text(f.m, f.i, f.j), why, chars);
    case Enc::Flag:
        return QString(n != 0 ? QStringLiteral("1") : QStringLiteral("0"));
    case Enc::DigitChar:
        return digitChar(int(whole()), why);
    case Enc::Unit:
        return dec(UnitCode(r.text(f.m, f.i, f.j)));
    case Enc::UnitHexRead:
        return digitOnly(UnitCode(r.text(f.m, f.i, f.j)), why);
    case Enc::Interval:
        return dec(IntervalToCode(int(whole())));
    case Enc::TypeOrAt:
        // Written in decimal, read as hex: only 0..9 come back as they went.
        if (whole() == SensorType::EmptySlot)
            return QStringLiteral("@");
        return digitOnly(whole(), why);
    case Enc::ZeroOrAt:
        return dec(whole());
    case Enc::AtOnly:
        return QStringLiteral("@");
    }
    return std::nullopt;
}

bool isAt(const QString &s) { return s == QLatin1String("@"); }

// Field width of a hex encoding as the writer writes it.
int hexWidth(Enc e)
{
    return e == Enc::Hex2 ? 2 : 4;
}

// Converts one field and stores it. Scales come from the record as it stands, so the
// decimal places of an earlier line (or field) apply.
bool decode(clsInstrument &r, const Field &f, const QString &s, M tailFlag, Blanks blanks, QString *why)
{
    const auto num = [&](auto opt) { return opt && setNum(r, f.m, double(*opt), f.i, f.j, why); };
    switch (f.enc) {
    case Enc::Dec:
        return num(readDec(s, why));
    case Enc::Hex2:
    case Enc::Hex4Raw:
    case Enc::HexPlain:
        return num(readHex(s, why, hexWidth(f.enc)));
    case Enc::Hex4:
        return num(readWide(s, why));
    case Enc::Factor: {
        const QString t = trimBlanks(s);
        const bool full = t.size() == 4;
        if (t.size() != 4 && t.size() != 2) {
            if (why)
                *why = QStringLiteral("\"%1\" is neither two nor four hex digits").arg(s);
            return false;
        }
        const auto hi = readHex(t.left(2), why);
        if (!hi)
            return false;
        int v = *hi;
        if (full) {
            const auto lo = readHex(t.mid(2, 2), why);
            if (!lo)
                return false;
            v = v * 256 + *lo;
            if (v > 0x7FFF) {
                if (why)
                    *why = QStringLiteral("\"%1\" is outside 16 bits").arg(s);
                return false;
            }
        }
        return setNum(r, f.m, v, f.i, f.j, why) && r.setNumber(tailFlag, full ? 0 : -1);
    }
    case Enc::Value:
        return num(readValue(s, decimalsOf(r, f), why));
    case Enc::Small:
        return num(readSmall(s, decimalsOf(r, f), why));
    case Enc::Real:
        return num(readReal(s, why));
    case Enc::LaLevel: {
        const QString t = trimBlanks(s).toUpper();
        if (t == QLatin1String("FF9B"))
            return setNum(r, f.m, ReadingCode::NotSet, f.i, f.j, why);
        if (t == QLatin1String("FF8A"))
            return setNum(r, f.m, ReadingCode::Unknown, f.i, f.j, why);
        if (t == QLatin1String("FF87"))
            return setNum(r, f.m, ReadingCode::NoValue, f.i, f.j, why);
        return num(readValue(t, 0, why));
    }
    case Enc::Text:
    case Enc::TextUpper:
    case Enc::TextKeep:
    case Enc::TextRaw: {
        const auto t = readText(s, f.enc == Enc::TextRaw ? 0 : f.width, why);
        if (!t)
            return false;
        if (f.enc == Enc::TextKeep || f.enc == Enc::TextRaw)
            return setTxt(r, f.m, *t, f.i, f.j, why);
        if (blanks == Blanks::Keep)
            return setTxt(r, f.m, unpadded(*t), f.i, f.j, why);
        const QString trimmed = trimBlanks(*t);
        return setTxt(r, f.m, f.enc == Enc::TextUpper ? trimmed.toUpper() : trimmed, f.i, f.j, why);
    }
    case Enc::Flag:
        return num(readFlag(s, why));
    case Enc::DigitChar:
        return num(readDigitChar(s, why));
    case Enc::Unit: {
        const auto c = readDec(s, why);
        return c && setTxt(r, f.m, UnitName(*c), f.i, f.j, why);
    }
    case Enc::UnitHexRead: {
        const auto c = readDigit(s, why);
        return c && setTxt(r, f.m, UnitName(*c), f.i, f.j, why);
    }
    case Enc::Interval: {
        const auto c = readDec(s, why);
        return c && setNum(r, f.m, IndexToInterval(*c), f.i, f.j, why);
    }
    case Enc::TypeOrAt:
        return isAt(s) ? setNum(r, f.m, SensorType::EmptySlot, f.i, f.j, why) : num(readDigit(s, why));
    case Enc::ZeroOrAt:
    case Enc::AtOnly:
        return isAt(s) ? setNum(r, f.m, 0, f.i, f.j, why) : num(readDec(s, why));
    }
    return false;
}

// ---- whole lines
QString keyText(const Def &d, int e)
{
    switch (d.key) {
    case Key::Hex2Plus1:
        return Hex2(e + 1);
    case Key::Hex2:
        return Hex2(e);
    case Key::Dec:
        return dec(e);
    case Key::None:
        break;
    }
    return QString();
}

std::optional<int> readKey(const Def &d, const QString &s, QString *why)
{
    switch (d.key) {
    case Key::Hex2Plus1: {
        const auto v = readHex(s, why, 2);
        if (!v)
            return std::nullopt;
        return *v - 1;
    }
    case Key::Hex2: {
        const auto v = readHex(s, why, 2);
        if (!v)
            return std::nullopt;
        return int(*v);
    }
    case Key::Dec: {
        const auto v = readDec(s, why);
        if (!v)
            return std::nullopt;
        return int(*v);
    }
    case Key::None:
        break;
    }
    return -1;
}

bool isPidCode(const Def &d)
{
    const QLatin1String c(d.code);
    return c == QLatin1String("LS") || c == QLatin1String("LI") || c == QLatin1String("LJ");
}

ParseResult bad(const QString &code, const QString &reason)
{
    ParseResult r;
    r.status = ParseStatus::BadLine;
    r.code = code;
    r.reason = reason;
    return r;
}

// Applies the fields of one line straight to r (callers that need all-or-nothing work on
// a copy).
ParseResult apply(clsInstrument &r, const Def &d, QStringList f, Blanks blanks = Blanks::Trim)
{
    const QString code = QLatin1String(d.code);
    QString why;
    int e = 0;
    if (d.key != Key::None) {
        if (f.isEmpty())
            return bad(code, QStringLiteral("no entry number"));
        const auto k = readKey(d, f.takeFirst(), &why);
        if (!k)
            return bad(code, QStringLiteral("entry number: %1").arg(why));
        e = *k;
        // Entry numbers beyond the record's PID entries are not an error, just unused.
        if (isPidCode(d) && (e < 0 || e >= clsInstrument::info(M::PIDName).count1)) {
            ParseResult ok;
            ok.status = ParseStatus::Ok;
            ok.code = code;
            ok.index = e;
            return ok;
        }
    }
    const Fields fields = d.fields(e);
    if (d.key != Key::None) {
        const int size = clsInstrument::info(fields.first().m).count1;
        if (e < 0 || e >= size)
            return bad(code, QStringLiteral("entry number %1 is outside 0..%2").arg(e).arg(size - 1));
    }
    const int full = int(fields.size());
    const int n = int(f.size());
    // The whole line, or the short form of an older instrument; nothing in between, so a
    // dropped field never shifts the rest into the wrong members.
    const int lineFull = d.lineFields > 0 ? d.lineFields : full;
    if (n != lineFull && !(d.minFields < lineFull && n == d.minFields))
        return bad(code, d.minFields < lineFull
                             ? QStringLiteral("%1 fields, %2 or %3 expected").arg(n).arg(lineFull).arg(d.minFields)
                             : QStringLiteral("%1 fields, %2 expected").arg(n).arg(lineFull));

    const int keyOffset = d.key == Key::None ? 0 : 1;
    auto fieldError = [&](int k) {
        return bad(code, QStringLiteral("field %1: %2").arg(k + 1 + keyOffset).arg(why));
    };
    if (d.read) {
        if (!d.read(r, f, &why))
            return bad(code, why);
    } else {
        const bool tail = hasTail(d, full);
        const int used = !tail || n == full ? full : d.minFields;
        for (int pass = 0; pass < 2; ++pass) {
            for (int k = 0; k < used; ++k) {
                if (fields[k].first != (pass == 0))
                    continue;
                if (!decode(r, fields[k], f.at(k), d.tailFlag, blanks, &why))
                    return fieldError(k);
            }
        }
        if (tail && d.tailFlag != M::Count)
            r.setNumber(d.tailFlag, n == full ? 0 : -1);
    }
    if (d.post && !d.post(r, n))
        return bad(code, r.lastError());
    ParseResult ok;
    ok.status = ParseStatus::Ok;
    ok.code = code;
    ok.index = d.key == Key::None ? -1 : e;
    ok.shortForm = n != lineFull;
    return ok;
}

bool isTextEnc(Enc e) { return e == Enc::Text || e == Enc::TextUpper || e == Enc::TextKeep; }

// Tokens of a whole line made ready for apply(): a line holding ";" is refused (the
// tokenizer would have dropped the rest as a comment), and a name split at its commas is
// joined back when it is the line's only text field and its last, where the extra fields
// can be nothing else. Returns the fields after "CC,M,".
std::optional<QStringList> lineFields(const Def &d, const QString &line, const QStringList &tokens, QString *why)
{
    if (QLatin1String(d.code) != QLatin1String("UG") && line.contains(QLatin1Char(';'))) {
        *why = QStringLiteral("\";\" inside the line, which the writer never writes");
        return std::nullopt;
    }
    QStringList f = tokens.mid(2);
    const Fields fields = d.fields(0);
    const int keyed = d.key == Key::None ? 0 : 1;
    const int full = int(fields.size()) + keyed;
    const bool lastOnlyText = !d.read && d.lineFields == 0 && d.minFields == int(fields.size()) &&
                              std::count_if(fields.begin(), fields.end(),
                                            [](const Field &x) { return isTextEnc(x.enc); }) == 1 &&
                              isTextEnc(fields.last().enc);
    if (lastOnlyText && f.size() > full) {
        const QString name = f.mid(full - 1).join(QLatin1Char(','));
        f = f.mid(0, full - 1);
        f << name;
    }
    return f;
}

void forEachFlagged(const Def &d, int e, const std::function<void(M, int, int)> &fn)
{
    const int entry = d.key == Key::None ? 0 : e;
    for (const Field &f : d.fields(entry))
        fn(f.m, f.i, f.j);
}

// The members whose values the line carries (a field written as "@" whatever the member holds
// carries none).
void forEachCarried(const Def &d, int e, const std::function<void(M, int, int)> &fn)
{
    for (const Field &f : d.fields(d.key == Key::None ? 0 : e))
        if (f.enc != Enc::AtOnly)
            fn(f.m, f.i, f.j);
}

// The tokens of a line; *overflow when it has more fields than the tokenizer holds.
QStringList splitLine(const QString &line, bool *overflow)
{
    clsToken tok;
    tok.AddDelimiters(QStringLiteral(","));
    tok.AddComments(QStringLiteral(";"));
    *overflow = !tok.SetSource(line);
    // In the UG line ";" is a channel mask (11), not a comment.
    if (tok.TokenCount() > 0 && tok.Tokens(0).toUpper() == QLatin1String("UG")) {
        tok.ClearComments();
        *overflow = !tok.SetSource(line);
    }
    QStringList out;
    for (int k = 0; k < tok.TokenCount(); ++k)
        out << tok.Tokens(k);
    return out;
}

} // namespace

const QVector<Entry> &fileOrder()
{
    static const QVector<Entry> order = [] {
        QVector<Entry> out;
        const Def *ls = nullptr;
        for (const Def &d : allDefs()) {
            if (QLatin1String(d.code) == QLatin1String("LS")) {
                ls = &d;
            }
            if (QLatin1String(d.code) == QLatin1String("LJ"))
                out += linesOf(*ls, true);
            out += linesOf(d, false);
        }
        return out;
    }();
    return order;
}

const QVector<Entry> &entries()
{
    static const QVector<Entry> all = [] {
        QVector<Entry> out;
        for (const Def &d : allDefs())
            out += linesOf(d, false);
        return out;
    }();
    return all;
}

bool isKnownCode(const QString &code) { return defOf(code) != nullptr; }

bool linkWrites(const Entry &e)
{
    const Def *d = defOf(e.code);
    return d && d->linkWrites;
}

QString requestKey(const Entry &e)
{
    const Def *d = defOf(e.code);
    return d ? keyText(*d, e.index) : QString();
}

bool isChanged(const clsInstrument &inst, const Entry &e)
{
    const Def *d = defOf(e.code);
    if (!d)
        return false;
    bool any = false;
    forEachFlagged(*d, e.index, [&](M m, int i, int j) { any = any || inst.isChanged(m, i, j); });
    return any;
}

void clearChanged(clsInstrument &inst, const Entry &e)
{
    const Def *d = defOf(e.code);
    if (!d)
        return;
    forEachFlagged(*d, e.index, [&](M m, int i, int j) {
        const auto f = clsInstrument::info(m).flag;
        if (f == clsInstrument::F::Count)
            return;
        const auto &fi = clsInstrument::info(f);
        inst.setFlag(f, false, fi.count1 == 1 ? 0 : i, fi.count2 == 1 ? 0 : j);
    });
}

void markUnread(clsInstrument &inst, const Entry &e)
{
    if (const Def *d = defOf(e.code))
        forEachCarried(*d, e.index, [&](M m, int i, int j) { inst.setUnread(m, i, j); });
}

bool isUnread(const clsInstrument &inst, const Entry &e)
{
    const Def *d = defOf(e.code);
    if (!d || !inst.AnyUnread())
        return false;
    bool any = false;
    forEachCarried(*d, e.index, [&](M m, int i, int j) { any = any || inst.isUnread(m, i, j); });
    return any;
}

M supportFlag(const Entry &e)
{
    const Def *d = defOf(e.code);
    return d ? d->support : M::Count;
}

bool isSupported(const clsInstrument &inst, const Entry &e)
{
    const Def *d = defOf(e.code);
    if (!d)
        return false;
    return d->support == M::Count || inst.number(d->support) == 0;
}

LineText fieldsText(const clsInstrument &inst, const Entry &e, Chars chars)
{
    LineText out;
    const Def *d = defOf(e.code);
    if (!d) {
        out.reason = QStringLiteral("unknown setting code");
        out.error = QStringLiteral("%1: %2").arg(e.code, out.reason);
        return out;
    }
    const int entry = d->key == Key::None ? 0 : e.index;
    if (d->key != Key::None && (entry < 0 || entry >= d->count)) {
        out.reason = QStringLiteral("no entry %1").arg(e.index);
        out.error = QStringLiteral("%1: %2").arg(e.code, out.reason);
        return out;
    }
    QString why;
    QStringList fields;
    if (d->key != Key::None)
        fields << keyText(*d, entry);
    if (d->write) {
        const auto w = d->write(inst, &why);
        if (!w) {
            out.reason = why;
            out.error = QStringLiteral("%1: %2").arg(e.code, why);
            return out;
        }
        fields += *w;
    } else {
        for (const Field &f : d->fields(entry)) {
            const auto s = encode(inst, f, &why, chars);
            if (!s) {
                out.reason = why;
                out.error = d->key == Key::None ? QStringLiteral("%1: %2").arg(e.code, why)
                                                : QStringLiteral("%1 %2: %3").arg(e.code, keyText(*d, entry), why);
                return out;
            }
            fields << *s;
        }
    }
    for (const QString &s : fields)
        out.text += s + QLatin1Char(',');
    out.ok = true;
    return out;
}

LineText lineText(const clsInstrument &inst, const Entry &e, QChar mode)
{
    LineText out = fieldsText(inst, e);
    if (out.ok)
        out.text = e.code + QLatin1Char(',') + mode + QLatin1Char(',') + out.text;
    return out;
}

ParseResult parseLineInPlace(clsInstrument &inst, const QString &line, Door door)
{
    bool overflow = false;
    const QStringList tokens = splitLine(line, &overflow);
    ParseResult r;
    if (tokens.isEmpty())
        return r;
    r.code = tokens.at(0).toUpper();
    const Def *d = defOf(r.code);
    if (!d)
        return r;
    if (overflow)
        return bad(r.code, QStringLiteral("more than %1 fields").arg(clsToken::MaxTokens));
    QString why;
    const auto fields = lineFields(*d, line, tokens, &why);
    if (!fields)
        return bad(r.code, why);
    std::optional<clsInstrument::DeviceDoor> guard;
    if (door == Door::Device)
        guard.emplace(inst);
    return apply(inst, *d, *fields);
}

ParseResult parseFields(clsInstrument &inst, const QString &code, const QStringList &fields, Door door,
                        Blanks blanks)
{
    ParseResult r;
    r.code = code.toUpper();
    const Def *d = defOf(r.code);
    if (!d)
        return r;
    clsInstrument work(inst);
    {
        std::optional<clsInstrument::DeviceDoor> guard;
        if (door == Door::Device)
            guard.emplace(work);
        r = apply(work, *d, fields, blanks);
    }
    if (r.ok())
        inst = work;
    return r;
}

ParseResult parseLine(clsInstrument &inst, const QString &line, Door door)
{
    bool overflow = false;
    const QStringList tokens = splitLine(line, &overflow);
    if (tokens.isEmpty())
        return ParseResult{};
    const Def *d = defOf(tokens.at(0));
    if (!d) {
        ParseResult unknown;
        unknown.code = tokens.at(0).toUpper();
        return unknown;
    }
    if (overflow)
        return bad(tokens.at(0).toUpper(), QStringLiteral("more than %1 fields").arg(clsToken::MaxTokens));
    QString why;
    const auto fields = lineFields(*d, line, tokens, &why);
    if (!fields)
        return bad(tokens.at(0).toUpper(), why);
    return parseFields(inst, tokens.at(0), *fields, door);
}

} // namespace SettingLines
