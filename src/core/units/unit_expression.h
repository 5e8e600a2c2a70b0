// Reading a composed unit written on one line ("km/h", "N.m", "m/s^2",
// "kg/m^3", "µS/cm") against the symbols of the units database.
#pragma once

#include <string>
#include <string_view>

#include "units/unit_record.h"
#include "units/units_database.h"

namespace qz {

/// Why an expression could not be read.
enum class UnitExpressionError {
  None,
  Empty,              ///< nothing to read, or an empty factor ("m//s", "m.")
  UnknownSymbol,      ///< no database unit has that symbol, even after a prefix
  BadExponent,        ///< "^" not followed by 2..9, "1/2", "3/2" or "5/2"
  ExponentRefused,    ///< the unit takes no exponent
  TooManyComponents,  ///< more than ten factors
};

struct UnitExpressionResult {
  UnitRecord record;
  UnitExpressionError error = UnitExpressionError::None;
  std::size_t position = 0;  ///< byte offset of the factor at fault, once ² ³ · are spelled ^2 ^3 .
  std::string factor;        ///< the factor at fault (UTF-8)
  bool ok() const { return error == UnitExpressionError::None; }
};

/// The plain UTF-8 symbol of a database unit as the parser matches it: its
/// unit text without markup, exponents written "^" + text.
std::string plainUnitSymbol(const UnitRecord& record);

/// Reads a UTF-8 unit expression. The whole text is first matched against
/// the database units' plain symbols ("km/h" as a unit of its own); otherwise
/// it is read as factors separated by "." or "*" (product) or "/" (what
/// follows is in the denominator, as the program writes units), each a
/// symbol with an optional decimal prefix and an optional exponent after "^"
/// (or "²", "³"). A symbol that is a unit of its own wins over a prefix
/// reading ("cd" is the candela, "min" the minute). Among units of the same
/// symbol ("a": are or year) the one of dimension `prefer` (when given), then
/// the elementary one, then the first, is taken.
UnitExpressionResult parseUnitExpression(std::string_view text, const UnitsDatabase& database,
                                         const DimensionVector* prefer = nullptr);

/// French description of an error, code page 1252.
std::string unitExpressionErrorText(const UnitExpressionResult& result);

}  // namespace qz
