#include "SettingsChecks.h"

#include "core/modMain.h"
#include "model/modGasCommon.h"
#include "settingsfiles/SettingLines.h"
#include "settingsfiles/SettingsHistory.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

// Splits a CSV line, honouring quoted fields ("" inside quotes is one quote).
QStringList csvFields(const QByteArray &line)
{
    static const QRegularExpression field(QStringLiteral("(?:^|,)(\"((?:[^\"]|\"\")*)\"|[^,\"]*)"));
    QStringList out;
    for (auto it = field.globalMatch(QString::fromLatin1(line)); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out << (m.hasCaptured(2) ? m.captured(2).replace(QStringLiteral("\"\""), QStringLiteral("\"")) : m.captured(1));
    }
    return out;
}

class HistoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetAppPath(m_dir.path());
        gFactorySuffix.clear();
    }
    void TearDown() override
    {
        SetAppPath(QString());
        gFactorySuffix.clear();
    }
    static QList<QByteArray> lines(const QString &path) { return crlfLines(ReadTestFile(path)); }
    static QStringList row(const clsInstrument &r, bool write = false)
    {
        QStringList fields;
        HistoryColumns(r, write, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)), nullptr, &fields);
        return fields;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(HistoryTest, FirstUseThenRowsKeptAndHeaderRenewed)
{
    clsInstrument a = VariedRecord(1);
    a.setXS_(0, QStringLiteral("North, gate \"B\"")); // quoted: the row keeps its columns
    a.setBNuserLogoName(QStringLiteral("MY \"LOGO\"")); // a quote alone is quoted too
    const clsInstrument b = VariedRecord(2);
    ASSERT_TRUE(deviceUpdateLog(a, false).ok);
    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("VANTIK_Setting.csv"));
    QList<QByteArray> ls = lines(path);
    ASSERT_EQ(ls.size(), 2);
    EXPECT_TRUE(ls[0].startsWith("Action,"));
    const QStringList first = csvFields(ls[1]);
    ASSERT_EQ(first.size(), kHistoryColumns);
    EXPECT_EQ((QStringList{first[0], first[137], first[194]}), (QStringList{"Read", "MY \"LOGO\"", "North, gate \"B\""}));

    WriteTestFile(path, ls[0] + "\r\n" + ls[1] + "\r\n" + "Read,old row\r\n");
    ASSERT_TRUE(deviceUpdateLog(b, true).ok);
    ls = lines(path);
    ASSERT_EQ(ls.size(), 4);
    EXPECT_EQ(ls[2], QByteArray("Read,old row")); // old rows as they stood
    EXPECT_EQ(csvFields(ls[3]).size(), kHistoryColumns);
    EXPECT_TRUE(ls[3].startsWith("Write,"));
    EXPECT_FALSE(QFile::exists(QDir(m_dir.path()).filePath(QStringLiteral("VANTIK_Setting_swap.csv"))));

    // Rows of an older header, without the Action column, get an empty first field.
    gFactorySuffix = QStringLiteral("F2");
    const QString f2 = QDir(m_dir.path()).filePath(QStringLiteral("VANTIK_SettingF2.csv"));
    EXPECT_EQ(HistoryFilePath(), f2);
    EXPECT_TRUE(HistorySwapPath().endsWith(QLatin1String("VANTIK_SettingF2_swap.csv")));
    // Long enough to be read in more than one piece; the last row has no line end.
    QByteArray older = "PC Date/Time,Serial No.\r\n";
    constexpr int kOlder = 60000;
    for (int k = 1; k <= kOlder; ++k)
        older += "2020/01/01 00:00:00,A" + QByteArray::number(k) + (k < kOlder ? "\n" : "");
    WriteTestFile(f2, older);
    ASSERT_TRUE(deviceUpdateLog(VariedRecord(3), false).ok);
    ls = lines(f2);
    ASSERT_EQ(ls.size(), kOlder + 2);
    EXPECT_TRUE(ls[0].startsWith("Action,"));
    for (int k = 1; k <= kOlder; ++k)
        ASSERT_EQ(ls[k], ",2020/01/01 00:00:00,A" + QByteArray::number(k));
    EXPECT_TRUE(ls.last().startsWith("Read,"));

    // A history that is a link stays one; the file it points at gains the row, and the swap
    // goes beside that file.
    gFactorySuffix.clear();
    const QString shared = QDir(m_dir.path()).filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    const QString real = QDir(shared).filePath(QStringLiteral("history.csv"));
    ASSERT_TRUE(QFile::rename(path, real));
    ASSERT_TRUE(QFile::link(real, path));
    ASSERT_TRUE(deviceUpdateLog(b, false).ok);
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    ls = lines(real);
    ASSERT_EQ(ls.size(), 5);
    EXPECT_EQ(ls[2], QByteArray("Read,old row"));
    EXPECT_EQ(QDir(shared).entryList(QDir::Files), QStringList{"history.csv"});
}

