// The text form of a calculation and its evaluation: "$" plus, "£" minus,
// "*", "/", "^", parentheses, numbers in the exchange text.
#pragma once

#include <string>
#include <string_view>

namespace qz {

/// Operator characters of a calculation text. "+" and "-" are left to the
/// numbers (signs and exponents), so the sum and difference use other bytes.
inline constexpr char kTextPlus = '$';
inline constexpr char kTextMinus = '\xA3';  // "£" in code page 1252

/// The value of a calculation text; `error` means the value is 0 and flagged.
struct TextValue {
  double value = 0.0;
  bool error = false;
};

/// Evaluates a calculation text. Blanks are ignored. Innermost parentheses go
/// first, left to right; inside them, and then on what is left, every "^" is
/// applied left to right, then every "*", "/", "$", "£" in turn (so 8/2*2 is 2
/// and 5£2$1 is 2). Each operand and each intermediate result is rounded to 12
/// significant digits. Division by 0, a non-finite result, unmatched
/// parentheses or a piece that is not a number give the error. An empty text
/// is 0; an empty operand between two operators counts as 0.
TextValue evaluateCalculationText(std::string_view text);

/// `value` rounded to 12 significant digits, as writing and reading "%.12G" does.
double roundTo12Digits(double value);

}  // namespace qz
