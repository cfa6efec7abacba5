#include "settingsfiles/FieldCodec.h"

#include "model/Rounding.h"
#include "model/modGasCommon.h"

#include <cmath>

namespace FieldCodec {

namespace {

constexpr int64_t kWideMax = 1278700; // EncodeWide gives FFFF here

std::nullopt_t refuse(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return std::nullopt;
}

// Printable ASCII: what a text frame of the link carries.
bool isLineChar(QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; }

// "\"É\" (0xC9)", or the code alone for a byte that does not print.
QString charName(QChar c)
{
    const QString code = QStringLiteral("0x") + QString::number(c.unicode(), 16).toUpper().rightJustified(2, QLatin1Char('0'));
    if (c.unicode() < 0xA0)
        return QStringLiteral("the character %1").arg(code);
    return QStringLiteral("\"%1\" (%2)").arg(c, code);
}

bool isNotSetWord(uint32_t w) { return w == 0xDDDD || w == 0xFEFE || w == 0xFFFF; }

// At most `width` hex digits, leading zeros counted: the writer never writes more.
std::optional<uint32_t> parseHexDigits(const QString &f, int width)
{
    const QString t = trimBlanks(f);
    if (t.isEmpty() || t.size() > width)
        return std::nullopt;
    uint64_t v = 0;
    for (QChar c : t) {
        int d;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            d = c.unicode() - '0';
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            d = c.unicode() - 'A' + 10;
        else if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            d = c.unicode() - 'a' + 10;
        else
            return std::nullopt;
        v = v * 16 + uint64_t(d);
    }
    return uint32_t(v);
}

std::optional<float> codeOfWord(const QString &t)
{
    const QString u = t.toUpper();
    if (u == QLatin1String("FF") || u == QLatin1String("FFFF"))
        return ReadingCode::NotSet;
    if (u == QLatin1String("FE") || u == QLatin1String("FEFE"))
        return ReadingCode::Unknown;
    if (u == QLatin1String("DD") || u == QLatin1String("DDDD"))
        return ReadingCode::NoValue;
    return std::nullopt;
}

// The scaled whole number of a non-negative value, as the instrument words carry it.
std::optional<int32_t> scaled(float v, int digits) { return ToInt32(double(v) / std::pow(0.1, digits)); }

} // namespace

QString unpadded(const QString &f)
{
    qsizetype b = f.size();
    while (b > 0 && f.at(b - 1) == QLatin1Char(' '))
        --b;
    return f.left(b);
}

QString trimBlanks(const QString &f)
{
    qsizetype a = 0;
    qsizetype b = f.size();
    while (a < b && f.at(a) == QLatin1Char(' '))
        ++a;
    while (b > a && f.at(b - 1) == QLatin1Char(' '))
        --b;
    return f.mid(a, b - a);
}

QString dec(int64_t v) { return QString::number(v); }

std::optional<QString> hex2(int64_t v, QString *why)
{
    if (v < 0 || v > 255)
        return refuse(why, QStringLiteral("%1 does not fit two hex digits").arg(v));
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

std::optional<QString> hex4(int64_t v, QString *why)
{
    if (v < 0 || v > kWideMax)
        return refuse(why, QStringLiteral("%1 is outside 0..%2").arg(v).arg(kWideMax));
    return Hex4(int32_t(v));
}

QString hex4Raw(int v) { return QStringLiteral("%1").arg(uint16_t(v), 4, 16, QLatin1Char('0')).toUpper(); }

QString hexPlain(int v) { return QString::number(uint16_t(v), 16).toUpper(); }

std::optional<QString> valueWord(float v, int digits, QString *why)
{
    if (!std::isfinite(v))
        return refuse(why, QStringLiteral("not a number"));
    if (v >= 0) {
        const auto s = scaled(v, digits);
        if (!s || EncodeWide(*s) > 0xFFFF || isNotSetWord(uint32_t(EncodeWide(*s))))
            return refuse(why, QStringLiteral("%1 with %2 decimals does not fit a four-digit word").arg(double(v)).arg(digits));
    }
    bool ok = true;
    const QString w = ValueToHex(v, digits, &ok);
    if (!ok)
        return refuse(why, QStringLiteral("%1 does not convert").arg(double(v)));
    return w;
}

std::optional<QString> smallWord(float v, int digits, QString *why)
{
    if (v == ReadingCode::NotSet)
        return QStringLiteral("FF");
    if (v == ReadingCode::Unknown)
        return QStringLiteral("FE");
    if (v == ReadingCode::NoValue)
        return QStringLiteral("DD");
    if (!std::isfinite(v))
        return refuse(why, QStringLiteral("not a number"));
    if (v < 0)
        return QStringLiteral("00");
    const auto s = scaled(v, digits);
    if (!s || *s > 0xFF || isNotSetWord(uint32_t(*s) * 0x101))
        return refuse(why, QStringLiteral("%1 with %2 decimals does not fit two hex digits").arg(double(v)).arg(digits));
    return Hex2(*s);
}

std::optional<QString> real(float v, QString *why)
{
    if (!std::isfinite(v))
        return refuse(why, QStringLiteral("not a number"));
    QString s = QString::asprintf("%.7G", double(v));
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

std::optional<QString> textRaw(const QString &v, QString *why, Chars chars)
{
    for (QChar c : v) {
        if (c == QLatin1Char(',') || c == QLatin1Char(';'))
            return refuse(why, QStringLiteral("\"%1\" holds \"%2\", which would split the line").arg(v, c));
        const bool held = chars == Chars::Held && c.unicode() >= 0x80 && c.unicode() <= 0xFF;
        if (!isLineChar(c) && !held)
            return refuse(why, QStringLiteral("\"%1\" holds %2, which the instrument line does not carry").arg(v, charName(c)));
    }
    return v;
}

std::optional<QString> textN(const QString &v, int n, QString *why, Chars chars)
{
    QString t = v.left(n);
    if (t.size() < n)
        t += QString(n - t.size(), QLatin1Char(' '));
    return textRaw(t, why, chars);
}

namespace {
// A blank would be trimmed, and a "," split the line: neither reads back.
bool isDigitCharCode(int code) { return code >= 33 && code <= 126 && code != ','; }
} // namespace

std::optional<QString> digitChar(int v, QString *why)
{
    const int code = 48 + v;
    if (!isDigitCharCode(code))
        return refuse(why, QStringLiteral("%1 has no digit character").arg(v));
    return QString(QChar(char16_t(code)));
}

std::optional<int16_t> readDec(const QString &f, QString *why)
{
    const QString t = trimBlanks(f);
    bool digits = !t.isEmpty() && t.size() <= 7;
    for (qsizetype k = 0; digits && k < t.size(); ++k) {
        const QChar c = t.at(k);
        digits = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (k == 0 && c == QLatin1Char('-') && t.size() > 1);
    }
    if (!digits)
        return refuse(why, QStringLiteral("\"%1\" is not a whole decimal number").arg(f));
    const auto v = ToInt16(t.toDouble());
    if (!v)
        return refuse(why, QStringLiteral("\"%1\" is outside 16 bits").arg(f));
    return v;
}

std::optional<int16_t> readHex(const QString &f, QString *why, int width)
{
    const auto v = parseHexDigits(f, qMin(width, 4));
    if (!v)
        return refuse(why, QStringLiteral("\"%1\" is not a hex number of at most %2 digits").arg(f).arg(qMin(width, 4)));
    return int16_t(uint16_t(*v));
}

std::optional<int32_t> readHexL(const QString &f, QString *why, int width)
{
    const auto v = parseHexDigits(f, qMin(width, 8));
    if (!v)
        return refuse(why, QStringLiteral("\"%1\" is not a hex number of at most %2 digits").arg(f).arg(qMin(width, 8)));
    return int32_t(*v);
}

std::optional<int32_t> readWide(const QString &f, QString *why)
{
    const auto v = readHexL(f, why, 4);
    if (!v)
        return std::nullopt;
    return int32_t(DecodeWide(*v));
}

std::optional<int16_t> readDigit(const QString &f, QString *why)
{
    const QString t = trimBlanks(f);
    if (t.size() != 1 || t.at(0) < QLatin1Char('0') || t.at(0) > QLatin1Char('9'))
        return refuse(why, QStringLiteral("\"%1\" is not a single digit").arg(f));
    return int16_t(t.at(0).unicode() - '0');
}

std::optional<int16_t> readDigitChar(const QString &f, QString *why)
{
    const int code = f.size() == 1 ? int(f.at(0).unicode()) : 0;
    if (!isDigitCharCode(code))
        return refuse(why, QStringLiteral("\"%1\" is not one digit character").arg(f));
    return int16_t(code - 48);
}

std::optional<QString> readText(const QString &f, int width, QString *why)
{
    if (width > 0 && f.size() > width)
        return refuse(why, QStringLiteral("\"%1\" is longer than %2 characters").arg(f).arg(width));
    // A "," comes only from a name joined back from the rest of its line, and is kept.
    for (QChar c : f) {
        if (c == QLatin1Char(';'))
            return refuse(why, QStringLiteral("\"%1\" holds \";\"").arg(f));
        if (!isLineChar(c))
            return refuse(why, QStringLiteral("\"%1\" holds %2, which the instrument line does not carry").arg(f, charName(c)));
    }
    return f;
}

std::optional<float> readValue(const QString &f, int digits, QString *why)
{
    if (trimBlanks(f).size() > 4)
        return refuse(why, QStringLiteral("\"%1\" is not an instrument word of four digits").arg(f));
    bool ok = false;
    const float v = HexToValue(trimBlanks(f), digits, &ok);
    if (!ok)
        return refuse(why, QStringLiteral("\"%1\" is not an instrument word").arg(f));
    return v;
}

std::optional<float> readSmall(const QString &f, int digits, QString *why)
{
    const QString t = trimBlanks(f);
    if (const auto code = codeOfWord(t); code && t.size() == 2)
        return code;
    if (t.size() > 2)
        return refuse(why, QStringLiteral("\"%1\" is longer than two hex digits").arg(f));
    return readValue(t, digits, why);
}

std::optional<float> readReal(const QString &f, QString *why)
{
    bool ok = false;
    const float v = trimBlanks(f).toFloat(&ok);
    if (!ok || !std::isfinite(v))
        return refuse(why, QStringLiteral("\"%1\" is not a number").arg(f));
    return v;
}

std::optional<int16_t> readFlag(const QString &f, QString *why)
{
    bool ok = false;
    const double d = trimBlanks(f).toDouble(&ok);
    if (!ok)
        return refuse(why, QStringLiteral("\"%1\" is not a number").arg(f));
    return int16_t(d == 1.0 ? -1 : 0);
}

} // namespace FieldCodec
