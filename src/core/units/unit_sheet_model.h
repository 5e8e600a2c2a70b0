// The rules of the unit definition sheet without widgets: the cascade of the
// choice lists over the units database, the standard and non-standard modes,
// the composition of a unit from elementary units, and what OK and cancel keep.
#pragma once

#include <string>
#include <vector>

#include "platform/messenger.h"
#include "units/unit_record.h"
#include "units/units_database.h"

namespace qz {

class UnitHistory;

/// The composition buttons of the "Définition" page.
enum class ComposeAction {
  One,             ///< "1"
  FrontMultiply,   ///< "{-----}."
  FrontDivide,     ///< "{-----}/"
  InsertMultiply,  ///< ".{-----}."
  InsertDivide,    ///< ".{-----}/"
  AppendMultiply,  ///< ".{-----}"
  AppendDivide,    ///< "/{-----}"
  Invert,          ///< "Inverser"
  Remove,          ///< "Supprimer"
  ClearAll,        ///< "&Effacer tout"
};

/// `unit` with each component taken again from the elementary unit it is
/// written with ("kcal" as kilo + cal); the unit as it was when its pieces
/// can't say the same coefficient, offset and dimension.
UnitRecord rebuildFromElementaryUnits(const UnitsDatabase& database, const UnitRecord& unit);

class UnitSheetModel {
 public:
  /// Edits `edited` in place; a copy is kept to restore it when the sheet is not left with OK.
  UnitSheetModel(const UnitsDatabase& database, UnitRecord& edited, Messenger& messenger);

  const UnitsDatabase& database() const { return m_db; }
  const UnitRecord& unit() const { return m_unit; }

  // ---- Choice lists (numbers are 1-based; 0 or -1 means no choice) ----
  /// Category numbers of the chosen system's units, each once, in database order.
  std::vector<int> categories() const;
  /// Quantity numbers of the chosen system and category.
  std::vector<int> quantities() const;
  /// Indexes into the database's units of the chosen system, category and quantity.
  std::vector<int> unitChoices() const;

  int system() const { return m_system; }
  int category() const { return m_category; }
  int quantity() const { return m_quantity; }
  int unitIndex() const { return m_unitIndex; }
  int prefix() const { return m_prefix; }
  int exponent() const { return m_exponent; }
  bool prefixEnabled() const;
  bool exponentEnabled() const;

  void chooseSystem(int system);
  void chooseCategory(int category);
  void chooseQuantity(int quantity);
  void chooseUnit(int databaseIndex);
  void choosePrefix(int index);
  void chooseExponent(int index);
  /// The four lists have a choice: the work component is complete.
  bool workReady() const { return m_unitIndex >= 0; }

  // ---- Modes and composition ----
  bool nonStandard() const { return m_nonStandard; }
  void setNonStandard(bool on);
  bool actionEnabled(ComposeAction action) const;
  /// Runs a composition button; nothing when it does not apply.
  void compose(ComposeAction action);

  /// Selection in the expression: a component, or the gap before component
  /// `gap` (`count` for the gap after the last one).
  void selectComponent(int index);
  void selectGap(int gap);
  void clearSelection();
  int selectedComponent() const { return m_selComponent; }
  int selectedGap() const { return m_selGap; }
  /// The markup text of component `i` alone, with its separator.
  std::string componentText(int i) const;

  /// "x k", "x k + o" or "x k - |o|", then " (" and the dimension text, then
  /// ")"; empty for an empty unit.
  std::string coefficientText() const;

  // ---- Leaving ----
  /// OK on "Définition": message 159 when a non-standard unit repeats a quantity.
  bool accept();
  /// Puts a whole unit (from the history or a search) into the edited unit and validates it.
  void useUnit(const UnitRecord& record);
  bool validated() const { return m_validated; }
  /// Cancel: nothing done on the sheet is kept.
  void cancel() { m_validated = false; }
  /// Closing: with the validated flag, normalises the unit and records it in
  /// `history`; otherwise restores the unit as it was.
  void finish(UnitHistory* history);

 private:
  bool counts(const DatabaseUnit& unit) const;
  UnitComponent workComponent() const;
  /// `newUnit`: a unit was chosen in the list (not only a prefix or an exponent).
  void applyChoice(bool newUnit);
  void setListsOn(const UnitComponent& component);
  int databaseIndexOfKey(int key) const;
  void insertAt(int position, UnitComponent component);

  const UnitsDatabase& m_db;
  UnitRecord& m_unit;
  UnitRecord m_saved;
  Messenger& m_messenger;
  bool m_nonStandard = false;
  bool m_validated = false;
  bool m_choiceInUnit = false;  ///< non-standard: the unit is the one chosen in the lists
  int m_system = 0, m_category = 0, m_quantity = 0, m_unitIndex = -1, m_prefix = 0, m_exponent = 0;
  int m_selComponent = -1, m_selGap = -1;
};

}  // namespace qz
