#include "standard/tape_engine.h"

#include <cmath>
#include <vector>

#include "numbers/messages.h"
#include "standard/calculation_text.h"
#include "standard/display_number.h"

namespace qz {

namespace {

constexpr int kTextFullTape = 4;
constexpr int kTextUnbalanced = 49;

bool isOperatorFunctionOpenOrEquals(EntryKind k) {
  return isOperator(k) || isFunction(k) || k == EntryKind::Open || k == EntryKind::Equals;
}

char textOperator(EntryKind k) {
  switch (k) {
    case EntryKind::Plus:
      return kTextPlus;
    case EntryKind::Minus:
      return kTextMinus;
    case EntryKind::Times:
      return '*';
    case EntryKind::Divide:
      return '/';
    default:
      return '^';
  }
}

// A function of the entry before it; an operand in error gives 0 in error.
TextValue applyFunction(EntryKind kind, double v, bool error) {
  if (error) return {0.0, true};
  double r = 0.0;
  switch (kind) {
    case EntryKind::SquareRoot:
      if (v < 0.0) return {0.0, true};
      r = std::sqrt(v);
      break;
    case EntryKind::Square:
      r = v * v;
      break;
    default:
      if (v == 0.0) return {0.0, true};
      r = 1.0 / v;
      break;
  }
  // The square has no range check of its own: a square that is not finite or
  // beyond 1E+300 is an error like any other overflow.
  if (!std::isfinite(r) || std::fabs(r) > 1e300) return {0.0, true};
  if (std::fabs(r) < 1e-300) r = 0.0;
  return {r, false};
}

}  // namespace

void TapeEngine::setDisplaySetting(DisplaySetting setting) {
  setDisplayMode(setting.mode);
  setDecimals(setting.decimals);
}

void TapeEngine::setDisplayMode(int mode) {
  if (mode >= 0 && mode <= 4) m_display.mode = mode;
}

void TapeEngine::setDecimals(int decimals) {
  if (decimals >= 0 && decimals <= 9) m_display.decimals = decimals;
}

bool TapeEngine::capacityReached() {
  if (m_tape.count() < Tape::kAddLimit) return false;
  ShowMessage(*m_messenger, kCaptionError, kTextFullTape, {}, MessageStyle::Error);
  return true;
}

bool TapeEngine::roomFor(int entries) {
  // A separator, a number, a function and its result make four entries: the
  // count limit alone would let them run past the end of the table.
  if (m_tape.count() < Tape::kAddLimit && m_tape.count() + entries <= Tape::kCapacity) return true;
  ShowMessage(*m_messenger, kCaptionError, kTextFullTape, {}, MessageStyle::Error);
  return false;
}

KeyResult TapeEngine::pressOperator(EntryKind kind, const std::string& display) {
  if (!isOperator(kind)) return KeyResult::Ignored;
  if (m_mode == EditMode::ChangeOperator) return editSelected(kind);
  if (m_mode != EditMode::Normal) return KeyResult::Ignored;
  if (capacityReached()) return KeyResult::Refused;
  const EntryKind last = m_tape.lastKind();
  const bool displayEmpty = display.empty();
  if (isOperatorFunctionOpenOrEquals(last) && displayEmpty) return KeyResult::Ignored;
  if (last == EntryKind::Number || last == EntryKind::Close || (last == EntryKind::Total && displayEmpty)) {
    if (!roomFor(1)) return KeyResult::Refused;
    m_tape.append(kind, 0.0, m_display);
    return KeyResult::Done;
  }
  DisplayNumber number = checkDisplayNumber(display);
  if (!number.valid) return KeyResult::InvalidDisplay;
  const bool newCalculation = last == EntryKind::Total;
  if (!roomFor(newCalculation ? 3 : 2)) return KeyResult::Refused;
  if (newCalculation) m_tape.append(EntryKind::Separator, 0.0, m_display);
  m_tape.append(EntryKind::Number, number.value, m_display);
  m_tape.append(kind, 0.0, m_display);
  return KeyResult::Done;
}

KeyResult TapeEngine::pressFunction(EntryKind kind, const std::string& display) {
  if (!isFunction(kind)) return KeyResult::Ignored;
  if (m_mode == EditMode::ChangeOperator) return editSelected(kind);
  if (m_mode != EditMode::Normal) return KeyResult::Ignored;
  if (capacityReached()) return KeyResult::Refused;
  const EntryKind last = m_tape.lastKind();
  const bool displayEmpty = display.empty();
  if (isOperatorFunctionOpenOrEquals(last) && displayEmpty) return KeyResult::Ignored;
  if (last == EntryKind::Number || last == EntryKind::Close || (last == EntryKind::Total && displayEmpty)) {
    // The function takes the number, the group just closed, or the total.
    if (!roomFor(2)) return KeyResult::Refused;
    m_tape.append(kind, 0.0, m_display);
    evaluate(m_tape.count() - 1, false);
    return KeyResult::Done;
  }
  DisplayNumber number = checkDisplayNumber(display);
  if (!number.valid) return KeyResult::InvalidDisplay;
  const bool newCalculation = last == EntryKind::Total;
  if (!roomFor(newCalculation ? 4 : 3)) return KeyResult::Refused;
  if (newCalculation) m_tape.append(EntryKind::Separator, 0.0, m_display);
  m_tape.append(EntryKind::Number, number.value, m_display);
  m_tape.append(kind, 0.0, m_display);
  evaluate(m_tape.count() - 1, false);
  return KeyResult::Done;
}

KeyResult TapeEngine::pressOpen() {
  if (m_mode == EditMode::EditNumber || m_mode == EditMode::TotalSelected) return KeyResult::Ignored;
  if (capacityReached()) return KeyResult::Refused;
  const EntryKind last = m_tape.lastKind();
  if (m_tape.empty() || isOperator(last) || last == EntryKind::Open) {
    if (!roomFor(1)) return KeyResult::Refused;
    m_tape.append(EntryKind::Open, 0.0, m_display);
    return KeyResult::Done;
  }
  if (last == EntryKind::Total) {
    if (!roomFor(2)) return KeyResult::Refused;
    m_tape.append(EntryKind::Separator, 0.0, m_display);
    m_tape.append(EntryKind::Open, 0.0, m_display);
    return KeyResult::Done;
  }
  return KeyResult::Ignored;
}

KeyResult TapeEngine::pressClose(const std::string& display) {
  if (m_mode == EditMode::EditNumber || m_mode == EditMode::TotalSelected) return KeyResult::Ignored;
  if (currentIndex() < 2) return KeyResult::Ignored;
  const EntryKind last = m_tape.lastKind();
  if (last != EntryKind::Number && last != EntryKind::Close) {
    DisplayNumber number = checkDisplayNumber(display);
    if (!number.valid) return KeyResult::InvalidDisplay;
    if (!roomFor(2)) return KeyResult::Refused;
    m_tape.append(EntryKind::Number, number.value, m_display);
    m_tape.append(EntryKind::Close, 0.0, m_display);
    return KeyResult::Done;
  }
  // The new ")" takes the level of a number there, one less after a ")": it
  // must still close something.
  const int level = m_tape[m_tape.count() - 1].level;
  if (level < (last == EntryKind::Close ? 2 : 1)) return KeyResult::Ignored;
  if (!roomFor(1)) return KeyResult::Refused;
  m_tape.append(EntryKind::Close, 0.0, m_display);
  return KeyResult::Done;
}

KeyResult TapeEngine::pressTotal(const std::string& display) {
  if (m_tape.empty() || m_mode == EditMode::EditNumber || m_mode == EditMode::TotalSelected)
    return KeyResult::Ignored;
  const EntryKind last = m_tape.lastKind();
  if (last == EntryKind::Total) {
    // Total again: the calculation is evaluated again, nothing is added.
    return evaluate(m_tape.count() - 1, true).balanced ? KeyResult::Done : KeyResult::Refused;
  }
  if (last != EntryKind::Number && last != EntryKind::Close) {
    DisplayNumber number = checkDisplayNumber(display);
    if (!number.valid) return KeyResult::InvalidDisplay;
    if (!roomFor(3)) return KeyResult::Refused;
    m_tape.append(EntryKind::Number, number.value, m_display);
  } else if (!roomFor(2)) {
    return KeyResult::Refused;
  }
  Evaluation result = evaluate(m_tape.count() - 1, true);
  if (!result.balanced) return KeyResult::Refused;
  m_tape.append(EntryKind::Equals, 0.0, m_display);
  m_tape.append(EntryKind::Total, result.value, m_display, result.error);
  return KeyResult::Done;
}

KeyResult TapeEngine::deleteLast() {
  if (m_tape.empty()) return KeyResult::Ignored;
  m_tape.removeLast();
  const EntryKind last = m_tape.lastKind();
  if (isFunction(last) || last == EntryKind::Equals || last == EntryKind::Separator) m_tape.removeLast();
  if (!m_tape.empty()) evaluate(m_tape.count() - 1, false);
  resetEditing();
  return KeyResult::Done;
}

void TapeEngine::clearTape() {
  m_tape.clear();
  resetEditing();
}

void TapeEngine::refresh() {
  if (!m_tape.empty()) {
    const int index = m_selected >= 0 ? m_selected : m_tape.count() - 1;
    evaluate(index, false);
    const CalculationRange range = m_tape.calculationAround(index);
    for (int i = range.begin; i < range.end; ++i) m_tape.at(i).display = m_display;
  }
  resetEditing();
}

void TapeEngine::resetEditing() {
  m_mode = EditMode::Normal;
  m_selected = -1;
}

EditMode TapeEngine::select(int index) {
  const EntryKind kind = m_tape.kindAt(index);
  EditMode mode = EditMode::Normal;
  if (kind == EntryKind::Number)
    mode = EditMode::EditNumber;
  else if (isOperator(kind) || isFunction(kind))
    mode = EditMode::ChangeOperator;
  else if (kind == EntryKind::Total)
    mode = EditMode::TotalSelected;
  if (mode == EditMode::Normal) {
    resetEditing();
  } else {
    m_mode = mode;
    m_selected = index;
  }
  return m_mode;
}

bool TapeEngine::selectedIsFunctionResult() const {
  return m_mode == EditMode::EditNumber && isFunction(m_tape.kindAt(m_selected - 1));
}

KeyResult TapeEngine::updateSelected(const std::string& display) {
  if (m_mode != EditMode::EditNumber || selectedIsFunctionResult()) return KeyResult::Ignored;
  DisplayNumber number = checkDisplayNumber(display);
  if (!number.valid) return KeyResult::InvalidDisplay;
  m_tape.rewrite(m_selected, EntryKind::Number, number.value, m_display);
  evaluate(m_selected, false);
  return KeyResult::Done;
}

KeyResult TapeEngine::editSelected(EntryKind kind) {
  const TapeEntry& entry = m_tape[m_selected];
  if (entry.kind == kind) return KeyResult::Ignored;
  // An operator stays an operator and a function a function: the entries
  // around them would no longer make sense otherwise.
  if (isOperator(kind) && !isOperator(entry.kind)) return KeyResult::Ignored;
  if (isFunction(kind) && !isFunction(entry.kind)) return KeyResult::Ignored;
  m_tape.rewrite(m_selected, kind, 0.0, m_display);
  evaluate(m_selected, false);
  return KeyResult::Done;
}

Evaluation TapeEngine::evaluate(int index, bool withMessages) {
  if (m_tape.empty()) return {};
  const CalculationRange range = m_tape.calculationAround(index);
  const int begin = range.begin;
  int end = range.end;

  // Totals and function results are stamped only when their value or flag
  // changes, so entries keep their display until they really change.
  std::vector<char> oldError;
  oldError.reserve(static_cast<std::size_t>(end - begin) + 4);
  for (int i = begin; i < end; ++i) {
    TapeEntry& e = m_tape.at(i);
    oldError.push_back(e.error);
    e.error = false;
    e.absorbed = false;
  }
  auto writeResult = [&](int i, double value, bool error) {
    TapeEntry& e = m_tape.at(i);
    const bool changed = e.value != value || (oldError[static_cast<std::size_t>(i - begin)] != 0) != error;
    e.value = value;
    e.error = error;
    if (changed) e.display = m_display;
  };

  // The state of the text building, recorded before each entry so that an
  // operand taken by a function can be taken back out of the text.
  struct State {
    std::size_t textLength = 0;
    int opens = 0;
    int closes = 0;
    bool calcError = false;  // a number in error puts the whole calculation in error
    bool prevError = false;  // an entry after a flagged entry takes the flag
    int generation = 0;      // bumped each time the text starts afresh after a total
  };
  struct Mark {
    State before;
    bool ownError = false;  // the flag before spreading: a function result's own
  };
  std::vector<Mark> marks;
  marks.reserve(static_cast<std::size_t>(end - begin) + 4);
  std::string text;
  State s;

  auto rollBackTo = [&](int first, int function) {
    const State& b = marks[static_cast<std::size_t>(first - begin)].before;
    text.resize(b.textLength);
    const int generation = s.generation;
    s = b;
    s.generation = generation;
    for (int k = first; k < function; ++k) {
      TapeEntry& e = m_tape.at(k);
      e.error = marks[static_cast<std::size_t>(k - begin)].ownError;
      e.absorbed = true;
    }
  };

  for (int i = begin; i < end; ++i) {
    s.textLength = text.size();
    marks.push_back({s, m_tape[i].error});
    const EntryKind kind = m_tape[i].kind;

    if (isFunction(kind)) {
      const int operand = i - 1;
      const EntryKind operandKind = operand >= begin ? m_tape.kindAt(operand) : EntryKind::Empty;
      const int next = i + 1;
      const bool overwrite = next < end && m_tape.kindAt(next) == EntryKind::Number;
      const bool canPlace = overwrite || m_tape.count() < Tape::kCapacity;
      double v = 0.0;
      bool operandError = true;
      if (canPlace && operandKind == EntryKind::Number) {
        v = m_tape[operand].value;
        operandError = marks[static_cast<std::size_t>(operand - begin)].ownError;
        rollBackTo(operand, i);
      } else if (canPlace && operandKind == EntryKind::Total) {
        // The total was computed just before and the text started afresh.
        v = m_tape[operand].value;
        operandError = m_tape[operand].error;
        m_tape.at(operand).absorbed = true;
      } else if (canPlace && operandKind == EntryKind::Close) {
        // The group's value stands as the operand; the whole group is absorbed.
        int open = operand;
        for (int depth = 0; open >= begin; --open) {
          const EntryKind k = m_tape.kindAt(open);
          if (k == EntryKind::Close) ++depth;
          if (k == EntryKind::Open && --depth == 0) break;
        }
        const State* before = open >= begin ? &marks[static_cast<std::size_t>(open - begin)].before : nullptr;
        if (before && before->generation == s.generation && before->textLength <= text.size()) {
          const std::size_t from = before->textLength;
          TextValue group = evaluateCalculationText(std::string_view(text).substr(from));
          operandError = group.error || s.calcError;
          v = operandError ? 0.0 : group.value;
          rollBackTo(open, i);
        }
      }
      TapeEntry& f = m_tape.at(i);
      if (s.prevError) f.error = true;
      s.prevError = f.error;
      if (!canPlace) continue;
      const TextValue r = applyFunction(kind, v, operandError);
      if (overwrite) {
        writeResult(next, r.value, r.error);
      } else {
        m_tape.insert(next, EntryKind::Number, r.value, m_display, r.error);
        oldError.insert(oldError.begin() + (next - begin), 0);
        ++end;
      }
      continue;
    }

    TapeEntry& e = m_tape.at(i);
    if (s.prevError) e.error = true;
    switch (kind) {
      case EntryKind::Number:
        text += exchangeText(e.value);
        if (e.error) s.calcError = true;
        break;
      case EntryKind::Plus:
      case EntryKind::Minus:
      case EntryKind::Times:
      case EntryKind::Divide:
      case EntryKind::Power:
        text += textOperator(kind);
        break;
      case EntryKind::Open:
        text += '(';
        ++s.opens;
        break;
      case EntryKind::Close:
        text += ')';
        ++s.closes;
        break;
      case EntryKind::Total: {
        const TextValue v = s.calcError ? TextValue{0.0, true} : evaluateCalculationText(text);
        const bool error = v.error || e.error;
        const double value = error ? 0.0 : v.value;
        writeResult(i, value, error);
        const bool absorbedNext = i + 1 < end && isFunction(m_tape.kindAt(i + 1));
        if (i == end - 1 || absorbedNext) {
          text.clear();
          s.opens = s.closes = 0;
          s.calcError = false;
          ++s.generation;
        } else {
          text = exchangeText(value);
          if (error) s.calcError = true;
          ++s.generation;  // a group cannot reach back past a total
        }
        break;
      }
      default:  // "=" adds nothing
        break;
    }
    s.prevError = m_tape[i].error;
  }

  if (s.opens != s.closes) {
    if (withMessages) ShowMessage(*m_messenger, kCaptionError, kTextUnbalanced, {}, MessageStyle::Error);
    return {false, 0.0, false};
  }
  const TextValue v = s.calcError ? TextValue{0.0, true} : evaluateCalculationText(text);
  return {true, v.error ? 0.0 : v.value, v.error};
}

}  // namespace qz
