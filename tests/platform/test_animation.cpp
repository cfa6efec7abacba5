#include "support/TestFiles.h"
#include "platform/Animation.h"
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

    // Damage of every kind is the fuzzer's; here a foreign file and ours cut short.
    QTemporaryDir dir;
    WriteTestFile(dir.filePath(QStringLiteral("bad.avi")), "RIFF junk");
    const QByteArray ours = ReadTestFile(path);
    WriteTestFile(dir.filePath(QStringLiteral("cut.avi")), ours.left(ours.size() - 9));
    for (const QString &name : {QStringLiteral("missing.avi"), QStringLiteral("bad.avi"), QStringLiteral("cut.avi")}) {
        EXPECT_FALSE(anim.Open(dir.filePath(name)));
        EXPECT_EQ(anim.FrameCount(), 0);
        anim.Play(); // nothing to play: no effect
        EXPECT_FALSE(anim.IsPlaying());
    }
}
