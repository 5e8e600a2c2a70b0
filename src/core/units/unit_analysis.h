// Dimensional analysis of composed units and their texts.
#pragma once

#include <string>
#include <string_view>

#include "units/unit_record.h"

namespace qz {

/// Markup bytes used in unit texts.
inline constexpr char kMarkField = '\x82';  ///< before the first component and after each one
inline constexpr char kMarkGreek = '\x8A';  ///< Greek (Symbol font) run on/off
inline constexpr char kMarkSubscript = '\x8B';
inline constexpr char kMarkExponent = '\x8C';

/// Dimension vector of a composed unit: per base dimension, the sum over the
/// real components (up to the first continuation piece) of the component's
/// value rounded half away from zero to three decimals times its exponent,
/// negated from the first divided component on.
DimensionVector DimensionOf(const UnitRecord& record);

/// Markup text of a dimension vector: the letters of "LMTIKQCRS" whose value
/// is not zero, each followed by its value in exponent markup unless it is 1;
/// "sans dimension" when every value is zero.
std::string DimensionText(const DimensionVector& vector);

/// Markup text of a unit: a field mark, then per component its separator
/// ("/" when divided, "*" after the first), prefix (unless "1"), symbol,
/// exponent in exponent markup (unless "1"), and a field mark.
std::string UnitText(const UnitRecord& record);

/// Removes the first component whose symbol is "1" ahead of the first divided
/// component, when that divided component lies at position 2 or later (so
/// 1*m/s becomes m/s while 1/s stays). One removal per call; returns the new count.
int NormaliseUnit(UnitRecord& record);

/// True when the two units, normalised, have equal dimension vectors, or when
/// either has no component.
bool UnitsCoherent(const UnitRecord& current, const UnitRecord& target);

/// A markup text (code page 1252) as plain UTF-8 for a terminal: Greek runs
/// through the Symbol font, exponents written "^" + text, field marks,
/// colours and styles dropped, subscripts kept inline.
std::string markupPlainUtf8(std::string_view markup);

}  // namespace qz
