// qz-cli geo: the geometric calculator from a terminal. Lists the figures,
// computes a figure from NAME=VALUE data and prints every variable, or draws
// the figure into a PNG file through the same drawing code as the window.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_context.h"
#include "french_errors.h"
#include "doc_section.h"
#include "geometry/catalogue_loader.h"
#include "geometry/figure_data.h"
#include "geometry/figure_drawing.h"
#include "geometry/geo_section.h"
#include "geometry/geo_solver.h"
#include "geometry/geo_variable.h"
#include "geometry/geometry_model.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/real_format.h"
#include "numbers/string_table.h"

#include "png_output.h"

namespace qz::cli::geo {

namespace {

constexpr int kFigureTotal = 53;
// The window's picture frame is 177 x 194 dialog units, 266 x 315 pixels.
constexpr double kFrameAspect = 315.0 / 266.0;

struct GeoOptions {
  bool list = false;
  bool json = false;
  bool all = false;
  std::string png;
  int sub = 0;
  int width = 532;
  std::string incline;
  std::vector<std::string> args;
  bool subGiven = false;
  std::string docFile;
};

// Forwards every box to the terminal's messenger and keeps its text for --json.
class RecordingMessenger : public Messenger {
 public:
  explicit RecordingMessenger(Messenger& inner) : m_inner(inner) { setBeepEnabled(false); }
  MessageAnswer showBox(const std::string& text, MessageStyle style) override {
    m_texts.push_back(text);
    return m_inner.showBox(text, style);
  }
  void playSound(BeepKind) override {}
  const std::vector<std::string>& texts() const { return m_texts; }

