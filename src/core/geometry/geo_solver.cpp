#include "geometry/geo_solver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "geometry/equation_text.h"
#include "geometry/figure_lists.h"
#include "geometry/guarded_math.h"
#include "geometry/simultaneous_solve.h"

namespace qz {

namespace {

constexpr int kMaxRelationNames = 7;

// Splits "V0=V1|V2|..." into names; false when malformed or too long.
bool splitRelation(std::string_view text, std::array<std::string_view, kMaxRelationNames>& names,
                   int& count) {
  count = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find_first_of(count == 0 ? "=" : "|", pos);
    if (end == std::string_view::npos) end = text.size();
    if (count >= kMaxRelationNames || end == pos) return false;
    names[static_cast<size_t>(count++)] = text.substr(pos, end - pos);
    pos = end + 1;
  }
  return count >= 2;
}

// Bisection of a monotone function on [lo, hi]; fails when the target lies
// outside the values at the ends. Converges to the last representable step.
bool bisectMonotone(const std::function<double(double)>& f, double target, double lo, double hi, double& x) {
  double flo = f(lo) - target;
  double fhi = f(hi) - target;
  if (flo == 0.0) {
    x = lo;
    return true;
  }
  if (fhi == 0.0) {
    x = hi;
    return true;
  }
  if ((flo < 0.0) == (fhi < 0.0) || std::isnan(flo) || std::isnan(fhi)) {
    x = lo;
    return false;
  }
  for (int i = 0; i < 200; ++i) {
    double mid = 0.5 * (lo + hi);
    if (mid <= lo || mid >= hi) break;
    double fm = f(mid) - target;
    if (fm == 0.0) {
      lo = hi = mid;
      break;
    }
    if ((fm < 0.0) == (flo < 0.0)) {
      lo = mid;
      flo = fm;
    } else {
      hi = mid;
    }
  }
  x = 0.5 * (lo + hi);
  return true;
}

// Segment angle: the central angle (degrees) of a circular segment of radius
// r and area `area`.
bool segmentAngleSearch(double r, double area, double& angle) {
  auto f = [r](double t) { return (t - std::sin(t)) * r * r * 0.5; };
  double t = 0.0;
  bool ok = bisectMonotone(f, area, 0.0, 6.28318530717959, t);
  angle = t * kDegreesPerRadian;
  return ok;
}

// Cap angle: the apex angle (degrees) seen from the centre of a spherical
// cap of radius r and volume `volume`.
bool capAngleSearch(double r, double volume, GuardedMath& g, double& angle) {
  auto f = [r](double k) { return (k * (k * k - 3.0) + 2.0) * r * r * r * 1.0471975511965965; };
  double k = -1.0;
  bool ok = bisectMonotone(f, volume, -1.0, 1.0, k);
  angle = 2.0 * g.acosD(k);
  return ok;
}

// Trapezoid angle: the angle (degrees) of the leg `leg` on the long base
// `longBase`, with short base `shortBase` and other leg `otherLeg`. Scans k =
// cos(angle) from -1 by 0.1 for the first crossing of the target, then
// refines it by bisection.
bool trapezoidAngleSearch(double leg, double shortBase, double otherLeg, double longBase, GuardedMath& g,
                          double& angle) {
  auto f = [=](double k) {
    double root = std::sqrt(otherLeg * otherLeg - leg * leg * (1.0 - k * k));
    if (k == 0.0) return shortBase - std::sqrt(otherLeg * otherLeg - leg * leg);
    return shortBase + leg * k + (k > 0.0 ? root : -root);
  };
  double prevK = -1.0;
  double prevF = f(prevK) - longBase;
  for (int i = 1; i <= 20; ++i) {
    double k = -1.0 + 0.1 * i;
    if (k > 1.0) k = 1.0;
    double fk = f(k) - longBase;
    if (!std::isnan(prevF) && !std::isnan(fk) && (prevF == 0.0 || (prevF < 0.0) != (fk < 0.0))) {
      double root = prevK;
      if (prevF != 0.0) {
        double lo = prevK, hi = k, flo = prevF;
        for (int j = 0; j < 200; ++j) {
          double mid = 0.5 * (lo + hi);
          if (mid <= lo || mid >= hi) break;
          double fm = f(mid) - longBase;
          if (std::isnan(fm)) break;
          if ((fm < 0.0) == (flo < 0.0)) {
            lo = mid;
            flo = fm;
          } else {
            hi = mid;
          }
        }
        root = 0.5 * (lo + hi);
      }
      angle = g.acosD(root);
      return true;
    }
    prevK = k;
    prevF = fk;
  }
  angle = 0.0;
  return false;
}

// The larger root of a·x² + b·x + c = 0 when it is the only positive one.
// When both roots are positive the data fit two figures: false leaves the
// position open, for another equation of the list to settle it.
bool singlePositiveRoot(GuardedMath& g, double a, double b, double c, double& out) {
  out = g.quad(a, b, c, 1.0);
  if (g.failed()) return true;
  double other = -b / a - out;
  return !(other > 0.0 && out > 0.0 && other != out);
}

// The formula of relation `type` for position `p`, from the values `v` of
// the relation's names. Returns false when the position has no formula.
bool relationFormula(int type, int p, const std::array<double, kMaxRelationNames>& v, GuardedMath& g,
                     double& out) {
  const double v0 = v[0], v1 = v[1], v2 = v[2], v3 = v[3], v4 = v[4];
  switch (type) {
    case 1:  // V0 = V1·(1/cos V2 + 1)
      if (p == 0)
        out = v1 * (1.0 / g.cosD(v2) + 1.0);
      else if (p == 1)
        out = v0 / (1.0 / g.cosD(v2) + 1.0);
      else if (p == 2)
        out = g.acosD(v1 / (v0 - v1));
      else
        return false;
      return true;
    case 2:  // parallelogram: angle V0 between side V1 and diagonal V2, other diagonal V3
      if (p == 0)
        out = g.acosD((4.0 * g.sq(v1) + g.sq(v2) - g.sq(v3)) / (4.0 * v1 * v2));
      else if (p == 1)
        return singlePositiveRoot(g, 4.0, -4.0 * v2 * g.cosD(v0), g.sq(v2) - g.sq(v3), out);
      else if (p == 2)
        return singlePositiveRoot(g, 1.0, -4.0 * v1 * g.cosD(v0), 4.0 * g.sq(v1) - g.sq(v3), out);
      else if (p == 3)
        out = g.sqrt(g.sq(v2) + 4.0 * g.sq(v1) - 4.0 * v1 * v2 * g.cosD(v0));
      else
        return false;
      return true;
    case 3:  // as type 2 with the diagonals exchanged
      if (p == 0)
        out = g.acosD((4.0 * g.sq(v1) + g.sq(v3) - g.sq(v2)) / (4.0 * v1 * v3));
      else if (p == 1)
        return singlePositiveRoot(g, 4.0, -4.0 * v3 * g.cosD(v0), g.sq(v3) - g.sq(v2), out);
      else if (p == 2)
        out = g.sqrt(g.sq(v3) + 4.0 * g.sq(v1) - 4.0 * v1 * v3 * g.cosD(v0));
      else if (p == 3)
        return singlePositiveRoot(g, 1.0, -4.0 * v1 * g.cosD(v0), 4.0 * g.sq(v1) - g.sq(v2), out);
      else
        return false;
      return true;
    case 4:
      if (p == 0)
        out = g.angleD(1.0, 2.0 * g.cot(v1) + g.cot(v2));
      else if (p == 1)
        out = g.angleD(2.0, g.cot(v0) - g.cot(v2));
      else if (p == 2)
        out = g.angleD(1.0, g.cot(v0) - 2.0 * g.cot(v1));
      else
        return false;
      return true;
    case 5: {  // trapezoid: bases V0, V1, area V2, base angles V3, V4
      if (p == 0)
        out = g.sqrt(g.sq(v1) - 2.0 * v2 * (g.cot(v3) + g.cot(v4)));
      else if (p == 1)
        out = g.sqrt(g.sq(v0) + 2.0 * v2 * (g.cot(v3) + g.cot(v4)));
      else if (p == 2)
        out = (g.sq(v1) - g.sq(v0)) / (g.cot(v3) + g.cot(v4)) * 0.5;
      else if (p == 3)
        out = g.angleD(1.0, (g.sq(v1) - g.sq(v0)) / v2 * 0.5 - g.cot(v4));
      else if (p == 4)
        out = g.angleD(1.0, (g.sq(v1) - g.sq(v0)) / v2 * 0.5 - g.cot(v3));
      else
        return false;
      return true;
    }
    case 6: {  // trapezoid: long base V0, leg V1 at angle V4, short base V2, other leg V3
      if (p == 4) {
        double angle = 0.0;
        bool found = trapezoidAngleSearch(v1, v2, v3, v0, g, angle);
        g.arm();  // the scan meets the points where the leg cannot reach: they are skipped, not faults
        if (!found) g.fail(kNoSingleSolution);
        out = angle;
        return true;
      }
      double k = g.cosD(v4);
      if (p == 0)
        out = v2 + k * v1 + g.sqrt(g.sq(v3) - g.sq(v1) * (1.0 - k * k));
      else if (p == 2)
        out = v0 - k * v1 - g.sqrt(g.sq(v3) - g.sq(v1) * (1.0 - k * k));
      else if (p == 3)
        out = g.sqrt(g.sq(v0 - v2) - 2.0 * k * (v0 - v2) * v1 + g.sq(v1));
      else
        return false;  // the leg V1 has two roots: left unsolved
      return true;
    }
    case 7: {
      if (p > 1) return false;
      double t = g.tanD(v2);
      double f = t + g.sqrt(t * t + 1.0) + 1.0;
      out = p == 0 ? v1 * f : v0 / f;
      return true;
    }
    case 8: {  // altitude on side V1 (Heron)
      if (p != 0) return false;
      double s = (v1 + v2 + v3) * 0.5;
      out = 2.0 * g.sqrt(s * (s - v1) * (s - v2) * (s - v3)) / v1;
      return true;
    }
    case 9:  // height over base V1 with base angles V2, V3
      if (p == 0)
        out = v1 / (g.cot(v2) + g.cot(v3));
      else if (p == 1)
        out = v0 * (g.cot(v2) + g.cot(v3));
      else if (p == 2)
        out = g.angleD(1.0, v1 / v0 - g.cot(v3));
      else if (p == 3)
        out = g.angleD(1.0, v1 / v0 - g.cot(v2));
      else
        return false;
      return true;
    case 10:  // circumradius
      if (p == 0)
        out = v1 / g.sinD(v2) * 0.5;
      else if (p == 1)
        out = 2.0 * g.sinD(v2) * v0;
      else
        return false;
      return true;
    case 11: {  // law of cosines, V0 opposite V1
      if (p == 0) {
        out = g.acosD((g.sq(v3) + g.sq(v2) - g.sq(v1)) * 0.5 / v2 / v3);
      } else if (p == 1) {
        out = g.sqrt(g.sq(v3) + g.sq(v2) - 2.0 * g.cosD(v0) * v3 * v2);
      } else if (p == 2 || p == 3) {
        // Side-side-angle: only one positive root is a single solution. Two
        // positive roots are two triangles: the side stays open, for a later
        // equation to settle, rather than incalculable for good.
        double other = p == 2 ? v3 : v2;
        double d = g.sq(v1) - g.sq(other * g.sinD(v0));
        if (g.failed()) return true;
        if (d < 0.0) {
          g.fail(kNoSingleSolution);
          out = 0.0;
          return true;
        }
        double c = other * g.cosD(v0);
        double r1 = c + std::sqrt(d);
        double r2 = c - std::sqrt(d);
        if (r1 > 0.0 && r2 > 0.0 && r1 != r2) return false;
        if (r1 > 0.0)
          out = r1;
        else
          g.fail(kNoSingleSolution);
      } else {
        return false;
      }
      return true;
    }
    case 12: {  // ellipse perimeter
      if (p != 0) return false;
      if (v1 == v2) {
        out = v1 * 6.28318530717959;
        return true;
      }
      // Arithmetic-geometric mean (Gauss-Kummer form): converges quadratically
      // to the complete elliptic integral, exact to the last digit.
      double a = std::max(std::fabs(v1), std::fabs(v2));
      double b = std::min(std::fabs(v1), std::fabs(v2));
      const double big = a;
      double power = 0.5;
      double sum = power * (a - b) * (a + b);
      for (int i = 0; i < 64 && a != b; ++i) {
        double an = 0.5 * (a + b);
        double bn = std::sqrt(a * b);
        double cn = 0.5 * (a - b);
        power *= 2.0;
        sum += power * cn * cn;
        if (an == a && bn == b) break;
        a = an;
        b = bn;
      }
      out = 2.0 * 3.14159265358979323846 * (big * big - sum) / a;
      if (v1 < 0.0 || v2 < 0.0) g.fail(kNoSingleSolution);
      return true;
    }
    case 13: {  // frustum volume from height V1 and end areas V2, V3
      if (p == 0)
        out = (g.sqrt(v3 * v2) + v3 + v2) * v1 * 0.3333333333333333;
      else if (p == 1)
        out = 3.0 * v0 / (g.sqrt(v3 * v2) + v3 + v2);
      else if (p == 2 || p == 3) {
        double other = p == 2 ? v3 : v2;
        double gg = 6.0 * v0 / v1;
        out = ((gg - other) - g.sqrt(2.0 * other * gg - 3.0 * g.sq(other))) * 0.5;
      } else {
        return false;
      }
      return true;
    }
    case 14: {  // circular segment area
      if (p == 2) {
        double angle = 0.0;
        if (!segmentAngleSearch(v1, v0, angle)) g.fail(kNoSingleSolution);
        out = angle;
        return true;
      }
      double theta = v2 * 0.01745329251994;
      if (p == 0)
        out = g.sq(v1) * (theta - std::sin(theta)) * 0.5;
      else if (p == 1)
        out = g.sqrt(2.0 * v0 / (theta - std::sin(theta)));
      else
        return false;
      return true;
    }
    case 15: {  // frustum of a cone: height V1, diameters V2, V3
      if (p == 0) {
        out = (v3 * v2 + g.sq(v2) + g.sq(v3)) * v1 * 0.26179938779914913;
      } else if (p == 1) {
        out = 12.0 * v0 / (v3 * v2 + g.sq(v2) + g.sq(v3)) * 0.318309886183791;
      } else if (p == 2 || p == 3) {
        double h = -0.5 * (p == 2 ? v3 : v2);
        double k = 12.0 * v0 / v1 * 0.318309886183791;
        out = g.sqrt(k - 3.0 * h * h) + h;
      } else {
        return false;
      }
      return true;
    }
    case 16: {  // spherical cap seen from the centre under the angle V2
      if (p == 2) {
        double angle = 0.0;
        if (!capAngleSearch(v1, v0, g, angle)) g.fail(kNoSingleSolution);
        out = angle;
        return true;
      }
      double k = g.cosD(v2 / 2.0);
      if (p == 0)
        out = (k + 2.0) * g.sq(1.0 - k) * g.cube(v1) * 1.0471975511965965;
      else if (p == 1)
        out = g.cbrt(3.0 * v0 / g.sq(1.0 - k) / (k + 2.0) * 0.318309886183791);
      else
        return false;
      return true;
    }
    case 17:
      if (p == 0)
        out = v1 * g.sinD(v2);
      else if (p == 1)
        out = v0 / g.sinD(v2);
      else if (p == 2)
        out = g.asinD(v0 / v1);
      else
        return false;
      return true;
    case 18:
      if (p == 0)
        out = v1 * g.cosD(v2);
      else if (p == 1)
        out = v0 / g.cosD(v2);
      else if (p == 2)
        out = g.acosD(v0 / v1);
      else
        return false;
      return true;
    case 19:
      if (p == 0)
        out = v1 * g.tanD(v2);
      else if (p == 1)
        out = v0 / g.tanD(v2);
      else if (p == 2)
        out = g.angleD(v0, v1);
      else
        return false;
      return true;
    case 20:
      if (p == 0)
        out = v1 - g.tanD(v3) * v2 - v4;
      else if (p == 1)
        out = g.tanD(v3) * v2 + v4 + v0;
      else if (p == 2)
        out = (v1 - v0 - v4) / g.tanD(v3);
      else if (p == 3)
        out = g.angleD(v1 - v0 - v4, v2);
      else if (p == 4)
        out = v1 - v0 - g.tanD(v3) * v2;
      else
        return false;
      return true;
    case 21:
      if (p == 0)
        out = g.atanD(v1);
      else if (p == 1)
        out = g.tanD(v0);
      else
        return false;
      return true;
    case 22:  // law of sines: side V0 opposite angle V2, side V1 opposite angle V3
      if (p == 0)
        out = v1 * g.sinD(v2) / g.sinD(v3);
      else if (p == 1)
        out = v0 * g.sinD(v3) / g.sinD(v2);
      else
        return false;  // an angle from its sine has two values: left to the law of cosines
      return true;
    default:
      return false;
  }
}

}  // namespace

