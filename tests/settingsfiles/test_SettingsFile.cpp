#include "SettingsChecks.h"

#include "core/Scrambler.h"
#include "model/modGasCommon.h"
#include "settingsfiles/SettingLines.h"
#include "settingsfiles/SettingsFile.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsFileTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QList<QByteArray> lines(const QString &name) const { return crlfLines(ReadTestFile(path(name))); }
    static QString unscramble(const QByteArray &line)
    {
        gScramble = -1;
        const QString s = DecodeText(QString::fromLatin1(line));
        gScramble = 0;
        return s;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SettingsFileTest, GeneratedRecordsRoundTripWithExactlyTheSetMembersFlagged)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const clsInstrument original = VariedRecord(seed);
        const bool scramble = seed % 4 == 0;
        const QString file = path(scramble ? "r.vkx" : "r.seq");
        const SettingsFileResult w = StoreConfig(original, file, scramble, Distribution::everything());
        ASSERT_TRUE(w.ok) << seed << ": " << w.error.toStdString();
        clsInstrument loaded;
        const SettingsFileResult r = LoadConfig(loaded, file, scramble);
        ASSERT_TRUE(r.ok) << seed << ": " << r.error.toStdString();
        const QStringList diff = carriedDifferences(original, loaded);
        EXPECT_TRUE(diff.isEmpty()) << "seed " << seed << ": " << diff.join(QLatin1String("; ")).toStdString();
        // Every line read is flagged, to be sent; what no line carries is not.
        for (const SettingLines::Entry &e : SettingLines::fileOrder())
            EXPECT_TRUE(SettingLines::isChanged(loaded, e)) << seed << " " << e.code.toStdString() << e.index;
        EXPECT_FALSE(loaded.flag(clsInstrument::F::Change_SerialNo) || loaded.flag(clsInstrument::F::Change_StationID) ||
                     loaded.flag(clsInstrument::F::Change_RP_, 2) || loaded.flag(clsInstrument::F::Change_SI_, 4));
        // A second store of the loaded record gives the same file.
        ASSERT_TRUE(StoreConfig(loaded, path("again"), scramble, Distribution::everything()).ok);
        EXPECT_EQ(ReadTestFile(file), ReadTestFile(path("again"))) << seed;
    }
}

TEST_F(SettingsFileTest, MaintenanceBlocksFollowTheSelection)
{
    const clsInstrument r = VariedRecord(7);
    struct Case {
        const char *name;
        Distribution d;
        int lines;
    };
    Distribution pidHigh, pidBoth, stations, none;
    pidHigh.pidHigh = true;
    pidBoth.pidHigh = pidBoth.pidLow = true;
    stations.station = true;
    for (const Case &c : {Case{"none", none, 0}, Case{"pidHigh", pidHigh, 34}, Case{"pidBoth", pidBoth, 68},
                          Case{"stations", stations, 128}, Case{"all", Distribution::everything(), 362}}) {
        ASSERT_TRUE(StoreConfig(r, path(c.name), true, c.d).ok) << c.name;
        EXPECT_EQ(gScramble, 0); // the choice is passed, the global left alone
        const QList<QByteArray> ls = lines(c.name);
        ASSERT_EQ(ls.size(), c.lines) << c.name;
        for (const QByteArray &l : ls)
            EXPECT_FALSE(l.contains(',')) << c.name; // every line scrambled
    }
    // The selection matters only to scrambled files; plain ones are readable text.
    ASSERT_TRUE(StoreConfig(r, path("m.seq"), false, none).ok);
    EXPECT_EQ(lines("m.seq").size(), 362);
    const QList<QByteArray> both = lines("pidBoth");
    ASSERT_GT(both.size(), 34);
    EXPECT_EQ(both[0], both[34]); // each LS line twice, identical
    for (const auto &[k, start] : {std::pair{0, "LS,W,00,"}, {17, "LI,W,00,"}, {51, "LJ,W,00,"}})
        EXPECT_TRUE(unscramble(both[k]).startsWith(QLatin1String(start))) << k;

    clsInstrument loaded;
    loaded.setXS_(4, QStringLiteral("OLD"));
    ASSERT_TRUE(LoadConfig(loaded, path("pidHigh"), true).ok);
    EXPECT_EQ(loaded.XS_(4), QString()); // cleared: not in the file
    for (int e = 0; e < 17; ++e) {
        EXPECT_EQ(loaded.PIDFullScale(e, 0), r.PIDFullScale(e, 0));
        EXPECT_TRUE(loaded.Change_PIDSpec(e, 0));
        EXPECT_FALSE(loaded.Change_PIDSpec(e, 1));
    }
    EXPECT_FALSE(loaded.Change_XS_(4));

    clsInstrument untouched = VariedRecord(3);
    EXPECT_FALSE(LoadConfig(untouched, path("none"), true).ok);
    EXPECT_TRUE(carriedDifferences(VariedRecord(3), untouched).isEmpty());
}

