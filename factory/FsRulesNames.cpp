#include "factory/FsRulesNames.h"

#include "core/CharChecks.h"
#include "model/clsInstrument.h"

namespace FsNames {

int MaxLength() { return clsInstrument::info(clsInstrument::M::XS_).width; }

int FilterKey(int key, const QString &editText)
{
    int k = key;
    if (!CheckListNameKey(k, true))
        return 0;
    if (k != 8 && editText.size() >= MaxLength())
        return 0;
    return k;
}

bool Acceptable(const QString &name)
{
    return name.size() <= MaxLength() && CheckListNameChars(name, true);
}

bool Refused(const QString &name, const QString &given) { return name != given && !Acceptable(name); }

void ApplyStations(clsInstrument &inst, const QStringList &names)
{
    for (int i = 0; i < kStations && i < names.size(); ++i)
        if (inst.XS_(i) != names.at(i))
            inst.setXS_(i, names.at(i));
}

void ApplyUsers(clsInstrument &inst, const QStringList &names)
{
    for (int i = 0; i < kUsers && i < names.size(); ++i)
        if (inst.XZ_(i) != names.at(i))
            inst.setXZ_(i, names.at(i));
}

} // namespace FsNames
