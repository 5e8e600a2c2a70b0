// Making a report ready for a page: line width and rows from the page, the
// failure messages, the diagram job and the report of each calculator's state.
#include "report/report_job.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/report/a4_pages.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_messenger.h"
#include "scientific/scientific_state.h"
#include "standard/tape.h"

namespace qz {
namespace {

ReportSetup setupOn(const PrinterPage& page) {
  ReportSetup s;
  s.page = page;
  s.font.face = "Courier New";
  s.font.height = -14;
  s.spaceOnScreen = Size{8, 16};
  s.screenDpi = 96;
  s.documentPath = "/home/u/poutre.qz";
  s.dateStamp = "08/12/2026 (14:30)";
  return s;
}

Tape tapeOf(int numbers) {
  Tape tape;
  TapeEntry e;
  e.kind = EntryKind::Number;
  e.value = 7;
  for (int i = 0; i < numbers; ++i) tape.appendRecord(e);
  return tape;
}

TEST(PrepareReport, GridFollowsThePageAndTheFont) {
  const Tape tape = tapeOf(3);
  ScriptedMessenger messenger;
  const auto report = prepareReport(*standardReportSource(tape), ReportJob::Print, setupOn(testing::a4Page(300)), messenger);
  ASSERT_TRUE(report.has_value());
  // 17 cm of text at 25 px a cell; 25.2 cm at 51 px a row.
  EXPECT_EQ(report->drawing.metrics.charsPerLine, 80);
  EXPECT_EQ(report->drawing.metrics.linesPerPage, 58);
  EXPECT_EQ(report->drawing.font.height, -44) << "the screen height scaled to 300 dpi";
  EXPECT_EQ(report->pages.pageCount(), 1);
  EXPECT_EQ(report->pages.pages[0][2], "Fichier ... : /home/u/poutre.qz");
  EXPECT_TRUE(messenger.boxes().empty());
}

TEST(PrepareReport, LandscapeGivesWiderLinesAndMorePages) {
  const Tape tape = tapeOf(200);
  ScriptedMessenger messenger;
  const PrinterPage landscape = testing::turned(testing::a4Page(300));
  ReportSetup portraitSetup = setupOn(testing::a4Page(300));
  ReportSetup landscapeSetup = setupOn(landscape);
  landscapeSetup.margins.orientation = 1;
  const auto portrait = prepareReport(*standardReportSource(tape), ReportJob::Print, portraitSetup, messenger);
  const auto wide = prepareReport(*standardReportSource(tape), ReportJob::Print, landscapeSetup, messenger);
  ASSERT_TRUE(portrait && wide);
  EXPECT_GT(wide->drawing.metrics.charsPerLine, portrait->drawing.metrics.charsPerLine);
  EXPECT_GT(wide->pages.pageCount(), portrait->pages.pageCount());
}

TEST(PrepareReport, ScientificExpressionIsCutForTheLineWidth) {
  ScientificState state;
  state.expression = "y=" + std::string(30, 'a') + "+" + std::string(30, 'b');
  state.results.push_back({1, 2});
  ScriptedMessenger messenger;
  ReportSetup setup = setupOn(testing::a4Page(300));
  setup.margins.left = setup.margins.right = 6.0;  // 9 cm of text: 42 characters
  const auto report = prepareReport(*scientificReportSource(state), ReportJob::Print, setup, messenger);
  ASSERT_TRUE(report.has_value());
  ASSERT_EQ(report->drawing.metrics.charsPerLine, 42);
  const auto& lines = report->lines.lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "y=" + std::string(30, 'a')), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  +" + std::string(30, 'b')), lines.end());
}

TEST(PrepareReport, FailuresShowTheirMessageAndGiveNothing) {
  struct Row {
    const char* name;
    int tapeLength;
    double topMargin;
    int message;
  };
  const Row rows[] = {
      {"report over 242 lines", 240, 2.5, kReportFailedText},
      {"margins leave no row", 3, 28.0, 285},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Tape tape = tapeOf(row.tapeLength);
    ScriptedMessenger messenger;
    ReportSetup setup = setupOn(testing::a4Page(300));
    setup.margins.top = row.topMargin;
    EXPECT_FALSE(prepareReport(*standardReportSource(tape), ReportJob::Print, setup, messenger).has_value());
    ASSERT_EQ(messenger.boxes().size(), 1u);
    EXPECT_NE(messenger.boxes()[0].text.find(LoadMessageText(row.message).substr(0, 20)), std::string::npos)
        << messenger.boxes()[0].text;
  }
}

TEST(PrepareReport, DiagramJobIsOnePageWhateverTheReport) {
  const Tape tape = tapeOf(240);  // far too long for a report
  ScriptedMessenger messenger;
  const auto report =
      prepareReport(*standardReportSource(tape), ReportJob::PrintDiagram, setupOn(testing::a4Page(300)), messenger);
  ASSERT_TRUE(report.has_value());
  ASSERT_EQ(report->pages.pageCount(), 1);
  EXPECT_EQ(report->pages.pages[0], std::vector<std::string>{"<DIAGRAM>"});
}

TEST(ReportSources, EachSaysWhetherItHasAReport) {
  const Tape empty;
  const Tape three = tapeOf(3);
  EXPECT_FALSE(standardReportSource(empty)->hasReport());
  EXPECT_TRUE(standardReportSource(three)->hasReport());
  ScientificState state;
  state.expression = "y=x";
  EXPECT_FALSE(scientificReportSource(state)->hasReport()) << "no computed pair yet";
  state.results.push_back({1, 1});
  EXPECT_TRUE(scientificReportSource(state)->hasReport());
  EXPECT_EQ(scientificReportSource(state)->optionsMode(), -1);
  EXPECT_FALSE(scientificReportSource(state)->figure(false)) << "only the geometric report has a figure";
}

TEST(PageCountText, PluralFollowsTheCount) {
  EXPECT_EQ(cp1252ToUtf8(pageCountText(1)), "- le document imprimé contient un total de 1 page -");
  EXPECT_EQ(cp1252ToUtf8(pageCountText(3)), "- le document imprimé contient un total de 3 pages -");
}

}  // namespace
}  // namespace qz
