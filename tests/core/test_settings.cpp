#include "support/TestFiles.h"
#include "core/Settings.h"
#include "core/modMain.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "support/FileSizeLimit.h"
#include <gtest/gtest.h>

namespace {
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SetAppPath(dir.path());
        ResetCoreGlobals();
    }
    void TearDown() override
    {
        ResetCoreGlobals();
        SetAppPath(QString());
    }
    QString path() const { return dir.filePath(kSettingsFileName); }
    void writeRaw(const QByteArray &bytes)
    {
        WriteTestFile(path(), bytes);
    }
    QByteArray readRaw() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};
}

TEST_F(SettingsTest, MissingFileChangesNothing)
{
    gRetry = 3;
    EXPECT_EQ(ReadSettings(), 0);
    EXPECT_EQ(gRetry, 3);
}

TEST_F(SettingsTest, RoundTripKeepsEveryValue)
{
    gFactorySuffix = " _lab A";
    gExecuteCount = 41;
    gSerialLogFile = true;
    gIrCommNum = 7;
    gCommSettings = "921600,n,8,1";
    gTimeout = 5;
    gRetry = 4;
    gDelay = 0.25f;
    gFont = FontSpec{"DejaVu Sans", 10.5, true, false, true, false, 700, 0};
    gMainWindowState = 2;
    gMainWidth = 12300;
    gCsaLimitEnabled = true;
    gCatRatio = "1.00|1.50|0.80";
    ASSERT_TRUE(WriteSettings());

    const FontSpec font = gFont;
    ResetCoreGlobals();
    EXPECT_EQ(ReadSettings(), 0);
    EXPECT_EQ(gFactorySuffix, " _lab A");
    EXPECT_EQ(gExecuteCount, 42); // the run counter is written one up
    EXPECT_TRUE(gSerialLogFile && gCsaLimitEnabled);
    EXPECT_EQ((QList<int>{gIrCommNum, gTimeout, gRetry, gMainWindowState}), (QList<int>{7, 5, 4, 2}));
    EXPECT_EQ(gCommSettings, "921600,n,8,1");
    EXPECT_FLOAT_EQ(gDelay, 0.25f);
    EXPECT_EQ(gFont, font);
    EXPECT_EQ(gMainWidth, 12300);
    EXPECT_EQ(gCatRatio, "1.00|1.50|0.80");
}

TEST_F(SettingsTest, FileIsLatin1WithCrLfAndTabs)
{
    gFactorySuffix = QString::fromLatin1("\xb5"); // single byte on disk
    ASSERT_TRUE(WriteSettings());
    const QByteArray bytes = readRaw();
    EXPECT_TRUE(bytes.contains("Factory Record Suffix\t\xb5\r\n"));
    EXPECT_TRUE(bytes.contains("Execute Count\t1\r\n"));
    EXPECT_TRUE(bytes.contains("Serial Log File\tOFF\r\n"));
    EXPECT_FALSE(QByteArray(bytes).replace("\r\n", "").contains('\n'));
}

TEST_F(SettingsTest, KeysInAnyCaseCommentsAndLineEnds)
{
    writeRaw("; a comment line\r\n"
             "timeout\t9 ; the link waits longer\n"
             "RETRY\t2\r"
             "serial log file\ton\r\n"
             "\r\n"
             "Csa Limit Enabled\tOFF\r\n");
    gCsaLimitEnabled = true;
    EXPECT_EQ(ReadSettings(), 0);
    EXPECT_EQ(gTimeout, 9);
    EXPECT_EQ(gRetry, 2);
    EXPECT_TRUE(gSerialLogFile);
    EXPECT_FALSE(gCsaLimitEnabled);
}

TEST_F(SettingsTest, DamagedLinesAreSkippedNotFatal)
{
    gTimeout = 3;
    gRetry = 3;
    gIrCommNum = 4;
    writeRaw("Timeout\tabc\r\n"          // not a number
             "Retry\t70000\r\n"          // does not fit a 16-bit number
             "IrCOMM Num\t-99999\r\n"    // neither
             "no tab on this line\r\n"
             "Unknown Key\t1\r\n"
             "Font\tArial,0\r\n"         // size 0 is no font
             "Size Values\t1,2\r\n"      // three fields needed
             "Delay\t-1\r\n"
             "\x01\x02\xff\tgarbage\r\n"
             "Factory Record Suffix\t..\\..\\x\r\n" // would leave the program folder
             "Execute Count\t5\r\n");    // a good line after the bad ones still counts
    const FontSpec font = gFont;
    EXPECT_EQ(ReadSettings(), 10);
    EXPECT_EQ(gFactorySuffix, QString());
    EXPECT_EQ(gTimeout, 3);
    EXPECT_EQ(gRetry, 3);
    EXPECT_EQ(gIrCommNum, 4);
    EXPECT_EQ(gFont, font);
    EXPECT_EQ(gMainWidth, 0);
    EXPECT_EQ(gDelay, 0.0f);
    EXPECT_EQ(gExecuteCount, 5);
}

TEST_F(SettingsTest, ValuesThatWouldBreakTheFileAreNeutralised)
{
    gFactorySuffix = "a;b\tc\r\nd";
    gCommSettings = "921600,n,8,1";
    ASSERT_TRUE(WriteSettings());
    ResetCoreGlobals();
    EXPECT_EQ(ReadSettings(), 0);
    EXPECT_EQ(gFactorySuffix, "a b c  d");
    EXPECT_EQ(gCommSettings, "921600,n,8,1");
}

TEST_F(SettingsTest, UnwritableFolderIsReported)
{
    SetAppPath(dir.filePath("missing/folder"));
    QString error;
    EXPECT_FALSE(WriteSettings(&error));
    EXPECT_EQ(error, QString::fromLocal8Bit(strerror(ENOENT)));
}

// A write cut off by the file system (a file-size limit in a child process, as on a full
// disk) keeps the previous file whole and says why.
TEST_F(SettingsTest, FailedWriteKeepsThePreviousFile)
{
    gCatName = QString(600, QLatin1Char('C'));
    ASSERT_TRUE(WriteSettings());
    const QByteArray old = readRaw();
    const QString said = RunInChild(
        [] {
            gCatName = QString(700, QLatin1Char('N'));
            QString error;
            return WriteSettings(&error) ? QStringLiteral("ok") : error;
        },
        512);
    EXPECT_EQ(said, QString::fromLocal8Bit(strerror(EFBIG)));
    EXPECT_EQ(readRaw(), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{kSettingsFileName});
}

TEST_F(SettingsTest, EmptyValuesAreValues)
{
    gFactorySuffix = "old";
    writeRaw("Factory Record Suffix\t\r\nCOMM Settings\t;none\r\nRetry\r\nFont\t11\r\n");
    EXPECT_EQ(ReadSettings(), 1); // "Retry" without a TAB is no setting
    EXPECT_TRUE(gFactorySuffix.isEmpty());
    EXPECT_TRUE(gCommSettings.isEmpty());
    EXPECT_EQ(gFont.size, 11) << "a font may give only its size";
}

