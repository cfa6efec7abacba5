#include "support/TestFiles.h"
#include "core/Settings.h"
#include "core/modMain.h"
#include <QTemporaryDir>
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
    QTemporaryDir dir;
};
}

TEST_F(SettingsTest, RoundTripKeepsEveryValue)
{
    gFactorySuffix = QString::fromLatin1(" _lab;\xb5\t\r\nA"); // single byte on disk, no separators
    gExecuteCount = 41;
    gSerialLogFile = true;
    gIrCommNum = 7;
    gCommSettings = "921600,n,8,1";
    gTimeout = 5;
    gRetry = 4;
    gDelay = 0.25f;
    gFont = FontSpec{"DejaVu Sans", 10.5, true, false, false, true, 700, 0};
    gMainWindowState = 2;
    gMainWidth = 12300;
    gCsaLimitEnabled = true;
    gCatRatio = "1.00|1.50|0.80";
    ASSERT_TRUE(WriteSettings());
    const QByteArray bytes = ReadTestFile(path());
    EXPECT_TRUE(bytes.contains("Factory Record Suffix\t _lab \xb5   A\r\n"));
    EXPECT_TRUE(bytes.contains("Execute Count\t42\r\n"));
    EXPECT_TRUE(bytes.contains("Serial Log File\tON\r\n"));
    EXPECT_FALSE(QByteArray(bytes).replace("\r\n", "").contains('\n'));

    const FontSpec font = gFont;
    ResetCoreGlobals();
    EXPECT_EQ(ReadSettings(), 0);
    EXPECT_EQ(gFactorySuffix, QString::fromLatin1(" _lab \xb5   A"));
    EXPECT_EQ(gExecuteCount, 42); // the run counter is written one up
    EXPECT_TRUE(gSerialLogFile && gCsaLimitEnabled);
    EXPECT_EQ((QList<int>{gIrCommNum, gTimeout, gRetry, gMainWindowState}), (QList<int>{7, 5, 4, 2}));
    EXPECT_EQ(gCommSettings, "921600,n,8,1");
    EXPECT_FLOAT_EQ(gDelay, 0.25f);
    EXPECT_EQ(gFont, font);
    EXPECT_EQ(gMainWidth, 12300);
    EXPECT_EQ(gCatRatio, "1.00|1.50|0.80");

    // Switches turned off are written off and come back off.
    gSerialLogFile = false;
    gCsaLimitEnabled = false;
    ASSERT_TRUE(WriteSettings());
    const QByteArray off = ReadTestFile(path());
    EXPECT_TRUE(off.contains("Serial Log File\tOFF\r\n") && off.contains("CSA Limit Enabled\tOFF\r\n"));
    gSerialLogFile = gCsaLimitEnabled = true;
    EXPECT_EQ(ReadSettings(), 0);
    EXPECT_FALSE(gSerialLogFile || gCsaLimitEnabled);
}

TEST_F(SettingsTest, KeysInAnyCaseAnyLineEndAndDamagedLinesSkipped)
{
    gTimeout = 3;
    gIrCommNum = 4;
    gCsaLimitEnabled = true;
    WriteTestFile(path(), "; a comment line\r\n"
                          "RETRY\t2\r"
                          "serial log file\ton ; a comment after the value\n"
                          "\r\n"
                          "Csa Limit Enabled\tOFF\r\n"
                          "Timeout\tabc\r\n"          // not a number
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
    EXPECT_EQ((QList<int>{gRetry, gTimeout, gIrCommNum, gMainWidth, gExecuteCount}), (QList<int>{2, 3, 4, 0, 5}));
    EXPECT_TRUE(gSerialLogFile);
    EXPECT_FALSE(gCsaLimitEnabled);
    EXPECT_EQ(gFactorySuffix, QString());
    EXPECT_EQ(gFont, font);
    EXPECT_EQ(gDelay, 0.0f);
}

TEST_F(SettingsTest, EmptyValuesAreValuesNoFileChangesNothingAndAMissingFolderIsReported)
{
    gRetry = 3;
    EXPECT_EQ(ReadSettings(), 0);
    EXPECT_EQ(gRetry, 3);
    gFactorySuffix = "old";
    WriteTestFile(path(), "Factory Record Suffix\t\r\nCOMM Settings\t;none\r\nRetry\r\nFont\t11\r\n");
    EXPECT_EQ(ReadSettings(), 1); // "Retry" without a TAB is no setting
    EXPECT_TRUE(gFactorySuffix.isEmpty());
    EXPECT_TRUE(gCommSettings.isEmpty());
    EXPECT_EQ(gFont.size, 11) << "a font may give only its size";

    SetAppPath(dir.filePath("missing/folder"));
    QString error;
    EXPECT_FALSE(WriteSettings(&error));
    EXPECT_EQ(error, QString::fromLocal8Bit(strerror(ENOENT)));
}