// A swap left behind with no history is the history when whole; cut short (in the middle of a
// row, a row short of fields, inside a quoted field) it is kept aside under a name that says
// so, the user is told and a new history begins. Beside a history it is an unfinished rewrite.
TEST_F(HistoryTest, LeftoverSwapIsRecoveredOrKeptAside)
{
    const QString path = HistoryFilePath();
    const QString swap = HistorySwapPath();
    const QString aside = QDir(m_dir.path()).filePath(QStringLiteral("VANTIK_Setting_swap_incomplete.csv"));
    const QByteArray whole = "Action,x\r\nRead,kept 1\r\nWrite,kept 2\r\n";
    const struct {
        QByteArray history, swap;
        bool kept; // the rows of the swap or the history are kept; else the swap is put aside
    } cases[] = {
        {"", whole, true},
        {whole, "Action,partial", true},
        {"", "Action,a,b\r\nRead,1,2\r\nWrite,1", false},
        {"", "Action,a,b\r\nRead,1,2\r\nWrite,1\r\n", false},
        {"", "Action,a,b\r\nRead,\"1,2\r\n", false},
    };
    for (const auto &c : cases) {
        QFile::remove(path);
        QFile::remove(aside);
        if (!c.history.isEmpty())
            WriteTestFile(path, c.history);
        WriteTestFile(swap, c.swap);
        const HistoryFile::Outcome o = deviceUpdateLog(VariedRecord(4), true);
        ASSERT_TRUE(o.ok) << o.error.toStdString();
        const QList<QByteArray> ls = lines(path);
        ASSERT_EQ(ls.size(), c.kept ? 4 : 2) << c.swap.toStdString();
        EXPECT_EQ(csvFields(ls.last()).size(), kHistoryColumns);
        EXPECT_EQ(ls[1], c.kept ? QByteArray("Read,kept 1") : ls.last());
        EXPECT_EQ(ReadTestFile(aside), c.kept ? QByteArray("<missing>") : c.swap);
        EXPECT_EQ(o.notice.contains(aside), !c.kept) << o.notice.toStdString();
        EXPECT_FALSE(QFile::exists(swap));
    }
}

// Writes that fail at the file system (a file-size limit in a child process) or on the swap
// leave the history as it was, first file or rewrite, and say why.
TEST_F(HistoryTest, FailedWriteKeepsTheHistory)
{
    const auto appendLimited = [&](long limit) {
        return RunInChild(
            [&] {
                const HistoryFile::Outcome o = deviceUpdateLog(VariedRecord(7), true);
                return o.ok ? QStringLiteral("ok") : o.error;
            },
            limit);
    };
    const QString cause = QString::fromLocal8Bit(strerror(EFBIG));
    EXPECT_TRUE(appendLimited(4096).endsWith(cause));
    EXPECT_FALSE(QFile::exists(HistoryFilePath()));

    ASSERT_TRUE(deviceUpdateLog(VariedRecord(6), false).ok);
    const QByteArray before = ReadTestFile(HistoryFilePath());
    EXPECT_TRUE(appendLimited(long(before.size()) + 100).endsWith(cause));
    EXPECT_EQ(ReadTestFile(HistoryFilePath()), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"VANTIK_Setting.csv"});

    ASSERT_TRUE(QDir().mkpath(HistorySwapPath())); // the swap name taken by a folder
    const HistoryFile::Outcome o = deviceUpdateLog(VariedRecord(7), true);
    EXPECT_FALSE(o.ok || o.error.isEmpty());
    EXPECT_EQ(ReadTestFile(HistoryFilePath()), before);
    QDir().rmdir(HistorySwapPath());
    gFactorySuffix = QStringLiteral("../x");
    EXPECT_FALSE(deviceUpdateLog(VariedRecord(7), true).ok);
}

