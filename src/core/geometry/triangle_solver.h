// Whole-triangle solvers for the triangle figures (isosceles 21, any 22,
// right 23) and the parabola solver (parabolic segment 18, paraboloid 35):
// they fix the shape from data that the single equations cannot combine
// (three heights, a perimeter and an area, ...), then scale it.
#pragma once

#include <string_view>

#include "geometry/geo_solver.h"

namespace qz {

/// Quantities of the triangle solvers, by position in a rotation text.
enum TrianglePosition : int {
  kTriA1 = 0,
  kTriA2,
  kTriA3,  ///< angles, Ai opposite side Li
  kTriL1,
  kTriL2,
  kTriL3,  ///< sides
  kTriB1,
  kTriB2,
  kTriB3,  ///< bisectors
  kTriM1,
  kTriM2,
  kTriM3,  ///< medians
  kTriH1,
  kTriH2,
  kTriH3,  ///< heights
  kTriInradius,
  kTriCircumradius,
  kTriArea,
  kTriPerimeter,
  kTrianglePositions
};

/// The three rotation texts of the 19 triangle quantities (rotation 1..3).
std::string_view triangleRotation(int rotation);

/// Solves the triangle of `figure` (21 isosceles, 22 any, 23 right) from the
/// values the user gave (never from values computed earlier), and assigns all
/// 19 quantities. Data that cannot form a triangle make them incalculable.
/// Shows the two-solution warning (string 103) only on an explicit request;
/// sets the approximate flag when the shape search did not converge.
void TriangleSolver(GeoSolver& solver, int figure);

/// Parabolic segment ("LB|LA|H|S|P") or paraboloid ("LB|LA|H|S|P|V"): from
/// the first two known names, finds the shape and assigns the others.
void ParabolaSolver(GeoSolver& solver, std::string_view names);

/// Arc length of the parabola of base 1 and height k.
double parabolaArc(double k);

}  // namespace qz
