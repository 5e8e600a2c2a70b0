#include "numbers/real_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace qz {
namespace {

struct FormatCase {
  const char* name;
  double value;
  const char* custom;
  int mode;
  int decimals;
  const char* expected;
};

TEST(FormatReal, ModesAndTrimming) {
  const FormatCase cases[] = {
      {"free 2.5", 2.5, "", 0, 2, "2.5"},
      {"free 1E20 three-digit exponent", 1e20, "", 0, 2, "1E+020"},
      {"free 1E-5 is not trimmed", 1e-5, "", 0, 2, "1E-005"},
      {"free 0.1+0.2", 0.1 + 0.2, "", 0, 2, "0.3"},
      {"free 1/3", 1.0 / 3.0, "", 0, 2, "0.333333333333"},
      {"free 100 keeps its zeros", 100, "", 0, 2, "100"},
      {"free negative", -0.5, "", 0, 2, "-0.5"},
      {"free 2.50000 trims", 2.5, "", 0, 9, "2.5"},
      {"fixed 3 decimals", 2.5, "", 1, 3, "2.500"},
      {"fixed 0 decimals", 2.5, "", 1, 0, "2"},
      {"fixed 2.345 as printf rounds", 2.345, "", 1, 2, "2.35"},
      {"significant keeps print", 2.5, "", 2, 0, "2.5"},
      {"significant big", 1.5e15, "", 2, 0, "1.5E+015"},
      {"scientific 2 decimals", 12345, "", 3, 2, "1.23E+004"},
      {"scientific 0 decimals", 12345, "", 3, 0, "1E+004"},
      {"scientific negative exponent", 0.00012, "", 3, 1, "1.2E-004"},
      {"integer truncates", -2.7, "", 4, 0, "-2"},
      {"integer positive", 2.9, "", 4, 0, "2"},
      {"custom %G", 25.52699, "%G", 0, 2, "25.527"},
      {"custom %G exponent", 1.5e-7, "%G", 3, 2, "1.5E-007"},
      {"custom %g is upper-cased", 1e100, "%g", 0, 2, "1E+100"},
      {"custom with integer mode", 7.9, "%d", 4, 2, "7"},
      {"mode out of range", 1, "", 5, 2, ""},
      {"negative mode", 1, "", -1, 2, ""},
      {"custom with mode out of range", 1, "%G", 9, 2, ""},
      {"three-digit exponent stays", 1e300, "", 0, 2, "1E+300"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatReal(c.value, c.custom, c.mode, c.decimals), c.expected);
  }
}

TEST(ExchangeText, TwelveDigitsCapitalEThreeDigitExponent) {
  EXPECT_EQ(exchangeText(1.5e15), "1.5E+015");
  EXPECT_EQ(exchangeText(1.0 / 3.0), "0.333333333333");
  EXPECT_EQ(exchangeText(-2.5e-7), "-2.5E-007");
  EXPECT_EQ(exchangeText(0), "0");
  EXPECT_EQ(exchangeText(123456789012345.0), "1.23456789012E+014");
  EXPECT_EQ(exchangeText(12.5), "12.5");
}

TEST(FormatDouble, WidensOnlyExponents) {
  EXPECT_EQ(formatDouble("Valeur (%g) interdite !", 1e20), "Valeur (1e+020) interdite !");
  EXPECT_EQ(formatDouble("%.3e", 1234.0), "1.234e+003");
  EXPECT_EQ(formatDouble("%g", 1e-300), "1e-300");
  EXPECT_EQ(formatDouble("x%fE+5", 1.0), "x1.000000E+5");  // text after the number is left alone
}

TEST(FormatDateStamp, Shapes) {
  std::string date = FormatDateStamp(false);
  ASSERT_EQ(date.size(), 10u);
  EXPECT_EQ(date[2], '/');
  EXPECT_EQ(date[5], '/');
  std::string withTime = FormatDateStamp(true);
  ASSERT_EQ(withTime.size(), 18u);
  EXPECT_EQ(withTime.substr(10, 2), " (");
  EXPECT_EQ(withTime.back(), ')');
}

TEST(ParseReal, WholeTextOnly) {
  double v = 0;
  EXPECT_TRUE(parseReal("1250.5", v));
  EXPECT_DOUBLE_EQ(v, 1250.5);
  EXPECT_TRUE(parseReal("-1.5E-3", v));
  EXPECT_FALSE(parseReal("12abc", v));
  EXPECT_FALSE(parseReal("inf", v));
  EXPECT_FALSE(parseReal("nan", v));
  EXPECT_FALSE(parseReal("0x10", v));
  EXPECT_FALSE(parseReal("1E400", v));
  EXPECT_FALSE(parseReal("", v));
  EXPECT_FALSE(parseReal(" 1", v));
}

TEST(ReadRealPrefix, IntegersReadDirectlyAgreeWithStrtod) {
  // Whole numbers skip strtod; each must read as strtod reads its prefix.
  for (const char* text : {"0", "-0", "+5", "007", "-42", "  -42abc", "123456789012345", "1234567890123456",
                           "999999999999999999999", "12-3", "-", "+", "5e", "5e2", "3.", "1|0|0", "\t8"}) {
    SCOPED_TRACE(text);
    std::string prefix(text);
    prefix.erase(0, prefix.find_first_not_of(" \t"));
    const double expected = std::strtod(prefix.c_str(), nullptr);
    const double read = readRealPrefix(text);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(std::signbit(read), std::signbit(expected));
  }
}

TEST(ReadRealPrefix, MemoryTexts) {
  EXPECT_DOUBLE_EQ(readRealPrefix("0."), 0.0);
  EXPECT_DOUBLE_EQ(readRealPrefix("12.5"), 12.5);
  EXPECT_DOUBLE_EQ(readRealPrefix("1.5E+015"), 1.5e15);
  EXPECT_DOUBLE_EQ(readRealPrefix("abc"), 0.0);
  EXPECT_DOUBLE_EQ(readRealPrefix("  7xyz"), 7.0);
  EXPECT_DOUBLE_EQ(readRealPrefix("1E999"), 0.0);
  EXPECT_DOUBLE_EQ(readRealPrefix("nan"), 0.0);
}

}  // namespace
}  // namespace qz
