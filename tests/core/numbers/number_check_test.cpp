#include "numbers/number_check.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(CheckTypedNumber, AcceptsBeginningsRefusesMalformed) {
  const struct {
    const char* text;
    bool accepted;
  } cases[] = {
      {"", true},       {"-", true},       {".", true},     {"12E", true},  {"-1.5E-", true}, {"1E", true},
      {"+3", true},     {"1.5E+10", true}, {"E5", false},   {"1.2.3", false}, {"1-2", false}, {"1E2.5", false},
      {"1 000", false}, {"1e5", false},    {"--1", false},  {"1E+-2", false}, {"1EE2", false}, {"1E2E3", false},
      {"1,5", false},   {"1E-2-", false},  {"+-1", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CheckTypedNumber(c.text), c.accepted);
  }
}

TEST(TypedNumberText, SmallExponentAndDecimalCommaAreTheNumbersOwn) {
  const struct {
    const char* typed;
    const char* shown;
  } cases[] = {
      {"2.5e-3", "2.5E-3"}, {"1,5", "1.5"},   {"-1,5e+10", "-1.5E+10"}, {"e", "E"},
      {"12", "12"},         {"1 000", "1 000"}, {"abe", "abE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(TypedNumberText(c.typed), c.shown);
  }
  // What a field then checks: the typed forms pass where the raw ones do not.
  EXPECT_TRUE(CheckTypedNumber(TypedNumberText("2.5e-")));
  EXPECT_TRUE(CheckTypedNumber(TypedNumberText("1,")));
  std::string real = TypedNumberText("-1,5e3");
  EXPECT_TRUE(CheckNumberText(real, static_cast<int>(NumberKind::Real), true));
  EXPECT_EQ(real, "-1.5E3");
}

TEST(CheckNumberText, KindsAndNormalisation) {
  const struct {
    const char* name;
    const char* text;
    int kind;
    bool negative;
    bool accepted;
    const char* normalised;  // when accepted
  } cases[] = {
      {"real with exponent", "-1.5E-3", 3, true, true, "-1.5E-3"},
      {"comma and blanks", " 1,5 ", 3, true, true, "1.5"},
      {"empty is fine", "   ", 3, true, true, ""},
      {"two points", "1.5E3.2", 3, true, false, ""},
      {"point after exponent", "1E5.", 3, true, false, ""},
      {"exponent first", "E5", 3, true, false, ""},
      {"three parts", "1.2.3", 3, true, false, ""},
      {"integer with point", "1.0", 1, true, false, ""},
      {"integer plain", "42", 1, true, true, "42"},
      {"decimal with exponent", "1E3", 2, true, false, ""},
      {"decimal plain", "-3.25", 2, true, true, "-3.25"},
      {"negative refused", "-1", 3, false, false, ""},
      {"negative exponent allowed", "1E-3", 3, false, true, "1E-3"},
      {"small e refused", "1e5", 3, true, false, ""},
      {"sign inside", "1-2", 3, true, false, ""},
      {"two exponent minus", "1E--2", 3, true, false, ""},
      {"other kind checks characters", "1.2.3", 0, true, true, "1.2.3"},
      {"other kind refuses letters", "12a", 0, true, false, ""},
      {"digit groups", "1 250 000", 1, true, true, "1250000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = c.text;
    EXPECT_EQ(CheckNumberText(text, c.kind, c.negative), c.accepted);
    if (c.accepted) EXPECT_EQ(text, c.normalised);
    else EXPECT_EQ(text, c.text) << "a refused text is left as it was";
  }
}

TEST(ChangeSign, AlternatesOnTheMantissa) {
  std::string text = "5";
  int start = 1, end = 1;
  ASSERT_TRUE(ChangeSign(text, start, end));
  EXPECT_EQ(text, "-5");
  EXPECT_EQ(start, 2);
  EXPECT_EQ(end, 2);
  ASSERT_TRUE(ChangeSign(text, start, end));
  EXPECT_EQ(text, "+5");
  ASSERT_TRUE(ChangeSign(text, start, end));
  EXPECT_EQ(text, "-5");
}

TEST(ChangeSign, ExponentWhenTheCaretIsAfterE) {
  std::string text = "1.5E3";
  int start = 5, end = 5;
  ASSERT_TRUE(ChangeSign(text, start, end));
  EXPECT_EQ(text, "1.5E-3");
  EXPECT_EQ(start, 6);
  ASSERT_TRUE(ChangeSign(text, start, end));
  EXPECT_EQ(text, "1.5E+3");
}

TEST(ChangeSign, MantissaOfANumberWithExponentKeepsCaretAfterSign) {
  std::string text = "1.5E3";
  int start = 1, end = 1;
  ASSERT_TRUE(ChangeSign(text, start, end));
  EXPECT_EQ(text, "-1.5E3");
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 1);
}

TEST(ChangeSign, NothingToDo) {
  std::string text = "1.5E";
  int start = 4, end = 4;
  EXPECT_FALSE(ChangeSign(text, start, end));
  EXPECT_EQ(text, "1.5E");
  std::string empty;
  start = end = 0;
  EXPECT_FALSE(ChangeSign(empty, start, end));
  EXPECT_EQ(empty, "");
}

TEST(InsertSign, CaretRules) {
  // Empty mantissa becomes the sign alone.
  std::string text;
  int start = 0, end = 0;
  ASSERT_TRUE(InsertSign(text, start, end, true));
  EXPECT_EQ(text, "-");
  EXPECT_EQ(start, 1);
  // Caret not at 0: the mantissa is left alone.
  text = "12";
  start = end = 1;
  EXPECT_FALSE(InsertSign(text, start, end, true));
  EXPECT_EQ(text, "12");
  // Empty exponent takes the sign, caret after it.
  text = "12E";
  start = end = 3;
  ASSERT_TRUE(InsertSign(text, start, end, true));
  EXPECT_EQ(text, "12E-");
  EXPECT_EQ(start, 4);
  // A same sign twice would make an invalid number: refused.
  text = "-12";
  start = end = 0;
  EXPECT_FALSE(InsertSign(text, start, end, true));
  EXPECT_EQ(text, "-12");
}

TEST(ExtractNumber, FirstNumberOfAFreeText) {
  std::string text = "Longueur  1 250,5 m";
  EXPECT_DOUBLE_EQ(ExtractNumber(text), 1250.5);
  EXPECT_EQ(text, "1250.5");

  text = "pas de nombre ici";
  EXPECT_DOUBLE_EQ(ExtractNumber(text), 0.0);
  EXPECT_EQ(text, "");

  text = "   ";
  EXPECT_DOUBLE_EQ(ExtractNumber(text), 0.0);
  EXPECT_EQ(text, "");

  text = "x 1E999 m 2";
  EXPECT_DOUBLE_EQ(ExtractNumber(text), 2.0) << "a range error is not a number";
  EXPECT_EQ(text, "2");

  text = "nan inf 3E2";
  EXPECT_DOUBLE_EQ(ExtractNumber(text), 300.0);

  text = "-1 234 567";
  EXPECT_DOUBLE_EQ(ExtractNumber(text), -1234567.0);
}

TEST(LocalisePoint, BothWays) {
  EXPECT_EQ(LocalisePoint("1.5\t2.25", ','), "1,5\t2,25");
  EXPECT_EQ(LocalisePoint("1.5", '.'), "1.5");
  EXPECT_EQ(DelocalisePoint("1,5;2,5"), "1.5;2.5");
}

TEST(ClampReal, LimitsAndTinyValues) {
  double v = 2e300;
  EXPECT_TRUE(ClampReal(v));
  EXPECT_EQ(v, 1e300);
  v = -5e301;
  EXPECT_TRUE(ClampReal(v));
  EXPECT_EQ(v, -1e300);
  v = 1e-301;
  EXPECT_FALSE(ClampReal(v));
  EXPECT_EQ(v, 0.0);
  v = 1e300;
  EXPECT_FALSE(ClampReal(v));
  EXPECT_EQ(v, 1e300);
  v = -3.5;
  EXPECT_FALSE(ClampReal(v));
  EXPECT_EQ(v, -3.5);
}

}  // namespace
}  // namespace qz