namespace {

// The history's 1012 column labels, written out here rather than taken from the program.
QStringList expectedHeader()
{
    QStringList h = {"Action", "PC Date/Time", "VANTIK  Date/Time", "Serial No.", "Manufacture number", "Station ID",
                     "User ID", "ALARM LATCHING", "Cal.Interval(Days)", "CAL REMAINDER", "CAL PAST DUE ACT",
                     "Interval Trend Time (Sec)", "USER / STATION ID", "CONFIRMATION ALART", "DATA LOG OVERWRITE",
                     "SELECT LANGUAGE", "LUNCH BREAK", "ALARM SILENCE", "BACKLIGHT DELAY", "ADJUST CONTRAST",
                     "CATALYTIC UNITS", "OXY ALARM PATTERN", "DATA LOG MEMORY", "LC/BH MODE SELECT",
                     "BH MEASURING TIME", "LEAK BUZZER", "IR AUTO RANGE ", "PASSWORD PROTECTION", "CHANGE PASSWORD ",
                     "AUTO FRESH AIR ADJ", "RELATIVE RESPONSE", "CAT ppm 1st", "CAT ppm 2nd", "CAT vol 1st",
                     "CAT vol 2nd", "SET BATTERY TYPE", "CATALYTIC DISPLAY UNIT", "DEMAND ZERO",
                     "SPAN FACTOR DISPLAY ", "VANTIK LOGO DISPLAY", "METHANE ELIMINATION MARK DISPLAY",
                     "SYMBOL MARK DISPLAY", "DATA LOGGING REMAIN DISPLAY"};
    for (int i = 0; i <= 6; ++i)
        h << QStringLiteral("Gas%1").arg(i)
          << QStringList{"Warning", "Alarm", "STEL", "TWA", "Auto Cal.", "Zero Follower", "Zero Suppress", "Ratio",
                         "Alternate Ranges", "Last Calibration Date", "Before Last Calibration", "After Last Calibration"};
    h << QStringList{"ALARM DISPLAY", "ACTIVE GASES DISPLAY", "SET DATE FORMAT", "EDIT LOGO DISPLAY"};
    for (int i = 0; i <= 6; ++i)
        h << QStringLiteral("Port %1 Channel").arg(i)
          << QStringList{"Type ", "GasName ", "Digit ", "Long Name ", "CAT Ratio/TC Full Scale "};
    h << QStringList{"CAT Other", "CAT Other Long Name", "CAT Other Ratio", "CAT Other CAT Factor", "CAT Other EV",
                     "TC Other", "TC Other Long Name", "TC Other Full Scale", "VANTIK LOGO DISPLAY", "Normal EV Value",
                     "Normal EV D/A", "ME EV Value", "ME EV D/A", "H2 EV D/A"};
    for (int n = 1; n <= 128; ++n)
        h << QStringLiteral("Station%1").arg(n);
    for (int n = 1; n <= 32; ++n)
        h << QStringLiteral("User%1").arg(n);
    h << QStringLiteral("Conversion Available Count");
    for (const auto &[pre, count] : {std::pair{"PC-", 30}, std::pair{"UC-", 5}})
        for (int n = 1; n <= count; ++n)
            for (const char *what : {"Name", "Long Name", "Factor", "1st", "2nd", "Ratio", "Volt"})
                h << QLatin1String(pre) + QLatin1String(what) + QString::number(n);
    for (const char *pre : {"PH-", "PL-"})
        for (int k = 0; k <= 16; ++k)
            for (const char *what : {"Name", "Long Name", "FullScale", "Point", "Unit", "Digit", "1st", "2nd", "STEL",
                                     "TWA", "AutoCal", "Factor"})
                h << QLatin1String(pre) + QLatin1String(what) + QString::number(k);
    h << QStringList{"Inert select", "Inert 1st", "Inert 2nd", "CATOtherSelect"};
    return h;
}

} // namespace

