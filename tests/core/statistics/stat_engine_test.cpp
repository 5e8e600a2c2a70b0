#include "statistics/stat_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "platform/scripted_messenger.h"
#include "statistics/normal_table.h"

namespace qz {
namespace {

StatTable tableOf(std::initializer_list<StatRow> rows) {
  StatTable t;
  for (const StatRow& r : rows) t.append(r);
  return t;
}

StatTable valuesOf(std::initializer_list<double> xs) {
  StatTable t;
  for (double x : xs) t.append({x, 0.0});
  return t;
}

TEST(ComputeStatistics, ModeZeroTextbookSeries) {
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(valuesOf({2, 4, 4, 4, 5, 5, 7, 9}), StatMode::Values));
  const StatResults& r = engine.results();
  EXPECT_EQ(r.n, 8);
  EXPECT_EQ(r.sumX, 40.0);
  EXPECT_EQ(r.sumX2, 232.0);
  EXPECT_EQ(r.meanX, 5.0);
  EXPECT_EQ(r.varX, 4.0);
  EXPECT_EQ(r.sigmaX, 2.0);
  EXPECT_NEAR(r.sX, std::sqrt(8.0) * 2.0 / std::sqrt(7.0), 1e-15);
  EXPECT_EQ(r.sY, -1.0);
  EXPECT_EQ(r.varY, 0.0);
  EXPECT_EQ(r.covXY, 0.0);
}

TEST(ComputeStatistics, OneValueGivesNothingAndNoMessage) {
  StatEngine engine;
  ScriptedMessenger m;
  EXPECT_FALSE(engine.computeStatistics(valuesOf({3}), StatMode::Values, &m));
  EXPECT_TRUE(m.boxes().empty());
  EXPECT_EQ(engine.errorCode(), 0);
}

TEST(ComputeStatistics, AllEqualValuesHaveExactlyZeroSpread) {
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(valuesOf({0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1}), StatMode::Values));
  EXPECT_EQ(engine.results().varX, 0.0);
  EXPECT_EQ(engine.results().sigmaX, 0.0);
  EXPECT_EQ(engine.results().sX, 0.0);
  EXPECT_EQ(engine.results().meanX, 0.1);
}

TEST(ComputeStatistics, PairsWithEqualXHaveNoLine) {
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(tableOf({{3, 1}, {3, 5}, {3, 9}}), StatMode::Pairs));
  EXPECT_EQ(engine.results().r2, -1.0);
  EXPECT_FALSE(engine.results().hasLine());
  EXPECT_EQ(engine.results().varX, 0.0);
  EXPECT_EQ(engine.results().covXY, 0.0);
}

TEST(ComputeStatistics, PairsWithEqualYHaveNoLine) {
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(tableOf({{1, 4}, {2, 4}, {3, 4}}), StatMode::Pairs));
  EXPECT_EQ(engine.results().r2, -1.0);
  EXPECT_EQ(engine.results().sY, 0.0);
}

TEST(ComputeStatistics, TwoPairsGiveTheLineThroughBoth) {
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(tableOf({{1, 3}, {4, 12}}), StatMode::Pairs));
  const StatResults& r = engine.results();
  EXPECT_DOUBLE_EQ(r.a, 3.0);
  EXPECT_NEAR(r.b, 0.0, 1e-15);
  EXPECT_EQ(r.r2, 1.0);
  EXPECT_EQ(engine.axisScales(), (AxisScales{AxisScale::Linear, AxisScale::Linear}));
}

