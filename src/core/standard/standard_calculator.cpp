#include "standard/standard_calculator.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "numbers/messages.h"
#include "numbers/number_check.h"
#include "numbers/real_format.h"
#include "standard/display_number.h"

namespace qz {

namespace {

constexpr int kTextClearTape = 20;
constexpr int kTextClearMemories = 22;
constexpr double kPi = 3.14159265358979;

bool inRange(int id, StandardCommand first, int count = 10) {
  return id >= static_cast<int>(first) && id < static_cast<int>(first) + count;
}

}  // namespace

StandardCalculator::StandardCalculator(TapeEngine& engine, std::array<double, 10>& memories,
                                       Messenger& messenger)
    : m_engine(engine), m_memories(memories), m_messenger(messenger) {
  reset();
}

void StandardCalculator::reset() {
  m_engine.resetEditing();
  setDisplay({}, false);
  m_savedDisplay.clear();
  m_pressedKey = -1;
  m_ready = true;
  showEnd();
}

void StandardCalculator::beep() { SoundBeep(m_messenger, BeepKind::Warning); }

// ---- Display field ----------------------------------------------------------

void StandardCalculator::setDisplay(std::string text, bool selectAll) {
  m_display = std::move(text);
  m_selStart = selectAll ? 0 : static_cast<int>(m_display.size());
  m_selEnd = static_cast<int>(m_display.size());
}

void StandardCalculator::setDisplaySelection(int start, int end) {
  const int size = static_cast<int>(m_display.size());
  m_selStart = std::clamp(start, 0, size);
  m_selEnd = std::clamp(end, 0, size);
}

bool StandardCalculator::displayEnabled() const {
  return mode() != EditMode::ChangeOperator && mode() != EditMode::TotalSelected;
}

bool StandardCalculator::displayReadOnly() const { return m_engine.selectedIsFunctionResult(); }

bool StandardCalculator::displayEditable() const { return displayEnabled() && !displayReadOnly(); }

bool StandardCalculator::editDisplay(const std::string& newText, int caret) {
  if (!displayEditable()) return false;
  std::string text = TypedNumberText(newText);
  if (static_cast<int>(text.size()) > kDisplayLimit || !CheckTypedNumber(text)) {
    beep();
    const int back = std::clamp(caret - 1, 0, static_cast<int>(m_display.size()));
    m_selStart = m_selEnd = back;
    return false;
  }
  m_display = std::move(text);
  setDisplaySelection(caret, caret);
  return true;
}

bool StandardCalculator::typeCharacter(char c) {
  if (!displayEditable()) return false;
  const int from = std::min(m_selStart, m_selEnd);
  const int to = std::max(m_selStart, m_selEnd);
  std::string text = m_display;
  text.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from), 1, c);
  return editDisplay(text, from + 1);
}

void StandardCalculator::clearDisplay() {
  if (displayEditable()) setDisplay({}, false);
}

void StandardCalculator::displayFocusGained() { m_savedDisplay = m_display; }

bool StandardCalculator::displayFocusLost(FocusTarget target) {
  m_ready = true;
  if (target != FocusTarget::Other || !displayEnabled() || m_display.empty()) return true;
  const DisplayNumber number = checkDisplayNumber(m_display);
  if (number.valid) return true;
  ShowValueMessage(m_messenger, number.messageId, number.limit);
  setDisplay(m_savedDisplay, true);
  m_ready = false;
  return false;
}

// ---- Commands -----------------------------------------------------------------

void StandardCalculator::afterKey(KeyResult result, int countBefore) {
  m_lastResult = result;
  if (mode() != EditMode::Normal) return;
  // A key that could not use the display leaves the typed text for correction.
  const bool keepDisplay = result == KeyResult::InvalidDisplay ||
                           (result == KeyResult::Refused && m_engine.tape().count() == countBefore);
  if (!keepDisplay) setDisplay({}, false);
  showEnd();
}

void StandardCalculator::afterSelectionChange() {
  const int selected = m_engine.selected();
  switch (mode()) {
    case EditMode::EditNumber:
    case EditMode::TotalSelected:
      setDisplay(exchangeText(m_engine.tape()[selected].value), true);
      break;
    default:
      setDisplay({}, false);
      break;
  }
  m_savedDisplay = m_display;
  m_ready = true;
}

