#pragma once
// The main window connected to the simulator, gInstrument filled with the test record
// (GasRecord.h) and shown; helpers that edit the gas grid and the text fields the way
// a user does: click, keys, Enter, leaving the field.
#include "GasRecord.h"
#include "MainFixture.h"
#include "mainwindow/GasGridRules.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

class ViewFixture : public MainFixture {
protected:
    clsInstrument &rec() { return gInstrument(); }
    FlexGrid *grid() const { return form->vfgOption; }

    // Starts the window and shows the test record (as a download would leave it).
    bool StartWith(bool withIF = true)
    {
        if (!StartMain())
            return false;
        SetBeepHook([] {});
        ResetBeepCount();
        FillGasRecord(rec(), withIF);
        form->ShowInstrument();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form);
    }

    QPoint cellCenter(int r, int c) const
    {
        return grid()->view()->visualRect(grid()->view()->model()->index(r, c)).center();
    }
    QLineEdit *editor() const
    {
        if (auto *c = qobject_cast<QComboBox *>(grid()->Editor()))
            return c->lineEdit();
        return qobject_cast<QLineEdit *>(grid()->Editor());
    }
    // Clicks the cell and opens its editor with F2; false when no editor opened.
    bool OpenCell(int r, int c)
    {
        grid()->view()->scrollTo(grid()->view()->model()->index(r, c));
        QTest::mouseClick(grid()->view()->viewport(), Qt::LeftButton, {}, cellCenter(r, c));
        QTest::keyClick(grid()->view(), Qt::Key_F2);
        return grid()->IsEditing() && grid()->EditRow() == r && grid()->EditCol() == c;
    }
    // Types text over the cell and presses Enter. True when the cell took it. A refused
    // entry leaves the editor open: its text goes to refusedText, then Escape drops it.
    bool Edit(int r, int c, const QString &text)
    {
        refusedText.clear();
        if (!OpenCell(r, c))
            return false;
        editor()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(editor(), Qt::Key_Backspace);
        else
            QTest::keyClicks(editor(), text);
        QTest::keyClick(editor(), Qt::Key_Return);
        if (!grid()->IsEditing())
            return true;
        refusedText = editor()->text();
        QTest::keyClick(editor(), Qt::Key_Escape);
        return false;
    }
    int Back(int r, int c) const { return grid()->Cell(FlexGrid::SetBackColor, r, c).toInt(); }

    // Moves the focus out of a text field as clicking elsewhere would.
    void Leave(QWidget *field)
    {
        QWidget *other = field == form->txtOption[2] ? form->txtOption[1] : form->txtOption[2];
        other->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }
    void Enter(QWidget *field)
    {
        field->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }

    QString refusedText;
};
