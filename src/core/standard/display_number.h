// Whether the text of the standard calculator's display is a number the tape
// can take, and why not.
#pragma once

#include <string>

namespace qz {

/// The outcome of checking the display text.
struct DisplayNumber {
  bool valid = false;
  double value = 0.0;
  /// Why it is not valid: 0 for an empty text, else text 10 "Valeur
  /// incorrecte !", 6 (above 1E+300), 7 (below -1E+300) or 3 (magnitude under
  /// 1E-300); `limit` is the value those texts show.
  int messageId = 0;
  double limit = 0.0;
};

/// Valid when the text is not empty, passes CheckTypedNumber, converts
/// completely as a C-locale real and lies within ±1E+300 without being smaller
/// than 1E-300 in magnitude (0 itself is valid).
DisplayNumber checkDisplayNumber(const std::string& text);

}  // namespace qz
