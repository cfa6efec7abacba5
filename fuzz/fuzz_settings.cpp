// Feeds arbitrary bytes, as the lines of a settings file (plain or scrambled), to the reader's
// line path: the text scrambler and the setting-line codec through the user door.
#include "core/Scrambler.h"
#include "model/clsInstrument.h"
#include "settingsfiles/SettingLines.h"
#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static clsInstrument rec;
    gScramble = data[0] % 2 ? -1 : 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    for (const QByteArray &raw : bytes.split('\n')) {
        bool ok = true;
        const QString line = DecodeText(QString::fromLatin1(raw), &ok);
        if (ok)
            SettingLines::parseLine(rec, line, SettingLines::Door::User);
    }
    gScramble = 0;
    return 0;
}
