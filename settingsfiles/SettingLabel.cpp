#include "settingsfiles/SettingLabel.h"

#include <QHash>

namespace {

// One row per name. A row without entries names the code itself (for a list code: the whole
// list). A row with entries names the entries [first, first + count) of a list code, "%1"
// standing for the entry's number as the windows count it: the row number of its grid (the
// station and user lists, the conversion and PID tables all start at 1). A row with a key
// names that one request of a code that is not a setting line.
struct Name {
    const char *code;
    const char *text;
    int first = -1;
    int count = 0;
    const char *key = nullptr;
};

const Name kNames[] = {
    // Station & User
    {"XZ", "User list"},
    {"XZ", "User %1", 0, 32},
    {"XS", "Station list"},
    {"XS", "Station %1", 0, 128},
    {"XV", "Station and User selection"},
    // Conversion Table: entry i of LB and LA is row i + 1 of the Pre-Defined Table; LO entry i
    // and LA entry 30 + i are row i + 1 of the User Defined Table.
    {"LO", "User Defined Conversion Table"},
    {"LO", "User Defined Conversion %1 names and factor", 0, 5},
    {"LN", "Conversion Available Count"},
    {"LB", "Pre-Defined Conversion Table"},
    {"LB", "Pre-Defined Conversion %1 names and factor", 0, 30},
    {"LA", "Conversion alarm levels"},
    {"LA", "Pre-Defined Conversion %1 alarm levels", 0, 30},
    {"LA", "User Defined Conversion %1 alarm levels", 30, 5},
    // PID Sensor: the names are shared by both ranges; LJ carries the High Range, LI the Low.
    {"LS", "PID Sensor names"},
    {"LS", "PID Sensor %1 names", 0, 17},
    {"LI", "PID Sensor (Low Range) Settings"},
    {"LI", "PID Sensor %1 Low Range", 0, 17},
    {"LJ", "PID Sensor (High Range) Settings"},
    {"LJ", "PID Sensor %1 High Range", 0, 17},
    // Gas Name: the long names by the rows of the two gas-name grids.
    {"G1", "Long Names"},
    {"G1", "STD1 Long Name", 0, 1},
    {"G1", "CAT Other Long Name", 1, 1},
    {"G1", "OPT1 Long Name", 2, 1},
    {"G1", "OPT2 Long Name", 3, 1},
    {"G1", "OPT3 Long Name", 4, 1},
    {"G1", "TC Other Long Name", 5, 1},
    {"GN", "Gas Names"},
    {"OC", "CAT Other select"},
    {"FL", "CAT Ratio/TC Full Scale and CAT Factor"},
    {"FH", "CAT EV"},
    // Channel Gas and the main window's gas grid
    {"GP", "Gas decimal places"},
    {"GF", "Gas Full Scale"},
    {"GD", "Gas Digit"},
    {"GU", "Gas Unit"},
    {"GJ", "Gas Name, Full Scale, Digit and Unit"},
    {"UG", "Channel GAS Mapping"},
    {"IT", "Sensor Type"},
    {"A1", "Warning"},
    {"A2", "Alarm"},
    {"AS", "STEL"},
    {"AW", "TWA"},
    {"SA", "Auto Cal."},
    {"UZ", "Zero Follower"},
    {"US", "Zero Suppress"},
    {"LR", "Alternate Ranges"},
    {"FF", "IR AUTO RANGE and the option channels' ranges"},
    {"XP", "Interval Trend Time"},
    // Parameter: SET UP, FACTORY SETTINGS, OTHER, CAT DATA
    {"UW", "SET DATE FORMAT"},
    {"HB", "SET BATTERY TYPE"},
    {"LP", "CATALYTIC UNITS and CATALYTIC DISPLAY UNIT"},
    {"LF", "RELATIVE RESPONSE"},
    {"AT", "OXY ALARM PATTERN"},
    {"AP", "ALARM LATCHING"},
    {"XA", "ALARM SILENCE"},
    {"XI", "USER / STATION ID"},
    {"XT", "BACKLIGHT DELAY"},
    {"SJ", "AUTO FRESH AIR ADJ"},
    {"XW", "DATA LOG OVERWRITE"},
    {"XC", "DATA LOG MEMORY"},
    {"UL", "ADJUST CONTRAST"},
    {"SD", "CAL REMAINDER"},
    {"SM", "CAL PAST DUE ACT"},
    {"SC", "CAL INTERVAL"},
    {"WB", "LC/BH MODE SELECT, BH MEASURING TIME and LEAK BUZZER"},
    {"XB", "CONFIRMATION ALART"},
    {"AL", "PASSWORD PROTECTION"},
    {"AQ", "CHANGE PASSWORD"},
    {"XL", "LUNCH BREAK"},
    {"SG", "DEMAND ZERO and SPAN FACTOR DISPLAY"},
    {"UJ", "SELECT LANGUAGE"},
    {"UV", "VANTIK LOGO DISPLAY"},
    {"BN", "EDIT LOGO DISPLAY"},
    {"XE", "METHANE ELIMINATION MARK DISPLAY and SYMBOL MARK DISPLAY"},
    {"XD", "DATA LOGGING REMAIN DISPLAY"},
    {"UI", "ACTIVE GASES DISPLAY"},
    {"AF", "ALARM DISPLAY"},
    {"IF", "INERT SELECT"},
    {"I1", "Inert 1st"},
    {"I2", "Inert 2nd"},
    {"AC", "CAT ppm and vol 1st and 2nd"},
    {"HH", "EV VALUE"},
    {"HE", "EV D/A"},
    // Read only: identity, readings, clock
    {"SN", "Serial No."},
    {"DS", "Manufacture number"},
    {"VP", "Program Number"},
    {"VS", "SUM"},
    {"GE", "Channels enabled"},
    {"HA", "A/D values ch0 to ch13"},
    {"H2", "A/D values ch14 to ch26"},
    {"RP", "CAT ZERO D/A"},
    {"SI", "ME ZERO and SPAN readings"},
    {"SZ", "Zero calibration and ZERO readings"},
    {"S1", "SPAN readings"},
    {"HC", "VANTIK Date/Time"},
    {"MS", "Instrument message"},
    {"SO", "Last Calibration"},
    {"DN", "Current Reading"},
    {"RC", "Connection check"},
    // Commands
    {"S2", "Span calibration"},
    {"BP", "Pump"},
    {"UP", "Restore Factory Set"},
    {"UD", "Update as Factory Settings"},
    {"UX", "DEFAULT"},
    {"RO", "Power Off"},
    {"SB", "Option board settings"},
    {"MM", "Option board transfer mode"},
    {"OB", "Option board ROM version"},
    // Memory dumps
    {"EP", "FLASH Dump"},
    {"EF", "FRAM Dump"},
    {"OD", "Option board memory dump"},
    {"OD", "OPT1 DATA Dump", -1, 0, "1,ESR"},
    {"OD", "OPT2 DATA Dump", -1, 0, "2,ESR"},
    {"OD", "OPT3 DATA Dump", -1, 0, "3,ESR"},
    {"OD", "OPT1 FLASH Dump", -1, 0, "1,EFR"},
    {"OD", "OPT2 FLASH Dump", -1, 0, "2,EFR"},
    {"OD", "OPT3 FLASH Dump", -1, 0, "3,EFR"},
};

QString lookupKey(const QString &code, const QString &key) { return code + QLatin1Char('|') + key; }

// Every name by code and key as they stand on the line.
const QHash<QString, QString> &names()
{
    static const QHash<QString, QString> map = [] {
        QHash<QString, QString> m;
        for (const Name &n : kNames) {
            const QString code = QLatin1String(n.code);
            const QString text = QLatin1String(n.text);
            if (n.first >= 0) {
                for (int i = n.first; i < n.first + n.count; ++i) {
                    const QString key = SettingLines::requestKey(SettingLines::Entry{code, i});
                    m.insert(lookupKey(code, key), text.contains(QLatin1String("%1")) ? text.arg(i - n.first + 1) : text);
                }
            } else {
                m.insert(lookupKey(code, QLatin1String(n.key)), text);
            }
        }
        return m;
    }();
    return map;
}

QString withCode(const QString &name, const QString &code, const QString &key)
{
    const QString onLine = key.isEmpty() ? code : code + QLatin1Char(' ') + key;
    return name.isEmpty() ? onLine : QStringLiteral("%1 (%2)").arg(name, onLine);
}

} // namespace

