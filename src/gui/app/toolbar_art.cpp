#include "app/toolbar_art.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "app/commands.h"
#include "app/launcher_art.h"

namespace qz {

namespace {

const QColor kInk(44, 62, 92);
const QColor kPaper(250, 250, 246);
const QColor kAccent(37, 99, 165);

// Draws in a 20 x 20 box, at any pixel size.
template <typename Draw>
QIcon paintIcon(Draw draw) {
  QIcon icon;
  for (int size : {20, 40}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 20.0, size / 20.0);
    draw(p);
    icon.addPixmap(pixmap);
  }
  return icon;
}

void sheet(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kPaper);
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - 4, r.top());
  path.lineTo(r.right(), r.top() + 4);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.drawPath(path);
  p.setPen(QPen(kInk.lighter(160), 1.0));
  for (qreal y = r.top() + 5; y < r.bottom() - 2; y += 3) p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 2.5, y));
}

}  // namespace

QIcon ToolbarArt::commandIcon(int command) {
  switch (command) {
    case kCmdOpen:
      return paintIcon([](QPainter& p) {
        p.setPen(QPen(QColor(150, 110, 30), 1.2));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(2, 5, 15, 11));
        p.setBrush(QColor(252, 222, 130));
        QPolygonF front;
        front << QPointF(4, 9) << QPointF(19, 9) << QPointF(17, 16) << QPointF(2, 16);
        p.drawPolygon(front);
      });
    case kCmdSave:
      return paintIcon([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(210, 220, 235));
        p.drawRect(QRectF(5, 11, 10, 6.5));
      });
    case kCmdPrint:
      return paintIcon([](QPainter& p) {
        sheet(p, QRectF(5, 1.5, 10, 8));
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(190, 198, 210));
        p.drawRoundedRect(QRectF(1.5, 8, 17, 7.5), 1.5, 1.5);
        sheet(p, QRectF(5, 12.5, 10, 6));
      });
    case kCmdExport:
      return paintIcon([](QPainter& p) {
        sheet(p, QRectF(2.5, 1.5, 11, 16));
        p.setPen(QPen(QColor(32, 128, 88), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(10, 12), QPointF(18, 12));
        p.drawLine(QPointF(15, 9), QPointF(18, 12));
        p.drawLine(QPointF(15, 15), QPointF(18, 12));
      });
    case kCmdUndo:
      return paintIcon([](QPainter& p) {
        p.setPen(QPen(kAccent, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath arc;
        arc.moveTo(4, 8);
        arc.cubicTo(9, 3, 18, 5, 16, 12);
        arc.cubicTo(15, 15, 12, 16, 9, 16);
        p.drawPath(arc);
        p.drawLine(QPointF(4, 8), QPointF(4, 3.5));
        p.drawLine(QPointF(4, 8), QPointF(8.5, 8.5));
      });
    case kCmdCopy:
      return paintIcon([](QPainter& p) {
        sheet(p, QRectF(2, 2, 10, 12));
        sheet(p, QRectF(8, 6, 10, 12));
      });
    case kCmdPaste:
      return paintIcon([](QPainter& p) {
        p.setPen(QPen(QColor(120, 80, 30), 1.2));
        p.setBrush(QColor(200, 150, 80));
        p.drawRoundedRect(QRectF(2.5, 3, 12, 15), 1.5, 1.5);
        p.setBrush(QColor(170, 170, 175));
        p.drawRect(QRectF(5.5, 1.5, 6, 3));
        sheet(p, QRectF(9, 8, 9, 10.5));
      });
    case kCmdHelpCalculator:
      return paintIcon([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QRectF(1.5, 1.5, 17, 17));
        QFont f("Liberation Sans");
        f.setBold(true);
        f.setPixelSize(14);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(1.5, 1.5, 17, 17), Qt::AlignCenter, "?");
      });
    default: return {};
  }
}

QIcon ToolbarArt::calculatorIcon(int calculator) {
  QIcon icon;
  for (int size : {20, 40}) icon.addPixmap(LauncherArt::icon(calculator, size));
  return icon;
}

}  // namespace qz