GeoSolver::GeoSolver(VariableTable& table, Messenger* messenger) : m_table(table), m_messenger(messenger) {}

void GeoSolver::AssignResult(int index) {
  if (index < 0 || index >= m_table.size()) return;
  GeoVariable& v = m_table.at(index);
  if (v.state > 0) return;
  if (v.state == kUnknown && !v.isAuxiliary()) ++m_progress;
  if (m_code == kNumericOk) {
    if (!(m_result >= v.minimum)) {
      m_code = kBelowMinimum;
    } else if (m_result > v.maximum) {
      m_code = kAboveMaximum;
    } else {
      v.value = m_result;
      v.state = kKnown;
      return;
    }
  }
  v.state = kIncalculable;
}

void GeoSolver::assign(int index, double value, int code) {
  m_result = value;
  m_code = code;
  AssignResult(index);
}

void GeoSolver::resetToUnknown(int index) {
  if (index >= 0) m_table.at(index).state = kUnknown;
}

void GeoSolver::setFixedValue(std::string_view name, double value) { assign(lookupVariable(name), value); }

void GeoSolver::linkValues(std::string_view nameA, std::string_view nameB) {
  int a = lookupVariable(nameA);
  int b = lookupVariable(nameB);
  if (a < 0 || b < 0) return;
  int sa = state(a);
  int sb = state(b);
  if (sa <= 0) {
    if (sb == kIncalculable) {
      assign(a, 0.0, kNoSingleSolution);
      return;
    }
    if (sb == kKnown) {
      assign(a, value(b));
      return;
    }
  }
  if (sb > 0) return;
  if (sa == kIncalculable)
    assign(b, 0.0, kNoSingleSolution);
  else if (sa == kKnown)
    assign(b, value(a));
}

