#include "statistics/descriptive_stats.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qz {
namespace {

std::vector<StatRow> series(std::initializer_list<double> xs) {
  std::vector<StatRow> rows;
  for (double x : xs) rows.push_back({x, 0});
  return rows;
}

// 2, 4, 4, 4, 5, 5, 7, 9 worked by hand: mean 5, Σd² = 32, Σd³ = 42, Σd⁴ = 356.
void expectEightValues(const DescriptiveStats& d) {
  EXPECT_EQ(d.minimum, 2);
  EXPECT_EQ(d.maximum, 9);
  EXPECT_EQ(d.range, 7);
  EXPECT_EQ(d.q1, 4);      // h = 1.75 between 4 and 4
  EXPECT_EQ(d.median, 4.5);
  EXPECT_EQ(d.q3, 5.5);    // h = 5.25 between 5 and 7
  EXPECT_EQ(d.modes, std::vector<double>{4});
  EXPECT_EQ(d.modeCount, 3);
  const double s2 = 32.0 / 7.0;
  EXPECT_NEAR(*d.cv, std::sqrt(s2) / 5, 1e-15);
  EXPECT_NEAR(*d.seMean, std::sqrt(4.0 / 7.0), 1e-15);
  EXPECT_NEAR(*d.skewness, 8.0 / (7 * 6) * 42 / std::pow(s2, 1.5), 1e-14);
  EXPECT_NEAR(*d.kurtosis, 8.0 * 9 / (7 * 6 * 5) * 356 / (s2 * s2) - 3.0 * 49 / (6 * 5), 1e-14);
  EXPECT_NEAR(*d.ciLow, 5 - 2.3646242515927853 * std::sqrt(4.0 / 7.0), 1e-12);
  EXPECT_NEAR(*d.ciHigh, 5 + 2.3646242515927853 * std::sqrt(4.0 / 7.0), 1e-12);
}

TEST(Descriptive, SeriesWorkedByHand) {
  auto d = computeDescriptive(series({5, 9, 4, 2, 4, 7, 5, 4}), StatMode::Values);
  ASSERT_TRUE(d);
  expectEightValues(*d);
}

TEST(Descriptive, CountsWeighAsRepeatedValues) {
  // The same series as counts, in another order, with a row counted zero times.
  std::vector<StatRow> rows = {{9, 1}, {4, 3}, {100, 0}, {2, 1}, {5, 2}, {7, 1}};
  auto d = computeDescriptive(rows, StatMode::Frequencies);
  ASSERT_TRUE(d);
  expectEightValues(*d);
}

TEST(Descriptive, InclusiveQuartilesOfSmallSeries) {
  struct Case {
    const char* name;
    std::vector<StatRow> rows;
    double q1, median, q3;
  };
  const Case cases[] = {
      {"four values", series({4, 1, 3, 2}), 1.75, 2.5, 3.25},
      {"five values", series({5, 3, 1, 4, 2}), 2, 3, 4},
      {"two values", series({10, 20}), 12.5, 15, 17.5},
      {"negative values", series({-3, -1, -2}), -2.5, -2, -1.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto d = computeDescriptive(c.rows, StatMode::Values);
    ASSERT_TRUE(d);
    EXPECT_DOUBLE_EQ(d->q1, c.q1);
    EXPECT_DOUBLE_EQ(d->median, c.median);
    EXPECT_DOUBLE_EQ(d->q3, c.q3);
  }
}

TEST(Descriptive, ModesOnlyWhenSomeValueRepeatsMoreThanOthers) {
  EXPECT_TRUE(computeDescriptive(series({1, 2, 3}), StatMode::Values)->modes.empty());
  EXPECT_TRUE(computeDescriptive(series({1, 1, 2, 2}), StatMode::Values)->modes.empty()) << "every value as often";
  auto two = computeDescriptive(series({3, 1, 3, 1, 2}), StatMode::Values);
  EXPECT_EQ(two->modes, (std::vector<double>{1, 3}));
  EXPECT_EQ(two->modeCount, 2);
}

TEST(Descriptive, WhatFewValuesCannotGive) {
  auto one = computeDescriptive(series({4}), StatMode::Values);
  ASSERT_TRUE(one);
  EXPECT_EQ(one->median, 4);
  EXPECT_FALSE(one->seMean);
  EXPECT_FALSE(one->ciLow);
  auto three = computeDescriptive(series({1, 2, 6}), StatMode::Values);
  EXPECT_TRUE(three->skewness);
  EXPECT_FALSE(three->kurtosis) << "needs four values";
  auto equal = computeDescriptive(series({2, 2, 2, 2}), StatMode::Values);
  EXPECT_EQ(*equal->seMean, 0);
  EXPECT_FALSE(equal->skewness) << "no spread";
  auto centred = computeDescriptive(series({-1, 1}), StatMode::Values);
  EXPECT_FALSE(centred->cv) << "mean 0";
  EXPECT_FALSE(computeDescriptive({}, StatMode::Values));
  EXPECT_FALSE(computeDescriptive(std::vector<StatRow>{{1, 0}, {2, 0}}, StatMode::Frequencies)) << "no value counted";
}

TEST(Descriptive, LargeOffsetKeepsTheShape) {
  // 1e9 + (2, 4, 4, 4, 5, 5, 7, 9): the same spread and shape.
  auto d = computeDescriptive(series({1e9 + 2, 1e9 + 4, 1e9 + 4, 1e9 + 4, 1e9 + 5, 1e9 + 5, 1e9 + 7, 1e9 + 9}),
                              StatMode::Values);
  const double s2 = 32.0 / 7.0;
  EXPECT_NEAR(*d->skewness, 8.0 / 42 * 42 / std::pow(s2, 1.5), 1e-12);
  EXPECT_NEAR(*d->seMean, std::sqrt(4.0 / 7.0), 1e-12);
  EXPECT_EQ(d->median, 1e9 + 4.5);
}

TEST(Descriptive, HenryLineGivesTheNormalLaw) {
  auto h = henryEstimates(2, -10);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->mean, 5);
  EXPECT_EQ(h->sd, 0.5);
  EXPECT_FALSE(henryEstimates(0, 1));
  EXPECT_FALSE(henryEstimates(-1, 1));
}

}  // namespace
}  // namespace qz
