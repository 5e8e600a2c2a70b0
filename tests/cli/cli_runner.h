// Runs qz-cli as a user would, from the shell, and collects what it printed.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qz::testing {

/// The lines of an output, without their line feeds.
inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct CliRun {
  std::string out;
  std::string err;
  int status = -1;  ///< exit code, -1 when the program did not exit normally
};

/// Runs a shell command and collects its standard output and exit code.
inline CliRun runShell(const std::string& command) {
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

/// Runs `qz-cli ARGUMENTS` (already quoted for the shell) with `input` on its
/// standard input (none: /dev/null) and `environment` assignments in front.
inline CliRun runQzCli(const std::string& arguments, const std::string& input = {},
                       const std::string& environment = {}, const std::string& inputPath = {}) {
  // Files of our own, so that tests run in parallel never share them.
  static std::atomic<int> counter{0};
  const std::string stem = (std::filesystem::path(::testing::TempDir()) /
                            ("qz_cli_" + std::to_string(::getpid()) + "_" + std::to_string(counter++)))
                               .string();
  const std::string errFile = stem + ".err";
  const std::string inFile = stem + ".in";
  std::string command = environment + " '" + QZ_CLI_PATH + "' " + arguments + " 2>'" + errFile + "'";
  if (!inputPath.empty()) {
    command += " <'" + inputPath + "'";
  } else if (input.empty()) {
    command += " </dev/null";
  } else {
    std::ofstream(inFile, std::ios::binary) << input;
    command += " <'" + inFile + "'";
  }
  CliRun run = runShell(command);
  std::ifstream in(errFile);
  std::stringstream s;
  s << in.rdbuf();
  run.err = s.str();
  std::filesystem::remove(errFile);
  std::filesystem::remove(inFile);
  return run;
}

/// Runs `qz-cli ARGUMENTS` (already quoted for the shell) with the file or
/// device `inputPath` on its standard input.
inline CliRun runQzCliFrom(const std::string& arguments, const std::string& inputPath) {
  return runQzCli(arguments, {}, {}, inputPath);
}

}  // namespace qz::testing
