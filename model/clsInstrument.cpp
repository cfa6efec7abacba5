#include "model/clsInstrument.h"

#include <QDebug>
#include <cmath>
#include <limits>

namespace {

using Kind = clsInstrument::Kind;
using F = clsInstrument::F;

#define VANTIK_UNPAREN(...) __VA_ARGS__
#define VANTIK_MEMBER(Name, Setter, K, Shape, N1, N2, Outside, Flag, Meta)                     \
    {.name = #Name, .kind = Kind::K, .count1 = N1, .count2 = N2,                               \
     .outsideIsError = Outside, .flag = F::Flag, VANTIK_UNPAREN Meta},
constexpr bool Error = true;
constexpr bool Quiet = false;
const clsInstrument::MemberInfo kMembers[] = {
#include "model/InstrumentMembers.def"
};
#undef VANTIK_MEMBER
#undef VANTIK_UNPAREN

#define VANTIK_FLAG(Name, Shape, N1, N2) {#Name, N1, N2},
const clsInstrument::FlagInfo kFlags[] = {
#include "model/InstrumentMembers.def"
};
#undef VANTIK_FLAG

static_assert(std::size(kMembers) == size_t(clsInstrument::M::Count), "one row per member");
static_assert(std::size(kFlags) == size_t(clsInstrument::F::Count), "one row per flag");

bool isNumeric(Kind k) { return k != Kind::Text && k != Kind::Date; }

// A blank text of a member with a width rule reads and stores as that many blanks.
QString applyBlankRule(const QString &v, int width)
{
    if (width > 0 && v.trimmed().isEmpty())
        return QString(width, QLatin1Char(' '));
    return v;
}

} // namespace

const clsInstrument::MemberInfo &clsInstrument::info(M m) { return kMembers[size_t(m)]; }
const clsInstrument::FlagInfo &clsInstrument::info(F f) { return kFlags[size_t(f)]; }

std::optional<clsInstrument::M> clsInstrument::memberByName(const QString &name)
{
    for (size_t k = 0; k < std::size(kMembers); ++k)
        if (name == QLatin1String(kMembers[k].name))
            return M(k);
    return std::nullopt;
}

std::optional<clsInstrument::F> clsInstrument::flagByName(const QString &name)
{
    for (size_t k = 0; k < std::size(kFlags); ++k)
        if (name == QLatin1String(kFlags[k].name))
            return F(k);
    return std::nullopt;
}

clsInstrument::clsInstrument()
{
    for (size_t k = 0; k < m_members.size(); ++k) {
        const MemberInfo &mi = kMembers[k];
        const size_t n = size_t(mi.count1) * size_t(mi.count2);
        if (mi.kind == Kind::Text)
            m_members[k].txt.assign(n, QString());
        else if (mi.kind == Kind::Date)
            m_members[k].dat.assign(n, QDateTime());
        else
            m_members[k].num.assign(n, 0.0);
    }
    for (size_t k = 0; k < m_flags.size(); ++k)
        m_flags[k].assign(size_t(kFlags[k].count1) * size_t(kFlags[k].count2), false);
    ClearDatas();
}

clsInstrument::clsInstrument(const clsInstrument &other)
    : m_members(other.m_members), m_flags(other.m_flags), m_unread(other.m_unread), m_lastError(other.m_lastError)
{
}

clsInstrument &clsInstrument::operator=(const clsInstrument &other)
{
    if (this != &other) {
        m_members = other.m_members;
        m_flags = other.m_flags;
        m_unread = other.m_unread;
        m_lastError = other.m_lastError;
    }
    return *this;
}

void clsInstrument::ClearDatas()
{
    for (size_t k = 0; k < m_members.size(); ++k) {
        const M m = M(k);
        // These describe the session rather than the instrument; their owners reset them.
        if (m == M::GasFullScale || m == M::CommFlags || m == M::ImportFlag)
            continue;
        Slot &s = m_members[k];
        std::fill(s.num.begin(), s.num.end(), 0.0);
        std::fill(s.txt.begin(), s.txt.end(), QString());
        std::fill(s.dat.begin(), s.dat.end(), QDateTime());
    }
    m_members[size_t(M::InvalidIF)].num[0] = -1.0;
    m_members[size_t(M::XV_)].num[0] = 1.0;
    m_members[size_t(M::XV_)].num[1] = 1.0;
    m_unread.clear();
    ClearChangeFlags();
}

void clsInstrument::SetChangeFlags(bool Value)
{
    for (size_t k = 0; k < m_flags.size(); ++k) {
        if (F(k) == F::Change_SerialNo || F(k) == F::Change_DummySerial)
            continue;
        std::fill(m_flags[k].begin(), m_flags[k].end(), Value);
    }
}

