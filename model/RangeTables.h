#pragma once
#include "model/modGasCommon.h"
#include <array>

// The reference tables of the fixed channels: what a channel's settings become when its
// alternate range is chosen, and the oxygen points of each alarm pattern. Constants, so a
// rule reads the same values whoever uses it and whenever.

// A channel's settings for one alternate-range selection.
struct RangeSpec {
    float FullScale = 0;
    float Step = 0;
    float DecimalPlaces = 0;
    float Warning = 0;
    float Alarm = 0;
    float Stel = 0;
    float Twa = 0;
    float AutoCalib = 0;
};

// [range 0..1][channel 0..3] (ReadingCode::NoValue: a point the channel does not use): OXY, H2S and "CO " on channels 1..3; channel 0 stays all zero.
inline constexpr std::array<std::array<RangeSpec, 4>, 2> gRangeSpecs = {{
    {{{},
      {40.0f, 0.1f, 1, 19.5f, 23.5f, ReadingCode::NoValue, ReadingCode::NoValue, 12.0f},
      {100.0f, 0.1f, 1, 5.0f, 30.0f, 5.0f, 1.0f, 25.0f},
      {500.0f, 1.0f, 0, 25.0f, 50.0f, 200.0f, 25.0f, 50.0f}}},
    {{{},
      {100.0f, 1.0f, 0, 19.0f, 23.0f, ReadingCode::NoValue, ReadingCode::NoValue, 12.0f},
      {1000.0f, 5.0f, 0, ReadingCode::NoValue, ReadingCode::NoValue, ReadingCode::NoValue, ReadingCode::NoValue, 25.0f},
      {1000.0f, 2.0f, 0, 24.0f, 50.0f, 200.0f, 24.0f, 50.0f}}},
}};

// Oxygen points [range 0..1][alarm pattern 0..2].
inline constexpr std::array<std::array<float, 3>, 2> gO2Warning = {{{19.5f, 19.5f, 23.5f}, {19.0f, 19.0f, 23.0f}}};
inline constexpr std::array<std::array<float, 3>, 2> gO2Alarm = {{{23.5f, 18.5f, 25.0f}, {23.0f, 18.0f, 25.0f}}};
