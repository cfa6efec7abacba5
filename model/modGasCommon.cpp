#include "model/modGasCommon.h"

#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"

#include <QRegularExpression>
#include <cmath>

namespace {

constexpr int32_t kWideBase = 0xD000; // 53248: first code of the wide range
constexpr int32_t kWideLimit = 50000; // largest value written as itself

struct CodeWord {
    int code;
    const char *word;
};
// Status codes with a word of their own; the instrument words are handled beside them.
constexpr CodeWord kCodeWords[] = {
    {int(ReadingCode::NotSet), "-----"}, {int(ReadingCode::Normal), "NORMAL"}, {int(ReadingCode::Warning), "WARNING"},
    {int(ReadingCode::Alarm), "ALARM"},  {int(ReadingCode::Stel), "STEL"},     {int(ReadingCode::Twa), "TWA"},
    {int(ReadingCode::Over), "OVER"},    {int(ReadingCode::Fail), "FAIL"},     {int(ReadingCode::Max), "MAX"},
    {int(ReadingCode::Min), "MIN"},      {int(ReadingCode::Unknown), "?????"}, {int(ReadingCode::NoValue), "*****"},
};

// First three letters of an instrument text and the code they stand for.
constexpr CodeWord kTextCodes[] = {
    {int(ReadingCode::Over), "OVE"}, {int(ReadingCode::Fail), "FAI"},  {int(ReadingCode::Warning), "WAR"},
    {int(ReadingCode::Alarm), "ALR"}, {int(ReadingCode::Stel), "STE"}, {int(ReadingCode::Twa), "TWA"},
    {int(ReadingCode::Max), "MAX"},   {int(ReadingCode::Min), "MIN"},  {int(ReadingCode::Normal), "NOR"},
};

double scaleDown(int Digits) { return std::pow(0.1, Digits); }

void setOk(bool *ok, bool v)
{
    if (ok)
        *ok = v;
}

bool isHexDigits(const QString &t)
{
    static const QRegularExpression re(QStringLiteral("^[0-9A-Fa-f]{1,8}$"));
    return re.match(t).hasMatch();
}

// The special words of a four-digit field, or nullopt.
std::optional<float> wordCode(const QString &t)
{
    const QString u = t.toUpper();
    if (u == QLatin1String("DDDD"))
        return ReadingCode::NoValue;
    if (u == QLatin1String("FFFF"))
        return ReadingCode::NotSet;
    if (u == QLatin1String("FEFE"))
        return ReadingCode::Unknown;
    return std::nullopt;
}

// Hex digits (validated) read as a 32-bit word, decoded and scaled.
float decodeHex(const QString &t, int Digits)
{
    const auto raw = int32_t(t.toUInt(nullptr, 16));
    return float(double(DecodeWide(raw)) * scaleDown(Digits));
}

} // namespace

bool IsReadingCode(float Value)
{
    if (Value == 65535.0f || Value == 65278.0f || Value == 56797.0f)
        return true;
    return Value <= ReadingCode::First && Value >= ReadingCode::Last && Value == std::trunc(Value);
}

QString ReadingWord(float Value)
{
    if (!IsReadingCode(Value))
        return QString();
    if (Value == 65535.0f)
        Value = ReadingCode::NotSet;
    else if (Value == 65278.0f)
        Value = ReadingCode::Unknown;
    else if (Value == 56797.0f)
        Value = ReadingCode::NoValue;
    for (const auto &cw : kCodeWords)
        if (float(cw.code) == Value)
            return QLatin1String(cw.word);
    return QStringLiteral("?????");
}

QString FormatValue(float Value, int Digits)
{
    if (IsReadingCode(Value))
        return ReadingWord(Value);
    return FormatDecimals(Value, (Digits >= 0 && Digits <= 3) ? Digits : 0);
}

QString FormatReading(float Value, int Digits)
{
    if (Value < 0)
        return QStringLiteral("-----");
    return FormatDecimals(Value, (Digits >= 0 && Digits <= 3) ? Digits : 0);
}

QString OverText(const QString &Text, float FullScale)
{
    if (FullScale == ReadingCode::NotSet)
        return QStringLiteral("-----");
    bool ok = false;
    const double v = Text.trimmed().toDouble(&ok);
    if (!ok || (v >= 0 && v <= double(FullScale)))
        return Text;
    return QStringLiteral("OVER");
}

QString DigitFormat(int Digits)
{
    if (Digits == 0)
        return QStringLiteral("#0");
    if (Digits >= 1 && Digits <= 9)
        return QStringLiteral("#0.") + QString(Digits, QLatin1Char('0'));
    return QString();
}

