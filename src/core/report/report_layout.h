// Page layout of the calculation report: page metrics on the report grid,
// pagination of the report lines and the drawing of one page.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "numbers/markup.h"
#include "platform/canvas.h"

namespace qz {

/// What the printer tells about its page for the current orientation.
struct PrinterPage {
  double paperWidthCm = 0, paperHeightCm = 0;
  int paperWidthPx = 0, paperHeightPx = 0;          ///< whole sheet in device pixels
  int printableWidthPx = 0, printableHeightPx = 0;  ///< printable area in device pixels
  double offsetLeftCm = 0, offsetTopCm = 0, offsetRightCm = 0, offsetBottomCm = 0;  ///< unprintable borders
  int dpiX = 0, dpiY = 0;                           ///< device resolution
};

/// Margins in centimetres and orientation (0 portrait, 1 landscape).
struct ReportMargins {
  double left = 2.5, right = 1.5, top = 2.5, bottom = 2.0;
  int orientation = 0;
};

/// The report grid on the printer's page.
struct PageMetrics {
  int cellWidth = 0;   ///< one character cell, device pixels
  int lineHeight = 0;  ///< one row, device pixels
  Rect textRect;       ///< area inside the margins, printable-area coordinates
  int charsPerLine = 0;
  int linesPerPage = 0;
  double pixelsPerCmX = 0, pixelsPerCmY = 0;
};

/// Computes the grid from the printer's page, the margins and the size of one
/// space of the report font measured on a screen of `screenDpi`. The line
/// height is the converted space height plus one pixel, so that rows never
/// touch. Counts are 0 (never negative) when the margins leave no room.
PageMetrics computePageMetrics(const PrinterPage& page, const ReportMargins& margins, Size spaceOnScreen,
                               int screenDpi);

/// The report cut into pages: each page holds the lines to draw, top to bottom.
/// Table tags are consumed; a repeated table header appears again as a line.
struct ReportPages {
  std::vector<std::vector<std::string>> pages;
  int pageCount() const { return static_cast<int>(pages.size()); }
  /// The page text: the lines joined by line feeds with "<PAGE>" between pages.
  std::string pageText() const;
};

/// Paginates report lines (up to "<END>" or their end) on `linesPerPage` rows.
/// `figureRows` is the height of the geometric figure in rows: a figure that
/// would run past the bottom of a page that already holds text starts the next
/// page instead (0 leaves the figure where it is). No pages at all when
/// `linesPerPage` is not positive; a forced break on a page still empty does
/// not produce a blank page.
ReportPages paginate(const std::vector<std::string>& lines, int linesPerPage, int figureRows = 0);

/// Rows taken by the geometric figure box on that grid (rounded up).
int figureRowCount(const PrinterPage& page, const ReportMargins& margins, const PageMetrics& metrics);

/// Box of the geometric figure: half the text width of the paper (paper width
/// less both margins), 1.4 times as high, against the right edge of the text
/// rectangle with its top at `top`.
Rect figureBox(const PrinterPage& page, const ReportMargins& margins, const PageMetrics& metrics, int top);

/// Square of the diagram page: the paper width less the side margins in
/// portrait, the paper height less top and bottom margins in landscape, centred
/// in the text rectangle.
Rect diagramBox(const PrinterPage& page, const ReportMargins& margins, const PageMetrics& metrics);

using FigureDrawer = std::function<void(Canvas&, Rect)>;

/// Everything drawing a page needs besides the pages themselves.
struct PageDrawing {
  PrinterPage page;
  ReportMargins margins;
  PageMetrics metrics;
  FontSpec font;          ///< report font scaled to the printer
  FigureDrawer figure;    ///< draws the geometric figure in its box (may be empty)
  FigureDrawer diagram;   ///< draws the statistics diagram in its box (may be empty)
};

/// Draws page `pageIndex` (from 0): rules across the text rectangle at the
/// middle of their row, the figure beside the text that follows it (it takes
/// no row), the diagram in its square, text lines in black on the cell grid.
/// False when the page does not exist.
bool drawPage(Canvas& canvas, const ReportPages& pages, int pageIndex, const PageDrawing& drawing);

/// Range and copies chosen in the print dialog.
struct PrintRange {
  int firstPage = 1, lastPage = 1, copies = 1;
};

/// The range as printed: pages kept within 1..pageCount and put in order, copies
/// within 1..100.
PrintRange normalizePrintRange(PrintRange range, int pageCount);

}  // namespace qz
