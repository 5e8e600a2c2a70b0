#include "scientific/scientific_calculator.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "numbers/messages.h"
#include "numbers/number_check.h"
#include "numbers/real_format.h"
#include "scientific/expression_checker.h"

namespace qz {

namespace {

enum : int {
  kTextSmallestValue = 3,  ///< "Plus petite valeur = |%g| !"
  kTextMaximum = 6,        ///< "Valeur maximale = %g !"
  kTextMinimum = 7,        ///< "Valeur minimale = %g !"
  kTextIncorrectValue = 10,
  kTextListFull = 12,
  kTextClearAll = 20,
  kTextClipboard = 94,
  kTextCheckPassed = 164,
};

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string lowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool onlyCharacters(const std::string& text, const char* others) {
  return std::all_of(text.begin(), text.end(), [&](char c) {
    return isLetter(c) || isDigit(c) || (c != '\0' && std::strchr(others, c));
  });
}

/// Every line break (CR LF, CR or LF) written CR LF.
std::string crlfLines(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

void cutTo(std::string& text, std::size_t limit) {
  if (text.size() > limit) text.resize(limit);
}

std::string replaced(const std::string& text, TextSelection s, std::string_view insert) {
  std::size_t start =
      static_cast<std::size_t>(std::clamp(std::min(s.start, s.end), 0, static_cast<int>(text.size())));
  std::size_t end =
      static_cast<std::size_t>(std::clamp(std::max(s.start, s.end), 0, static_cast<int>(text.size())));
  return text.substr(0, start) + std::string(insert) + text.substr(end);
}

}  // namespace

ScientificCalculator::ScientificCalculator(Messenger& messenger)
    : m_messenger(messenger), m_engine(messenger) {}

ScientificCalculator::ScientificCalculator(Messenger& messenger, RandomGenerator random)
    : m_messenger(messenger), m_engine(messenger, random) {}

void ScientificCalculator::open(ScientificState state) {
  m_x.clear();
  m_ready = true;
  loadState(std::move(state));
}

void ScientificCalculator::loadState(ScientificState state) {
  m_state = std::move(state);
  if (m_state.results.size() > kMaxResults) m_state.results.resize(kMaxResults);
  m_undoCount = 0;
  m_state.history[0] = {m_state.expression, m_state.constants};
  m_resultValid = false;
  m_resultSelected = false;
}

void ScientificCalculator::invalidate() {
  m_resultValid = false;
  m_resultSelected = false;
}

void ScientificCalculator::changed() {
  invalidate();
  m_state.results.clear();
}

void ScientificCalculator::pushHistory() {
  std::move_backward(m_state.history.begin(), m_state.history.end() - 1, m_state.history.end());
  m_state.history[0] = {m_state.expression, m_state.constants};
  ++m_undoCount;
}

bool ScientificCalculator::editExpression(std::string_view typed) {
  std::string text = lowerCase(typed);
  if (!onlyCharacters(text, " =.+-*/^()")) {
    SoundBeep(m_messenger, BeepKind::Warning);
    return false;
  }
  cutTo(text, kMaxExpressionLength);
  if (text != m_state.expression) {
    m_state.expression = std::move(text);
    changed();
  }
  return true;
}

bool ScientificCalculator::editConstants(std::string_view typed) {
  std::string text = crlfLines(lowerCase(typed));
  if (!onlyCharacters(text, " =.+-;\r\n")) {
    SoundBeep(m_messenger, BeepKind::Warning);
    return false;
  }
  cutTo(text, kMaxConstantsLength);
  if (text != m_state.constants) {
    m_state.constants = std::move(text);
    changed();
  }
  return true;
}

bool ScientificCalculator::editX(std::string_view typed) {
  std::string text = TypedNumberText(typed);
  cutTo(text, kMaxXLength);
  if (!CheckNumberText(text, static_cast<int>(NumberKind::Real), true)) {
    SoundBeep(m_messenger, BeepKind::Warning);
    return false;
  }
  m_x = std::move(text);
  return true;
}

void ScientificCalculator::leaveExpression() {
  std::string text = normalisedExpression(m_state.expression);
  if (text != m_state.expression) {
    m_state.expression = std::move(text);
    changed();
  }
  if (m_state.expression != m_state.history[0].expression) pushHistory();
}

void ScientificCalculator::leaveConstants() {
  std::string text;
  for (char c : m_state.constants)
    if (c != ' ' && c != '\t') text += c;
  std::size_t first = text.find_first_not_of(';');
  std::size_t last = text.find_last_not_of(';');
  text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  std::string lines;
  for (char c : text) lines += c == ';' ? std::string("\r\n") : std::string(1, c);
  cutTo(lines, kMaxConstantsLength);
  if (lines != m_state.constants) {
    m_state.constants = std::move(lines);
    changed();
  }
  if (m_state.constants != m_state.history[0].constants) pushHistory();
}

void ScientificCalculator::setAngleUnit(AngleUnit unit) {
  if (unit == m_state.angleUnit) return;
  m_state.angleUnit = unit;
  changed();
}

bool ScientificCalculator::check() {
  if (!m_engine.CheckExpression(m_state.expression, m_state.constants)) return false;
  if (!m_engine.CompileExpression(m_state.expression, m_state.constants, m_state.angleUnit)) return false;
  ShowMessage(m_messenger, kCaptionCheck, kTextCheckPassed, {}, MessageStyle::Information);
  return true;
}

XFieldStatus ScientificCalculator::checkX(double& x) {
  m_ready = true;
  if (m_x.empty()) return XFieldStatus::Empty;
  int textId = 0;
  double limit = 0.0;
  const char* begin = m_x.c_str();
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(begin, &end);
  bool complete = end != begin && *end == '\0' && std::all_of(m_x.begin(), m_x.end(), [](char c) {
                    return std::strchr("0123456789.eE+-", c);
                  });
  if (!complete) {
    textId = kTextIncorrectValue;
  } else if (v > 1e300) {  // an overflowing text reads as infinite: above the maximum too
    textId = kTextMaximum;
    limit = 1e300;
  } else if (v < -1e300) {
    textId = kTextMinimum;
    limit = -1e300;
  } else if ((v != 0.0 && std::fabs(v) < 1e-300) || (errno == ERANGE && std::fabs(v) < 1.0)) {
    // Also a text such as 1E-400 that underflows to 0.
    textId = kTextSmallestValue;
    limit = 1e-300;
  }
  if (textId != 0) {
    ShowValueMessage(m_messenger, textId, limit);
    m_ready = false;
    return XFieldStatus::Invalid;
  }
  x = v;
  return XFieldStatus::Valid;
}

bool ScientificCalculator::evaluateWithChecks(double x, double& y) {
  return m_engine.CheckExpression(m_state.expression, m_state.constants) &&
         m_engine.CompileExpression(m_state.expression, m_state.constants, m_state.angleUnit) &&
         m_engine.EvaluateExpression(x, y);
}

bool ScientificCalculator::calculate() {
  double x = 0.0;
  if (checkX(x) != XFieldStatus::Valid) return false;
  double y = 0.0;
  if (!evaluateWithChecks(x, y)) {
    invalidate();
    return false;
  }
  m_result = y;
  m_resultValid = true;
  if (m_state.results.size() >= kMaxResults) {
    ShowMessage(m_messenger, kCaptionError, kTextListFull, {}, MessageStyle::Error);
    return false;
  }
  m_state.results.push_back({x, y});
  return true;
}

void ScientificCalculator::clearX() {
  m_x.clear();
  invalidate();
}

void ScientificCalculator::clearList() { m_state.results.clear(); }

void ScientificCalculator::clearLastResult() {
  if (!m_state.results.empty()) m_state.results.pop_back();
}

bool ScientificCalculator::clearAll() {
  if (!Confirm(m_messenger, kTextClearAll)) return false;
  clearCalculator();
  return true;
}

void ScientificCalculator::clearCalculator() {
  m_x.clear();
  m_state.angleUnit = AngleUnit::Radians;
  m_state.expression = "y=0";
  m_state.constants.clear();
  changed();
}

bool ScientificCalculator::undo() {
  if (m_undoCount <= 0) return false;
  // Entries 2 to 9 move up one place; entry 9 stays, entry 10 is never restored.
  std::copy(m_state.history.begin() + 1, m_state.history.begin() + 9, m_state.history.begin());
  m_state.expression = m_state.history[0].expression;
  m_state.constants = m_state.history[0].constants;
  --m_undoCount;
  changed();
  return true;
}

std::string ScientificCalculator::resultBoxText() const {
  std::string text(1, ' ');
  text += m_resultValid ? FormatReal(m_result, FormatMode::Free) : std::string("?");
  return text;
}

std::string ScientificCalculator::resultLine(std::size_t i) const {
  const ResultPair& row = m_state.results.at(i);
  std::string line = formatDouble("%.12G", row.x);
  line.resize(std::max<std::size_t>(16, line.size() + 1), ' ');
  return line + formatDouble("%.12G", row.y);
}

std::string ScientificCalculator::copyText(ScientificField focus, std::string_view fieldSelection) const {
  if (focus != ScientificField::None && !fieldSelection.empty()) return std::string(fieldSelection);
  return m_resultValid ? FormatReal(m_result, FormatMode::Free) : std::string();
}

std::string ScientificCalculator::listCopyText() const {
  std::string text;
  for (const ResultPair& row : m_state.results)
    text += formatDouble("%.12G", row.x) + "\t" + formatDouble("%.12G", row.y) + "\r\n";
  return text;
}

ScientificField ScientificCalculator::pasteTarget(ScientificField focus) {
  return focus == ScientificField::Expression || focus == ScientificField::Constants ? focus
                                                                                     : ScientificField::X;
}

std::optional<FieldUpdate> ScientificCalculator::paste(ScientificField focus, std::string_view clipboard,
                                                       TextSelection selection) {
  ScientificField target = pasteTarget(focus);
  int caret = std::min(selection.start, selection.end) + static_cast<int>(clipboard.size());
  bool accepted = false;
  switch (target) {
    case ScientificField::Expression:
      accepted = editExpression(replaced(m_state.expression, selection, clipboard));
      return accepted
                 ? std::optional<FieldUpdate>({target, m_state.expression,
                                               std::min(caret, static_cast<int>(m_state.expression.size()))})
                 : std::nullopt;
    case ScientificField::Constants:
      accepted = editConstants(replaced(m_state.constants, selection, clipboard));
      return accepted
                 ? std::optional<FieldUpdate>({target, m_state.constants,
                                               std::min(caret, static_cast<int>(m_state.constants.size()))})
                 : std::nullopt;
    default:
      accepted = editX(selection.empty() ? std::string(clipboard) : replaced(m_x, selection, clipboard));
      return accepted ? std::optional<FieldUpdate>({target, m_x, static_cast<int>(m_x.size())})
                      : std::nullopt;
  }
}

void ScientificCalculator::reportClipboardFailure() {
  ShowMessage(m_messenger, kCaptionError, kTextClipboard, {}, MessageStyle::Error);
}

std::optional<std::string> ScientificCalculator::memorySourceText(ScientificField focus) {
  bool selected = m_resultSelected;
  m_resultSelected = false;
  double x = 0.0;
  if (checkX(x) != XFieldStatus::Valid) return std::nullopt;
  if (focus == ScientificField::X) return m_x;
  if (m_resultValid && selected) return exchangeText(m_result);
  return std::nullopt;
}

std::optional<FieldUpdate> ScientificCalculator::useMemory(double value, ScientificField focus,
                                                           TextSelection selection) {
  m_resultSelected = false;
  std::string text = FormatReal(value, FormatMode::Free);
  if (focus == ScientificField::Expression || focus == ScientificField::Constants)
    return paste(focus, text, selection);
  if (!editX(text)) return std::nullopt;
  return FieldUpdate{ScientificField::X, m_x, static_cast<int>(m_x.size())};
}

bool ScientificCalculator::canCheck() const {
  return m_state.expression != "y=0" || !m_state.constants.empty();
}

bool ScientificCalculator::canClearAll() const {
  return !m_state.results.empty() || m_state.expression != "y=0" || !m_state.constants.empty() ||
         !m_x.empty();
}

bool ScientificCalculator::canPrint() const { return scientificReportWanted(m_state); }

}  // namespace qz
