#include "support/TestFiles.h"
#include "platform/Animation.h"
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
QByteArray le32(quint32 v) { QByteArray b(4, 0); qToLittleEndian(v, b.data()); return b; }
QByteArray le16(quint16 v) { QByteArray b(2, 0); qToLittleEndian(v, b.data()); return b; }
QByteArray chunk(const char *id, const QByteArray &data)
{
    QByteArray out = QByteArray(id, 4) + le32(quint32(data.size())) + data;
    if (data.size() & 1)
        out.append('\0');
    return out;
}
QByteArray list(const char *kind, const QByteArray &payload) { return chunk("LIST", QByteArray(kind, 4) + payload); }

// A small uncompressed AVI: 'frames' frames of w x h, 24-bit, frame n filled with colour (n*40, 0, 255-n*40).
QByteArray makeAvi(int w, int h, int frames)
{
    QByteArray avih = le32(50000) + QByteArray(12, 0) + le32(quint32(frames)) + le32(0) + le32(1) + le32(0) + le32(quint32(w)) + le32(quint32(h)) + QByteArray(16, 0);
    QByteArray strh = QByteArray("vids") + QByteArray(4, 0) + QByteArray(48, 0);
    QByteArray strf = le32(40) + le32(quint32(w)) + le32(quint32(h)) + le16(1) + le16(24) + le32(0) + QByteArray(20, 0);
    QByteArray movi;
    const int stride = ((w * 24 + 31) / 32) * 4;
    for (int n = 0; n < frames; ++n) {
        QByteArray px(stride * h, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                px[y * stride + 3 * x] = char(255 - n * 40); // B
                px[y * stride + 3 * x + 2] = char(n * 40);   // R
            }
        movi += chunk("00db", px);
    }
    const QByteArray body = QByteArray("AVI ") + list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf))) + list("movi", movi);
    return QByteArray("RIFF") + le32(quint32(body.size())) + body;
}
} // namespace

TEST(AviParser, DecodesUncompressedFramesInOrderAndRefusesDamagedFiles)
{
    const QByteArray good = makeAvi(5, 3, 3);
    QString err;
    const AviClip clip = ParseAvi(good, &err);
    ASSERT_EQ(clip.frames.size(), 3) << err.toStdString();
    EXPECT_EQ(clip.frames[0].size(), QSize(5, 3));
    EXPECT_EQ(QColor(clip.frames[0].pixel(4, 2)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(clip.frames[2].pixel(0, 0)), QColor(80, 0, 175));
    EXPECT_EQ(clip.frameMs, 50);
    // Damage of every kind is the fuzzer's; here the headers and a cut file, refused whole.
    for (const QByteArray &bad : {QByteArray(), QByteArray("RIFF\xff\xff\xff\xff" "AVI ", 12), QByteArray("not a video"), good.left(good.size() - 9)})
        EXPECT_TRUE(ParseAvi(bad).isNull());
    QByteArray huge = makeAvi(4, 4, 1);
    huge.replace(huge.indexOf("strf") + 12, 4, le32(100000)); // width beyond any sense
    EXPECT_TRUE(ParseAvi(huge).isNull());
}

TEST(AnimationControl, PlaysOurFileAndABadOneLeavesAnEmptyArea)
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/Filemove.avi");
    Animation anim;
    anim.resize(280, 64);
    ASSERT_TRUE(anim.Open(path)) << "the build copies resources/Filemove.avi beside the programs";
    EXPECT_GE(anim.FrameCount(), 8);
    EXPECT_TRUE(anim.IsPlaying());
    EXPECT_NE(anim.FrameImage(0), anim.FrameImage(anim.FrameCount() / 2)) << "the frames move";
    // Run-length rows land top side up: background at the corner, the left folder's body lower down.
    const QImage first = anim.FrameImage(0);
    EXPECT_EQ(QColor(first.pixel(0, 0)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(first.pixel(20, 30)), QColor(240, 200, 64));

    QTemporaryDir dir;
    WriteTestFile(dir.filePath(QStringLiteral("bad.avi")), "RIFF junk");
    for (const QString &name : {QStringLiteral("missing.avi"), QStringLiteral("bad.avi")}) {
        EXPECT_FALSE(anim.Open(dir.filePath(name)));
        EXPECT_EQ(anim.FrameCount(), 0);
        anim.Play(); // nothing to play: no effect
        EXPECT_FALSE(anim.IsPlaying());
    }
}
