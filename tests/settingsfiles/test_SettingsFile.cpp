#include "SettingsChecks.h"

#include "core/Scrambler.h"
#include "model/modGasCommon.h"
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
    QList<QByteArray> lines(const QString &name) const { return crlfLines(readFile(path(name))); }
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
        const QStringList flags = flagDifferences(loaded);
        EXPECT_TRUE(flags.isEmpty()) << "seed " << seed << ": " << flags.join(QLatin1String("; ")).toStdString();
        // A second store of the loaded record gives the same file.
        ASSERT_TRUE(StoreConfig(loaded, path("again"), scramble, Distribution::everything()).ok);
        EXPECT_EQ(readFile(file), readFile(path("again"))) << seed;
    }
}

TEST_F(SettingsFileTest, ClearedRecordExportsAndReadsBackWithTheDocumentedDifferencesOnly)
{
    clsInstrument original;
    original.ClearDatas();
    ASSERT_TRUE(StoreConfig(original, path("c.seq"), false).ok);
    EXPECT_EQ(lines("c.seq").size(), 362);
    clsInstrument loaded;
    ASSERT_TRUE(LoadConfig(loaded, path("c.seq"), false).ok);
    // Only what the reader itself rules or what an empty member encodes as may differ: GJ keeps
    // padded names, no unit is "vol%", HE_(2) below 30 becomes 170, CurrHc follows the mode,
    // no interval is 5 s, the logo name is 20 blanks.
    const QStringList mayDiffer = {"GasName", "GasUnit", "PIDUnit", "CurrHc", "HE_", "Intervals", "BNuserLogoName"};
    const QStringList diff = carriedDifferences(original, loaded);
    EXPECT_EQ(diff.size(), 7 * 2 + 17 * 2 + 4) << diff.join(QLatin1String("; ")).toStdString();
    for (const QString &d : diff)
        EXPECT_TRUE(mayDiffer.contains(d.section(QLatin1Char('('), 0, 0))) << d.toStdString();
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
        ASSERT_TRUE(StoreConfig(r, path("m.vkx"), true, c.d).ok) << c.name;
        EXPECT_EQ(gScramble, 0); // the choice is passed, the global left alone
        const QList<QByteArray> ls = lines("m.vkx");
        ASSERT_EQ(ls.size(), c.lines) << c.name;
        for (const QByteArray &l : ls)
            EXPECT_FALSE(l.contains(',')) << c.name; // every line scrambled
    }
    // The selection matters only to scrambled files; plain ones are readable text.
    ASSERT_TRUE(StoreConfig(r, path("m.seq"), false, none).ok);
    const QList<QByteArray> plain = lines("m.seq");
    ASSERT_EQ(plain.size(), 362);
    EXPECT_TRUE(plain[0].startsWith("XZ,W,01,")) << plain[0].toStdString();

    ASSERT_TRUE(StoreConfig(r, path("h.vkx"), true, pidHigh).ok);
    const QList<QByteArray> ls = lines("h.vkx");
    ASSERT_GT(ls.size(), 17);
    EXPECT_TRUE(unscramble(ls[0]).startsWith(QLatin1String("LS,W,00,")));
    EXPECT_TRUE(unscramble(ls[17]).startsWith(QLatin1String("LJ,W,00,")));
    ASSERT_TRUE(StoreConfig(r, path("b.vkx"), true, pidBoth).ok);
    const QList<QByteArray> both = lines("b.vkx");
    ASSERT_GT(both.size(), 34);
    EXPECT_EQ(both[0], both[34]); // each LS line twice, identical
    EXPECT_TRUE(unscramble(both[17]).startsWith(QLatin1String("LI,W,00,")));

    clsInstrument loaded;
    loaded.setXS_(4, QStringLiteral("OLD"));
    ASSERT_TRUE(LoadConfig(loaded, path("h.vkx"), true).ok);
    EXPECT_EQ(loaded.XS_(4), QString()); // cleared: not in the file
    for (int e = 0; e < 17; ++e) {
        EXPECT_EQ(loaded.PIDFullScale(e, 0), r.PIDFullScale(e, 0));
        EXPECT_TRUE(loaded.Change_PIDSpec(e, 0));
        EXPECT_FALSE(loaded.Change_PIDSpec(e, 1));
    }
    EXPECT_FALSE(loaded.Change_XS_(4));

    clsInstrument untouched = VariedRecord(3);
    ASSERT_TRUE(StoreConfig(r, path("n.vkx"), true, none).ok);
    const SettingsFileResult noLines = LoadConfig(untouched, path("n.vkx"), true);
    EXPECT_FALSE(noLines.ok);
    EXPECT_TRUE(carriedDifferences(VariedRecord(3), untouched).isEmpty());
}

