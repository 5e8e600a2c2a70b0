#include "scientific/scientific_state.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(ScientificSection, NewStateWritesNoSection) {
  ScientificState s;
  EXPECT_FALSE(scientificSectionWanted(s));
  s.expression = "";
  EXPECT_FALSE(scientificSectionWanted(s));
  s.constants = "a=1";
  EXPECT_TRUE(scientificSectionWanted(s));
  s.constants.clear();
  s.results.push_back({1, 2});
  EXPECT_TRUE(scientificSectionWanted(s));
  s.results.clear();
  s.expression = "y=x";
  EXPECT_TRUE(scientificSectionWanted(s));
}

TEST(ScientificSection, BodyLayout) {
  ScientificState s;
  s.angleUnit = AngleUnit::Radians;
  s.expression = "y=a*x+b";
  s.constants = "a=2\r\nb=1.5";
  s.results = {{1, 3.5}, {1e20, -2.5e-7}};
  EXPECT_EQ(writeScientificSection(s), "0\ny=a*x+b\na=2\nb=1.5\n.\n2\n1|3.5\n1E+020|-2.5E-007\n");
  s.constants.clear();
  s.results.clear();
  EXPECT_EQ(writeScientificSection(s), "0\ny=a*x+b\n\n.\n0\n") << "empty constants give one empty line";
}

TEST(ScientificSection, RoundTrip) {
  ScientificState s;
  s.angleUnit = AngleUnit::Degrees;
  s.expression = "y=sin(x)*k1";
  s.constants = "k1=2\r\n\r\nb=-3e-5\r\n";
  for (int i = 0; i < 20; ++i) s.results.push_back({i * 0.1, 1.0 / (i + 1)});
  ScientificState back;
  back.angleUnit = AngleUnit::Radians;
  back.results = {{9, 9}};
  readScientificSection(writeScientificSection(s), back);
  EXPECT_EQ(back.angleUnit, AngleUnit::Degrees);
  EXPECT_EQ(back.expression, s.expression);
  EXPECT_EQ(back.constants, s.constants);
  ASSERT_EQ(back.results.size(), 20u);
  for (std::size_t i = 0; i < 20; ++i) {
    // Rows travel as twelve significant digits.
    EXPECT_NEAR(back.results[i].x, s.results[i].x, 1e-12);
    EXPECT_NEAR(back.results[i].y, s.results[i].y, 1e-12);
  }
  EXPECT_EQ(writeScientificSection(back), writeScientificSection(s));
}

TEST(ScientificSection, LeadingLineBreaksAndCarriageReturnsAreNotWritten) {
  ScientificState s;
  s.expression = "y=a";
  s.constants = "\r\n\r\na=1";
  EXPECT_EQ(writeScientificSection(s), "1\ny=a\na=1\n.\n0\n");
}

TEST(ScientificSection, ReadingLimits) {
  std::string body = "1\ny=" + std::string(300, '1') + "\n.\n5000\n";
  for (int i = 0; i < 1200; ++i) body += std::to_string(i) + "|" + std::to_string(-i) + "\n";
  ScientificState s;
  readScientificSection(body, s);
  EXPECT_EQ(s.expression.size(), 255u);
  EXPECT_EQ(s.results.size(), 1000u);
  EXPECT_EQ(s.results.back(), (ResultPair{999, -999}));
}

TEST(ScientificSection, MalformedBodiesReadLeniently) {
  struct Case {
    const char* name;
    const char* body;
    AngleUnit unit;
    const char* expression;
    const char* constants;
    std::size_t rows;
  };
  const Case cases[] = {
      {"Empty", "", AngleUnit::Radians, "", "", 0},
      {"FlagOnly", " 7 \n", AngleUnit::Degrees, "", "", 0},
      {"NoDotLine", "0\ny=x\na=1\n", AngleUnit::Radians, "y=x", "a=1", 0},
      {"NegativeCount", "1\ny=x\n.\n-4\n1|2\n", AngleUnit::Degrees, "y=x", "", 0},
      {"CountBeyondRows", "1\ny=x\n.\n3\n1|2\n", AngleUnit::Degrees, "y=x", "", 1},
      {"GarbageRow", "1\ny=x\n.\n1\nabc|\n", AngleUnit::Degrees, "y=x", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScientificState s;
    readScientificSection(c.body, s);
    EXPECT_EQ(s.angleUnit, c.unit);
    EXPECT_EQ(s.expression, c.expression);
    EXPECT_EQ(s.constants, c.constants);
    EXPECT_EQ(s.results.size(), c.rows);
  }
}

}  // namespace
}  // namespace qz