TEST_F(HistoryTest, EveryColumnHeader)
{
    const QStringList want = expectedHeader();
    ASSERT_EQ(want.size(), kHistoryColumns);
    // Where the column list places its groups (1-based numbers).
    EXPECT_EQ(want[44 - 1], QStringLiteral("Gas0"));
    EXPECT_EQ(want[139 - 1], QStringLiteral("Port 0 Channel"));
    EXPECT_EQ(want[356 - 1], QStringLiteral("PC-Name1"));
    EXPECT_EQ(want[805 - 1], QStringLiteral("PL-Name0"));
    QStringList got;
    HistoryColumns(VariedRecord(1), false, QDateTime::currentDateTime(), &got, nullptr);
    ASSERT_EQ(got.size(), kHistoryColumns);
    for (int c = 0; c < kHistoryColumns; ++c)
        EXPECT_EQ(got[c], want[c]) << "column " << c + 1;
}

// Where the column list places its groups (1-based), and each coded member at each of its
// codes and one past them, against the words the history is to show: anything but the on code
// reads OFF, a code outside its table "-----".
TEST_F(HistoryTest, ColumnGroupsAndWords)
{
    QStringList labels;
    HistoryColumns(VariedRecord(1), false, QDateTime::currentDateTime(), &labels, nullptr);
    ASSERT_EQ(labels.size(), kHistoryColumns);
    for (const auto &[column, label] : {std::pair{44, "Gas0"}, {175, "Port 6 Channel"}, {322, "Station128"},
                                        {354, "User32"}, {356, "PC-Name1"}, {1008, "PL-Factor16"}})
        EXPECT_EQ(labels[column - 1], QLatin1String(label)) << column;

    using M = clsInstrument::M;
    using Words = std::vector<std::pair<double, const char *>>;
    struct Case {
        int column; // 1-based
        M member;
        int index;
        Words words;
    };
    const Words on1 = {{1, "ON"}, {0, "OFF"}, {-1, "OFF"}};
    const Words onMinus1 = {{-1, "ON"}, {0, "OFF"}, {1, "OFF"}};
    std::vector<Case> cases = {
        {8, M::AlarmMode, 0, {{0, "Latch"}, {1, "Reset"}, {7, "Reset"}}},
        {10, M::DispCalLimit, 0, onMinus1},
        {11, M::CalCheck, 0, {{0, "NOTIFICATION ONLY"}, {1, "MUST CALIBRATE"}, {2, "CONFIRM TO CAL"}, {3, "-----"}}},
        {13, M::DispID, 0, onMinus1},
        {14, M::Confermation, 0, {{0, "OFF"}, {1, "LIGHT ONLY"}, {2, "BEEP ONLY"}, {3, "LIGHT & BEEP"}, {4, "-----"}}},
        {15, M::LogOverWrite, 0, on1},
        {17, M::LunchBreak, 0, on1},
        {18, M::AlarmSilence, 0, on1},
        {21, M::HcMode, 0, {{0, "ppm ONLY"}, {1, "%LEL ONLY"}, {2, "vol% ONLY"}, {3, "CHANGE OK"}, {4, "-----"}}},
        {22, M::AlarmO2, 0, {{0, "H-L"}, {1, "L-LL"}, {2, "H-HH"}, {9, "H-HH"}, {-1, "H-HH"}}},
        {23, M::LogaClear, 0, on1},
        {24, M::LBMode, 0, {{0, "OFF"}, {1, "LEAK CHECK ONLY"}, {2, "BAR HOLE ONLY"}, {3, "LC & BH"}, {4, "-----"}}},
        {25, M::BarHoleTime, 0, {{0, "30"}, {1, "45"}, {2, "60"}, {3, "-----"}}},
        {26, M::LeakBeep, 0, on1},
        {27, M::IRRange, 0, on1},
        {28, M::UsePasswd, 0, on1},
        {30, M::AutoZero, 0, on1},
        {31, M::ConvFc, 0, on1},
        {36, M::Battery, 0, {{1, "NI-MH"}, {0, "ALKALINE"}, {2, "ALKALINE"}, {-1, "ALKALINE"}}},
        {37, M::CurrHc, 0, {{0, "%LEL"}, {1, "vol%"}, {2, "ppm"}, {3, "-----"}}},
        {38, M::DemandZero, 0, on1},
        {39, M::DispSpanFc, 0, on1},
        {41, M::MEDisp, 0, on1},
        {42, M::AliveDisp, 0, on1},
        {43, M::RemainTimeDisp, 0, on1},
        {135, M::AFapDisp, 0, on1},
        {136, M::UIgasDisp, 0, on1},
        {137, M::UWdateDisp, 0, {{0, "MM/DD/YYYY"}, {1, "DD/MM/YYYY"}, {2, "DD/MM/YYYY"}}},
        {185, M::CATOtherEV, 0, {{1, "ME"}, {0, "Normal"}, {2, "Normal"}}},
        {356 + 6, M::LA_volt, 0, {{1.0, "ME"}, {0.5, "Normal"}, {1.5, "Normal"}}},
        {566 + 6 + 7 * 4, M::LA_volt, 34, {{1.0, "ME"}, {0, "Normal"}}},
    };
    for (const int logoColumn : {40, 189})
        cases.push_back({logoColumn, M::LogoDisp, 0,
                         {{0, "GAS MONITOR"}, {1, "LOGO DISPLAY"}, {2, "FAULT SNIFFER"}, {3, "CABLE SNIFFER"},
                          {4, "MY LOGO"}, {5, "-----"}}});
    for (int i = 0; i <= 6; ++i) {
        cases.push_back({44 + 13 * i + 6, M::Zero, i, on1});
        cases.push_back({44 + 13 * i + 9, M::AltRng, i, on1});
        cases.push_back({139 + 6 * i + 1, M::GasType, i,
                         {{0, "CAT"}, {1, "OXY"}, {2, "TOX"}, {3, "ESM"}, {4, "IR"}, {5, "PID"}, {6, "TC"},
                          {7, "OTHER"}, {16, "NONE"}, {8, "-----"}}});
    }
    clsInstrument r;
    r.ClearDatas();
    r.setBNuserLogoName(QStringLiteral("MY LOGO"));
    for (const Case &c : cases) {
        const double before = r.value(c.member, c.index).toDouble();
        for (const auto &[code, word] : c.words) {
            ASSERT_TRUE(r.setNumber(c.member, code, c.index)) << "column " << c.column;
            const QStringList f = row(r);
            ASSERT_EQ(f.size(), kHistoryColumns);
            EXPECT_EQ(f[c.column - 1], QLatin1String(word)) << "column " << c.column << " code " << code;
        }
        r.setNumber(c.member, before, c.index); // cleared again for the next member
    }
    // The language is held as text.
    const char *languages[] = {"ENGLISH", "SPANISH", "FRENCH", "ITALIAN", "GERMAN", "-----"};
    for (int code = 0; code <= 5; ++code) {
        r.setSpecType(QString::number(code));
        EXPECT_EQ(row(r).value(16 - 1), QLatin1String(languages[code])) << code;
    }
    // Without an inert channel its three columns say so; with one, the switch is ON at 1.
    r.setInvalidIF(true);
    EXPECT_EQ(row(r).mid(1008, 3), (QStringList{"---", "---", "---"}));
    r.setInvalidIF(false);
    r.setInert1st(2.5f);
    for (const auto &[code, word] : on1) {
        r.setInertOnOff(int(code));
        EXPECT_EQ(row(r).mid(1008, 2), (QStringList{QLatin1String(word), "2.5"})) << code;
    }
}

