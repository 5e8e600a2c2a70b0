#include "geometry/geometry_model.h"

#include <algorithm>
#include <cmath>

#include "geometry/figure_drawing.h"
#include "numbers/messages.h"
#include "numbers/number_check.h"
#include "numbers/real_format.h"

namespace qz {

namespace {

// The in-place editor holds 25 characters at most.
constexpr size_t kEditorLength = 25;

}  // namespace

GeometryModel::GeometryModel(std::string dataFolder, Messenger& messenger)
    : m_dataFolder(std::move(dataFolder)),
      m_messenger(messenger),
      m_loader(m_dataFolder, messenger),
      m_table(&messenger),
      m_solver(m_table, &messenger) {}

void GeometryModel::readSection(const std::optional<std::string>& body) {
  if (body) {
    ReadGeoSection(*body, m_doc);
  } else {
    m_doc.reset();
  }
  m_lastFigure[static_cast<size_t>(m_doc.dimension)] = m_doc.figure;
  m_selectedRow = -1;
  forgetResult();
  m_loaded = false;
}

void GeometryModel::clearAll() {
  readSection(std::nullopt);
  load();
}

bool GeometryModel::load() {
  forgetResult();
  m_selectedRow = -1;
  FigureData& d = data();
  m_loaded = m_loader.LoadFigure(m_doc.dimension, m_doc.figure, d.subFigure, m_table, d);
  if (!m_loaded) return false;
  m_lastFigure[static_cast<size_t>(m_doc.dimension)] = m_doc.figure;
  compute(false);
  return true;
}

bool GeometryModel::chooseDimension(int dimension) {
  dimension = dimension != 0 ? kDimensionSolid : kDimensionPlane;
  if (dimension == m_doc.dimension) return false;
  m_lastFigure[static_cast<size_t>(m_doc.dimension)] = m_doc.figure;
  m_doc.dimension = dimension;
  m_doc.figure = m_lastFigure[static_cast<size_t>(dimension)];
  load();
  return true;
}

bool GeometryModel::chooseFigure(int listIndex) {
  const int first = m_doc.dimension ? kPlaneFigureCount : 0;
  const int last = m_doc.dimension ? kFigureCount : kPlaneFigureCount;
  const int figure = listIndex + first;
  if (figure < first || figure >= last) return false;
  m_doc.figure = figure;
  return load();
}

bool GeometryModel::chooseSubFigure(int subFigure) {
  if (subFigure < 0 || subFigure >= static_cast<int>(layout().subFigures.size())) return false;
  data().subFigure = subFigure;
  return load();
}

bool GeometryModel::clearFigure() {
  data().clear();
  return load();
}

std::vector<std::string> GeometryModel::figureNames() const {
  // The loader holds the catalogue of the figure loaded; after a failed load
  // there is no list (and no second message about the same file).
  if (m_loader.loadedDimension() != m_doc.dimension) return {};
  return m_loader.figureNames();
}

void GeometryModel::compute(bool explicitRequest) {
  if (!m_loaded) return;
  m_solver.setExplicitRequest(explicitRequest);
  m_solver.ComputeFigure(m_doc.figure, data());
  m_solver.setExplicitRequest(false);
  m_changed = false;
  // The shown result follows the computation: its variable's new value, or
  // nothing when it could not be found this time.
  if (m_resultShown) {
    const int index = m_table.lookupVariable(m_resultName, true);
    if (index >= m_table.predefinedCount() && m_table.at(index).state == kKnown) {
      m_resultValue = m_table.at(index).value;
    } else {
      forgetResult();
    }
  }
}

bool GeometryModel::hasResults() const {
  if (!m_loaded) return false;
  int known = 0;
  for (int i = m_table.predefinedCount(); i < m_table.size(); ++i) {
    const GeoVariable& v = m_table.at(i);
    if (v.shown && v.kind != 'V' && v.state == kKnown) ++known;
  }
  return known > data().rows;
}

std::string GeometryModel::rowName(int r) const {
  if (r < 0 || r >= rows()) return {};
  const int index = data().row[static_cast<size_t>(r)].variable;
  if (index < 0 || index >= m_table.size()) return {};
  return m_table.at(index).name;
}

std::string GeometryModel::rowText(int r) const {
  if (r < 0 || r >= rows()) return {};
  return FormatReal(rowValue(r), "%G", 0, 0);
}

bool GeometryModel::acceptsTyping(int r, std::string& text) const {
  if (r < 0 || r >= rows()) return false;
  if (text.size() > kEditorLength) return false;
  const KnownRow& row = data().row[static_cast<size_t>(r)];
  text = TypedNumberText(text);
  return text.empty() || CheckNumberText(text, row.numberKind, row.negative != 0);
}

int GeometryModel::commitRow(int r, const std::string& input, double& messageValue) {
  messageValue = 0.0;
  if (r < 0 || r >= rows()) return 0;
  // The editor shows the value with six digits: left as shown, the row keeps
  // its exact value (a computed value taken as a datum stays exact).
  if (input == rowText(r)) {
    compute(false);
    return 0;
  }
  std::string text = input.substr(0, kEditorLength);
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  std::replace(text.begin(), text.end(), ',', '.');
  if (text.empty()) return 250;
  double value = 0.0;
  if (!parseReal(text, value)) return 10;
  KnownRow& row = data().row[static_cast<size_t>(r)];
  if (value == row.forbidden1 || value == row.forbidden2) {
    messageValue = value;
    return 33;
  }
  if (value < row.minimum) {
    messageValue = std::abs(row.minimum) <= 5e-308 ? 0.0 : row.minimum;
    return 7;
  }
  if (value > row.maximum) {
    messageValue = row.maximum;
    return 6;
  }
  ClampReal(value);
  row.value = value;
  compute(false);
  return 0;
}

int GeometryModel::variableAt(Point p) const {
  if (!m_loaded) return -1;
  const int index = variableAtPoint(m_table, subFigure(), p);
  if (index < m_table.predefinedCount() || m_table.at(index).kind == 'V') return -1;
  return index;
}

bool GeometryModel::showsValue(int index) const {
  if (index < 0 || index >= m_table.size()) return false;
  const GeoVariable& v = m_table.at(index);
  return v.given || v.state != kUnknown;
}

LabelClick GeometryModel::clickVariable(int index) {
  if (index < m_table.predefinedCount() || index >= m_table.size()) return LabelClick::Nothing;
  if (m_table.at(index).kind == 'V' || !m_table.at(index).shown) return LabelClick::Nothing;
  if (showsValue(index)) {
    if (m_changed) compute(false);
    const GeoVariable& v = m_table.at(index);
    if (v.state != kKnown) {
      ShowMessage(m_messenger, kCaptionError, 31, {}, MessageStyle::Error);
      return LabelClick::Incalculable;
    }
    m_resultShown = true;
    m_resultName = v.name;
    m_resultValue = v.value;
    return LabelClick::ResultShown;
  }
  if (m_table.at(index).kind == 'R') return LabelClick::Nothing;
  // The figure's starting value, not what an earlier computation left.
  m_table.at(index).value = m_table.at(index).startValue;
  return appendRow(index);
}

bool GeometryModel::canTakeAsDatum(int index) const {
  if (!m_loaded || index < m_table.predefinedCount() || index >= m_table.size()) return false;
  const GeoVariable& v = m_table.at(index);
  return v.shown && v.kind != 'V' && v.kind != 'R';
}

LabelClick GeometryModel::takeAsDatum(int index) {
  if (!canTakeAsDatum(index)) return LabelClick::Nothing;
  const int row = rowOfVariable(index);
  if (row >= 0) {
    m_selectedRow = row;
    return LabelClick::RowSelected;
  }
  if (m_changed) compute(false);
  GeoVariable& v = m_table.at(index);
  if (v.state != kKnown) v.value = v.startValue;
  return appendRow(index);
}

LabelClick GeometryModel::appendRow(int index) {
  if (!data().addRow(m_table, index)) {
    ShowMessage(m_messenger, kCaptionAttention, 0, kGridFullText, MessageStyle::Warning);
    return LabelClick::GridFull;
  }
  compute(false);
  m_selectedRow = rows() - 1;
  return LabelClick::RowAdded;
}

int GeometryModel::rowOfVariable(int index) const {
  for (int r = 0; r < rows(); ++r) {
    if (data().row[static_cast<size_t>(r)].variable == index) return r;
  }
  return -1;
}

bool GeometryModel::removeRow(int r) {
  if (r < 0 || r >= rows()) return false;
  FigureData& d = data();
  std::move(d.row.begin() + r + 1, d.row.begin() + d.rows, d.row.begin() + r);
  --d.rows;
  d.row[static_cast<size_t>(d.rows)] = KnownRow{};
  // The selection stays on the same datum, or on the row taking the removed
  // one's place (the new last row when the last was removed).
  if (m_selectedRow > r || m_selectedRow >= d.rows) --m_selectedRow;
  compute(false);
  return true;
}

std::string GeometryModel::resultText() const {
  if (!m_resultShown) return "?";
  return m_resultName + "=" + FormatReal(m_resultValue, "%G", 0, 0);
}

void GeometryModel::forgetResult() {
  m_resultShown = false;
  m_resultSelected = false;
  m_resultName.clear();
  m_resultValue = 0.0;
}

}  // namespace qz
