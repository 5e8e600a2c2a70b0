#include "numbers/numeric_guard.h"

#include <cmath>

namespace qz {

bool isInfinite(double x) { return std::isinf(x); }

bool nearlyEqual(double a, double b) { return a == b || std::fabs((a - b) / a) < 1e-15; }

int signTol(double x) {
  if (x > 1e-15) return 1;
  if (x < -1e-15) return -1;
  return 0;
}

double roundTo(double x, int n) {
  if (x == 0.0) return 0.0;
  double scale = std::pow(10.0, n);
  return std::trunc(x * scale + (x < 0 ? -0.5 : 0.5)) / scale;
}

double roundInt(double x) {
  if (x == 0.0) return 0.0;
  return std::trunc(x + (x < 0 ? -0.5 : 0.5));
}

double NumericGuard::check(double value) {
  if (std::isfinite(value)) return value;
  if (std::isinf(value)) {
    m_code = kOverflow;
  } else {
    m_code = kMathError;
  }
  return 0.0;
}

double NumericGuard::cubeRoot(double x) {
  reset();
  if (x == 0.0) return 0.0;
  return check(std::pow(x, 0.3333333333333333));
}

double NumericGuard::powerChecked(double a, double b) {
  reset();
  if (b == 0.0) return 1.0;
  if (a == 0.0) return 0.0;
  return check(std::pow(a, b));
}

double NumericGuard::squareChecked(double x) {
  reset();
  if (x == 0.0) return 0.0;
  return check(x * x);
}

double NumericGuard::cubeChecked(double x) {
  reset();
  if (x == 0.0) return 0.0;
  return check(x * x * x);
}

double NumericGuard::quadraticRoot(double a, double b, double c, double s) {
  reset();
  if (a == 0.0) {  // the division by a would fault
    m_code = kMathError;
    return 0.0;
  }
  double p = b / a;
  double square = squareChecked(p);
  if (m_code != kNumericOk) return 0.0;
  double d = check(square * 0.25 - c / a);
  if (m_code != kNumericOk) return 0.0;
  if (d < 0.0) {
    m_code = kMathError;
    return 0.0;
  }
  return check(s * std::sqrt(d) - p * 0.5);
}

double NumericGuard::sinDeg(double x) {
  reset();
  return check(std::sin(x * kRadiansPerDegree));
}

double NumericGuard::cosDeg(double x) {
  reset();
  return check(std::cos(x * kRadiansPerDegree));
}

double NumericGuard::tanDeg(double x) {
  reset();
  if (nearlyEqual(x, 90.0)) {
    m_code = kNoSingleSolution;
    return 1e300;
  }
  if (nearlyEqual(x, -90.0)) {
    m_code = kNoSingleSolution;
    return -1e300;
  }
  return check(std::tan(x * kRadiansPerDegree));
}

double NumericGuard::asinDeg(double x) {
  reset();
  return check(std::asin(x) * kDegreesPerRadian);
}

double NumericGuard::acosDeg(double x) {
  reset();
  return check(std::acos(x) * kDegreesPerRadian);
}

double NumericGuard::atanDeg(double x) {
  reset();
  if (x > 1e300) return 90.0;
  if (x < -1e300) return -90.0;
  return check(std::atan(x) * kDegreesPerRadian);
}

double NumericGuard::angleDeg(double a, double b) {
  reset();
  if (a == 0.0) {
    m_code = kNoSingleSolution;
    if (b == 0.0) return 0.0;
    return b > 0.0 ? 90.0 : -90.0;
  }
  return check(std::atan2(a, b) * kDegreesPerRadian);
}

}  // namespace qz