void GeoSolver::evalSum(std::string_view text) { evalEquation(text, false); }
void GeoSolver::evalProduct(std::string_view text) { evalEquation(text, true); }

const GeoSolver::ResolvedEquation* GeoSolver::resolveEquation(std::string_view text, bool product) {
  // The lists hand the same texts over and over (literals, or the relation
  // groups' texts rebuilt in buffers that come back at the same place): an
  // equation is parsed and its names looked up once per text and table.
  if (m_resolvedGeneration != m_table.generation() || m_resolved.size() > kResolvedCacheLimit) {
    m_resolved.clear();
    m_resolvedGeneration = m_table.generation();
  }
  ResolvedEquation& r = m_resolved[text.data()];
  if (r.valid && r.product == product && r.text == text) return &r;
  r = ResolvedEquation{};
  ParsedEquation eq;
  if (!parseEquation(text, product, eq)) return nullptr;
  for (int i = 0; i < eq.count; ++i) {
    const EquationTerm& t = eq.terms[static_cast<size_t>(i)];
    const int k = lookupVariable(t.name);
    if (k < 0) return nullptr;  // the lookup has shown its message; resolved again next time
    r.index[static_cast<size_t>(i)] = k;
    r.coefficient[static_cast<size_t>(i)] = t.coefficient;
    r.exponent[static_cast<size_t>(i)] = t.exponent;
  }
  r.count = eq.count;
  r.text = text;
  r.product = product;
  r.valid = true;
  return &r;
}

