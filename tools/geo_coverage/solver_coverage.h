// Measures how much of the geometric calculator's promise holds: for each
// figure, data sets made of as many of its values as it has independent
// parameters, taken from its catalogue solution, are solved again and the
// result compared with that solution.
#pragma once

#include <string>
#include <vector>

#include "geometry/figure_data.h"
#include "geometry/geo_variable.h"

namespace qz::coverage {

/// What became of the data sets tried on one figure.
struct FigureCoverage {
  int figure = 0;
  int tried = 0;      ///< sets that determine the figure (full-rank Jacobian)
  int solved = 0;     ///< every value found, equal to the catalogue solution
  int ambiguous = 0;  ///< every value found, another figure that has the same data
  int wrong = 0;      ///< values that do not fit the data or the figure's equations
  int unsolved = 0;   ///< some value left open or incalculable
  std::vector<std::string> failures;  ///< one line per wrong or unsolved set: "A1=60 P=15 ..."
};

struct CoverageOptions {
  int maxSets = 200;       ///< sets per figure at most (a seeded sample beyond that)
  unsigned seed = 20261208;
  /// Whether the reference figure is moved off the catalogue's values.
  bool moveParameters = true;
};

/// A figure ready to be solved again from its data sets.
struct PreparedFigure {
  int figure = 0;
  VariableTable pristine;  ///< as loaded: the catalogue's starting values
  VariableTable solution;  ///< the reference figure every set is taken from
  int orientation = 0;
  std::vector<int> parameters;  ///< its "O" variables
  std::vector<int> reached;     ///< the values a full solution holds
  std::vector<FigureData> sets;  ///< data sets that determine the reference figure
  bool loaded = false;
};

/// Loads figure `figure`, makes its reference figure and picks its sets.
PreparedFigure PrepareFigure(const std::string& dataFolder, int figure, const CoverageOptions& options);

/// Tries the sets of figure `figure` (0..52) with the catalogues of `dataFolder`.
FigureCoverage MeasureFigure(const std::string& dataFolder, int figure, const CoverageOptions& options);

}  // namespace qz::coverage
