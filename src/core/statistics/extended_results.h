// The results that follow the described list: descriptive statistics
// (modes 0 and 1), the normal law read off the Henry line (mode 1), the
// uncertainty of the regression line and the chosen fit (mode 2). One
// ordered list of items feeds the results list, the report and machine output.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "statistics/descriptive_stats.h"
#include "statistics/regression_fit.h"
#include "statistics/stat_engine.h"

namespace qz {

/// The uncertainty of the least-squares line y = a.x + b (mode 2, n > 2).
struct LineUncertainty {
  double r = 0;           ///< signed correlation coefficient, the sign of a
  double seA = 0, seB = 0;
  double residualSd = 0;  ///< √(SSE / (n - 2))
  std::optional<double> tA, pA;  ///< a / s(a) and its two-sided p-value; none when s(a) is rounding residue
  double ciA[2] = {0, 0}, ciB[2] = {0, 0};  ///< 95 % intervals (Student's t, n - 2)
};

/// Everything computed beyond the results record.
struct ExtendedResults {
  std::optional<DescriptiveStats> descriptive;  ///< modes 0 and 1
  std::optional<HenryEstimates> henry;          ///< mode 1 with a Henry line
  std::optional<FitResult> line;                ///< mode 2: the straight line by QR
  std::optional<LineUncertainty> uncertainty;   ///< mode 2 with n > 2 and a line
  FitKind fitKind = FitKind::Linear;            ///< the fit chosen for the trend dialog
  FitOutcome fit;                               ///< mode 2: the chosen fit, or its refusal
  double xMin = 0, xMax = 0;                    ///< mode 2: range of the data's x
};

/// After a successful computation of `results` over `rows` in `mode`.
ExtendedResults computeExtendedResults(std::span<const StatRow> rows, StatMode mode, const StatResults& results,
                                       FitKind fit);

/// ŷ of the chosen fit at `x`; none without a fit, where the curve is not
/// defined or beyond ±1E+300.
std::optional<double> predictedY(const ExtendedResults& extended, double x);
/// x̂ of the chosen fit for `y`, sought within the data's x range; none
/// without a fit, without a single answer or beyond ±1E+300.
std::optional<double> predictedX(const ExtendedResults& extended, double y);

/// One value of the extended results.
struct ResultItem {
  std::string key;    ///< English name for machine output ("median", "ci95_mean", "se_a", ...)
  int part = -1;      ///< -1 a single value; 0, 1, ... the elements, in order, of an array under `key`
  std::string label;  ///< French label in backslash markup (code page 1252), without dots or "="
  double value = 0;
  std::string note;   ///< backslash markup written after the value, may be empty
};

/// At most this many modes are listed.
inline constexpr std::size_t kModesListed = 5;

/// The items in the order they are listed and reported.
std::vector<ResultItem> extendedItems(const ExtendedResults& extended, StatMode mode);

/// The results-list lines of the items (one-byte codes, values "%.9G"),
/// after a blank line that parts them from the described lines.
std::vector<std::string> extendedResultLines(const std::vector<ResultItem>& items);

/// The report lines of the items (backslash markup, values "%.12G") and,
/// with a fit, its name and equation; empty without items.
std::vector<std::string> extendedReportLines(const ExtendedResults& extended, StatMode mode);

}  // namespace qz
