#pragma once
#include "sim/SimFaults.h"
#include <QString>

// A fault rule as the command line gives it: kind:code[:nth[:times[:ms]]], code "*" for any.
// times defaults to once, but for damageall to every time: it damages every frame, resends
// included. False for an unknown kind or an nth below 1.
bool ParseFaultRule(const QString &text, SimFaultRule *rule);
