#include "RecordMaker.h"

#include "core/modMain.h"
#include "settingsfiles/SettingsHistory.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Splits a CSV line, honouring quoted fields ("" inside quotes is one quote).
QStringList csvFields(const QByteArray &line)
{
    QStringList out{QString()};
    bool quoted = false;
    const QString s = QString::fromLatin1(line);
    for (qsizetype k = 0; k < s.size(); ++k) {
        const QChar c = s.at(k);
        if (c == QLatin1Char('"') && quoted && s.mid(k + 1, 1) == QLatin1String("\""))
            out.last() += s.at(k++);
        else if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (c == QLatin1Char(',') && !quoted)
            out << QString();
        else
            out.last() += c;
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
    static QList<QByteArray> lines(const QString &path) { return crlfLines(readFile(path)); }
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
    const clsInstrument a = makeRecord(1);
    const clsInstrument b = makeRecord(2);
    ASSERT_TRUE(deviceUpdateLog(a, false).ok);
    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("VANTIK_Setting.csv"));
    QList<QByteArray> ls = lines(path);
    ASSERT_EQ(ls.size(), 2);
    const QStringList header = csvFields(ls[0]);
    EXPECT_EQ(header.size(), kHistoryColumns);
    EXPECT_EQ(header.first(), QStringLiteral("Action"));
    EXPECT_EQ(csvFields(ls[1]).size(), kHistoryColumns);
    EXPECT_EQ(csvFields(ls[1]).first(), QStringLiteral("Read"));

    writeFile(path, ls[0] + "\r\n" + ls[1] + "\r\n" + "Read,old row\r\n");
    ASSERT_TRUE(deviceUpdateLog(b, true).ok);
    ls = lines(path);
    ASSERT_EQ(ls.size(), 4);
    EXPECT_EQ(ls[2], QByteArray("Read,old row")); // old rows as they stood
    const QStringList last = csvFields(ls[3]);
    EXPECT_EQ(last.size(), kHistoryColumns);
    EXPECT_EQ(last.first(), QStringLiteral("Write"));
    EXPECT_FALSE(QFile::exists(QDir(m_dir.path()).filePath(QStringLiteral("VANTIK_Setting_swap.csv"))));
}

TEST_F(HistoryTest, RowsOfAnOlderHeaderGetAnEmptyFirstField)
{
    gFactorySuffix = QStringLiteral("F2");
    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("VANTIK_SettingF2.csv"));
    EXPECT_EQ(HistoryFilePath(), path);
    EXPECT_TRUE(HistorySwapPath().endsWith(QLatin1String("VANTIK_SettingF2_swap.csv")));
    writeFile(path, "PC Date/Time,Serial No.\r\n2020/01/01 00:00:00,A1\n2020/01/02 00:00:00,A2");
    ASSERT_TRUE(deviceUpdateLog(makeRecord(3), false).ok);
    const QList<QByteArray> ls = lines(path);
    ASSERT_EQ(ls.size(), 4);
    EXPECT_TRUE(ls[0].startsWith("Action,"));
    EXPECT_EQ(ls[1], QByteArray(",2020/01/01 00:00:00,A1"));
    EXPECT_EQ(ls[2], QByteArray(",2020/01/02 00:00:00,A2"));
    EXPECT_TRUE(ls[3].startsWith("Read,"));
}

TEST_F(HistoryTest, LeftoverSwapIsRecoveredNotOverwritten)
{
    const QString path = HistoryFilePath();
    const QString swap = HistorySwapPath();
    // A run stopped after removing the history and before renaming the swap.
    writeFile(swap, "Action,x\r\nRead,kept 1\r\nWrite,kept 2\r\n");
    ASSERT_TRUE(deviceUpdateLog(makeRecord(4), true).ok);
    QList<QByteArray> ls = lines(path);
    ASSERT_EQ(ls.size(), 4);
    EXPECT_EQ(ls[1], QByteArray("Read,kept 1"));
    EXPECT_EQ(ls[2], QByteArray("Write,kept 2"));
    EXPECT_FALSE(QFile::exists(swap));

    // A swap beside a history is an unfinished rewrite: the history holds.
    writeFile(swap, "Action,partial");
    ASSERT_TRUE(deviceUpdateLog(makeRecord(5), false).ok);
    ls = lines(path);
    ASSERT_EQ(ls.size(), 5);
    EXPECT_EQ(ls[1], QByteArray("Read,kept 1"));
    EXPECT_FALSE(QFile::exists(swap));
}

// A swap cut short by a crash is never made the history: it is kept aside under a name that
// says so, the user is told, and a new history begins.
TEST_F(HistoryTest, SwapCutShortIsKeptAsideNotTakenOver)
{
    const QString path = HistoryFilePath();
    const QString swap = HistorySwapPath();
    const QString aside = QDir(m_dir.path()).filePath(QStringLiteral("VANTIK_Setting_swap_incomplete.csv"));
    for (const QByteArray &cut : {QByteArray("Action,a,b\r\nRead,1,2\r\nWrite,1"),   // in the middle of a row
                                  QByteArray("Action,a,b\r\nRead,1,2\r\nWrite,1\r\n"), // a row short of fields
                                  QByteArray("Action,a,b\r\nRead,\"1,2\r\n")}) {    // inside a quoted field
        QFile::remove(path);
        QFile::remove(aside);
        writeFile(swap, cut);
        const HistoryFile::Outcome o = deviceUpdateLog(makeRecord(4), true);
        ASSERT_TRUE(o.ok) << o.error.toStdString();
        EXPECT_TRUE(o.notice.contains(aside)) << o.notice.toStdString();
        EXPECT_EQ(readFile(aside), cut);
        const QList<QByteArray> ls = lines(path);
        ASSERT_EQ(ls.size(), 2);
        EXPECT_EQ(csvFields(ls[1]).size(), kHistoryColumns);
        EXPECT_FALSE(QFile::exists(swap));
    }
}

