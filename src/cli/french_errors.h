// qz-cli speaks French on its command line too: CLI11's own error texts,
// validators and help labels in the program's language.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace qz::cli {

/// What qz-cli prints for a command-line error: CLI11's message in French,
/// then how to get help.
std::string frenchFailureMessage(const CLI::App* app, const CLI::Error& error);

/// CLI11's English message (`what()`) in French; an unknown one is kept after a French lead.
std::string frenchParseMessage(const std::string& english);

/// Sets the French failure message, help flag and help labels on `app`;
/// call it before adding the subcommands, which inherit them.
void speakFrench(CLI::App& app);

/// Lists the subcommands of `app` under a French heading; call it once they are added.
void nameFrenchGroups(CLI::App& app);

/// An integer from `low` to `high`: anything else is refused, never brought into range.
CLI::Validator integerRange(int low, int high);

/// One of `choices`, written as they are.
CLI::Validator oneOf(std::vector<std::string> choices);

}  // namespace qz::cli
