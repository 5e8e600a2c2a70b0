#include "statistics/stat_table.h"

#include <algorithm>
#include <cmath>

#include "numbers/messages.h"

namespace qz {

CountFault countFault(double count) {
  // A count is how many times x was seen: -2 or 1.5 of them mean nothing and
  // would turn the weighted sums into silent nonsense (a variance of 0).
  if (std::isnan(count) || count != std::floor(count)) return CountFault::Fractional;
  if (count < 0.0) return CountFault::Negative;
  return CountFault::None;
}

RefusedCount firstRefusedCount(const StatTable& table, int first, int last) {
  first = std::max(first, 1);
  last = std::min(last, table.count());
  for (int row = first; row <= last; ++row) {
    const CountFault fault = countFault(table.row(row).second);
    if (fault != CountFault::None) return {row, fault};
  }
  return {};
}

std::string countFaultMessage(int row, CountFault fault) {
  return LoadMessageText(fault == CountFault::Negative ? kCountNegativeText : kCountFractionalText,
                         std::to_string(row));
}

StatMode statModeFromInt(long long value) {
  switch (value) {
    case 1:
      return StatMode::Frequencies;
    case 2:
      return StatMode::Pairs;
    default:
      return StatMode::Values;
  }
}

const StatRow& StatTable::row(int row) const {
  static const StatRow kZero{};
  if (row < 1 || row > kCapacity) return kZero;
  return m_rows[static_cast<std::size_t>(row)];
}

double StatTable::value(int row, int column) const {
  const StatRow& r = this->row(row);
  return column == 0 ? r.x : r.second;
}

void StatTable::setValue(int row, int column, double value) {
  if (row < 1 || row > kCapacity) return;
  StatRow& r = m_rows[static_cast<std::size_t>(row)];
  (column == 0 ? r.x : r.second) = value;
  ++m_revision;
}

void StatTable::setRow(int row, const StatRow& values) {
  if (row < 1 || row > kCapacity) return;
  m_rows[static_cast<std::size_t>(row)] = values;
  ++m_revision;
}

void StatTable::setCount(int count) {
  m_count = std::clamp(count, 0, kCapacity);
  std::fill(m_rows.begin() + m_count + 1, m_rows.end(), StatRow{});
  ++m_revision;
}

bool StatTable::append(const StatRow& values) {
  if (isFull()) return false;
  m_rows[static_cast<std::size_t>(++m_count)] = values;
  ++m_revision;
  return true;
}

int StatTable::removeRows(int first, int last) {
  first = std::max(first, 1);
  last = std::min(last, m_count);
  if (first > last) return 0;
  int removed = last - first + 1;
  std::copy(m_rows.begin() + last + 1, m_rows.begin() + m_count + 1, m_rows.begin() + first);
  setCount(m_count - removed);
  return removed;
}

void StatTable::clear() {
  m_rows.fill(StatRow{});
  m_count = 0;
  ++m_revision;
}

void StatTable::assign(const StatTable& other) {
  m_rows = other.m_rows;
  m_count = other.m_count;
  ++m_revision;
}

}  // namespace qz