// Writes that fail at the file system (a file-size limit in a child process) leave the
// history as it was, first file or rewrite, and say why.
TEST_F(HistoryTest, FailedWriteKeepsTheHistoryAndSaysWhy)
{
    const auto appendLimited = [&](long limit) {
        return RunInChild(
            [&] {
                const HistoryFile::Outcome o = deviceUpdateLog(makeRecord(7), true);
                return o.ok ? QStringLiteral("ok") : o.error;
            },
            limit);
    };
    const QString cause = QString::fromLocal8Bit(strerror(EFBIG));
    EXPECT_TRUE(appendLimited(4096).endsWith(cause));
    EXPECT_FALSE(QFile::exists(HistoryFilePath()));

    ASSERT_TRUE(deviceUpdateLog(makeRecord(6), false).ok);
    const QByteArray before = readFile(HistoryFilePath());
    EXPECT_TRUE(appendLimited(long(before.size()) + 100).endsWith(cause));
    EXPECT_EQ(readFile(HistoryFilePath()), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"VANTIK_Setting.csv"});
}

TEST_F(HistoryTest, FailureLeavesTheHistoryAsItWas)
{
    ASSERT_TRUE(deviceUpdateLog(makeRecord(6), false).ok);
    const QList<QByteArray> before = lines(HistoryFilePath());
    ASSERT_TRUE(QDir().mkpath(HistorySwapPath())); // the swap name taken by a folder
    const HistoryFile::Outcome o = deviceUpdateLog(makeRecord(7), true);
    EXPECT_FALSE(o.ok);
    EXPECT_FALSE(o.error.isEmpty());
    EXPECT_EQ(lines(HistoryFilePath()), before);
    QDir().rmdir(HistorySwapPath());

    gFactorySuffix = QStringLiteral("../x");
    EXPECT_FALSE(deviceUpdateLog(makeRecord(7), true).ok);
}

TEST_F(HistoryTest, CommaInATextIsQuotedAndTheRowKeepsItsColumns)
{
    clsInstrument r = makeRecord(8);
    r.setXS_(0, QStringLiteral("North, gate \"B\""));
    r.setBNuserLogoName(QStringLiteral("A,B"));
    ASSERT_TRUE(deviceUpdateLog(r, false).ok);
    const QList<QByteArray> ls = lines(HistoryFilePath());
    const QStringList fields = csvFields(ls[1]);
    ASSERT_EQ(fields.size(), kHistoryColumns);
    EXPECT_EQ(fields[194], QStringLiteral("North, gate \"B\""));
    EXPECT_EQ(fields[137], QStringLiteral("A,B"));
    for (unsigned seed = 10; seed < 30; ++seed)
        EXPECT_EQ(row(makeRecord(seed)).size(), kHistoryColumns);
    clsInstrument cleared;
    cleared.ClearDatas();
    EXPECT_EQ(row(cleared).size(), kHistoryColumns);
}

TEST_F(HistoryTest, ColumnWords)
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
    r.setDispID(-1);
    r.setLogOverWrite(-1);
    QStringList f = row(r, true);
    EXPECT_EQ(f[1], QStringLiteral("2024/03/05 14:07:09"));
    EXPECT_EQ(f[2], QStringLiteral("2024/03/05 13:07:09"));
    EXPECT_EQ(f[12], QStringLiteral("ON"));  // ON at -1
    EXPECT_EQ(f[14], QStringLiteral("OFF")); // ON only at 1
    EXPECT_EQ(f[43], QStringLiteral("-----"));                 // empty name
    EXPECT_EQ(f[44], QStringLiteral("-----"));                 // -101 in a reading column
    EXPECT_EQ(f[43 + 13], QStringLiteral("-----"));            // blank name
    EXPECT_EQ(f[43 + 26], QStringLiteral(" CO "));             // kept with its blanks
    EXPECT_EQ(f[43 + 26 + 7], QStringLiteral("-----"));        // ZeroForce 16
    EXPECT_EQ(f[43 + 39 + 7], QStringLiteral("4"));
    EXPECT_EQ(f[138], QStringLiteral("101000"));
    EXPECT_EQ(f[138 + 24 + 5], QStringLiteral("25.0")); // TC full scale with the channel's decimals
    EXPECT_EQ(f[183], QStringLiteral("1.25"));
    EXPECT_EQ(f[187], QStringLiteral("5.5"));
    EXPECT_EQ(f[358], QStringLiteral("-----"));  // FormatValue of -101
    EXPECT_EQ(f[359], QStringLiteral("NORMAL")); // and of -102
    EXPECT_EQ(f[1008], QStringLiteral("---")); // InvalidIF after ClearDatas
    r.setInvalidIF(false);
    r.setInertOnOff(1);
    r.setInert1st(2.5f);
    f = row(r);
    EXPECT_EQ(f[1008], QStringLiteral("ON"));
    EXPECT_EQ(f[1009], QStringLiteral("2.5"));
}
