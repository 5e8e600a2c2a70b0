#include "geometry/geo_variable.h"

#include <atomic>

#include "numbers/messages.h"

namespace qz {

namespace {

// The cell of a name in the index: left-justified in 4 bytes, then "|". A
// longer name keeps its first four bytes, as the table stores it.
std::string nameCell(std::string_view name) {
  std::string cell(name.substr(0, kGeoNameLength));
  cell.resize(kGeoNameLength, ' ');
  cell += '|';
  return cell;
}

// The same cell as a number: the index's hash is keyed on it, so a lookup
// builds no string.
uint32_t cellKey(std::string_view name) {
  uint32_t key = 0;
  for (size_t i = 0; i < static_cast<size_t>(kGeoNameLength); ++i) {
    const unsigned char c = i < name.size() ? static_cast<unsigned char>(name[i]) : ' ';
    key = key << 8 | c;
  }
  return key;
}

size_t slotOf(uint32_t key) { return (key * 2654435761u) >> 23; }

unsigned long long nextGeneration() {
  static std::atomic<unsigned long long> counter{0};
  return ++counter;
}

}  // namespace

void VariableTable::clear() {
  m_entries.clear();
  m_nameIndex.clear();
  m_slots.fill({0, -1});
  m_generation = nextGeneration();
  m_predefined = 0;
}

void VariableTable::createPredefined() {
  clear();
  static constexpr const char* kNames[] = {"1",    "AD",   "AP",  "xH",  "xL11", "xL12",
                                           "xA11", "xA12", "xS2", "xS3", "xP"};
  for (const char* name : kNames) {
    GeoVariable v;
    v.name = name;
    v.kind = 'V';
    v.subFigure = -1;
    v.minimum = -1e300;
    v.maximum = 1e300;
    v.value = 0.0;
    append(v);
  }
  // The three constants are known to every equation from the start; the
  // auxiliary names are scratch and start unknown.
  for (int i = 0; i < 3; ++i) m_entries[static_cast<size_t>(i)].state = kKnown;
  m_entries[0].value = 1.0;
  m_entries[1].value = 90.0;
  m_entries[2].value = 180.0;
  for (auto& v : m_entries) v.startValue = v.value;
  m_predefined = size();
}

int VariableTable::append(const GeoVariable& variable) {
  if (full()) return -1;
  m_entries.push_back(variable);
  GeoVariable& added = m_entries.back();
  if (added.name.size() > static_cast<size_t>(kGeoNameLength)) added.name.resize(kGeoNameLength);
  registerVariable(added.name);
  return size() - 1;
}

void VariableTable::registerVariable(const std::string& name) {
  m_generation = nextGeneration();
  // Open addressing: the first entry of a name keeps its slot, as the first
  // cell of the index is the one a lookup finds.
  const uint32_t key = cellKey(name);
  size_t slot = slotOf(key);
  while (m_slots[slot].first != 0 && m_slots[slot].first != key) slot = (slot + 1) % kIndexSlots;
  if (m_slots[slot].first == 0) m_slots[slot] = {key, static_cast<int>(m_nameIndex.size() / kNameCellWidth)};
  m_nameIndex += nameCell(name);
}

void VariableTable::rebuildIndex() {
  m_nameIndex.clear();
  m_slots.fill({0, -1});
  for (const auto& v : m_entries) registerVariable(v.name);
}

int VariableTable::lookupVariable(std::string_view name, bool silent) const {
  if (!name.empty() && name.size() <= static_cast<size_t>(kGeoNameLength)) {
    // The first cell of the index holding the name; a hash of the cells
    // finds it without scanning the index, which the solver does for every
    // term of every equation of every sweep.
    const uint32_t key = cellKey(name);
    for (size_t slot = slotOf(key);; slot = (slot + 1) % kIndexSlots) {
      if (m_slots[slot].first == key) return m_slots[slot].second;
      if (m_slots[slot].first == 0) break;
    }
  }
  if (!silent && m_messenger != nullptr) {
    ShowMessage(*m_messenger, 0, 0, "nItem Error", MessageStyle::Error);
  }
  return -1;
}

}  // namespace qz
