// What each calculator hands the report: its lines, the pictures drawn at the
// "<GEOMETRIC>" and "<DIAGRAM>" lines, and whether the options dialog is asked.
// The desktop program and qz-cli both go through these, so a calculator's
// report is made one way whatever prints or exports it.
#pragma once

#include <memory>

#include "report/report_builder.h"
#include "report/report_layout.h"

namespace qz {

class Tape;
struct ScientificState;
class StatisticsCalculator;
class GeometryModel;
class UnitsModel;

class ReportSource {
 public:
  virtual ~ReportSource() = default;
  /// 0 standard, 1 scientific, 2 statistics, 3 geometric, 4 unit conversion.
  virtual int calculator() const = 0;
  /// Whether the calculator holds what a report shows (the windows enable
  /// their print and export commands on it).
  virtual bool hasReport() const = 0;
  /// Fills `lines`; false when the report does not fit in ReportLines.
  virtual bool build(const ReportContext& context, ReportLines& lines) const = 0;
  /// Draws the geometric figure in its box; empty for the other calculators.
  /// `exporting` draws the labels a little smaller, as the export wants.
  virtual FigureDrawer figure(bool exporting) const {
    (void)exporting;
    return {};
  }
  /// Draws the statistics diagram in its square; empty when there is none.
  virtual FigureDrawer diagram() const { return {}; }
  /// The statistics mode (0 to 2) when the "Éléments à imprimer..." dialog
  /// comes before printing or exporting; -1 for the other calculators.
  virtual int optionsMode() const { return -1; }
};

/// The report of each calculator over its live state; the source reads the
/// state when asked, so it must not outlive it.
std::unique_ptr<ReportSource> standardReportSource(const Tape& tape);
std::unique_ptr<ReportSource> scientificReportSource(const ScientificState& state);
/// With `extendedResults`, the statistics report goes on after the described
/// results with the descriptive statistics, the uncertainty and the chosen fit.
std::unique_ptr<ReportSource> statisticsReportSource(const StatisticsCalculator& calculator,
                                                     bool extendedResults = false);
std::unique_ptr<ReportSource> geometricReportSource(GeometryModel& model);
std::unique_ptr<ReportSource> unitsReportSource(const UnitsModel& model);

}  // namespace qz
