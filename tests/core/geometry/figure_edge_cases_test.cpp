// Figure-level behaviour: the parallelogram's orientation question, data
// that over-determine a figure, and values at the edges of their ranges.
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

constexpr double kDeg = std::numbers::pi / 180.0;

TEST(ParallelogramOrientation, AskedOnceAndKeptUntilTheDataAreCleared) {
  FigureHarness h(10);
  h.give("L1", 6);
  h.give("L2", 5);
  h.give("H", 3);
  h.messenger().answerNext(MessageAnswer::Yes);
  h.compute();
  ASSERT_EQ(h.messenger().boxes().size(), 1u);
  EXPECT_EQ(h.messenger().boxes()[0].text, LoadString(165) + "\n\n" + LoadString(93));
  EXPECT_EQ(h.messenger().boxes()[0].style, MessageStyle::YesNo);
  EXPECT_EQ(h.data().orientation, kOrientationRight);
  // Leaning right: A1 acute, its projection LA = 4 on the base side.
  EXPECT_FIGURE_VALUE(h, "A1", std::asin(0.6) / kDeg, 1e-9);
  EXPECT_FIGURE_VALUE(h, "LA", 4, 1e-9);
  EXPECT_FIGURE_VALUE(h, "S", 18, 1e-12);

  // Recomputing keeps the answer and does not ask again.
  h.compute();
  EXPECT_EQ(h.messenger().boxes().size(), 1u);
  EXPECT_FIGURE_VALUE(h, "A1", std::asin(0.6) / kDeg, 1e-9);

  // Cleared data ask again; "No" leans the figure left (A1 obtuse).
  h.data().clear();
  h.give("L1", 6);
  h.give("L2", 5);
  h.give("H", 3);
  h.messenger().answerNext(MessageAnswer::No);
  h.compute();
  EXPECT_EQ(h.messenger().boxes().size(), 2u);
  EXPECT_EQ(h.data().orientation, kOrientationLeft);
  EXPECT_FIGURE_VALUE(h, "A1", 180 - std::asin(0.6) / kDeg, 1e-9);
}

TEST(ParallelogramOrientation, NotAskedWhenAnAngleSettlesIt) {
  FigureHarness h(10);
  h.give("L1", 6);
  h.give("L2", 5);
  h.give("A1", 60);
  h.compute();
  EXPECT_TRUE(h.messenger().boxes().empty());
  EXPECT_EQ(h.data().orientation, kOrientationRight);
}

TEST(RegularPolygons, HexagonFromItsSideAndFromItsArea) {
  const double s3 = std::sqrt(3.0);
  FigureHarness fromSide(5);
  fromSide.give("L", 3);
  fromSide.compute();
  EXPECT_FIGURE_VALUE(fromSide, "P", 18, 1e-12);
  EXPECT_FIGURE_VALUE(fromSide, "S", 27 * s3 / 2, 1e-9);

  FigureHarness fromArea(5);
  fromArea.give("S", 27 * s3 / 2);
  fromArea.compute();
  EXPECT_FIGURE_VALUE(fromArea, "L", 3, 1e-9);
  EXPECT_FIGURE_VALUE(fromArea, "R", 3, 1e-9);
}

TEST(CyclicQuadrilateral, CentreOutsideGivesANegativeTriangle) {
  // Corners at 0, 30, 60 and 90 degrees on a circle of radius 5.
  const double r = 5;
  const double shortSide = 2 * r * std::sin(15 * kDeg), longSide = 2 * r * std::sin(135 * kDeg);
  const double small = 0.5 * r * r * std::sin(30 * kDeg), big = 0.5 * r * r * std::sin(270 * kDeg);
  FigureHarness h(14);
  h.give("R", r);
  h.give("L1", shortSide);
  h.give("L2", shortSide);
  h.give("L3", shortSide);
  h.give("L4", longSide);
  h.give("S", 3 * small + big);
  h.compute();
  EXPECT_FIGURE_VALUE(h, "S1", small, 1e-9);
  EXPECT_FIGURE_VALUE(h, "S3", small, 1e-9);
  EXPECT_FIGURE_VALUE(h, "S4", big, 1e-9);
}

