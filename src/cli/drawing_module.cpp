// The drawing module of qz-cli: pictures and calculation reports painted
// through Qt, on the offscreen platform. Loaded by the program only for the
// commands that draw.
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/calc_app.h"
#include "app/font_setting.h"
#include "drawing_module.h"
#include "files/file_access.h"
#include "geometry/geometry_model.h"
#include "numbers/cp1252.h"
#include "numbers/markup.h"
#include "platform/painter_canvas.h"
#include "platform/report_painter.h"
#include "platform/settings_store.h"
#include "report/report_job.h"
#include "report/report_lines.h"
#include "report/report_source.h"
#include "report/rtf_export.h"
#include "scientific/scientific_state.h"
#include "standard/tape.h"
#include "standard/tape_section.h"
#include "statistics/statistics_calculator.h"
#include "units/units_model.h"

namespace qz::cli {

namespace {

void fail(const std::string& utf8) { printError(utf8ToCp1252(utf8)); }

// While it lives, a Qt GUI application exists for fonts and painting, on the
// offscreen platform unless QT_QPA_PLATFORM names another: no display is
// needed. The application must not outlive its arguments: they live beside it.
class HeadlessGui {
 public:
  HeadlessGui() {
    if (QGuiApplication::instance() != nullptr) return;
    // Fonts need a GUI application; the offscreen platform needs no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's start-up notices (a missing runtime folder, say) are not the user's business here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    m_application = std::make_unique<Application>();
  }

 private:
  struct Application {
    int argc = 1;
    char arg0[8] = "qz-cli";
    char* argv[2] = {arg0, nullptr};
    QGuiApplication application{argc, argv};
  };
  std::unique_ptr<Application> m_application;
};

bool writePng(const std::string& path, int width, int height, const std::function<void(Canvas&)>& draw,
              Messenger& messenger) {
  HeadlessGui gui;
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PainterCanvas canvas(&painter);
    draw(canvas);
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    ShowFileError(messenger, kCannotSaveFile, path, FileErrorCause::Generic);
    return false;
  }
  return WriteFileAtomically(path, png.toStdString(), messenger, kCannotSaveFile);
}

// One calculator's live state, loaded from its section as its window loads
// it, and the report source over it (which must not outlive it).
struct LoadedCalculator {
  Tape tape;
  ScientificState scientific;
  MemorySettingsStore settings;  // the statistics mode comes from the section, not from anybody's settings
  std::unique_ptr<StatisticsCalculator> statistics;
  std::unique_ptr<GeometryModel> geometry;
  std::unique_ptr<UnitsModel> units;
  std::unique_ptr<ReportSource> source;
};

bool loadCalculator(int calculator, const std::string& body, CliContext& context, LoadedCalculator& loaded) {
  switch (calculator) {
    case kStandard:
      readTapeSection(body, loaded.tape);
      loaded.source = standardReportSource(loaded.tape);
      return true;
    case kScientific:
      readScientificSection(body, loaded.scientific);
      loaded.source = scientificReportSource(loaded.scientific);
      return true;
    case kStatistics:
      loaded.statistics = std::make_unique<StatisticsCalculator>(loaded.settings, context.messenger);
      loaded.statistics->loadSection(body);
      loaded.source = statisticsReportSource(*loaded.statistics, /*extendedResults=*/true);
      return true;
    case kGeometric:
      loaded.geometry = std::make_unique<GeometryModel>(context.dataFolder, context.messenger);
      loaded.geometry->readSection(body);
      if (!loaded.geometry->load()) return false;  // the catalogue's message was shown
      loaded.source = geometricReportSource(*loaded.geometry);
      return true;
    case kUnitConversion:
      loaded.units = std::make_unique<UnitsModel>(context.messenger);
      loaded.units->loadSection(body);
      loaded.source = unitsReportSource(*loaded.units);
      return true;
    default:
      return false;
  }
}

// The export's closing "NOTA :" box is for a window; on a terminal a file
// written says nothing. Every other box goes to standard error.
class QuietOnSuccessMessenger : public Messenger {
 public:
  explicit QuietOnSuccessMessenger(Messenger& inner) : m_inner(inner) {}
  MessageAnswer showBox(const std::string& text, MessageStyle style) override {
    if (style == MessageStyle::Information) return MessageAnswer::Ok;
    return m_inner.showBox(text, style);
  }
  void playSound(BeepKind) override {}

