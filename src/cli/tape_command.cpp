// qz-cli tape: the standard calculator from a terminal. Runs a sequence of
// keys through the tape engine and prints the tape as the window draws it.
#include <CLI/CLI.hpp>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli_context.h"
#include "doc_section.h"
#include "files/file_access.h"
#include "numbers/cp1252.h"
#include "numbers/real_format.h"
#include "standard/key_script.h"
#include "standard/standard_calculator.h"
#include "standard/tape_section.h"

namespace qz::cli::tape {

namespace {

struct TapeOptions {
  std::vector<std::string> words;
  bool json = false;
  std::string tapeFile;
  std::string docFile;
};

// What this command writes in a tape file: nothing (an empty tape), or the
// entry count on the first line then that many lines of seven fields.
bool looksLikeTapeSection(std::string_view text) {
  if (text.empty()) return true;
  std::vector<std::string_view> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) return false;  // every line ends
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  const std::string_view count = lines.front();
  if (count.empty() || count.size() > 4 || count.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  if (std::stoi(std::string(count)) != static_cast<int>(lines.size()) - 1) return false;
  return std::all_of(lines.begin() + 1, lines.end(), [](std::string_view line) {
    return std::count(line.begin(), line.end(), '|') == 6 &&
           line.find_first_not_of("0123456789|.+-EeINFA") == std::string_view::npos;
  });
}

// The tape file holds the document section's body, so that one call can
// carry on from the tape another call left. A file not there yet is an
// empty tape.
//
// Anything else is left alone: a file that does not read as a tape is some
// other file named by mistake, which rewriting would replace by a tape.
bool readTapeFile(const std::string& path, Tape& tape, Messenger& messenger) {
  if (!FileExists(path)) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0) {
      // A link to nowhere: whatever it was meant for, it is not a tape yet.
      printError(utf8ToCp1252("Le fichier " + path + " n'est pas un ruban de qz-cli : il est laissé tel quel."));
      return false;
    }
    return true;
  }
  const std::optional<std::string> saved = ReadWholeFile(path, messenger, kCannotOpenFile);
  if (!saved) return false;
  if (!looksLikeTapeSection(*saved)) {
    printError(utf8ToCp1252("Le fichier " + path + " n'est pas un ruban de qz-cli : il est laissé tel quel."));
    return false;
  }
  readTapeSection(*saved, tape);
  return true;
}

// Keeps the boxes shown for --json while the terminal's messenger prints them.
class RecordingMessenger : public Messenger {
 public:
  explicit RecordingMessenger(Messenger& inner) : m_inner(inner) { setBeepEnabled(false); }
  MessageAnswer showBox(const std::string& text, MessageStyle style) override {
    m_texts.push_back(cp1252ToUtf8(text));
    return m_inner.showBox(text, style);
  }
  void playSound(BeepKind) override {}
  const std::vector<std::string>& texts() const { return m_texts; }

 private:
  Messenger& m_inner;
  std::vector<std::string> m_texts;
};

const char* kindName(EntryKind kind) {
  switch (kind) {
    case EntryKind::Separator:
      return "separator";
    case EntryKind::Number:
      return "number";
    case EntryKind::Plus:
      return "plus";
    case EntryKind::Minus:
      return "minus";
    case EntryKind::Times:
      return "times";
    case EntryKind::Divide:
      return "divide";
    case EntryKind::SquareRoot:
      return "sqrt";
    case EntryKind::Square:
      return "square";
    case EntryKind::Inverse:
      return "inverse";
    case EntryKind::Power:
      return "power";
    case EntryKind::Open:
      return "open";
    case EntryKind::Close:
      return "close";
    case EntryKind::Equals:
      return "equals";
    case EntryKind::Total:
      return "total";
    default:
      return "empty";
  }
}

void printJson(const StandardCalculator& calc, const RecordingMessenger& messages, bool refused) {
  nlohmann::json entries = nlohmann::json::array();
  const Tape& tape = calc.engine().tape();
  for (int i = 0; i < tape.count(); ++i) {
    const TapeEntry& e = tape[i];
    entries.push_back({{"index", i},
                       {"kind", static_cast<int>(e.kind)},
                       {"name", kindName(e.kind)},
                       {"level", e.level},
                       {"value", e.value},
                       {"valueText", exchangeText(e.value)},
                       {"absorbed", e.absorbed},
                       {"error", e.error},
                       {"displayMode", e.display.mode},
                       {"decimals", e.display.decimals},
                       {"line", calc.line(i).plainUtf8()}});
  }
  nlohmann::json out = {{"entries", entries},
                        {"count", tape.count()},
                        {"display", calc.displayText()},
                        {"refused", refused},
                        {"messages", messages.texts()}};
  std::printf("%s\n", jsonText(out).c_str());
}

