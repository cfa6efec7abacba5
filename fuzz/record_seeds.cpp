// Records the seed corpora of the link and settings fuzzers from the real link and the
// simulated instrument:  build/bin/record_seeds fuzz/corpus
// writes <folder>/link, <folder>/frames and <folder>/settings (the folder must exist).
#include "core/FileIO.h"
#include "core/Scrambler.h"
#include "core/modMain.h"
#include "fuzz/LinkScript.h"
#include "link/Transport.h"
#include "link/uclQlif.h"
#include "settingsfiles/SettingLines.h"
#include "sim/SimInstrument.h"
#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// The link's line straight into the simulator; what the simulator sends after each write of
// the link is one piece of the script.
class RecordingLine : public Transport
{
public:
    explicit RecordingLine(SimInstrument &sim) : m_sim(sim)
    {
        connect(&sim, &SimInstrument::delivered, this, [this](const QByteArray &b) {
            if (!pieces.isEmpty())
                pieces.last() += b;
            QTimer::singleShot(0, this, [this, b] { emit received(b); });
        });
    }
    bool open() override { return true; }
    void close() override {}
    bool isActive() const override { return true; }
    QString name() const override { return QStringLiteral("record"); }
    bool write(const QByteArray &bytes) override
    {
        pieces.append(QByteArray());
        QTimer::singleShot(0, this, [this, bytes] { m_sim.receive(bytes); });
        return true;
    }
    QList<QByteArray> pieces;

private:
    SimInstrument &m_sim;
};

int gFailures = 0;

void put(const QDir &corpus, const QString &target, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(corpus.filePath(target));
    const QString path = corpus.filePath(target + QLatin1Char('/') + name);
    const FileResult w = WriteFileWhole(path, bytes);
    if (!w) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(w.error));
        ++gFailures;
    }
}

void linkSessions(const QDir &corpus, const QString &tmp)
{
    const char *names[8] = {"read", "history", "zero", "span", "default-restore", "option-dump", "fram-dump", "write"};
    QSet<QByteArray> framesSeen;
    for (int op = 0; op < 8; ++op) {
        SimInstrument sim;
        sim.fillDemoState();
        sim.setBusyPolls(1);
        if (op == 0)
            sim.setAnswerBlockSize(64); // block joining too
        uclQlif link;
        RecordingLine line(sim);
        link.setHostTransport(&line);
        link.setTickInterval(1);
        link.setTimeout(1);
        link.setRetry(1);
        link.setBusyPollLimit(2);
        link.setPortOpen(true);
        const QString image = QDir(tmp).filePath(QStringLiteral("image.dat"));
        clsInstrument rec;
        bool ok = true;
        switch (op) { // as fuzz_link.cpp runs them
        case 0: ok = link.GetInstrument(rec); break;
        case 1: ok = link.GetLatestHistory(rec) && !link.getOptData(1, QStringLiteral("VPR"), 5).isEmpty(); break;
        case 2: ok = link.ZeroCal(QStringLiteral("1111111")); break;
        case 3: ok = link.SpanCal(QStringLiteral("1000000,0100,0000,0000,0000,0000,0000,0000")); break;
        case 4: ok = link.DefaultInstrument(1) && link.RestoreFactorySet(); break;
        case 5: ok = link.GetOptBinDump(1, QStringLiteral("ESR"), image, 512); break;
        case 6: ok = link.GetBinDumpFRAM(image); break;
        case 7: {
            clsInstrument::DeviceDoor door(rec);
            rec = sim.state();
        }
            rec.SetChangeFlags(true);
            ok = link.SetInstrument(rec);
            break;
        }
        if (!ok) {
            std::fprintf(stderr, "session %s failed\n", names[op]);
            ++gFailures;
        }
        link.setPortOpen(false);
        link.setHostTransport(nullptr);
        put(corpus, QStringLiteral("link"), QString::fromLatin1(names[op]), LinkScript::Encode({quint8(op), line.pieces}));

        // Each kind of answer once for the frame assembler, with the payload length of its dump.
        const char payload = op == 5 ? 1 : op == 6 ? 2 : 0;
        int kept = 0;
        for (const QByteArray &p : std::as_const(line.pieces)) {
            const QByteArray kind = p.left(6);
            if (p.isEmpty() || framesSeen.contains(kind) || (op != 0 && kept == 3))
                continue;
            ++kept;
            framesSeen.insert(kind);
            put(corpus, QStringLiteral("frames"), QStringLiteral("%1-%2").arg(names[op]).arg(framesSeen.size()),
                QByteArray(1, payload) + p);
        }
    }
}

// Eight lines a seed (small inputs keep the fuzzer fast), plain and scrambled.
void settingLines(const QDir &corpus)
{
    SimInstrument sim;
    sim.fillDemoState();
    QList<QByteArray> lines;
    for (const SettingLines::Entry &e : SettingLines::fileOrder())
        lines.append(SettingLines::lineText(sim.state(), e).text.toLatin1());
    for (int at = 0; at < lines.size(); at += 8) {
        QByteArray plain, scrambled;
        gScramble = -1;
        for (const QByteArray &line : lines.mid(at, 8)) {
            plain += line + '\n';
            scrambled += EncodeText(QString::fromLatin1(line)).toLatin1() + '\n';
        }
        gScramble = 0;
        const QString name = QStringLiteral("lines%1").arg(at, 3, 10, QLatin1Char('0'));
        put(corpus, QStringLiteral("settings"), name, '\0' + plain);
        put(corpus, QStringLiteral("settings"), name + QStringLiteral("-scrambled"), '\1' + scrambled);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QDir corpus(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (argc != 2 || !corpus.exists()) {
        std::fprintf(stderr, "usage: record_seeds CORPUS-FOLDER (e.g. fuzz/corpus)\n");
        return 2;
    }
    QTemporaryDir tmp;
    SetAppPath(tmp.path());
    linkSessions(corpus, tmp.path());
    settingLines(corpus);
    SetAppPath(QString());
    return gFailures == 0 ? 0 : 1;
}
