// Feeds arbitrary bytes to the frame assembler (text and binary mode) and every text body it
// finds to the answer parsers: the setting-line codec and the read-only codes.
#include "link/FrameCodec.h"
#include "link/ReadOnlyCodes.h"
#include "model/clsInstrument.h"
#include "settingsfiles/SettingLines.h"
#include <QStringList>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static clsInstrument rec;
    Link::FrameAssembler a;
    // Text only, or a dump running with the block size of the option board, FRAM or FLASH.
    static const int kPayload[4] = {0, 128, 256, 1024};
    a.setBinaryPayloadLength(kPayload[data[0] % 4]);
    // Split the input in two feeds so frames across reads are covered.
    const size_t half = size / 2;
    a.feed(reinterpret_cast<const char *>(data) + 1, qsizetype(half > 0 ? half - 1 : 0));
    a.feed(reinterpret_cast<const char *>(data) + half, qsizetype(size - half));
    for (const Link::Frame &f : a.takeFrames()) {
        const Link::Answer ans = Link::SplitBody(f.kind == Link::Frame::Text ? f.body : f.raw);
        if (!ans.valid)
            continue;
        QStringList fields;
        for (const QByteArray &x : ans.fields)
            fields.append(QString::fromLatin1(x));
        clsInstrument::DeviceDoor door(rec);
        SettingLines::parseFields(rec, QString::fromLatin1(ans.code), fields, SettingLines::Door::Device);
        QString why, text;
        ReadOnlyCodes::Apply(rec, ans.code, ans.fields, &why);
        ReadOnlyCodes::ApplyHistory(rec, ans.fields, &text, &why);
    }
    return 0;
}
