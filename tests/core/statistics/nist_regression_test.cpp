// NIST's certified linear regression data sets through the fits: the line
// through the origin (NoInt1-2), a quadratic (Pontius) and polynomials of
// degree 5 (Wampler1-5). The certified values are read from the .dat files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "statistics/regression_fit.h"

namespace qz {
namespace {

const std::string kFolder = std::string(QZ_NIST_TESTDATA) + "/regression/";

struct Certified {
  std::vector<double> estimates, deviations;  // B0.. (or B1 alone through the origin)
  double residualSd = NAN;
  double r2 = NAN;
  std::vector<StatRow> rows;  // x, y
};

Certified readDat(const std::string& path) {
  std::ifstream in(path);
  Certified c;
  const std::regex parameter(R"(^\s*B\d+\s+(\S+)\s+(\S+)\s*$)");
  const std::regex residual(R"(^\s*Standard Deviation\s+(\S+)\s*$)");
  const std::regex r2(R"(^\s*R-Squared\s+(\S+)\s*$)");
  const std::regex dataHeader(R"(^Data:\s+y\s+x\s*$)");
  bool inData = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::smatch m;
    if (inData) {
      std::istringstream fields(line);
      double y = 0, x = 0;
      if (fields >> y >> x) c.rows.push_back({x, y});
    } else if (std::regex_match(line, m, parameter)) {
      c.estimates.push_back(std::stod(m[1]));
      c.deviations.push_back(std::stod(m[2]));
    } else if (std::regex_match(line, m, residual)) {
      c.residualSd = std::stod(m[1]);
    } else if (std::regex_match(line, m, r2)) {
      c.r2 = std::stod(m[1]);
    } else if (std::regex_match(line, dataHeader)) {
      inData = true;
    }
  }
  return c;
}

// Log relative error: the number of correct significant digits (15 when exact).
double digits(double actual, double expected) {
  const double error = std::fabs(actual - expected);
  if (error == 0.0) return 15.0;
  if (expected == 0.0) return std::min(15.0, -std::log10(error));
  return std::min(15.0, -std::log10(error / std::fabs(expected)));
}

struct NistCase {
  const char* name;
  FitKind kind;
  int observations;
  double required;  // significant digits every certified value must reach
};

class NistRegression : public ::testing::TestWithParam<NistCase> {};

TEST_P(NistRegression, ReachesTheCertifiedValues) {
  const NistCase& test = GetParam();
  const Certified c = readDat(kFolder + test.name + ".dat");
  ASSERT_EQ(static_cast<int>(c.rows.size()), test.observations) << "data read from " << test.name;
  ASSERT_FALSE(c.estimates.empty());
  ASSERT_FALSE(std::isnan(c.r2));
  ASSERT_FALSE(std::isnan(c.residualSd));

  const FitOutcome outcome = fitCurve(c.rows, test.kind);
  ASSERT_TRUE(outcome.fit) << outcome.message();
  const FitResult& fit = *outcome.fit;
  ASSERT_EQ(fit.coefficients.size(), c.estimates.size());

  double worstEstimate = 15, worstDeviation = 15;
  for (std::size_t i = 0; i < c.estimates.size(); ++i) {
    SCOPED_TRACE(fit[i].name);
    ASSERT_TRUE(fit[i].se.has_value());
    const double e = digits(fit[i].value, c.estimates[i]);
    worstEstimate = std::min(worstEstimate, e);
    EXPECT_GE(e, test.required) << fit[i].value << " for " << c.estimates[i];
    // A certified deviation of 0 (exact data) is met when ours is negligible beside the estimate.
    const double d = c.deviations[i] == 0.0 ? digits(*fit[i].se / std::fabs(c.estimates[i]), 0.0)
                                            : digits(*fit[i].se, c.deviations[i]);
    worstDeviation = std::min(worstDeviation, d);
    EXPECT_GE(d, test.required) << *fit[i].se << " for " << c.deviations[i];
  }
  const double r2Digits = digits(fit.r2, c.r2);
  EXPECT_GE(r2Digits, test.required) << fit.r2;
  const double sdDigits = c.residualSd == 0.0 ? 15.0 : digits(*fit.residualSd, c.residualSd);
  EXPECT_GE(sdDigits, test.required) << *fit.residualSd;
  std::printf("%-9s digits reached: estimates %.1f, their deviations %.1f, residual sd %.1f, r2 %.1f\n",
              test.name, worstEstimate, worstDeviation, sdDigits, r2Digits);
}

INSTANTIATE_TEST_SUITE_P(StRD, NistRegression,
                         ::testing::Values(NistCase{"NoInt1", FitKind::Origin, 11, 8},
                                           NistCase{"NoInt2", FitKind::Origin, 3, 8},
                                           NistCase{"Pontius", FitKind::Poly2, 40, 8},
                                           NistCase{"Wampler1", FitKind::Poly5, 21, 8},
                                           NistCase{"Wampler2", FitKind::Poly5, 21, 8},
                                           NistCase{"Wampler3", FitKind::Poly5, 21, 8},
                                           NistCase{"Wampler4", FitKind::Poly5, 21, 6},
                                           NistCase{"Wampler5", FitKind::Poly5, 21, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qz
