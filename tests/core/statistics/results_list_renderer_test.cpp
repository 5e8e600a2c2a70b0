#include "statistics/results_list_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "recording_canvas.h"
#include "statistics/results_list.h"

namespace qz {
namespace {

using Op = RecordingCanvas::Op;

class ResultsListRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    style.windowBackground = {250, 250, 250};
    style.highlight = {10, 20, 200};
    StatEngine engine;
    StatTable t;
    for (double x : {2, 4, 4, 4, 5, 5, 7, 9}) t.append({x, 0});
    ASSERT_TRUE(engine.computeStatistics(t, StatMode::Values));
    lines = buildResultsList(engine.results(), StatMode::Values);
  }
  const RecordingCanvas::Item& textItem(const std::string& text) {
    static RecordingCanvas::Item none;
    for (const auto& item : canvas.items())
      if (item.op == Op::Text && item.text == text) return item;
    ADD_FAILURE() << "no text " << text;
    return none;
  }
  RecordingCanvas canvas;
  ResultsListStyle style;
  std::vector<std::string> lines;
  const Rect area{100, 50, 400, 600};
};

TEST_F(ResultsListRendererTest, BackgroundClipAndRuns) {
  drawResultsList(canvas, area, lines, -1, style);
  const auto& items = canvas.items();
  EXPECT_EQ(items[0].op, Op::FillRect);
  EXPECT_EQ(items[0].brush, style.windowBackground);
  EXPECT_EQ(items[1].op, Op::Clip);
  EXPECT_EQ(items[1].rect, area);
  EXPECT_EQ(items.back().op, Op::ClearClip);
  const auto& label = textItem("n ...... =");
  EXPECT_EQ(label.textColour, (Rgb{0, 0, 255}));
  EXPECT_EQ(label.from, (Point{100, 50}));
  const auto& value = textItem("8");
  EXPECT_EQ(value.textColour, style.windowText);
  // Runs advance by the average character width times their length.
  const int advance = canvas.measureText("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ").width / 52;
  EXPECT_EQ(value.from.x, 100 + 11 * advance);
  EXPECT_EQ(textItem(" r\xE9sultats").textColour, style.windowText);
}

TEST_F(ResultsListRendererTest, LinesStepByLineHeightPlusOne) {
  drawResultsList(canvas, area, lines, -1, style);
  const int height = resultsListLineHeight(canvas, style);
  EXPECT_EQ(textItem("var(x) . =").from.y, 50 + 7 * (height + 1));
  EXPECT_EQ(resultsListLineAt(canvas, style, area, 50 + 7 * (height + 1) + 2), 7);
  EXPECT_EQ(resultsListLineAt(canvas, style, area, 10), -1);
}

TEST_F(ResultsListRendererTest, GreekSuperscriptAndOverline) {
  drawResultsList(canvas, area, lines, -1, style);
  const auto& sigma = textItem("S");
  EXPECT_EQ(sigma.font.face, "Symbol");
  EXPECT_EQ(sigma.font.height, -17) << "Greek one unit taller";
  const int height = resultsListLineHeight(canvas, style);
  EXPECT_EQ(sigma.from.y, 50 + 2 * (height + 1) - 1) << "and one unit higher";
  const auto& two = textItem("2");
  EXPECT_EQ(two.font.height, -14);
  EXPECT_EQ(two.from.y, 50 + 3 * (height + 1) - 14 / 3);
  // x-bar: a line over the run, a sixth of the height below the line top (no capital).
  auto overline = std::find_if(canvas.items().begin(), canvas.items().end(),
                               [](const auto& i) { return i.op == Op::Line; });
  ASSERT_NE(overline, canvas.items().end());
  EXPECT_EQ(overline->from.y, 50 + 5 * (height + 1) + 16 / 6);
}

TEST_F(ResultsListRendererTest, HighlightedLineBoxesItsValue) {
  drawResultsList(canvas, area, lines, 10, style);
  const auto& value = textItem("2.13808994");
  EXPECT_EQ(value.textColour, style.windowBackground);
  auto box = std::find_if(canvas.items().begin(), canvas.items().end(),
                          [&](const auto& i) { return i.op == Op::FillRect && i.brush == style.highlight; });
  ASSERT_NE(box, canvas.items().end());
  EXPECT_EQ(box->rect.left, value.from.x);
  EXPECT_EQ((box + 1)->text, "2.13808994");
}

}  // namespace
}  // namespace qz
