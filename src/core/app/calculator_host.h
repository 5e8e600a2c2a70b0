// Which calculator window runs next: the host's decisions, apart from any window.
#pragma once

#include <optional>
#include <string>

#include "platform/messenger.h"

namespace qz {

/// "Les modifications faites dans cette calculette ... Confirmation ?"
inline constexpr int kCancelChangesQuestion = 31010;

/// Cancelling a calculator window (Escape, the close box, "Annuler") drops
/// every change made since it opened, so when its section differs from the
/// one it opened with the user is asked first (Yes/No under "ATTENTION").
/// True when the window may go.
bool ConfirmCancel(Messenger& messenger, const std::optional<std::string>& openedSection,
                   const std::optional<std::string>& currentSection);

/// The host looks at the calculator asked for every 100 ms and starts it when
/// it differs from the last one shown. One calculator window runs at a time.
class CalculatorHost {
 public:
  enum class Action {
    None,            ///< nothing to do
    OpenCalculator,  ///< run the window of `calculator`
    Quit,            ///< end the program through the main frame's close
  };
  struct Step {
    Action action = Action::None;
    int calculator = -1;
  };

  /// A tick of the host's timer with the calculator currently asked for.
  Step tick(int currentCalculator);
  /// The running window has closed and left `currentCalculator` (another
  /// calculator, -1 for the start page, -100 to quit the program).
  Step windowClosed(int currentCalculator);
  /// The running window was cancelled: nothing is committed, and the host
  /// forgets it, so that a click on its zone opens it again.
  void windowCancelled(int& currentCalculator);

  int lastShown() const { return m_lastShown; }
  bool windowRunning() const { return m_running; }

 private:
  int m_lastShown = -1;
  bool m_running = false;
};

}  // namespace qz
