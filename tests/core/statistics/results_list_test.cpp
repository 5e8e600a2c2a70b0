#include "statistics/results_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "numbers/cp1252.h"

namespace qz {
namespace {

StatResults computed(const StatTable& t, StatMode mode) {
  StatEngine engine;
  EXPECT_TRUE(engine.computeStatistics(t, mode));
  return engine.results();
}

StatTable values(std::initializer_list<double> xs) {
  StatTable t;
  for (double x : xs) t.append({x, 0});
  return t;
}

std::vector<std::string> plain(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(markupToPlainUtf8(l));
  return out;
}

TEST(ResultsList, ModeZeroWithEightValuesHasElevenLines) {
  auto lines =
      buildResultsList(computed(values({2, 4, 4, 4, 5, 5, 7, 9}), StatMode::Values), StatMode::Values);
  ASSERT_EQ(lines.size(), 11u);
  const std::vector<std::string> expected = {
      "n ...... = 8 résultats", "", "Σx ..... = 40", "Σx² .... = 232",       "", "x̄ ...... = 5", "",
      "var(x) . = 4",           "", "σx ..... = 2",  "sx ..... = 2.13808994"};
  EXPECT_EQ(plain(lines), expected);
}

TEST(ResultsList, LinesUseTheOneByteCodes) {
  auto lines = buildResultsList(computed(values({1, 2}), StatMode::Values), StatMode::Values);
  // "\Bn ...... =\B \/2\/ résultats" after conversion.
  EXPECT_EQ(lines[0],
            "\x85n ...... =\x85 \x82"
            "2\x82 r\xE9sultats");
  EXPECT_EQ(lines[2],
            "\x85\x8AS\x8Ax ..... =\x85 \x82"
            "3\x82");
  EXPECT_EQ(lines[3],
            "\x85\x8AS\x8Ax\x8C"
            "2\x8C .... =\x85 \x82"
            "5\x82");
  EXPECT_EQ(lines[5],
            "\x85\x88x\x88 ...... =\x85 \x82"
            "1.5\x82");
  EXPECT_EQ(lines[9],
            "\x85\x8As\x8A\x8Bx\x8B ..... =\x85 \x82"
            "0.5\x82");
}

TEST(ResultsList, ModeTwoWithTwoPairsHasEighteenLines) {
  StatTable t;
  t.append({1, 3});
  t.append({4, 12});
  auto lines = buildResultsList(computed(t, StatMode::Pairs), StatMode::Pairs);
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const auto& l) { return l.empty(); }));
  auto text = plain(lines);
  EXPECT_EQ(text[15], "a ...... = 3 (y = a.x + b)");
  EXPECT_EQ(text[17], "r²...... = 1 (coef. de corr.)");
  EXPECT_EQ(text[7], "y\u0304 ...... = 7.5");
  EXPECT_EQ(text[10], "cov(x,y) = 6.75");
}

TEST(ResultsList, ModeTwoWithEqualXHasNoLineResults) {
  StatTable t;
  t.append({2, 3});
  t.append({2, 5});
  t.append({2, 9});
  auto lines = buildResultsList(computed(t, StatMode::Pairs), StatMode::Pairs);
  EXPECT_EQ(lines.size(), 15u);
}

TEST(ResultsList, ModeOneEndsWithBlankAndRSquaredWhenThereIsALine) {
  StatTable t;
  for (double x : {10, 20, 30, 40, 50}) t.append({x, x == 30 ? 4.0 : 1.0});
  auto lines = buildResultsList(computed(t, StatMode::Frequencies), StatMode::Frequencies);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[11], "");
  EXPECT_EQ(markupToPlainUtf8(lines[2]), "Σnx .... = 240");
  EXPECT_EQ(markupToPlainUtf8(lines[12]).substr(0, 12), "r²...... = ");
}

TEST(ResultsList, HugeValuesUseThreeDigitExponents) {
  StatResults r;
  r.n = 2;
  r.sumX = 1.5e20;
  r.sX = -1;
  auto lines = buildResultsList(r, StatMode::Values);
  EXPECT_EQ(markupToPlainUtf8(lines[2]), "Σx ..... = 1.5E+020");
  EXPECT_EQ(lines.size(), 10u) << "no s_x line when it is -1";
}

TEST(ResultLineNumber, TakesTheNumberAfterTheEquals) {
  auto lines =
      buildResultsList(computed(values({2, 4, 4, 4, 5, 5, 7, 9}), StatMode::Values), StatMode::Values);
  EXPECT_EQ(resultLineNumber(lines[0]), "8");
  EXPECT_EQ(resultLineNumber(lines[10]), "2.13808994");
  EXPECT_EQ(resultLineNumber(lines[1]), std::nullopt);
  EXPECT_EQ(resultLineNumber("\x85x =\x85 \x82-1.5E-005\x82"), "-1.5E-005");
}

}  // namespace
}  // namespace qz
