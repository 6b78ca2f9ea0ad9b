// Trend lines and alligator flags: the angle of a least-squares line through
// a window of prices, the instantaneous trend line of the Hilbert family, and
// four bar-by-bar flags comparing the three shifted averages of the close
// (jaw, teeth, lips) with each other and with the close.
#pragma once

#include <cstdint>

namespace zentrik {

// Half the angle, in degrees, of the least-squares line through
// series[start .. end - 1] with its rise scaled by ten times the window
// length: atan(10 * n * m) * 90 * c, m the slope per bar, c = 1 / 3.1415926
// in extended precision. A negative start is raised to 0. An empty window
// (end <= start after raising) reads nothing and returns 0; a one-bar
// window returns 0. Reads series[max(start, 0) .. end - 1] only.
double TrendSlopeAngle(const double* series, std::int32_t start, std::int32_t end);

// The Hilbert trend line: the pipeline primed over bars 0 .. 36 and run from
// bar 37; the mean of the last L raw prices (L the rounded smoothed cycle
// length), smoothed 4-3-2-1. Writes result[100 .. last]; reads
// series[0 .. last]. With last < 100 nothing is read or written.
void HilbertTrendline(double* result, const double* series, std::int32_t last);

// Alligator flags, one byte per bar (1 = holds, 0 = does not), written for
// bars 100 .. last; flags before bar 100 are left alone. The jaw J, teeth E
// and lips P are the simple averages of the close over 13, 8 and 5 bars,
// shifted forward by 8, 5 and 3 bars from bar 51 on. high and low are part
// of the interface but not read. With last < 100 nothing is read or written.
void AlligatorRisingFlags(std::uint8_t* flags, const double* high, const double* low,
                          const double* close, std::int32_t last);  // P > E > J
void AlligatorFallingFlags(std::uint8_t* flags, const double* high, const double* low,
                           const double* close, std::int32_t last);  // J > E > P
void PriceAboveAlligatorFlags(std::uint8_t* flags, const double* high, const double* low,
                              const double* close, std::int32_t last);  // close above all three
void PriceBelowAlligatorFlags(std::uint8_t* flags, const double* high, const double* low,
                              const double* close, std::int32_t last);  // close below all three

}  // namespace zentrik
