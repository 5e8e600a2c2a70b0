#include "geometry/triangle_solver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "numbers/messages.h"

namespace qz {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kHalfPi = kPi / 2.0;
constexpr double kDegree = kPi / 180.0;
/// Perimeter over circumradius of the equilateral triangle (3·√3), the
/// largest any isosceles triangle reaches.
constexpr double kEquilateralPerimeterRatio = 5.19615242270664;
/// Area over squared circumradius of the equilateral triangle (3·√3/4), the
/// largest any triangle reaches.
constexpr double kEquilateralAreaRatio = 1.299038105676658;
constexpr double kEquilateralApex = 1.0471975511965967;

constexpr std::string_view kRotations[3] = {
    "A1|A2|A3|L1|L2|L3|B1|B2|B3|M1|M2|M3|H1|H2|H3|r|R|S|P",
    "A2|A3|A1|L2|L3|L1|B2|B3|B1|M2|M3|M1|H2|H3|H1|r|R|S|P",
    "A3|A1|A2|L3|L1|L2|B3|B1|B2|M3|M1|M2|H3|H1|H2|r|R|S|P",
};

using Values = std::array<double, kTrianglePositions>;

bool isAngle(int pos) { return pos <= kTriA3; }

// The quantities of the triangle with angles a1, a2, a3 (radians) inscribed
// in a circle of diameter 1, in linear form (√area, half perimeter).
Values normalised(double a1, double a2, double a3) {
  Values n{};
  const std::array<double, 3> angle{a1, a2, a3};
  const std::array<double, 3> side{std::sin(a1), std::sin(a2), std::sin(a3)};
  const double area = 0.5 * side[1] * side[2] * std::sin(a1);
  const double half = 0.5 * (side[0] + side[1] + side[2]);
  for (int i = 0; i < 3; ++i) {
    const double li = side[static_cast<size_t>(i)];
    const double lj = side[static_cast<size_t>((i + 1) % 3)];
    const double lk = side[static_cast<size_t>((i + 2) % 3)];
    n[static_cast<size_t>(kTriA1 + i)] = angle[static_cast<size_t>(i)];
    n[static_cast<size_t>(kTriL1 + i)] = li;
    n[static_cast<size_t>(kTriB1 + i)] =
        2.0 * lj * lk * std::cos(angle[static_cast<size_t>(i)] * 0.5) / (lj + lk);
    n[static_cast<size_t>(kTriM1 + i)] =
        0.5 * std::sqrt(std::max(0.0, 2.0 * lj * lj + 2.0 * lk * lk - li * li));
    n[static_cast<size_t>(kTriH1 + i)] = 2.0 * area / li;
  }
  n[kTriInradius] = area / half;
  n[kTriCircumradius] = 0.5;
  n[kTriArea] = std::sqrt(area);
  n[kTriPerimeter] = half;
  return n;
}

struct Shape {
  double a1 = 0.0, a2 = 0.0, a3 = 0.0;
};

bool validShape(const Shape& s) {
  return s.a1 > 0.0 && s.a2 > 0.0 && s.a3 > 0.0 && std::isfinite(s.a1 + s.a2 + s.a3);
}

// Angles of the triangle with sides l1, l2, l3 (half-angle formula, accurate
// for flat triangles too). False when the sides cannot close.
bool shapeFromSides(double l1, double l2, double l3, Shape& shape) {
  if (!(l1 > 0.0 && l2 > 0.0 && l3 > 0.0)) return false;
  if (!(l1 < l2 + l3 && l2 < l1 + l3 && l3 < l1 + l2)) return false;
  const double s = 0.5 * (l1 + l2 + l3);
  const double r = std::sqrt((s - l1) * (s - l2) * (s - l3) / s);
  shape.a1 = 2.0 * std::atan2(r, s - l1);
  shape.a2 = 2.0 * std::atan2(r, s - l2);
  shape.a3 = kPi - shape.a1 - shape.a2;
  return validShape(shape);
}

enum class Outcome {
  Solved,      // shape and scale found
  NoData,      // not enough data: nothing is computed
  Infeasible,  // the data cannot form the triangle: everything incalculable
  Several,     // several triangles fit: only the values they share are known
};

// The 19 quantities of one rotation: their entries, which the user gave, and
// the given values in linear form (angles in radians).
class Problem {
 public:
  Problem(GeoSolver& solver, int rotation) : m_solver(solver) {
    std::string_view text = kRotations[rotation - 1];
    size_t pos = 0;
    for (int i = 0; i < kTrianglePositions; ++i) {
      size_t end = text.find('|', pos);
      if (end == std::string_view::npos) end = text.size();
      int k = solver.lookupVariable(text.substr(pos, end - pos));
      m_index[static_cast<size_t>(i)] = k;
      if (k < 0) m_valid = false;
      pos = end + 1;
    }
    if (!m_valid) return;
    for (int i = 0; i < kTrianglePositions; ++i) {
      int k = m_index[static_cast<size_t>(i)];
      if (solver.state(k) < 0) m_incalculable = true;
      if (!solver.isGiven(k) || !solver.isKnown(k)) continue;
      double v = solver.value(k);
      if (!(v > 0.0) || !std::isfinite(v)) m_badData = true;
      m_given[static_cast<size_t>(i)] = true;
      if (isAngle(i))
        v *= kDegree;
      else if (i == kTriArea)
        v = std::sqrt(std::max(0.0, v));
      else if (i == kTriPerimeter)
        v *= 0.5;
      m_data[static_cast<size_t>(i)] = v;
    }
  }

