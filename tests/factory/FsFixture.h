#pragma once
// Shared fixture of the factory-dialog tests: clean globals, scripted message boxes and
// file dialogs, a record as a download leaves it in gInstrument, and the dialog opened on
// it (shown, not exec'd, so a test drives it directly). Helpers edit any grid the way a
// user does: click the cell, F2, type, Enter; or pick an entry of a cell's list.
#include "core/Messages.h"
#include "core/modMain.h"
#include "factory/frmFsDialog.h"
#include "mainwindow/modMainWindow.h"
#include "model/ModelGlobals.h"
#include "model/RangeTables.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "platform/CommonDialog.h"
#include "platform/FlexGrid.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Tabs.h"
#include "sim/samples/SampleRecord.h"
#include "support/FileSizeLimit.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class FsFixture : public ::testing::Test {
protected:
    std::unique_ptr<ScriptedMsgBox> boxes;
    std::unique_ptr<ScriptedCommonDialog> files;
    QPointer<frmFsDialog> dlg;

    void SetUp() override
    {
        ResetForms();
        ResetCoreGlobals();
        ResetModelGlobals();
        ResetMainWindowGlobals();
        boxes = std::make_unique<ScriptedMsgBox>();
        files = std::make_unique<ScriptedCommonDialog>();
        SetBeepHook([] {});
        ResetBeepCount();
        // The demo instrument as a download leaves it (no flag set), with the values these
        // tests look for.
        rec() = DemoRecord();
        clsInstrument::DeviceDoor door(rec());
        rec().setAlarmMode(0);
        rec().setCalLimit(30);
        rec().setLogoDisp(4);
        rec().setBNuserLogoName(QStringLiteral("ACME GAS"));
        rec().setCommFlags(-1);
        for (int i = 0; i < 128; ++i)
            rec().setXS_(i, QStringLiteral("Station %1").arg(i + 1));
        for (int i = 0; i < 32; ++i)
            rec().setXZ_(i, QStringLiteral("User %1").arg(i + 1));
        // The derived catalytic channels, as the link fills them after a read.
        SetCatPpmCh(rec());
        SetCatVolCh(rec());
    }
    void TearDown() override
    {
        ResetForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        files.reset();
        boxes.reset();
        SetBeepHook(nullptr);
        ResetMainWindowGlobals();
        ResetModelGlobals();
        ResetCoreGlobals();
    }

    // Opens the dialog on gInstrument as the main window does (shown, not waited for).
    frmFsDialog *Open()
    {
        frmFsDialog::Register();
        dlg = qobject_cast<frmFsDialog *>(Form(QStringLiteral("frmFsDialog")));
        if (!dlg)
            return nullptr;
        QMetaObject::invokeMethod(dlg, "setInstrument", Qt::DirectConnection, Q_ARG(clsInstrument *, &gInstrument()));
        dlg->show();
        QCoreApplication::processEvents();
        return dlg;
    }
    // Exports to path under a size limit the file cannot fit: true when the one message
    // says it failed.
    bool ExportFails(QPushButton *button, const QString &path, long limit)
    {
        boxes->clear();
        files->choose(path);
        ScopedFileSizeLimit small(limit);
        button->click();
        return boxes->prompts().size() == 1 && boxes->prompts().first() != QStringLiteral("Export Complete");
    }
    // True once the dialog has gone (unloaded and deleted).
    bool Closed() { return QTest::qWaitFor([this] { return dlg.isNull(); }, 2000); }
    clsInstrument &rec() { return gInstrument(); }
    clsInstrument &edit() { return *dlg->EditInstrument(); }

public:
    // Cell editing as a user does it, also for a dialog the main window opened.
    static QLineEdit *EditorLine(FlexGrid *g)
    {
        if (auto *c = qobject_cast<QComboBox *>(g->Editor()))
            return c->lineEdit();
        return qobject_cast<QLineEdit *>(g->Editor());
    }
    // Clicks the cell and opens its editor with F2; false when no editor opened.
    static bool OpenCell(FlexGrid *g, int r, int c)
    {
        QTableView *view = g->view();
        const QModelIndex at = view->model()->index(r, c);
        view->scrollTo(at);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(at).center());
        QTest::keyClick(view, Qt::Key_F2);
        return g->IsEditing() && g->EditRow() == r && g->EditCol() == c;
    }
    // Types text over a free-text cell and presses Enter. True when the cell took it; a
    // refused entry is dropped with Escape unless keepOpen.
    static bool Edit(FlexGrid *g, int r, int c, const QString &text, bool keepOpen = false)
    {
        QLineEdit *line = OpenCell(g, r, c) ? EditorLine(g) : nullptr;
        if (!line)
            return false;
        line->selectAll();
        if (text.isEmpty())
            QTest::keyClick(line, Qt::Key_Backspace);
        else
            QTest::keyClicks(line, text);
        QTest::keyClick(line, Qt::Key_Return);
        if (!g->IsEditing())
            return true;
        if (!keepOpen)
            QTest::keyClick(line, Qt::Key_Escape);
        return false;
    }
    // Chooses the entry of a list cell as a user does (open, pick, Enter).
    static bool Pick(FlexGrid *g, int r, int c, const QString &entry)
    {
        auto *combo = OpenCell(g, r, c) ? qobject_cast<QComboBox *>(g->Editor()) : nullptr;
        const int at = combo ? combo->findText(entry, Qt::MatchExactly) : -1;
        if (at < 0)
            return false;
        combo->setCurrentIndex(at);
        QTest::keyClick(combo, Qt::Key_Return);
        return !g->IsEditing();
    }
    static int Back(FlexGrid *g, int r, int c) { return g->Cell(FlexGrid::SetBackColor, r, c).toInt(); }
};

// Every flag raised on the record, as "name(i,j)".
inline QStringList Raised(const clsInstrument &r)
{
    QStringList out;
    for (int f = 0; f < int(clsInstrument::F::Count); ++f) {
        const auto &fi = clsInstrument::info(clsInstrument::F(f));
        for (int i = 0; i < fi.count1; ++i)
            for (int j = 0; j < fi.count2; ++j)
                if (r.flag(clsInstrument::F(f), i, j))
                    out << QStringLiteral("%1(%2,%3)").arg(QLatin1String(fi.name)).arg(i).arg(j);
    }
    return out;
}