// Files the writer never wrote are refused, saying why, and change nothing.
TEST_F(SettingsFileTest, ForeignMismatchedAndOddFilesAreRefused)
{
    const clsInstrument r = VariedRecord(12);
    ASSERT_TRUE(StoreConfig(r, path("x.vkx"), true, Distribution::everything()).ok);
    ASSERT_TRUE(StoreConfig(r, path("x.seq"), false).ok);
    writeFile(path("foreign.txt"), "hello world\r\nanother line\r\n");
    writeFile(path("empty.seq"), "");
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
        {QStringLiteral("/dev/zero"), false, "not a regular file"},
        {m_dir.path(), false, ""},
        {path("big.seq"), false, "larger than"},
    };
    clsInstrument target = VariedRecord(2);
    const clsInstrument before = target;
    for (const Case &c : cases) {
        const SettingsFileResult res = LoadConfig(target, c.file, c.scrambled);
        EXPECT_FALSE(res.ok) << c.file.toStdString();
        EXPECT_TRUE(res.error.contains(QLatin1String(c.said))) << res.error.toStdString();
        if (c.scrambled) {
            EXPECT_EQ(res.line, 1);
        }
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
        writeFile(path("e2.seq"), bytes);
        clsInstrument loaded;
        const SettingsFileResult res = LoadConfig(loaded, path("e2.seq"), false);
        ASSERT_TRUE(res.ok) << res.error.toStdString();
        EXPECT_TRUE(carriedDifferences(r, loaded).isEmpty());
    }
}

TEST_F(SettingsFileTest, WriterRefusalLeavesTheOldFile)
{
    const clsInstrument good = VariedRecord(30);
    ASSERT_TRUE(StoreConfig(good, path("k.seq"), false).ok);
    const QByteArray old = readFile(path("k.seq"));
    clsInstrument bad = good;
    bad.setXS_(9, QStringLiteral("North; East"));
    const SettingsFileResult res = StoreConfig(bad, path("k.seq"), false);
    EXPECT_FALSE(res.ok);
    EXPECT_TRUE(res.error.contains(QLatin1String("North; East"))) << res.error.toStdString();
    EXPECT_EQ(readFile(path("k.seq")), old);
    EXPECT_FALSE(StoreConfig(good, path("no/such/folder/k.seq"), false).ok);
}

// An export that fails at the file system (a file-size limit in a child process, as on a
// full disk) says why and leaves the previous file whole.
TEST_F(SettingsFileTest, FailedExportKeepsThePreviousFile)
{
    ASSERT_TRUE(StoreConfig(VariedRecord(1), path("full.seq"), false).ok);
    const QByteArray old = readFile(path("full.seq"));
    ASSERT_GT(old.size(), 8192);
    const QString said = RunInChild(
        [&] {
            const SettingsFileResult r = StoreConfig(VariedRecord(2), path("full.seq"), false);
            return r.ok ? QStringLiteral("ok") : r.error;
        },
        8192);
    EXPECT_TRUE(said.endsWith(QString::fromLocal8Bit(strerror(EFBIG)))) << said.toStdString();
    EXPECT_EQ(readFile(path("full.seq")), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"full.seq"});
}

