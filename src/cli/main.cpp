// qz-cli: the calculators of QZ from a terminal.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>

#include "cli_context.h"
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

}  // namespace

int main(int argc, char** argv) {
  qz::cli::CliContext context;
  context.dataFolder = qz::shippedDataFolder(executableFolder(argv[0]));

  CLI::App app{"QZ en ligne de commande : les calculettes de QZ depuis un terminal.", "qz-cli"};
  app.set_version_flag("--version", std::string("qz-cli ") + QZ_VERSION);
  app.require_subcommand(0, 1);
#define QZ_CLI_COMMAND(name) qz::cli::name::addCommand(app, context);
#include "cli_commands.inc"
#undef QZ_CLI_COMMAND

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? qz::cli::kExitOk : qz::cli::kExitUsage;
  }
  if (app.get_subcommands().empty()) std::fputs(app.help().c_str(), stdout);
  return context.exitCode;
}
