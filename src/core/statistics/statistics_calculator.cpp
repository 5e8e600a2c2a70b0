#include "statistics/statistics_calculator.h"

#include <cmath>

#include "numbers/messages.h"
#include "numbers/number_check.h"
#include "numbers/real_format.h"
#include "statistics/results_list.h"
#include "statistics/stat_section.h"

namespace qz {

StatisticsCalculator::StatisticsCalculator(SettingsStore& settings, Messenger& messenger)
    : m_settings(settings),
      m_messenger(messenger),
      m_mode(readStoredStatMode(settings)),
      m_grid(m_table, messenger, m_mode),
      m_fit(fitKindFromInt(settings.readInt(kStatModeSection, kStatFitKey, 0))) {
  m_engine.clearResults(m_mode);
  m_grid.setChangeHandler([this] { invalidate(); });
}

void StatisticsCalculator::invalidate() {
  m_resultsValid = false;
  m_lines.clear();
  m_shown.clear();
  m_extended = ExtendedResults{};
  m_highlighted = -1;
}

std::span<const StatRow> StatisticsCalculator::rows() const {
  return {&m_table.row(1), static_cast<std::size_t>(m_table.count())};
}

void StatisticsCalculator::listResults() {
  m_lines = buildResultsList(m_engine.results(), m_mode);
  m_extended = computeExtendedResults(rows(), m_mode, m_engine.results(), m_fit);
  m_shown = m_lines;
  for (std::string& line : extendedResultLines(extendedItems(m_extended, m_mode))) m_shown.push_back(std::move(line));
  m_resultsValid = true;
}

bool StatisticsCalculator::chooseFit(FitKind kind) {
  if (m_resultsValid && m_mode == StatMode::Pairs) {
    const FitOutcome outcome = fitCurve(rows(), kind);
    if (!outcome.fit) {
      ShowMessage(m_messenger, kCaptionImpossible, 0, outcome.message(), MessageStyle::Error);
      return false;
    }
  }
  m_fit = kind;
  m_settings.writeInt(kStatModeSection, kStatFitKey, static_cast<int>(kind));
  if (m_resultsValid) {
    const int highlighted = m_highlighted;
    listResults();
    // The described lines do not move; a highlighted extended line may be gone.
    m_highlighted = highlighted < static_cast<int>(m_lines.size()) ? highlighted : -1;
  }
  return true;
}

std::string StatisticsCalculator::trendSummary() const {
  if (!m_resultsValid || !m_engine.results().hasLine()) return {};
  const auto g = [](double v) { return formatDouble("%.9G", v); };
  if (m_mode == StatMode::Frequencies) {
    if (!m_extended.henry) return {};
    return "Loi normale de la droite de Henry :\nmoyenne = " + g(m_extended.henry->mean) + "\n\xE9" "cart type = " +
           g(m_extended.henry->sd) + "\nr\xB2 = " + g(m_engine.results().r2);
  }
  if (m_mode != StatMode::Pairs) return {};
  if (!m_extended.fit.fit) return m_extended.fit.message();
  const FitResult& fit = *m_extended.fit.fit;
  std::string text;
  for (const FitCoefficient& c : fit.coefficients) {
    text += c.name + " = " + g(c.value);
    if (c.se) text += "   s(" + c.name + ") = " + g(*c.se);
    text += "\n";
  }
  text += "r\xB2 = " + g(fit.r2);
  if (fit.kind == FitKind::Exponential || fit.kind == FitKind::Power) text += " (de l'ajustement de ln y)";
  return text;
}

bool StatisticsCalculator::typePrediction(PredictionField field, const std::string& typed) {
  std::string text = TypedNumberText(typed);
  if (text.size() > 25 || (!text.empty() && !CheckTypedNumber(text))) {
    SoundBeep(m_messenger, BeepKind::Warning);
    return false;
  }
  m_prediction[static_cast<int>(field)] = std::move(text);
  return true;
}

const std::string& StatisticsCalculator::predictionText(PredictionField field) const {
  return m_prediction[static_cast<int>(field)];
}

std::optional<double> StatisticsCalculator::predictionResult(PredictionField field) const {
  if (!m_resultsValid || m_mode != StatMode::Pairs || !m_extended.fit.fit) return std::nullopt;
  double typed = 0.0;
  if (!parseReal(predictionText(field), typed)) return std::nullopt;
  return field == PredictionField::YForX ? predictedY(m_extended, typed) : predictedX(m_extended, typed);
}

std::string StatisticsCalculator::predictionResultText(PredictionField field) const {
  const std::optional<double> result = predictionResult(field);
  return result ? formatDouble("%.9G", *result) : std::string();
}

void StatisticsCalculator::loadSection(const std::optional<std::string>& body) {
  readStatisticsSection(body, m_settings, m_mode, m_engine.results(), m_table);
  m_grid.setMode(m_mode);
  invalidate();
  if (m_engine.computeStatistics(m_table, m_mode)) listResults();
}

std::optional<std::string> StatisticsCalculator::sectionBody() const {
  return writeStatisticsSection(m_mode, m_engine.results(), m_table);
}

void StatisticsCalculator::clearTable(StatMode mode) {
  m_table.clear();
  m_engine.clearResults(mode);
  m_mode = mode;
  m_grid.setMode(mode);
  invalidate();
}

bool StatisticsCalculator::chooseMode(StatMode mode) {
  // Choosing the current mode again would only empty the table: ignored.
  if (mode == m_mode) return false;
  m_grid.closeEditor(true);
  if (!m_table.isEmpty() && !Confirm(m_messenger, kStatModeChangeQuestion)) return false;
  clearTable(mode);
  writeStoredStatMode(m_settings, mode);
  return true;
}

bool StatisticsCalculator::clearAll() {
  m_grid.closeEditor(true);
  if (!m_table.isEmpty() && !Confirm(m_messenger, kStatClearAllQuestion)) return false;
  clearTable(readStoredStatMode(m_settings));
  return true;
}

bool StatisticsCalculator::calculate() {
  m_grid.closeEditor();
  if (m_table.isEmpty()) {
    SoundBeep(m_messenger, BeepKind::Warning);
    return false;
  }
  if (m_grid.valueColumns() == 2 && !m_table.isFull() && m_grid.newRowFilled(0) != m_grid.newRowFilled(1)) {
    ShowMessage(m_messenger, kCaptionError, kStatMissingValue, {}, MessageStyle::Error);
    return false;
  }
  invalidate();
  if (!m_engine.computeStatistics(m_table, m_mode, &m_messenger)) return false;
  listResults();
  m_grid.clearSelection();
  return true;
}

void StatisticsCalculator::clickResultLine(int index) {
  m_highlighted = -1;
  if (!m_resultsValid || index < 0 || index >= static_cast<int>(m_shown.size())) return;
  if (!m_shown[static_cast<std::size_t>(index)].empty()) m_highlighted = index;
}

LineButton StatisticsCalculator::lineButton() const {
  switch (m_mode) {
    case StatMode::Frequencies:
      return LineButton::Henry;
    case StatMode::Pairs:
      return LineButton::Regression;
    default:
      return LineButton::None;
  }
}

bool StatisticsCalculator::lineButtonEnabled() const {
  if (!m_resultsValid || !m_engine.results().hasLine()) return false;
  switch (lineButton()) {
    case LineButton::Henry:
      return m_table.count() > 2;
    case LineButton::Regression:
      return m_table.count() > 1;
    default:
      return false;
  }
}

bool StatisticsCalculator::toolbarDeleteEnabled() const {
  const int cells = m_grid.selection().cells();
  return cells > 1 || (m_mode == StatMode::Values && cells == 1 && !m_grid.editorOpen());
}

CopyOutcome StatisticsCalculator::copy(bool editorFocused, char decimalSeparator) {
  CopyOutcome out;
  if (m_table.isEmpty()) {
    SoundBeep(m_messenger, BeepKind::Warning);
    return out;
  }
  if (m_resultsValid && m_highlighted >= 0) {
    if (auto number = resultLineNumber(m_shown[static_cast<std::size_t>(m_highlighted)])) {
      out.kind = CopyOutcome::Kind::Text;
      out.text = *number;
    }
    return out;
  }
  if (editorFocused) {
    out.kind = CopyOutcome::Kind::EditorCopies;
    return out;
  }
  auto text = m_grid.selectionText(decimalSeparator);
  if (!text) {
    ShowMessage(m_messenger, kCaptionAttention, kGridCopyImpossible, {}, MessageStyle::Warning);
    return out;
  }
  out.kind = CopyOutcome::Kind::Text;
  out.text = *text;
  out.ourCells = true;
  return out;
}

std::optional<double> StatisticsCalculator::highlightedValue(char decimalSeparator) const {
  if (!m_resultsValid || m_highlighted < 0) return std::nullopt;
  auto number = resultLineNumber(m_shown[static_cast<std::size_t>(m_highlighted)]);
  if (!number) return std::nullopt;
  std::string text = LocalisePoint(*number, decimalSeparator);
  if (!CheckNumberText(text, 3, true)) return std::nullopt;
  double value = 0.0;
  if (!parseReal(text, value)) return std::nullopt;
  return value;
}

bool StatisticsCalculator::useMemoryValue(double value) {
  if (!m_grid.editorOpen()) return false;
  const bool countColumn = m_mode == StatMode::Frequencies && m_grid.currentColumn() == 1;
  std::string text = FormatReal(value, countColumn ? FormatMode::Integer : FormatMode::Free);
  if (!m_grid.setEditorText(text)) return false;
  invalidate();
  return true;
}

DiagramSeries makeDiagramSeries(const StatEngine& engine, const StatTable& table, StatMode mode,
                                const ExtendedResults* extended) {
  DiagramSeries series;
  series.a = engine.results().a;
  series.b = engine.results().b;
  if (mode == StatMode::Frequencies) {
    const auto& rows = engine.henryRows();
    if (rows.size() > 1) series.points.assign(rows.begin(), rows.end() - 1);
    series.axes = {AxisScale::Linear, AxisScale::Probit};
  } else if (mode == StatMode::Pairs) {
    for (int i = 1; i <= table.count(); ++i) series.points.push_back(table.row(i));
    series.axes = {AxisScale::Linear, AxisScale::Linear};
  }
  if (!extended || !engine.results().hasLine()) return series;
  if (mode == StatMode::Frequencies && extended->henry) {
    series.equation = "moyenne = " + formatDouble("%.6G", extended->henry->mean) + "   \xE9" "cart type = " +
                      formatDouble("%.6G", extended->henry->sd) + "   r\xB2 = " +
                      formatDouble("%.6G", engine.results().r2);
  } else if (mode == StatMode::Pairs && extended->fit.fit) {
    const FitResult& fit = *extended->fit.fit;
    series.equation = fit.equation();
    if (fit.kind != FitKind::Linear) series.curve = [fit](double x) { return fit.evaluate(x); };
  }
  return series;
}

DiagramSeries StatisticsCalculator::diagramSeries() const {
  return makeDiagramSeries(m_engine, m_table, m_mode, m_resultsValid ? &m_extended : nullptr);
}

}  // namespace qz
