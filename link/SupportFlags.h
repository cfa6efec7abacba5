#pragma once
#include "model/clsInstrument.h"
#include "settingsfiles/SettingLines.h"
#include <QString>
#include <QStringList>
#include <QVector>

// Which command groups a download finds unsupported. A group with a support flag (the LA rows,
// the PID ranges, the long names, IF/I1/I2, a one-line group such as WB) counts as refused as a
// whole only when no entry of it answered in this download: one refused entry of a group whose
// other entries answer says nothing about the group, only that this line could not be read.
// So the decision waits for the end of the walk over the setting lines.
class GroupSupport
{
public:
    struct Missed {
        const SettingLines::Entry *entry; // an element of SettingLines::entries()
        QString why;                      // for the log pane: "the instrument refused to read it"
    };
    struct Settled {
        QVector<Missed> unread; // in read order; their values are marked unread in the record
        QStringList refused;    // the groups taken as not supported, by their codes ("LA", "IF, I1, I2")
    };

    // A line whose read gave no value: refused, or (in a group with a support flag) answered in a
    // form the codec does not take. A line no flag covers is unread at once (a later line
    // carrying the same values may still read them); a flagged one waits for settle().
    void missed(clsInstrument &inst, const SettingLines::Entry &e, const QString &why);
    void answered(const SettingLines::Entry &e);

    // Raises the flag of every group of which an entry was missed and none answered. The missed
    // entries of a group that answered are unread, unless the codec took the group for an older
    // instrument's (a short answer raised its flag): the upload skips that group anyway.
    Settled settle(clsInstrument &inst) const;

private:
    QVector<Missed> m_missed;
    QVector<clsInstrument::M> m_answered;
};
