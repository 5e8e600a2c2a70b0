// The rows of qz-cli stats: read line by line from a file or standard input,
// any number of them, one or two columns of numbers or chosen columns of a
// CSV/TSV table.
#pragma once

#include <string>
#include <vector>

#include "platform/messenger.h"
#include "statistics/stat_table.h"

namespace qz::cli {

struct StatsInputOptions {
  int mode = -1;             ///< -1: from the columns (one: mode 0, two: mode 2)
  std::vector<int> columns;  ///< columns taken, from 1; empty: every column of the line
  bool header = false;       ///< the first line that is not blank or a comment names the columns
  bool decimalComma = false; ///< a comma is always a decimal comma, never a separator
};

/// Reads "2,3" or "4" (columns from 1, at most two); false when it is not that.
bool parseColumnList(const std::string& text, std::vector<int>& columns);

/// The fields of one line. ";" or tabs separate columns when the line has
/// them, else blanks; a comma is then a decimal comma. A line made of numbers
/// joined by commas alone is comma-separated, except that a single comma is a
/// decimal comma ("1,5") when one column is expected; with `decimalComma`
/// commas never separate. A field between double quotes loses them.
void splitStatFields(std::string_view line, int expectedColumns, bool decimalComma,
                     std::vector<std::string_view>& fields);

/// Appends the rows of `path` ("-": standard input) to `rows`, in
/// `options.mode` (set from the columns when it was -1). Lines are read one at
/// a time, blank lines and lines starting with "#" skipped; false after a
/// French message naming the line at fault (or the file that cannot be
/// opened). A file must be a regular file: a device or a FIFO is refused.
bool readStatRows(const std::string& path, StatsInputOptions& options, std::vector<StatRow>& rows,
                  Messenger& messenger);

}  // namespace qz::cli
