#include "settingsfiles/SettingsFile.h"

#include "core/Scrambler.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "settingsfiles/SettingLabel.h"
#include "settingsfiles/SettingLines.h"
#include "settingsfiles/SettingLinesInPlace.h"

#include "core/FileIO.h"

#include <QHash>
#include <QSet>

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

// "Station 3 (XS 03), User 3 (XZ 03)": the first few, then how many more.
QString nameLines(const QVector<SettingLines::Entry> &lines)
{
    constexpr int kNamed = 5;
    QStringList names;
    for (qsizetype k = 0; k < lines.size() && k < kNamed; ++k)
        names << SettingLabel(lines[k]);
    QString text = names.join(QStringLiteral(", "));
    if (lines.size() > kNamed)
        text += QStringLiteral(" and %1 more").arg(lines.size() - kNamed);
    return text;
}

QString entryKey(const QString &code, int index) { return code + QLatin1Char(':') + QString::number(index); }

// The entry number as the file writes it: user and station lists count from 1.
int shownIndex(const SettingLines::Entry &e)
{
    return e.code == QLatin1String("XZ") || e.code == QLatin1String("XS") ? e.index + 1 : e.index;
}

// The block a line of this code stands in (LS: the low-range block, where it comes first).
Block blockOfCode(const QString &code)
{
    static const QHash<QString, Block> blocks = [] {
        QHash<QString, Block> m;
        for (const SettingLines::Entry &e : SettingLines::fileOrder())
            if (!m.contains(e.code))
                m.insert(e.code, e.block);
        return m;
    }();
    return blocks.value(code, Block::Settings);
}

// "XS 101-128, LO 0-4, GP, SG" for the entries in order.
QString describe(const QVector<SettingLines::Entry> &missing)
{
    QStringList groups;
    for (qsizetype k = 0; k < missing.size();) {
        const SettingLines::Entry &e = missing.at(k);
        qsizetype last = k;
        if (e.index >= 0) {
            while (last + 1 < missing.size() && missing.at(last + 1).code == e.code &&
                   missing.at(last + 1).index == missing.at(last).index + 1)
                ++last;
            const int a = shownIndex(e);
            const int b = shownIndex(missing.at(last));
            groups << (a == b ? QStringLiteral("%1 %2").arg(e.code).arg(a)
                              : QStringLiteral("%1 %2-%3").arg(e.code).arg(a).arg(b));
        } else {
            groups << e.code;
        }
        k = last + 1;
    }
    constexpr int kShown = 12;
    if (groups.size() > kShown) {
        const qsizetype more = groups.size() - kShown;
        groups = groups.mid(0, kShown);
        groups << QStringLiteral("and %1 more").arg(more);
    }
    return groups.join(QLatin1String(", "));
}

// Support flags: they describe the instrument, not the file. A line in its short form
// (an older instrument's) still marks its group refused, so that nothing the file does not
// carry is sent.
struct SupportFlag {
    clsInstrument::M m;
    bool shortForm;
};
constexpr SupportFlag kSupportFlags[] = {
    {clsInstrument::M::invalidWB, true},  {clsInstrument::M::invalidFL_, true}, {clsInstrument::M::invalidGN, true},
    {clsInstrument::M::invalidLP, true},  {clsInstrument::M::invalidHE_, true}, {clsInstrument::M::invalidFF, true},
    {clsInstrument::M::invalidLO_, true}, {clsInstrument::M::invalidLB_, true}, {clsInstrument::M::invalidLI, true},
    {clsInstrument::M::invalidLA_, false}, {clsInstrument::M::invalidLJ, false}, {clsInstrument::M::invalidG1, false},
    {clsInstrument::M::InvalidIF, false},
};

void keepSupportFlags(const clsInstrument &from, clsInstrument &loaded)
{
    clsInstrument::DeviceDoor door(loaded);
    for (const SupportFlag &f : kSupportFlags) {
        const bool refused = from.number(f.m) != 0 || (f.shortForm && loaded.number(f.m) != 0);
        loaded.setNumber(f.m, refused ? -1.0 : 0.0);
    }
}

} // namespace

