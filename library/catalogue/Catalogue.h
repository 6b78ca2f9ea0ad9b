// The catalogue of Indikator: one recipe per number 0 .. 460.
//
// A recipe is data: one or two kernel stages that fill a series of the call
// frame, then one post-processing form that turns the stage output into the
// result. Recipes come in families that run one kernel over a stretch of
// the period table; each family is one row of a table. The rows live in one
// source per stretch of numbers:
//   Recipes0To26.cpp     averages of the close
//   Recipes27To99.cpp    oscillator changes, momentum, MACD, adaptive lines
//   Recipes100To199.cpp  trend lines, candles, CCI, crossings, DMI, stops
// To find number a: open the source of its stretch and look for the row
// whose first .. last range holds a.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zentrik::catalogue {

// The eleven standard periods.
inline constexpr std::array<std::int32_t, 11> kPeriodTable = {3, 5, 8, 13, 21, 34, 55, 89, 127, 216, 343};

// The arrays of one Indikator call, count + 5 elements each (R: count).
struct Frame {
    double* R;         // the caller's result, cleared to 0
    const double* C;   // close
    const double* H;   // high
    const double* L;   // low
    const double* O;   // open
    const double* D;   // time
    double* S1;        // scratch series, zero-filled
    double* S2;        // scratch series, zero-filled
    std::int32_t* N;   // integer signal series, zero-filled
    std::int32_t n;    // count
    std::int32_t last; // count - 1
    double pointSize;  // PointSize of this call
};

// A series of the frame, named as the recipe tables name them.
enum class Slot : std::uint8_t { R, C, H, L, O, D, S1, S2 };

// A kernel stage writes `out` (one of R, S1, S2) from the frame.
using StageFn = void (*)(const Frame& frame, double* out, std::int32_t param);
// A per-bar value f(i).
using PerBarFn = double (*)(const Frame& frame, std::int32_t i, std::int32_t param);

// Post-processing forms; each writes R[i] for i = from .. n-1.
enum class Form : std::uint8_t {
    Direct,           // the stage wrote R itself (or ran a loop of its own)
    Change,           // R[i] = X[i] - X[i-1]
    Spread,           // R[i] = X[i] - Y[i]
    CrossingProduct,  // R[i] = (X[i] - Y[i]) * (X[i-1] - Y[i-1])
    SignalCopy,       // R[i] = N[i]
    PerBar,           // R[i] = perBar(frame, i, param)
};

// How a family member's number a becomes its parameter.
struct ParamRule {
    enum class Kind : std::uint8_t { PeriodTable, NumberMinus, Fixed };
    Kind kind;
    std::int32_t value;
};
// param = kPeriodTable[a - k]
constexpr ParamRule PeriodTableFrom(std::int32_t k) { return {ParamRule::Kind::PeriodTable, k}; }
// param = a - k (for instance a candle pattern number)
constexpr ParamRule NumberMinus(std::int32_t k) { return {ParamRule::Kind::NumberMinus, k}; }
// param = v for every member
constexpr ParamRule Fixed(std::int32_t v) { return {ParamRule::Kind::Fixed, v}; }

// One row of a recipe table: the numbers first .. last.
struct Family {
    std::int32_t first;
    std::int32_t last;
    ParamRule param = Fixed(0);
    StageFn stage = nullptr;        // first stage, writes `into`
    Slot into = Slot::R;
    StageFn stage2 = nullptr;       // optional second stage, writes `into2`
    Slot into2 = Slot::S2;
    std::int32_t param2 = 0;        // the second stage's fixed parameter
    Form form = Form::Direct;
    Slot x = Slot::S1;              // operands of the form
    Slot y = Slot::S2;
    std::int32_t from = 0;          // first bar the form writes
    PerBarFn perBar = nullptr;      // for Form::PerBar
};

// The rows of each stretch of numbers.
extern const std::span<const Family> kRecipes0To26;
extern const std::span<const Family> kRecipes27To99;
extern const std::span<const Family> kRecipes100To199;

// The selected recipe of one number.
struct Recipe {
    const Family* family = nullptr;  // null: the number has no recipe
    std::int32_t param = 0;
};

// The table of all numbers, built once from the rows above.
const std::array<Recipe, 461>& RecipeTable();

// Numbers claimed by more than one row, or rows whose parameter rule reads
// outside the period table (for the tests; empty when the tables are sound).
std::int32_t CountTableFaults();

// Runs one recipe on the frame.
void RunRecipe(const Recipe& recipe, const Frame& frame);

}  // namespace zentrik::catalogue
