// The standard calculator's engine: what each key does to the tape, the
// evaluation of a calculation, editing, deletion and refresh.
#pragma once

#include <string>

#include "numbers/real_format.h"
#include "platform/messenger.h"
#include "standard/tape.h"

namespace qz {

/// What the tape is being used for.
enum class EditMode : int {
  Normal = 0,          ///< typing numbers; the display is the number being typed
  ChangeOperator = 1,  ///< an operator or function entry is selected
  EditNumber = 2,      ///< a number entry is selected
  TotalSelected = 3,   ///< a total is selected
};

/// What a key did.
enum class KeyResult {
  Done,            ///< entries were added or rewritten
  Ignored,         ///< the key does nothing in this state
  InvalidDisplay,  ///< the display number is not valid: nothing was added
  Refused,         ///< a message was shown (full tape, unbalanced parentheses)
};

/// The result of evaluating a calculation.
struct Evaluation {
  bool balanced = true;  ///< false: as many "(" as ")" are needed; nothing else is valid
  double value = 0.0;
  bool error = false;  ///< the value is 0 and in error
};

/// Owns the tape and the editing state. Messages go through the messenger
/// given at construction (full tape: caption 142, text 4; unbalanced
/// parentheses at Total: caption 142, text 49). Every entry written takes the
/// current display setting.
class TapeEngine {
 public:
  explicit TapeEngine(Messenger& messenger) : m_messenger(&messenger) {}

  const Tape& tape() const { return m_tape; }
  /// For readers of documents; call resetEditing() after changing it.
  Tape& tape() { return m_tape; }

  EditMode mode() const { return m_mode; }
  /// The selected entry, -1 in normal mode.
  int selected() const { return m_selected; }
  /// The tape count in normal mode, else the selected entry.
  int currentIndex() const { return m_mode == EditMode::Normal ? m_tape.count() : m_selected; }

  DisplaySetting displaySetting() const { return m_display; }
  /// Mode 0, 1 or 3 and decimals 0 to 9 (out-of-range values are ignored).
  /// Only entries written afterwards take it, until a refresh.
  void setDisplaySetting(DisplaySetting setting);
  void setDisplayMode(int mode);
  void setDecimals(int decimals);

  /// Plus, minus, times, divide (kinds 2 to 5). `display` is the display text.
  KeyResult pressOperator(EntryKind kind, const std::string& display);
  /// Square root, square, inverse (kinds 6 to 8).
  KeyResult pressFunction(EntryKind kind, const std::string& display);
  KeyResult pressOpen();
  KeyResult pressClose(const std::string& display);
  KeyResult pressTotal(const std::string& display);

  /// Removes the last entry, and with it the function, "=" or separator that
  /// it leaves last; evaluates again; back to normal mode. Ignored on an empty tape.
  KeyResult deleteLast();
  /// Count 0, every entry cleared, normal mode.
  void clearTape();
  /// Evaluates again the calculation of the selected entry (or the last one)
  /// and stamps the current display setting on all its entries; normal mode.
  void refresh();

  /// Selects entry `index`: a number gives EditNumber, an operator or a
  /// function ChangeOperator, a total TotalSelected; anything else (or an
  /// index outside the tape) clears the selection. Returns the new mode.
  EditMode select(int index);
  /// True when the selected entry is a number produced by a function (it
  /// cannot be edited).
  bool selectedIsFunctionResult() const;
  /// "Mise à jour": a valid display number becomes the selected number's new
  /// value and its calculation is evaluated again; the selection stays.
  KeyResult updateSelected(const std::string& display);
  /// "Fin MAJ": back to normal mode.
  void endEditing() { resetEditing(); }
  void resetEditing();

  /// Applies the functions and evaluates the calculation holding entry
  /// `index`, rewriting its totals. With messages, unbalanced parentheses show
  /// text 49.
  Evaluation evaluate(int index, bool withMessages);

 private:
  Messenger* m_messenger;
  Tape m_tape;
  EditMode m_mode = EditMode::Normal;
  int m_selected = -1;
  DisplaySetting m_display{0, 2};

  bool capacityReached();
  bool roomFor(int entries);
  KeyResult editSelected(EntryKind kind);
};

}  // namespace qz
