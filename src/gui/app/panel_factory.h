// Each calculator's content for the shared calculator window.
#pragma once

#include <memory>

namespace qz {

class CalcApp;
class CalculatorPanel;
class GeometryModel;
class ScientificCalculator;
struct UnitsDatabase;

/// Calculator engines that live for the whole run rather than for one window:
/// the scientific calculator's rnd() generator is seeded once per run; the
/// geometric calculator keeps its 53 figures' known data.
class PanelModels {
 public:
  PanelModels();
  ~PanelModels();
  /// Created at its first use.
  ScientificCalculator& scientific(CalcApp& app);
  GeometryModel& geometry(CalcApp& app);
  /// The units database, read at the first unit definition and kept for the run.
  UnitsDatabase& unitsDatabase();

 private:
  std::unique_ptr<ScientificCalculator> m_scientific;
  std::unique_ptr<GeometryModel> m_geometry;
  std::unique_ptr<UnitsDatabase> m_unitsDatabase;
};

/// A new panel for calculator `calculator` (0 to 4), owned by the window it
/// goes into. `models` keeps the engines of the run; without it a panel that
/// needs one has its own.
CalculatorPanel* createCalculatorPanel(int calculator, CalcApp& app, PanelModels* models = nullptr);

}  // namespace qz
