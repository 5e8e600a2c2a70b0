// The unit conversion calculator's section of the document: both units and
// the conversions list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "units/unit_conversion.h"
#include "units/unit_record.h"

namespace qz {

/// Whether the calculator writes a section at all: when either unit has a component.
bool unitSectionWanted(const UnitRecord& current, const UnitRecord& target);

/// The section body: for the current unit then the new unit, the component
/// count and 21 lines per component (key, system, category, quantity,
/// divides, prefix, symbol, exponent, prefix and exponent permissions,
/// coefficient, offset, the nine dimension values); then the row count and
/// one "value|result" line per row.
std::string writeUnitSection(const UnitRecord& current, const UnitRecord& target,
                             const std::vector<ConversionRow>& rows);

/// Reads a section body into emptied units and list. Texts longer than their
/// fields keep their first characters; a component count above 10 reads as
/// 10 (the surplus components' lines are skipped, so they are not taken for
/// the list), a negative one as 0; a row count above 1000 reads as 1000.
void readUnitSection(std::string_view body, UnitRecord& current, UnitRecord& target,
                     std::vector<ConversionRow>& rows);

}  // namespace qz