void GeoSolver::evalEquation(std::string_view text, bool product) {
  const ResolvedEquation* eq = resolveEquation(text, product);
  if (eq == nullptr) return;
  const auto& index = eq->index;
  int unknown = -1;
  int unknownCount = 0;
  bool incalculable = false;
  for (int i = 0; i < eq->count; ++i) {
    int s = state(index[static_cast<size_t>(i)]);
    if (s == kUnknown) {
      ++unknownCount;
      unknown = i;
    } else if (s < 0) {
      incalculable = true;
    }
  }
  if (unknownCount != 1) return;
  if (incalculable) {
    assign(index[static_cast<size_t>(unknown)], 0.0, kNoSingleSolution);
    return;
  }
  GuardedMath g;
  g.arm();
  auto termValue = [&](int i) {
    const double exponent = eq->exponent[static_cast<size_t>(i)];
    double w = value(index[static_cast<size_t>(i)]);
    double powered = exponent == 1.0 ? w : g.pow(w, exponent);
    return eq->coefficient[static_cast<size_t>(i)] * powered;
  };
  double m = 0.0;
  if (unknown > 0) {
    m = termValue(0);
    for (int i = 1; i < eq->count && !g.failed(); ++i) {
      if (i == unknown) continue;
      if (product) {
        if (value(index[static_cast<size_t>(i)]) == 0.0) {
          g.fail(kDivisionByZero);
          break;
        }
        m /= termValue(i);
      } else {
        m -= termValue(i);
      }
    }
  } else {
    m = product ? 1.0 : 0.0;
    for (int i = 1; i < eq->count && !g.failed(); ++i) {
      if (product)
        m *= termValue(i);
      else
        m += termValue(i);
    }
  }
  const double unknownExponent = eq->exponent[static_cast<size_t>(unknown)];
  double r = m / eq->coefficient[static_cast<size_t>(unknown)];
  if (!g.failed() && unknownExponent != 1.0) r = g.pow(r, 1.0 / unknownExponent);
  int code = g.finish(r);
  assign(index[static_cast<size_t>(unknown)], code == kNumericOk ? r : 0.0, code);
}

