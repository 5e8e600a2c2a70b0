// The calculator windows' toolbar pictures, painted at start-up.
#pragma once

#include <QIcon>

namespace qz {

class ToolbarArt {
 public:
  /// The picture of a shared command (open, save, print, export, undo, copy,
  /// paste, help), or an empty icon for other commands.
  static QIcon commandIcon(int command);
  /// The small picture of calculator 0 to 4, as on the start page.
  static QIcon calculatorIcon(int calculator);
};

}  // namespace qz
