// The program's icon, drawn from the same SVG that the desktop's icon theme
// installs, for the title bar and the task switcher of every window.
#pragma once

#include <QIcon>

namespace qz {

/// The QZ icon at the icon theme's sizes (16 to 256 pixels).
QIcon applicationIcon();

}  // namespace qz