 private:
  Messenger& m_inner;
  std::vector<std::string> m_texts;
};

std::string stateText(const GeoVariable& v) {
  if (v.state == kIncalculable) return "incalculable";
  if (v.state == kUnknown) return "inconnue";
  return v.given ? "donnée" : "calculée";
}

// Messages are written here in UTF-8; the terminal's functions take code page 1252.
void fail(const std::string& utf8) { printError(utf8ToCp1252(utf8)); }

// Reals typed with a French decimal comma are accepted as well.
bool parseUserReal(std::string text, double& value) {
  std::replace(text.begin(), text.end(), ',', '.');
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return !text.empty() && parseReal(text, value);
}

int listFigures(CliContext& context, const GeoOptions& options) {
  CatalogueLoader loader(context.dataFolder, context.messenger);
  nlohmann::json out = nlohmann::json::array();
  for (int dimension : {kDimensionPlane, kDimensionSolid}) {
    if (!loader.readCatalogue(dimension)) return kExitCalculationError;
    const int first = dimension == kDimensionSolid ? kPlaneFigureCount : 0;
    for (size_t i = 0; i < loader.figureNames().size(); ++i) {
      const int number = first + static_cast<int>(i);
      const std::string& name = loader.figureNames()[i];
      if (options.json) {
        out.push_back(
            {{"figure", number}, {"name", cp1252ToUtf8(name)}, {"solid", dimension == kDimensionSolid}});
      } else {
        char head[16];
        std::snprintf(head, sizeof head, "%2d  ", number);
        printCp1252(head + name + "\n");
      }
    }
  }
  if (options.json) std::puts(jsonText(out).c_str());
  return kExitOk;
}

// Turns NAME=VALUE arguments into known-data rows, with the window's checks.
// `fresh` starts from no row at all; otherwise a name already in a row (the
// rows a document held) changes that row's value, and any other name adds a row.
bool applyData(const std::vector<std::string>& args, VariableTable& table, FigureData& data,
               Messenger& messenger, CliContext& context, bool fresh) {
  if (fresh) data.clear();
  for (const std::string& arg : args) {
    const size_t eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) {
      fail("Donnée incorrecte : « " + arg + " » (attendu NOM=VALEUR).");
      context.exitCode = kExitUsage;
      return false;
    }
    const std::string name = utf8ToCp1252(arg.substr(0, eq));
    const int index = table.lookupVariable(name, true);
    if (index < table.predefinedCount()) {
      fail("La variable " + cp1252ToUtf8(name) + " n'existe pas dans cette figure.");
      return false;
    }
    const GeoVariable& v = table.at(index);
    if (v.kind == 'V' || v.kind == 'C' || v.kind == 'R' || !v.shown) {
      fail("La variable " + cp1252ToUtf8(name) +
           " ne peut pas être une donnée : elle est seulement calculée.");
      return false;
    }
    double value = 0.0;
    if (!parseUserReal(arg.substr(eq + 1), value)) {
      ShowValueMessage(messenger, 10, 0.0);
      return false;
    }
    if (value == v.forbidden1 || value == v.forbidden2) {
      ShowValueMessage(messenger, 33, value);
      return false;
    }
    if (value < v.minimum) {
      ShowValueMessage(messenger, 7, std::abs(v.minimum) <= 5e-308 ? 0.0 : v.minimum);
      return false;
    }
    if (value > v.maximum) {
      ShowValueMessage(messenger, 6, v.maximum);
      return false;
    }
    int row = -1;
    for (int r = 0; r < data.rows; ++r) {
      if (data.row[static_cast<size_t>(r)].variable == index) row = r;
    }
    if (row < 0) {
      if (!data.addRow(table, index)) {
        fail(cp1252ToUtf8(kGridFullText));
        return false;
      }
      row = data.rows - 1;
    }
    data.row[static_cast<size_t>(row)].value = value;
  }
  return true;
}

bool drawPng(const std::string& path, VariableTable& table, const FigureLayout& layout, int sub, int width,
             Messenger& messenger) {
  const int height = static_cast<int>(width * kFrameAspect + 0.5);
  return writePng(path, width, height, [&](Canvas& canvas) {
    FigureDrawOptions options;
    DrawFigure(canvas, Rect{0, 0, width, height}, table, layout, sub, options);
  }, messenger);
}

int computeFigure(CliContext& context, const GeoOptions& options) {
  if (options.args.empty()) {
    fail("Indiquer le numéro de la figure (qz-cli geo --list les donne).");
    return kExitUsage;
  }
  int figure = -1;
  try {
    size_t used = 0;
    figure = std::stoi(options.args[0], &used);
    if (used != options.args[0].size()) figure = -1;
  } catch (const std::exception&) {
    figure = -1;
  }
  if (figure < 0 || figure >= kFigureTotal) {
    fail("Numéro de figure incorrect : " + options.args[0] + " (0 à 52).");
    return kExitUsage;
  }
  RecordingMessenger messenger(context.messenger);
  CommandDocument document(context);
  if (!document.open(options.docFile)) return kExitCalculationError;
  // Every figure's known data, as the document keeps them; the figure
  // computed here becomes the one shown.
  GeoDocumentState state;
  if (const std::optional<std::string> section = document.section(kGeometric))
    ReadGeoSection(*section, state);
  FigureData& data = state.figures[static_cast<std::size_t>(figure)];
  const bool continuing = data.rows > 0;
  const int sub = options.subGiven || !continuing ? options.sub : data.subFigure;
  VariableTable table(&messenger);
  CatalogueLoader loader(context.dataFolder, messenger);
  const int dimension = figureDimension(figure);
  if (!loader.LoadFigure(dimension, figure, sub, table, data)) return kExitCalculationError;
  const FigureLayout& layout = loader.layout();
  if (sub < 0 || sub >= static_cast<int>(layout.subFigures.size())) {
    fail("Vue incorrecte : la figure a " + std::to_string(layout.subFigures.size()) + " vue(s), de 0 à " +
         std::to_string(layout.subFigures.size() - 1) + ".");
    return kExitUsage;
  }
  const std::vector<std::string> values(options.args.begin() + 1, options.args.end());
  if (!values.empty() && !applyData(values, table, data, messenger, context, !continuing)) {
    return context.exitCode == kExitUsage ? kExitUsage : kExitCalculationError;
  }
  if (options.incline == "droite") data.orientation = kOrientationRight;
  if (options.incline == "gauche") data.orientation = kOrientationLeft;

  GeoSolver solver(table, &messenger);
  solver.setExplicitRequest(true);
  solver.ComputeFigure(figure, data);
  solver.setExplicitRequest(false);
  state.dimension = dimension;
  state.figure = figure;
  if (!document.storeSection(kGeometric, WriteGeoSection(state))) return kExitCalculationError;

  const std::string figureName =
      loader.figureNames()[static_cast<size_t>(figure - (dimension ? kPlaneFigureCount : 0))];
  // Each name once, in table order; internal names only with --all.
  std::vector<int> shown;
  for (int i = table.predefinedCount(); i < table.size(); ++i) {
    const GeoVariable& v = table.at(i);
    if (v.kind == 'C' || v.name.empty()) continue;
    if (v.kind == 'V' && !options.all) continue;
    if (table.lookupVariable(v.name, true) != i) continue;
    shown.push_back(i);
  }

  if (options.json) {
    nlohmann::json out;
    out["figure"] = figure;
    out["name"] = cp1252ToUtf8(figureName);
    out["approximate"] = solver.approximate();
    nlohmann::json vars = nlohmann::json::array();
    for (int i : shown) {
      const GeoVariable& v = table.at(i);
      nlohmann::json item{
          {"name", cp1252ToUtf8(v.name)}, {"kind", std::string(1, v.kind)}, {"state", stateText(v)}};
      item["value"] = v.state == kKnown ? nlohmann::json(v.value) : nlohmann::json(nullptr);
      vars.push_back(item);
    }
    out["variables"] = vars;
    nlohmann::json messages = nlohmann::json::array();
    for (const auto& text : messenger.texts()) messages.push_back(cp1252ToUtf8(text));
    out["messages"] = messages;
    std::puts(jsonText(out).c_str());
  } else {
    printCp1252("Figure " + std::to_string(figure) + " : " + figureName + "\n");
    for (int i : shown) {
      const GeoVariable& v = table.at(i);
      char line[64];
      std::snprintf(line, sizeof line, "%-5s %-13s ", v.name.c_str(), utf8ToCp1252(stateText(v)).c_str());
      const std::string value = v.state == kKnown ? exchangeText(v.value) : "incalculable";
      printCp1252(line + (v.state == kUnknown ? std::string("?") : value) + "\n");
    }
    if (solver.approximate()) printCp1252(utf8ToCp1252("- valeur approchée -\n"));
  }

  if (!options.png.empty()) {
    if (!canWritePictures()) {
      fail("Cette version de qz-cli ne dessine pas les figures (" + drawingUnavailableReason() + ").");
      return kExitUsage;
    }
    if (!drawPng(options.png, table, layout, sub, options.width, context.messenger)) return kExitCalculationError;
  }
  return kExitOk;
}

}  // namespace

