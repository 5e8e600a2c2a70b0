// The standard calculator window's rules without the widgets: the display
// field, keys, keypad, tape lines and scrolling, selection, display modes,
// memories, clipboard and what is enabled. The window only shows this state
// and forwards what the user does.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messenger.h"
#include "standard/standard_keys.h"
#include "standard/tape_engine.h"
#include "standard/tape_lines.h"

namespace qz {

/// The window-side state of the standard calculator over the engine and the
/// memories the application owns. Texts are code page 1252.
class StandardCalculator {
 public:
  static constexpr int kDisplayLimit = 25;  ///< characters in the display field
  static constexpr int kPageLines = 5;      ///< lines moved by a page of the scroll bar
  static constexpr int kTextInset = 4;      ///< pixels between the tape frame and its text

  /// Starts in normal mode with an empty display and the tape's end shown.
  StandardCalculator(TapeEngine& engine, std::array<double, 10>& memories, Messenger& messenger);

  TapeEngine& engine() { return m_engine; }
  const TapeEngine& engine() const { return m_engine; }
  EditMode mode() const { return m_engine.mode(); }

  // --- Display field -------------------------------------------------------
  const std::string& displayText() const { return m_display; }
  int selectionStart() const { return m_selStart; }
  int selectionEnd() const { return m_selEnd; }
  /// The field's selection (caret when start == end), clamped to the text.
  void setDisplaySelection(int start, int end);
  /// False in modes 1 and 3: the field is disabled.
  bool displayEnabled() const;
  /// True when the field shows a function's result, which cannot be edited.
  bool displayReadOnly() const;
  /// A change made in the field: the new text (upper-cased here) and caret.
  /// Refused when it is not a number being typed or is longer than 25
  /// characters: warning beep, the text stays as it was, false.
  bool editDisplay(const std::string& newText, int caret);
  /// A character typed, or sent by a keypad key: replaces the selection.
  bool typeCharacter(char c);
  /// "Efface&r".
  void clearDisplay();
  /// The field took the focus: its text is kept to restore it after a refusal.
  void displayFocusGained();
  /// Where the focus goes when the field loses it.
  enum class FocusTarget { Other, CancelButton, ClearButton };
  /// The field loses the focus: outside mode 1, a text that is not a valid
  /// display number is reported (text 10, 6, 7 or 3), the saved text comes
  /// back and false is returned (the field keeps the focus).
  bool displayFocusLost(FocusTarget target);
  /// False after a failed display check until the next check: switching and
  /// closing wait for a valid number.
  bool ready() const { return m_ready; }

  // --- Commands, keypad, keyboard -----------------------------------------
  /// Runs a command of the window (see StandardCommand); false when the
  /// command is not one the standard calculator handles itself (open, save,
  /// print... go to the shared command set).
  bool command(int id);
  bool command(StandardCommand c) { return command(static_cast<int>(c)); }
  /// What the last key operation did (for the command line and tests).
  KeyResult lastResult() const { return m_lastResult; }
  /// Mouse button down on keypad key `key` (-1 for none): it shows pressed.
  void keypadPressed(int key);
  /// Button up: every key is released and the pressed one performed, unless
  /// a selected entry forbids it. Returns true when the key was performed.
  bool keypadReleased();
  int pressedKey() const { return m_pressedKey; }
  /// True when keypad keys are performed in the current selection state.
  bool keypadActive() const;
  /// Performs keypad key `key` (0 to 23).
  void performKey(int key);
  /// True when the field is editable and its caret (no selection) stands
  /// right after the "E" of the number being typed.
  bool caretAfterExponent() const;
  /// `input` with what the calculator's state adds to it (afterExponent).
  KeyInput withState(KeyInput input) const;
  /// A key press in the display field: true when it was taken here.
  /// Commands this class does not handle are returned in `forwarded`.
  bool keyPressed(const KeyInput& input, int* forwarded = nullptr);

