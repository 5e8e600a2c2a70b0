// qz-cli report: a calculator's calculation report from a document, as a PDF
// file, an RTF export or plain text, headless. The calculator's state is read
// from its section as its window reads it on opening, and the report is made
// by the program's own report code on the page a PDF file gets: A4, the
// default margins and report font.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli_context.h"
#include "french_errors.h"
#include "doc_section.h"
#include "numbers/cp1252.h"
#include "png_output.h"

#ifdef QZ_CLI_PAINTER
#include "app/calc_app.h"
#include "app/font_setting.h"
#include "geometry/geometry_model.h"
#include "numbers/markup.h"
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
#endif

namespace qz::cli::report {

namespace {

struct ReportCommandOptions {
  std::string document;
  int calculator = -1;
  std::string pdf;
  std::string rtf;
  bool text = false;
  bool data = false;
  bool line = false;
};

void fail(const std::string& utf8) { printError(utf8ToCp1252(utf8)); }

#ifdef QZ_CLI_PAINTER

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
      loaded.source = statisticsReportSource(*loaded.statistics);
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

int run(const ReportCommandOptions& options, CliContext& context) {
  CommandDocument document(context);
  if (!document.open(options.document, true)) return kExitCalculationError;
  const std::optional<std::string> section = document.section(options.calculator);
  if (!section) {
    fail("Ce document ne contient pas de section " + cp1252ToUtf8(sectionLabel(options.calculator)) + ".");
    return kExitCalculationError;
  }

  HeadlessGui gui;  // fonts are measured and pictures painted through Qt
  LoadedCalculator loaded;
  if (!loadCalculator(options.calculator, *section, context, loaded)) return kExitCalculationError;
  const ReportSource& source = *loaded.source;
  if (!source.hasReport()) {
    fail("La section " + cp1252ToUtf8(sectionLabel(options.calculator)) +
         " ne contient aucun calcul à présenter : pas de note de calcul.");
    return kExitCalculationError;
  }
  if (options.line && source.optionsMode() == 0) {
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
  std::filesystem::path documentPath = std::filesystem::absolute(options.document, ec);
  if (ec) documentPath = options.document;
  const ReportSetup setup = makeReportSetup(pageSetup, page, documentPath.lexically_normal().string(),
                                            ReportOptions{options.data, options.line});
  const ReportJob job = options.rtf.empty() ? ReportJob::Print : ReportJob::Export;
  const std::optional<PreparedReport> report = prepareReport(source, job, setup, context.messenger);
  if (!report) return kExitCalculationError;  // message 121 or 285 was shown

  if (options.text) {
    printReportText(*report);
    return kExitOk;
  }
  if (!options.pdf.empty())
    return writeReportPdf(options.pdf, *report, layout, context.messenger) ? kExitOk : kExitCalculationError;
  QuietOnSuccessMessenger quiet(context.messenger);
  const RtfExportJob exportJob = makeRtfExportJob(*report, pageSetup, context.dataFolder, options.rtf);
  return exportRtfReport(report->pages, exportJob, quiet) ? kExitOk : kExitCalculationError;
}

#else

int run(const ReportCommandOptions&, CliContext&) {
  fail("Cette version de qz-cli ne fait pas de note de calcul (Qt absent).");
  return kExitCalculationError;
}

#endif

}  // namespace

void addCommand(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<ReportCommandOptions>();
  CLI::App* cmd = app.add_subcommand(
      "report",
      "Note de calcul d'une calculette d'un document QZ, en PDF (A4), en RTF ou en texte, sans écran.\n"
      "Exemple : qz-cli geo 22 L1=5 L2=6 L3=7 --doc essai.qz && qz-cli report essai.qz --calc 3 --pdf "
      "note.pdf");
  cmd->add_option("DOC", options->document, "Document QZ (.qz)")->required();
  cmd->add_option(
         "--calc", options->calculator,
         "Calculette : 0 standard, 1 scientifique, 2 statistique, 3 géométrique, 4 conversion d'unités")
      ->required()
      ->check(integerRange(0, 4));
  CLI::Option_group* output = cmd->add_option_group("Sortie", "une seule des trois");
  output->add_option("--pdf", options->pdf, "Écrit la note de calcul dans un fichier PDF");
  CLI::Option* rtf =
      output->add_option("--rtf", options->rtf, "Exporte la note de calcul dans un fichier RTF");
  output->add_flag("--text", options->text, "Affiche les lignes de la note de calcul en texte UTF-8");
  output->require_option(1);
  CLI::Option* data = cmd->add_flag("--data", options->data, "Statistique : avec le tableau des données");
  CLI::Option* line =
      cmd->add_flag("--line", options->line,
                    "Statistique, avec --rtf : la droite de Henry ou la régression sur une page à elle");
  cmd->footer(
      "--text : les règles de la note sont des lignes de tirets, la figure s'écrit [figure], le diagramme "
      "[diagramme] ; la date de l'en-tête est celle du moment.");
  cmd->callback([options, &context, rtf, data, line] {
    if ((data->count() > 0 || line->count() > 0) && options->calculator != kStatistics)
      throw CLI::ValidationError("--data/--line",
                                 "options de la calculette statistique (--calc 2) seulement");
    if (line->count() > 0 && rtf->count() == 0)
      throw CLI::ValidationError("--line",
                                 "seulement avec --rtf : la droite sur une page à elle est exportée");
    context.exitCode = run(*options, context);
  });
}

}  // namespace qz::cli::report
