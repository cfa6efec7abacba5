#include "support/TestFiles.h"
#include "platform/Animation.h"
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

TEST(AnimationControl, PlaysOurFileInALoopAndABadOneLeavesAnEmptyArea)
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
    EXPECT_EQ(anim.FrameInterval(), 80) << "the pace the file gives";

    // After its last frame it starts again (our file made quick, so the round is short).
    QTemporaryDir dir;
    const QByteArray ours = ReadTestFile(path);
    QByteArray quick = ours;
    qToLittleEndian<quint32>(15000, quick.data() + quick.indexOf("avih") + 8);
    WriteTestFile(dir.filePath(QStringLiteral("quick.avi")), quick);
    ASSERT_TRUE(anim.Open(dir.filePath(QStringLiteral("quick.avi"))));
    QSignalSpy shown(&anim, &Animation::FrameShown);
    while (shown.size() <= anim.FrameCount() && shown.wait(2000)) {
    }
    ASSERT_GT(shown.size(), anim.FrameCount());
    EXPECT_EQ(shown.at(anim.FrameCount() - 1).first().toInt(), 0) << "the frame after the last is the first";

    // Damage of every kind is the fuzzer's; here a foreign file and ours cut short.
    WriteTestFile(dir.filePath(QStringLiteral("bad.avi")), "RIFF junk");
    WriteTestFile(dir.filePath(QStringLiteral("cut.avi")), ours.left(ours.size() - 9));
    for (const QString &name : {QStringLiteral("missing.avi"), QStringLiteral("bad.avi"), QStringLiteral("cut.avi")}) {
        EXPECT_FALSE(anim.Open(dir.filePath(name)));
        EXPECT_EQ(anim.FrameCount(), 0);
        anim.Play(); // nothing to play: no effect
        EXPECT_FALSE(anim.IsPlaying());
    }
}
