#include "statistics/extended_results.h"

#include <gtest/gtest.h>

#include <cmath>

#include "numbers/cp1252.h"
#include "numbers/markup.h"
#include "numbers/real_format.h"
#include "statistics/results_list.h"
#include "statistics/student_t.h"

namespace qz {
namespace {

ExtendedResults computed(const std::vector<StatRow>& rows, StatMode mode, FitKind fit = FitKind::Linear) {
  StatEngine engine;
  EXPECT_TRUE(engine.computeStatistics(rows, mode));
  return computeExtendedResults(rows, mode, engine.results(), fit);
}

std::vector<std::string> keys(const std::vector<ResultItem>& items) {
  std::vector<std::string> out;
  for (const ResultItem& item : items) out.push_back(item.part < 0 ? item.key : item.key + "[" + std::to_string(item.part) + "]");
  return out;
}

const std::vector<StatRow> kFour = {{0, 1}, {1, 3}, {2, 2}, {3, 5}};

TEST(ExtendedResults, PredictionsOfTheChosenFit) {
  // y = 2x + 1 exactly: ŷ and x̂ by hand.
  const std::vector<StatRow> line = {{0, 1}, {1, 3}, {2, 5}, {3, 7}};
  const ExtendedResults linear = computed(line, StatMode::Pairs);
  EXPECT_NEAR(*predictedY(linear, 10), 21.0, 1e-12);
  EXPECT_NEAR(*predictedX(linear, 4), 1.5, 1e-12);
  // y = e^x on x = 0..3: e^1000 is beyond the doubles, ln of a negative x undefined.
  std::vector<StatRow> growth;
  for (int x = 0; x <= 3; ++x) growth.push_back({double(x), std::exp(double(x))});
  const ExtendedResults exponential = computed(growth, StatMode::Pairs, FitKind::Exponential);
  EXPECT_NEAR(*predictedY(exponential, 1), std::exp(1.0), 1e-12);
  EXPECT_FALSE(predictedY(exponential, 1000)) << "beyond 1E+300";
  EXPECT_FALSE(predictedX(exponential, -1)) << "no x gives a negative y";
  const ExtendedResults power = computed({{1, 1}, {2, 4}, {3, 9}}, StatMode::Pairs, FitKind::Power);
  EXPECT_FALSE(predictedY(power, -2)) << "x^b undefined for x < 0";
  const ExtendedResults refused = computed({{1, 1}, {2, 0}, {3, 4}}, StatMode::Pairs, FitKind::Exponential);
  EXPECT_FALSE(predictedY(refused, 1)) << "no fit, no prediction";
}

TEST(ExtendedResults, LineUncertaintyWorkedByHand) {
  // a = b = 1.1, s² = 1.35, Sxx = 5; two degrees of freedom, whose law has
  // closed forms: t(0.975) = √(2·0.95² / (1 - 0.95²)), p = 1 - |t| / √(2 + t²).
  const ExtendedResults e = computed(kFour, StatMode::Pairs);
  ASSERT_TRUE(e.uncertainty);
  const LineUncertainty& u = *e.uncertainty;
  EXPECT_NEAR(u.r, std::sqrt(1 - 2.7 / 8.75), 1e-15);
  EXPECT_NEAR(u.seA, std::sqrt(0.27), 1e-15);
  EXPECT_NEAR(u.seB, std::sqrt(0.945), 1e-15);
  EXPECT_NEAR(u.residualSd, std::sqrt(1.35), 1e-15);
  const double t = 1.1 / std::sqrt(0.27);
  EXPECT_NEAR(*u.tA, t, 1e-14);
  EXPECT_NEAR(*u.pA, 1 - t / std::sqrt(2 + t * t), 1e-14);
  const double t975 = std::sqrt(2 * 0.9025 / 0.0975);
  EXPECT_NEAR(u.ciA[0], 1.1 - t975 * std::sqrt(0.27), 1e-12);
  EXPECT_NEAR(u.ciA[1], 1.1 + t975 * std::sqrt(0.27), 1e-12);
  EXPECT_NEAR(u.ciB[0], 1.1 - t975 * std::sqrt(0.945), 1e-12);
  EXPECT_NEAR(u.ciB[1], 1.1 + t975 * std::sqrt(0.945), 1e-12);
}

TEST(ExtendedResults, DecreasingDataGiveANegativeR) {
  const ExtendedResults e = computed({{0, 5}, {1, 2}, {2, 3}, {3, 1}}, StatMode::Pairs);
  ASSERT_TRUE(e.uncertainty);
  EXPECT_LT(e.uncertainty->r, 0);
  EXPECT_LT(*e.uncertainty->tA, 0);
}

TEST(ExtendedResults, TwoPairsHaveNoUncertaintyAndAPerfectLineNoT) {
  EXPECT_FALSE(computed({{1, 3}, {4, 12}}, StatMode::Pairs).uncertainty);
  const ExtendedResults exact = computed({{1, 3}, {2, 5}, {3, 7}}, StatMode::Pairs);
  ASSERT_TRUE(exact.uncertainty);
  EXPECT_FALSE(exact.uncertainty->tA) << "s(a) = 0";
  EXPECT_EQ(keys(extendedItems(exact, StatMode::Pairs)),
            (std::vector<std::string>{"r", "se_a", "se_b", "s_residual", "ci95_a[0]", "ci95_a[1]", "ci95_b[0]",
                                      "ci95_b[1]"}));
}

TEST(ExtendedResults, ItemOrderOfEachMode) {
  const std::vector<StatRow> series = {{2, 0}, {4, 0}, {4, 0}, {4, 0}, {5, 0}, {5, 0}, {7, 0}, {9, 0}};
  EXPECT_EQ(keys(extendedItems(computed(series, StatMode::Values), StatMode::Values)),
            (std::vector<std::string>{"min", "max", "range", "median", "q1", "q3", "modes[0]", "cv", "se_mean",
                                      "skewness", "kurtosis", "ci95_mean[0]", "ci95_mean[1]"}));
  const std::vector<StatRow> counts = {{1, 1}, {2, 3}, {3, 5}, {4, 2}, {5, 1}};
  const ExtendedResults henry = computed(counts, StatMode::Frequencies);
  ASSERT_TRUE(henry.henry);
  const auto k = keys(extendedItems(henry, StatMode::Frequencies));
  ASSERT_GE(k.size(), 2u);
  EXPECT_EQ(k[k.size() - 2], "henry_mean");
  EXPECT_EQ(k.back(), "henry_sd");
  EXPECT_EQ(keys(extendedItems(computed(kFour, StatMode::Pairs, FitKind::Poly2), StatMode::Pairs)),
            (std::vector<std::string>{"r", "se_a", "se_b", "s_residual", "t_a", "p_a", "ci95_a[0]", "ci95_a[1]",
                                      "ci95_b[0]", "ci95_b[1]", "fit_coefficients[0]", "fit_coefficients[1]",
                                      "fit_coefficients[2]", "fit_se[0]", "fit_se[1]", "fit_se[2]", "fit_r2"}));
}

TEST(ExtendedResults, HenryEstimatesAreThoseOfTheLine) {
  const std::vector<StatRow> counts = {{1, 1}, {2, 3}, {3, 5}, {4, 2}, {5, 1}};
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(counts, StatMode::Frequencies));
  const ExtendedResults e = computeExtendedResults(counts, StatMode::Frequencies, engine.results(), FitKind::Linear);
  EXPECT_DOUBLE_EQ(e.henry->mean, -engine.results().b / engine.results().a);
  EXPECT_DOUBLE_EQ(e.henry->sd, 1 / engine.results().a);
}

TEST(ExtendedResults, ListLinesAreClickableValues) {
  const std::vector<StatRow> series = {{2, 0}, {4, 0}, {4, 0}, {4, 0}, {5, 0}, {5, 0}, {7, 0}, {9, 0}};
  const std::vector<std::string> lines = extendedResultLines(extendedItems(computed(series, StatMode::Values), StatMode::Values));
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_TRUE(lines[0].empty()) << "a blank line after the described ones";
  EXPECT_EQ(markupToPlainUtf8(lines[1]), "min .... = 2");
  EXPECT_EQ(markupToPlainUtf8(lines[4]), "médiane = 4.5");
  EXPECT_EQ(markupToPlainUtf8(lines[5]), "Q1 ..... = 4 (inclusifs)");
  EXPECT_EQ(markupToPlainUtf8(lines[7]), "mode ... = 4 (3 fois)");
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_TRUE(resultLineNumber(lines[i])) << i;
  EXPECT_EQ(*resultLineNumber(lines[13]), formatDouble("%.9G", 5 + 2.3646242515927853 * std::sqrt(4.0 / 7.0)));
}

TEST(ExtendedResults, ReportLinesNameTheFit) {
  const std::vector<std::string> lines =
      extendedReportLines(computed(kFour, StatMode::Pairs, FitKind::Origin), StatMode::Pairs);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(markupToPlainUtf8(convertMarkup(lines[0])),
            "r ........ = " + exchangeText(std::sqrt(1 - 2.7 / 8.75)) + " (coef. de corr.)");
  EXPECT_EQ(cp1252ToUtf8(lines[lines.size() - 2]), "\\B\\bAjustement :\\b\\B Par l'origine : y = a.x");
  EXPECT_EQ(cp1252ToUtf8(lines.back()), "y = 1.57142857143·x   r² = 0.886446886447");
}

TEST(ExtendedResults, ARefusedFitLeavesItsReason) {
  const ExtendedResults e = computed({{0, 1}, {1, 3}, {2, 2}}, StatMode::Pairs, FitKind::Power);
  EXPECT_FALSE(e.fit.fit);
  EXPECT_EQ(e.fit.refusal, kFitNeedsPositiveX);
  EXPECT_TRUE(e.uncertainty) << "the line's results stay";
}

}  // namespace
}  // namespace qz
