#include "statistics/paste_parser.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(PasteCellCount, LineFeedsAndTabsLessAFinalCrLf) {
  EXPECT_EQ(pasteCellCount("12"), 1);
  EXPECT_EQ(pasteCellCount("12\r\n"), 1);
  EXPECT_EQ(pasteCellCount("1\t2\r\n3\t4"), 4);
  EXPECT_EQ(pasteCellCount(""), 1);
}

TEST(ParsePasteText, Failures) {
  struct Case {
    const char* name;
    const char* text;
    PasteMessage error;
  };
  const Case cases[] = {
      {"empty", "", kPasteEmpty},
      {"only line ends", "\r\n\r\n\t", kPasteEmpty},
      {"empty cell between tabs", "1\t\t2", kPasteEmptyCell},
      {"blank cell", "1\t  \n2\t3", kPasteEmptyCell},
      {"empty line inside", "1\n\n2", kPasteEmptyCell},
      {"ragged", "1\t2\n3", kPasteRagged},
      {"tab at the end of one line only", "1\t2\t\n3\t4", kPasteEmptyCell},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(parsePasteText(c.text).error, c.error);
  }
}

TEST(ParsePasteText, NumbersAsTheUserWritesThem) {
  PasteBlock b = parsePasteText("1,5\t-2,25\r\n1 234,5\t3E2\r\n");
  ASSERT_EQ(b.error, kPasteOk);
  EXPECT_EQ(b.lines, 2);
  EXPECT_EQ(b.columns, 2);
  EXPECT_EQ(b.at(0, 0), 1.5);
  EXPECT_EQ(b.at(0, 1), -2.25);
  EXPECT_EQ(b.at(1, 0), 1234.5) << "digit groups with blanks";
  EXPECT_EQ(b.at(1, 1), 300);
  EXPECT_TRUE(b.allNumeric());
}

TEST(ParsePasteText, LoneCarriageReturnsEndLines) {
  PasteBlock b = parsePasteText("1\r2\r3\r");
  ASSERT_EQ(b.error, kPasteOk);
  EXPECT_EQ(b.lines, 3);
  EXPECT_EQ(b.at(2, 0), 3) << "not one cell reading 123";
}

TEST(ParsePasteText, TrailingTabsAndControlsAtTheEndGo) {
  PasteBlock b = parsePasteText("4\t5\t\t\r\n");
  ASSERT_EQ(b.error, kPasteOk);
  EXPECT_EQ(b.columns, 2);
}

TEST(ParsePasteText, NonNumericCellsAreMarked) {
  PasteBlock b = parsePasteText("abc\t2\n1e400\tx");
  ASSERT_EQ(b.error, kPasteOk);
  EXPECT_EQ(b.numericCells, 1);
  EXPECT_FALSE(b.allNumeric());
}

TEST(ParsePasteText, HugeValuesAreLimited) {
  PasteBlock b = parsePasteText("1e305\n-1.7e308\n1e-320");
  ASSERT_EQ(b.error, kPasteOk);
  EXPECT_EQ(b.at(0, 0), 1e300);
  EXPECT_EQ(b.at(1, 0), -1e300);
  EXPECT_EQ(b.at(2, 0), 0.0);
}

GridSelection none() { return {}; }

TEST(PlanPaste, AppendShapesAndOrientation) {
  struct Case {
    const char* name;
    const char* text;
    StatMode mode;
    bool ours;
    PasteMessage error;
    PasteOrientation orientation;
  };
  const Case cases[] = {
      {"pairs line by line", "1\t2\n3\t4\n5\t6", StatMode::Pairs, false, kPasteOk, PasteOrientation::RowWise},
      {"pairs as two lines", "1\t3\t5\n2\t4\t6", StatMode::Pairs, false, kPasteOk,
       PasteOrientation::ColumnWise},
      {"one pair on a line", "1\t2", StatMode::Pairs, false, kPasteOk, PasteOrientation::RowWise},
      {"two by two asks", "1\t2\n3\t4", StatMode::Pairs, false, kPasteOk, PasteOrientation::Ask},
      {"two by two of ours", "1\t2\n3\t4", StatMode::Pairs, true, kPasteOk, PasteOrientation::RowWise},
      {"three columns", "1\t2\t3\n4\t5\t6\n7\t8\t9", StatMode::Pairs, false, kPasteNeedTwoLines,
       PasteOrientation::RowWise},
      {"values in a column", "1\n2\n3", StatMode::Values, false, kPasteOk, PasteOrientation::RowWise},
      {"values on a line", "1\t2\t3", StatMode::Values, false, kPasteOk, PasteOrientation::RowWise},
      {"values in a block", "1\t2\n3\t4", StatMode::Values, false, kPasteNeedOneLine,
       PasteOrientation::RowWise},
      {"letters", "1\nabc", StatMode::Values, false, kPasteNotNumeric, PasteOrientation::RowWise},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PastePlan plan = planPaste(parsePasteText(c.text), none(), c.mode, 0, c.ours);
    EXPECT_EQ(plan.error, c.error);
    if (c.error == kPasteOk) {
      EXPECT_TRUE(plan.append);
      EXPECT_EQ(plan.orientation, c.orientation);
    }
  }
}

