// The statistics report through the calculator's report source: the
// described results first, unchanged, then the extended results and the fit.
#include <gtest/gtest.h>

#include "numbers/cp1252.h"
#include "numbers/markup.h"
#include "platform/scripted_messenger.h"
#include "report/report_builder.h"
#include "report/report_source.h"
#include "statistics/stat_section.h"
#include "statistics/statistics_calculator.h"

namespace qz {
namespace {

class StatisticsReportSource : public ::testing::Test {
 protected:
  void load(StatMode mode, std::initializer_list<StatRow> rows) {
    settings.writeInt("Statistic", "Mode", static_cast<int>(mode));
    StatTable t;
    for (const StatRow& r : rows) t.append(r);
    calc.loadSection(writeStatisticsSection(mode, StatResults{}, t));
    ASSERT_TRUE(calc.resultsValid());
  }
  ReportContext context() const {
    ReportContext c;
    c.dateStamp = "08/12/2026 (14:30)";
    return c;
  }
  MemorySettingsStore settings;
  ScriptedMessenger messenger;
  StatisticsCalculator calc{settings, messenger};
};

TEST_F(StatisticsReportSource, ExtendedResultsFollowTheDescribedOnes) {
  load(StatMode::Pairs, {{1, 2}, {2, 5}, {3, 10}, {4, 17}, {5, 26.5}});
  ASSERT_TRUE(calc.chooseFit(FitKind::Poly2));
  ReportLines described, full;
  ASSERT_TRUE(buildReport(context(), StatisticsReportInput{calc.table(), calc.mode(), calc.engine().results()},
                          described));
  ASSERT_TRUE(statisticsReportSource(calc, true)->build(context(), full));
  // Everything before "<END>" of the described report comes first, unchanged.
  ASSERT_GT(full.size(), described.size());
  for (int i = 0; i + 1 < described.size(); ++i) EXPECT_EQ(full[i], described[i]) << "line " << i;
  const int first = described.size() - 1;
  EXPECT_EQ(full[first], "");
  const std::vector<std::string> extended = extendedReportLines(calc.extended(), calc.mode());
  ASSERT_EQ(full.size(), described.size() + 1 + static_cast<int>(extended.size()));
  for (std::size_t i = 0; i < extended.size(); ++i)
    EXPECT_EQ(full[first + 1 + static_cast<int>(i)], convertMarkup(extended[i]));
  EXPECT_EQ(markupToPlainUtf8(full[first + 1]).substr(0, 13), "r ........ = ");
  EXPECT_EQ(full[full.size() - 3], convertMarkup("\\B\\bAjustement :\\b\\B Polyn\xF4me de degr\xE9 2"));
  EXPECT_EQ(cp1252ToUtf8(full[full.size() - 2]).substr(0, 4), "y = ");
  EXPECT_EQ(full[full.size() - 1], "<END>");
}

TEST_F(StatisticsReportSource, WithoutTheExtendedResultsTheReportIsTheDescribedOne) {
  load(StatMode::Values, {{1, 0}, {2, 0}, {4, 0}});
  ReportLines described, plain;
  ASSERT_TRUE(buildReport(context(), StatisticsReportInput{calc.table(), calc.mode(), calc.engine().results()},
                          described));
  ASSERT_TRUE(statisticsReportSource(calc)->build(context(), plain));
  EXPECT_EQ(plain.lines(), described.lines());
}

TEST_F(StatisticsReportSource, TheDiagramPageDrawsTheChosenCurve) {
  load(StatMode::Pairs, {{1, 2}, {2, 5}, {3, 10}, {4, 17}});
  ASSERT_TRUE(calc.chooseFit(FitKind::Exponential));
  EXPECT_TRUE(calc.diagramSeries().curve);
  EXPECT_TRUE(statisticsReportSource(calc, true)->diagram());
}

TEST_F(StatisticsReportSource, SeriesReportListsTheDescriptiveStatistics) {
  load(StatMode::Values, {{2, 0}, {4, 0}, {4, 0}, {4, 0}, {5, 0}, {5, 0}, {7, 0}, {9, 0}});
  ReportLines lines;
  ASSERT_TRUE(statisticsReportSource(calc, true)->build(context(), lines));
  std::vector<std::string> plain;
  for (const std::string& l : lines.lines()) plain.push_back(markupToPlainUtf8(l));
  EXPECT_NE(std::find(plain.begin(), plain.end(), "médiane .. = 4.5"), plain.end());
  EXPECT_NE(std::find(plain.begin(), plain.end(), "Q1 ....... = 4 (inclusifs)"), plain.end());
  EXPECT_EQ(std::find(plain.begin(), plain.end(), "Ajustement : Linéaire : y = a.x + b"), plain.end())
      << "no fit in mode 0";
}

}  // namespace
}  // namespace qz
