#include "numbers/markup.h"

#include <gtest/gtest.h>

#include "numbers/rtf_line.h"
#include "platform/recording_canvas.h"

namespace qz {
namespace {

TEST(ConvertMarkup, CodesBecomeBytes) {
  EXPECT_EQ(convertMarkup("\\Bn ...... =\\B \\/12\\/"), "\x85n ...... =\x85 \x82" "12\x82");
  EXPECT_EQ(convertMarkup("\\R\\G\\b\\u\\o\\i\\g\\s\\e"), "\x83\x84\x86\x87\x88\x89\x8A\x8B\x8C");
  EXPECT_EQ(convertMarkup("x\\e2\\e"), "x\x8C" "2\x8C");
}

TEST(ConvertMarkup, CurrencySignIsALiteralBackslash) {
  // "¤" stands for a backslash that must never be read as a code.
  EXPECT_EQ(convertMarkup("C:\xA4" "Base\xA4" "notes.qz"), "C:\\Base\\notes.qz");
  EXPECT_EQ(convertMarkup("\xA4" "b"), "\\b");
}

TEST(StripMarkup, RemovesEveryCodeByte) {
  std::string line = convertMarkup("\\B\\bx\\o\\b =\\B \\/1.5\\/") + "\x81";
  EXPECT_EQ(stripMarkup(line), "x = 1.5");
  EXPECT_EQ(stripMarkup("\x80\x8D plain"), "\x80\x8D plain");
}

TEST(ChoosePlural, SingularAndPlural) {
  EXPECT_EQ(choosePlural("Constante{|s}", 1), "Constante");
  EXPECT_EQ(choosePlural("Constante{|s}", 2), "Constantes");
  EXPECT_EQ(choosePlural("{un|des} cheva{l|ux} et {|}", 3), "des chevaux et ");
  EXPECT_EQ(choosePlural("{un|des} cheva{l|ux}", 0), "un cheval");
  EXPECT_EQ(choosePlural("open {group", 2), "open {group");
  EXPECT_EQ(choosePlural("a}b{c", 2), "a}b{c");
}

class DrawMarkupTest : public ::testing::Test {
 protected:
  RecordingCanvas canvas;
  const FontSpec base{"Arial", -12, 400, false, false};
  const Rgb black{0, 0, 0};
};

TEST_F(DrawMarkupTest, MeasuresAndCentresVertically) {
  Size s = drawMarkup(canvas, 0, "abc", Rect{10, 0, 200, 40}, MarkupAlign::Left, black, base);
  EXPECT_EQ(s, (Size{18, 12}));
  auto texts = canvas.itemsOf(RecordingCanvas::Kind::Text);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].a.x, 10);
  EXPECT_EQ(texts[1].a.x, 16);
  // Box top (0 + 40 - 12) / 2 = 14; baseline 14 + 12; top of glyph = baseline - ascent (9).
  EXPECT_EQ(texts[0].a.y, 14 + 12 - 9);
}

TEST_F(DrawMarkupTest, AlignmentNeverLeftOfTheRectangle) {
  drawMarkup(canvas, 0, "abcd", Rect{0, 0, 100, 20}, MarkupAlign::Right, black, base);
  EXPECT_EQ(canvas.itemsOf(RecordingCanvas::Kind::Text).front().a.x, 100 - 24);
  canvas.clear();
  drawMarkup(canvas, 0, "abcd", Rect{0, 0, 100, 20}, MarkupAlign::Centre, black, base);
  EXPECT_EQ(canvas.itemsOf(RecordingCanvas::Kind::Text).front().a.x, 38);
  canvas.clear();
  drawMarkup(canvas, 0, "a very long text", Rect{50, 0, 60, 20}, MarkupAlign::Right, black, base);
  auto texts = canvas.itemsOf(RecordingCanvas::Kind::Text);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front().a.x, 50);
}

TEST_F(DrawMarkupTest, OnlyCharactersThatFitAreDrawn) {
  drawMarkup(canvas, 0, "abcdefghij", Rect{0, 0, 40, 20}, MarkupAlign::Left, black, base);
  // 6 units per character: 0..6, ..., 30..36 fit left of 40; the next would end at 42.
  EXPECT_EQ(canvas.allText(), "abcdef");
}

