// What every qz-cli subcommand shares: the exit code, the data folder, output
// in UTF-8 and messages on standard error.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "platform/messenger.h"

namespace qz::cli {

/// Exit codes of qz-cli.
enum ExitCode : int {
  kExitOk = 0,
  kExitCalculationError = 1,  ///< a refused value, an impossible calculation, a bad file
  kExitUsage = 2,             ///< bad command line
};

/// Prints message boxes on standard error (UTF-8) and answers every question No,
/// so that nothing is ever erased without a person saying so.
class StderrMessenger : public Messenger {
 public:
  MessageAnswer showBox(const std::string& text, MessageStyle style) override;
  void playSound(BeepKind) override {}
};

struct CliContext {
  int exitCode = kExitOk;
  std::string dataFolder;  ///< folder of the shipped data files
  StderrMessenger messenger;
};

/// Writes code page 1252 text to standard output as UTF-8.
void printCp1252(const std::string& text);
/// All of standard input, at most kMaxReadBytes; nothing after a French
/// message on standard error when it holds more or cannot be read.
std::optional<std::string> readStandardInput();

/// The JSON text of `value`, indented by 2. Texts reach JSON from files,
/// names and the command line, where any byte may be: a byte that is not
/// UTF-8 becomes U+FFFD instead of stopping the program.
std::string jsonText(const nlohmann::json& value);

/// Writes a code page 1252 message to standard error as UTF-8, with a line end.
void printError(const std::string& text);

}  // namespace qz::cli
