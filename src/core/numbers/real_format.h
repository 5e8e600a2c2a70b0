// Turning reals into text: the five display modes, the exchange text and the
// date stamp.
#pragma once

#include <string>
#include <string_view>

namespace qz {

/// How FormatReal prints a real.
enum class FormatMode {
  Free = 0,         ///< "%.12G", trailing zeros after the point removed
  Fixed = 1,        ///< fixed point with N decimals
  Significant = 2,  ///< "%.12G" as printed
  Scientific = 3,   ///< exponent form with N decimals
  Integer = 4,      ///< truncated toward zero
};

/// The standard calculator's display choice: mode 0, 1 or 3 and 0 to 9 decimals.
struct DisplaySetting {
  int mode = 0;
  int decimals = 2;
  friend bool operator==(const DisplaySetting&, const DisplaySetting&) = default;
};

/// printf of one double, with every exponent written with a sign and at least
/// three digits ("1.5E+015"), whatever the C library prints. Use it for every
/// real that leaves the program.
std::string formatDouble(const char* format, double value);

/// The exchange text of a real: "%.12G" with a three-digit exponent.
std::string exchangeText(double value);

/// `value` printed by `customFormat` (a printf format for one double) when it
/// is not empty, else by `mode` with `decimals` (0 to 9). Mode codes outside
/// 0..4 give "". The text is upper-cased; free mode without a custom format
/// drops trailing zeros after a point in texts without an exponent.
std::string FormatReal(double value, std::string_view customFormat, int mode, int decimals);
inline std::string FormatReal(double value, FormatMode mode, int decimals = 2) {
  return FormatReal(value, {}, static_cast<int>(mode), decimals);
}

/// Today's local date "%d/%m/%Y", or "%d/%m/%Y (%H:%M)" with the time.
std::string FormatDateStamp(bool withTime);

/// Parses a whole text as a C-locale real; false when it is not one (or out of range).
bool parseReal(std::string_view text, double& value);

/// Reads a real the way the settings and documents store them: leading blanks
/// skipped, the longest number prefix taken, 0 when there is none.
double readRealPrefix(std::string_view text);

}  // namespace qz
