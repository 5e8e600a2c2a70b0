#include "numbers/cp1252.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(Cp1252, HighControlsDifferFromLatin1) {
  EXPECT_EQ(cp1252ToUnicode(0x80), U'\u20AC');
  EXPECT_EQ(cp1252ToUnicode(0x85), U'\u2026');
  EXPECT_EQ(cp1252ToUnicode(0x9C), U'\u0153');
  EXPECT_EQ(cp1252ToUnicode(0xE9), U'\u00E9');
  EXPECT_EQ(unicodeToCp1252(U'\u20AC'), 0x80);
  EXPECT_EQ(unicodeToCp1252(U'\u03A3'), -1);
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, FrenchTextAndReplacement) {
  EXPECT_EQ(utf8ToCp1252("CONTRÔLE"), "CONTR\xD4LE");
  EXPECT_EQ(cp1252ToUtf8("Donn\xE9" "es"), "Données");
  EXPECT_EQ(utf8ToCp1252("Σ"), "?");
  EXPECT_EQ(utf8ToCp1252("a\xFF" "b"), "a?b") << "a malformed byte is replaced, not dropped";
  EXPECT_EQ(utf8ToCp1252("\xE2\x82"), "??") << "a cut sequence never reads past the end";
}

}  // namespace
}  // namespace qz
