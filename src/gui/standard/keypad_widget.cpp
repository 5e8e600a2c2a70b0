#include "standard/keypad_widget.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include "platform/painter_canvas.h"
#include "standard/standard_calculator.h"
#include "standard/standard_keys.h"

namespace qz {

namespace {

constexpr int kRows = kKeypadKeyCount / kKeypadColumns;
constexpr int kFlashMilliseconds = 120;

// The families of keys, coloured like what they leave on the tape: operators
// navy, functions green, the total dark red; digits stand out in white.
enum class KeyStyle { Digit, Other, Operator, Function, Total };

struct StyleColours {
  QColor top;
  QColor bottom;
  QColor label;
};

KeyStyle keyStyle(int key) {
  switch (key) {
    case 3:
    case 7:
    case 11:
    case 15:
      return KeyStyle::Operator;
    case 19:
      return KeyStyle::Total;
    case 20:
    case 21:
    case 22:
    case 23:
      return KeyStyle::Function;
    case 13:
    case 14:
    case 16:
    case 17:
    case 18:
      return KeyStyle::Other;
    default:
      return KeyStyle::Digit;
  }
}

StyleColours colours(KeyStyle style) {
  switch (style) {
    case KeyStyle::Digit:
      return {QColor(255, 255, 253), QColor(226, 223, 214), QColor(24, 24, 24)};
    case KeyStyle::Other:
      return {QColor(232, 230, 224), QColor(202, 198, 188), QColor(24, 24, 24)};
    case KeyStyle::Operator:
      return {QColor(84, 104, 150), QColor(40, 56, 98), Qt::white};
    case KeyStyle::Function:
      return {QColor(96, 134, 100), QColor(56, 92, 62), Qt::white};
    case KeyStyle::Total:
      return {QColor(200, 86, 62), QColor(140, 40, 26), Qt::white};
  }
  return {};
}

// The label of a key and the font it is drawn in. The divide and square-root
// signs come from the Symbol font's map, as on the tape.
struct KeyLabel {
  QString text;
  QFont font;
};

// Sizes balance the captions by eye: signs are drawn larger than digits,
// the point much larger, three-character captions smaller.
int labelHeight(int key, const QString& text) {
  if (keypadKeys()[static_cast<std::size_t>(key)].character == '.') return -26;
  if (text.size() > 2) return -14;
  if (keyStyle(key) == KeyStyle::Operator || keyStyle(key) == KeyStyle::Total) return -21;
  if (text.size() == 2) return -16;
  return -18;
}

KeyLabel keyLabel(int key) {
  const KeypadKey& k = keypadKeys()[static_cast<std::size_t>(key)];
  if (k.command == StandardCommand::Divide || k.command == StandardCommand::SquareRoot) {
    const std::string symbol = k.command == StandardCommand::Divide ? "\xB8" : "\xD6";
    return {PainterCanvas::toQString(symbol, true), PainterCanvas::qtFont({"Symbol", -20, 700})};
  }
  const QString text = QString::fromUtf8(k.label);
  const char* face = k.command == StandardCommand::Pi ? "Symbol" : "Arial";
  return {text, PainterCanvas::qtFont({face, labelHeight(key, text), 700})};
}

void paintKey(QPainter& p, int key, bool pressed) {
  const QRectF cell = KeypadWidget::keyRect(key);
  const StyleColours c = colours(keyStyle(key));
  // At rest the key stands 2 pixels above its shadow; pressed, it sinks onto it.
  const qreal lift = pressed ? 0.0 : 2.0;
  const QRectF base = cell.adjusted(2.5, 3.5, -2.5, -1.5);
  const QRectF body = base.translated(0, -lift);
  const qreal radius = 5.0;

  QPainterPath shadowPath;
  shadowPath.addRoundedRect(base, radius, radius);
  p.fillPath(shadowPath, QColor(0, 0, 0, pressed ? 70 : 110));

  QPainterPath bodyPath;
  bodyPath.addRoundedRect(body, radius, radius);
  QLinearGradient fill(body.topLeft(), body.bottomLeft());
  fill.setColorAt(0.0, pressed ? c.bottom.darker(112) : c.top);
  fill.setColorAt(1.0, pressed ? c.bottom : c.bottom);
  p.fillPath(bodyPath, fill);
  p.setPen(QPen(c.bottom.darker(pressed ? 170 : 150), 1.0));
  p.drawPath(bodyPath);
  if (!pressed) {
    // A thin light edge along the top, as on a moulded key.
    p.setPen(QPen(QColor(255, 255, 255, 120), 1.0));
    p.drawLine(QPointF(body.left() + radius, body.top() + 1.5),
               QPointF(body.right() - radius, body.top() + 1.5));
  }

  const KeyLabel label = keyLabel(key);
  p.setFont(label.font);
  p.setPen(c.label);
  p.drawText(body.translated(0, pressed ? 0.5 : 0.0), Qt::AlignCenter, label.text);
}

}  // namespace

KeypadWidget::KeypadWidget(StandardCalculator& calculator, QWidget* parent)
    : QWidget(parent), m_calculator(calculator) {
  setFixedSize(kKeypadColumns * kKeyWidth, kRows * kKeyHeight);
  setFocusPolicy(Qt::NoFocus);
  const qreal ratio = devicePixelRatioF();
  m_rest = keypadPicture(false, ratio);
  m_pressed = keypadPicture(true, ratio);
  m_flashTimer.setSingleShot(true);
  m_flashTimer.setInterval(kFlashMilliseconds);
  connect(&m_flashTimer, &QTimer::timeout, this, [this] {
    m_flashKey = -1;
    update();
  });
}

int KeypadWidget::keyFor(char character, int command) {
  for (int key = 0; key < kKeypadKeyCount; ++key) {
    const KeypadKey& k = keypadKeys()[static_cast<std::size_t>(key)];
    if ((character != 0 && k.character == character) ||
        (character == 0 && command != 0 && static_cast<int>(k.command) == command))
      return key;
  }
  return -1;
}

void KeypadWidget::flashKey(int key) {
  if (key < 0 || key >= kKeypadKeyCount) return;
  m_flashKey = key;
  m_flashTimer.start();
  update();
}

int KeypadWidget::shownPressedKey() const {
  const int held = m_calculator.pressedKey();
  return held >= 0 ? held : m_flashKey;
}

QRect KeypadWidget::keyRect(int key) {
  const int row = key / kKeypadColumns;
  const int column = key % kKeypadColumns;
  return QRect(column * kKeyWidth, row * kKeyHeight, kKeyWidth, kKeyHeight);
}

QPixmap KeypadWidget::keypadPicture(bool pressed, qreal pixelRatio) {
  const QSize size(kKeypadColumns * kKeyWidth, kRows * kKeyHeight);
  QPixmap picture(size * pixelRatio);
  picture.setDevicePixelRatio(pixelRatio);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  for (int key = 0; key < kKeypadKeyCount; ++key) paintKey(p, key, pressed);
  return picture;
}

void KeypadWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int pressed = shownPressedKey();
  if (pressed < 0) {
    p.drawPixmap(0, 0, m_rest);
    return;
  }
  // The pictures are transparent between keys: the pressed cell replaces the
  // resting one instead of being drawn over it.
  const QRect cell = keyRect(pressed);
  p.save();
  p.setClipRegion(QRegion(rect()).subtracted(QRegion(cell)));
  p.drawPixmap(0, 0, m_rest);
  p.restore();
  p.drawPixmap(QPointF(cell.topLeft()), m_pressed,
               QRectF(QPointF(cell.topLeft()) * m_pressed.devicePixelRatio(),
                      QSizeF(cell.size()) * m_pressed.devicePixelRatio()));
}

void KeypadWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  m_calculator.keypadPressed(keypadKeyAt(at.x(), at.y()));
  update();
}

void KeypadWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool performed = m_calculator.keypadReleased();
  update();
  emit keyReleased(performed);
}

}  // namespace qz
