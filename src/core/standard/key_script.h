// Key sequences written as words ("2 + 3 =", "9 sqrt"), run through the
// standard calculator as a user would press the keys: for the command line,
// tests and fuzzing.
#pragma once

#include <string_view>

#include "standard/standard_calculator.h"

namespace qz {

/// What running one word did.
enum class ScriptOutcome {
  Done,     ///< the key was pressed (it may have done nothing, like a real key)
  Refused,  ///< a message was shown: full tape, unbalanced parentheses, invalid number
  Unknown,  ///< not a key word
};

/// Runs one word:
/// - a number ("12.5", "-3", "1e5") is typed into an empty display, as the
///   keys would type it; a text that is not a number being typed is refused
///   with text 10;
/// - "+", "-", "*" or "x", "/", "(", ")", "=" or "total", "sqrt", "sq", "inv",
///   "pi", "neg" (change sign) are the keys;
/// - "free", "fixed", "sci", "dec0" to "dec9", "refresh" the display menu;
/// - "undo" deletes the last entry, "clear" clears the tape (after the question);
/// - "sel=N" clicks entry N (from 0), "update" and "endedit" the editing buttons;
/// - "msN", "maN", "mrN", "mcN" copy to, add to, use and clear memory N.
/// A key that could not take the display number shows why (text 10, 6, 7, 3).
ScriptOutcome runScriptKey(StandardCalculator& calculator, std::string_view word, Messenger& messenger);

}  // namespace qz