TEST(IsoscelesTriangle, FromApexAngleAndBase) {
  FigureHarness h(21);
  h.give("A1", 90);
  h.give("L1", 10);
  h.compute();
  EXPECT_FIGURE_VALUE(h, "L2", 10 / std::sqrt(2.0), 1e-9);
  EXPECT_FIGURE_VALUE(h, "A2", 45, 1e-9);
  EXPECT_FIGURE_VALUE(h, "H1", 5, 1e-9);
  EXPECT_FIGURE_VALUE(h, "S", 25, 1e-9);
}

TEST(OverDetermined, FirstEquationReachingAVariableFixesIt) {
  // Square with L = 2 and an inconsistent S = 5: S stays as given, D follows L.
  FigureHarness h(0);
  h.give("L", 2);
  h.give("S", 5);
  h.compute();
  EXPECT_EQ(h.value("S"), 5);
  EXPECT_FIGURE_VALUE(h, "D", std::sqrt(8.0), 1e-12);
  EXPECT_FIGURE_VALUE(h, "P", 8, 1e-12);
}

TEST(OverDetermined, ContradictoryRightTriangleDataStayFinite) {
  FigureHarness h(23);
  h.give("L1", 3);
  h.give("L2", 4);
  h.give("L3", 10);
  h.compute();
  for (int i = h.table().predefinedCount(); i < h.table().size(); ++i) {
    EXPECT_TRUE(std::isfinite(h.table().at(i).value)) << h.table().at(i).name;
  }
}

// Every figure with its variables limited to the usual ranges (lengths and
// areas not negative) and with data at the edges: nothing may leave an
// infinity or a NaN in a known value, nor hang.
TEST(BadInput, EdgeValuesNeverLeaveNonFiniteValues) {
  const double edges[] = {0.0, 1e-300, 1e300, -5.0, 1e-12, 7.0};
  for (int figure = 0; figure < kFigureCount; ++figure) {
    const std::vector<std::string> names = FigureListNames(figure);
    for (double edge : edges) {
      SCOPED_TRACE("figure " + std::to_string(figure) + " value " + std::to_string(edge));
      FigureHarness h(figure);
      for (const std::string& n : names) h.setRange(n, -1e300, 1e300);
      // Three data, spread over the list's names.
      for (size_t k = 0; k < 3 && k < names.size(); ++k) {
        h.give(names[(k * 7 + static_cast<size_t>(figure)) % names.size()],
               edge >= 1e300 ? edge : edge * static_cast<double>(k + 1));
      }
      h.compute(true);
      for (int i = 0; i < h.table().size(); ++i) {
        const GeoVariable& v = h.table().at(i);
        if (v.state == kKnown) {
          EXPECT_TRUE(std::isfinite(v.value)) << v.name;
        }
        if (v.state == kKnown && v.given == 0) {
          EXPECT_LE(std::fabs(v.value), 1e300) << v.name;
        }
      }
      EXPECT_LE(h.solver().sweeps(), kMaxSweeps);
    }
  }
}

TEST(FigureListNames, ListsWhatTheEquationsUse) {
  std::vector<std::string> square = FigureListNames(0);
  EXPECT_EQ(square, (std::vector<std::string>{"A", "D", "L", "P", "S"}));
  // Figure 5 runs figure 12's list.
  std::vector<std::string> hexagon = FigureListNames(5);
  EXPECT_NE(std::find(hexagon.begin(), hexagon.end(), "SH1"), hexagon.end());
  // The triangle solver's quantities and figure 10's orientation names.
  std::vector<std::string> triangle = FigureListNames(23);
  EXPECT_NE(std::find(triangle.begin(), triangle.end(), "B3"), triangle.end());
  std::vector<std::string> parallelogram = FigureListNames(10);
  EXPECT_NE(std::find(parallelogram.begin(), parallelogram.end(), "AHN"), parallelogram.end());
  for (int f = 0; f < kFigureCount; ++f) {
    std::vector<std::string> names = FigureListNames(f);
    EXPECT_FALSE(names.empty());
    EXPECT_LE(names.size() + 11, static_cast<size_t>(kVariableCapacity)) << f;
    for (const std::string& n : names) EXPECT_LE(n.size(), 4u) << n;
  }
  EXPECT_TRUE(FigureListNames(53).empty());
}

}  // namespace
}  // namespace qz
