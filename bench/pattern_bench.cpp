// Svecha, Trend and TrendMode on 1,001 and 1,000,000 bars.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "EntryBench.h"

namespace {

// range(0): bar count; range(1): the entry's parameter.
template <class Call>
void RunEntry(benchmark::State& state, Call call) {
    const auto parameter = static_cast<std::int32_t>(state.range(1));
    zentrik::bench::RunEntry(state, [&](double* r, int n, const Bar* b) { return call(r, n, b, parameter); });
}

void BM_Svecha(benchmark::State& state) { RunEntry(state, Svecha); }
void BM_Trend(benchmark::State& state) { RunEntry(state, Trend); }
void BM_TrendMode(benchmark::State& state) {
    RunEntry(state, [](double* r, int32_t n, const Bar* b, int32_t) { return TrendMode(r, n, b); });
}

}  // namespace

// Svecha: a nine-bar sequence, a three-bar and a two-bar pattern.
BENCHMARK(BM_Svecha)
    ->ArgsProduct({{1001, 1000000}, {1, 13, 22}})
    ->Unit(benchmark::kMillisecond);
// Trend: the catalogue's shortest and longest periods.
BENCHMARK(BM_Trend)->ArgsProduct({{1001, 1000000}, {13, 127}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrendMode)->ArgsProduct({{1001, 1000000}, {0}})->Unit(benchmark::kMillisecond);
