// The start page: six picture zones and the version line.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>

#include "app/launcher.h"

namespace qz {

class LauncherPage : public QWidget {
  Q_OBJECT
 public:
  /// `currentCalculator` is the application's: the mouse writes into it.
  /// `versionLine` is drawn at the lower right. The painted page is kept in
  /// `cacheFolder` (when given) so that later starts only load it.
  LauncherPage(int& currentCalculator, const QString& versionLine, const QString& cacheFolder = {},
               QWidget* parent = nullptr);
  const Launcher& launcher() const { return m_launcher; }

 signals:
  /// A button release chose a zone (the calculator host takes it from there).
  void zoneChosen(int zone);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent*) override;

 private:
  void repaintZones(unsigned changed);
  static QPixmap paintedPage(const QString& versionLine);
  static QPixmap cachedPage(const QString& versionLine, const QString& cacheFolder);
  const QPixmap& zonePicture(int zone, bool pressed);

  int& m_currentCalculator;
  Launcher m_launcher;
  QPixmap m_background;
  std::array<QPixmap, Launcher::kZoneCount> m_hovered;
  std::array<QPixmap, Launcher::kZoneCount> m_pressed;
};

}  // namespace qz
