// Feeds arbitrary bytes, as a whole file on disk, to every reader of the program: the first
// byte picks the reader, the rest is the file. Readers: settings files (plain and scrambled),
// the factory dialog's list files (station, user, conversion, PID), the program settings
// file, the history (an existing history renewed, and a swap left behind) and the animation.
// With VANTIK_UPDATE_SEEDS=1 and a folder as first argument, the replay driver first writes
// one seed per reader there, each written by the program's own writer.
#include "core/FileIO.h"
#include "core/Settings.h"
#include "core/modMain.h"
#include "factory/ListFiles.h"
#include "factory/ListFilesPid.h"
#include "model/clsInstrument.h"
#include "platform/Animation.h"
#include "settingsfiles/SettingsFile.h"
#include "settingsfiles/SettingsHistory.h"
#include "sim/samples/SampleRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

enum Reader : uint8_t { Seq, Vkx, Station, User, Conversion, Pid, ProgramSettings, History, Swap, Avi, kReaders };

QTemporaryDir &workDir()
{
    // In memory where there is such a folder: the history's writer syncs every file.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/vantik-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/vantik-fuzz-XXXXXX"));
    return dir;
}

QString fileOf(Reader r)
{
    switch (r) {
    case Seq:
        return workDir().filePath(QStringLiteral("f.seq"));
    case Vkx:
        return workDir().filePath(QStringLiteral("f.vkx"));
    case ProgramSettings:
        return AppFile(QString::fromLatin1(kSettingsFileName));
    case History:
        return HistoryFilePath();
    case Swap:
        return HistorySwapPath();
    default:
        return workDir().filePath(QStringLiteral("list.csv"));
    }
}

// Through the program's one writer; a write that failed is said, and the input is not read.
bool putFile(const QString &path, const QByteArray &bytes)
{
    const FileResult written = WriteFileWhole(path, bytes);
    if (!written)
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(written.error));
    return bool(written);
}

// One seed per reader, written by the program's writers, named after the reader.
void writeSeeds(const QString &folder)
{
    const clsInstrument rec = DemoRecord();
    const auto seed = [&](Reader r, const QString &name, const QString &written) {
        QByteArray bytes;
        const FileResult read = ReadFileWhole(written, qint64(1) << 24, bytes);
        if (!read || !putFile(QDir(folder).filePath(name), QByteArray(1, char(r)) + bytes))
            qFatal("seed %s not written %s", qPrintable(name), qPrintable(read.error));
    };
    StoreConfig(rec, fileOf(Seq), false);
    seed(Seq, QStringLiteral("seq"), fileOf(Seq));
    StoreConfig(rec, fileOf(Vkx), true, Distribution::everything());
    seed(Vkx, QStringLiteral("vkx"), fileOf(Vkx));
    QStringList names;
    for (int i = 0; i < 32; ++i)
        names << rec.XS_(i);
    NameListFile::Write(fileOf(Station), names);
    seed(Station, QStringLiteral("station"), fileOf(Station));
    seed(User, QStringLiteral("user"), fileOf(Station));
    QVector<ConversionListFile::Row> user(ConversionListFile::kUserRows);
    QVector<ConversionListFile::Row> pre(ConversionListFile::kPreRows);
    for (int i = 0; i < pre.size(); ++i)
        pre[i] = {QStringLiteral("C%1").arg(i), QStringLiteral("LONG, NAME %1").arg(i), QStringLiteral("1.00"),
                  QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("100"), QStringLiteral("Normal")};
    ConversionListFile::Write(fileOf(Conversion), user, pre);
    seed(Conversion, QStringLiteral("conversion"), fileOf(Conversion));
    QVector<QStringList> pid;
    for (int i = 0; i < PidListFile::kRows; ++i)
        pid << QStringList{QStringLiteral("P%1").arg(i), QStringLiteral("PID %1").arg(i), QStringLiteral("100.0"),
                           QStringLiteral("1/10"), QStringLiteral("ppm"), QStringLiteral("1"), QStringLiteral("10.0"),
                           QStringLiteral("20.0"), QStringLiteral("-----"), QStringLiteral("-----"),
                           QStringLiteral("50.0"), QStringLiteral("1.00")};
    PidListFile::Write(fileOf(Pid), pid);
    seed(Pid, QStringLiteral("pid"), fileOf(Pid));
    WriteSettings();
    seed(ProgramSettings, QStringLiteral("settings"), fileOf(ProgramSettings));
    deviceUpdateLog(rec, false);
    deviceUpdateLog(rec, true);
    seed(History, QStringLiteral("history"), fileOf(History));
    seed(Swap, QStringLiteral("swap"), fileOf(History));
    seed(Avi, QStringLiteral("avi"), QStringLiteral(VANTIK_SOURCE_DIR "/resources/Filemove.avi"));
    QFile::remove(fileOf(History));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    SetAppPath(workDir().path());
    if (std::getenv("VANTIK_UPDATE_SEEDS") && *argc > 1)
        writeSeeds(QString::fromLocal8Bit((*argv)[1]));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const auto reader = Reader(data[0] % kReaders);
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    if (reader == Swap)
        QFile::remove(fileOf(History));
    if (!putFile(fileOf(reader), bytes))
        return 0;
    static clsInstrument rec;
    switch (reader) {
    case Seq:
    case Vkx:
        LoadConfig(rec, fileOf(reader), reader == Vkx);
        break;
    case Station:
        NameListFile::Read(fileOf(reader), 128);
        break;
    case User:
        NameListFile::Read(fileOf(reader), 32);
        break;
    case Conversion:
        ConversionListFile::Read(fileOf(reader));
        break;
    case Pid:
        PidListFile::Read(fileOf(reader));
        break;
    case ProgramSettings:
        ReadSettings();
        ResetCoreGlobals(); // the history's file name depends on the suffix read
        break;
    case History:
    case Swap:
        deviceUpdateLog(rec, true);
        // A swap cut short is kept aside under a new name each time: not for ever here.
        for (const QString &aside : QDir(workDir().path()).entryList({QStringLiteral("*_incomplete*")}, QDir::Files))
            QFile::remove(workDir().filePath(aside));
        break;
    case Avi: {
        QByteArray avi;
        if (ReadFileWhole(fileOf(reader), 64 << 20, avi)) // as the animation control reads it
            ParseAvi(avi);
        break;
    }
    case kReaders:
        break;
    }
    return 0;
}
