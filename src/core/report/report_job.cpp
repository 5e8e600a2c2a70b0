#include "report/report_job.h"

#include <cmath>
#include <cstdio>

#include "numbers/markup.h"
#include "numbers/messages.h"
#include "numbers/string_table.h"
#include "numbers/real_format.h"
#include "report/report_lines.h"

namespace qz {

namespace {

constexpr int kNoPageText = 285;     // "Le rapport ne comporte aucune page à imprimer !..."
constexpr int kPageCountText = 288;  // "- le document imprimé contient un total de %d page{|s} -"

}  // namespace

FontSpec reportFontOnDevice(const FontDescription& font, int screenDpi, int deviceDpi) {
  FontSpec spec = font.toFontSpec();
  if (screenDpi > 0 && deviceDpi > 0)
    spec.height = static_cast<int>(std::lround(static_cast<double>(font.height) * deviceDpi / screenDpi));
  return spec;
}

std::string pageCountText(int pageCount) {
  const std::string format = choosePlural(LoadString(kPageCountText), pageCount);
  char text[160];
  std::snprintf(text, sizeof text, format.c_str(), pageCount);
  return text;
}

std::optional<PreparedReport> prepareReport(const ReportSource& source, ReportJob job, const ReportSetup& setup,
                                            Messenger& messenger) {
  PreparedReport report;
  PageDrawing& drawing = report.drawing;
  drawing.page = setup.page;
  drawing.margins = setup.margins;
  drawing.metrics = computePageMetrics(setup.page, setup.margins, setup.spaceOnScreen, setup.screenDpi);
  drawing.font = reportFontOnDevice(setup.font, setup.screenDpi, setup.page.dpiY);
  const bool exporting = job == ReportJob::Export;
  drawing.figure = source.figure(exporting);
  drawing.diagram = source.diagram();

  if (job == ReportJob::PrintDiagram) {
    // One page whatever the report holds: the diagram in its square.
    report.pages.pages.push_back({std::string(kReportDiagram)});
    return report;
  }

  ReportContext context = makeReportContext(setup.documentPath, drawing.metrics.charsPerLine, exporting,
                                            setup.options);
  if (!setup.dateStamp.empty()) context.dateStamp = setup.dateStamp;
  if (!source.build(context, report.lines)) {
    ShowMessage(messenger, kCaptionError, kReportFailedText, {}, MessageStyle::Error);
    return std::nullopt;
  }
  report.pages = paginate(report.lines.lines(), drawing.metrics.linesPerPage,
                          figureRowCount(setup.page, setup.margins, drawing.metrics));
  if (report.pages.pageCount() == 0) {
    ShowMessage(messenger, kCaptionError, kNoPageText, {}, MessageStyle::Error);
    return std::nullopt;
  }
  return report;
}

}  // namespace qz
