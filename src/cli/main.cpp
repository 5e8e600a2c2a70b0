// qz-cli: the calculators of QZ from a terminal.
#include <CLI/CLI.hpp>

#include <cstdio>

int main(int argc, char** argv) {
  CLI::App app{"QZ en ligne de commande : les calculettes de QZ depuis un terminal.", "qz-cli"};
  app.set_version_flag("--version", std::string("qz-cli ") + QZ_VERSION);
  app.require_subcommand(0, 1);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 2;
  }
  if (app.get_subcommands().empty()) {
    std::fputs(app.help().c_str(), stdout);
  }
  return 0;
}
