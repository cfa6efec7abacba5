#pragma once
// The calibration windows over the main window's fixture: the simulated instrument behind
// the real link, scripted message boxes, and frmCalibration opened the way the main window
// does it (shown here without exec so the test keeps control).
#include "calibration/frmCalibration.h"
#include "calibration/frmUploadCalib.h"
#include "calibration/modCalibration.h"
#include "platform/FlexGrid.h"
#include "tests/mainwindow/MainFixture.h"
#include <QTimer>

class CalFixture : public MainFixture {
protected:
    frmCalibration *cal = nullptr;

    void SetUp() override
    {
        MainFixture::SetUp();
        ResetCalibrationGlobals();
        frmCalibration::Register();
    }

    void TearDown() override
    {
        cal = nullptr;
        MainFixture::TearDown();
        ResetCalibrationGlobals();
    }

    frmCalibration *OpenCal()
    {
        cal = frmCalibration::Default();
        cal->show();
        QApplication::processEvents();
        return cal;
    }

    FlexGrid *grid() const { return cal->vfgCal; }

    // Space on a check cell, as the user toggles it.
    void Toggle(int row)
    {
        grid()->setRow(row);
        grid()->setCol(1);
        grid()->SetFocus();
        QTest::keyClick(grid()->view(), Qt::Key_Space);
    }

    // Types text into a span cell and leaves it; false when the value was refused
    // (the editor then stays open with the reformatted text).
    bool TypeSpan(int row, const QString &text)
    {
        grid()->setRow(row);
        grid()->setCol(2);
        if (!grid()->EditCell())
            return false;
        grid()->setEditText(text);
        return grid()->CommitEdit();
    }

    int Checked(int row) const { return grid()->Cell(FlexGrid::SetChecked, row, 1).toInt(); }

    // Stops the live-reading poll so the readings the test puts in stay as they are.
    void FreezeReadings(std::array<float, 7> values)
    {
        form->uclQL7150->setRunDensty(false);
        QTest::qWait(60);
        gMomentValues = values;
    }

};
