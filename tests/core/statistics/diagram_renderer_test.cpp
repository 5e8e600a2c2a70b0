#include "statistics/diagram_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

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
      {"four decimals", 0.0002, {Kind::Fixed, 4}}, {"exponent", 1e-05, {Kind::Scientific, 0, 1e-05}},
      {"large", 2e+06, {Kind::Scientific, 0, 2e+06}},
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
  EXPECT_EQ(labelText(0.05, {Kind::Percent, 2}).text, "5.00 %");
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
    // Filled dark, ringed in white: visible on a white page as on the screen.
    EXPECT_EQ(e.brush, (Rgb{128, 0, 0}));
    EXPECT_FALSE(e.hollow);
    EXPECT_EQ(e.pen.colour, (Rgb{255, 255, 255}));
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
  for (const char* label : {"50.00 %", "95.00 %", "5.00 %", "60.00 %", "40.00 %"})
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

// ---- Labels in scientific form -------------------------------------------------------

// The value a label reads: "1.2.10" raised "7" is 1.2E+07.
double readBack(const LabelText& label) {
  std::string text = label.text;
  if (label.exponent.empty()) return std::stod(text);
  EXPECT_GE(text.size(), 3u);
  EXPECT_EQ(text.substr(text.size() - 3), ".10") << text;
  text.erase(text.size() - 3);
  return std::stod(text) * std::pow(10.0, std::stoi(label.exponent));
}

std::string shown(const LabelText& label) {
  return label.exponent.empty() ? label.text : label.text + "^" + label.exponent;
}

struct Magnitude {
  const char* name;
  double min, max;
};
// Data whose axis step has an exponent, from the very small to the very large.
const Magnitude kScientificAxes[] = {
    {"around 1E+06", 1e6, 9e6},
    {"1.2E+07 to 2.9E+07: 2.10^7 must not repeat", 1.2e7, 2.9e7},
    {"0 to 9.5E+07: zero reads 0", 0, 9.5e7},
    {"crossing zero", -4.4e8, 3.1e8},
    {"around 1E-06", 1e-6, 9e-6},
    {"1.5E-06 to 2.5E-06: one decimal more", 1.5e-6, 2.5e-6},
    {"small, negative and positive", -2e-5, 3e-5},
    {"around 1E-09", 3.3e-9, 4.1e-9},
    {"around 1E+12", 2e12, 7e12},
    {"1E+299", 1e299, 9e299},
};

TEST(LabelText, ScientificLabelsAreDistinctAndReadBackAsTheirTicks) {
  for (const Magnitude& m : kScientificAxes) {
    SCOPED_TRACE(m.name);
    const AxisRange range = axisRange(AxisScale::Linear, m.min, m.max);
    const LabelFormat format = labelFormat(AxisScale::Linear, range);
    ASSERT_EQ(format.kind, LabelFormat::Kind::Scientific);
    std::vector<LabelText> labels;
    const long first = std::lround(range.start / range.step), last = std::lround(range.end / range.step);
    for (long k = first; k <= last; ++k) {
      const double tick = static_cast<double>(k) * range.step;
      const LabelText label = labelText(tick, format);
      SCOPED_TRACE(shown(label));
      EXPECT_NEAR(readBack(label), tick, range.step * 1e-9);
      if (k == 0) {
        EXPECT_EQ(label, (LabelText{"0", ""}));
      }
      EXPECT_EQ(label.text.find(".0.10"), std::string::npos) << "trailing zeros are dropped";
      if (!labels.empty()) {
        EXPECT_NE(label, labels.back());
      }
      labels.push_back(label);
    }
    EXPECT_GE(labels.size(), 4u);
  }
}

