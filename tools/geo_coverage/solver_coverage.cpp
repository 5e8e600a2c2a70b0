#include "solver_coverage.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <sstream>

#include "geometry/catalogue_loader.h"
#include "geometry/geo_solver.h"
#include "geometry/simultaneous_solve.h"
#include "platform/scripted_messenger.h"

namespace qz::coverage {

namespace {

constexpr double kSameValue = 1e-6;
constexpr double kIndependent = 1e-6;

bool close(double a, double b) {
  return std::fabs(a - b) <= kSameValue * std::max({std::fabs(a), std::fabs(b), 1e-6});
}

// Whether the square matrix `a` is far from singular (full pivoting).
bool independent(std::vector<std::vector<double>> a) {
  const size_t n = a.size();
  double largest = 0.0, smallest = HUGE_VAL;
  for (size_t c = 0; c < n; ++c) {
    size_t pr = c, pc = c;
    for (size_t r = c; r < n; ++r)
      for (size_t k = c; k < n; ++k)
        if (std::fabs(a[r][k]) > std::fabs(a[pr][pc])) pr = r, pc = k;
    std::swap(a[c], a[pr]);
    for (auto& row : a) std::swap(row[c], row[pc]);
    const double pivot = std::fabs(a[c][c]);
    if (!(pivot > 0.0)) return false;
    largest = std::max(largest, pivot);
    smallest = std::min(smallest, pivot);
    for (size_t r = c + 1; r < n; ++r) {
      double f = a[r][c] / a[c][c];
      for (size_t k = c; k < n; ++k) a[r][k] -= f * a[c][k];
    }
  }
  return smallest > kIndependent * largest;
}

double combinations(size_t n, size_t k) {
  double c = 1.0;
  for (size_t i = 0; i < k; ++i) c = c * static_cast<double>(n - i) / static_cast<double>(i + 1);
  return c;
}

void allCombinations(size_t n, size_t k, size_t first, std::vector<int>& current,
                     std::vector<std::vector<int>>& out) {
  if (current.size() == k) {
    out.push_back(current);
    return;
  }
  for (size_t i = first; i < n; ++i) {
    current.push_back(static_cast<int>(i));
    allCombinations(n, k, i + 1, current, out);
    current.pop_back();
  }
}

std::string describe(const VariableTable& table, const FigureData& set) {
  std::ostringstream out;
  out.precision(17);
  for (int r = 0; r < set.rows; ++r) {
    const KnownRow& row = set.row[static_cast<size_t>(r)];
    out << (r ? " " : "") << table.at(row.variable).name << "=" << row.value;
  }
  return out.str();
}

int reachedCount(const VariableTable& table) {
  int n = 0;
  for (int i = table.predefinedCount(); i < table.size(); ++i)
    if (!table.at(i).isAuxiliary() && table.at(i).state == kKnown) ++n;
  return n;
}

void moveFigure(const VariableTable& pristine, VariableTable& solution, int figure, int orientation,
                const std::vector<int>& parameters, unsigned seed) {
  std::mt19937 random(seed * 31u + static_cast<unsigned>(figure));
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const int wanted = reachedCount(solution);
  for (int attempt = 0; attempt < 20; ++attempt) {
    VariableTable moved = pristine;
    moved.setMessenger(nullptr);
    GeoSolver solver(moved, nullptr);
    FigureData data;
    data.orientation = orientation;
    for (int p : parameters) {
      GeoVariable& v = moved.at(p);
      double value = solution.at(p).value;
      if (v.numberKind() != kNumberInteger) {
        const bool angle = v.minimum > -1e299 && v.maximum - v.minimum <= 360.0;
        value = angle ? value + (unit(random) - 0.5) * 0.2 * (v.maximum - v.minimum)
                      : value * (0.7 + 0.8 * unit(random));
      }
      v.value = value;
      data.addRow(moved, p);
      data.row[static_cast<size_t>(data.rows - 1)].value = value;
    }
    solver.ComputeFigure(figure, data);
    if (reachedCount(moved) == wanted) {
      // The moved figure, seen as the solver would find it: nothing given.
      for (auto& v : moved.entries()) v.given = 0;
      solution = moved;
      return;
    }
  }
}

}  // namespace

PreparedFigure PrepareFigure(const std::string& dataFolder, int figure, const CoverageOptions& options) {
  PreparedFigure prepared;
  prepared.figure = figure;
  ScriptedMessenger messenger;
  CatalogueLoader loader(dataFolder, messenger);
  VariableTable& pristine = prepared.pristine;
  FigureData defaults;
  if (!loader.LoadFigure(figureDimension(figure), figure, 0, pristine, defaults)) return prepared;
  pristine.setMessenger(nullptr);
  prepared.loaded = true;

  // The reference figure: the catalogue's, with its parameters moved off the
  // catalogue's values (lengths scaled, angles turned) so that no start of the
  // solver holds the answer already; the catalogue's own when moving fails.
  VariableTable& solution = prepared.solution;
  solution = pristine;
  GeoSolver solver(solution, nullptr);
  solver.ComputeFigure(figure, defaults);
  const int orientation = prepared.orientation = defaults.orientation;
  const std::vector<int> parameters = prepared.parameters = FigureParameters(pristine);
  if (options.moveParameters) moveFigure(pristine, solution, figure, orientation, parameters, options.seed);
  std::vector<int> always;     // integer parameters: the count of sides is always given
  std::vector<int> free;       // the others
  for (int p : parameters) (pristine.at(p).numberKind() == kNumberInteger ? always : free).push_back(p);
  std::vector<int> candidates;
  std::set<std::string> names;
  for (int i = pristine.predefinedCount(); i < pristine.size(); ++i) {
    const GeoVariable& v = solution.at(i);
    if (!v.shown || v.name.empty() || v.kind == 'R' || v.kind == 'V' || v.isAuxiliary()) continue;
    if (v.state != kKnown || v.numberKind() == kNumberInteger || !names.insert(v.name).second) continue;
    candidates.push_back(i);
  }
  for (int i = pristine.predefinedCount(); i < pristine.size(); ++i)
    if (!solution.at(i).isAuxiliary() && solution.at(i).state == kKnown) prepared.reached.push_back(i);

  // Sensitivity of every candidate to every free parameter, relative.
  FigureForward forward(pristine, figure, orientation, parameters);
  std::vector<double> base;
  for (int p : parameters) base.push_back(solution.at(p).value);
  std::vector<std::vector<double>> sensitivity(candidates.size(), std::vector<double>(free.size(), 0.0));
  for (size_t j = 0; j < free.size(); ++j) {
    const size_t slot = static_cast<size_t>(std::find(parameters.begin(), parameters.end(), free[j]) -
                                            parameters.begin());
    double h = 1e-6 * std::max(std::fabs(base[slot]), 1e-3);
    std::vector<double> shifted = base;
    shifted[slot] += h;
    const VariableTable* t = &forward.run(shifted);
    bool ok = std::all_of(candidates.begin(), candidates.end(), [&](int i) { return t->at(i).state == kKnown; });
    if (!ok) {
      h = -h;
      shifted[slot] = base[slot] + h;
      t = &forward.run(shifted);
    }
    for (size_t c = 0; c < candidates.size(); ++c) {
      const int i = candidates[c];
      const double f0 = solution.at(i).value;
      sensitivity[c][j] = (t->at(i).value - f0) / h * std::max(std::fabs(base[slot]), 1e-3) /
                          std::max(std::fabs(f0), 1e-3);
    }
  }

  // The sets: all of them when few, else a seeded sample.
  const size_t k = free.size();
  std::vector<std::vector<int>> sets;
  if (k > 0 && candidates.size() >= k) {
    if (combinations(candidates.size(), k) <= options.maxSets * 4.0) {
      std::vector<int> current;
      allCombinations(candidates.size(), k, 0, current, sets);
    } else {
      std::mt19937 random(options.seed + static_cast<unsigned>(figure));
      std::set<std::vector<int>> seen;
      for (int attempt = 0; attempt < options.maxSets * 40 && static_cast<int>(seen.size()) < options.maxSets * 4;
           ++attempt) {
        std::vector<int> pool(candidates.size());
        for (size_t i = 0; i < pool.size(); ++i) pool[i] = static_cast<int>(i);
        std::shuffle(pool.begin(), pool.end(), random);
        std::vector<int> set(pool.begin(), pool.begin() + static_cast<long>(k));
        std::sort(set.begin(), set.end());
        if (seen.insert(set).second) sets.push_back(set);
      }
    }
  }

  for (const std::vector<int>& set : sets) {
    if (static_cast<int>(prepared.sets.size()) >= options.maxSets) break;
    std::vector<std::vector<double>> square;
    for (int c : set) square.push_back(sensitivity[static_cast<size_t>(c)]);
    if (!independent(square)) continue;
    FigureData data;
    data.orientation = orientation;
    auto give = [&](int index) {
      data.addRow(solution, index);
      data.row[static_cast<size_t>(data.rows - 1)].value = solution.at(index).value;
    };
    for (int i : always) give(i);
    for (int c : set) give(candidates[static_cast<size_t>(c)]);
    prepared.sets.push_back(data);
  }
  return prepared;
}

FigureCoverage MeasureFigure(const std::string& dataFolder, int figure, const CoverageOptions& options) {
  FigureCoverage result;
  result.figure = figure;
  const PreparedFigure prepared = PrepareFigure(dataFolder, figure, options);
  const VariableTable& solution = prepared.solution;
  const std::vector<int>& reached = prepared.reached;
  ScriptedMessenger messenger;
  FigureForward forward(prepared.pristine, figure, prepared.orientation, prepared.parameters);
  for (const FigureData& set : prepared.sets) {
    ++result.tried;
    VariableTable table = prepared.pristine;
    GeoSolver s(table, &messenger);
    FigureData data = set;
    for (int r = 0; r < data.rows; ++r) table.at(data.row[static_cast<size_t>(r)].variable).value = data.row[static_cast<size_t>(r)].value;
    s.ComputeFigure(figure, data);

    const bool allKnown = std::all_of(reached.begin(), reached.end(), [&](int i) { return table.at(i).state == kKnown; });
    if (!allKnown) {
      ++result.unsolved;
      result.failures.push_back("non r\xE9solu : " + describe(solution, set));
      continue;
    }
    const bool same = std::all_of(reached.begin(), reached.end(),
                                  [&](int i) { return close(table.at(i).value, solution.at(i).value); });
    if (same) {
      ++result.solved;
      continue;
    }
    // Another figure: it must have the data and follow from its own parameters.
    std::vector<double> own;
    for (int p : prepared.parameters) own.push_back(table.at(p).value);
    const VariableTable& again = forward.run(own);
    const bool consistent = std::all_of(reached.begin(), reached.end(), [&](int i) {
      return again.at(i).state == kKnown && close(again.at(i).value, table.at(i).value);
    });
    if (consistent) {
      ++result.ambiguous;
    } else {
      ++result.wrong;
      result.failures.push_back("faux : " + describe(solution, set));
    }
  }
  return result;
}

}  // namespace qz::coverage
