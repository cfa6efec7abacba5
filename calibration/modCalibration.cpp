#include "calibration/modCalibration.h"

std::array<bool, 8> gCalSelect{};

void ResetCalibrationGlobals() { gCalSelect.fill(false); }