// Files the writer never wrote are refused, saying why, and change nothing.
TEST_F(SettingsFileTest, ForeignMismatchedAndOddFilesAreRefused)
{
    const clsInstrument r = VariedRecord(12);
    ASSERT_TRUE(StoreConfig(r, path("x.vkx"), true, Distribution::everything()).ok);
    ASSERT_TRUE(StoreConfig(r, path("x.seq"), false).ok);
    WriteTestFile(path("foreign.txt"), "hello world\r\nanother line\r\n");
    WriteTestFile(path("empty.seq"), "");
    QFile big(path("big.seq"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(qint64(64) << 20)); // sparse, far above any settings file
    big.close();
    struct Case {
        QString file;
        bool scrambled;
        const char *said;
    };
    const Case cases[] = {
        {path("x.vkx"), false, "no setting line"}, // scrambled read as plain
        {path("x.seq"), true, ""},                 // plain read as scrambled: line 1
        {path("foreign.txt"), false, ""},
        {path("empty.seq"), false, ""},
        {path("missing.seq"), false, ""},
        {path("big.seq"), false, "larger than"},
    };
    clsInstrument target = VariedRecord(2);
    const clsInstrument before = target;
    for (const Case &c : cases) {
        const SettingsFileResult res = LoadConfig(target, c.file, c.scrambled);
        EXPECT_FALSE(res.ok) << c.file.toStdString();
        EXPECT_TRUE(res.error.contains(QLatin1String(c.said))) << res.error.toStdString();
        EXPECT_TRUE(!c.scrambled || res.line == 1) << res.line; // plain read as scrambled: line 1
    }
    EXPECT_TRUE(carriedDifferences(before, target).isEmpty());
}

TEST_F(SettingsFileTest, ReaderAcceptsAnyLineEndBlankAndCommentLines)
{
    clsInstrument r = VariedRecord(21);
    ASSERT_TRUE(StoreConfig(r, path("e.seq"), false).ok);
    QList<QByteArray> ls = lines("e.seq");
    // Another writer's name holding ",": the rest of the padded name, joined back.
    ls[33] = "XS,W,02,TANK 3, NORTH   ,";
    r.setXS_(1, QStringLiteral("TANK 3, NORTH"));
    for (const QByteArray &end : {QByteArray("\n"), QByteArray("\r")}) {
        QByteArray bytes;
        for (int k = 0; k < ls.size(); ++k) {
            if (k == 100)
                bytes += end + "; written by hand" + end;
            bytes += ls[k] + (k + 1 < ls.size() || end == "\n" ? end : QByteArray()); // last: whole, no end
        }
        WriteTestFile(path("e2.seq"), bytes);
        clsInstrument loaded;
        const SettingsFileResult res = LoadConfig(loaded, path("e2.seq"), false);
        ASSERT_TRUE(res.ok) << res.error.toStdString();
        EXPECT_TRUE(carriedDifferences(r, loaded).isEmpty());
    }
}

// A line the writer refuses, a missing folder, a folder in the way of the rename, or a file
// system that fails (a file-size limit in a child process, as on a full disk): the export
// says why and the previous file stays whole.
TEST_F(SettingsFileTest, FailedExportKeepsThePreviousFile)
{
    const clsInstrument good = VariedRecord(1);
    ASSERT_TRUE(StoreConfig(good, path("full.seq"), false).ok);
    const QByteArray old = ReadTestFile(path("full.seq"));
    ASSERT_GT(old.size(), 8192);
    clsInstrument bad = good;
    bad.setXS_(9, QStringLiteral("North; East"));
    SettingsFileResult res = StoreConfig(bad, path("full.seq"), false);
    EXPECT_FALSE(res.ok);
    EXPECT_TRUE(res.error.contains(QLatin1String("North; East"))) << res.error.toStdString();
    EXPECT_FALSE(StoreConfig(good, path("no/such/folder/k.seq"), false).ok);
    ASSERT_TRUE(QDir().mkpath(path("taken/x")));
    EXPECT_FALSE(StoreConfig(good, path("taken"), false).ok);
    const QString said = RunInChild(
        [&] {
            const SettingsFileResult r = StoreConfig(VariedRecord(2), path("full.seq"), false);
            return r.ok ? QStringLiteral("ok") : r.error;
        },
        8192);
    EXPECT_TRUE(said.endsWith(QString::fromLocal8Bit(strerror(EFBIG)))) << said.toStdString();
    EXPECT_EQ(ReadTestFile(path("full.seq")), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"full.seq"});
}