QString GasLabel(const QString &Name, const QString &Unit, float FullScale, int Digits)
{
    const QString trimmed = Name.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String("---"))
        return QStringLiteral("---(---)");
    if (FullScale == -1.0f)
        return Name + QLatin1Char('(') + Unit + QLatin1Char(')');
    return Name + QLatin1Char('(') + FormatPattern(FullScale, DigitFormat(Digits)) + Unit + QLatin1Char(')');
}

namespace {
template <typename Whole>
float RoundToStepIn(float Value, float StepSize, bool *ok, std::optional<Whole> (*toWhole)(double))
{
    setOk(ok, true);
    if (Value < 0)
        return 0.0f;
    if (StepSize == 0.0f || !std::isfinite(StepSize) || !std::isfinite(Value)) {
        setOk(ok, false);
        return 0.0f;
    }
    // Single-precision quotient, as the instrument's own arithmetic does it.
    const float q = Value / StepSize;
    const auto whole = toWhole(double(q));
    if (!whole) {
        setOk(ok, false);
        return 0.0f;
    }
    return float(*whole) * StepSize;
}
} // namespace

float RoundToStep(float Value, float StepSize, bool *ok) { return RoundToStepIn<int16_t>(Value, StepSize, ok, ToInt16); }

float RoundToStepWide(float Value, float StepSize, bool *ok) { return RoundToStepIn<int32_t>(Value, StepSize, ok, ToInt32); }

QString Hex2(int64_t Value)
{
    return QStringLiteral("%1").arg(uint(uint64_t(Value) & 0xFFu), 2, 16, QLatin1Char('0')).toUpper();
}

QString Hex4(int32_t Value)
{
    const uint32_t code = uint32_t(EncodeWide(Value));
    return QStringLiteral("%1").arg(uint(code & 0xFFFFu), 4, 16, QLatin1Char('0')).toUpper();
}

int32_t EncodeWide(int32_t Value)
{
    if (Value <= kWideLimit)
        return Value;
    return int32_t(RoundHalfEven((double(Value) - kWideLimit) / 100.0)) + kWideBase;
}

int64_t DecodeWide(int64_t Code)
{
    if (Code < kWideBase)
        return Code;
    // The encoder puts 50001..50050 on the base code; 50000 itself has its own code (C350).
    if (Code == kWideBase)
        return kWideLimit + 1;
    return (Code - kWideBase) * 100 + kWideLimit;
}

QString ValueToHex(float Value, int Digits, bool *ok)
{
    setOk(ok, true);
    if (Value == ReadingCode::NoValue)
        return QStringLiteral("DDDD");
    if (Value == ReadingCode::NotSet)
        return QStringLiteral("FFFF");
    if (Value == ReadingCode::Unknown)
        return QStringLiteral("FEFE");
    if (Value < 0)
        return QStringLiteral("0000");
    const auto scaled = ToInt32(double(Value) / scaleDown(Digits));
    if (!scaled) {
        setOk(ok, false);
        return QString();
    }
    return Hex4(*scaled);
}

float HexToValue(const QString &Hex, int Digits, bool *ok)
{
    const QString t = Hex.trimmed();
    if (const auto w = wordCode(t)) {
        setOk(ok, true);
        return *w;
    }
    if (!isHexDigits(t)) {
        setOk(ok, false);
        return 0.0f;
    }
    setOk(ok, true);
    return decodeHex(t, Digits);
}

float TextToValue(const QString &Text, int Digits, bool *ok)
{
    const QString t = Text.trimmed();
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        const QString digits = t.mid(2);
        if (const auto w = wordCode(digits)) {
            setOk(ok, true);
            return *w;
        }
        if (!isHexDigits(digits)) {
            setOk(ok, false);
            return 0.0f;
        }
        setOk(ok, true);
        return decodeHex(digits, Digits);
    }
    bool numeric = false;
    const double v = t.toDouble(&numeric);
    if (numeric) {
        setOk(ok, true);
        if (v == std::trunc(v) && std::fabs(v) < 2147483648.0)
            return float(double(DecodeWide(int64_t(v))) * scaleDown(Digits));
        return float(v * scaleDown(Digits));
    }
    const QString head = t.left(3);
    for (const auto &tc : kTextCodes) {
        if (head == QLatin1String(tc.word)) {
            setOk(ok, true);
            return float(tc.code);
        }
    }
    setOk(ok, false);
    return 0.0f;
}

