#include "statistics/student_t.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace qz {
namespace {

TEST(IncompleteBeta, ClosedFormsOfSmallParameters) {
  struct Case {
    const char* name;
    double a, b, x, expected;
  };
  const Case cases[] = {
      {"uniform", 1, 1, 0.37, 0.37},
      {"x^a", 3, 1, 0.5, 0.125},
      {"one minus (1-x)^b", 1, 4, 0.2, 1 - 0.8 * 0.8 * 0.8 * 0.8},
      {"3x^2 - 2x^3", 2, 2, 0.3, 3 * 0.09 - 2 * 0.027},
      {"3x^2 - 2x^3 above the switch", 2, 2, 0.8, 3 * 0.64 - 2 * 0.512},
      {"ends", 2.5, 7.5, 0.0, 0.0},
      {"ends", 2.5, 7.5, 1.0, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(regularizedIncompleteBeta(c.a, c.b, c.x), c.expected, 1e-14);
  }
  EXPECT_NEAR(regularizedIncompleteBeta(2.5, 7.5, 0.3), 1 - regularizedIncompleteBeta(7.5, 2.5, 0.7), 1e-14);
  EXPECT_TRUE(std::isnan(regularizedIncompleteBeta(0, 1, 0.5)));
  EXPECT_TRUE(std::isnan(regularizedIncompleteBeta(1, 1, 1.5)));
}

// With one and two degrees of freedom the law has closed forms:
// F(t) = 1/2 + atan(t)/pi, and F(t) = 1/2 + t / (2 sqrt(2 + t²)).
TEST(StudentT, QuantilesMatchTheClosedForms) {
  for (double p : {0.6, 0.9, 0.95, 0.975, 0.995, 0.9995, 0.025, 0.3}) {
    SCOPED_TRACE(p);
    const double cauchy = std::tan(std::numbers::pi * (p - 0.5));
    EXPECT_NEAR(studentQuantile(p, 1), cauchy, 1e-12 * std::max(1.0, std::fabs(cauchy)));
    const double u = 2 * p - 1;
    const double two = std::copysign(std::sqrt(2 * u * u / (1 - u * u)), u);
    EXPECT_NEAR(studentQuantile(p, 2), two, 1e-12 * std::max(1.0, std::fabs(two)));
  }
  EXPECT_EQ(studentQuantile(0.5, 7), 0.0);
}

// References computed with 30 digits (mpmath: the root of 1 - I_x(ν/2, 1/2)/2 = 0.975).
TEST(StudentT, QuantilesToTwelveDigits) {
  EXPECT_NEAR(studentQuantile(0.975, 7), 2.3646242515927853, 1e-12);
  EXPECT_NEAR(studentQuantile(0.975, 10), 2.2281388519862747, 1e-12);
  EXPECT_NEAR(studentQuantile(0.975, 30), 2.0422724563012383, 1e-12);
  // Many degrees of freedom: the normal quantile 1.959963984540054.
  EXPECT_NEAR(studentQuantile(0.975, 1e8), 1.959963984540054, 1e-7);
  EXPECT_TRUE(std::isnan(studentQuantile(1.0, 3)));
  EXPECT_TRUE(std::isnan(studentQuantile(0.9, 0)));
}

TEST(StudentT, TwoSidedPValues) {
  for (double t : {0.0, 0.1, 1.0, -2.5, 12.7, 300.0}) {
    SCOPED_TRACE(t);
    EXPECT_NEAR(studentTwoSidedP(t, 1), 1 - 2 / std::numbers::pi * std::atan(std::fabs(t)), 1e-14);
    EXPECT_NEAR(studentTwoSidedP(t, 2), 1 - std::fabs(t) / std::sqrt(2 + t * t), 1e-14);
  }
  // The p-value of a quantile is its tail again.
  EXPECT_NEAR(studentTwoSidedP(studentQuantile(0.975, 13), 13), 0.05, 1e-14);
  EXPECT_EQ(studentTwoSidedP(INFINITY, 5), 0.0);
}

}  // namespace
}  // namespace qz