TEST(LabelText, EachLabelTakesTheDecimalsOfItsOwnExponent) {
  using Kind = LabelFormat::Kind;
  const LabelFormat millions{Kind::Scientific, 0, 2e6};
  EXPECT_EQ(labelText(1.8e7, millions), (LabelText{"1.8.10", "7"}));
  EXPECT_EQ(labelText(2e7, millions), (LabelText{"2.10", "7"}));
  EXPECT_EQ(labelText(2.2e7, millions), (LabelText{"2.2.10", "7"}));
  EXPECT_EQ(labelText(8e6, millions), (LabelText{"8.10", "6"}));
  EXPECT_EQ(labelText(-1.4e7, millions), (LabelText{"-1.4.10", "7"}));
  EXPECT_EQ(labelText(1e-9, millions), (LabelText{"0", ""})) << "a rounding residue is zero";
  // Computed ticks carry rounding errors: 0.1 + 0.2 steps must still read exactly.
  const LabelFormat tenths{Kind::Scientific, 0, 1e-7};
  EXPECT_EQ(labelText(14 * 1e-7 + 1e-22, tenths), (LabelText{"1.4.10", "-6"}));
  EXPECT_EQ(labelText(9.999999999999999e-6, tenths), (LabelText{"1.10", "-5"}));
  // Without a step (decimal logarithm axes) every label keeps the format's decimals.
  EXPECT_EQ(labelText(200, {Kind::Scientific, 2}), (LabelText{"2.00.10", "2"}));
}

// Drawn x labels with their raised exponents, in drawing order.
std::vector<LabelText> drawnXLabels(const RecordingCanvas& canvas) {
  const Rect plot = canvas.itemsOf(Op::Rect).front().rect;
  std::vector<LabelText> labels;
  const auto& items = canvas.items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const auto& item = items[i];
    if (item.op != Op::Text || item.from.y < plot.bottom || item.text == "x") continue;
    if (item.font.height != -19) continue;  // an exponent, taken with its mantissa
    LabelText label{item.text, {}};
    if (i + 1 < items.size() && items[i + 1].op == Op::Text && items[i + 1].font.height > -19)
      label.exponent = items[i + 1].text;
    labels.push_back(label);
  }
  return labels;
}

TEST(DrawDiagram, LargeAndSmallDataGetDistinctLabels) {
  for (const Magnitude& m : kScientificAxes) {
    SCOPED_TRACE(m.name);
    DiagramSeries s;
    for (int i = 0; i <= 4; ++i) s.points.push_back({m.min + (m.max - m.min) * i / 4, static_cast<double>(i)});
    s.a = 1;
    RecordingCanvas canvas;
    ASSERT_TRUE(drawDiagram(canvas, {0, 0, 1600, 400}, s, {}));
    const AxisRange range = axisRange(AxisScale::Linear, m.min, m.max);
    const std::vector<LabelText> labels = drawnXLabels(canvas);
    ASSERT_EQ(labels.size(), static_cast<std::size_t>(std::lround((range.end - range.start) / range.step)) + 1);
    for (std::size_t i = 0; i < labels.size(); ++i) {
      SCOPED_TRACE(shown(labels[i]));
      EXPECT_NEAR(readBack(labels[i]), range.start + static_cast<double>(i) * range.step, range.step * 1e-9);
      if (i > 0) {
        EXPECT_NE(labels[i], labels[i - 1]);
      }
    }
  }
}

