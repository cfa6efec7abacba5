#pragma once
#include "model/clsInstrument.h"
#include <initializer_list>

// Sample instrument records, shared by the simulated instrument's demo state and the tests.
// Every builder fills through the device door: no Change_ flag is raised.

// One gas channel as the settings read gives it.
struct SampleChannel {
    const char *name;
    const char *unit;
    float fullScale;
    float step;
    int point;
    int type;
    float warn;
    float alarm;
    float stel;
    float twa;
    float autoCal;
};

// Channels 0, 1, ... in the order given.
void FillChannels(clsInstrument &r, std::initializer_list<SampleChannel> channels);

// The demo instrument: five fitted sensors (CH4, OXY, H2S, CO, NH3) and two empty slots,
// every list filled, consistent as a real instrument would send it.
clsInstrument DemoRecord();

// A fully populated record with varied values that a settings file can carry exactly:
// names within their field widths without surrounding blanks, values at their decimal
// places, gas types the reader gives back (0..9, 16). The same seed gives the same record.
clsInstrument VariedRecord(unsigned seed);
