// Figures solved from data the sweep cannot untangle on its own: several
// figures with the same data, data that contradict each other, data no figure
// has, and the coverage measure's fixed sample over every figure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "figure_harness.h"
#include "geometry/catalogue_loader.h"
#include "geometry/geo_solver.h"
#include "geometry/simultaneous_solve.h"
#include "numbers/cp1252.h"
#include "platform/scripted_messenger.h"
#include "solver_coverage.h"

namespace qz {
namespace {

using testing::catalogueFolder;

using Values = std::vector<std::pair<const char*, double>>;

constexpr double kPi = std::numbers::pi;
// The second cone of slant height 13 and volume 100π: H³ − 169·H + 300 = 0
// has the roots 12 and −6 + √61.
const double kFlatConeHeight = -6.0 + std::sqrt(61.0);
const double kFlatConeRadius = std::sqrt(169.0 - kFlatConeHeight * kFlatConeHeight);

struct Case {
  const char* label;
  int figure;
  Values given;
  Values previous;  // the figure shown before (values of its parameters); none: the catalogue's
  SimultaneousOutcome outcome;
  Values expected;                 // known, with these values
  std::vector<const char*> notKnown;  // left unknown or incalculable
  const char* message;             // shown on an explicit request ("" for none)
};

const std::vector<Case> kCases = {
    {"two cones of the same volume and slant height: the catalogue's shape", 25,
     {{"L", 13}, {"V", 100 * kPi}}, {}, SimultaneousOutcome::SeveralFigures,
     {{"H", 12}, {"R", 5}, {"D", 10}, {"S", 90 * kPi}}, {}, "103"},
    {"two cones of the same volume and slant height: the one nearest the previous", 25,
     {{"L", 13}, {"V", 100 * kPi}}, {{"H", 2}, {"R", 12}}, SimultaneousOutcome::SeveralFigures,
     {{"H", kFlatConeHeight}, {"R", kFlatConeRadius}}, {}, "103"},
    {"a cylinder from its side area and volume: one figure", 28,
     {{"SC", 20 * kPi}, {"V", 20 * kPi}}, {}, SimultaneousOutcome::Solved,
     {{"R", 2}, {"H", 5}, {"D", 4}, {"S", 28 * kPi}}, {}, ""},
    {"a square of side 2 and area 5 contradicts itself", 0,
     {{"L", 2}, {"S", 5}}, {}, SimultaneousOutcome::Contradiction,
     {{"L", 2}, {"S", 5}}, {"D", "P"}, kContradictionText},
    {"no cone of slant height 13 holds 10000", 25,
     {{"L", 13}, {"V", 10000}}, {}, SimultaneousOutcome::NoFigure,
     {{"L", 13}, {"V", 10000}}, {"H", "R", "S"}, kNoFigureText},
    {"one datum for two parameters: nothing guessed", 25,
     {{"V", 100}}, {}, SimultaneousOutcome::Underdetermined,
     {{"V", 100}}, {"H", "R"}, ""},
    {"values typed from the six digits shown agree", 0,
     {{"L", 3.14159}, {"P", 12.5664}}, {}, SimultaneousOutcome::NotNeeded,
     {{"L", 3.14159}, {"S", 3.14159 * 3.14159}}, {}, ""},
};

struct Solved {
  ScriptedMessenger messenger;
  VariableTable table{&messenger};
  FigureData data;
  CatalogueLoader loader{catalogueFolder(), messenger};
  GeoSolver solver{table, &messenger};

  explicit Solved(const Case& c) {
    EXPECT_TRUE(loader.LoadFigure(figureDimension(c.figure), c.figure, 0, table, data));
    data.clear();
    for (const auto& [name, value] : c.previous) table.at(index(name)).value = value;
    for (const auto& [name, value] : c.given) {
      const int i = index(name);
      EXPECT_TRUE(data.addRow(table, i)) << name;
      data.row[static_cast<size_t>(data.rows - 1)].value = value;
    }
    solver.setExplicitRequest(true);
    solver.ComputeFigure(c.figure, data);
  }
  int index(const char* name) const {
    const int i = table.lookupVariable(name, true);
    EXPECT_GE(i, 0) << name;
    return i;
  }
};

TEST(SimultaneousSolve, FiguresFromDataTheSweepCannotUntangle) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.label);
    Solved s(c);
    EXPECT_EQ(s.solver.simultaneousOutcome(), c.outcome);
    for (const auto& [name, expected] : c.expected) {
      const GeoVariable& v = s.table.at(s.index(name));
      EXPECT_EQ(v.state, kKnown) << name;
      EXPECT_NEAR(v.value, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << name;
    }
    for (const char* name : c.notKnown) EXPECT_NE(s.table.at(s.index(name)).state, kKnown) << name;
    const std::string message = c.message;
    if (message.empty()) {
      EXPECT_TRUE(s.messenger.boxes().empty()) << s.messenger.lastTextUtf8();
    } else if (message == "103") {
      ASSERT_EQ(s.messenger.boxes().size(), 1u);
      EXPECT_EQ(s.messenger.boxes()[0].style, MessageStyle::Information);
    } else {
      ASSERT_EQ(s.messenger.boxes().size(), 1u);
      EXPECT_NE(s.messenger.boxes()[0].text.find(message), std::string::npos) << s.messenger.lastTextUtf8();
    }
  }
}

TEST(SimultaneousSolve, EveryValueFollowsFromTheFigureFound) {
  // The figure found is run forward again: what it computes is what is shown.
  Solved s(kCases[2]);
  const double r = s.table.at(s.index("R")).value;
  const double h = s.table.at(s.index("H")).value;
  EXPECT_NEAR(s.table.at(s.index("SE")).value, kPi * r * r, 1e-9);
  EXPECT_NEAR(s.table.at(s.index("S")).value, 2 * kPi * r * r + 2 * kPi * r * h, 1e-9);
}

TEST(SimultaneousSolve, NoMessageWithoutAnExplicitRequest) {
  Case c = kCases[3];
  ScriptedMessenger messenger;
  VariableTable table{&messenger};
  FigureData data;
  CatalogueLoader loader{catalogueFolder(), messenger};
  GeoSolver solver{table, &messenger};
  ASSERT_TRUE(loader.LoadFigure(0, 0, 0, table, data));
  data.clear();
  for (const auto& [name, value] : c.given) {
    ASSERT_TRUE(data.addRow(table, table.lookupVariable(name, true)));
    data.row[static_cast<size_t>(data.rows - 1)].value = value;
  }
  solver.ComputeFigure(0, data);
  EXPECT_EQ(solver.simultaneousOutcome(), SimultaneousOutcome::Contradiction);
  EXPECT_TRUE(messenger.boxes().empty());
}

// A fixed sample of the coverage measure: on every figure, sets of as many
// values as it has parameters, taken from a figure moved off the catalogue's,
// are all solved again (that figure, or another with the same data).
TEST(SimultaneousSolve, CoverageSampleIsSolvedOnEveryFigure) {
  coverage::CoverageOptions options;
  options.maxSets = 6;
  int tried = 0;
  for (int figure = 0; figure < kFigureCount; ++figure) {
    SCOPED_TRACE(figure);
    const coverage::FigureCoverage c = coverage::MeasureFigure(catalogueFolder(), figure, options);
    tried += c.tried;
    EXPECT_GT(c.tried, 0);
    EXPECT_EQ(c.wrong, 0);
    EXPECT_EQ(c.unsolved, 0);
    for (const std::string& line : c.failures) ADD_FAILURE() << cp1252ToUtf8(line);
  }
  EXPECT_GT(tried, 250);
}

}  // namespace
}  // namespace qz
