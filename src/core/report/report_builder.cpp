#include "report/report_builder.h"

#include <algorithm>
#include <utility>

#include "files/display_path.h"
#include "geometry/figure_data.h"
#include "geometry/geo_variable.h"
#include "numbers/cp1252.h"
#include "numbers/markup.h"
#include "numbers/real_format.h"
#include "scientific/scientific_state.h"
#include "standard/tape.h"
#include "standard/tape_lines.h"
#include "statistics/stat_engine.h"
#include "statistics/stat_table.h"
#include "units/unit_analysis.h"
#include "units/unit_conversion.h"
#include "units/unit_record.h"

namespace qz {

namespace {

// Appends lines until one is refused; from then on every further line is
// ignored, so that a builder can write straight through and ask at the end.
class ReportWriter {
 public:
  explicit ReportWriter(ReportLines& lines) : m_lines(lines) { m_lines.clear(); }
  void add(std::string_view text) {
    if (m_ok) m_ok = m_lines.addReportLine(text);
  }
  void empty() { add(""); }
  bool ok() const { return m_ok; }

 private:
  ReportLines& m_lines;
  bool m_ok = true;
};

// Pads to `width` characters as they show: markup codes take no room.
std::string padded(std::string text, int width) {
  const int shown = static_cast<int>(stripMarkup(convertMarkup(text)).size());
  if (shown < width) text.append(static_cast<std::size_t>(width - shown), ' ');
  return text;
}

bool hasFileName(const ReportContext& context) { return !context.documentPath.empty(); }

void writeHeader(const ReportContext& context, ReportWriter& out) {
  if (!hasFileName(context)) return;
  out.add(kReportRule);
  out.empty();
  out.add("Fichier ... : " + reportPathText(context.documentPath));
  out.add("Date ...... : " + context.dateStamp);
  out.empty();
  out.add(kReportRule);
  out.empty();
}

void writeSeparator(ReportWriter& out) {
  out.empty();
  out.add(kReportRule);
  out.empty();
}

void writeTrailer(const ReportContext& context, bool geometric, ReportWriter& out) {
  if (hasFileName(context) && !geometric) {
    out.empty();
    out.add(kReportRule);
  }
  out.add(kReportEnd);
}

// A results line: label, value.
std::string resultLine(std::string_view label, const std::string& value) {
  return std::string(label) + value;
}

void writeStatisticsResults(const ReportContext& context, const StatisticsReportInput& input,
                            ReportWriter& out) {
  const StatResults& r = input.results;
  const auto x = [](double v) { return exchangeText(v); };
  out.add(resultLine("\\Bn ........ =\\B ", std::to_string(r.n)) + " \\G(nombre total de r\xE9sultats)");
  out.empty();
  switch (input.mode) {
    case StatMode::Values:
      out.add(resultLine("\\B\\gS\\gx ....... =\\B ", x(r.sumX)));
      out.add(resultLine("\\B\\gS\\gx\\e2\\e ...... =\\B ", x(r.sumX2)));
      out.empty();
      out.add(resultLine("\\B\\ox\\o ........ =\\B ", x(r.meanX)));
      out.empty();
      out.add(resultLine("\\Bvar(x) ... =\\B ", x(r.varX)));
      out.empty();
      out.add(resultLine("\\B\\gs\\g\\sx\\s ....... =\\B ", x(r.sigmaX)));
      out.empty();
      if (r.sX >= 0.0) out.add(resultLine("\\Bs\\sx\\s ....... =\\B ", x(r.sX)));
      break;
    case StatMode::Frequencies:
      out.add(resultLine("\\B\\gS\\gnx ...... =\\B ", x(r.sumX)));
      out.add(resultLine("\\B\\gS\\gnx\\e2\\e ..... =\\B ", x(r.sumX2)));
      out.empty();
      out.add(resultLine("\\B\\ox\\o ........ =\\B ", x(r.meanX)));
      out.empty();
      out.add(resultLine("\\Bvar(x) ... =\\B ", x(r.varX)));
      out.add(resultLine("\\B\\gs\\g\\sx\\s ....... =\\B ", x(r.sigmaX)));
      if (r.sX >= 0.0) out.add(resultLine("\\Bs\\sx\\s ....... =\\B ", x(r.sX)));
      out.empty();
      if (r.hasLine()) out.add(resultLine("\\Br\\e2\\e........ =\\B ", x(r.r2)));
      break;
    case StatMode::Pairs:
      out.add(resultLine("\\B\\gS\\gx ....... =\\B ", x(r.sumX)));
      out.add(resultLine("\\B\\gS\\gx\\e2\\e ...... =\\B ", x(r.sumX2)));
      out.add(resultLine("\\B\\gS\\gy ....... =\\B ", x(r.sumY)));
      out.add(resultLine("\\B\\gS\\gy\\e2\\e ...... =\\B ", x(r.sumY2)));
      out.add(resultLine("\\B\\gS\\gxy ...... =\\B ", x(r.sumXY)));
      out.empty();
      out.add(resultLine("\\B\\ox\\o ........ =\\B ", x(r.meanX)));
      out.add(resultLine("\\B\\oy\\o ........ =\\B ", x(r.meanY)));
      out.empty();
      out.add(resultLine("\\Bvar(x) ... =\\B ", x(r.varX)));
      out.add(resultLine("\\Bvar(y) ... =\\B ", x(r.varY)));
      out.add(resultLine("\\Bcov(x,y) . =\\B ", x(r.covXY)));
      out.empty();
      // Each deviation under its own symbol, as in mode 0: the population
      // deviations always, the sample deviations when they exist.
      out.add(resultLine("\\B\\gs\\g\\sx\\s ....... =\\B ", x(r.sigmaX)));
      out.add(resultLine("\\B\\gs\\g\\sy\\s ....... =\\B ", x(r.sigmaY)));
      if (r.sX >= 0.0) out.add(resultLine("\\Bs\\sx\\s ....... =\\B ", x(r.sX)));
      if (r.sY >= 0.0) out.add(resultLine("\\Bs\\sy\\s ....... =\\B ", x(r.sY)));
      out.empty();
      if (r.hasLine()) {
        out.add(resultLine("\\Ba ........ =\\B ", x(r.a)) + " \\G(y = a.x + b)");
        out.add(resultLine("\\Bb ........ =\\B ", x(r.b)));
        out.add(resultLine("\\Br\\e2\\e........ =\\B ", formatDouble("%G", r.r2)) +
                " \\G(coefficient de corr\xE9lation)");
      }
      break;
  }
  if (!input.extendedLines.empty()) {
    out.empty();
    for (const std::string& line : input.extendedLines) out.add(line);
  }
  if (context.exporting && context.options.line && input.mode != StatMode::Values) {
    out.add(kReportPageBreak);
    out.add(kReportDiagram);
  }
}

// Names of the variables of the figure on screen whose value was computed.
std::vector<int> computedVariables(const VariableTable& table, const FigureData& data) {
  std::vector<int> result;
  for (int i = 0; i < table.size(); ++i) {
    const GeoVariable& v = table.at(i);
    if (v.subFigure != data.subFigure || v.kind == 'V' || v.kind == 'C' || v.name.empty()) continue;
    if (v.state != kKnown || v.given != 0) continue;
    bool isRow = false;
    for (int r = 0; r < data.rows && r < kKnownRowCapacity; ++r)
      if (data.row[static_cast<std::size_t>(r)].variable == i) isRow = true;
    if (!isRow) result.push_back(i);
  }
  return result;
}

}  // namespace

ReportContext makeReportContext(std::string documentPath, int lineWidth, bool exporting,
                                ReportOptions options) {
  ReportContext context;
  context.documentPath = std::move(documentPath);
  context.dateStamp = FormatDateStamp(true);
  context.lineWidth = lineWidth;
  context.exporting = exporting;
  context.options = options;
  return context;
}

int reportColumnWidth(const std::vector<double>& values, int minimum) {
  std::size_t longest = 0;
  for (double v : values) longest = std::max(longest, exchangeText(v).size());
  return std::max(static_cast<int>(longest) + 4, minimum);
}

std::string reportPathText(const std::string& documentPath) {
  std::string text = utf8ToCp1252(DisplayPath(documentPath));
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += '\xA4';
    else
      out += c;
  }
  return out;
}

