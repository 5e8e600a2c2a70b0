// The whole-triangle and parabola solvers, through the triangle figures 21
// (isosceles), 22 (any) and 23 (right) and the parabolic segment 18.
#include "geometry/triangle_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "figure_harness.h"
#include "numbers/string_table.h"

namespace qz {
namespace {

using testing::FigureHarness;

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;

// Checks the relations every triangle satisfies on the 19 computed quantities.
void expectConsistentTriangle(const FigureHarness& h) {
  const double a1 = h.value("A1") * kDeg, a2 = h.value("A2") * kDeg, a3 = h.value("A3") * kDeg;
  const double l1 = h.value("L1"), l2 = h.value("L2"), l3 = h.value("L3");
  const double s = h.value("S"), p = h.value("P");
  EXPECT_NEAR(h.value("A1") + h.value("A2") + h.value("A3"), 180.0, 1e-9);
  EXPECT_NEAR(l1 / std::sin(a1), l2 / std::sin(a2), 1e-9 * l1);
  EXPECT_NEAR(l1 / std::sin(a1), l3 / std::sin(a3), 1e-9 * l1);
  EXPECT_NEAR(l1 * l1, l2 * l2 + l3 * l3 - 2 * l2 * l3 * std::cos(a1), 1e-9 * l1 * l1);
  EXPECT_NEAR(p, l1 + l2 + l3, 1e-9 * p);
  const double half = p / 2;
  EXPECT_NEAR(s, std::sqrt(half * (half - l1) * (half - l2) * (half - l3)), 1e-9 * s);
  EXPECT_NEAR(h.value("H1"), 2 * s / l1, 1e-9 * l1);
  EXPECT_NEAR(h.value("H3"), 2 * s / l3, 1e-9 * l1);
  EXPECT_NEAR(h.value("r"), s / half, 1e-9 * l1);
  EXPECT_NEAR(h.value("R"), l1 * l2 * l3 / (4 * s), 1e-9 * l1);
  EXPECT_NEAR(h.value("M1"), 0.5 * std::sqrt(2 * l2 * l2 + 2 * l3 * l3 - l1 * l1), 1e-9 * l1);
  EXPECT_NEAR(h.value("B2"), 2 * l1 * l3 * std::cos(a2 / 2) / (l1 + l3), 1e-9 * l1);
}

struct TriangleCase {
  const char* label;
  int figure;
  std::vector<std::pair<const char*, double>> given;
  double l1, l2, l3;    // expected sides
  bool mirror = false;  // L2 and L3 may come exchanged
};

TEST(TriangleSolver, DataThatFixTheTriangleGiveExactResults) {
  // Triangle 13-14-15: heights 168/13, 12, 11.2; angles from the cosines.
  const double a1 = std::acos((14.0 * 14 + 15 * 15 - 13 * 13) / (2.0 * 14 * 15)) / kDeg;
  const double a2 = std::acos((13.0 * 13 + 15 * 15 - 14 * 14) / (2.0 * 13 * 15)) / kDeg;
  const double a3 = 180 - a1 - a2;
  const double m1 = 0.5 * std::sqrt(673.0), m2 = 0.5 * std::sqrt(592.0), m3 = 0.5 * std::sqrt(505.0);
  const std::vector<TriangleCase> cases = {
      {"three sides", 22, {{"L1", 13}, {"L2", 14}, {"L3", 15}}, 13, 14, 15},
      {"two sides and the angle between", 22, {{"L1", 13}, {"L2", 14}, {"A3", a3}}, 13, 14, 15},
      {"side and two angles", 22, {{"L1", 13}, {"A1", a1}, {"A2", a2}}, 13, 14, 15},
      {"side, angle opposite and another side", 22, {{"A3", a3}, {"L3", 15}, {"L1", 13}}, 13, 14, 15},
      {"angle, area and a side", 22, {{"A1", a1}, {"L2", 14}, {"S", 84}}, 13, 14, 15},
      // L1, S and P cannot tell L2 from L3: either mirror image is a solution.
      {"perimeter, area and a side", 22, {{"L1", 13}, {"S", 84}, {"P", 42}}, 13, 14, 15, true},
      {"three heights", 22, {{"H1", 168.0 / 13}, {"H2", 12}, {"H3", 11.2}}, 13, 14, 15},
      {"three medians", 22, {{"M1", m1}, {"M2", m2}, {"M3", m3}}, 13, 14, 15},
      {"right angle given", 22, {{"A3", 90}, {"L1", 3}, {"L2", 4}}, 3, 4, 5},
      {"right: two legs", 23, {{"L1", 3}, {"L2", 4}}, 3, 4, 5},
      {"right: leg and hypotenuse", 23, {{"L2", 4}, {"L3", 5}}, 3, 4, 5},
      {"right: hypotenuse height and leg", 23, {{"H3", 2.4}, {"L1", 3}}, 3, 4, 5},
      {"right: perimeter and area", 23, {{"P", 12}, {"S", 6}}, 3, 4, 5},
      {"isosceles: base and leg", 21, {{"L1", 6}, {"L2", 5}}, 6, 5, 5},
      {"isosceles: base and height", 21, {{"L1", 6}, {"H1", 4}}, 6, 5, 5},
      {"isosceles in figure 22", 22, {{"L1", 6}, {"L2", 5}, {"L3", 5}}, 6, 5, 5},
      {"isosceles in figure 22, equal sides 3 and 1", 22, {{"L1", 5}, {"L2", 6}, {"L3", 5}}, 5, 6, 5},
      {"isosceles in figure 22, equal sides 1 and 2", 22, {{"L1", 5}, {"L2", 5}, {"L3", 6}}, 5, 5, 6},
      {"isosceles in figure 22 from two equal heights", 22, {{"H1", 4.8}, {"H2", 4.8}, {"L3", 6}}, 5, 5, 6},
  };
  for (const TriangleCase& c : cases) {
    SCOPED_TRACE(c.label);
    FigureHarness h(c.figure);
    for (auto [name, v] : c.given) h.give(name, v);
    h.compute(true);
    EXPECT_FIGURE_VALUE(h, "L1", c.l1, 1e-9);
    if (c.mirror) {
      EXPECT_NEAR(std::min(h.value("L2"), h.value("L3")), c.l2, 1e-9 * c.l2);
      EXPECT_NEAR(std::max(h.value("L2"), h.value("L3")), c.l3, 1e-9 * c.l3);
    } else {
      EXPECT_FIGURE_VALUE(h, "L2", c.l2, 1e-9);
      EXPECT_FIGURE_VALUE(h, "L3", c.l3, 1e-9);
    }
    for (const char* n :
         {"A1", "A2", "A3", "S", "P", "H1", "H2", "H3", "M1", "M2", "M3", "B1", "B2", "B3", "r", "R"}) {
      EXPECT_EQ(h.state(n), kKnown) << n;
    }
    expectConsistentTriangle(h);
    EXPECT_FALSE(h.solver().approximate());
    EXPECT_TRUE(h.messenger().boxes().empty());
  }
}

TEST(TriangleSolver, ThreeHeightsConvergeWithoutTheApproximateNote) {
  FigureHarness h(22);
  h.give("H1", 168.0 / 13);
  h.give("H2", 12);
  h.give("H3", 11.2);
  h.compute();
  EXPECT_FIGURE_VALUE(h, "L2", 14, 1e-10);
  EXPECT_FALSE(h.solver().approximate());
}

TEST(TriangleSolver, ThreeBisectorsFromAcuteToFlatTriangles) {
  // Bisector lengths from their textbook formula √(bc((b+c)² − a²))/(b+c).
  auto bis = [](double x, double y, double opposite) {
    return std::sqrt(x * y * ((x + y) * (x + y) - opposite * opposite)) / (x + y);
  };
  const double triangles[][3] = {{13, 14, 15}, {3, 4, 5}, {2, 10, 11.5}, {5, 5, 9.9}, {7, 20, 26}};
  for (const auto& t : triangles) {
    SCOPED_TRACE(std::to_string(t[0]) + " " + std::to_string(t[1]) + " " + std::to_string(t[2]));
    FigureHarness h(22);
    h.give("B1", bis(t[1], t[2], t[0]));
    h.give("B2", bis(t[0], t[2], t[1]));
    h.give("B3", bis(t[0], t[1], t[2]));
    h.compute();
    EXPECT_FIGURE_VALUE(h, "L1", t[0], 1e-9);
    EXPECT_FIGURE_VALUE(h, "L2", t[1], 1e-9);
    EXPECT_FIGURE_VALUE(h, "L3", t[2], 1e-9);
    EXPECT_FALSE(h.solver().approximate());
    expectConsistentTriangle(h);
  }
}

TEST(TriangleSolver, DataThatCannotFormATriangleMakeEverythingIncalculable) {
  const std::vector<std::pair<const char*, std::vector<std::pair<const char*, double>>>> cases = {
      {"sides 1, 2, 5", {{"L1", 1}, {"L2", 2}, {"L3", 5}}},
      {"angles over 180", {{"A1", 100}, {"A2", 100}, {"L1", 3}}},
      // Sides go as the inverse heights: 1, 1/10, 1/10 and 1, 1/3, 1/10 cannot close.
      {"heights 1, 10, 10", {{"H1", 1}, {"H2", 10}, {"H3", 10}}},
      {"heights 1, 3, 10", {{"H1", 1}, {"H2", 3}, {"H3", 10}}},
      {"zero side", {{"L1", 0}, {"L2", 2}, {"L3", 2}}},
  };
  for (const auto& [label, given] : cases) {
    SCOPED_TRACE(label);
    FigureHarness h(22);
    for (auto [name, v] : given) h.give(name, v);
    h.compute();
    for (const char* n : {"S", "P", "R", "r", "M1"}) EXPECT_NE(h.state(n), kKnown) << n;
    for (int i = h.table().predefinedCount(); i < h.table().size(); ++i) {
      EXPECT_TRUE(std::isfinite(h.table().at(i).value)) << h.table().at(i).name;
    }
  }
}

TEST(TriangleSolver, DataTiedByTheShapeFamilyFixNothing) {
  struct Case {
    const char* label;
    int figure;
    std::vector<std::pair<const char*, double>> given;
    const char* unknown;  // stays Unknown: the data do not fix the shape
  };
  const std::vector<Case> cases = {
      {"hypotenuse and circumradius", 23, {{"L3", 10}, {"R", 5}}, "L1"},
      {"apex height and median", 21, {{"H1", 4}, {"M1", 4}}, "L1"},
      {"side, its height and the area", 22, {{"L1", 10}, {"H1", 4}, {"S", 20}}, "L2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FigureHarness h(c.figure);
    for (auto [name, v] : c.given) h.give(name, v);
    h.compute(true);
    EXPECT_EQ(h.state(c.unknown), kUnknown);
    EXPECT_TRUE(h.messenger().boxes().empty());
  }
  // The same tie with values that contradict it cannot be a triangle.
  FigureHarness h(23);
  h.give("L3", 10);
  h.give("R", 3);
  h.compute();
  EXPECT_EQ(h.state("L1"), kIncalculable);
}

TEST(TriangleSolver, AmbiguousSideSideAngleIsNotChosen) {
  // A1 = 30 opposite L1 = 6 with L3 = 10: two triangles fit.
  FigureHarness h(22);
  h.give("A1", 30);
  h.give("L1", 6);
  h.give("L3", 10);
  h.compute();
  EXPECT_NE(h.state("L2"), kKnown);
  EXPECT_NE(h.state("S"), kKnown);
}

TEST(TriangleSolver, IsoscelesPerimeterOverCircumradiusAtTheEquilateralRatio) {
  FigureHarness h(21);
  h.give("R", 2);
  h.give("P", 2 * 5.19615242270664);
  h.compute(true);
  EXPECT_FIGURE_VALUE(h, "A1", 60, 1e-9);
  EXPECT_FIGURE_VALUE(h, "A2", 60, 1e-9);
  EXPECT_FIGURE_VALUE(h, "L1", 2 * std::sqrt(3.0), 1e-6);
  EXPECT_TRUE(h.messenger().boxes().empty());
}

TEST(TriangleSolver, IsoscelesTwoSolutionsWarnOnlyOnExplicitRequest) {
  // P/R = 5 lies between 4 and 3·√3: an acute and an obtuse apex both fit.
  for (bool explicitRequest : {false, true}) {
    SCOPED_TRACE(explicitRequest ? "CALCULER" : "typed value");
    FigureHarness h(21);
    h.give("R", 1);
    h.give("P", 5);
    h.compute(explicitRequest);
    ASSERT_EQ(h.messenger().boxes().size(), explicitRequest ? 1u : 0u);
    if (explicitRequest) {
      EXPECT_EQ(h.messenger().boxes()[0].text, LoadString(144) + "\n\n" + LoadString(103));
      EXPECT_EQ(h.messenger().boxes()[0].style, MessageStyle::Information);
    }
    // The computation goes on with one of the solutions.
    EXPECT_FIGURE_VALUE(h, "P", 5, 1e-12);
    EXPECT_NEAR(h.value("L1") + 2 * h.value("L2"), 5, 1e-9);
    EXPECT_NEAR(h.value("L1") / std::sin(h.value("A1") * kDeg), 2.0, 1e-9);
  }
}

TEST(TriangleSolver, IsoscelesPerimeterOverCircumradiusAboveTheEquilateralIsImpossible) {
  FigureHarness h(21);
  h.give("R", 1);
  h.give("P", 5.3);
  h.compute(true);
  EXPECT_EQ(h.state("L1"), kIncalculable);
  EXPECT_TRUE(h.messenger().boxes().empty());
}

TEST(TriangleSolver, IsoscelesAreaOverCircumradius) {
  // S/R² = 1: below the equilateral's 3√3/4, an acute and an obtuse apex fit.
  FigureHarness h(21);
  h.give("R", 1);
  h.give("S", 1);
  h.compute(true);
  EXPECT_EQ(h.messenger().boxes().size(), 1u);
  EXPECT_FIGURE_VALUE(h, "S", 1, 1e-12);
  EXPECT_NEAR(0.5 * h.value("L2") * h.value("L2") * std::sin(h.value("A1") * kDeg), 1.0, 1e-9);

  FigureHarness eq(21);
  eq.give("R", 1);
  eq.give("S", 3 * std::sqrt(3.0) / 4);
  eq.compute(true);
  EXPECT_TRUE(eq.messenger().boxes().empty());
  EXPECT_FIGURE_VALUE(eq, "A1", 60, 1e-9);
}

TEST(TriangleSolver, EquilateralBranchOfTheIsoscelesFigureSkipsTheSolver) {
  FigureHarness h(21);
  h.give("L1", 2);
  h.give("L2", 2);
  h.compute(true);
  EXPECT_EQ(h.solver().firstSweepArrivals(), 0);
  const double s3 = std::sqrt(3.0);
  EXPECT_FIGURE_VALUE(h, "H1", s3, 1e-9);
  EXPECT_FIGURE_VALUE(h, "S", s3, 1e-9);
  EXPECT_FIGURE_VALUE(h, "R", 2 / s3, 1e-9);
  EXPECT_FIGURE_VALUE(h, "r", s3 / 3, 1e-9);
  EXPECT_FIGURE_VALUE(h, "A1", 60, 1e-9);

  FigureHarness other(21);
  other.give("L1", 6);
  other.give("L2", 5);
  other.compute();
  EXPECT_EQ(other.solver().firstSweepArrivals(), other.solver().sweeps());
}

TEST(TriangleSolver, EquilateralTestOfTheGeneralTriangle) {
  FigureHarness h(22);
  h.give("L1", 3);
  h.give("L2", 3);
  h.give("L3", 3);
  h.compute();
  EXPECT_EQ(h.solver().firstSweepArrivals(), 0);
  EXPECT_FIGURE_VALUE(h, "H2", 1.5 * std::sqrt(3.0), 1e-9);
  EXPECT_FIGURE_VALUE(h, "M3", 1.5 * std::sqrt(3.0), 1e-9);
  EXPECT_FIGURE_VALUE(h, "S", 9 * std::sqrt(3.0) / 4, 1e-9);
}

TEST(TriangleSolver, SolverUsesGivenValuesOnly) {
  // Figure 23: A1 + A2 = 90 gives A2 from A1 in the list; the solver must
  // still see the data as "an angle and a side".
  FigureHarness h(23);
  h.give("A1", 30);
  h.give("L3", 10);
  h.compute();
  EXPECT_FIGURE_VALUE(h, "L1", 5, 1e-9);
  EXPECT_FIGURE_VALUE(h, "L2", 5 * std::sqrt(3.0), 1e-9);
}

TEST(ParabolaSolver, SegmentOfBaseFourAndHeightOne) {
  FigureHarness h(18);
  h.give("LB", 4);
  h.give("H", 1);
  h.compute();
  EXPECT_EQ(h.value("S"), 2.6666666666666665);
  EXPECT_NEAR(h.value("LA"), 4 * parabolaArc(0.25), 1e-12);
  EXPECT_NEAR(parabolaArc(0.25), std::sqrt(0.5) + std::log(1 + std::sqrt(2.0)) * 0.5, 1e-15);
}

TEST(ParabolaSolver, FromArcAndHeight) {
  const double arc = 4 * parabolaArc(0.25);
  FigureHarness h(18);
  h.give("LA", arc);
  h.give("H", 1);
  h.compute();
  EXPECT_FIGURE_VALUE(h, "LB", 4, 1e-10);
  EXPECT_FIGURE_VALUE(h, "S", 8.0 / 3, 1e-10);
}

TEST(ParabolaSolver, ArcShorterThanTheBaseIsImpossible) {
  FigureHarness h(18);
  h.give("LB", 4);
  h.give("LA", 3);
  h.compute();
  EXPECT_EQ(h.state("H"), kIncalculable);
  EXPECT_EQ(h.state("S"), kIncalculable);
}

}  // namespace
}  // namespace qz
