// Drawing a figure: world to device mapping, elements, marks, labels coloured
// by state with their hit rectangles, captions and rounded corners.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "geometry/catalogue_reader.h"
#include "geometry/figure_drawing.h"
#include "platform/recording_canvas.h"

namespace qz {
namespace {

using Kind = RecordingCanvas::Kind;

// A table holding the predefined entries and the given variable lines.
VariableTable tableOf(std::initializer_list<std::pair<const char*, int>> lines) {
  VariableTable table;
  table.createPredefined();
  for (const auto& [line, sub] : lines) {
    GeoVariable v;
    EXPECT_TRUE(parseVariableLine(line, sub, v)) << line;
    table.append(v);
  }
  return table;
}

FigureLayout oneView(double dx = 0, double dy = 0) {
  FigureLayout layout;
  layout.subFigures.push_back({"Vue", 0, dx, dy});
  layout.subFigures.push_back({"Autre", 0, 0, 0});
  return layout;
}

const Rect kSquare{0, 0, 1000, 1000};

TEST(FigureMapping, WorldUnitsAcrossTheFrameWidth) {
  FigureMapping square(kSquare);
  EXPECT_EQ(square.worldHeight(), 1000.0);
  EXPECT_EQ(square.toDevice(0, 0), (Point{1, 1001}));  // 0.5 added, then rounded
  EXPECT_EQ(square.toDevice(500, 500), (Point{501, 501}));
  FigureMapping tall(Rect{10, 20, 210, 420});
  EXPECT_EQ(tall.worldHeight(), 2000.0);
  EXPECT_EQ(tall.toDevice(1000, 2000), (Point{211, 21}));
}

TEST(FigureMapping, FarCoordinatesAreClampedNotWrapped) {
  FigureMapping mapping(kSquare);
  EXPECT_EQ(mapping.toDevice(1e9, -1e9), (Point{32767, 32767}));
  EXPECT_EQ(mapping.toDevice(-1e9, 1e9), (Point{-32767, -32767}));
}

TEST(FigureDrawing, FullTurnIsAnEllipseOtherwiseAnArc) {
  VariableTable table = tableOf({{"A,500,500,100,0,D,C,1,-,-,,0,360,0,0,0,0,0", 0},
                                 {"A,500,500,100,0,D,C,1,-,-,,30,120,0,0,0,0,0", 0},
                                 {"A,500,500,100,0,D,C,1,-,-,,300,30,0,0,0,0,0", 0}});
  RecordingCanvas canvas;
  FigureDrawOptions options;
  options.fillFrame = false;
  DrawFigure(canvas, kSquare, table, oneView(), 0, options);
  const auto ellipses = canvas.itemsOf(Kind::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].a, (Point{401, 401}));
  EXPECT_EQ(ellipses[0].b, (Point{601, 601}));
  const auto arcs = canvas.itemsOf(Kind::Arc);
  ASSERT_EQ(arcs.size(), 2u);
  EXPECT_EQ(arcs[0].start, 30.0);
  EXPECT_EQ(arcs[0].span, 90.0);
  EXPECT_EQ(arcs[1].start, 300.0);
  EXPECT_EQ(arcs[1].span, 90.0);  // across 0 degrees, counter-clockwise
}

TEST(FigureDrawing, SegmentsPensAndMarks) {
  VariableTable table = tableOf({{"S,0,0,1000,1000,R,T,2,<,>,,0,0,0,0,0,0,0", 0}});
  RecordingCanvas canvas;
  DrawFigure(canvas, kSquare, table, oneView(), 0);
  const auto lines = canvas.itemsOf(Kind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].pen.style, PenStyle::Dash);
  EXPECT_EQ(lines[0].pen.colour, (Rgb{255, 0, 0}));
  EXPECT_GE(lines[0].pen.width, 2);
  // Both marks are filled discs at the segment's ends.
  const auto discs = canvas.itemsOf(Kind::Ellipse);
  ASSERT_EQ(discs.size(), 2u);
  EXPECT_FALSE(discs[0].hollow);
  EXPECT_EQ((discs[0].a.x + discs[0].b.x) / 2, 1);
  EXPECT_EQ((discs[1].a.x + discs[1].b.x) / 2, 1001);
}