// A damaged file, or one that lacks lines of a block it holds, is refused, naming its line or
// what is missing, and changes nothing: an import never sends what the file did not carry.
TEST_F(SettingsFileTest, DamagedOrCutShortFileIsRefusedNamingWhatIsWrong)
{
    const clsInstrument r = VariedRecord(8);
    ASSERT_TRUE(StoreConfig(r, path("whole.seq"), false).ok);
    const QByteArray whole = readFile(path("whole.seq"));
    const QList<QByteArray> ls = crlfLines(whole);
    clsInstrument target = VariedRecord(4);
    target.setAlarmMode(1); // a user edit, flagged
    const clsInstrument before = target;

    QList<QByteArray> damaged = ls;
    damaged[320] = "A1,W,0001,0002,XYZ,0004,0005,0006,0007,";
    writeFile(path("d.seq"), damaged.join("\r\n") + "\r\n");
    SettingsFileResult res = LoadConfig(target, path("d.seq"), false);
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.line, 321);
    EXPECT_EQ(res.lineText, QString::fromLatin1(damaged[320]));
    EXPECT_TRUE(res.error.contains(QLatin1String("321"))) << res.error.toStdString();
    EXPECT_TRUE(target.Change_AlarmMode());
    EXPECT_FALSE(target.Change_Warn(0));

    writeFile(path("cut.seq"), ls.mid(0, 266).join("\r\n") + "\r\n"); // at a line boundary
    res = LoadConfig(target, path("cut.seq"), false);
    EXPECT_FALSE(res.ok);
    EXPECT_TRUE(res.error.contains(QLatin1String("lacks LS 1-16, LJ 0-16, XV, OC,"))) << res.error.toStdString();

    // Lines the writer could not have written; a cut or foreign start.
    QList<QByteArray> semicolon = ls;
    semicolon[9] = "XZ,W,0A,ANN; BOB        ,"; // never cut short at the ";"
    QList<QByteArray> shortLast = ls;           // a short form last, without line end: maybe cut
    const auto gn = std::find_if(ls.begin(), ls.end(), [](const QByteArray &l) { return l.startsWith("GN,W,"); });
    shortLast.move(gn - ls.begin(), shortLast.size() - 1);
    shortLast.last() = shortLast.last().left(shortLast.last().lastIndexOf(',', shortLast.last().size() - 2) + 1);
    const struct {
        QByteArray bytes;
        int line;
        const char *said;
    } bad[] = {
        {whole.left(whole.size() - 5), 362, "fields"}, // in the middle of the last line
        {semicolon.join("\r\n") + "\r\n", 10, "\";\" inside the line"},
        {shortLast.join("\r\n"), 362, "middle of this line"},
        {"\xEF\xBB\xBF" + whole, 0, "UTF-8 byte-order mark"},
    };
    for (const auto &b : bad) {
        writeFile(path("bad.seq"), b.bytes);
        res = LoadConfig(target, path("bad.seq"), false);
        EXPECT_FALSE(res.ok);
        EXPECT_EQ(res.line, b.line) << res.error.toStdString();
        EXPECT_TRUE(res.error.contains(QLatin1String(b.said))) << res.error.toStdString();
    }

    QList<QByteArray> dropped = ls; // one line gone from the middle
    dropped.removeAt(40);
    writeFile(path("gap.seq"), dropped.join("\r\n") + "\r\n");
    res = LoadConfig(target, path("gap.seq"), false);
    EXPECT_FALSE(res.ok);
    EXPECT_TRUE(res.error.endsWith(QLatin1String("lacks XS 9"))) << res.error.toStdString();
    EXPECT_TRUE(carriedDifferences(before, target).isEmpty());

    // A maintenance file holds whole blocks of what it chose: a PID block cut short is refused.
    Distribution pidHigh;
    pidHigh.pidHigh = true;
    ASSERT_TRUE(StoreConfig(r, path("p.vkx"), true, pidHigh).ok);
    const QList<QByteArray> vl = crlfLines(readFile(path("p.vkx")));
    writeFile(path("p.vkx"), vl.mid(0, 30).join("\r\n") + "\r\n");
    res = LoadConfig(target, path("p.vkx"), true);
    EXPECT_FALSE(res.ok);
    EXPECT_TRUE(res.error.contains(QLatin1String("LJ 13-16"))) << res.error.toStdString();
}

// A load keeps what ClearDatas keeps, and the support flags, which describe the instrument,
// not the file; a line in its short form still marks its group refused.
TEST_F(SettingsFileTest, LoadKeepsTheInstrumentsOwnMembers)
{
    ASSERT_TRUE(StoreConfig(VariedRecord(9), path("s.seq"), false).ok);
    clsInstrument target;
    target.setCommFlags(-1);
    target.setImportFlag(0);
    target.setSerialNo(QStringLiteral("SN123"));
    target.setInvalidWB(true);
    target.setInvalidFL_(true);
    target.setInvalidLJ(true);
    target.setInvalidIF(true);
    ASSERT_TRUE(LoadConfig(target, path("s.seq"), false).ok);
    EXPECT_TRUE(target.invalidWB());
    EXPECT_TRUE(target.invalidFL_());
    EXPECT_TRUE(target.invalidLJ());
    EXPECT_TRUE(target.InvalidIF());
    EXPECT_FALSE(target.invalidGN());
    EXPECT_EQ(target.CommFlags(), -1);
    EXPECT_EQ(target.SerialNo().trimmed(), QString()); // cleared
    EXPECT_EQ(gScramble, 0);
    // Derived catalytic channels come from the cleared record, as before the lines.
    EXPECT_EQ(target.GasPoint(8), kCatVolPoint);
    EXPECT_EQ(target.GasPoint(9), kInertPoint);

    QList<QByteArray> ls = crlfLines(readFile(path("s.seq")));
    for (QByteArray &l : ls)
        if (l.startsWith("GN,W,"))
            l = l.left(l.lastIndexOf(',', l.size() - 2) + 1); // the short form, TCOther left out
    writeFile(path("short.seq"), ls.join("\r\n") + "\r\n");
    clsInstrument fresh;
    fresh.setInvalidIF(false);
    ASSERT_TRUE(LoadConfig(fresh, path("short.seq"), false).ok);
    EXPECT_TRUE(fresh.invalidGN());
    EXPECT_FALSE(fresh.InvalidIF());
}

