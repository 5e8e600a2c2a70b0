// qz-cli report: a calculator's calculation report from a document, as a PDF
// file, an RTF export or plain text, headless. The calculator's state is read
// from its section as its window reads it on opening, and the report is made
// by the program's own report code on the page a PDF file gets: A4, the
// default margins and report font.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "cli_context.h"
#include "french_errors.h"
#include "doc_section.h"
#include "numbers/cp1252.h"
#include "png_output.h"


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

int run(const ReportCommandOptions& options, CliContext& context) {
  CommandDocument document(context);
  if (!document.open(options.document, true)) return kExitCalculationError;
  const std::optional<std::string> section = document.section(options.calculator);
  if (!section) {
    fail("Ce document ne contient pas de section " + cp1252ToUtf8(sectionLabel(options.calculator)) + ".");
    return kExitCalculationError;
  }
  const DrawingModule* module = drawingModule();
  if (module == nullptr) {
    fail("Cette version de qz-cli ne fait pas de note de calcul (" + drawingUnavailableReason() + ").");
    return kExitCalculationError;
  }
  ReportRequest request;
  request.documentPath = options.document;
  request.section = *section;
  request.sectionName = cp1252ToUtf8(sectionLabel(options.calculator));
  request.calculator = options.calculator;
  request.pdf = options.pdf;
  request.rtf = options.rtf;
  request.text = options.text;
  request.data = options.data;
  request.line = options.line;
  return module->makeReport(request, context);
}

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
