// ComputeFigure for every figure with a typical data set: each typed value
// recomputes the whole figure, so every figure should stay well under 5 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "geometry/figure_data.h"
#include "geometry/figure_lists.h"
#include "geometry/geo_solver.h"
#include "geometry/geo_variable.h"

namespace {

using Data = std::vector<std::pair<const char*, double>>;

// Typical data, by figure number.
const std::vector<Data>& typicalData() {
  static const std::vector<Data> data = {
      {{"L", 2}},                                             // 0 square
      {{"R", 3}},                                             // 1 circle
      {{"Ri", 2}, {"Re", 3}},                                 // 2 annulus
      {{"Ri", 10}, {"Re", 15}, {"d", 2}, {"N", 4}},           // 3 annulus with holes
      {{"R", 5}, {"r", 3}},                                   // 4 ellipse
      {{"L", 2}},                                             // 5 hexagon
      {{"a", 2}, {"b", 1}, {"X1", 0}, {"X2", 1}, {"X3", 3}},  // 6 line
      {{"X11", 3}, {"Y11", 3}, {"X12", 0}, {"Y12", 0}, {"X21", 0}, {"Y21", 4}, {"X22", 4}, {"Y22", 0}},  // 7
      {{"D1", 8}, {"D2", 6}},                                  // 8 rhombus
      {{"L", 1}},                                              // 9 octagon
      {{"L1", 6}, {"L2", 4}, {"A1", 60}},                      // 10 parallelogram
      {{"L", 1}},                                              // 11 pentagon
      {{"N", 7}, {"R", 1}},                                    // 12 regular polygon
      {{"r", 1}, {"AE1", 60}, {"AE2", 120}, {"AE3", 60}},      // 13 tangential quadrilateral
      {{"R", 5}, {"L1", 6}, {"L2", 8}, {"L3", 6}, {"L4", 8}},  // 14 cyclic quadrilateral
      {{"L1", 3}, {"L2", 4}},                                  // 15 rectangle
      {{"R", 2}, {"A", 90}},                                   // 16 sector
      {{"R", 10}, {"A", 60}},                                  // 17 segment
      {{"LB", 4}, {"H", 1}},                                   // 18 parabolic segment
      {{"L1", 10}, {"H", 2}, {"A1", 45}, {"A4", 60}},          // 19 trapezoid
      {{"L", 2}},                                              // 20 equilateral triangle
      {{"L1", 6}, {"L2", 5}},                                  // 21 isosceles triangle
      {{"H1", 168.0 / 13}, {"H2", 12}, {"H3", 11.2}},          // 22 triangle from three heights
      {{"L1", 3}, {"L2", 4}},                                  // 23 right triangle
      {{"R", 10}, {"H", 5}},                                   // 24 spherical cap
      {{"R", 3}, {"H", 4}},                                    // 25 cone
      {{"R1", 5}, {"R2", 3}},                                  // 26 hollow sphere
      {{"L", 2}},                                              // 27 cube
      {{"R", 2}, {"H", 5}},                                    // 28 cylinder
      {{"R", 3}, {"r", 2}, {"H", 10}},                         // 29 tube
      {{"R", 1}, {"L", 10}, {"A", 30}},                        // 30 oblique cylinder
      {{"Dm", 20}, {"P", 5}, {"d", 2}, {"NSU", 10}},           // 31 spring
      {{"R1", 1}, {"R2", 2}, {"R3", 3}},                       // 32 ellipsoid
      {{"R", 3}, {"A", 60}},                                   // 33 spherical wedge
      {{"R", 2}, {"H", 3}},                                    // 34 cylindrical wedge
      {{"R", 2}, {"H", 1}},                                    // 35 paraboloid
      {{"L1", 2}, {"L2", 3}, {"L3", 4}},                       // 36 cuboid
      {{"L1", 4}, {"L2", 5}, {"L3", 3}, {"H", 4}},             // 37 oblique prism
      {{"SB", 10}, {"H", 6}},                                  // 38 pyramid
      {{"R1", 11}, {"R2", 10}, {"L2", 100}, {"E1", 1}, {"E2", 1}, {"H1", 5}},  // 39 horizontal tank
      {{"R1", 11}, {"R2", 10}, {"L3", 100}, {"H1", 5}},                        // 40 tank with spherical ends
      {{"R1", 11}, {"R2", 10}, {"H1", 5}},                                     // 41 hollow sphere with liquid
      {{"R", 3}, {"r", 1}, {"H", 4}},                                          // 42 hopper
      {{"R", 10}, {"H", 5}},                                                   // 43 spherical sector
      {{"R", 10}, {"H1", 8}, {"H2", 2}},                                       // 44 spherical zone
      {{"R", 3}},                                                              // 45 sphere
      {{"R", 10}, {"r", 6}},                                                   // 46
      {{"R", 10}, {"r", 6}},                                                   // 47 napkin ring
      {{"R", 10}, {"H", 12}},                                                  // 48
      {{"R1", 8}, {"R2", 12}},                                                 // 49 torus
      {{"R", 3}, {"r", 1}, {"H", 4}},                                          // 50 frustum of a cone
      {{"R", 2}, {"A", 45}, {"HR", 3}},                                        // 51 truncated cylinder
      {{"SB", 16}, {"ST", 4}, {"H", 3}},                                       // 52 frustum of a pyramid
  };
  return data;
}

void BM_ComputeFigure(benchmark::State& state) {
  const int figure = static_cast<int>(state.range(0));
  qz::VariableTable table;
  table.createPredefined();
  for (const std::string& name : qz::FigureListNames(figure)) {
    qz::GeoVariable v;
    v.name = name;
    table.append(v);
  }
  qz::FigureData data;
  for (auto [name, value] : typicalData()[static_cast<size_t>(figure)]) {
    data.addRow(table, table.lookupVariable(name, true));
    data.row[static_cast<size_t>(data.rows - 1)].value = value;
  }
  qz::GeoSolver solver(table, nullptr);
  for (auto _ : state) {
    solver.ComputeFigure(figure, data);
    benchmark::DoNotOptimize(solver.progress());
  }
  state.counters["computed"] = solver.progress();
  state.counters["sweeps"] = solver.sweeps();
}
BENCHMARK(BM_ComputeFigure)->DenseRange(0, qz::kFigureCount - 1)->Unit(benchmark::kMicrosecond);

// The general triangle solver's two-parameter search (three bisectors of
// the 13-14-15 triangle: no closed form).
void BM_TriangleFromThreeBisectors(benchmark::State& state) {
  qz::VariableTable table;
  table.createPredefined();
  for (const std::string& name : qz::FigureListNames(22)) {
    qz::GeoVariable v;
    v.name = name;
    table.append(v);
  }
  qz::FigureData data;
  auto bisector = [](double x, double y, double opposite) {
    return std::sqrt(x * y * ((x + y) * (x + y) - opposite * opposite)) / (x + y);
  };
  const std::pair<const char*, double> medians[] = {
      {"B1", bisector(14, 15, 13)}, {"B2", bisector(13, 15, 14)}, {"B3", bisector(13, 14, 15)}};
  for (auto [name, value] : medians) {
    data.addRow(table, table.lookupVariable(name, true));
    data.row[static_cast<size_t>(data.rows - 1)].value = value;
  }
  qz::GeoSolver solver(table, nullptr);
  for (auto _ : state) {
    solver.ComputeFigure(22, data);
    benchmark::DoNotOptimize(solver.progress());
  }
}
BENCHMARK(BM_TriangleFromThreeBisectors)->Unit(benchmark::kMicrosecond);

}  // namespace