  bool usable() const { return m_valid && !m_incalculable; }
  bool badData() const { return m_badData; }
  bool given(int pos) const { return m_given[static_cast<size_t>(pos)]; }
  double data(int pos) const { return m_data[static_cast<size_t>(pos)]; }
  GeoSolver& solver() { return m_solver; }

  /// Given positions that are not angles, in rotation order.
  std::vector<int> lengthData() const {
    std::vector<int> out;
    for (int i = kTriL1; i < kTrianglePositions; ++i) {
      if (given(i)) out.push_back(i);
    }
    return out;
  }

  /// The 19 quantities of the shape (degrees, plain area and perimeter),
  /// scaled on the datum at `scalePos`; false when the scale is unusable.
  bool quantities(const Shape& shape, int scalePos, Values& out) const {
    const Values n = normalised(shape.a1, shape.a2, shape.a3);
    const double scale = data(scalePos) / n[static_cast<size_t>(scalePos)];
    if (!std::isfinite(scale) || !(scale > 0.0)) return false;
    for (int i = 0; i < kTrianglePositions; ++i) {
      double v = n[static_cast<size_t>(i)];
      if (isAngle(i))
        v /= kDegree;
      else if (i == kTriArea)
        v = (scale * v) * (scale * v);
      else if (i == kTriPerimeter)
        v = scale * v * 2.0;
      else
        v *= scale;
      out[static_cast<size_t>(i)] = v;
    }
    return true;
  }

  /// Assigns every position from the shape, scaled on the datum at `scalePos`.
  void assignAll(const Shape& shape, int scalePos) {
    Values v{};
    if (!quantities(shape, scalePos, v)) {
      failAll();
      return;
    }
    for (int i = 0; i < kTrianglePositions; ++i) assignOne(i, v[static_cast<size_t>(i)]);
  }

  /// Several triangles fit the data: the quantities they all share (the
  /// given angle, the side facing it, the circumradius, ... when two
  /// triangles only exchange the other two sides) are assigned; the others
  /// stay unknown, since the data do not choose between the triangles.
  void assignCommon(const std::vector<Shape>& shapes, int scalePos) {
    std::vector<Values> all(shapes.size());
    for (size_t k = 0; k < shapes.size(); ++k) {
      if (!quantities(shapes[k], scalePos, all[k])) {
        failAll();
        return;
      }
    }
    for (int i = 0; i < kTrianglePositions; ++i) {
      const double first = all[0][static_cast<size_t>(i)];
      bool same = true;
      for (const Values& v : all) {
        const double other = v[static_cast<size_t>(i)];
        same = same && std::fabs(other - first) <= 1e-9 * std::max(std::fabs(first), std::fabs(other));
      }
      if (same) assignOne(i, first);
    }
  }

  void failAll() {
    for (int k : m_index) m_solver.assign(k, 0.0, kNoSingleSolution);
  }

  void assignOne(int pos, double v) {
    int code = std::isfinite(v) ? kNumericOk : kMathError;
    m_solver.assign(m_index[static_cast<size_t>(pos)], code == kNumericOk ? v : 0.0, code);
  }

  void finish(Outcome outcome, const Shape& shape, int scalePos) {
    if (outcome == Outcome::Solved)
      assignAll(shape, scalePos);
    else if (outcome == Outcome::Several)
      assignCommon(m_alternatives, scalePos);
    else if (outcome == Outcome::Infeasible)
      failAll();
  }

  /// Records one of several triangles that fit the data.
  void addAlternative(const Shape& shape) { m_alternatives.push_back(shape); }

