#include "statistics/stat_grid.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "numbers/messages.h"
#include "numbers/number_check.h"
#include "numbers/real_format.h"
#include "numbers/string_table.h"

namespace qz {

namespace {

constexpr double kValueLimit = 1e300;
constexpr double kCountLimit = 2147483647.0;

std::string fourDigits(int n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d", n);
  return buffer;
}

// Reads a whole normalised number text; overflow gives ±HUGE_VAL, which the
// range checks then refuse with the limit.
bool readWhole(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) return false;
  if (std::fabs(value) < 1e-300) value = 0.0;
  return true;
}

}  // namespace

StatGrid::StatGrid(StatTable& table, Messenger& messenger, StatMode mode)
    : m_table(table), m_messenger(messenger), m_mode(mode) {}

void StatGrid::setMode(StatMode mode) {
  m_mode = mode;
  reset();
}

void StatGrid::reset() {
  m_scroll = 0;
  m_selection = {};
  m_dragging = false;
  m_editorOpen = false;
  m_editorText.clear();
  m_row = 1;
  m_column = 0;
  m_newValues = {};
  m_newFilled = {};
  m_undoAvailable = false;
}

void StatGrid::changed() {
  if (m_onChange) m_onChange();
}

int StatGrid::rows() const { return std::min(m_table.count() + 1, StatTable::kCapacity); }

int StatGrid::newRow() const { return m_table.isFull() ? 0 : m_table.count() + 1; }

std::string StatGrid::rowNumberText(int row) const { return fourDigits(row); }

std::string StatGrid::countText() const { return fourDigits(m_table.count()); }

std::string StatGrid::valueText(double value, int column) const {
  if (isCountColumn(column)) return FormatReal(value, FormatMode::Integer);
  return formatDouble("%.9G", value);
}

std::string StatGrid::cellText(int row, int column) const {
  if (column < 0 || column >= valueColumns()) return {};
  if (row >= 1 && row <= m_table.count()) return valueText(m_table.value(row, column), column);
  if (row == newRow() && newRowFilled(column))
    return valueText(m_newValues[static_cast<std::size_t>(column)], column);
  return {};
}

int StatGrid::maxScroll() const { return std::max(0, rows() - kVisibleRows); }

void StatGrid::scrollTo(int position) {
  closeEditor();
  m_scroll = std::clamp(position, 0, maxScroll());
}

void StatGrid::ensureVisible(int row) {
  if (row < m_scroll + 1) m_scroll = row - 1;
  if (row > m_scroll + kVisibleRows) m_scroll = row - kVisibleRows;
  m_scroll = std::clamp(m_scroll, 0, maxScroll());
}

// Selection.

void StatGrid::selectAll() {
  closeEditor();
  m_selection = {0, valueColumns() - 1, 1, rows()};
}

void StatGrid::selectColumn(int column) {
  closeEditor();
  column = std::clamp(column, 0, valueColumns() - 1);
  m_selection = {column, column, 1, rows()};
}

void StatGrid::selectRow(int row) {
  closeEditor();
  if (row < 1 || row > rows()) return;
  m_selection = {0, valueColumns() - 1, row, row};
  normaliseSelection();
}

void StatGrid::selectRows(int from, int to, int option) {
  closeEditor();
  if (from > to) std::swap(from, to);
  from = std::max(from, 1);
  to = std::min(to, m_table.count());
  if (from > to) {
    m_selection = {};
    return;
  }
  int first = option == 1 ? 1 : 0;
  int last = option == 0 || valueColumns() == 1 ? 0 : 1;
  if (valueColumns() == 1) first = 0;
  m_selection = {first, last, from, to};
}

StatGrid::RowRangeChoice StatGrid::selectionDialogStart() const {
  if (m_selection.isNone()) return {1, m_table.count(), 0};
  int option = m_selection.firstColumn != m_selection.lastColumn ? 2 : m_selection.firstColumn;
  return {m_selection.firstRow, std::min(m_selection.lastRow, std::max(m_table.count(), 1)), option};
}

void StatGrid::normaliseSelection() {
  GridSelection& s = m_selection;
  if (s.isNone()) return;
  if (s.firstRow > s.lastRow) std::swap(s.firstRow, s.lastRow);
  if (s.firstColumn > s.lastColumn) std::swap(s.firstColumn, s.lastColumn);
  // The new row is never complete: it is not part of a selection of data.
  if (s.lastRow == newRow()) --s.lastRow;
  if (s.lastRow < s.firstRow) s = {};
}

