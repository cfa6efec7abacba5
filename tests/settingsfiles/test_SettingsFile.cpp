#include "RecordMaker.h"

#include "core/Scrambler.h"
#include "model/modGasCommon.h"
#include "settingsfiles/SettingsFile.h"

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
        const clsInstrument original = makeRecord(seed);
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
    // the IF line marks inert gas as supported, no interval is 5 s, the logo name is 20 blanks.
    const QStringList mayDiffer = {"GasName", "GasUnit", "PIDUnit", "InvalidIF", "CurrHc", "HE_",
                                   "Intervals", "BNuserLogoName"};
    const QStringList diff = carriedDifferences(original, loaded);
    EXPECT_EQ(diff.size(), 7 * 2 + 17 * 2 + 5) << diff.join(QLatin1String("; ")).toStdString();
    for (const QString &d : diff)
        EXPECT_TRUE(mayDiffer.contains(d.section(QLatin1Char('('), 0, 0))) << d.toStdString();
}

TEST_F(SettingsFileTest, MaintenanceBlocksFollowTheSelection)
{
    const clsInstrument r = makeRecord(7);
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
        EXPECT_EQ(gScramble, -1);
        const QList<QByteArray> ls = lines("m.vkx");
        ASSERT_EQ(ls.size(), c.lines) << c.name;
        for (const QByteArray &l : ls)
            EXPECT_FALSE(l.contains(',')) << c.name; // every line scrambled
        // The selection matters only to scrambled files; plain ones are readable text.
        ASSERT_TRUE(StoreConfig(r, path("m.seq"), false, c.d).ok);
        EXPECT_EQ(gScramble, 0);
        const QList<QByteArray> plain = lines("m.seq");
        ASSERT_EQ(plain.size(), 362);
        EXPECT_TRUE(plain[0].startsWith("XZ,W,01,")) << plain[0].toStdString();
    }

    ASSERT_TRUE(StoreConfig(r, path("h.vkx"), true, pidHigh).ok);
    const QList<QByteArray> ls = lines("h.vkx");
    EXPECT_TRUE(unscramble(ls[0]).startsWith(QLatin1String("LS,W,00,")));
    EXPECT_TRUE(unscramble(ls[17]).startsWith(QLatin1String("LJ,W,00,")));
    ASSERT_TRUE(StoreConfig(r, path("b.vkx"), true, pidBoth).ok);
    const QList<QByteArray> both = lines("b.vkx");
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

    clsInstrument untouched = makeRecord(3);
    ASSERT_TRUE(StoreConfig(r, path("n.vkx"), true, none).ok);
    const SettingsFileResult noLines = LoadConfig(untouched, path("n.vkx"), true);
    EXPECT_FALSE(noLines.ok);
    EXPECT_TRUE(carriedDifferences(makeRecord(3), untouched).isEmpty());
}

TEST_F(SettingsFileTest, DamagedFileChangesNothingAndNamesItsLine)
{
    const clsInstrument r = makeRecord(11);
    ASSERT_TRUE(StoreConfig(r, path("d.seq"), false).ok);
    QList<QByteArray> ls = lines("d.seq");
    ls[320] = "A1,W,0001,0002,XYZ,0004,0005,0006,0007,";
    writeFile(path("d.seq"), ls.join("\r\n") + "\r\n");

    clsInstrument target = makeRecord(5);
    target.setAlarmMode(1); // a user edit, flagged
    const clsInstrument before = target;
    const SettingsFileResult res = LoadConfig(target, path("d.seq"), false);
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.line, 321);
    EXPECT_EQ(res.lineText, QStringLiteral("A1,W,0001,0002,XYZ,0004,0005,0006,0007,"));
    EXPECT_TRUE(res.error.contains(QLatin1String("321"))) << res.error.toStdString();
    EXPECT_TRUE(carriedDifferences(before, target).isEmpty());
    EXPECT_TRUE(target.Change_AlarmMode());
    EXPECT_FALSE(target.Change_Warn(0));
}

TEST_F(SettingsFileTest, ForeignAndMismatchedFilesAreRefused)
{
    const clsInstrument r = makeRecord(12);
    ASSERT_TRUE(StoreConfig(r, path("x.vkx"), true, Distribution::everything()).ok);
    ASSERT_TRUE(StoreConfig(r, path("x.seq"), false).ok);
    writeFile(path("foreign.txt"), "hello world\r\nanother line\r\n");
    writeFile(path("empty.seq"), "");

    clsInstrument target = makeRecord(2);
    const clsInstrument before = target;
    SettingsFileResult res = LoadConfig(target, path("x.vkx"), false); // scrambled read as plain
    EXPECT_FALSE(res.ok);
    EXPECT_TRUE(res.error.contains(QLatin1String("no setting line"))) << res.error.toStdString();
    res = LoadConfig(target, path("x.seq"), true); // plain read as scrambled
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.line, 1);
    EXPECT_FALSE(LoadConfig(target, path("foreign.txt"), false).ok);
    EXPECT_FALSE(LoadConfig(target, path("empty.seq"), false).ok);
    EXPECT_FALSE(LoadConfig(target, path("missing.seq"), false).ok);
    EXPECT_TRUE(carriedDifferences(before, target).isEmpty());
}

TEST_F(SettingsFileTest, ReaderAcceptsAnyLineEndBlankAndCommentLines)
{
    const clsInstrument r = makeRecord(21);
    ASSERT_TRUE(StoreConfig(r, path("e.seq"), false).ok);
    const QList<QByteArray> ls = lines("e.seq");
    for (const QByteArray &end : {QByteArray("\n"), QByteArray("\r")}) {
        QByteArray bytes;
        for (int k = 0; k < ls.size(); ++k) {
            if (k == 100)
                bytes += end + "; written by hand" + end;
            bytes += ls[k] + end;
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
    const clsInstrument good = makeRecord(30);
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

TEST_F(SettingsFileTest, LoadKeepsWhatClearDatasKeeps)
{
    const clsInstrument r = makeRecord(40);
    ASSERT_TRUE(StoreConfig(r, path("f.seq"), false).ok);
    clsInstrument target;
    target.setCommFlags(-1);
    target.setImportFlag(0);
    target.setSerialNo(QStringLiteral("SN123"));
    ASSERT_TRUE(LoadConfig(target, path("f.seq"), false).ok);
    EXPECT_EQ(target.CommFlags(), -1);
    EXPECT_EQ(target.SerialNo().trimmed(), QString()); // cleared
    EXPECT_EQ(gScramble, 0);
    // Derived catalytic channels come from the cleared record, as before the lines.
    EXPECT_EQ(target.GasPoint(8), kCatVolPoint);
    EXPECT_EQ(target.GasPoint(9), kInertPoint);
}