TEST(PlanPaste, TooManyCellsOrRows) {
  std::string big;
  for (int i = 0; i < 3000; ++i) big += std::to_string(i) + "\n";
  EXPECT_EQ(planPaste(parsePasteText(big), none(), StatMode::Values, 0, false).error, kPasteTooMany);
  EXPECT_EQ(planPaste(parsePasteText("1\n2\n3"), none(), StatMode::Values, 998, false).error, kPasteTooMany);
  EXPECT_EQ(planPaste(parsePasteText("1\n2"), none(), StatMode::Values, 998, false).error, kPasteOk);
  std::string pairs;
  for (int i = 0; i < 1001; ++i) pairs += "1\t2\n";
  EXPECT_EQ(planPaste(parsePasteText(pairs), none(), StatMode::Pairs, 0, false).error, kPasteTooMany);
}

TEST(PlanPaste, FillNeedsTheSelectionsShape) {
  GridSelection threeRowsTwoColumns{0, 1, 1, 3};
  PastePlan same =
      planPaste(parsePasteText("1\t2\n3\t4\n5\t6"), threeRowsTwoColumns, StatMode::Pairs, 3, false);
  EXPECT_EQ(same.error, kPasteOk);
  EXPECT_FALSE(same.append);
  EXPECT_EQ(same.orientation, PasteOrientation::RowWise);
  PastePlan transposed =
      planPaste(parsePasteText("1\t2\t3\n4\t5\t6"), threeRowsTwoColumns, StatMode::Pairs, 3, false);
  EXPECT_EQ(transposed.orientation, PasteOrientation::ColumnWise);
  EXPECT_EQ(planPaste(parsePasteText("1\t2"), threeRowsTwoColumns, StatMode::Pairs, 3, false).error,
            kPasteShapeMismatch);
  EXPECT_EQ(
      planPaste(parsePasteText("1\t2\n3\tx\n5\t6"), threeRowsTwoColumns, StatMode::Pairs, 3, false).error,
      kPasteNotNumeric);
  GridSelection square{0, 1, 2, 3};
  EXPECT_EQ(planPaste(parsePasteText("1\t2\n3\t4"), square, StatMode::Pairs, 3, false).orientation,
            PasteOrientation::Ask);
  GridSelection oneCell{0, 0, 2, 2};
  EXPECT_TRUE(planPaste(parsePasteText("7"), oneCell, StatMode::Values, 3, false).append)
      << "one selected cell is not a fill";
}

TEST(ApplyPaste, ColumnWiseAppendGivesTheSamePairs) {
  StatTable rowWise, columnWise;
  for (auto [table, text] :
       {std::pair{&rowWise, "1\t2\n3\t4\n5\t6"}, std::pair{&columnWise, "1\t3\t5\n2\t4\t6"}}) {
    table->append({9, 9});
    PasteBlock block = parsePasteText(text);
    PastePlan plan = planPaste(block, {}, StatMode::Pairs, 1, false);
    EXPECT_EQ(applyPaste(*table, block, plan, plan.orientation, StatMode::Pairs), 4);
  }
  EXPECT_EQ(rowWise, columnWise);
  EXPECT_EQ(rowWise.count(), 4);
  EXPECT_EQ(rowWise.row(2), (StatRow{1, 2}));
  EXPECT_EQ(rowWise.row(4), (StatRow{5, 6}));
}

}  // namespace
}  // namespace qz
