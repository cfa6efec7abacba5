#include "MainFixture.h"
#include "platform/FlexGrid.h"
#include "platform/StatusLamp.h"
#include <QCheckBox>
#include <QFileInfo>
#include <QSet>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>

class FrameLayout : public MainFixture {
protected:
    void ExpectSane()
    {
        const int SW = PixelsToTwips(form->width());
        for (QWidget *w : QList<QWidget *>{form->fraStatus, form->vfgOption, form->fraTransStatus, form->rtbLog,
                                           form->fraCommand[0], form->fraCommand[1], form->fraCommand[2]}) {
            EXPECT_GT(w->width(), 0) << qPrintable(w->objectName());
            EXPECT_GT(w->height(), 0) << qPrintable(w->objectName());
        }
        // Command frames right-aligned, 150 apart, none overlapping the status frame.
        EXPECT_NEAR(LeftTwips(form->fraCommand[2]) + WidthTwips(form->fraCommand[2]), SW - 150, 30);
        EXPECT_GT(LeftTwips(form->fraCommand[0]), LeftTwips(form->fraTransStatus) + WidthTwips(form->fraTransStatus));
        // Buttons of the inner frames fit their frame.
        for (int i = 0; i < 3; ++i)
            EXPECT_LE(form->fraInCommand[i]->geometry().right(), form->fraCommand[i]->width());
        for (int c = 0; c < form->vfgOption->Cols(); ++c)
            EXPECT_GE(form->vfgOption->ColWidth(c), 300) << c;
    }
};

TEST(GasGridColumns, ShareTheWidthByLanguage)
{
    EXPECT_EQ(GasGridColumnWidths(10000, 6, QStringLiteral("EN")), (QVector<int>{1500, 1700, 1700, 1700, 1700, 1700}));
    EXPECT_EQ(GasGridColumnWidths(10000, 6, QStringLiteral("JP")), (QVector<int>{1300, 1740, 1740, 1740, 1740, 1740}));
    EXPECT_TRUE(GasGridColumnWidths(10000, 6, QStringLiteral("FR")).isEmpty());
    EXPECT_TRUE(GasGridColumnWidths(10000, 1, QStringLiteral("EN")).isEmpty());
    // Halves round to even.
    EXPECT_EQ(GasGridColumnWidths(10010, 2, QStringLiteral("EN"))[0], 1502); // 1501.5
}

TEST_F(FrameLayout, BandsAndFramesFollowTheWindowSize)
{
    ASSERT_TRUE(StartMain());
    form->resize(TwipsToPixels(18000), TwipsToPixels(13500));
    const int SW = PixelsToTwips(form->width());
    const int SH = PixelsToTwips(form->height());
    const int h = int(std::nearbyint((SH - 450) * 0.5));
    EXPECT_NEAR(TopTwips(form->fraStatus), SH - 150 - h, 15);
    EXPECT_NEAR(HeightTwips(form->fraStatus), h, 15);
    EXPECT_NEAR(WidthTwips(form->fraStatus), SW - 300, 15);
    EXPECT_NEAR(TopTwips(form->vfgOption) + HeightTwips(form->vfgOption), h - 150, 15);
    const int cw = int(std::nearbyint(((SW - 900) * 0.5 - 300) / 3));
    EXPECT_NEAR(WidthTwips(form->fraCommand[1]), std::max(cw, WidthTwips(form->fraInCommand[0]) + 150), 15);
    EXPECT_NEAR(HeightTwips(form->fraCommand[0]), SH - 450 - h, 15);
    EXPECT_NEAR(LeftTwips(form->fraTransStatus), 150, 15);
    EXPECT_NEAR(LeftTwips(form->shpStatus[1]), (WidthTwips(form->fraTransStatus) - 300) / 2 + 150, 15);
    EXPECT_NEAR(TopTwips(form->rtbLog), TopTwips(form->lblTitle) + HeightTwips(form->lblTitle), 15);
    EXPECT_NEAR(TopTwips(form->rtbLog) + HeightTwips(form->rtbLog),
                TopTwips(form->fraCommand[0]) + HeightTwips(form->fraCommand[0]), 15);
    ExpectSane();
}

TEST_F(FrameLayout, SmallWindowSnapsToTheMinimumAndStaysSane)
{
    ASSERT_TRUE(StartMain());
    form->resize(200, 150);
    EXPECT_GE(form->width(), TwipsToPixels(12300));
    EXPECT_GE(form->height(), TwipsToPixels(11025));
    ExpectSane();
    for (int w : {12300, 15000, 24000, 40000}) {
        form->resize(TwipsToPixels(w), TwipsToPixels(11025 + w / 4));
        ExpectSane();
    }
}

TEST_F(FrameLayout, MinimizeAndRestoreKeepTheLayout)
{
    ASSERT_TRUE(StartMain());
    form->resize(TwipsToPixels(15000), TwipsToPixels(12000));
    const QRect grid = form->vfgOption->geometry();
    const QRect log = form->rtbLog->geometry();
    form->showMinimized();
    form->Form_Resize();
    form->showNormal();
    form->resize(TwipsToPixels(15000), TwipsToPixels(12000));
    EXPECT_EQ(form->vfgOption->geometry(), grid);
    EXPECT_EQ(form->rtbLog->geometry(), log);
}

TEST_F(FrameLayout, CaptionsFromTheMessageTable)
{
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(form->cmdDown[5]->text(), GetMsg(5047));
    EXPECT_EQ(form->cmdOption[3]->text(), GetMsg(5257));
    EXPECT_EQ(form->fraCommand[1]->title(), GetMsg(5227));
    EXPECT_EQ(form->lblOption[4]->text(), GetMsg(5213));
    EXPECT_EQ(form->chkFactorySave->text(), GetMsg(8040));
    EXPECT_EQ(form->lblStatus[2]->text(), QStringLiteral("Cal.Unit"));
    EXPECT_EQ(form->fraStatus->title(), QStringLiteral("VANTIK Status"));
    // Every array member carries its index in its name.
    EXPECT_EQ(form->findChild<QPushButton *>(QStringLiteral("cmdDown_1")), form->cmdDown[1]);
    EXPECT_EQ(form->findChild<QWidget *>(QStringLiteral("shpStatus_3")), form->shpStatus[3]);
    EXPECT_EQ(form->findChild<QLabel *>(QStringLiteral("lblOption_6")), form->lblOption[6]);
}

// The main window after start-up, connected to the simulator, as the README shows it.
TEST_F(FrameLayout, Screenshot)
{
    ASSERT_TRUE(StartMain());
    form->resize(TwipsToPixels(14400), TwipsToPixels(11025));
    form->lblOption[5]->setProperty("Tag", QString());
    form->tmrInter_Timer();
    QCoreApplication::processEvents();
    const QImage shot = form->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QString out = QCoreApplication::applicationDirPath() + QStringLiteral("/mainwindow.png");
    ASSERT_TRUE(shot.save(out));
    EXPECT_GT(QFileInfo(out).size(), 0);
    QImage back(out);
    EXPECT_EQ(back.size(), shot.size());
    // Not a blank image: the lamps and log lines make more than a handful of colours.
    QSet<QRgb> colours;
    for (int y = 0; y < back.height(); y += 7)
        for (int x = 0; x < back.width(); x += 7)
            colours.insert(back.pixel(x, y));
    EXPECT_GT(colours.size(), 5);
}
