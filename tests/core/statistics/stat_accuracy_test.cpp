// The engine against exact arithmetic: data on a 1/16 grid around large
// offsets, whose sums are exact in 128-bit integers.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "statistics/stat_engine.h"

namespace qz {
namespace {

using Int = __int128;

long double ld(Int v) { return static_cast<long double>(v); }

// At least `digits` significant digits in common with the exact value.
void expectDigits(double actual, long double exact, const char* what, double digits = 10) {
  SCOPED_TRACE(what);
  long double scale = std::fabs(exact) > 0 ? std::fabs(exact) : 1.0L;
  long double error = std::fabs(static_cast<long double>(actual) - exact) / scale;
  EXPECT_LE(error, std::pow(10.0L, -digits))
      << "actual " << actual << " exact " << static_cast<double>(exact);
}

struct Dataset {
  StatTable table;
  Int w = 0, sx = 0, sxx = 0, sy = 0, syy = 0, sxy = 0;  // in sixteenths
};

// x = offset + k/16 with |k| <= 16000, y = offsetY + slope * (x - offset) + noise.
Dataset makeData(std::mt19937_64& rng, double offset, double offsetY, bool weighted) {
  Dataset d;
  std::uniform_int_distribution<int> spread(-16000, 16000), noise(-800, 800), counts(1, 50);
  const auto X0 = static_cast<Int>(offset * 16), Y0 = static_cast<Int>(offsetY * 16);
  for (int i = 0; i < StatTable::kCapacity; ++i) {
    Int k = spread(rng);
    Int X = X0 + k;
    Int w = weighted ? counts(rng) : 1;
    Int Y = Y0 + (k * 3) / 4 + noise(rng);
    double second = weighted ? static_cast<double>(w) : static_cast<double>(Y) / 16;
    d.table.append({static_cast<double>(X) / 16, second});
    d.w += w;
    d.sx += w * X;
    d.sxx += w * X * X;
    d.sy += Y;
    d.syy += Y * Y;
    d.sxy += X * Y;
  }
  return d;
}

class LargeOffsets : public ::testing::TestWithParam<double> {};

TEST_P(LargeOffsets, ValuesAndPairsAgreeWithExactArithmetic) {
  std::mt19937_64 rng(12345 + static_cast<unsigned>(GetParam()));
  Dataset d = makeData(rng, GetParam(), GetParam() / 3, false);
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(d.table, StatMode::Pairs));
  const StatResults& r = engine.results();
  const Int n = d.w;
  const Int cxx = n * d.sxx - d.sx * d.sx, cyy = n * d.syy - d.sy * d.sy, cxy = n * d.sxy - d.sx * d.sy;
  const long double n2 = ld(n) * ld(n) * 256;
  expectDigits(r.meanX, ld(d.sx) / (16 * ld(n)), "mean x");
  expectDigits(r.meanY, ld(d.sy) / (16 * ld(n)), "mean y");
  expectDigits(r.varX, ld(cxx) / n2, "var x");
  expectDigits(r.varY, ld(cyy) / n2, "var y");
  expectDigits(r.covXY, ld(cxy) / n2, "cov");
  expectDigits(r.sigmaX, std::sqrt(ld(cxx) / n2), "sigma x");
  expectDigits(r.sX, std::sqrt(ld(cxx) / (ld(n) * ld(n - 1) * 256)), "s x");
  expectDigits(r.sY, std::sqrt(ld(cyy) / (ld(n) * ld(n - 1) * 256)), "s y");
  expectDigits(r.a, ld(cxy) / ld(cxx), "a");
  // b = (SY.Cxx - Cxy.SX) / (16 N Cxx), exact in 128 bits for these sizes.
  expectDigits(r.b, ld(d.sy * cxx - cxy * d.sx) / (16 * ld(n) * ld(cxx)), "b");
  expectDigits(r.r2, (ld(cxy) / ld(cxx)) * (ld(cxy) / ld(cyy)), "r2");
  expectDigits(r.sumX, ld(d.sx) / 16, "sum x", 15);
  expectDigits(r.sumX2, ld(d.sxx) / 256, "sum x2", 15);
  expectDigits(r.sumXY, ld(d.sxy) / 256, "sum xy", 15);

  ASSERT_TRUE(engine.computeStatistics(d.table, StatMode::Values));
  expectDigits(engine.results().varX, ld(cxx) / n2, "var x, mode 0");
}

TEST_P(LargeOffsets, FrequenciesAgreeWithExactArithmetic) {
  std::mt19937_64 rng(999 + static_cast<unsigned>(GetParam()));
  Dataset d = makeData(rng, GetParam(), 0, true);
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(d.table, StatMode::Frequencies));
  const StatResults& r = engine.results();
  const Int cxx = d.w * d.sxx - d.sx * d.sx;
  EXPECT_EQ(r.n, static_cast<int>(d.w));
  expectDigits(r.meanX, ld(d.sx) / (16 * ld(d.w)), "mean x");
  expectDigits(r.varX, ld(cxx) / (ld(d.w) * ld(d.w) * 256), "var x");
  expectDigits(r.sX, std::sqrt(ld(cxx) / (ld(d.w) * ld(d.w - 1) * 256)), "s x");
}

INSTANTIATE_TEST_SUITE_P(Offsets, LargeOffsets, ::testing::Values(0.0, 1e3, 123456.75, 1e8, 999999999.0, 1e9),
                         [](const auto& info) { return "offset_" + std::to_string(info.index); });

}  // namespace
}  // namespace qz
