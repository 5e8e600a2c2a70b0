#include "statistics/regression_fit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "numbers/cp1252.h"

namespace qz {
namespace {

std::vector<StatRow> pairs(std::initializer_list<StatRow> rows) { return rows; }

template <typename F>
std::vector<StatRow> sampled(F f, std::initializer_list<double> xs) {
  std::vector<StatRow> rows;
  for (double x : xs) rows.push_back({x, f(x)});
  return rows;
}

// (0,1) (1,3) (2,2) (3,5) worked by hand: Sxx = 5, Sxy = 5.5, SSE = 2.7, SST = 8.75.
const std::vector<StatRow> kFour = pairs({{0, 1}, {1, 3}, {2, 2}, {3, 5}});

TEST(RegressionFit, LineWorkedByHand) {
  FitOutcome out = fitCurve(kFour, FitKind::Linear);
  ASSERT_TRUE(out.fit);
  const FitResult& f = *out.fit;
  ASSERT_EQ(f.coefficients.size(), 2u);
  EXPECT_EQ(f[0].name, "a");
  EXPECT_NEAR(f[0].value, 1.1, 1e-15);
  EXPECT_NEAR(f[1].value, 1.1, 1e-15);
  EXPECT_NEAR(*f[0].se, std::sqrt(1.35 / 5), 1e-15);
  EXPECT_NEAR(*f[1].se, std::sqrt(1.35 * (0.25 + 2.25 / 5)), 1e-15);
  EXPECT_NEAR(*f.residualSd, std::sqrt(1.35), 1e-15);
  EXPECT_NEAR(f.r2, 1 - 2.7 / 8.75, 1e-15);
  EXPECT_EQ(f.degreesOfFreedom, 2);
  EXPECT_EQ(cp1252ToUtf8(f.equation()), "y = 1.1·x + 1.1   r² = 0.691429");
}

TEST(RegressionFit, LineThroughTheOriginWorkedByHand) {
  // a = Σxy / Σx² = 22/14; SSE = Σy² - a Σxy = 31/7; r² about zero = 1 - SSE/Σy².
  FitOutcome out = fitCurve(kFour, FitKind::Origin);
  ASSERT_TRUE(out.fit);
  const FitResult& f = *out.fit;
  ASSERT_EQ(f.coefficients.size(), 1u);
  EXPECT_NEAR(f[0].value, 11.0 / 7, 1e-15);
  EXPECT_NEAR(*f[0].se, std::sqrt(31.0 / 7 / 3 / 14), 1e-15);
  EXPECT_NEAR(f.r2, 242.0 / 273, 1e-15);
  EXPECT_EQ(cp1252ToUtf8(f.equation(4)), "y = 1.571·x   r² = 0.8864");
}

TEST(RegressionFit, ExactCurvesComeBack) {
  struct Case {
    const char* name;
    FitKind kind;
    std::vector<StatRow> rows;
    std::vector<double> coefficients;
  };
  const Case cases[] = {
      {"quadratic", FitKind::Poly2, sampled([](double x) { return 1 - 2 * x + 3 * x * x; }, {0, 1, 2, 3, 4, 5}),
       {1, -2, 3}},
      {"cubic", FitKind::Poly3, sampled([](double x) { return x * x * x - x; }, {-2, -1, 0, 1, 2, 3}), {0, -1, 0, 1}},
      {"quartic", FitKind::Poly4, sampled([](double x) { return 2 + x * x * x * x; }, {-2, -1, 0, 1, 2, 3, 4}),
       {2, 0, 0, 0, 1}},
      {"exponential", FitKind::Exponential, sampled([](double x) { return 2 * std::exp(0.5 * x); }, {0, 1, 2, 3, 4}),
       {2, 0.5}},
      {"power", FitKind::Power, sampled([](double x) { return 3 * std::pow(x, 1.5); }, {1, 2, 3, 4, 5}), {3, 1.5}},
      {"logarithm", FitKind::Logarithmic, sampled([](double x) { return 1 + 2 * std::log(x); }, {1, 2, 3, 4, 5}),
       {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FitOutcome out = fitCurve(c.rows, c.kind);
    ASSERT_TRUE(out.fit) << out.message();
    ASSERT_EQ(out.fit->coefficients.size(), c.coefficients.size());
    for (std::size_t i = 0; i < c.coefficients.size(); ++i)
      EXPECT_NEAR(out.fit->coefficients[i].value, c.coefficients[i], 1e-12);
    EXPECT_NEAR(out.fit->r2, 1.0, 1e-14);
    for (const StatRow& row : c.rows) EXPECT_NEAR(out.fit->evaluate(row.x), row.second, 1e-11 * std::fabs(row.second) + 1e-12);
  }
}

TEST(RegressionFit, ExponentialAndPowerAreLinesOfLnY) {
  const std::vector<StatRow> rows = pairs({{1, 2.7}, {2, 7.1}, {3, 21}, {4, 52}, {5, 160}});
  std::vector<StatRow> logged, loglog;
  for (const StatRow& r : rows) {
    logged.push_back({r.x, std::log(r.second)});
    loglog.push_back({std::log(r.x), std::log(r.second)});
  }
  const FitResult line = *fitCurve(logged, FitKind::Linear).fit;
  const FitResult exp = *fitCurve(rows, FitKind::Exponential).fit;
  EXPECT_NEAR(exp[0].value, std::exp(line[1].value), 1e-12);
  EXPECT_NEAR(exp[1].value, line[0].value, 1e-14);
  EXPECT_NEAR(*exp[0].se, exp[0].value * *line[1].se, 1e-12) << "first order";
  EXPECT_NEAR(*exp[1].se, *line[0].se, 1e-14);
  EXPECT_NEAR(exp.r2, line.r2, 1e-14);
  const FitResult ll = *fitCurve(loglog, FitKind::Linear).fit;
  const FitResult power = *fitCurve(rows, FitKind::Power).fit;
  EXPECT_NEAR(power[0].value, std::exp(ll[1].value), 1e-12);
  EXPECT_NEAR(power[1].value, ll[0].value, 1e-14);
  EXPECT_NEAR(power.r2, ll.r2, 1e-14);
}

TEST(RegressionFit, LargeOffsetOfX) {
  // y = (x - 1e6)² + 1 sampled at 1e6 - 3 .. 1e6 + 3: the centring keeps the fit exact.
  std::vector<StatRow> rows;
  for (int i = -3; i <= 3; ++i) rows.push_back({1e6 + i, double(i * i) + 1});
  FitOutcome out = fitCurve(rows, FitKind::Poly2);
  ASSERT_TRUE(out.fit);
  EXPECT_NEAR(out.fit->r2, 1, 1e-12);
  for (const StatRow& row : rows) EXPECT_NEAR(out.fit->evaluate(row.x), row.second, 1e-6);
  EXPECT_NEAR((*out.fit)[2].value, 1, 1e-9);
}

TEST(RegressionFit, RefusalsSayWhy) {
  struct Case {
    const char* name;
    FitKind kind;
    std::vector<StatRow> rows;
    int text;
    std::string argument;
  };
  const Case cases[] = {
      {"power with x = 0", FitKind::Power, pairs({{1, 1}, {0, 2}, {3, 3}}), kFitNeedsPositiveX, "2"},
      {"logarithm with x < 0", FitKind::Logarithmic, pairs({{1, 1}, {2, 2}, {-3, 3}}), kFitNeedsPositiveX, "3"},
      {"exponential with y = 0", FitKind::Exponential, pairs({{1, 0}, {2, 2}}), kFitNeedsPositiveY, "1"},
      {"power with y < 0", FitKind::Power, pairs({{1, 1}, {2, -2}}), kFitNeedsPositiveY, "2"},
      {"cubic on three x", FitKind::Poly3, pairs({{1, 1}, {2, 5}, {3, 2}, {3, 4}}), kFitNeedsDistinctX, "4"},
      {"quintic on five points", FitKind::Poly5, pairs({{1, 1}, {2, 5}, {3, 2}, {4, 4}, {5, 0}}), kFitNeedsDistinctX,
       "6"},
      {"origin with x all 0", FitKind::Origin, pairs({{0, 1}, {0, 2}}), kFitNeedsDistinctX, "1"},
      {"line with y all equal", FitKind::Linear, pairs({{1, 2}, {2, 2}, {3, 2}}), kFitImpossible, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FitOutcome out = fitCurve(c.rows, c.kind);
    EXPECT_FALSE(out.fit);
    EXPECT_EQ(out.refusal, c.text);
    EXPECT_EQ(out.argument, c.argument);
    EXPECT_FALSE(out.message().empty());
  }
  EXPECT_EQ(cp1252ToUtf8(fitCurve(pairs({{1, 1}, {0, 2}}), FitKind::Power).message()),
            "Ligne 2 : x doit être strictement positif\npour un ajustement en puissance ou logarithmique !");
  EXPECT_EQ(fitCurve(kFour, FitKind::Linear).message(), "");
}

TEST(RegressionFit, ExactFitHasNoStandardErrors) {
  FitOutcome out = fitCurve(pairs({{1, 1}, {2, 5}, {3, 2}}), FitKind::Poly2);
  ASSERT_TRUE(out.fit);
  EXPECT_EQ(out.fit->degreesOfFreedom, 0);
  EXPECT_FALSE((*out.fit)[0].se);
  EXPECT_FALSE(out.fit->residualSd);
}

TEST(RegressionFit, CurvesAreUndefinedWhereTheirLawIs) {
  const FitResult log = *fitCurve(sampled([](double x) { return std::log(x); }, {1, 2, 3}), FitKind::Logarithmic).fit;
  EXPECT_TRUE(std::isnan(log.evaluate(0)));
  EXPECT_TRUE(std::isnan(log.evaluate(-1)));
  EXPECT_FALSE(std::isnan(log.evaluate(0.5)));
}

TEST(RegressionFit, InverseOfEachCurve) {
  const FitResult line = *fitCurve(kFour, FitKind::Linear).fit;
  EXPECT_NEAR(*inverseOf(line, 3.3, 0, 3), 2, 1e-14);
  const FitResult exp = *fitCurve(sampled([](double x) { return 2 * std::exp(0.5 * x); }, {0, 1, 2}), FitKind::Exponential).fit;
  EXPECT_NEAR(*inverseOf(exp, 2 * std::exp(1.0), 0, 2), 2, 1e-12);
  EXPECT_FALSE(inverseOf(exp, -1, 0, 2)) << "never negative";
  const FitResult square = *fitCurve(sampled([](double x) { return x * x; }, {-3, -1, 0, 1, 3}), FitKind::Poly2).fit;
  EXPECT_NEAR(*inverseOf(square, 4, 0, 3), 2, 1e-9);
  EXPECT_FALSE(inverseOf(square, 4, -3, 3)) << "two crossings";
  EXPECT_FALSE(inverseOf(square, -1, -3, 3)) << "none";
}

TEST(RegressionFit, KeysAndStoredNumbers) {
  for (int i = 0; i < kFitKindCount; ++i) {
    const FitKind kind = static_cast<FitKind>(i);
    EXPECT_EQ(fitKindFromKey(fitKey(kind)), kind);
    EXPECT_EQ(fitKindFromInt(i), kind);
    EXPECT_FALSE(fitLabel(kind).empty());
  }
  EXPECT_EQ(fitKey(FitKind::Poly3), "poly3");
  EXPECT_EQ(fitKindFromKey("cubic"), std::nullopt);
  EXPECT_EQ(fitKindFromInt(99), FitKind::Linear);
}

}  // namespace
}  // namespace qz
