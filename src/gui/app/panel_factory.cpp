#include "app/panel_factory.h"

#include "app/calculator_panel.h"
#include "app/calc_app.h"
#include "geometry/geometry_model.h"
#include "geometry/geometry_panel.h"
#include "scientific/scientific_calculator.h"
#include "scientific/scientific_panel.h"
#include "standard/standard_panel.h"
#include "statistics/statistics_panel.h"
#include "units/units_database.h"
#include "units/units_panel.h"

namespace qz {

PanelModels::PanelModels() = default;
PanelModels::~PanelModels() = default;

ScientificCalculator& PanelModels::scientific(CalcApp& app) {
  if (!m_scientific) m_scientific = std::make_unique<ScientificCalculator>(app.messenger());
  return *m_scientific;
}

GeometryModel& PanelModels::geometry(CalcApp& app) {
  if (!m_geometry) m_geometry = std::make_unique<GeometryModel>(geometryDataFolder(), app.messenger());
  return *m_geometry;
}

UnitsDatabase& PanelModels::unitsDatabase() {
  if (!m_unitsDatabase) m_unitsDatabase = std::make_unique<UnitsDatabase>();
  return *m_unitsDatabase;
}

CalculatorPanel* createCalculatorPanel(int calculator, CalcApp& app, PanelModels* models) {
  if (calculator == 0) return new StandardPanel(app);
  if (calculator == 1) return models ? new ScientificPanel(app, models->scientific(app)) : new ScientificPanel(app);
  if (calculator == 2) return new StatisticsPanel(app);
  if (calculator == 3) return models ? new GeometryPanel(app, models->geometry(app)) : new GeometryPanel(app);
  if (calculator == 4) return models ? new UnitsPanel(app, models->unitsDatabase()) : new UnitsPanel(app);
  // Calculators whose own window is not built yet keep their document section
  // as it was read, so that switching through them never loses data.
  return new PreservingPanel;
}

}  // namespace qz
