// Builds the calculation report of each calculator: header with the document
// path and date, the calculator's data, its results and the layout tags.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/report_lines.h"

namespace qz {

class Tape;
struct ScientificState;
class StatTable;
struct StatResults;
enum class StatMode;
class VariableTable;
struct FigureData;
struct UnitRecord;
struct ConversionRow;

/// The choices of the "Éléments à imprimer..." / "Éléments à exporter..."
/// dialog; both start unchecked each time it opens.
struct ReportOptions {
  bool data = false;  ///< include the statistics data table
  bool line = false;  ///< export only, not in mode 0: the diagram on a page of its own
};

/// Everything a report needs besides the calculator's state.
struct ReportContext {
  std::string documentPath;  ///< native (UTF-8) path; empty when the document has no file name
  std::string dateStamp;     ///< the header's date, normally FormatDateStamp(true)
  int lineWidth = 80;        ///< characters a report line holds on the page
  bool exporting = false;    ///< RTF export rather than printing
  ReportOptions options;
};

/// A context stamped with the current local date and time.
ReportContext makeReportContext(std::string documentPath, int lineWidth, bool exporting,
                                ReportOptions options = {});

/// Width of a value column: the greatest length of the "%.12G" texts of
/// `values` plus 4, and at least `minimum`.
int reportColumnWidth(const std::vector<double>& values, int minimum = 0);

/// The path as the report header writes it: the display form of the path
/// (drive-letter paths re-cased, POSIX paths as they are), in code page 1252,
/// every backslash written as the literal-backslash sign so that no part of
/// a name is read as a markup code.
std::string reportPathText(const std::string& documentPath);

/// A scientific expression ("y=..." as stored) as report lines: "y=" and the
/// expression after its first two characters, cut for `lineWidth` before the
/// last operator "*/+-" within the first lineWidth - 3 characters (or at
/// lineWidth - 3 when there is none); later pieces start with two spaces.
std::vector<std::string> expressionReportLines(std::string_view expression, int lineWidth);

/// The calculation inputs of each calculator.
struct StandardReportInput {
  const Tape& tape;
};
struct ScientificReportInput {
  const ScientificState& state;
};
struct StatisticsReportInput {
  const StatTable& table;
  StatMode mode;
  const StatResults& results;
  /// Written after the described results, after an empty line (backslash
  /// markup): the descriptive statistics, the uncertainty and the chosen fit.
  std::vector<std::string> extendedLines = {};
};
struct GeometricReportInput {
  std::string figureName;  ///< the figure's name line from the catalogue (code page 1252 markup)
  const VariableTable& table;
  const FigureData& data;  ///< known data of the figure on screen (its sub-figure included)
};
struct UnitReportInput {
  const UnitRecord& current;
  const UnitRecord& target;
  const std::vector<ConversionRow>& conversions;
};

/// Each clears `lines` and fills it with the report of one calculator, ending
/// with "<END>". False when the report does not fit in ReportLines (the
/// caller shows string kReportFailedText and prints or exports nothing);
/// `lines` then holds the lines that fitted.
bool buildReport(const ReportContext& context, const StandardReportInput& input, ReportLines& lines);
bool buildReport(const ReportContext& context, const ScientificReportInput& input, ReportLines& lines);
bool buildReport(const ReportContext& context, const StatisticsReportInput& input, ReportLines& lines);
bool buildReport(const ReportContext& context, const GeometricReportInput& input, ReportLines& lines);
bool buildReport(const ReportContext& context, const UnitReportInput& input, ReportLines& lines);

}  // namespace qz
