#include "MainFixture.h"
#include "platform/Animation.h"
#include <QLabel>
#include <QPushButton>
#include <QTimer>

class FrameUpload : public MainFixture {
protected:
    void SetUp() override
    {
        MainFixture::SetUp();
        options.adapters = 0;
        options.waitConnected = false;
    }
    frmUpload *Load(int mode)
    {
        gTransferMode = mode;
        frmUpload::UnloadDefault();
        return frmUpload::Default();
    }
};

TEST_F(FrameUpload, TextsAndCancelButtonByTransferMode)
{
    ASSERT_TRUE(StartMain());
    struct Row {
        int mode;
        int message;
        bool cancel;
    };
    const Row rows[] = {{0, 6004, false}, {1, 6001, true},  {2, 6001, false}, {3, 6002, false}, {4, 6003, false},
                        {5, 6004, true},  {6, 6004, true},  {7, 6004, true},  {8, 6058, false}};
    for (const Row &r : rows) {
        frmUpload *u = Load(r.mode);
        ASSERT_NE(u, nullptr);
        EXPECT_EQ(u->windowTitle(), GetMsg(r.message)) << r.mode;
        EXPECT_EQ(u->lblUpload->text(), GetMsg(r.message)) << r.mode;
        EXPECT_EQ(!u->cmdUpload->isHidden(), r.cancel) << r.mode;
        if (r.cancel) {
            EXPECT_EQ(u->cmdUpload->text(), GetMsg(6005));
        }
        EXPECT_FALSE(u->Canceled());
    }
    frmUpload *u = Load(42);
    EXPECT_EQ(u->windowTitle(), QStringLiteral("Now Upload"));
    EXPECT_EQ(u->lblUpload->text(), QStringLiteral("Now Uploading."));
    EXPECT_FALSE(u->cmdUpload->isHidden());
}

TEST_F(FrameUpload, HeightFollowsTheCancelButtonAndSizeSnapsBack)
{
    ASSERT_TRUE(StartMain());
    frmUpload *u = Load(0);
    u->show();
    const int label = HeightTwips(u->lblUpload);
    EXPECT_EQ(PixelsToTwips(u->width()), 288 * 15 + 240);
    EXPECT_NEAR(PixelsToTwips(u->height()), 64 * 15 + 2 * label, 15);
    u = Load(1);
    u->show();
    EXPECT_NEAR(PixelsToTwips(u->height()), 64 * 15 + 2.6 * label, 15);
    const QSize want = u->size();
    u->resize(want.width() + 50, want.height() + 80);
    EXPECT_EQ(u->size(), want);
    // The button lies inside the window, below the label.
    EXPECT_GT(u->cmdUpload->height(), 0);
    EXPECT_LE(u->cmdUpload->geometry().bottom(), u->height());
    EXPECT_GT(u->cmdUpload->y(), u->lblUpload->geometry().bottom());
}

TEST_F(FrameUpload, CancelOnceSetsTheLinkFlag)
{
    ASSERT_TRUE(StartMain());
    form->uclQL7150->setCancel(false);
    frmUpload *u = form->ShowUpload(GetMsg(6059));
    ASSERT_NE(u, nullptr);
    gTransferMode = 1;
    u = Load(1);
    u->show();
    QTest::mouseClick(u->cmdUpload, Qt::LeftButton);
    EXPECT_TRUE(u->Canceled());
    EXPECT_TRUE(form->uclQL7150->Cancel());
    EXPECT_EQ(u->lblUpload->text(), GetMsg(6006));
    EXPECT_FALSE(u->cmdUpload->isEnabled());
    // A second press cannot reach it.
    form->uclQL7150->setCancel(false);
    QTest::mouseClick(u->cmdUpload, Qt::LeftButton);
    EXPECT_FALSE(form->uclQL7150->Cancel());
}

TEST_F(FrameUpload, ShowUploadKeepsTheCommandsCaptionAndIsFreshEachTime)
{
    ASSERT_TRUE(StartMain());
    gTransferMode = 0;
    frmUpload *u = form->ShowUpload(GetMsg(6057), GetMsg(6001));
    EXPECT_EQ(u->windowTitle(), GetMsg(6057));
    EXPECT_EQ(u->lblUpload->text(), GetMsg(6001));
    EXPECT_TRUE(u->isVisible());
    EXPECT_TRUE(u->amnUpload->IsPlaying() || u->amnUpload->FrameCount() == 0);
    u->lblUpload->setText(QStringLiteral("last progress"));
    form->UnloadUpload();
    u = form->ShowUpload(GetMsg(6056));
    EXPECT_EQ(u->lblUpload->text(), GetMsg(6004));
    form->UnloadUpload();
}

TEST_F(FrameUpload, AnimationPlaysFromTheProgramFolder)
{
    ASSERT_TRUE(StartMain());
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Filemove.avi"),
                file(QStringLiteral("Filemove.avi")));
    frmUpload *u = Load(0);
    if (QFile::exists(file(QStringLiteral("Filemove.avi")))) {
        EXPECT_GT(u->amnUpload->FrameCount(), 0);
    }
    QFile::remove(file(QStringLiteral("Filemove.avi")));
    u = Load(0); // missing file: an empty area, the window works
    EXPECT_EQ(u->amnUpload->FrameCount(), 0);
    EXPECT_EQ(u->lblUpload->text(), GetMsg(6004));
}
