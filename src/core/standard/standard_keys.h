// The standard calculator's commands, its drawn keypad and its keyboard keys.
#pragma once

#include <array>

namespace qz {

/// Command numbers of the standard calculator window (the shared ones it
/// handles itself included).
enum class StandardCommand : int {
  None = 0,
  Pi = 32865,
  SquareRoot = 32866,
  Square = 32867,
  Inverse = 32868,
  ChangeSign = 32869,
  Open = 32870,
  Close = 32871,
  Plus = 32872,
  Minus = 32873,
  Times = 32874,
  Divide = 32875,
  Total = 32876,
  FreeMode = 32821,        ///< "&Libre"
  FixedMode = 32822,       ///< "&Fixe"
  ScientificMode = 32823,  ///< "&Scientifique"
  DecimalsFirst = 3500,    ///< "&Décimales" 0 ... 3509 for 9
  Refresh = 32795,         ///< "&Rafraîchir"
  Update = 1004,           ///< "Mise à &jour"
  EndEdit = 1003,          ///< "F&in MAJ"
  DeleteLast = 1005,       ///< "&Supprimer dernière entrée (^Z)"
  Undo = 32782,            ///< "&Annuler": delete the last entry
  ClearTape = 1002,        ///< "Effacer &tout"
  ClearDisplay = 1027,     ///< "Efface&r" (Alt+E is the "&Edition" menu's)
  Copy = 32776,
  Paste = 32781,
  MemoryButtonFirst = 2130,  ///< "M0" ... 2139 "M9": use the memory
  CopyToMemoryFirst = 3100,  ///< + memory number
  AddToMemoryFirst = 3200,
  UseMemoryFirst = 3300,
  ClearMemoryFirst = 3400,
  ClearAllMemories = 32848,
  OpenFile = 57601,  ///< forwarded to the shared command set
  Save = 57603,
  Print = 32778,
};

/// One key of the drawn keypad: 4 columns and 6 rows of 45 x 35 pixels.
struct KeypadKey {
  const char* label;        ///< UTF-8 caption for the key picture
  char character;           ///< the character typed into the display, or 0
  StandardCommand command;  ///< the command sent, when `character` is 0
  int row;
  int column;
};

inline constexpr int kKeypadKeyCount = 24;
inline constexpr int kKeypadColumns = 4;
inline constexpr int kKeyWidth = 45;
inline constexpr int kKeyHeight = 35;

/// The 24 keys, numbered row by row from the top left.
const std::array<KeypadKey, kKeypadKeyCount>& keypadKeys();

/// The key under a point given relative to the keypad's top-left corner, or -1.
int keypadKeyAt(int x, int y);

/// A key press while the display field has the focus.
struct KeyInput {
  char character = 0;  ///< the character of the key ('+', '7', 'c'...), 0 for none
  bool enter = false;  ///< the Enter key
  bool ctrl = false;
  bool shift = false;
  /// The caret stands right after the "E" of the number being typed: a "+"
  /// or "-" then signs the exponent instead of being an operator.
  bool afterExponent = false;
};

/// What a key press does before the display field sees it.
struct KeyboardAction {
  enum Kind {
    None,     ///< the field takes the key as typed and checks it
    Keypad,   ///< the keypad key `id`
    Command,  ///< the command `id`
  };
  Kind kind = None;
  int id = 0;
  friend bool operator==(const KeyboardAction&, const KeyboardAction&) = default;
};

/// The keyboard table: Enter and "=" Total; "+", "-", "*", "/" the operators
/// (without Ctrl; with or without Shift, which most layouts need for them);
/// "." and "E"/"e" their keys (only without Ctrl and Shift); digits
/// and parentheses without Ctrl; "+" and "-" right after an exponent's "E"
/// are left to the field, which types them; Ctrl+C copy, Ctrl+V paste, Ctrl+O open,
/// Ctrl+S save; Ctrl+P print and Ctrl+Z delete the last entry only when the
/// tape is not empty.
KeyboardAction keyboardAction(const KeyInput& input, bool tapeEmpty);

}  // namespace qz