TEST(DrawDiagram, CrowdedLinearLabelsAreThinnedEvenly) {
  DiagramSeries s;
  for (int i = 0; i <= 4; ++i) s.points.push_back({1.2e7 + 4e6 * i, static_cast<double>(i)});
  s.a = 1;
  RecordingCanvas canvas;
  ASSERT_TRUE(drawDiagram(canvas, {0, 0, 500, 300}, s, {}));
  const std::vector<LabelText> labels = drawnXLabels(canvas);
  ASSERT_GE(labels.size(), 3u);
  const double every = readBack(labels[1]) - readBack(labels[0]);
  EXPECT_GT(every, 2e6 * 1.5) << "not every step is labelled in 500 units";
  for (std::size_t i = 1; i < labels.size(); ++i)
    EXPECT_NEAR(readBack(labels[i]) - readBack(labels[i - 1]), every, 1) << shown(labels[i]);
  // Those shown do not touch.
  const auto texts = canvas.itemsOf(Op::Text);
  std::vector<int> lefts, rights;
  const Rect plot = canvas.itemsOf(Op::Rect).front().rect;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].font.height != -19 || texts[i].from.y < plot.bottom || texts[i].text == "x") continue;
    int right = texts[i].from.x + canvas.measureText(texts[i].text).width;
    if (i + 1 < texts.size() && texts[i + 1].font.height > -19)
      right = texts[i + 1].from.x + 5 * static_cast<int>(texts[i + 1].text.size());
    lefts.push_back(texts[i].from.x);
    rights.push_back(right);
  }
  for (std::size_t i = 1; i < lefts.size(); ++i) EXPECT_GT(lefts[i], rights[i - 1]);
}

// ---- Titles, equation, curve ----------------------------------------------------------

