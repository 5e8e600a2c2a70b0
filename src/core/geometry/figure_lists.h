// The equation list of each of the 53 figures: what one sweep of the solver
// evaluates, in order.
#pragma once

#include <string>
#include <vector>

#include "geometry/geo_solver.h"

namespace qz {

/// One sweep of figure `figure`'s list (0..52); other numbers do nothing.
void RunFigureList(GeoSolver& solver, int figure);

/// Every variable name figure `figure`'s list uses (its equations, relation
/// groups and polygon solvers), without the predefined names, sorted and
/// without repeats. The figure's catalogue entry must define all of them.
std::vector<std::string> FigureListNames(int figure);

}  // namespace qz
