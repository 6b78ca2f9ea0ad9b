// Numbers 27 .. 99: changes of the average directional movement and of the
// slow stochastic, momentum, relative strength, the parabolic against the
// bar's extremes, MACD and its change, the adaptive averages against the
// regression line, the slow stochastic, the distance of the high to the
// highest high of the bars before, and the movement potentials.
//
// Where a number's caption names another period than its recipe (34 .. 36,
// 57 .. 59, 73 .. 78), the recipe's period from the period table holds.
#include "Catalogue.h"
#include "kernels/AdaptiveAverages.h"
#include "kernels/DirectionalMovement.h"
#include "kernels/Extended.h"
#include "kernels/MomentumOscillators.h"
#include "kernels/MovingAverages.h"
#include "kernels/RangeOscillators.h"
#include "kernels/RegressionForecast.h"
#include "kernels/StopLines.h"

namespace zentrik::catalogue {
namespace {

void AverageDirectionalMovementStage(const Frame& f, double* out, std::int32_t p) {
    AverageDirectionalMovement(f.H, f.L, f.C, f.last, p, out);
}
void SlowStochasticStage(const Frame& f, double* out, std::int32_t p) {
    SlowStochastic(out, f.H, f.L, f.C, 3, p, f.last);
}
void MomentumStage(const Frame& f, double* out, std::int32_t p) { MomentumPerMille(out, f.C, p, f.last); }
void RelativeStrengthStage(const Frame& f, double* out, std::int32_t p) { RelativeStrength(out, f.C, p, f.last); }
void ParabolicStage(const Frame& f, double* out, std::int32_t p) {
    RegressionParabolic(out, f.H, f.L, f.C, p, f.last);
}
void MacdStage(const Frame& f, double* out, std::int32_t p) { MacdLine(out, f.C, 3, p, f.last); }
void KaufmanStage(const Frame& f, double* out, std::int32_t) { KaufmanAdaptiveAverage(out, f.C, f.last); }
void MesaStage(const Frame& f, double* out, std::int32_t) { MesaAdaptiveAverage(out, f.C, f.last); }
void RegressionLineStage(const Frame& f, double* out, std::int32_t) { LinRegLine14Late(out, f.C, f.last); }

// High above the highest high of the P bars before: positive at a new high.
double HighAboveEarlierHighs(const Frame& f, std::int32_t i, std::int32_t p) {
    return ToDouble(Extended(f.H[i]) - WindowMax(f.H, p, i - 1));
}

// Room of the high and of MACD (in S1) below their window highs; 0 at a new
// high of either.
double HighMovementPotential(const Frame& f, std::int32_t i, std::int32_t p) {
    return ToDouble((Extended(WindowMax(f.H, p, i)) - f.H[i]) * (Extended(WindowMax(f.S1, p, i)) - f.S1[i]));
}

// The same below: both factors are at most 0, the product at least 0.
double LowMovementPotential(const Frame& f, std::int32_t i, std::int32_t p) {
    return ToDouble((Extended(WindowMin(f.L, p, i)) - f.L[i]) * (Extended(WindowMin(f.S1, p, i)) - f.S1[i]));
}

const Family kRows[] = {
    // 27 .. 36: change of the average directional movement, periods 3 .. 216.
    {.first = 27, .last = 36, .param = PeriodTableFrom(27), .stage = AverageDirectionalMovementStage,
     .into = Slot::S1, .form = Form::Change, .x = Slot::S1, .from = 15},
    // 37 .. 43: change of the slow stochastic 3 / 8 .. 127.
    {.first = 37, .last = 43, .param = PeriodTableFrom(35), .stage = SlowStochasticStage, .into = Slot::S1,
     .form = Form::Change, .x = Slot::S1, .from = 15},
    // 44 .. 50: momentum per mille, periods 5 .. 89.
    {.first = 44, .last = 50, .param = PeriodTableFrom(43), .stage = MomentumStage},
    // 51 .. 53: relative strength index, periods 8 .. 21.
    {.first = 51, .last = 53, .param = PeriodTableFrom(49), .stage = RelativeStrengthStage},
    // 54 .. 56: parabolic minus the high, periods 8 .. 21.
    {.first = 54, .last = 56, .param = PeriodTableFrom(52), .stage = ParabolicStage, .into = Slot::S1,
     .form = Form::Spread, .x = Slot::S1, .y = Slot::H, .from = 15},
    // 57 .. 59: low minus the parabolic, periods 5 .. 13.
    {.first = 57, .last = 59, .param = PeriodTableFrom(56), .stage = ParabolicStage, .into = Slot::S1,
     .form = Form::Spread, .x = Slot::L, .y = Slot::S1, .from = 15},
    // 60 .. 62: change of MACD 3 / 8 .. 21.
    {.first = 60, .last = 62, .param = PeriodTableFrom(58), .stage = MacdStage, .into = Slot::S1,
     .form = Form::Change, .x = Slot::S1, .from = 15},
    // 63: Kaufman's adaptive average minus the 14-bar regression line.
    {.first = 63, .last = 63, .stage = KaufmanStage, .into = Slot::S1, .stage2 = RegressionLineStage,
     .into2 = Slot::S2, .form = Form::Spread, .x = Slot::S1, .y = Slot::S2, .from = 100},
    // 64: the MESA adaptive average minus the 14-bar regression line.
    {.first = 64, .last = 64, .stage = MesaStage, .into = Slot::S1, .stage2 = RegressionLineStage,
     .into2 = Slot::S2, .form = Form::Spread, .x = Slot::S1, .y = Slot::S2, .from = 100},
    // 65 .. 71: slow stochastic 3 / 8 .. 127.
    {.first = 65, .last = 71, .param = PeriodTableFrom(63), .stage = SlowStochasticStage},
    // 72 .. 78: high against the highest high of the bars before, periods 3 .. 55.
    {.first = 72, .last = 78, .param = PeriodTableFrom(72), .form = Form::PerBar, .from = 15,
     .perBar = HighAboveEarlierHighs},
    // 79 .. 85: MACD 3 / 8 .. 127.
    {.first = 79, .last = 85, .param = PeriodTableFrom(77), .stage = MacdStage},
    // 86 .. 92: movement potential of the high, periods 8 .. 127.
    {.first = 86, .last = 92, .param = PeriodTableFrom(84), .stage = MacdStage, .into = Slot::S1,
     .form = Form::PerBar, .from = 15, .perBar = HighMovementPotential},
    // 93 .. 99: movement potential of the low, periods 8 .. 127.
    {.first = 93, .last = 99, .param = PeriodTableFrom(91), .stage = MacdStage, .into = Slot::S1,
     .form = Form::PerBar, .from = 15, .perBar = LowMovementPotential},
};

}  // namespace

const std::span<const Family> kRecipes27To99{kRows};

}  // namespace zentrik::catalogue
