// The adaptive-average and regression entries on 1,001 and 1,000,000 bars.
#include <benchmark/benchmark.h>

#include <vector>

#include "EntryBench.h"

namespace {

using zentrik::bench::RunEntry;

void BM_KAMA(benchmark::State& state) { RunEntry(state, KAMA); }
void BM_MAMA(benchmark::State& state) { RunEntry(state, MAMA); }
void BM_Regress(benchmark::State& state) { RunEntry(state, Regress); }
void BM_TSF(benchmark::State& state) { RunEntry(state, TSF); }
void BM_UgolLog(benchmark::State& state) { RunEntry(state, UgolLog); }
void BM_Prognoz(benchmark::State& state) {
    const int period = static_cast<int>(state.range(1));
    RunEntry(state, [period](double* r, int count, const Bar* b) { return Prognoz(r, count, b, period); });
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1001)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_KAMA)->Apply(Sizes);
BENCHMARK(BM_MAMA)->Apply(Sizes);
BENCHMARK(BM_Regress)->Apply(Sizes);
BENCHMARK(BM_TSF)->Apply(Sizes);
BENCHMARK(BM_UgolLog)->Apply(Sizes);
BENCHMARK(BM_Prognoz)
    ->Args({1001, 10})
    ->Args({1000000, 10})
    ->Args({1001, 130})
    ->Args({1000000, 130})
    ->Unit(benchmark::kMillisecond);
