// The statistics results list: markup lines (one-byte codes) built from a
// results record, and what a click on one of them yields.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "numbers/markup.h"
#include "statistics/stat_engine.h"

namespace qz {

/// The markup codes the list lines use, as characters to build lines with.
namespace markup {
inline constexpr char kField = static_cast<char>(kMarkupField);  ///< value field open/close
inline constexpr char kRed = static_cast<char>(kMarkupRed);
inline constexpr char kGreen = static_cast<char>(kMarkupGreen);
inline constexpr char kBlue = static_cast<char>(kMarkupBlue);
inline constexpr char kOverline = static_cast<char>(kMarkupOverline);
inline constexpr char kGreek = static_cast<char>(kMarkupGreek);  ///< Symbol font on/off
inline constexpr char kSubscript = static_cast<char>(kMarkupSubscript);
inline constexpr char kSuperscript = static_cast<char>(kMarkupSuperscript);
inline bool isCode(char c) { return isMarkupCode(static_cast<unsigned char>(c)); }
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
