// Fuzzes the unit-expression parser of qz-cli against the shipped database:
// any text must parse or fail cleanly, and a parsed unit must be usable.
#include <cstdint>
#include <string_view>

#include "platform/scripted_messenger.h"
#include "units/unit_analysis.h"
#include "units/unit_conversion.h"
#include "units/unit_expression.h"
#include "units/units_database.h"

namespace {

const qz::UnitsDatabase& database() {
  static const qz::UnitsDatabase db = [] {
    qz::UnitsDatabase loaded;
    qz::ScriptedMessenger messenger;
    qz::LoadUnitsDatabase(QZ_UNITS_DATABASE_FOLDER, messenger, loaded);
    return loaded;
  }();
  return db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qz;
  if (size > 4096) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  UnitExpressionResult r = parseUnitExpression(text, database());
  if (!r.ok()) {
    if (unitExpressionErrorText(r).empty() || r.position > text.size() + 16) __builtin_trap();
    return 0;
  }
  if (r.record.count < 1 || r.record.count > kMaxUnitComponents) __builtin_trap();
  (void)markupPlainUtf8(UnitText(r.record));
  (void)DimensionText(DimensionOf(r.record));
  UnitConversion conversion;
  conversion.unit(UnitConversion::kCurrent) = r.record;
  conversion.unit(UnitConversion::kNew) = r.record;
  (void)conversion.Convert(12.5);
  return 0;
}
