#include "platform/report_painter.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "files/file_access.h"
#include "numbers/messages.h"
#include "platform/painter_canvas.h"

namespace qz {

namespace {

constexpr double kMmPerCm = 10.0;

QImage screenImage() {
  QImage image(1, 1, QImage::Format_RGB32);
  const int dotsPerMetre = static_cast<int>(kReportScreenDpi / 0.0254 + 0.5);
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  return image;
}

}  // namespace

PrinterPage printerPageOf(const QPageLayout& layout, int resolution) {
  PrinterPage page;
  // From millimetres: Qt's own pixel rectangles go through whole points and
  // would make an A4 sheet 11900 twips wide instead of 11906.
  const QRectF fullMm = layout.fullRect(QPageLayout::Millimeter);
  const QRectF paintMm = layout.paintRect(QPageLayout::Millimeter);
  const QMarginsF marginsMm = layout.margins(QPageLayout::Millimeter);
  const auto pixels = [resolution](double mm) { return static_cast<int>(std::lround(mm / 25.4 * resolution)); };
  page.paperWidthCm = fullMm.width() / kMmPerCm;
  page.paperHeightCm = fullMm.height() / kMmPerCm;
  page.paperWidthPx = pixels(fullMm.width());
  page.paperHeightPx = pixels(fullMm.height());
  page.printableWidthPx = pixels(paintMm.width());
  page.printableHeightPx = pixels(paintMm.height());
  page.offsetLeftCm = marginsMm.left() / kMmPerCm;
  page.offsetTopCm = marginsMm.top() / kMmPerCm;
  page.offsetRightCm = marginsMm.right() / kMmPerCm;
  page.offsetBottomCm = marginsMm.bottom() / kMmPerCm;
  page.dpiX = page.dpiY = resolution;
  return page;
}

QPageLayout pdfPageLayout(int orientation) {
  return QPageLayout(QPageSize(QPageSize::A4), orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

Size reportSpaceOnScreen(const FontDescription& font) {
  QImage screen = screenImage();
  const QFontMetrics metrics(PainterCanvas::qtFont(font.toFontSpec()), &screen);
  return Size{metrics.horizontalAdvance(QLatin1Char(' ')), metrics.height()};
}

ReportSetup makeReportSetup(const PageSetup& setup, const PrinterPage& page, const std::string& documentPath,
                            ReportOptions options) {
  ReportSetup s;
  s.page = page;
  s.margins = ReportMargins{setup.leftMargin, setup.rightMargin, setup.topMargin, setup.bottomMargin,
                            setup.orientation};
  s.font = setup.reportFont;
  s.spaceOnScreen = reportSpaceOnScreen(setup.reportFont);
  s.screenDpi = kReportScreenDpi;
  s.documentPath = documentPath;
  s.options = options;
  return s;
}

void paintReport(QPainter& painter, QPagedPaintDevice& device, const PreparedReport& report, PrintRange range) {
  range = normalizePrintRange(range, report.pages.pageCount());
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  PainterCanvas canvas(&painter);
  bool first = true;
  for (int copy = 0; copy < range.copies; ++copy) {
    for (int page = range.firstPage; page <= range.lastPage; ++page) {
      if (!first) device.newPage();
      first = false;
      drawPage(canvas, report.pages, page - 1, report.drawing);
    }
  }
}

std::optional<std::string> reportPdfBytes(const PreparedReport& report, const QPageLayout& layout,
                                          std::optional<PrintRange> range) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(report.drawing.page.dpiX > 0 ? report.drawing.page.dpiX : kReportPdfDpi);
    writer.setPageLayout(layout);
    writer.setCreator(QStringLiteral("QZ"));
    writer.setTitle(QStringLiteral("Note de calcul"));
    QPainter painter;
    if (!painter.begin(&writer)) return std::nullopt;
    paintReport(painter, writer, report, range.value_or(PrintRange{1, report.pages.pageCount(), 1}));
    if (!painter.end()) return std::nullopt;
  }
  if (bytes.isEmpty()) return std::nullopt;
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool writeReportPdf(const std::string& path, const PreparedReport& report, const QPageLayout& layout,
                    Messenger& messenger, std::optional<PrintRange> range) {
  const std::optional<std::string> bytes = reportPdfBytes(report, layout, range);
  if (!bytes) {
    ShowFileError(messenger, kCannotSaveFile, path, FileErrorCause::Generic);
    return false;
  }
  return WriteFileAtomically(path, *bytes, messenger, kCannotSaveFile);
}

RtfPictureProducer rtfPictureProducer(const PageDrawing& drawing) {
  return [figure = drawing.figure, diagram = drawing.diagram, dpi = drawing.page.dpiX](
             bool isDiagram, Size box) -> std::optional<RtfPicture> {
    const FigureDrawer& draw = isDiagram ? diagram : figure;
    if (!draw || box.width <= 0 || box.height <= 0) return std::nullopt;
    // The picture keeps its box's size on the page but is painted at no more
    // than kRtfPictureDpi: a 1200 dpi printer would otherwise make a diagram
    // of 8000 pixels square, a quarter of a gigabyte to paint.
    const int deviceDpi = dpi > 0 ? dpi : kReportPdfDpi;
    const double scale = std::min(1.0, static_cast<double>(kRtfPictureDpi) / deviceDpi);
    const Size pixels{std::max(1, static_cast<int>(std::lround(box.width * scale))),
                      std::max(1, static_cast<int>(std::lround(box.height * scale)))};
    QImage image(pixels.width, pixels.height, QImage::Format_RGB32);
    if (image.isNull()) return std::nullopt;  // not enough memory: the picture is left out
    image.fill(Qt::white);
    const int dotsPerMetre = static_cast<int>(deviceDpi * scale / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing, true);
      painter.setRenderHint(QPainter::TextAntialiasing, true);
      PainterCanvas canvas(&painter);
      draw(canvas, Rect{0, 0, pixels.width, pixels.height});
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Line drawings on white hold few colours: the indexed picture is a
    // quarter of the size, and a middle compression level is many times
    // faster than the highest for a few percent more bytes.
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (!indexed.save(&buffer, "PNG", 50)) return std::nullopt;
    return RtfPicture{pixels, std::string(png.constData(), static_cast<std::size_t>(png.size()))};
  };
}

RtfExportJob makeRtfExportJob(const PreparedReport& report, const PageSetup& setup, const std::string& maskFolder,
                              const std::string& exportPath) {
  RtfExportJob job;
  job.maskFolder = maskFolder;
  job.exportPath = exportPath;
  job.reportFace = setup.reportFont.face;
  job.reportFontHeight = setup.reportFont.height;
  job.body.page = report.drawing.page;
  job.body.margins = report.drawing.margins;
  job.body.metrics = report.drawing.metrics;
  job.body.screenDpi = kReportScreenDpi;
  job.body.pictures = rtfPictureProducer(report.drawing);
  return job;
}

}  // namespace qz
