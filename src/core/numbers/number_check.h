// Checking and normalising numbers typed or pasted by the user.
#pragma once

#include <string>
#include <string_view>

namespace qz {

/// The one rule of every number field for what the user types or pastes into
/// it: a lowercase "e" is the exponent "E" and a comma is the decimal point
/// (the French keyboard's decimal key). Fields check the text this returns
/// with the checks below and show it in place of the raw keystrokes.
std::string TypedNumberText(std::string_view typed);

/// True when `text` is a number or the beginning of one ("", "-", ".", "12E",
/// "-1.5E-"); used after each keystroke in a number field.
bool CheckTypedNumber(const std::string& text);

/// What CheckNumberText accepts.
enum class NumberKind {
  Integer = 1,  ///< digits only
  Decimal = 2,  ///< at most one point, no exponent
  Real = 3,     ///< optional point and exponent
};

/// True when `text` is an acceptable number of `kind` (1, 2 or 3; any other
/// kind checks the characters only). Blanks are removed and "," becomes "."
/// first; on acceptance `text` is replaced by that normalised form.
bool CheckNumberText(std::string& text, int kind, bool allowNegative);

/// Puts a sign before the mantissa (caret at 0) or the exponent (caret right
/// after the "E") of a number being typed. `selStart`/`selEnd` are the field's
/// selection and are updated; returns true when the text changed.
bool InsertSign(std::string& text, int& selStart, int& selEnd, bool negative);

/// The change-sign key: places the caret on the part the selection is in and
/// flips that part's sign ("-" unless it already begins with "-").
bool ChangeSign(std::string& text, int& selStart, int& selEnd);

/// The first number in a free text ("Longueur  1 250,5 m" gives 1250.5); the
/// text becomes that number's text, or "" (and 0 is returned) when it holds none.
double ExtractNumber(std::string& text);

/// Replaces every "." by `separator`, for numbers that leave the program.
std::string LocalisePoint(std::string text, char separator);
/// Replaces every "," by ".".
std::string DelocalisePoint(std::string text);

/// Limits `value` to -1E+300..1E+300 (returns true when it had to) and turns
/// magnitudes below 1E-300 into 0 (not reported).
bool ClampReal(double& value);

}  // namespace qz
