#include "statistics/student_t.h"

#include <cmath>
#include <limits>

namespace qz {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The continued fraction of I_x(a, b), evaluated by the modified Lentz
// method; it converges quickly for x < (a + 1) / (a + b + 2).
double betaContinuedFraction(double a, double b, double x) {
  constexpr double kTiny = 1e-300;
  constexpr double kEpsilon = 1e-16;
  const double qab = a + b, qap = a + 1.0, qam = a - 1.0;
  double c = 1.0;
  double d = 1.0 - qab * x / qap;
  if (std::fabs(d) < kTiny) d = kTiny;
  d = 1.0 / d;
  double h = d;
  for (int m = 1; m <= 10000; ++m) {
    const double m2 = 2.0 * m;
    double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
    d = 1.0 + aa * d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = 1.0 + aa / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    h *= d * c;
    aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
    d = 1.0 + aa * d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = 1.0 + aa / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    const double step = d * c;
    h *= step;
    if (std::fabs(step - 1.0) < kEpsilon) break;
  }
  return h;
}

}  // namespace

double regularizedIncompleteBeta(double a, double b, double x) {
  if (!(a > 0.0) || !(b > 0.0) || !(x >= 0.0) || !(x <= 1.0)) return kNaN;
  if (x == 0.0) return 0.0;
  if (x == 1.0) return 1.0;
  // x^a (1-x)^b / (a B(a, b)), through logarithms so that large a, b do not overflow.
  const double logFront =
      std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x);
  const double front = std::exp(logFront);
  if (x < (a + 1.0) / (a + b + 2.0)) return front * betaContinuedFraction(a, b, x) / a;
  return 1.0 - front * betaContinuedFraction(b, a, 1.0 - x) / b;
}

double studentTwoSidedP(double t, double dof) {
  if (!(dof > 0.0) || std::isnan(t)) return kNaN;
  if (std::isinf(t)) return 0.0;
  const double t2 = t * t;
  // P(|T| >= t) = I_{dof/(dof+t²)}(dof/2, 1/2); for small t the complement
  // form keeps its digits.
  if (t2 < dof) return 1.0 - regularizedIncompleteBeta(0.5, dof / 2.0, t2 / (dof + t2));
  return regularizedIncompleteBeta(dof / 2.0, 0.5, dof / (dof + t2));
}

double studentQuantile(double p, double dof) {
  if (!(p > 0.0) || !(p < 1.0) || !(dof > 0.0)) return kNaN;
  if (p == 0.5) return 0.0;
  // The law is symmetric: solve for the upper tail q = P(T > |t|) and give the sign.
  const double q = p < 0.5 ? p : 1.0 - p;
  const double sign = p < 0.5 ? -1.0 : 1.0;
  // The two-sided tail decreases from 1 at t = 0: bracket 2q, then bisect.
  const double target = 2.0 * q;
  double low = 0.0, high = 1.0;
  while (studentTwoSidedP(high, dof) > target) {
    low = high;
    high *= 2.0;
    if (high > 1e300) return sign * high;
  }
  for (int i = 0; i < 200 && high - low > 4.0 * std::numeric_limits<double>::epsilon() * high; ++i) {
    const double middle = 0.5 * (low + high);
    if (studentTwoSidedP(middle, dof) > target)
      low = middle;
    else
      high = middle;
  }
  return sign * 0.5 * (low + high);
}

}  // namespace qz