TEST_F(DrawMarkupTest, ColourTogglesBackToBase) {
  drawMarkup(canvas, 0, "\x83r\x83" "b\x84g\x85u", Rect{0, 0, 200, 20}, MarkupAlign::Left, Rgb{1, 2, 3}, base);
  auto texts = canvas.itemsOf(RecordingCanvas::Kind::Text);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].colour, kMarkupRedColour);
  EXPECT_EQ(texts[1].colour, (Rgb{1, 2, 3}));
  EXPECT_EQ(texts[2].colour, kMarkupGreenColour);
  EXPECT_EQ(texts[3].colour, kMarkupBlueColour);
}

TEST_F(DrawMarkupTest, FontsOfTheCodes) {
  drawMarkup(canvas, 0, "\x86" "b\x86\x8A" "S\x8A" "x\x8C" "2\x8C\x82" "9\x82", Rect{0, 0, 300, 40}, MarkupAlign::Left,
             black, base);
  auto texts = canvas.itemsOf(RecordingCanvas::Kind::Text);
  ASSERT_EQ(texts.size(), 5u) << "the value field mark is not shown";
  EXPECT_EQ(texts[0].font.weight, 700);
  EXPECT_EQ(texts[1].font.face, "Symbol");
  EXPECT_EQ(texts[1].font.height, -12);
  EXPECT_EQ(texts[3].text, "2");
  EXPECT_EQ(texts[3].font.height, -9) << "three quarters of the height";
  EXPECT_LT(texts[3].a.y + 9 * 4 / 5, texts[2].a.y + 12 * 4 / 5) << "superscript raises the base line";
}

TEST_F(DrawMarkupTest, OverlineOverEachCharacter) {
  drawMarkup(canvas, 0, "\x88x\x88", Rect{0, 0, 100, 20}, MarkupAlign::Left, black, base);
  auto lines = canvas.itemsOf(RecordingCanvas::Kind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].a, (Point{0, 4}));
  EXPECT_EQ(lines[0].b, (Point{7, 4}));
}

TEST_F(DrawMarkupTest, GridModeCountsCells) {
  TextGrid grid{10, 20};
  Size s = drawMarkup(canvas, 0, "ab\x86" "c", Rect{0, 0, 100, 20}, MarkupAlign::Left, black, base, &grid);
  EXPECT_EQ(s, (Size{30, 20}));
  EXPECT_EQ(canvas.itemsOf(RecordingCanvas::Kind::Text)[2].a.x, 20);
}

TEST_F(DrawMarkupTest, StringTableTextAfterTheGivenText) {
  drawMarkup(canvas, 7001, "1 ", Rect{0, 0, 400, 20}, MarkupAlign::Left, black, base);
  EXPECT_EQ(canvas.allText(), "1 HAUTEURS");
}

TEST(RtfLine, RunsFontsWordsAndEscapes) {
  RtfFonts fonts{0, 1, 20};
  EXPECT_EQ(rtfLine("", fonts), "\\par ");
  EXPECT_EQ(rtfLine("\x82\x81", fonts), "\\par ");
  EXPECT_EQ(rtfLine("a{b}\\c", fonts), "{\\f0\\fs20 a\\{b\\}\\\\c}\\par ");
  // Colour, Greek sigma, subscript and braces on one line.
  EXPECT_EQ(rtfLine("\x85\x8As\x8A\x8Bx\x8B = {1}\x85", fonts),
            "{\\f1\\fs21\\cf9 s}{\\f0\\fs20\\sub\\cf9 x}{\\f0\\fs20\\nosupersub\\cf9  = \\{1\\}}\\par ");
}

TEST(RtfLine, FormattingInForceIsCarriedIntoEveryRun) {
  RtfFonts fonts{2, 3, 24};
  EXPECT_EQ(rtfLine("\x86" "a\x83" "b\x86" "c\x83" "d", fonts),
            "{\\f2\\fs24\\b a}{\\f2\\fs24\\cf13\\b b}{\\f2\\fs24\\b0\\cf13 c}{\\f2\\fs24\\cf0 d}\\par ");
  EXPECT_EQ(rtfLine("\x89it\x89 n", fonts), "{\\f2\\fs24\\i it}{\\f2\\fs24\\i0  n}\\par ");
}

TEST(RtfLine, EmptyRunKeepsItsWordsForTheNext) {
  RtfFonts fonts{0, 1, 20};
  EXPECT_EQ(rtfLine("\x86\x87x", fonts), "{\\f0\\fs20\\b\\ul x}\\par ");
}

TEST(RtfLine, AccentsAreEscaped) {
  RtfFonts fonts{0, 1, 20};
  EXPECT_EQ(rtfLine("d\xE9j\xE0", fonts), "{\\f0\\fs20 d\\'e9j\\'e0}\\par ");
}

}  // namespace
}  // namespace qz
