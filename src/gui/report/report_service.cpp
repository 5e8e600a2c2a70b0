#include "report/report_service.h"

#include <QApplication>
#include <QFileDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/calc_app.h"
#include "files/display_path.h"
#include "numbers/messages.h"
#include "platform/places.h"
#include "platform/qt_text.h"
#include "platform/report_painter.h"
#include "report/export_dialog.h"
#include "report/page_setup_dialog.h"
#include "report/print_dialog.h"
#include "report/report_options_dialog.h"
#include "report/rtf_export.h"

namespace qz {

namespace {

constexpr int kPrinterFactsText = 284;  // "Impossible d'obtenir des infos sur l'imprimante courante !"
constexpr int kPrinterInitText = 281;   // "Impossible d'initialiser l'imprimante courante !"

int s_busy = 0;
std::optional<QString> s_printerOverride;

// Marks a job as running for as long as its dialogs are up.
class BusyGuard {
 public:
  BusyGuard() { ++s_busy; }
  ~BusyGuard() { --s_busy; }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;
};

// The arrow becomes an hourglass while pages are drawn and files written.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

bool pageReadable(const PrinterPage& page) {
  return page.dpiX > 0 && page.dpiY > 0 && page.paperWidthPx > 0 && page.paperHeightPx > 0 &&
         page.printableWidthPx > 0 && page.printableHeightPx > 0;
}

QPageLayout::Orientation qtOrientation(int orientation) {
  return orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

}  // namespace

/// Where the pages go: the system's printer, or a PDF file when there is none.
struct ReportService::Target {
  std::unique_ptr<QPrinter> printer;
  QPageLayout layout;
  int resolution = kReportPdfDpi;
  PrintTarget shown;

  PrinterPage page() const { return printerPageOf(layout, resolution); }

