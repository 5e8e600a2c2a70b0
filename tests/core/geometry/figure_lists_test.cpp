// Each of the 53 figures computed from a realistic data set, checked against
// values worked out with textbook formulas (not with the solver's own).
#include "geometry/figure_lists.h"

#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "figure_harness.h"

namespace qz {
namespace {

using testing::FigureHarness;

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
double deg(double radians) { return radians / kDeg; }

struct Value {
  const char* name;
  double value;
};

struct FigureCase {
  const char* label;
  int figure;
  std::vector<Value> given;
  std::vector<Value> expected;
};

// Ellipse perimeter by the Ramanujan-Legendre series checked elsewhere; here
// by direct numerical integration (Simpson, 20 000 panels).
double ellipsePerimeter(double a, double b) {
  const int n = 20000;
  double sum = 0.0;
  for (int i = 0; i <= n; ++i) {
    double t = kPi / 2 * i / n;
    double f = std::sqrt(a * a * std::sin(t) * std::sin(t) + b * b * std::cos(t) * std::cos(t));
    sum += f * (i == 0 || i == n ? 1 : (i % 2 ? 4 : 2));
  }
  return 4.0 * sum * (kPi / 2 / n) / 3.0;
}

// Arc of the parabola y = h(1 - (2x/b)^2) over its base b, by Simpson.
double parabolaArcLength(double b, double h) {
  const int n = 20000;
  double sum = 0.0;
  for (int i = 0; i <= n; ++i) {
    double x = -b / 2 + b * i / n;
    double slope = -8.0 * h * x / (b * b);
    sum += std::sqrt(1 + slope * slope) * (i == 0 || i == n ? 1 : (i % 2 ? 4 : 2));
  }
  return sum * (b / n) / 3.0;
}

double capVolume(double r, double h) { return kPi * h * h * (3 * r - h) / 3; }

std::vector<FigureCase> figureCases() {
  const double s3 = std::sqrt(3.0);
  // 13-14-15 triangle
  const double a13 = std::acos((14.0 * 14 + 15 * 15 - 13 * 13) / (2.0 * 14 * 15));
  const double a14 = std::acos((13.0 * 13 + 15 * 15 - 14 * 14) / (2.0 * 13 * 15));
  const double a15 = kPi - a13 - a14;
  auto bisector = [](double b, double c, double angle) { return 2 * b * c * std::cos(angle / 2) / (b + c); };
  // Isosceles 6-5-5
  const double apex = 2 * std::asin(3.0 / 5.0);
  const double baseAngle = (kPi - apex) / 2;
  // Trapezoid: long base 10, height 2, base angles 45 and 60
  const double lh3 = 2 / std::tan(60 * kDeg);
  const double shortBase = 10 - 2 - lh3;
  // Circular segment of radius 10 under 120 degrees: (R²/2)(θ - sin θ)
  const double segment120 = 50 * (2 * kPi / 3 - s3 / 2);
  return {
      {"square from L", 0, {{"L", 2}}, {{"D", std::sqrt(8.0)}, {"P", 8}, {"S", 4}, {"A", 45}}},
      {"square from S", 0, {{"S", 2}}, {{"L", std::sqrt(2.0)}, {"D", 2}, {"P", 4 * std::sqrt(2.0)}}},
      {"circle", 1, {{"R", 3}}, {{"D", 6}, {"P", 6 * kPi}, {"S", 9 * kPi}, {"A", 360}}},
      {"annulus", 2, {{"Ri", 2}, {"Re", 3}},
       {{"Di", 4}, {"De", 6}, {"Rm", 2.5}, {"Pi", 4 * kPi}, {"Pe", 6 * kPi}, {"Si", 4 * kPi}, {"Se", 9 * kPi},
        {"Sc", 5 * kPi}}},
      {"annulus with holes", 3, {{"Ri", 10}, {"Re", 15}, {"d", 2}, {"N", 4}},
       {{"E", 5}, {"r", 1}, {"dx", 3}, {"rx", 1}, {"St", 4 * kPi}, {"Sc", 121 * kPi}, {"De", 30}}},
      {"ellipse", 4, {{"R", 5}, {"r", 3}},
       {{"D", 10}, {"d", 6}, {"S", 15 * kPi}, {"P", ellipsePerimeter(5, 3)}}},
      {"hexagon", 5, {{"L", 2}},
       {{"N", 6}, {"A", 60}, {"P", 12}, {"S", 6 * s3}, {"R", 2}, {"H", s3}, {"AH1", 30}}},
      {"line through three points", 6, {{"a", 2}, {"b", 1}, {"X1", 0}, {"X2", 1}, {"X3", 3}},
       {{"Y1", 1}, {"Y2", 3}, {"Y3", 7}, {"A", deg(std::atan(2.0))}, {"KX32", 2}}},
      {"two lines", 7,
       {{"X11", 3}, {"Y11", 3}, {"X12", 0}, {"Y12", 0}, {"X21", 0}, {"Y21", 4}, {"X22", 4}, {"Y22", 0}},
       {{"a1", 1}, {"a2", -1}, {"b1", 0}, {"b2", 4}, {"X0", 2}, {"Y0", 2}, {"A1", 45}, {"A2", -45}, {"A", -90}}},
      {"rhombus", 8, {{"D1", 8}, {"D2", 6}},
       {{"L", 5}, {"P", 20}, {"S", 24}, {"S1", 6}, {"AD1", deg(std::acos(0.8))}, {"A1", 2 * deg(std::acos(0.8))},
        {"A2", 180 - 2 * deg(std::acos(0.8))}, {"SQ", 7}}},
      {"octagon", 9, {{"L", 1}},
       {{"R", 0.5 / std::sin(kPi / 8)}, {"H", 0.5 / std::tan(kPi / 8)}, {"S", 2 * (1 + std::sqrt(2.0))}, {"P", 8}}},
      {"parallelogram", 10, {{"L1", 6}, {"L2", 4}, {"A1", 60}},
       {{"H", 2 * s3}, {"S", 12 * s3}, {"P", 20}, {"A2", 120}, {"D1", std::sqrt(76.0)}, {"D2", std::sqrt(28.0)},
        {"LA", 2}, {"AH", 30}}},
      {"pentagon", 11, {{"L", 1}},
       {{"R", 0.5 / std::sin(kPi / 5)}, {"H", 0.5 / std::tan(kPi / 5)}, {"S", 1.25 / std::tan(kPi / 5)}, {"P", 5}}},
      {"regular heptagon", 12, {{"N", 7}, {"R", 1}},
       {{"A", 360.0 / 7}, {"L", 2 * std::sin(kPi / 7)}, {"P", 14 * std::sin(kPi / 7)},
        {"S", 3.5 * std::sin(2 * kPi / 7)}, {"H", std::cos(kPi / 7)}}},
      {"tangential rhombus", 13, {{"r", 1}, {"AE1", 60}, {"AE2", 120}, {"AE3", 60}},
       {{"AE4", 120}, {"L1", 4 / s3}, {"L2", 4 / s3}, {"L3", 4 / s3}, {"L4", 4 / s3}, {"P", 16 / s3},
        {"S", 8 / s3}}},
      {"rectangle in a circle", 14, {{"R", 5}, {"L1", 6}, {"L2", 8}, {"L3", 6}, {"L4", 8}},
       {{"S", 48}, {"P", 28}, {"H1", 4}, {"H2", 3}, {"S1", 12}, {"D1", 10}, {"D2", 10}}},
      {"rectangle", 15, {{"L1", 3}, {"L2", 4}},
       {{"D", 5}, {"P", 14}, {"S", 12}, {"S1", 6}, {"A1", deg(std::atan2(4.0, 3.0))}}},
      {"sector", 16, {{"R", 2}, {"A", 90}}, {{"D", 4}, {"LS", kPi}, {"S", kPi}, {"P", kPi + 4}}},
      {"circular segment", 17, {{"R", 10}, {"A", 60}},
       {{"A1", 30}, {"LC", 10}, {"LH", 5}, {"LS", 10 * kPi / 3}, {"HT", 5 * s3}, {"H", 10 - 5 * s3},
        {"SSC", 100 * kPi / 6}, {"SST", 12.5 * s3}, {"S", 100 * kPi / 6 - 25 * s3},
        {"P", 10 * kPi / 3 + 10}}},
      {"parabolic segment", 18, {{"LB", 4}, {"H", 1}},
       {{"S", 8.0 / 3}, {"LA", parabolaArcLength(4, 1)}, {"P", 4 + parabolaArcLength(4, 1)}}},
      {"trapezoid", 19, {{"L1", 10}, {"H", 2}, {"A1", 45}, {"A4", 60}},
       {{"L3", shortBase}, {"L2", 2 * std::sqrt(2.0)}, {"L4", 2 / std::sin(60 * kDeg)}, {"A2", 135},
        {"A3", 120}, {"S", (10 + shortBase)}, {"P", 10 + shortBase + 2 * std::sqrt(2.0) + 2 / std::sin(60 * kDeg)},
        {"D1", std::hypot(10 - lh3, 2.0)}, {"D2", std::hypot(10 - 2.0, 2.0)}}},
      {"equilateral triangle", 20, {{"L", 2}},
       {{"H", s3}, {"r", s3 / 3}, {"R", 2 / s3}, {"P", 6}, {"S", s3}, {"A", 60}}},
      {"isosceles triangle", 21, {{"L1", 6}, {"L2", 5}},
       {{"H1", 4}, {"A1", deg(apex)}, {"A2", deg(baseAngle)}, {"A3", deg(baseAngle)}, {"S", 12}, {"P", 16},
        {"R", 3.125}, {"r", 1.5}, {"H2", 4.8}, {"M1", 4}, {"M2", 0.5 * std::sqrt(97.0)}, {"B1", 4},
        {"B2", bisector(6, 5, baseAngle)}}},
      {"triangle 13-14-15", 22, {{"L1", 13}, {"L2", 14}, {"L3", 15}},
       {{"S", 84}, {"P", 42}, {"r", 4}, {"R", 8.125}, {"H1", 168.0 / 13}, {"H2", 12}, {"H3", 11.2},
        {"A1", deg(a13)}, {"A2", deg(a14)}, {"A3", deg(a15)}, {"M1", 0.5 * std::sqrt(673.0)},
        {"M2", 0.5 * std::sqrt(592.0)}, {"M3", 0.5 * std::sqrt(505.0)}, {"B1", bisector(14, 15, a13)},
        {"B2", bisector(13, 15, a14)}, {"B3", bisector(13, 14, a15)}}},
      {"right triangle 3-4-5", 23, {{"L1", 3}, {"L2", 4}},
       {{"L3", 5}, {"A1", deg(std::atan2(3.0, 4.0))}, {"A2", deg(std::atan2(4.0, 3.0))}, {"S", 6}, {"P", 12},
        {"H3", 2.4}, {"r", 1}, {"R", 2.5}, {"M3", 2.5}}},
      {"spherical cap", 24, {{"R", 10}, {"H", 5}},
       {{"r", 5 * s3}, {"A", 120}, {"SB", 75 * kPi}, {"SS", 100 * kPi}, {"S", 175 * kPi},
        {"V", capVolume(10, 5)}, {"P", 20 * kPi}}},
      {"cone", 25, {{"R", 3}, {"H", 4}},
       {{"L", 5}, {"D", 6}, {"SB", 9 * kPi}, {"SC", 15 * kPi}, {"S", 24 * kPi}, {"V", 12 * kPi},
        {"A", 2 * deg(std::atan2(3.0, 4.0))}}},
      {"hollow sphere", 26, {{"R1", 5}, {"R2", 3}},
       {{"D1", 10}, {"D2", 6}, {"S1", 100 * kPi}, {"S2", 36 * kPi}, {"S", 136 * kPi}, {"V", 4.0 / 3 * kPi * 98}}},
      {"cube", 27, {{"L", 2}}, {{"D", 2 * s3}, {"S", 24}, {"V", 8}}},
      {"cylinder", 28, {{"R", 2}, {"H", 5}},
       {{"D", 4}, {"SE", 4 * kPi}, {"SC", 20 * kPi}, {"S", 28 * kPi}, {"V", 20 * kPi}}},
      {"tube", 29, {{"R", 3}, {"r", 2}, {"H", 10}},
       {{"SE", 5 * kPi}, {"SC", 100 * kPi}, {"S", 110 * kPi}, {"V", 50 * kPi}, {"VE", 90 * kPi}, {"VI", 40 * kPi}}},
      {"oblique cylinder", 30, {{"R", 1}, {"L", 10}, {"A", 30}},
       {{"H", 5 * s3}, {"LH", 5}, {"B", 60}, {"V", kPi * 5 * s3}, {"SC", 20 * kPi}, {"S", 22 * kPi}}},
      {"helical spring", 31, {{"Dm", 20}, {"P", 5}, {"d", 2}, {"NSU", 10}},
       {{"TA", 0.25}, {"A", deg(std::atan(0.25))}, {"r", 1}, {"Rm", 10}, {"LS", std::hypot(20 * kPi, 5.0)},
        {"LA", 55}, {"S", 2 * std::hypot(20 * kPi, 5.0) * (10 * kPi + 2.85619449)},
        {"V", kPi * 11.5 * std::hypot(20 * kPi, 5.0)}}},
      {"ellipsoid", 32, {{"R1", 1}, {"R2", 2}, {"R3", 3}}, {{"V", 8 * kPi}}},
      {"spherical wedge", 33, {{"R", 3}, {"A", 60}},
       {{"LA", kPi}, {"SA", 1.5 * kPi}, {"SL", 9 * kPi}, {"SS", 6 * kPi}, {"S", 15 * kPi}, {"V", 6 * kPi},
        {"P", 6 * kPi}}},
      {"cylindrical wedge", 34, {{"R", 2}, {"H", 3}},
       {{"RA", std::sqrt(13.0)}, {"SB1", 2 * kPi}, {"SC", 12}, {"SB2", kPi * std::sqrt(13.0)},
        {"S", 2 * kPi + 12 + kPi * std::sqrt(13.0)}, {"V", 2.0 * 4 * 3 / 3}}},
      {"paraboloid", 35, {{"R", 2}, {"H", 1}},
       {{"D", 4}, {"LB", 4}, {"V", 2 * kPi}, {"S", 8.0 / 3}, {"LA", parabolaArcLength(4, 1)}}},
      {"cuboid", 36, {{"L1", 2}, {"L2", 3}, {"L3", 4}},
       {{"D", std::sqrt(29.0)}, {"S1", 6}, {"S2", 12}, {"S3", 8}, {"S", 52}, {"V", 24}}},
      {"oblique prism", 37, {{"L1", 4}, {"L2", 5}, {"L3", 3}, {"H", 4}},
       {{"LH", 3}, {"A", deg(std::asin(0.8))}, {"S", 86}, {"V", 48}, {"D1", std::sqrt(74.0)},
        {"D2", std::sqrt(26.0)}}},
      {"pyramid", 38, {{"SB", 10}, {"H", 6}}, {{"V", 20}}},
      {"horizontal tank", 39, {{"R1", 11}, {"R2", 10}, {"L2", 100}, {"E1", 1}, {"E2", 1}, {"H1", 5}},
       {{"EC", 1}, {"A", 120}, {"L", 10 * s3}, {"SEV", segment120}, {"SEL", 100 * kPi - segment120},
        {"V", 21 * kPi * 100 + 2 * 121 * kPi}, {"VV", 100 * segment120}, {"VL", 100 * (100 * kPi - segment120)},
        {"L1", 102}, {"H", 21}}},
      {"tank with spherical ends", 40, {{"R1", 11}, {"R2", 10}, {"L3", 100}, {"H1", 5}},
       {{"E", 1}, {"A", 120}, {"RL", 5 * s3}, {"SL", 1000 * s3 + 75 * kPi},
        {"V", 21 * kPi * 100 + 4.0 / 3 * kPi * (1331 - 1000)},
        {"VV", 100 * segment120 + capVolume(10, 5)}, {"L1", 122}}},
      {"hollow sphere with liquid", 41, {{"R1", 11}, {"R2", 10}, {"H1", 5}},
       {{"RL", 5 * s3}, {"A", 120}, {"SL", 75 * kPi}, {"V", 4.0 / 3 * kPi * 331}, {"VV", capVolume(10, 5)},
        {"VL", 4.0 / 3 * kPi * 1000 - capVolume(10, 5)}, {"E", 1}}},
      {"hopper", 42, {{"R", 3}, {"r", 1}, {"H", 4}},
       {{"LC", std::sqrt(20.0)}, {"A1", deg(std::atan(0.5))}, {"VC", kPi * 4 * (36 + 12 + 4) / 12}, {"HC", 6},
        {"H3", 2}, {"V1", 18 * kPi}}},
      {"spherical sector", 43, {{"R", 10}, {"H", 5}},
       {{"r", 5 * s3}, {"A", 120}, {"SC", kPi * 50 * s3}, {"SS", 100 * kPi}, {"V", 2.0 / 3 * kPi * 500},
        {"P", 20 * kPi}}},
      {"spherical zone", 44, {{"R", 10}, {"H1", 8}, {"H2", 2}},
       {{"H", 6}, {"R1", std::sqrt(96.0)}, {"R2", 6}, {"SS", 120 * kPi}, {"S", 252 * kPi},
        {"V", capVolume(10, 8) - capVolume(10, 2)}, {"A2", 2 * deg(std::asin(0.6))}}},
      {"sphere", 45, {{"R", 3}}, {{"D", 6}, {"S", 36 * kPi}, {"P", 6 * kPi}, {"V", 36 * kPi}}},
      {"sphere less two sectors", 46, {{"R", 10}, {"r", 6}},
       {{"H", 16}, {"H1", 2}, {"A", 2 * deg(std::asin(0.6))}, {"SC", 120 * kPi}, {"S", 440 * kPi},
        {"V", 4.0 / 3 * kPi * 1000 - 2 * capVolume(10, 2) - kPi * 36 * 16 / 3}}},
      {"napkin ring", 47, {{"R", 10}, {"r", 6}},
       {{"H", 16}, {"SC", 192 * kPi}, {"V", kPi * 16 * 16 * 16 / 6}}},
      {"sphere cut by two planes", 48, {{"R", 10}, {"H", 12}},
       {{"HT", 6}, {"HS", 4}, {"r", 8}, {"SB", 64 * kPi}, {"SS", 240 * kPi},
        {"V", 4.0 / 3 * kPi * 1000 - 2 * capVolume(10, 4)}}},
      {"torus", 49, {{"R1", 8}, {"R2", 12}},
       {{"Rm", 10}, {"R", 2}, {"ST", 4 * kPi}, {"S", 80 * kPi * kPi}, {"V", 80 * kPi * kPi}}},
      {"frustum of a cone", 50, {{"R", 3}, {"r", 1}, {"H", 4}},
       {{"HC", 6}, {"H2", 2}, {"L", std::sqrt(20.0)}, {"SC", kPi * (3 * std::sqrt(45.0) - std::sqrt(5.0))},
        {"S", 10 * kPi + kPi * (3 * std::sqrt(45.0) - std::sqrt(5.0))}, {"V", 52 * kPi / 3},
        {"A", 2 * deg(std::atan(0.5))}}},
      {"truncated cylinder", 51, {{"R", 2}, {"A", 45}, {"HR", 3}},
       {{"RA", 2 * std::sqrt(2.0)}, {"HP", 2}, {"H", 5}, {"HL", 7}, {"HM", 5}, {"SC", 20 * kPi},
        {"S", 24 * kPi + kPi * 4 * std::sqrt(2.0)}, {"V", 20 * kPi}}},
      {"frustum of a pyramid", 52, {{"SB", 16}, {"ST", 4}, {"H", 3}},
       {{"V", 28}, {"RH", 0.25}, {"HP", 6}, {"HT", 3}, {"VP", 32}, {"VT", 4}}},
  };
}

TEST(FigureLists, EveryFigureAgainstTextbookValues) {
  std::vector<bool> covered(kFigureCount, false);
  for (const FigureCase& c : figureCases()) {
    SCOPED_TRACE(std::string(c.label) + " (figure " + std::to_string(c.figure) + ")");
    covered[static_cast<size_t>(c.figure)] = true;
    FigureHarness h(c.figure);
    for (const Value& v : c.given) h.give(v.name, v.value);
    h.compute();
    for (const Value& v : c.expected) EXPECT_FIGURE_VALUE(h, v.name, v.value, 1e-9);
    EXPECT_TRUE(h.messenger().boxes().empty()) << h.messenger().lastTextUtf8();
  }
  for (int f = 0; f < kFigureCount; ++f) EXPECT_TRUE(covered[static_cast<size_t>(f)]) << "figure " << f;
}

}  // namespace
}  // namespace qz
