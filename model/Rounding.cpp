#include "model/Rounding.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <limits>

double RoundHalfEven(double v)
{
    if (!std::isfinite(v))
        return v;
    if (std::fabs(v - std::trunc(v)) == 0.5)
        return 2.0 * std::round(v / 2.0);
    return std::round(v);
}

std::optional<int16_t> ToInt16(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = RoundHalfEven(v);
    if (r < std::numeric_limits<int16_t>::min() || r > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return int16_t(r);
}

std::optional<int32_t> ToInt32(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = RoundHalfEven(v);
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return int32_t(r);
}

namespace {

// Rounds the decimal text of a value (shortest form, "d.ddde+XX") to `decimals` places,
// halves away from zero, working on the digits so no binary error creeps in.
QString roundDecimalText(const char *sci, bool negative, int decimals)
{
    // Split "d.dddde+XX" into digits and exponent.
    std::string s(sci);
    const size_t e = s.find('e');
    const int exp10 = std::stoi(s.substr(e + 1));
    std::string digits;
    for (size_t k = 0; k < e; ++k)
        if (s[k] >= '0' && s[k] <= '9')
            digits += s[k];

    std::string intPart, frac;
    if (exp10 >= 0) {
        const size_t n = size_t(exp10) + 1;
        if (digits.size() < n)
            digits.append(n - digits.size(), '0');
        intPart = digits.substr(0, n);
        frac = digits.substr(n);
    } else {
        intPart.assign(1, '0');
        frac = std::string(size_t(-exp10 - 1), '0') + digits;
    }
    bool roundUp = frac.size() > size_t(decimals) && frac[size_t(decimals)] >= '5';
    if (frac.size() > size_t(decimals))
        frac.resize(size_t(decimals));
    else
        frac.append(size_t(decimals) - frac.size(), '0');

    std::string all = intPart + frac;
    if (roundUp) {
        int k = int(all.size()) - 1;
        while (k >= 0 && all[size_t(k)] == '9')
            all[size_t(k--)] = '0';
        if (k >= 0)
            ++all[size_t(k)];
        else
            all.insert(all.begin(), '1');
    }
    std::string ip = all.substr(0, all.size() - frac.size());
    const std::string fp = all.substr(all.size() - frac.size());
    const size_t nz = ip.find_first_not_of('0');
    ip = nz == std::string::npos ? "0" : ip.substr(nz);

    const bool zero = all.find_first_not_of('0') == std::string::npos;
    QString out = QString::fromLatin1((negative && !zero) ? "-" : "") + QString::fromLatin1(ip.c_str());
    if (decimals > 0)
        out += QLatin1Char('.') + QString::fromLatin1(fp.c_str());
    return out;
}

template <typename T> QString formatDecimalsT(T v, int decimals)
{
    decimals = std::clamp(decimals, 0, 15);
    if (!std::isfinite(v))
        return QString::number(double(v));
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(v), std::chars_format::scientific);
    *res.ptr = '\0';
    return roundDecimalText(buf, std::signbit(v), decimals);
}

// Decimal places of a pattern "#0", "#0.00", "0.0"...; -1 for anything else.
int patternDecimals(const QString &pattern)
{
    static const QRegularExpression re(QStringLiteral("^#*0(\\.(0*))?$"));
    const auto m = re.match(pattern);
    if (!m.hasMatch())
        return -1;
    return int(m.capturedLength(2));
}

} // namespace

QString FormatDecimals(double v, int decimals) { return formatDecimalsT(v, decimals); }
QString FormatDecimals(float v, int decimals) { return formatDecimalsT(v, decimals); }

QString GeneralNumber(float v)
{
    if (v == 0.0f)
        return QStringLiteral("0");
    return QString::asprintf("%.7G", double(v));
}

QString FormatPattern(double v, const QString &pattern)
{
    const int d = patternDecimals(pattern);
    if (d >= 0)
        return FormatDecimals(v, d);
    if (v == 0.0)
        return QStringLiteral("0");
    return QString::asprintf("%.15G", v);
}

QString FormatPattern(float v, const QString &pattern)
{
    const int d = patternDecimals(pattern);
    if (d >= 0)
        return FormatDecimals(v, d);
    return GeneralNumber(v);
}
