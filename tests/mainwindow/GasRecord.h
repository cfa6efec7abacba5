#pragma once
#include "model/clsInstrument.h"

// A record as a download leaves it: every channel filled through the device door, so
// no Change_ flag is set. Channel layout used by the view and edit tests:
//   0 CH4 %LEL  0..100 step 1          5 SO2 ppm  0..100 step 5
//   1 OXY vol%  0..25  step 0.1        6 no gas (empty name)
//   2 CO  ppm   0..500 step 1          7 CH4 ppm  0..100000 step 10 (CATppm)
//   3 H2S ppm   0..100 step 0.1        8 CH4 vol% 0..5 step 0.01 (CATvol)
//   4 no gas ("---")                   9 OXY vol% 0..40 step 0.1 (inert)
inline void FillGasRecord(clsInstrument &rec, bool withIF = true)
{
    rec.ClearDatas();
    clsInstrument::DeviceDoor door(rec);
    rec.setInvalidIF(!withIF);
    struct Ch {
        const char *name, *unit;
        float fs, step;
        int point;
        float warn, alarm, autoCal;
    };
    const Ch ch[10] = {
        {"CH4", "%LEL", 100, 1, 0, 10, 50, 50},
        {"OXY", "vol%", 25, 0.1f, 1, 19.5f, 18, 0},
        {"CO ", "ppm", 500, 1, 0, 50, 100, 100},
        {"H2S", "ppm", 100, 0.1f, 1, 10, 15, 25},
        {"---", "", 0, 1, 0, -101, -101, -101},
        {"SO2", "ppm", 100, 5, 0, 20, 40, 50},
        {"", "", 0, 1, 0, -101, -101, -101},
        {"CH4", "ppm", 100000, 10, 0, 5000, 25000, 0},
        {"CH4", "vol%", 5, 0.01f, 2, 0.5f, 2.5f, 0},
        {"OXY", "vol%", 40, 0.1f, 1, 1, 3, 0},
    };
    for (int i = 0; i < 10; ++i) {
        rec.setGasName(i, QString::fromLatin1(ch[i].name));
        rec.setGasUnit(i, QString::fromLatin1(ch[i].unit));
        rec.setGasFullScale(i, ch[i].fs);
        rec.setGasDesit(i, ch[i].step);
        rec.setGasPoint(i, ch[i].point);
        rec.setWarning(i, ch[i].warn);
        rec.setAlarm(i, ch[i].alarm);
        rec.setStel(i, i >= 2 && i <= 6 ? 25 : -101);
        rec.setTwa(i, i >= 2 && i <= 6 ? 20 : -101);
        rec.setAutoCalib(i, ch[i].autoCal);
    }
    rec.setCATppm1st(5000);
    rec.setCATppm2nd(25000);
    rec.setCATvol1st(0.5f);
    rec.setCATvol2nd(2.5f);
    rec.setInert1st(1);
    rec.setInert2nd(3);
    rec.setIntervals(60);
    for (int i = 0; i < 128; ++i)
        rec.setXS_(i, QStringLiteral("ST%1").arg(i, 3, 10, QLatin1Char('0')));
    for (int i = 0; i < 32; ++i)
        rec.setXZ_(i, QStringLiteral("USER%1").arg(i));
    rec.setXV_(0, 3);
    rec.setXV_(1, 2);
    rec.setSerialNo(QStringLiteral("AB-1234"));
    rec.setRomNumber(123);
    rec.setSUM(QStringLiteral("5A3C"));
    rec.setAlarmO2(1);
    rec.setCommFlags(-1);
}
