// Checks every unit of the shipped UNIT.SRC, and conversions between them
// against values worked out by hand from the units' definitions.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "core/units/unit_test_support.h"
#include "numbers/cp1252.h"
#include "units/unit_analysis.h"
#include "units/unit_conversion.h"
#include "units/unit_expression.h"
#include "units/unit_tables.h"

namespace qz {
namespace {

class ShippedUnits : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { db = new UnitsDatabase(testing::shippedDatabase()); }
  static void TearDownTestSuite() {
    delete db;
    db = nullptr;
  }
  static std::string describe(const DatabaseUnit& u) {
    return std::to_string(u.record.components[0].unitKey) + " " + cp1252ToUtf8(u.name);
  }
  static UnitsDatabase* db;
};
UnitsDatabase* ShippedUnits::db = nullptr;

TEST_F(ShippedUnits, ListsAreFullAndInFrench) {
  ASSERT_EQ(db->systems.size(), 7u);
  EXPECT_EQ(db->systems[0], "Syst\xE8me international (SI)");
  EXPECT_EQ(db->categories.size(), 11u);
  EXPECT_EQ(db->categories.back(), "Informatique");
  EXPECT_EQ(db->quantities.size(), 79u);
  EXPECT_EQ(db->units.size(), 620u) << "the file holds as many units as the format keeps";
}

TEST_F(ShippedUnits, EveryUnitIsConsistent) {
  ASSERT_FALSE(db->units.empty());
  std::set<int> keys;
  std::map<int, DimensionVector> quantityDimension;
  std::map<int, int> quantityCategory;
  std::map<int, std::set<std::string>> symbolsOfQuantity;
  std::set<std::string> elementarySymbols;
  for (const DatabaseUnit& u : db->units) {
    SCOPED_TRACE(describe(u));
    const UnitRecord& r = u.record;
    ASSERT_GE(r.count, 1);
    const UnitComponent& c = r.components[0];
    EXPECT_TRUE(keys.insert(c.unitKey).second) << "key used twice";
    EXPECT_GE(c.unitKey, 1);
    EXPECT_GE(c.system, 1);
    EXPECT_LE(c.system, static_cast<int>(db->systems.size()));
    EXPECT_GE(c.category, 1);
    EXPECT_LE(c.category, static_cast<int>(db->categories.size()));
    ASSERT_GE(c.quantity, 1);
    ASSERT_LE(c.quantity, static_cast<int>(db->quantities.size()));
    EXPECT_FALSE(u.name.empty());
    EXPECT_TRUE(std::isfinite(c.coefficient) && c.coefficient > 0) << "coefficient " << c.coefficient;
    for (int i = 1; i < r.count; ++i) EXPECT_EQ(r.components[i].unitKey, kContinuationKey);

    auto dim = quantityDimension.emplace(c.quantity, c.dimension).first;
    EXPECT_EQ(c.dimension, dim->second) << "dimension differs from its quantity's";
    auto cat = quantityCategory.emplace(c.quantity, c.category).first;
    EXPECT_EQ(c.category, cat->second) << "a quantity lies in one category";
    EXPECT_TRUE(symbolsOfQuantity[c.quantity].insert(UnitText(r)).second)
        << "symbol repeated within its quantity";

    // Display-only prefixes and exponents must not count a second time.
    EXPECT_DOUBLE_EQ(UnitFactor(r).coefficient, c.coefficient);
    EXPECT_EQ(DimensionOf(r), c.dimension);
    if (c.offset != 0.0) {
      EXPECT_EQ(cp1252ToUtf8(db->quantities[c.quantity - 1]), "temp\xC3\xA9rature");
    }
    if (u.elementary) {
      EXPECT_EQ(r.count, 1) << "elementary units are single components";
      EXPECT_TRUE(elementarySymbols.insert(c.symbol).second) << "elementary symbol repeated";
    }
    if (c.prefixAllowed) {
      EXPECT_EQ(c.prefix, "1");
    }
    if (c.exponentAllowed) {
      EXPECT_EQ(c.exponent, "1");
    }
  }
  const DatabaseUnit& one = db->units.front();
  EXPECT_EQ(one.record.components[0].unitKey, 1);
  EXPECT_EQ(one.record.components[0].symbol, "1");
  EXPECT_EQ(one.record.components[0].dimension, DimensionVector{});
}

// A unit written in several pieces must equal the product of its pieces taken
// as single units: this checks its coefficient and dimension against theirs.
TEST_F(ShippedUnits, ComposedUnitsAgreeWithTheirPieces) {
  int checked = 0;
  for (const DatabaseUnit& u : db->units) {
    if (u.record.count < 2) continue;
    SCOPED_TRACE(describe(u));
    UnitRecord rebuilt;
    for (int i = 0; i < u.record.count; ++i) {
      const UnitComponent& piece = u.record.components[i];
      std::string text = markupPlainUtf8((piece.prefix != "1" ? piece.prefix : "") + piece.symbol);
      if (piece.exponent != "1") text += "^" + piece.exponent;
      UnitExpressionResult single = parseUnitExpression(text, *db);
      ASSERT_TRUE(single.ok()) << "piece " << text << ": " << cp1252ToUtf8(unitExpressionErrorText(single));
      ASSERT_EQ(single.record.count, 1) << "piece " << text;
      UnitComponent c = single.record.components[0];
      c.divides = piece.divides;
      rebuilt.components[rebuilt.count++] = c;
    }
    UnitFactors whole = UnitFactor(u.record);
    UnitFactors parts = UnitFactor(rebuilt);
    EXPECT_NEAR(parts.coefficient / whole.coefficient, 1.0, 1e-12);
    EXPECT_EQ(DimensionOf(rebuilt), DimensionOf(u.record));
    ++checked;
  }
  EXPECT_GE(checked, 100);
}

struct HandConversion {
  const char* name;
  double value;
  const char* from;
  const char* to;
  double expected;
};

// Worked out from the definitions: 1 in = 25.4 mm, 1 lb = 0.45359237 kg,
// g = 9.80665 m/s², 1 cal = 4.1868 J, 1 BTU = 1055.05585262 J, 1 gal US = 231 in³...
const HandConversion kHandConversions[] = {
    {"inch to millimetres", 1, "in", "mm", 25.4},
    {"mile to kilometres", 1, "mi", "km", 1.609344},
    {"nautical mile", 1, "NM", "m", 1852},
    {"feet to metres", 100, "ft", "m", 30.48},
    {"yard to inches", 1, "yd", "in", 36},
    {"acre", 1, "ac", "m^2", 4046.8564224},
    {"hectare to ares", 1, "ha", "a", 100},
    {"square foot", 1, "ft^2", "cm^2", 929.0304},
    {"cubic foot to litres", 1, "ft^3", "L", 28.316846592},
    {"US gallon", 1, "galUS", "L", 3.785411784},
    {"imperial gallon", 1, "galUK", "L", 4.54609},
    {"barrel", 1, "bbl", "galUS", 42},
    {"pound", 1, "lb", "kg", 0.45359237},
    {"ounces to pound", 16, "oz", "lb", 1},
    {"short ton", 1, "tonUS", "kg", 907.18474},
    {"kilogram-force", 1, "kgf", "N", 9.80665},
    {"pound-force", 1, "lbf", "N", 4.4482216152605},
    {"atmosphere", 1, "atm", "Pa", 101325},
    {"torr to atmosphere", 760, "Torr", "atm", 1},
    {"bar to psi", 1, "bar", "psi", 100000 / 6894.757293168361},
    {"psi to kilopascals", 1, "psi", "kPa", 6.894757293168361},
    {"technical atmosphere", 1, "at", "bar", 0.980665},
    {"calorie", 1, "cal", "J", 4.1868},
    {"kilowatt-hour", 1, "kWh", "MJ", 3.6},
    {"BTU", 1, "BTU", "kJ", 1.05505585262},
    {"electronvolt", 1, "eV", "J", 1.602176634e-19},
    {"cheval-vapeur", 1, "ch", "W", 735.49875},
    {"horsepower", 1, "hp", "W", 745.69987158227022},
    {"horsepower to ch", 1, "hp", "ch", 745.69987158227022 / 735.49875},
    {"boiling water", 100,
     "\xC2\xB0"
     "C",
     "\xC2\xB0"
     "F",
     212},
    {"minus forty", -40,
     "\xC2\xB0"
     "C",
     "\xC2\xB0"
     "F",
     -40},
    {"ice point", 0,
     "\xC2\xB0"
     "C",
     "K", 273.15},
    {"Rankine", 491.67,
     "\xC2\xB0"
     "R",
     "K", 273.15},
    {"Reaumur", 20,
     "\xC2\xB0"
     "R\xC3\xA9",
     "\xC2\xB0"
     "C",
     25},
    {"half turn", 180, "\xC2\xB0", "rad", 3.14159265358979},
    {"turn", 1, "tr", "\xC2\xB0", 360},
    {"grades", 100, "gon", "\xC2\xB0", 90},
    {"minute of arc", 1, "'", "\"", 60},
    {"revolutions per minute", 3000, "tr/min", "rad/s", 314.159265358979},
    {"km/h to m/s", 36, "km/h", "m/s", 10},
    {"knot", 1, "kn", "km/h", 1.852},
    {"mph", 60, "mph", "km/h", 96.56064},
    {"standard gravity", 1, "gn", "m/s^2", 9.80665},
    {"centipoise", 1, "cP", "mPa.s", 1},
    {"poise", 1, "P", "Pa.s", 0.1},
    {"stokes", 1, "St", "mm^2/s", 100},
    {"tesla to gauss", 1, "T", "G", 10000},
    {"curie", 1, "Ci", "Bq", 3.7e10},
    {"day", 1, "j", "h", 24},
    {"oersted", 1, "Oe", "A/m", 79.5774715459477},
    {"foot-candle", 1, "fc", "lx", 10.7639104167097},
    {"torque", 1, "N.m", "lbf.ft", 1 / 1.3558179483314004},
    {"thermal conductivity", 1, "W/m.K",
     "BTU/h.ft.\xC2\xB0"
     "F",
     1 / 1.7307346663713912},
    {"density", 1000, "kg/m^3", "g/cm^3", 1},
    {"conductivity", 1, "\xC2\xB5S/cm", "S/m", 1e-4},
    {"kcal per hour", 1, "kcal/h", "W", 1.163},
    {"pound per cubic foot", 1, "lb/ft^3", "kg/m^3", 16.0184633739601},
    {"cubic metre per hour", 3.6, "m^3/h", "L/s", 1},
    {"milliampere-hour", 1, "mAh", "C", 3.6},
    {"composed cubic kilometre", 1, "km^3", "m^3", 1e9},
    {"square root of a unit", 4, "m^1/2", "cm^1/2", 40},
    {"per second", 2, "1/s", "Hz", 2},
    // Quantities and units added for engineers, worked out from their definitions:
    // 1 BTU = 1055.05585262 J, 1 cal_th = 4.184 J, 1 cal_15 = 4.1855 J, 1 gal US = 231 in^3...
    {"kilovoltampere", 1, "kVA", "VA", 1000},
    {"kilovar", 2.5, "kvar", "var", 2500},
    {"current density", 1, "A/mm^2", "A/m^2", 1e6},
    {"current density per cm2", 1, "A/cm^2", "A/m^2", 1e4},
    {"permittivity", 1, "F/m", "pF/m", 1e12},
    {"permeability", 1, "\xC2\xB5H/m", "H/m", 1e-6},
    {"ampere-turn", 3, "At", "A", 3},
    {"thermal resistance", 2, "\xC2\xB0" "C/W", "K/W", 2},
    {"US R-value", 1, "ft^2*h*\xC2\xB0" "F/BTU", "m^2*K/W", 0.09290304 * 3600 * (5.0 / 9) / 1055.05585262},
    {"thermal conductance", 1, "BTU/h*\xC2\xB0" "F", "W/K", 1055.05585262 / 3600 * 1.8},
    {"heat capacity", 1, "BTU/\xC2\xB0" "F", "kJ/K", 1.05505585262 * 1.8},
    {"specific enthalpy", 1, "BTU/lb", "kJ/kg", 2.326},
    {"specific energy", 1, "kWh/kg", "MJ/kg", 3.6},
    {"energy per tonne", 1000, "kWh/t", "kWh/kg", 1},
    {"specific heat", 1, "J/g*K", "J/kg*\xC2\xB0" "C", 1000},
    {"specific heat in kJ", 1, "kJ/kg*\xC2\xB0" "C", "J/kg*K", 1000},
    {"calorific value", 1, "kWh/m^3", "MJ/m^3", 3.6},
    {"calorific value BTU", 1, "BTU/ft^3", "MJ/m^3", 1055.05585262 / 0.028316846592 / 1e6},
    {"expansion per degree F", 1, "1/\xC2\xB0" "F", "1/K", 1.8},
    {"surface tension", 72, "dyn/cm", "mN/m", 72},
    {"spring rate", 1, "lbf/in", "N/mm", 4.4482216152605 / 25.4},
    {"second moment of area", 1, "in^4", "mm^4", 25.4 * 25.4 * 25.4 * 25.4},
    {"second moment cm4", 1, "cm^4", "mm^4", 1e4},
    {"specific volume", 1, "ft^3/lb", "m^3/kg", 0.028316846592 / 0.45359237},
    {"enzyme unit", 60, "U", "\xC2\xB5kat", 1},
    {"katal", 1, "kat", "mol/s", 1},
    {"molality", 1, "mol/kg", "mmol/kg", 1000},
    {"roentgen", 1, "R", "C/kg", 2.58e-4},
    {"dose rate over a year", 1, "\xC2\xB5Sv/h", "mSv/an", 8.76},
    {"gray per hour", 3600, "Gy/h", "Gy/s", 1},
    {"mebioctet", 1, "Mio", "o", 1048576},
    {"gigaoctet in megabits", 1, "Go", "Mbit", 8000},
    {"kibibit", 1, "Kibit", "bit", 1024},
    {"data rate", 1, "Mbit/s", "ko/s", 125},
    {"binary data rate", 1, "Mio/s", "Mbit/s", 8.388608},
    {"cable resistance", 1, "\xCE\xA9/km", "\xCE\xA9/m", 1e-3},
    {"wavenumber", 1, "1/cm", "1/m", 100},
    {"dioptre", 2, "dpt", "1/m", 2},
    {"electrical horsepower", 1, "hpE", "W", 746},
    {"boiler horsepower", 1, "hpS", "kW", 9.8095},
    {"kWh per year", 8760, "kWh/an", "W", 1000},
    {"kBtu per hour", 1, "kBtu/h", "W", 1055.05585262 / 3.6},
    {"thermochemical calorie", 1, "calth", "J", 4.184},
    {"thermochemical kilocalorie", 1, "kcalth", "calth", 1000},
    {"calorie at 15 C", 1, "cal15", "J", 4.1855},
    {"thermie", 1, "th", "cal15", 1e6},
    {"MMBtu", 1, "MMBtu", "GJ", 1.05505585262},
    {"kBtu", 1, "kBtu", "BTU", 1000},
    {"EC therm", 1, "thmCE", "MJ", 105.506},
    {"quad", 1, "quad", "BTU", 1e15},
    {"tonne of coal equivalent", 1, "tec", "GJ", 29.3076},
    {"metric horsepower-hour", 1, "ch.h", "MJ", 2.6477955},
    {"gigawatt-hour", 1, "GWh", "MWh", 1000},
    {"foot of water", 1, "ftH2O", "kPa", 0.3048 * 9.80665},
    {"centimetre of water", 1, "cmH2O", "Pa", 98.0665},
    {"centimetre of mercury", 1, "cmHg", "mmHg", 10},
    {"kgf per square metre", 1, "kgf/m^2", "Pa", 9.80665},
    {"microbar", 1, "\xC2\xB5" "bar", "Pa", 0.1},
    {"gram-force", 1, "gf", "N", 0.00980665},
    {"short ton-force", 1, "tonfUS", "lbf", 2000},
    {"long ton-force", 1, "tonfUK", "kN", 2240 * 4.4482216152605e-3},
    {"circular mil", 1, "cmil", "m^2", 3.14159265358979 / 4 * 2.54e-5 * 2.54e-5},
    {"kcmil", 1, "kcmil", "mm^2", 3.14159265358979 / 4 * 0.0254 * 0.0254 * 1000},
    {"MCM", 1, "MCM", "kcmil", 1},
    {"US survey foot", 3937, "ftUS", "m", 1200},
    {"US survey mile", 1, "miUS", "ftUS", 5280},
    {"revolutions per minute", 1, "rpm", "tr/min", 1},
    {"gallons per minute", 1, "gpm", "galUS/min", 1},
    {"cubic feet per minute", 1, "cfm", "ft^3/min", 1},
    {"tonnes a year", 365, "t/an", "t/j", 1},
    {"year", 1, "an", "j", 365},
    {"julian year", 1, "aj", "j", 365.25},
    {"pica", 1, "pica", "pt", 12},
    {"point", 72, "pt", "in", 1},
    {"femtolitre", 1, "fL", "\xC2\xB5m^3", 1},
    {"stere", 1, "st", "m^3", 1},
    {"stone", 1, "stone", "lb", 14},
    {"foot-lambert", 1, "ftL", "cd/ft^2", 1 / 3.14159265358979},
};

TEST_F(ShippedUnits, ConversionsWorkedOutByHand) {
  for (const HandConversion& c : kHandConversions) {
    SCOPED_TRACE(c.name);
    UnitExpressionResult from = parseUnitExpression(c.from, *db);
    UnitExpressionResult to = parseUnitExpression(c.to, *db);
    ASSERT_TRUE(from.ok()) << c.from << ": " << cp1252ToUtf8(unitExpressionErrorText(from));
    ASSERT_TRUE(to.ok()) << c.to << ": " << cp1252ToUtf8(unitExpressionErrorText(to));
    EXPECT_TRUE(UnitsCoherent(from.record, to.record));
    UnitConversion conv;
    conv.unit(UnitConversion::kCurrent) = from.record;
    conv.unit(UnitConversion::kNew) = to.record;
    double result = conv.Convert(c.value);
    EXPECT_FALSE(conv.conversionError());
    EXPECT_NEAR(result, c.expected, std::fabs(c.expected) * 1e-9 + 1e-12) << c.from << " -> " << c.to;
  }
}

bool sameValue(const UnitRecord& a, const UnitRecord& b) {
  const UnitFactors fa = UnitFactor(a), fb = UnitFactor(b);
  return std::fabs(fa.coefficient / fb.coefficient - 1) < 1e-12 && fa.offset == fb.offset &&
         DimensionOf(a) == DimensionOf(b);
}

// The command line reads a unit by its symbol: a symbol shared by two lines
// of the file (kg/m^3 as a density and as a mass concentration) must be the
// same unit, and reading the symbol back must give that unit.
TEST_F(ShippedUnits, EverySymbolNamesOneUnit) {
  std::map<std::string, const DatabaseUnit*> bySymbol;
  for (const DatabaseUnit& u : db->units) {
    SCOPED_TRACE(describe(u));
    std::string symbol = plainUnitSymbol(u.record);
    for (char& c : symbol)
      if (c == '.') c = '*';
    auto [at, fresh] = bySymbol.emplace(symbol, &u);
    if (!fresh) {
      EXPECT_TRUE(sameValue(at->second->record, u.record))
          << symbol << " also names " << describe(*at->second);
    }
    UnitExpressionResult read = parseUnitExpression(plainUnitSymbol(u.record), *db);
    ASSERT_TRUE(read.ok()) << plainUnitSymbol(u.record);
    EXPECT_TRUE(sameValue(read.record, u.record)) << plainUnitSymbol(u.record) << " reads as another unit";
  }
}

// A symbol that reads as a prefix and another unit's symbol ("fL": femto +
// litre, "ft": femto + tonne) must be that very unit, or the prefixed
// reading can never be typed.
TEST_F(ShippedUnits, NoSymbolHidesAPrefixedUnit) {
  int prefixed = 0;
  for (const DatabaseUnit& base : db->units) {
    const UnitComponent& b = base.record.components[0];
    if (base.record.count != 1 || b.prefixAllowed == 0 || b.prefix != "1") continue;
    for (int k = kMinPrefixIndex; k <= kMaxPrefixIndex; ++k) {
      if (k == 0) continue;
      const std::string written = cp1252ToUtf8(PrefixSymbol(k)) + plainUnitSymbol(base.record);
      for (const DatabaseUnit& u : db->units) {
        if (u.record.count != 1 || plainUnitSymbol(u.record) != written) continue;
        SCOPED_TRACE(describe(u) + " read as " + cp1252ToUtf8(PrefixName(k)) + " + " + describe(base));
        UnitRecord reading = base.record;
        reading.components[0].prefix = PrefixSymbol(k);
        EXPECT_TRUE(sameValue(reading, u.record));
        ++prefixed;
      }
    }
  }
  EXPECT_GE(prefixed, 40) << "km, kWh, kcal, mAh... are prefixed units of their own";
  for (const char* symbol : {"fL", "ft", "ct", "nt", "pt", "st", "a"}) {
    SCOPED_TRACE(symbol);
    EXPECT_TRUE(parseUnitExpression(symbol, *db).ok());
  }
  DimensionVector volume{3, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(DimensionOf(parseUnitExpression("fL", *db).record), volume) << "the femtolitre";
  EXPECT_DOUBLE_EQ(UnitFactor(parseUnitExpression("fL", *db).record).coefficient, 1e-18);
}

}  // namespace
}  // namespace qz
