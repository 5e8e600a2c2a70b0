#include "app/launcher_page.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>

#include "app/launcher_art.h"
#include "files/file_access.h"
#include "platform/painter_canvas.h"

namespace qz {

namespace {

constexpr QSize kPageSize(588, 397);

QRect qtRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
Point toPoint(const QPointF& p) { return {static_cast<int>(p.x()), static_cast<int>(p.y())}; }

}  // namespace

LauncherPage::LauncherPage(int& currentCalculator, const QString& versionLine, const QString& cacheFolder,
                           QWidget* parent)
    : QWidget(parent), m_currentCalculator(currentCalculator) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(kPageSize);
  m_background = cachedPage(versionLine, cacheFolder);
}

QPixmap LauncherPage::paintedPage(const QString& versionLine) {
  QPixmap page = LauncherArt::background(kPageSize);
  QPainter p(&page);
  // The version line: Arial two units larger than the display font.
  FontSpec versionFont{"Arial", -14, 400, false, false};
  p.setFont(PainterCanvas::qtFont(versionFont));
  p.setPen(QColor(60, 70, 86));
  p.drawText(QRect(0, kPageSize.height() - 30, kPageSize.width() - 14, 22), Qt::AlignRight | Qt::AlignVCenter,
             versionLine);
  return page;
}

QPixmap LauncherPage::cachedPage(const QString& versionLine, const QString& cacheFolder) {
  // Painting the page takes most of the start-up time; loading the picture
  // painted by an earlier run of the same version takes a fraction of it.
  const QString file = cacheFolder.isEmpty()
                           ? QString()
                           : QDir(cacheFolder).filePath(QStringLiteral("start-page-%1-%2.bmp")
                                                            .arg(qHash(versionLine), 0, 16)
                                                            .arg(LauncherArt::kArtVersion));
  QPixmap picture;
  if (!file.isEmpty() && picture.load(file, "BMP") && picture.size() == kPageSize) return picture;
  picture = paintedPage(versionLine);
  if (!file.isEmpty()) {
    // Through the program's one file writer: a half-written picture is never
    // loaded. A cache the program can do without: a failure is silent.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "BMP"))
      WriteFileAtomically(file.toStdString(), bytes.toStdString());
  }
  return picture;
}

const QPixmap& LauncherPage::zonePicture(int zone, bool pressed) {
  // Painted the first time the mouse needs them, to keep start-up short.
  QPixmap& picture = (pressed ? m_pressed : m_hovered)[static_cast<std::size_t>(zone)];
  if (picture.isNull())
    picture = LauncherArt::zone(zone, pressed ? LauncherArt::ZoneLook::Pressed : LauncherArt::ZoneLook::Hovered);
  return picture;
}

void LauncherPage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, m_background);
  for (int z = 0; z < Launcher::kZoneCount; ++z) {
    if (!m_launcher.hovered(z)) continue;
    QPoint at = qtRect(Launcher::zoneRect(z)).topLeft();
    p.drawPixmap(at, zonePicture(z, false));
    if (m_launcher.pressed(z)) p.drawPixmap(at, zonePicture(z, true));
  }
}

void LauncherPage::repaintZones(unsigned changed) {
  for (int z = 0; z < Launcher::kZoneCount; ++z)
    if (changed & (1u << z)) update(qtRect(Launcher::zoneRect(z)));
  bool overZone = false;
  for (int z = 0; z < Launcher::kZoneCount; ++z) overZone = overZone || m_launcher.hovered(z);
  setCursor(overZone ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void LauncherPage::mouseMoveEvent(QMouseEvent* event) { repaintZones(m_launcher.mouseMove(toPoint(event->position()))); }

void LauncherPage::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  repaintZones(m_launcher.buttonDown(toPoint(event->position()), m_currentCalculator));
}

void LauncherPage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  int before = m_currentCalculator;
  repaintZones(m_launcher.buttonUp(toPoint(event->position()), m_currentCalculator));
  if (m_currentCalculator != before && m_currentCalculator >= 0) emit zoneChosen(m_currentCalculator);
}

void LauncherPage::leaveEvent(QEvent*) { repaintZones(m_launcher.mouseLeave()); }

}  // namespace qz
