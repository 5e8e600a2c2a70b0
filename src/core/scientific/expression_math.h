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

/// True when a result needs no clamping: 1E-300 <= |r| <= 1E+300. Tested
/// first, so that ordinary results take one comparison pair.
inline bool inPlainRange(double r) {
  const double m = std::fabs(r);
  return m >= 1e-300 && m <= 1e300;
}

/// The rule after every successful operator or function: not a number or
/// beyond ±1E+300 is 185; a magnitude below 1E-300 becomes 0.
inline int clampResult(double& r) {
  if (inPlainRange(r)) return kExprOk;
  if (!(std::fabs(r) <= 1e300)) return kExprMathError;
  r = 0.0;
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

/// 0 when either operand is 0; an infinite product is 1003.
inline int multiply(double a, double b, double& r) {
  r = a * b;
  if (inPlainRange(r)) return kExprOk;
  if (a == 0.0 || b == 0.0) {
    r = 0.0;
    return kExprOk;
  }
  if (std::isinf(r)) return kOverflowError;
  return clampResult(r);
}

/// A divisor of 0 is 1001, a dividend of 0 gives 0; an infinite quotient is 1004.
inline int divide(double a, double b, double& r) {
  if (b == 0.0) return kDivisionByZeroError;
  r = a / b;
  if (inPlainRange(r)) return kExprOk;
  if (a == 0.0) {
    r = 0.0;
    return kExprOk;
  }
  if (std::isinf(r)) return kQuotientOverflow;
  return clampResult(r);
}

/// base^n for an integer-valued n: |n| multiplications (n > 0) or divisions
/// (n < 0) of 1 by the base, in that order.
double integerPower(double base, double n);

/// The end of every power: an infinite one is 1003, then the clamp.
inline int powerResult(double& r) {
  if (inPlainRange(r)) return kExprOk;
  if (std::isinf(r)) return kOverflowError;
  return clampResult(r);
}

/// "^" with an exponent that is not 0 and not an integer.
inline int realPower(double a, double b, double& r) {
  r = a == 0.0 ? 0.0 : std::pow(a, b);
  return powerResult(r);
}

inline int power(double a, double b, double& r) {
  if (b == 0.0) {
    r = 1.0;  // also 0^0
    return kExprOk;
  }
  if (b != std::trunc(b)) return realPower(a, b, r);
  r = integerPower(a, b);
  return powerResult(r);
}

/// "=" compares nothing: it gives 0.
inline int assign(double, double, double& r) {
  r = 0.0;
  return kExprOk;
}

/// One of "=^*/+-"; returns 0 or the error id.
inline int applyOperator(char op, double a, double b, double& r) {
  switch (op) {
    case '=':
      return assign(a, b, r);
    case '^':
      return power(a, b, r);
    case '*':
      return multiply(a, b, r);
    case '/':
      return divide(a, b, r);
    case '+':
      return add(a, b, r);
    case '-':
      return subtract(a, b, r);
    default:
      return kSyntaxError;
  }
}

// The functions, one each, with their domain errors and the clamp. The trig
// functions come in a radians and a degrees form.

inline int fnAbs(double a, double& r) {
  r = std::fabs(a);
  return clampResult(r);
}
template <bool Degrees>
inline int fnAcos(double a, double& r) {
  if (std::fabs(a) > 1.0) return kAcosDomain;
  r = std::acos(a);
  if (Degrees) r *= kDegreesPerRadian;
  return clampResult(r);
}
template <bool Degrees>
inline int fnAsin(double a, double& r) {
  if (std::fabs(a) > 1.0) return kAsinDomain;
  r = std::asin(a);
  if (Degrees) r *= kDegreesPerRadian;
  return clampResult(r);
}
template <bool Degrees>
inline int fnAtn(double a, double& r) {
  r = std::atan(a);
  if (Degrees) r *= kDegreesPerRadian;
  return clampResult(r);
}
template <bool Degrees>
inline int fnCos(double a, double& r) {
  r = std::cos(Degrees ? a * kRadiansPerDegree : a);
  return clampResult(r);
}
template <bool Degrees>
inline int fnSin(double a, double& r) {
  r = std::sin(Degrees ? a * kRadiansPerDegree : a);
  return clampResult(r);
}
template <bool Degrees>
inline int fnTan(double a, double& r) {
  r = std::tan(Degrees ? a * kRadiansPerDegree : a);
  return clampResult(r);
}
inline int fnCosh(double a, double& r) {
  r = std::cosh(a);
  return clampResult(r);
}
inline int fnSinh(double a, double& r) {
  r = std::sinh(a);
  return clampResult(r);
}
inline int fnTanh(double a, double& r) {
  r = std::tanh(a);
  return clampResult(r);
}
inline int fnExp(double a, double& r) {
  r = std::exp(a);
  return clampResult(r);
}
inline int fnFix(double a, double& r) {
  r = std::trunc(a);
  return clampResult(r);
}
/// Nearest integer, halves away from zero.
inline int fnInt(double a, double& r) {
  r = std::round(a);
  return clampResult(r);
}
inline int fnLog(double a, double& r) {
  if (a <= 0.0) return kNegativeValue;
  r = std::log10(a);
  return clampResult(r);
}
inline int fnLn(double a, double& r) {
  if (a <= 0.0) return kNegativeValue;
  r = std::log(a);
  return clampResult(r);
}
/// a times a draw of 0 to 32767, divided by 32767.
inline int fnRnd(double a, RandomGenerator& random, double& r) {
  r = a * random.next() / static_cast<double>(RandomGenerator::kMax);
  return clampResult(r);
}
inline int fnSgn(double a, double& r) {
  r = a > 0.0 ? 1.0 : (a < 0.0 ? -1.0 : 0.0);
  return clampResult(r);
}
inline int fnSqr(double a, double& r) {
  if (a < 0.0) return kNegativeValue;
  r = std::sqrt(a);
  return clampResult(r);
}

/// Function `index` of the function table applied to `a`, clamped; returns
/// 0 or the error id. rnd draws from `random`.
inline int applyFunction(int index, double a, AngleUnit unit, RandomGenerator& random, double& r) {
  const bool degrees = unit == AngleUnit::Degrees;
  switch (index) {
    case kAbs:
      return fnAbs(a, r);
    case kAcos:
      return degrees ? fnAcos<true>(a, r) : fnAcos<false>(a, r);
    case kAsin:
      return degrees ? fnAsin<true>(a, r) : fnAsin<false>(a, r);
    case kAtn:
      return degrees ? fnAtn<true>(a, r) : fnAtn<false>(a, r);
    case kCos:
      return degrees ? fnCos<true>(a, r) : fnCos<false>(a, r);
    case kCosh:
      return fnCosh(a, r);
    case kExp:
      return fnExp(a, r);
    case kFix:
      return fnFix(a, r);
    case kInt:
      return fnInt(a, r);
    case kLog:
      return fnLog(a, r);
    case kLn:
      return fnLn(a, r);
    case kRnd:
      return fnRnd(a, random, r);
    case kSgn:
      return fnSgn(a, r);
    case kSin:
      return degrees ? fnSin<true>(a, r) : fnSin<false>(a, r);
    case kSinh:
      return fnSinh(a, r);
    case kSqr:
      return fnSqr(a, r);
    case kTan:
      return degrees ? fnTan<true>(a, r) : fnTan<false>(a, r);
    case kTanh:
      return fnTanh(a, r);
    default:
      return kSyntaxError;
  }
}

}  // namespace qz::expr