  /// Reads the printer's page again (after another printer was chosen).
  void readPrinter(int orientation) {
    printer->setPageOrientation(qtOrientation(orientation));
    layout = printer->pageLayout();
    resolution = printer->resolution();
    shown.name = printer->printerName();
    if (printer->outputFormat() == QPrinter::PdfFormat) {
      shown.name = QStringLiteral("PDF");
      shown.location = printer->outputFileName();
      shown.canChange = false;
      return;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(shown.name);
    shown.location = info.location().isEmpty() ? info.description() : info.location();
    shown.canChange = true;
  }
};

ReportService::ReportService(CalcApp& app) : m_app(app) {}
ReportService::~ReportService() = default;

bool ReportService::busy() { return s_busy > 0; }

void ReportService::overridePrinters(std::optional<QString> pdfPath) { s_printerOverride = std::move(pdfPath); }

std::unique_ptr<ReportService::Target> ReportService::openTarget(int orientation) const {
  auto target = std::make_unique<Target>();
  if (s_printerOverride) {
    if (!s_printerOverride->isEmpty()) {
      target->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      target->printer->setOutputFormat(QPrinter::PdfFormat);
      target->printer->setOutputFileName(*s_printerOverride);
    }
  } else {
    // The printer chosen with "&Changer" stays the one used for the run.
    QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(m_app.printerDevice));
    if (info.isNull()) info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) target->printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  }
  if (target->printer) {
    target->readPrinter(orientation);
  } else {
    target->layout = pdfPageLayout(orientation);
    target->resolution = kReportPdfDpi;
  }
  return target;
}

std::optional<PreparedReport> ReportService::prepareFor(const Target& target, ReportJob job, const ReportSource& source,
                                                        const ReportOptions& options) const {
  const PrinterPage page = target.page();
  if (!pageReadable(page)) {
    ShowMessage(m_app.messenger(), kCaptionError, kPrinterFactsText, {}, MessageStyle::Error);
    return std::nullopt;
  }
  return prepareReport(source, job, makeReportSetup(m_app.pageSetup, page, m_app.document().currentPath(), options),
                       m_app.messenger());
}

bool ReportService::askOptions(const ReportSource& source, bool exporting, QWidget* parent,
                               ReportOptions& options) const {
  return source.optionsMode() < 0 || ReportOptionsDialog::ask(exporting, source.optionsMode(), parent, options);
}

std::string ReportService::outputPath(std::string_view extension) const {
  return reportFilePath(m_app.defaultFolderPath(kExportFolder), m_app.document().currentPath(), extension);
}

void ReportService::run(ReportJob job, const ReportSource& source, QWidget* parent) {
  if (busy() || job == ReportJob::None) return;
  BusyGuard guard;
  ReportOptions options;
  if (job != ReportJob::PrintDiagram && !askOptions(source, job == ReportJob::Export, parent, options)) return;
  if (job == ReportJob::Export)
    exportRtf(source, options, parent);
  else
    print(job, source, options, parent);
}

void ReportService::print(ReportJob job, const ReportSource& source, const ReportOptions& options,
                          QWidget* parent) {
  const int orientation = m_app.pageSetup.orientation;
  std::unique_ptr<Target> target = openTarget(orientation);
  std::optional<PreparedReport> report = prepareFor(*target, job, source, options);
  if (!report) return;

  PrintDialog dialog(job == ReportJob::PrintDiagram, report->pages.pageCount(), target->shown, parent);
  dialog.setChangePrinter([&]() -> std::optional<std::pair<PrintTarget, int>> {
    QPrintDialog chooser(target->printer.get(), &dialog);
    chooser.setWindowTitle(QStringLiteral("Choisir l'imprimante"));
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    target->readPrinter(orientation);
    m_app.printerDevice = target->shown.name.toStdString();
    // Another printer may have another sheet: the pages are made again for it.
    std::optional<PreparedReport> again = prepareFor(*target, job, source, options);
    if (!again) return std::nullopt;
    report = std::move(again);
    return std::make_pair(target->shown, report->pages.pageCount());
  });
  if (dialog.exec() != QDialog::Accepted) return;
  const PrintRange range = dialog.range();

  WaitCursor wait;
  if (!target->printer) {
    std::string path = outputPath("pdf");
    // The diagram printed from the trend dialog must not replace the printed report.
    if (job == ReportJob::PrintDiagram) path.insert(path.size() - 4, "-diagramme");
    if (writeReportPdf(path, *report, target->layout, m_app.messenger(), range)) reportPrintedToFile(path);
    return;
  }
  QPainter painter;
  if (!painter.begin(target->printer.get())) {
    ShowMessage(m_app.messenger(), kCaptionError, kPrinterInitText, {}, MessageStyle::Error);
    return;
  }
  paintReport(painter, *target->printer, *report, range);
  painter.end();
}

void ReportService::reportPrintedToFile(const std::string& path) {
  ShowMessage(m_app.messenger(), kCaptionNote, 0,
              utf8ToCp1252("Aucune imprimante n'est installée : la note de calcul a été enregistrée "
                           "en PDF dans le fichier\n\n") +
                  utf8ToCp1252(DisplayPath(path)),
              MessageStyle::Information);
}

void ReportService::exportRtf(const ReportSource& source, const ReportOptions& options, QWidget* parent) {
  std::unique_ptr<Target> target = openTarget(m_app.pageSetup.orientation);
  std::optional<PreparedReport> report = prepareFor(*target, ReportJob::Export, source, options);
  if (!report) return;
  const std::string path = outputPath("RTF");
  const QString printer =
      target->printer ? target->shown.name : QStringLiteral("aucune (page A4 du fichier PDF)");
  ExportDialog dialog(QString::fromStdString(DisplayPath(path)), printer, parent);
  if (dialog.exec() != QDialog::Accepted) return;
  WaitCursor wait;
  const std::string maskFolder = shippedDataFolder(QCoreApplication::applicationDirPath().toStdString());
  exportRtfReport(report->pages, makeRtfExportJob(*report, m_app.pageSetup, maskFolder, path), m_app.messenger());
}

void ReportService::exportPdf(const ReportSource& source, QWidget* parent) {
  if (busy()) return;
  BusyGuard guard;
  ReportOptions options;
  if (!askOptions(source, false, parent, options)) return;
  std::unique_ptr<Target> target = openTarget(m_app.pageSetup.orientation);
  // The same pages as the print.
  std::optional<PreparedReport> report = prepareFor(*target, ReportJob::Print, source, options);
  if (!report) return;

  const std::string suggested = outputPath("pdf");
  QFileDialog dialog(parent, QStringLiteral("Exporter la note de calcul en PDF"), QString::fromStdString(suggested),
                     QStringLiteral("PDF (*.pdf)"));
  dialog.setObjectName(QStringLiteral("pdfFileDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.selectFile(QString::fromStdString(suggested));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const std::string path = dialog.selectedFiles().front().toStdString();
  WaitCursor wait;
  if (writeReportPdf(path, *report, target->layout, m_app.messenger()))
    ShowMessage(m_app.messenger(), kCaptionNote, kRtfExportDoneText, {}, MessageStyle::Information);
}

void ReportService::pageSetup(QWidget* parent) {
  if (busy()) return;
  BusyGuard guard;
  PageSetupDialog::run(
      m_app,
      [this](int orientation) -> std::optional<PrinterPage> {
        const PrinterPage page = openTarget(orientation)->page();
        if (!pageReadable(page)) return std::nullopt;
        return page;
      },
      parent);
}

}  // namespace qz
