#include "model/clsInstrument.h"
#include "settingsfiles/SettingLines.h"

#include <gtest/gtest.h>
#include <functional>

using namespace SettingLines;

namespace {

clsInstrument cleared()
{
    clsInstrument r;
    r.ClearDatas();
    return r;
}

QString line(const clsInstrument &r, const QString &code, int index = -1)
{
    const LineText t = lineText(r, Entry{code, index, Block::Settings});
    EXPECT_TRUE(t.ok) << t.error.toStdString();
    return t.text;
}

QString fieldOf(const QString &text, int k) { return text.split(QLatin1Char(',')).value(k + 2); }

} // namespace

TEST(SettingLinesWrite, ExactTexts)
{
    clsInstrument r = cleared();
    r.setXZ_(0, QStringLiteral("ALICE"));
    r.setLN_(12);
    for (auto [ch, zero, alt] : {std::tuple{0, 1, 1}, {1, 0, 1}, {2, 1, 0}, {3, 2, 1}}) { // only exactly 1 counts
        r.setZero(ch, zero);
        r.setAltRng(ch, alt);
    }
    r.setGasType(5, 16);
    r.setZeroForce(1, 7);
    r.setZeroForce(2, 3);
    for (auto [ch, v] : {std::pair{0, -101.0f}, {1, -121.0f}, {2, -118.0f}, {3, -5.0f}, {4, 12.5f}})
        r.setWarning(ch, v);
    for (int ch : {0, 4})
        r.setGasPoint(ch, 1);
    r.setGasDesit(0, 0.1f);
    r.setGasDesit(4, -101.0f);
    for (auto [i, fl, ug] : {std::tuple{0, 50000, 10}, {1, 50001, 11}, {2, 60000, 63}}) {
        r.setFL_(i, fl);
        r.setUG_(i, ug);
    }
    r.setCalLimit(-1);
    r.setLcdContrast(10);
    r.setDispID(-1);
    r.setLA_warn(0, -121.0f);
    r.setLA_alarm(0, -101.0f);
    r.setLA_ratio(0, 60000.0f);
    r.setLA_volt(0, 0.5f);
    r.setIntervals(5);
    for (int ch : {4, 5, 6}) { // the option boards: the last one too
        r.setGasName(ch, QStringLiteral("G%1").arg(ch));
        r.setGasFullScale(ch, float(ch));
    }
    const std::tuple<const char *, int, QString> cases[] = {
        {"XZ", 0, QStringLiteral("XZ,W,01,ALICE") + QString(11, QLatin1Char(' ')) + QStringLiteral(",")},
        {"LN", -1, "LN,W,0C,"},
        {"UZ", -1, "UZ,W,05,"},
        {"LR", -1, "LR,W,A,"},
        {"IT", -1, "IT,W,0,0,0,0,0,@,0,"},
        {"US", -1, "US,W,0,@,3,0,0,0,0,"},
        {"A1", -1, "A1,W,FFFF,DDDD,FEFE,0000,007D,0000,0000,"},
        {"XP", -1, "XP,W,0,"},
        {"GD", -1, "GD,W,01,FF,00,00,"},
        {"FL", -1, "FL,W,C350,D000,D064,0000,"},
        {"UG", -1, "UG,W,:,;,o,0,0,0,0,"},
        {"SC", -1, "SC,W,FFFF,"},
        {"UL", -1, "UL,W,A,"},
        {"XI", -1, "XI,W,1,"},
        {"LA", 0, "LA,W,00,DDDD,FFFF,D064,0.5,"},
        {"GN", -1, "GN,W,   ,   ,G4 ,G5 ,G6 ,   ,"},
        {"GF", -1, "GF,W,0000,0028,0005,0006,"},
    };
    for (const auto &[code, index, text] : cases)
        EXPECT_EQ(line(r, QLatin1String(code), index), text);
    r.setIntervals(600);
    EXPECT_EQ(line(r, "XP"), QStringLiteral("XP,W,7,"));
    EXPECT_EQ(line(r, "LB", 29).left(8), QStringLiteral("LB,W,1D,"));
    for (auto [v, text] : {std::pair{1e-05f, "1E-05"}, {12345678.0f, "1.234568E+07"}, {3.0f, "3"}, {0.25f, "0.25"}}) {
        r.setLA_volt(1, v);
        EXPECT_EQ(fieldOf(line(r, "LA", 1), 4), QLatin1String(text));
    }
    for (auto [ch, type] : {std::pair{4, 5}, {5, 4}, {6, 0}})
        r.setGasType(ch, type);
    r.setPIDSmallRange(4, 3);
    r.setAutoRange(5, 2);
    r.setPIDSmallRange(5, 9);
    r.setIRRange(1);
    EXPECT_EQ(line(r, "FF"), QStringLiteral("FF,W,1,3,2,0,"));
}

