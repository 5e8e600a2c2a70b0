// Small builders shared by the units tests.
#pragma once

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "platform/scripted_messenger.h"
#include "units/unit_record.h"
#include "units/units_database.h"

namespace qz::testing {

/// A real component with the given symbol, coefficient and dimension.
inline UnitComponent component(std::string symbol, double coefficient, DimensionVector dimension,
                               std::string prefix = "1", std::string exponent = "1", int prefixAllowed = 1,
                               int exponentAllowed = 1, double offset = 0.0) {
  UnitComponent c;
  c.unitKey = 10;
  c.system = 1;
  c.category = 1;
  c.quantity = 1;
  c.prefix = std::move(prefix);
  c.symbol = std::move(symbol);
  c.exponent = std::move(exponent);
  c.prefixAllowed = prefixAllowed;
  c.exponentAllowed = exponentAllowed;
  c.coefficient = coefficient;
  c.offset = offset;
  c.dimension = dimension;
  return c;
}

inline constexpr DimensionVector kLength{1, 0, 0, 0, 0, 0, 0, 0, 0};
inline constexpr DimensionVector kTime{0, 0, 1, 0, 0, 0, 0, 0, 0};
inline constexpr DimensionVector kTemperature{0, 0, 0, 0, 1, 0, 0, 0, 0};
inline constexpr DimensionVector kNone{};

inline UnitComponent metre() { return component("m", 1.0, kLength); }
inline UnitComponent second() { return component("s", 1.0, kTime); }
inline UnitComponent hour() { return component("h", 3600.0, kTime, "1", "1", 0, 1); }
inline UnitComponent one() { return component("1", 1.0, kNone, "1", "1", 0, 0); }

/// A record of the given components; `divideFrom` marks that component as divided (-1: none).
inline UnitRecord unitOf(std::initializer_list<UnitComponent> parts, int divideFrom = -1) {
  UnitRecord r;
  for (const UnitComponent& c : parts) r.components[r.count++] = c;
  if (divideFrom >= 0) r.components[divideFrom].divides = 1;
  return r;
}

/// The folder of the shipped data files in the build tree.
inline std::string dataFolder() {
  const char* env = std::getenv("QZ_DATA_DIR");
  return env && *env ? env : ".";
}

/// The shipped units database (empty when it can't be read).
inline UnitsDatabase shippedDatabase() {
  ScriptedMessenger messenger;
  UnitsDatabase db;
  LoadUnitsDatabase(dataFolder(), messenger, db);
  return db;
}

}  // namespace qz::testing