TEST_F(HistoryTest, ColumnValues)
{
    clsInstrument r;
    r.ClearDatas();
    r.setSysDateOffset(3600); // the instrument runs an hour behind
    r.setZeroForce(2, 16);
    r.setZeroForce(3, 4);
    r.setUG_(0, 5);
    r.setGasName(1, QStringLiteral("   "));
    r.setGasName(2, QStringLiteral(" CO "));
    r.setWarning(0, -101.0f);
    r.setLA_warn(0, -101.0f);
    r.setLA_alarm(0, -102.0f);
    r.setGasType(4, 6);
    r.setGasPoint(4, 1);
    r.setGasFullScale(4, 25.0f);
    r.setFL_(3, 125);
    r.setFL_(2, 55);
    const QStringList f = row(r, true);
    ASSERT_EQ(f.size(), kHistoryColumns);
    // 0-based: the dates, an empty name and -101 in a reading column, a name of blanks only, a
    // name kept with its blanks, ZeroForce 16 and 4, a TC full scale with the channel's decimals, FormatValue of
    // -101 and of -102.
    for (const auto &[k, text] : {std::pair{1, "2024/03/05 14:07:09"}, {2, "2024/03/05 13:07:09"}, {43, "-----"},
                                  {44, "-----"}, {43 + 13, "-----"}, {43 + 26, " CO "}, {43 + 26 + 7, "-----"}, {43 + 39 + 7, "4"},
                                  {138, "101000"}, {138 + 24 + 5, "25.0"}, {183, "1.25"}, {187, "5.5"},
                                  {358, "-----"}, {359, "NORMAL"}})
        EXPECT_EQ(f[k], QLatin1String(text)) << k;
}

