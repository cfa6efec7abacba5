#include "core/Messages.h"
#include "core/modMain.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/modMainWindow.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "platform/RichLog.h"
#include "platform/StatusLamp.h"
#include "platform/Twips.h"
#include <QLabel>
#include <QTimer>

namespace {
struct SampleChannel {
    const char *name;
    int point;
    const char *unit;
    float warning, alarm, stel, twa, step, fullScale, autoCalib;
};
// Shown by the calibration window when no instrument data is loaded.
constexpr SampleChannel kSample[4] = {
    {"CH4", 0, "%LEL", 10.0f, 50.0f, -1.0f, -1.0f, 1.0f, 100.0f, 50.0f},
    {"OXY", 1, "vol%", 19.5f, 23.5f, -1.0f, -1.0f, 0.1f, 40.0f, 12.0f},
    {"H2S", 1, "ppm", 10.0f, 30.0f, 15.0f, 10.0f, 0.5f, 100.0f, 10.0f},
    {"CO ", 0, "ppm", 25.0f, 50.0f, 200.0f, 25.0f, 1.0f, 500.0f, 100.0f},
};
} // namespace

// Known state before the settings file is read; runs at Load and again after a power off,
// so the conditional defaults fill only what is still unset.
void frmMain::InitDefaults()
{
    gFont.size = 9;
    tmrInter->setInterval(1000);
    tmrInter->start();
    if (gIrCommNum == 0)
        gIrCommNum = 4;
    // The same line settings as everywhere else (the even-parity text was a slip).
    if (gCommSettings.isEmpty())
        gCommSettings = QStringLiteral("921600,n,8,1");
    SetCatTable(0);
    if (gTcName.isEmpty())
        gTcName = QStringLiteral("CH4 100.0vol%|H2 100.0vol%|H2 10.0vol%");
    if (gTcLongName.isEmpty())
        gTcLongName = QStringLiteral("METHANE|HYDROGEN|HYDROGEN");
    if (gTcFullScale.isEmpty())
        gTcFullScale = QStringLiteral("100.0|100.0|10.0");
    if (gTcDigit.isEmpty())
        gTcDigit = QStringLiteral("0.5|0.1|0.5|0.5");

    StatusGreen = {RGB(0, 255, 0), RGB(0, 192, 0), 0};
    StatusGrey = {RGB(160, 160, 160), RGB(128, 128, 128), 0};
    StatusRed = {RGB(254, 0, 0), RGB(192, 0, 0), 0};
    setLamp(0, StatusGreen);
    for (int i = 1; i < 4; ++i)
        setLamp(i, StatusGrey);
    rtbLog->clear();
    for (int i = 2; i < 4; ++i) {
        shpStatus[i]->setVisible(false);
        lblStatus[i]->setVisible(false);
    }

    clsInstrument &s = gSampleInstrument();
    for (int ch = 0; ch < 4; ++ch) {
        if (s.GasFullScale(ch) != 0)
            continue;
        const SampleChannel &c = kSample[ch];
        s.setGasName(ch, QString::fromLatin1(c.name));
        s.setGasEnabled(ch, -1);
        s.setGasPoint(ch, c.point);
        s.setGasUnit(ch, QString::fromLatin1(c.unit));
        s.setWarning(ch, c.warning);
        s.setAlarm(ch, c.alarm);
        s.setStel(ch, c.stel);
        s.setTwa(ch, c.twa);
        s.setGasDesit(ch, c.step);
        s.setGasFullScale(ch, c.fullScale);
        s.setAutoCalib(ch, c.autoCalib);
    }

    if (gPassword.isEmpty())
        gPassword = GetMsg(101) == QLatin1String("EN") ? QStringLiteral("zuq") : QStringLiteral("Malur");
    gCalFormOpen = false;
}
