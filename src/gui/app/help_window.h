// The help window: the user manual's section on a calculator, and opening the
// PDF manual with the desktop's reader.
#pragma once

#include <QString>

class QWidget;

namespace qz {

class CalcApp;

class HelpWindow {
 public:
  /// Shows the manual at the section of `calculator` (0 to 4).
  static void showFor(int calculator, const CalcApp& app, QWidget* parent);
  /// Shows the manual at an anchor ("documents", "memoires"...).
  static void showTopic(const QString& anchor, QWidget* parent);
};

/// Opens the PDF user manual; a missing file or reader gives the usual messages.
void openUserManual(CalcApp& app, QWidget* parent);

}  // namespace qz
