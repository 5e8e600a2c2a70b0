// qz-cli eval: the scientific calculator from a terminal. Checks an
// expression y = f(x) with its constants and calculates y for a list of x
// values, printing the results list as the window shows it.
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"
#include "doc_section.h"
#include "numbers/cp1252.h"
#include "stream_io.h"
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
  bool fromStdin = false;
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

// A row of the results list as the window shows it: x "%.12G" padded with
// blanks to at least 16 characters, then y.
void writeResultRow(OutputStream& out, double x, double y) {
  char text[kExchangeRealBytes];
  const std::size_t length = exchangeReal(x, text);
  out.write(std::string_view(text, length));
  out.write(std::string_view("                ", std::max<std::size_t>(16, length + 1) - length));
  out.writeReal(y);
  out.put('\n');
}

// x values without a list to hold them: from standard input, one per line
// (y out, one per line), or from --from/--to/--step (the list's rows). The
// expression was checked and compiled once; each x is only evaluated. A
// value or an evaluation that fails is reported on its own line of standard
// error and the run goes on.
int streamValues(const EvalOptions& o, const std::string& expression, const std::string& constants,
                 AngleUnit unit) {
  CapturingMessenger capture;
  ExpressionEngine engine(capture);
  std::string e = expression, c = constants;
  if (!engine.CheckExpression(e, c) || !engine.CompileExpression(e, c, unit)) {
    printError(capture.lastBody());
    return kExitCalculationError;
  }
  InterruptWatch watch;
  OutputStream out;
  LineReader in(STDIN_FILENO, &out);
  bool failed = false;
  std::string error;
  // One x: its text read by the x field's rule, then y.
  const auto evaluate = [&](std::string_view text, double& x, double& y) {
    error.clear();
    if (text.size() > kMaxXLength) {
      error = utf8ToCp1252(std::to_string(kMaxXLength) + " caractères au plus pour x.");
    } else if (const NumberFault fault = readInputNumber(text, x); fault != NumberFault::None) {
      error = numberFaultText(fault);
    } else if (!engine.EvaluateExpression(x, y)) {
      error = capture.lastBody();
    }
    if (!error.empty()) failed = true;
    return error.empty();
  };
  const auto jsonLine = [&](nlohmann::ordered_json j) {
    out.write(j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
    out.put('\n');
  };

  if (o.fromStdin) {
    std::vector<std::string_view> fields;
    while (!out.failed() && in.next()) {
      double x = 0, y = 0;
      if (in.fault() != LineFault::None) {
        error = utf8ToCp1252(lineFaultText(in.fault()));
        failed = true;
      } else {
        splitBlanks(in.line(), fields);
        if (fields.empty()) {  // nothing typed: nothing calculated, the line kept in its place
          if (o.json) out.write(nlohmann::ordered_json{{"line", in.number()}}.dump());
          out.put('\n');
          continue;
        }
        if (fields.size() != 1) {
          error = LoadString(10);
          failed = true;
        } else if (evaluate(fields[0], x, y)) {
          if (o.json) {
            jsonLine({{"line", in.number()}, {"x", x}, {"y", y}});
          } else {
            out.writeReal(y);
            out.put('\n');
          }
          continue;
        }
      }
      printError(utf8ToCp1252("Ligne " + std::to_string(in.number()) + " : ") + error);
      if (o.json) {
        nlohmann::ordered_json j{{"line", in.number()}};
        if (in.fault() != LineFault::TooLong) j["x"] = std::string(in.line());
        j["error"] = utf8(error);
        jsonLine(std::move(j));
      } else {
        out.put('\n');
      }
    }
    return finishStream(out, in, failed ? kExitCalculationError : kExitOk);
  }

  double a = 0, b = 0, s = 0;
  if (!parseReal(o.from, a) || !parseReal(o.to, b) || !parseReal(o.step, s))
    throw CLI::ValidationError("--from/--to/--step", "valeurs numériques attendues");
  if (s == 0.0 || (b - a) * s < 0.0)
    throw CLI::ValidationError("--step", "le pas doit être non nul et aller de --from vers --to");
  // Each x worked out from the start (no drifting sum) and written with twelve
  // digits, as the user would type it.
  const double count = std::floor((b - a) / s + 1e-9) + 1.0;
  for (double k = 0; k < count && !out.failed() && !interrupted(); ++k) {
    const std::string text = formatDouble("%.12G", a + k * s);
    double x = 0, y = 0;
    if (evaluate(text, x, y)) {
      if (o.json)
        jsonLine({{"x", x}, {"y", y}});
      else
        writeResultRow(out, x, y);
      continue;
    }
    printError(utf8ToCp1252("x = " + text + " : ") + error);
    if (o.json) jsonLine({{"x", text}, {"error", utf8(error)}});
  }
  return finishStream(out, in, failed ? kExitCalculationError : kExitOk);
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

  // Without a document, nothing limits the number of x values: they stream.
  const bool streamed = !o.checkOnly && (o.fromStdin || (!o.from.empty() && o.docFile.empty()));
  std::vector<std::string> xs = streamed || o.from.empty() ? o.xs : rangeValues(o);
  if (!o.checkOnly && !streamed && xs.empty())
    throw CLI::ValidationError("eval", "donner --x, --stdin, ou --from, --to et --step");

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
  if (streamed) return streamValues(o, e, c, calc.angleUnit());
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
  CLI::Option* stdinValues =
      cmd->add_flag("--stdin", options->fromStdin,
                    "valeurs de x sur l'entrée standard, une par ligne ; y en sortie, une ligne par ligne lue "
                    "(vide pour une valeur en erreur, son message sur la sortie d'erreur)");
  cmd->add_flag("--json", options->json,
                "sortie JSON (avec --stdin, ou --from/--to/--step sans --doc : un objet JSON par ligne)");
  CLI::Option* check = cmd->add_flag("--check", options->checkOnly, "contrôle seulement (bouton « Contrôler »)");
  CLI::Option* doc = cmd->add_option("--doc", options->docFile,
                                     std::string(kDocOptionHelp) + " ; sa liste garde 1000 valeurs au plus");
  stdinValues->excludes(xs)->excludes(from)->excludes(doc)->excludes(check);
  cmd->callback([options, constants, &context] {
    options->constantsGiven = constants->count() > 0;
    context.exitCode = run(*options, context);
  });
}

}  // namespace qz::cli::eval
