#include "standard/calculation_text.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

// "$" is plus and "\xA3" (pound sign) minus in the text.
struct TextCase {
  const char* name;
  const char* text;
  double value;
  bool error;
};

const TextCase kCases[] = {
    {"times before divide", "8/2*2", 2, false},
    {"plus before minus",
     "5\xA3"
     "2$1",
     2, false},
    {"one third times three", "1/3*3", 0.111111111111, false},
    {"parentheses first",
     "(5\xA3"
     "2)$1",
     4, false},
    {"group on the right", "2*(3$4)", 14, false},
    {"nested groups",
     "((1$2)*(3$4))\xA3"
     "1",
     20, false},
    {"power first", "2^10/4", 256, false},
    {"signed operands", "-2*-3", 6, false},
    {"minus a negative", "5\xA3-2", 7, false},
    {"three-digit exponents", "1E+020/1E+010", 1e10, false},
    {"blanks ignored", " 2 $ 3 ", 5, false},
    {"rounded at each step", "1$1E-013", 1, false},
    {"sum rounded to twelve digits", "0.1$0.2", 0.3, false},
    {"zero dividend", "0/5", 0, false},
    {"zero factor beside a huge one", "0*1E+300", 0, false},
    {"empty text", "", 0, false},
    {"trailing operator counts 0", "2$", 2, false},
    {"adjacent groups join like text", "(2)(3)", 23, false},
    {"division by zero", "1/0", 0, true},
    {"product overflow", "1E+300*1E+300", 0, true},
    {"power overflow", "10^400", 0, true},
    {"unclosed parenthesis", "(2$3", 0, true},
    {"unopened parenthesis", "2$3)", 0, true},
    {"operator in first position", "$5", 0, true},
    {"not a number", "2$abc", 0, true},
};

TEST(CalculationText, StrictOrderRoundingAndErrors) {
  for (const TextCase& c : kCases) {
    SCOPED_TRACE(c.name);
    TextValue v = evaluateCalculationText(c.text);
    EXPECT_EQ(v.error, c.error);
    EXPECT_DOUBLE_EQ(v.value, c.value);
  }
}

TEST(CalculationText, RoundTo12Digits) {
  EXPECT_EQ(roundTo12Digits(1.0 / 3.0), 0.333333333333);
  EXPECT_EQ(roundTo12Digits(0.1 + 0.2), 0.3);
  EXPECT_EQ(roundTo12Digits(0.0), 0.0);
}

}  // namespace
}  // namespace qz
