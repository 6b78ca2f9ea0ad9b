// The directional-movement and parabolic entries on 1,001 and 1,000,000 bars.
#include <benchmark/benchmark.h>

#include <vector>

#include "EntryBench.h"

namespace {

using zentrik::bench::RunEntry;

void BM_AvgDirMov(benchmark::State& state) {
    RunEntry(state, [](double* r, int n, const Bar* b) { return AvgDirMov(r, n, b, 14); });
}
void BM_DMI(benchmark::State& state) {
    RunEntry(state, [](double* r, int n, const Bar* b) { return DMI(r, n, b, 14); });
}
void BM_ADX(benchmark::State& state) {
    RunEntry(state, [](double* r, int n, const Bar* b) { return ADX(r, n, b); });
}
void BM_PlusDM(benchmark::State& state) {
    RunEntry(state, [](double* r, int n, const Bar* b) { return PlusDM(r, n, b, 14); });
}
void BM_MinusDM(benchmark::State& state) {
    RunEntry(state, [](double* r, int n, const Bar* b) { return MinusDM(r, n, b, 14); });
}
void BM_Parabolic(benchmark::State& state) {
    RunEntry(state, [](double* r, int n, const Bar* b) { return Parabolic(r, n, b, 21); });
}
void BM_SAR(benchmark::State& state) {
    RunEntry(state, [](double* r, int n, const Bar* b) { return SAR(r, n, b); });
}

}  // namespace

BENCHMARK(BM_AvgDirMov)->Arg(1001)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DMI)->Arg(1001)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ADX)->Arg(1001)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlusDM)->Arg(1001)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MinusDM)->Arg(1001)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parabolic)->Arg(1001)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SAR)->Arg(1001)->Arg(1000000)->Unit(benchmark::kMillisecond);