void clsInstrument::ClearChangeFlags()
{
    for (auto &f : m_flags)
        std::fill(f.begin(), f.end(), false);
}

bool clsInstrument::AnyChangeFlag() const
{
    for (const auto &f : m_flags)
        for (bool b : f)
            if (b)
                return true;
    return false;
}

void clsInstrument::refuse(const QString &what) const
{
    m_lastError = what;
    qWarning().noquote() << "clsInstrument:" << what;
}

int clsInstrument::slotIndex(M m, int i, int j, bool write) const
{
    if (size_t(m) >= size_t(M::Count))
        return -1;
    const MemberInfo &mi = kMembers[size_t(m)];
    if (j < 0 || j >= mi.count2) {
        refuse(QStringLiteral("%1(%2, %3): range outside 0 to %4")
                   .arg(QLatin1String(mi.name)).arg(i).arg(j).arg(mi.count2 - 1));
        return -1;
    }
    if (i < 0 || i >= mi.count1) {
        if (mi.outsideIsError)
            refuse(QStringLiteral("%1(%2): %3 outside 0 to %4")
                       .arg(QLatin1String(mi.name)).arg(i)
                       .arg(write ? QStringLiteral("write") : QStringLiteral("read"))
                       .arg(mi.count1 - 1));
        return -1;
    }
    return i * mi.count2 + j;
}

namespace {
uint32_t unreadKey(clsInstrument::M m, int k) { return uint32_t(m) << 16 | uint32_t(k); }
} // namespace

void clsInstrument::setUnread(M m, int i, int j)
{
    const int k = slotIndex(m, i, j, true);
    if (k >= 0)
        m_unread.insert(unreadKey(m, k));
}

bool clsInstrument::isUnread(M m, int i, int j) const
{
    if (m_unread.empty())
        return false;
    const int k = slotIndex(m, i, j, false);
    return k >= 0 && m_unread.count(unreadKey(m, k)) != 0;
}

void clsInstrument::stored(M m, int k, int i, int j)
{
    if (!m_unread.empty())
        m_unread.erase(unreadKey(m, k));
    raise(m, i, j);
}

void clsInstrument::raise(M m, int i, int j)
{
    if (m_deviceDepth > 0)
        return;
    const MemberInfo &mi = kMembers[size_t(m)];
    if (mi.flag != F::NoFlag) {
        const FlagInfo &fi = kFlags[size_t(mi.flag)];
        // A flag with one entry covers every index of its members (Change_GasType).
        const int fi1 = fi.count1 == 1 ? 0 : i;
        const int fj = fi.count2 == 1 ? 0 : j;
        m_flags[size_t(mi.flag)][size_t(fi1 * fi.count2 + fj)] = true;
    }
    if (mi.subBoardFrom >= 0 && i >= mi.subBoardFrom && i <= mi.subBoardTo)
        m_flags[size_t(F::Change_SubBoard)][0] = true;
}

double clsInstrument::number(M m, int i, int j) const
{
    const int k = slotIndex(m, i, j, false);
    if (k < 0 || !isNumeric(kMembers[size_t(m)].kind))
        return 0.0;
    return m_members[size_t(m)].num[size_t(k)];
}

bool clsInstrument::setNumber(M m, double v, int i, int j)
{
    const int k = slotIndex(m, i, j, true);
    if (k < 0)
        return false;
    const MemberInfo &mi = kMembers[size_t(m)];
    double lo = 0, hi = 0;
    switch (mi.kind) {
    case Kind::Int16: lo = std::numeric_limits<int16_t>::min(); hi = std::numeric_limits<int16_t>::max(); break;
    case Kind::Int32: lo = std::numeric_limits<int32_t>::min(); hi = std::numeric_limits<int32_t>::max(); break;
    case Kind::Int64: lo = -9007199254740992.0; hi = 9007199254740992.0; break; // exact in a double
    case Kind::Single:
        if (std::isfinite(v) && std::fabs(v) > double(std::numeric_limits<float>::max())) {
            refuse(QStringLiteral("%1: %2 outside single precision").arg(QLatin1String(mi.name), QString::number(v, 'g', 17)));
            return false;
        }
        v = double(float(v));
        break;
    case Kind::Bool: v = (v != 0) ? -1.0 : 0.0; break;
    case Kind::Text:
    case Kind::Date:
        refuse(QStringLiteral("%1 is not a number").arg(QLatin1String(mi.name)));
        return false;
    }
    if (mi.kind == Kind::Int16 || mi.kind == Kind::Int32 || mi.kind == Kind::Int64) {
        if (!std::isfinite(v) || v != std::trunc(v) || v < lo || v > hi) {
            refuse(QStringLiteral("%1: %2 does not fit the member").arg(QLatin1String(mi.name), QString::number(v, 'g', 17)));
            return false;
        }
    }
    m_members[size_t(m)].num[size_t(k)] = v;
    stored(m, k, i, j);
    return true;
}

