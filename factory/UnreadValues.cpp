#include "factory/UnreadValues.h"

#include "settingsfiles/SettingLabel.h"

void TakeGiven(clsInstrument &rec, const RecordValue &v)
{
    if (rec.isUnread(v.member, v.i, v.j))
        rec.setValue(v.member, rec.value(v.member, v.i, v.j), v.i, v.j);
}

QString UnreadReason(const SettingLines::Entry &line)
{
    return QStringLiteral("The instrument refused to read it: %1.").arg(UnreadAdvice({line}, false));
}