TEST(ComputeStatistics, DecreasingPairs) {
  StatEngine engine;
  ASSERT_TRUE(
      engine.computeStatistics(tableOf({{1, 10}, {2, 8.5}, {3, 7.2}, {4, 5.1}, {5, 3.9}}), StatMode::Pairs));
  const StatResults& r = engine.results();
  EXPECT_LT(r.a, 0.0);
  EXPECT_LT(r.covXY, 0.0);
  EXPECT_GT(r.r2, 0.99);
  EXPECT_LE(r.r2, 1.0);
  // Least squares by hand: Sxy = -15.6, Sxx = 10.
  EXPECT_NEAR(r.a, -1.56, 1e-14);
  EXPECT_NEAR(r.b, 6.94 + 1.56 * 3, 1e-13);
  EXPECT_NEAR(r.meanY, 6.94, 1e-15);
  EXPECT_NEAR(r.covXY, -15.6 / 5, 1e-15);
  EXPECT_NEAR(r.sumXY, 1 * 10 + 2 * 8.5 + 3 * 7.2 + 4 * 5.1 + 5 * 3.9, 1e-12);
}

TEST(ComputeStatistics, LargeCommonOffset) {
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(valuesOf({1000000001, 1000000002, 1000000003}), StatMode::Values));
  EXPECT_NEAR(engine.results().varX, 2.0 / 3.0, 1e-15);
  EXPECT_NEAR(engine.results().sigmaX, 0.816496580927726, 1e-15);
  EXPECT_EQ(engine.results().sX, 1.0);
  EXPECT_EQ(engine.results().meanX, 1000000002.0);
}

TEST(ComputeStatistics, FractionalFrequencies) {
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(tableOf({{1, 1.5}, {2, 1.5}, {4, 0.5}}), StatMode::Frequencies));
  const StatResults& r = engine.results();
  EXPECT_EQ(r.n, 3) << "the truncated sum 3.5";
  EXPECT_DOUBLE_EQ(r.sumX, 1.5 + 3 + 2);
  EXPECT_DOUBLE_EQ(r.meanX, 6.5 / 3.5) << "the means divide by the exact sum";
  EXPECT_DOUBLE_EQ(r.sumX2, 1.5 + 6 + 8);
  EXPECT_NEAR(r.varX, 15.5 / 3.5 - (6.5 / 3.5) * (6.5 / 3.5), 1e-14);
  EXPECT_NEAR(r.sX, std::sqrt(r.varX * 3.5 / 2.5), 1e-14);
  EXPECT_EQ(r.sY, 0.0);
  EXPECT_EQ(r.meanY, 0.0);
}

TEST(ComputeStatistics, CountsBeyondTheLimitFailWithMessage117) {
  StatEngine engine;
  ScriptedMessenger m;
  EXPECT_FALSE(engine.computeStatistics(tableOf({{1, 2e9}, {2, 2e9}}), StatMode::Frequencies, &m));
  EXPECT_EQ(engine.errorCode(), kFrequencyOverflow);
  ASSERT_EQ(m.boxes().size(), 1u);
  EXPECT_EQ(m.lastTextUtf8(),
            "ERREUR\n\nLe calcul de la régression a été interrompu !\n\n\"Calcul des sommes impossible\".");
  EXPECT_EQ(m.boxes()[0].style, MessageStyle::Error);
  // Exactly at the limit is still allowed.
  EXPECT_TRUE(engine.computeStatistics(tableOf({{1, 2147483646}, {2, 1}}), StatMode::Frequencies, &m));
  EXPECT_EQ(engine.results().n, 2147483647);
}

TEST(ComputeStatistics, ValuesNear1e300OverflowWithMessage117) {
  StatEngine engine;
  ScriptedMessenger m;
  EXPECT_FALSE(engine.computeStatistics(valuesOf({1e300, -1e300, 5e299}), StatMode::Values, &m));
  EXPECT_EQ(engine.errorCode(), kOverflow);
  EXPECT_EQ(m.boxes().size(), 1u);
  EXPECT_FALSE(engine.computeStatistics(tableOf({{1e300, 1}, {2, 1e300}}), StatMode::Pairs));
  EXPECT_FALSE(engine.computeStatistics(tableOf({{1e200, 1e200}, {2, 1}}), StatMode::Frequencies));
  EXPECT_TRUE(engine.computeStatistics(valuesOf({1e150, -1e150}), StatMode::Values));
  EXPECT_TRUE(std::isfinite(engine.results().varX));
}

