#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include "model/SettingWords.h"
#include <array>

class clsInstrument;

// Rules of the three setting lists of the factory dialog (SET UP, FACTORY SETTINGS, OTHER),
// kept apart from the widgets: what each row shows, which code a shown text stands for,
// which edits are refused, and how the lists are applied to a record. Every row is one
// setting; column 0 holds the caption, column 1 the value text, hidden column 2 the row's
// choices joined with "|" (empty for a free-text row).
namespace FsSetup {

enum List : int { ListSetUp = 0, ListFactory = 1, ListOther = 2 };
constexpr int kLists = 3;
constexpr std::array<int, kLists> kRows = {24, 11, 4};
enum Col : int { ColCaption = 0, ColValue = 1, ColList = 2 };
enum Kind : int { KindText = 0, KindCheck = 1, KindList = 2 };

// Rows referred to by name.
namespace SetUpRow {
enum : int {
    DateFormat = 0, Battery = 1, CatUnits = 2, RelativeResponse = 3, OxyPattern = 4, Latching = 5,
    Silence = 6, UserStationId = 7, Backlight = 8, AutoFreshAir = 9, LogOverwrite = 10, LogMemory = 11,
    Contrast = 12, CalRemainder = 13, CalPastDue = 14, CalInterval = 15, LcBhMode = 16, BhTime = 17,
    Confirmation = 18, PasswordProtection = 19, Password = 20, LunchBreak = 21, SpanFactor = 22,
    Language = 23
};
}
namespace FactoryRow {
enum : int {
    IrAutoRange = 0, LogoDisplay = 1, EditLogo = 2, DemandZero = 3, SpanFactor = 4, MethaneMark = 5,
    SymbolMark = 6, RemainDisplay = 7, ActiveGases = 8, AlarmDisplay = 9, InertSelect = 10
};
}
namespace OtherRow {
enum : int { Manufacture = 0, CatDisplayUnit = 1, LeakBuzzer = 2, MethaneElimination = 3 };
}

constexpr int kWhite = 16777215;
constexpr int kRed = 255;
// Text of the CATALYTIC UNITS choice that leaves the display unit free.
inline QString ChangeOk() { return SettingWords::WordOf(SettingWords::kCatUnits, 3); }

// What one row shows for a record: the arguments of SetComboList.
struct RowFill {
    QString caption;
    int kind = KindText;
    QVariant value;
    QString list;
};
RowFill FillOf(int list, int row, const clsInstrument &rec);
// The logo list: the logo words with codes 1 and 0 swapped, then the user's logo text.
QString LogoChoices(const QString &userLogo);
// The entry of a "|"-list at the position value stands for ("" for a position outside the
// list, or a value that is no whole number).
QString ListEntry(const QString &list, const QVariant &value);
// The value text a fill writes into column 1.
QString ShownText(const RowFill &fill);

// The code a value text stands for (the parsers of the three lists); -1 for a row without
// one. logoText is the EDIT LOGO DISPLAY text (FACTORY SETTINGS row 2).
int ParseCode(int list, int row, const QString &cellText, const QString &logoText);
// Blanks (only blanks) removed at both ends.
QString TrimBlanks(const QString &text);

// True when the row may not be edited: a command group the instrument refuses, or INERT
// SELECT while the OXY alternate range is ticked.
bool EditRefused(int list, int row, const clsInstrument &rec, bool oxyAltRangeChecked);

// Key filter of the typed value: the key to let through (small letters of the manufacture
// number come back as capitals) or 0 to drop it (with a beep). length and selected are
// the editor's text length and the part of it a typed key replaces.
int FilterKey(int list, int row, int key, int length, int selected);

// The decision on a value about to be stored in column col.
struct Verdict {
    bool cancel = false;
    bool rewrite = false;    // the editor's text becomes text (numbers lose leading zeros)
    QString text;
    bool raiseCalLimit = false; // an accepted CAL INTERVAL
};
Verdict CheckValue(int list, int row, int col, const QString &text);

// The CATALYTIC DISPLAY UNIT that a CATALYTIC UNITS choice implies ("" none), and back.
QString DisplayUnitFor(const QString &catUnits);
QString CatUnitsFor(const QString &displayUnit);

// Column-1 texts of the three lists, row by row.
using Cells = std::array<QStringList, kLists>;
// Applies the lists to rec: a member is written only when its row differs from what the
// record shows (an untouched row writes nothing, even one whose code has no entry in its
// list) and the value it stands for differs from the member. Writing the oxygen alarm
// pattern also sets the oxygen channel's points from the reference tables. False, with
// the caption of the row in failedRow, when a row's text cannot be stored (an empty or
// non-numeric number, a value the record refuses); rec may then be partly written.
bool Apply(const Cells &cells, clsInstrument &rec, QString *failedRow);

} // namespace FsSetup
