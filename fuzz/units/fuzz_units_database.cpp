// Fuzzes the units database reader: any text must read without a crash, stay
// within the lists' maxima and give records whose texts fit their fields.
#include <cstdint>
#include <string_view>

#include "units/unit_analysis.h"
#include "units/unit_conversion.h"
#include "units/units_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qz;
  UnitsDatabase db;
  parseUnitsDatabase(std::string_view(reinterpret_cast<const char*>(data), size), db);
  if (db.systems.size() > kMaxSystems || db.categories.size() > kMaxCategories ||
      db.quantities.size() > kMaxQuantities || db.units.size() > kMaxDatabaseUnits) {
    __builtin_trap();
  }
  for (const DatabaseUnit& unit : db.units) {
    const UnitRecord& r = unit.record;
    if (r.count < 0 || r.count > kMaxUnitComponents) __builtin_trap();
    for (int i = 0; i < r.count; ++i) {
      const UnitComponent& c = r.components[i];
      if (c.prefix.size() > kPrefixTextMax || c.symbol.size() > kSymbolTextMax ||
          c.exponent.size() > kExponentTextMax) {
        __builtin_trap();
      }
    }
    UnitRecord back;
    UnitRecordBytes bytes = unitRecordToBytes(r);
    if (!unitRecordFromBytes(bytes.data(), bytes.size(), back) || !sameUnitBytes(back, r)) __builtin_trap();
    (void)UnitText(r);
    (void)DimensionText(DimensionOf(r));
    (void)UnitFactor(r);
    (void)markupPlainUtf8(UnitText(r));
  }
  return 0;
}
