// qz-cli doc: what a QZ document holds, section by section.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

#include "app/launcher.h"
#include "cli_context.h"
#include "french_errors.h"
#include "document/document_store.h"
#include "files/file_access.h"
#include "files/recent_files.h"
#include "numbers/cp1252.h"

namespace qz::cli::doc {

namespace {

struct DocOptions {
  std::string file;
  int section = -1;
  bool json = false;
};

int lineCount(const std::string& body) { return static_cast<int>(std::count(body.begin(), body.end(), '\n')); }

int run(const DocOptions& options, CliContext& context) {
  if (!FileExists(options.file)) {
    ShowFileError(context.messenger, kCannotOpenFile, options.file, FileErrorCause::FileNotFound);
    return kExitCalculationError;
  }
  RecentFiles recent;  // a look from the terminal changes no recent list
  DocumentStore document(context.messenger, recent);
  if (!document.ReadDocumentFile(options.file)) return kExitCalculationError;

  if (options.section >= 0) {
    auto body = document.LoadSection(options.section);
    if (!body) {
      printError("Ce document ne contient pas de section " + DocumentStore::sectionTag(options.section) + ".");
      return kExitCalculationError;
    }
    if (options.json) {
      nlohmann::json out{{"calculator", options.section},
                         {"name", cp1252ToUtf8(calculatorName(options.section))},
                         {"lines", nlohmann::json::array()}};
      std::size_t pos = 0;
      while (pos < body->size()) {
        std::size_t lf = body->find('\n', pos);
        out["lines"].push_back(cp1252ToUtf8(body->substr(pos, lf - pos)));
        pos = lf == std::string::npos ? body->size() : lf + 1;
      }
      std::printf("%s\n", jsonText(out).c_str());
    } else {
      printCp1252(*body);
    }
    return kExitOk;
  }

  nlohmann::json sections = nlohmann::json::array();
  for (int calculator = 0; calculator < kCalculatorCount; ++calculator) {
    auto body = document.LoadSection(calculator);
    if (!body) continue;
    const int lines = lineCount(*body);
    const std::string name = cp1252ToUtf8(calculatorName(calculator));
    sections.push_back({{"calculator", calculator}, {"name", name}, {"lines", lines}});
    if (!options.json)
      std::printf("%s %-24s %d ligne%s\n", DocumentStore::sectionTag(calculator).c_str(), name.c_str(), lines,
                  lines > 1 ? "s" : "");
  }
  if (options.json)
    std::printf("%s\n", jsonText(nlohmann::json{{"file", options.file}, {"sections", sections}}).c_str());
  else if (sections.empty())
    std::printf("Aucune section de calculette dans ce document.\n");
  return kExitOk;
}

}  // namespace

void addCommand(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<DocOptions>();
  CLI::App* command = app.add_subcommand("doc", "Sections d'un document QZ (.qz) : liste, ou contenu d'une section.");
  command->add_option("FILE", options->file, "Document QZ ou fichier de sauvegarde")->required();
  command->add_option("--section", options->section, "Numéro de la calculette (0 à 4) dont afficher la section")
      ->check(integerRange(0, 4));
  command->add_flag("--json", options->json, "Sortie JSON");
  command->callback([options, &context] { context.exitCode = run(*options, context); });
}

}  // namespace qz::cli::doc
