// Numbers 100 .. 199: the trend slope angle, the low against the lowest low
// of the bars before, the candle colour ratio, the main line, changes of the
// fast stochastic, two families of the commodity channel index, crossing
// products of simple and exponential averages, the average directional
// movement, the price channel range, candle patterns 1 .. 9, the directional
// movement index, the trend-mode line, the change of the typical price, the
// alligator state and two trailing-stop distances.
//
// Where a number's caption names another period than its recipe (107 .. 111,
// 118 .. 123), the recipe's period from the period table holds.
#include <cstdint>
#include <vector>

#include "Catalogue.h"
#include "kernels/CandlePatterns.h"
#include "kernels/DirectionalMovement.h"
#include "kernels/Extended.h"
#include "kernels/MomentumOscillators.h"
#include "kernels/MovingAverages.h"
#include "kernels/PriceHelpers.h"
#include "kernels/RangeOscillators.h"
#include "kernels/StopLines.h"
#include "kernels/TrendLines.h"

namespace zentrik::catalogue {
namespace {

// Slope angle of the closes of the P + 1 bars ending at bar i.
double SlopeAngle(const Frame& f, std::int32_t i, std::int32_t p) { return TrendSlopeAngle(f.C, i - p, i + 1); }

// Low below the lowest low of the P bars before: negative at a new low.
double LowBelowEarlierLows(const Frame& f, std::int32_t i, std::int32_t p) {
    return ToDouble(Extended(f.L[i]) - WindowMin(f.L, p, i - 1));
}

// Share of rising candles among the P + 1 bars ending at each bar from P on
// (in S1; a bar closing at its open counts for neither side), averaged over P
// bars. S1 below bar P keeps the 0.0 of its allocation, so the average of the
// first bars rests on defined values.
void CandleColourRatio(const Frame& f, double*, std::int32_t p) {
    for (std::int32_t i = p; i < f.n; ++i) {
        std::int32_t up = 0;
        std::int32_t down = 0;
        for (std::int32_t j = i - p; j <= i; ++j) {
            const double body = ToDouble(Extended(f.C[j]) - f.O[j]);
            if (body > 0.0) ++up;
            if (body < 0.0) ++down;
        }
        f.S1[i] = up + down > 0 ? ToDouble(100.0L * up / (up + down)) : 0.0;
    }
    SimpleAverage(f.R, f.S1, p, f.last);
}

void MainLine(const Frame& f, double* out, std::int32_t) { TripleStochastic(out, f.H, f.L, f.C, f.last); }
void FastStochasticStage(const Frame& f, double* out, std::int32_t p) {
    FastStochastic(out, f.H, f.L, f.C, 3, p, f.last);
}
void CommodityChannel3(const Frame& f, double* out, std::int32_t p) {
    CommodityChannel(out, f.C, f.H, f.L, 3, p, f.last);
}
void CommodityChannel8(const Frame& f, double* out, std::int32_t p) {
    CommodityChannel(out, f.C, f.H, f.L, 8, p, f.last);
}
void SimpleAverageStage(const Frame& f, double* out, std::int32_t p) { SimpleAverage(out, f.C, p, f.last); }
void ExponentialAverageStage(const Frame& f, double* out, std::int32_t p) {
    ExponentialAverage(out, f.C, p, f.last);
}
void AverageDirectionalMovementStage(const Frame& f, double* out, std::int32_t p) {
    AverageDirectionalMovement(f.H, f.L, f.C, f.last, p, out);
}
void PriceChannelRangeStage(const Frame& f, double* out, std::int32_t p) {
    PriceChannelRange(out, f.H, f.L, f.C, p, f.last);
}
void CandlePatternStage(const Frame& f, double* out, std::int32_t pattern) {
    CandlePattern(out, f.O, f.H, f.L, f.C, pattern, f.last);
}
void DirectionalMovementIndexStage(const Frame& f, double* out, std::int32_t p) {
    DirectionalMovementIndex(out, f.H, f.L, p, f.last);
}
void TrendModeLine(const Frame& f, double* out, std::int32_t) { HilbertTrendline(out, f.C, f.last); }
void TypicalPriceStage(const Frame& f, double* out, std::int32_t) { TypicalPrice(out, f.H, f.L, f.C, f.last); }

// The alligator state as a 4-bit number per bar from 15: rising lines (1),
// falling lines (2), close above all lines (4), close below all lines (8).
void AlligatorState(const Frame& f, double*, std::int32_t) {
    const std::size_t size = static_cast<std::size_t>(f.n) + 3;
    std::vector<std::uint8_t> rising(size, 0), falling(size, 0), above(size, 0), below(size, 0);
    AlligatorRisingFlags(rising.data(), f.H, f.L, f.C, f.last);
    AlligatorFallingFlags(falling.data(), f.H, f.L, f.C, f.last);
    PriceAboveAlligatorFlags(above.data(), f.H, f.L, f.C, f.last);
    PriceBelowAlligatorFlags(below.data(), f.H, f.L, f.C, f.last);
    for (std::int32_t i = 15; i < f.n; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        f.R[i] = (rising[k] ? 1 : 0) + 2 * (falling[k] ? 1 : 0) + 4 * (above[k] ? 1 : 0) + 8 * (below[k] ? 1 : 0);
    }
}

void WeightedRangeStop(const Frame& f, double* out, std::int32_t) {
    WatrTrailingStop(out, f.H, f.L, f.C, f.last, 21, 3.0);
}
void PercentStop(const Frame& f, double* out, std::int32_t) { PercentTrailingStop(out, f.C, 15.0, f.last); }

const Family kRows[] = {
    // 100 .. 105: slope angle of the closes, periods 13 .. 127.
    {.first = 100, .last = 105, .param = PeriodTableFrom(97), .form = Form::PerBar, .from = 15,
     .perBar = SlopeAngle},
    // 106 .. 111: low against the lowest low of the bars before, periods 3 .. 34.
    {.first = 106, .last = 111, .param = PeriodTableFrom(106), .form = Form::PerBar, .from = 15,
     .perBar = LowBelowEarlierLows},
    // 112 .. 116: candle colour ratio, periods 8 .. 55.
    {.first = 112, .last = 116, .param = PeriodTableFrom(110), .stage = CandleColourRatio},
    // 117: the main line (blend of three stochastics).
    {.first = 117, .last = 117, .stage = MainLine},
    // 118 .. 123: change of the fast stochastic 3 / 5 .. 55.
    {.first = 118, .last = 123, .param = PeriodTableFrom(117), .stage = FastStochasticStage, .into = Slot::S1,
     .form = Form::Change, .x = Slot::S1, .from = 15},
    // 124 .. 130: commodity channel index, smoothing 3, deviation 8 .. 127.
    {.first = 124, .last = 130, .param = PeriodTableFrom(122), .stage = CommodityChannel3},
    // 131 .. 136: commodity channel index, smoothing 8, deviation 13 .. 127.
    {.first = 131, .last = 136, .param = PeriodTableFrom(128), .stage = CommodityChannel8},
    // 137 .. 142: crossing product of the simple averages 8 and 13 .. 127.
    {.first = 137, .last = 142, .param = PeriodTableFrom(134), .stage = SimpleAverageStage, .into = Slot::S2,
     .stage2 = SimpleAverageStage, .into2 = Slot::S1, .param2 = 8, .form = Form::CrossingProduct, .x = Slot::S1,
     .y = Slot::S2, .from = 15},
    // 143 .. 147: crossing product of the simple averages 13 and 21 .. 127.
    {.first = 143, .last = 147, .param = PeriodTableFrom(139), .stage = SimpleAverageStage, .into = Slot::S2,
     .stage2 = SimpleAverageStage, .into2 = Slot::S1, .param2 = 13, .form = Form::CrossingProduct, .x = Slot::S1,
     .y = Slot::S2, .from = 15},
    // 148 .. 153: crossing product of the exponential averages 8 and 13 .. 127.
    {.first = 148, .last = 153, .param = PeriodTableFrom(145), .stage = ExponentialAverageStage, .into = Slot::S2,
     .stage2 = ExponentialAverageStage, .into2 = Slot::S1, .param2 = 8, .form = Form::CrossingProduct,
     .x = Slot::S1, .y = Slot::S2, .from = 15},
    // 154 .. 158: crossing product of the exponential averages 13 and 21 .. 127.
    {.first = 154, .last = 158, .param = PeriodTableFrom(150), .stage = ExponentialAverageStage, .into = Slot::S2,
     .stage2 = ExponentialAverageStage, .into2 = Slot::S1, .param2 = 13, .form = Form::CrossingProduct,
     .x = Slot::S1, .y = Slot::S2, .from = 15},
    // 159 .. 167: average directional movement, periods 3 .. 127.
    {.first = 159, .last = 167, .param = PeriodTableFrom(159), .stage = AverageDirectionalMovementStage},
    // 168 .. 176: price channel range, periods 3 .. 127.
    {.first = 168, .last = 176, .param = PeriodTableFrom(168), .stage = PriceChannelRangeStage},
    // 177 .. 185: candle patterns 1 .. 9.
    {.first = 177, .last = 185, .param = NumberMinus(176), .stage = CandlePatternStage},
    // 186 .. 194: directional movement index, periods 3 .. 127.
    {.first = 186, .last = 194, .param = PeriodTableFrom(186), .stage = DirectionalMovementIndexStage},
    // 195: trend line of the trend-mode pipeline.
    {.first = 195, .last = 195, .stage = TrendModeLine},
    // 196: change of the typical price.
    {.first = 196, .last = 196, .stage = TypicalPriceStage, .into = Slot::S1, .form = Form::Change,
     .x = Slot::S1, .from = 15},
    // 197: alligator state 0 .. 15.
    {.first = 197, .last = 197, .stage = AlligatorState},
    // 198: trailing stop on the weighted range (21 bars, 3 times) minus the close.
    {.first = 198, .last = 198, .stage = WeightedRangeStop, .into = Slot::S1, .form = Form::Spread,
     .x = Slot::S1, .y = Slot::C, .from = 100},
    // 199: 15 % trailing stop minus the close.
    {.first = 199, .last = 199, .stage = PercentStop, .into = Slot::S1, .form = Form::Spread, .x = Slot::S1,
     .y = Slot::C, .from = 100},
};

}  // namespace

const std::span<const Family> kRecipes100To199{kRows};

}  // namespace zentrik::catalogue
