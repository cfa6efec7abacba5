#pragma once
#include "model/Rounding.h"
#include <QString>
#include <cstdint>

class clsInstrument;

// Value codes of the instrument: reading and status codes, instrument words, units,
// logging intervals and the derived catalytic channels.
//
// Functions that can fail take an optional `bool *ok` (as QString::toInt does): on failure
// *ok becomes false and the result is 0 / "" ; nothing throws and nothing wraps silently.

// Reading and status codes: a single-precision value; whole values from -180 to -101
// stand for states shown as words.
namespace ReadingCode {
constexpr float NotSet = -101.0f;  // "-----", also the instrument word FFFF
constexpr float Normal = -102.0f;  // "NORMAL"
constexpr float Warning = -103.0f; // "WARNING"
constexpr float Alarm = -104.0f;   // "ALARM"
constexpr float Stel = -105.0f;    // "STEL"
constexpr float Twa = -106.0f;     // "TWA"
constexpr float Over = -107.0f;    // "OVER"
constexpr float Fail = -110.0f;    // "FAIL"
constexpr float Max = -115.0f;     // "MAX"
constexpr float Min = -116.0f;     // "MIN"
constexpr float Unknown = -118.0f; // "?????", also the instrument word FEFE
constexpr float NoValue = -121.0f; // "*****" (point not used), also the instrument word DDDD
constexpr float First = -101.0f;   // the code range, inclusive
constexpr float Last = -180.0f;
} // namespace ReadingCode

// Sensor type codes of a gas channel (clsInstrument::GasType).
namespace SensorType {
constexpr int16_t Catalytic = 0;           // "CAT"
constexpr int16_t Oxygen = 1;              // "OXY"
constexpr int16_t Toxic = 2;               // "TOX"
constexpr int16_t Esm = 3;                 // "ESM"
constexpr int16_t Infrared = 4;            // "IR"
constexpr int16_t Pid = 5;                 // "PID"
constexpr int16_t ThermalConductivity = 6; // "TC"
constexpr int16_t Other = 7;               // "OTHER"
constexpr int16_t EmptySlot = 16;          // "NONE": no option board in the slot
} // namespace SensorType

// True for a whole value in -180..-101 and for the raw instrument words 65535, 65278, 56797.
bool IsReadingCode(float Value);
// The word of a code: "-----", "NORMAL", ... ; a code of the range without a word of its
// own gives "?????" (an instrument state we cannot name). "" when Value is no code.
QString ReadingWord(float Value);

// The word of a code (see ReadingWord), otherwise Value with Digits decimal places
// ("#0", "#0.0", "#0.00", "#0.000" for 0..3, "#0" for any other Digits).
QString FormatValue(float Value, int Digits);
// "-----" for a negative Value, otherwise Value with Digits decimals as FormatValue.
QString FormatReading(float Value, int Digits);
// "-----" when FullScale is -101; Text unchanged when it is not numeric or its value lies in
// 0..FullScale; otherwise "OVER".
QString OverText(const QString &Text, float FullScale);
// "#0" for 0, "#0.0" for 1, ... up to nine places; "" for any other Digits.
QString DigitFormat(int Digits);
// "OXY(25.0vol%)": Name (untrimmed), "(", FullScale with DigitFormat(Digits), Unit, ")";
// Name "(" Unit ")" when FullScale is -1; "---(---)" when the trimmed Name is "" or "---".
QString GasLabel(const QString &Name, const QString &Unit, float FullScale, int Digits);

// 0 for a negative Value; otherwise Value / StepSize rounded half to even to a 16-bit
// whole number, times StepSize. A step of 0 (or not finite) or a quotient outside 16 bits
// is refused: *ok = false, result 0.
float RoundToStep(float Value, float StepSize, bool *ok = nullptr);
// The same with a 32-bit quotient: the one rule of the gas values typed in the main window's
// grid and the calibration window, where a ppm full scale of 50000 in steps of 1 must be reachable.
float RoundToStepWide(float Value, float StepSize, bool *ok = nullptr);

