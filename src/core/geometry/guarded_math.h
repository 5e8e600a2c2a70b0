// Arithmetic for the solver's formulas: the guarded numeric helpers with a
// sticky error code, and a floating-point fault check standing in for the
// fault handler (any invalid operation, division by zero or overflow in
// between gives code 185).
#pragma once

#include <cfenv>
#include <cmath>

#include "numbers/numeric_guard.h"

namespace qz {

class GuardedMath {
 public:
  /// Clears the code and the floating-point fault flags.
  void arm() {
    m_code = kNumericOk;
    std::feclearexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  }
  /// The first code met since `arm`, or 185 when a floating-point fault
  /// occurred (or `value` is not finite) and no helper reported anything.
  int finish(double value) {
    if (m_code == kNumericOk &&
        (std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW) || !std::isfinite(value))) {
      m_code = kMathError;
    }
    return m_code;
  }
  int code() const { return m_code; }
  bool failed() const { return m_code != kNumericOk; }
  void fail(int code) {
    if (m_code == kNumericOk) m_code = code;
  }

  double sq(double x) { return take(m_guard.squareChecked(x)); }
  double cube(double x) { return take(m_guard.cubeChecked(x)); }
  double pow(double a, double b) { return take(m_guard.powerChecked(a, b)); }
  double cbrt(double x) { return take(m_guard.cubeRoot(x)); }
  double quad(double a, double b, double c, double s) { return take(m_guard.quadraticRoot(a, b, c, s)); }
  double sinD(double x) { return take(m_guard.sinDeg(x)); }
  double cosD(double x) { return take(m_guard.cosDeg(x)); }
  double tanD(double x) { return take(m_guard.tanDeg(x)); }
  double asinD(double x) { return take(m_guard.asinDeg(x)); }
  double acosD(double x) { return take(m_guard.acosDeg(x)); }
  double atanD(double x) { return take(m_guard.atanDeg(x)); }
  double angleD(double a, double b) { return take(m_guard.angleDeg(a, b)); }
  /// Cotangent of an angle in degrees: 1/tanDeg, and exactly 0 at 90.
  double cot(double x) { return x == 90.0 ? 0.0 : 1.0 / tanD(x); }
  /// Square root; a negative operand is a fault (185).
  double sqrt(double x) {
    if (x < 0.0 || std::isnan(x)) {
      fail(kMathError);
      return 0.0;
    }
    return std::sqrt(x);
  }

 private:
  double take(double r) {
    if (m_guard.code() != kNumericOk) fail(m_guard.code());
    return r;
  }

  NumericGuard m_guard;
  int m_code = kNumericOk;
};

}  // namespace qz
