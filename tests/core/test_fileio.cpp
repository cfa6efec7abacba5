#include "support/TestFiles.h"
#include "core/FileIO.h"
#include "core/Startup.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray slurp(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString &dir) { return QDir(dir).entryList(QDir::Files | QDir::Hidden); }

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

    const FileResult r = WriteFileWhole(p, "new contents\r\n");
    ASSERT_TRUE(r) << r.error.toStdString();
    EXPECT_EQ(slurp(p), "new contents\r\n");
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(p).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(dir.path()), QStringList{"a.seq"});

    // Written through a link, the link stays and the file it points at is replaced.
    const QString link = file("link.seq");
    ASSERT_TRUE(QFile::link(p, link));
    ASSERT_TRUE(WriteFileWhole(link, "through the link\r\n"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(slurp(p), "through the link\r\n");
}

// The write fails at the file system's own limit in a child whose SIGXFSZ is at its default,
// as the program's is when it starts: after the start-up call the old file stays whole, no
// temporary is left and the cause is the system's. Without the call the child is killed.
TEST_F(FileIO, FailedWriteKeepsOldFileAndSaysWhy)
{
    const QString p = file("b.seq");
    const QByteArray old(10781, 'o');
    ASSERT_TRUE(WriteFileWhole(p, old));
    auto write = [&] {
        const FileResult r = WriteFileWhole(p, QByteArray(10781, 'n'));
        return r ? QStringLiteral("ok") : r.error;
    };
    EXPECT_EQ(RunInChild(write, 8192, false, true), QStringLiteral("<child died>"));
    const QString said = RunInChild(
        [&] {
            PrepareProcess();
            return write();
        },
        8192, false, true);
    EXPECT_EQ(said, QString::fromLocal8Bit(strerror(EFBIG)));
    EXPECT_EQ(slurp(p), old);
    EXPECT_EQ(entries(dir.path()), QStringList{"b.seq"});
}

TEST_F(FileIO, ReadOnlyFolderRefusesAndKeepsFile)
{
    const QString p = file("c.ini");
    ASSERT_TRUE(WriteFileWhole(p, "keep"));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    const QString said = RunInChild(
        [&] {
            const FileResult r = WriteFileWhole(p, "lost");
            return r ? QStringLiteral("ok") : r.error;
        },
        -1, true);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    EXPECT_EQ(said, QString::fromLocal8Bit(strerror(EACCES)));
    EXPECT_EQ(slurp(p), "keep");
}

TEST_F(FileIO, ReadTakesOnlyWholeRegularFilesWithinCap)
{
    const QString p = file("d.seq");
    ASSERT_TRUE(WriteFileWhole(p, "12345"));
    QByteArray out;
    ASSERT_TRUE(ReadFileWhole(p, 5, out));
    EXPECT_EQ(out, "12345");

    FileResult r = ReadFileWhole(p, 4, out);
    EXPECT_FALSE(r);
    EXPECT_TRUE(out.isEmpty());
    // A device reports size 0 and never ends: refused before a byte is read.
    r = ReadFileWhole(QStringLiteral("/dev/zero"), 1 << 20, out);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.error, QStringLiteral("not a regular file"));
    EXPECT_FALSE(ReadFileWhole(dir.path(), 1 << 20, out));
    ASSERT_EQ(::mkfifo(QFile::encodeName(file("pipe")).constData(), 0600), 0);
    EXPECT_FALSE(ReadFileWhole(file("pipe"), 1 << 20, out)); // and does not hang
    r = ReadFileWhole(file("none"), 10, out);
    EXPECT_EQ(r.error, QString::fromLocal8Bit(strerror(ENOENT)));
}
