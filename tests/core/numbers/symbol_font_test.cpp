#include "numbers/symbol_font.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(SymbolFont, GreekAndSigns) {
  EXPECT_EQ(symbolRunToUtf8("S"), "Σ");
  EXPECT_EQ(symbolRunToUtf8("s"), "σ");
  EXPECT_EQ(symbolRunToUtf8("m"), "μ");
  EXPECT_EQ(symbolRunToUtf8("\xB8"), "÷");
  EXPECT_EQ(symbolRunToUtf8("\xD6"), "√");
  EXPECT_EQ(symbolRunToUtf8("D1"), "Δ1") << "digits keep their meaning";
  EXPECT_EQ(symbolRunToUtf8("p r"), "π ρ");
}

}  // namespace
}  // namespace qz
