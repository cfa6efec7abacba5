#include "factory/FsRulesSetup.h"
#include "core/CharChecks.h"
#include "core/Messages.h"
#include "model/EditText.h"
#include "model/RangeTables.h"
#include "model/SettingWords.h"
#include "model/Rounding.h"
#include "model/clsInstrument.h"
#include <functional>

namespace FsSetup {
namespace {

using namespace SettingWords;
QString Choices(Table t) { return Words(t).join(QLatin1Char('|')); }
QString OffOn() { return Choices(kOffOn); }
QString OxyList() { return Choices(kOxyPattern).toUpper(); }
QString LogoList(const clsInstrument &rec) { return LogoChoices(rec.BNuserLogoName()); }

// The list position the logo code shows at: the first two entries are swapped.
int LogoPosition(int code) { return code >= 2 ? code : (code == 1 ? 0 : 1); }

RowFill text(int caption, const QVariant &value) { return {GetMsg(caption), KindText, value, QString()}; }
RowFill choice(int caption, const QVariant &value, const QString &list) { return {GetMsg(caption), KindList, value, list}; }
int onIfTrue(int v) { return v == -1 ? 1 : 0; }

int OffOnCode(const QString &t, int on = 1) { return CodeOf(kOffOn, t, 1) == 0 ? 0 : on; }

} // namespace

QString LogoChoices(const QString &userLogo)
{
    QStringList words = Words(kLogo);
    words.swapItemsAt(0, 1); // LogoPosition
    return (words << userLogo).join(QLatin1Char('|'));
}

QString TrimBlanks(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

RowFill FillOf(int list, int row, const clsInstrument &rec)
{
    if (list == ListSetUp) {
        switch (row) {
        case SetUpRow::DateFormat: return choice(8071, rec.UWdateDisp(), Choices(kDateFormat));
        case SetUpRow::Battery: return choice(8053, rec.Battery(), Choices(kBattery));
        case SetUpRow::CatUnits: return choice(8042, rec.HcMode(), Choices(kCatUnits));
        case SetUpRow::RelativeResponse: return choice(8036, rec.ConvFc(), OffOn());
        case SetUpRow::OxyPattern: return choice(8043, rec.AlarmO2(), OxyList());
        case SetUpRow::Latching: return choice(8004, rec.AlarmMode(), Choices(kLatching));
        case SetUpRow::Silence: return choice(8045, rec.AlarmSilence(), OffOn());
        case SetUpRow::UserStationId: return choice(8048, onIfTrue(rec.DispID()), OffOn());
        case SetUpRow::Backlight: return text(8046, rec.LcdBackLight());
        case SetUpRow::AutoFreshAir: return choice(8035, rec.AutoZero(), OffOn());
        case SetUpRow::LogOverwrite: return choice(8009, rec.LogOverWrite(), OffOn());
        case SetUpRow::LogMemory: return choice(8028, rec.LogaClear(), OffOn());
        case SetUpRow::Contrast: return text(8047, rec.LcdContrast());
        case SetUpRow::CalRemainder: return choice(8010, onIfTrue(rec.DispCalLimit()), OffOn());
        case SetUpRow::CalPastDue: return choice(8011, rec.CalCheck(), Choices(kCalPastDue));
        case SetUpRow::CalInterval: return text(8007, rec.CalLimit());
        case SetUpRow::LcBhMode: return choice(8033, rec.LBMode(), Choices(kLcBhMode));
        case SetUpRow::BhTime: return choice(8034, rec.BarHoleTime(), Choices(kBarHoleTime));
        case SetUpRow::Confirmation: return choice(8008, rec.Confermation(), Choices(kConfirmation));
        case SetUpRow::PasswordProtection: return choice(8037, rec.UsePasswd(), OffOn());
        case SetUpRow::Password: return text(8038, rec.Password());
        case SetUpRow::LunchBreak: return choice(8044, rec.LunchBreak(), OffOn());
        case SetUpRow::SpanFactor: return choice(8058, rec.DispSpanFc(), OffOn());
        case SetUpRow::Language: return choice(8015, rec.SpecType(), Choices(kLanguage));
        }
    } else if (list == ListFactory) {
        switch (row) {
        case FactoryRow::IrAutoRange: return choice(8041, rec.IRRange(), OffOn());
        case FactoryRow::LogoDisplay: return choice(8055, LogoPosition(rec.LogoDisp()), LogoList(rec));
        case FactoryRow::EditLogo: return text(8072, rec.BNuserLogoName());
        case FactoryRow::DemandZero: return choice(8057, rec.DemandZero(), OffOn());
        case FactoryRow::SpanFactor: return choice(8058, rec.DispSpanFc(), OffOn());
        case FactoryRow::MethaneMark: return choice(8059, rec.MEDisp(), OffOn());
        case FactoryRow::SymbolMark: return choice(8060, rec.AliveDisp(), OffOn());
        case FactoryRow::RemainDisplay: return choice(8064, rec.RemainTimeDisp(), OffOn());
        case FactoryRow::ActiveGases: return choice(8070, rec.UIgasDisp(), OffOn());
        case FactoryRow::AlarmDisplay: return choice(8069, rec.AFapDisp(), OffOn());
        case FactoryRow::InertSelect: return choice(8077, rec.InertOnOff(), OffOn());
        }
    } else if (list == ListOther) {
        switch (row) {
        case OtherRow::Manufacture: return text(8003, rec.DummySerial());
        case OtherRow::CatDisplayUnit: return choice(8054, rec.CurrHc(), Choices(kCatDisplayUnit));
        case OtherRow::LeakBuzzer: return choice(8039, rec.LeakBeep(), OffOn());
        case OtherRow::MethaneElimination: return choice(8076, rec.CATOtherEV(), Choices(kEvMode));
        }
    }
    return {};
}

QString ListEntry(const QString &list, const QVariant &value)
{
    bool ok = false;
    const int at = value.typeId() == QMetaType::QString ? value.toString().trimmed().toInt(&ok) : value.toInt(&ok);
    if (!ok || at < 0 || list.isEmpty())
        return QString();
    const QStringList entries = list.split(QLatin1Char('|'));
    return at < entries.size() ? entries.at(at) : QString();
}

QString ShownText(const RowFill &fill)
{
    switch (fill.kind) {
    case KindText: return fill.value.toString();
    case KindList: return ListEntry(fill.list, fill.value);
    default: return QString();
    }
}

int ParseCode(int list, int row, const QString &cellText, const QString &logoText)
{
    const QString t = TrimBlanks(cellText).toUpper();
    if (list == ListSetUp) {
        switch (row) {
        case SetUpRow::DateFormat: return CodeOf(kDateFormat, t, 1);
        case SetUpRow::Battery: return CodeOf(kBattery, t, 1);
        case SetUpRow::CatUnits: return CodeOf(kCatUnits, t, 3);
        case SetUpRow::OxyPattern: return CodeOf(kOxyPattern, t, 0);
        case SetUpRow::Latching: return CodeOf(kLatching, t, 1);
        case SetUpRow::UserStationId:
        case SetUpRow::CalRemainder: return OffOnCode(t, -1);
        case SetUpRow::CalPastDue: return CodeOf(kCalPastDue, t, 2);
        case SetUpRow::LcBhMode: return CodeOf(kLcBhMode, t, 0);
        case SetUpRow::BhTime: {
            bool ok = false;
            const int v = t.toInt(&ok);
            return !ok ? 0 : CodeOf(kBarHoleTime, QString::number(v), 0);
        }
        case SetUpRow::Confirmation: return CodeOf(kConfirmation, t, 0);
        case SetUpRow::Language: return CodeOf(kLanguage, t, 0);
        case SetUpRow::RelativeResponse:
        case SetUpRow::Silence:
        case SetUpRow::AutoFreshAir:
        case SetUpRow::LogOverwrite:
        case SetUpRow::LogMemory:
        case SetUpRow::PasswordProtection:
        case SetUpRow::LunchBreak:
        case SetUpRow::SpanFactor: return OffOnCode(t);
        default: return -1;
        }
    }
    if (list == ListFactory) {
        switch (row) {
        case FactoryRow::LogoDisplay: {
            const int code = CodeOf(kLogo, t, -1);
            if (code >= 0)
                return code;
            return t == TrimBlanks(logoText).toUpper() ? 4 : 0;
        }
        case FactoryRow::EditLogo: return -1;
        default: return row >= 0 && row < kRows[ListFactory] ? OffOnCode(t) : -1;
        }
    }
    if (list == ListOther) {
        switch (row) {
        case OtherRow::CatDisplayUnit: return CodeOf(kCatDisplayUnit, t, 0);
        case OtherRow::LeakBuzzer: return OffOnCode(t);
        default: return -1;
        }
    }
    return -1;
}

bool EditRefused(int list, int row, const clsInstrument &rec, bool oxyAltRangeChecked)
{
    if (rec.invalidWB() && ((list == ListSetUp && (row == SetUpRow::LcBhMode || row == SetUpRow::BhTime)) ||
                            (list == ListOther && row == OtherRow::LeakBuzzer)))
        return true;
    if (rec.invalidLP() && ((list == ListSetUp && row == SetUpRow::CatUnits) || (list == ListOther && row == OtherRow::CatDisplayUnit)))
        return true;
    if (list == ListFactory && row == FactoryRow::InertSelect)
        return oxyAltRangeChecked || rec.InvalidIF();
    return false;
}

int FilterKey(int list, int row, int key, int length, int selected)
{
    if (list == ListOther && row == OtherRow::Manufacture)
        return SerialField::FilterKey(key, length, selected);
    if (list == ListSetUp && row == SetUpRow::Password)
        return key >= '0' && key <= '9' ? key : 0;
    return key;
}

Verdict CheckValue(int list, int row, int col, const QString &text)
{
    Verdict v;
    if (col != ColValue)
        return v;
    const bool password = list == ListSetUp && row == SetUpRow::Password;
    if (TrimBlanks(text).isEmpty()) {
        v.cancel = password;
        return v;
    }
    // A whole number of at most maxChars characters within the member's range; the editor
    // shows it without leading zeros (and rounded, halves to even) whatever the verdict.
    auto number = [&](int maxChars, clsInstrument::M member) {
        float f = 0;
        if (text.size() > maxChars || !EditText::ParseNumber(text, &f)) {
            v.cancel = true;
            return;
        }
        const auto n = ToInt16(double(f));
        if (!n) {
            v.cancel = true;
            return;
        }
        v.rewrite = true;
        v.text = QString::number(*n);
        v.cancel = !clsInstrument::info(member).inRange(*n);
    };
    if ((list == ListOther && row == OtherRow::Manufacture) || (list == ListFactory && row == FactoryRow::EditLogo)) {
        v.cancel = !SerialField::Acceptable(text);
    } else if (list == ListSetUp && row == SetUpRow::CalInterval) {
        number(3, clsInstrument::M::CalLimit);
        v.raiseCalLimit = !v.cancel;
    } else if (list == ListSetUp && row == SetUpRow::Backlight) {
        number(3, clsInstrument::M::LcdBackLight);
    } else if (list == ListSetUp && row == SetUpRow::Contrast) {
        number(5, clsInstrument::M::LcdContrast);
    } else if (password) {
        v.cancel = text.size() != 4;
        for (QChar c : text)
            v.cancel = v.cancel || c < QLatin1Char('0') || c > QLatin1Char('9');
    }
    return v;
}

// The CATALYTIC DISPLAY UNIT code that CATALYTIC UNITS codes 0..2 fix.
constexpr int kFixedDisplayUnit[] = {2, 0, 1};

QString DisplayUnitFor(const QString &catUnits)
{
    for (int c = 0; c < int(std::size(kFixedDisplayUnit)); ++c)
        if (catUnits == WordOf(kCatUnits, c))
            return WordOf(kCatDisplayUnit, kFixedDisplayUnit[c]);
    return QString();
}

QString CatUnitsFor(const QString &displayUnit)
{
    for (int c = 0; c < int(std::size(kFixedDisplayUnit)); ++c)
        if (displayUnit == WordOf(kCatDisplayUnit, kFixedDisplayUnit[c]))
            return WordOf(kCatUnits, c);
    return QString();
}

namespace {

struct ApplyRow {
    int list;
    int row;
    // Integer member, or nullptr for the text members below.
    int (*get)(const clsInstrument &);
    bool (*set)(clsInstrument &, int);
    bool number; // the row holds the number itself, not a choice
};

#define FS_INT(List, Row, Member, Number)                                                          \
    ApplyRow{List, Row, [](const clsInstrument &r) { return int(r.Member()); },                    \
             [](clsInstrument &r, int v) { return r.set##Member(v); }, Number}

// The order in which the rows reach the record (the oxygen pattern before the battery...).
const ApplyRow kIntRows[] = {
    FS_INT(ListSetUp, SetUpRow::DateFormat, UWdateDisp, false),
    FS_INT(ListSetUp, SetUpRow::CatUnits, HcMode, false),
    FS_INT(ListSetUp, SetUpRow::Latching, AlarmMode, false),
    FS_INT(ListSetUp, SetUpRow::OxyPattern, AlarmO2, false),
    FS_INT(ListSetUp, SetUpRow::Battery, Battery, false),
    FS_INT(ListSetUp, SetUpRow::CalInterval, CalLimit, true),
    FS_INT(ListSetUp, SetUpRow::LunchBreak, LunchBreak, false),
    FS_INT(ListSetUp, SetUpRow::Silence, AlarmSilence, false),
    FS_INT(ListSetUp, SetUpRow::Confirmation, Confermation, false),
    FS_INT(ListSetUp, SetUpRow::LogOverwrite, LogOverWrite, false),
    FS_INT(ListSetUp, SetUpRow::LogMemory, LogaClear, false),
    FS_INT(ListSetUp, SetUpRow::LcBhMode, LBMode, false),
    FS_INT(ListSetUp, SetUpRow::BhTime, BarHoleTime, false),
    FS_INT(ListSetUp, SetUpRow::Backlight, LcdBackLight, true),
    FS_INT(ListSetUp, SetUpRow::Contrast, LcdContrast, true),
    FS_INT(ListSetUp, SetUpRow::UserStationId, DispID, false),
    FS_INT(ListSetUp, SetUpRow::CalRemainder, DispCalLimit, false),
    FS_INT(ListSetUp, SetUpRow::CalPastDue, CalCheck, false),
    // SpecType (SET UP 23) comes here, then AutoZero ...
    FS_INT(ListSetUp, SetUpRow::AutoFreshAir, AutoZero, false),
    FS_INT(ListSetUp, SetUpRow::RelativeResponse, ConvFc, false),
    FS_INT(ListSetUp, SetUpRow::PasswordProtection, UsePasswd, false),
    // Password (SET UP 20)
    FS_INT(ListFactory, FactoryRow::IrAutoRange, IRRange, false),
    FS_INT(ListFactory, FactoryRow::LogoDisplay, LogoDisp, false),
    // BNuserLogoName (FACTORY SETTINGS 2)
    FS_INT(ListFactory, FactoryRow::DemandZero, DemandZero, false),
    FS_INT(ListFactory, FactoryRow::SpanFactor, DispSpanFc, false),
    FS_INT(ListFactory, FactoryRow::MethaneMark, MEDisp, false),
    FS_INT(ListFactory, FactoryRow::SymbolMark, AliveDisp, false),
    FS_INT(ListFactory, FactoryRow::RemainDisplay, RemainTimeDisp, false),
    FS_INT(ListFactory, FactoryRow::ActiveGases, UIgasDisp, false),
    FS_INT(ListFactory, FactoryRow::AlarmDisplay, AFapDisp, false),
    FS_INT(ListFactory, FactoryRow::InertSelect, InertOnOff, false),
    FS_INT(ListOther, OtherRow::LeakBuzzer, LeakBeep, false),
    FS_INT(ListOther, OtherRow::CatDisplayUnit, CurrHc, false),
    // DummySerial (OTHER 0)
};
#undef FS_INT

} // namespace

bool Apply(const Cells &cells, clsInstrument &rec, QString *failedRow)
{
    auto cell = [&](int list, int row) { return row < cells[list].size() ? cells[list].at(row) : QString(); };
    auto fail = [&](int list, int row) {
        if (failedRow)
            *failedRow = TrimBlanks(FillOf(list, row, rec).caption);
        return false;
    };
    auto untouched = [&](int list, int row) { return cell(list, row) == ShownText(FillOf(list, row, rec)); };
    auto text = [&](int list, int row, QString (clsInstrument::*get)() const, bool (clsInstrument::*set)(const QString &)) {
        const QString t = cell(list, row);
        return t == (rec.*get)() || (rec.*set)(t);
    };

    for (const ApplyRow &r : kIntRows) {
        if (r.list == ListFactory && r.row == FactoryRow::IrAutoRange) {
            if (!text(ListSetUp, SetUpRow::Password, &clsInstrument::Password, &clsInstrument::setPassword))
                return fail(ListSetUp, SetUpRow::Password);
        }
        if (r.list == ListSetUp && r.row == SetUpRow::AutoFreshAir && !untouched(ListSetUp, SetUpRow::Language)) {
            // The language is a digit held as text: compared as a number, written as text.
            const int code = ParseCode(ListSetUp, SetUpRow::Language, cell(ListSetUp, SetUpRow::Language), QString());
            bool ok = false;
            const int stored = rec.SpecType().trimmed().toInt(&ok);
            if ((!ok || stored != code) && !rec.setSpecType(QString::number(code)))
                return fail(ListSetUp, SetUpRow::Language);
        }
        if (r.list == ListFactory && r.row == FactoryRow::DemandZero) {
            if (!text(ListFactory, FactoryRow::EditLogo, &clsInstrument::BNuserLogoName, &clsInstrument::setBNuserLogoName))
                return fail(ListFactory, FactoryRow::EditLogo);
        }

        int value = 0;
        if (r.number) {
            // The cell may stay empty while editing, but no number cannot be applied.
            float f = 0;
            const auto n = EditText::ParseNumber(cell(r.list, r.row), &f) ? ToInt16(double(f)) : std::nullopt;
            if (!n)
                return fail(r.list, r.row);
            value = *n;
        } else {
            if (untouched(r.list, r.row))
                continue;
            value = ParseCode(r.list, r.row, cell(r.list, r.row), cell(ListFactory, FactoryRow::EditLogo));
        }
        if (value == r.get(rec))
            continue;
        if (!r.set(rec, value))
            return fail(r.list, r.row);
        if (r.list == ListSetUp && r.row == SetUpRow::OxyPattern) {
            // The oxygen points follow the new pattern, for the channel's present range.
            const int range = rec.AltRng(1);
            const int pattern = rec.AlarmO2();
            if (range >= 0 && range <= 1 && pattern >= 0 && pattern <= 2) {
                rec.setWarning(1, gO2Warning[range][pattern]);
                rec.setAlarm(1, gO2Alarm[range][pattern]);
            }
        }
    }
    if (!text(ListOther, OtherRow::Manufacture, &clsInstrument::DummySerial, &clsInstrument::setDummySerial))
        return fail(ListOther, OtherRow::Manufacture);
    return true;
}

} // namespace FsSetup
