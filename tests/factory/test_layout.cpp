// The dialog as a technician meets it: every caption and cell whole on every tab from the
// first showing on, no key but OK, Cancel and the close box ending it; and the pictures of
// it the README shows.
#include "FsFixture.h"
#include "ScratchDir.h"
#include "support/CutCaptions.h"
#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace {

class Layout : public FsFixture, protected ScratchDir {
protected:
    // The inner tab control of an outer tab, if it has one.
    TabControl *Inner(int tab) const
    {
        return tab == 1 ? dlg->SSTab2 : tab == 4 ? dlg->SSTab4 : tab == 5 ? dlg->SSTab3 : nullptr;
    }
    // Shows every tab and nested tab in turn, each for the first time on a new opening, and
    // collects what any of them shows cut.
    QStringList CutOnEveryTab()
    {
        QStringList cut;
        for (int t = 0; t < dlg->SSTab1->Tabs(); ++t) {
            dlg->SSTab1->setTab(t);
            TabControl *inner = Inner(t);
            for (int i = 0; i < (inner ? inner->Tabs() : 1); ++i) {
                if (inner)
                    inner->setTab(i);
                QCoreApplication::processEvents();
                for (const QString &line : CutCaptions(dlg))
                    cut << QStringLiteral("tab %1.%2 %3").arg(t).arg(i).arg(line);
            }
        }
        return cut;
    }
};

} // namespace

// At the size it opens with and at its smallest, on the first opening and a reopening, with
// names imported that are longer than any the record held.
TEST_F(Layout, EveryHeaderAndCellFitsOnEveryTab)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setAlarmO2(1);         // "BOTH ALARMS FALLING", a list entry that ends in a line break
    }
    ASSERT_TRUE(Open());
    const QSize opened = dlg->size();
    for (int opening = 1; opening <= 2; ++opening) {
        EXPECT_EQ(CutOnEveryTab().join(QLatin1Char('\n')).toStdString(), "") << "opening " << opening;
        dlg->SSTab1->setTab(0);
        files->choose(file(QStringLiteral("Station.csv"), "1,STATION IMP0RTED\r\n2,WWWWWWWWWWWWWWWW\r\n"));
        dlg->cmdStationImport->click();
        ASSERT_EQ(dlg->vfgStation->TextMatrix(1, 1), QStringLiteral("WWWWWWWWWWWWWWWW"));
        dlg->resize(1, 1); // as small as its layout lets it be
        EXPECT_EQ(CutOnEveryTab().join(QLatin1Char('\n')).toStdString(), "") << "smallest, opening " << opening;
        dlg->resize(opened);
        // The close box hides this instance; the next showing refills the same grids.
        dlg->close();
        ASSERT_TRUE(Open());
    }
}

// Escape drops an open cell entry; pressed again, or anywhere else, it ends nothing.
TEST_F(Layout, EscapeEndsACellEditNotTheDialog)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(0);
    ASSERT_TRUE(Edit(dlg->vfgStation, 4, 1, QStringLiteral("NORTH")));
    ASSERT_TRUE(OpenCell(dlg->vfgStation, 5, 1));
    QTest::keyClicks(EditorLine(dlg->vfgStation), QStringLiteral("SOUTH"));
    QTest::keyClick(EditorLine(dlg->vfgStation), Qt::Key_Escape);
    for (QWidget *w : {static_cast<QWidget *>(dlg->vfgStation->view()), static_cast<QWidget *>(dlg->cmdOK),
                       static_cast<QWidget *>(dlg.data())})
        QTest::keyClick(w, Qt::Key_Escape);
    QCoreApplication::processEvents();
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_NE(dlg->vfgStation->TextMatrix(5, 1), QStringLiteral("SOUTH"));
    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().XS_(4).trimmed(), QStringLiteral("NORTH"));
}

// One picture of each outer tab at the first opening, beside the test program; the README's
// copies in docs/ are refreshed on request only, so a test run never changes the source tree.
TEST_F(Layout, ScreenshotOfEveryTab)
{
    ASSERT_TRUE(Open());
    const QDir docs(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../docs"));
    const QStringList names = {QStringLiteral("station"), QStringLiteral("conversion"), QStringLiteral("channel"),
                               QStringLiteral("gasname"), QStringLiteral("parameter"), QStringLiteral("pid")};
    for (int t = 0; t < names.size(); ++t) {
        dlg->SSTab1->setTab(t);
        QCoreApplication::processEvents();
        const QImage shot = dlg->grab().toImage();
        ASSERT_FALSE(shot.isNull());
        const QString name = QStringLiteral("factory-%1.png").arg(names[t]);
        EXPECT_TRUE(shot.save(QDir(QCoreApplication::applicationDirPath()).filePath(name)));
        if (qEnvironmentVariableIsSet("VANTIK_UPDATE_DOCS") && docs.exists()) {
            EXPECT_TRUE(shot.save(docs.filePath(name)));
        }
    }
}