bool hasText(const RecordingCanvas& canvas, const std::string& text) {
  const auto texts = canvas.texts();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(DrawDiagram, AxisTitles) {
  RecordingCanvas pairs;
  ASSERT_TRUE(drawDiagram(pairs, {0, 0, 500, 300}, regression(), {}));
  const Rect plot = pairs.itemsOf(Op::Rect).front().rect;
  const auto texts = pairs.itemsOf(Op::Text);
  auto x = std::find_if(texts.begin(), texts.end(), [](const auto& t) { return t.text == "x"; });
  auto y = std::find_if(texts.begin(), texts.end(), [](const auto& t) { return t.text == "y"; });
  ASSERT_NE(x, texts.end());
  ASSERT_NE(y, texts.end());
  EXPECT_GT(x->from.y, plot.bottom + 19) << "x under the x labels";
  EXPECT_LT(std::abs(x->from.x + 3 - (plot.left + plot.right) / 2), 3) << "centred";
  EXPECT_LT(y->from.y + 19, plot.top) << "y above the y labels";
  EXPECT_LT(y->from.x, plot.left);

  DiagramSeries henry;
  henry.axes = {AxisScale::Linear, AxisScale::Probit};
  for (double f : {0.1, 0.3, 0.7, 0.9}) henry.points.push_back({100 * f, f});
  henry.a = 0.03;
  henry.b = -1.5;
  RecordingCanvas probability;
  ASSERT_TRUE(drawDiagram(probability, {0, 0, 500, 300}, henry, {}));
  EXPECT_TRUE(hasText(probability, "Fr\xE9quences cumul\xE9"
                                   "es (%)"));
  EXPECT_TRUE(hasText(probability, "x"));
  EXPECT_FALSE(hasText(probability, "y"));
  EXPECT_EQ(axisTitle(1, AxisScale::Probit), "Fr\xE9quences cumul\xE9"
                                             "es (%)");
  EXPECT_EQ(axisTitle(0, AxisScale::Linear), "x");
  EXPECT_EQ(axisTitle(1, AxisScale::Log10), "y");
}

TEST(DrawDiagram, EquationInTheEmptiestCorner) {
  DiagramSeries s = regression();  // rises from the bottom left to the top right
  s.equation = "y = 2\xB7x + 1\nr\xB2 = 1";
  RecordingCanvas canvas;
  ASSERT_TRUE(drawDiagram(canvas, {0, 0, 500, 300}, s, {}));
  const auto& items = canvas.items();
  auto first = std::find_if(items.begin(), items.end(), [](const auto& i) { return i.text == "y = 2\xB7x + 1"; });
  ASSERT_NE(first, items.end());
  ASSERT_NE(first + 1, items.end());
  EXPECT_EQ((first + 1)->text, "r\xB2 = 1");
  EXPECT_GT((first + 1)->from.y, first->from.y) << "second line below the first";
  // Drawn last, over a box of the background, inside the plot.
  const Rect plot = canvas.itemsOf(Op::Rect).front().rect;
  const auto box = *(first - 1);
  ASSERT_EQ(box.op, Op::Rect);
  EXPECT_EQ(box.brush, (Rgb{255, 255, 255}));
  EXPECT_GT(box.rect.left, plot.left);
  EXPECT_LT(box.rect.right, plot.right);
  EXPECT_GT(box.rect.top, plot.top);
  EXPECT_LT(box.rect.bottom, plot.bottom);
  for (const auto& e : canvas.itemsOf(Op::Ellipse)) {
    const Point centre{(e.rect.left + e.rect.right) / 2, (e.rect.top + e.rect.bottom) / 2};
    EXPECT_FALSE(box.rect.contains(centre)) << "no point hidden";
  }
  EXPECT_LT(box.rect.left, (plot.left + plot.right) / 2) << "top left, above a rising line";
  EXPECT_LT(box.rect.top, (plot.top + plot.bottom) / 2);

  // Falling data: the top left is taken, the equation moves.
  DiagramSeries falling = s;
  for (StatRow& row : falling.points) row.second = -row.second;
  falling.a = -2;
  falling.b = -1;
  RecordingCanvas other;
  ASSERT_TRUE(drawDiagram(other, {0, 0, 500, 300}, falling, {}));
  const auto& moved = other.items();
  auto line = std::find_if(moved.begin(), moved.end(), [](const auto& i) { return i.text == "y = 2\xB7x + 1"; });
  ASSERT_NE(line, moved.end());
  EXPECT_GT((line - 1)->rect.left, (plot.left + plot.right) / 2);

  RecordingCanvas none;
  ASSERT_TRUE(drawDiagram(none, {0, 0, 500, 300}, regression(), {}));
  EXPECT_EQ(none.itemsOf(Op::Rect).size(), 1u) << "no equation, no box";
}

// Keeps every vertex of the polylines.
class PolylineCanvas : public RecordingCanvas {
 public:
  void drawPolyline(const std::vector<Point>& points) override {
    RecordingCanvas::drawPolyline(points);
    polylines.push_back(points);
  }
  std::vector<std::vector<Point>> polylines;
};

DiagramSeries parabola() {
  DiagramSeries s;
  for (int i = 0; i <= 10; ++i) s.points.push_back({static_cast<double>(i), static_cast<double>(i * i)});
  s.curve = [](double x) { return x * x; };
  return s;
}

TEST(DrawDiagram, CurveFollowsItsFunction) {
  PolylineCanvas canvas;
  ASSERT_TRUE(drawDiagram(canvas, {0, 0, 500, 300}, parabola(), {}));
  const Rect plot = canvas.itemsOf(Op::Rect).front().rect;
  const auto lines = canvas.itemsOf(Op::Line);
  EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const auto& i) { return i.pen.colour == Rgb{0, 128, 0}; }))
      << "no straight line beside the curve";
  ASSERT_FALSE(canvas.polylines.empty());
  const auto polyItems = canvas.itemsOf(Op::Polyline);
  EXPECT_EQ(polyItems.front().pen, (Pen{{0, 128, 0}, 3, PenStyle::Solid}));
  std::size_t vertices = 0;
  for (const auto& run : canvas.polylines) vertices += run.size();
  EXPECT_GT(vertices, static_cast<std::size_t>(plot.width() / 2)) << "sampled finely";
  // x from -1 to 11, y from -10 to 110 (steps 1 and 10): each vertex lies on y = x².
  for (const auto& run : canvas.polylines) {
    for (Point q : run) {
      if (q.y < plot.top || q.y > plot.bottom) continue;  // the first point outside, cut by the clip
      const double x = -1 + 12.0 * (q.x - plot.left) / plot.width();
      const double y = -10 + 120.0 * (plot.bottom - q.y) / plot.height();
      EXPECT_NEAR(y, x * x, 120.0 / plot.height() * 2 + 2 * x * 12.0 / plot.width() + 0.5);
    }
  }
  // The clip is set before the curve, cleared after.
  const auto& items = canvas.items();
  auto poly = std::find_if(items.begin(), items.end(), [](const auto& i) { return i.op == Op::Polyline; });
  EXPECT_EQ((poly - 1)->op, Op::Clip);
  EXPECT_EQ((poly - 1)->rect, (Rect{plot.left + 1, plot.top + 1, plot.right - 1, plot.bottom - 1}));
}

