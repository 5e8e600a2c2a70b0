#include "statistics/statistics_calculator.h"

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
      m_grid(m_table, messenger, m_mode) {
  m_engine.clearResults(m_mode);
  m_grid.setChangeHandler([this] { invalidate(); });
}

void StatisticsCalculator::invalidate() {
  m_resultsValid = false;
  m_lines.clear();
  m_highlighted = -1;
}

void StatisticsCalculator::loadSection(const std::optional<std::string>& body) {
  readStatisticsSection(body, m_settings, m_mode, m_engine.results(), m_table);
  m_grid.setMode(m_mode);
  invalidate();
  if (m_engine.computeStatistics(m_table, m_mode)) {
    m_lines = buildResultsList(m_engine.results(), m_mode);
    m_resultsValid = true;
  }
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
  m_lines = buildResultsList(m_engine.results(), m_mode);
  m_resultsValid = true;
  m_grid.clearSelection();
  return true;
}

void StatisticsCalculator::clickResultLine(int index) {
  m_highlighted = -1;
  if (!m_resultsValid || index < 0 || index >= static_cast<int>(m_lines.size())) return;
  if (!m_lines[static_cast<std::size_t>(index)].empty()) m_highlighted = index;
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
    if (auto number = resultLineNumber(m_lines[static_cast<std::size_t>(m_highlighted)])) {
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
  auto number = resultLineNumber(m_lines[static_cast<std::size_t>(m_highlighted)]);
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

DiagramSeries makeDiagramSeries(const StatEngine& engine, const StatTable& table, StatMode mode) {
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
  return series;
}

DiagramSeries StatisticsCalculator::diagramSeries() const {
  return makeDiagramSeries(m_engine, m_table, m_mode);
}

}  // namespace qz
