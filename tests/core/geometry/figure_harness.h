// Test support: a figure's variable table set up from the names its equation
// list uses, without the catalogue files, with known data and a solver.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "geometry/figure_data.h"
#include "geometry/figure_lists.h"
#include "geometry/geo_solver.h"
#include "geometry/geo_variable.h"
#include "platform/scripted_messenger.h"

namespace qz::testing {

/// The folder of the shipped catalogues (the build's data folder under ctest).
inline std::string catalogueFolder() {
  const char* env = std::getenv("QZ_DATA_DIR");
  return env != nullptr ? env : ".";
}

class FigureHarness {
 public:
  /// Every name of the figure's list as an internal variable with the whole
  /// real range, unless `lengthsPositive` (then names that are not angles,
  /// coordinates or signed quantities get the minimum 0, as a catalogue gives).
  explicit FigureHarness(int figure)
      : m_figure(figure), m_table(&m_messenger), m_solver(m_table, &m_messenger) {
    m_table.createPredefined();
    for (const std::string& name : FigureListNames(figure)) {
      GeoVariable v;
      v.name = name;
      v.kind = 'V';
      m_table.append(v);
    }
  }

  /// Restricts the range of a variable (the catalogue would).
  void setRange(std::string_view name, double minimum, double maximum) {
    int i = index(name);
    m_table.at(i).minimum = minimum;
    m_table.at(i).maximum = maximum;
  }
  /// Adds a known-data row.
  void give(std::string_view name, double value) {
    int i = index(name);
    m_table.at(i).value = value;
    ASSERT_TRUE(m_data.addRow(m_table, i)) << name;
    m_data.row[static_cast<size_t>(m_data.rows - 1)].value = value;
  }
  void compute(bool explicitRequest = false) {
    m_solver.setExplicitRequest(explicitRequest);
    m_solver.ComputeFigure(m_figure, m_data);
    m_solver.setExplicitRequest(false);
  }
  int index(std::string_view name) const {
    int i = m_table.lookupVariable(name, true);
    EXPECT_GE(i, 0) << "no variable " << name;
    return i;
  }
  int state(std::string_view name) const { return m_table.at(index(name)).state; }
  bool known(std::string_view name) const { return state(name) == kKnown; }
  double value(std::string_view name) const { return m_table.at(index(name)).value; }

  ScriptedMessenger& messenger() { return m_messenger; }
  GeoSolver& solver() { return m_solver; }
  VariableTable& table() { return m_table; }
  FigureData& data() { return m_data; }

 private:
  int m_figure;
  ScriptedMessenger m_messenger;
  VariableTable m_table;
  GeoSolver m_solver;
  FigureData m_data;
};

/// Expects `name` computed (or given) with `expected` within a relative `tolerance`.
#define EXPECT_FIGURE_VALUE(harness, name, expected, tolerance)                                    \
  do {                                                                                             \
    EXPECT_EQ((harness).state(name), ::qz::kKnown) << (name);                                      \
    EXPECT_NEAR((harness).value(name), (expected), (tolerance)*std::max(1.0, std::fabs(expected))) \
        << (name);                                                                                 \
  } while (0)

}  // namespace qz::testing