QString clsInstrument::text(M m, int i, int j) const
{
    const int k = slotIndex(m, i, j, false);
    if (k < 0 || kMembers[size_t(m)].kind != Kind::Text)
        return QString();
    return applyBlankRule(m_members[size_t(m)].txt[size_t(k)], kMembers[size_t(m)].blankWidth);
}

bool clsInstrument::setText(M m, const QString &v, int i, int j)
{
    const int k = slotIndex(m, i, j, true);
    if (k < 0)
        return false;
    const MemberInfo &mi = kMembers[size_t(m)];
    if (mi.kind != Kind::Text) {
        refuse(QStringLiteral("%1 is not a text").arg(QLatin1String(mi.name)));
        return false;
    }
    m_members[size_t(m)].txt[size_t(k)] = applyBlankRule(v, mi.blankWidth);
    stored(m, k, i, j);
    return true;
}

QDateTime clsInstrument::date(M m, int i, int j) const
{
    const int k = slotIndex(m, i, j, false);
    if (k < 0 || kMembers[size_t(m)].kind != Kind::Date)
        return QDateTime();
    return m_members[size_t(m)].dat[size_t(k)];
}

bool clsInstrument::setDate(M m, const QDateTime &v, int i, int j)
{
    const int k = slotIndex(m, i, j, true);
    if (k < 0)
        return false;
    if (kMembers[size_t(m)].kind != Kind::Date) {
        refuse(QStringLiteral("%1 is not a date").arg(QLatin1String(kMembers[size_t(m)].name)));
        return false;
    }
    m_members[size_t(m)].dat[size_t(k)] = v;
    stored(m, k, i, j);
    return true;
}

QVariant clsInstrument::value(M m, int i, int j) const
{
    if (size_t(m) >= size_t(M::Count))
        return QVariant();
    switch (kMembers[size_t(m)].kind) {
    case Kind::Int16:
    case Kind::Int32: return QVariant(int(number(m, i, j)));
    case Kind::Int64: return QVariant(qint64(number(m, i, j)));
    case Kind::Single: return QVariant(float(number(m, i, j)));
    case Kind::Bool: return QVariant(number(m, i, j) != 0);
    case Kind::Text: return QVariant(text(m, i, j));
    case Kind::Date: return QVariant(date(m, i, j));
    }
    return QVariant();
}

bool clsInstrument::setValue(M m, const QVariant &v, int i, int j)
{
    if (size_t(m) >= size_t(M::Count))
        return false;
    const MemberInfo &mi = kMembers[size_t(m)];
    switch (mi.kind) {
    case Kind::Text:
        return setText(m, v.toString(), i, j);
    case Kind::Date:
        if (!v.canConvert<QDateTime>()) {
            refuse(QStringLiteral("%1: not a date").arg(QLatin1String(mi.name)));
            return false;
        }
        return setDate(m, v.toDateTime(), i, j);
    case Kind::Bool:
        return setNumber(m, v.toBool() ? -1.0 : 0.0, i, j);
    default: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok) {
            refuse(QStringLiteral("%1: %2 is not a number").arg(QLatin1String(mi.name), v.toString()));
            return false;
        }
        return setNumber(m, d, i, j);
    }
    }
}

bool clsInstrument::flag(F f, int i, int j) const
{
    if (size_t(f) >= size_t(F::Count))
        return false;
    const FlagInfo &fi = kFlags[size_t(f)];
    if (i < 0 || i >= fi.count1 || j < 0 || j >= fi.count2)
        return false;
    return m_flags[size_t(f)][size_t(i * fi.count2 + j)];
}

void clsInstrument::setFlag(F f, bool v, int i, int j)
{
    if (size_t(f) >= size_t(F::Count))
        return;
    const FlagInfo &fi = kFlags[size_t(f)];
    if (i < 0 || i >= fi.count1 || j < 0 || j >= fi.count2) {
        refuse(QStringLiteral("%1(%2, %3): outside its bounds").arg(QLatin1String(fi.name)).arg(i).arg(j));
        return;
    }
    m_flags[size_t(f)][size_t(i * fi.count2 + j)] = v;
}

bool clsInstrument::isChanged(M m, int i, int j) const
{
    if (size_t(m) >= size_t(M::Count))
        return false;
    const F f = kMembers[size_t(m)].flag;
    if (f == F::NoFlag)
        return false;
    const FlagInfo &fi = kFlags[size_t(f)];
    return flag(f, fi.count1 == 1 ? 0 : i, fi.count2 == 1 ? 0 : j);
}
