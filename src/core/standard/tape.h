// The standard calculator's tape: 2000 entries and a count.
#pragma once

#include <vector>

#include "standard/tape_entry.h"

namespace qz {

/// Entries [begin, end) of one calculation on the tape.
struct CalculationRange {
  int begin = 0;
  int end = 0;
  bool empty() const { return end <= begin; }
};

/// A fixed table of entries with a count. Entries past the count are cleared.
/// Levels are derived from the entry before: see `levelAfter`.
class Tape {
 public:
  static constexpr int kCapacity = 2000;
  /// Keys that add entries are refused from this count on, so that the two or
  /// three entries of one key always fit.
  static constexpr int kAddLimit = 1998;

  Tape();

  int count() const { return m_count; }
  bool empty() const { return m_count == 0; }
  /// Entry `i` (0 <= i < kCapacity); slots past the count are cleared entries.
  const TapeEntry& operator[](int i) const { return m_entries[static_cast<std::size_t>(i)]; }
  TapeEntry& at(int i) { return m_entries[static_cast<std::size_t>(i)]; }
  /// Kind of entry `i`, Empty outside 0..count-1.
  EntryKind kindAt(int i) const;
  /// Kind of the last entry, Empty when the tape is empty.
  EntryKind lastKind() const { return kindAt(m_count - 1); }

  /// The level a `kind` entry takes when it follows entry `previous` (-1: none):
  /// "(" one more than the previous entry, "=" and totals 0, anything else the
  /// previous level, one less after ")" (never below 0).
  int levelAfter(int previous, EntryKind kind) const;

  /// Appends an entry with its level and the given display stamp; returns its
  /// index, or -1 when the table is full.
  int append(EntryKind kind, double value, DisplaySetting stamp, bool error = false);
  /// Inserts an entry at `index` (0..count), shifting the rest; -1 when full.
  int insert(int index, EntryKind kind, double value, DisplaySetting stamp, bool error = false);
  /// Rewrites entry `index` with a kind and value: new level and stamp.
  void rewrite(int index, EntryKind kind, double value, DisplaySetting stamp);
  /// Puts a whole record in the next slot as it is (documents); false when full.
  bool appendRecord(const TapeEntry& entry);
  void removeLast();
  /// Count 0, every entry cleared.
  void clear();
  /// Recomputes every level from the kinds (after reading a document).
  void recomputeLevels();

  /// The calculation holding entry `index`: from just after the separator
  /// before it (or the start) to the next separator or the end of the tape.
  CalculationRange calculationAround(int index) const;

 private:
  std::vector<TapeEntry> m_entries;
  int m_count = 0;
};

}  // namespace qz
