// The one way the five calculators print, export and lay out their report:
// a window says which calculator (its ReportSource) and which output; the
// service asks the dialogs, builds, paginates and drives the printer, the PDF
// writer or the RTF export.
#pragma once

#include <QPageLayout>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "report/report_job.h"

class QPrinter;
class QWidget;

namespace qz {

class CalcApp;

class ReportService {
 public:
  explicit ReportService(CalcApp& app);
  ~ReportService();

  /// "&Imprimer..." (ReportJob::Print), the trend dialog's "&Imprimer"
  /// (ReportJob::PrintDiagram), "E&xporter la note de calcul"
  /// (ReportJob::Export). Dialogs open over `parent`.
  void run(ReportJob job, const ReportSource& source, QWidget* parent);
  /// "Exporter en P&DF...": the pages of the print, into a PDF file chosen in
  /// a save dialog that starts in the export folder.
  void exportPdf(const ReportSource& source, QWidget* parent);
  /// "&Mise en page".
  void pageSetup(QWidget* parent);

  /// True while a job's dialogs are up: the windows leave their toolbar alone.
  static bool busy();

  /// Stands in for the system's printers: a path makes a printer that writes
  /// that PDF file, an empty text a machine without a printer; nothing gives
  /// the system's printers back. The widget tests print so.
  static void overridePrinters(std::optional<QString> pdfPath);

 private:
  struct Target;
  std::unique_ptr<Target> openTarget(int orientation) const;
  /// The report made for the page of `target`; nothing after message 284 (the
  /// page cannot be read) or the report's own message.
  std::optional<PreparedReport> prepareFor(const Target& target, ReportJob job, const ReportSource& source,
                                           const ReportOptions& options) const;
  /// The statistics options dialog when the calculator has one; false on "Annuler".
  bool askOptions(const ReportSource& source, bool exporting, QWidget* parent, ReportOptions& options) const;
  /// The document's name with `extension` in the export folder.
  std::string outputPath(std::string_view extension) const;
  void print(ReportJob job, const ReportSource& source, const ReportOptions& options, QWidget* parent);
  void exportRtf(const ReportSource& source, const ReportOptions& options, QWidget* parent);
  void reportPrintedToFile(const std::string& path);

  CalcApp& m_app;
};

}  // namespace qz