std::vector<std::string> expressionReportLines(std::string_view expression, int lineWidth) {
  std::string_view body = expression.size() > 2 ? expression.substr(2) : std::string_view{};
  // A cut needs at least one character per piece, whatever the page.
  const std::size_t window = static_cast<std::size_t>(std::max(lineWidth - 3, 1));
  const std::size_t longest = static_cast<std::size_t>(std::max(lineWidth - 2, 1));
  std::vector<std::string> lines;
  std::string prefix = "y=";
  while (body.size() > longest) {
    std::size_t cut = window;
    const std::size_t op = body.substr(0, window).find_last_of("*/+-");
    if (op != std::string_view::npos && op > 0) cut = op;
    lines.push_back(prefix + std::string(body.substr(0, cut)));
    body.remove_prefix(cut);
    prefix = "  ";
  }
  lines.push_back(prefix + std::string(body));
  return lines;
}

bool buildReport(const ReportContext& context, const StandardReportInput& input, ReportLines& lines) {
  ReportWriter out(lines);
  writeHeader(context, out);
  for (int i = 0; i < input.tape.count() && out.ok(); ++i) out.add(tapeLine(input.tape[i]).markupText());
  writeTrailer(context, false, out);
  return out.ok();
}

bool buildReport(const ReportContext& context, const ScientificReportInput& input, ReportLines& lines) {
  ReportWriter out(lines);
  writeHeader(context, out);
  out.add("\\B\\bFonction :");
  for (const std::string& piece : expressionReportLines(input.state.expression, context.lineWidth))
    out.add(piece);
  std::vector<std::string> constants;
  std::string current;
  for (char c : input.state.constants) {
    if (c == '\r') continue;
    if (c == '\n') {
      if (!current.empty()) constants.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) constants.push_back(current);
  if (!constants.empty()) {
    out.empty();
    out.add(choosePlural("\\B\\bConstante{|s} :", static_cast<long long>(constants.size())));
    for (const std::string& line : constants) out.add(line);
  }
  writeSeparator(out);

  std::vector<double> xs;
  for (const ResultPair& pair : input.state.results) xs.push_back(pair.x);
  const int width = reportColumnWidth(xs, 5);
  out.add(kReportTableStart);
  out.add("\\b" + padded("x", width) + "y");
  for (const ResultPair& pair : input.state.results) {
    if (!out.ok()) break;
    out.add(padded(exchangeText(pair.x), width) + exchangeText(pair.y));
  }
  out.add(kReportTableEnd);
  writeTrailer(context, false, out);
  return out.ok();
}

bool buildReport(const ReportContext& context, const StatisticsReportInput& input, ReportLines& lines) {
  ReportWriter out(lines);
  writeHeader(context, out);
  if (context.options.data) {
    const bool twoColumns = input.mode != StatMode::Values;
    std::vector<double> xs;
    for (int row = 1; row <= input.table.count(); ++row) xs.push_back(input.table.row(row).x);
    const int width = reportColumnWidth(xs);
    out.add(kReportTableStart);
    std::string header = "\\b" + padded("X", width);
    if (twoColumns) header += input.mode == StatMode::Frequencies ? "N" : "Y";
    out.add(header);
    for (int row = 1; row <= input.table.count() && out.ok(); ++row) {
      const StatRow& values = input.table.row(row);
      std::string line = padded(exchangeText(values.x), width);
      if (twoColumns) line += exchangeText(values.second);
      out.add(line);
    }
    out.add(kReportTableEnd);
  }
  writeSeparator(out);
  writeStatisticsResults(context, input, out);
  writeTrailer(context, false, out);
  return out.ok();
}

bool buildReport(const ReportContext& context, const GeometricReportInput& input, ReportLines& lines) {
  ReportWriter out(lines);
  writeHeader(context, out);
  const VariableTable& table = input.table;
  const FigureData& data = input.data;
  std::vector<std::pair<std::string, double>> given;
  for (int r = 0; r < data.rows && r < kKnownRowCapacity; ++r) {
    const KnownRow& row = data.row[static_cast<std::size_t>(r)];
    if (row.variable < 0 || row.variable >= table.size()) continue;
    given.emplace_back(table.at(row.variable).name, row.value);
  }
  std::vector<std::pair<std::string, double>> computed;
  for (int i : computedVariables(table, data)) computed.emplace_back(table.at(i).name, table.at(i).value);
  // One label width for both lists keeps every "=" of the report in one column.
  std::size_t labelWidth = 0;
  for (const auto& [name, value] : given) labelWidth = std::max(labelWidth, name.size());
  for (const auto& [name, value] : computed) labelWidth = std::max(labelWidth, name.size());
  const auto datumLine = [&](const std::pair<std::string, double>& datum) {
    return padded(datum.first, static_cast<int>(labelWidth)) + " = " + exchangeText(datum.second);
  };

  out.add("\\G\\bFigure :");
  if (context.exporting) out.empty();
  out.add(kReportFigure);
  out.empty();
  out.add(input.figureName);
  out.empty();
  out.add(
      "\\B\\bDonn\xE9"
      "es :");
  out.empty();
  for (const auto& datum : given) out.add(datumLine(datum));
  out.empty();
  out.add(
      "\\B\\bValeurs calcul\xE9"
      "es :");
  out.empty();
  for (const auto& datum : computed) out.add(datumLine(datum));
  writeTrailer(context, true, out);
  return out.ok();
}

bool buildReport(const ReportContext& context, const UnitReportInput& input, ReportLines& lines) {
  ReportWriter out(lines);
  writeHeader(context, out);
  out.add("\\B\\bUnit\xE9 courante :\\b\\B " + UnitText(input.current));
  out.add("\\B\\bNouvelle unit\xE9 :\\b\\B " + UnitText(input.target));
  writeSeparator(out);
  std::vector<double> values;
  for (const ConversionRow& row : input.conversions) values.push_back(row.value);
  const int width = reportColumnWidth(values);
  out.add(kReportTableStart);
  out.add("\\b" + padded(UnitText(input.current), width) + UnitText(input.target));
  for (const ConversionRow& row : input.conversions) {
    if (!out.ok()) break;
    out.add(padded(exchangeText(row.value), width) + exchangeText(row.result));
  }
  out.add(kReportTableEnd);
  writeTrailer(context, false, out);
  return out.ok();
}

}  // namespace qz
