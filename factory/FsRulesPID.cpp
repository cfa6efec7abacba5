#include "factory/FsRulesPID.h"

#include "core/CharChecks.h"
#include "core/modMain.h"
#include "factory/FsRulesConversion.h"
#include "model/Rounding.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "settingsfiles/FieldCodec.h"

#include <QRegularExpression>
#include <array>
#include <cmath>

namespace FsPid {

namespace {

// Lower limit: full scale / 2000 (High) or / 50 (Low); upper: 0.01 below the next row's.
const RangeRow kHigh[] = {
    {500, "1/10", "0.2", 0.25f, 0.49f},   {1000, "1/1", "1", 0.5f, 0.74f},
    {1500, "1/1", "1", 0.75f, 0.99f},     {2000, "1/1", "1", 1.0f, 1.24f},
    {2500, "1/1", "1", 1.25f, 1.49f},     {3000, "1/1", "2", 1.5f, 1.99f},
    {4000, "1/1", "2", 2.0f, 2.49f},      {5000, "1/1", "2", 2.5f, 4.99f},
    {10000, "1/1", "10", 5.0f, 7.49f},    {15000, "1/1", "10", 7.5f, 9.99f},
    {20000, "1/1", "10", 10.0f, 14.99f},  {30000, "1/1", "20", 15.0f, 24.99f},
    {50000, "1/1", "20", 25.0f, 25.0f},
};
const RangeRow kLow[] = {
    {10, "1/100", "0.01", 0.2f, 0.29f}, {15, "1/100", "0.01", 0.3f, 0.39f},
    {20, "1/100", "0.01", 0.4f, 0.49f}, {25, "1/100", "0.01", 0.5f, 0.59f},
    {30, "1/100", "0.02", 0.6f, 0.79f}, {40, "1/100", "0.02", 0.8f, 0.99f},
    {50, "1/100", "0.02", 1.0f, 1.99f}, {100, "1/10", "0.1", 2.0f, 2.99f},
    {150, "1/10", "0.1", 3.0f, 3.99f},  {200, "1/10", "0.1", 4.0f, 5.99f},
    {300, "1/10", "0.2", 6.0f, 7.99f},  {400, "1/10", "0.2", 8.0f, 9.99f},
    {500, "1/10", "0.2", 10.0f, 10.0f},
};

const QString kNoValue = QStringLiteral("*****");

CellEdit refused(const QString &text, bool red)
{
    CellEdit r;
    r.text = text;
    r.paint = red ? CellEdit::Paint::Red : CellEdit::Paint::None;
    return r;
}

CellEdit accepted(const QString &text)
{
    CellEdit r;
    r.accept = true;
    r.text = text;
    r.paint = CellEdit::Paint::White;
    return r;
}

bool nameAcceptable(int row, const QString &t)
{
    return t.size() <= kNameLength && CheckTextChars(t, row != kLastRow, true);
}

bool longNameAcceptable(const QString &t)
{
    gAllowLeadBlank = true;
    const bool ok = t.size() <= kLongNameLength && CheckTextChars(t, true, true);
    gAllowLeadBlank = false;
    return ok;
}

QString wholeText(double whole) { return QString::number(whole, 'f', 0); }

QString cell(const QStringList &row, int col) { return col < row.size() ? row.at(col) : QString(); }

} // namespace

const RangeRow *RangeRowOf(int Index, double FullScale)
{
    if (!std::isfinite(FullScale))
        return nullptr;
    const double whole = RoundHalfEven(FullScale);
    for (const RangeRow &r : (Index == 1 ? kLow : kHigh))
        if (double(r.fullScale) == whole)
            return &r;
    return nullptr;
}

bool PIDRangeLimits(int Index, float FullScale, float &Lower, float &Upper)
{
    const RangeRow *r = RangeRowOf(Index, double(FullScale));
    if (!r)
        return false;
    Lower = r->lower;
    Upper = r->upper;
    return true;
}

QString FullScaleList(int Index)
{
    QStringList out;
    for (const RangeRow &r : (Index == 1 ? kLow : kHigh))
        out << FormatValue(float(r.fullScale), PointDecimals(QLatin1String(r.point)));
    return out.join(QLatin1Char('|'));
}

bool CheckPIDRange(int Index, const QString &fullScaleText, int Col, const QString &cellText)
{
    double fs = 0;
    if (!FsConv::ParseNumber(fullScaleText, &fs))
        return false;
    const RangeRow *r = RangeRowOf(Index, fs);
    if (!r)
        return false;
    if (Col == ColPoint)
        return cellText == QLatin1String(r->point);
    if (Col == ColDigit)
        return cellText == QLatin1String(r->digit);
    return false;
}

int PointDecimals(const QString &pointText)
{
    static const QRegularExpression re(QStringLiteral("^1/1(0{0,3})$"));
    const QRegularExpressionMatch m = re.match(pointText);
    return m.hasMatch() ? int(m.capturedLength(1)) : -1;
}

QString PointText(int decimals)
{
    return QStringLiteral("1/1") + QString(qMax(decimals, 0), QLatin1Char('0'));
}

QStringList RowTexts(const clsInstrument &inst, int e, int j)
{
    const int p = inst.PIDPoint(e, j);
    return {QString::number(e + 1),
            inst.PIDName(e),
            inst.PIDLongName(e),
            FormatValue(inst.PIDFullScale(e, j), p),
            PointText(p),
            inst.PIDUnit(e, j),
            GeneralNumber(inst.PIDDigit(e, j)),
            FormatValue(inst.PIDWarn(e, j), p),
            FormatValue(inst.PIDAlarm(e, j), p),
            FormatValue(inst.PIDStel(e, j), p),
            FormatValue(inst.PIDTwa(e, j), p),
            FormatValue(inst.PIDAutoCal(e, j), p),
            FormatDecimals(inst.PIDFactor(e, j) / 100.0f, 2)};
}

RecordValue ValueOf(int j, int e, int col)
{
    using M = clsInstrument::M;
    static const M kSpec[] = {M::PIDFullScale, M::PIDPoint, M::PIDUnit, M::PIDDigit, M::PIDWarn,
                              M::PIDAlarm,     M::PIDStel,  M::PIDTwa,  M::PIDAutoCal, M::PIDFactor};
    if (col == ColName || col == ColLongName)
        return {col == ColName ? M::PIDName : M::PIDLongName, e};
    return {kSpec[qBound(0, col - ColFullScale, int(std::size(kSpec)) - 1)], e, j};
}

SettingLines::Entry LineOf(int j, int e, int col)
{
    if (col == ColName || col == ColLongName)
        return {QStringLiteral("LS"), e};
    return {j == 0 ? QStringLiteral("LJ") : QStringLiteral("LI"), e};
}

bool IsLocked(int row, int col)
{
    if (row >= 1 && row < kLastRow)
        return col >= ColName && col <= ColDigit;
    if (row == kLastRow)
        return col >= ColPoint && col <= ColDigit;
    return false;
}

CellEdit ValidateCell(int Index, int row, int col, const QString &text, const QStringList &rowTexts)
{
    if (row < 1 || row > kLastRow || col < ColName || col > ColFactor)
        return refused(text, false);

    if (text.isEmpty()) {
        if (col == ColLongName)
            return accepted(text);
        // A factor has no "no value": the instrument needs one.
        if (col >= Col1st && col != ColFactor)
            return accepted(kNoValue);
        return refused(text, true);
    }

    switch (col) {
    case ColName:
        return nameAcceptable(row, text) ? accepted(text) : refused(text, true);
    case ColLongName:
        return longNameAcceptable(text) ? accepted(text) : refused(text, true);
    case ColFullScale: {
        double v = 0;
        if (!FsConv::ParseNumber(text, &v))
            return refused(text, false);
        const double whole = RoundHalfEven(v);
        const QString shown = wholeText(whole);
        // A full scale the range has no row for cannot give Point, Digit or factor limits.
        const RangeRow *r = whole >= 1 && whole <= 50000 ? RangeRowOf(Index, whole) : nullptr;
        if (!r)
            return refused(shown, true);
        CellEdit ok = accepted(shown);
        ok.factorText = FormatDecimals(r->lower, 2);
        return ok;
    }
    case ColFactor: {
        double v = 0;
        if (!FsConv::ParseNumber(text, &v))
            return refused(text, false);
        double fs = 0;
        const RangeRow *r = FsConv::ParseNumber(cell(rowTexts, ColFullScale), &fs) ? RangeRowOf(Index, fs) : nullptr;
        const float f = float(v);
        if (!r || f < r->lower || f > r->upper)
            return refused(text, true);
        return accepted(FormatDecimals(f, 2));
    }
    case Col1st: case Col2nd: case ColStel: case ColTwa: case ColAutoCal: {
        double v = 0;
        if (!FsConv::ParseNumber(text, &v))
            return accepted(kNoValue);
        double fs = 0, step = 0;
        const int n = PointDecimals(cell(rowTexts, ColPoint));
        if (!FsConv::ParseNumber(cell(rowTexts, ColFullScale), &fs) || !FsConv::ParseNumber(cell(rowTexts, ColDigit), &step) || n < 0)
            return refused(text, false);
        if (v < 0 || v > fs)
            return refused(text, true);
        bool ok = false;
        const float rounded = RoundToStep(float(v), float(step), &ok);
        if (!ok)
            return refused(text, false);
        const QString shown = FormatValue(rounded, n);
        double mine = 0, other = 0;
        FsConv::ParseNumber(shown, &mine);
        if (col == Col1st && FsConv::ParseNumber(cell(rowTexts, Col2nd), &other) && other < mine)
            return refused(shown, true);
        if (col == Col2nd && FsConv::ParseNumber(cell(rowTexts, Col1st), &other) && other > mine)
            return refused(shown, true);
        return accepted(shown);
    }
    default: // Point, Unit and Digit follow the full scale; never typed
        return refused(text, false);
    }
}

int FilterTextKey(bool name, int key, int textLength)
{
    int k = key;
    if (!CheckKeyAscii(k, !name, true))
        return 0;
    if (k != 8 && textLength >= (name ? kNameLength : kLongNameLength))
        return 0;
    return k;
}

int FilterKey(int row, int col, int key, int textLength)
{
    if (row != kLastRow || (col != ColName && col != ColLongName))
        return key;
    return FilterTextKey(col == ColName, key, textLength);
}

std::optional<PointDigit> PointDigitFor(int Index, const QString &fullScaleText)
{
    double fs = 0;
    if (!FsConv::ParseNumber(fullScaleText, &fs))
        return std::nullopt;
    const RangeRow *r = RangeRowOf(Index, fs);
    if (!r)
        return std::nullopt;
    return PointDigit{QLatin1String(r->point), QLatin1String(r->digit)};
}

bool ColumnTaken(const clsInstrument &rec, int col)
{
    return !rec.invalidLJ() && (!rec.invalidLI() || col <= ColLongName);
}

QVector<QVector<bool>> CheckPIDCells(int Index, Texts &texts, const Texts *base)
{
    QVector<QVector<bool>> bad(kRows, QVector<bool>(kCols, false));
    if (texts.size() < kRows)
        texts.resize(kRows);
    const QStringList list = FullScaleList(Index).split(QLatin1Char('|'));
    for (int r = 1; r < kRows; ++r) {
        QStringList &row = texts[r];
        while (row.size() < kCols)
            row << QString();
        const QStringList given = base && base->size() > r ? base->at(r) : QStringList();
        auto differs = [&](int c) { return c >= given.size() || row.at(c) != given.at(c); };
        // A new full scale, Point or Digit puts the row's numbers under a new range.
        const bool rangeChanged = !base || differs(ColFullScale) || differs(ColPoint) || differs(ColDigit);
        bool alarmJudged = false;
        for (int c = 1; c < kCols; ++c) {
            const QString t = row.at(c);
            bool isBad = false;
            double v = 0;
            const bool ranged = c == ColFullScale || c == ColPoint || c == ColDigit
                                || (c >= Col1st && FsConv::ParseNumber(t));
            if (base && !differs(c) && !(rangeChanged && ranged))
                continue;
            alarmJudged |= c == Col1st || c == Col2nd;
            const int n = PointDecimals(row.at(ColPoint));
            if (t.isEmpty() || t.contains(kNoValue)) {
                if (c <= ColDigit || c == ColFactor)
                    isBad = true;
                else
                    row[c] = kNoValue;
                bad[r][c] = isBad;
                continue;
            }
            switch (c) {
            case ColName:
                isBad = !nameAcceptable(r, t);
                break;
            case ColLongName:
                isBad = !longNameAcceptable(t);
                break;
            case ColFullScale:
                if (!FsConv::ParseNumber(t, &v) || RoundHalfEven(v) < 1 || RoundHalfEven(v) > 50000) {
                    isBad = true;
                } else {
                    row[c] = FormatValue(float(RoundHalfEven(v)), qMax(n, 0));
                    // The exact entry of the list: "50" is no full scale of the High range.
                    isBad = !list.contains(row[c]);
                }
                break;
            case ColPoint:
                isBad = n < 0 || !CheckPIDRange(Index, row.at(ColFullScale), ColPoint, t);
                break;
            case ColUnit:
                isBad = t != QLatin1String("ppm");
                break;
            case ColDigit: {
                const double unit = std::pow(10.0, -qMax(n, 0));
                isBad = n < 0 || !FsConv::ParseNumber(t, &v) || !(unit <= v && v / unit <= 250)
                        || !CheckPIDRange(Index, row.at(ColFullScale), ColDigit, t);
                break;
            }
            case ColFactor: {
                double fs = 0;
                const RangeRow *rr = FsConv::ParseNumber(row.at(ColFullScale), &fs) ? RangeRowOf(Index, fs) : nullptr;
                if (!FsConv::ParseNumber(t, &v) || !rr || float(v) < rr->lower || float(v) > rr->upper)
                    isBad = true;
                else
                    row[c] = FormatDecimals(float(v), 2);
                break;
            }
            default: { // the alarm points and the span value
                double fs = 0, step = 0;
                bool ok = FsConv::ParseNumber(t, &v) && FsConv::ParseNumber(row.at(ColFullScale), &fs) && FsConv::ParseNumber(row.at(ColDigit), &step)
                          && n >= 0 && v >= 0 && v <= fs;
                float rounded = 0;
                if (ok)
                    rounded = RoundToStep(float(v), float(step), &ok);
                if (!ok) {
                    isBad = true;
                    break;
                }
                row[c] = FormatValue(rounded, n);
                double first = 0, second = 0;
                if ((c == Col1st || c == Col2nd) && FsConv::ParseNumber(row.at(Col1st), &first)
                    && FsConv::ParseNumber(row.at(Col2nd), &second) && first > second)
                    isBad = true;
                break;
            }
            }
            bad[r][c] = isBad;
        }
        // The order of the two alarms is one rule over both cells: a 1st above the 2nd
        // marks both, the one still showing the instrument's value too.
        double first = 0, second = 0;
        if (alarmJudged && FsConv::ParseNumber(row.at(Col1st), &first) && FsConv::ParseNumber(row.at(Col2nd), &second)
            && first > second)
            bad[r][Col1st] = bad[r][Col2nd] = true;
    }
    return bad;
}

void ApplyPidTables(clsInstrument &inst, const Texts &high, const Texts &low)
{
    using M = clsInstrument::M;
    // A number whose cell changed; a cell that is no number is left alone (the checks
    // keep it from OK), never stored as a guess.
    auto setValue = [&inst](M m, int e, int j, const QString &text, float scale = 1.0f) {
        double v = 0;
        if (FsConv::ParseNumber(text, &v) && float(v * scale) != float(inst.number(m, e, j)))
            inst.setNumber(m, double(float(v * scale)), e, j);
    };
    for (int e = 0; e < kEntries; ++e) {
        for (int j = 0; j < 2; ++j) {
            const Texts &g = j == 0 ? high : low;
            if (g.size() <= e + 1)
                continue;
            QStringList row = g.at(e + 1);
            while (row.size() < kCols)
                row << QString();
            // Only a cell that no longer shows the record's value is written: a factor of
            // 98.5 hundredths shown as "0.99" stays 98.5.
            const QStringList shown = RowTexts(inst, e, j);
            auto changed = [&](int c) { return row.at(c) != shown.at(c); };
            if (changed(ColName))
                inst.setPIDName(e, row.at(ColName));
            if (changed(ColLongName))
                inst.setPIDLongName(e, row.at(ColLongName));
            if (changed(ColFullScale))
                setValue(M::PIDFullScale, e, j, row.at(ColFullScale));
            const int point = PointDecimals(row.at(ColPoint));
            if (changed(ColPoint) && point >= 0)
                inst.setPIDPoint(e, j, point);
            if (changed(ColUnit))
                inst.setPIDUnit(e, j, row.at(ColUnit));
            if (changed(ColDigit))
                setValue(M::PIDDigit, e, j, row.at(ColDigit));
            for (int k = 0; k < 5; ++k) {
                const M m = std::array{M::PIDWarn, M::PIDAlarm, M::PIDStel, M::PIDTwa, M::PIDAutoCal}[size_t(k)];
                const QString &t = row.at(Col1st + k);
                if (!changed(Col1st + k))
                    continue;
                double v = 0;
                // "*****" (or any word) in an alarm point means no value.
                const float target = FsConv::ParseNumber(t, &v) ? float(v) : ReadingCode::NoValue;
                if (target != float(inst.number(m, e, j)))
                    inst.setNumber(m, double(target), e, j);
            }
            if (changed(ColFactor))
                setValue(M::PIDFactor, e, j, row.at(ColFactor), 100.0f);
        }
    }
}

bool PidChannelDue(const clsInstrument &inst, int ch)
{
    return inst.Change_PIDSmallRange(ch) || (inst.GasType(ch) == 5 && inst.Change_GasName(ch));
}

int PidEntryOf(const clsInstrument &inst, const QString &name)
{
    const QString wanted = FieldCodec::unpadded(name);
    for (int e = 0; e < kEntries; ++e)
        if (FieldCodec::unpadded(inst.PIDName(e)) == wanted)
            return e;
    return -1;
}

bool GetPIDChannel(clsInstrument &inst, int ch)
{
    if (inst.invalidLJ())
        return false;
    const int j = inst.PIDSmallRange(ch) == 1 ? 1 : 0;
    const int e = PidEntryOf(inst, inst.GasName(ch));
    if (e < 0)
        return false;
    inst.setGasName(ch, inst.PIDName(e));
    inst.setGasDesit(ch, inst.PIDDigit(e, j));
    inst.setGasUnit(ch, inst.PIDUnit(e, j));
    inst.setGasFullScale(ch, inst.PIDFullScale(e, j));
    inst.setGasPoint(ch, inst.PIDPoint(e, j));
    inst.setWarning(ch, inst.PIDWarn(e, j));
    inst.setAlarm(ch, inst.PIDAlarm(e, j));
    inst.setStel(ch, inst.PIDStel(e, j));
    inst.setTwa(ch, inst.PIDTwa(e, j));
    inst.setAutoCalib(ch, inst.PIDAutoCal(e, j));
    return true;
}

} // namespace FsPid