// A damaged file, or one that lacks lines of a block it holds, is refused, naming its line or
// what is missing, and changes nothing: an import never sends what the file did not carry.
TEST_F(SettingsFileTest, DamagedOrCutShortFileIsRefusedNamingWhatIsWrong)
{
    const clsInstrument r = VariedRecord(8);
    ASSERT_TRUE(StoreConfig(r, path("whole.seq"), false).ok);
    const QByteArray whole = ReadTestFile(path("whole.seq"));
    const QList<QByteArray> ls = crlfLines(whole);
    clsInstrument target = VariedRecord(4);
    target.setAlarmMode(1); // a user edit, flagged
    const clsInstrument before = target;

    SettingsFileResult res;

    // Lines the writer could not have written; a cut or foreign start.
    QList<QByteArray> semicolon = ls;
    semicolon[9] = "XZ,W,0A,ANN; BOB        ,"; // never cut short at the ";"
    QList<QByteArray> shortLast = ls;           // a short form last, without line end: maybe cut
    const auto gn = std::find_if(ls.begin(), ls.end(), [](const QByteArray &l) { return l.startsWith("GN,W,"); });
    shortLast.move(gn - ls.begin(), shortLast.size() - 1);
    shortLast.last() = shortLast.last().left(shortLast.last().lastIndexOf(',', shortLast.last().size() - 2) + 1);
    QList<QByteArray> damaged = ls, noComma = ls, twice = ls;
    damaged[320] = "A1,W,0001,0002,XYZ,0004,0005,0006,0007,";
    noComma[50].chop(1);
    twice.insert(41, ls[40]);
    const struct {
        QByteArray bytes;
        int line;
        const char *said;
    } bad[] = {
        {damaged.join("\r\n") + "\r\n", 321, "Line 321"},
        {whole.left(whole.size() - 5), 362, "fields"}, // in the middle of the last line
        {semicolon.join("\r\n") + "\r\n", 10, "\";\" inside the line"},
        {shortLast.join("\r\n"), 362, "middle of this line"},
        {"\xEF\xBB\xBF" + whole, 0, "UTF-8 byte-order mark"},
        {noComma.join("\r\n") + "\r\n", 51, "does not end with"},
        {twice.join("\r\n") + "\r\n", 42, "appears again"},
    };
    for (const auto &b : bad) {
        WriteTestFile(path("bad.seq"), b.bytes);
        res = LoadConfig(target, path("bad.seq"), false);
        EXPECT_FALSE(res.ok);
        EXPECT_EQ(res.line, b.line) << res.error.toStdString();
        EXPECT_TRUE(res.error.contains(QLatin1String(b.said))) << res.error.toStdString();
    }
    EXPECT_EQ(res.lineText, QString::fromLatin1(twice[41]));
    EXPECT_TRUE(target.Change_AlarmMode());

    QList<QByteArray> dropped = ls; // one line gone from the middle
    dropped.removeAt(40);
    WriteTestFile(path("gap.seq"), dropped.join("\r\n") + "\r\n");
    res = LoadConfig(target, path("gap.seq"), false);
    EXPECT_FALSE(res.ok);
    EXPECT_TRUE(res.error.endsWith(QLatin1String("lacks XS 9"))) << res.error.toStdString();
    // Cut at a line boundary: what is missing is named by runs of entries, one group a code.
    WriteTestFile(path("cut.seq"), ls.mid(0, 266).join("\r\n") + "\r\n");
    res = LoadConfig(target, path("cut.seq"), false);
    EXPECT_FALSE(res.ok);
    EXPECT_TRUE(res.error.contains(QLatin1String("lacks LS 1-16, LJ 0-16, XV, OC,"))) << res.error.toStdString();
    EXPECT_TRUE(carriedDifferences(before, target).isEmpty());

    // A maintenance file holds whole blocks of what it chose: a PID block cut short is refused.
    Distribution pidHigh;
    pidHigh.pidHigh = true;
    ASSERT_TRUE(StoreConfig(r, path("p.vkx"), true, pidHigh).ok);
    const QList<QByteArray> vl = crlfLines(ReadTestFile(path("p.vkx")));
    WriteTestFile(path("p.vkx"), vl.mid(0, 30).join("\r\n") + "\r\n");
    res = LoadConfig(target, path("p.vkx"), true);
    EXPECT_FALSE(res.ok);
    EXPECT_TRUE(res.error.contains(QLatin1String("LJ 13-16"))) << res.error.toStdString();
    // The PID names alone are no PID block: the rest of one is lacking, beside stations too.
    Distribution stations;
    stations.station = true;
    ASSERT_TRUE(StoreConfig(r, path("s.vkx"), true, stations).ok);
    const QList<QByteArray> sl = crlfLines(ReadTestFile(path("s.vkx")));
    for (const QList<QByteArray> &held : {vl.mid(0, 17), sl + vl.mid(0, 1)}) {
        WriteTestFile(path("names.vkx"), held.join("\r\n") + "\r\n");
        res = LoadConfig(target, path("names.vkx"), true);
        EXPECT_FALSE(res.ok) << held.size();
        EXPECT_TRUE(res.error.contains(QLatin1String("lacks"))) << res.error.toStdString();
    }
    EXPECT_TRUE(carriedDifferences(before, target).isEmpty());
}

