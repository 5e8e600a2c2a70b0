#include "report/report_source.h"

#include "geometry/figure_drawing.h"
#include "geometry/geometry_model.h"
#include "scientific/scientific_state.h"
#include "standard/tape.h"
#include "statistics/diagram_renderer.h"
#include "statistics/statistics_calculator.h"
#include "units/units_model.h"

namespace qz {

namespace {

class StandardSource : public ReportSource {
 public:
  explicit StandardSource(const Tape& tape) : m_tape(tape) {}
  int calculator() const override { return 0; }
  bool hasReport() const override { return !m_tape.empty(); }
  bool build(const ReportContext& context, ReportLines& lines) const override {
    return buildReport(context, StandardReportInput{m_tape}, lines);
  }

 private:
  const Tape& m_tape;
};

class ScientificSource : public ReportSource {
 public:
  explicit ScientificSource(const ScientificState& state) : m_state(state) {}
  int calculator() const override { return 1; }
  bool hasReport() const override { return scientificReportWanted(m_state); }
  bool build(const ReportContext& context, ReportLines& lines) const override {
    return buildReport(context, ScientificReportInput{m_state}, lines);
  }

 private:
  const ScientificState& m_state;
};

class StatisticsSource : public ReportSource {
 public:
  StatisticsSource(const StatisticsCalculator& calculator, bool extended)
      : m_calculator(calculator), m_extended(extended) {}
  int calculator() const override { return 2; }
  bool hasReport() const override { return m_calculator.canPrint(); }
  bool build(const ReportContext& context, ReportLines& lines) const override {
    return buildReport(context,
                       StatisticsReportInput{m_calculator.table(), m_calculator.mode(),
                                             m_calculator.engine().results(),
                                             m_extended ? extendedReportLines(m_calculator.extended(),
                                                                              m_calculator.mode())
                                                        : std::vector<std::string>{}},
                       lines);
  }
  FigureDrawer diagram() const override {
    if (!m_calculator.lineButtonEnabled()) return {};
    // The series is taken now: the drawing may run after the table changed.
    return [series = m_calculator.diagramSeries()](Canvas& canvas, Rect box) {
      DiagramStyle style;
      style.fillArea = false;
      drawDiagram(canvas, box, series, style);
    };
  }
  int optionsMode() const override { return static_cast<int>(m_calculator.mode()); }

 private:
  const StatisticsCalculator& m_calculator;
  bool m_extended;
};

class GeometricSource : public ReportSource {
 public:
  explicit GeometricSource(GeometryModel& model) : m_model(model) {}
  int calculator() const override { return 3; }
  bool hasReport() const override { return m_model.loaded() && m_model.hasResults(); }
  bool build(const ReportContext& context, ReportLines& lines) const override {
    const std::vector<std::string> names = m_model.figureNames();
    const int index = m_model.listIndex();
    const std::string name =
        index >= 0 && index < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(index)] : "";
    return buildReport(context, GeometricReportInput{name, m_model.table(), m_model.data()}, lines);
  }
  FigureDrawer figure(bool exporting) const override {
    if (!m_model.loaded()) return {};
    // Drawing records the labels' places in the table it draws from: a copy
    // keeps the window's click targets where the screen shows them.
    return [table = m_model.table(), &layout = m_model.layout(), sub = m_model.subFigure(), exporting](
               Canvas& canvas, Rect box) mutable {
      FigureDrawOptions options;
      options.background = Rgb{255, 255, 255};
      options.fillFrame = false;
      options.forExport = exporting;
      DrawFigure(canvas, box, table, layout, sub, options);
    };
  }

 private:
  GeometryModel& m_model;
};

class UnitsSource : public ReportSource {
 public:
  explicit UnitsSource(const UnitsModel& model) : m_model(model) {}
  int calculator() const override { return 4; }
  bool hasReport() const override { return !m_model.rows().empty(); }
  bool build(const ReportContext& context, ReportLines& lines) const override {
    return buildReport(context, UnitReportInput{m_model.unit(UnitConversion::kCurrent), m_model.unit(UnitConversion::kNew), m_model.rows()}, lines);
  }

 private:
  const UnitsModel& m_model;
};

}  // namespace

std::unique_ptr<ReportSource> standardReportSource(const Tape& tape) { return std::make_unique<StandardSource>(tape); }
std::unique_ptr<ReportSource> scientificReportSource(const ScientificState& state) {
  return std::make_unique<ScientificSource>(state);
}
std::unique_ptr<ReportSource> statisticsReportSource(const StatisticsCalculator& calculator,
                                                     bool extendedResults) {
  return std::make_unique<StatisticsSource>(calculator, extendedResults);
}
std::unique_ptr<ReportSource> geometricReportSource(GeometryModel& model) {
  return std::make_unique<GeometricSource>(model);
}
std::unique_ptr<ReportSource> unitsReportSource(const UnitsModel& model) {
  return std::make_unique<UnitsSource>(model);
}

}  // namespace qz
