#include "support/TestFiles.h"
#include "core/Startup.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QStringList entries(const QString &dir) { return QDir(dir).entryList(QDir::Files | QDir::Hidden); }
QString outcome(const FileResult &r) { return r ? QStringLiteral("ok") : r.error; }

class FileIO : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(FileIO, WriteReplacesWholeAndKeepsPermissions)
{
    const QString p = file("a.seq");
    ASSERT_TRUE(WriteFileWhole(p, "old\r\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(p).constData(), 0640), 0);
    // A temporary left by an interrupted earlier run goes with the next run of the same write.
    WriteTestFile(p + kTempSuffix, "half");

    ASSERT_EQ(outcome(WriteFileWhole(p, "new contents\r\n")), "ok");
    EXPECT_EQ(ReadTestFile(p), "new contents\r\n");
    EXPECT_EQ(QFile::permissions(p), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    EXPECT_EQ(entries(dir.path()), QStringList{"a.seq"});

    // Written through a link, the link stays and the file it points at is replaced.
    const QString link = file("link.seq");
    ASSERT_TRUE(QFile::link(p, link));
    ASSERT_TRUE(WriteFileWhole(link, "through the link\r\n"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadTestFile(p), "through the link\r\n");
}

// The write fails at the file system's own limit in a child whose SIGXFSZ is at its default,
// as the program's is when it starts: after the start-up call the old file stays whole, no
// temporary is left and the cause is the system's. Without the call the child is killed.
TEST_F(FileIO, FailedWriteKeepsOldFileAndSaysWhy)
{
    const QString p = file("b.seq");
    const QByteArray old(10781, 'o');
    ASSERT_TRUE(WriteFileWhole(p, old));
    auto write = [&] { return outcome(WriteFileWhole(p, QByteArray(10781, 'n'))); };
    EXPECT_EQ(RunInChild(write, 8192, false, true), QStringLiteral("<child died>"));
    EXPECT_EQ(RunInChild([&] { PrepareProcess(); return write(); }, 8192, false, true), QString::fromLocal8Bit(strerror(EFBIG)));
    EXPECT_EQ(ReadTestFile(p), old);
    EXPECT_EQ(entries(dir.path()), QStringList{"b.seq"});
}

TEST_F(FileIO, ReadOnlyFolderOrAFolderInTheWayRefusesAndKeepsFile)
{
    const QString p = file("c.ini");
    ASSERT_TRUE(WriteFileWhole(p, "keep"));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    const QString said = RunInChild([&] { return outcome(WriteFileWhole(p, "lost")); }, -1, true);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    EXPECT_EQ(said, QString::fromLocal8Bit(strerror(EACCES)));
    EXPECT_EQ(ReadTestFile(p), "keep");

    // Everything written but the final rename refused: no success, no temporary left.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("e.seq")));
    EXPECT_EQ(outcome(WriteFileWhole(file("e.seq"), "lost")), QString::fromLocal8Bit(strerror(EISDIR)));
    EXPECT_EQ(entries(dir.path()), QStringList{"c.ini"});
}

TEST_F(FileIO, ReadTakesOnlyWholeRegularFilesWithinCap)
{
    const QString p = file("d.seq");
    ASSERT_TRUE(WriteFileWhole(p, "12345"));
    QByteArray out;
    ASSERT_EQ(outcome(ReadFileWhole(p, 5, out)), "ok");
    EXPECT_EQ(out, "12345");
    EXPECT_FALSE(ReadFileWhole(p, 4, out));
    EXPECT_TRUE(out.isEmpty());
    // A device reports size 0 and never ends, a pipe would hang: refused before a byte is read.
    ASSERT_EQ(::mkfifo(QFile::encodeName(file("pipe")).constData(), 0600), 0);
    for (const QString &other : {QStringLiteral("/dev/zero"), dir.path(), file("pipe")})
        EXPECT_EQ(outcome(ReadFileWhole(other, 1 << 20, out)), "not a regular file") << other.toStdString();
    EXPECT_EQ(outcome(ReadFileWhole(file("none"), 10, out)), QString::fromLocal8Bit(strerror(ENOENT)));
}