QString SettingLabel(const QString &code, const QString &key)
{
    const QString c = code.toUpper();
    const QString k = key.toUpper();
    const QHash<QString, QString> &m = names();
    QString name = m.value(lookupKey(c, k));
    if (name.isEmpty())
        name = m.value(lookupKey(c, QString())); // the list, or the code with a key it has not
    return withCode(name, c, k);
}

QString SettingLabel(const SettingLines::Entry &e) { return SettingLabel(e.code, SettingLines::requestKey(e)); }

namespace {

// Lines whose entries [first, first + count) hold a value of a locked cell. The Detail Settings
// grids lock those cells (FsPid::IsLocked, the pre-defined conversion rows); this side of the
// program cannot reach their rules, so a lock added there belongs here too.
const struct {
    const char *code;
    int first;
    int count;
} kLocked[] = {
    {"LS", 0, 16}, // only the last PID entry's names are typed
    {"LI", 0, 17}, // every PID range holds its Point, Unit and Digit
    {"LJ", 0, 17},
    {"LB", 0, 30}, // the pre-defined conversions: names and factor
    {"LA", 0, 30}, // their Ratio and Volt; LA 30 on are the user conversions' levels
};

bool typable(const SettingLines::Entry &e)
{
    for (const auto &l : kLocked)
        if (e.code == QLatin1String(l.code) && e.index >= l.first && e.index < l.first + l.count)
            return false;
    return true;
}

} // namespace

QString UnreadAdvice(const QVector<SettingLines::Entry> &lines, bool sayWhere)
{
    bool lists = true;
    for (const SettingLines::Entry &e : lines) {
        if (!typable(e))
            return QStringLiteral("download again");
        lists = lists && e.block != SettingLines::Block::Settings;
    }
    const QString them = lines.size() == 1 ? QStringLiteral("it") : QStringLiteral("them");
    return sayWhere && lists ? QStringLiteral("download again, or type %1 in Detail Settings first").arg(them)
                             : QStringLiteral("download again, or type %1 first").arg(them);
}
