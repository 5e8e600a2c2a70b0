// qz-cli units: the unit conversion calculator from a terminal. Converts a
// value between two units written as expressions over the units database's
// symbols, lists the database's units and describes a unit.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <unistd.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_context.h"
#include "doc_section.h"
#include "stream_io.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/real_format.h"
#include "numbers/string_table.h"
#include "units/unit_analysis.h"
#include "units/unit_conversion.h"
#include "units/unit_expression.h"
#include "units/units_database.h"
#include "units/units_model.h"

namespace qz::cli::units {

namespace {

constexpr int kIncoherentUnits = 161;
constexpr int kIncorrectValue = 10;
constexpr int kOverflow = 1003;
// The calculators' limits on a typed value.
constexpr double kLargestValue = 1e300;
constexpr double kSmallestValue = 1e-300;

struct UnitsOptions {
  bool json = false;
  bool batch = false;
  std::string listQuantity;
  std::string info;
  std::vector<std::string> args;
  std::string docFile;
};

void fail(const std::string& utf8) { printError(utf8ToCp1252(utf8)); }

// The plain form of a markup text, for a terminal.
std::string plain(const std::string& markup) { return markupPlainUtf8(markup); }

// Lower case without accents, for matching a quantity typed by a person.
std::string folded(const std::string& cp1252) {
  static const std::string from =
      "\xE0\xE1\xE2\xE3\xE4\xE5\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB"
      "\xFC\xFD\xFF";
  static const std::string to = "aaaaaaceeeeiiiinoooooouuuuyy";
  std::string out;
  for (char ch : cp1252) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) c = static_cast<unsigned char>(c + 0x20);
    std::size_t at = from.find(static_cast<char>(c));
    out += at != std::string::npos ? to[at] : static_cast<char>(c);
  }
  return out;
}

// Reals typed with a French decimal comma are accepted as well.
bool parseUserReal(std::string text, double& value) {
  std::replace(text.begin(), text.end(), ',', '.');
  return !text.empty() && parseReal(text, value);
}

// Width of a UTF-8 text in characters, for lining up columns.
std::size_t displayWidth(const std::string& utf8) {
  std::size_t n = 0;
  for (char ch : utf8) n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
  return n;
}

std::string padded(const std::string& utf8, std::size_t width) {
  std::size_t w = displayWidth(utf8);
  return w >= width ? utf8 + " " : utf8 + std::string(width - w, ' ');
}

// The coefficient line of the unit definition sheet: "x k", "x k + o" or "x k - |o|".
std::string coefficientText(const UnitFactors& f) {
  if (f.offset == 0.0) return formatDouble("x %g", f.coefficient);
  std::string k = formatDouble("x %g", f.coefficient);
  return f.offset > 0 ? k + formatDouble(" + %g", f.offset) : k + formatDouble(" - %g", -f.offset);
}

const DatabaseUnit* databaseUnitOf(const UnitsDatabase& db, const UnitRecord& record) {
  for (const DatabaseUnit& unit : db.units) {
    if (sameUnitBytes(unit.record, record)) return &unit;
  }
  return nullptr;
}

nlohmann::json unitJson(const UnitsDatabase& db, const UnitRecord& record) {
  UnitFactors f = UnitFactor(record);
  DimensionVector d = DimensionOf(record);
  nlohmann::json out{{"symbol", plain(UnitText(record))},
                     {"coefficient", f.coefficient},
                     {"offset", f.offset},
                     {"dimension", plain(DimensionText(d))},
                     {"dimensionVector", std::vector<double>(d.begin(), d.end())}};
  if (const DatabaseUnit* unit = databaseUnitOf(db, record)) {
    const UnitComponent& c = record.components[0];
    out["key"] = c.unitKey;
    out["name"] = cp1252ToUtf8(unit->name);
    out["system"] = cp1252ToUtf8(UnitsDatabase::nameAt(db.systems, c.system));
    out["category"] = cp1252ToUtf8(UnitsDatabase::nameAt(db.categories, c.category));
    out["quantity"] = cp1252ToUtf8(UnitsDatabase::nameAt(db.quantities, c.quantity));
    out["elementary"] = unit->elementary;
    out["prefixes"] = c.prefixAllowed != 0;
    out["exponent"] = c.exponentAllowed != 0;
  }
  return out;
}

