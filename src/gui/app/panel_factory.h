// Each calculator's content for the shared calculator window.
#pragma once

namespace qz {

class CalcApp;
class CalculatorPanel;

/// A new panel for calculator `calculator` (0 to 4), owned by the window it goes into.
CalculatorPanel* createCalculatorPanel(int calculator, CalcApp& app);

}  // namespace qz
