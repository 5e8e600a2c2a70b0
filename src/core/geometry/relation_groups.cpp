#include "geometry/relation_groups.h"

#include <array>
#include <cmath>
#include <string>

#include "geometry/guarded_math.h"

namespace qz {

namespace {

template <size_t N>
bool lookupAll(GeoSolver& solver, const std::array<std::string_view, N>& names, std::array<int, N>& index) {
  for (size_t i = 0; i < N; ++i) {
    index[i] = solver.lookupVariable(names[i]);
    if (index[i] < 0) return false;
  }
  return true;
}

template <size_t N>
int countKnown(const GeoSolver& solver, const std::array<int, N>& index) {
  int n = 0;
  for (int i : index) n += solver.isKnown(i) ? 1 : 0;
  return n;
}

template <size_t N>
void resetAuxiliary(GeoSolver& solver, const std::array<std::string_view, N>& names,
                    const std::array<int, N>& index) {
  for (size_t i = 0; i < N; ++i) {
    if (!names[i].empty() && names[i][0] == 'x') solver.resetToUnknown(index[i]);
  }
}

std::string join(std::initializer_list<std::string_view> parts) {
  std::string s;
  for (std::string_view p : parts) s += p;
  return s;
}

// Slots of the right triangle's names.
enum RightSlot { kA, kB, kH, kAlpha, kBeta, kS, kP };

struct RightCombination {
  RightSlot unknown, first, second;
};

constexpr RightCombination kRightCombinations[32] = {
    {kAlpha, kA, kB}, {kAlpha, kA, kH}, {kAlpha, kB, kH}, {kA, kB, kAlpha}, {kA, kH, kAlpha},
    {kB, kH, kAlpha}, {kB, kA, kAlpha}, {kH, kA, kAlpha}, {kH, kB, kAlpha}, {kH, kA, kB},
    {kA, kB, kH},     {kB, kA, kH},     {kS, kA, kB},     {kS, kA, kH},     {kS, kB, kH},
    {kS, kA, kAlpha}, {kS, kB, kAlpha}, {kS, kH, kAlpha}, {kA, kS, kB},     {kB, kS, kA},
    {kAlpha, kA, kS}, {kAlpha, kS, kB}, {kA, kS, kAlpha}, {kB, kS, kBeta},  {kH, kS, kAlpha},
    {kH, kS, kA},     {kH, kS, kB},     {kP, kA, kB},     {kP, kA, kAlpha}, {kA, kP, kAlpha},
    {kBeta, kP, kA},  {kAlpha, kP, kB},
};

// Value of combination `c` from the known values `v` of the seven slots.
double rightFormula(int c, const std::array<double, 7>& v, const std::array<bool, 7>& negativeKnown,
                    GuardedMath& g) {
  const double a = v[kA], b = v[kB], h = v[kH], al = v[kAlpha], be = v[kBeta], s = v[kS], p = v[kP];
  switch (c) {
    case 0:
      if (b == 0.0 && a != 0.0) return 90.0;
      if (a == 0.0 && b != 0.0) return 0.0;
      return g.angleD(a, b);
    case 3:
      return b * g.tanD(al);
    case 4:
      return h * g.sinD(al);
    case 5:
      return h * g.cosD(al);
    case 6:
      return a / g.tanD(al);
    case 7:
      return a / g.sinD(al);
    case 8:
      return b / g.cosD(al);
    case 9:
      return g.sqrt(g.sq(a) + g.sq(b));
    case 10: {
      double r = g.sqrt(g.sq(h) - g.sq(b));
      return negativeKnown[kAlpha] ? -r : r;
    }
    case 11: {
      double r = g.sqrt(g.sq(h) - g.sq(a));
      return negativeKnown[kBeta] ? -r : r;
    }
    case 12:
      return a * b * 0.5;
    case 13: {
      double r = g.sqrt(g.sq(h) - g.sq(a)) * a * 0.5;
      return negativeKnown[kBeta] ? -r : r;
    }
    case 14: {
      double r = g.sqrt(g.sq(h) - g.sq(b)) * b * 0.5;
      return negativeKnown[kBeta] ? -r : r;
    }
    case 15:
      return g.sq(a) / g.tanD(al) * 0.5;
    case 16:
      return g.sq(b) * g.tanD(al) * 0.5;
    case 17:
      return g.sq(h) * g.cosD(al) * g.sinD(al) * 0.5;
    case 18:
      return 2.0 * s / b;
    case 19:
      return 2.0 * s / a;
    case 20:
      if (a != 0.0 && s == 0.0) return 90.0;
      return g.angleD(g.sq(a), 2.0 * s);
    case 21:
      if (s != 0.0 && b == 0.0) return 90.0;
      return g.angleD(2.0 * s, g.sq(b));
    case 22: {
      double r = g.sqrt(g.tanD(al) * 2.0 * s);
      return al < 0.0 ? -r : r;
    }
    case 23: {
      double r = g.sqrt(g.tanD(be) * 2.0 * s);
      return be < 0.0 ? -r : r;
    }
    case 24:
      return g.sqrt(2.0 * s / (g.cosD(al) * g.sinD(al)));
    case 25:
      return g.sqrt(4.0 * g.sq(s) / g.sq(a) + g.sq(a));
    case 26:
      return g.sqrt(4.0 * g.sq(s) / g.sq(b) + g.sq(b));
    case 27:
      return g.sqrt(g.sq(a) + g.sq(b)) + b + a;
    case 28: {
      double ct = 1.0 / g.tanD(al);
      return a * (ct + g.sqrt(ct * ct + 1.0) + 1.0);
    }
    case 29: {
      double ct = 1.0 / g.tanD(al);
      return p / (ct + g.sqrt(ct * ct + 1.0) + 1.0);
    }
    case 30:
      return 2.0 * g.atanD(g.quad(p / a, 2.0, 2.0 - p / a, 1.0));
    case 31:
      return 2.0 * g.atanD(g.quad(p / b, 2.0, 2.0 - p / b, 1.0));
    default:
      return 0.0;
  }
}

}  // namespace

void RightTriangle(GeoSolver& solver, std::string_view a, std::string_view b, std::string_view h,
                   std::string_view alpha, std::string_view beta, std::string_view s, std::string_view p) {
  const std::array<std::string_view, 7> names{a, b, h, alpha, beta, s, p};
  std::array<int, 7> index{};
  if (!lookupAll(solver, names, index)) return;
  resetAuxiliary(solver, names, index);
  int known = countKnown(solver, index);
  if (known < 1 || known > 6) return;
  for (int round = 0; round < 233; ++round) {
    const int before = known;
    // Angle step: the two acute angles complete each other to 90 degrees.
    for (auto [first, second] : {std::pair{kAlpha, kBeta}, std::pair{kBeta, kAlpha}}) {
      int f = index[first];
      int sIndex = index[second];
      if (solver.state(f) != kUnknown) continue;
      if (solver.isKnown(sIndex))
        solver.assign(f, 90.0 - solver.value(sIndex));
      else if (solver.state(sIndex) < 0)
        solver.assign(f, 0.0, kNoSingleSolution);
    }
    known = countKnown(solver, index);
    if (known < 2 || known > 6) return;
    for (int c = 0; c < 32; ++c) {
      if (c == 1 || c == 2) continue;  // an angle from a leg and the hypotenuse goes through the other leg
      const RightCombination& rc = kRightCombinations[c];
      int target = index[rc.unknown];
      if (solver.state(target) != kUnknown) continue;
      int d1 = index[rc.first];
      int d2 = index[rc.second];
      if (solver.state(d1) == kUnknown || solver.state(d2) == kUnknown) continue;
      if (solver.state(d1) < 0 || solver.state(d2) < 0) {
        solver.assign(target, 0.0, kNoSingleSolution);
        continue;
      }
      std::array<double, 7> v{};
      std::array<bool, 7> negativeKnown{};
      for (size_t i = 0; i < 7; ++i) {
        v[i] = solver.value(index[i]);
        negativeKnown[i] = solver.isKnown(index[i]) && v[i] < 0.0;
      }
      GuardedMath g;
      g.arm();
      double r = rightFormula(c, v, negativeKnown, g);
      int code = g.finish(r);
      solver.assign(target, code == kNumericOk ? r : 0.0, code);
    }
    known = countKnown(solver, index);
    if (known <= before || known > 6) return;
  }
}

void Triangle(GeoSolver& solver, std::string_view s1, std::string_view s2, std::string_view s3,
              std::string_view angleA, std::string_view angleB, std::string_view angleC, std::string_view s,
              std::string_view h) {
  const std::array<std::string_view, 8> names{s1, s2, s3, angleA, angleB, angleC, s, h};
  std::array<int, 8> index{};
  if (!lookupAll(solver, names, index)) return;
  resetAuxiliary(solver, names, index);
  int known = countKnown(solver, index);
  if (known < 2 || known > 7) return;
  const std::string sumAngles = join({"AP=", angleA, "+", angleB, "+", angleC});
  const std::string cosA = join({angleA, "=", s1, "|", s2, "|", s3});
  const std::string cosB = join({angleB, "=", s2, "|", s3, "|", s1});
  const std::string cosC = join({angleC, "=", s3, "|", s1, "|", s2});
  const std::string heron = join({h, "=", s1, "|", s2, "|", s3});
  const std::string height = join({h, "=", s1, "|", angleB, "|", angleC});
  const std::string area = join({"2.*", s, "=", s1, "*", h});
  // Two angles and one side fix the other sides, which the cosines cannot.
  const std::string sinesAB = join({s1, "=", s2, "|", angleA, "|", angleB});
  const std::string sinesBC = join({s2, "=", s3, "|", angleB, "|", angleC});
  const std::string sinesCA = join({s3, "=", s1, "|", angleC, "|", angleA});
  for (int round = 0; round < 233; ++round) {
    const int before = solver.progress();
    solver.evalSum(sumAngles);
    solver.evalRelation(cosA, 11);
    solver.evalRelation(cosB, 11);
    solver.evalRelation(cosC, 11);
    solver.evalRelation(heron, 8);
    solver.evalRelation(height, 9);
    solver.evalProduct(area);
    solver.evalRelation(sinesAB, 22);
    solver.evalRelation(sinesBC, 22);
    solver.evalRelation(sinesCA, 22);
    if (solver.progress() == before) return;
  }
}

void Sector(GeoSolver& solver, std::string_view r, std::string_view a, std::string_view p,
            std::string_view s) {
  const std::array<std::string_view, 4> names{r, a, p, s};
  std::array<int, 4> index{};
  if (!lookupAll(solver, names, index)) return;
  int known = countKnown(solver, index);
  if (known < 2 || known > 3) return;
  enum { R, A, P, S };
  struct Combination {
    int unknown, first, second;
  };
  static constexpr Combination kCombinations[12] = {
      {P, R, A}, {A, P, R}, {R, P, A}, {S, R, A}, {A, S, R}, {R, S, A},
      {S, P, R}, {P, S, R}, {R, S, P}, {S, P, A}, {P, A, S}, {A, P, S},
  };
  for (int round = 0; round < 234; ++round) {
    const int before = known;
    for (int c = 0; c < 12; ++c) {
      const Combination& cb = kCombinations[c];
      int target = index[static_cast<size_t>(cb.unknown)];
      if (solver.state(target) != kUnknown) continue;
      int d1 = index[static_cast<size_t>(cb.first)];
      int d2 = index[static_cast<size_t>(cb.second)];
      if (solver.state(d1) == kUnknown || solver.state(d2) == kUnknown) continue;
      if (solver.state(d1) < 0 || solver.state(d2) < 0) {
        solver.assign(target, 0.0, kNoSingleSolution);
        continue;
      }
      const double vr = solver.value(index[R]), va = solver.value(index[A]);
      const double vp = solver.value(index[P]), vs = solver.value(index[S]);
      GuardedMath g;
      g.arm();
      double out = 0.0;
      switch (c) {
        case 0:
          out = vr * va * 0.01745329251994;
          break;
        case 1:
          out = vp * 57.2957795130823 / vr;
          break;
        case 2:
          out = vp * 57.2957795130823 / va;
          break;
        case 3:
          out = g.sq(vr) * va * 0.00872664625997;
          break;
        case 4:
          out = vs * 114.5915590261646 / g.sq(vr);
          break;
        case 5:
          out = g.sqrt(vs * 114.5915590261646 / va);
          break;
        case 6:
          out = vp * vr * 0.5;
          break;
        case 7:
          out = 2.0 * vs / vr;
          break;
        case 8:
          out = 2.0 * vs / vp;
          break;
        case 9:
          out = g.sq(vp) * 57.2957795130823 / va * 0.5;
          break;
        case 10:
          out = g.sqrt(vs * va * 0.03490658503988);
          break;
        case 11:
          out = g.sq(vp) * 57.2957795130823 / vs * 0.5;
          break;
      }
      int code = g.finish(out);
      solver.assign(target, code == kNumericOk ? out : 0.0, code);
    }
    known = countKnown(solver, index);
    if (known <= before || known == 4) return;
  }
}

void Segment(GeoSolver& solver, std::string_view r, std::string_view a, std::string_view a1,
             std::string_view a2, std::string_view chord, std::string_view halfChord, std::string_view arc,
             std::string_view h, std::string_view ht, std::string_view s, std::string_view sst,
             std::string_view ssc) {
  const std::array<std::string_view, 12> names{r, a, a1, a2, chord, halfChord, arc, h, ht, s, sst, ssc};
  std::array<int, 12> index{};
  if (!lookupAll(solver, names, index)) return;
  resetAuxiliary(solver, names, index);
  int known = countKnown(solver, index);
  if (known < 1 || known > 11) return;
  const std::string angle = join({a, "=2.*", a1});
  const std::string complement = join({"AD=", a1, "+", a2});
  const std::string chordText = join({chord, "=2.*", halfChord});
  const std::string radius = join({r, "=", h, "+", ht});
  const std::string areas = join({ssc, "=2.*", sst, "+", s});
  const std::string segmentArea = join({s, "=", r, "|", a});
  const std::string distance = join({ht, "=", r, "|", a1});
  for (int round = 0; round < 233; ++round) {
    const int before = known;
    solver.evalSum(angle);
    solver.evalSum(complement);
    solver.evalSum(chordText);
    solver.evalSum(radius);
    solver.evalSum(areas);
    solver.evalRelation(segmentArea, 14);
    Sector(solver, r, a, arc, ssc);
    solver.evalRelation(distance, 18);
    RightTriangle(solver, halfChord, ht, r, a1, a2, sst, "xP");
    known = countKnown(solver, index);
    if (known <= before || known == 12) return;
  }
}

void CyclicQuad(GeoSolver& solver) {
  static constexpr std::array<std::string_view, 10> kNames{"R",  "L1", "L2", "L3", "L4",
                                                           "S1", "S2", "S3", "S4", "S"};
  std::array<int, 10> index{};
  if (!lookupAll(solver, kNames, index)) return;
  for (int i : {0, 1, 2, 3, 4, 9}) {
    if (!solver.isKnown(index[static_cast<size_t>(i)])) return;
  }
  for (int i = 5; i <= 8; ++i) {
    if (solver.state(index[static_cast<size_t>(i)]) != kUnknown) return;
  }
  const double radius = solver.value(index[0]);
  const double area = solver.value(index[9]);
  GuardedMath g;
  g.arm();
  std::array<double, 4> h{};
  for (size_t i = 0; i < 4; ++i) {
    double side = solver.value(index[i + 1]);
    h[i] = g.sqrt(g.sq(radius) - g.sq(side) * 0.25) * side * 0.5;
  }
  int code = g.finish(h[0] + h[1] + h[2] + h[3]);
  if (code != kNumericOk) {
    for (size_t i = 0; i < 4; ++i) solver.assign(index[i + 5], 0.0, code);
    return;
  }
  // Bit i of a pattern set: the centre lies outside side i (negative area).
  double best = 1e300;
  int bestPattern = 0;
  for (int pattern = 0; pattern < 16; ++pattern) {
    double sum = 0.0;
    for (size_t i = 0; i < 4; ++i) sum += (pattern >> i & 1) ? -h[i] : h[i];
    double diff = std::fabs(sum - area);
    if (diff < best) {
      best = diff;
      bestPattern = pattern;
    }
  }
  for (size_t i = 0; i < 4; ++i) {
    solver.assign(index[i + 5], (bestPattern >> i & 1) ? -h[i] : h[i]);
  }
}

}  // namespace qz