 private:
  GeoSolver& m_solver;
  std::array<int, kTrianglePositions> m_index{};
  std::array<bool, kTrianglePositions> m_given{};
  Values m_data{};
  std::vector<Shape> m_alternatives;
  bool m_valid = true;
  bool m_incalculable = false;
  bool m_badData = false;
};

// Roots of f on (lo, hi): sign changes of a scan refined by bisection, and
// touching points where |f| has a local minimum below `touch`.
std::vector<double> findRoots(const std::function<double(double)>& f, double lo, double hi, int samples = 600,
                              double touch = 1e-10) {
  std::vector<double> xs, fs;
  for (int i = 1; i < samples; ++i) {
    double x = lo + (hi - lo) * i / samples;
    xs.push_back(x);
    fs.push_back(f(x));
  }
  std::vector<double> roots;
  auto refine = [&](double a, double fa, double b) {
    for (int j = 0; j < 200; ++j) {
      double m = 0.5 * (a + b);
      if (m <= a || m >= b) break;
      double fm = f(m);
      if (fm == 0.0) return m;
      if (std::isnan(fm)) break;
      if ((fm < 0.0) == (fa < 0.0)) {
        a = m;
        fa = fm;
      } else {
        b = m;
      }
    }
    return 0.5 * (a + b);
  };
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    double fa = fs[i], fb = fs[i + 1];
    if (std::isnan(fa) || std::isnan(fb)) continue;
    if (fa == 0.0) {
      roots.push_back(xs[i]);
    } else if ((fa < 0.0) != (fb < 0.0) && fb != 0.0) {
      roots.push_back(refine(xs[i], fa, xs[i + 1]));
    } else if (i > 0 && !std::isnan(fs[i - 1]) && std::fabs(fa) < std::fabs(fs[i - 1]) &&
               std::fabs(fa) <= std::fabs(fb) && (fa < 0.0) == (fs[i - 1] < 0.0)) {
      // A local minimum of |f| without a sign change: golden-section search
      // decides whether f touches zero there.
      double a = xs[i - 1], b = xs[i + 1];
      const double ratio = 0.6180339887498949;
      for (int j = 0; j < 120; ++j) {
        double c = b - ratio * (b - a), d = a + ratio * (b - a);
        if (std::fabs(f(c)) < std::fabs(f(d)))
          b = d;
        else
          a = c;
      }
      double x = 0.5 * (a + b);
      if (std::fabs(f(x)) < touch) roots.push_back(x);
    }
  }
  if (!xs.empty() && fs.back() == 0.0) roots.push_back(xs.back());
  return roots;
}

