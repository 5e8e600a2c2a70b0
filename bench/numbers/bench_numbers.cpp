// Cost of turning reals into text: every value the windows, documents and
// clipboard show goes through these.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "numbers/number_check.h"
#include "numbers/real_format.h"

namespace {

const double kValues[] = {0.1 + 0.2, 1.0 / 3.0, 1.5e15, -2.5e-7, 123456.789, 1e300, 0.0, 42.0};

void BM_FormatRealFree(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(qz::FormatReal(kValues[i++ % 8], qz::FormatMode::Free, 2));
}
BENCHMARK(BM_FormatRealFree);

void BM_FormatRealFixed(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(qz::FormatReal(kValues[i++ % 8], qz::FormatMode::Fixed, 3));
}
BENCHMARK(BM_FormatRealFixed);

void BM_ExchangeText(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(qz::exchangeText(kValues[i++ % 8]));
}
BENCHMARK(BM_ExchangeText);

// The C library alone, for comparison: the exponent widening is the difference.
void BM_SnprintfBaseline(benchmark::State& state) {
  std::size_t i = 0;
  char buffer[64];
  for (auto _ : state) {
    std::snprintf(buffer, sizeof buffer, "%.12G", kValues[i++ % 8]);
    benchmark::DoNotOptimize(buffer);
  }
}
BENCHMARK(BM_SnprintfBaseline);

void BM_ExtractNumber(benchmark::State& state) {
  for (auto _ : state) {
    std::string text = "Longueur  1 250,5 m";
    benchmark::DoNotOptimize(qz::ExtractNumber(text));
  }
}
BENCHMARK(BM_ExtractNumber);

}  // namespace
