// The A4 sheets the report tests lay out on, as a printer reports them.
#pragma once

#include <cmath>
#include <utility>

#include "report/report_layout.h"

namespace qz::testing {

/// A portrait A4 sheet at 300 or 600 dpi (2480 x 3508 pixels at 300) whose
/// printer cannot reach the outer `borderCm` on each side.
inline PrinterPage a4Page(int dpi, double borderCm = 0.0) {
  PrinterPage p;
  p.paperWidthCm = 21.0;
  p.paperHeightCm = 29.7;
  p.paperWidthPx = 2480 * dpi / 300;
  p.paperHeightPx = 3508 * dpi / 300;
  const int border = static_cast<int>(std::lround(borderCm * dpi / 2.54));
  p.printableWidthPx = p.paperWidthPx - 2 * border;
  p.printableHeightPx = p.paperHeightPx - 2 * border;
  p.offsetLeftCm = p.offsetTopCm = p.offsetRightCm = p.offsetBottomCm = borderCm;
  p.dpiX = p.dpiY = dpi;
  return p;
}

/// The same sheet turned to landscape.
inline PrinterPage turned(PrinterPage p) {
  std::swap(p.paperWidthCm, p.paperHeightCm);
  std::swap(p.paperWidthPx, p.paperHeightPx);
  std::swap(p.printableWidthPx, p.printableHeightPx);
  return p;
}

}  // namespace qz::testing
