#pragma once
#include "settingsfiles/SettingLines.h"
#include <QString>

// A setting, read or command as the technician knows it: the name the windows give it
// (the main window, the settings history, the Detail Settings tabs, the calibration window),
// entries numbered as the windows number them (in decimal, from 1), then the code and entry
// number as they go on the line, for the service desk:
//
//   SettingLabel("XS", "52")  -> "Station 82 (XS 52)"
//   SettingLabel("XZ", "05")  -> "User 5 (XZ 05)"
//   SettingLabel("LA", "22")  -> "User Defined Conversion 5 alarm levels (LA 22)"
//   SettingLabel("XP", "")    -> "Interval Trend Time (XP)"
//   SettingLabel("EP", "")    -> "FLASH Dump (EP)"
//   SettingLabel("XS", "")    -> "Station list (XS)"      (a list named as a whole)
//   SettingLabel("XS", "81")  -> "Station list (XS 81)"   (an entry the list has not)
//   SettingLabel("QQ", "01")  -> "QQ 01"                  (a code this program does not know)
//
// key is the entry field of the request as it stands on the line ("52" for XS entry 82,
// "0" for G1 entry 0, "1,ESR" for an option-board dump); empty for codes without entries.
// Code and key are taken in any case. For a line's own words in the log pane:
// "<label>: <why>" or "<label> refused".
QString SettingLabel(const QString &code, const QString &key = QString());

// The same for one line of the setting codec: SettingLabel(e.code, requestKey(e)).
QString SettingLabel(const SettingLines::Entry &e);

// What the technician can do about lines a download could not read: download again, and,
// where the windows let every value of them be typed, type them. The cells the windows lock
// (the names of the first sixteen PID entries, the PID ranges' Point, Unit and Digit, the
// pre-defined conversions' Name, Long Name, Factor, Ratio and Volt) only a download or a
// file gives: a line holding one leaves only the download. The lists are typed in Detail
// Settings alone, which sayWhere says (a window other than Detail Settings asks; the lines
// carry their blocks, as fileOrder() gives them):
//   "download again"
//   "download again, or type it first"
//   "download again, or type them in Detail Settings first"
QString UnreadAdvice(const QVector<SettingLines::Entry> &lines, bool sayWhere);
