#include "app/launcher_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "app/launcher.h"

namespace qz {

namespace {

struct ZoneStyle {
  const char* title;
  const char* subtitle;
  QColor accent;
};

// One accent per calculator, the quit zone in a muted red.
const ZoneStyle kZoneStyles[Launcher::kZoneCount] = {
    {"Calculette standard", "bande papier imprimable", QColor(37, 99, 165)},
    {"Calculette scientifique", "y = f(x), constantes, liste de x", QColor(111, 66, 160)},
    {"Calculette statistique", "séries, régression, droite de Henry", QColor(32, 128, 88)},
    {"Calculette géométrique", "53 figures planes et solides", QColor(196, 110, 20)},
    {"Conversion d'unité", "unités, dimensions", QColor(0, 128, 140)},
    {"Quitter QZ", "fermer le programme", QColor(168, 52, 52)},
};

enum class Look { Rest, Hovered, Pressed };

QRectF zoneBox(int zone) {
  Rect r = Launcher::zoneRect(zone);
  return QRectF(r.left, r.top, r.width(), r.height());
}

// The pictogram of each zone, drawn in a square.
void drawIcon(QPainter& p, int zone, const QRectF& box, const QColor& ink) {
  p.save();
  QPen pen(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  const qreal x = box.left(), y = box.top(), w = box.width(), h = box.height();
  switch (zone) {
    case 0: {  // desk calculator printing its tape
      QRectF body(x + w * 0.12, y + h * 0.30, w * 0.76, h * 0.66);
      p.drawRoundedRect(body, 3, 3);
      for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
          p.fillRect(QRectF(body.left() + 4 + c * (body.width() - 8) / 4, body.top() + h * 0.12 + r * h * 0.2,
                            (body.width() - 8) / 4 - 3, h * 0.13),
                     ink);
      QRectF tape(x + w * 0.30, y + h * 0.02, w * 0.40, h * 0.30);
      p.drawRect(tape);
      p.setPen(QPen(ink, 1.0));
      p.drawLine(QPointF(tape.left() + 3, tape.top() + h * 0.10), QPointF(tape.right() - 3, tape.top() + h * 0.10));
      p.drawLine(QPointF(tape.left() + 3, tape.top() + h * 0.19), QPointF(tape.right() - 6, tape.top() + h * 0.19));
      break;
    }
    case 1: {  // f(x) on a curve
      QPainterPath curve;
      curve.moveTo(x + w * 0.05, y + h * 0.85);
      curve.cubicTo(x + w * 0.35, y + h * 0.05, x + w * 0.6, y + h * 1.1, x + w * 0.95, y + h * 0.2);
      p.drawPath(curve);
      QFont f("Liberation Serif");
      f.setItalic(true);
      f.setBold(true);
      f.setPixelSize(static_cast<int>(h * 0.42));
      p.setFont(f);
      p.drawText(QRectF(x, y, w, h * 0.55), Qt::AlignLeft | Qt::AlignTop, "f(x)");
      break;
    }
    case 2: {  // bars and a fitted line
      const qreal base = y + h * 0.92;
      const qreal heights[] = {0.30, 0.52, 0.44, 0.70, 0.62};
      for (int i = 0; i < 5; ++i)
        p.fillRect(QRectF(x + w * (0.08 + i * 0.18), base - h * heights[i], w * 0.12, h * heights[i]), ink);
      p.setPen(QPen(QColor(255, 255, 255, 230), 2.5));
      p.drawLine(QPointF(x + w * 0.04, base - h * 0.22), QPointF(x + w * 0.96, base - h * 0.80));
      p.setPen(QPen(ink, 1.5));
      p.drawLine(QPointF(x + w * 0.04, base - h * 0.22), QPointF(x + w * 0.96, base - h * 0.80));
      break;
    }
    case 3: {  // triangle with its inscribed circle
      QPolygonF tri;
      tri << QPointF(x + w * 0.06, y + h * 0.92) << QPointF(x + w * 0.94, y + h * 0.92)
          << QPointF(x + w * 0.40, y + h * 0.08);
      p.drawPolygon(tri);
      p.drawEllipse(QPointF(x + w * 0.46, y + h * 0.64), w * 0.20, h * 0.20);
      p.setPen(QPen(ink, 1.2, Qt::DashLine));
      p.drawLine(QPointF(x + w * 0.40, y + h * 0.08), QPointF(x + w * 0.40, y + h * 0.92));
      break;
    }
    case 4: {  // ruler with a two-way arrow
      QRectF ruler(x + w * 0.04, y + h * 0.58, w * 0.92, h * 0.30);
      p.drawRect(ruler);
      for (int i = 1; i < 10; ++i) {
        qreal tx = ruler.left() + ruler.width() * i / 10.0;
        p.drawLine(QPointF(tx, ruler.top()), QPointF(tx, ruler.top() + (i % 5 == 0 ? ruler.height() * 0.7 : ruler.height() * 0.4)));
      }
      const qreal ay = y + h * 0.28;
      p.drawLine(QPointF(x + w * 0.08, ay), QPointF(x + w * 0.92, ay));
      p.drawLine(QPointF(x + w * 0.08, ay), QPointF(x + w * 0.22, ay - h * 0.12));
      p.drawLine(QPointF(x + w * 0.08, ay), QPointF(x + w * 0.22, ay + h * 0.12));
      p.drawLine(QPointF(x + w * 0.92, ay), QPointF(x + w * 0.78, ay - h * 0.12));
      p.drawLine(QPointF(x + w * 0.92, ay), QPointF(x + w * 0.78, ay + h * 0.12));
      break;
    }
    case 5: {  // power symbol
      QRectF ring(x + w * 0.16, y + h * 0.16, w * 0.68, h * 0.68);
      p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
      p.drawArc(ring, 120 * 16, 300 * 16);
      p.drawLine(QPointF(x + w * 0.5, y + h * 0.06), QPointF(x + w * 0.5, y + h * 0.48));
      break;
    }
    default: break;
  }
  p.restore();
}

// A zone card: rounded panel, accent stripe, pictogram, title and subtitle.
void drawZone(QPainter& p, int zone, const QRectF& box, Look look) {
  const ZoneStyle& style = kZoneStyles[zone];
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QRectF card = box.adjusted(1.5, 2.5, -1.5, -2.5);
  if (look == Look::Pressed) card.translate(1, 1);

  if (look == Look::Rest) {
    // Soft shadow, then a light panel.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 28));
    p.drawRoundedRect(card.translated(2, 2), 9, 9);
  }
  QLinearGradient fill(card.topLeft(), card.bottomLeft());
  if (look == Look::Rest) {
    fill.setColorAt(0, QColor(255, 255, 255));
    fill.setColorAt(1, QColor(232, 236, 242));
  } else if (look == Look::Hovered) {
    fill.setColorAt(0, style.accent.lighter(135));
    fill.setColorAt(1, style.accent);
  } else {
    fill.setColorAt(0, style.accent.darker(135));
    fill.setColorAt(1, style.accent.darker(110));
  }
  p.setBrush(fill);
  p.setPen(QPen(look == Look::Rest ? QColor(160, 168, 180) : style.accent.darker(150), 1.2));
  p.drawRoundedRect(card, 9, 9);

  const bool onAccent = look != Look::Rest;
  const QColor ink = onAccent ? QColor(255, 255, 255) : style.accent;
  if (!onAccent) {
    // Accent stripe at the left edge.
    QPainterPath stripe;
    stripe.addRoundedRect(QRectF(card.left(), card.top(), 9, card.height()), 4, 4);
    p.fillPath(stripe, style.accent);
  }
  const qreal iconSize = card.height() - 12;
  drawIcon(p, zone, QRectF(card.left() + 16, card.top() + 6, iconSize, iconSize), ink);

  const qreal textLeft = card.left() + 24 + iconSize;
  // The title shrinks to fit the narrower zones.
  QFont title("Liberation Sans");
  title.setBold(true);
  const qreal textWidth = card.right() - textLeft - 6;
  for (int pixels = 15; pixels >= 11; --pixels) {
    title.setPixelSize(pixels);
    if (QFontMetrics(title).horizontalAdvance(QString::fromUtf8(style.title)) <= textWidth) break;
  }
  p.setFont(title);
  p.setPen(onAccent ? QColor(255, 255, 255) : QColor(28, 36, 48));
  p.drawText(QRectF(textLeft, card.top() + 4, card.right() - textLeft - 6, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf8(style.title));
  QFont sub("Liberation Sans");
  sub.setPixelSize(11);
  p.setFont(sub);
  p.setPen(onAccent ? QColor(255, 255, 255, 225) : QColor(90, 98, 110));
  QFontMetrics metrics(sub);
  QString subtitle =
      metrics.elidedText(QString::fromUtf8(style.subtitle), Qt::ElideRight, static_cast<int>(card.right() - textLeft - 6));
  p.drawText(QRectF(textLeft, card.top() + 23, card.right() - textLeft - 6, 16), Qt::AlignLeft | Qt::AlignVCenter,
             subtitle);
  p.restore();
}

// Graph paper: the engineer's background.
void drawGraphPaper(QPainter& p, QSize size) {
  p.save();
  p.setPen(QPen(QColor(180, 196, 214, 70), 1));
  for (int x = 0; x < size.width(); x += 12) p.drawLine(x, 0, x, size.height());
  for (int y = 0; y < size.height(); y += 12) p.drawLine(0, y, size.width(), y);
  p.setPen(QPen(QColor(160, 180, 205, 90), 1));
  for (int x = 0; x < size.width(); x += 60) p.drawLine(x, 0, x, size.height());
  for (int y = 0; y < size.height(); y += 60) p.drawLine(0, y, size.width(), y);
  p.restore();
}

void drawLogo(QPainter& p) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QRectF badge(14, 22, 70, 70);
  QLinearGradient fill(badge.topLeft(), badge.bottomRight());
  fill.setColorAt(0, QColor(46, 84, 140));
  fill.setColorAt(1, QColor(22, 44, 82));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawRoundedRect(badge.translated(2, 3), 14, 14);
  p.setBrush(fill);
  p.drawRoundedRect(badge, 14, 14);
  QFont big("Liberation Sans");
  big.setPixelSize(34);
  big.setBold(true);
  p.setFont(big);
  p.setPen(QColor(255, 255, 255));
  p.drawText(badge, Qt::AlignCenter, "QZ");
  QFont small("Liberation Sans");
  small.setPixelSize(10);
  small.setBold(true);
  small.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
  p.setFont(small);
  p.setPen(QColor(46, 70, 110));
  p.drawText(QRectF(0, 98, 98, 14), Qt::AlignCenter, "KELDORAN");
  p.restore();
}

}  // namespace

QPixmap LauncherArt::background(QSize size) {
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  QLinearGradient sky(0, 0, size.width(), size.height());
  sky.setColorAt(0, QColor(236, 241, 247));
  sky.setColorAt(1, QColor(212, 222, 234));
  p.fillRect(pixmap.rect(), sky);
  drawGraphPaper(p, size);
  drawLogo(p);
  for (int z = 0; z < Launcher::kZoneCount; ++z) drawZone(p, z, zoneBox(z), Look::Rest);
  return pixmap;
}

QPixmap LauncherArt::icon(int zone, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  drawIcon(p, zone, QRectF(1, 1, size - 2, size - 2), kZoneStyles[zone].accent);
  return pixmap;
}

QPixmap LauncherArt::zone(int zone, ZoneLook look) {
  QRectF box = zoneBox(zone);
  QPixmap pixmap(box.size().toSize());
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  drawZone(p, zone, QRectF(QPointF(0, 0), box.size()), look == ZoneLook::Hovered ? Look::Hovered : Look::Pressed);
  return pixmap;
}

}  // namespace qz