bool parseUnit(const std::string& text, const UnitsDatabase& db, const DimensionVector* prefer,
               UnitRecord& record, CliContext& context) {
  UnitExpressionResult r = parseUnitExpression(text, db, prefer);
  if (!r.ok()) {
    printError(unitExpressionErrorText(r));
    context.exitCode = kExitUsage;
    return false;
  }
  record = r.record;
  return true;
}

// The units read so far, by their spelling: a batch names a few units many
// times, and each is parsed once.
class UnitSpellings {
 public:
  explicit UnitSpellings(const UnitsDatabase& db) : m_db(db) {}
  const UnitExpressionResult& parse(std::string_view text) {
    auto found = m_parsed.find(text);
    if (found == m_parsed.end())
      found = m_parsed.emplace(std::string(text), parseUnitExpression(text, m_db)).first;
    return found->second;
  }
  const UnitsDatabase& database() const { return m_db; }
  /// Forgets every spelling once there are too many: an input of endless
  /// different spellings must not fill the memory. Call it before parse()
  /// only, never while a result of parse() is in use.
  void bound() {
    if (m_parsed.size() >= kMaxRemembered) m_parsed.clear();
  }
  static constexpr std::size_t kMaxRemembered = 4096;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  const UnitsDatabase& m_db;
  std::unordered_map<std::string, UnitExpressionResult, Hash, std::equal_to<>> m_parsed;
};

// A pair of units ready to convert between, or why it is not (code page 1252).
struct UnitPair {
  UnitConversion conversion;
  std::string error;
  bool unreadable = false;  ///< a unit that cannot be read (a usage error for one conversion)
  std::string fromText, toText;  ///< the units' plain symbols (UTF-8)
  bool ok() const { return error.empty(); }
};

std::string incoherentText(const UnitRecord& from, const UnitRecord& to) {
  return LoadString(kIncoherentUnits) + "\n" +
         utf8ToCp1252("Unit\xC3\xA9 courante : " + plain(UnitText(from)) + " (" +
                      plain(DimensionText(DimensionOf(from))) + ")\nNouvelle unit\xC3\xA9 : " + plain(UnitText(to)) +
                      " (" + plain(DimensionText(DimensionOf(to))) + ")");
}

// Reads both units. One symbol may name units of several quantities ("a":
// are or year): when the first readings disagree, each side is read again
// in the light of the other's dimension.
void resolvePair(std::string_view fromText, std::string_view toText, UnitSpellings& spellings, UnitPair& pair) {
  spellings.bound();
  const UnitExpressionResult& f = spellings.parse(fromText);
  const UnitExpressionResult& t = spellings.parse(toText);
  if (!f.ok() || !t.ok()) {
    pair.error = unitExpressionErrorText(f.ok() ? t : f);
    pair.unreadable = true;
    return;
  }
  UnitRecord& from = pair.conversion.unit(UnitConversion::kCurrent);
  UnitRecord& to = pair.conversion.unit(UnitConversion::kNew);
  from = f.record;
  to = t.record;
  if (!UnitsCoherent(from, to)) {
    const DimensionVector fromDimension = DimensionOf(from);
    const DimensionVector toDimension = DimensionOf(to);
    UnitExpressionResult from2 = parseUnitExpression(fromText, spellings.database(), &toDimension);
    if (from2.ok() && UnitsCoherent(from2.record, to)) {
      from = from2.record;
    } else if (UnitExpressionResult to2 = parseUnitExpression(toText, spellings.database(), &fromDimension);
               to2.ok() && UnitsCoherent(from, to2.record)) {
      to = to2.record;
    }
  }
  if (!UnitsCoherent(from, to)) {
    pair.error = incoherentText(from, to);
    return;
  }
  pair.fromText = plain(UnitText(from));
  pair.toText = plain(UnitText(to));
}

