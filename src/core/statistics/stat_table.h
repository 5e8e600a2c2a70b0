// The statistics table: up to 1000 rows of x and a second value (a count or y).
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace qz {

/// What the second value of a row means.
enum class StatMode {
  Values = 0,       ///< "Valeurs &X": x alone
  Frequencies = 1,  ///< "Valeurs X avec N &répétitions": x and its count n
  Pairs = 2,        ///< "Valeurs X et valeurs &Y (corrélation)": x and y
};

/// The mode from its stored integer; anything unknown reads as Values.
StatMode statModeFromInt(long long value);
/// Number of value columns the grid shows for a mode (1 or 2).
inline int valueColumns(StatMode mode) { return mode == StatMode::Values ? 1 : 2; }

struct StatRow {
  double x = 0.0;
  double second = 0.0;  ///< count n in mode 1, y in mode 2, unused in mode 0
  friend bool operator==(const StatRow&, const StatRow&) = default;
};

/// Why a count (the second value of a row in mode 1) cannot be taken.
enum class CountFault {
  None,
  Negative,    ///< below 0
  Fractional,  ///< not a whole number (or not a number at all)
};

/// Texts of the count faults; "@" is the row number.
enum CountFaultText : int {
  kCountNegativeText = 31001,    ///< "Ligne @ : une fréquence n ne peut pas être négative !"
  kCountFractionalText = 31002,  ///< "Ligne @ : une fréquence n est un nombre entier..."
};

/// The one rule for a count wherever it comes from (typed, pasted, a
/// document, qz-cli): a whole number of at least 0. Its upper limit is the
/// callers' value check.
CountFault countFault(double count);

/// Rows are numbered 1 to kCapacity as the grid shows them; rows 1..count()
/// hold data and every other row is zero.
class StatTable {
 public:
  static constexpr int kCapacity = 1000;

  int count() const { return m_count; }
  bool isEmpty() const { return m_count == 0; }
  bool isFull() const { return m_count >= kCapacity; }

  /// Row `row` (1..kCapacity); out-of-range rows read as zero.
  const StatRow& row(int row) const;
  double value(int row, int column) const;  ///< column 0 x, 1 the second value

  /// Writes one value (1 <= row <= kCapacity); rows beyond count() stay
  /// outside the data until setCount() takes them in.
  void setValue(int row, int column, double value);
  void setRow(int row, const StatRow& values);
  /// Sets count (clamped to 0..kCapacity) and zeroes every row behind it.
  void setCount(int count);
  /// Appends a row; false when the table is full.
  bool append(const StatRow& values);
  /// Removes rows first..last (clamped to the data); the rows behind move up.
  /// Returns the number of rows removed.
  int removeRows(int first, int last);
  /// Every row zero, count 0.
  void clear();
  /// Takes the rows and count of `other` (an undo copy); this still counts as
  /// a change, so results computed before do not come back to life.
  void assign(const StatTable& other);

  /// Increases on every change, so that a holder of results can tell that
  /// they no longer belong to the table.
  unsigned long long revision() const { return m_revision; }

  friend bool operator==(const StatTable& a, const StatTable& b) {
    return a.m_count == b.m_count && a.m_rows == b.m_rows;
  }

 private:
  std::array<StatRow, kCapacity + 1> m_rows{};  // slot 0 unused
  int m_count = 0;
  unsigned long long m_revision = 0;
};

/// The first row of `first`..`last` (clamped to the data) whose count is
/// refused, with its fault; row 0 when every count is fine.
struct RefusedCount {
  int row = 0;
  CountFault fault = CountFault::None;
};
RefusedCount firstRefusedCount(const StatTable& table, int first, int last);

/// The message of a refused count at `row` (code page 1252).
std::string countFaultMessage(int row, CountFault fault);

}  // namespace qz