// Two upper-case hex digits, zero-padded; of a longer or negative value the low byte
// (so -1 gives "FF", 0x1234 gives "34").
QString Hex2(int64_t Value);
// Four upper-case hex digits of EncodeWide(Value); of a longer or negative value the low 16
// bits (50000 "C350", 50001 "D000", 60000 "D064", -101 "FF9B").
QString Hex4(int32_t Value);
// The instrument's wide word: Value up to 50000 unchanged; above, (Value - 50000) / 100
// + 53248 (0xD000) rounded half to even, so 50001..50050 give D000, 50100 D001.
int32_t EncodeWide(int32_t Value);
// Inverse of EncodeWide for every code it produces: codes below 0xD000 unchanged; 0xD000
// gives 50001 (the encoder puts 50001..50050 there, and 50001 encodes back to D000); from
// 0xD001 on (Code - 53248) x 100 + 50000. 64-bit so that no code overflows; a setter of
// a 32-bit member refuses a result that does not fit.
int64_t DecodeWide(int64_t Code);

// Instrument word of a value with Digits decimal places: for Value >= 0, Hex4 of
// Value / 0.1^Digits rounded half to even; -121 "DDDD", -101 "FFFF", -118 "FEFE", any
// other negative Value "0000". A scaled value outside 32 bits: *ok = false, "".
QString ValueToHex(float Value, int Digits, bool *ok = nullptr);
// "DDDD" -121, "FFFF" -101, "FEFE" -118 (any case); otherwise DecodeWide of the hex text
// (up to 8 digits, read as 32-bit) times 0.1^Digits. Text that is not hexadecimal
// (empty included): *ok = false, result 0.
float HexToValue(const QString &Hex, int Digits, bool *ok = nullptr);
// "&H" followed by hex digits: "&HDDDD" -121, "&HFEFE" -118, "&HFFFF" -101, otherwise as
// HexToValue. A decimal number: DecodeWide of it times 0.1^Digits (a fraction is only
// scaled). Other text by its first three letters: "OVE" -107, "FAI" -110, "WAR" -103,
// "ALR" -104, "STE" -105, "TWA" -106, "MAX" -115, "MIN" -116, "NOR" -102. Anything else
// (or "&H" with bad digits): *ok = false, result 0.
float TextToValue(const QString &Text, int Digits, bool *ok = nullptr);

// "vol%" or "VOL%" 0, "%LEL" 1, "ppm" 2, "ppb" 3, any other text 0 (exact comparison).
int16_t UnitCode(const QString &Unit);
// 0 "vol%", 1 "%LEL", 2 "ppm", 3 "ppb"; "" for any other code.
QString UnitName(int Code);

// Logging interval: seconds 10, 20, 30, 60, 180, 300, 600 give 1..7, anything else 0
// (5 seconds included). The two names are the same function.
int16_t IntervalToIndex(int Seconds);
int16_t IntervalToCode(int Seconds);
// Code 0..7 to seconds: 5, 10, 20, 30, 60, 180, 300, 600; any other code 300.
int IndexToInterval(int Code);

// Whether Value is acceptable as the auto-calibration value of Channel of gInstrument
// (or of Inst). Not "OXY": GasType 5, Warning < 0 or Value >= Warning. "OXY" (exactly):
// Value <= Warning, Warning < 0 or Value = 0.
bool PointReached(int Channel, float Value);
bool PointReached(const clsInstrument &Inst, int Channel, float Value);

// Sets gCatName, gCatLongName, gCatRatio, gCatDigit (model/ModelGlobals.h) to the catalytic
// gases of the firmware: five entries when Version < 4770, else six.
void SetCatTable(int16_t Version);

// Decimal places of the derived channels: they scale the CAT ppm points (7), the CAT vol%
// points (8) and the inert points (9) on both the writing and the reading side.
constexpr int16_t kCatPpmPoint = 0;
constexpr int16_t kCatVolPoint = 2;
constexpr int16_t kInertPoint = 1;

// Fills the derived channels 7 (ppm range) and 8 (vol% range) of Inst from its
// combustible channel 0 and FL_(0) (ppm at 100 %LEL): name, unit, full scale, step,
// decimal places (kCatPpmPoint, kCatVolPoint), enabled, and the CATppm / CATvol points as
// Warning/Alarm. Writes through the device door: raises no Change_ flag.
void SetCatPpmCh(clsInstrument &Inst);
// Fills channel 9 as the vol% range of channel 1: GasName(1), full scale 40, step 0.1,
// kInertPoint decimals, "vol%", GasEnabled(1), Warning = Inert1st, Alarm = Inert2nd.
// Device door as above.
void SetCatVolCh(clsInstrument &Inst);
