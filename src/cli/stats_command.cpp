// qz-cli stats: the statistics calculator from a terminal. Reads one or two
// columns of numbers, prints the results list as the window shows it, and can
// draw the Henry line or the regression into a PNG through the window's renderer.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
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
#include "statistics/results_list.h"
#include "statistics/stat_engine.h"
#include "statistics/stat_section.h"
#include "statistics/statistics_calculator.h"

#include "png_output.h"

namespace qz::cli::stats {

namespace {

struct StatsOptions {
  int mode = -1;  // -1: from the number of columns
  bool json = false;
  std::string input = "-";
  std::string plot;
  int width = 660;
  std::string docFile;
};

// Messages are written here in UTF-8; the terminal's functions take code page 1252.
void fail(const std::string& utf8) { printError(utf8ToCp1252(utf8)); }

std::string trim(const std::string& s) {
  std::size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> splitOn(const std::string& line, const std::string& separators, bool mergeRuns) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (separators.find(c) == std::string::npos) {
      fields.back() += c;
    } else if (!mergeRuns || !fields.back().empty()) {
      fields.emplace_back();
    }
  }
  if (mergeRuns && fields.size() > 1 && fields.back().empty()) fields.pop_back();
  for (auto& f : fields) f = trim(f);
  return fields;
}

// The fields of one line. ";" or tabs separate columns when the line has
// them, else blanks; a comma is then a decimal comma. A line made of numbers
// joined by commas alone is comma-separated, except that a single comma is a
// decimal comma ("1,5") unless two columns are expected (give --mode 1 or 2
// for "x,y" lines).
std::vector<std::string> splitFields(const std::string& line, int expectedColumns) {
  if (line.find(';') != std::string::npos) return splitOn(line, ";\t", false);
  if (line.find('\t') != std::string::npos) return splitOn(line, "\t", false);
  if (line.find(' ') != std::string::npos) return splitOn(line, " ", true);
  const auto commas = std::count(line.begin(), line.end(), ',');
  if (commas == 0 || (commas == 1 && expectedColumns <= 1)) return {line};
  return splitOn(line, ",", false);
}

bool readNumber(std::string text, double& value) {
  std::replace(text.begin(), text.end(), ',', '.');
  return !text.empty() && parseReal(text, value);
}

// Reads the table; false (message shown) on bad input.
bool readTable(std::istream& in, int& mode, StatTable& table, CliContext& context) {
  int columns = mode < 0 ? 0 : valueColumns(static_cast<StatMode>(mode));
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    line = trim(line);
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields = splitFields(line, columns);
    if (columns == 0) columns = static_cast<int>(std::min<std::size_t>(fields.size(), 2));
    if (static_cast<int>(fields.size()) != columns) {
      fail("Ligne " + std::to_string(lineNumber) + " : " + std::to_string(columns) +
           (columns == 1 ? " valeur attendue" : " valeurs attendues") + ", " + std::to_string(fields.size()) +
           " trouvée(s).");
      return false;
    }
    StatRow row;
    for (int c = 0; c < columns; ++c) {
      double value = 0;
      if (!readNumber(fields[static_cast<std::size_t>(c)], value)) {
        fail(std::string(stringTextUtf8(10)) + " (ligne " + std::to_string(lineNumber) + " : « " +
             fields[static_cast<std::size_t>(c)] + " »)");
        return false;
      }
      if (value > 1e300 || (mode == 1 && c == 1 && value > 2147483647.0)) {
        ShowValueMessage(context.messenger, 6, value > 1e300 ? 1e300 : 2147483647.0);
        return false;
      }
      if (value < -1e300) {
        ShowValueMessage(context.messenger, 7, -1e300);
        return false;
      }
      if (const CountFault fault = mode == 1 && c == 1 ? countFault(value) : CountFault::None;
          fault != CountFault::None) {
        ShowMessage(context.messenger, kCaptionError, 0, countFaultMessage(lineNumber, fault), MessageStyle::Error);
        return false;
      }
      (c == 0 ? row.x : row.second) = value;
    }
    if (!table.append(row)) {
      ShowMessage(context.messenger, kCaptionError, 12, {}, MessageStyle::Error);
      return false;
    }
  }
  if (mode < 0) mode = columns == 2 ? 2 : 0;
  return true;
}

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
  // The rows read are added to the document's table, in the document's mode.
  StatTable table;
  if (const std::optional<std::string> section = document.section(kStatistics)) {
    MemorySettingsStore settings;  // the mode comes from the section, not from anybody's settings
    StatMode documentMode = StatMode::Values;
    StatResults saved;
    readStatisticsSection(section, settings, documentMode, saved, table);
    const int held = static_cast<int>(documentMode);
    if (options.mode >= 0 && options.mode != held && !table.isEmpty()) {
      fail("Le document est en mode " + std::to_string(held) + " avec " + std::to_string(table.count()) +
           " ligne(s) : changer de mode effacerait ses valeurs (--mode " + std::to_string(held) +
           " ou sans --mode pour les compléter).");
      return kExitCalculationError;
    }
    if (!table.isEmpty()) options.mode = held;
  }
  // Read whole and bounded: a device or an endless input ends in a message.
  const std::optional<std::string> input =
      options.input == "-" ? readStandardInput() : ReadWholeFile(options.input, context.messenger, kCannotOpenFile);
  if (!input) return kExitCalculationError;
  std::istringstream rows(*input);
  if (!readTable(rows, options.mode, table, context)) return kExitCalculationError;
  const StatMode mode = static_cast<StatMode>(options.mode);
  StatEngine engine;
  engine.clearResults(mode);
  // The table is kept even when it cannot be computed yet, as the window
  // keeps the rows typed; its results then read as cleared.
  const auto storeTable = [&](bool computed) {
    StatResults cleared;
    cleared.mode = mode;
    return document.storeSection(kStatistics,
                                 writeStatisticsSection(mode, computed ? engine.results() : cleared, table));
  };
  if (table.count() < 2) {
    fail("Le calcul demande au moins deux lignes de valeurs.");
    storeTable(false);
    return kExitCalculationError;
  }
  if (!engine.computeStatistics(table, mode, &context.messenger)) {
    storeTable(false);
    return kExitCalculationError;
  }
  if (!storeTable(true)) return kExitCalculationError;
  const std::vector<std::string> lines = buildResultsList(engine.results(), mode);

  if (!options.plot.empty()) {
    if (mode == StatMode::Values || !engine.results().hasLine() ||
        (mode == StatMode::Frequencies && table.count() <= 2)) {
      fail("Pas de droite à tracer : il faut une droite de Henry (mode 1) ou une régression (mode 2).");
      return kExitCalculationError;
    }
    if (!canWritePictures()) {
      fail("Cette version de qz-cli ne dessine pas de diagramme (Qt absent).");
      return kExitCalculationError;
    }
    if (!drawPng(options.plot, makeDiagramSeries(engine, table, mode), options.width, context.messenger))
      return kExitCalculationError;
  }

  if (options.json) {
    std::fputs((jsonText(resultsJson(engine.results(), mode, lines)) + "\n").c_str(), stdout);
  } else {
    for (const std::string& line : lines) std::fputs((markupToPlainUtf8(line) + "\n").c_str(), stdout);
  }
  return kExitOk;
}

}  // namespace

void addCommand(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<StatsOptions>();
  CLI::App* cmd = app.add_subcommand(
      "stats", "Calculette statistique : valeurs x, valeurs x avec répétitions n, ou couples x,y.");
  cmd->add_option("--mode", options->mode,
                  "0 valeurs X, 1 valeurs X avec N répétitions, 2 valeurs X et Y (par défaut : 0 pour une "
                  "colonne, 2 pour deux)")
      ->check(integerRange(0, 2));
  cmd->add_flag("--json", options->json, "Sortie JSON");
  cmd->add_option("--plot", options->plot, "Dessine la droite de Henry ou la régression dans un fichier PNG");
  cmd->add_option("--width", options->width, "Largeur de l'image en pixels (660 par défaut)")
      ->check(integerRange(kMinDiagramWidth, kMaxPictureWidth));
  cmd->add_option("--doc", options->docFile, kDocOptionHelp);
  cmd->add_option("file", options->input,
                  "Fichier de valeurs (une ou deux colonnes), - pour l'entrée standard");
  cmd->callback([&context, options]() { context.exitCode = run(context, *options); });
}

}  // namespace qz::cli::stats
