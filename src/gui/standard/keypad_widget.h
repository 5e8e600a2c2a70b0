// The standard calculator's drawn keypad: 24 keys of 45 x 35 pixels.
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace qz {

class StandardCalculator;

class KeypadWidget : public QWidget {
  Q_OBJECT
 public:
  /// Paints both keypad pictures (at rest and pressed) once, for the screen's
  /// pixel ratio. The widget never takes the focus: typing stays in the display.
  KeypadWidget(StandardCalculator& calculator, QWidget* parent = nullptr);

  /// The whole keypad at rest or with every key pressed, 180 x 210 pixels
  /// (device-independent); a pressed key shows its cell of the pressed picture.
  static QPixmap keypadPicture(bool pressed, qreal pixelRatio);
  /// The key rectangle of key `key` (0 to 23) in widget coordinates.
  static QRect keyRect(int key);
  /// The keypad key that types `character` or sends `command`, -1 for none.
  static int keyFor(char character, int command);

  /// Shows key `key` pressed for a moment: the echo of a keyboard key.
  void flashKey(int key);
  /// The key drawn pressed now (held with the mouse, or flashing), -1 for none.
  int shownPressedKey() const;

 signals:
  /// The mouse button went up over the keypad; `performed` when a key ran.
  void keyReleased(bool performed);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  StandardCalculator& m_calculator;
  QPixmap m_rest;
  QPixmap m_pressed;
  QTimer m_flashTimer;
  int m_flashKey = -1;
};

}  // namespace qz