bool StandardCalculator::command(int id) {
  using C = StandardCommand;
  const int countBefore = m_engine.tape().count();
  const C c = static_cast<C>(id);
  switch (c) {
    case C::Pi:
      if (displayEditable()) setDisplay(exchangeText(kPi), false);
      return true;
    case C::ChangeSign:
      if (displayEditable() && !m_display.empty()) ChangeSign(m_display, m_selStart, m_selEnd);
      return true;
    case C::Open:
      afterKey(m_engine.pressOpen(), countBefore);
      return true;
    case C::Close:
      afterKey(m_engine.pressClose(m_display), countBefore);
      return true;
    case C::Plus:
    case C::Minus:
    case C::Times:
    case C::Divide:
      afterKey(m_engine.pressOperator(static_cast<EntryKind>(id - static_cast<int>(C::Plus) + 2), m_display),
               countBefore);
      return true;
    case C::SquareRoot:
    case C::Square:
    case C::Inverse:
      afterKey(
          m_engine.pressFunction(static_cast<EntryKind>(id - static_cast<int>(C::SquareRoot) + 6), m_display),
          countBefore);
      return true;
    case C::Total:
      afterKey(m_engine.pressTotal(m_display), countBefore);
      return true;
    case C::FreeMode:
      m_engine.setDisplayMode(0);
      return true;
    case C::FixedMode:
      m_engine.setDisplayMode(1);
      return true;
    case C::ScientificMode:
      m_engine.setDisplayMode(3);
      return true;
    case C::Refresh:
      m_engine.refresh();
      afterSelectionChange();
      showEnd();
      return true;
    case C::Update:
      m_lastResult = m_engine.updateSelected(m_display);
      return true;
    case C::EndEdit:
      m_engine.endEditing();
      afterSelectionChange();
      return true;
    case C::DeleteLast:
    case C::Undo:
      // With nothing on the tape the typed number stays.
      if (tapeEmpty()) return true;
      m_lastResult = m_engine.deleteLast();
      afterSelectionChange();
      showEnd();
      return true;
    case C::ClearTape:
      clearTapeConfirmed();
      return true;
    case C::ClearDisplay:
      clearDisplay();
      return true;
    default:
      break;
  }
  if (inRange(id, C::DecimalsFirst)) {
    m_engine.setDecimals(id - static_cast<int>(C::DecimalsFirst));
    return true;
  }
  return memoryCommand(id);
}

bool StandardCalculator::memoryCommand(int id) {
  using C = StandardCommand;
  if (id == static_cast<int>(C::ClearAllMemories)) {
    if (Confirm(m_messenger, kTextClearMemories)) m_memories.fill(0.0);
    return true;
  }
  const bool copy = inRange(id, C::CopyToMemoryFirst);
  const bool add = inRange(id, C::AddToMemoryFirst);
  const bool use = inRange(id, C::UseMemoryFirst) || inRange(id, C::MemoryButtonFirst);
  const bool clear = inRange(id, C::ClearMemoryFirst);
  if (!copy && !add && !use && !clear) return false;
  const std::size_t i = static_cast<std::size_t>(id % 10);
  if (clear) {
    m_memories[i] = 0.0;
    return true;
  }
  // With an operator selected the display holds nothing to take or to fill.
  if (mode() == EditMode::ChangeOperator) {
    beep();
    return true;
  }
  if (use) {
    const std::string text = exchangeText(m_memories[i]);
    if (displayEditable() && checkDisplayNumber(text).valid)
      setDisplay(text, false);
    else
      beep();
    return true;
  }
  const DisplayNumber number = checkDisplayNumber(m_display);
  if (!number.valid) return true;
  if (copy) {
    m_memories[i] = number.value;
  } else {
    const double sum = m_memories[i] + number.value;
    // An infinite memory could not be written to the settings and read back.
    if (std::isfinite(sum))
      m_memories[i] = sum;
    else
      beep();
  }
  return true;
}

void StandardCalculator::keypadPressed(int key) {
  m_pressedKey = key >= 0 && key < kKeypadKeyCount ? key : -1;
}

bool StandardCalculator::keypadActive() const {
  const int selected = m_engine.selected();
  if (selected < 0) return true;
  if (mode() == EditMode::TotalSelected) return false;
  const EntryKind kind = m_engine.tape().kindAt(selected);
  if (kind != EntryKind::Number && !isOperator(kind)) return false;
  return !isFunction(m_engine.tape().kindAt(selected - 1));
}

bool StandardCalculator::keypadReleased() {
  const int key = m_pressedKey;
  m_pressedKey = -1;
  if (key < 0 || !keypadActive()) return false;
  performKey(key);
  return true;
}

void StandardCalculator::performKey(int key) {
  if (key < 0 || key >= kKeypadKeyCount) return;
  const KeypadKey& k = keypadKeys()[static_cast<std::size_t>(key)];
  if (k.character != 0)
    typeCharacter(k.character);
  else
    command(k.command);
}

