#include "factory/FsRulesGasNames.h"

#include "core/CharChecks.h"
#include "core/modMain.h"
#include "factory/FsRulesConversion.h"
#include "factory/FsRulesPID.h"
#include "model/Rounding.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"

namespace FsGasNames {

namespace {

using FsPid::kLongNameLength;
using FsPid::kNameLength;
const QString kDash = QStringLiteral("-----");

CellEdit decided(bool ok, const QString &text)
{
    CellEdit r;
    r.accept = ok;
    r.text = text;
    r.paint = true;
    return r;
}

bool nameOk(const QString &t) { return t.size() <= kNameLength && CheckListNameChars(t, false); }
bool longNameOk(const QString &t) { return t.size() <= kLongNameLength && CheckListNameChars(t, true); }

QStringList entries(const QString &list)
{
    QStringList out = list.split(QLatin1Char('|'));
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast(); // an empty remainder after the last "|" is no entry
    return out;
}

QString at(const Texts &t, int r, int c) { return r < t.size() && c < t.at(r).size() ? t.at(r).at(c) : QString(); }

// A program list with the other gas's cell as its last entry, kept whole: the cell came
// from the instrument or a file and may hold "|".
QStringList withOther(const QString &list, const Texts &other, int r, int c)
{
    QStringList out = entries(list);
    out << at(other, r, c);
    return out;
}

// Alarm points and span value of a thermal-conductivity channel follow its name and scale.
void rederive(clsInstrument &inst, int i, float fullScale)
{
    inst.setWarning(i, ReadingCode::NoValue);
    inst.setAlarm(i, ReadingCode::NoValue);
    inst.setStel(i, ReadingCode::NoValue);
    inst.setTwa(i, ReadingCode::NoValue);
    inst.setAutoCalib(i, 0);
    inst.setGasFullScale(i, fullScale);
    const QString n = inst.GasName(i).trimmed();
    const float fs = inst.GasFullScale(i);
    if (n == QLatin1String("H2") && fs == 10.0f) {
        inst.setWarning(i, 1);
        inst.setAlarm(i, 5);
        inst.setAutoCalib(i, 4);
    } else if (n == QLatin1String("H2")) {
        inst.setAutoCalib(i, 100);
    } else if (n == QLatin1String("CH4")) {
        inst.setAutoCalib(i, 50);
    } else {
        inst.setAutoCalib(i, fs);
    }
}

// An alarm point that is a state, not a number ("not set", "no value"): the CAT points
// derived from it take the same state.
bool isState(float point) { return point == ReadingCode::NotSet || point == ReadingCode::NoValue; }

// The CAT ppm point of an alarm point of channel 0 at ratio f (ppm at 100 %LEL); nothing
// when it does not fit its field.
std::optional<qint64> catPpm(float point, double f, const QString &ratioText)
{
    if (isState(point))
        return qint64(point);
    const auto p = ToInt32(f * double(point) / 100.0);
    if (!p)
        return std::nullopt;
    qint64 v = *p;
    double ratio = 0;
    if (f < double(v) && FsConv::ParseNumber(ratioText, &ratio)) {
        const auto r = ToInt32(ratio);
        if (!r)
            return std::nullopt;
        v = *r;
    }
    if (v > 50000)
        v = 50000;
    if (v < 0)
        return std::nullopt;
    return v;
}

// The CAT vol% point: in hundredths, to fives from a ratio of 25000 up; the whole number
// is a 16-bit one, so a point whose hundredths do not fit is refused, never left unrounded.
std::optional<float> catVol(float point, double f)
{
    if (isState(point))
        return point;
    const double v = f * double(point) / 10000.0;
    const auto whole = f >= 25000 ? ToInt16(v / 5) : ToInt16(v);
    if (!whole || *whole < 0)
        return std::nullopt;
    return f >= 25000 ? float(*whole * 5) / 100.0f : float(*whole) / 100.0f;
}

// Compare-then-write of a Long member from a number, compared after rounding so that a
// text the grid shows for the member ("60.0" for 600 tenths) never counts as a change.
void longFrom(clsInstrument &inst, int i, const QString &text, double scale)
{
    double v = 0;
    if (!FsConv::ParseNumber(text, &v))
        return;
    const auto target = ToInt32(v * scale);
    if (target && *target != inst.FL_(i))
        inst.setFL_(i, *target);
}

} // namespace

Fill FillTexts(const clsInstrument &inst)
{
    Fill f;
    f.names = Texts(kNameRows, QStringList(QVector<QString>(kNameCols)));
    f.namesGrey = QVector<QVector<bool>>(kNameRows, QVector<bool>(kNameCols, false));
    f.other = Texts(kOtherRows, QStringList(QVector<QString>(kOtherCols)));
    f.otherGrey = QVector<QVector<bool>>(kOtherRows, QVector<bool>(kOtherCols, false));

    f.names[0] = QStringList{QString(), QStringLiteral("Name"), QStringLiteral("Long Name"),
                             QStringLiteral("CAT Ratio/TC Full Scale")};
    static const char *const captions[] = {"STD1", "STD2", "STD3", "STD4", "OPT1", "OPT2", "OPT3"};
    static const char *const fixed[] = {"OXY", "H2S", "CO "};
    for (int r = 1; r < kNameRows; ++r) {
        const int ch = r - 1;
        QStringList &row = f.names[r];
        row[ColCaption] = QLatin1String(captions[ch]);
        if (r >= 2 && r <= 4) {
            row[ColName] = QLatin1String(fixed[r - 2]);
            row[ColLongName] = kDash;
            f.namesGrey[r][ColName] = f.namesGrey[r][ColLongName] = true;
        } else {
            row[ColName] = inst.GasName(ch);
            row[ColLongName] = inst.G1_(r == 1 ? 0 : r - 3);
        }
        if (r == 1) {
            row[ColScale] = QString::number(inst.FL_(0));
        } else if (inst.GasType(ch) == kThermal) {
            row[ColScale] = FormatPattern(inst.GasFullScale(ch), DigitFormat(inst.GasPoint(ch)));
        } else {
            row[ColScale] = kDash;
            f.namesGrey[r][ColScale] = true;
        }
    }

    f.other[0] = QStringList{QString(), QStringLiteral("Name"), QStringLiteral("Long Name"),
                             QStringLiteral("CAT Ratio/TC Full Scale"), QStringLiteral("CAT Factor"),
                             QStringLiteral("CAT EV")};
    f.other[kCatRow] = QStringList{QStringLiteral("CAT"), inst.CATOther(), inst.G1_(1), QString::number(inst.FL_(1)),
                                   FormatDecimals(double(inst.FL_(3)) / 100.0, 2),
                                   inst.CATOtherEV() == 1 ? FsConv::kVoltME : FsConv::kVoltNormal};
    f.other[kTcRow] = QStringList{QStringLiteral("TC "), inst.TCOther(), inst.G1_(5),
                                  FormatDecimals(double(inst.FL_(2)) * 0.1, 1), QString(), QString()};
    f.otherGrey[kTcRow][ColFactor] = f.otherGrey[kTcRow][ColEV] = true;
    return f;
}

CellEdit ValidateName(int row, int col, int gasType, const QString &text)
{
    Q_UNUSED(row);
    const QString t = gasType == kThermal ? text.left(kNameLength) : text;
    if (t.isEmpty()) {
        if (col == ColScale)
            return decided(false, t);
        CellEdit pass;
        pass.accept = true;
        return pass; // keeps its colour
    }
    switch (col) {
    case ColName:
        return decided(nameOk(t), t);
    case ColLongName:
        return decided(longNameOk(t), t);
    case ColScale: {
        double v = 0;
        const bool ok = t.size() <= 5 && FsConv::ParseNumber(t, &v) && RoundHalfEven(v) >= 0 && RoundHalfEven(v) <= 50000;
        return decided(ok, t);
    }
    default:
        return decided(false, t);
    }
}

CellEdit ValidateOther(int row, int col, const QString &text)
{
    double v = 0;
    switch (col) {
    case ColName:
        return decided(nameOk(text), text);
    case ColLongName:
        return decided(longNameOk(text), text);
    case ColScale:
        if (text.size() >= 7 || !FsConv::ParseNumber(text, &v))
            return decided(false, text);
        if (row == kCatRow) {
            const double whole = RoundHalfEven(v);
            if (whole < 10000 || whole >= 150001)
                return decided(false, text);
            const double step = whole >= 50000 ? 10000 : 1000;
            return decided(true, QString::number(RoundHalfEven(whole / step) * step, 'f', 0));
        }
        if (v < 10 || v > 100)
            return decided(false, text);
        return decided(true, FormatDecimals(RoundHalfEven(v / 10) * 10, 1));
    case ColFactor:
        if (!FsConv::ParseNumber(text, &v) || v < 0 || v > 25)
            return decided(false, text);
        return decided(true, FormatDecimals(v, 2));
    case ColEV:
        return decided(true, text);
    default:
        return decided(false, text);
    }
}

bool NameCellAcceptable(bool other, int row, int col, int gasType, const QString &text)
{
    if (col != ColName && col != ColLongName)
        return true;
    const CellEdit e = other ? ValidateOther(row, col, text) : ValidateName(row, col, gasType, text);
    return e.accept && (!e.paint || e.text == text);
}

bool NameCellRefused(bool other, int row, int col, int gasType, const QString &text, const QString &given)
{
    return text != given && !NameCellAcceptable(other, row, col, gasType, text);
}

CellEdit KeptAsGiven(CellEdit e, int col, const QString &text, const QString &given)
{
    if ((col == ColName || col == ColLongName) && text == given)
        return {true, text, true};
    return e;
}

int FilterOtherKey(int col, int key, int textLength)
{
    if (col != ColName && col != ColLongName)
        return key;
    int k = key;
    if (!CheckListNameKey(k, col != ColName))
        return 0;
    return FsPid::FilterTextKey(col == ColName, key, textLength);
}

QString ListEntry(const QString &list, int k)
{
    const QStringList e = entries(list);
    return k >= 0 && k < e.size() ? e.at(k) : QString();
}

Companions CompanionsFor(int t, int k, const Texts &other, const QStringList &pidLongNames)
{
    Companions c;
    if (t == kThermal && k >= 0) {
        c.longName = withOther(gTcLongName, other, kTcRow, ColLongName).value(k);
        double step = 0;
        if (FsConv::ParseNumber(ListEntry(gTcDigit, k), &step))
            c.desit = float(step);
        const QString scale = withOther(gTcFullScale, other, kTcRow, ColScale).value(k);
        if (!scale.isEmpty())
            c.scale = scale;
    } else if (t == kPid && k >= 0) {
        if (k < pidLongNames.size())
            c.longName = pidLongNames.at(k);
    } else if (t == kCatalytic) {
        // A typed name is not the catalytic other gas; its companions stay as they are.
        c.catOtherSelect = k >= 0 && k == entries(gCatName).size() ? 1 : 0;
        if (k >= 0) {
            c.longName = withOther(gCatLongName, other, kCatRow, ColLongName).value(k);
            const QString ratio = withOther(gCatRatio, other, kCatRow, ColScale).value(k);
            if (!ratio.isEmpty())
                c.scale = ratio;
        }
    }
    // The copy is a new value of the channel's long name: the rule of a typed one holds.
    c.longNameRefused = c.longName && !longNameOk(*c.longName);
    return c;
}

std::optional<QStringList> BeforeName(int row, int col, int t, bool grey, bool invalidGN, const Texts &other,
                                      const QStringList &pidNames)
{
    if ((invalidGN && col == ColName) || grey || row <= 0 || col <= 0 || row >= kNameRows || col >= kNameCols)
        return std::nullopt;
    if ((t == kCatalytic || t == kPid || t == kThermal) && col != ColName)
        return std::nullopt;
    if (col != ColName)
        return t == kEmptySlot ? std::nullopt : std::optional<QStringList>(QStringList());
    if (row == kCatRow)
        return withOther(gCatName, other, kCatRow, ColName);
    if (t == kPid)
        return pidNames;
    if (t == kThermal)
        return withOther(gTcName, other, kTcRow, ColName);
    return std::nullopt;
}

std::optional<QString> BeforeOther(int row, int col, bool grey, const clsInstrument &inst)
{
    if (grey || row <= 0 || col <= 0 || row >= kOtherRows || col >= kOtherCols)
        return std::nullopt;
    if ((inst.invalidFL_() && (col == ColScale || col == ColFactor)) || (inst.invalidGN() && col == ColName)
        || (inst.invalidG1() && row == kTcRow && col == ColLongName))
        return std::nullopt;
    return col == ColEV ? QStringLiteral("ME|Normal") : QString();
}

void ApplyChannelNames(clsInstrument &inst, const Texts &names, const Fill &shown)
{
    // Channels 1..3 show fixed names in grey cells nobody edits: writing them would flag
    // (and after a partial maintenance-data load, send) names nobody changed. A cell still
    // showing what the fill showed writes nothing, whatever the record holds behind it.
    for (int i : {0, 4, 5, 6}) {
        const int r = i + 1;
        const QString text = at(names, r, ColName);
        const bool nameEdited = text != at(shown.names, r, ColName);
        const QString scaleText = at(names, r, ColScale);
        double fs = 0;
        const bool scaleEdited = scaleText != at(shown.names, r, ColScale) && FsConv::ParseNumber(scaleText, &fs);
        if (nameEdited && inst.GasName(i) != text) {
            inst.setGasName(i, text);
            if (inst.GasType(i) == kThermal)
                rederive(inst, i, scaleEdited ? float(fs) : inst.GasFullScale(i));
        } else if (inst.GasType(i) == kThermal && scaleEdited && float(fs) != inst.GasFullScale(i)) {
            rederive(inst, i, float(fs));
        }
    }
}

std::optional<CatPoints> Channel0CatPoints(const clsInstrument &inst, const QString &ratioText)
{
    double f = 0;
    if (!FsConv::ParseNumber(ratioText, &f))
        return std::nullopt;
    // A point not in use (no value) is left as it is, so only the others must fit.
    const float unused = ReadingCode::NoValue;
    CatPoints p{inst.CATppm1st(), inst.CATppm2nd(), inst.CATvol1st(), inst.CATvol2nd()};
    if (p.ppm1st != qint64(unused)) {
        const auto v = catPpm(inst.Warning(0), f, ratioText);
        if (!v)
            return std::nullopt;
        p.ppm1st = *v;
    }
    if (p.ppm2nd != qint64(unused)) {
        const auto v = catPpm(inst.Alarm(0), f, ratioText);
        if (!v)
            return std::nullopt;
        p.ppm2nd = *v;
    }
    if (p.vol1st != unused) {
        const auto v = catVol(inst.Warning(0), f);
        if (!v)
            return std::nullopt;
        p.vol1st = *v;
    }
    if (p.vol2nd != unused) {
        const auto v = catVol(inst.Alarm(0), f);
        if (!v)
            return std::nullopt;
        p.vol2nd = *v;
    }
    return p;
}

bool Channel0Renamed(const clsInstrument &inst, const QString &name, const Fill &shown)
{
    return name != at(shown.names, kCatRow, ColName) && inst.GasName(7) != name;
}

bool ApplyChannel0Mirror(clsInstrument &inst, const Texts &names, const Fill &shown)
{
    const QString t = at(names, kCatRow, ColName);
    if (!Channel0Renamed(inst, t, shown))
        return true;
    const QString ratioText = at(names, kCatRow, ColScale);
    const std::optional<CatPoints> p = Channel0CatPoints(inst, ratioText);
    if (!p)
        return false;
    if (t == QLatin1String("HEX"))
        inst.setAutoCalib(0, 15);
    else if (inst.GasName(7) == QLatin1String("HEX"))
        inst.setAutoCalib(0, 50);
    inst.setGasName(7, t);
    inst.setGasName(8, t);
    const float unused = ReadingCode::NoValue;
    if (inst.CATppm1st() != qint64(unused))
        inst.setCATppm1st(p->ppm1st);
    if (inst.CATppm2nd() != qint64(unused))
        inst.setCATppm2nd(p->ppm2nd);
    if (inst.CATvol1st() != unused)
        inst.setCATvol1st(p->vol1st);
    if (inst.CATvol2nd() != unused)
        inst.setCATvol2nd(p->vol2nd);
    return true;
}

void ApplyOtherNames(clsInstrument &inst, const Texts &names, const Texts &other, const Fill &shown)
{
    // Each cell against what the fill showed first: untouched, it writes nothing.
    auto text = [&](const QString &now, const QString &cell, const QString &was, auto store) {
        if (cell != was && now != cell)
            store(cell);
    };
    text(inst.CATOther(), at(other, kCatRow, ColName), at(shown.other, kCatRow, ColName),
         [&](const QString &v) { inst.setCATOther(v); });
    text(inst.TCOther(), at(other, kTcRow, ColName), at(shown.other, kTcRow, ColName),
         [&](const QString &v) { inst.setTCOther(v); });
    text(inst.G1_(0), at(names, kCatRow, ColLongName), at(shown.names, kCatRow, ColLongName),
         [&](const QString &v) { inst.setG1_(0, v); });
    text(inst.G1_(1), at(other, kCatRow, ColLongName), at(shown.other, kCatRow, ColLongName),
         [&](const QString &v) { inst.setG1_(1, v); });
    for (int r = 5; r <= 7; ++r)
        text(inst.G1_(r - 3), at(names, r, ColLongName), at(shown.names, r, ColLongName),
             [&](const QString &v) { inst.setG1_(r - 3, v); });
    text(inst.G1_(5), at(other, kTcRow, ColLongName), at(shown.other, kTcRow, ColLongName),
         [&](const QString &v) { inst.setG1_(5, v); });

    auto ratio = [&](int i, const Texts &grid, const Texts &was, int r, int c, double scale) {
        if (at(grid, r, c) != at(was, r, c))
            longFrom(inst, i, at(grid, r, c), scale);
    };
    ratio(0, names, shown.names, kCatRow, ColScale, 1);
    ratio(1, other, shown.other, kCatRow, ColScale, 1);
    ratio(2, other, shown.other, kTcRow, ColScale, 10);    // tenths
    ratio(3, other, shown.other, kCatRow, ColFactor, 100); // hundredths

    const QString evText = at(other, kCatRow, ColEV);
    const int ev = evText == FsConv::kVoltME ? 1 : 0;
    if (evText != at(shown.other, kCatRow, ColEV) && inst.CATOtherEV() != ev)
        inst.setCATOtherEV(ev);
}

bool ApplyGasNames(clsInstrument &inst, const Texts &names, const Texts &other, const Fill &shown)
{
    ApplyChannelNames(inst, names, shown);
    if (!ApplyChannel0Mirror(inst, names, shown))
        return false;
    ApplyOtherNames(inst, names, other, shown);
    return true;
}

} // namespace FsGasNames
