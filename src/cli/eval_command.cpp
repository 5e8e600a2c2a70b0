// qz-cli eval: the scientific calculator from a terminal. Checks an
// expression y = f(x) with its constants and calculates y for a list of x
// values, printing the results list as the window shows it.
#include <CLI/CLI.hpp>
#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"
#include "doc_section.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/real_format.h"
#include "numbers/string_table.h"
#include "scientific/scientific_calculator.h"

namespace qz::cli::eval {

namespace {

struct EvalOptions {
  std::string expression;
  std::string constants;
  bool degrees = false;
  bool radians = false;
  std::vector<std::string> xs;
  std::string from, to, step;
  bool json = false;
  bool checkOnly = false;
  bool constantsGiven = false;
  std::string docFile;
};

// Forwards every box to the terminal and keeps the last one for --json.
class RecordingMessenger : public Messenger {
 public:
  explicit RecordingMessenger(Messenger& inner) : m_inner(inner) { setBeepEnabled(false); }
  MessageAnswer showBox(const std::string& text, MessageStyle style) override {
    m_last = text;
    ++m_count;
    return m_inner.showBox(text, style);
  }
  void playSound(BeepKind) override {}
  const std::string& last() const { return m_last; }
  int count() const { return m_count; }

 private:
  Messenger& m_inner;
  std::string m_last;
  int m_count = 0;
};

std::string utf8(const std::string& cp1252) { return cp1252ToUtf8(cp1252); }

/// The x values of --from/--to/--step, as the user would type them: each
/// computed from the start (no drifting sum) and written with twelve digits.
/// One value past the list limit is kept so that the limit is reported.
std::vector<std::string> rangeValues(const EvalOptions& o) {
  double a = 0, b = 0, s = 0;
  if (!parseReal(o.from, a) || !parseReal(o.to, b) || !parseReal(o.step, s))
    throw CLI::ValidationError("--from/--to/--step", "valeurs numériques attendues");
  if (s == 0.0 || (b - a) * s < 0.0)
    throw CLI::ValidationError("--step", "le pas doit être non nul et aller de --from vers --to");
  std::vector<std::string> values;
  double count = std::floor((b - a) / s + 1e-9) + 1.0;
  for (double k = 0; k < count && values.size() <= kMaxResults; ++k)
    values.push_back(formatDouble("%.12G", a + k * s));
  return values;
}

// Stays silent: the scratch calculator below only works texts out.
class SilentMessenger : public Messenger {
 public:
  MessageAnswer showBox(const std::string&, MessageStyle style) override {
    return style == MessageStyle::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
  }
  void playSound(BeepKind) override {}
};

// The expression and constants as the fields keep them once left (blanks
// gone, ";" as line breaks), worked out on a scratch calculator: typing the
// document's own expression again must not empty its results list. Nothing
// for a text the field refuses.
struct LeftFields {
  std::optional<std::string> expression;
  std::optional<std::string> constants;
};
LeftFields leftFields(const std::string& expression, const std::string& constants) {
  SilentMessenger silent;
  ScientificCalculator scratch(silent);
  scratch.open(ScientificState{});
  LeftFields left;
  if (scratch.editExpression(expression)) {
    scratch.leaveExpression();
    left.expression = scratch.expression();
  }
  if (scratch.editConstants(constants)) {
    scratch.leaveConstants();
    left.constants = scratch.constants();
  }
  return left;
}

std::vector<std::string> constantLines(const std::string& constants) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (!constants.empty()) {
    std::size_t end = constants.find("\r\n", start);
    lines.push_back(constants.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

int run(const EvalOptions& o, CliContext& context) {
  RecordingMessenger messenger(context.messenger);
  ScientificCalculator calc(messenger);
  CommandDocument document(context);
  if (!document.open(o.docFile)) return kExitCalculationError;
  // The window opens on what the document holds; a new document holds degrees.
  const std::optional<std::string> section = document.section(kScientific);
  ScientificState state;
  if (section) readScientificSection(*section, state);
  calc.open(state);
  if (o.radians) calc.setAngleUnit(AngleUnit::Radians);
  if (o.degrees) calc.setAngleUnit(AngleUnit::Degrees);
  if (o.expression.empty() && !section) {
    throw CLI::RequiredError(
        o.docFile.empty() ? "expression" : "expression (le document n'a pas de section de cette calculette)");
  }

  // The fields' own limits and character rules.
  std::string expression = utf8ToCp1252(o.expression), constants = utf8ToCp1252(o.constants);
  if (expression.size() > kMaxExpressionLength)
    throw CLI::ValidationError("expression", "255 caractères au plus");
  if (constants.size() > kMaxConstantsLength) throw CLI::ValidationError("--const", "511 caractères au plus");
  // What is not given stays as the document has it; what is typed again the
  // same leaves the list alone, and anything else empties it, as in the window.
  if (o.expression.empty()) expression = calc.expression();
  if (!o.constantsGiven && section) constants = calc.constants();
  const LeftFields left = leftFields(expression, constants);
  if (left.expression != calc.expression()) {
    if (!calc.editExpression(expression))
      throw CLI::ValidationError("expression", "lettres, chiffres et \" =.+-*/^()\" seulement");
    calc.leaveExpression();
  }
  if (left.constants != calc.constants()) {
    if (!calc.editConstants(constants))
      throw CLI::ValidationError("--const", "lettres, chiffres et \" =.+-;\" seulement");
    calc.leaveConstants();
  }

  std::vector<std::string> xs = o.from.empty() ? o.xs : rangeValues(o);
  if (!o.checkOnly && xs.empty()) throw CLI::ValidationError("eval", "donner --x, ou --from, --to et --step");

  // Check and compile once: a fault there is the same for every x.
  std::string e = calc.expression(), c = calc.constants();
  ExpressionEngine& engine = calc.engine();
  if (!engine.CheckExpression(e, c) || !engine.CompileExpression(e, c, calc.angleUnit())) {
    if (o.json)
      std::puts(jsonText(nlohmann::json{
                             {"ok", false}, {"error", engine.lastFault().textId}, {"message", utf8(messenger.last())}})
                    .c_str());
    return kExitCalculationError;
  }
  const auto storeState = [&] {
    const ScientificState& now = calc.state();
    return document.storeSection(kScientific, scientificSectionWanted(now)
                                                  ? std::optional<std::string>(writeScientificSection(now))
                                                  : std::nullopt);
  };
  if (o.checkOnly) {
    if (!storeState()) return kExitCalculationError;
    if (o.json)
      std::puts(
          jsonText(nlohmann::json{{"ok", true}, {"expression", e}, {"constants", constantLines(c)}}).c_str());
    else
      printCp1252(LoadString(kCaptionCheck) + "\n\n" + LoadString(164) + "\n");
    return kExitOk;
  }

  nlohmann::json errors = nlohmann::json::array();
  bool failed = false;
  for (const std::string& x : xs) {
    // The field holds so many characters: a longer value is refused, never cut
    // (cut, a 30-digit x would be computed 10^5 times too small).
    if (utf8ToCp1252(x).size() > kMaxXLength)
      throw CLI::ValidationError("--x", "« " + x + " » : " + std::to_string(kMaxXLength) + " caractères au plus");
  }
  for (const std::string& x : xs) {
    int before = messenger.count();
    bool typed = calc.editX(utf8ToCp1252(x));
    if (!typed)
      ShowMessage(messenger, kCaptionError, 10, {}, MessageStyle::Warning);  // "Valeur incorrecte !"
    if (!typed || !calc.calculate()) {
      if (messenger.count() == before) continue;  // nothing typed: nothing to calculate
      failed = true;
      errors.push_back({{"x", x}, {"message", utf8(messenger.last())}});
      if (calc.results().size() >= kMaxResults) break;
    }
  }
  if (!storeState()) return kExitCalculationError;

  if (o.json) {
    nlohmann::json rows = nlohmann::json::array();
    for (const ResultPair& r : calc.results()) rows.push_back({{"x", r.x}, {"y", r.y}});
    nlohmann::json out{{"expression", calc.expression()},
                       {"constants", constantLines(calc.constants())},
                       {"angleUnit", calc.angleUnit() == AngleUnit::Degrees ? "degrees" : "radians"},
                       {"results", rows},
                       {"errors", errors}};
    std::puts(jsonText(out).c_str());
  } else {
    for (std::size_t i = 0; i < calc.results().size(); ++i) printCp1252(calc.resultLine(i) + "\n");
  }
  return failed ? kExitCalculationError : kExitOk;
}

}  // namespace

void addCommand(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<EvalOptions>();
  CLI::App* cmd = app.add_subcommand("eval",
                                     "Calculette scientifique : calcule y = f(x) pour une liste de valeurs "
                                     "de x (angles en degrés par défaut, "
                                     "comme un nouveau document).");
  cmd->add_option("expression", options->expression,
                  "expression littérale, par exemple 'y=a*x^2+b' (avec --doc : celle du document si omise)");
  CLI::Option* constants =
      cmd->add_option("--const", options->constants, "constantes séparées par ';', par exemple 'a=2;b=3'");
  CLI::Option* deg = cmd->add_flag("--deg", options->degrees, "angles en degrés (par défaut)");
  CLI::Option* rad = cmd->add_flag("--rad", options->radians, "angles en radians");
  deg->excludes(rad);
  CLI::Option* xs = cmd->add_option("--x", options->xs, "valeurs de x")->allow_extra_args();
  CLI::Option* from = cmd->add_option("--from", options->from, "première valeur de x");
  CLI::Option* to = cmd->add_option("--to", options->to, "dernière valeur de x");
  CLI::Option* step = cmd->add_option("--step", options->step, "pas entre deux valeurs de x");
  from->needs(to)->needs(step)->excludes(xs);
  to->needs(from);
  step->needs(from);
  cmd->add_flag("--json", options->json, "sortie JSON");
  cmd->add_flag("--check", options->checkOnly, "contrôle seulement (bouton « Contrôler »)");
  cmd->add_option("--doc", options->docFile, kDocOptionHelp);
  cmd->callback([options, constants, &context] {
    options->constantsGiven = constants->count() > 0;
    context.exitCode = run(*options, context);
  });
}

}  // namespace qz::cli::eval
