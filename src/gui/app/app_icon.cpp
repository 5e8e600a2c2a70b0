#include "app/app_icon.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <memory>

namespace qz {

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Rendered once per size rather than scaled from one picture: a window
// manager that asks for 16 or 32 pixels gets a sharp drawing, not a blur.
QIcon renderedIcon() {
  QSvgRenderer renderer(QStringLiteral(":/qz/qz.svg"));
  QIcon icon;
  if (!renderer.isValid()) return icon;
  for (int size : kIconSizes) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

// Drawing the eight sizes takes longer than showing the start page; most of
// them are never asked for (and none under the offscreen platform). The
// pictures are drawn the first time the icon is really looked at; until
// then only the list of sizes is known.
class DeferredIconEngine : public QIconEngine {
 public:
  DeferredIconEngine() : m_icon(std::make_shared<std::optional<QIcon>>()) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return icon().actualSize(size, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    return icon().pixmap(size, scale, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    if (m_icon->has_value()) return (*m_icon)->availableSizes(mode, state);
    QList<QSize> sizes;
    if (mode == QIcon::Normal && state == QIcon::Off)
      for (int size : kIconSizes) sizes.append(QSize(size, size));
    return sizes;
  }
  bool isNull() override { return false; }
  QString key() const override { return QStringLiteral("qz-deferred"); }
  // Copies share the pictures: drawn once for all of them.
  QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

 private:
  QIcon& icon() {
    if (!m_icon->has_value()) *m_icon = renderedIcon();
    return **m_icon;
  }

  std::shared_ptr<std::optional<QIcon>> m_icon;
};

}  // namespace

QIcon applicationIcon() { return QIcon(new DeferredIconEngine); }

}  // namespace qz