// A load keeps what ClearDatas keeps, and the support flags, which describe the instrument,
// not the file; a line in its short form still marks its group refused.
TEST_F(SettingsFileTest, LoadKeepsTheInstrumentsOwnMembers)
{
    ASSERT_TRUE(StoreConfig(VariedRecord(9), path("s.seq"), false).ok);
    using M = clsInstrument::M;
    const M support[] = {M::invalidWB,  M::invalidFL_, M::invalidGN, M::invalidLP, M::invalidHE_,
                         M::invalidFF,  M::invalidLO_, M::invalidLB_, M::invalidLA_, M::invalidLI,
                         M::invalidLJ,  M::invalidG1,  M::InvalidIF};
    for (const bool refused : {true, false}) {
        clsInstrument target;
        target.setCommFlags(-1);
        target.setSerialNo(QStringLiteral("SN123"));
        for (const M m : support)
            ASSERT_TRUE(target.setValue(m, refused));
        ASSERT_TRUE(LoadConfig(target, path("s.seq"), false).ok);
        for (const M m : support)
            EXPECT_EQ(target.value(m).toBool(), refused) << clsInstrument::info(m).name;
        EXPECT_EQ(target.CommFlags(), -1);
        EXPECT_TRUE(target.SerialNo().trimmed().isEmpty() && gScramble == 0); // cleared
        // Derived catalytic channels come from the cleared record, as before the lines.
        EXPECT_TRUE(target.GasPoint(8) == kCatVolPoint && target.GasPoint(9) == kInertPoint);
    }

    QList<QByteArray> ls = crlfLines(ReadTestFile(path("s.seq")));
    for (QByteArray &l : ls)
        if (l.startsWith("GN,W,"))
            l = l.left(l.lastIndexOf(',', l.size() - 2) + 1); // the short form, TCOther left out
    WriteTestFile(path("short.seq"), ls.join("\r\n") + "\r\n");
    clsInstrument fresh;
    fresh.setInvalidIF(false);
    ASSERT_TRUE(LoadConfig(fresh, path("short.seq"), false).ok);
    EXPECT_TRUE(fresh.invalidGN() && !fresh.InvalidIF());
}