void StatGrid::pressCell(int row, int column) {
  closeEditor();
  row = std::clamp(row, 1, rows());
  column = std::clamp(column, 0, valueColumns() - 1);
  m_dragging = true;
  m_anchorRow = m_dragRow = row;
  m_anchorColumn = m_dragColumn = column;
  m_selection = {column, column, row, row};
}

void StatGrid::dragTo(int row, int column) {
  if (!m_dragging) return;
  m_dragRow = std::clamp(row, 1, rows());
  m_dragColumn = std::clamp(column, 0, valueColumns() - 1);
  m_selection = {std::min(m_anchorColumn, m_dragColumn), std::max(m_anchorColumn, m_dragColumn),
                 std::min(m_anchorRow, m_dragRow), std::max(m_anchorRow, m_dragRow)};
}

bool StatGrid::release() {
  if (!m_dragging) return false;
  m_dragging = false;
  if (m_anchorRow == m_dragRow && m_anchorColumn == m_dragColumn) {
    m_selection = {};
    openEditor(m_anchorRow, m_anchorColumn);
    return true;
  }
  normaliseSelection();
  return false;
}

void StatGrid::autoScroll(int direction) {
  if (!m_dragging || direction == 0) return;
  m_scroll = std::clamp(m_scroll + (direction < 0 ? -1 : 1), 0, maxScroll());
  dragTo(direction < 0 ? m_scroll + 1 : std::min(m_scroll + kVisibleRows, rows()), m_dragColumn);
}

// Editor.

void StatGrid::openEditor(int row, int column) {
  if (row < 1 || row > rows() || column < 0 || column >= valueColumns()) return;
  m_editorOpen = true;
  m_row = row;
  m_column = column;
  m_editorText = m_openedText = cellText(row, column);
  ensureVisible(row);
}

bool StatGrid::setEditorText(const std::string& typed) {
  const std::string text = TypedNumberText(typed);
  // A count is typed as any number: a negative or fractional one is then
  // refused when the cell is left, with a message that says why, rather than
  // with a beep at the "-" or "." that says nothing.
  const bool ok = static_cast<int>(text.size()) <= kEditorMaxLength && CheckTypedNumber(text);
  if (!ok) {
    SoundBeep(m_messenger, BeepKind::Warning);
    return false;
  }
  if (text != m_editorText) {
    m_editorText = text;
    changed();
  }
  return true;
}

CommitResult StatGrid::commitEditor(bool quiet) {
  if (!m_editorOpen) return CommitResult::Accepted;
  const bool inNewRow = m_row == newRow();
  const std::string previous = cellText(m_row, m_column);
  auto refuse = [&]() {
    m_editorText = previous;
    return CommitResult::Refused;
  };

  // Passing through a cell without typing leaves its value as it is, even
  // when it holds more digits than the editor shows.
  if (!inNewRow && m_editorText == m_openedText) return CommitResult::Accepted;
  std::string text = m_editorText.substr(0, kEditorMaxLength);
  bool blank = std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
  if (blank) {
    if (valueColumns() == 1 && m_table.count() == 1 && m_row == 1) {
      m_table.clear();
      reset();
      m_editorOpen = true;
      changed();
      return CommitResult::TableCleared;
    }
    if (inNewRow) {
      m_newFilled[static_cast<std::size_t>(m_column)] = false;
      return CommitResult::Accepted;
    }
    if (!quiet) ShowMessage(m_messenger, kCaptionError, kGridValueRequired, {}, MessageStyle::Warning);
    return refuse();
  }

  double value = 0.0;
  std::string normalised = text;
  if (!CheckNumberText(normalised, 3, true) || !readWhole(normalised, value)) {
    if (!quiet) {
      SoundBeep(m_messenger, BeepKind::Warning);
      ShowMessage(m_messenger, kCaptionError, kGridValueIncorrect, {}, MessageStyle::Warning);
    }
    return refuse();
  }
  if (value < -kValueLimit) {
    if (!quiet) ShowValueMessage(m_messenger, kGridValueMinimum, -kValueLimit);
    return refuse();
  }
  if (value > kValueLimit) {
    if (!quiet) ShowValueMessage(m_messenger, kGridValueMaximum, kValueLimit);
    return refuse();
  }
  if (isCountColumn(m_column) && value > kCountLimit) {
    if (!quiet) ShowValueMessage(m_messenger, kGridValueMaximum, kCountLimit);
    return refuse();
  }
  if (const CountFault fault = isCountColumn(m_column) ? countFault(value) : CountFault::None;
      fault != CountFault::None) {
    if (!quiet) ShowMessage(m_messenger, kCaptionError, 0, countFaultMessage(m_row, fault), MessageStyle::Warning);
    return refuse();
  }

  // Stored as shown: the twelve significant digits of the exchange text.
  value = readRealPrefix(exchangeText(value));
  if (inNewRow) {
    m_newValues[static_cast<std::size_t>(m_column)] = value;
    m_newFilled[static_cast<std::size_t>(m_column)] = true;
    bool complete = newRowFilled(0) && (valueColumns() == 1 || newRowFilled(1));
    if (complete) {
      m_table.append({m_newValues[0], valueColumns() == 2 ? m_newValues[1] : 0.0});
      m_newValues = {};
      m_newFilled = {};
    }
    changed();
  } else if (m_table.value(m_row, m_column) != value) {
    m_table.setValue(m_row, m_column, value);
    changed();
  }
  m_editorText = m_openedText = valueText(value, m_column);
  return CommitResult::Accepted;
}

