#pragma once
#include "model/clsInstrument.h"
#include <QStringList>
#include <algorithm>
#include <initializer_list>
#include <string>

// The members (with their indices and both values) in which two records differ, joined
// by "; ", for "unchanged, member for member" checks; members in skip are not compared.
inline std::string DifferentMembers(const clsInstrument &a, const clsInstrument &b,
                                    std::initializer_list<clsInstrument::M> skip = {})
{
    using M = clsInstrument::M;
    QStringList out;
    for (int k = 0; k < int(M::Count); ++k) {
        const M m = M(k);
        if (std::find(skip.begin(), skip.end(), m) != skip.end())
            continue;
        const clsInstrument::MemberInfo &info = clsInstrument::info(m);
        for (int i = 0; i < info.count1; ++i)
            for (int j = 0; j < info.count2; ++j)
                if (a.value(m, i, j) != b.value(m, i, j))
                    out << QStringLiteral("%1(%2,%3): %4 / %5")
                               .arg(QLatin1String(info.name))
                               .arg(i)
                               .arg(j)
                               .arg(a.value(m, i, j).toString(), b.value(m, i, j).toString());
    }
    return out.join(QStringLiteral("; ")).toStdString();
}