// A file's names lose the blanks in front and its PID short names come in upper case, as the
// reader always had it; only a download keeps a name as the instrument holds it.
TEST_F(SettingsFileTest, FileNamesAreTrimmedAndPidShortNamesUpperCased)
{
    ASSERT_TRUE(StoreConfig(VariedRecord(9), path("s.seq"), false).ok);
    QList<QByteArray> ls = lines("s.seq");
    const struct {
        const char *start;
        const char *line;
    } edits[] = {{"XS,W,02,", "XS,W,02,   NORTH TANK,"},
                 {"XZ,W,01,", "XZ,W,01, ALICE  ,"},
                 {"LO,W,2,", "LO,W,2,  Long name, ab,0A,"},
                 {"LS,W,03,", "LS,W,03,  Isobutylene,ibu,"}};
    for (const auto &e : edits) {
        int found = 0; // the PID names stand in both ranges' blocks
        for (QByteArray &l : ls) {
            if (l.startsWith(e.start)) {
                l = e.line;
                ++found;
            }
        }
        ASSERT_GT(found, 0) << e.start;
    }
    WriteTestFile(path("s.seq"), ls.join("\r\n") + "\r\n");
    clsInstrument loaded;
    const SettingsFileResult res = LoadConfig(loaded, path("s.seq"), false);
    ASSERT_TRUE(res.ok) << res.error.toStdString();
    EXPECT_EQ(loaded.XS_(1), QStringLiteral("NORTH TANK"));
    EXPECT_EQ(loaded.XZ_(0), QStringLiteral("ALICE"));
    EXPECT_EQ(loaded.LO_longname(2), QStringLiteral("Long name"));
    EXPECT_EQ(loaded.LO_name(2), QStringLiteral("ab")) << "only PID short names are upper-cased";
    EXPECT_EQ(loaded.PIDLongName(3), QStringLiteral("Isobutylene"));
    EXPECT_EQ(loaded.PIDName(3), QStringLiteral("IBU"));
}


// The files carry printable ASCII, as the instrument line does: a name holding a byte above
// "~" is refused where it enters, naming its line, plain or scrambled, and is never written.
TEST_F(SettingsFileTest, NamesHoldOnlyWhatTheInstrumentLineCarries)
{
    clsInstrument r = VariedRecord(5);
    r.setXS_(4, QStringLiteral("AEB"));
    r.setXZ_(0, QStringLiteral("ALICE"));
    r.setLO_longname(2, QStringLiteral("LONG"));
    r.setLB_name(29, QStringLiteral("LB"));
    r.setPIDLongName(16, QStringLiteral("LONG"));
    r.setGasName(0, QStringLiteral("CO"));
    r.setG1_(5, QStringLiteral("LONG"));
    r.setBNuserLogoName(QStringLiteral("LOGO"));
    r.setPassword(QStringLiteral("1234"));
    ASSERT_TRUE(StoreConfig(r, path("good.seq"), false).ok);
    const QList<QByteArray> ls = lines("good.seq");
    clsInstrument target = VariedRecord(2);
    const clsInstrument before = target;
    // The first character of one text field of each kind becomes an É (0xC9).
    const struct {
        const char *start;
        int at; // characters after the start
    } cases[] = {{"XS,W,05,", 0}, {"XZ,W,01,", 0}, {"LO,W,2,", 0}, {"LB,W,1D,", 21}, {"LS,W,10,", 0},
                 {"GN,W,", 0},    {"G1,W,5,", 0},  {"BN,W,", 0},   {"AQ,W,", 0}};
    for (const auto &c : cases) {
        const auto it = std::find_if(ls.begin(), ls.end(), [&](const QByteArray &l) { return l.startsWith(c.start); });
        ASSERT_NE(it, ls.end()) << c.start;
        const int k = int(it - ls.begin());
        QList<QByteArray> bad = ls;
        bad[k][qsizetype(qstrlen(c.start)) + c.at] = '\xC9';
        WriteTestFile(path("bad.seq"), bad.join("\r\n") + "\r\n");
        const SettingsFileResult res = LoadConfig(target, path("bad.seq"), false);
        EXPECT_FALSE(res.ok) << c.start;
        EXPECT_EQ(res.line, k + 1) << c.start;
        EXPECT_TRUE(res.error.contains(QStringLiteral("Line %1 ").arg(k + 1)) && res.error.contains(QLatin1String("(0xC9)")))
            << res.error.toStdString();
    }
    // A maintenance file is read by the same rule, each line unscrambled first.
    Distribution stations;
    stations.station = true;
    ASSERT_TRUE(StoreConfig(r, path("s.vkx"), true, stations).ok);
    QList<QByteArray> vl = crlfLines(ReadTestFile(path("s.vkx")));
    QString plain = unscramble(vl[4]);
    ASSERT_TRUE(plain.startsWith(QLatin1String("XS,W,05,AEB")));
    plain[9] = QChar(0xC9);
    bool ok = false;
    vl[4] = EncodeText(plain, true, &ok).toLatin1();
    ASSERT_TRUE(ok);
    WriteTestFile(path("s.vkx"), vl.join("\r\n") + "\r\n");
    SettingsFileResult res = LoadConfig(target, path("s.vkx"), true);
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.line, 5) << res.error.toStdString();
    EXPECT_TRUE(carriedDifferences(before, target).isEmpty());

    // The writer refuses what its reader would: every byte from DEL up, and the old file stays.
    const QByteArray old = ReadTestFile(path("good.seq"));
    for (int b = 0x7F; b <= 0xFF; ++b) {
        r.setXS_(4, QStringLiteral("A") + QChar(b) + QStringLiteral("B"));
        res = StoreConfig(r, path("good.seq"), false);
        ASSERT_FALSE(res.ok) << b;
        EXPECT_TRUE(res.error.contains(QLatin1String("XS 05"))) << res.error.toStdString();
    }
    EXPECT_TRUE(res.error.contains(QString::fromLatin1("\"\xFF\" (0xFF)"))) << res.error.toStdString();
    EXPECT_EQ(ReadTestFile(path("good.seq")), old);
    // Blank to "~" all go and come back (but the two that split a line).
    for (int b = 0x20; b <= 0x7E; ++b) {
        if (b == ',' || b == ';')
            continue;
        const QString name = QStringLiteral("A") + QChar(b) + QStringLiteral("B");
        r.setXS_(4, name);
        const SettingLines::LineText t = SettingLines::lineText(r, SettingLines::Entry{QStringLiteral("XS"), 4});
        ASSERT_TRUE(t.ok) << b;
        ASSERT_TRUE(SettingLines::parseLine(target, t.text, SettingLines::Door::User).ok()) << b;
        EXPECT_EQ(target.XS_(4), name);
    }
}