void StatGrid::closeEditor(bool quiet) {
  if (!m_editorOpen) return;
  commitEditor(quiet);
  m_editorOpen = false;
}

void StatGrid::cancelEditor() {
  // What was typed goes; the cell keeps the value it had.
  m_editorText = m_openedText;
  m_editorOpen = false;
}

bool StatGrid::navigate(EditorKey key) {
  if (!m_editorOpen) return false;
  if (commitEditor() == CommitResult::Refused) return false;
  const bool two = valueColumns() == 2;
  int row = m_row, column = m_column;
  switch (key) {
    case EditorKey::TabOrEnter:
      if (two && column == 0)
        column = 1;
      else
        ++row, column = 0;
      break;
    case EditorKey::ShiftTab:
      if (two && column == 1)
        column = 0;
      else
        --row, column = two ? 1 : 0;
      break;
    case EditorKey::Up:
      --row;
      break;
    case EditorKey::Down:
      ++row;
      break;
    case EditorKey::CtrlHome:
      row = 1, column = 0;
      break;
    case EditorKey::CtrlEnd:
      row = rows(), column = 0;
      break;
  }
  if (row < 1 || row > rows()) {
    SoundBeep(m_messenger, BeepKind::Warning);
    m_editorText = cellText(m_row, m_column);
    return false;
  }
  openEditor(row, column);
  if (key == EditorKey::CtrlHome) m_scroll = 0;
  return true;
}

// Deletion and undo.

bool StatGrid::selectionCoversRows() const {
  if (m_table.count() < 1 || m_selection.isNone()) return false;
  if (m_selection.cells() < valueColumns()) return false;
  return valueColumns() == 1 || (m_selection.firstColumn == 0 && m_selection.lastColumn == 1);
}

bool StatGrid::deleteSelection(bool editorFocused) {
  if (editorFocused) return false;
  if (!selectionCoversRows()) {
    ShowMessage(m_messenger, kCaptionAttention, kGridDeleteImpossible, {}, MessageStyle::Warning);
    return false;
  }
  if (!Confirm(m_messenger, kGridDeleteConfirm)) return false;
  saveUndo();
  m_table.removeRows(m_selection.firstRow, m_selection.lastRow);
  m_selection = {};
  m_scroll = std::clamp(m_scroll, 0, maxScroll());
  changed();
  return true;
}

void StatGrid::saveUndo() {
  m_undo.assign(m_table);
  m_undoAvailable = true;
}

bool StatGrid::undo() {
  if (!m_undoAvailable) return false;
  m_editorOpen = false;
  m_table.assign(m_undo);
  m_undoAvailable = false;
  m_selection = {};
  m_newValues = {};
  m_newFilled = {};
  m_scroll = std::clamp(m_scroll, 0, maxScroll());
  changed();
  return true;
}

// Clipboard.

