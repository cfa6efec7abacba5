#include "settingsfiles/SettingsFile.h"

#include "core/Scrambler.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "settingsfiles/SettingLines.h"
#include "settingsfiles/SettingLinesInPlace.h"

#include <QFile>
#include <QSaveFile>

namespace {

using SettingLines::Block;

constexpr int kMaxLines = 362;
constexpr qint64 kMaxFileSize = 4 << 20; // a full scrambled file is far below this

SettingsFileResult failure(const QString &text, int line = 0, const QString &lineText = QString())
{
    SettingsFileResult r;
    r.ok = false;
    r.error = text;
    r.line = line;
    r.lineText = lineText;
    return r;
}

bool wanted(Block b, bool scramble, const Distribution &d)
{
    if (!scramble || d.all)
        return true;
    switch (b) {
    case Block::UserList:
        return d.user;
    case Block::StationList:
        return d.station;
    case Block::Conversion:
        return d.conversion;
    case Block::PidLow:
        return d.pidLow;
    case Block::PidHigh:
        return d.pidHigh;
    case Block::Settings:
        break;
    }
    return false;
}

// Lines of a file, accepting CR LF, LF and CR.
QStringList splitLines(const QByteArray &bytes)
{
    QStringList out;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && bytes.at(end) != '\r' && bytes.at(end) != '\n')
            ++end;
        out << QString::fromLatin1(bytes.constData() + start, end - start);
        if (end < n && bytes.at(end) == '\r' && end + 1 < n && bytes.at(end + 1) == '\n')
            ++end;
        start = end + 1;
    }
    return out;
}

} // namespace

SettingsFileResult StoreConfig(const clsInstrument &Inst, const QString &FileName, bool Scramble,
                               const Distribution &blocks)
{
    QStringList lines;
    for (const SettingLines::Entry &e : SettingLines::fileOrder()) {
        if (!wanted(e.block, Scramble, blocks))
            continue;
        const SettingLines::LineText t = SettingLines::lineText(Inst, e);
        if (!t.ok)
            return failure(QStringLiteral("The settings cannot be written: %1").arg(t.error));
        lines << t.text;
    }
    Q_ASSERT(lines.size() <= kMaxLines);

    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        return failure(QStringLiteral("Cannot create %1: %2").arg(FileName, file.errorString()));
    gScramble = Scramble ? -1 : 0;
    QByteArray bytes;
    for (const QString &plain : lines) {
        bool ok = true;
        const QString line = EncodeText(plain, &ok);
        if (!ok)
            return failure(QStringLiteral("The line %1 cannot be written").arg(plain)); // file discarded
        bytes += line.toLatin1();
        bytes += "\r\n";
    }
    file.write(bytes);
    if (!file.commit())
        return failure(QStringLiteral("Cannot write %1: %2").arg(FileName, file.errorString()));
    return {};
}

SettingsFileResult LoadConfig(clsInstrument &Inst, const QString &FileName, bool Scramble)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("Cannot open %1: %2").arg(FileName, file.errorString()));
    if (file.size() > kMaxFileSize)
        return failure(QStringLiteral("%1 is not a settings file (too large)").arg(FileName));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(QStringLiteral("Cannot read %1: %2").arg(FileName, file.errorString()));
    file.close();

    // Into a copy: the caller's record changes only when the whole file is good.
    clsInstrument work(Inst);
    work.ClearDatas();
    SetCatPpmCh(work);
    SetCatVolCh(work);

    const QStringList lines = splitLines(bytes);
    int recognised = 0;
    for (int k = 0; k < lines.size(); ++k) {
        gScramble = Scramble ? -1 : 0;
        bool ok = true;
        const QString plain = DecodeText(lines.at(k), &ok);
        if (!ok)
            return failure(QStringLiteral("Line %1 of %2 cannot be unscrambled").arg(k + 1).arg(FileName), k + 1,
                           lines.at(k));
        const SettingLines::ParseResult r = SettingLines::parseLineInPlace(work, plain, SettingLines::Door::User);
        if (r.status == SettingLines::ParseStatus::BadLine)
            return failure(QStringLiteral("Line %1 of %2 is not valid (%3): %4").arg(k + 1).arg(FileName, r.reason, plain),
                           k + 1, plain);
        if (r.ok())
            ++recognised;
    }
    if (recognised == 0)
        return failure(Scramble ? QStringLiteral("%1 holds no setting line").arg(FileName)
                                : QStringLiteral("%1 holds no setting line (is it a Maintenance Data file?)").arg(FileName));
    Inst = work;
    return {};
}
