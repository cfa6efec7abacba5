#pragma once
#include "sim/SimInstrument.h"
#include <QByteArray>

// The simulator's memory image of one area ('F' flash, 'R' FRAM, option boards...) from an address.
inline QByteArray DumpPattern(char area, int size, quint32 from = 0)
{
    QByteArray out(size, 0);
    for (int i = 0; i < size; ++i)
        out[i] = SimInstrument::PatternByte(area, from + quint32(i));
    return out;
}
