#include "statistics/diagram_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "recording_canvas.h"

namespace qz {
namespace {

using Op = RecordingCanvas::Op;

TEST(AxisRange, LinearExamples) {
  struct Case {
    const char* name;
    double min, max;
    AxisRange expected;
  };
  const Case cases[] = {
      {"0 to 95", 0, 95, {-10, 100, 10}},
      {"equal values", 5, 5, {-5, 15, 2}},
      {"small spread: the integer part of log10 truncates", 1.02, 1.07, {1.01, 1.08, 0.01}},
      {"negative", -33, -1, {-40, 5, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AxisRange r = axisRange(AxisScale::Linear, c.min, c.max);
    EXPECT_NEAR(r.step, c.expected.step, 1e-12);
    EXPECT_NEAR(r.start, c.expected.start, 1e-12);
    EXPECT_NEAR(r.end, c.expected.end, 1e-12);
  }
}

TEST(AxisRange, ProbabilitiesEncloseTheDataStrictly) {
  AxisRange r = axisRange(AxisScale::Probit, 0.1, 0.9);
  EXPECT_NEAR(r.start, 0.05, 1e-15);
  EXPECT_EQ(r.end, 0.95);
  EXPECT_EQ(r.probabilities, 6);
  AxisRange all = axisRange(AxisScale::Probit, 0.0001, 0.9999);
  EXPECT_EQ(all.probabilities, 13);
  EXPECT_EQ(all.end, 0.999);
}

TEST(AxisRange, DecimalLogarithm) {
  AxisRange r = axisRange(AxisScale::Log10, 3, 450);
  EXPECT_DOUBLE_EQ(r.start, 1);
  EXPECT_DOUBLE_EQ(r.end, 1000);
  AxisRange nonPositive = axisRange(AxisScale::Log10, -1, 0);
  EXPECT_EQ(nonPositive.start, 0.1);
  EXPECT_EQ(nonPositive.end, 10);
}

TEST(LabelFormat, FromTheStep) {
  using Kind = LabelFormat::Kind;
  struct Case {
    const char* name;
    double step;
    LabelFormat expected;
  };
  const Case cases[] = {
      {"integer", 10, {Kind::Integer, 0}},         {"one decimal", 0.5, {Kind::Fixed, 1}},
      {"four decimals", 0.0002, {Kind::Fixed, 4}}, {"exponent", 1e-05, {Kind::Scientific, 0}},
      {"large", 2e+06, {Kind::Scientific, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(labelFormat(AxisScale::Linear, {0, 1, c.step}), c.expected);
  }
  EXPECT_EQ(labelFormat(AxisScale::Log10, {}), (LabelFormat{Kind::Scientific, 2}));
  EXPECT_EQ(labelFormat(AxisScale::Probit, {}), (LabelFormat{Kind::Percent, 2}));
}

TEST(LabelText, Forms) {
  using Kind = LabelFormat::Kind;
  EXPECT_EQ(labelText(1e-05, {Kind::Scientific, 0}), (LabelText{"1.10", "-5"}));
  EXPECT_EQ(labelText(-2.5e12, {Kind::Scientific, 1}), (LabelText{"-2.5.10", "12"}));
  EXPECT_EQ(labelText(-40, {Kind::Integer, 0}), (LabelText{"-40", ""}));
  EXPECT_EQ(labelText(3e9, {Kind::Integer, 0}).text, "***********");
  EXPECT_EQ(labelText(0.05, {Kind::Percent, 2}).text, "5.00");
  EXPECT_EQ(labelText(1.015, {Kind::Fixed, 3}).text, "1.015");
  EXPECT_EQ(labelText(-1e300, {Kind::Fixed, 5}).text, "********") << "longer than 16 characters";
  EXPECT_EQ(labelText(0, {Kind::Fixed, 1}).text, "0.0");
}

DiagramSeries regression() {
  DiagramSeries s;
  for (int i = 0; i <= 95; i += 5) s.points.push_back({static_cast<double>(i), 2.0 * i + 1});
  s.a = 2;
  s.b = 1;
  return s;
}

TEST(DrawDiagram, OrderFrameLabelsLineAndPoints) {
  RecordingCanvas canvas;
  DiagramStyle style;
  style.background = {240, 240, 240};
  const Rect area{0, 0, 500, 300};
  ASSERT_TRUE(drawDiagram(canvas, area, regression(), style));
  const auto& items = canvas.items();
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items[0].op, Op::FillRect);
  EXPECT_EQ(items[0].rect, area);
  EXPECT_EQ(items[0].brush, style.background);
  EXPECT_EQ(items[1].op, Op::Rect);
  EXPECT_EQ(items[1].pen.colour, (Rgb{0, 0, 0}));
  const Rect plot = items[1].rect;
  EXPECT_GE(plot.left, 16);
  EXPECT_LE(plot.right, 500 - 16);

  // x labels -10..100 by 10, then y labels, then the green line, then 20 points.
  auto texts = canvas.texts();
  EXPECT_EQ(texts.front(), "-10");
  EXPECT_NE(std::find(texts.begin(), texts.end(), "100"), texts.end());
  auto lineIt = std::find_if(items.begin(), items.end(), [](const auto& i) {
    return i.pen.colour == Rgb{0, 128, 0};
  });
  ASSERT_NE(lineIt, items.end());
  EXPECT_EQ(lineIt->pen.width, 3);
  EXPECT_EQ((lineIt - 1)->op, Op::Clip) << "the line is clipped to the plot";
  auto ellipses = canvas.itemsOf(Op::Ellipse);
  EXPECT_EQ(ellipses.size(), 20u);
  for (const auto& e : ellipses) {
    EXPECT_EQ(e.pen.colour, (Rgb{128, 0, 0}));
    EXPECT_EQ(e.brush, style.background);
    EXPECT_EQ(e.rect.width(), 9);
  }
  EXPECT_LT(lineIt - items.begin(), std::find_if(items.begin(), items.end(), [](const auto& i) {
                                      return i.op == Op::Ellipse;
                                    }) - items.begin());
}

TEST(DrawDiagram, PointsSitOnTheirMappedPlaces) {
  RecordingCanvas canvas;
  ASSERT_TRUE(drawDiagram(canvas, {0, 0, 500, 300}, regression(), {}));
  const Rect plot = canvas.itemsOf(Op::Rect).front().rect;
  auto ellipses = canvas.itemsOf(Op::Ellipse);
  // x = 0 on an axis from -10 to 100.
  int expectedX = static_cast<int>(std::lround(10.0 * plot.width() / 110 + plot.left));
  EXPECT_EQ((ellipses[0].rect.left + ellipses[0].rect.right - 1) / 2, expectedX);
  // Points go up as y grows.
  EXPECT_GT(ellipses[0].rect.top, ellipses[19].rect.top);
}

TEST(DrawDiagram, ProbabilityAxisForTheHenryLine) {
  DiagramSeries s;
  s.axes = {AxisScale::Linear, AxisScale::Probit};
  double f[] = {0.1, 0.3, 0.7, 0.9};
  for (int i = 0; i < 4; ++i) s.points.push_back({10.0 * (i + 1), f[i]});
  s.a = 0.08;
  s.b = -2;
  RecordingCanvas canvas;
  ASSERT_TRUE(drawDiagram(canvas, {0, 0, 600, 400}, s, {}));
  auto texts = canvas.texts();
  for (const char* label : {"50.00", "95.00", "5.00", "60.00", "40.00"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
  EXPECT_EQ(canvas.itemsOf(Op::Ellipse).size(), 4u);
}

TEST(DrawDiagram, CrowdedProbabilityLabelsNeverOverlap) {
  DiagramSeries s;
  s.axes = {AxisScale::Linear, AxisScale::Probit};
  // Data reaching 0.2 % and 99.8 %: the axis graduates the crowded ends.
  double f[] = {0.002, 0.3, 0.7, 0.998};
  for (int i = 0; i < 4; ++i) s.points.push_back({10.0 * (i + 1), f[i]});
  s.a = 0.1;
  s.b = -2.5;
  RecordingCanvas canvas;
  ASSERT_TRUE(drawDiagram(canvas, {0, 0, 600, 300}, s, {}));
  std::vector<Rect> boxes;
  for (const auto& item : canvas.itemsOf(Op::Text)) {
    if (item.text.find('.') == std::string::npos || item.from.x > 100) continue;  // y labels only
    Size size = canvas.measureText(item.text);
    boxes.push_back({item.from.x, item.from.y, item.from.x + size.width, item.from.y + size.height});
  }
  ASSERT_GT(boxes.size(), 4u);
  for (std::size_t i = 0; i < boxes.size(); ++i)
    for (std::size_t j = i + 1; j < boxes.size(); ++j)
      EXPECT_FALSE(boxes[i].top < boxes[j].bottom && boxes[j].top < boxes[i].bottom)
          << "labels " << i << " and " << j << " overlap";
}

TEST(DrawDiagram, SuperscriptExponentIsSmallerAndRaised) {
  DiagramSeries s;
  for (int i = 0; i < 5; ++i) s.points.push_back({i * 1e-05, static_cast<double>(i)});
  RecordingCanvas canvas;
  ASSERT_TRUE(drawDiagram(canvas, {0, 0, 600, 400}, s, {}));
  const auto texts = canvas.itemsOf(Op::Text);
  auto mantissa = std::find_if(texts.begin(), texts.end(), [](const auto& t) { return t.text == "1.10"; });
  ASSERT_NE(mantissa, texts.end());
  auto exponent = mantissa + 1;
  EXPECT_EQ(exponent->text, "-5");
  EXPECT_LT(exponent->from.y, mantissa->from.y);
  EXPECT_LT(-exponent->font.height, -mantissa->font.height);
  EXPECT_EQ(mantissa->font.face, "MS Sans Serif");
  EXPECT_EQ(mantissa->font.height, -19) << "14 points at 96 dots per inch";
}

TEST(DrawDiagram, InterruptionStopsTheDrawing) {
  RecordingCanvas canvas;
  int checks = 0;
  EXPECT_FALSE(drawDiagram(canvas, {0, 0, 500, 300}, regression(), {}, [&] { return ++checks == 4; }));
  EXPECT_EQ(canvas.itemsOf(Op::Ellipse).size(), 1u) << "two axes, one point, then stopped";
}

TEST(DrawDiagram, ScalesToThePrinter) {
  RecordingCanvas canvas;
  canvas.setDpi(600);
  DiagramStyle printed;
  printed.fillArea = false;
  ASSERT_TRUE(drawDiagram(canvas, {0, 0, 4000, 2500}, regression(), printed));
  EXPECT_NE(canvas.items().front().op, Op::FillRect);
  EXPECT_EQ(canvas.itemsOf(Op::Ellipse).front().rect.width(), 51);
  auto green = canvas.items();
  auto it = std::find_if(green.begin(), green.end(), [](const auto& i) {
    return i.pen.colour == Rgb{0, 128, 0};
  });
  ASSERT_NE(it, green.end());
  EXPECT_EQ(it->pen.width, 19);
}

TEST(DrawDiagram, HugeAndDegenerateDataNeverFail) {
  DiagramSeries s;
  s.points = {{-1e300, 1e300}, {1e300, -1e300}, {0, 0}};
  s.a = 1e300;
  s.b = -1e300;
  RecordingCanvas canvas;
  EXPECT_TRUE(drawDiagram(canvas, {0, 0, 300, 200}, s, {}));
  for (const auto& item : canvas.items()) {
    EXPECT_LE(std::abs(item.from.x), 32767);
    EXPECT_LE(std::abs(item.to.y), 32767);
  }
  DiagramSeries empty;
  EXPECT_TRUE(drawDiagram(canvas, {0, 0, 20, 20}, empty, {})) << "too small: nothing but the area";
}

}  // namespace
}  // namespace qz
