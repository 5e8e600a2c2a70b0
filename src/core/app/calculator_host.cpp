#include "app/calculator_host.h"

#include "app/launcher.h"
#include "document/document_store.h"
#include "numbers/messages.h"

namespace qz {

bool ConfirmCancel(Messenger& messenger, const std::optional<std::string>& openedSection,
                   const std::optional<std::string>& currentSection) {
  return openedSection == currentSection || Confirm(messenger, kCancelChangesQuestion);
}

CalculatorHost::Step CalculatorHost::tick(int currentCalculator) {
  if (m_running || currentCalculator == m_lastShown) return {};
  m_lastShown = currentCalculator;
  if (currentCalculator >= 0 && currentCalculator < kCalculatorCount) {
    m_running = true;
    return {Action::OpenCalculator, currentCalculator};
  }
  if (currentCalculator == Launcher::kQuitZone) return {Action::Quit, currentCalculator};
  return {};
}

CalculatorHost::Step CalculatorHost::windowClosed(int currentCalculator) {
  m_running = false;
  if (currentCalculator == kQuitProgram) return {Action::Quit, currentCalculator};
  return {};
}

void CalculatorHost::windowCancelled(int& currentCalculator) {
  m_running = false;
  m_lastShown = -1;
  currentCalculator = -1;
}

}  // namespace qz
