// The geometric calculator's propagation solver: sweeps a figure's equation
// list over the VariableTable, solving every equation that has one unknown
// left, until a sweep brings nothing new.
#pragma once

#include <array>
#include <functional>
#include <unordered_map>
#include <string>
#include <string_view>

#include "geometry/figure_data.h"
#include "geometry/geo_variable.h"
#include "numbers/numeric_guard.h"
#include "platform/messenger.h"

namespace qz {

enum class SimultaneousOutcome;

/// Limits of the propagation loop.
inline constexpr int kMaxSweeps = 234;
inline constexpr int kProgressLimit = 233;
/// Most terms an equation text may hold (left term included).
inline constexpr int kMaxEquationTerms = 16;

/// The solver and its registers (result, numeric error code, progress
/// counter, approximate flag, explicit-request flag, first-sweep counter) for
/// one VariableTable. Single-threaded; one computation at a time.
class GeoSolver {
 public:
  /// `messenger` shows the orientation question of figure 10 and the
  /// two-solution warning; it may be null (questions then go unanswered).
  GeoSolver(VariableTable& table, Messenger* messenger);

  // --- Entry points for the window and the command line --------------------

  /// Resets the figure's variables (state Unknown, not given; values are left
  /// as they were), applies the known-data rows of `data` (given, Known, value
  /// copied; each counts as progress) and runs SolveFigure for `figure`
  /// (0..52). `data.orientation` receives figure 10's answer.
  void ComputeFigure(int figure, FigureData& data);
  /// Sweeps the current figure's list until a sweep makes no progress, at
  /// most kMaxSweeps sweeps, stopping when the counter reaches kProgressLimit.
  void SolveFigure();

  /// One sweep of a figure's list; RunFigureList unless replaced (tests, or
  /// a list built elsewhere).
  using SweepFunction = std::function<void(GeoSolver&, int figure)>;
  void setSweepFunction(SweepFunction sweep) { m_sweep = std::move(sweep); }

  /// True while the user's explicit CALCULER command runs: only then do the
  /// polygon solvers warn about two mathematical solutions.
  void setExplicitRequest(bool on) { m_explicitRequest = on; }
  bool explicitRequest() const { return m_explicitRequest; }
  /// Whether a computation goes on, after its sweep, to solve what the sweep
  /// left open and to check the data against each other (on by default; off
  /// for the solver that runs a figure forward inside that very search).
  void setSimultaneous(bool on) { m_simultaneous = on; }
  /// What that completion did in the last computation.
  SimultaneousOutcome simultaneousOutcome() const { return m_outcome; }
  /// Set when a polygon solver's result is approximate ("- valeur approchée -").
  bool approximate() const { return m_approximate; }
  void setApproximate() { m_approximate = true; }
  /// Number of the figure's variables that left the Unknown state.
  int progress() const { return m_progress; }
  int sweeps() const { return m_sweeps; }
  int figure() const { return m_figure; }
  void setFigure(int figure) { m_figure = figure; }
  /// Known data of the computation in progress (null outside ComputeFigure).
  FigureData* figureData() { return m_data; }

  VariableTable& table() { return m_table; }
  Messenger* messenger() { return m_messenger; }

  // --- The primitives of the equation lists --------------------------------

  /// Sum form "T0=T1+T2+...": solves for its single unknown name.
  void evalSum(std::string_view text);
  /// Product form "T0=T1*T2/T3...": solves for its single unknown name.
  void evalProduct(std::string_view text);
  /// Relation "V0=V1|V2|..." of type 1..22: each unknown position whose
  /// partners are all known is computed by the type's formula.
  void evalRelation(std::string_view text, int type);
  /// Copies a known value, or spreads incalculability, from one name to the other.
  void linkValues(std::string_view a, std::string_view b);
  /// Fixes a value imposed by the figure; an already known name keeps its value.
  void setFixedValue(std::string_view name, double value);
  /// Stores the result register into entry `index` under the range test
  /// (codes 6 and 7); a non-zero code makes the entry Incalculable.
  void AssignResult(int index);

  /// Index of `name`, or -1 ("nItem Error" unless `silent`).
  int lookupVariable(std::string_view name, bool silent = false) const {
    return m_table.lookupVariable(name, silent);
  }

  // --- Registers, for the relation groups and polygon solvers --------------

  double result() const { return m_result; }
  int code() const { return m_code; }
  /// Sets the result register and the code, then AssignResult(index).
  void assign(int index, double value, int code = kNumericOk);
  int state(int index) const { return index < 0 ? kUnknown : m_table.at(index).state; }
  double value(int index) const { return index < 0 ? 0.0 : m_table.at(index).value; }
  bool isKnown(int index) const { return state(index) > 0; }
  bool isGiven(int index) const { return index >= 0 && m_table.at(index).given != 0; }
  /// Sets an auxiliary entry back to Unknown.
  void resetToUnknown(int index);
  /// Counts the first-sweep-only steps reached since SolveFigure started.
  int nextFirstSweepArrival() { return ++m_firstSweepCounter; }
  /// How many times a first-sweep-only step was reached in this computation.
  int firstSweepArrivals() const { return m_firstSweepCounter; }

 private:
  /// An equation text parsed, with its names' table entries.
  struct ResolvedEquation {
    std::string text;
    bool product = false;
    bool valid = false;
    int count = 0;
    std::array<int, kMaxEquationTerms> index{};
    std::array<double, kMaxEquationTerms> coefficient{};
    std::array<double, kMaxEquationTerms> exponent{};
  };
  static constexpr size_t kResolvedCacheLimit = 4096;

  void evalEquation(std::string_view text, bool product);
  /// The equation of `text`, parsed and resolved once per table; null when
  /// it is malformed or names an entry the table lacks.
  const ResolvedEquation* resolveEquation(std::string_view text, bool product);

  VariableTable& m_table;
  Messenger* m_messenger;
  FigureData* m_data = nullptr;
  int m_figure = 0;
  double m_result = 0.0;
  int m_code = kNumericOk;
  int m_progress = 0;
  int m_sweeps = 0;
  int m_firstSweepCounter = 0;
  bool m_approximate = false;
  bool m_explicitRequest = false;
  bool m_simultaneous = true;
  SimultaneousOutcome m_outcome{};
  SweepFunction m_sweep;
  std::unordered_map<const char*, ResolvedEquation> m_resolved;
  unsigned long long m_resolvedGeneration = 0;
};

}  // namespace qz