std::optional<std::string> StatGrid::selectionText(char decimalSeparator) const {
  const GridSelection& s = m_selection;
  if (s.isNone()) return std::nullopt;
  const int last = std::min(s.lastRow, m_table.count());
  if (s.firstRow > last) return std::nullopt;
  const bool onlyX = s.lastColumn == 0, onlySecond = s.firstColumn == 1;
  std::string text;
  for (int row = s.firstRow; row <= last; ++row) {
    if (!text.empty()) text += "\r\n";
    const StatRow& r = m_table.row(row);
    std::string line = onlyX        ? exchangeText(r.x)
                       : onlySecond ? exchangeText(r.second)
                                    : exchangeText(r.x) + '\t' + exchangeText(r.second);
    text += LocalisePoint(line, decimalSeparator);
  }
  return text;
}

PasteResult StatGrid::paste(const std::optional<std::string>& clipboardText, bool fromOurGrid,
                            bool editorFocused) {
  if (!clipboardText) {
    ShowMessage(m_messenger, kCaptionError, kClipboardUnusableText, {}, MessageStyle::Error);
    return PasteResult::Refused;
  }
  const std::string& text = *clipboardText;
  if (text.size() > kMaxPastedBytes) {
    ShowMessage(m_messenger, kCaptionError, 0, LoadMessageText(kPasteFailureText, LoadString(kPasteTooMany)),
                MessageStyle::Error);
    return PasteResult::Refused;
  }
  if (editorFocused && m_editorOpen && pasteCellCount(text) == 1) {
    std::string single = text;
    while (!single.empty() && static_cast<unsigned char>(single.back()) < 32) single.pop_back();
    if (!single.empty() && CheckNumberText(single, 3, true)) {
      changed();
      return PasteResult::IntoEditor;
    }
  }

  closeEditor(true);
  PasteBlock block = parsePasteText(text);
  PastePlan plan = planPaste(block, m_selection, m_mode, m_table.count(), fromOurGrid);
  if (plan.error != kPasteOk) {
    ShowMessage(m_messenger, kCaptionError, 0, LoadMessageText(kPasteFailureText, LoadString(plan.error)),
                MessageStyle::Error);
    return PasteResult::Refused;
  }
  if (block.outOfRange) {
    // "Valeur maximale = 1e+300 !" (or minimale), as the same number typed into a cell.
    ShowValueMessage(m_messenger, *block.outOfRange > 0 ? 6 : 7, *block.outOfRange > 0 ? 1e300 : -1e300);
    return PasteResult::Refused;
  }
  PasteOrientation orientation = plan.orientation;
  if (orientation == PasteOrientation::Ask) {
    bool rowWise = ShowMessage(m_messenger, kCaptionAttention, kPasteVerticalQuestion, {},
                               MessageStyle::YesNo) == MessageAnswer::Yes;
    orientation = rowWise ? PasteOrientation::RowWise : PasteOrientation::ColumnWise;
  }
  if (m_mode == StatMode::Frequencies) {
    // Checked on a copy first: a refused paste writes nothing.
    StatTable pasted;
    pasted.assign(m_table);
    const int last = applyPaste(pasted, block, plan, orientation, m_mode);
    if (const RefusedCount refused = firstRefusedCount(pasted, plan.firstRow, last); refused.row > 0) {
      ShowMessage(m_messenger, kCaptionError, 0, countFaultMessage(refused.row, refused.fault),
                  MessageStyle::Error);
      return PasteResult::Refused;
    }
  }
  saveUndo();
  applyPaste(m_table, block, plan, orientation, m_mode);
  m_newValues = {};
  m_newFilled = {};
  m_scroll = std::clamp(m_scroll, 0, maxScroll());
  changed();
  return PasteResult::Pasted;
}

std::optional<int> checkSelectionRowField(const std::string& text, int count, Messenger& messenger) {
  std::string normalised = text;
  if (normalised.empty() || normalised.size() > 5 || !CheckNumberText(normalised, 1, true) ||
      normalised.find_first_of("0123456789") == std::string::npos) {
    SoundBeep(messenger, BeepKind::Warning);
    return std::nullopt;
  }
  int value = std::atoi(normalised.c_str());
  if (value <= 0) {
    ShowValueMessage(messenger, kGridValueMinimum, 1);
    return std::nullopt;
  }
  if (value > count) {
    ShowValueMessage(messenger, kGridValueMaximum, count);
    return std::nullopt;
  }
  return value;
}

}  // namespace qz
