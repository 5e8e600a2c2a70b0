// The typed fields of the scientific calculator: one-line fields (expression,
// x) and the multi-line constants field. They force their letter case, hand
// the calculator's Ctrl keys to the panel before the field's own handling, and
// say when they gain or really lose the keyboard focus.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>

class QKeyEvent;

namespace qz {

/// The case a field forces on typed letters.
enum class LetterCase { Lower, Upper };

/// The Ctrl key of `event` that the calculator handles itself (C, V, O, S, P,
/// Z or Y, also with Shift), or 0. Alt and Meta combinations are mnemonics.
char calculatorControlKey(const QKeyEvent& event);

/// The constants are stored with CR LF line breaks; a text edit shows one
/// character per break. Conversions between the two, and between positions.
QString constantsForView(const std::string& stored);
/// Position `viewPosition` of the shown text as an offset into `stored`.
int storedOffset(const std::string& stored, int viewPosition);
/// Offset `offset` of `stored` as a position in the shown text.
int viewPosition(const std::string& stored, int offset);

class FieldLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  FieldLineEdit(LetterCase letterCase, int maxLength, QWidget* parent = nullptr);

 signals:
  /// One of the calculator's Ctrl keys (see calculatorControlKey).
  void controlKey(char letter);
  /// Escape: the window is to close without taking anything ("Annuler").
  void cancelRequested();
  void focusEntered();
  /// The field lost the focus to another widget of the program (a menu or a
  /// message box taking it for a while does not count).
  void focusLeft();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  LetterCase m_case;
};

class ConstantsEdit : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit ConstantsEdit(QWidget* parent = nullptr);

  /// Shows `text` keeping the scroll position, the caret at `caret` (a view position).
  void showText(const QString& text, int caret);
  /// The selection (or caret) as view positions, start <= end.
  void viewSelection(int& start, int& end) const;

 signals:
  void controlKey(char letter);
  void focusEntered();
  void focusLeft();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace qz
