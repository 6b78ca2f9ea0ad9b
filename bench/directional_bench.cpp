// The directional-movement and parabolic entries on 1,001 and 1,000,000 bars.
#include <benchmark/benchmark.h>

#include <vector>

#include "Histories.h"
#include "zentrik/zentrik.h"

namespace {

const std::vector<Bar>& DirectionalHistory(int count) {
    static const std::vector<Bar> small = zentrik::testing::MakeHistory(1001, zentrik::testing::kYenPair);
    static const std::vector<Bar> large = zentrik::testing::MakeHistory(1000000, zentrik::testing::kYenPair);
    return count == 1001 ? small : large;
}

template <class Call>
void RunEntry(benchmark::State& state, Call call) {
    const int count = static_cast<int>(state.range(0));
    const std::vector<Bar>& bars = DirectionalHistory(count);
    std::vector<double> result(static_cast<std::size_t>(count));
    for (auto _ : state) {
        benchmark::DoNotOptimize(call(result.data(), count, bars.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

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
