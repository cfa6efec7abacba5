#include "factory/FsRulesNames.h"
#include "factory/ListFiles.h"
#include "model/clsInstrument.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class NameListTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path(name);
    }
    QTemporaryDir m_dir;
};

// Runs fn in a child process whose files may not grow past limit bytes; its exit code.
int inLimitedChild(rlim_t limit, const std::function<bool()> &fn)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        _exit(fn() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(NameRules, KeysAndNames)
{
    EXPECT_EQ(FsNames::FilterKey('a', "abc"), 'a');           // lower case kept
    for (int key : {',', '\'', ' ', '~'})
        EXPECT_EQ(FsNames::FilterKey(key, ""), key);
    EXPECT_EQ(FsNames::FilterKey('{', ""), 0);
    EXPECT_EQ(FsNames::FilterKey('}', ""), 0);
    EXPECT_EQ(FsNames::FilterKey('x', QString(15, 'a')), 'x'); // the 16th
    EXPECT_EQ(FsNames::FilterKey('x', QString(16, 'a')), 0);   // the 17th
    EXPECT_EQ(FsNames::FilterKey(8, QString(16, 'a')), 8);     // Backspace always
    EXPECT_TRUE(FsNames::Acceptable(QString(16, 'a')));
    EXPECT_TRUE(FsNames::Acceptable(" lead, 'quote'~"));
    EXPECT_TRUE(FsNames::Acceptable(""));
    EXPECT_FALSE(FsNames::Acceptable(QString(17, 'a')));
    EXPECT_FALSE(FsNames::Acceptable("a{b"));
    EXPECT_FALSE(FsNames::Acceptable("a\tb"));
}

TEST(NameRules, ApplyWritesOnlyNamesThatDiffer)
{
    clsInstrument inst;
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setXS_(0, "North");
        inst.setXS_(1, "South");
        inst.setXZ_(0, "Ann");
    }
    QStringList stations(FsNames::kStations);
    stations[0] = "North";
    stations[1] = "South ";   // a trailing blank counts
    FsNames::ApplyStations(inst, stations);
    EXPECT_FALSE(inst.Change_XS_(0));
    EXPECT_TRUE(inst.Change_XS_(1));
    EXPECT_EQ(inst.XS_(1), "South ");
    EXPECT_FALSE(inst.Change_XS_(2));
    EXPECT_FALSE(inst.Change_XS_(128));

    QStringList users(FsNames::kUsers);
    users[0] = "ann";         // case counts
    FsNames::ApplyUsers(inst, users);
    EXPECT_TRUE(inst.Change_XZ_(0));
    EXPECT_FALSE(inst.Change_XZ_(1));
}

TEST_F(NameListTest, ReaderTakesNamesByLinePosition)
{
    auto r = NameListFile::Read(write("a.csv", "12,Name\r\n"), 128);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.names, QStringList{"Name"});

    r = NameListFile::Read(write("b.csv", "1,A,B\n2\tA\tB\r3,Name,\r4,\r\n\r\n\r\n"), 128);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.names, (QStringList{"A,B", "A,B", "Name", ""})); // trailing empty lines ignored

    QByteArray many;
    for (int i = 1; i <= 200; ++i)
        many += QByteArray::number(i) + ",S" + QByteArray::number(i) + "\r\n";
    r = NameListFile::Read(write("c.csv", many), 128);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.names.size(), 128);
    EXPECT_EQ(r.names.last(), "S128");
}

TEST_F(NameListTest, ImproperFilesGiveNoNamesAtAll)
{
    // Names only: no row number, no delimiter; it would empty every name.
    EXPECT_FALSE(NameListFile::Read(write("a.csv", "North\r\nSouth\r\n"), 128).ok);
    EXPECT_FALSE(NameListFile::Read(write("b.csv", "Smith, John\r\n"), 128).ok);
    EXPECT_FALSE(NameListFile::Read(write("c.csv", "123\r\n"), 128).ok);
    // A bad line after good ones: nothing at all.
    const auto r = NameListFile::Read(write("d.csv", "1,A\r\n2,B\r\n\r\n4,D\r\n"), 128);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.names.isEmpty());
    EXPECT_FALSE(NameListFile::Read(write("e.csv", ""), 128).ok);
    EXPECT_FALSE(NameListFile::Read(write("f.csv", "1" + QByteArray(300, ',') + "\r\n"), 128).ok);
    EXPECT_FALSE(NameListFile::Read(path("missing.csv"), 128).ok);
    EXPECT_FALSE(NameListFile::Read(m_dir.path(), 128).ok);
}

TEST_F(NameListTest, ExportReadsBackAndRefusesWhatWouldNot)
{
    QStringList names;
    for (int i = 0; i < FsNames::kUsers; ++i)
        names << QString("u%1").arg(i);
    names[0] = " lead, 'q' ~";
    names[1] = "";
    ASSERT_TRUE(NameListFile::Write(path("User.csv"), names).ok);
    QFile f(path("User.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("1, lead, 'q' ~\r\n2,\r\n3,u2\r\n"));
    const auto back = NameListFile::Read(path("User.csv"), FsNames::kUsers);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.names, names);

    for (const QString &name : names)
        EXPECT_TRUE(NameListFile::ReadsBack(name));
    EXPECT_FALSE(NameListFile::ReadsBack("Name,"));
    EXPECT_FALSE(NameListFile::ReadsBack("A\tB"));
    EXPECT_FALSE(NameListFile::ReadsBack("A\r\nB"));
}

TEST_F(NameListTest, FailedExportKeepsTheOldFile)
{
    const QString target = write("Station.csv", "1,Old\r\n");
    const QStringList names(FsNames::kStations, QString(16, 'n'));
    EXPECT_EQ(inLimitedChild(512, [&] { return NameListFile::Write(target, names).ok; }), 1);
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "1,Old\r\n");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 1); // no leftovers
}
