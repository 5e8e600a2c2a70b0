// The unit conversion calculator's state and rules without widgets: the unit
// pair, the value typed, the result, the conversions list and the checks made
// before a conversion. The window shows it and forwards what the user does.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/messenger.h"
#include "units/unit_conversion.h"
#include "units/unit_record.h"

namespace qz {

/// Outcome of the check of the value field.
enum class UnitValueStatus { Empty, Invalid, Valid };

class UnitsModel {
 public:
  /// Longest text of the value field.
  static constexpr int kMaxValueLength = 25;
  /// Width the value column of a list row is padded to.
  static constexpr std::size_t kRowValueWidth = 18;

  /// Asked when two units are incoherent; true lets the change stand.
  using CoherenceQuestion = std::function<bool(const UnitRecord& current, const UnitRecord& target)>;

  explicit UnitsModel(Messenger& messenger);

  void setCoherenceQuestion(CoherenceQuestion question) { m_question = std::move(question); }

  // ---- Document section ----
  /// Empties everything and reads a section body (none: stays empty).
  void loadSection(const std::optional<std::string>& body);
  std::optional<std::string> sectionBody() const;

  // ---- State ----
  const UnitRecord& unit(int which) const { return m_conversion.unit(which); }
  const std::vector<ConversionRow>& rows() const { return m_rows; }
  const std::string& valueText() const { return m_valueText; }
  bool resultValid() const { return m_resultValid; }
  double result() const { return m_result; }
  bool resultSelected() const { return m_resultSelected; }
  void setResultSelected(bool on) { m_resultSelected = on && m_resultValid; }
  bool unitsValidated() const { return m_unitsValidated; }

  /// The result as the window shows it: two decimals in the significant
  /// mode, "?" while there is none.
  std::string resultText() const;
  /// One list row: the value "%.9G" padded to 18 characters, then the result "%.9G".
  static std::string rowText(const ConversionRow& row);
  /// Every row as "value\tresult\r\n" ("%G"), for the clipboard.
  std::string conversionsText() const;

  // ---- Value field ----
  /// A new text typed in the field: refused (with a beep) when it is not a
  /// real being typed or is too long; true when taken, as TypedNumberText
  /// writes it (the field then shows valueText()).
  bool editValue(const std::string& typed);
  /// Checks the field; shows the value messages; `value` set when valid.
  UnitValueStatus checkValue(double& value);
  /// The same check without any message; leaves the flags alone.
  UnitValueStatus valueStatus() const;
  /// Whether every field holds an accepted entry (an empty field is not refused).
  bool entryValid() const { return m_entryValid; }

  // ---- Unit changes ----
  /// Before the definition sheet runs: remembers the pair the list was made with.
  void beginUnitChange() { m_conversion.rememberListUnits(); }
  /// After the sheet was left with OK and the unit `which` set to `record`:
  /// the coherence check, then the list refreshed and the value emptied; on
  /// refusal both units go back to the remembered pair. True when accepted.
  bool finishUnitChange(int which, const UnitRecord& record);
  /// Empties one unit (asking first when the list has rows). False when nothing changed.
  bool clearUnit(int which);
  /// Swaps the units (asking first when the list has rows). False when nothing changed.
  bool swapUnits();

  // ---- Conversion ----
  /// "CA&LCULER": converts the value and appends the row. True when a row was appended.
  bool convert();
  /// "Efface&r": the value and the result.
  void clearValue();
  /// "Effacer &tout": the list and the value.
  void clearList();
  /// "Effacer dernière conver&sion".
  void clearLastConversion();
  /// "Effacer toutes les calculettes": value, result, list and both units.
  void clearAll();

  /// The memories' source: the result when it is valid and selected.
  std::optional<double> selectedResult() const;
  /// A memory put into the value field ("mode 0, 2 decimals").
  void useValue(double value);

 private:
  bool coherent();
  bool confirmListLoss() const;
  void emptyList();

  Messenger& m_messenger;
  CoherenceQuestion m_question;
  UnitConversion m_conversion;
  std::vector<ConversionRow> m_rows;
  std::string m_valueText;
  double m_result = 0.0;
  bool m_resultValid = false;
  bool m_resultSelected = false;
  bool m_unitsValidated = false;
  bool m_entryValid = true;
};

}  // namespace qz
