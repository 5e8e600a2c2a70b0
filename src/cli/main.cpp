// qz-cli: the calculators of QZ from a terminal.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <filesystem>

#include "cli_context.h"
#include "french_errors.h"
#include "numbers/cp1252.h"
#include "platform/places.h"

#define QZ_CLI_COMMAND(name) \
  namespace qz::cli::name {  \
  void addCommand(CLI::App& app, CliContext& context); \
  }
#include "cli_commands.inc"
#undef QZ_CLI_COMMAND

namespace {

std::string executableFolder(const char* argv0) {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) self = std::filesystem::absolute(argv0, ec);
  return self.parent_path().string();
}

// Standard output is written through the C library's buffer: what it could
// not write (a full disk, /dev/full, a closed pipe) shows only at the flush.
bool outputWritten() { return std::fflush(stdout) == 0 && !std::ferror(stdout); }

int run(int argc, char** argv) {
  qz::cli::CliContext context;
  context.dataFolder = qz::shippedDataFolder(executableFolder(argv[0]));

  CLI::App app{"QZ en ligne de commande : les calculettes de QZ depuis un terminal.", "qz-cli"};
  qz::cli::speakFrench(app);
  app.set_version_flag("--version", std::string("qz-cli ") + QZ_VERSION, "affiche la version");
  app.require_subcommand(0, 1);
#define QZ_CLI_COMMAND(name) qz::cli::name::addCommand(app, context);
#include "cli_commands.inc"
#undef QZ_CLI_COMMAND
  qz::cli::nameFrenchGroups(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? qz::cli::kExitOk : qz::cli::kExitUsage;
  }
  if (app.get_subcommands().empty()) std::fputs(app.help().c_str(), stdout);
  return context.exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that goes away (qz-cli ... | head) must not kill the program in
  // the middle of a write: the write fails instead, and the run ends quietly.
  std::signal(SIGPIPE, SIG_IGN);
  int code = qz::cli::kExitCalculationError;
  try {
    code = run(argc, argv);
  } catch (const std::bad_alloc&) {
    qz::cli::printError(qz::utf8ToCp1252("Mémoire insuffisante."));
    return qz::cli::kExitCalculationError;
  } catch (const std::exception& e) {
    qz::cli::printError(qz::utf8ToCp1252(std::string("Erreur interne : ") + e.what()));
    return qz::cli::kExitCalculationError;
  } catch (...) {
    qz::cli::printError(qz::utf8ToCp1252("Erreur interne."));
    return qz::cli::kExitCalculationError;
  }
  if (!outputWritten()) {
    if (errno == EPIPE) return qz::cli::kExitCalculationError;  // nobody is left to read
    qz::cli::printError(qz::utf8ToCp1252(std::string("Impossible d'écrire la sortie : ") + std::strerror(errno) + "."));
    return qz::cli::kExitCalculationError;
  }
  return code;
}