TEST(SettingLinesWrite, AutoCalibrationScaling)
{
    clsInstrument r = cleared();
    r.setGasPoint(0, 0);
    r.setGasFullScale(0, 100.0f);
    r.setAutoCalib(0, 50.0f);
    r.setFL_(0, 0); // no ratio yet: carried unscaled, no division by zero
    EXPECT_EQ(fieldOf(line(r, "SA"), 0), QStringLiteral("0032"));
    r.setFL_(0, 50); // full scale 100 against 50: the file holds half
    EXPECT_EQ(fieldOf(line(r, "SA"), 0), QStringLiteral("0019"));
    r.setAutoCalib(0, -101.0f); // the not-set code is not scaled
    EXPECT_EQ(fieldOf(line(r, "SA"), 0), QStringLiteral("FFFF"));
    r.setGasType(0, 1); // other sensors: as they stand
    r.setAutoCalib(0, 50.0f);
    EXPECT_EQ(fieldOf(line(r, "SA"), 0), QStringLiteral("0032"));
}

TEST(SettingLinesWrite, RefusesWhatWouldNotReadBack)
{
    clsInstrument r = cleared();
    r.setXZ_(3, QStringLiteral("SMITH, J"));
    LineText t = lineText(r, Entry{"XZ", 3});
    EXPECT_FALSE(t.ok);
    EXPECT_TRUE(t.error.contains(QLatin1String("SMITH, J"))) << t.error.toStdString();
    const std::pair<std::function<void()>, Entry> cases[] = {
        {[&] { r.setBNuserLogoName(QStringLiteral("ACME;LOGO")); }, Entry{"BN"}},
        {[&] { r.setPassword(QStringLiteral("a\nb")); }, Entry{"AQ"}},
        {[&] { r.setLcdBackLight(256); }, Entry{"XT"}},      // more than two hex digits
        {[&] { r.setXZ_(4, QStringLiteral("AB\x7F")); }, Entry{"XZ", 4}}, // DEL
        {[&] { r.setWarning(0, 404900.0f); }, Entry{"A1"}},  // its word would be DDDD, read back as "no value"
        {[&] { r.setLA_warn(2, 1268700.0f); }, Entry{"LA", 2}}, // FF9B, the old not-set word
        {[&] { r.setLO_fc(1, -5); }, Entry{"LO", 1}},
        {[] {}, Entry{"XZ", 32}}, // no such line
        {[] {}, Entry{"QQ"}},
        // Written in decimal, read as hex: 10 would come back as 16, -1 not at all.
        {[&] { r.setGasType(2, 10); }, Entry{"IT"}},
        {[&] { r.setGasType(2, 11); }, Entry{"IT"}},
        {[&] { r.setGasType(2, -1); }, Entry{"IT"}},
        {[&] { r.setGasType(5, 5), r.setPIDSmallRange(5, 12); }, Entry{"FF"}},
    };
    for (const auto &[set, entry] : cases) {
        set();
        EXPECT_FALSE(lineText(r, entry).ok) << entry.code.toStdString();
    }
    r.setGasType(2, 16);
    EXPECT_EQ(lineText(r, Entry{"IT"}).text.section(QLatin1Char(','), 4, 4), QStringLiteral("@"));
    r.setPIDSmallRange(5, 9);
    EXPECT_TRUE(lineText(r, Entry{"FF"}).ok);
}