void GeoSolver::evalRelation(std::string_view text, int type) {
  std::array<std::string_view, kMaxRelationNames> names{};
  int count = 0;
  if (!splitRelation(text, names, count)) return;
  std::array<int, kMaxRelationNames> index{};
  for (int i = 0; i < count; ++i) {
    index[static_cast<size_t>(i)] = lookupVariable(names[static_cast<size_t>(i)]);
    if (index[static_cast<size_t>(i)] < 0) return;
  }
  for (int p = 0; p < count; ++p) {
    if (state(index[static_cast<size_t>(p)]) != kUnknown) continue;
    bool otherUnknown = false;
    bool otherIncalculable = false;
    std::array<double, kMaxRelationNames> v{};
    for (int i = 0; i < count; ++i) {
      if (i == p) continue;
      int s = state(index[static_cast<size_t>(i)]);
      if (s == kUnknown)
        otherUnknown = true;
      else if (s < 0)
        otherIncalculable = true;
      v[static_cast<size_t>(i)] = value(index[static_cast<size_t>(i)]);
    }
    if (otherUnknown) continue;
    if (otherIncalculable) {
      assign(index[static_cast<size_t>(p)], 0.0, kNoSingleSolution);
      continue;
    }
    GuardedMath g;
    g.arm();
    double out = 0.0;
    if (!relationFormula(type, p, v, g, out)) continue;
    int code = g.finish(out);
    assign(index[static_cast<size_t>(p)], code == kNumericOk ? out : 0.0, code);
  }
}

