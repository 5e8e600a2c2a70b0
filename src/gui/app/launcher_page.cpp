#include "app/launcher_page.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "app/launcher_art.h"
#include "files/file_access.h"
#include "platform/painter_canvas.h"

namespace qz {

namespace {

constexpr QSize kPageSize(588, 397);

QRect qtRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

// The kept start page is a 32-bit top-down BMP: a 54-byte header, then the
// pixels of an RGB32 image exactly as they lie in memory. Any viewer opens it,
// and it is read back without Qt's image plugins, whose loading alone takes
// longer than showing the page.
QByteArray bmpHeader(QSize size) {
  const quint32 pixels = static_cast<quint32>(size.width()) * static_cast<quint32>(size.height()) * 4u;
  QByteArray header(54, '\0');
  auto put = [&header](int at, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i) header[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  header[0] = 'B';
  header[1] = 'M';
  put(2, 54 + pixels, 4);                                    // file size
  put(10, 54, 4);                                            // offset of the pixels
  put(14, 40, 4);                                            // BITMAPINFOHEADER
  put(18, static_cast<quint32>(size.width()), 4);
  put(22, static_cast<quint32>(-size.height()), 4);          // negative: top row first
  put(26, 1, 2);                                             // planes
  put(28, 32, 2);                                            // bits per pixel
  put(34, pixels, 4);                                        // no compression; size of the pixels
  put(38, 2835, 4);                                          // 72 dpi
  put(42, 2835, 4);
  return header;
}

QByteArray pageBmp(const QImage& page) {
  const QImage image = page.convertToFormat(QImage::Format_RGB32);
  QByteArray bytes = bmpHeader(image.size());
  for (int y = 0; y < image.height(); ++y)
    bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
  return bytes;
}

// The page from a file written by pageBmp, or a null image for anything else.
QImage readPageBmp(const QString& file, QSize size) {
  const QByteArray header = bmpHeader(size);
  const std::size_t expected = static_cast<std::size_t>(header.size()) + static_cast<std::size_t>(size.width()) *
                                                                             static_cast<std::size_t>(size.height()) * 4u;
  // One read of the known size into the image itself; never a FIFO or a
  // device planted there, which could block the start.
  if (!QFileInfo(file).isFile()) return {};
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly) || in.size() != static_cast<qint64>(expected)) return {};
  QByteArray head(header.size(), '\0');
  if (in.read(head.data(), head.size()) != head.size() || head != header) return {};
  QImage image(size, QImage::Format_RGB32);
  const qint64 pixels = static_cast<qint64>(expected) - header.size();
  if (image.bytesPerLine() != size.width() * 4 || in.read(reinterpret_cast<char*>(image.bits()), pixels) != pixels)
    return {};
  return image;
}

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
  if (!file.isEmpty()) {
    const QImage kept = readPageBmp(file, kPageSize);
    if (!kept.isNull()) return QPixmap::fromImage(kept);
  }
  QPixmap picture = paintedPage(versionLine);
  // Through the program's one file writer: a half-written picture is never
  // loaded. A cache the program can do without: a failure is silent.
  if (!file.isEmpty()) WriteFileAtomically(file.toStdString(), pageBmp(picture.toImage()).toStdString());
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
