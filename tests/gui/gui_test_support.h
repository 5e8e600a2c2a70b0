// What the widget tests share: throw-away places for the program's files, and
// opening a calculator from the start page as a user does.
#pragma once

#include <QPoint>
#include <QTemporaryDir>
#include <QTest>

#include "app/calculator_window.h"
#include "app/launcher.h"
#include "app/launcher_page.h"
#include "app/qz_application.h"
#include "files/file_places.h"

namespace qz::testing {

/// The program's folders inside `root` (a temporary folder of the test).
inline FilePlaces placesIn(const QString& root) {
  const std::string r = root.toStdString();
  return {r + "/program", r + "/data", r + "/cache", r + "/home"};
}

/// The centre of a start page zone, where a user clicks.
inline QPoint zoneCentre(int zone) {
  const Rect r = Launcher::zoneRect(zone);
  return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

/// Clicks calculator `zone` on the start page and waits for its window, made
/// active; nullptr when it did not open.
inline CalculatorWindow* openFromStartPage(QzApplication& app, int zone) {
  QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(zone));
  if (!QTest::qWaitFor([&] { return app.calculatorWindow() != nullptr; })) return nullptr;
  CalculatorWindow* window = app.calculatorWindow();
  window->activateWindow();
  (void)QTest::qWaitForWindowActive(window);
  return window;
}

}  // namespace qz::testing
