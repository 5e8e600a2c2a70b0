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
  EXPECT_GE(db->categories.size(), 10u);
  EXPECT_GE(db->quantities.size(), 50u);
  EXPECT_GE(db->units.size(), 300u);
  EXPECT_LE(db->units.size(), 620u);
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

TEST_F(ShippedUnits, ASymbolOfSeveralQuantitiesFollowsTheWantedDimension) {
  DimensionVector time{0, 0, 1, 0, 0, 0, 0, 0, 0};
  DimensionVector area{2, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(DimensionOf(parseUnitExpression("a", *db, &time).record), time) << "the year";
  EXPECT_EQ(DimensionOf(parseUnitExpression("a", *db, &area).record), area) << "the are";
  EXPECT_EQ(DimensionOf(parseUnitExpression("st", *db, &time).record),
            DimensionOf(parseUnitExpression("st", *db).record))
      << "no unit of that dimension: the first one";
}

}  // namespace
}  // namespace qz