// The value in the pair's new unit, or the message (code page 1252) why not.
bool convertValue(UnitConversion& conversion, double value, double& result, std::string& error) {
  result = conversion.Convert(value);
  if (conversion.conversionError() || std::fabs(result) > kLargestValue) {
    CapturingMessenger capture;
    ShowMessage(capture, kCaptionImpossible, kOverflow, {}, MessageStyle::Error);
    error = capture.lastBody();
    return false;
  }
  if (std::fabs(result) < kSmallestValue) result = 0.0;
  return true;
}

int listUnits(const UnitsDatabase& db, const UnitsOptions& options) {
  int quantity = 0;
  if (!options.listQuantity.empty()) {
    std::string wanted = folded(utf8ToCp1252(options.listQuantity));
    for (std::size_t i = 0; i < db.quantities.size() && quantity == 0; ++i) {
      if (folded(db.quantities[i]) == wanted || std::to_string(i + 1) == wanted)
        quantity = static_cast<int>(i + 1);
    }
    for (std::size_t i = 0; i < db.quantities.size() && quantity == 0; ++i) {
      if (folded(db.quantities[i]).find(wanted) != std::string::npos) quantity = static_cast<int>(i + 1);
    }
    if (quantity == 0) {
      fail("Grandeur inconnue : « " + options.listQuantity + " » (qz-cli units --list pour la liste).");
      return kExitUsage;
    }
  }
  nlohmann::json out = nlohmann::json::array();
  int shownQuantity = 0;
  for (const DatabaseUnit& unit : db.units) {
    if (unit.record.count <= 0) continue;
    const UnitComponent& c = unit.record.components[0];
    if (quantity != 0 && c.quantity != quantity) continue;
    if (options.json) {
      out.push_back(unitJson(db, unit.record));
      continue;
    }
    if (c.quantity != shownQuantity) {
      if (shownQuantity != 0) std::puts("");
      shownQuantity = c.quantity;
      printCp1252(UnitsDatabase::nameAt(db.quantities, c.quantity) + " (" +
                  UnitsDatabase::nameAt(db.categories, c.category) + ")\n");
    }
    std::string line = "  " + padded(plain(UnitText(unit.record)), 14) + cp1252ToUtf8(unit.name) + " [" +
                       cp1252ToUtf8(UnitsDatabase::nameAt(db.systems, c.system)) + "]";
    std::puts(line.c_str());
  }
  if (options.json) std::puts(jsonText(out).c_str());
  return kExitOk;
}

int describeUnit(CliContext& context, const UnitsDatabase& db, const UnitsOptions& options) {
  UnitRecord record;
  if (!parseUnit(options.info, db, nullptr, record, context)) return context.exitCode;
  if (options.json) {
    std::puts(jsonText(unitJson(db, record)).c_str());
    return kExitOk;
  }
  std::string dimension = plain(DimensionText(DimensionOf(record)));
  std::string text = "Expression symbolique : " + plain(UnitText(record)) + "\n";
  if (const DatabaseUnit* unit = databaseUnitOf(db, record)) {
    const UnitComponent& c = record.components[0];
    text += "Unit\xC3\xA9 : " + cp1252ToUtf8(unit->name) + " (" +
            cp1252ToUtf8(UnitsDatabase::nameAt(db.systems, c.system)) + ", " +
            cp1252ToUtf8(UnitsDatabase::nameAt(db.categories, c.category)) + ", " +
            cp1252ToUtf8(UnitsDatabase::nameAt(db.quantities, c.quantity)) + ")\n";
  }
  text += "Coefficient SI (\xC3\xA9quation aux dimensions) : " + coefficientText(UnitFactor(record)) + " (" +
          dimension + ")\n";
  text += "Dimension : " + dimension + "\n";
  std::fputs(text.c_str(), stdout);
  return kExitOk;
}

