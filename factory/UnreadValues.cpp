#include "factory/UnreadValues.h"

#include "platform/FlexGrid.h"
#include "settingsfiles/SettingLabel.h"

void TakeGiven(clsInstrument &rec, const RecordValue &v)
{
    if (rec.isUnread(v.member, v.i, v.j))
        rec.setValue(v.member, rec.value(v.member, v.i, v.j), v.i, v.j);
}

GridCell FirstUnreadCell(const clsInstrument &rec, const FlexGrid *g, int entries, int firstCol, int endCol,
                         const std::function<RecordValue(int entry, int col)> &valueOf,
                         const std::function<QString(int entry, int col)> &shown)
{
    for (int e = 0; e < entries; ++e)
        for (int c = firstCol; c < endCol; ++c) {
            const RecordValue v = valueOf(e, c);
            if (rec.isUnread(v.member, v.i, v.j) && g->TextMatrix(e + 1, c) == shown(e, c))
                return {e, c};
        }
    return {};
}

QString UnreadReason(const SettingLines::Entry &line)
{
    return QStringLiteral("The instrument refused to read it: %1.").arg(UnreadAdvice({line}, false));
}
