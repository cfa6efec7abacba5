#pragma once
#include "core/modMain.h"

// Catalytic and thermal-conductivity program lists of two gases each.
inline void SetTwoGasLists()
{
    gCatName = "CH4|PRO";
    gCatLongName = "METHANE|PROPANE";
    gCatRatio = "50000|21000";
    gTcName = "H2|CH4";
    gTcLongName = "HYDROGEN|METHANE TC";
    gTcFullScale = "100.0|100.0";
    gTcDigit = "1|0.5";
}
