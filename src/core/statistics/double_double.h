// Unevaluated sum of two doubles (about 32 significant digits), used to
// accumulate the statistics sums and centred moments without cancellation.
#pragma once

#include <cmath>

namespace qz {

struct DoubleDouble {
  double hi = 0.0;
  double lo = 0.0;

  constexpr DoubleDouble() = default;
  constexpr DoubleDouble(double value) : hi(value) {}  // NOLINT: a double is a DoubleDouble
  constexpr DoubleDouble(double h, double l) : hi(h), lo(l) {}

  double value() const { return hi + lo; }
  bool isFinite() const { return std::isfinite(hi) && std::isfinite(lo); }

  /// a + b exactly, as a rounded sum and its error (Knuth).
  static DoubleDouble twoSum(double a, double b) {
    double s = a + b;
    double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
  }
  /// a * b exactly, through a fused multiply-add.
  static DoubleDouble twoProduct(double a, double b) {
    double p = a * b;
    return {p, std::fma(a, b, -p)};
  }

  friend DoubleDouble operator+(DoubleDouble a, DoubleDouble b) {
    DoubleDouble s = twoSum(a.hi, b.hi);
    DoubleDouble t = twoSum(a.lo, b.lo);
    s.lo += t.hi;
    s = quick(s.hi, s.lo);
    s.lo += t.lo;
    return quick(s.hi, s.lo);
  }
  friend DoubleDouble operator-(DoubleDouble a) { return {-a.hi, -a.lo}; }
  friend DoubleDouble operator-(DoubleDouble a, DoubleDouble b) { return a + (-b); }
  friend DoubleDouble operator*(DoubleDouble a, DoubleDouble b) {
    DoubleDouble p = twoProduct(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return quick(p.hi, p.lo);
  }
  friend DoubleDouble operator/(DoubleDouble a, DoubleDouble b) {
    double q1 = a.hi / b.hi;
    DoubleDouble r = a - b * q1;
    double q2 = r.hi / b.hi;
    r = r - b * q2;
    double q3 = r.hi / b.hi;
    return quick(q1, q2) + q3;
  }
  DoubleDouble& operator+=(DoubleDouble b) { return *this = *this + b; }

 private:
  // |a| >= |b|
  static DoubleDouble quick(double a, double b) {
    double s = a + b;
    return {s, b - (s - a)};
  }
};

}  // namespace qz
