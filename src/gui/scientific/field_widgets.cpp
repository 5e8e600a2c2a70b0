#include "scientific/field_widgets.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>
#include <memory>

namespace qz {

namespace {

/// A key event whose letter is turned to the field's case, or nothing when it
/// needs no change. The fields take their case as they are typed, so the caret
/// and the field's own editing stay as they are.
std::unique_ptr<QKeyEvent> caseForced(const QKeyEvent& event, LetterCase letterCase) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return nullptr;
  const QString text = event.text();
  const QString forced = letterCase == LetterCase::Lower ? text.toLower() : text.toUpper();
  if (forced == text) return nullptr;
  return std::make_unique<QKeyEvent>(event.type(), event.key(), event.modifiers(), forced,
                                     event.isAutoRepeat(), static_cast<quint16>(event.count()));
}

bool leavesForGood(const QFocusEvent& event) {
  // A menu or a message box takes the focus only for a while.
  return event.reason() != Qt::PopupFocusReason && event.reason() != Qt::ActiveWindowFocusReason;
}

}  // namespace

char calculatorControlKey(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if (!(modifiers & Qt::ControlModifier) || (modifiers & (Qt::AltModifier | Qt::MetaModifier))) return 0;
  switch (event.key()) {
    case Qt::Key_C:
      return 'C';
    case Qt::Key_V:
      return 'V';
    case Qt::Key_O:
      return 'O';
    case Qt::Key_S:
      return 'S';
    case Qt::Key_P:
      return 'P';
    case Qt::Key_Z:
      return 'Z';
    case Qt::Key_Y:
      return 'Y';
    default:
      return 0;
  }
}

QString constantsForView(const std::string& stored) {
  std::string text;
  text.reserve(stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n') continue;
    text += stored[i];
  }
  // The constants hold ASCII only: letters, digits and a few signs.
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

int storedOffset(const std::string& stored, int viewPosition) {
  int view = 0;
  std::size_t i = 0;
  while (i < stored.size() && view < viewPosition) {
    i += stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n' ? 2 : 1;
    ++view;
  }
  return static_cast<int>(i);
}

int viewPosition(const std::string& stored, int offset) {
  int view = 0;
  std::size_t i = 0;
  const std::size_t end = std::min(stored.size(), static_cast<std::size_t>(std::max(offset, 0)));
  while (i < end) {
    i += stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n' ? 2 : 1;
    ++view;
  }
  return view;
}

// ---- One-line fields ----------------------------------------------------------------

FieldLineEdit::FieldLineEdit(LetterCase letterCase, int maxLength, QWidget* parent)
    : QLineEdit(parent), m_case(letterCase) {
  setMaxLength(maxLength);
  // Drops and the field's own menu (its undo) would go round the calculator's rules.
  setAcceptDrops(false);
  setContextMenuPolicy(Qt::NoContextMenu);
}

bool FieldLineEdit::event(QEvent* e) {
  // The calculator's Ctrl keys must reach keyPressEvent rather than the
  // field's own copy, paste and undo or the menus' shortcuts.
  if (e->type() == QEvent::ShortcutOverride && calculatorControlKey(*static_cast<QKeyEvent*>(e)) != 0) {
    e->accept();
    return true;
  }
  return QLineEdit::event(e);
}

void FieldLineEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    emit cancelRequested();
    return;
  }
  if (const char letter = calculatorControlKey(*event)) {
    event->accept();
    emit controlKey(letter);
    return;
  }
  if (std::unique_ptr<QKeyEvent> forced = caseForced(*event, m_case)) {
    QLineEdit::keyPressEvent(forced.get());
    event->setAccepted(forced->isAccepted());
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void FieldLineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  emit focusEntered();
}

void FieldLineEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (leavesForGood(*event)) emit focusLeft();
}

// ---- Constants field ----------------------------------------------------------------

ConstantsEdit::ConstantsEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setTabChangesFocus(true);
  setAcceptDrops(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setUndoRedoEnabled(false);
}

void ConstantsEdit::showText(const QString& text, int caret) {
  const int vertical = verticalScrollBar()->value();
  const int horizontal = horizontalScrollBar()->value();
  if (toPlainText() != text) setPlainText(text);
  QTextCursor cursor = textCursor();
  cursor.setPosition(std::clamp(caret, 0, static_cast<int>(text.size())));
  setTextCursor(cursor);
  verticalScrollBar()->setValue(vertical);
  horizontalScrollBar()->setValue(horizontal);
  ensureCursorVisible();
}

void ConstantsEdit::viewSelection(int& start, int& end) const {
  const QTextCursor cursor = textCursor();
  start = cursor.selectionStart();
  end = cursor.selectionEnd();
}

bool ConstantsEdit::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride && calculatorControlKey(*static_cast<QKeyEvent*>(e)) != 0) {
    e->accept();
    return true;
  }
  return QPlainTextEdit::event(e);
}

void ConstantsEdit::keyPressEvent(QKeyEvent* event) {
  if (const char letter = calculatorControlKey(*event)) {
    event->accept();
    emit controlKey(letter);
    return;
  }
  if (std::unique_ptr<QKeyEvent> forced = caseForced(*event, LetterCase::Lower)) {
    QPlainTextEdit::keyPressEvent(forced.get());
    event->setAccepted(forced->isAccepted());
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void ConstantsEdit::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  emit focusEntered();
}

void ConstantsEdit::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  if (leavesForGood(*event)) emit focusLeft();
}

}  // namespace qz
