// Per-figure known data: the rows of values the user declared known, which
// every computation of the figure starts from.
#pragma once

#include <array>

#include "geometry/geo_variable.h"

namespace qz {

inline constexpr int kFigureCount = 53;
inline constexpr int kKnownRowCapacity = 9;

/// Figure 10's answer to "is the parallelogram leaning right?".
enum GeoOrientation : int {
  kOrientationNone = 0,
  kOrientationRight = 1,
  kOrientationLeft = 2,
};

/// One known datum: which variable, its value and what may be entered for it.
struct KnownRow {
  int variable = -1;  ///< VariableTable index, -1 when the row is empty
  double value = 0.0;
  double minimum = -1e300;
  double maximum = 1e300;
  double forbidden1 = 0.0;
  double forbidden2 = 0.0;
  int numberKind = kNumberReal;  ///< GeoNumberKind
  int negative = 0;              ///< 1 when negative values are accepted (minimum below 0)
};

/// The known data of one figure, kept while the program runs and stored in
/// the document.
struct FigureData {
  int subFigure = 0;
  int rows = 0;                        ///< 0..9
  int orientation = kOrientationNone;  ///< GeoOrientation (figure 10 only)
  std::array<KnownRow, kKnownRowCapacity> row{};

  /// Clears the rows and the orientation answer; keeps the sub-figure.
  void clear();
  /// Appends a row for table entry `index` with its current value, range,
  /// forbidden values, number kind and sign rule. False when the nine rows
  /// are taken or the index is invalid.
  bool addRow(const VariableTable& table, int index);
  /// When the figure has no rows yet, every variable of kind "O" becomes a
  /// row, in table order, with its starting value (the figure as first shown).
  void fillFromTable(const VariableTable& table);
};

}  // namespace qz
