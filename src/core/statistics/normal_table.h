// The standard normal distribution as the statistics calculator knows it: a
// small table of quantiles and a trapezoid integration from the nearest row.
#pragma once

#include <array>

namespace qz {

/// Rows 0..13: quantile z, its cumulative probability Phi, and (rows 1..13)
/// the nominal probability P graduated on a probability axis.
struct NormalTable {
  struct Row {
    double z;
    double phi;
    double p;
  };
  static constexpr int kRows = 14;
  static const std::array<Row, kRows>& rows();
  /// Column values of row k; 0.5 outside rows 0..13 (and P[0], Phi[0] are 0.5).
  static double z(int k);
  static double phi(int k);
  static double nominal(int k);
};

/// Standard normal quantile of a cumulative probability in (0, 1): integrated
/// in steps of 0.001 from the table row below, returning the last quantile
/// before the step that reached the probability; capped at ±4.
double probit(double p);

/// Cumulative standard normal probability of z, by the same integration.
double normalCdf(double z);

}  // namespace qz
