// qz-cli tape, run as a user runs it: output, messages and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_runner.h"
#include "cli/doc_files.h"
#include "support/temp_folder.h"

namespace {

using qz::testing::CliRun;

// Runs qz-cli with `arguments` (already quoted for the shell).
CliRun runCli(const std::string& arguments, const std::string& input = {}) {
  return qz::testing::runQzCli(arguments, input);
}

struct CliCase {
  const char* name;
  std::string arguments;
  std::string out;
  int code;
  std::string err;
};

TEST(TapeCommand, KeySequences) {
  const std::string sep = " -----------------------------\n";
  const CliCase cases[] = {
      {"total and continuation", "tape 2 + 3 = '*' 4 =", " 2\n +\n 3\n =\n 5\n *\n 4\n =\n 20\n", 0, ""},
      {"new calculation after a total", "tape 2 + 3 = 7 +", " 2\n +\n 3\n =\n 5\n" + sep + " 7\n +\n", 0, ""},
      {"negative numbers and minus", "tape -5 - -2 =", " -5\n -\n -2\n =\n -3\n", 0, ""},
      {"levels and symbols", "tape '(' 8 / 2 ')' sqrt =", " (\n  8\n  ÷\n  2\n )\n √\n 2\n =\n 2\n", 0, ""},
      {"error marks", "tape 1 / 0 =", " 1\n ÷\n 0\n =\n 0 (ERREUR)\n", 0, ""},
      {"display modes", "tape fixed dec3 2.5 x 2 =", " 2.500\n *\n 2.000\n =\n 5.000\n", 0, ""},
      {"unbalanced parentheses refused", "tape '(' 2 + 3 =", " (\n  2\n  +\n  3\n", 1,
       "ERREUR\n\nNombre de parenthèses incorrect.\n"},
      {"invalid number refused", "tape 2 + 12E =", " 2\n +\n", 1, "ERREUR\n\nValeur incorrecte !\n"},
      {"number too large refused", "tape 2 + 5E300 =", " 2\n +\n", 1,
       "ERREUR\n\nValeur maximale = 1e+300 !\n"},
      {"keys after --", "tape -- -3 + 2 =", " -3\n +\n 2\n =\n -1\n", 0, ""},
      {"unknown key is a usage error", "tape 2 + foo", "", 2, "Touche inconnue : « foo »\n"},
  };
  for (const CliCase& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun r = runCli(c.arguments);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.status, c.code);
    EXPECT_EQ(r.err, c.err);
  }
}

TEST(TapeCommand, KeysFromStandardInput) {
  CliRun r = runCli("tape", "2 +\n3\n= * 4 =\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, " 2\n +\n 3\n =\n 5\n *\n 4\n =\n 20\n");
}

TEST(TapeCommand, JsonEntries) {
  CliRun r = runCli("tape --json 9 sqrt");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\"count\": 3"), std::string::npos);
  EXPECT_NE(r.out.find("\"name\": \"sqrt\""), std::string::npos);
  EXPECT_NE(r.out.find("\"absorbed\": true"), std::string::npos);
  EXPECT_NE(r.out.find("\"line\": \" √\""), std::string::npos);
}

TEST(TapeCommand, FullTapeRefusesWithTheCapacityMessage) {
  std::string keys = "tape";
  for (int i = 0; i < 999; ++i) keys += " 1 +";
  keys += " 1 +";
  CliRun r = runCli(keys);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "ERREUR\n\nLa capacité maximale du ruban a été atteinte !\n");
}

TEST(TapeCommand, TapeFileCarriesOn) {
  qz::testing::TempFolder folder;
  const std::string file = folder.file("qz_tape_state.txt");
  EXPECT_EQ(runCli("tape --tape '" + file + "' 2 + 3 =").status, 0);
  CliRun r = runCli("tape --tape '" + file + "' '*' 4 =");
  EXPECT_EQ(r.out, " 2\n +\n 3\n =\n 5\n *\n 4\n =\n 20\n");
  std::ifstream saved(file);
  std::string first;
  std::getline(saved, first);
  EXPECT_EQ(first, "9");
}

}  // namespace

namespace {

TEST(TapeCommand, DocumentCarriesTheTapeOn) {
  const std::string doc = qz::testing::freshPath("tape.qz");
  EXPECT_EQ(runCli("tape --doc '" + doc + "' 2 + 3 =").status, 0);
  CliRun r = runCli("tape '*' 4 = --doc '" + doc + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, " 2\n +\n 3\n =\n 5\n *\n 4\n =\n 20\n");
  CliRun section = runCli("doc '" + doc + "' --section 0");
  EXPECT_EQ(section.out.substr(0, 2), "9\n");
  // Keys refused halfway: the entries before the refusal are kept, as the window keeps them.
  EXPECT_EQ(runCli("tape --doc '" + doc + "' + 1 + 12E =").status, 1);
  EXPECT_EQ(runCli("doc '" + doc + "' --section 0").out.substr(0, 3), "12\n");
}

TEST(TapeCommand, DocumentAndTapeFileExcludeEachOther) {
  const std::string doc = qz::testing::freshPath("both.qz");
  const std::string tape = qz::testing::freshPath("both.txt");
  CliRun r = runCli("tape --doc '" + doc + "' --tape '" + tape + "' 1 +");
  EXPECT_EQ(r.status, 2);
  EXPECT_FALSE(std::filesystem::exists(doc));
  EXPECT_FALSE(std::filesystem::exists(tape));
  EXPECT_EQ(runCli("tape 1 + --doc").status, 2);
}

}  // namespace
