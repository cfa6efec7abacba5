#include "support/TestFiles.h"
#include "platform/Animation.h"
#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
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
QByteArray makeAvi(int w, int h, int frames, int bits = 24, quint32 usPerFrame = 50000)
{
    QByteArray avih = le32(usPerFrame) + QByteArray(12, 0) + le32(quint32(frames)) + le32(0) + le32(1) + le32(0) + le32(quint32(w)) + le32(quint32(h)) + QByteArray(16, 0);
    QByteArray strh = QByteArray("vids") + QByteArray(4, 0) + QByteArray(48, 0);
    QByteArray strf = le32(40) + le32(quint32(w)) + le32(quint32(h)) + le16(1) + le16(quint16(bits)) + le32(0) + QByteArray(20, 0);
    if (bits == 8) {
        for (int i = 0; i < 256; ++i)
            strf += QByteArray(1, char(255 - i)) + QByteArray(1, 0) + QByteArray(1, char(i)) + QByteArray(1, 0);
    }
    QByteArray movi;
    const int stride = ((w * bits + 31) / 32) * 4;
    for (int n = 0; n < frames; ++n) {
        QByteArray px(stride * h, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (bits == 24) {
                    px[y * stride + 3 * x] = char(255 - n * 40); // B
                    px[y * stride + 3 * x + 2] = char(n * 40);   // R
                } else {
                    px[y * stride + x] = char(n * 40);
                }
            }
        movi += chunk("00db", px);
    }
    const QByteArray body = QByteArray("AVI ") + list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf))) + list("movi", movi);
    return QByteArray("RIFF") + le32(quint32(body.size())) + body;
}
} // namespace

TEST(AviParser, DecodesUncompressedFramesInOrder)
{
    QString err;
    const AviClip clip = ParseAvi(makeAvi(5, 3, 3), &err);
    ASSERT_EQ(clip.frames.size(), 3) << err.toStdString();
    EXPECT_EQ(clip.frames[0].size(), QSize(5, 3));
    EXPECT_EQ(QColor(clip.frames[0].pixel(4, 2)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(clip.frames[2].pixel(0, 0)), QColor(80, 0, 175));
    EXPECT_EQ(clip.frameMs, 50);
    const AviClip pal = ParseAvi(makeAvi(3, 2, 2, 8));
    ASSERT_EQ(pal.frames.size(), 2);
    EXPECT_EQ(QColor(pal.frames[1].pixel(1, 1)), QColor(40, 0, 215)) << "palette entries are B, G, R";
}

TEST(AviParser, DamagedFilesAreRefusedWithoutCrashing)
{
    const QByteArray good = makeAvi(4, 4, 2);
    EXPECT_TRUE(ParseAvi(QByteArray()).isNull());
    EXPECT_TRUE(ParseAvi(QByteArray("RIFF\xff\xff\xff\xff" "AVI ", 12)).isNull());
    EXPECT_TRUE(ParseAvi(QByteArray("not a video at all")).isNull());
    // Every truncation and a sweep of flipped bytes: never a crash, never a frame of the wrong size.
    for (int n = 0; n < good.size(); ++n) {
        const AviClip c = ParseAvi(good.left(n));
        for (const QImage &img : c.frames)
            EXPECT_EQ(img.size(), QSize(4, 4));
    }
    for (int i = 0; i < good.size(); ++i) {
        QByteArray bad = good;
        bad[i] = char(bad[i] ^ 0xA5);
        const AviClip c = ParseAvi(bad);
        EXPECT_LE(c.frames.size(), 2);
    }
    QByteArray huge = makeAvi(4, 4, 1);
    huge.replace(huge.indexOf("strf") + 12, 4, le32(100000)); // width beyond any sense
    EXPECT_TRUE(ParseAvi(huge).isNull());
}

TEST(AnimationControl, PlaysOurFileInALoop)
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/Filemove.avi");
    ASSERT_TRUE(QFile::exists(path)) << "the build copies resources/Filemove.avi beside the programs";
    Animation anim;
    anim.resize(280, 64);
    ASSERT_TRUE(anim.Open(path));
    EXPECT_GE(anim.FrameCount(), 8);
    EXPECT_TRUE(anim.IsPlaying());
    EXPECT_NE(anim.FrameImage(0), anim.FrameImage(anim.FrameCount() / 2)) << "the frames move";
    // Run-length rows land top side up: background at the corner, the left folder's body lower down.
    const QImage first = anim.FrameImage(0);
    EXPECT_EQ(QColor(first.pixel(0, 0)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(first.pixel(20, 30)), QColor(240, 200, 64));
    QSignalSpy spy(&anim, &Animation::FrameShown);
    // Wait for a full round plus a little, however slow the machine (sanitizers).
    for (int waited = 0; spy.size() <= anim.FrameCount() + 1 && waited < 20000; waited += 20)
        QTest::qWait(20);
    ASSERT_GT(spy.size(), anim.FrameCount());
    bool wrapped = false;
    for (int i = 1; i < spy.size(); ++i)
        wrapped = wrapped || spy[i][0].toInt() < spy[i - 1][0].toInt();
    EXPECT_TRUE(wrapped) << "it starts again after the last frame";
    anim.Stop();
    EXPECT_FALSE(anim.IsPlaying());
}

TEST(AnimationControl, MissingOrBadFileLeavesAnEmptyArea)
{
    QTemporaryDir dir;
    Animation anim;
    anim.resize(100, 40);
    EXPECT_FALSE(anim.Open(dir.filePath(QStringLiteral("Filemove.avi"))));
    EXPECT_EQ(anim.FrameCount(), 0);
    EXPECT_FALSE(anim.IsPlaying());
    WriteTestFile(dir.filePath(QStringLiteral("bad.avi")), "RIFF junk");
    EXPECT_FALSE(anim.Open(dir.filePath(QStringLiteral("bad.avi"))));
    anim.Play();  // nothing to play: no effect
    EXPECT_FALSE(anim.IsPlaying());
    const QImage img = anim.grab().toImage();
    EXPECT_EQ(img.size(), QSize(100, 40));
}
