#include "geometry/simultaneous_solve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <random>

#include "numbers/messages.h"

namespace qz {

namespace {

// A datum is met when the figure's value lies this close to it (relative).
constexpr double kRootTolerance = 1e-9;
// Data the sweep did not use agree with the figure within this (relative):
// values typed from the six digits the window shows must agree.
constexpr double kAgreementTolerance = 1e-5;
// Two roots closer than this (relative, on every parameter) are one figure.
constexpr double kSameRootTolerance = 1e-6;
// Below this ratio of the smallest to the largest pivot the data leave a
// whole family of figures.
constexpr double kRankTolerance = 1e-7;
constexpr double kUnbounded = 1e299;
// Starts this close (on every search coordinate: a logarithm, or the
// logistic of an angle) lead to the same figure.
constexpr double kSameBasin = 0.25;
// A descent that comes this close to a figure found is finding it again.
constexpr double kSameFigureNear = 0.15;

using Vector = std::vector<double>;

// How a parameter is searched: free of its range. A length (minimum only)
// through its logarithm, an angle (both ends) through a logistic curve, a
// signed quantity as it is.
struct Coordinate {
  double minimum = -1e300;
  double maximum = 1e300;

  bool bounded() const { return minimum > -kUnbounded && maximum < kUnbounded; }
  bool halfBounded() const { return minimum > -kUnbounded && !bounded(); }