// Every line its own writer could not have written is refused, and changes nothing; the
// link's answers go through the same check.
TEST(SettingLinesRead, RefusesWhatTheWriterNeverWrites)
{
    const QString pidFields = QStringLiteral("0064,1,2,01,0010,0020,0030,0040,0050,0064,");
    const QString tooMany = QStringLiteral("XZ,W,01,A,") + QString(300, QLatin1Char(','));
    const QStringList badLines = {
        QStringLiteral("FL,W,7FFFFFFF,0002,0003,0004,"), // wider than four digits: never wrapped
        QStringLiteral("A1,W,0FFFF,0000,0000,0000,0000,0000,0000,"), // a word of five digits
        QStringLiteral("AP,W,-,"),                         // a minus alone
        QStringLiteral("XT,W,0001,"),                       // four digits in a two-digit field
        QStringLiteral("XZ,W,0001,ALICE,"),
        QStringLiteral("LJ,W,03,") + pidFields.section(QLatin1Char(','), 0, 8) + QLatin1Char(','), // factor missing
        QStringLiteral("LJ,W,03,") + pidFields.section(QLatin1Char(','), 1, 9) + QLatin1Char(','), // one dropped, shifted
        QStringLiteral("LI,W,03,0064,1,2,01,0010,0020,0030,0040,"), // neither whole nor the short form
        QStringLiteral("WB,W,1,2,1,0,"),                    // a field too many
        QStringLiteral("XZ,W,01,AL^ACE,"), QStringLiteral("XZ,W,01,AL\x7F" "ACE,"),
        QStringLiteral("XZ,W,01,ALICE WITH A LONG NAME,"), // longer than the 16 the writer keeps
        QStringLiteral("LO,W,1,Long name,AB ,0A0,"),       // factor of three digits
        QStringLiteral("IT,W,0,A,2,3,4,@,6,"),              // the writer writes 0..9 or "@"
        QStringLiteral("AP,W,1.5,"), QStringLiteral("UG,W,1,,1,1,1,1,1,"),
        QStringLiteral("UG,W,1, ,1,1,1,1,1,"),             // a blank is no digit character
        QStringLiteral("A1,W,0001,"),                      // short: takes nothing from an earlier line
        QStringLiteral("SC,W,10000,"),                     // beyond 16 bits
        QStringLiteral("XP,W,"), QStringLiteral("LO,W,0,a,b,ZZ,"), QStringLiteral("LO,W,0,a,b,8000,"),
        QStringLiteral("G1,W,7,name,"), QStringLiteral("LA,W,00,0001,0001,0001,half,"), QStringLiteral("XZ,W,00,ABC,"), tooMany,
    };
    for (QString line : badLines) {
        line.replace(QLatin1Char('^'), QString(QChar(1)));
        clsInstrument r = cleared();
        const clsInstrument before = r;
        const ParseResult p = parseLine(r, line);
        EXPECT_EQ(p.status, ParseStatus::BadLine) << line.toStdString();
        EXPECT_FALSE(p.reason.isEmpty());
        EXPECT_TRUE(r.FL_(0) == before.FL_(0) && r.XZ_(0) == before.XZ_(0));
    }
    clsInstrument r = cleared();
    r.setWarning(0, 5.0f);
    r.ClearChangeFlags();
    const ParseResult p = parseLine(r, QStringLiteral("A1,W,0001,0002,XYZ,0004,0005,0006,0007,"), Door::User);
    EXPECT_EQ(p.status, ParseStatus::BadLine);
    EXPECT_TRUE(p.reason.contains(QLatin1String("field 3"))) << p.reason.toStdString();
    EXPECT_TRUE(r.Warning(0) == 5.0f && !r.Change_Warn(0));
    // The link's answer parser: the same refusal for an instrument's answer.
    EXPECT_EQ(parseFields(r, QStringLiteral("FL"), {"7FFFFFFF", "0002", "0003", "0004"}, Door::Device).status,
              ParseStatus::BadLine);
    ASSERT_TRUE(parseLine(r, QStringLiteral("LJ,W,03,") + pidFields).ok());
    EXPECT_EQ(r.PIDFactor(3, 0), 10.0f); // 0x64 with one decimal
}

