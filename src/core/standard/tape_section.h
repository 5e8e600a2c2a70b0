// The standard calculator's section of the document: the tape, one entry a line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "standard/tape.h"

namespace qz {

/// The section body: the entry count, then one line per entry
/// "%d|%d|%.12G|%d|%d|%d|%d" (kind, level, value, absorbed, error, display
/// mode, decimals). Nothing when the tape is empty: the section is then removed.
std::optional<std::string> writeTapeSection(const Tape& tape);

/// Clears the tape, then reads a body. The count is capped at 2000 (a negative
/// or missing count reads as 0); fields follow the document's lenient rules.
/// Lines with an unknown or empty kind are left out, display modes outside
/// 0..4 read as 0 and decimals are kept within 0..9. Levels are derived again
/// from the kinds, so that a damaged file cannot unbalance the tape. Returns
/// the number of entries loaded.
int readTapeSection(std::string_view body, Tape& tape);

}  // namespace qz
