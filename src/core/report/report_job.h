// A report made ready for one output: built for the page's line width,
// paginated on the page's grid, with the fonts and pictures its pages draw.
#pragma once

#include <optional>
#include <string>

#include "app/font_setting.h"
#include "platform/messenger.h"
#include "report/report_layout.h"
#include "report/report_source.h"

namespace qz {

/// What the output is for: the report printed, the diagram printed on a page
/// of its own, or the report exported.
enum class ReportJob : int { None = -1, Print = 0, PrintDiagram = 1, Export = 2 };

/// Everything besides the calculator that decides how a report is laid out.
struct ReportSetup {
  PrinterPage page;           ///< the printer's (or the PDF file's) page for the orientation
  ReportMargins margins;
  FontDescription font;       ///< the report font, in screen units
  Size spaceOnScreen;         ///< one space of the report font measured on the screen
  int screenDpi = 96;
  std::string documentPath;   ///< empty for a document without a file name
  std::string dateStamp;      ///< the header's date; empty takes the current one
  ReportOptions options;
};

/// A report ready to draw or export.
struct PreparedReport {
  ReportPages pages;
  PageDrawing drawing;
  ReportLines lines;
};

/// The report font scaled from the screen to a device of `deviceDpi`.
FontSpec reportFontOnDevice(const FontDescription& font, int screenDpi, int deviceDpi);

/// "- le document imprimé contient un total de N page(s) -" for the print dialog.
std::string pageCountText(int pageCount);

/// Builds and paginates the report of `source` for `job`. On failure shows the
/// message and returns nothing: 121 when the report does not fit, 285 when the
/// margins leave no page to print. The diagram job needs no lines: its page is
/// "<DIAGRAM>" alone.
std::optional<PreparedReport> prepareReport(const ReportSource& source, ReportJob job, const ReportSetup& setup,
                                            Messenger& messenger);

}  // namespace qz