void GeoSolver::SolveFigure() {
  m_approximate = false;
  m_firstSweepCounter = 0;
  m_sweeps = 0;
  while (m_sweeps < kMaxSweeps) {
    int before = m_progress;
    if (m_sweep)
      m_sweep(*this, m_figure);
    else
      RunFigureList(*this, m_figure);
    ++m_sweeps;
    if (m_progress == before || m_progress >= kProgressLimit) return;
  }
}

void GeoSolver::ComputeFigure(int figure, FigureData& data) {
  m_figure = figure;
  m_data = &data;
  const int first = m_table.predefinedCount();
  // The constants "1", "AD" and "AP" are known to every equation; the
  // auxiliary names start unknown.
  for (int i = 0; i < first; ++i) {
    GeoVariable& v = m_table.at(i);
    v.state = v.isAuxiliary() ? kUnknown : kKnown;
    v.given = 0;
  }
  for (int i = first; i < m_table.size(); ++i) {
    m_table.at(i).state = kUnknown;
    m_table.at(i).given = 0;
  }
  m_progress = 0;
  std::vector<double> previous;
  if (m_simultaneous)
    for (int p : FigureParameters(m_table)) previous.push_back(m_table.at(p).value);
  for (int r = 0; r < data.rows && r < kKnownRowCapacity; ++r) {
    const KnownRow& row = data.row[static_cast<size_t>(r)];
    if (row.variable < first || row.variable >= m_table.size()) continue;
    GeoVariable& v = m_table.at(row.variable);
    v.given = 1;
    v.state = kKnown;
    v.value = row.value;
    ++m_progress;
  }
  SolveFigure();
  m_outcome = m_simultaneous ? CompleteSimultaneously(*this, data, previous) : SimultaneousOutcome::NotNeeded;
  m_data = nullptr;
}

}  // namespace qz