// Answers Yes to the question of a unit change over a list (recompute every
// row for the new pair), so that the document's list is never left with
// results of the old pair under the new one; every other box goes to the terminal.
class RecomputingMessenger : public Messenger {
 public:
  explicit RecomputingMessenger(Messenger& inner) : m_inner(inner) { setBeepEnabled(false); }
  MessageAnswer showBox(const std::string& text, MessageStyle style) override {
    if (style == MessageStyle::YesNo) return MessageAnswer::Yes;
    return m_inner.showBox(text, style);
  }
  void playSound(BeepKind) override {}

 private:
  Messenger& m_inner;
};

int convert(CliContext& context, const UnitsDatabase& db, const UnitsOptions& options) {
  CommandDocument document(context);
  if (!document.open(options.docFile)) return kExitCalculationError;
  RecomputingMessenger modelMessenger(context.messenger);
  UnitsModel model(modelMessenger);
  model.loadSection(document.section(kUnitConversion));
  const bool documentUnits = document.active() && !model.unit(UnitConversion::kCurrent).empty() &&
                             !model.unit(UnitConversion::kNew).empty();
  // With a document, the value alone converts between the document's units.
  if (options.args.size() != 3 && !(options.args.size() == 1 && documentUnits)) {
    fail(
        "Attendu : qz-cli units VALEUR UNIT\xC3\x89_COURANTE NOUVELLE_UNIT\xC3\x89 (par exemple 36 km/h "
        "m/s).");
    return kExitUsage;
  }
  double value = 0.0;
  if (!parseUserReal(options.args[0], value)) {
    ShowMessage(context.messenger, kCaptionError, kIncorrectValue, {}, MessageStyle::Warning);
    return kExitCalculationError;
  }
  if (value < -kLargestValue) {
    ShowValueMessage(context.messenger, 7, -kLargestValue);
    return kExitCalculationError;
  }
  if (value > kLargestValue) {
    ShowValueMessage(context.messenger, 6, kLargestValue);
    return kExitCalculationError;
  }
  if (value != 0.0 && std::fabs(value) < kSmallestValue) {
    ShowValueMessage(context.messenger, 3, kSmallestValue);
    return kExitCalculationError;
  }

  UnitPair pair;
  UnitConversion& conversion = pair.conversion;
  UnitRecord& from = conversion.unit(UnitConversion::kCurrent);
  UnitRecord& to = conversion.unit(UnitConversion::kNew);
  if (options.args.size() == 1) {
    from = model.unit(UnitConversion::kCurrent);
    to = model.unit(UnitConversion::kNew);
    if (!UnitsCoherent(from, to)) pair.error = incoherentText(from, to);
  } else {
    UnitSpellings spellings(db);
    resolvePair(options.args[1], options.args[2], spellings, pair);
  }
  if (!pair.ok()) {
    printError(pair.error);
    return pair.unreadable ? kExitUsage : kExitCalculationError;
  }
  double result = conversion.Convert(value);
  if (conversion.conversionError() || std::fabs(result) > kLargestValue) {
    ShowMessage(context.messenger, kCaptionImpossible, kOverflow, {}, MessageStyle::Error);
    return kExitCalculationError;
  }
  if (std::fabs(result) < kSmallestValue) result = 0.0;

  if (document.active()) {
    // The document's list grows as the window's does: another pair is a change
    // of units, after which its rows are worked out again for the new pair.
    if (!sameUnitBytes(from, model.unit(UnitConversion::kCurrent)) ||
        !sameUnitBytes(to, model.unit(UnitConversion::kNew))) {
      model.setCoherenceQuestion([](const UnitRecord&, const UnitRecord&) { return true; });
      model.beginUnitChange();
      model.finishUnitChange(UnitConversion::kCurrent, from);
      model.finishUnitChange(UnitConversion::kNew, to);
    }
    // The window's conversion: the value typed, then CALCULER (a zero value
    // adds no row there either).
    if (!model.editValue(formatDouble("%.17G", value))) {
      ShowMessage(context.messenger, kCaptionError, kIncorrectValue, {}, MessageStyle::Warning);
      return kExitCalculationError;
    }
    const bool full = static_cast<int>(model.rows().size()) >= kMaxConversionRows;
    model.convert();
    if (!document.storeSection(kUnitConversion, model.sectionBody())) return kExitCalculationError;
    if (full) return kExitCalculationError;  // message 12 was shown
  }

  if (options.json) {
    nlohmann::json out{{"value", value},
                       {"result", result},
                       {"resultText", exchangeText(result)},
                       {"from", unitJson(db, from)},
                       {"to", unitJson(db, to)}};
    std::puts(jsonText(out).c_str());
  } else {
    std::string line = FormatReal(value, FormatMode::Free) + " " + plain(UnitText(from)) + " = " +
                       FormatReal(result, FormatMode::Free) + " " + plain(UnitText(to));
    std::puts(line.c_str());
  }
  return kExitOk;
}

