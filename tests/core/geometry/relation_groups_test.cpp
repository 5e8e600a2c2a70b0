#include "geometry/relation_groups.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/scripted_messenger.h"

namespace qz {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

class GroupTest : public ::testing::Test {
 protected:
  GroupTest() : table(&messenger), solver(table, &messenger) { table.createPredefined(); }

  void add(std::initializer_list<const char*> names) {
    for (const char* n : names) {
      GeoVariable v;
      v.name = n;
      table.append(v);
    }
  }
  void known(const char* name, double value) {
    int i = table.lookupVariable(name);
    table.at(i).state = kKnown;
    table.at(i).value = value;
  }
  int state(const char* name) { return table.at(table.lookupVariable(name)).state; }
  double value(const char* name) { return table.at(table.lookupVariable(name)).value; }

  ScriptedMessenger messenger;
  VariableTable table;
  GeoSolver solver;
};

TEST_F(GroupTest, RightTriangleFromLegAndHypotenuseGoesThroughTheOtherLeg) {
  add({"a", "b", "h", "al", "be", "S", "P"});
  known("a", 3);
  known("h", 5);
  RightTriangle(solver, "a", "b", "h", "al", "be", "S", "P");
  EXPECT_DOUBLE_EQ(value("b"), 4.0);
  EXPECT_NEAR(value("al"), std::atan2(3.0, 4.0) / kDeg, 1e-10);
  EXPECT_NEAR(value("be"), std::atan2(4.0, 3.0) / kDeg, 1e-10);
  EXPECT_DOUBLE_EQ(value("S"), 6.0);
  EXPECT_DOUBLE_EQ(value("P"), 12.0);
}

TEST_F(GroupTest, RightTriangleNeverTakesTheAngleFromLegAndHypotenuseDirectly) {
  add({"a", "h", "al", "be", "S", "P"});
  GeoVariable b;
  b.name = "b";
  b.maximum = 3.0;  // the other leg (4) is refused: the angle must fail with it
  table.append(b);
  known("a", 3);
  known("h", 5);
  RightTriangle(solver, "a", "b", "h", "al", "be", "S", "P");
  EXPECT_EQ(state("b"), kIncalculable);
  EXPECT_EQ(state("al"), kIncalculable);
  EXPECT_EQ(state("be"), kIncalculable);
  EXPECT_EQ(state("S"), kIncalculable);
}

TEST_F(GroupTest, RightTriangleFromPerimeterAndLeg) {
  add({"a", "b", "h", "al", "be", "S", "P"});
  known("P", 12);
  known("a", 3);
  RightTriangle(solver, "a", "b", "h", "al", "be", "S", "P");
  EXPECT_NEAR(value("be"), std::atan2(4.0, 3.0) / kDeg, 1e-10);
  // Through the angle and the program's degree factor: a few units in the 12th digit.
  EXPECT_NEAR(value("b"), 4.0, 1e-11);
  EXPECT_NEAR(value("h"), 5.0, 1e-11);
}

TEST_F(GroupTest, RightTriangleResetsItsAuxiliaryNames) {
  add({"a", "b", "h"});
  known("a", 3);
  known("b", 4);
  known("xP", 99);  // left over from another group
  RightTriangle(solver, "a", "b", "h", "xA11", "xA12", "xS2", "xP");
  EXPECT_DOUBLE_EQ(value("xP"), 12.0);
  EXPECT_DOUBLE_EQ(value("xS2"), 6.0);
  EXPECT_EQ(solver.progress(), 1);  // only h counts
}

TEST_F(GroupTest, TriangleFromThreeSides) {
  add({"s1", "s2", "s3", "A", "B", "C", "S", "H"});
  known("s1", 14);
  known("s2", 15);
  known("s3", 13);
  Triangle(solver, "s1", "s2", "s3", "A", "B", "C", "S", "H");
  EXPECT_NEAR(value("H"), 12.0, 1e-12);
  EXPECT_NEAR(value("S"), 84.0, 1e-12);
  EXPECT_NEAR(value("A"), std::acos((15.0 * 15 + 13 * 13 - 14 * 14) / (2.0 * 15 * 13)) / kDeg, 1e-10);
  EXPECT_NEAR(value("A") + value("B") + value("C"), 180.0, 1e-10);
}

TEST_F(GroupTest, SectorFromRadiusAndArc) {
  add({"R", "A", "P", "S"});
  known("R", 2);
  known("P", std::numbers::pi);
  Sector(solver, "R", "A", "P", "S");
  EXPECT_NEAR(value("A"), 90.0, 1e-11);
  EXPECT_NEAR(value("S"), std::numbers::pi, 1e-12);
}

TEST_F(GroupTest, SectorNeedsTwoData) {
  add({"R", "A", "P", "S"});
  known("R", 2);
  Sector(solver, "R", "A", "P", "S");
  EXPECT_EQ(state("A"), kUnknown);
  EXPECT_EQ(state("S"), kUnknown);
}

TEST_F(GroupTest, SegmentFromRadiusAndHeight) {
  add({"R", "A", "A1", "A2", "LC", "LH", "LS", "H", "HT", "S", "SST", "SSC"});
  known("R", 10);
  known("H", 5);
  Segment(solver, "R", "A", "A1", "A2", "LC", "LH", "LS", "H", "HT", "S", "SST", "SSC");
  const double s3 = std::sqrt(3.0);
  EXPECT_NEAR(value("A"), 120.0, 1e-10);
  EXPECT_NEAR(value("LC"), 10 * s3, 1e-11);
  EXPECT_NEAR(value("S"), 50 * (2 * std::numbers::pi / 3 - s3 / 2), 1e-9);
  EXPECT_NEAR(value("LS"), 20 * std::numbers::pi / 3, 1e-10);
}

TEST_F(GroupTest, CyclicQuadChoosesTheSignPatternNearestTheArea) {
  add({"R", "L1", "L2", "L3", "L4", "S1", "S2", "S3", "S4", "S"});
  // Corners at 0, 30, 60 and 90 degrees on a circle of radius 5: the centre
  // lies beyond the fourth side, whose triangle counts negative.
  const double r = 5;
  const double shortSide = 2 * r * std::sin(15 * kDeg);
  const double longSide = 2 * r * std::sin(135 * kDeg);
  const double small = 0.5 * r * r * std::sin(30 * kDeg);
  const double big = 0.5 * r * r * std::sin(270 * kDeg);
  known("R", r);
  known("L1", shortSide);
  known("L2", shortSide);
  known("L3", shortSide);
  known("L4", longSide);
  known("S", 3 * small + big);
  CyclicQuad(solver);
  EXPECT_NEAR(value("S1"), small, 1e-12);
  EXPECT_NEAR(value("S2"), small, 1e-12);
  EXPECT_NEAR(value("S3"), small, 1e-12);
  EXPECT_NEAR(value("S4"), big, 1e-12);
  EXPECT_LT(value("S4"), 0.0);
}

TEST_F(GroupTest, CyclicQuadActsOnlyWithEverythingKnownAndAreasUnknown) {
  add({"R", "L1", "L2", "L3", "L4", "S1", "S2", "S3", "S4", "S"});
  known("R", 5);
  known("L1", 6);
  known("L2", 8);
  known("L3", 6);
  CyclicQuad(solver);  // L4 and S missing
  EXPECT_EQ(state("S1"), kUnknown);
  known("L4", 8);
  known("S", 48);
  known("S2", 12);
  CyclicQuad(solver);  // one area already known
  EXPECT_EQ(state("S1"), kUnknown);
}

TEST_F(GroupTest, CyclicQuadWithASideLongerThanTheDiameterFails) {
  add({"R", "L1", "L2", "L3", "L4", "S1", "S2", "S3", "S4", "S"});
  known("R", 1);
  known("L1", 3);
  known("L2", 1);
  known("L3", 1);
  known("L4", 1);
  known("S", 1);
  CyclicQuad(solver);
  EXPECT_EQ(state("S1"), kIncalculable);
  EXPECT_EQ(state("S4"), kIncalculable);
}

}  // namespace
}  // namespace qz