SettingsFileResult StoreConfig(const clsInstrument &Inst, const QString &FileName, bool Scramble,
                               const Distribution &blocks)
{
    // A value the download could not read is no value of the instrument's: a file that held
    // it would give it to the next instrument as one. Skipping the line would leave a file
    // the reader refuses, so the whole store is refused, naming the lines.
    QVector<SettingLines::Entry> unread;
    if (Inst.AnyUnread())
        for (const SettingLines::Entry &e : SettingLines::fileOrder())
            if (wanted(e.block, Scramble, blocks) && SettingLines::isUnread(Inst, e) && !unread.contains(e))
                unread << e; // a PID names line stands in both PID blocks: named once
    if (!unread.isEmpty())
        return failure(QStringLiteral("The settings cannot be written: %1 could not be read from the instrument; %2")
                           .arg(nameLines(unread), UnreadAdvice(unread, true)));

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

    QByteArray bytes;
    for (const QString &plain : lines) {
        bool ok = true;
        const QString line = EncodeText(plain, Scramble, &ok);
        if (!ok)
            return failure(QStringLiteral("The line %1 cannot be written").arg(plain)); // file discarded
        bytes += line.toLatin1();
        bytes += "\r\n";
    }
    const FileResult w = WriteFileWhole(FileName, bytes);
    if (!w)
        return failure(QStringLiteral("Cannot write %1: %2").arg(FileName, w.error));
    return {};
}

SettingsFileResult LoadConfig(clsInstrument &Inst, const QString &FileName, bool Scramble)
{
    QByteArray bytes;
    const FileResult read = ReadFileWhole(FileName, kMaxFileSize, bytes);
    if (!read)
        return failure(QStringLiteral("Cannot read %1: %2").arg(FileName, read.error));

    if (bytes.startsWith("\xEF\xBB\xBF"))
        return failure(QStringLiteral("%1 begins with a UTF-8 byte-order mark: it was saved as UTF-8 by another "
                                      "program, and a settings file is plain single-byte text")
                           .arg(FileName));

    // Into a copy: the caller's record changes only when the whole file is good.
    clsInstrument work(Inst);
    work.ClearDatas();
    SetCatPpmCh(work);
    SetCatVolCh(work);

    bool cut = false;
    const QStringList lines = SplitLines(bytes, &cut);
    QHash<QString, int> seen;
    QSet<Block> blocks;
    bool anyLs = false;
    for (int k = 0; k < lines.size(); ++k) {
        bool ok = true;
        const QString plain = DecodeText(lines.at(k), Scramble, &ok);
        if (!ok)
            return failure(QStringLiteral("Line %1 of %2 cannot be unscrambled").arg(k + 1).arg(FileName), k + 1,
                           lines.at(k));
        const auto badLine = [&](const QString &why) {
            return failure(QStringLiteral("Line %1 of %2 is not valid (%3): %4").arg(k + 1).arg(FileName, why, plain),
                           k + 1, plain);
        };
        const SettingLines::ParseResult r = SettingLines::parseLineInPlace(work, plain, SettingLines::Door::User);
        if (r.status == SettingLines::ParseStatus::BadLine)
            return badLine(r.reason);
        if (!r.ok())
            continue;
        // A last line without its line end is whole when it ends with "," and has all its
        // fields; its short form could be a full line cut after a field.
        if (cut && k == lines.size() - 1 && r.shortForm)
            return badLine(QStringLiteral("the file ends in the middle of this line"));
        if (!plain.endsWith(QLatin1Char(',')))
            return badLine(QStringLiteral("the line does not end with \",\""));
        const QString key = entryKey(r.code, r.index);
        const int times = ++seen[key];
        if (times > (r.code == QLatin1String("LS") ? 2 : 1))
            return badLine(QStringLiteral("the same setting appears again"));
        if (r.code == QLatin1String("LS"))
            anyLs = true;
        else
            blocks.insert(blockOfCode(r.code));
    }
    if (seen.isEmpty())
        return failure(Scramble ? QStringLiteral("%1 holds no setting line").arg(FileName)
                                : QStringLiteral("%1 holds no setting line (is it a Maintenance Data file?)").arg(FileName));

    // A Config Data file holds every block; a Maintenance Data file whole blocks of those it holds.
    if (!Scramble)
        blocks = {Block::UserList, Block::StationList, Block::Conversion, Block::PidLow, Block::PidHigh, Block::Settings};
    else if (anyLs && !blocks.contains(Block::PidLow) && !blocks.contains(Block::PidHigh))
        blocks.insert(Block::PidLow);
    QHash<QString, int> expected;
    QVector<SettingLines::Entry> missing;
    for (const SettingLines::Entry &e : SettingLines::fileOrder()) {
        if (!blocks.contains(e.block))
            continue;
        const QString key = entryKey(e.code, e.index);
        if (++expected[key] > seen.value(key))
            missing << e;
    }
    if (!missing.isEmpty())
        return failure(QStringLiteral("%1 is incomplete: it lacks %2").arg(FileName, describe(missing)));
    // (PID entries above 16 are no part of the record: not counted either way.)
    for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
        if (expected.value(it.key()) > 0 && it.value() > expected.value(it.key()))
            return failure(QStringLiteral("%1 holds the PID names (LS) more often than its PID blocks").arg(FileName));
    }
    keepSupportFlags(Inst, work);
    Inst = work;
    return {};
}
