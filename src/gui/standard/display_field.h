// The display field of the standard calculator: the number being typed, or
// the selected tape number. Every keystroke and change is judged by the
// calculator; the field only shows what it decided.
#pragma once

#include <QLineEdit>

namespace qz {

class StandardCalculator;
struct KeyInput;

class DisplayField : public QLineEdit {
  Q_OBJECT
 public:
  explicit DisplayField(StandardCalculator& calculator, QWidget* parent = nullptr);

  /// Hands the field's selection (or caret) to the calculator before it acts on the text.
  void pushSelection();
  /// Shows the calculator's display text, selection and enabled state.
  void pullFromCalculator();
  /// The key of a key event as the calculator's keyboard table reads it.
  static KeyInput keyInput(const QKeyEvent& event);

 signals:
  /// A key changed the calculator's state (tape, mode...): the window redraws.
  void calculatorChanged();
  /// A key asked for a command the calculator leaves to the window (open, save, print).
  void commandForwarded(int id);
  /// The field lost the focus and its text was checked; `accepted` false when
  /// it was refused (the message was shown and the old text restored).
  void focusChecked(bool accepted);
  /// A keyboard key stands for keypad key `key` (for its echo on the keypad).
  void keypadKeyTyped(int key);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void textEditedByUser(const QString& text);

  StandardCalculator& m_calculator;
  bool m_checking = false;
  bool m_escaping = false;  ///< Escape is cancelling the window: leaving is not checked
};

}  // namespace qz