// One conversion per line of standard input, one result per line of
// standard output in the same order. A line that cannot be converted leaves
// an empty line (or its JSON error) in its place and its message, with its
// number, on standard error; the run goes on.
int convertBatch(const UnitsDatabase& db, const UnitsOptions& options) {
  if (options.args.size() != 0 && options.args.size() != 2) {
    fail("Attendu : qz-cli units --batch [UNIT\xC3\x89_COURANTE NOUVELLE_UNIT\xC3\x89], les lignes \xC3\xA9tant "
         "\xC2\xAB VALEUR UNIT\xC3\x89_COURANTE NOUVELLE_UNIT\xC3\x89 \xC2\xBB, ou \xC2\xAB VALEUR \xC2\xBB seule "
         "avec les unit\xC3\xA9s sur la ligne de commande.");
    return kExitUsage;
  }
  UnitSpellings spellings(db);
  // Each distinct pair is resolved once, then looked up by its spelling.
  std::unordered_map<std::string, std::unique_ptr<UnitPair>> pairs;
  UnitPair commandLinePair;
  const bool fixedPair = options.args.size() == 2;
  if (fixedPair) {
    resolvePair(options.args[0], options.args[1], spellings, commandLinePair);
    if (!commandLinePair.ok()) {
      printError(commandLinePair.error);
      return commandLinePair.unreadable ? kExitUsage : kExitCalculationError;
    }
  }
  const std::string expected = fixedPair ? "VALEUR" : "VALEUR UNIT\xC3\x89_COURANTE NOUVELLE_UNIT\xC3\x89";

  InterruptWatch watch;
  OutputStream out;
  LineReader in(STDIN_FILENO, &out);
  std::vector<std::string_view> fields;
  std::string key, error, text;
  bool failed = false;
  while (!out.failed() && in.next()) {
    error.clear();
    double value = 0.0, result = 0.0;
    UnitPair* pair = &commandLinePair;
    if (in.fault() != LineFault::None) {
      error = utf8ToCp1252(lineFaultText(in.fault()));
    } else {
      splitBlanks(in.line(), fields);
      if (fields.empty()) {  // nothing asked: nothing answered, the line kept in its place
        if (options.json) out.write(nlohmann::ordered_json{{"line", in.number()}}.dump());
        out.put('\n');
        continue;
      }
      if (fields.size() != (fixedPair ? 1u : 3u)) {
        error = utf8ToCp1252("attendu : " + expected + ".");
      } else if (const NumberFault fault = readInputNumber(fields[0], value); fault != NumberFault::None) {
        error = numberFaultText(fault);
      } else {
        if (!fixedPair) {
          key.assign(fields[1]).append(1, '\n').append(fields[2]);
          auto found = pairs.find(key);
          if (found == pairs.end()) {
            if (pairs.size() >= UnitSpellings::kMaxRemembered) pairs.clear();
            auto resolved = std::make_unique<UnitPair>();
            resolvePair(fields[1], fields[2], spellings, *resolved);
            found = pairs.emplace(key, std::move(resolved)).first;
          }
          pair = found->second.get();
        }
        if (!pair->ok())
          error = pair->error;
        else
          convertValue(pair->conversion, value, result, error);
      }
    }
    if (!error.empty()) {
      failed = true;
      error = oneLine(error);
      printError(utf8ToCp1252("Ligne " + std::to_string(in.number()) + " : ") + error);
      if (options.json) {
        nlohmann::ordered_json j{{"line", in.number()}, {"error", cp1252ToUtf8(error)}};
        if (in.fault() != LineFault::TooLong) j["input"] = std::string(in.line());
        out.write(j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
      }
      out.put('\n');
      continue;
    }
    if (options.json) {
      out.write(nlohmann::ordered_json{{"line", in.number()},
                               {"value", value},
                               {"result", result},
                               {"resultText", exchangeText(result)},
                               {"from", pair->fromText},
                               {"to", pair->toText}}
                    .dump());
    } else {
      text = FormatReal(result, FormatMode::Free);
      out.write(text);
    }
    out.put('\n');
  }
  return finishStream(out, in, failed ? kExitCalculationError : kExitOk);
}

}  // namespace

