// Page layout of the calculation report.
#include "report/report_layout.h"

#include <algorithm>
#include <cmath>

#include "report/report_lines.h"

namespace qz {

namespace {

int toPixels(double cm, double pixelsPerCm) { return static_cast<int>(std::lround(cm * pixelsPerCm)); }

}  // namespace

PageMetrics computePageMetrics(const PrinterPage& page, const ReportMargins& margins, Size spaceOnScreen,
                               int screenDpi) {
  PageMetrics m;
  if (screenDpi <= 0 || page.dpiX <= 0 || page.dpiY <= 0) return m;
  m.pixelsPerCmX = page.dpiX / 2.54;
  m.pixelsPerCmY = page.dpiY / 2.54;
  m.cellWidth = static_cast<int>(std::lround(static_cast<double>(spaceOnScreen.width) * page.dpiX / screenDpi));
  m.lineHeight =
      static_cast<int>(std::lround(static_cast<double>(spaceOnScreen.height) * page.dpiY / screenDpi)) + 1;
  m.textRect.left = toPixels(margins.left - page.offsetLeftCm, m.pixelsPerCmX);
  m.textRect.top = toPixels(margins.top - page.offsetTopCm, m.pixelsPerCmY);
  m.textRect.right = page.printableWidthPx - toPixels(margins.right - page.offsetRightCm, m.pixelsPerCmX);
  m.textRect.bottom = page.printableHeightPx - toPixels(margins.bottom - page.offsetBottomCm, m.pixelsPerCmY);
  if (m.cellWidth > 0 && m.textRect.width() > 0) m.charsPerLine = m.textRect.width() / m.cellWidth;
  if (m.lineHeight > 0 && m.textRect.height() > 0) m.linesPerPage = m.textRect.height() / m.lineHeight;
  return m;
}

std::string ReportPages::pageText() const {
  std::string text;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) text += std::string(kReportPageBreak) + "\n";
    for (const std::string& line : pages[p]) text += line + "\n";
  }
  return text;
}

ReportPages paginate(const std::vector<std::string>& lines, int linesPerPage, int figureRows) {
  ReportPages result;
  if (linesPerPage <= 0) return result;
  result.pages.emplace_back();
  int counter = 0;
  bool pageHasBody = false;  // something besides a repeated header
  const std::string* header = nullptr;
  bool headerNext = false;

  auto newPage = [&](bool repeatHeader) {
    result.pages.emplace_back();
    counter = 0;
    pageHasBody = false;
    if (repeatHeader && header != nullptr) {
      result.pages.back().push_back(*header);
      counter = 1;
    }
  };

  for (const std::string& line : lines) {
    if (line == kReportEnd) break;
    if (line == kReportTableStart) {
      headerNext = true;
      continue;
    }
    if (line == kReportTableEnd) {
      // A table ending exactly at a page's end leaves its header alone on the
      // next page: a header without rows is dropped.
      if (header != nullptr && !pageHasBody) {
        result.pages.back().clear();
        counter = 0;
      }
      header = nullptr;
      headerNext = false;
      continue;
    }
    if (line == kReportPageBreak) {
      if (pageHasBody) {
        newPage(false);
      } else {  // nothing but a repeated header yet: the forced break starts this page afresh
        result.pages.back().clear();
        counter = 0;
      }
      continue;
    }
    if (line == kReportFigure && figureRows > 0 && pageHasBody && counter + figureRows > linesPerPage)
      newPage(true);
    if (headerNext) {
      header = &line;
      headerNext = false;
    }
    result.pages.back().push_back(line);
    pageHasBody = true;
    ++counter;
    // ">=" rather than "==": a repeated header on a one-row page already fills it.
    if (counter >= linesPerPage) newPage(true);
  }
  // A break right before the end leaves a page with nothing new on it.
  if (result.pages.size() > 1 && !pageHasBody) result.pages.pop_back();
  if (result.pages.size() == 1 && result.pages.front().empty()) result.pages.clear();
  return result;
}

Rect figureBox(const PrinterPage& page, const ReportMargins& margins, const PageMetrics& metrics, int top) {
  const double widthCm = (page.paperWidthCm - margins.left - margins.right) / 2.0;
  const int width = std::max(0, toPixels(widthCm, metrics.pixelsPerCmX));
  const int height = std::max(0, toPixels(widthCm * 1.4, metrics.pixelsPerCmY));
  return Rect{metrics.textRect.right - width, top, metrics.textRect.right, top + height};
}

int figureRowCount(const PrinterPage& page, const ReportMargins& margins, const PageMetrics& metrics) {
  if (metrics.lineHeight <= 0) return 0;
  const int height = figureBox(page, margins, metrics, 0).height();
  return (height + metrics.lineHeight - 1) / metrics.lineHeight;
}

Rect diagramBox(const PrinterPage& page, const ReportMargins& margins, const PageMetrics& metrics) {
  const int side =
      margins.orientation == 1
          ? toPixels(page.paperHeightCm - margins.top - margins.bottom, metrics.pixelsPerCmY)
          : toPixels(page.paperWidthCm - margins.left - margins.right, metrics.pixelsPerCmX);
  const Rect& t = metrics.textRect;
  const int left = t.left + (t.width() - side) / 2;
  const int top = t.top + (t.height() - side) / 2;
  return Rect{left, top, left + std::max(0, side), top + std::max(0, side)};
}

bool drawPage(Canvas& canvas, const ReportPages& pages, int pageIndex, const PageDrawing& drawing) {
  if (pageIndex < 0 || pageIndex >= pages.pageCount()) return false;
  const PageMetrics& m = drawing.metrics;
  const Rect& t = m.textRect;
  const TextGrid grid{m.cellWidth, m.lineHeight};
  canvas.setFont(drawing.font);
  canvas.setTextColour(Rgb{});
  int row = 0;
  for (const std::string& line : pages.pages[static_cast<std::size_t>(pageIndex)]) {
    const int top = t.top + row * m.lineHeight;
    if (line == kReportFigure) {
      if (drawing.figure) drawing.figure(canvas, figureBox(drawing.page, drawing.margins, m, top));
      continue;
    }
    if (line == kReportDiagram) {
      if (drawing.diagram) drawing.diagram(canvas, diagramBox(drawing.page, drawing.margins, m));
      continue;
    }
    if (line == kReportRule) {
      canvas.setPen(Pen{Rgb{}, 1, PenStyle::Solid});
      const int y = top + m.lineHeight / 2;
      canvas.drawLine(Point{t.left, y}, Point{t.right, y});
    } else if (!line.empty()) {
      const Rect rowRect{t.left, top, t.right, top + m.lineHeight};
      drawMarkup(canvas, 0, line, rowRect, MarkupAlign::Left, Rgb{}, drawing.font, &grid);
    }
    ++row;
  }
  return true;
}

PrintRange normalizePrintRange(PrintRange range, int pageCount) {
  const int last = std::max(1, pageCount);
  range.firstPage = std::clamp(range.firstPage, 1, last);
  range.lastPage = std::clamp(range.lastPage, 1, last);
  if (range.firstPage > range.lastPage) std::swap(range.firstPage, range.lastPage);
  range.copies = std::clamp(range.copies, 1, 100);
  return range;
}

}  // namespace qz
