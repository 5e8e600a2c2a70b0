// Guarded numeric helpers: a failure sets an error code and gives a neutral
// value instead of an infinity or a NaN.
#pragma once

namespace qz {

/// Values of the numeric error code.
enum NumericError : int {
  kNumericOk = 0,
  kNoSingleSolution = 1,  ///< tan of ±90°, angle of a zero vector, no or two roots, search out of its domain
  kAboveMaximum = 6,      ///< computed value above its maximum ("Valeur maximale = %g !")
  kBelowMinimum = 7,      ///< below its minimum, or not a number ("Valeur minimale = %g !")
  kMathError = 185,       ///< invalid operation, or a negative discriminant ("Erreur mathématique !")
  kDivisionByZero = 1001, ///< "Division par zéro !"
  kOverflow = 1003,       ///< "Dépassement de capacité !"
  kFrequencyOverflow = 32000,  ///< statistics: the frequencies add up beyond 2147483647
};

/// Degree factors as decimal literals; results follow them, not full-precision pi/180.
inline constexpr double kRadiansPerDegree = 0.01745329251994;
inline constexpr double kDegreesPerRadian = 57.2957795130823;

bool isInfinite(double x);
/// a == b, or |(a - b)/a| < 1e-15.
bool nearlyEqual(double a, double b);
/// 0, 1 or -1 with a 1e-15 dead zone.
int signTol(double x);
/// x rounded half away from zero to `n` decimals.
double roundTo(double x, int n);
/// x rounded half away from zero to an integer.
double roundInt(double x);

/// Holds the numeric error code of one engine. Each helper below resets the
/// code on entry; a non-finite intermediate result sets it (185 for an invalid
/// operation or a division by zero, 1003 for an overflow) and the helper then
/// returns 0 so that no infinity or NaN travels further.
class NumericGuard {
 public:
  int code() const { return m_code; }
  void reset() { m_code = kNumericOk; }
  void setCode(int code) { m_code = code; }
  /// Records a fault when `value` is not finite; returns `value`, or 0 after a fault.
  double check(double value);

  double cubeRoot(double x);
  /// a^b: 1 when b = 0, 0 when a = 0, overflow gives 1003 and 0.
  double powerChecked(double a, double b);
  double squareChecked(double x);
  double cubeChecked(double x);
  /// Root s·√D − p/2 of a·x² + b·x + c (s = ±1); a negative discriminant gives 185 and 0.
  double quadraticRoot(double a, double b, double c, double s);
  double sinDeg(double x);
  double cosDeg(double x);
  /// tan of ±90° (as nearlyEqual sees it) gives code 1 and ±1e300.
  double tanDeg(double x);
  double asinDeg(double x);
  double acosDeg(double x);
  double atanDeg(double x);
  /// atan2(a, b) in degrees; a = 0 gives code 1 and 0, 90 or -90 by the sign of b.
  double angleDeg(double a, double b);

 private:
  int m_code = kNumericOk;
};

}  // namespace qz