  // --- Tape view -------------------------------------------------------------
  /// Lines that fit in a tape area `height` pixels high: (height - 8) / lineHeight.
  static int linesThatFit(int height, int lineHeight);
  void setVisibleLines(int lines);
  int visibleLines() const { return m_visibleLines; }
  int firstVisible() const { return m_firstVisible; }
  /// Count minus visible lines, at least 0.
  int scrollRange() const;
  void scrollLines(int delta);
  void scrollPages(int delta) { scrollLines(delta * kPageLines); }
  void scrollTo(int first);
  void showEnd() { m_firstVisible = scrollRange(); }
  /// The drawn line of entry `index`.
  TapeLine line(int index) const;
  /// The lines from the first visible one, at most visibleLines().
  std::vector<TapeLine> visibleTapeLines() const;
  /// The entry drawn at height `y` measured from the top of the tape area, -1 for none.
  int entryAtY(int y, int lineHeight) const;
  /// A click on entry `index` (or -1 outside the lines): selects it or clears
  /// the selection. A click that selects nothing while nothing was selected
  /// keeps the display as it is.
  void clickEntry(int index);

  // --- Display modes ---------------------------------------------------------
  bool isModeChecked(int mode) const { return m_engine.displaySetting().mode == mode; }
  /// The "&Décimales" items are disabled in free mode.
  bool decimalsEnabled() const { return m_engine.displaySetting().mode != 0; }
  bool isDecimalsChecked(int decimals) const { return m_engine.displaySetting().decimals == decimals; }

  // --- Memories --------------------------------------------------------------
  double memory(int i) const;
  /// The memory value with "%.<p>G" for the largest p from 12 down to 3 whose
  /// text, measured by `measure`, fits `width` less 4 pixels each side; "" if none fits.
  std::string memoryBoxText(int i, int width, const std::function<int(std::string_view)>& measure) const;

  // --- Clipboard ---------------------------------------------------------------
  /// The selected part of the display, or all of it when nothing is selected.
  std::string copyText() const;
  /// Pastes over the selection (all of the text when nothing is selected); a
  /// result that is not a valid display number beeps and keeps the old text.
  bool paste(const std::string& clipboardText);

  // --- Enabling -----------------------------------------------------------
  bool tapeEmpty() const { return m_engine.tape().empty(); }
  /// Print, export and undo (menus, toolbar, Ctrl+P, Ctrl+Z).
  bool canPrint() const { return !tapeEmpty(); }
  bool canUndo() const { return !tapeEmpty(); }
  /// "Mise à &jour" and "F&in MAJ" are shown while an entry is selected,
  /// "&Supprimer dernière entrée" otherwise.
  bool editButtonsShown() const { return m_engine.selected() >= 0; }
  /// "Mise à &jour" has something to do: a number is selected and editable.
  bool canUpdate() const { return mode() == EditMode::EditNumber && !displayReadOnly(); }

  /// "Effacer &tout": after the question (text 20), the tape is cleared.
  bool clearTapeConfirmed();
  /// The tape cleared without a question (clearing every calculator).
  void clearAll();
  /// After the tape was replaced (document read): normal mode, empty display, end shown.
  void reset();

 private:
  TapeEngine& m_engine;
  std::array<double, 10>& m_memories;
  Messenger& m_messenger;
  std::string m_display;
  std::string m_savedDisplay;
  int m_selStart = 0;
  int m_selEnd = 0;
  bool m_ready = true;
  int m_pressedKey = -1;
  int m_firstVisible = 0;
  int m_visibleLines = 1;
  KeyResult m_lastResult = KeyResult::Ignored;

  bool displayEditable() const;
  void setDisplay(std::string text, bool selectAll);
  void afterKey(KeyResult result, int countBefore);
  void afterSelectionChange();
  void beep();
  bool memoryCommand(int id);
};

}  // namespace qz
