// Indikator over the catalogue numbers on 1,001 and 1,000,000 bars.
#include <benchmark/benchmark.h>

#include <vector>

#include "EntryBench.h"

namespace {

void BM_Indikator(benchmark::State& state) {
    const int number = static_cast<int>(state.range(0));
    const int count = static_cast<int>(state.range(1));
    const std::vector<Bar>& bars = zentrik::bench::BenchHistory(count);
    std::vector<double> result(static_cast<std::size_t>(count));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Indikator(number, result.data(), count, bars.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void CatalogueArgs(benchmark::internal::Benchmark* b, int first, int last) {
    for (int number = first; number <= last; ++number) {
        b->Args({number, 1001});
        b->Args({number, 1000000});
    }
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Indikator)->Apply([](benchmark::internal::Benchmark* b) { CatalogueArgs(b, 0, 26); })->Name("Indikator/0-26");
BENCHMARK(BM_Indikator)->Apply([](benchmark::internal::Benchmark* b) { CatalogueArgs(b, 27, 99); })->Name("Indikator/27-99");
BENCHMARK(BM_Indikator)->Apply([](benchmark::internal::Benchmark* b) { CatalogueArgs(b, 100, 199); })->Name("Indikator/100-199");
