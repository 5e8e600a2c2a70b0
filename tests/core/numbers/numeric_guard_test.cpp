#include "numbers/numeric_guard.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qz {
namespace {

TEST(NumericGuard, SquareAndPowerOverflowGiveZeroAnd1003) {
  NumericGuard g;
  EXPECT_EQ(g.squareChecked(1e200), 0.0);
  EXPECT_EQ(g.code(), kOverflow);
  EXPECT_EQ(g.squareChecked(0), 0.0);
  EXPECT_EQ(g.code(), kNumericOk);
  EXPECT_EQ(g.squareChecked(-3), 9.0);
  EXPECT_EQ(g.cubeChecked(1e150), 0.0);
  EXPECT_EQ(g.code(), kOverflow);
  EXPECT_EQ(g.powerChecked(0, 0), 1.0);
  EXPECT_EQ(g.powerChecked(0, 2), 0.0);
  EXPECT_EQ(g.powerChecked(10, 400), 0.0);
  EXPECT_EQ(g.code(), kOverflow);
  EXPECT_EQ(g.powerChecked(-8, 0.5), 0.0) << "an invalid power never leaks a NaN";
  EXPECT_EQ(g.code(), kMathError);
  EXPECT_DOUBLE_EQ(g.powerChecked(2, 10), 1024.0);
  EXPECT_EQ(g.code(), kNumericOk);
}

TEST(NumericGuard, QuadraticRoot) {
  NumericGuard g;
  EXPECT_EQ(g.quadraticRoot(1, 0, 1, 1), 0.0);
  EXPECT_EQ(g.code(), kMathError);
  // x² - 3x + 2: roots 2 and 1.
  EXPECT_DOUBLE_EQ(g.quadraticRoot(1, -3, 2, 1), 2.0);
  EXPECT_EQ(g.code(), kNumericOk);
  EXPECT_DOUBLE_EQ(g.quadraticRoot(1, -3, 2, -1), 1.0);
  EXPECT_EQ(g.quadraticRoot(0, 1, 1, 1), 0.0);
  EXPECT_EQ(g.code(), kMathError);
}

TEST(NumericGuard, DegreeFunctions) {
  NumericGuard g;
  EXPECT_EQ(g.tanDeg(90), 1e300);
  EXPECT_EQ(g.code(), kNoSingleSolution);
  EXPECT_EQ(g.tanDeg(90 * (1 + 1e-16)), 1e300);
  EXPECT_EQ(g.tanDeg(-90), -1e300);
  EXPECT_EQ(g.code(), kNoSingleSolution);
  EXPECT_NEAR(g.tanDeg(45), 1.0, 1e-12);
  EXPECT_EQ(g.code(), kNumericOk);

  double s = g.sinDeg(30);
  EXPECT_EQ(s, std::sin(30 * 0.01745329251994));
  EXPECT_NE(s, 0.5) << "the decimal degree factor shows in the last digits";
  EXPECT_NEAR(s, 0.5, 1e-12);

  EXPECT_EQ(g.angleDeg(0, 0), 0.0);
  EXPECT_EQ(g.code(), kNoSingleSolution);
  EXPECT_EQ(g.angleDeg(0, 2), 90.0);
  EXPECT_EQ(g.angleDeg(0, -2), -90.0);
  EXPECT_NEAR(g.angleDeg(1, 1), 45.0, 1e-9);
  EXPECT_EQ(g.code(), kNumericOk);

  EXPECT_EQ(g.atanDeg(2e300), 90.0);
  EXPECT_EQ(g.atanDeg(-2e300), -90.0);
  EXPECT_EQ(g.asinDeg(2), 0.0);
  EXPECT_EQ(g.code(), kMathError);
  EXPECT_NEAR(g.acosDeg(0), 90.0, 1e-9);
  EXPECT_EQ(g.code(), kNumericOk);
}

TEST(NumericGuard, CubeRoot) {
  NumericGuard g;
  EXPECT_EQ(g.cubeRoot(0), 0.0);
  EXPECT_NEAR(g.cubeRoot(27), 3.0, 1e-12);
  EXPECT_EQ(g.cubeRoot(-27), 0.0);
  EXPECT_EQ(g.code(), kMathError);
}

TEST(NumericHelpers, RoundingHalfAwayFromZero) {
  EXPECT_EQ(roundInt(2.5), 3.0);
  EXPECT_EQ(roundInt(-2.5), -3.0);
  EXPECT_EQ(roundInt(2.4), 2.0);
  EXPECT_EQ(roundInt(0), 0.0);
  EXPECT_DOUBLE_EQ(roundTo(1.235, 2), 1.24);
  EXPECT_DOUBLE_EQ(roundTo(-1.5, 0), -2.0);
  EXPECT_EQ(roundTo(0, 3), 0.0);
}

TEST(NumericHelpers, Tolerances) {
  EXPECT_TRUE(nearlyEqual(1.0, 1.0 + 1e-16));
  EXPECT_FALSE(nearlyEqual(1.0, 1.0 + 1e-14));
  EXPECT_TRUE(nearlyEqual(0.0, 0.0));
  EXPECT_EQ(signTol(1e-16), 0);
  EXPECT_EQ(signTol(2e-15), 1);
  EXPECT_EQ(signTol(-2e-15), -1);
  EXPECT_TRUE(isInfinite(HUGE_VAL));
  EXPECT_FALSE(isInfinite(1e308));
}

}  // namespace
}  // namespace qz