int run(const TapeOptions& options, CliContext& context) {
  std::vector<std::string> words;
  bool json = options.json;
  std::string tapeFile = options.tapeFile;
  std::string docFile = options.docFile;
  std::string* fileNext = nullptr;
  std::string fileOption;
  auto take = [&](const std::string& word) {
    if (fileNext) {
      *fileNext = word;
      fileNext = nullptr;
    } else if (word == "--json") {
      json = true;
    } else if (word == "--tape" || word == "--doc") {
      fileNext = word == "--tape" ? &tapeFile : &docFile;
      fileOption = word;
    } else if (word.rfind("--tape=", 0) == 0) {
      tapeFile = word.substr(7);
    } else if (word.rfind("--doc=", 0) == 0) {
      docFile = word.substr(6);
    } else if (!word.empty()) {
      words.push_back(word);
    }
  };
  for (const std::string& w : options.words) take(w);
  if (fileNext) {
    printError(utf8ToCp1252(fileOption + " : nom de fichier manquant"));
    return kExitUsage;
  }
  if (!tapeFile.empty() && !docFile.empty()) {
    printError(utf8ToCp1252("--tape et --doc ne s'emploient pas ensemble : un seul ruban à continuer."));
    return kExitUsage;
  }
  if (words.empty()) {
    // Keys from standard input, one or more per line.
    const std::optional<std::string> input = readStandardInput();
    if (!input) return kExitCalculationError;
    std::istringstream in(*input);
    std::string w;
    while (in >> w) take(w);
  }

  RecordingMessenger messenger(context.messenger);
  TapeEngine engine(messenger);
  std::array<double, 10> memories{};
  CommandDocument document(context);
  if (!document.open(docFile)) return kExitCalculationError;
  if (const std::optional<std::string> section = document.section(kStandard)) {
    readTapeSection(*section, engine.tape());
  } else if (!tapeFile.empty() && !readTapeFile(tapeFile, engine.tape(), messenger)) {
    return kExitCalculationError;
  }
  StandardCalculator calc(engine, memories, messenger);
  bool refused = false;
  for (const std::string& word : words) {
    const ScriptOutcome outcome = runScriptKey(calc, word, messenger);
    if (outcome == ScriptOutcome::Unknown) {
      printError(utf8ToCp1252("Touche inconnue : « " + word + " »"));
      return kExitUsage;
    }
    if (outcome == ScriptOutcome::Refused) {
      refused = true;
      break;
    }
  }
  const std::optional<std::string> body = writeTapeSection(engine.tape());
  if (!tapeFile.empty() &&
      !WriteFileAtomically(tapeFile, body.value_or(std::string()), messenger, kCannotSaveFile))
    return kExitCalculationError;
  if (!document.storeSection(kStandard, body)) return kExitCalculationError;
  if (json) {
    printJson(calc, messenger, refused);
  } else {
    for (int i = 0; i < engine.tape().count(); ++i) std::printf("%s\n", calc.line(i).plainUtf8().c_str());
  }
  return refused ? kExitCalculationError : kExitOk;
}

}  // namespace

void addCommand(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<TapeOptions>();
  CLI::App* cmd =
      app.add_subcommand("tape",
                         "Calculette standard : exécute une suite de touches et affiche le ruban.\n"
                         "Touches : nombres, + - * / ( ) = (Total), sqrt, sq, inv, pi, neg, undo, clear,\n"
                         "free, fixed, sci, dec0..dec9, refresh, sel=N, update, endedit, msN maN mrN mcN.\n"
                         "Sans touche, elles sont lues sur l'entrée standard. Une touche refusée affiche\n"
                         "le message sur la sortie d'erreur et termine avec le code 1.");
  cmd->add_option("keys", options->words, "touches, dans l'ordre");
  cmd->add_flag("--json", options->json, "sortie JSON des entrées du ruban");
  cmd->add_option("--tape", options->tapeFile,
                  "fichier du ruban : lu avant les touches s'il existe, réécrit après");
  cmd->add_option("--doc", options->docFile, kDocOptionHelp);
  // Keys such as "-" or "-5" must reach the calculator, not the option parser.
  cmd->allow_extras();
  cmd->prefix_command();
  cmd->callback([options, cmd, &context] {
    for (const std::string& extra : cmd->remaining()) options->words.push_back(extra);
    // "--" only ends the options on a command line; it is never a key.
    std::erase(options->words, std::string("--"));
    context.exitCode = run(*options, context);
  });
}

}  // namespace qz::cli::tape
