#include "units/unit_expression.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/units/unit_test_support.h"
#include "units/unit_analysis.h"
#include "units/unit_conversion.h"

namespace qz {
namespace {

// A small database of its own, so each case says exactly what it relies on.
UnitsDatabase tinyDatabase() {
  UnitsDatabase db;
  parseUnitsDatabase(
      "test\nSI\n.\nG\n.\nlongueur\ntemps\nvitesse\nmasse\nsans\n.\n"
      "1\t1\t1\t1\t5\tun\t*|1|1|1\t0\t0\t1\t0\t0\n"
      "2\t1\t1\t1\t1\tm\xE8tre\t*|1|m|1\t1\t1\t1\t0\t1\n"
      "3\t0\t1\t1\t1\tkilom\xE8tre\t*|k|m|1\t0\t0\t1000\t0\t1\n"
      "4\t1\t1\t1\t2\tseconde\t*|1|s|1\t1\t1\t1\t0\t0|0|1\n"
      "5\t1\t1\t1\t2\theure\t*|1|h|1\t0\t1\t3600\t0\t0|0|1\n"
      "6\t0\t1\t1\t3\tkm/h\t*|k|m|1&/|1|h|1\t0\t0\t0.277777777777778\t0\t1|0|-1\n"
      "7\t1\t1\t1\t2\tminute\t*|1|min|1\t0\t1\t60\t0\t0|0|1\n"
      "8\t1\t1\t1\t4\tgramme\t*|1|g|1\t1\t0\t0.001\t0\t0|1\n"
      "9\t1\t1\t1\t1\tmicron\t*|1|\xB6gm\xB6g|1\t0\t0\t1e-6\t0\t1\n"
      "10\t0\t1\t1\t1\tcarr\xE9\t*|1|m|2\t0\t0\t1\t0\t2\n"
      ".\n",
      db);
  return db;
}

struct ParseCase {
  const char* name;
  const char* text;
  int count;
  double coefficient;
  const char* unitText;  // plain
};

TEST(ParseUnitExpression, ProductsQuotientsPrefixesExponents) {
  UnitsDatabase db = tinyDatabase();
  const ParseCase cases[] = {
      {"whole database unit", "km/h", 2, 1 / 3.6, "km/h"},
      {"same, with blanks", "  km/h ", 2, 1 / 3.6, "km/h"},
      {"composed", "m/s", 2, 1, "m/s"},
      {"prefix on an elementary unit", "mm", 1, 1e-3, "mm"},
      {"a unit of its own wins over a prefix", "min", 1, 60, "min"},
      {"square", "m/s^2", 2, 1, "m/s^2"},
      {"superscript two", "m/s\xC2\xB2", 2, 1, "m/s^2"},
      {"five halves", "m^5/2", 1, 1, "m^5/2"},
      {"one half then a quotient", "m^1/2/s", 2, 1, "m^1/2/s"},
      {"three halves with prefix", "km^3/2", 1, std::pow(1000.0, 1.5), "km^3/2"},
      {"display prefix then exponent", "km^3", 1, 1e9, "km^3"},
      {"product with a dot", "g.m", 2, 1e-3, "g*m"},
      {"product with a star", "g*m", 2, 1e-3, "g*m"},
      {"middle dot", "g\xC2\xB7m", 2, 1e-3, "g*m"},
      {"everything after the sign divides", "m/s.h", 3, 1.0 / 3600, "m/s*h"},
      {"repeated division", "m/s/h", 3, 1.0 / 3600, "m/s/h"},
      {"reciprocal", "1/s", 2, 1, "1/s"},
      {"kilogram from the gram", "kg", 1, 1, "kg"},
      {"micro sign prefix", "\xC2\xB5s", 1, 1e-6, "\xC2\xB5s"},
      {"Greek mu as the prefix", "\xCE\xBCs", 1, 1e-6, "\xC2\xB5s"},
      {"Greek symbol", "\xCE\xBC", 1, 1e-6, "\xCE\xBC"},
      {"database unit with its exponent", "m^2", 1, 1, "m^2"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.name);
    UnitExpressionResult r = parseUnitExpression(c.text, db);
    ASSERT_TRUE(r.ok()) << unitExpressionErrorText(r);
    EXPECT_EQ(r.record.count, c.count);
    EXPECT_NEAR(UnitFactor(r.record).coefficient / c.coefficient, 1.0, 1e-12);
    EXPECT_EQ(markupPlainUtf8(UnitText(r.record)), c.unitText);
  }
}

TEST(ParseUnitExpression, CoherenceOfParsedUnits) {
  UnitsDatabase db = tinyDatabase();
  UnitRecord ms = parseUnitExpression("m/s", db).record;
  EXPECT_TRUE(UnitsCoherent(ms, parseUnitExpression("km/h", db).record));
  EXPECT_TRUE(UnitsCoherent(ms, parseUnitExpression("1.m/s", db).record));
  EXPECT_FALSE(UnitsCoherent(parseUnitExpression("m", db).record, parseUnitExpression("s", db).record));
}

struct ErrorCase {
  const char* name;
  const char* text;
  UnitExpressionError error;
  std::size_t position;
};

TEST(ParseUnitExpression, Errors) {
  UnitsDatabase db = tinyDatabase();
  const ErrorCase cases[] = {
      {"nothing", "", UnitExpressionError::Empty, 0},
      {"blanks", "   ", UnitExpressionError::Empty, 0},
      {"empty factor", "m//s", UnitExpressionError::Empty, 2},
      {"trailing sign", "m.", UnitExpressionError::Empty, 2},
      {"unknown", "m/xyz", UnitExpressionError::UnknownSymbol, 2},
      {"prefix alone", "k", UnitExpressionError::UnknownSymbol, 0},
      {"prefix on a unit that takes none", "kh", UnitExpressionError::UnknownSymbol, 0},
      {"zero exponent", "m^0", UnitExpressionError::BadExponent, 1},
      {"two digits", "m^10", UnitExpressionError::BadExponent, 1},
      {"negative", "s^-1", UnitExpressionError::BadExponent, 1},
      {"nothing after the caret", "m^", UnitExpressionError::BadExponent, 1},
      {"exponent refused", "g^2", UnitExpressionError::ExponentRefused, 0},
      {"eleven factors", "m.m.m.m.m.m.m.m.m.m.m", UnitExpressionError::TooManyComponents, 20},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    UnitExpressionResult r = parseUnitExpression(c.text, db);
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.position, c.position);
    EXPECT_FALSE(unitExpressionErrorText(r).empty());
  }
  EXPECT_EQ(parseUnitExpression("m.m.m.m.m.m.m.m.m.m", db).record.count, 10) << "ten factors are fine";
}

}  // namespace
}  // namespace qz