// Two data tied by the shape family itself (the circumradius and the
// hypotenuse of a right triangle, say) fix no shape: their ratio is the same
// for every member. `level` receives that constant deviation.
bool constantRatio(const std::function<double(double)>& f, double lo, double hi, double& level) {
  double low = std::numeric_limits<double>::max(), high = -low;
  for (int i = 1; i < 64; ++i) {
    double v = f(lo + (hi - lo) * i / 64);
    if (std::isnan(v)) continue;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  level = 0.5 * (low + high);
  return high >= low && high - low < 1e-12;
}

Outcome constantOutcome(double level) {
  return std::fabs(level) < 1e-9 ? Outcome::NoData : Outcome::Infeasible;
}

// Relative deviation of the ratio of two normalised quantities from the
// ratio of the data.
double ratioDeviation(const Values& n, int first, int second, double target) {
  return n[static_cast<size_t>(second)] / n[static_cast<size_t>(first)] / target - 1.0;
}

void warnTwoSolutions(GeoSolver& solver) {
  if (solver.explicitRequest() && solver.messenger() != nullptr) {
    ShowMessage(*solver.messenger(), kCaptionCheck, 103, {}, MessageStyle::Information);
  }
}

// --- Isosceles: L2 = L3, apex angle A1 -----------------------------------

int isoscelesCanonical(int pos) {
  switch (pos) {
    case kTriA3:
      return kTriA2;
    case kTriL3:
      return kTriL2;
    case kTriB3:
      return kTriB2;
    case kTriM3:
      return kTriM2;
    case kTriH3:
      return kTriH2;
    case kTriB1:  // the apex's bisector and median are its height
    case kTriM1:
      return kTriH1;
    default:
      return pos;
  }
}

Shape isoscelesShape(double apex) { return {apex, 0.5 * (kPi - apex), 0.5 * (kPi - apex)}; }

Outcome solveIsosceles(Problem& p, Shape& shape, int& scalePos) {
  std::vector<int> data;  // canonical positions, first occurrences
  for (int i = 0; i < kTrianglePositions; ++i) {
    if (!p.given(i)) continue;
    int c = isoscelesCanonical(i);
    if (std::find_if(data.begin(), data.end(), [&](int d) { return isoscelesCanonical(d) == c; }) ==
        data.end())
      data.push_back(i);
  }
  std::vector<int> lengths;
  double apex = 0.0;
  bool hasAngle = false;
  for (int d : data) {
    if (isAngle(d)) {
      if (!hasAngle) apex = d == kTriA1 ? p.data(d) : kPi - 2.0 * p.data(d);
      hasAngle = true;
    } else {
      lengths.push_back(d);
    }
  }
  if (lengths.empty()) return Outcome::NoData;
  scalePos = lengths[0];
  if (hasAngle) {
    shape = isoscelesShape(apex);
    return validShape(shape) ? Outcome::Solved : Outcome::Infeasible;
  }
  if (lengths.size() < 2) return Outcome::NoData;
  const int d0 = lengths[0], d1 = lengths[1];
  const int c0 = isoscelesCanonical(d0), c1 = isoscelesCanonical(d1);
  // Perimeter and circumradius, area and circumradius: the equilateral
  // triangle is the single shape at the largest ratio.
  auto isPair = [&](int a, int b) { return (c0 == a && c1 == b) || (c0 == b && c1 == a); };
  double ratio = 0.0, limit = 0.0;
  if (isPair(kTriPerimeter, kTriCircumradius)) {
    ratio = 2.0 * p.data(kTriPerimeter) / p.data(kTriCircumradius);
    limit = kEquilateralPerimeterRatio;
  } else if (isPair(kTriArea, kTriCircumradius)) {
    ratio = p.data(kTriArea) * p.data(kTriArea) / (p.data(kTriCircumradius) * p.data(kTriCircumradius));
    limit = kEquilateralAreaRatio;
  }
  if (limit > 0.0 && std::fabs(ratio / limit - 1.0) < 1e-6) {
    shape = isoscelesShape(kEquilateralApex);
    return Outcome::Solved;
  }
  const double target = p.data(d1) / p.data(d0);
  auto f = [&](double x) {
    Shape s = isoscelesShape(x);
    return ratioDeviation(normalised(s.a1, s.a2, s.a3), c0, c1, target);
  };
  double level = 0.0;
  if (constantRatio(f, 0.0, kPi, level)) return constantOutcome(level);
  std::vector<double> roots = findRoots(f, 0.0, kPi);
  if (roots.empty()) return Outcome::Infeasible;
  if (roots.size() >= 2) warnTwoSolutions(p.solver());
  // Of two solutions, the one with the wider apex.
  shape = isoscelesShape(roots.back());
  return Outcome::Solved;
}

// --- Right angle at A3 -----------------------------------------------------

Shape rightShape(double a1) { return {a1, kHalfPi - a1, kHalfPi}; }

Outcome solveRight(Problem& p, Shape& shape, int& scalePos) {
  std::vector<int> lengths;
  double a1 = 0.0;
  bool hasAngle = false;
  for (int i = 0; i < kTrianglePositions; ++i) {
    if (!p.given(i) || i == kTriA3) continue;
    if (isAngle(i)) {
      if (!hasAngle) a1 = i == kTriA1 ? p.data(i) : kHalfPi - p.data(i);
      hasAngle = true;
    } else {
      // The heights on the legs are the other legs.
      int c = i == kTriH1 ? kTriL2 : i == kTriH2 ? kTriL1 : i;
      if (std::find(lengths.begin(), lengths.end(), c) == lengths.end()) lengths.push_back(i);
    }
  }
  if (lengths.empty()) return Outcome::NoData;
  scalePos = lengths[0];
  if (hasAngle) {
    shape = rightShape(a1);
    return validShape(shape) ? Outcome::Solved : Outcome::Infeasible;
  }
  if (lengths.size() < 2) return Outcome::NoData;
  auto canon = [](int i) { return i == kTriH1 ? kTriL2 : i == kTriH2 ? kTriL1 : i; };
  const int c0 = canon(lengths[0]), c1 = canon(lengths[1]);
  const double v0 = p.data(lengths[0]), v1 = p.data(lengths[1]);
  auto sideOf = [&](int c) { return c == c0 ? v0 : v1; };
  auto has = [&](int a, int b) { return (c0 == a && c1 == b) || (c0 == b && c1 == a); };
  if (has(kTriL1, kTriL2)) {
    shape = rightShape(std::atan2(sideOf(kTriL1), sideOf(kTriL2)));
  } else if (has(kTriL1, kTriL3)) {
    if (!(sideOf(kTriL1) < sideOf(kTriL3))) return Outcome::Infeasible;
    shape = rightShape(std::asin(sideOf(kTriL1) / sideOf(kTriL3)));
  } else if (has(kTriL2, kTriL3)) {
    if (!(sideOf(kTriL2) < sideOf(kTriL3))) return Outcome::Infeasible;
    shape = rightShape(std::acos(sideOf(kTriL2) / sideOf(kTriL3)));
  } else {
    const double target = v1 / v0;
    auto f = [&](double x) {
      Shape s = rightShape(x);
      return ratioDeviation(normalised(s.a1, s.a2, s.a3), c0, c1, target);
    };
    double level = 0.0;
    if (constantRatio(f, 0.0, kHalfPi, level)) return constantOutcome(level);
    std::vector<double> roots = findRoots(f, 0.0, kHalfPi);
    if (roots.empty()) return Outcome::Infeasible;
    // Mirror solutions exchange the legs; the first keeps L1 the shorter.
    shape = rightShape(roots.front());
  }
  return validShape(shape) ? Outcome::Solved : Outcome::Infeasible;
}

// --- All angles known ------------------------------------------------------

Outcome solveSimilar(Problem& p, GeoSolver& solver, const std::array<int, 3>& angleIndex, Shape& shape,
                     int& scalePos) {
  std::array<double, 3> a{-1.0, -1.0, -1.0};
  int count = 0;
  for (int i = 0; i < 3; ++i) {
    if (p.given(i)) {
      a[static_cast<size_t>(i)] = p.data(i);
      ++count;
    }
  }
  if (count < 2) {
    // The angles are known through the figure's own equations.
    for (int i = 0; i < 3; ++i)
      a[static_cast<size_t>(i)] = solver.value(angleIndex[static_cast<size_t>(i)]) * kDegree;
    count = 3;
  } else if (count == 2) {
    for (auto& x : a) {
      if (x < 0.0) x = kPi - (a[0] + a[1] + a[2] + 1.0);
    }
  }
  std::vector<int> lengths = p.lengthData();
  if (lengths.empty()) return Outcome::NoData;
  scalePos = lengths[0];
  shape = {a[0], a[1], a[2]};
  return validShape(shape) ? Outcome::Solved : Outcome::Infeasible;
}

// --- One angle known, as A3 -------------------------------------------------

Shape oneAngleShape(double a3, double a1) { return {a1, kPi - a3 - a1, a3}; }

Outcome solveOneAngle(Problem& p, Shape& shape, int& scalePos) {
  if (!p.given(kTriA3)) return Outcome::NoData;
  const double a3 = p.data(kTriA3);
  if (!(a3 < kPi)) return Outcome::Infeasible;
  std::vector<int> lengths = p.lengthData();
  if (lengths.size() < 2) {
    return Outcome::NoData;
  }
  const int c0 = lengths[0], c1 = lengths[1];
  scalePos = c0;
  const double v0 = p.data(c0), v1 = p.data(c1);
  auto valueOf = [&](int c) { return c == c0 ? v0 : v1; };
  auto has = [&](int a, int b) { return (c0 == a && c1 == b) || (c0 == b && c1 == a); };
  if (has(kTriL1, kTriL2)) {
    // Two sides and the angle between them.
    const double l1 = valueOf(kTriL1), l2 = valueOf(kTriL2);
    const double l3 = std::sqrt(std::max(0.0, l1 * l1 + l2 * l2 - 2.0 * l1 * l2 * std::cos(a3)));
    if (!shapeFromSides(l1, l2, l3, shape)) return Outcome::Infeasible;
    return Outcome::Solved;
  }
  if (has(kTriL1, kTriL3) || has(kTriL2, kTriL3)) {
    // Two sides and an angle opposite one of them: a single admissible root only.
    const bool first = has(kTriL1, kTriL3);
    const double side = valueOf(first ? kTriL1 : kTriL2);
    const double sine = side * std::sin(a3) / valueOf(kTriL3);
    if (!(sine <= 1.0)) return Outcome::Infeasible;
    const double base = std::asin(sine);
    int admissible = 0;
    double chosen = 0.0;
    for (double angle : {base, kPi - base}) {
      if (angle > 0.0 && angle + a3 < kPi) {
        if (admissible == 1 && angle == chosen) continue;
        ++admissible;
        chosen = angle;
      }
    }
    if (admissible != 1) return Outcome::Infeasible;
    shape = first ? oneAngleShape(a3, chosen) : oneAngleShape(a3, kPi - a3 - chosen);
    return validShape(shape) ? Outcome::Solved : Outcome::Infeasible;
  }
  const double target = v1 / v0;
  auto f = [&](double x) {
    Shape s = oneAngleShape(a3, x);
    return ratioDeviation(normalised(s.a1, s.a2, s.a3), c0, c1, target);
  };
  double level = 0.0;
  if (constantRatio(f, 0.0, kPi - a3, level)) return constantOutcome(level);
  std::vector<double> roots = findRoots(f, 0.0, kPi - a3);
  if (roots.empty()) return Outcome::Infeasible;
  shape = oneAngleShape(a3, roots.front());
  if (roots.size() == 1) return Outcome::Solved;
  // A datum pair met by several triangles fixes only what they share.
  warnTwoSolutions(p.solver());
  for (double root : roots) p.addAlternative(oneAngleShape(a3, root));
  return Outcome::Several;
}

// --- No angle: three lengths ------------------------------------------------

Shape shapeOf(double t, double u) {
  const double a1 = kPi * t;
  const double a2 = (kPi - a1) * u;
  return {a1, a2, kPi - a1 - a2};
}

// The shape from three data that fix it only through their ratios (three
// bisectors, or mixed kinds): a scan of the whole shape square, windows of ±5
// steps shrinking by 1/√2 around the best points, then Newton's method on
// the two independent ratios. When no start converges, the best grid point
// is used with the approximate flag unless its steps reached single
// precision.
Outcome searchShape(Problem& p, int d0, int d1, int d2, Shape& shape) {
  const double t1 = p.data(d1) / p.data(d0);
  const double t2 = p.data(d2) / p.data(d0);
  const double t3 = p.data(d2) / p.data(d1);
  auto deviation = [&](double t, double u) {
    if (!(t > 0.0 && t < 1.0 && u > 0.0 && u < 1.0)) return std::numeric_limits<double>::max();
    Shape s = shapeOf(t, u);
    Values n = normalised(s.a1, s.a2, s.a3);
    double sum = std::fabs(ratioDeviation(n, d0, d1, t1)) + std::fabs(ratioDeviation(n, d0, d2, t2)) +
                 std::fabs(ratioDeviation(n, d1, d2, t3));
    return std::isnan(sum) ? std::numeric_limits<double>::max() : sum;
  };
  auto residual = [&](double a, double b, double& r1, double& r2) {
    Values n = normalised(a, b, kPi - a - b);
    r1 = ratioDeviation(n, d0, d1, t1);
    r2 = ratioDeviation(n, d0, d2, t2);
  };
  // Newton's method in the angles A1, A2 from (t, u); 1 converged, 0 not,
  // -1 when the data hold a single ratio between them (singular at a zero).
  auto newton = [&](double t, double u, Shape& out) {
    Shape s = shapeOf(t, u);
    double x = s.a1, y = s.a2;
    for (int iter = 0; iter < 60; ++iter) {
      double r1, r2;
      residual(x, y, r1, r2);
      if (!std::isfinite(r1) || !std::isfinite(r2)) return 0;
      const double h = 1e-7 * std::min({1.0, x, y, kPi - x - y});
      double p1, p2, q1, q2, m1, m2, n1, n2;
      residual(x + h, y, p1, p2);
      residual(x - h, y, m1, m2);
      residual(x, y + h, q1, q2);
      residual(x, y - h, n1, n2);
      const double j11 = (p1 - m1) / (2 * h), j21 = (p2 - m2) / (2 * h);
      const double j12 = (q1 - n1) / (2 * h), j22 = (q2 - n2) / (2 * h);
      const double det = j11 * j22 - j12 * j21;
      if (!std::isfinite(det)) return 0;
      if (std::fabs(det) <= 1e-9 * (std::fabs(j11 * j22) + std::fabs(j12 * j21))) {
        return std::fabs(r1) < 1e-6 && std::fabs(r2) < 1e-6 ? -1 : 0;
      }
      if (std::fabs(r1) < 4e-15 && std::fabs(r2) < 4e-15) {
        out = {x, y, kPi - x - y};
        return 1;
      }
      double dx = (r1 * j22 - r2 * j12) / det;
      double dy = (j11 * r2 - j21 * r1) / det;
      // Damped step: stay inside the triangle's angles.
      double step = 1.0;
      while (step > 1e-6 &&
             !(x - step * dx > 0.0 && y - step * dy > 0.0 && x - step * dx + y - step * dy < kPi)) {
        step *= 0.5;
      }
      double nx = x - step * dx, ny = y - step * dy;
      if (nx == x && ny == y) {
        const bool done = std::fabs(r1) < 1e-13 && std::fabs(r2) < 1e-13;
        if (done) out = {x, y, kPi - x - y};
        return done ? 1 : 0;
      }
      x = nx;
      y = ny;
    }
    double r1, r2;
    residual(x, y, r1, r2);
    const bool done = std::fabs(r1) < 1e-13 && std::fabs(r2) < 1e-13;
    if (done) out = {x, y, kPi - x - y};
    return done ? 1 : 0;
  };

  // Scan of the shape square; the best points, apart from each other, are
  // the starts of the refinements.
  const int grid = 48;
  struct Start {
    double deviation, t, u;
  };
  std::vector<Start> starts;
  starts.reserve(grid * grid);
  for (int i = 0; i < grid; ++i) {
    for (int j = 0; j < grid; ++j) {
      double t = (i + 0.5) / grid, u = (j + 0.5) / grid;
      starts.push_back({deviation(t, u), t, u});
    }
  }
  std::sort(starts.begin(), starts.end(),
            [](const Start& a, const Start& b) { return a.deviation < b.deviation; });
  double best = 1.7976931348623157e308, bestT = 0.5, bestU = 0.5;
  bool bestReached = false;
  std::vector<Start> tried;
  for (const Start& start : starts) {
    if (tried.size() >= 6 || start.deviation == std::numeric_limits<double>::max()) break;
    bool near = false;
    for (const Start& t : tried)
      near = near || (std::fabs(t.t - start.t) < 2.5 / grid && std::fabs(t.u - start.u) < 2.5 / grid);
    if (near) continue;
    tried.push_back(start);
    double ct = start.t, cu = start.u, cd = start.deviation;
    double stepT = 1.0 / grid, stepU = 1.0 / grid;
    bool reached = false;
    for (int pass = 0; pass < 80 && !reached; ++pass) {
      stepT *= 0.707106781186545;
      stepU *= 0.707106781186545;
      const double centreT = ct, centreU = cu;
      for (int i = -5; i <= 5; ++i) {
        for (int j = -5; j <= 5; ++j) {
          double t = centreT + i * stepT, u = centreU + j * stepU;
          double d = deviation(t, u);
          if (d < cd) {
            cd = d;
            ct = t;
            cu = u;
          }
        }
      }
      reached = stepT <= 1e-6 * ct && stepU <= 1e-6 * cu;
    }
    int result = newton(ct, cu, shape);
    if (result == 1) return validShape(shape) ? Outcome::Solved : Outcome::Infeasible;
    if (result == -1) return Outcome::NoData;
    if (cd < best) {
      best = cd;
      bestT = ct;
      bestU = cu;
      bestReached = stepT <= 1.1920929e-7 * ct && stepU <= 1.1920929e-7 * cu;
    }
  }
  if (!(best < 1e-6)) return Outcome::Infeasible;
  if (!bestReached) p.solver().setApproximate();
  shape = shapeOf(bestT, bestU);
  return validShape(shape) ? Outcome::Solved : Outcome::Infeasible;
}

Outcome solveGeneral(Problem& p, Shape& shape, int& scalePos) {
  std::vector<int> lengths = p.lengthData();
  if (lengths.size() < 3) return Outcome::NoData;
  const int d0 = lengths[0], d1 = lengths[1], d2 = lengths[2];
  scalePos = d0;
  if (d0 == kTriL1 && d1 == kTriL2 && d2 == kTriL3) {
    return shapeFromSides(p.data(d0), p.data(d1), p.data(d2), shape) ? Outcome::Solved : Outcome::Infeasible;
  }
  // Three heights: the sides go as their inverses (twice the area over each).
  if (d0 == kTriH1 && d1 == kTriH2 && d2 == kTriH3) {
    return shapeFromSides(1.0 / p.data(d0), 1.0 / p.data(d1), 1.0 / p.data(d2), shape) ? Outcome::Solved
                                                                                       : Outcome::Infeasible;
  }
  // Three medians: each side is 2/3·√(2·mj² + 2·mk² − mi²).
  if (d0 == kTriM1 && d1 == kTriM2 && d2 == kTriM3) {
    std::array<double, 3> side{};
    for (int i = 0; i < 3; ++i) {
      const double mi = p.data(kTriM1 + i), mj = p.data(kTriM1 + (i + 1) % 3),
                   mk = p.data(kTriM1 + (i + 2) % 3);
      const double square = 2 * mj * mj + 2 * mk * mk - mi * mi;
      if (!(square > 0.0)) return Outcome::Infeasible;
      side[static_cast<size_t>(i)] = std::sqrt(square) * 2.0 / 3.0;
    }
    return shapeFromSides(side[0], side[1], side[2], shape) ? Outcome::Solved : Outcome::Infeasible;
  }
  return searchShape(p, d0, d1, d2, shape);
}

// Runs one of the solvers on a rotation and assigns its results.
enum class Kind { Isosceles, Right, Similar, OneAngle, General };

void runSolver(GeoSolver& solver, Kind kind, int rotation) {
  Problem p(solver, rotation);
  if (!p.usable()) return;
  if (p.badData()) {
    p.failAll();
    return;
  }
  Shape shape;
  int scalePos = kTriL1;
  Outcome outcome = Outcome::NoData;
  switch (kind) {
    case Kind::Isosceles:
      outcome = solveIsosceles(p, shape, scalePos);
      break;
    case Kind::Right:
      outcome = solveRight(p, shape, scalePos);
      break;
    case Kind::Similar: {
      std::string_view text = kRotations[rotation - 1];
      std::array<int, 3> angles{solver.lookupVariable(text.substr(0, 2)),
                                solver.lookupVariable(text.substr(3, 2)),
                                solver.lookupVariable(text.substr(6, 2))};
      outcome = solveSimilar(p, solver, angles, shape, scalePos);
      break;
    }
    case Kind::OneAngle:
      outcome = solveOneAngle(p, shape, scalePos);
      break;
    case Kind::General:
      outcome = solveGeneral(p, shape, scalePos);
      break;
  }
  p.finish(outcome, shape, scalePos);
}

bool knownEqual(GeoSolver& solver, std::string_view a, std::string_view b) {
  int i = solver.lookupVariable(a);
  int j = solver.lookupVariable(b);
  return solver.isKnown(i) && solver.isKnown(j) && solver.value(i) == solver.value(j);
}

bool knownValue(GeoSolver& solver, std::string_view name, double value) {
  int i = solver.lookupVariable(name);
  return solver.isKnown(i) && solver.value(i) == value;
}

// Figure 22: an isosceles pair found among the known values turns the
// triangle into the isosceles case on the rotation that puts the pair second
// and third.
bool isoscelesPair(GeoSolver& solver, const char* const (&pair)[5][2], std::string_view angleSum) {
  bool any = false;
  for (const auto& p : pair) any = any || knownEqual(solver, p[0], p[1]);
  if (!any) return false;
  for (const auto& p : pair) solver.linkValues(p[0], p[1]);
  solver.evalSum(angleSum);
  return true;
}

}  // namespace