// A cell built from a value the download could not read (or from the decimal places it is
// shown with) says so; every other cell stays as it was, and a value typed since is a value.
TEST_F(HistoryTest, CellsOfValuesNotReadSaySo)
{
    using SettingLines::Entry;
    using M = clsInstrument::M;
    clsInstrument read = VariedRecord(5);
    {
        clsInstrument::DeviceDoor door(read);
        read.setXV_(0, 3); // Station 3 selected, and shown as the Station ID; user 2 as the User ID
        read.setXV_(1, 2);
        read.setStationID(read.XS_(2));
        read.setUserID(read.XZ_(1));
        read.setLogoDisp(0);
    }
    QStringList labels;
    HistoryColumns(read, false, QDateTime(), &labels, nullptr);
    const auto at = [&](const char *label) { return int(labels.indexOf(QLatin1String(label))); };
    // 0-based: channel i's columns from 43 + 13i, port i's from 138 + 6i.
    std::set<int> decimals;
    for (int i = 0; i <= 6; ++i) {
        for (int k : {1, 2, 3, 4, 5, 8, 11, 12})
            decimals.insert(43 + 13 * i + k);
        decimals.insert({138 + 6 * i + 2, 138 + 6 * i + 3});
        if (i > 0 && read.GasType(i) == SensorType::ThermalConductivity)
            decimals.insert(138 + 6 * i + 5);
    }
    const auto logoName = [](clsInstrument &r) {
        clsInstrument::DeviceDoor door(r);
        r.setLogoDisp(4);
    };
    struct Case {
        const char *what;
        QVector<Entry> unread;
        std::set<int> cells;
        std::function<void(clsInstrument &)> also; // done to both records after the marks
    };
    const Case cases[] = {
        {"station 3", {{"XS", 2}}, {at("Station3"), at("Station ID")}, {}},
        {"user 3", {{"XZ", 2}}, {at("User3")}, {}},
        {"selection", {{"XV", -1}}, {at("Station ID"), at("User ID")}, {}},
        {"interval", {{"XP", -1}}, {at("Interval Trend Time (Sec)")}, {}},
        {"PID names 4", {{"LS", 4}}, {at("PH-Name4"), at("PH-Long Name4"), at("PL-Name4"), at("PL-Long Name4")}, {}},
        {"conversion count", {{"LN", -1}}, {at("Conversion Available Count")}, {}},
        {"decimal places", {{"GP", -1}}, decimals, {}},
        {"logo name, not shown as the logo", {{"BN", -1}}, {at("EDIT LOGO DISPLAY")}, {}},
        {"logo name shown as the logo", {{"BN", -1}}, {39, 137, 188}, logoName},
        {"station 3 typed since", {{"XS", 2}, {"XP", -1}}, {at("Interval Trend Time (Sec)")},
         [](clsInstrument &r) { r.setXS_(2, QStringLiteral("TYPED")); }},
    };
    for (const Case &c : cases) {
        clsInstrument plain = read;
        clsInstrument marked = read;
        for (const Entry &e : c.unread)
            SettingLines::markUnread(marked, e);
        if (c.also) {
            c.also(plain);
            c.also(marked);
        }
        const QStringList before = row(plain);
        for (bool write : {false, true}) {
            const QStringList after = row(marked, write);
            ASSERT_EQ(after.size(), kHistoryColumns) << c.what;
            std::set<int> changed;
            for (int k = 1; k < kHistoryColumns; ++k) {
                if (after[k] != before[k]) {
                    changed.insert(k);
                    EXPECT_EQ(after[k], QLatin1String(kHistoryNotRead)) << c.what << " " << k;
                }
            }
            EXPECT_EQ(changed, c.cells) << c.what;
        }
    }
}
