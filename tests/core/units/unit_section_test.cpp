#include "units/unit_section.h"

#include <gtest/gtest.h>

#include "core/units/unit_test_support.h"
#include "document/section_text.h"

namespace qz {
namespace {

using testing::component;
using testing::hour;
using testing::kLength;
using testing::unitOf;

UnitRecord kilometresPerHour() {
  UnitComponent km = component("m", 1.0, kLength, "k");
  km.offset = 0.5;
  return unitOf({km, hour()}, 1);
}

TEST(UnitSection, LinesOfOneComponent) {
  UnitRecord m = unitOf({component("m", 1.0, kLength)});
  EXPECT_EQ(writeUnitSection(m, UnitRecord{}, {}),
            "1\n"                          // count
            "10\n1\n1\n1\n0\n"             // key, system, category, quantity, divides
            "1\nm\n1\n"                    // prefix, symbol, exponent
            "1\n1\n"                       // permissions
            "1\n0\n"                       // coefficient, offset
            "1\n0\n0\n0\n0\n0\n0\n0\n0\n"  // dimension
            "0\n"                          // new unit
            "0\n");                        // rows
}

TEST(UnitSection, RoundTrip) {
  std::vector<ConversionRow> rows{{36, 10}, {1.5e15, -2.25e-7}};
  UnitRecord current = kilometresPerHour();
  UnitRecord target = unitOf({component("\x8AW\x8A", 1e-3, kLength, "\xB5", "5/2")});
  std::string body = writeUnitSection(current, target, rows);
  EXPECT_NE(body.find("1.5E+015|-2.25E-007\n"), std::string::npos);
  UnitRecord c2 = target, t2 = current;
  std::vector<ConversionRow> rows2{{9, 9}};
  readUnitSection(body, c2, t2, rows2);
  EXPECT_EQ(c2, current);
  EXPECT_EQ(t2, target);
  ASSERT_EQ(rows2.size(), 2u);
  EXPECT_EQ(rows2[1].value, 1.5e15);
  EXPECT_EQ(rows2[1].result, -2.25e-7);
  EXPECT_TRUE(unitSectionWanted(current, UnitRecord{}));
  EXPECT_TRUE(unitSectionWanted(UnitRecord{}, target));
  EXPECT_FALSE(unitSectionWanted(UnitRecord{}, UnitRecord{}));
}

TEST(UnitSection, LongTextsAreCut) {
  SectionWriter w;
  w.line().integer(1);
  for (const char* line : {"3",     "1", "1", "1", "0", "abcdef", "0123456789012345678901234567",
                           "12345", "1", "1", "2", "0", "1",      "0",
                           "0",     "0", "0", "0", "0", "0",      "0"}) {
    w.textLine(line);
  }
  w.line().integer(0);
  w.line().integer(0);
  UnitRecord a, b;
  std::vector<ConversionRow> rows;
  readUnitSection(w.finish(), a, b, rows);
  ASSERT_EQ(a.count, 1);
  EXPECT_EQ(a.components[0].prefix, "ab");
  EXPECT_EQ(a.components[0].symbol, "01234567890123456789012");
  EXPECT_EQ(a.components[0].exponent, "123");
  EXPECT_EQ(a.components[0].coefficient, 2.0);
}

TEST(UnitSection, CountsAreClamped) {
  // Twelve components are written; ten are kept and the two others are passed
  // over, so the new unit and the list still read right.
  SectionWriter w;
  w.line().integer(12);
  for (int i = 0; i < 12; ++i) {
    for (int k = 0; k < 21; ++k) w.line().integer(k == 6 ? 0 : 1);
  }
  w.line().integer(-3);
  w.line().integer(5000);
  for (int i = 0; i < 1200; ++i) w.line().real(i).real(2 * i);
  UnitRecord a, b;
  std::vector<ConversionRow> rows;
  readUnitSection(w.finish(), a, b, rows);
  EXPECT_EQ(a.count, 10);
  EXPECT_EQ(b.count, 0);
  ASSERT_EQ(rows.size(), 1000u);
  EXPECT_EQ(rows[999].result, 1998.0);
}

TEST(UnitSection, EmptyOrGarbageBodyReadsAsEmpty) {
  UnitRecord a = kilometresPerHour(), b = kilometresPerHour();
  std::vector<ConversionRow> rows{{1, 1}};
  readUnitSection("", a, b, rows);
  EXPECT_EQ(a.count, 0);
  EXPECT_EQ(b.count, 0);
  EXPECT_TRUE(rows.empty());
  readUnitSection("x\nnan\n", a, b, rows);
  EXPECT_EQ(a.count, 0);
}

}  // namespace
}  // namespace qz
