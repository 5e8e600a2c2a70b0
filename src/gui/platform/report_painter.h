// The calculation report on Qt's paint devices: the page a printer or a PDF
// file offers, the report's pages painted on it, the PDF file and the RTF
// pictures. Needs Qt GUI only, so qz-cli makes the same files headless.
#pragma once

#include <QPageLayout>
#include <optional>
#include <string>

#include "app/calc_app.h"
#include "report/report_job.h"
#include "report/rtf_export.h"

class QPainter;
class QPagedPaintDevice;

namespace qz {

/// The resolution the report font is measured at, as a desktop screen has it;
/// fixed so that a report lays out the same on every machine.
inline constexpr int kReportScreenDpi = 96;
/// Resolution of the PDF files.
inline constexpr int kReportPdfDpi = 600;
/// Highest resolution the RTF pictures are painted at: sharp on paper, small in the file.
inline constexpr int kRtfPictureDpi = 300;

/// The page of a device with `layout` at `resolution` dots per inch: the
/// sheet, the printable area inside the layout's margins and those margins as
/// the unprintable borders.
PrinterPage printerPageOf(const QPageLayout& layout, int resolution);

/// The sheet of a PDF file: A4 in the orientation (0 portrait, 1 landscape),
/// the whole sheet printable.
QPageLayout pdfPageLayout(int orientation);

/// One space of the report font on a kReportScreenDpi screen.
Size reportSpaceOnScreen(const FontDescription& font);

/// The layout choices of `setup` on `page`, for the document at `documentPath`.
ReportSetup makeReportSetup(const PageSetup& setup, const PrinterPage& page, const std::string& documentPath,
                            ReportOptions options = {});

/// Paints pages `range.firstPage` to `range.lastPage` (from 1), the whole run
/// `range.copies` times, on `device` through the active `painter`; a new sheet
/// starts before every page but the first.
void paintReport(QPainter& painter, QPagedPaintDevice& device, const PreparedReport& report, PrintRange range);

/// The report's pages as a PDF file (selectable text, figure and diagram as
/// vectors) on the sheet `layout`: every page, or those of `range`; nothing
/// when Qt could not paint it.
std::optional<std::string> reportPdfBytes(const PreparedReport& report, const QPageLayout& layout,
                                          std::optional<PrintRange> range = std::nullopt);

/// Writes the PDF file atomically; message 30804 when it cannot.
bool writeReportPdf(const std::string& path, const PreparedReport& report, const QPageLayout& layout,
                    Messenger& messenger, std::optional<PrintRange> range = std::nullopt);

/// Pictures for the RTF export: the report's figure or diagram painted on a
/// white image of the asked box (at most kRtfPictureDpi), saved as PNG.
RtfPictureProducer rtfPictureProducer(const PageDrawing& drawing);

/// The export job of a prepared report: mask from `maskFolder`, file at
/// `exportPath`, the report font of `setup`, the pictures painted by Qt.
RtfExportJob makeRtfExportJob(const PreparedReport& report, const PageSetup& setup, const std::string& maskFolder,
                              const std::string& exportPath);

}  // namespace qz
