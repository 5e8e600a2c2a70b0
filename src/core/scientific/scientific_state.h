// What the scientific calculator keeps between its windows and in the
// document: angle unit, expression, constants, history and results list.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "scientific/expression_types.h"

namespace qz {

/// One (x, y) row of the results list.
struct ResultPair {
  double x = 0.0;
  double y = 0.0;
  friend bool operator==(const ResultPair&, const ResultPair&) = default;
};

/// One committed (expression, constants) pair of the history.
struct ExpressionPair {
  std::string expression = "y=0";
  std::string constants;
  friend bool operator==(const ExpressionPair&, const ExpressionPair&) = default;
};

inline constexpr std::size_t kMaxResults = 1000;
inline constexpr std::size_t kHistorySize = 10;

/// A new document holds degrees, "y=0", no constants and no results.
struct ScientificState {
  AngleUnit angleUnit = AngleUnit::Degrees;
  std::string expression = "y=0";
  std::string constants;  ///< definitions separated by CR LF
  /// The most recent committed pairs, newest first.
  std::array<ExpressionPair, kHistorySize> history{};
  std::vector<ResultPair> results;  ///< at most kMaxResults, in the order calculated
};

/// True when the state has a report to print: an expression and a computed pair.
bool scientificReportWanted(const ScientificState& state);

/// True when the calculator writes a section: an expression other than ""
/// and "y=0", some constants, or some results.
bool scientificSectionWanted(const ScientificState& state);

/// The body of section <001>: the angle flag, the expression, one line per
/// constant definition then ".", the row count and one "x|y" line per row.
std::string writeScientificSection(const ScientificState& state);

/// The state a section is read into: degrees, "y=0", no constants, no rows
/// (the history is the window's business).
void resetScientificState(ScientificState& state);

/// Resets `state`, then reads a section body written by
/// writeScientificSection, leniently: the expression keeps its first 255
/// characters, at most 1000 rows are read, missing lines read as empty.
void readScientificSection(std::string_view body, ScientificState& state);

}  // namespace qz
