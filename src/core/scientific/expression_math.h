// What each operator and function of the expression language computes, with
// its domain and overflow errors. Both evaluators call these, so that they
// round and fail alike.
#pragma once

#include <cmath>

#include "scientific/expression_types.h"
#include "scientific/random_generator.h"

namespace qz::expr {

/// Beyond this many repeated multiplications an integer power is taken from
/// the power function: the loop would run for seconds and drift by then.
inline constexpr double kMaxRepeatedPower = 1048576.0;

/// Degree factors as decimal literals; results follow them, not full-precision pi/180.
inline constexpr double kRadiansPerDegree = 0.01745329251994;
inline constexpr double kDegreesPerRadian = 57.2957795130823;

/// The rule after every successful operator or function: not a number or
/// beyond ±1E+300 is 185; a magnitude below 1E-300 becomes 0.
inline int clampResult(double& r) {
  if (!(std::fabs(r) <= 1e300)) return kMathError;
  if (std::fabs(r) < 1e-300) r = 0.0;
  return kExprOk;
}

inline int add(double a, double b, double& r) {
  r = a + b;
  return clampResult(r);
}

inline int subtract(double a, double b, double& r) {
  r = a - b;
  return clampResult(r);
}

inline int multiply(double a, double b, double& r) {
  if (a == 0.0 || b == 0.0) {
    r = 0.0;
    return kExprOk;
  }
  r = a * b;
  if (std::isinf(r)) return kOverflowError;
  return clampResult(r);
}

inline int divide(double a, double b, double& r) {
  if (b == 0.0) return kDivisionByZeroError;
  if (a == 0.0) {
    r = 0.0;
    return kExprOk;
  }
  r = a / b;
  if (std::isinf(r)) return kQuotientOverflow;
  return clampResult(r);
}

/// base^n for an integer-valued n: |n| multiplications (n > 0) or divisions
/// (n < 0) of 1 by the base, in that order.
double integerPower(double base, double n);

/// "^" with an exponent that is not 0 and not an integer.
inline int realPower(double a, double b, double& r) {
  r = a == 0.0 ? 0.0 : std::pow(a, b);
  if (std::isinf(r)) return kOverflowError;
  return clampResult(r);
}

inline int power(double a, double b, double& r) {
  if (b == 0.0) {
    r = 1.0;  // also 0^0
    return kExprOk;
  }
  if (b != std::trunc(b)) return realPower(a, b, r);
  r = integerPower(a, b);
  if (std::isinf(r)) return kOverflowError;
  return clampResult(r);
}

/// "=" compares nothing: it gives 0.
inline int assign(double, double, double& r) {
  r = 0.0;
  return kExprOk;
}

/// One of "=^*/+-"; returns 0 or the error id.
inline int applyOperator(char op, double a, double b, double& r) {
  switch (op) {
    case '=': return assign(a, b, r);
    case '^': return power(a, b, r);
    case '*': return multiply(a, b, r);
    case '/': return divide(a, b, r);
    case '+': return add(a, b, r);
    case '-': return subtract(a, b, r);
    default: return kSyntaxError;
  }
}

/// Function `index` of the function table applied to `a`, clamped; returns
/// 0 or the error id. rnd draws from `random`.
inline int applyFunction(int index, double a, AngleUnit unit, RandomGenerator& random, double& r) {
  const bool degrees = unit == AngleUnit::Degrees;
  switch (index) {
    case kAbs: r = std::fabs(a); break;
    case kAcos:
      if (std::fabs(a) > 1.0) return kAcosDomain;
      r = std::acos(a);
      if (degrees) r *= kDegreesPerRadian;
      break;
    case kAsin:
      if (std::fabs(a) > 1.0) return kAsinDomain;
      r = std::asin(a);
      if (degrees) r *= kDegreesPerRadian;
      break;
    case kAtn:
      r = std::atan(a);
      if (degrees) r *= kDegreesPerRadian;
      break;
    case kCos: r = std::cos(degrees ? a * kRadiansPerDegree : a); break;
    case kCosh: r = std::cosh(a); break;
    case kExp: r = std::exp(a); break;
    case kFix: r = std::trunc(a); break;
    case kInt: r = std::round(a); break;  // halves away from zero
    case kLog:
      if (a <= 0.0) return kNegativeValue;
      r = std::log10(a);
      break;
    case kLn:
      if (a <= 0.0) return kNegativeValue;
      r = std::log(a);
      break;
    case kRnd: r = a * random.next() / static_cast<double>(RandomGenerator::kMax); break;
    case kSgn: r = a > 0.0 ? 1.0 : (a < 0.0 ? -1.0 : 0.0); break;
    case kSin: r = std::sin(degrees ? a * kRadiansPerDegree : a); break;
    case kSinh: r = std::sinh(a); break;
    case kSqr:
      if (a < 0.0) return kNegativeValue;
      r = std::sqrt(a);
      break;
    case kTan: r = std::tan(degrees ? a * kRadiansPerDegree : a); break;
    case kTanh: r = std::tanh(a); break;
    default: return kSyntaxError;
  }
  return clampResult(r);
}

}  // namespace qz::expr