void addCommand(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<GeoOptions>();
  CLI::App* cmd = app.add_subcommand("geo", "Calculette géométrique : les 53 figures planes et solides.");
  CLI::Option* list = cmd->add_flag("--list", options->list, "Liste les figures avec leur numéro");
  cmd->add_flag("--json", options->json, "Sortie JSON");
  cmd->add_flag("--all", options->all, "Montre aussi les variables internes des équations");
  cmd->add_option("--png", options->png, "Dessine la figure dans un fichier PNG");
  CLI::Option* sub =
      cmd->add_option("--sub", options->sub,
                      "Vue de la figure à dessiner (0 = la première ; avec --doc : celle du document)");
  cmd->add_option("--width", options->width, "Largeur de l'image en pixels (532 par défaut)")
      ->check(integerRange(kMinPictureWidth, kMaxPictureWidth));
  cmd->add_option("--incline", options->incline,
                  "Parallélogramme (figure 10) : incliné vers la droite ou la gauche")
      ->check(oneOf({"droite", "gauche"}));
  cmd->add_option("--doc", options->docFile,
                  std::string(kDocOptionHelp) + " ; les données de la figure s'ajoutent à celles du document")
      ->excludes(list);
  cmd->add_option("args", options->args, "FIGURE [NOM=VALEUR...]");
  cmd->callback([&context, options, sub]() {
    options->subGiven = sub->count() > 0;
    context.exitCode = options->list ? listFigures(context, *options) : computeFigure(context, *options);
  });
}

}  // namespace qz::cli::geo