bool StandardCalculator::caretAfterExponent() const {
  if (!displayEditable() || m_selStart != m_selEnd || m_selStart <= 1) return false;
  const std::size_t caret = static_cast<std::size_t>(m_selStart);
  return caret <= m_display.size() && m_display[caret - 1] == 'E';
}

KeyInput StandardCalculator::withState(KeyInput input) const {
  input.afterExponent = caretAfterExponent();
  return input;
}

bool StandardCalculator::keyPressed(const KeyInput& input, int* forwarded) {
  if (forwarded) *forwarded = 0;
  const KeyboardAction action = keyboardAction(withState(input), tapeEmpty());
  switch (action.kind) {
    case KeyboardAction::None:
      return false;
    case KeyboardAction::Keypad:
      performKey(action.id);
      return true;
    case KeyboardAction::Command:
      if (!command(action.id) && forwarded) *forwarded = action.id;
      return true;
  }
  return false;
}

// ---- Tape view ------------------------------------------------------------------

int StandardCalculator::linesThatFit(int height, int lineHeight) {
  if (lineHeight <= 0) return 0;
  return std::max(0, (height - 2 * kTextInset) / lineHeight);
}

void StandardCalculator::setVisibleLines(int lines) {
  m_visibleLines = std::max(0, lines);
  scrollTo(m_firstVisible);
}

int StandardCalculator::scrollRange() const { return std::max(0, m_engine.tape().count() - m_visibleLines); }

void StandardCalculator::scrollLines(int delta) { scrollTo(m_firstVisible + delta); }

void StandardCalculator::scrollTo(int first) { m_firstVisible = std::clamp(first, 0, scrollRange()); }

TapeLine StandardCalculator::line(int index) const {
  if (index < 0 || index >= m_engine.tape().count()) return {};
  return tapeLine(m_engine.tape()[index], index == m_engine.selected());
}

std::vector<TapeLine> StandardCalculator::visibleTapeLines() const {
  std::vector<TapeLine> lines;
  const int last = std::min(m_engine.tape().count(), m_firstVisible + m_visibleLines);
  for (int i = m_firstVisible; i < last; ++i) lines.push_back(line(i));
  return lines;
}

int StandardCalculator::entryAtY(int y, int lineHeight) const {
  if (lineHeight <= 0 || y < kTextInset) return -1;
  const int row = (y - kTextInset) / lineHeight;
  if (row >= m_visibleLines) return -1;
  const int index = m_firstVisible + row;
  return index < m_engine.tape().count() ? index : -1;
}

void StandardCalculator::clickEntry(int index) {
  const bool hadSelection = m_engine.selected() >= 0;
  m_engine.select(index);
  // A stray click that selects nothing must not wipe the number being typed.
  if (!hadSelection && m_engine.selected() < 0) return;
  afterSelectionChange();
}

// ---- Memories and clipboard -----------------------------------------------------

double StandardCalculator::memory(int i) const {
  return i >= 0 && i < 10 ? m_memories[static_cast<std::size_t>(i)] : 0.0;
}

std::string StandardCalculator::memoryBoxText(int i, int width,
                                              const std::function<int(std::string_view)>& measure) const {
  const int room = width - 2 * kTextInset;
  for (int precision = 12; precision >= 3; --precision) {
    char format[16];
    std::snprintf(format, sizeof format, "%%.%dG", precision);
    std::string text = formatDouble(format, memory(i));
    if (measure(text) <= room) return text;
  }
  return {};
}

std::string StandardCalculator::copyText() const {
  const int from = std::min(m_selStart, m_selEnd);
  const int to = std::max(m_selStart, m_selEnd);
  if (from == to) return m_display;
  return m_display.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

bool StandardCalculator::paste(const std::string& clipboardText) {
  if (!displayEditable()) return false;
  const int from = std::min(m_selStart, m_selEnd);
  const int to = std::max(m_selStart, m_selEnd);
  const std::string pasted = TypedNumberText(clipboardText);
  std::string text = m_display;
  if (from == to)
    text = pasted;
  else
    text.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from), pasted);
  if (static_cast<int>(text.size()) > kDisplayLimit || !checkDisplayNumber(text).valid) {
    beep();
    return false;
  }
  const int caret = from == to ? static_cast<int>(text.size()) : from + static_cast<int>(pasted.size());
  m_display = std::move(text);
  setDisplaySelection(caret, caret);
  return true;
}

bool StandardCalculator::clearTapeConfirmed() {
  if (tapeEmpty() || !Confirm(m_messenger, kTextClearTape)) return false;
  clearAll();
  return true;
}

void StandardCalculator::clearAll() {
  m_engine.clearTape();
  setDisplay({}, false);
  showEnd();
}

}  // namespace qz
