// Solving a figure from data the propagation sweep cannot untangle.
//
// The sweep only ever solves one equation for one unknown. Data such as a
// cone's volume and slant height tie several unknowns together, and the
// sweep stops with values left open. The figure's own independent
// parameters (its variables of kind "O") decide every other value through the
// equation list run forward; so the open values are found by solving
// "forward(parameters) = the user's data" for the parameters the user did
// not give, with Levenberg–Marquardt from several starts, and then running
// the list forward from the root found. Every value shown is then one the
// figure's own equations give.
#pragma once

#include <vector>

#include "geometry/figure_data.h"
#include "geometry/geo_solver.h"

namespace qz {

/// What the completion did with a computation.
enum class SimultaneousOutcome {
  NotNeeded,        ///< the sweep found every value and the data agree with each other
  Solved,           ///< one figure fits the data: its values are in the table
  SeveralFigures,   ///< several figures fit: the one nearest the previous values is shown
  NoFigure,         ///< no figure has these values: the open values stay open
  Contradiction,    ///< the data contradict each other: only the data stay known
  Underdetermined,  ///< too few data, or data that leave a whole family of figures
};

/// French text shown when the data contradict each other (code page 1252).
inline constexpr const char* kContradictionText =
    "Les donn\xE9" "es se contredisent : aucune figure n'a toutes ces valeurs.";
/// French text shown when no figure of the kind has the data's values.
inline constexpr const char* kNoFigureText =
    "Aucune figure n'a ces valeurs : les dimensions restent incalculables.";

/// Tuning of the search, for the tools that measure it.
struct SimultaneousLimits {
  int iterations = 150; ///< Levenberg–Marquardt iterations per start
  int probes = 3;             ///< starts that look for a second figure once one is found
  int secondIterations = 15;  ///< iterations of the starts that look for a second figure
  int starts = 8;       ///< regular starts at most (the sweep's, the catalogue's, scaled and mirrored ones)
  int scatteredDraws = 60;  ///< random starts drawn when the regular ones find no figure
  int scatteredStarts = 4;  ///< of which the nearest to the data are tried
};

/// Completes `solver`'s computation of `data` after its sweep: checks that
/// data the sweep did not use agree with the figure, and solves the values the
/// sweep left open. Messages (warning 103, the two texts above) are shown only
/// for an explicit request. `previous` holds the values of the figure's
/// parameters before the computation (the rule that picks among several
/// figures); empty means the catalogue's shape.
SimultaneousOutcome CompleteSimultaneously(GeoSolver& solver, const FigureData& data,
                                           const std::vector<double>& previous,
                                           const SimultaneousLimits& limits = {});

/// The figure's list run forward from values of its parameters, in a table
/// of its own (a copy), so that the computation on screen is never disturbed.
class FigureForward {
 public:
  FigureForward(const VariableTable& table, int figure, int orientation, std::vector<int> parameters);
  /// Runs the list from `values` of the parameters (in their order).
  const VariableTable& run(const std::vector<double>& values);
  /// Whether entry `index` came out known and finite.
  bool known(int index) const;
  double value(int index) const { return m_table.at(index).value; }
  const VariableTable& table() const { return m_table; }
  bool approximate() const { return m_solver.approximate(); }

 private:
  VariableTable m_table;
  GeoSolver m_solver;
  FigureData m_data;
  std::vector<int> m_parameters;
  int m_figure = 0;
};

/// The variables of kind "O" of the table, in table order.
std::vector<int> FigureParameters(const VariableTable& table);

}  // namespace qz
