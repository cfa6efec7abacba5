#pragma once
#include "model/clsInstrument.h"
#include <QStringList>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>

// Calls f(m, i, j) for every entry of every member of the record.
template <class F>
void ForEachMemberEntry(F f)
{
    for (int k = 0; k < int(clsInstrument::M::Count); ++k) {
        const clsInstrument::M m = clsInstrument::M(k);
        const clsInstrument::MemberInfo &info = clsInstrument::info(m);
        for (int i = 0; i < info.count1; ++i)
            for (int j = 0; j < info.count2; ++j)
                f(m, i, j);
    }
}

// Every entry in which two records differ, "name(i,j): a / b"; compare(m, i) chooses the
// entries looked at, same (when given) may accept values that are not equal.
inline QStringList MemberDifferences(
    const clsInstrument &a, const clsInstrument &b, const std::function<bool(clsInstrument::M, int)> &compare,
    const std::function<bool(clsInstrument::M, int, const QVariant &, const QVariant &)> &same = {})
{
    using M = clsInstrument::M;
    QStringList out;
    for (int k = 0; k < int(M::Count); ++k) {
        const M m = M(k);
        const clsInstrument::MemberInfo &info = clsInstrument::info(m);
        for (int i = 0; i < info.count1; ++i) {
            if (!compare(m, i))
                continue;
            for (int j = 0; j < info.count2; ++j) {
                const QVariant x = a.value(m, i, j);
                const QVariant y = b.value(m, i, j);
                if (x != y && !(same && same(m, i, x, y)))
                    out << QStringLiteral("%1(%2,%3): %4 / %5")
                               .arg(QLatin1String(info.name))
                               .arg(i)
                               .arg(j)
                               .arg(x.toString(), y.toString());
            }
        }
    }
    return out;
}

// The members in which two records differ, joined by "; ", for "unchanged, member for
// member" checks; members in skip are not compared.
inline std::string DifferentMembers(const clsInstrument &a, const clsInstrument &b,
                                    std::initializer_list<clsInstrument::M> skip = {})
{
    return MemberDifferences(a, b, [&](clsInstrument::M m, int) {
               return std::find(skip.begin(), skip.end(), m) == skip.end();
           }).join(QStringLiteral("; ")).toStdString();
}