TEST(FigureDrawing, RotatedHalfEllipseIsAPolyline) {
  VariableTable table = tableOf({{"I,500,500,200,100,D,C,1,-,-,,180,90,0,0,0,0,0", 0}});
  RecordingCanvas canvas;
  DrawFigure(canvas, kSquare, table, oneView(), 0);
  const auto polylines = canvas.itemsOf(Kind::Polyline);
  ASSERT_EQ(polylines.size(), 1u);
  ASSERT_EQ(polylines[0].points.size(), 101u);
  // Turned by 90 degrees, the half from 180 runs from the bottom to the top
  // on the right side of the centre.
  EXPECT_NEAR(polylines[0].points.front().y, 701, 1);
  EXPECT_NEAR(polylines[0].points.back().y, 301, 1);
  EXPECT_NEAR(polylines[0].points[50].x, 601, 1);
}

TEST(FigureDrawing, OnlyTheChosenSubFigureWithItsOffsets) {
  VariableTable table = tableOf({{"S,0,0,100,0,D,C,1,-,-,,0,0,0,0,0,0,0", 0},
                                 {"S,0,0,100,100,D,C,1,-,-,,0,0,0,0,0,0,0", 1},
                                 {"V,X", 0}});
  RecordingCanvas canvas;
  DrawFigure(canvas, kSquare, table, oneView(50, 100), 0);
  const auto lines = canvas.itemsOf(Kind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].a, (Point{51, 901}));
  EXPECT_EQ(lines[0].b, (Point{151, 901}));
  EXPECT_EQ(canvas.clip(), Rect{});  // clipping removed at the end
}

struct StateCase {
  const char* name;
  int state;
  int given;
  Rgb background;
  bool framed;
};

TEST(FigureDrawing, LabelBackgroundFollowsTheState) {
  const Rgb window{212, 208, 200};
  const StateCase cases[] = {
      {"unknown", kUnknown, 0, window, false},
      {"given", kKnown, 1, window, true},
      {"computed", kKnown, 0, {255, 255, 0}, false},
      {"incalculable", kIncalculable, 0, {192, 192, 192}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VariableTable table = tableOf({{"P,500,500,0,0,B,C,1,-,-,L1,0,0,0,1E300,3,0,0", 0}});
    GeoVariable& v = table.at(table.size() - 1);
    v.state = c.state;
    v.given = c.given;
    RecordingCanvas canvas;
    FigureDrawOptions options;
    options.background = window;
    options.fillFrame = false;
    DrawFigure(canvas, kSquare, table, oneView(), 0, options);
    const auto fills = canvas.itemsOf(Kind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].colour, c.background);
    EXPECT_EQ(canvas.itemsOf(Kind::Rect).size(), c.framed ? 1u : 0u);
    const auto texts = canvas.itemsOf(Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "L1");
    EXPECT_EQ(texts[0].colour, (Rgb{0, 0, 255}));
  }
}

TEST(FigureDrawing, LabelRectanglesServeHitTesting) {
  // "L" drawn in both views: the second entry shows and answers for the first.
  VariableTable table = tableOf({{"O,500,500,0,0,D,C,1,-,-,L,0,0,0,1E300,3,0,0", 0},
                                 {"S,100,100,300,100,D,C,1,-,-,L,0,0,0,0,0,0,0", 1},
                                 {"A,800,200,100,0,D,C,1,-,-,A,0,90,0,0,0,0,0", 1}});
  const int first = table.predefinedCount();
  table.at(first).state = kKnown;
  RecordingCanvas canvas;
  DrawFigure(canvas, kSquare, table, oneView(), 1);
  // Recording canvas text: half the font height wide per character.
  const Rect segmentLabel = table.at(first + 1).labelRect;
  EXPECT_FALSE(segmentLabel.isEmpty());
  EXPECT_TRUE(table.at(first).labelRect.isEmpty());  // not drawn in view 1
  EXPECT_TRUE(segmentLabel.contains({201, 901}));    // middle of the segment
  EXPECT_EQ(segmentLabel.left, 201 - 23 / 2 - 2);
  EXPECT_EQ(variableAtPoint(table, 1, {201, 901}), first);
  const auto fills = canvas.itemsOf(Kind::FillRect);
  ASSERT_EQ(fills.size(), 3u);                 // the frame, then the two labels
  EXPECT_EQ(fills[1].colour, kLabelComputed);  // the state of the first "L"
  // The arc's label sits on the arc at its middle angle (45 degrees).
  EXPECT_TRUE(table.at(first + 2).labelRect.contains({872, 730}));
  EXPECT_EQ(variableAtPoint(table, 1, {5, 5}), -1);
  EXPECT_EQ(variableAtPoint(table, 0, {201, 901}), -1);
}

