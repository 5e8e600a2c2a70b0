#include "units/unit_tables.h"

#include <gtest/gtest.h>

#include "core/units/unit_test_support.h"

namespace qz {
namespace {

using testing::component;
using testing::kLength;
using testing::unitOf;

TEST(PrefixTable, FactorsNamesSymbolsAndOutOfRange) {
  EXPECT_EQ(PrefixFactor(-10), 1e-24);
  EXPECT_EQ(PrefixFactor(3), 1e3);
  EXPECT_EQ(PrefixFactor(10), 1e24);
  EXPECT_EQ(PrefixSymbol(-4), "\xB5") << "micro is one code page 1252 byte";
  EXPECT_EQ(PrefixName(-1),
            "d\xE9"
            "ci");
  EXPECT_EQ(PrefixName(4),
            "m\xE9"
            "ga");
  EXPECT_EQ(PrefixSymbol(1), "da");
  for (int outside : {-11, 11, 1000}) {
    SCOPED_TRACE(outside);
    EXPECT_EQ(PrefixFactor(outside), 1.0);
    EXPECT_EQ(PrefixSymbol(outside), "1");
    EXPECT_EQ(PrefixName(outside), "(aucun)");
  }
}

TEST(ExponentTable, ValuesAndTexts) {
  EXPECT_EQ(ExponentValue(-1), 0.5);
  EXPECT_EQ(ExponentValue(1), 1.5);
  EXPECT_EQ(ExponentValue(3), 2.5);
  EXPECT_EQ(ExponentValue(10), 9.0);
  EXPECT_EQ(ExponentValue(11), 1.0);
  EXPECT_EQ(ExponentText(0, true), "(aucun)");
  EXPECT_EQ(ExponentText(0, false), "1");
  EXPECT_EQ(ExponentText(3, true), "5/2");
  EXPECT_EQ(ExponentText(-2, false), "1");
}

TEST(PrefixIndexOf, NeedsThePermission) {
  struct Case {
    const char* name;
    const char* prefix;
    int allowed;
    int index;
  };
  const Case cases[] = {
      {"kilo allowed", "k", 1, 3}, {"kilo for display only", "k", 0, 0},
      {"milli", "m", 1, -3},       {"deca before deci", "da", 1, 1},
      {"deci", "d", 1, -1},        {"micro", "\xB5", 1, -4},
      {"none", "1", 1, 0},         {"unknown text", "q", 1, 0},
      {"yotta", "Y", 1, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UnitRecord r = unitOf({component("m", 1.0, kLength, c.prefix, "1", c.allowed, 1)});
    EXPECT_EQ(PrefixIndexOf(r, 0), c.index);
  }
  UnitRecord r = unitOf({component("m", 1.0, kLength, "k")});
  EXPECT_EQ(PrefixIndexOf(r, -1), 0);
  EXPECT_EQ(PrefixIndexOf(r, 10), 0);
}

TEST(ExponentIndexOf, NeedsThePermission) {
  struct Case {
    const char* name;
    const char* exponent;
    int allowed;
    int index;
  };
  const Case cases[] = {
      {"five halves", "5/2", 1, 3}, {"five halves refused", "5/2", 0, 0},
      {"one half", "1/2", 1, -1},   {"three halves", "3/2", 1, 1},
      {"square", "2", 1, 2},        {"nine", "9", 1, 10},
      {"one", "1", 1, 0},           {"not in the table", "10", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UnitRecord r = unitOf({component("m", 1.0, kLength, "1", c.exponent, 1, c.allowed)});
    EXPECT_EQ(ExponentIndexOf(r, 0), c.index);
  }
  UnitRecord fiveHalves = unitOf({component("m", 1.0, kLength, "1", "5/2", 1, 1)});
  EXPECT_EQ(ExponentValue(ExponentIndexOf(fiveHalves, 0)), 2.5);
  fiveHalves.components[0].exponentAllowed = 0;
  EXPECT_EQ(ExponentValue(ExponentIndexOf(fiveHalves, 0)), 1.0);
}

}  // namespace
}  // namespace qz
