// One line of the standard calculator's tape and the kinds of line it can be.
#pragma once

#include "numbers/real_format.h"

namespace qz {

/// What a tape entry is. The values are the codes stored in documents.
enum class EntryKind : int {
  Separator = -1,  ///< line between two calculations
  Empty = 0,       ///< unused slot: the end of the tape
  Number = 1,      ///< a value typed, recalled or produced by a function
  Plus = 2,
  Minus = 3,
  Times = 4,
  Divide = 5,
  SquareRoot = 6,
  Square = 7,
  Inverse = 8,
  Power = 9,  ///< no key produces it, but documents may hold it
  Open = 10,
  Close = 11,
  Equals = 12,
  Total = 13,  ///< the result of a calculation, with its value
};

/// True for the codes -1 to 13.
inline bool isKnownKind(int code) { return code >= -1 && code <= 13; }
/// Plus, minus, times, divide and power: the operators between two operands.
inline bool isOperator(EntryKind k) {
  return (k >= EntryKind::Plus && k <= EntryKind::Divide) || k == EntryKind::Power;
}
/// Square root, square and inverse: they act at once on the entry before them.
inline bool isFunction(EntryKind k) { return k >= EntryKind::SquareRoot && k <= EntryKind::Inverse; }

/// One tape record, fields in the order documents store them.
struct TapeEntry {
  EntryKind kind = EntryKind::Empty;
  int level = 0;                 ///< parentheses open around the entry
  double value = 0.0;            ///< for numbers and totals
  bool absorbed = false;         ///< replaced in the calculation by a function result
  bool error = false;            ///< the value is in error
  DisplaySetting display{0, 2};  ///< display mode and decimals when last written

  friend bool operator==(const TapeEntry&, const TapeEntry&) = default;
};

}  // namespace qz