void addCommand(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<UnitsOptions>();
  CLI::App* cmd = app.add_subcommand(
      "units",
      "Conversion d'unit\xC3\xA9s : VALEUR UNIT\xC3\x89_COURANTE NOUVELLE_UNIT\xC3\x89 (36 km/h m/s).");
  cmd->add_flag("--json", options->json, "Sortie JSON");
  CLI::Option* list = cmd->add_option("--list", options->listQuantity,
                                      "Liste les unit\xC3\xA9s (toutes, ou celles d'une grandeur)")
                          ->expected(0, 1);
  CLI::Option* info = cmd->add_option("--info", options->info,
                                      "D\xC3\xA9"
                                      "crit une unit\xC3\xA9 : expression, coefficient SI, dimension");
  cmd->add_option("--doc", options->docFile,
                  std::string(kDocOptionHelp) +
                      " ; la conversion s'ajoute à sa liste (VALEUR seule : les unités du document ; "
                      "avec d'autres unités, la liste est recalculée pour elles)")
      ->excludes(list)
      ->excludes(info);
  CLI::Option* doc = cmd->get_option("--doc");
  cmd->add_flag("--batch", options->batch,
                "Une conversion par ligne de l'entr\xC3\xA9" "e standard (\xC2\xAB VALEUR UNIT\xC3\x89_COURANTE "
                "NOUVELLE_UNIT\xC3\x89 \xC2\xBB, ou VALEUR seule avec les deux unit\xC3\xA9s en arguments), un "
                "r\xC3\xA9sultat par ligne de la sortie ; une ligne en erreur laisse une ligne vide et son message "
                "sur la sortie d'erreur")
      ->excludes(doc)
      ->excludes(list)
      ->excludes(info);
  cmd->add_option("args", options->args, "VALEUR UNIT\xC3\x89_COURANTE NOUVELLE_UNIT\xC3\x89");
  cmd->footer(
      "Unit\xC3\xA9s compos\xC3\xA9"
      "es : produits avec \".\" ou \"*\", quotients avec \"/\" (tout ce qui suit "
      "est au d\xC3\xA9nominateur), pr\xC3\xA9"
      "fixes (km, \xC2\xB5S), exposants \"^2\" \xC3\xA0 \"^9\", \"^1/2\", "
      "\"^3/2\", \"^5/2\" : km/h, N.m, m/s^2, kg/m^3, \xC2\xB5S/cm.");
  cmd->callback([&context, options, list, info]() {
    UnitsDatabase db;
    if (!LoadUnitsDatabase(context.dataFolder, context.messenger, db)) {
      context.exitCode = kExitCalculationError;
      return;
    }
    if (options->batch) {
      context.exitCode = convertBatch(db, *options);
    } else if (list->count() > 0) {
      context.exitCode = listUnits(db, *options);
    } else if (info->count() > 0) {
      context.exitCode = describeUnit(context, db, *options);
    } else {
      context.exitCode = convert(context, db, *options);
    }
  });
}

}  // namespace qz::cli::units
