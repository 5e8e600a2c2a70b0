#include "report/report_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/report/a4_pages.h"
#include "platform/recording_canvas.h"

namespace qz {
namespace {

using Lines = std::vector<std::string>;
using Pages = std::vector<Lines>;

TEST(PageMetrics, FollowFromPaperMarginsAndFont) {
  // A space of 8 x 16 screen pixels at 96 dpi is 25 x 50 printer pixels; rows add one.
  const PageMetrics m = computePageMetrics(testing::a4Page(300, 0.5), ReportMargins{}, Size{8, 16}, 96);
  EXPECT_EQ(m.cellWidth, 25);
  EXPECT_EQ(m.lineHeight, 51);
  EXPECT_EQ(m.textRect, (Rect{236, 236, 2362 - 118, 3390 - 177}));
  EXPECT_EQ(m.charsPerLine, (2244 - 236) / 25);
  EXPECT_EQ(m.linesPerPage, (3213 - 236) / 51);
}

TEST(PageMetrics, LandscapeWithNarrowMarginsHoldsLongerLines) {
  PrinterPage landscape = testing::a4Page(300, 0.5);
  std::swap(landscape.paperWidthCm, landscape.paperHeightCm);
  std::swap(landscape.paperWidthPx, landscape.paperHeightPx);
  std::swap(landscape.printableWidthPx, landscape.printableHeightPx);
  const ReportMargins narrow{1.0, 1.0, 1.0, 1.0, 1};
  const PageMetrics portrait = computePageMetrics(testing::a4Page(300, 0.5), ReportMargins{}, Size{8, 16}, 96);
  const PageMetrics wide = computePageMetrics(landscape, narrow, Size{8, 16}, 96);
  EXPECT_GT(wide.charsPerLine, portrait.charsPerLine + 30);
  EXPECT_LT(wide.linesPerPage, portrait.linesPerPage);
}

TEST(PageMetrics, MarginsLeavingNoRoomGiveNoLines) {
  const ReportMargins huge{12.0, 12.0, 2.5, 2.0, 0};
  const PageMetrics m = computePageMetrics(testing::a4Page(300, 0.5), huge, Size{8, 16}, 96);
  EXPECT_EQ(m.charsPerLine, 0);
  EXPECT_TRUE(paginate({"a", "b"}, 0).pages.empty());
}

TEST(Paginate, CutsTheReportIntoPages) {
  struct Row {
    const char* name;
    Lines lines;
    int linesPerPage;
    Pages expected;
  };
  const Row rows[] = {
      {"fits one page", {"a", "b", "<END>"}, 3, {{"a", "b"}}},
      {"exactly full then more: break before the line that does not fit",
       {"a", "b", "c", "d", "<END>"}, 3, {{"a", "b", "c"}, {"d"}}},
      {"exactly full at the end: no empty page", {"a", "b", "c", "<END>"}, 3, {{"a", "b", "c"}}},
      {"lines after the end are ignored", {"a", "<END>", "b"}, 3, {{"a"}}},
      {"forced break", {"a", "<PAGE>", "b", "<END>"}, 5, {{"a"}, {"b"}}},
      {"forced break right after a full page adds no blank page",
       {"a", "b", "<PAGE>", "c", "<END>"}, 2, {{"a", "b"}, {"c"}}},
      {"rules and pictures count as rows", {"<LINE>", "<DIAGRAM>", "x", "<END>"}, 2,
       {{"<LINE>", "<DIAGRAM>"}, {"x"}}},
      {"table header repeated on the next page",
       {"t", "<INI_MEMO>", "H", "1", "2", "3", "<END_MEMO>", "after", "<END>"}, 3,
       {{"t", "H", "1"}, {"H", "2", "3"}, {"after"}}},
      {"no header after the table ends",
       {"<INI_MEMO>", "H", "1", "<END_MEMO>", "x", "y", "<END>"}, 2, {{"H", "1"}, {"x", "y"}}},
      {"forced break inside a table drops a lone repeated header",
       {"<INI_MEMO>", "H", "1", "<PAGE>", "2", "<END_MEMO>", "<END>"}, 2, {{"H", "1"}, {"2"}}},
      {"empty report has no page", {"<END>"}, 4, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ReportPages pages = paginate(row.lines, row.linesPerPage);
    EXPECT_EQ(pages.pages, row.expected);
  }
}

TEST(Paginate, PageTextSeparatesPagesWithBreakTags) {
  const ReportPages pages = paginate({"a", "b", "c", "<END>"}, 2);
  EXPECT_EQ(pages.pageText(), "a\nb\n<PAGE>\nc\n");
  EXPECT_EQ(pages.pageCount(), 2);
}

TEST(Paginate, FigureGoesToTheNextPageWhenItDoesNotFit) {
  const Lines lines = {"a", "b", "c", "<GEOMETRIC>", "d", "<END>"};
  // Ten rows a page, a figure of six rows: fits after three lines.
  EXPECT_EQ(paginate(lines, 10, 6).pages, (Pages{{"a", "b", "c", "<GEOMETRIC>", "d"}}));
  // A figure of eight rows does not: it starts the next page with what follows.
  EXPECT_EQ(paginate(lines, 10, 8).pages, (Pages{{"a", "b", "c"}, {"<GEOMETRIC>", "d"}}));
  // Taller than any page: kept where it is rather than pushed forever.
  EXPECT_EQ(paginate({"<GEOMETRIC>", "x", "<END>"}, 4, 9).pages, (Pages{{"<GEOMETRIC>", "x"}}));
}

TEST(PrintRange, KeptWithinThePagesAndInOrder) {
  struct Row {
    const char* name;
    PrintRange in;
    int pageCount;
    int first, last, copies;
  };
  const Row rows[] = {
      {"as asked", {2, 3, 4}, 5, 2, 3, 4},
      {"reversed", {4, 2, 1}, 5, 2, 4, 1},
      {"beyond the end", {1, 9, 1}, 5, 1, 5, 1},
      {"below the first", {0, 0, 0}, 5, 1, 1, 1},
      {"too many copies", {1, 1, 500}, 1, 1, 1, 100},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const PrintRange r = normalizePrintRange(row.in, row.pageCount);
    EXPECT_EQ(r.firstPage, row.first);
    EXPECT_EQ(r.lastPage, row.last);
    EXPECT_EQ(r.copies, row.copies);
  }
}

TEST(DrawPage, DrawsRulesTextAndFigureOnTheGrid) {
  PageDrawing d;
  d.page = testing::a4Page(300, 0.5);
  d.metrics = computePageMetrics(d.page, d.margins, Size{8, 16}, 96);
  d.font = FontSpec{"Courier New", -50, 400, false, false};
  std::vector<Rect> figureBoxes;
  d.figure = [&](Canvas&, Rect box) { figureBoxes.push_back(box); };
  const ReportPages pages = paginate({"first", "<PAGE>", "<LINE>", "<GEOMETRIC>", "ab", "<END>"}, 40);
  ASSERT_EQ(pages.pageCount(), 2);

  RecordingCanvas canvas;
  EXPECT_FALSE(drawPage(canvas, pages, 2, d));
  ASSERT_TRUE(drawPage(canvas, pages, 1, d));
  const Rect& t = d.metrics.textRect;

  const auto lines = canvas.itemsOf(RecordingCanvas::Kind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].a, (Point{t.left, t.top + 25}));
  EXPECT_EQ(lines[0].b, (Point{t.right, t.top + 25}));

  // Half of 21 - 2.5 - 1.5 cm is 8.5 cm: 1004 pixels wide, 1406 high, on the right, at row 1.
  ASSERT_EQ(figureBoxes.size(), 1u);
  EXPECT_EQ(figureBoxes[0], (Rect{t.right - 1004, t.top + 51, t.right, t.top + 51 + 1406}));

  // The figure takes no row: the text after it is on row 1, one cell a character.
  const auto texts = canvas.itemsOf(RecordingCanvas::Kind::Text);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front().a.x, t.left);
  EXPECT_GE(texts.front().a.y, t.top + 51);
  EXPECT_LT(texts.front().a.y, t.top + 102);
  std::string drawn;
  for (const auto& item : texts) drawn += item.text;
  EXPECT_EQ(drawn, "ab");
  EXPECT_EQ(texts.front().colour, (Rgb{0, 0, 0}));
}

TEST(DrawPage, DiagramSquareIsCentredInTheText) {
  PageDrawing d;
  d.page = testing::a4Page(300, 0.5);
  d.metrics = computePageMetrics(d.page, d.margins, Size{8, 16}, 96);
  Rect box;
  d.diagram = [&](Canvas&, Rect r) { box = r; };
  RecordingCanvas canvas;
  ASSERT_TRUE(drawPage(canvas, paginate({"<DIAGRAM>"}, 10), 0, d));
  EXPECT_EQ(box.width(), 2008);  // 17 cm at 300 dpi
  EXPECT_EQ(box.height(), 2008);
  const Rect& t = d.metrics.textRect;
  EXPECT_LE(std::abs((box.left - t.left) - (t.right - box.right)), 1);
  EXPECT_LE(std::abs((box.top - t.top) - (t.bottom - box.bottom)), 1);
}

}  // namespace
}  // namespace qz
