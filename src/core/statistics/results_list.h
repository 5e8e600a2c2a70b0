// The statistics results list: markup lines (one-byte codes) built from a
// results record, and what a click on one of them yields.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "statistics/stat_engine.h"

namespace qz {

/// One-byte markup codes the list lines use.
namespace markup {
inline constexpr char kField = '\x82';  ///< value field open/close
inline constexpr char kRed = '\x83';
inline constexpr char kGreen = '\x84';
inline constexpr char kBlue = '\x85';
inline constexpr char kBold = '\x86';
inline constexpr char kUnderline = '\x87';
inline constexpr char kOverline = '\x88';
inline constexpr char kItalic = '\x89';
inline constexpr char kGreek = '\x8A';  ///< Symbol font on/off
inline constexpr char kSubscript = '\x8B';
inline constexpr char kSuperscript = '\x8C';
/// True for the bytes 0x81..0x8C.
inline bool isCode(char c) {
  auto b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0x8C;
}
/// The text without any code byte.
std::string strip(const std::string& line);
/// The line as UTF-8 plain text: codes removed, Greek runs as Greek letters,
/// superscript digits as superscripts, overlined letters with a combining macron.
std::string toPlainUtf8(const std::string& line);
}  // namespace markup

/// At most this many lines are kept; later lines are dropped.
inline constexpr std::size_t kResultsListCapacity = 25;

/// The results list of a successful computation in `mode`: n, the sums, the
/// means, variances and deviations, and the line's a, b, r² when there is one.
/// Values "%.9G" (r² of the regression "%G"); empty strings are blank lines.
std::vector<std::string> buildResultsList(const StatResults& results, StatMode mode);

/// The number a result line shows: the text after the first "=" with the
/// markup removed, read as a number. Its text as read is returned (nothing for
/// a blank line or a line without a number).
std::optional<std::string> resultLineNumber(const std::string& line);

}  // namespace qz
