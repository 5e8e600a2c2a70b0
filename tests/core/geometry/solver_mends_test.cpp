// Figures solved backwards from sets of known values that once went wrong:
// each case loads the shipped catalogue, gives a few values of a figure whose
// full solution is known and checks what the solver makes of them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "figure_harness.h"
#include "geometry/catalogue_loader.h"
#include "geometry/figure_lists.h"
#include "geometry/geo_solver.h"
#include "platform/scripted_messenger.h"

namespace qz {
namespace {

using testing::catalogueFolder;

using Values = std::vector<std::pair<const char*, double>>;

struct MendCase {
  const char* label;
  int figure;
  int orientation;
  Values given;
  Values expected;               // computed, with these values
  std::vector<const char*> open;  // left unknown: the data do not settle them
};

// The catalogue's figure, computed from `given` only.
struct Solved {
  ScriptedMessenger messenger;
  VariableTable table{&messenger};
  FigureData data;
  CatalogueLoader loader{catalogueFolder(), messenger};
  GeoSolver solver{table, &messenger};

  explicit Solved(const MendCase& c) {
    EXPECT_TRUE(loader.LoadFigure(figureDimension(c.figure), c.figure, 0, table, data));
    // No values given: the figure's own starting data.
    if (!c.given.empty()) data.clear();
    for (const auto& [name, value] : c.given) {
      int i = table.lookupVariable(name, true);
      EXPECT_GE(i, 0) << name;
      if (i < 0) continue;
      table.at(i).value = value;
      EXPECT_TRUE(data.addRow(table, i)) << name;
      data.row[static_cast<size_t>(data.rows - 1)].value = value;
    }
    data.orientation = c.orientation;
    solver.ComputeFigure(c.figure, data);
  }
  int state(const char* name) const {
    int i = table.lookupVariable(name, true);
    EXPECT_GE(i, 0) << name;
    return i < 0 ? kIncalculable : table.at(i).state;
  }
  double value(const char* name) const { return table.at(table.lookupVariable(name, true)).value; }
};

void check(const MendCase& c) {
  SCOPED_TRACE(c.label);
  Solved s(c);
  for (const auto& [name, expected] : c.expected) {
    EXPECT_EQ(s.state(name), kKnown) << name;
    EXPECT_NEAR(s.value(name), expected, 1e-8 * std::max(1.0, std::fabs(expected))) << name;
  }
  for (const char* name : c.open) EXPECT_EQ(s.state(name), kUnknown) << name;
}

// Parallelogram L1 = 8, L2 = 5, A1 = 60: diagonals √129 and 7, height 5·sin 60.
const std::vector<MendCase> kQuadraticRoots = {
    {"two positive roots: the diagonal comes from the sides",
     10,
     kOrientationRight,
     {{"H", 4.330127018922193}, {"A1", 60}, {"A5", 38.213210701738184}},
     {{"D1", std::sqrt(129.0)}, {"D2", 7}, {"L1", 8}, {"L2", 5}, {"S", 20 * std::sqrt(3.0)}, {"P", 26}},
     {}},
    {"the forward direction is unchanged",
     10,
     kOrientationNone,
     {{"L1", 8}, {"L2", 5}, {"A1", 60}},
     {{"D1", std::sqrt(129.0)}, {"D2", 7}, {"H", 4.330127018922193}, {"A5", 38.213210701738184}},
     {}},
    {"one positive root: the side from a diagonal",
     10,
     kOrientationNone,
     {{"D2", 7}, {"D1", std::sqrt(129.0)}, {"A4", 22.41091053100132}, {"A1", 60}},
     {{"L1", 8}, {"L2", 5}},
     {}},
};

TEST(SolverMends, ParallelogramTakesOnlyASinglePositiveRoot) {
  for (const MendCase& c : kQuadraticRoots) check(c);
}

// Right triangle 3-4-5: L1 = 3 opposite A1, L2 = 4 opposite A2, right angle A3.
const std::vector<MendCase> kRightTriangle = {
    {"area and half a leg",
     23,
     kOrientationNone,
     {{"S", 6}, {"LM21", 2}},
     {{"L1", 3},
      {"L2", 4},
      {"L3", 5},
      {"A1", 36.86989764584402},
      {"A2", 53.13010235415598},
      {"A3", 90},
      {"M3", 2.5},
      {"M1", std::sqrt(18.25)},
      {"M2", std::sqrt(13.0)}},
     {}},
    {"the legs",
     23,
     kOrientationNone,
     {{"L1", 3}, {"L2", 4}},
     {{"A2", 53.13010235415598}, {"A3", 90}, {"AM26", 2 * 36.86989764584402}, {"AM25", 86.82016988013578}},
     {}},
};

TEST(SolverMends, RightTriangleNamesEachAngleOnce) {
  for (const MendCase& c : kRightTriangle) check(c);
}

// Isosceles 6-5-5 and right 3-4-5 triangles, whose bisectors the law of
// cosines meets first from a side and an angle that fit two triangles.
const std::vector<MendCase> kTwoTriangleSteps = {
    {"isosceles from the apex and half the base",
     21,
     kOrientationNone,
     {{"A1", 73.739795291688}, {"LH11", 3}},
     {{"L1", 6},
      {"L2", 5},
      {"A2", 53.13010235415598},
      {"B1", 4},
      {"B2", 60 * std::cos(26.56505117707799 * std::numbers::pi / 180) / 11},
      {"B3", 60 * std::cos(26.56505117707799 * std::numbers::pi / 180) / 11}},
     {}},
    {"right triangle: the bisector of the right angle",
     23,
     kOrientationNone,
     {{"S", 6}, {"LM21", 2}},
     {{"B3", std::sqrt(2.0) * 12 / 7}, {"B1", 4 * std::sqrt(10.0) / 3}, {"B2", 1.5 * std::sqrt(5.0)}},
     {}},
};

TEST(SolverMends, AStepThatFitsTwoTrianglesLeavesTheValueOpen) {
  for (const MendCase& c : kTwoTriangleSteps) check(c);
}

// A1 = 60, P = 15 and S fit the triangle 5.25-6-3.75 and the one with L2 and
// L3 exchanged: what both share is known, and the rest is one of the two
// mirror images (checked below), never a mixture of both.
const std::vector<MendCase> kTwoTriangles = {
    {"an angle, the perimeter and the area",
     22,
     kOrientationNone,
     {{"A1", 60}, {"P", 15}, {"S", 9.742785792574935}},
     {{"L1", 5.25},
      {"R", 5.25 / std::sqrt(3.0)},
      {"r", 9.742785792574935 / 7.5},
      {"H1", 2 * 9.742785792574935 / 5.25},
      {"M1", 0.5 * std::sqrt(72.5625)},
      {"B1", 22.5 * std::sqrt(3.0) / 9.75},
      {"AB11", 30}},
     {}},
    {"the area and a side facing the angle: the same pair exchanged",
     22,
     kOrientationNone,
     {{"A1", 60}, {"L1", 7}, {"S", 10 * std::sqrt(3.0)}},
     {{"L1", 7}, {"R", 7 / std::sqrt(3.0)}, {"P", 20}, {"r", std::sqrt(3.0)}},
     {}},
    {"a side next to the angle and the perimeter fix one triangle",
     22,
     kOrientationNone,
     {{"A1", 60}, {"L2", 8}, {"P", 20}},
     {{"L1", 7}, {"L3", 5}, {"A2", std::acos(1.0 / 7) * 180 / std::numbers::pi}},
     {}},
};

TEST(SolverMends, TrianglesThatFitTheSameDataShareWhatTheyHaveInCommon) {
  for (const MendCase& c : kTwoTriangles) check(c);
  const std::pair<double, double> mirrorSides[] = {{3.75, 6.0}, {5.0, 8.0}};
  for (size_t k = 0; k < 2; ++k) {
    SCOPED_TRACE(kTwoTriangles[k].label);
    Solved s(kTwoTriangles[k]);
    ASSERT_EQ(s.state("L2"), kKnown);
    ASSERT_EQ(s.state("L3"), kKnown);
    const double shorter = std::min(s.value("L2"), s.value("L3"));
    const double longer = std::max(s.value("L2"), s.value("L3"));
    EXPECT_NEAR(shorter, mirrorSides[k].first, 1e-9);
    EXPECT_NEAR(longer, mirrorSides[k].second, 1e-9);
    // The angles follow the sides of the image chosen.
    EXPECT_NEAR(s.value("A1") + s.value("A2") + s.value("A3"), 180.0, 1e-9);
    EXPECT_GT(s.value("L2") > s.value("L3") ? s.value("A2") : s.value("A3"), 60.0);
  }
}

// Quadrilaterals from their starting data: each diagonal's two parts, found
// by the law of sines in the triangles the diagonals cut, add up to it.
TEST(SolverMends, QuadrilateralDiagonalPartsFromTheLawOfSines) {
  for (int figure : {13, 14}) {
    SCOPED_TRACE(figure);
    MendCase c{"starting data", figure, kOrientationNone, {}, {}, {}};
    Solved s(c);
    for (const char* name : {"D1", "D2", "D11", "D12", "D21", "D22"}) ASSERT_EQ(s.state(name), kKnown) << name;
    EXPECT_NEAR(s.value("D11") + s.value("D12"), s.value("D1"), 1e-9 * s.value("D1"));
    EXPECT_NEAR(s.value("D21") + s.value("D22"), s.value("D2"), 1e-9 * s.value("D2"));
  }
}

// The truncated-cone tank from its starting data: the slant heights of the
// whole cone and of the small cone, whose difference is the frustum's.
TEST(SolverMends, TankSlantHeights) {
  MendCase c{"starting data", 42, kOrientationNone, {}, {}, {}};
  Solved s(c);
  for (const char* name : {"L1", "L2", "LC", "A1", "R", "r"}) ASSERT_EQ(s.state(name), kKnown) << name;
  const double sine = std::sin(s.value("A1") * std::numbers::pi / 180);
  EXPECT_NEAR(s.value("L1"), s.value("R") / sine, 1e-9 * s.value("L1"));
  EXPECT_NEAR(s.value("L2"), s.value("r") / sine, 1e-9 * s.value("L2"));
  EXPECT_NEAR(s.value("L1") - s.value("L2"), s.value("LC"), 1e-9 * s.value("LC"));
}

}  // namespace
}  // namespace qz
