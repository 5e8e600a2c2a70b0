#include "standard/display_field.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include "platform/painter_canvas.h"
#include "platform/qt_text.h"
#include "standard/keypad_widget.h"
#include "standard/standard_calculator.h"
#include "standard/standard_keys.h"

namespace qz {

namespace {

// Where the focus went, as the calculator tells the targets apart: leaving
// for "Annuler" or "Efface&r" never checks the text.
StandardCalculator::FocusTarget focusTarget(const QWidget* next) {
  const auto* button = qobject_cast<const QAbstractButton*>(next);
  if (!button) return StandardCalculator::FocusTarget::Other;
  if (button->objectName() == QLatin1String("clearDisplayButton"))
    return StandardCalculator::FocusTarget::ClearButton;
  if (button->text() == QLatin1String("Annuler")) return StandardCalculator::FocusTarget::CancelButton;
  return StandardCalculator::FocusTarget::Other;
}

bool isControlLetter(const KeyInput& input, char letter) {
  return input.ctrl && (input.character == letter || input.character == letter - 'A' + 'a');
}

}  // namespace

DisplayField::DisplayField(StandardCalculator& calculator, QWidget* parent)
    : QLineEdit(parent), m_calculator(calculator) {
  setObjectName(QStringLiteral("display"));
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setFont(PainterCanvas::qtFont({"Courier New", -20, 700}));
  // Drops would change the text without the keystroke checks.
  setAcceptDrops(false);
  connect(this, &QLineEdit::textEdited, this, &DisplayField::textEditedByUser);
}

KeyInput DisplayField::keyInput(const QKeyEvent& event) {
  KeyInput input;
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  // Alt combinations are the buttons' and menus' mnemonics.
  if (modifiers & (Qt::AltModifier | Qt::MetaModifier)) return input;
  input.ctrl = modifiers & Qt::ControlModifier;
  input.shift = modifiers & Qt::ShiftModifier;
  input.enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
  if (input.ctrl) {
    if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
      input.character = static_cast<char>('A' + (event.key() - Qt::Key_A));
  } else {
    const QString text = event.text();
    if (text.size() == 1 && text.at(0).unicode() >= 0x20 && text.at(0).unicode() < 0x7F)
      input.character = static_cast<char>(text.at(0).unicode());
    // Some layouts put a comma on the keypad's decimal key; numbers here
    // always take a point.
    if ((modifiers & Qt::KeypadModifier) && input.character == ',') input.character = '.';
  }
  return input;
}

bool DisplayField::event(QEvent* e) {
  // The calculator's own Ctrl keys must reach keyPressEvent rather than the
  // menus' shortcuts, so that the keyboard table decides (Ctrl+Z and Ctrl+P
  // only with a tape).
  if (e->type() == QEvent::ShortcutOverride) {
    const KeyInput input = keyInput(*static_cast<QKeyEvent*>(e));
    for (char letter : {'C', 'V', 'O', 'S', 'P', 'Z', 'Y'}) {
      if (isControlLetter(input, letter)) {
        e->accept();
        return true;
      }
    }
  }
  return QLineEdit::event(e);
}

void DisplayField::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    // Escape is "Annuler": the window closes without taking the display, so
    // the focus leaving the field on the way out must not check it.
    if (auto* dialog = qobject_cast<QDialog*>(window())) {
      m_escaping = true;
      dialog->reject();
      m_escaping = false;
      event->accept();
      return;
    }
  }
  const KeyInput input = keyInput(*event);
  if (input.character != 0 || input.enter) {
    pushSelection();
    const KeyboardAction action = keyboardAction(m_calculator.withState(input), m_calculator.tapeEmpty());
    if (action.kind == KeyboardAction::Keypad) emit keypadKeyTyped(action.id);
    if (action.kind == KeyboardAction::Command) emit keypadKeyTyped(KeypadWidget::keyFor(0, action.id));
    int forwarded = 0;
    if (m_calculator.keyPressed(input, &forwarded)) {
      pullFromCalculator();
      emit calculatorChanged();
      if (forwarded != 0) emit commandForwarded(forwarded);
      event->accept();
      return;
    }
    // The field's own undo, redo and print keys would bypass the calculator:
    // without a tape these keys do nothing.
    if (isControlLetter(input, 'Z') || isControlLetter(input, 'Y') || isControlLetter(input, 'P')) {
      event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void DisplayField::textEditedByUser(const QString& text) {
  m_calculator.editDisplay(qStringToCp1252(text), cursorPosition());
  pullFromCalculator();
}

void DisplayField::pushSelection() {
  if (hasSelectedText()) {
    const int start = selectionStart();
    m_calculator.setDisplaySelection(start, start + static_cast<int>(selectedText().size()));
  } else {
    m_calculator.setDisplaySelection(cursorPosition(), cursorPosition());
  }
}

void DisplayField::pullFromCalculator() {
  const QString text = cp1252ToQString(m_calculator.displayText());
  if (this->text() != text) setText(text);
  const int start = m_calculator.selectionStart();
  const int end = m_calculator.selectionEnd();
  if (start != end)
    setSelection(std::min(start, end), std::abs(end - start));
  else
    setCursorPosition(end);
  setReadOnly(m_calculator.displayReadOnly());
  setEnabled(m_calculator.displayEnabled());
}

void DisplayField::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
    m_calculator.displayFocusGained();
}

void DisplayField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A menu or another window taking the focus for a while is not leaving the
  // field; the message box of a refusal is one of those.
  if (m_checking || event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
    return;
  m_checking = true;
  const StandardCalculator::FocusTarget target =
      m_escaping ? StandardCalculator::FocusTarget::CancelButton : focusTarget(QApplication::focusWidget());
  const bool accepted = m_calculator.displayFocusLost(target);
  m_checking = false;
  pullFromCalculator();
  emit focusChecked(accepted);
  if (!accepted) QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

}  // namespace qz