TEST(ComputeStatistics, ZeroCountsFailInsteadOfDividingByZero) {
  StatEngine engine;
  EXPECT_FALSE(engine.computeStatistics(tableOf({{1, 0}, {2, 0}}), StatMode::Frequencies));
  EXPECT_NE(engine.errorCode(), 0);
}

TEST(HenryLine, EqualLargestXMergeIntoOnePoint) {
  StatEngine engine;
  ASSERT_TRUE(
      engine.computeStatistics(tableOf({{3, 1}, {1, 1}, {3, 2}, {2, 1}, {0.5, 1}}), StatMode::Frequencies));
  const auto& rows = engine.henryRows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (StatRow{0.5, 1.0 / 6}));
  EXPECT_EQ(rows[1], (StatRow{1, 2.0 / 6}));
  EXPECT_EQ(rows[2], (StatRow{2, 3.0 / 6}));
  EXPECT_EQ(rows[3], (StatRow{3, 1.0})) << "the last cumulative frequency is exactly 1";
  EXPECT_EQ(engine.axisScales(), (AxisScales{AxisScale::Linear, AxisScale::Probit}));
  EXPECT_TRUE(engine.results().hasLine());
}

TEST(HenryLine, FewerThanThreeDistinctXHaveNoLine) {
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(tableOf({{1, 2}, {1, 3}, {2, 1}}), StatMode::Frequencies));
  EXPECT_EQ(engine.results().r2, -1.0);
  ASSERT_TRUE(engine.computeStatistics(tableOf({{1, 2}, {2, 3}}), StatMode::Frequencies));
  EXPECT_EQ(engine.results().r2, -1.0) << "two rows: no preparation, no line";
  EXPECT_TRUE(engine.henryRows().empty());
}

TEST(HenryLine, FitsTheQuantilesOfTheCumulativeFrequencies) {
  // Frequencies 1, 2, 4, 2, 1 over x = 10..50: F = 0.1, 0.3, 0.7, 0.9 (and 1).
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(tableOf({{10, 1}, {20, 2}, {30, 4}, {40, 2}, {50, 1}}),
                                       StatMode::Frequencies));
  double u[4] = {probit(0.1), probit(0.3), probit(0.7), probit(0.9)};
  double x[4] = {10, 20, 30, 40};
  double mx = 25, mu = (u[0] + u[1] + u[2] + u[3]) / 4;
  double sxx = 0, sxu = 0, suu = 0;
  for (int i = 0; i < 4; ++i) {
    sxx += (x[i] - mx) * (x[i] - mx);
    sxu += (x[i] - mx) * (u[i] - mu);
    suu += (u[i] - mu) * (u[i] - mu);
  }
  const StatResults& r = engine.results();
  EXPECT_NEAR(r.a, sxu / sxx, 1e-14);
  EXPECT_NEAR(r.b, mu - sxu / sxx * mx, 1e-13);
  EXPECT_NEAR(r.r2, sxu * sxu / (sxx * suu), 1e-14);
  EXPECT_GT(r.a, 0.0);
}

TEST(HenryLine, TableKeepsTheUsersOrder) {
  StatTable t = tableOf({{3, 1}, {1, 1}, {2, 1}});
  StatTable copy = t;
  StatEngine engine;
  engine.computeStatistics(t, StatMode::Frequencies);
  EXPECT_EQ(t, copy);
}

TEST(ComputeStatistics, ModeZeroLeavesTheLineFieldsAlone) {
  StatEngine engine;
  engine.results().a = 7;
  engine.results().r2 = 0.5;
  engine.results().meanY = 3;
  ASSERT_TRUE(engine.computeStatistics(valuesOf({1, 2}), StatMode::Values));
  EXPECT_EQ(engine.results().a, 7);
  EXPECT_EQ(engine.results().r2, 0.5);
  EXPECT_EQ(engine.results().meanY, 3) << "mode 0 does not write the mean of y";
}

}  // namespace
}  // namespace qz
