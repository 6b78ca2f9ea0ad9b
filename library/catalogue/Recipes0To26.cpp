// Numbers 0 .. 26: simple, exponential and weighted averages of the close
// over the first nine periods of the period table.
#include "Catalogue.h"
#include "kernels/MovingAverages.h"

namespace zentrik::catalogue {
namespace {

const Family kRows[] = {
    // 0 .. 8: simple average of the close, periods 3 .. 127.
    {.first = 0, .last = 8, .param = PeriodTableFrom(0),
     .stage = [](const Frame& f, double* out, std::int32_t p) { SimpleAverage(out, f.C, p, f.last); }},
    // 9 .. 17: exponential average of the close (bars 0 .. 50 carry the closes).
    {.first = 9, .last = 17, .param = PeriodTableFrom(9),
     .stage = [](const Frame& f, double* out, std::int32_t p) { ExponentialAverage(out, f.C, p, f.last); }},
    // 18 .. 26: weighted average of the close.
    {.first = 18, .last = 26, .param = PeriodTableFrom(18),
     .stage = [](const Frame& f, double* out, std::int32_t p) { WeightedAverage(out, f.C, p, f.last); }},
};

}  // namespace

const std::span<const Family> kRecipes0To26{kRows};

}  // namespace zentrik::catalogue
