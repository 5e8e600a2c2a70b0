#include "standard/tape.h"

#include <algorithm>

namespace qz {

Tape::Tape() : m_entries(static_cast<std::size_t>(kCapacity)) {}

EntryKind Tape::kindAt(int i) const {
  if (i < 0 || i >= m_count) return EntryKind::Empty;
  return m_entries[static_cast<std::size_t>(i)].kind;
}

int Tape::levelAfter(int previous, EntryKind kind) const {
  if (kind == EntryKind::Equals || kind == EntryKind::Total) return 0;
  if (previous < 0 || previous >= m_count) return kind == EntryKind::Open ? 1 : 0;
  const TapeEntry& p = (*this)[previous];
  if (kind == EntryKind::Open) return p.level + 1;
  // A ")" carries the level of what it closes; what follows is one level out.
  if (p.kind == EntryKind::Close) return std::max(0, p.level - 1);
  return p.level;
}

int Tape::append(EntryKind kind, double value, DisplaySetting stamp, bool error) {
  return insert(m_count, kind, value, stamp, error);
}

int Tape::insert(int index, EntryKind kind, double value, DisplaySetting stamp, bool error) {
  if (m_count >= kCapacity || index < 0 || index > m_count) return -1;
  auto at = m_entries.begin() + index;
  std::move_backward(at, m_entries.begin() + m_count, m_entries.begin() + m_count + 1);
  ++m_count;
  TapeEntry& e = m_entries[static_cast<std::size_t>(index)];
  e = TapeEntry{};
  e.kind = kind;
  e.value = value;
  e.error = error;
  e.display = stamp;
  e.level = levelAfter(index - 1, kind);
  return index;
}

void Tape::rewrite(int index, EntryKind kind, double value, DisplaySetting stamp) {
  if (index < 0 || index >= m_count) return;
  TapeEntry& e = at(index);
  e.kind = kind;
  e.value = value;
  e.display = stamp;
  e.level = levelAfter(index - 1, kind);
}

bool Tape::appendRecord(const TapeEntry& entry) {
  if (m_count >= kCapacity) return false;
  m_entries[static_cast<std::size_t>(m_count++)] = entry;
  return true;
}

void Tape::removeLast() {
  if (m_count == 0) return;
  m_entries[static_cast<std::size_t>(--m_count)] = TapeEntry{};
}

void Tape::clear() {
  std::fill(m_entries.begin(), m_entries.begin() + m_count, TapeEntry{});
  m_count = 0;
}

void Tape::recomputeLevels() {
  for (int i = 0; i < m_count; ++i) at(i).level = levelAfter(i - 1, at(i).kind);
}

CalculationRange Tape::calculationAround(int index) const {
  if (m_count == 0) return {};
  index = std::clamp(index, 0, m_count - 1);
  int begin = index;
  if (kindAt(index) == EntryKind::Separator) {
    begin = index + 1;
  } else {
    while (begin > 0 && kindAt(begin - 1) != EntryKind::Separator) --begin;
  }
  int end = begin;
  while (end < m_count && kindAt(end) != EntryKind::Separator && kindAt(end) != EntryKind::Empty) ++end;
  return {begin, end};
}

}  // namespace qz