// The reader's own rules: any case, a read answer like a write line, words of older files
// ("not set" FF9B, "unknown" FF8A; today's FFFF, DDDD and FEFE stay apart), short forms that
// mark their group unsupported, values the instrument cannot run become defaults, codes and
// masks as the writer writes them ("" checks the line before once more).
TEST(SettingLinesRead, DocumentedRules)
{
    using M = clsInstrument::M;
    const struct {
        const char *line;
        M member;
        int index;
        double want;
    } rows[] = {
        {"xp,w,3", M::Intervals, 0, 30}, {"XP,R,4,", M::Intervals, 0, 60},
        {"LA,W,00,FF9B,FF8A,0001,0,", M::LA_warn, 0, -101}, {"", M::LA_alarm, 0, -118},
        {"A1,W,FFFF,DDDD,FEFE,0000,007D,0000,0000,", M::Warning, 0, -101}, {"", M::Warning, 1, -121},
        {"", M::Warning, 2, -118},
        {"WB,W,1,2,", M::LBMode, 0, 1}, {"", M::BarHoleTime, 0, 2}, {"", M::LeakBeep, 0, 0}, {"", M::invalidWB, 0, 1},
        {"WB,W,1,2,1,", M::LeakBeep, 0, 1}, {"", M::invalidWB, 0, 0},
        {"HE,W,01,02,1D,", M::HE_, 2, 170}, {"HE,W,01,02,1E,", M::HE_, 2, 30}, // the lowest the valve runs
        {"HE,W,01,02,", M::invalidHE_, 0, 1},
        {"LP,W,1,3,", M::HcMode, 0, 1}, {"", M::CurrHc, 0, 0}, {"LP,W,3,2,", M::CurrHc, 0, 2},
        {"LP,W,0,", M::invalidLP, 0, 1}, {"", M::CurrHc, 0, 2},
        {"LO,W,2,Long name,AB ,0A,", M::LO_fc, 2, 10}, {"", M::invalidLO_, 0, 1},
        {"LO,W,2,Long name,AB ,0A0B,", M::LO_fc, 2, 2571}, {"", M::invalidLO_, 0, 0},
        {"IT,W,0,9,2,3,4,@,6,", M::GasType, 1, 9}, {"", M::GasType, 5, 16},
        {"FL,W,0064,0002,", M::Ratio, 0, 100}, {"", M::invalidFL_, 0, 1},
        {"GF,W,0064,0001,0002,0003,", M::GasFullScale, 0, 100}, // before any GP: the record's decimals
        {"US,W,1,@,2,3,4,5,6,", M::ZeroForce, 1, 0}, {"", M::ZeroForce, 6, 6},
        {"UG,W,;,0,:,0,0,0,o,", M::UG_, 0, 11}, // ";" is a mask, not a comment
        {"", M::UG_, 2, 10}, {"", M::UG_, 6, 63}, {"", M::GasEnabled, 0, -1}, {"", M::GasEnabled, 1, 0},
    };
    clsInstrument r = cleared();
    for (const auto &row : rows) {
        if (*row.line) {
            ASSERT_TRUE(parseLine(r, QLatin1String(row.line)).ok()) << row.line;
        }
        EXPECT_EQ(r.value(row.member, row.index).toDouble(), row.want)
            << clsInstrument::info(row.member).name << "(" << row.index << ")";
    }
    EXPECT_EQ(r.LO_name(2), QStringLiteral("AB"));
    ASSERT_TRUE(parseLine(r, QStringLiteral("LS,W,03,Isobutylene,ibu,")).ok());
    EXPECT_EQ(r.PIDName(3), QStringLiteral("IBU"));
    EXPECT_TRUE(parseLine(r, QStringLiteral("LS,W,11,ignored,X,")).ok()); // entry 17: unused, no error
    const clsInstrument before = r;
    for (const char *text : {"IN,W,1,", "UD,W,", ";XP,W,5,", "", "   "})
        EXPECT_EQ(parseLine(r, QLatin1String(text)).status, ParseStatus::UnknownCode) << text;
    EXPECT_EQ(r.Intervals(), before.Intervals());
}


// A line counts as changed when a flag of one of its own fields is set (one entry of a list,
// one range of a PID entry); clearing it leaves the option-board commit to its own line. A
// group the instrument refuses, the inert lines included, is not sent.
TEST(SettingLinesFlags, ChangedSupportedAndCleared)
{
    clsInstrument r = cleared();
    const Entry a1{"A1"}, a2{"A2"}, it{"IT"}, xz5{"XZ", 5}, xz6{"XZ", 6}, lj{"LJ", 2}, li{"LI", 2};
    EXPECT_FALSE(isChanged(r, a1));
    r.setWarning(5, 1.0f);
    r.setGasType(2, 3);
    r.setXZ_(5, QStringLiteral("BOB"));
    r.setPIDWarn(2, 0, 1.0f);
    for (const auto &[e, changed] : {std::pair{a1, true}, {a2, false}, {it, true}, {xz5, true}, {xz6, false},
                                     {lj, true}, {li, false}})
        EXPECT_EQ(isChanged(r, e), changed) << e.code.toStdString() << " " << e.index;

    clearChanged(r, a1);
    EXPECT_TRUE(!r.Change_Warn(5) && r.Change_SubBoard());
    clearChanged(r, it);
    clearChanged(r, xz5);
    EXPECT_FALSE(r.Change_GasType() || r.Change_XZ_(5));
    EXPECT_TRUE(r.Change_PIDSpec(2, 0));

    EXPECT_TRUE(isSupported(r, Entry{"WB"}));
    r.setInvalidWB(true);
    EXPECT_FALSE(isSupported(r, Entry{"WB"}));
    for (const char *code : {"IF", "I1", "I2"}) {
        EXPECT_FALSE(isSupported(r, Entry{QLatin1String(code)})) << code; // InvalidIF after ClearDatas
        r.setInvalidIF(false);
        EXPECT_TRUE(isSupported(r, Entry{QLatin1String(code)})) << code;
        r.setInvalidIF(true);
    }
    EXPECT_TRUE(isSupported(r, a1));
    EXPECT_EQ(requestKey(Entry{"LB", 29}), QStringLiteral("1D"));
}
