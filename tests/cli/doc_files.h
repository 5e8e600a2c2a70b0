// Documents for the qz-cli tests: files read and written as bytes, one
// section's bytes cut out of a document, and a document holding the five
// calculators' sections made by the commands themselves.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_runner.h"

namespace qz::testing {

/// A fresh path in the test's temporary folder, no file there yet.
inline std::string freshPath(const std::string& name) {
  static std::atomic<int> counter{0};
  const std::filesystem::path path =
      std::filesystem::path(::testing::TempDir()) /
      ("qz_doc_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" + name);
  std::filesystem::remove_all(path);
  return path.string();
}

inline std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

/// The bytes of `calculator`'s section, from its tag line to its "<EOB>" line
/// included; empty when the document has none.
inline std::string sectionBytes(const std::string& document, int calculator) {
  const std::string tag = "\r\n<00" + std::to_string(calculator) + ">\r\n";
  const std::size_t begin = document.find(tag);
  if (begin == std::string::npos) return {};
  const std::size_t end = document.find("\r\n<EOB>\r\n", begin + 2);
  if (end == std::string::npos) return {};
  return document.substr(begin + 2, end + 9 - (begin + 2));
}

/// The document without `calculator`'s section: what a command on that
/// calculator must leave byte for byte.
inline std::string withoutSection(std::string document, int calculator) {
  const std::string section = sectionBytes(document, calculator);
  if (!section.empty()) document.erase(document.find(section), section.size());
  return document;
}

/// The commands that make each calculator's section, in calculator order;
/// each is run with " --doc FILE" after it.
inline const char* const kSectionCommands[5] = {
    "tape 2 + 3 =",          "eval 'y=a*x^2' --const 'a=3' --x 1 2",
    "stats --mode 2",  // pairs on standard input
    "geo 22 L1=5 L2=6 L3=7", "units 36 km/h m/s",
};
inline const char* const kStatsPairs = "1 2\n2 4.1\n3 5.9\n4 8.2\n";

/// Runs `command` on the document at `path` (statistics pairs on standard input).
inline CliRun runOnDocument(const std::string& command, const std::string& path,
                            const std::string& input = {}) {
  return runQzCli(command + " --doc '" + path + "'", input);
}

/// A document holding the five sections, made by the commands.
inline std::string fiveSectionDocument(const std::string& name) {
  const std::string path = freshPath(name);
  for (int c = 0; c < 5; ++c) {
    CliRun run = runOnDocument(kSectionCommands[c], path, c == 2 ? kStatsPairs : "");
    EXPECT_EQ(run.status, 0) << kSectionCommands[c] << "\n" << run.err;
  }
  return path;
}

}  // namespace qz::testing