// A store holding lines a download could not read is refused, naming them, then what can be
// done: download again, and type them where every one of them can be typed (the lists only
// in Detail Settings); a line holding a cell the grids lock leaves only the download.
TEST_F(SettingsFileTest, UnreadLinesAreRefusedSayingWhatCanBeDone)
{
    using SettingLines::Entry;
    const struct {
        QVector<Entry> unread;
        const char *said;
    } cases[] = {
        {{{"XZ", 2}, {"XS", 2}}, "User 3 (XZ 03), Station 3 (XS 03) could not be read from the instrument; "
                                 "download again, or type them in Detail Settings first"},
        {{{"LS", 16}}, "PID Sensor 17 names (LS 10) could not be read from the instrument; "
                       "download again, or type it in Detail Settings first"},
        {{{"LS", 15}}, "PID Sensor 16 names (LS 0F) could not be read from the instrument; download again"},
        {{{"XS", 0}, {"LA", 29}}, "Station 1 (XS 01), Pre-Defined Conversion 30 alarm levels (LA 1D) could not be "
                                  "read from the instrument; download again"},
        {{{"LA", 30}}, "User Defined Conversion 1 alarm levels (LA 1E) could not be read from the instrument; "
                       "download again, or type it in Detail Settings first"},
        {{{"XP", -1}}, "Interval Trend Time (XP) could not be read from the instrument; download again, or type it first"},
        {{{"LI", 0}}, "PID Sensor 1 Low Range (LI 00) could not be read from the instrument; download again"},
    };
    for (const auto &c : cases) {
        clsInstrument r = VariedRecord(5);
        for (const Entry &e : c.unread)
            SettingLines::markUnread(r, e);
        const SettingsFileResult stored = StoreConfig(r, path("u.seq"), false);
        EXPECT_EQ(stored.error, QStringLiteral("The settings cannot be written: ") + QLatin1String(c.said));
        EXPECT_FALSE(QFile::exists(path("u.seq")));
    }
    // A maintenance-data file is refused only for the blocks it holds.
    clsInstrument r = VariedRecord(5);
    SettingLines::markUnread(r, Entry{"LS", 2});
    Distribution stations;
    stations.station = true;
    EXPECT_TRUE(StoreConfig(r, path("s.vkx"), true, stations).ok);
    stations.pidLow = true;
    EXPECT_EQ(StoreConfig(r, path("p.vkx"), true, stations).error,
              QStringLiteral("The settings cannot be written: PID Sensor 3 names (LS 02) could not be read from the "
                             "instrument; download again"));
}