std::string_view triangleRotation(int rotation) {
  return rotation >= 1 && rotation <= 3 ? kRotations[rotation - 1] : std::string_view();
}

void TriangleSolver(GeoSolver& solver, int figure) {
  if (figure == 21) {
    runSolver(solver, Kind::Isosceles, 1);
    return;
  }
  if (figure == 23) {
    runSolver(solver, Kind::Right, 1);
    return;
  }
  if (figure != 22) {
    runSolver(solver, Kind::General, 1);
    return;
  }
  static const char* const kPairs1[5][2] = {
      {"A2", "A3"}, {"L2", "L3"}, {"H2", "H3"}, {"M2", "M3"}, {"B2", "B3"}};
  static const char* const kPairs2[5][2] = {
      {"A3", "A1"}, {"L3", "L1"}, {"H3", "H1"}, {"M3", "M1"}, {"B3", "B1"}};
  static const char* const kPairs3[5][2] = {
      {"A1", "A2"}, {"L1", "L2"}, {"H1", "H2"}, {"M1", "M2"}, {"B1", "B2"}};
  if (isoscelesPair(solver, kPairs1, "AP=A1+2.*A2")) {
    runSolver(solver, Kind::Isosceles, 1);
  } else if (isoscelesPair(solver, kPairs2, "AP=A2+2.*A3")) {
    runSolver(solver, Kind::Isosceles, 2);
  } else if (isoscelesPair(solver, kPairs3, "AP=A3+2.*A1")) {
    runSolver(solver, Kind::Isosceles, 3);
  } else if (knownValue(solver, "A3", 90.0)) {
    runSolver(solver, Kind::Right, 1);
  } else if (knownValue(solver, "A1", 90.0)) {
    runSolver(solver, Kind::Right, 2);
  } else if (knownValue(solver, "A2", 90.0)) {
    runSolver(solver, Kind::Right, 3);
  } else {
    const int a1 = solver.lookupVariable("A1"), a2 = solver.lookupVariable("A2"),
              a3 = solver.lookupVariable("A3");
    const int known =
        (solver.isKnown(a1) ? 1 : 0) + (solver.isKnown(a2) ? 1 : 0) + (solver.isKnown(a3) ? 1 : 0);
    if (known == 3)
      runSolver(solver, Kind::Similar, 1);
    else if (known == 1)
      runSolver(solver, Kind::OneAngle, solver.isKnown(a3) ? 1 : solver.isKnown(a1) ? 2 : 3);
    else
      runSolver(solver, Kind::General, 1);
  }
}

