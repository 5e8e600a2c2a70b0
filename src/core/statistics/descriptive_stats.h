// Descriptive statistics of a series (mode 0) or of values with counts
// (mode 1): order statistics, modes, dispersion, shape and the confidence
// interval of the mean, beyond the sums and moments of the results record.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "statistics/stat_table.h"

namespace qz {

struct DescriptiveStats {
  double minimum = 0, maximum = 0, range = 0;
  /// Quartiles by the inclusive definition (spreadsheets' QUARTILE.INC): on
  /// the n sorted values v[0..n-1], Q(p) = v[h] + (h - floor h)(v[h+1] - v[h])
  /// with h = (n - 1) p; the median is Q(0.5).
  double q1 = 0, median = 0, q3 = 0;
  /// The values met most often, ascending, when that is more than once and
  /// not every distinct value is met as often; empty otherwise.
  std::vector<double> modes;
  double modeCount = 0;  ///< how often each mode is met
  std::optional<double> cv;        ///< coefficient of variation s_x / x̄ (none when x̄ = 0)
  std::optional<double> seMean;    ///< standard error of the mean s_x / √n
  std::optional<double> skewness;  ///< adjusted Fisher-Pearson G1 (as SKEW), n >= 3 and s_x > 0
  std::optional<double> kurtosis;  ///< sample excess kurtosis G2 (as KURT), n >= 4 and s_x > 0
  std::optional<double> ciLow, ciHigh;  ///< 95 % confidence interval of the mean (Student's t, n - 1)
  friend bool operator==(const DescriptiveStats&, const DescriptiveStats&) = default;
};

/// The statistics of `rows` in `mode` (Values: each row one value;
/// Frequencies: x counted `second` times, counts being whole numbers >= 0).
/// Nothing when the rows hold no value or a sum is not finite.
std::optional<DescriptiveStats> computeDescriptive(std::span<const StatRow> rows, StatMode mode);

/// The normal law a Henry line u = a.x + b fits (u the normal quantile of the
/// cumulative frequency): mean -b/a and standard deviation 1/a.
struct HenryEstimates {
  double mean = 0;
  double sd = 0;
};
/// Nothing unless a > 0 (a cumulative frequency can only rise with x).
std::optional<HenryEstimates> henryEstimates(double a, double b);

}  // namespace qz
