#include "units/units_model.h"

#include <cmath>

#include "numbers/messages.h"
#include "numbers/number_check.h"
#include "numbers/real_format.h"
#include "units/unit_analysis.h"
#include "units/unit_section.h"

namespace qz {

namespace {

constexpr int kUnitsUndefined = 24;
constexpr int kListFull = 12;
constexpr int kListLossQuestion = 50;
constexpr int kIncorrectValue = 10;
constexpr int kMaximumValue = 6;
constexpr int kMinimumValue = 7;
constexpr int kSmallestValue = 3;
constexpr double kLargest = 1e300;
constexpr double kTiniest = 1e-300;

}  // namespace

UnitsModel::UnitsModel(Messenger& messenger) : m_messenger(messenger) {}

void UnitsModel::loadSection(const std::optional<std::string>& body) {
  qz::clearUnit(m_conversion.unit(UnitConversion::kCurrent));
  qz::clearUnit(m_conversion.unit(UnitConversion::kNew));
  m_rows.clear();
  if (body)
    readUnitSection(*body, m_conversion.unit(UnitConversion::kCurrent),
                    m_conversion.unit(UnitConversion::kNew), m_rows);
  m_conversion.rememberListUnits();
  m_valueText.clear();
  m_resultValid = false;
  m_resultSelected = false;
  // Units read from a document were accepted when they were chosen; a pair
  // edited elsewhere is checked again at the first conversion.
  m_unitsValidated = false;
  m_entryValid = true;
}

std::optional<std::string> UnitsModel::sectionBody() const {
  const UnitRecord& current = m_conversion.unit(UnitConversion::kCurrent);
  const UnitRecord& target = m_conversion.unit(UnitConversion::kNew);
  if (!unitSectionWanted(current, target)) return std::nullopt;
  return writeUnitSection(current, target, m_rows);
}

std::string UnitsModel::resultText() const {
  if (!m_resultValid) return "?";
  return FormatReal(m_result, FormatMode::Significant, 2);
}

std::string UnitsModel::rowText(const ConversionRow& row) {
  std::string value = formatDouble("%.9G", row.value);
  if (value.size() < kRowValueWidth) value.append(kRowValueWidth - value.size(), ' ');
  return value + formatDouble("%.9G", row.result);
}

std::string UnitsModel::conversionsText() const {
  std::string text;
  for (const ConversionRow& row : m_rows)
    text += formatDouble("%G", row.value) + "\t" + formatDouble("%G", row.result) + "\r\n";
  return text;
}

bool UnitsModel::editValue(const std::string& typed) {
  std::string text = TypedNumberText(typed);
  if (text.size() > static_cast<std::size_t>(kMaxValueLength) || (!text.empty() && !CheckTypedNumber(text))) {
    SoundBeep(m_messenger, BeepKind::Warning);
    return false;
  }
  m_valueText = std::move(text);
  return true;
}

UnitValueStatus UnitsModel::valueStatus() const {
  if (m_valueText.empty()) return UnitValueStatus::Empty;
  double read = 0.0;
  if (!parseReal(m_valueText, read) || std::fabs(read) > kLargest ||
      (read != 0.0 && std::fabs(read) < kTiniest))
    return UnitValueStatus::Invalid;
  return UnitValueStatus::Valid;
}

UnitValueStatus UnitsModel::checkValue(double& value) {
  if (m_valueText.empty()) return UnitValueStatus::Empty;
  m_entryValid = true;
  double read = 0.0;
  if (!parseReal(m_valueText, read)) {
    m_entryValid = false;
    ShowMessage(m_messenger, kCaptionError, kIncorrectValue, {}, MessageStyle::Error);
    return UnitValueStatus::Invalid;
  }
  if (read < -kLargest) {
    m_entryValid = false;
    ShowValueMessage(m_messenger, kMinimumValue, -kLargest);
    return UnitValueStatus::Invalid;
  }
  if (read > kLargest) {
    m_entryValid = false;
    ShowValueMessage(m_messenger, kMaximumValue, kLargest);
    return UnitValueStatus::Invalid;
  }
  if (read != 0.0 && std::fabs(read) < kTiniest) {
    m_entryValid = false;
    ShowValueMessage(m_messenger, kSmallestValue, kTiniest);
    return UnitValueStatus::Invalid;
  }
  value = read;
  return UnitValueStatus::Valid;
}

bool UnitsModel::coherent() {
  const UnitRecord& current = m_conversion.unit(UnitConversion::kCurrent);
  const UnitRecord& target = m_conversion.unit(UnitConversion::kNew);
  if (UnitsCoherent(current, target)) return true;
  // Without anybody to ask, incoherent units are refused.
  return m_question && m_question(current, target);
}

bool UnitsModel::finishUnitChange(int which, const UnitRecord& record) {
  m_conversion.unit(which) = record;
  m_unitsValidated = false;
  if (!coherent()) {
    m_conversion.unit(UnitConversion::kCurrent) = m_conversion.listUnit(UnitConversion::kCurrent);
    m_conversion.unit(UnitConversion::kNew) = m_conversion.listUnit(UnitConversion::kNew);
    return false;
  }
  m_unitsValidated = true;
  m_conversion.RefreshConversions(m_messenger, m_rows);
  m_valueText.clear();
  return true;
}

bool UnitsModel::confirmListLoss() const {
  if (m_rows.empty()) return true;
  return ShowMessage(m_messenger, kCaptionAttention, kListLossQuestion, {}, MessageStyle::YesNo) ==
         MessageAnswer::Yes;
}

void UnitsModel::emptyList() { m_rows.clear(); }

bool UnitsModel::clearUnit(int which) {
  if (m_conversion.unit(which).empty()) return false;
  if (!confirmListLoss()) return false;
  m_conversion.rememberListUnits();
  qz::clearUnit(m_conversion.unit(which));
  emptyList();
  m_valueText.clear();
  m_conversion.RefreshConversions(m_messenger, m_rows);
  return true;
}

bool UnitsModel::swapUnits() {
  UnitRecord& current = m_conversion.unit(UnitConversion::kCurrent);
  UnitRecord& target = m_conversion.unit(UnitConversion::kNew);
  if (current.empty() || target.empty()) return false;
  if (!confirmListLoss()) return false;
  std::swap(current, target);
  emptyList();
  m_valueText.clear();
  m_resultValid = false;
  m_resultSelected = false;
  m_unitsValidated = false;
  return true;
}

bool UnitsModel::convert() {
  if (!m_unitsValidated) {
    if (!coherent()) return false;
    m_unitsValidated = true;
  }
  m_resultValid = false;
  bool appended = false;
  double value = 0.0;
  if (checkValue(value) == UnitValueStatus::Valid) {
    if (m_conversion.unit(UnitConversion::kCurrent).empty() ||
        m_conversion.unit(UnitConversion::kNew).empty()) {
      ShowMessage(m_messenger, kCaptionError, kUnitsUndefined, {}, MessageStyle::Error);
    } else {
      // Zero converts like any other value: 0 °C is 32 °F.
      const double result = m_conversion.Convert(value);
      m_resultValid = !m_conversion.conversionError();
      m_result = m_resultValid ? result : 0.0;
    }
  }
  if (m_resultValid) {
    if (m_rows.size() >= static_cast<std::size_t>(kMaxConversionRows)) {
      ShowMessage(m_messenger, kCaptionError, kListFull, {}, MessageStyle::Error);
    } else {
      m_rows.push_back({value, m_result});
      appended = true;
    }
  }
  m_resultSelected = false;
  return appended;
}

void UnitsModel::clearValue() {
  m_valueText.clear();
  m_resultValid = false;
  m_resultSelected = false;
  // An empty field holds no refused value.
  m_entryValid = true;
}

void UnitsModel::clearList() {
  emptyList();
  m_valueText.clear();
  m_entryValid = true;
}

void UnitsModel::clearLastConversion() {
  if (!m_rows.empty()) m_rows.pop_back();
}

void UnitsModel::clearAll() {
  clearValue();
  emptyList();
  // The list is already empty: emptying the units asks nothing.
  clearUnit(UnitConversion::kCurrent);
  clearUnit(UnitConversion::kNew);
  m_unitsValidated = false;
}

std::optional<double> UnitsModel::selectedResult() const {
  if (m_resultValid && m_resultSelected) return m_result;
  return std::nullopt;
}

void UnitsModel::useValue(double value) {
  const std::string text = FormatReal(value, FormatMode::Free, 2);
  if (text.size() <= static_cast<std::size_t>(kMaxValueLength)) m_valueText = text;
  m_entryValid = true;
}

}  // namespace qz
