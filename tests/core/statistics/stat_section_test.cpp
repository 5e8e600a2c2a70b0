#include "statistics/stat_section.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(StatisticsSection, EmptyTableWritesNoSection) {
  StatTable t;
  EXPECT_EQ(writeStatisticsSection(StatMode::Pairs, StatResults{}, t), std::nullopt);
}

TEST(StatisticsSection, BodyLinesInOrder) {
  StatTable t;
  t.append({1, 3});
  t.append({4, 12});
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(t, StatMode::Pairs));
  auto body = writeStatisticsSection(StatMode::Pairs, engine.results(), t);
  ASSERT_TRUE(body);
  EXPECT_EQ(*body,
            "2\n2\n5|17|15|153|51\n2.5|7.5\n1.5|4.5|2.12132034356|6.36396103068\n2.25|20.25|6.75\n3|0|"
            "1\n2\n1|3\n4|12\n");
}

TEST(StatisticsSection, RoundTripRestoresEverythingAndStoresTheMode) {
  StatTable t;
  for (int i = 1; i <= 7; ++i) t.append({1000000.0 + i / 8.0, i == 3 ? -2.5E-21 : i * 125.0});
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(t, StatMode::Pairs));
  auto body = writeStatisticsSection(StatMode::Pairs, engine.results(), t);

  MemorySettingsStore settings;
  settings.writeInt("Statistic", "Mode", 0);
  StatMode mode = StatMode::Values;
  StatResults results;
  StatTable read;
  read.append({5, 5});
  readStatisticsSection(body, settings, mode, results, read);
  EXPECT_EQ(mode, StatMode::Pairs);
  EXPECT_EQ(results.mode, StatMode::Pairs);
  EXPECT_EQ(settings.readInt("Statistic", "Mode", -1), 2);
  EXPECT_EQ(read, t) << "12 significant digits hold these values exactly";
  EXPECT_EQ(results.n, 7);
  EXPECT_NEAR(results.r2, engine.results().r2, 1e-11);
  EXPECT_NEAR(results.sumY2, engine.results().sumY2, engine.results().sumY2 * 1e-11);
  EXPECT_EQ(writeStatisticsSection(mode, results, read), body) << "a second round trip changes nothing";
}

TEST(StatisticsSection, NoBodyResetsToTheStoredMode) {
  MemorySettingsStore settings;
  settings.writeInt("Statistic", "Mode", 1);
  StatMode mode = StatMode::Pairs;
  StatResults results;
  results.n = 9;
  StatTable t;
  t.append({1, 1});
  readStatisticsSection(std::nullopt, settings, mode, results, t);
  EXPECT_EQ(mode, StatMode::Frequencies);
  EXPECT_EQ(results.mode, StatMode::Frequencies);
  EXPECT_EQ(results.n, 0);
  EXPECT_TRUE(t.isEmpty());
}

TEST(StatisticsSection, LenientReadingAndRowLimit) {
  std::string body = "7\nabc\n\n\n\n\n\n2000\n";
  for (int i = 0; i < 1200; ++i) body += std::to_string(i) + "|1\n";
  MemorySettingsStore settings;
  StatMode mode;
  StatResults results;
  StatTable t;
  readStatisticsSection(body, settings, mode, results, t);
  EXPECT_EQ(mode, StatMode::Values) << "an unknown mode reads as 0";
  EXPECT_EQ(t.count(), 1000);
  EXPECT_EQ(t.row(1000).x, 999);
  EXPECT_EQ(results.n, 0);

  readStatisticsSection(std::string("1\n3\n1|2\n"), settings, mode, results, t);
  EXPECT_EQ(mode, StatMode::Frequencies);
  EXPECT_EQ(results.sumX, 1);
  EXPECT_EQ(results.sumX2, 2);
  EXPECT_EQ(t.count(), 0) << "a truncated body leaves the table empty";
}

}  // namespace
}  // namespace qz
