#include "geometry/figure_data.h"

namespace qz {

void FigureData::clear() {
  rows = 0;
  orientation = kOrientationNone;
  for (auto& r : row) r = KnownRow{};
}

bool FigureData::addRow(const VariableTable& table, int index) {
  if (rows >= kKnownRowCapacity || index < 0 || index >= table.size()) return false;
  const GeoVariable& v = table.at(index);
  KnownRow& r = row[static_cast<size_t>(rows)];
  r.variable = index;
  r.value = v.value;
  r.minimum = v.minimum;
  r.maximum = v.maximum;
  r.forbidden1 = v.forbidden1;
  r.forbidden2 = v.forbidden2;
  r.numberKind = v.numberKind();
  r.negative = v.minimum < 0.0 ? 1 : 0;
  ++rows;
  return true;
}

void FigureData::fillFromTable(const VariableTable& table) {
  if (rows > 0) return;
  for (int i = table.predefinedCount(); i < table.size(); ++i) {
    if (table.at(i).kind == 'O') addRow(table, i);
  }
}

}  // namespace qz