// --- Parabola ----------------------------------------------------------------

double parabolaArc(double k) {
  if (k == 0.0) return 1.0;
  return std::sqrt(4.0 * k * k + 0.25) + std::asinh(4.0 * k) * 0.125 / k;
}

namespace {

// Quantities of the parabola of base 1 and height k, in linear form: base,
// arc, height, √area, perimeter/3, ∛volume of the paraboloid.
std::array<double, 6> parabolaLinear(double k) {
  const double arc = parabolaArc(k);
  return {1.0,
          arc,
          k,
          std::sqrt(k * 0.6666666666666666),
          (arc + 1.0) * 0.3333333333333333,
          std::cbrt(k * 0.39269908169872375)};
}

}  // namespace

void ParabolaSolver(GeoSolver& solver, std::string_view names) {
  std::array<int, 6> index{};
  int count = 0;
  size_t pos = 0;
  while (pos <= names.size() && count < 6) {
    size_t end = names.find('|', pos);
    if (end == std::string_view::npos) end = names.size();
    index[static_cast<size_t>(count)] = solver.lookupVariable(names.substr(pos, end - pos));
    if (index[static_cast<size_t>(count)] < 0) return;
    ++count;
    pos = end + 1;
  }
  int known = 0;
  std::array<int, 2> data{-1, -1};
  std::array<double, 2> value{};
  for (int i = 0; i < count; ++i) {
    int k = index[static_cast<size_t>(i)];
    if (solver.state(k) < 0) return;
    if (!solver.isKnown(k)) continue;
    if (known < 2) {
      double v = solver.value(k);
      if (i == 3)
        v = std::sqrt(std::max(0.0, v));
      else if (i == 4)
        v /= 3.0;
      else if (i == 5)
        v = std::cbrt(v);
      data[static_cast<size_t>(known)] = i;
      value[static_cast<size_t>(known)] = v;
    }
    ++known;
  }
  if (known < 2 || known == count) return;
  auto failAll = [&] {
    for (int i = 0; i < count; ++i) solver.assign(index[static_cast<size_t>(i)], 0.0, kNoSingleSolution);
  };
  const int d0 = data[0], d1 = data[1];
  if (!(value[0] > 0.0) || !(value[1] >= 0.0)) {
    failAll();
    return;
  }
  const double target = value[1] / value[0];
  auto f = [&](double k) {
    auto n = parabolaLinear(k);
    return n[static_cast<size_t>(d1)] / n[static_cast<size_t>(d0)] - target;
  };
  // The smallest height that meets the ratio: k = 0 itself, else a scan of
  // k over twelve decades refined by bisection.
  double k = -1.0;
  if (f(0.0) == 0.0) {
    k = 0.0;
  } else {
    auto roots = findRoots([&](double e) { return f(std::pow(10.0, e)); }, -9.0, 9.0, 1800, 1e-14);
    if (!roots.empty()) k = std::pow(10.0, roots.front());
  }
  if (!(k >= 0.0) || !std::isfinite(k)) {
    failAll();
    return;
  }
  auto n = parabolaLinear(k);
  const double scale = value[0] / n[static_cast<size_t>(d0)];
  const double arc = parabolaArc(k);
  const std::array<double, 6> out{scale,
                                  scale * arc,
                                  scale * k,
                                  (scale * n[3]) * (scale * n[3]),
                                  3.0 * scale * (arc + 1.0) * 0.3333333333333333,
                                  (scale * n[5]) * (scale * n[5]) * (scale * n[5])};
  for (int i = 0; i < count; ++i) {
    double v = out[static_cast<size_t>(i)];
    bool ok = std::isfinite(v);
    solver.assign(index[static_cast<size_t>(i)], ok ? v : 0.0, ok ? kNumericOk : kMathError);
  }
}

}  // namespace qz
