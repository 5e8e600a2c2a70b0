#include "standard/tape_lines.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TapeEntry make(EntryKind kind, int level = 0, double value = 0, bool error = false,
               DisplaySetting d = {0, 2}) {
  TapeEntry e;
  e.kind = kind;
  e.level = level;
  e.value = value;
  e.error = error;
  e.display = d;
  return e;
}

struct LineCase {
  const char* name;
  TapeEntry entry;
  std::string text;
};

TEST(TapeLines, TextOfEachKind) {
  const LineCase cases[] = {
      {"number at level 0", make(EntryKind::Number, 0, 2.5), " 2.5"},
      {"number indented by its level", make(EntryKind::Number, 2, 7), "   7"},
      {"number in its own display mode", make(EntryKind::Number, 0, 2.5, false, {1, 3}), " 2.500"},
      {"flagged number", make(EntryKind::Number, 0, 0, true), " 0 (ERREUR)"},
      {"plus", make(EntryKind::Plus, 1), "  +"},
      {"divide sign", make(EntryKind::Divide), " ÷"},
      {"square root sign", make(EntryKind::SquareRoot), " √"},
      {"square", make(EntryKind::Square), " x²"},
      {"inverse", make(EntryKind::Inverse), " 1/x"},
      {"opening parenthesis one blank less", make(EntryKind::Open, 2), "  ("},
      {"closing parenthesis one blank less", make(EntryKind::Close, 1), " )"},
      {"equals", make(EntryKind::Equals), " ="},
      {"total", make(EntryKind::Total, 0, 1e20), " 1E+020"},
      {"flagged total", make(EntryKind::Total, 0, 0, true), " 0 (ERREUR)"},
      {"separator", make(EntryKind::Separator), " -----------------------------"},
      {"empty slot", make(EntryKind::Empty), ""},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(tapeLine(c.entry).plainUtf8(), c.text);
  }
}

TEST(TapeLines, FontsAndColours) {
  TapeLine divide = tapeLine(make(EntryKind::Divide));
  ASSERT_EQ(divide.pieces.size(), 2u);
  EXPECT_TRUE(divide.pieces[1].symbolFont);
  EXPECT_EQ(divide.pieces[1].text, "\xB8");
  EXPECT_EQ(divide.pieces[1].colour, TapeColour::Navy);
  EXPECT_EQ(tapeLine(make(EntryKind::Square)).pieces[1].colour, TapeColour::Green);
  EXPECT_EQ(tapeLine(make(EntryKind::Equals)).pieces[1].colour, TapeColour::DarkRed);
  TapeLine total = tapeLine(make(EntryKind::Total, 0, 0, true));
  ASSERT_EQ(total.pieces.size(), 3u);
  EXPECT_EQ(total.pieces[1].colour, TapeColour::DarkRed);
  EXPECT_EQ(total.pieces[2].text, " (ERREUR)");
  EXPECT_EQ(total.pieces[2].colour, TapeColour::DarkRed);
  TapeLine number = tapeLine(make(EntryKind::Number, 0, 0, true));
  EXPECT_EQ(number.pieces[1].colour, TapeColour::Text);
  EXPECT_EQ(number.pieces[2].colour, TapeColour::DarkRed);
}

TEST(TapeLines, MarkupForTheReport) {
  EXPECT_EQ(tapeLine(make(EntryKind::Divide, 1)).markupText(), "  \x8A\xB8\x8A");
  EXPECT_EQ(tapeLine(make(EntryKind::SquareRoot)).markupText(), " \x8A\xD6\x8A");
  EXPECT_EQ(tapeLine(make(EntryKind::Square)).markupText(), " x\xB2");
  EXPECT_EQ(tapeLine(make(EntryKind::Total, 0, 0, true)).markupText(), " 0 (ERREUR)");
}

TEST(TapeLines, SelectedLineInvertsColours) {
  const Rgb black{0, 0, 0};
  EXPECT_EQ(paintColour(TapeColour::Navy, black, false), (Rgb{0, 0, 128}));
  EXPECT_EQ(paintColour(TapeColour::Navy, black, true), (Rgb{255, 255, 127}));
  EXPECT_EQ(paintColour(TapeColour::Text, Rgb{10, 20, 30}, true), (Rgb{245, 235, 225}));
  EXPECT_TRUE(tapeLine(make(EntryKind::Number), true).selected);
}

}  // namespace
}  // namespace qz
