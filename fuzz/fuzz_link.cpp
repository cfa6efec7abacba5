// The link's receive path, driven through a line of the fuzzer's own: after each write of the
// link (a request, an ACK, a NAK) the next piece of the input arrives as the instrument's
// bytes. Frame assembly, block joining, busy answers, dump block order, late and duplicate
// answers, time-outs and resends all run as in the program, the serial log included.
#include "core/Wait.h"
#include "core/modMain.h"
#include "fuzz/LinkScript.h"
#include "link/Transport.h"
#include "link/uclQlif.h"
#include "model/clsInstrument.h"
#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <cstdint>

namespace {

class ScriptedLine : public Transport
{
public:
    explicit ScriptedLine(uclQlif &link, QList<QByteArray> pieces) : m_link(link), m_pieces(std::move(pieces)) {}
    bool open() override { return true; }
    void close() override {}
    bool isActive() const override { return true; }
    QString name() const override { return QStringLiteral("fuzz"); }
    bool write(const QByteArray &) override
    {
        // The answer comes from the event loop, as from a real line; once the script is spent
        // (and its last piece taken in) the user cancels, so no wait runs on for nothing.
        QTimer::singleShot(0, this, [this] {
            if (!m_pieces.isEmpty())
                emit received(m_pieces.takeFirst());
            if (m_pieces.isEmpty())
                QTimer::singleShot(0, this, [this] { cancel(); });
        });
        return true;
    }

private:
    void cancel()
    {
        m_link.setCancel(true);
        WaitNotify();
    }

    uclQlif &m_link;
    QList<QByteArray> m_pieces;
};

QString g_dir;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    g_dir = QDir::temp().filePath(QStringLiteral("vantik-fuzz-link-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(g_dir);
    SetAppPath(g_dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const LinkScript::Script script = LinkScript::Decode(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString log = QDir(g_dir).filePath(QStringLiteral("SerialLog.log"));
    QFile::remove(log); // each input starts a log of its own
    uclQlif link;
    ScriptedLine line(link, script.pieces);
    link.setHostTransport(&line);
    link.setTickInterval(1);
    link.setTimeout(1);
    link.setRetry(1);
    link.setBusyPollLimit(2);
    link.serialLog().setPath(log);
    link.setSerialFileNo(1);
    link.setPortOpen(true);
    const QString image = QDir(g_dir).filePath(QStringLiteral("image.dat"));
    clsInstrument rec;
    switch (script.operation % 8) {
    case 0:
        link.GetInstrument(rec);
        break;
    case 1:
        link.GetLatestHistory(rec);
        link.getOptData(1, QStringLiteral("VPR"), 5);
        break;
    case 2:
        link.ZeroCal(QStringLiteral("1111111"));
        break;
    case 3:
        link.SpanCal(QStringLiteral("1000000,0100,0000,0000,0000,0000,0000,0000"));
        break;
    case 4:
        link.DefaultInstrument(1);
        link.RestoreFactorySet();
        break;
    case 5:
        link.GetOptBinDump(1, QStringLiteral("ESR"), image, 512);
        break;
    case 6:
        link.GetBinDumpFRAM(image);
        break;
    case 7:
        rec.SetChangeFlags(true);
        link.SetInstrument(rec);
        break;
    }
    link.setPortOpen(false);
    link.setHostTransport(nullptr);
    return 0;
}
