#pragma once
#include <QString>
#include <QStringList>
#include <span>

// The words of the coded settings, one table per setting, in code order (a code is its
// word's position). The factory dialog's setting lists show them and read them back, and
// the settings history writes them, so a word stands in one place only. Words given by
// message number follow the message table.
namespace SettingWords {

struct Word {
    int msg;                       // message number; 0: text
    const char *text = nullptr;
    const char *history = nullptr; // the settings history's own word, where it has one
};
using Table = std::span<const Word>;

// Off/On switches; the history writes them in capitals.
inline constexpr Word kOffOn[] = {{0, "Off", "OFF"}, {0, "On", "ON"}};
inline constexpr Word kDateFormat[] = {{8074}, {8073}};                       // UWdateDisp
inline constexpr Word kBattery[] = {{0, "ALKALINE"}, {0, "NI-MH"}};           // Battery
inline constexpr Word kCatUnits[] = {{0, "ppm ONLY"}, {0, "%LEL ONLY"}, {0, "vol% ONLY"}, {0, "CHANGE OK"}}; // HcMode
// AlarmO2: the lists show the messages, the history the short patterns.
inline constexpr Word kOxyPattern[] = {{8061, nullptr, "H-L"}, {8063, nullptr, "L-LL"}, {8062, nullptr, "H-HH"}};
inline constexpr Word kLatching[] = {{8006}, {8005}};                         // AlarmMode
inline constexpr Word kCalPastDue[] = {{8014}, {8013}, {8012}};               // CalCheck
inline constexpr Word kLcBhMode[] = {{8029}, {8030}, {8031}, {8032}};         // LBMode
inline constexpr Word kBarHoleTime[] = {{0, "30"}, {0, "45"}, {0, "60"}};     // BarHoleTime, seconds
inline constexpr Word kConfirmation[] = {{8024}, {8025}, {8026}, {8027}};     // Confermation
inline constexpr Word kLanguage[] = {{8019}, {8020}, {8021}, {8022}, {8023}}; // SpecType digit
// LogoDisp 0..3; code 4 shows the record's own logo text (BNuserLogoName).
inline constexpr Word kLogo[] = {{8066}, {8065}, {8067}, {8068}};
inline constexpr Word kCatDisplayUnit[] = {{0, "%LEL"}, {0, "vol%"}, {0, "ppm"}}; // CurrHc
inline constexpr Word kEvMode[] = {{0, "Normal"}, {0, "ME"}};                 // CATOtherEV, LA_volt
// GasType (SensorType) 0..7; an empty slot (SensorType::EmptySlot) is "NONE".
inline constexpr Word kSensorType[] = {{0, "CAT"}, {0, "OXY"}, {0, "TOX"}, {0, "ESM"}, {0, "IR"}, {0, "PID"}, {0, "TC"}, {0, "OTHER"}};

// The word of code ("" outside the table).
QString WordOf(Table t, int code);
// The settings history's word of code ("" outside the table).
QString HistoryWordOf(Table t, int code);
// Every word in code order.
QStringList Words(Table t);
// The code whose word, in capitals, is upperText; otherwise when none is.
int CodeOf(Table t, const QString &upperText, int otherwise);

} // namespace SettingWords
