// The names the log pane gives settings, reads and dumps: the windows' words and numbers,
// then the code and entry as they go on the line.
#include "settingsfiles/SettingLabel.h"
#include "settingsfiles/SettingLines.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace SettingLines;

namespace {
// The words before " (CC key)".
QString NameOf(const QString &label)
{
    const qsizetype at = label.lastIndexOf(QStringLiteral(" ("));
    return at < 0 ? QString() : label.left(at);
}
} // namespace

TEST(SettingLabel, EveryLineOfTheSettingTableHasANameOfItsOwn)
{
    QHash<QString, QSet<QString>> namesOfCode;
    for (const Entry &e : entries()) {
        const QString key = requestKey(e);
        const QString onLine = key.isEmpty() ? e.code : e.code + QLatin1Char(' ') + key;
        const QString label = SettingLabel(e);
        const QString where = label + QStringLiteral(" for ") + onLine;
        ASSERT_TRUE(label.endsWith(QStringLiteral(" (") + onLine + QLatin1Char(')'))) << where.toStdString();
        const QString name = NameOf(label);
        EXPECT_FALSE(name.isEmpty()) << "no name for " << onLine.toStdString();
        if (e.index >= 0) {
            // An entry is named by its own row, never by the name of its whole list.
            EXPECT_NE(name, NameOf(SettingLabel(e.code))) << where.toStdString();
            EXPECT_FALSE(namesOfCode[e.code].contains(name)) << "named twice: " << where.toStdString();
            namesOfCode[e.code].insert(name);
        }
    }
    // The codes the link sends besides the setting lines: reads, commands, dumps.
    for (const char *code : {"SN", "DS", "VP", "VS", "GE", "HA", "H2", "RP", "SI", "SZ", "S1", "HC", "MS", "SO", "DN",
                             "RC", "S2", "BP", "UP", "UD", "UX", "RO", "SB", "MM", "OB", "EP", "EF", "OD"})
        EXPECT_FALSE(NameOf(SettingLabel(QLatin1String(code))).isEmpty()) << code;
}

TEST(SettingLabel, WindowsWordsAndNumbersThenTheCode)
{
    const struct {
        const char *code, *key, *label;
    } cases[] = {
        // Stations and users from 1, the key in hex as on the line.
        {"XS", "52", "Station 82 (XS 52)"},
        {"XS", "01", "Station 1 (XS 01)"},
        {"XS", "80", "Station 128 (XS 80)"},
        {"XZ", "05", "User 5 (XZ 05)"},
        {"XZ", "20", "User 32 (XZ 20)"},
        // The conversion tables by their grid rows: LA 0..29 pre-defined, 30..34 user defined.
        {"LB", "00", "Pre-Defined Conversion 1 names and factor (LB 00)"},
        {"LB", "1D", "Pre-Defined Conversion 30 names and factor (LB 1D)"},
        {"LA", "1D", "Pre-Defined Conversion 30 alarm levels (LA 1D)"},
        {"LA", "1E", "User Defined Conversion 1 alarm levels (LA 1E)"},
        {"LA", "22", "User Defined Conversion 5 alarm levels (LA 22)"},
        {"LO", "0", "User Defined Conversion 1 names and factor (LO 0)"},
        {"LO", "4", "User Defined Conversion 5 names and factor (LO 4)"},
        {"LN", "", "Conversion Available Count (LN)"},
        // PID rows from 1; LJ the High Range, LI the Low.
        {"LS", "10", "PID Sensor 17 names (LS 10)"},
        {"LJ", "00", "PID Sensor 1 High Range (LJ 00)"},
        {"LI", "0A", "PID Sensor 11 Low Range (LI 0A)"},
        // Long names by the rows of the gas-name grids.
        {"G1", "0", "STD1 Long Name (G1 0)"},
        {"G1", "1", "CAT Other Long Name (G1 1)"},
        {"G1", "4", "OPT3 Long Name (G1 4)"},
        {"G1", "5", "TC Other Long Name (G1 5)"},
        // Settings, reads and commands without entries.
        {"XP", "", "Interval Trend Time (XP)"},
        {"AP", "", "ALARM LATCHING (AP)"},
        {"A1", "", "Warning (A1)"},
        {"HC", "", "VANTIK Date/Time (HC)"},
        {"SN", "", "Serial No. (SN)"},
        {"UD", "", "Update as Factory Settings (UD)"},
        // Dumps.
        {"EP", "", "FLASH Dump (EP)"},
        {"EF", "", "FRAM Dump (EF)"},
        {"OD", "2,EFR", "OPT2 FLASH Dump (OD 2,EFR)"},
        {"OD", "1,ESR", "OPT1 DATA Dump (OD 1,ESR)"},
        // Any case; a list as a whole; an entry the list has not; a code nobody knows.
        {"xs", "1d", "Station 29 (XS 1D)"},
        {"XS", "", "Station list (XS)"},
        {"XS", "81", "Station list (XS 81)"},
        {"XS", "00", "Station list (XS 00)"},
        {"LA", "23", "Conversion alarm levels (LA 23)"},
        {"XP", "01", "Interval Trend Time (XP 01)"},
        {"QQ", "01", "QQ 01"},
        {"QQ", "", "QQ"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SettingLabel(QLatin1String(c.code), QLatin1String(c.key)), QLatin1String(c.label))
            << c.code << " " << c.key;
    EXPECT_EQ(SettingLabel(Entry{QStringLiteral("XS"), 81}), QStringLiteral("Station 82 (XS 52)"));
}
