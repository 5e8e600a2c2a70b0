#include "app/panel_factory.h"

#include "app/calculator_panel.h"
#include "standard/standard_panel.h"

namespace qz {

CalculatorPanel* createCalculatorPanel(int calculator, CalcApp& app) {
  if (calculator == 0) return new StandardPanel(app);
  // Calculators whose own window is not built yet keep their document section
  // as it was read, so that switching through them never loses data.
  return new PreservingPanel;
}

}  // namespace qz
