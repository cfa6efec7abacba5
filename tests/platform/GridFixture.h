#pragma once
#include "QtPrint.h"
#include "support/GridEditor.h"
#include "platform/FlexGrid.h"
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

// A shown grid of 6 x 5 cells (one fixed row and column) with every event logged.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = std::make_unique<FlexGrid>();
        grid->resize(600, 300);
        grid->setRows(6);
        grid->setCols(5);
        grid->setEditable(FlexGrid::EditKeyboardMouse);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 5; ++c)
                grid->setTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
        grid->show();
        grid->activateWindow();
        grid->SetFocus();
        QApplication::processEvents();

        auto *g = grid.get();
        const auto note = [this](const char *what, int r, int c) { log << QStringLiteral("%1 %2,%3").arg(QLatin1String(what)).arg(r).arg(c); };
        QObject::connect(g, &FlexGrid::BeforeEdit, g, [=, this](int r, int c, bool &cancel) {
            note("Before", r, c);
            if (onBefore)
                onBefore(r, c, cancel);
        });
        QObject::connect(g, &FlexGrid::KeyPressEdit, g, [this](int r, int c, int &key) {
            log << QStringLiteral("Key %1").arg(key);
            if (onKey)
                onKey(r, c, key);
        });
        QObject::connect(g, &FlexGrid::ChangeEdit, g, [this] { ++changes; });
        QObject::connect(g, &FlexGrid::ValidateEdit, g, [this](int r, int c, bool &cancel) {
            log << QStringLiteral("Validate %1,%2 %3").arg(r).arg(c).arg(grid->EditText());
            if (onValidate)
                onValidate(r, c, cancel);
        });
        QObject::connect(g, &FlexGrid::AfterEdit, g, [=, this](int r, int c) {
            note("After", r, c);
            if (onAfter)
                onAfter(r, c);
        });
        QObject::connect(g, &FlexGrid::Click, g, [this] { log << QStringLiteral("Click"); });
        QObject::connect(g, &FlexGrid::RowColChange, g, [=, this] { note("Change", grid->Row(), grid->Col()); });
        QObject::connect(g, &FlexGrid::LeaveCell, g, [=, this] { note("Leave", grid->Row(), grid->Col()); });
    }

    QWidget *gridKeys() const { return grid->view(); }
    QLineEdit *lineEditor() const { return GridLineEditor(grid.get()); }
    QPoint cellCenter(int r, int c) const { return grid->view()->visualRect(grid->view()->model()->index(r, c)).center(); }
    void click(int r, int c) { QTest::mouseClick(grid->view()->viewport(), Qt::LeftButton, {}, cellCenter(r, c)); }
    void typeIntoEditor(const QString &text) { QTest::keyClicks(lineEditor(), text); }
    void press(QWidget *w, Qt::Key k) { QTest::keyClick(w, k); }
    void at(int r, int c) { grid->setRow(r), grid->setCol(c); }

    std::unique_ptr<FlexGrid> grid;
    QStringList log;
    int changes = 0;
    std::function<void(int, int, bool &)> onBefore;
    std::function<void(int, int, int &)> onKey;
    std::function<void(int, int, bool &)> onValidate;
    std::function<void(int, int)> onAfter;
};