TEST(FigureDrawing, CaptionsShowNumberedTexts) {
  EXPECT_EQ(captionText("@1"), "HAUTEURS");
  EXPECT_EQ(captionText("S = @8"), "S = surface totale");
  EXPECT_EQ(captionText("sans code"), "sans code");
  VariableTable table = tableOf({{"C,-1,500,R,@3", 0}, {"C,100,200,D,G = @5", 0}});
  RecordingCanvas canvas;
  DrawFigure(canvas, kSquare, table, oneView(), 0);
  const auto texts = canvas.itemsOf(Kind::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "BISSECTRICES");
  EXPECT_EQ(texts[0].colour, (Rgb{255, 0, 0}));
  // Centred on the world's middle when x is negative.
  const int width = static_cast<int>(texts[0].text.size()) * 12 / 2 * 1000 / 266;
  EXPECT_NEAR(texts[0].a.x, 501 - width / 2, 2);
  EXPECT_EQ(texts[1].text, "G = centre de gravit\xE9");
  EXPECT_EQ(texts[1].a.x, 101);
}

TEST(FigureDrawing, LabelFontScalesWithTheFrameAndShrinksForExport) {
  VariableTable table = tableOf({{"P,500,500,0,0,D,C,1,-,-,N,0,0,0,9,3,0,0", 0}});
  RecordingCanvas screen;
  DrawFigure(screen, Rect{0, 0, 266, 300}, table, oneView(), 0);
  EXPECT_EQ(screen.itemsOf(Kind::Text)[0].font.height, -12);
  RecordingCanvas large;
  DrawFigure(large, Rect{0, 0, 532, 600}, table, oneView(), 0);
  EXPECT_EQ(large.itemsOf(Kind::Text)[0].font.height, -24);
  RecordingCanvas exported;
  FigureDrawOptions options;
  options.forExport = true;
  DrawFigure(exported, Rect{0, 0, 266, 300}, table, oneView(), 0, options);
  EXPECT_EQ(exported.itemsOf(Kind::Text)[0].font.height, -10);
}

TEST(FigureDrawing, RoundedCornerBetweenTwoSegments) {
  // Right along y = 0, then up along x = 500: a left turn, radius -100.
  VariableTable table = tableOf({{"S,0,0,500,0,D,C,1,-,-,,0,0,0,0,0,0,0", 0},
                                 {"L,0,0,-100,0,D,C,1,-,-,,0,0,0,0,0,0,0", 0},
                                 {"S,500,0,500,500,D,C,1,-,-,,0,0,0,0,0,0,0", 0}});
  const int first = table.predefinedCount();
  roundCorners(table);
  const GeoVariable& a = table.at(first);
  const GeoVariable& corner = table.at(first + 1);
  const GeoVariable& b = table.at(first + 2);
  EXPECT_EQ(a.x2, 400);
  EXPECT_EQ(a.y2, 0);
  EXPECT_EQ(b.x1, 500);
  EXPECT_EQ(b.y1, 100);
  EXPECT_EQ(corner.kind, 'A');
  EXPECT_EQ(corner.x1, 400);
  EXPECT_EQ(corner.y1, 100);
  EXPECT_EQ(corner.anchorX, 100);
  EXPECT_DOUBLE_EQ(corner.startAngle, 270.0);
  EXPECT_DOUBLE_EQ(corner.endAngle, 0.0);
  // Converted once: a second pass changes nothing.
  roundCorners(table);
  EXPECT_EQ(table.at(first).x2, 400);
  RecordingCanvas canvas;
  DrawFigure(canvas, kSquare, table, oneView(), 0);
  ASSERT_EQ(canvas.itemsOf(Kind::Arc).size(), 1u);
  EXPECT_EQ(canvas.itemsOf(Kind::Arc)[0].span, 90.0);
}

