#include "units/unit_sheet_model.h"

#include <algorithm>
#include <cmath>

#include "numbers/messages.h"
#include "numbers/real_format.h"
#include "units/unit_analysis.h"
#include "units/unit_conversion.h"
#include "units/unit_history.h"
#include "units/unit_tables.h"

namespace qz {

namespace {

constexpr int kRepeatedQuantity = 159;

bool sameShape(const UnitRecord& a, const UnitRecord& b) {
  if (a.count != b.count || a.count <= 0) return false;
  if (a.components[0].unitKey != b.components[0].unitKey) return false;
  for (int i = 0; i < a.count; ++i) {
    if (a.components[i].symbol != b.components[i].symbol ||
        a.components[i].divides != b.components[i].divides)
      return false;
  }
  return true;
}

}  // namespace

UnitSheetModel::UnitSheetModel(const UnitsDatabase& database, UnitRecord& edited, Messenger& messenger)
    : m_db(database), m_unit(edited), m_saved(edited), m_messenger(messenger) {
  if (m_unit.empty()) return;
  // The unit is shown on the lists when it is one of the database's, prefix
  // and exponent aside; a composed unit opens in the non-standard mode.
  for (std::size_t i = 0; i < m_db.units.size(); ++i) {
    if (!sameShape(m_db.units[i].record, m_unit)) continue;
    const UnitComponent& c = m_unit.components[0];
    m_system = c.system;
    m_category = c.category;
    m_quantity = c.quantity;
    m_unitIndex = static_cast<int>(i);
    m_prefix = PrefixIndexOf(m_unit, 0);
    m_exponent = ExponentIndexOf(m_unit, 0);
    return;
  }
  m_nonStandard = true;
}

bool UnitSheetModel::counts(const DatabaseUnit& unit) const {
  return unit.record.count > 0 && (!m_nonStandard || unit.elementary);
}

std::vector<int> UnitSheetModel::categories() const {
  std::vector<int> out;
  for (const DatabaseUnit& u : m_db.units) {
    if (!counts(u) || u.record.components[0].system != m_system) continue;
    const int c = u.record.components[0].category;
    if (std::find(out.begin(), out.end(), c) == out.end()) out.push_back(c);
  }
  return out;
}

std::vector<int> UnitSheetModel::quantities() const {
  std::vector<int> out;
  for (const DatabaseUnit& u : m_db.units) {
    const UnitComponent& c = u.record.components[0];
    if (!counts(u) || c.system != m_system || c.category != m_category) continue;
    if (std::find(out.begin(), out.end(), c.quantity) == out.end()) out.push_back(c.quantity);
  }
  return out;
}

std::vector<int> UnitSheetModel::unitChoices() const {
  std::vector<int> out;
  for (std::size_t i = 0; i < m_db.units.size(); ++i) {
    const DatabaseUnit& u = m_db.units[i];
    const UnitComponent& c = u.record.components[0];
    if (counts(u) && c.system == m_system && c.category == m_category && c.quantity == m_quantity)
      out.push_back(static_cast<int>(i));
  }
  return out;
}

bool UnitSheetModel::prefixEnabled() const {
  if (m_unitIndex < 0) return false;
  const UnitRecord& r = m_db.units[m_unitIndex].record;
  return r.count == 1 && r.components[0].prefixAllowed != 0;
}

bool UnitSheetModel::exponentEnabled() const {
  if (m_unitIndex < 0) return false;
  const UnitRecord& r = m_db.units[m_unitIndex].record;
  return r.count == 1 && r.components[0].exponentAllowed != 0;
}

void UnitSheetModel::chooseSystem(int system) {
  m_system = system;
  m_category = m_quantity = 0;
  m_unitIndex = -1;
  m_prefix = m_exponent = 0;
}

void UnitSheetModel::chooseCategory(int category) {
  m_category = category;
  m_quantity = 0;
  m_unitIndex = -1;
  m_prefix = m_exponent = 0;
}

void UnitSheetModel::chooseQuantity(int quantity) {
  m_quantity = quantity;
  m_unitIndex = -1;
  m_prefix = m_exponent = 0;
}

void UnitSheetModel::chooseUnit(int databaseIndex) {
  m_unitIndex =
      databaseIndex >= 0 && databaseIndex < static_cast<int>(m_db.units.size()) ? databaseIndex : -1;
  m_prefix = m_exponent = 0;
  applyChoice(true);
}

void UnitSheetModel::choosePrefix(int index) {
  if (!prefixEnabled()) return;
  m_prefix = std::clamp(index, kMinPrefixIndex, kMaxPrefixIndex);
  applyChoice(false);
}

void UnitSheetModel::chooseExponent(int index) {
  if (!exponentEnabled()) return;
  m_exponent = std::clamp(index, kMinExponentIndex, kMaxExponentIndex);
  applyChoice(false);
}

UnitComponent UnitSheetModel::workComponent() const {
  UnitComponent w = m_db.units[m_unitIndex].record.components[0];
  // A unit that takes no prefix or exponent keeps the ones it is written
  // with (the "k" of the kilometre per hour).
  if (prefixEnabled()) w.prefix = PrefixSymbol(m_prefix);
  if (exponentEnabled()) w.exponent = ExponentText(m_exponent, false);
  w.divides = 0;
  return w;
}

void UnitSheetModel::applyChoice(bool newUnit) {
  if (m_unitIndex < 0) return;
  const bool nothingSelected = m_selComponent < 0 && m_selGap < 0;
  // In non-standard mode the first unit chosen becomes the unit, and its
  // prefix and exponent, chosen after it, still apply to it; a unit chosen
  // once the expression holds another waits for a composition button.
  if (m_nonStandard && nothingSelected) m_choiceInUnit = m_unit.empty() || (m_choiceInUnit && !newUnit);
  if (!m_nonStandard || (nothingSelected && m_choiceInUnit)) {
    // The whole database unit, its first component carrying the prefix and exponent.
    m_unit = m_db.units[m_unitIndex].record;
    if (prefixEnabled()) m_unit.components[0].prefix = PrefixSymbol(m_prefix);
    if (exponentEnabled()) m_unit.components[0].exponent = ExponentText(m_exponent, false);
    return;
  }
  if (m_selComponent >= 0) {
    UnitComponent w = workComponent();
    w.divides = m_selComponent < m_unit.count ? m_unit.components[m_selComponent].divides : 0;
    m_unit.components[m_selComponent] = w;
    m_unit.count = std::max(m_unit.count, m_selComponent + 1);
  }
  // With a gap selected (or a unit already composed) the work component
  // waits for a composition button.
}

namespace {

// The elementary unit a component is written with: one whose symbol is the
// component's, or, for a symbol that carries its own prefix ("kcal", "kWh"),
// one that takes prefixes and whose symbol follows that prefix. Among
// elementary units of one symbol, one of the unit's own system comes first.
struct ElementaryMatch {
  const DatabaseUnit* unit = nullptr;
  std::string prefix;  ///< the prefix split off the symbol, "" when none was
};

ElementaryMatch findElementary(const UnitsDatabase& db, const UnitComponent& c, int firstSystem) {
  ElementaryMatch best;
  auto consider = [&](const DatabaseUnit& u, std::string prefix) {
    if (best.unit == nullptr || (best.unit->record.components[0].system != firstSystem &&
                                 u.record.components[0].system == firstSystem))
      best = {&u, std::move(prefix)};
  };
  for (const DatabaseUnit& u : db.units) {
    if (!u.elementary || u.record.count != 1) continue;
    const UnitComponent& e = u.record.components[0];
    if (e.symbol == c.symbol) consider(u, {});
  }
  if (best.unit != nullptr || c.prefix != "1") return best;
  // Two-letter "da" is tried before "d".
  static constexpr int kOrder[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10};
  for (int k : kOrder) {
    const std::string prefix = PrefixSymbol(k);
    if (c.symbol.size() <= prefix.size() || c.symbol.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string rest = c.symbol.substr(prefix.size());
    for (const DatabaseUnit& u : db.units) {
      if (!u.elementary || u.record.count != 1) continue;
      const UnitComponent& e = u.record.components[0];
      if (e.prefixAllowed != 0 && e.symbol == rest) consider(u, prefix);
    }
    if (best.unit != nullptr) return best;
  }
  return best;
}

bool sameUnit(const UnitRecord& a, const UnitRecord& b) {
  const UnitFactors fa = UnitFactor(a);
  const UnitFactors fb = UnitFactor(b);
  const double tolerance = 1e-9 * std::max(std::fabs(fa.coefficient), std::fabs(fb.coefficient));
  return std::fabs(fa.coefficient - fb.coefficient) <= tolerance &&
         std::fabs(fa.offset - fb.offset) <= 1e-9 * std::max(1.0, std::fabs(fa.offset)) &&
         DimensionOf(a) == DimensionOf(b);
}

}  // namespace

UnitRecord rebuildFromElementaryUnits(const UnitsDatabase& database, const UnitRecord& unit) {
  UnitRecord rebuilt = unit;
  const int firstSystem = unit.count > 0 ? unit.components[0].system : 0;
  for (int i = 0; i < rebuilt.count; ++i) {
    UnitComponent& c = rebuilt.components[i];
    const ElementaryMatch match = findElementary(database, c, firstSystem);
    if (match.unit == nullptr) continue;
    const UnitComponent& e = match.unit->record.components[0];
    c.unitKey = e.unitKey;
    c.system = e.system;
    c.category = e.category;
    c.quantity = e.quantity;
    c.prefixAllowed = e.prefixAllowed;
    c.exponentAllowed = e.exponentAllowed;
    c.coefficient = e.coefficient;
    c.offset = e.offset;
    c.dimension = e.dimension;
    if (!match.prefix.empty()) {
      c.prefix = match.prefix;
      c.symbol = e.symbol;
    } else if (!e.prefixAllowed) {
      c.prefix = "1";
    }
    if (!e.exponentAllowed) c.exponent = "1";
  }
  // A piece left without its own unit, or a unit the pieces can't say again
  // (the square degree is a solid angle, not an angle squared), stays whole:
  // non-standard mode never changes what a unit is worth.
  for (int i = 0; i < rebuilt.count; ++i)
    if (rebuilt.components[i].unitKey < 0) return unit;
  return sameUnit(rebuilt, unit) ? rebuilt : unit;
}

void UnitSheetModel::setNonStandard(bool on) {
  m_nonStandard = on;
  m_choiceInUnit = false;
  clearSelection();
  m_system = m_category = m_quantity = 0;
  m_unitIndex = -1;
  m_prefix = m_exponent = 0;
  if (!on) {
    clearUnit(m_unit);
    return;
  }
  m_unit = rebuildFromElementaryUnits(m_db, m_unit);
}

int UnitSheetModel::databaseIndexOfKey(int key) const {
  for (std::size_t i = 0; i < m_db.units.size(); ++i) {
    const DatabaseUnit& u = m_db.units[i];
    if (u.record.count > 0 && u.record.components[0].unitKey == key) return static_cast<int>(i);
  }
  return -1;
}

bool UnitSheetModel::actionEnabled(ComposeAction action) const {
  if (action == ComposeAction::ClearAll) return true;
  if (!m_nonStandard) return false;
  const bool room = m_unit.count < kMaxUnitComponents;
  int firstDivided = m_unit.count;
  for (int i = 0; i < m_unit.count; ++i)
    if (m_unit.components[i].divides) {
      firstDivided = i;
      break;
    }
  switch (action) {
    case ComposeAction::One:
      return m_unit.empty();
    case ComposeAction::FrontMultiply:
    case ComposeAction::FrontDivide:
      return room && !m_unit.empty() && m_selGap == 0;
    case ComposeAction::InsertMultiply:
      return room && m_selGap > 0 && m_selGap < m_unit.count;
    case ComposeAction::InsertDivide:
      return room && m_selGap > 0 && m_selGap == firstDivided && firstDivided < m_unit.count;
    case ComposeAction::AppendMultiply:
    case ComposeAction::AppendDivide:
      return room && !m_unit.empty() && m_selGap == m_unit.count;
    case ComposeAction::Invert:
      // A quotient turns over in place; anything else needs a slot for the "1".
      return !m_unit.empty() && (room || firstDivided < m_unit.count);
    case ComposeAction::Remove:
      return m_selComponent >= 0 && m_selComponent < m_unit.count;
    default:
      return false;
  }
}

void UnitSheetModel::insertAt(int position, UnitComponent component) {
  for (int i = m_unit.count; i > position; --i) m_unit.components[i] = m_unit.components[i - 1];
  m_unit.components[position] = std::move(component);
  ++m_unit.count;
}

void UnitSheetModel::compose(ComposeAction action) {
  if (!actionEnabled(action)) return;
  const bool needsWork = action != ComposeAction::One && action != ComposeAction::Invert &&
                         action != ComposeAction::Remove && action != ComposeAction::ClearAll;
  if (needsWork && !workReady()) return;
  m_choiceInUnit = false;
  switch (action) {
    case ComposeAction::One: {
      const int one = databaseIndexOfKey(1);
      if (one < 0) return;
      clearUnit(m_unit);
      m_unit.count = 1;
      m_unit.components[0] = m_db.units[one].record.components[0];
      m_unit.components[0].divides = 0;
      break;
    }
    case ComposeAction::FrontMultiply:
      insertAt(0, workComponent());
      break;
    case ComposeAction::FrontDivide:
      insertAt(0, workComponent());
      m_unit.components[1].divides = 1;
      break;
    case ComposeAction::InsertMultiply:
      insertAt(m_selGap, workComponent());
      break;
    case ComposeAction::InsertDivide:
      insertAt(m_selGap, workComponent());
      m_unit.components[m_selGap + 1].divides = 1;
      break;
    case ComposeAction::AppendMultiply:
      insertAt(m_unit.count, workComponent());
      break;
    case ComposeAction::AppendDivide: {
      UnitComponent w = workComponent();
      w.divides = 1;
      insertAt(m_unit.count, std::move(w));
      break;
    }
    case ComposeAction::Invert: {
      int firstDivided = m_unit.count;
      bool continuation = false;
      for (int i = 0; i < m_unit.count; ++i) {
        if (m_unit.components[i].divides && firstDivided == m_unit.count) firstDivided = i;
        if (m_unit.components[i].unitKey < 0) continuation = true;
      }
      // A database unit written in several pieces counts as one whole (its
      // first piece carries the value of all): it goes under a "1".
      if (firstDivided < m_unit.count && !continuation) {
        // The inverse of a quotient swaps its sides: m/s gives s/m, 1/s gives s.
        UnitRecord inverse;
        for (int i = firstDivided; i < m_unit.count; ++i) {
          UnitComponent c = m_unit.components[i];
          c.divides = 0;
          inverse.components[inverse.count++] = std::move(c);
        }
        const bool numeratorIsOne = firstDivided == 1 && m_unit.components[0].unitKey == 1;
        for (int i = 0; i < firstDivided && !numeratorIsOne; ++i) {
          UnitComponent c = m_unit.components[i];
          c.divides = i == 0 ? 1 : 0;
          inverse.components[inverse.count++] = std::move(c);
        }
        m_unit = inverse;
        break;
      }
      const int one = databaseIndexOfKey(1);
      if (one < 0 || m_unit.count >= kMaxUnitComponents) return;
      m_unit.components[0].divides = 1;
      UnitComponent head = m_db.units[one].record.components[0];
      head.divides = 0;
      insertAt(0, std::move(head));
      break;
    }
    case ComposeAction::Remove: {
      const int at = m_selComponent;
      // Whatever lay in the denominator stays there: the next component
      // takes over the division sign of the one removed.
      if (m_unit.components[at].divides && at + 1 < m_unit.count) m_unit.components[at + 1].divides = 1;
      for (int i = at; i + 1 < m_unit.count; ++i) m_unit.components[i] = m_unit.components[i + 1];
      --m_unit.count;
      m_unit.components[m_unit.count] = UnitComponent{};
      break;
    }
    case ComposeAction::ClearAll:
      m_nonStandard = false;
      m_system = m_category = m_quantity = 0;
      m_unitIndex = -1;
      m_prefix = m_exponent = 0;
      clearUnit(m_unit);
      break;
  }
  clearSelection();
}

void UnitSheetModel::setListsOn(const UnitComponent& component) {
  const int index = databaseIndexOfKey(component.unitKey);
  if (index < 0) return;
  m_system = component.system;
  m_category = component.category;
  m_quantity = component.quantity;
  m_unitIndex = index;
  UnitRecord single;
  single.count = 1;
  single.components[0] = component;
  m_prefix = PrefixIndexOf(single, 0);
  m_exponent = ExponentIndexOf(single, 0);
}

void UnitSheetModel::selectComponent(int index) {
  if (!m_nonStandard || index < 0 || index >= m_unit.count) return;
  m_choiceInUnit = false;
  m_selComponent = index;
  m_selGap = -1;
  setListsOn(m_unit.components[index]);
}

void UnitSheetModel::selectGap(int gap) {
  if (!m_nonStandard || gap < 0 || gap > m_unit.count) return;
  m_choiceInUnit = false;
  m_selGap = gap;
  m_selComponent = -1;
}

void UnitSheetModel::clearSelection() {
  m_selComponent = -1;
  m_selGap = -1;
}

std::string UnitSheetModel::componentText(int i) const {
  if (i < 0 || i >= m_unit.count) return {};
  const UnitComponent& c = m_unit.components[i];
  std::string text;
  if (c.divides)
    text += '/';
  else if (i >= 1)
    text += '*';
  if (c.prefix != "1") text += c.prefix;
  text += c.symbol;
  if (c.exponent != "1") text += kMarkExponent + c.exponent + kMarkExponent;
  return text;
}

std::string UnitSheetModel::coefficientText() const {
  // An empty unit has no coefficient to show.
  if (m_unit.empty()) return {};
  const UnitFactors f = UnitFactor(m_unit);
  std::string text = formatDouble("x %g", f.coefficient);
  if (f.offset > 0)
    text += formatDouble(" + %g", f.offset);
  else if (f.offset < 0)
    text += formatDouble(" - %g", -f.offset);
  return text + " (" + DimensionText(DimensionOf(m_unit)) + ")";
}

bool UnitSheetModel::accept() {
  if (m_nonStandard && m_unit.count >= 2) {
    for (int i = 0; i < m_unit.count; ++i) {
      if (m_unit.components[i].unitKey < 0) continue;
      for (int j = i + 1; j < m_unit.count; ++j) {
        if (m_unit.components[j].unitKey >= 0 &&
            m_unit.components[j].quantity == m_unit.components[i].quantity) {
          ShowMessage(m_messenger, kCaptionCheck, kRepeatedQuantity, {}, MessageStyle::Warning);
          return false;
        }
      }
    }
  }
  m_validated = true;
  return true;
}

void UnitSheetModel::useUnit(const UnitRecord& record) {
  m_unit = record;
  m_validated = true;
  m_choiceInUnit = false;
  clearSelection();
  m_nonStandard = false;
  m_system = m_category = m_quantity = 0;
  m_unitIndex = -1;
  m_prefix = m_exponent = 0;
  for (std::size_t i = 0; i < m_db.units.size(); ++i) {
    if (!sameShape(m_db.units[i].record, m_unit)) continue;
    setListsOn(m_unit.components[0]);
    m_unitIndex = static_cast<int>(i);
    return;
  }
  if (!m_unit.empty()) m_nonStandard = true;
}

void UnitSheetModel::finish(UnitHistory* history) {
  if (!m_validated) {
    m_unit = m_saved;
    return;
  }
  NormaliseUnit(m_saved);
  NormaliseUnit(m_unit);
  if (history) history->AddToHistory(m_unit, m_messenger);
}

}  // namespace qz
