// Rows of qz-cli stats read from files: separators, chosen columns, header
// lines, decimal commas, and lines refused with their number.
#include "stats_input.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/messenger.h"
#include "support/temp_folder.h"

namespace {

using qz::StatRow;
using qz::cli::StatsInputOptions;

class SilentMessenger : public qz::Messenger {
 public:
  qz::MessageAnswer showBox(const std::string& text, qz::MessageStyle) override {
    shown = text;
    return qz::MessageAnswer::Ok;
  }
  void playSound(qz::BeepKind) override {}
  std::string shown;
};

std::vector<std::string> fieldsOf(const std::string& line, int expected, bool decimalComma) {
  std::vector<std::string_view> views;
  qz::cli::splitStatFields(line, expected, decimalComma, views);
  return {views.begin(), views.end()};
}

TEST(SplitStatFields, SeparatorsQuotesAndCommas) {
  using Fields = std::vector<std::string>;
  struct Case {
    const char* line;
    int expected;
    bool decimalComma;
    Fields fields;
  };
  const Case cases[] = {
      {"1,5;3", 2, false, {"1,5", "3"}},
      {"1.5\t3", 2, false, {"1.5", "3"}},
      {"  1,5   3 ", 2, false, {"1,5", "3"}},
      {"1.5,3", 2, false, {"1.5", "3"}},
      {"1,5", 1, false, {"1,5"}},
      {"1,5", 2, true, {"1,5"}},
      {"1,5,2", 2, true, {"1,5,2"}},
      {"a,b,c", 2, false, {"a", "b", "c"}},
      {"\"x, m\",\"2.5\",3", 2, false, {"x, m", "2.5", "3"}},
      {"1;;3", 2, false, {"1", "", "3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(fieldsOf(c.line, c.expected, c.decimalComma), c.fields);
  }
}

TEST(ParseColumnList, OneOrTwoColumnsFromOne) {
  std::vector<int> columns;
  EXPECT_TRUE(qz::cli::parseColumnList("2,3", columns));
  EXPECT_EQ(columns, (std::vector<int>{2, 3}));
  EXPECT_TRUE(qz::cli::parseColumnList("4", columns));
  EXPECT_EQ(columns, (std::vector<int>{4}));
  for (const char* bad : {"", "0", "1,2,3", "a", "2,", ",2", "-1", "1.5"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(qz::cli::parseColumnList(bad, columns));
  }
}

struct Read {
  bool ok = false;
  std::vector<StatRow> rows;
  int mode = -1;
};

Read readRows(const std::string& content, StatsInputOptions options) {
  qz::testing::TempFolder folder;
  const std::string path = folder.file("rows.csv");
  std::ofstream(path, std::ios::binary) << content;
  SilentMessenger messenger;
  Read read;
  read.ok = qz::cli::readStatRows(path, options, read.rows, messenger);
  read.mode = options.mode;
  return read;
}

TEST(ReadStatRows, ChosenColumnsOfACsvTableAfterItsHeader) {
  StatsInputOptions options;
  options.columns = {3, 2};
  options.header = true;
  const Read read = readRows("# exported\nname,x,y\nA,1.5,10\n\nB,2,20\nC,\"3\",30\n", options);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.mode, 2) << "two columns: x,y pairs";
  ASSERT_EQ(read.rows.size(), 3u);
  EXPECT_EQ(read.rows[0], (StatRow{10, 1.5}));
  EXPECT_EQ(read.rows[2], (StatRow{30, 3}));
}

TEST(ReadStatRows, OneColumnOfATsvTableWithDecimalCommas) {
  StatsInputOptions options;
  options.columns = {2};
  options.decimalComma = true;
  const Read read = readRows("a\t1,25\nb\t-2,5\n", options);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.mode, 0);
  ASSERT_EQ(read.rows.size(), 2u);
  EXPECT_EQ(read.rows[0].x, 1.25);
  EXPECT_EQ(read.rows[1].x, -2.5);
}

TEST(ReadStatRows, WithoutAHeaderItsNamesAreRefusedWithTheirLine) {
  StatsInputOptions options;
  options.columns = {1};
  EXPECT_FALSE(readRows("x\n1\n", options).ok);
  options.header = true;
  EXPECT_TRUE(readRows("x\n1\n", options).ok);
}

TEST(ReadStatRows, FaultyLinesStopTheReading) {
  struct Case {
    const char* name;
    std::string content;
    std::vector<int> columns;
  };
  const Case cases[] = {
      {"missing column", "1,2\n3\n", {1, 2}},
      {"column beyond the line", "1,2\n", {1, 3}},
      {"binary", std::string("1\n\0\n", 4), {}},
      {"not UTF-8", "1\n\xff\n", {}},
      {"too long", "1\n" + std::string(5000, '1') + "\n", {}},
      {"NaN", "1\nnan\n", {}},
      {"infinite", "1\ninf\n", {}},
      {"beyond the doubles", "1\n1E999\n", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StatsInputOptions options;
    options.columns = c.columns;
    EXPECT_FALSE(readRows(c.content, options).ok);
  }
}

TEST(ReadStatRows, TinyValuesAreZeroAsAGridCellTakesThem) {
  const Read read = readRows("1E-305\n2\n", {});
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.rows[0].x, 0.0);
}

TEST(ReadStatRows, OnlyRegularFiles) {
  SilentMessenger messenger;
  std::vector<StatRow> rows;
  StatsInputOptions options;
  EXPECT_FALSE(qz::cli::readStatRows("/dev/zero", options, rows, messenger));
  EXPECT_NE(messenger.shown.find("Impossible d'ouvrir le fichier"), std::string::npos) << messenger.shown;
}

}  // namespace