 private:
  Messenger& m_inner;
};

// The report's lines as plain text: markup codes gone, a rule as a line of
// dashes across the page's width, a page break as a form feed, the figure and
// the diagram as a bracketed word where they stand, no blanks at line ends.
// The table tags only mark where a printed page repeats the table's header,
// which text has no need of.
void printReportText(const PreparedReport& report) {
  const int width = report.drawing.metrics.charsPerLine > 0 ? report.drawing.metrics.charsPerLine : 80;
  for (const std::string& line : report.lines.lines()) {
    if (line == kReportEnd) break;
    std::string text;
    if (line == kReportRule) {
      text = std::string(static_cast<std::size_t>(width), '-');
    } else if (line == kReportPageBreak) {
      text = "\f";
    } else if (line == kReportFigure) {
      text = "[figure]";
    } else if (line == kReportDiagram) {
      text = "[diagramme]";
    } else if (line == kReportTableStart || line == kReportTableEnd) {
      continue;
    } else {
      text = markupToPlainUtf8(line);
      // Blanks that pad a column's header to the values below show nothing.
      text.erase(text.find_last_not_of(' ') + 1);
    }
    text += '\n';
    std::fputs(text.c_str(), stdout);
  }
}

int makeReport(const ReportRequest& request, CliContext& context) {
  HeadlessGui gui;  // fonts are measured and pictures painted through Qt
  LoadedCalculator loaded;
  if (!loadCalculator(request.calculator, request.section, context, loaded)) return kExitCalculationError;
  const ReportSource& source = *loaded.source;
  if (!source.hasReport()) {
    fail("La section " + request.sectionName +
         " ne contient aucun calcul à présenter : pas de note de calcul.");
    return kExitCalculationError;
  }
  if (request.line && source.optionsMode() == 0) {
    fail("--line : pas de droite à exporter en mode 0 (valeurs X seules).");
    return kExitCalculationError;
  }

  // The program's defaults: margins of PageSetup, Courier New at -14.
  PageSetup pageSetup;
  pageSetup.reportFont = ReadFontSetting(MemorySettingsStore{}, "Preference", "ReportFont", "");
  const QPageLayout layout = pdfPageLayout(pageSetup.orientation);
  const PrinterPage page = printerPageOf(layout, kReportPdfDpi);
  // The header names the document as the window does: by its full path.
  std::error_code ec;
  std::filesystem::path documentPath = std::filesystem::absolute(request.documentPath, ec);
  if (ec) documentPath = request.documentPath;
  const ReportSetup setup = makeReportSetup(pageSetup, page, documentPath.lexically_normal().string(),
                                            ReportOptions{request.data, request.line});
  const ReportJob job = request.rtf.empty() ? ReportJob::Print : ReportJob::Export;
  const std::optional<PreparedReport> report = prepareReport(source, job, setup, context.messenger);
  if (!report) return kExitCalculationError;  // message 121 or 285 was shown

  if (request.text) {
    printReportText(*report);
    return kExitOk;
  }
  if (!request.pdf.empty())
    return writeReportPdf(request.pdf, *report, layout, context.messenger) ? kExitOk : kExitCalculationError;
  QuietOnSuccessMessenger quiet(context.messenger);
  const RtfExportJob exportJob = makeRtfExportJob(*report, pageSetup, context.dataFolder, request.rtf);
  return exportRtfReport(report->pages, exportJob, quiet) ? kExitOk : kExitCalculationError;
}


}  // namespace

}  // namespace qz::cli

// The module's one entry point, looked up by name when it is loaded.
extern "C" __attribute__((visibility("default"))) const qz::cli::DrawingModule* qz_cli_drawing_module() {
  static const qz::cli::DrawingModule table{qz::cli::kDrawingModuleVersion, &qz::cli::writePng,
                                            &qz::cli::makeReport};
  return &table;
}
