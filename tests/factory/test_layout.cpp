// The dialog as a technician meets it: every caption and cell whole on every tab from the
// first showing on, no key but OK, Cancel and the close box ending it, its message boxes
// titled as the program's; and the pictures of it the README shows.
#include "FsFixture.h"
#include "ScratchDir.h"
#include "support/CutCaptions.h"
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTabBar>

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

// The program's title on every box; the error icon on every failure, none on a notice.
TEST_F(Layout, MessageBoxesCarryTheProgramsTitleAndFailuresTheErrorIcon)
{
    ASSERT_TRUE(Open());
    files->choose(file(QStringLiteral("bad.csv"), "no number\r\n"));
    dlg->cmdStationImport->click();
    files->choose(dir.filePath(QStringLiteral("missing/Station.csv")));
    dlg->cmdStationExport->click();
    files->choose(file(QStringLiteral("bad.vkx"), "not scrambled\r\n"));
    dlg->cmdLoad->click();
    const int failures = int(boxes->calls().size());
    files->cancel();
    dlg->cmdUserExport->click();
    files->choose(file(QStringLiteral("User.csv")));
    dlg->cmdUserExport->click();
    ASSERT_EQ(boxes->calls().size(), 5) << boxes->prompts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(failures, 3);
    for (int i = 0; i < boxes->calls().size(); ++i) {
        const MsgBoxCall &c = boxes->calls().at(i);
        EXPECT_EQ(c.title, GetMsg(5001)) << c.prompt.toStdString();
        EXPECT_EQ(c.icon(), i < failures ? int(vb::Critical) : 0) << c.prompt.toStdString();
    }
}

// What a picture of the dialog does not show whole: a tab caption outside its bar or wider
// than its tab; a grid's header cell (its caption row, its caption column's width) outside
// the grid's viewport, or with nothing drawn where it should be.
static QStringList NotWholeInPicture(QWidget *dlg, const QImage &shot, const QList<const FlexGrid *> &captionRow)
{
    QStringList out;
    const double scale = shot.devicePixelRatio();
    auto drawn = [&](const QWidget *w, const QRect &r) {
        const QRect at(w->mapTo(dlg, r.topLeft()) * scale, r.size() * scale);
        const QImage part = shot.copy(at);
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x)
                if (part.pixel(x, y) != part.pixel(0, 0))
                    return true;
        return false;
    };
    for (const TabControl *tabs : dlg->findChildren<TabControl *>()) {
        if (!tabs->isVisibleTo(dlg))
            continue;
        const QTabBar *bar = tabs->tabBar();
        for (int i = 0; i < tabs->Tabs(); ++i) {
            QString shown = tabs->TabCaption(i);
            shown.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&')).replace(QLatin1Char('\x01'), QLatin1Char('&'));
            const QRect r = bar->tabRect(i);
            if (!bar->rect().contains(r) || bar->fontMetrics().horizontalAdvance(shown) > r.width() || !drawn(bar, r))
                out << QStringLiteral("%1 tab %2 \"%3\"").arg(tabs->objectName()).arg(i).arg(shown);
        }
    }
    for (const FlexGrid *g : dlg->findChildren<FlexGrid *>()) {
        if (!g->isVisibleTo(dlg) || g->Rows() == 0)
            continue;
        const QWidget *port = g->view()->viewport();
        const QRect room(port->mapTo(g, QPoint(0, 0)), port->size());
        auto whole = [&](int r, int c, bool inHeight) {
            const QRect cell = g->CellRect(r, c);
            const bool inside = !cell.isEmpty() && cell.left() >= room.left() && cell.right() <= room.right()
                                && (!inHeight || (cell.top() >= room.top() && cell.bottom() <= room.bottom()));
            if (!inside || (inHeight && !drawn(g, cell)))
                out << QStringLiteral("%1(%2,%3) \"%4\"").arg(g->objectName()).arg(r).arg(c).arg(g->TextMatrix(r, c));
        };
        whole(0, 0, false);
        if (captionRow.contains(g))
            for (int c = 1; c < g->Cols(); ++c)
                if (!g->TextMatrix(0, c).isEmpty())
                    whole(0, c, true);
    }
    return out;
}

// One picture of each outer tab at the first opening, beside the test program, showing every
// tab caption and grid header whole; the README's copies in docs/ are refreshed on request
// only, so a test run never changes the source tree.
TEST_F(Layout, ScreenshotOfEveryTab)
{
    ASSERT_TRUE(Open());
    const QDir docs(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../docs"));
    const QStringList names = {QStringLiteral("station"), QStringLiteral("conversion"), QStringLiteral("channel"),
                               QStringLiteral("gasname"), QStringLiteral("parameter"), QStringLiteral("pid")};
    // The grids with a caption row (the name and setting lists have none).
    const QList<const FlexGrid *> captionRow = {dlg->vfgPreConv, dlg->vfgUserConv, dlg->vfgChannel, dlg->vfgOtherSet,
                                                dlg->vfgGasName, dlg->vfgGasNameOther, dlg->vfgME, dlg->vfgZeroSpan,
                                                dlg->vfgPID[0], dlg->vfgPID[1]};
    // The captions a technician finds the dialog and its tabs by.
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("VANTIK Factory Setting"));
    QStringList captions;
    for (const TabControl *tabs : {dlg->SSTab1, dlg->SSTab2, dlg->SSTab4, dlg->SSTab3})
        for (int i = 0; i < tabs->Tabs(); ++i)
            captions << tabs->TabCaption(i);
    EXPECT_EQ(captions.join(QLatin1Char('|')).toStdString(),
              "Station && User|Conversion Table|Channel Gas|Gas Name|Parameter|PID Sensor|Pre-Defined Table|"
              "User Defined Table|SET UP|FACTORY SETTINGS|OTHER|High Range|Low Range");
    for (int t = 0; t < names.size(); ++t) {
        dlg->SSTab1->setTab(t);
        QCoreApplication::processEvents();
        const QImage shot = dlg->grab().toImage();
        ASSERT_EQ(shot.size(), dlg->size() * shot.devicePixelRatio());
        EXPECT_EQ(NotWholeInPicture(dlg, shot, captionRow).join(QLatin1Char('\n')).toStdString(), "") << names[t].toStdString();
        const QString name = QStringLiteral("factory-%1.png").arg(names[t]);
        EXPECT_TRUE(shot.save(QDir(QCoreApplication::applicationDirPath()).filePath(name)));
        if (qEnvironmentVariableIsSet("VANTIK_UPDATE_DOCS") && docs.exists()) {
            EXPECT_TRUE(shot.save(docs.filePath(name)));
        }
    }
}
