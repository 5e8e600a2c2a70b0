// qz-cli tape, run as a user runs it: output, messages and exit codes.
#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

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
  const std::string file = ::testing::TempDir() + "qz_tape_state.txt";
  std::remove(file.c_str());
  EXPECT_EQ(runCli("tape --tape '" + file + "' 2 + 3 =").status, 0);
  CliRun r = runCli("tape --tape '" + file + "' '*' 4 =");
  EXPECT_EQ(r.out, " 2\n +\n 3\n =\n 5\n *\n 4\n =\n 20\n");
  std::ifstream saved(file);
  std::string first;
  std::getline(saved, first);
  EXPECT_EQ(first, "9");
}

}  // namespace
