// Shared pieces of the benchmarks: the yen-pair histories of 1,001 and
// 1,000,000 bars (built once) and the loop that times one entry on them.
#pragma once

#include <benchmark/benchmark.h>

#include <vector>

#include "Histories.h"
#include "zentrik/zentrik.h"

namespace zentrik::bench {

inline const std::vector<Bar>& BenchHistory(int count) {
    static const std::vector<Bar> small = testing::MakeHistory(1001, testing::kYenPair);
    static const std::vector<Bar> large = testing::MakeHistory(1000000, testing::kYenPair);
    return count == 1001 ? small : large;
}

// Times call(result, count, bars) with count = state.range(0).
template <class Call>
void RunEntry(benchmark::State& state, Call call) {
    const int count = static_cast<int>(state.range(0));
    const std::vector<Bar>& bars = BenchHistory(count);
    std::vector<double> result(static_cast<std::size_t>(count));
    for (auto _ : state) {
        benchmark::DoNotOptimize(call(result.data(), count, bars.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

}  // namespace zentrik::bench