TEST(DrawDiagram, CurveBreaksWhereItIsNotDefinedAndOutsideThePlot) {
  DiagramSeries gap = parabola();
  gap.curve = [](double x) { return x > 4 && x < 6 ? std::nan("") : x * x; };
  PolylineCanvas canvas;
  ASSERT_TRUE(drawDiagram(canvas, {0, 0, 500, 300}, gap, {}));
  const Rect plot = canvas.itemsOf(Op::Rect).front().rect;
  ASSERT_EQ(canvas.polylines.size(), 2u) << "one run each side of the gap";
  auto xOf = [&](int device) { return -1 + 12.0 * (device - plot.left) / plot.width(); };
  EXPECT_LE(xOf(canvas.polylines[0].back().x), 4.05);
  EXPECT_GE(xOf(canvas.polylines[1].front().x), 5.95);

  // A pole: 1/(x - 5) runs off the top and comes back from the bottom; no
  // segment may cross the plot from one side to the other.
  DiagramSeries pole;
  for (int i = 0; i <= 10; ++i) pole.points.push_back({static_cast<double>(i), i == 5 ? 0.0 : 1.0 / (i - 5)});
  pole.curve = [](double x) { return 1 / (x - 5); };
  pole.equation = "y = 1 / (x - 5)";
  PolylineCanvas poles;
  ASSERT_TRUE(drawDiagram(poles, {0, 0, 500, 300}, pole, {}));
  const Rect frame = poles.itemsOf(Op::Rect).front().rect;
  ASSERT_GE(poles.polylines.size(), 2u);
  for (const auto& run : poles.polylines) {
    for (std::size_t i = 1; i < run.size(); ++i) {
      const bool inA = run[i - 1].y >= frame.top && run[i - 1].y <= frame.bottom;
      const bool inB = run[i].y >= frame.top && run[i].y <= frame.bottom;
      EXPECT_TRUE(inA || inB) << "a segment outside the plot at x " << run[i].x;
      EXPECT_LE(std::abs(run[i].y - run[i - 1].y), 3 * frame.height());
    }
  }

  // A curve defined nowhere draws nothing, and the points are still drawn.
  DiagramSeries nowhere = parabola();
  nowhere.curve = [](double) { return std::numeric_limits<double>::infinity(); };
  PolylineCanvas empty;
  ASSERT_TRUE(drawDiagram(empty, {0, 0, 500, 300}, nowhere, {}));
  EXPECT_TRUE(empty.polylines.empty());
  EXPECT_EQ(empty.itemsOf(Op::Ellipse).size(), 11u);
}

TEST(DrawDiagram, PrintedPointsAreFilled) {
  RecordingCanvas canvas;
  canvas.setDpi(600);
  DiagramStyle printed;
  printed.fillArea = false;
  ASSERT_TRUE(drawDiagram(canvas, {0, 0, 4000, 2500}, regression(), printed));
  for (const auto& e : canvas.itemsOf(Op::Ellipse)) {
    EXPECT_EQ(e.brush, (Rgb{128, 0, 0}));
    EXPECT_FALSE(e.hollow);
    EXPECT_EQ(e.pen.width, 6);
  }
}

}  // namespace
}  // namespace qz