  double toValue(double u) const {
    if (bounded()) return minimum + (maximum - minimum) / (1.0 + std::exp(-std::clamp(u, -40.0, 40.0)));
    if (halfBounded()) return minimum + std::exp(std::clamp(u, -700.0, 700.0));
    return u;
  }
  // The search coordinate of a value; values at or beyond an end move just inside.
  double fromValue(double p) const {
    if (bounded()) {
      double t = (p - minimum) / (maximum - minimum);
      t = std::clamp(t, 1e-12, 1.0 - 1e-12);
      return std::log(t / (1.0 - t));
    }
    if (halfBounded()) return std::log(std::max(p - minimum, 1e-300));
    return p;
  }
};

// Solves the small square system a·x = b by Gaussian elimination with
// partial pivoting; false when it is singular.
bool solveSquare(std::vector<Vector> a, Vector b, Vector& x) {
  const size_t n = b.size();
  for (size_t c = 0; c < n; ++c) {
    size_t pivot = c;
    for (size_t r = c + 1; r < n; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    if (!(std::fabs(a[pivot][c]) > 0.0)) return false;
    std::swap(a[pivot], a[c]);
    std::swap(b[pivot], b[c]);
    for (size_t r = c + 1; r < n; ++r) {
      double f = a[r][c] / a[c][c];
      for (size_t k = c; k < n; ++k) a[r][k] -= f * a[c][k];
      b[r] -= f * b[c];
    }
  }
  x.assign(n, 0.0);
  for (size_t c = n; c-- > 0;) {
    double s = b[c];
    for (size_t k = c + 1; k < n; ++k) s -= a[c][k] * x[k];
    x[c] = s / a[c][c];
  }
  return true;
}

// Whether the columns of the m × n matrix `j` (stored by columns) are
// independent: Householder QR, comparing the smallest pivot with the largest.
bool fullColumnRank(std::vector<Vector> j) {
  if (j.empty()) return true;
  const size_t n = j.size();
  const size_t m = j[0].size();
  if (m < n) return false;
  double largest = 0.0;
  double smallest = std::numeric_limits<double>::infinity();
  for (size_t c = 0; c < n; ++c) {
    // Column pivoting keeps the pivots in decreasing order.
    size_t best = c;
    double bestNorm = -1.0;
    for (size_t k = c; k < n; ++k) {
      double s = 0.0;
      for (size_t r = c; r < m; ++r) s += j[k][r] * j[k][r];
      if (s > bestNorm) {
        bestNorm = s;
        best = k;
      }
    }
    std::swap(j[c], j[best]);
    double norm = std::sqrt(bestNorm);
    largest = std::max(largest, norm);
    smallest = std::min(smallest, norm);
    if (!(norm > 0.0)) return false;
    double alpha = j[c][c] > 0.0 ? -norm : norm;
    Vector v(j[c].begin() + static_cast<long>(c), j[c].end());
    v[0] -= alpha;
    double vv = 0.0;
    for (double e : v) vv += e * e;
    if (vv == 0.0) continue;
    for (size_t k = c; k < n; ++k) {
      double dot = 0.0;
      for (size_t r = c; r < m; ++r) dot += v[r - c] * j[k][r];
      double f = 2.0 * dot / vv;
      for (size_t r = c; r < m; ++r) j[k][r] -= f * v[r - c];
    }
  }
  return smallest > kRankTolerance * largest;
}

double relativeGap(double a, double b, double scale) {
  return std::fabs(a - b) / std::max({std::fabs(a), std::fabs(b), scale});
}

// The search for the parameters the user did not give.
class ParameterSearch {
 public:
  ParameterSearch(FigureForward& forward, const VariableTable& table, const std::vector<int>& parameters,
                  const FigureData& data)
      : m_forward(forward), m_parameters(parameters) {
    for (size_t j = 0; j < parameters.size(); ++j) {
      const GeoVariable& v = table.at(parameters[j]);
      m_fixed.push_back(std::nullopt);
      for (int r = 0; r < data.rows; ++r)
        if (data.row[static_cast<size_t>(r)].variable == parameters[j])
          m_fixed.back() = data.row[static_cast<size_t>(r)].value;
      if (!m_fixed.back()) {
        m_free.push_back(j);
        m_coordinates.push_back({v.minimum, v.maximum});
      }
    }
    double largest = 0.0;
    for (int r = 0; r < data.rows; ++r) {
      const KnownRow& row = data.row[static_cast<size_t>(r)];
      if (std::find(parameters.begin(), parameters.end(), row.variable) != parameters.end()) continue;
      m_targets.push_back(row.variable);
      m_wanted.push_back(row.value);
      largest = std::max(largest, std::fabs(row.value));
    }
    for (double d : m_wanted) m_scales.push_back(std::max({std::fabs(d), 1e-9 * largest, 1e-300}));
  }

  size_t freeCount() const { return m_free.size(); }
  size_t equationCount() const { return m_targets.size(); }
  bool freeIsInteger(const VariableTable& table) const {
    for (size_t j : m_free)
      if (table.at(m_parameters[j]).numberKind() == kNumberInteger) return true;
    return false;
  }

  // The parameters' values from the search coordinates.
  Vector values(const Vector& u) const {
    Vector p(m_parameters.size(), 0.0);
    size_t f = 0;
    for (size_t j = 0; j < p.size(); ++j) {
      if (m_fixed[j]) {
        p[j] = *m_fixed[j];
      } else {
        p[j] = m_coordinates[f].toValue(u[f]);
        ++f;
      }
    }
    return p;
  }
  Vector coordinates(const Vector& p) const {
    Vector u;
    for (size_t f = 0; f < m_free.size(); ++f) u.push_back(m_coordinates[f].fromValue(p[m_free[f]]));
    return u;
  }
  const std::vector<Coordinate>& coordinateKinds() const { return m_coordinates; }

  // The scaled gaps between the figure at `u` and the data; false when the
  // list cannot reach one of the data from there.
  bool residuals(const Vector& u, Vector& r) {
    m_forward.run(values(u));
    r.resize(m_targets.size());
    for (size_t i = 0; i < m_targets.size(); ++i) {
      if (!m_forward.known(m_targets[i])) return false;
      r[i] = (m_forward.value(m_targets[i]) - m_wanted[i]) / m_scales[i];
    }
    return true;
  }
  static double cost(const Vector& r) {
    double s = 0.0;
    for (double e : r) s += e * e;
    return 0.5 * s;
  }

  // The Jacobian at `u` by columns, forward differences (backward where the
  // figure ends just beyond `u`).
  bool jacobian(const Vector& u, const Vector& r, std::vector<Vector>& j) {
    j.assign(u.size(), Vector(r.size(), 0.0));
    Vector shifted = u;
    Vector rs;
    for (size_t c = 0; c < u.size(); ++c) {
      double h = 1e-7 * std::max(1.0, std::fabs(u[c]));
      shifted[c] = u[c] + h;
      if (!residuals(shifted, rs)) {
        h = -h;
        shifted[c] = u[c] + h;
        if (!residuals(shifted, rs)) return false;
      }
      for (size_t i = 0; i < r.size(); ++i) j[c][i] = (rs[i] - r[i]) / h;
      shifted[c] = u[c];
    }
    return true;
  }

  // Levenberg–Marquardt from `u`; the coordinates reached when every datum is
  // met, else nothing. With `broyden` the Jacobian is computed once and then
  // carried along by Broyden's update after each step (a full one again only
  // when a step fails): most of the list's runs saved, at the price of some
  // ill-conditioned figures never found, so only the starts that look for a
  // second figure take it. `abandon` is asked after each step: true gives the
  // start up (it is heading for a figure found).
  template <typename Abandon>
  std::optional<Vector> descend(Vector u, int iterations, bool broyden, Abandon abandon) {
    Vector r;
    if (!residuals(u, r)) return std::nullopt;
    double c = cost(r);
    double lambda = 1e-3;
    std::vector<Vector> j;
    if (!jacobian(u, r, j)) return std::nullopt;
    bool fresh = true;
    Vector history;
    const size_t n = u.size();
    for (int it = 0; it < iterations && !met(r); ++it) {
      // A start that has stopped closing in on the data sits in a valley
      // that holds no figure: give it up rather than crawl.
      history.push_back(c);
      if (history.size() > 6 && c > 0.5 * history[history.size() - 6]) break;
      std::vector<Vector> a(n, Vector(n, 0.0));
      Vector g(n, 0.0);
      for (size_t p = 0; p < n; ++p) {
        for (size_t q = 0; q <= p; ++q) {
          double s = 0.0;
          for (size_t i = 0; i < r.size(); ++i) s += j[p][i] * j[q][i];
          a[p][q] = a[q][p] = s;
        }
        for (size_t i = 0; i < r.size(); ++i) g[p] -= j[p][i] * r[i];
      }
      bool stepped = false;
      Vector delta, rt;
      for (int tries = 0; tries < 12 && !stepped; ++tries) {
        std::vector<Vector> damped = a;
        for (size_t p = 0; p < n; ++p) damped[p][p] += lambda * std::max(a[p][p], 1e-12);
        if (solveSquare(damped, g, delta)) {
          Vector trial = u;
          for (size_t p = 0; p < n; ++p) trial[p] += delta[p];
          if (residuals(trial, rt) && cost(rt) < c) {
            u = trial;
            lambda = std::max(lambda / 5.0, 1e-12);
            stepped = true;
            break;
          }
        }
        lambda *= 8.0;
        if (!fresh && tries >= 2) break;  // an old Jacobian: renew it before damping more
      }
      if (!stepped) {
        if (fresh) break;
        if (!jacobian(u, r, j)) return std::nullopt;
        fresh = true;
        continue;
      }
      // Broyden: the Jacobian learns what the step showed.
      double dd = 0.0;
      for (double e : delta) dd += e * e;
      if (dd > 0.0) {
        for (size_t i = 0; i < r.size(); ++i) {
          double predicted = 0.0;
          for (size_t p = 0; p < n; ++p) predicted += j[p][i] * delta[p];
          const double miss = (rt[i] - r[i]) - predicted;
          for (size_t p = 0; p < n; ++p) j[p][i] += miss * delta[p] / dd;
        }
      }
      fresh = false;
      r = rt;
      c = cost(rt);
      if (!broyden && !met(r)) {
        if (!jacobian(u, r, j)) return std::nullopt;
        fresh = true;
      }
      if (abandon(u)) return std::nullopt;
    }
    if (!met(r)) return std::nullopt;
    polish(u, r);
    return u;
  }

  // A root met to the tolerance is taken on to the last digits by a few
  // Gauss–Newton steps, as long as they bring it closer: the values shown
  // then agree with the data to rounding.
  void polish(Vector& u, Vector& r) {
    double c = cost(r);
    std::vector<Vector> j;
    for (int step = 0; step < 3 && c > 0.0; ++step) {
      if (!jacobian(u, r, j)) return;
      const size_t n = u.size();
      std::vector<Vector> a(n, Vector(n, 0.0));
      Vector g(n, 0.0);
      for (size_t p = 0; p < n; ++p) {
        for (size_t q = 0; q < n; ++q)
          for (size_t i = 0; i < r.size(); ++i) a[p][q] += j[p][i] * j[q][i];
        for (size_t i = 0; i < r.size(); ++i) g[p] -= j[p][i] * r[i];
      }
      Vector delta, rt;
      if (!solveSquare(a, g, delta)) return;
      Vector trial = u;
      for (size_t p = 0; p < n; ++p) trial[p] += delta[p];
      if (!residuals(trial, rt) || !(cost(rt) < 0.5 * c)) return;
      u = trial;
      r = rt;
      c = cost(rt);
    }
  }

  // Whether the data determine the figure near `u` (no family of figures).
  bool determined(const Vector& u) {
    Vector r;
    std::vector<Vector> j;
    if (!residuals(u, r) || !jacobian(u, r, j)) return false;
    return fullColumnRank(j);
  }

  static bool met(const Vector& r) {
    for (double e : r)
      if (!(std::fabs(e) < kRootTolerance)) return false;
    return true;
  }

 private:
  FigureForward& m_forward;
  const std::vector<int>& m_parameters;
  std::vector<std::optional<double>> m_fixed;
  std::vector<size_t> m_free;
  std::vector<Coordinate> m_coordinates;
  std::vector<int> m_targets;
  Vector m_wanted;
  Vector m_scales;
};

// The values every computation of the figure reaches from its catalogue's
// parameters: what a full solution holds.
std::vector<int> reachedFromCatalogue(FigureForward& forward, const VariableTable& table,
                                      const std::vector<int>& parameters) {
  Vector start;
  for (int p : parameters) start.push_back(table.at(p).startValue);
  forward.run(start);
  std::vector<int> reached;
  for (int i = table.predefinedCount(); i < table.size(); ++i)
    if (!table.at(i).isAuxiliary() && forward.known(i)) reached.push_back(i);
  return reached;
}

// The starts of the search: the values on hand (the sweep's, else the
// previous figure's), the catalogue's shape, the catalogue's shape at the
// scales that come nearest the data, and the mirrored angles of these.
std::vector<Vector> searchStarts(ParameterSearch& search, const VariableTable& table,
                                 const std::vector<int>& parameters, int limit) {
  std::vector<Vector> starts;
  Vector onHand, catalogue;
  for (int p : parameters) {
    onHand.push_back(table.at(p).value);
    catalogue.push_back(table.at(p).startValue);
  }
  starts.push_back(search.coordinates(onHand));
  const Vector base = search.coordinates(catalogue);
  starts.push_back(base);

  // Lengths scale together; angles keep the catalogue's shape.
  const auto& kinds = search.coordinateKinds();
  std::vector<std::pair<double, Vector>> scaled;
  for (double power : {-6.0, -4.0, -3.0, -2.0, -1.5, -1.0, -0.5, 0.5, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0}) {
    Vector u = base;
    for (size_t f = 0; f < u.size(); ++f)
      if (kinds[f].halfBounded()) u[f] += power * std::log(10.0);
    Vector r;
    if (search.residuals(u, r)) scaled.emplace_back(ParameterSearch::cost(r), u);
  }
  std::sort(scaled.begin(), scaled.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t k = 0; k < scaled.size() && k < 2; ++k) starts.push_back(scaled[k].second);

  const size_t plain = starts.size();
  for (size_t s = 0; s < plain; ++s) {
    Vector mirrored = starts[s];
    bool changed = false;
    for (size_t f = 0; f < mirrored.size(); ++f)
      if (kinds[f].bounded()) {
        mirrored[f] = -mirrored[f] + (mirrored[f] == 0.0 ? 1.0 : 0.0);
        changed = true;
      }
    if (changed) starts.push_back(mirrored);
  }
  if (static_cast<int>(starts.size()) > limit) starts.resize(static_cast<size_t>(limit));
  return starts;
}

// Starts drawn at random (from a fixed seed, so a computation is always the
// same) for data the regular starts cannot reach: lengths spread over three
// decades around the catalogue's, angles over their whole range. The ones
// nearest the data first.
std::vector<Vector> scatteredStarts(ParameterSearch& search, const VariableTable& table,
                                    const std::vector<int>& parameters, int draws, int keep) {
  Vector catalogue;
  for (int p : parameters) catalogue.push_back(table.at(p).startValue);
  const Vector base = search.coordinates(catalogue);
  const auto& kinds = search.coordinateKinds();
  std::mt19937 random(0x51A7u + static_cast<unsigned>(parameters.size()));
  std::uniform_real_distribution<double> spread(-1.0, 1.0);
  std::vector<std::pair<double, Vector>> drawn;
  for (int d = 0; d < draws; ++d) {
    Vector u = base;
    for (size_t f = 0; f < u.size(); ++f) {
      if (kinds[f].bounded())
        u[f] = 3.0 * spread(random);
      else if (kinds[f].halfBounded())
        u[f] += 3.5 * spread(random);
      else
        u[f] += std::max(1.0, std::fabs(u[f])) * 2.0 * spread(random);
    }
    Vector r;
    if (search.residuals(u, r)) drawn.emplace_back(ParameterSearch::cost(r), u);
  }
  std::sort(drawn.begin(), drawn.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Vector> starts;
  for (size_t k = 0; k < drawn.size() && static_cast<int>(k) < keep; ++k) starts.push_back(drawn[k].second);
  return starts;
}

bool sameFigure(const Vector& a, const Vector& b) {
  for (size_t j = 0; j < a.size(); ++j)
    if (relativeGap(a[j], b[j], 1e-12) > kSameRootTolerance) return false;
  return true;
}

// The root nearest `previous` (relative distance of the parameters).
size_t nearestRoot(const std::vector<Vector>& roots, const Vector& previous) {
  size_t best = 0;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (size_t k = 0; k < roots.size(); ++k) {
    double d = 0.0;
    for (size_t j = 0; j < previous.size(); ++j) {
      double g = relativeGap(roots[k][j], previous[j], 1e-12);
      d += g * g;
    }
    if (d < bestDistance) {
      bestDistance = d;
      best = k;
    }
  }
  return best;
}

// The table takes the figure of the forward run; the data keep the values
// the user typed.
void takeForwardFigure(GeoSolver& solver, const FigureForward& forward, const FigureData& data) {
  VariableTable& table = solver.table();
  for (int i = table.predefinedCount(); i < table.size(); ++i) {
    GeoVariable& v = table.at(i);
    const GeoVariable& f = forward.table().at(i);
    v.state = f.state == kKnown && std::isfinite(f.value) ? kKnown : kIncalculable;
    v.value = f.value;
  }
  for (int r = 0; r < data.rows; ++r) {
    const KnownRow& row = data.row[static_cast<size_t>(r)];
    if (row.variable < table.predefinedCount() || row.variable >= table.size()) continue;
    table.at(row.variable).state = kKnown;
    table.at(row.variable).value = row.value;
  }
  if (forward.approximate()) solver.setApproximate();
}

// Everything but the data becomes incalculable: no mixture of two figures.
void keepOnlyData(VariableTable& table) {
  for (int i = table.predefinedCount(); i < table.size(); ++i) {
    GeoVariable& v = table.at(i);
    if (!v.given && !v.isAuxiliary()) v.state = kIncalculable;
  }
}

void tell(GeoSolver& solver, SimultaneousOutcome outcome) {
  if (!solver.explicitRequest() || solver.messenger() == nullptr) return;
  Messenger& m = *solver.messenger();
  switch (outcome) {
    case SimultaneousOutcome::SeveralFigures:
      ShowMessage(m, kCaptionCheck, 103, {}, MessageStyle::Information);
      break;
    case SimultaneousOutcome::Contradiction:
      ShowMessage(m, kCaptionImpossible, 0, kContradictionText, MessageStyle::Error);
      break;
    case SimultaneousOutcome::NoFigure:
      ShowMessage(m, kCaptionImpossible, 0, kNoFigureText, MessageStyle::Error);
      break;
    default:
      break;
  }
}

// The sweep found every value: the data it did not need must agree with the
// figure it found, and so must every value it computed.
SimultaneousOutcome checkSweptFigure(GeoSolver& solver, FigureForward& forward, const FigureData& data,
                                     const std::vector<int>& parameters, const std::vector<int>& reached) {
  const VariableTable& table = solver.table();
  Vector values;
  for (int p : parameters) values.push_back(table.at(p).value);
  forward.run(values);
  for (int i : reached)
    if (!forward.known(i)) return SimultaneousOutcome::NotNeeded;  // another branch of the list: no verdict
  for (int r = 0; r < data.rows; ++r) {
    const int i = data.row[static_cast<size_t>(r)].variable;
    if (i < table.predefinedCount() || i >= table.size()) continue;
    if (relativeGap(forward.value(i), table.at(i).value, 1e-300) > kAgreementTolerance)
      return SimultaneousOutcome::Contradiction;
  }
  for (int i : reached)
    if (relativeGap(forward.value(i), table.at(i).value, 1e-300) > kAgreementTolerance) {
      takeForwardFigure(solver, forward, data);
      return SimultaneousOutcome::Solved;
    }
  return SimultaneousOutcome::NotNeeded;
}

}  // namespace

FigureForward::FigureForward(const VariableTable& table, int figure, int orientation, std::vector<int> parameters)
    : m_table(table), m_solver(m_table, nullptr), m_parameters(std::move(parameters)), m_figure(figure) {
  m_table.setMessenger(nullptr);
  m_solver.setSimultaneous(false);
  m_data.orientation = orientation;
  m_data.rows = static_cast<int>(m_parameters.size());
  for (size_t j = 0; j < m_parameters.size(); ++j) m_data.row[j].variable = m_parameters[j];
}

const VariableTable& FigureForward::run(const std::vector<double>& values) {
  for (size_t j = 0; j < m_parameters.size(); ++j) m_data.row[j].value = values[j];
  m_solver.ComputeFigure(m_figure, m_data);
  return m_table;
}

bool FigureForward::known(int index) const {
  const GeoVariable& v = m_table.at(index);
  return v.state == kKnown && std::isfinite(v.value);
}

std::vector<int> FigureParameters(const VariableTable& table) {
  std::vector<int> parameters;
  for (int i = table.predefinedCount(); i < table.size(); ++i)
    if (table.at(i).kind == 'O') parameters.push_back(i);
  return parameters;
}

SimultaneousOutcome CompleteSimultaneously(GeoSolver& solver, const FigureData& data, const Vector& previous,
                                           const SimultaneousLimits& limits) {
  VariableTable& table = solver.table();
  const std::vector<int> parameters = FigureParameters(table);
  if (parameters.empty()) return SimultaneousOutcome::NotNeeded;
  FigureForward forward(table, solver.figure(), data.orientation, parameters);
  const std::vector<int> reached = reachedFromCatalogue(forward, table, parameters);

  const bool complete =
      std::all_of(reached.begin(), reached.end(), [&](int i) { return table.at(i).state == kKnown; });
  SimultaneousOutcome outcome = SimultaneousOutcome::NotNeeded;
  if (complete) {
    outcome = checkSweptFigure(solver, forward, data, parameters, reached);
  } else {
    ParameterSearch search(forward, table, parameters, data);
    bool usable = !search.freeIsInteger(table) && search.equationCount() >= search.freeCount();
    for (int r = 0; r < data.rows && usable; ++r) {
      const int i = data.row[static_cast<size_t>(r)].variable;
      usable = std::find(reached.begin(), reached.end(), i) != reached.end();
    }
    if (!usable) return SimultaneousOutcome::Underdetermined;

    std::vector<Vector> roots;
    bool family = false;
    // Once a figure is found, the other starts only look for a second one:
    // a start close to a figure found (or to a start already tried) would
    // only find it again, and a short descent tells whether a start leads
    // elsewhere.
    std::vector<Vector> rootCoordinates;
    std::vector<Vector> tried;
    auto near = [](const Vector& a, const Vector& b, double distance) {
      for (size_t f = 0; f < a.size(); ++f)
        if (std::fabs(a[f] - b[f]) > distance) return false;
      return true;
    };
    int probes = 0;
    auto descendFrom = [&](std::vector<Vector> starts) {
      for (size_t next = 0; next < starts.size(); ++next) {
        if (!roots.empty()) {
          // Looking for a second figure: the starts farthest from the first
          // one first, and only a few of them.
          if (probes++ >= limits.probes) break;
          if (probes == 1) {
            const Vector& found = rootCoordinates.front();
            auto distance = [&](const Vector& v) {
              double d = 0.0;
              for (size_t f = 0; f < v.size(); ++f) d = std::max(d, std::fabs(v[f] - found[f]));
              return d;
            };
            std::stable_sort(starts.begin() + static_cast<long>(next), starts.end(),
                             [&](const Vector& a, const Vector& b) { return distance(a) > distance(b); });
          }
        }
        const Vector start = starts[next];
        auto isNear = [&](const Vector& v) { return near(start, v, kSameBasin); };
        if (std::any_of(tried.begin(), tried.end(), isNear) ||
            std::any_of(rootCoordinates.begin(), rootCoordinates.end(), isNear))
          continue;
        tried.push_back(start);
        const bool probing = !roots.empty();
        const int iterations = probing ? limits.secondIterations : limits.iterations;
        auto headingForAFigureFound = [&](const Vector& at) {
          return std::any_of(rootCoordinates.begin(), rootCoordinates.end(),
                             [&](const Vector& root) { return near(at, root, kSameFigureNear); });
        };
        // Broyden's cheap steps first; an ill-conditioned figure they miss
        // is looked for again with a full Jacobian at every step.
        std::optional<Vector> u = search.descend(start, iterations, true, headingForAFigureFound);
        if (!u && !probing) u = search.descend(start, iterations, false, headingForAFigureFound);
        if (!u) continue;
        Vector p = search.values(*u);
        if (std::any_of(roots.begin(), roots.end(), [&](const Vector& q) { return sameFigure(p, q); })) continue;
        forward.run(p);
        if (!std::all_of(reached.begin(), reached.end(), [&](int i) { return forward.known(i); })) continue;
        if (!search.determined(*u)) {
          family = true;
          continue;
        }
        roots.push_back(p);
        rootCoordinates.push_back(*u);
      }
    };
    descendFrom(searchStarts(search, table, parameters, limits.starts));
    if (roots.empty() && !family)
      descendFrom(scatteredStarts(search, table, parameters, limits.scatteredDraws, limits.scatteredStarts));
    if (family && roots.empty()) return SimultaneousOutcome::Underdetermined;
    if (roots.empty()) {
      outcome = search.equationCount() > search.freeCount() ? SimultaneousOutcome::Contradiction
                                                            : SimultaneousOutcome::NoFigure;
    } else {
      Vector reference = previous;
      if (reference.size() != parameters.size()) {
        reference.clear();
        for (int p : parameters) reference.push_back(table.at(p).startValue);
      }
      const size_t chosen = nearestRoot(roots, reference);
      forward.run(roots[chosen]);
      takeForwardFigure(solver, forward, data);
      outcome = roots.size() == 1 ? SimultaneousOutcome::Solved : SimultaneousOutcome::SeveralFigures;
    }
  }
  if (outcome == SimultaneousOutcome::Contradiction || outcome == SimultaneousOutcome::NoFigure)
    keepOnlyData(table);
  tell(solver, outcome);
  return outcome;
}

}  // namespace qz
