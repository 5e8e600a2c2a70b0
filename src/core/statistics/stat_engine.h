// The statistics computation: sums, means, variances, deviations and the
// fitted line (Henry line in mode 1, least squares in mode 2).
#pragma once

#include <span>
#include <vector>

#include "numbers/numeric_guard.h"
#include "platform/messenger.h"
#include "statistics/axis_scale.h"
#include "statistics/stat_table.h"

namespace qz {

/// The results record. sX, sY and r2 hold -1 when not available; a and b mean
/// something only while r2 >= 0.
struct StatResults {
  StatMode mode = StatMode::Values;  ///< mode at the last clear of the table
  int n = 0;                         ///< number of values (mode 1: truncated sum of the counts)
  double sumX = 0, sumX2 = 0, sumY = 0, sumY2 = 0, sumXY = 0;  ///< mode 1: Σnx and Σnx² in sumX, sumX2
  double meanX = 0, meanY = 0;
  double sigmaX = 0, sigmaY = 0;  ///< population standard deviations
  double sX = 0, sY = 0;          ///< sample standard deviations, or -1
  double varX = 0, varY = 0, covXY = 0;
  double a = 0, b = 0;  ///< fitted line u = a.x + b (u in y-axis units)
  double r2 = 0;        ///< coefficient of determination, -1 without a line

  bool hasLine() const { return r2 >= 0.0; }
  friend bool operator==(const StatResults&, const StatResults&) = default;
};

/// Message shown when a computation fails: "Le calcul de la régression a été interrompu !..."
inline constexpr int kStatComputationFailedText = 117;

/// Computes the results of a table. Holds the results record, the axis scale
/// kinds and the Henry preparation of the last computation.
///
/// Variances, covariance, deviations and the line come from centred sums
/// accumulated in double-double precision, so that data sharing a large
/// offset (1000000001, 1000000002, 1000000003) give their true spread; the
/// displayed sums Σx, Σx², ... are those same accurate sums rounded.
class StatEngine {
 public:
  /// Reads rows 1..count of `table` in `mode` and fills the results record.
  /// True when the record is complete. Fewer than two rows fail silently;
  /// a sum of counts beyond 2147483647 (code 32000) or a non-finite sum
  /// (1003 overflow, 185 invalid) fails, and with `reportTo` shows "ERREUR"
  /// with string 117. After a failure the record holds partial values.
  bool computeStatistics(const StatTable& table, StatMode mode, Messenger* reportTo = nullptr);
  /// The same over rows of any number (qz-cli reads files beyond the table's size).
  bool computeStatistics(std::span<const StatRow> rows, StatMode mode, Messenger* reportTo = nullptr);

  const StatResults& results() const { return m_results; }
  StatResults& results() { return m_results; }
  /// Zeroes the record and gives it `mode` (the table was cleared).
  void clearResults(StatMode mode);

  const AxisScales& axisScales() const { return m_axes; }
  void setAxisScales(AxisScales axes) { m_axes = axes; }

  /// The Henry preparation of the last mode-1 computation with more than two
  /// rows: x ascending, equal x merged, second value the cumulative frequency
  /// (the last row 1). The diagram plots all rows but the last.
  const std::vector<StatRow>& henryRows() const { return m_henry; }

  /// Numeric error code of the last computation (0, 1003, 185 or 32000).
  int errorCode() const { return m_guard.code(); }

 private:
  struct CentredMoments;
  bool compute(std::span<const StatRow> rows, StatMode mode);
  bool fitHenryLine();
  bool fitRegression(const CentredMoments& moments, std::size_t count);

  StatResults m_results;
  AxisScales m_axes{AxisScale::Linear, AxisScale::Linear};
  std::vector<StatRow> m_henry;
  NumericGuard m_guard;
};

}  // namespace qz
