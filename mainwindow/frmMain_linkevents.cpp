#include "core/Messages.h"
#include "core/modMain.h"
#include "link/uclQlif.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmUpload.h"
#include "mainwindow/modMainWindow.h"
#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/StatusLamp.h"
#include <QLabel>
#include <QPushButton>
#include "model/modGasCommon.h"

void frmMain::uclQL7150_OnConnect()
{
    if (!uclQL7150->Connected())
        return;
    AddInfo(GetMsg(5432), kBlue);
    setLamp(0, StatusGreen);
    setLamp(1, StatusGreen);
    SetCommandEnabled();
}

void frmMain::uclQL7150_Densty(float Value1, float Value2, float Value3, float Value4, float Value5,
                               float Value6, float Value7)
{
    const float v[7] = {Value1, Value2, Value3, Value4, Value5, Value6, Value7};
    const clsInstrument &inst = gInstrument();
    for (int ch = 0; ch < 7; ++ch)
        gMomentValues[ch] = inst.GasEnabled(ch) != 0 ? v[ch] : ReadingCode::NotSet;
    if (gCalFormOpen)
        RefreshCalibMoment();
}

void frmMain::uclQL7150_ConnectRetry(int16_t RetryCount) { AddInfo(GetMsg(5412, RetryCount), kGreen); }

void frmMain::uclQL7150_InstMessage(const QString &MessageString) { AddInfo(MessageString, kDarkBlue); }

void frmMain::uclQL7150_InterMessage(const QString &MessageString) { AddInfo(MessageString, kDarkBlue); }

void frmMain::uclQL7150_AlarmMessage(const QString &MessageString) { AddInfo(MessageString, kDarkBlue); }

// Progress text of a running transfer. With no progress window open nothing is created:
// a window made here would be reused later with stale captions.
void frmMain::uclQL7150_DumpMessage(const QString &MessageString)
{
    frmUpload *u = frmUpload::Find();
    if (!u)
        return;
    u->lblUpload->setText(MessageString);
    u->repaint();
}

// The line dropped: nothing works without it, so every command that needs the link goes
// off, as in the not-connected state.
void frmMain::uclQL7150_LinkLost()
{
    setLamp(0, StatusGreen);
    setLamp(1, StatusGrey);
    for (QPushButton *b : cmdDown)
        if (b)
            b->setEnabled(false);
    cmdOption[0]->setEnabled(false);
    for (int i = 2; i < 4; ++i) {
        shpStatus[i]->setVisible(false);
        lblStatus[i]->setVisible(false);
    }
    SetCommandEnabled();
}

void frmMain::uclQL7150_IrDAError(int16_t ErrorNumber)
{
    if (ErrorNumber == 10048 || ErrorNumber == 10060) {
        AddInfo(GetMsg(5371), kRed);
        setLamp(0, StatusRed);
        setLamp(1, StatusGrey);
        MsgBox(GetMsg(5371), vb::OKOnly, GetMsg(5372));
    } else if (ErrorNumber == 1022) {
        AddInfo(QStringLiteral("Search..."), kRed);
    }
}

void frmMain::uclQL7150_StsTransmit() {}

void frmMain::uclQL7150_StsIdle() {}

// Live readings into the calibration window when it is open; found by name, never created.
void frmMain::RefreshCalibMoment()
{
    QWidget *cal = FindForm(QStringLiteral("frmCalibration"));
    if (cal)
        QMetaObject::invokeMethod(cal, "Refresh_InstMoment", Qt::DirectConnection);
}
