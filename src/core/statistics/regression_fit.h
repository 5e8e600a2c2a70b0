// Least-squares fits of the pairs (mode 2): the straight line, the line
// through the origin, polynomials of degree 2 to 5 and the exponential,
// power and logarithmic curves, with the coefficients' standard errors and r².
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "statistics/stat_table.h"

namespace qz {

/// The fits the trend dialog offers, in its order (stored as this integer).
enum class FitKind {
  Linear = 0,   ///< y = a.x + b
  Origin,       ///< y = a.x
  Poly2,        ///< y = a0 + a1.x + a2.x²
  Poly3,        ///< ... up to a3.x³
  Poly4,        ///< ... up to a4.x⁴
  Poly5,        ///< ... up to a5.x⁵
  Exponential,  ///< y = a.e^(b.x), fitted as ln y = ln a + b.x
  Power,        ///< y = a.x^b, fitted as ln y = ln a + b.ln x
  Logarithmic,  ///< y = a + b.ln x
};
inline constexpr int kFitKindCount = 9;

/// The English key of a fit ("linear", "origin", "poly2".."poly5", "exp",
/// "power", "log"), for the command line and machine output.
std::string_view fitKey(FitKind kind);
std::optional<FitKind> fitKindFromKey(std::string_view key);
/// The fit as the trend dialog names it (code page 1252).
std::string fitLabel(FitKind kind);
/// A short name for a note in the results list ("degré 2", "puissance"...; code page 1252).
std::string fitShortLabel(FitKind kind);
/// The fit from its stored integer; anything unknown reads as Linear.
FitKind fitKindFromInt(long long value);

/// Texts of the refused fits ("@" is the argument).
enum FitRefusalText : int {
  kFitNeedsPositiveX = 31003,   ///< x <= 0 for a power or logarithmic curve; "@" the row
  kFitNeedsPositiveY = 31004,   ///< y <= 0 for an exponential or power curve; "@" the row
  kFitNeedsDistinctX = 31005,   ///< fewer distinct x than coefficients; "@" their number
  kFitImpossible = 31006,       ///< all (transformed) y equal or a sum beyond the doubles
};

struct FitCoefficient {
  std::string name;              ///< "a", "b", "a0".."a5"
  double value = 0;
  std::optional<double> se;      ///< standard error; none without a degree of freedom
};

struct FitResult {
  FitKind kind = FitKind::Linear;
  /// In the equation's order: a then b (linear, exponential, power,
  /// logarithmic), a alone (origin), a0 up to the degree (polynomials).
  std::vector<FitCoefficient> coefficients;
  /// Coefficient of determination, 1 - SSE/SST with SST about the mean (about
  /// zero for the line through the origin); exponential and power: that of
  /// the fit of ln y, as it is computed.
  double r2 = 0;
  std::optional<double> residualSd;  ///< √(SSE / (n - p)); of ln y for exponential and power
  int degreesOfFreedom = 0;          ///< n - p
  double xScale = 1;                 ///< largest |x| of the data, for the equation's rounding

  /// y of the curve at x; NaN where the curve is not defined (x <= 0 for power, log).
  double evaluate(double x) const;
  /// The equation and r² written for the diagram (code page 1252, values
  /// with `digits` significant digits): "y = 2.5·x + 1   r² = 0.998". A
  /// polynomial term below 1e-12 of the largest over the data is rounding
  /// residue of exact data and is left out.
  std::string equation(int digits = 6) const;
  const FitCoefficient& operator[](std::size_t i) const { return coefficients[i]; }
};

/// A fit, or the reason it was refused.
struct FitOutcome {
  std::optional<FitResult> fit;
  int refusal = 0;         ///< a FitRefusalText when refused
  std::string argument;    ///< the "@" of its text
  /// The refusal message (code page 1252), empty for a fit.
  std::string message() const;
};

/// Fits `rows` (x, y). Uses centred and scaled x and a Householder QR in
/// extended precision, never the normal equations.
FitOutcome fitCurve(std::span<const StatRow> rows, FitKind kind);

/// x̂ such that the fitted curve gives y: closed forms for all but the
/// polynomials of degree 2 and more, whose single root within the data's x
/// range [xMin, xMax] is sought (none when there is none or several).
std::optional<double> inverseOf(const FitResult& fit, double y, double xMin, double xMax);

}  // namespace qz