TEST(FigureDrawing, WildCatalogueValuesStayDrawable) {
  VariableTable table = tableOf({{"A,2147483647,-2147483647,2147483647,0,D,C,2147483647,<,>,X,0,360,0,0,0,0,0", 0},
                                 {"S,-2147483647,0,2147483647,0,D,C,-5,-,-,,0,0,0,0,0,0,0", 0},
                                 {"L,0,0,2147483647,0,D,C,1,-,-,,0,0,0,0,0,0,0", 0},
                                 {"S,2147483647,2147483647,-2147483647,-2147483647,D,C,1,-,-,,0,0,0,0,0,0,0", 0}});
  RecordingCanvas canvas;
  DrawFigure(canvas, kSquare, table, oneView(), 0);
  for (const auto& item : canvas.items()) {
    EXPECT_GE(item.pen.width, 1);
    EXPECT_LE(item.pen.width, 64);
    for (const Point& p : {item.a, item.b}) {
      EXPECT_LE(std::abs(p.x), 2 * 32767);
      EXPECT_LE(std::abs(p.y), 2 * 32767);
    }
  }
  EXPECT_FALSE(canvas.itemsOf(Kind::Ellipse).empty());
}

TEST(FigureDrawing, LabelOfASegmentAtTheIntLimitSitsAtItsClampedMiddle) {
  // Both ends at x = 2147483647: their int sum once overflowed and put the
  // label far left instead of at the right edge of the device range.
  VariableTable table = tableOf({{"S,2147483647,500,2147483647,500,D,C,1,-,-,L,0,0,0,0,0,0,0", 0},
                                 {"S,-2147483647,500,-2147483647,500,D,C,1,-,-,M,0,0,0,0,0,0,0", 0}});
  RecordingCanvas canvas;
  DrawFigure(canvas, kSquare, table, oneView(), 0);
  const Rect right = table.at(table.size() - 2).labelRect;
  const Rect left = table.at(table.size() - 1).labelRect;
  ASSERT_FALSE(right.isEmpty());
  ASSERT_FALSE(left.isEmpty());
  EXPECT_GT(right.left, 30000);
  EXPECT_LT(left.right, -30000);
}

TEST(FigureDrawing, ElementsWithoutFinitePointsAreLeftOut) {
  // The catalogue seed "extremes": angles of ±1e308 degrees have no cosine.
  VariableTable table = tableOf({{"I,5,5,2147483647,2147483647,D,C,99999,<,>,Y,1e308,-1e308,0,0,0,0,0", 0},
                                 {"E,1,1,-2147483647,-2147483647,D,C,1,<,>,Z,-1e308,1e308,0,0,0,0,0", 0},
                                 {"S,0,0,10,0,D,C,1,-,-,,0,0,0,0,0,0,0", 0}});
  RecordingCanvas canvas;
  DrawFigure(canvas, kSquare, table, oneView(), 0);
  EXPECT_TRUE(canvas.itemsOf(Kind::Polyline).empty());
  EXPECT_TRUE(canvas.itemsOf(Kind::Arc).empty());
  EXPECT_EQ(canvas.itemsOf(Kind::Line).size(), 1u) << "the rest of the figure is drawn";
  EXPECT_TRUE(table.at(table.size() - 3).labelRect.isEmpty());
  EXPECT_TRUE(table.at(table.size() - 2).labelRect.isEmpty());
}

TEST(FigureDrawing, EmptyFrameDrawsNothing) {
  VariableTable table = tableOf({{"S,0,0,100,0,D,C,1,-,-,L,0,0,0,0,0,0,0", 0}});
  RecordingCanvas canvas;
  DrawFigure(canvas, Rect{}, table, oneView(), 0);
  EXPECT_TRUE(canvas.items().empty());
  EXPECT_TRUE(table.at(table.size() - 1).labelRect.isEmpty());
}

}  // namespace
}  // namespace qz
