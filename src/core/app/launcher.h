// The start page's six picture zones and what the mouse does to them.
#pragma once

#include <array>
#include <string>

#include "platform/canvas.h"

namespace qz {

/// The start page: one zone per calculator (0 to 4) and one to quit (5).
class Launcher {
 public:
  static constexpr int kZoneCount = 6;
  static constexpr int kQuitZone = 5;

  /// Zone rectangles in view coordinates (right and bottom exclusive).
  static Rect zoneRect(int zone);

  bool hovered(int zone) const { return m_hover.at(static_cast<std::size_t>(zone)); }
  bool pressed(int zone) const { return m_pressed.at(static_cast<std::size_t>(zone)); }

  /// Mouse move: hover flags follow the point. Returns a bit per zone whose flag changed.
  unsigned mouseMove(Point p);
  /// Button down: asks for no calculator (`currentCalculator` = -1) and presses
  /// the zone under the point. Returns the changed zones.
  unsigned buttonDown(Point p, int& currentCalculator);
  /// Button up: the zone under the point becomes `currentCalculator`; every
  /// pressed flag is released. Returns the changed zones.
  unsigned buttonUp(Point p, int& currentCalculator);
  /// The mouse left the page: nothing is hovered any more.
  unsigned mouseLeave();

 private:
  std::array<bool, kZoneCount> m_hover{};
  std::array<bool, kZoneCount> m_pressed{};
};

/// The main window's title, upper-cased: "  KELDORAN - QZ", then " : " and the
/// calculator's name when `withName` and a calculator is current, then " - "
/// and the document's file name when one is named. Code page 1252.
std::string CalcTitle(bool withName, int currentCalculator, const std::string& documentPath);

/// The calculator's name as the title shows it ("CALCULETTE STANDARD"...), or "".
std::string calculatorName(int calculator);

/// The version text of a file version: "2.1", then "ß" when the third number
/// is 0, nothing when it is 1, else the letter of that rank (2 gives "b").
std::string versionText(int major, int minor, int patch);

/// The start page's version line, "Version %s - %s" with the version text and the year.
std::string versionLine(const std::string& version, const std::string& year);

}  // namespace qz
