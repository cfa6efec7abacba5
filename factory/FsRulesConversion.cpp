#include "factory/FsRulesConversion.h"

#include "core/CharChecks.h"
#include "model/Rounding.h"
#include "model/SettingWords.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"

#include <QLocale>
#include <cmath>

namespace FsConv {

const QString kNoValue = QStringLiteral("*****");
const QString kNoName = QStringLiteral("---");
const QString kNoLongName = QString(20, QLatin1Char('-'));
const QString kVoltME = SettingWords::WordOf(SettingWords::kEvMode, 1);
const QString kVoltNormal = SettingWords::WordOf(SettingWords::kEvMode, 0);

namespace {

constexpr int kBackspace = 8;
using M = clsInstrument::M;

// Limits of the record's members, from the instrument's member list.
int width(M m) { return clsInstrument::info(m).width; }
int nameWidth() { return width(M::LO_name); }
int longNameWidth() { return width(M::LO_longname); }

Verdict accept(const QString &text) { return {true, text}; }
Verdict refuse(const QString &text) { return {false, text}; }

bool isEmptyCell(const QString &s) { return s.isEmpty() || s.contains(kNoValue); }

// 0.01 .. 25.00, compared as the single-precision value the cell stands for.
std::optional<QString> factorText(const QString &s)
{
    double d = 0;
    if (!ParseNumber(s, &d))
        return std::nullopt;
    // The factor is stored in hundredths; its limits are the stored ones.
    const float v = float(d);
    const auto &fc = clsInstrument::info(M::LO_fc);
    if (!(v >= float(fc.lo / 100.0) && v <= float(fc.hi / 100.0)))
        return std::nullopt;
    return FormatDecimals(v, 2);
}

Verdict levelEdit(int col, const QString &s, const std::array<QString, kCols> &row)
{
    double v = 0;
    if (!ParseNumber(s, &v))
        return accept(kNoValue);
    Verdict level = CheckLevel(v, row[ColRatio]);
    const QString edited = level.ok ? level.text : s;
    const bool order = OrderAllows(col, edited, col == ColFirst ? row[ColSecond] : row[ColFirst]);
    return {level.ok && order, edited};
}

// The user ratio's rule, also for a ratio an import brings: a number of at most six
// characters, 1000 up to 150000, rounded to thousands (to ten-thousands from 50000).
Verdict ratioEdit(const QString &s)
{
    double v = 0;
    if (!ParseNumber(s, &v) || s.size() > 6)
        return refuse(s);
    const double n = RoundHalfEven(v);
    if (n < kRatioMin || n >= kRatioLimit)
        return refuse(FormatDecimals(n, 0));
    const double unit = n < 50000 ? 1000.0 : 10000.0;
    return accept(FormatDecimals(RoundHalfEven(v / unit) * unit, 0));
}

} // namespace

bool ParseNumber(const QString &text, double *value)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    for (QChar c : t) {
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.') && c != QLatin1Char('+')
            && c != QLatin1Char('-') && c != QLatin1Char('e') && c != QLatin1Char('E'))
            return false;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

Verdict CheckLevel(double value, const QString &ratioText)
{
    double ratio = 0;
    if (!ParseNumber(ratioText, &ratio))
        return refuse(QString());
    const float v = float(value);
    const float r = float(ratio);
    if (v < 0 || v > r || v > kLevelMax)
        return refuse(QString());
    const float step = r >= 25000.0f ? 250.0f : 100.0f;
    bool ok = false;
    const float rounded = RoundToStep(v, step, &ok);
    if (!ok || rounded > r)
        return refuse(QString());
    return accept(FormatValue(rounded, 0));
}

bool OrderAllows(int col, const QString &newText, const QString &otherText)
{
    double other = 0, now = 0;
    if (!ParseNumber(otherText, &other) || !ParseNumber(newText, &now))
        return true;
    if (col == ColFirst)
        return !(float(other) < float(now));
    if (col == ColSecond)
        return !(float(other) > float(now));
    return true;
}

Verdict ValidatePreEdit(int col, const QString &s, const std::array<QString, kCols> &row)
{
    if (s.isEmpty())
        return accept(kNoValue);
    if (col != ColFirst && col != ColSecond)
        return refuse(s);
    return levelEdit(col, s, row);
}

Verdict ValidateUserEdit(int col, const QString &s, const std::array<QString, kCols> &row)
{
    if (isEmptyCell(s)) {
        switch (col) {
        case ColName: return accept(kNoName);
        // As the whole-grid check fills it: an exported empty cell must come back as itself.
        case ColLongName: return accept(kNoLongName);
        case ColFirst:
        case ColSecond: return accept(kNoValue);
        default: return refuse(s);
        }
    }
    switch (col) {
    case ColName:
        return {s.size() <= nameWidth() && CheckTextChars(s, false, true), s};
    case ColLongName:
        return {s.size() <= longNameWidth() && CheckTextChars(s, true, true), s};
    case ColFactor:
        if (auto t = factorText(s))
            return accept(*t);
        return refuse(s);
    case ColFirst:
    case ColSecond:
        return levelEdit(col, s, row);
    case ColRatio:
        return ratioEdit(s);
    case ColVolt:
        return {s == kVoltME || s == kVoltNormal, s};
    default:
        return refuse(s);
    }
}

int FilterUserKey(int col, int key, const QString &editText)
{
    if (col != ColName && col != ColLongName)
        return key;
    const bool name = col == ColName;
    int k = key;
    if (!CheckKeyAscii(k, !name, true))
        return 0;
    if (k != kBackspace && editText.size() >= (name ? nameWidth() : longNameWidth()))
        return 0;
    return k;
}

bool UserTextAcceptable(int col, const QString &text)
{
    return CheckTextChars(text, col == ColLongName, true);
}

CellCheck CheckCell(bool user, int col, const std::array<QString, kCols> &row)
{
    const QString s = row[size_t(col)];
    if (isEmptyCell(s)) {
        switch (col) {
        case ColName: return {kNoName, false};
        case ColLongName: return {kNoLongName, false};
        case ColFirst:
        case ColSecond: return {kNoValue, false};
        default: return {s, true};
        }
    }
    double v = 0;
    switch (col) {
    case ColName:
        return {s, s.size() > nameWidth() || !CheckTextChars(s, !user, true)};
    case ColLongName:
        return {s, s.size() > longNameWidth() || !CheckTextChars(s, true, true)};
    case ColFactor:
        if (auto t = factorText(s))
            return {*t, false};
        return {s, true};
    case ColFirst:
    case ColSecond: {
        const Verdict level = levelEdit(col, s, row);
        return {level.text, !level.ok};
    }
    case ColRatio: {
        const Verdict ratio = ratioEdit(s);
        return {ratio.ok ? ratio.text : s, !ratio.ok};
    }
    case ColVolt:
        if (ParseNumber(s, &v)) {
            if (float(v) == 1.3f)
                return {kVoltME, false};
            if (float(v) == 2.4f)
                return {kVoltNormal, false};
            return {s, true};
        }
        if (s.toUpper() == kVoltME)
            return {kVoltME, false};
        if (s.toUpper() == kVoltNormal.toUpper())
            return {kVoltNormal, false};
        return {s, true};
    default:
        return {s, false};
    }
}

std::array<CellCheck, kCols> CheckRow(bool user, std::array<QString, kCols> row,
                                      const std::array<QString, kCols> *base)
{
    std::array<CellCheck, kCols> out;
    for (int col = 0; col < kCols; ++col)
        out[size_t(col)] = {row[size_t(col)], false};
    const bool ratioChanged = !base || row[ColRatio] != (*base)[ColRatio];
    for (int col : {ColName, ColLongName, ColFactor, ColRatio, ColVolt, ColFirst, ColSecond}) {
        const QString &s = row[size_t(col)];
        const bool level = col == ColFirst || col == ColSecond;
        const bool judged = !base || s != (*base)[size_t(col)] || (level && ratioChanged && ParseNumber(s));
        if (!judged)
            continue;
        out[size_t(col)] = CheckCell(user, col, row);
        row[size_t(col)] = out[size_t(col)].text;
    }
    return out;
}

bool ColumnTaken(const clsInstrument &rec, bool user, int col)
{
    if (col <= ColFactor)
        return !(user ? rec.invalidLO_() : rec.invalidLB_());
    return !rec.invalidLA_();
}

RowTexts RecordRow(const clsInstrument &rec, bool user, int i)
{
    RowTexts t;
    const int k = user ? kUserLaBase + i : i;
    t[ColName] = user ? rec.LO_name(i) : rec.LB_name(i);
    t[ColLongName] = user ? rec.LO_longname(i) : rec.LB_longname(i);
    t[ColFactor] = FactorText(user ? rec.LO_fc(i) : rec.LB_fc(i));
    t[ColFirst] = LevelText(rec.LA_warn(k));
    t[ColSecond] = LevelText(rec.LA_alarm(k));
    t[ColRatio] = RatioText(rec.LA_ratio(k));
    t[ColVolt] = VoltText(rec.LA_volt(k));
    return t;
}

RecordValue ValueOf(bool user, int i, int col)
{
    const int k = user ? kUserLaBase + i : i;
    switch (col) {
    case ColName: return {user ? M::LO_name : M::LB_name, i};
    case ColLongName: return {user ? M::LO_longname : M::LB_longname, i};
    case ColFactor: return {user ? M::LO_fc : M::LB_fc, i};
    case ColFirst: return {M::LA_warn, k};
    case ColSecond: return {M::LA_alarm, k};
    case ColRatio: return {M::LA_ratio, k};
    default: return {M::LA_volt, k};
    }
}

SettingLines::Entry LineOf(bool user, int i, int col)
{
    if (col <= ColFactor)
        return {user ? QStringLiteral("LO") : QStringLiteral("LB"), i};
    return {QStringLiteral("LA"), user ? kUserLaBase + i : i};
}

int CountMax() { return int(clsInstrument::info(M::LN_).hi); }

int FilterCountKey(int key, const QString &text)
{
    if (key == kBackspace)
        return key;
    if (key >= '0' && key <= '9' && text.size() < 2)
        return key;
    return 0;
}

std::optional<int> CountValue(const QString &text)
{
    double v = 0;
    if (!ParseNumber(text, &v))
        return std::nullopt;
    const double n = RoundHalfEven(v);
    if (n < 0 || n > CountMax())
        return std::nullopt;
    return int(n);
}

int CountRows(const QString &text)
{
    double v = 0;
    if (!ParseNumber(text, &v))
        return 0;
    const double n = RoundHalfEven(v);
    return n < 0 ? 0 : n > CountMax() ? CountMax() : int(n);
}

namespace {

struct NameMembers {
    clsInstrument::M name, longName, fc;
};

// Name, long name and factor of one row, each only where its cell no longer shows the
// record's value; the long name and factor follow only a named row.
void applyNames(clsInstrument &inst, const RowTexts &row, const RowTexts &shown, int i, const NameMembers &m)
{
    if (row[ColName] != shown[ColName])
        inst.setText(m.name, row[ColName], i);
    if (row[ColName].trimmed().isEmpty())
        return;
    if (row[ColLongName] != shown[ColLongName])
        inst.setText(m.longName, row[ColLongName], i);
    double factor = 0;
    if (row[ColFactor] == shown[ColFactor] || !ParseNumber(row[ColFactor], &factor))
        return; // the checks keep a factor that is no number from OK; never store a guess
    const std::optional<int16_t> fc = ToInt16(factor * 100.0);
    if (fc && inst.number(m.fc, i) != *fc)
        inst.setNumber(m.fc, *fc, i);
}

// A level whose cell changed: its number, or the no-value code for a word.
void applyLevel(clsInstrument &inst, clsInstrument::M m, int k, const QString &text, const QString &shown)
{
    if (text == shown)
        return;
    double v = 0;
    inst.setNumber(m, ParseNumber(text, &v) ? double(float(v)) : double(ReadingCode::NoValue), k);
}

void applyAlarms(clsInstrument &inst, const RowTexts &row, const RowTexts &shown, int k)
{
    applyLevel(inst, M::LA_warn, k, row[ColFirst], shown[ColFirst]);
    applyLevel(inst, M::LA_alarm, k, row[ColSecond], shown[ColSecond]);
    double ratio = 0;
    if (row[ColRatio] != shown[ColRatio] && ParseNumber(row[ColRatio], &ratio) && inst.LA_ratio(k) != float(ratio))
        inst.setLA_ratio(k, float(ratio));
    // A value the cell cannot show (anything but 1 shows "Normal") stays while the cell
    // still shows it.
    if (row[ColVolt] != shown[ColVolt])
        inst.setLA_volt(k, row[ColVolt] == kVoltME ? 1.0f : 0.0f);
}

} // namespace

void ApplyConvNames(clsInstrument &inst, const QVector<RowTexts> &rows, bool user)
{
    const NameMembers m = user ? NameMembers{M::LO_name, M::LO_longname, M::LO_fc}
                               : NameMembers{M::LB_name, M::LB_longname, M::LB_fc};
    for (int i = 0; i < (user ? kUserRows : kPreRows) && i < rows.size(); ++i)
        applyNames(inst, rows.at(i), RecordRow(inst, user, i), i, m);
}

void ApplyConvAlarms(clsInstrument &inst, const QVector<RowTexts> &rows, bool user)
{
    for (int i = 0; i < (user ? kUserRows : kPreRows) && i < rows.size(); ++i)
        applyAlarms(inst, rows.at(i), RecordRow(inst, user, i), user ? kUserLaBase + i : i);
}

void ApplyConvCount(clsInstrument &inst, const QString &countText)
{
    // Written only when it changed, so an OK after loading other lists leaves the
    // instrument's count alone.
    if (const std::optional<int> count = CountValue(countText); count && inst.LN_() != *count)
        inst.setLN_(*count);
}

void ApplyConversion(clsInstrument &inst, const QVector<RowTexts> &pre, const QVector<RowTexts> &user,
                     const QString &countText)
{
    ApplyConvNames(inst, pre, false);
    ApplyConvNames(inst, user, true);
    ApplyConvAlarms(inst, pre, false);
    ApplyConvAlarms(inst, user, true);
    ApplyConvCount(inst, countText);
}

QString FactorText(int fc) { return FormatDecimals(double(fc) / 100.0, 2); }
QString LevelText(float level) { return FormatValue(level, 0); }
QString RatioText(float ratio) { return GeneralNumber(ratio); }
QString VoltText(float volt) { return volt == 1.0f ? kVoltME : kVoltNormal; }

} // namespace FsConv
