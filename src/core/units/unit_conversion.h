// Converting values between two composed units, and keeping the list of
// conversions in step when a unit changes.
#pragma once

#include <array>
#include <vector>

#include "platform/messenger.h"
#include "units/unit_record.h"

namespace qz {

/// SI coefficient and offset of a unit: SI value = coefficient × value + offset.
struct UnitFactors {
  double coefficient = 0.0;
  double offset = 0.0;
};

/// Coefficient and offset of a composed unit: the product of its real
/// components' (prefix factor × coefficient)^exponent, dividing from the first
/// divided component on, up to the first continuation piece. Only a single
/// undivided component carries its offset. (0, 0) for an empty unit.
UnitFactors UnitFactor(const UnitRecord& record);

/// Coefficient and offset of component 0 alone ((0, 0) for an empty unit).
UnitFactors UnitFactorFirst(const UnitRecord& record);

/// One row of the conversions list: a value in the current unit and its result in the new unit.
struct ConversionRow {
  double value = 0.0;
  double result = 0.0;
};

/// Rows the conversions list can hold.
inline constexpr int kMaxConversionRows = 1000;
/// The question asked before the list is recomputed.
inline constexpr int kRefreshQuestion = 23;

/// The unit pair of the unit conversion calculator (0 current, 1 new), the
/// copy of the pair the conversions list was made with, and the error flag of
/// the last conversion.
class UnitConversion {
 public:
  static constexpr int kCurrent = 0;
  static constexpr int kNew = 1;

  UnitRecord& unit(int which) { return m_units[which == kNew ? 1 : 0]; }
  const UnitRecord& unit(int which) const { return m_units[which == kNew ? 1 : 0]; }
  /// The pair the conversions list was computed with.
  const UnitRecord& listUnit(int which) const { return m_listUnits[which == kNew ? 1 : 0]; }
  /// Remembers the present pair as the one the list was computed with (taken
  /// just before each change of unit).
  void rememberListUnits() { m_listUnits = m_units; }

  /// The value x in the current unit expressed in the new unit. Units whose
  /// coefficients and offsets agree within one part in ten million of the
  /// current unit's are the same unit: x comes back unchanged. A non-finite
  /// intermediate sets the error flag and gives 0.
  double Convert(double x);
  /// Set when the last Convert failed.
  bool conversionError() const { return m_error; }

  /// After a change of unit: nothing without rows; the list emptied when a
  /// unit is empty; nothing when the pair equals (byte for byte) the list's
  /// pair; otherwise asks string 23 under "ATTENTION" and, on Yes only,
  /// recomputes every row's result.
  void RefreshConversions(Messenger& messenger, std::vector<ConversionRow>& rows);

 private:
  std::array<UnitRecord, 2> m_units{};
  std::array<UnitRecord, 2> m_listUnits{};
  bool m_error = false;
};

}  // namespace qz
