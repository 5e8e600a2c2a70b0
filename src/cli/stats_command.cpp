// qz-cli stats: the statistics calculator from a terminal. Reads one or two
// columns of numbers, prints the results list as the window shows it, and can
// draw the Henry line or the regression into a PNG through the window's renderer.
// After the described list come the extended results (descriptive statistics,
// the line's uncertainty, the chosen fit) and the predictions asked for.
#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <memory>
#include <span>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"
#include "french_errors.h"
#include "doc_section.h"
#include "files/file_access.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/real_format.h"
#include "numbers/string_table.h"
#include "platform/settings_store.h"
#include "statistics/diagram_renderer.h"
#include "statistics/extended_results.h"
#include "statistics/regression_fit.h"
#include "statistics/results_list.h"
#include "statistics/stat_engine.h"
#include "statistics/stat_section.h"
#include "statistics/statistics_calculator.h"

#include "png_output.h"
#include "stats_input.h"
#include "stream_io.h"

namespace qz::cli::stats {

namespace {

struct StatsOptions {
  StatsInputOptions input;
  bool json = false;
  std::string file = "-";
  std::string columns;
  std::string plot;
  int width = 660;
  std::string docFile;
  std::string fit;  ///< a fit key, empty for the straight line
  std::string predictX, predictY;
};

// A --predict-x / --predict-y value, read as a number field reads it.
std::optional<double> predictionInput(const std::string& option, const std::string& text) {
  double value = 0;
  const NumberFault fault = readInputNumber(text, value);
  if (fault == NumberFault::None) return value;
  if (fault == NumberFault::BelowSmallest) return 0.0;  // as a number field takes it
  printError(utf8ToCp1252(option + " « " + text + " » : ") + numberFaultText(fault));
  return std::nullopt;
}

// Messages are written here in UTF-8; the terminal's functions take code page 1252.
void fail(const std::string& utf8) { printError(utf8ToCp1252(utf8)); }

nlohmann::json optionalNumber(double v) { return v < 0 ? nlohmann::json(nullptr) : nlohmann::json(v); }

nlohmann::json resultsJson(const StatResults& r, StatMode mode, const std::vector<std::string>& lines) {
  nlohmann::json j;
  j["mode"] = static_cast<int>(mode);
  j["n"] = r.n;
  j["sumX"] = r.sumX;
  j["sumX2"] = r.sumX2;
  j["meanX"] = r.meanX;
  j["varX"] = r.varX;
  j["sigmaX"] = r.sigmaX;
  j["sX"] = optionalNumber(r.sX);
  if (mode == StatMode::Pairs) {
    j["sumY"] = r.sumY;
    j["sumY2"] = r.sumY2;
    j["sumXY"] = r.sumXY;
    j["meanY"] = r.meanY;
    j["varY"] = r.varY;
    j["sigmaY"] = r.sigmaY;
    j["sY"] = optionalNumber(r.sY);
    j["covXY"] = r.covXY;
  }
  if (mode != StatMode::Values) {
    j["line"] = r.hasLine() ? nlohmann::json{{"a", r.a}, {"b", r.b}, {"r2", r.r2}} : nlohmann::json(nullptr);
  }
  nlohmann::json text = nlohmann::json::array();
  for (const std::string& line : lines) text.push_back(markupToPlainUtf8(line));
  j["lines"] = text;
  return j;
}

// The extended results under their keys; the parts of a key make an array.
void addExtendedJson(nlohmann::json& j, const std::vector<ResultItem>& items, const ExtendedResults& extended) {
  for (const ResultItem& item : items) {
    if (item.part < 0)
      j[item.key] = item.value;
    else
      j[item.key].push_back(item.value);
  }
  if (!extended.fit.fit) return;
  const FitResult& fit = *extended.fit.fit;
  nlohmann::json coefficients = nlohmann::json::object(), errors = nlohmann::json::object();
  for (const FitCoefficient& c : fit.coefficients) {
    coefficients[c.name] = c.value;
    errors[c.name] = c.se ? nlohmann::json(*c.se) : nlohmann::json(nullptr);
  }
  j["fit"] = {{"kind", std::string(fitKey(fit.kind))},
              {"equation", cp1252ToUtf8(fit.equation(12))},
              {"coefficients", coefficients},
              {"se", errors},
              {"r2", fit.r2},
              {"s_residual", fit.residualSd ? nlohmann::json(*fit.residualSd) : nlohmann::json(nullptr)}};
}

struct Predictions {
  std::optional<double> x, yHat;  ///< ŷ for the x asked, none where the curve gives none
  std::optional<double> y, xHat;  ///< x̂ for the y asked, none without a single answer
};

std::string predictionValue(std::optional<double> v) { return v ? formatDouble("%.9G", *v) : "incalculable"; }

bool drawPng(const std::string& path, const DiagramSeries& series, int width, Messenger& messenger) {
  // The trend dialog's frame is 330 x 173 dialog units.
  const int height = width * 173 / 330;
  return writePng(path, width, height, [&](Canvas& canvas) {
    DiagramStyle style;
    style.background = {255, 255, 255};
    drawDiagram(canvas, Rect{0, 0, width, height}, series, style);
  }, messenger);
}

int run(CliContext& context, StatsOptions& options) {
  CommandDocument document(context);
  if (!document.open(options.docFile)) return kExitCalculationError;
  // With a document, the rows read are added to its table, in its mode; the
  // table holds what a window's grid holds, no more.
  StatTable table;
  int& inputMode = options.input.mode;
  if (const std::optional<std::string> section = document.section(kStatistics)) {
    MemorySettingsStore settings;  // the mode comes from the section, not from anybody's settings
    StatMode documentMode = StatMode::Values;
    StatResults saved;
    readStatisticsSection(section, settings, documentMode, saved, table);
    const int held = static_cast<int>(documentMode);
    if (inputMode >= 0 && inputMode != held && !table.isEmpty()) {
      fail("Le document est en mode " + std::to_string(held) + " avec " + std::to_string(table.count()) +
           " ligne(s) : changer de mode effacerait ses valeurs (--mode " + std::to_string(held) +
           " ou sans --mode pour les compléter).");
      return kExitCalculationError;
    }
    if (!table.isEmpty()) inputMode = held;
  }
  std::vector<StatRow> rows;
  if (!readStatRows(options.file, options.input, rows, context.messenger)) {
    return interrupted() ? kExitInterrupted : kExitCalculationError;
  }
  const StatMode statMode = static_cast<StatMode>(inputMode);
  const bool fromTable = document.active();
  if (fromTable) {
    for (const StatRow& row : rows) {
      if (!table.append(row)) {
        ShowMessage(context.messenger, kCaptionError, 12, {}, MessageStyle::Error);
        return kExitCalculationError;
      }
    }
    rows.clear();
  }
  const std::size_t count = fromTable ? static_cast<std::size_t>(table.count()) : rows.size();
  StatEngine engine;
  engine.clearResults(statMode);
  // The table is kept even when it cannot be computed yet, as the window
  // keeps the rows typed; its results then read as cleared.
  const auto storeTable = [&](bool computed) {
    StatResults cleared;
    cleared.mode = statMode;
    return document.storeSection(kStatistics,
                                 writeStatisticsSection(statMode, computed ? engine.results() : cleared, table));
  };
  if (count < 2) {
    fail("Le calcul demande au moins deux lignes de valeurs.");
    storeTable(false);
    return kExitCalculationError;
  }
  const bool computed = fromTable ? engine.computeStatistics(table, statMode, &context.messenger)
                                  : engine.computeStatistics(std::span<const StatRow>(rows), statMode,
                                                             &context.messenger);
  if (!computed) {
    storeTable(false);
    return kExitCalculationError;
  }
  if (!storeTable(true)) return kExitCalculationError;
  const StatMode mode = statMode;
  const std::vector<std::string> lines = buildResultsList(engine.results(), mode);

  const std::span<const StatRow> data =
      fromTable ? std::span<const StatRow>(&table.row(1), count) : std::span<const StatRow>(rows);
  const FitKind fitKind = options.fit.empty() ? FitKind::Linear : *fitKindFromKey(options.fit);
  const ExtendedResults extended = computeExtendedResults(data, mode, engine.results(), fitKind);
  const std::vector<ResultItem> items = extendedItems(extended, mode);
  Predictions predictions;
  const bool fitAsked = !options.fit.empty() || !options.predictX.empty() || !options.predictY.empty();
  if (fitAsked && mode != StatMode::Pairs) {
    fail("--fit, --predict-x et --predict-y demandent le mode 2 (couples x,y).");
    return kExitCalculationError;
  }
  if (fitAsked) {
    if (!extended.fit.fit) {
      fail(cp1252ToUtf8(extended.fit.message().empty() ? LoadString(kFitImpossible) : extended.fit.message()));
      return kExitCalculationError;
    }
    std::optional<double> x, y;
    if (!options.predictX.empty() && !(x = predictionInput("--predict-x", options.predictX)))
      return kExitCalculationError;
    if (!options.predictY.empty() && !(y = predictionInput("--predict-y", options.predictY)))
      return kExitCalculationError;
    if ((predictions.x = x)) predictions.yHat = predictedY(extended, *x);
    if ((predictions.y = y)) predictions.xHat = predictedX(extended, *y);
  }

  if (!options.plot.empty()) {
    if (mode == StatMode::Values || !engine.results().hasLine() ||
        (mode == StatMode::Frequencies && count <= 2)) {
      fail("Pas de droite à tracer : il faut une droite de Henry (mode 1) ou une régression (mode 2).");
      return kExitCalculationError;
    }
    if (!canWritePictures()) {
      fail("Cette version de qz-cli ne dessine pas de diagramme (" + drawingUnavailableReason() + ").");
      return kExitCalculationError;
    }
    // The pairs plotted are the rows read, however many; mode 1 plots the
    // engine's Henry preparation.
    DiagramSeries series = makeDiagramSeries(engine, table, mode, &extended);
    if (mode == StatMode::Pairs && !fromTable) series.points = std::move(rows);
    if (!drawPng(options.plot, series, options.width, context.messenger)) return kExitCalculationError;
  }

  if (options.json) {
    nlohmann::json j = resultsJson(engine.results(), mode, lines);
    addExtendedJson(j, items, extended);
    const auto optionalValue = [](std::optional<double> v) { return v ? nlohmann::json(*v) : nlohmann::json(nullptr); };
    if (predictions.x) j["predict_x"] = {{"x", *predictions.x}, {"y_hat", optionalValue(predictions.yHat)}};
    if (predictions.y) j["predict_y"] = {{"y", *predictions.y}, {"x_hat", optionalValue(predictions.xHat)}};
    std::fputs((jsonText(j) + "\n").c_str(), stdout);
  } else {
    for (const std::string& line : lines) std::fputs((markupToPlainUtf8(line) + "\n").c_str(), stdout);
    for (const std::string& line : extendedResultLines(items))
      std::fputs((markupToPlainUtf8(line) + "\n").c_str(), stdout);
    if (extended.fit.fit && mode == StatMode::Pairs)
      // Named and written as the report names it, with the list's nine digits.
      std::fputs(("Ajustement : " + cp1252ToUtf8(fitLabel(extended.fitKind) + "\n" + extended.fit.fit->equation(9)) +
                  "\n").c_str(), stdout);
    if (predictions.x)
      std::fputs(("ŷ(x = " + formatDouble("%.9G", *predictions.x) + ") = " + predictionValue(predictions.yHat) + "\n")
                     .c_str(), stdout);
    if (predictions.y)
      std::fputs(("x̂(y = " + formatDouble("%.9G", *predictions.y) + ") = " + predictionValue(predictions.xHat) + "\n")
                     .c_str(), stdout);
  }
  return kExitOk;
}

}  // namespace

void addCommand(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<StatsOptions>();
  CLI::App* cmd = app.add_subcommand(
      "stats", "Calculette statistique : valeurs x, valeurs x avec répétitions n, ou couples x,y.");
  cmd->add_option("--mode", options->input.mode,
                  "0 valeurs X, 1 valeurs X avec N répétitions, 2 valeurs X et Y (par défaut : 0 pour une "
                  "colonne, 2 pour deux)")
      ->check(integerRange(0, 2));
  cmd->add_flag("--json", options->json, "Sortie JSON");
  cmd->add_option("--plot", options->plot, "Dessine la droite de Henry ou la régression dans un fichier PNG");
  cmd->add_option("--width", options->width, "Largeur de l'image en pixels (660 par défaut)")
      ->check(integerRange(kMinDiagramWidth, kMaxPictureWidth));
  cmd->add_option("--columns", options->columns,
                  "Colonnes prises dans un fichier CSV ou TSV, à partir de 1 : une en mode 0, deux en modes 1 "
                  "et 2 (par exemple 2,3)");
  cmd->add_flag("--header", options->input.header, "La première ligne (nom des colonnes) est sautée");
  cmd->add_flag("--decimal-comma", options->input.decimalComma,
                "La virgule est toujours la virgule décimale, jamais un séparateur de colonnes");
  cmd->add_option("--doc", options->docFile,
                  std::string(kDocOptionHelp) + " ; son tableau garde 1000 lignes au plus");
  cmd->add_option("--fit", options->fit,
                  "Mode 2 : courbe ajustée (linear, origin, poly2, poly3, poly4, poly5, exp, power, log ; "
                  "linear par défaut)")
      ->check(CLI::IsMember({"linear", "origin", "poly2", "poly3", "poly4", "poly5", "exp", "power", "log"}));
  cmd->add_option("--predict-x", options->predictX, "Mode 2 : ŷ de la courbe ajustée pour cet x");
  cmd->add_option("--predict-y", options->predictY, "Mode 2 : x̂ de la courbe ajustée pour ce y");
  cmd->add_option("file", options->file,
                  "Fichier de valeurs (une ou deux colonnes, autant de lignes qu'il faut), - pour l'entrée "
                  "standard");
  cmd->callback([&context, options]() {
    if (!options->columns.empty()) {
      if (!parseColumnList(options->columns, options->input.columns))
        throw CLI::ValidationError("--columns", "« " + options->columns + " » : une ou deux colonnes, par exemple 2,3");
      const int wanted = static_cast<int>(options->input.columns.size());
      if (options->input.mode >= 0 && valueColumns(static_cast<StatMode>(options->input.mode)) != wanted)
        throw CLI::ValidationError("--columns", options->input.mode == 0 ? "une seule colonne en mode 0"
                                                                         : "deux colonnes en modes 1 et 2");
    }
    if ((!options->fit.empty() || !options->predictX.empty() || !options->predictY.empty()) &&
        options->input.mode >= 0 && options->input.mode != 2)
      throw CLI::ValidationError("--fit", "--fit, --predict-x et --predict-y demandent le mode 2 (couples x,y)");
    context.exitCode = run(context, *options);
  });
}

}  // namespace qz::cli::stats
