#include "report/report_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/figure_data.h"
#include "geometry/geo_variable.h"
#include "numbers/markup.h"
#include "scientific/scientific_state.h"
#include "standard/tape.h"
#include "statistics/stat_engine.h"
#include "statistics/stat_table.h"
#include "units/unit_conversion.h"
#include "units/unit_record.h"

namespace qz {
namespace {

constexpr const char* kDate = "08/12/2026 (14:30)";

ReportContext context(std::string path, bool exporting = false, ReportOptions options = {}, int width = 80) {
  ReportContext c;
  c.documentPath = std::move(path);
  c.dateStamp = kDate;
  c.lineWidth = width;
  c.exporting = exporting;
  c.options = options;
  return c;
}

// Expected lines are written as the builder's source texts and compared in
// their stored (converted) form.
void expectLines(const ReportLines& lines, const std::vector<std::string>& expected) {
  ASSERT_EQ(lines.size(), static_cast<int>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(lines[static_cast<int>(i)], convertMarkup(expected[i])) << "line " << i;
}

const std::vector<std::string> kHeader = {"<LINE>",
                                          "",
                                          "Fichier ... : C:\xA4Mes Documents\xA4Note d'essai.qz",
                                          "Date ...... : 08/12/2026 (14:30)",
                                          "",
                                          "<LINE>",
                                          ""};
const char* kPath = "c:\\mes documents\\note d'essai.QZ";

std::vector<std::string> withHeader(std::vector<std::string> body) {
  std::vector<std::string> all = kHeader;
  all.insert(all.end(), body.begin(), body.end());
  return all;
}

TEST(ReportPath, TitleCaseWithLiteralBackslashes) {
  struct Case {
    const char* name;
    const char* path;
    const char* expected;
  } cases[] = {
      {"drive path re-cased", "c:\\mes documents\\note d'essai.QZ", "C:\xA4Mes Documents\xA4Note d'essai.qz"},
      {"underscore and l' elision", "D:\\CALCULS\\poutre_de l'atelier.QZ",
       "D:\xA4"
       "Calculs\xA4Poutre_De l'atelier.qz"},
      {"POSIX path kept as it is", "/home/Anne/notes/Essai.qz", "/home/Anne/notes/Essai.qz"},
      {"backslash in a POSIX name stays literal", "/tmp/a\\Bb.qz",
       "/tmp/a\xA4"
       "Bb.qz"},
      {"UTF-8 name in code page 1252", "/tmp/r\xC3\xA9sum\xC3\xA9.qz", "/tmp/r\xE9sum\xE9.qz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(reportPathText(c.path), c.expected);
  }
}

TEST(ReportColumnWidth, LongestExchangeTextPlusFour) {
  EXPECT_EQ(reportColumnWidth({1, 22.5, -3}), 8);
  EXPECT_EQ(reportColumnWidth({1e20}), 10) << "1E+020";
  EXPECT_EQ(reportColumnWidth({1}, 5), 5);
  EXPECT_EQ(reportColumnWidth({}, 5), 5);
}

TEST(ExpressionLines, LongExpressionIsCutBeforeOperators) {
  std::string body;
  while (body.size() < 100) body += "x+1.5*x/";
  body.resize(100);
  const auto pieces = expressionReportLines("y=" + body, 60);
  ASSERT_GE(pieces.size(), 2u);
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    SCOPED_TRACE(i);
    const std::string prefix = i == 0 ? "y=" : "  ";
    ASSERT_EQ(pieces[i].substr(0, 2), prefix);
    const std::string piece = pieces[i].substr(2);
    EXPECT_LE(piece.size(), 58u);
    if (i > 0) {
      EXPECT_NE(std::string("*/+-").find(piece[0]), std::string::npos) << pieces[i];
    }
    if (i + 1 < pieces.size()) {
      EXPECT_LE(piece.size(), 57u);
    }
    joined += piece;
  }
  EXPECT_EQ(joined, body);
}

TEST(ExpressionLines, CutRules) {
  struct Case {
    const char* name;
    std::string expression;
    int width;
    std::vector<std::string> expected;
  } cases[] = {
      {"fits: one line", "y=sin(x)+1", 20, {"y=sin(x)+1"}},
      {"exactly width - 2 stays whole", "y=" + std::string(18, 'a'), 20, {"y=" + std::string(18, 'a')}},
      {"no operator: cut at width - 3",
       "y=" + std::string(40, '7'),
       20,
       {"y=" + std::string(17, '7'), "  " + std::string(17, '7'), "  777777"}},
      {"last operator of the window", "y=aa+bb-cc*dd/eeeeeeeee", 20, {"y=aa+bb-cc*dd", "  /eeeeeeeee"}},
      {"operator beyond the window ignored", "y=abcdefghijklmnopq+r", 20, {"y=abcdefghijklmnopq", "  +r"}},
      {"leading operator never makes an empty piece",
       "y=-abcdefghijklmnopqrst",
       20,
       {"y=-abcdefghijklmnop", "  qrst"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(expressionReportLines(c.expression, c.width), c.expected);
  }
}

TEST(StandardReport, TapeLinesBetweenHeaderAndClosingRule) {
  Tape tape;
  auto add = [&](EntryKind kind, double value = 0) {
    TapeEntry e;
    e.kind = kind;
    e.value = value;
    ASSERT_TRUE(tape.appendRecord(e));
  };
  add(EntryKind::Number, 12);
  add(EntryKind::Plus);
  add(EntryKind::Number, 30);
  add(EntryKind::Equals);
  add(EntryKind::Total, 42);
  add(EntryKind::Number, 42);
  add(EntryKind::Divide);
  add(EntryKind::Number, 8);
  add(EntryKind::Equals);
  add(EntryKind::Total, 5.25);
  ReportLines lines;
  ASSERT_TRUE(buildReport(context(kPath), StandardReportInput{tape}, lines));
  expectLines(lines, withHeader({" 12", " +", " 30", " =", " 42", " 42", " \x8A\xB8\x8A", " 8", " =", " 5.25",
                                 "", "<LINE>", "<END>"}));
}

TEST(StandardReport, NoFileNameMeansNoHeaderAndNoClosingRule) {
  Tape tape;
  TapeEntry e;
  e.kind = EntryKind::Number;
  e.value = 3;
  ASSERT_TRUE(tape.appendRecord(e));
  ReportLines lines;
  ASSERT_TRUE(buildReport(context(""), StandardReportInput{tape}, lines));
  expectLines(lines, {" 3", "<END>"});
}

TEST(StandardReport, LongTapeDoesNotFit) {
  Tape tape;
  TapeEntry e;
  e.kind = EntryKind::Number;
  e.value = 1;
  // Header (7 lines) and trailer (3 lines) leave room for 232 tape lines.
  for (int i = 0; i < 232; ++i) ASSERT_TRUE(tape.appendRecord(e));
  ReportLines lines;
  EXPECT_TRUE(buildReport(context(kPath), StandardReportInput{tape}, lines));
  EXPECT_EQ(lines[lines.size() - 1], "<END>");
  ASSERT_TRUE(tape.appendRecord(e));
  EXPECT_FALSE(buildReport(context(kPath), StandardReportInput{tape}, lines));
  EXPECT_EQ(lines.size(), ReportLines::kCapacity);
}

TEST(ScientificReport, FunctionConstantsAndResultsTable) {
  ScientificState state;
  state.expression = "y=a*x^2+b";
  state.constants = "a=2\r\nb=1\r\n";
  state.results = {{0, 1}, {1, 3}, {2.5, 13.5}};
  ReportLines lines;
  ASSERT_TRUE(buildReport(context(kPath), ScientificReportInput{state}, lines));
  expectLines(lines, withHeader({"\\B\\bFonction :", "y=a*x^2+b", "", "\\B\\bConstantes :", "a=2", "b=1", "",
                                 "<LINE>", "", "<INI_MEMO>", "\\bx      y", "0      1", "1      3",
                                 "2.5    13.5", "<END_MEMO>", "", "<LINE>", "<END>"}));
}

TEST(ScientificReport, OneConstantSingularAndNarrowColumnsWidened) {
  ScientificState state;
  state.expression = "y=k*x";
  state.constants = "k=3";
  state.results = {{1, 3}};
  ReportLines lines;
  ASSERT_TRUE(buildReport(context(""), ScientificReportInput{state}, lines));
  expectLines(lines, {"\\B\\bFonction :", "y=k*x", "", "\\B\\bConstante :", "k=3", "", "<LINE>", "",
                      "<INI_MEMO>", "\\bx    y", "1    3", "<END_MEMO>", "<END>"});
}

TEST(ScientificReport, LongExpressionOnNarrowLine) {
  ScientificState state;
  state.expression = "y=" + std::string(40, 'a') + "+" + std::string(59, 'b');  // 100 characters after "y="
  ReportLines lines;
  ASSERT_TRUE(buildReport(context("", false, {}, 60), ScientificReportInput{state}, lines));
  EXPECT_EQ(lines[1], "y=" + std::string(40, 'a'));
  EXPECT_EQ(lines[2], "  +" + std::string(56, 'b'));
  EXPECT_EQ(lines[3], "  bbb");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "<LINE>");
}

StatTable pairsTable() {
  StatTable table;
  table.append({1, 2});
  table.append({2, 4});
  table.append({3, 6.5});
  return table;
}

TEST(StatisticsReport, PairsWithoutDataOption) {
  const StatTable table = pairsTable();
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(table, StatMode::Pairs));
  ReportLines lines;
  ASSERT_TRUE(
      buildReport(context(""), StatisticsReportInput{table, StatMode::Pairs, engine.results()}, lines));
  expectLines(lines, {"",
                      "<LINE>",
                      "",
                      "\\Bn ........ =\\B 3 \\G(nombre total de r\xE9sultats)",
                      "",
                      "\\B\\gS\\gx ....... =\\B 6",
                      "\\B\\gS\\gx\\e2\\e ...... =\\B 14",
                      "\\B\\gS\\gy ....... =\\B 12.5",
                      "\\B\\gS\\gy\\e2\\e ...... =\\B 62.25",
                      "\\B\\gS\\gxy ...... =\\B 29.5",
                      "",
                      "\\B\\ox\\o ........ =\\B 2",
                      "\\B\\oy\\o ........ =\\B 4.16666666667",
                      "",
                      "\\Bvar(x) ... =\\B 0.666666666667",
                      "\\Bvar(y) ... =\\B 3.38888888889",
                      "\\Bcov(x,y) . =\\B 1.5",
                      "",
                      "\\B\\gs\\g\\sx\\s ....... =\\B 0.816496580928",
                      "\\B\\gs\\g\\sy\\s ....... =\\B 1.84089350286",
                      "\\Bs\\sx\\s ....... =\\B 1",
                      "\\Bs\\sy\\s ....... =\\B 2.25462487641",
                      "",
                      "\\Ba ........ =\\B 2.25 \\G(y = a.x + b)",
                      "\\Bb ........ =\\B -0.333333333333",
                      "\\Br\\e2\\e........ =\\B 0.995902 \\G(coefficient de corr\xE9lation)",
                      "<END>"});
}

TEST(StatisticsReport, ValuesWithDataTableAndHeader) {
  StatTable table;
  table.append({2, 0});
  table.append({4, 0});
  table.append({10.5, 0});
  StatResults r;
  r.n = 3;
  r.sumX = 16.5;
  r.sumX2 = 130.25;
  r.meanX = 5.5;
  r.varX = 13.1666666666667;
  r.sigmaX = 3.6286;
  r.sX = -1;  // no sample deviation: its line is left out
  ReportLines lines;
  ASSERT_TRUE(buildReport(context(kPath, false, {true, false}),
                          StatisticsReportInput{table, StatMode::Values, r}, lines));
  expectLines(lines, withHeader({"<INI_MEMO>",
                                 "\\bX       ",
                                 "2       ",
                                 "4       ",
                                 "10.5    ",
                                 "<END_MEMO>",
                                 "",
                                 "<LINE>",
                                 "",
                                 "\\Bn ........ =\\B 3 \\G(nombre total de r\xE9sultats)",
                                 "",
                                 "\\B\\gS\\gx ....... =\\B 16.5",
                                 "\\B\\gS\\gx\\e2\\e ...... =\\B 130.25",
                                 "",
                                 "\\B\\ox\\o ........ =\\B 5.5",
                                 "",
                                 "\\Bvar(x) ... =\\B 13.1666666667",
                                 "",
                                 "\\B\\gs\\g\\sx\\s ....... =\\B 3.6286",
                                 "",
                                 "",
                                 "<LINE>",
                                 "<END>"}));
}

TEST(StatisticsReport, FrequenciesExportedWithLineEndsWithTheDiagram) {
  StatTable table;
  table.append({10, 1});
  table.append({20, 2});
  table.append({30, 1});
  StatResults r;
  r.mode = StatMode::Frequencies;
  r.n = 4;
  r.sumX = 80;
  r.sumX2 = 1800;
  r.meanX = 20;
  r.varX = 50;
  r.sigmaX = 7.07106781186548;
  r.sX = 8.16496580927726;
  r.r2 = 0.9;
  ReportLines lines;
  ASSERT_TRUE(buildReport(context(kPath, true, {true, true}),
                          StatisticsReportInput{table, StatMode::Frequencies, r}, lines));
  expectLines(lines, withHeader({"<INI_MEMO>",
                                 "\\bX     N",
                                 "10    1",
                                 "20    2",
                                 "30    1",
                                 "<END_MEMO>",
                                 "",
                                 "<LINE>",
                                 "",
                                 "\\Bn ........ =\\B 4 \\G(nombre total de r\xE9sultats)",
                                 "",
                                 "\\B\\gS\\gnx ...... =\\B 80",
                                 "\\B\\gS\\gnx\\e2\\e ..... =\\B 1800",
                                 "",
                                 "\\B\\ox\\o ........ =\\B 20",
                                 "",
                                 "\\Bvar(x) ... =\\B 50",
                                 "\\B\\gs\\g\\sx\\s ....... =\\B 7.07106781187",
                                 "\\Bs\\sx\\s ....... =\\B 8.16496580928",
                                 "",
                                 "\\Br\\e2\\e........ =\\B 0.9",
                                 "<PAGE>",
                                 "<DIAGRAM>",
                                 "",
                                 "<LINE>",
                                 "<END>"}));

  // Without a file name the diagram lines are the very last before "<END>".
  ASSERT_TRUE(buildReport(context("", true, {false, true}),
                          StatisticsReportInput{table, StatMode::Frequencies, r}, lines));
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines[lines.size() - 3], "<PAGE>");
  EXPECT_EQ(lines[lines.size() - 2], "<DIAGRAM>");
  EXPECT_EQ(lines[lines.size() - 1], "<END>");
}

TEST(StatisticsReport, DiagramOnlyWhenExportingWithTheLineOutsideModeZero) {
  StatTable table;
  table.append({1, 0});
  table.append({2, 0});
  StatResults r;
  r.n = 2;
  struct Case {
    const char* name;
    StatMode mode;
    bool exporting;
    bool line;
    bool diagram;
  } cases[] = {
      {"mode 1 printed", StatMode::Frequencies, false, true, false},
      {"mode 1 exported without the line", StatMode::Frequencies, true, false, false},
      {"mode 0 exported with the line", StatMode::Values, true, true, false},
      {"mode 2 exported with the line", StatMode::Pairs, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReportLines lines;
    ASSERT_TRUE(buildReport(context("", c.exporting, {false, c.line}),
                            StatisticsReportInput{table, c.mode, r}, lines));
    bool found = false;
    for (const std::string& line : lines.lines()) found = found || line == "<DIAGRAM>";
    EXPECT_EQ(found, c.diagram);
  }
}

TEST(GeometricReport, FigureDataAndComputedValues) {
  VariableTable table;
  table.createPredefined();
  auto add = [&](const char* name, int subFigure, int state, int given, double value, char kind = 'S') {
    GeoVariable v;
    v.name = name;
    v.subFigure = subFigure;
    v.state = state;
    v.given = given;
    v.value = value;
    v.kind = kind;
    v.shown = 1;
    return table.append(v);
  };
  const int l1 = add("L1", 0, kKnown, 1, 4);
  const int l2 = add("L2", 0, kKnown, 1, 3);
  add("S", 0, kKnown, 0, 12);
  add("D", 0, kKnown, 0, 5);
  add("P", 0, kUnknown, 0, 0);      // not found: left out
  add("H", 1, kKnown, 0, 7);        // another sub-figure: left out
  add("xP", 0, kKnown, 0, 9, 'V');  // never drawn: left out
  add("T1", 0, kKnown, 0, 0, 'C');  // a caption: left out
  FigureData data;
  data.subFigure = 0;
  data.rows = 2;
  data.row[0].variable = l1;
  data.row[0].value = 4;
  data.row[1].variable = l2;
  data.row[1].value = 3;
  ReportLines lines;
  ASSERT_TRUE(buildReport(context(kPath), GeometricReportInput{"Rectangle", table, data}, lines));
  expectLines(lines, withHeader({"\\G\\bFigure :", "<GEOMETRIC>", "", "Rectangle", "",
                                 "\\B\\bDonn\xE9"
                                 "es :",
                                 "", "L1 = 4", "L2 = 3", "",
                                 "\\B\\bValeurs calcul\xE9"
                                 "es :",
                                 "", "S  = 12", "D  = 5", "<END>"}));

  // Exported: an empty line before the figure.
  ASSERT_TRUE(buildReport(context("", true), GeometricReportInput{"Rectangle", table, data}, lines));
  EXPECT_EQ(lines[0], convertMarkup("\\G\\bFigure :"));
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "<GEOMETRIC>");
}

UnitComponent component(const char* prefix, const char* symbol, int divides = 0) {
  UnitComponent c;
  c.unitKey = 1;
  c.prefix = prefix;
  c.symbol = symbol;
  c.exponent = "1";
  c.divides = divides;
  return c;
}

UnitRecord unit(UnitComponent a, UnitComponent b) {
  UnitRecord r;
  r.count = 2;
  r.components[0] = a;
  r.components[1] = b;
  return r;
}

TEST(UnitReport, UnitsAndConversionsTable) {
  const UnitRecord kmh = unit(component("k", "m"), component("1", "h", 1));
  const UnitRecord ms = unit(component("1", "m"), component("1", "s", 1));
  const std::vector<ConversionRow> rows = {{36, 10}, {90, 25}, {100, 27.7777777777778}};
  ReportLines lines;
  ASSERT_TRUE(buildReport(context(kPath), UnitReportInput{kmh, ms, rows}, lines));
  expectLines(lines, withHeader({"\\B\\bUnit\xE9 courante :\\b\\B \x82km\x82/h\x82",
                                 "\\B\\bNouvelle unit\xE9 :\\b\\B \x82m\x82/s\x82", "", "<LINE>", "",
                                 "<INI_MEMO>", "\\b\x82km\x82/h\x82   \x82m\x82/s\x82", "36     10",
                                 "90     25", "100    27.7777777778", "<END_MEMO>", "", "<LINE>", "<END>"}));
}

TEST(UnitReport, ThreeHundredConversionsDoNotFit) {
  const UnitRecord kmh = unit(component("k", "m"), component("1", "h", 1));
  const UnitRecord ms = unit(component("1", "m"), component("1", "s", 1));
  std::vector<ConversionRow> rows(300);
  for (int i = 0; i < 300; ++i) rows[static_cast<std::size_t>(i)] = {double(i), i / 3.6};
  ReportLines lines;
  EXPECT_FALSE(buildReport(context(""), UnitReportInput{kmh, ms, rows}, lines));
  EXPECT_EQ(lines.size(), ReportLines::kCapacity);
  EXPECT_NE(lines[lines.size() - 1], "<END>");

  // The largest list that fits: 6 lines before the table rows, 3 after.
  rows.resize(ReportLines::kCapacity - 9);
  EXPECT_TRUE(buildReport(context(""), UnitReportInput{kmh, ms, rows}, lines));
  EXPECT_EQ(lines.size(), ReportLines::kCapacity);
  EXPECT_EQ(lines[lines.size() - 1], "<END>");
  rows.push_back({1, 1});
  EXPECT_FALSE(buildReport(context(""), UnitReportInput{kmh, ms, rows}, lines));
}

}  // namespace
}  // namespace qz
