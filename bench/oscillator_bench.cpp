// The named entries of the price helpers and the range and momentum
// oscillators on 1,001 and 1,000,000 bars, with typical periods.
#include <benchmark/benchmark.h>

#include <vector>

#include "EntryBench.h"

namespace {

using zentrik::bench::RunEntry;

void BM_TypPrice(benchmark::State& s) { RunEntry(s, TypPrice); }
void BM_Rasmax(benchmark::State& s) { RunEntry(s, Rasmax); }
void BM_StochOsc(benchmark::State& s) {
    RunEntry(s, [](double* r, int n, const Bar* b) { return StochOsc(r, n, b, 14, 3); });
}
void BM_PCR(benchmark::State& s) {
    RunEntry(s, [](double* r, int n, const Bar* b) { return PCR(r, n, b, 14); });
}
void BM_WILL(benchmark::State& s) { RunEntry(s, WILL); }
void BM_Osnovn(benchmark::State& s) { RunEntry(s, Osnovn); }
void BM_Momentum(benchmark::State& s) {
    RunEntry(s, [](double* r, int n, const Bar* b) { return Momentum(r, n, b, 14); });
}
void BM_MACD(benchmark::State& s) {
    RunEntry(s, [](double* r, int n, const Bar* b) { return MACD(r, n, b, 12, 26); });
}
void BM_RSI(benchmark::State& s) {
    RunEntry(s, [](double* r, int n, const Bar* b) { return RSI(r, n, b, 14); });
}
void BM_CCI(benchmark::State& s) {
    RunEntry(s, [](double* r, int n, const Bar* b) { return CCI(r, n, b, 14, 14); });
}
void BM_CG(benchmark::State& s) {
    RunEntry(s, [](double* r, int n, const Bar* b) { return CG(r, n, b, 10); });
}
void BM_CGO(benchmark::State& s) {
    RunEntry(s, [](double* r, int n, const Bar* b) { return CGO(r, n, b, 10); });
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1001)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_TypPrice)->Apply(Sizes);
BENCHMARK(BM_Rasmax)->Apply(Sizes);
BENCHMARK(BM_StochOsc)->Apply(Sizes);
BENCHMARK(BM_PCR)->Apply(Sizes);
BENCHMARK(BM_WILL)->Apply(Sizes);
BENCHMARK(BM_Osnovn)->Apply(Sizes);
BENCHMARK(BM_Momentum)->Apply(Sizes);
BENCHMARK(BM_MACD)->Apply(Sizes);
BENCHMARK(BM_RSI)->Apply(Sizes);
BENCHMARK(BM_CCI)->Apply(Sizes);
BENCHMARK(BM_CG)->Apply(Sizes);
BENCHMARK(BM_CGO)->Apply(Sizes);
