#include "statistics/normal_table.h"

#include <gtest/gtest.h>

#include "statistics/axis_scale.h"

namespace qz {
namespace {

TEST(Probit, HalfIsExactlyZero) { EXPECT_EQ(probit(0.5), 0.0); }

TEST(Probit, KnownQuantilesWithinOneStep) {
  struct Case {
    const char* name;
    double p;
    double z;
    double tolerance;
  };
  const Case cases[] = {
      {"p 0.975", 0.975, 1.96, 0.001},
      {"p 0.9", 0.9, 1.281, 1e-9},  // the quantile before the step that passes 0.9
      {"p 0.6 from row 0", 0.6, 0.253, 0.001},
      {"p 0.999 table end", 0.999, 3.09, 0.001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(probit(c.p), c.z, c.tolerance);
  }
}

TEST(Probit, IsOddAroundHalf) {
  for (double p : {0.6, 0.75, 0.9, 0.975, 0.995}) {
    SCOPED_TRACE(p);
    EXPECT_EQ(probit(1.0 - p), -probit(p));
  }
}

TEST(Probit, EndsAtTheCapJustAboveFour) {
  double z = probit(0.99999);
  EXPECT_GE(z, 4.0);
  EXPECT_LT(z, 4.0011);
  EXPECT_LE(probit(0.00001), -4.0);
  EXPECT_GE(probit(1.5), 4.0) << "probabilities beyond 1 end at the cap, not in a loop";
}

TEST(NormalCdf, KnownValues) {
  EXPECT_EQ(normalCdf(0.0), 0.5);
  EXPECT_NEAR(normalCdf(1.96), 0.97501, 2e-5);
  EXPECT_NEAR(normalCdf(-1.96), 1.0 - normalCdf(1.96), 1e-15);
  EXPECT_NEAR(normalCdf(1.0), 0.8413, 1e-4);
}

TEST(NormalCdf, HugeArgumentsTerminate) {
  // The integral stops moving once the density underflows; this must not loop.
  EXPECT_NEAR(normalCdf(1e300), 1.0, 2e-4);
  EXPECT_NEAR(normalCdf(-1e12), 0.0, 2e-4);
}

TEST(NormalTable, RowsAndNominalProbabilities) {
  EXPECT_EQ(NormalTable::z(5), 1.29);
  EXPECT_EQ(NormalTable::phi(13), 0.999);
  EXPECT_EQ(NormalTable::nominal(6), 0.95);
  EXPECT_EQ(NormalTable::nominal(0), 0.5);
  EXPECT_EQ(NormalTable::nominal(14), 0.5);
}

TEST(AxisScale, ForwardAndInverse) {
  NumericGuard guard;
  EXPECT_EQ(scaleForward(3.5, AxisScale::Linear, guard), 3.5);
  EXPECT_EQ(scaleForward(1000.0, AxisScale::Log10, guard), 3.0);
  EXPECT_EQ(scaleInverse(0.0, AxisScale::Log10, guard), 1.0);
  EXPECT_EQ(scaleInverse(2.0, AxisScale::Log10, guard), 100.0);
  EXPECT_EQ(guard.code(), 0);
  EXPECT_NEAR(scaleForward(0.9, AxisScale::Probit, guard), 1.281, 1e-9);
  EXPECT_NEAR(scaleInverse(1.96, AxisScale::Probit, guard), 0.97501, 2e-5);
  EXPECT_EQ(scaleForward(1.0, static_cast<AxisScale>(7), guard), 0.0);
}

TEST(AxisScale, FailuresSetTheCode) {
  NumericGuard guard;
  EXPECT_EQ(scaleForward(0.0, AxisScale::Log10, guard), 0.0);
  EXPECT_EQ(guard.code(), kMathError);
  EXPECT_EQ(scaleForward(-2.0, AxisScale::Log10, guard), 0.0);
  EXPECT_EQ(guard.code(), kMathError);
  EXPECT_EQ(scaleInverse(400.0, AxisScale::Log10, guard), 0.0);
  EXPECT_EQ(guard.code(), kOverflow);
  scaleForward(2.0, AxisScale::Linear, guard);
  EXPECT_EQ(guard.code(), 0) << "each transform resets the code";
}

}  // namespace
}  // namespace qz