int16_t UnitCode(const QString &Unit)
{
    if (Unit == QLatin1String("vol%") || Unit == QLatin1String("VOL%"))
        return 0;
    if (Unit == QLatin1String("%LEL"))
        return 1;
    if (Unit == QLatin1String("ppm"))
        return 2;
    if (Unit == QLatin1String("ppb"))
        return 3;
    return 0;
}

QString UnitName(int Code)
{
    switch (Code) {
    case 0: return QStringLiteral("vol%");
    case 1: return QStringLiteral("%LEL");
    case 2: return QStringLiteral("ppm");
    case 3: return QStringLiteral("ppb");
    default: return QString();
    }
}

namespace {
constexpr int kIntervals[] = {5, 10, 20, 30, 60, 180, 300, 600};
}

int16_t IntervalToIndex(int Seconds)
{
    for (int16_t k = 1; k < int16_t(std::size(kIntervals)); ++k)
        if (kIntervals[k] == Seconds)
            return k;
    return 0;
}

int16_t IntervalToCode(int Seconds) { return IntervalToIndex(Seconds); }

int IndexToInterval(int Code)
{
    if (Code >= 0 && Code < int(std::size(kIntervals)))
        return kIntervals[Code];
    return 300;
}

bool PointReached(const clsInstrument &Inst, int Channel, float Value)
{
    const float w = Inst.Warning(Channel);
    if (Inst.GasName(Channel) != QLatin1String("OXY"))
        return Inst.GasType(Channel) == SensorType::Pid || w < 0 || Value >= w;
    return Value <= w || w < 0 || Value == 0;
}

bool PointReached(int Channel, float Value) { return PointReached(gInstrument(), Channel, Value); }

void SetCatTable(int16_t Version)
{
    // Catalytic gases the firmware knows; firmware 4770 and later adds the sixth.
    gCatName = QStringLiteral("CH4|H2|PRO|IBU|HEX");
    gCatLongName = QStringLiteral("METHANE|HYDROGEN|PROPANE|ISOBUTANE|HEXANE");
    gCatRatio = QStringLiteral("50000|40000|21000|18000|11000");
    gCatDigit = QStringLiteral("1|1|1|1|1");
    if (Version >= 4770) {
        gCatName += QStringLiteral("|PEN");
        gCatLongName += QStringLiteral("|PENTANE");
        gCatRatio += QStringLiteral("|14000");
        gCatDigit += QStringLiteral("|1");
    }
}

void SetCatPpmCh(clsInstrument &Inst)
{
    clsInstrument::DeviceDoor door(Inst);
    const QString name = Inst.GasName(0);
    const double ratio = Inst.FL_(0);                       // ppm at 100 %LEL
    const double fullPpm = ratio * Inst.GasFullScale(0) / 100.0; // ppm at channel 0's full scale

    Inst.setGasName(7, name);
    Inst.setGasUnit(7, QStringLiteral("ppm"));
    Inst.setGasPoint(7, kCatPpmPoint);
    Inst.setGasDesit(7, 1.0f);
    Inst.setGasFullScale(7, float(fullPpm));
    Inst.setGasEnabled(7, Inst.GasEnabled(0));
    Inst.setWarning(7, float(Inst.CATppm1st()));
    Inst.setAlarm(7, float(Inst.CATppm2nd()));

    Inst.setGasName(8, name);
    Inst.setGasUnit(8, QStringLiteral("vol%"));
    Inst.setGasPoint(8, kCatVolPoint);
    Inst.setGasDesit(8, ratio >= 25000 ? 0.05f : 0.01f);
    Inst.setGasFullScale(8, float(fullPpm / 10000.0));
    Inst.setGasEnabled(8, Inst.GasEnabled(0));
    Inst.setWarning(8, Inst.CATvol1st());
    Inst.setAlarm(8, Inst.CATvol2nd());
}

void SetCatVolCh(clsInstrument &Inst)
{
    clsInstrument::DeviceDoor door(Inst);
    Inst.setGasName(9, Inst.GasName(1));
    Inst.setGasFullScale(9, 40.0f);
    Inst.setGasDesit(9, 0.1f);
    Inst.setGasPoint(9, kInertPoint);
    Inst.setGasUnit(9, QStringLiteral("vol%"));
    Inst.setGasEnabled(9, Inst.GasEnabled(1));
    Inst.setWarning(9, Inst.Inert1st());
    Inst.setAlarm(9, Inst.Inert2nd());
}
