// The start page's pictures, painted at start-up: the background with the six
// zones at rest, and each zone highlighted and pressed.
#pragma once

#include <QPixmap>
#include <QSize>

namespace qz {

class LauncherArt {
 public:
  enum class ZoneLook { Hovered, Pressed };
  /// Changes whenever the pictures change, so that a kept copy is painted again.
  static constexpr int kArtVersion = 1;

  /// The whole page at `size`, every zone drawn at rest, no version line.
  static QPixmap background(QSize size);
  /// One zone's picture, the size of its rectangle.
  static QPixmap zone(int zone, ZoneLook look);
  /// The zone's pictogram alone, `size` pixels square, in its accent colour.
  static QPixmap icon(int zone, int size);
};

}  // namespace qz
