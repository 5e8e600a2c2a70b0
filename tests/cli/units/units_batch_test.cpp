// qz-cli units --batch: one conversion per input line, results in the same
// order, failing lines leaving their place empty and the run going on.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_runner.h"

namespace {

using qz::testing::CliRun;
using qz::testing::linesOf;
using qz::testing::runQzCli;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(UnitsBatch, ResultsInOrderWithFailingLinesLeftEmpty) {
  const CliRun run = runQzCli("units --batch",
                              "36 km/h m/s\n"
                              "abc km/h m/s\n"
                              "1 m ft\n"
                              "5 kg m\n"
                              "\n"
                              "2,5 km m\n"
                              "3 nope m\n"
                              "1 m\n"
                              "100 N.m J\n");
  EXPECT_EQ(run.status, 1) << "a line failed";
  EXPECT_EQ(run.out, "10\n\n3.28083989501\n\n\n2500\n\n\n100\n");
  EXPECT_EQ(linesOf(run.err), (std::vector<std::string>{
                                  "Ligne 2 : Valeur incorrecte !",
                                  "Ligne 4 : Attention : ces deux unités sont incohérentes ! Unité courante : kg (M) "
                                  "Nouvelle unité : m (L)",
                                  "Ligne 7 : Unité inconnue : \"nope\"",
                                  "Ligne 8 : attendu : VALEUR UNITÉ_COURANTE NOUVELLE_UNITÉ.",
                              }));
}

TEST(UnitsBatch, ThePairOnTheCommandLine) {
  const CliRun run = runQzCli("units --batch km/h m/s", "36\n72\n-18\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "10\n20\n-5\n");
  EXPECT_EQ(run.err, "");

  const CliRun three = runQzCli("units --batch km/h m/s", "36 km/h m/s\n1\n");
  EXPECT_EQ(three.status, 1);
  EXPECT_EQ(three.out, "\n0.277777777778\n");
  EXPECT_EQ(three.err, "Ligne 1 : attendu : VALEUR.\n");
}

TEST(UnitsBatch, ManyLinesOfAFewPairsAllConverted) {
  // A batch names a few units many times: each line gives its own pair's result.
  std::string input, expected;
  for (int i = 1; i <= 3000; ++i) {
    input += i % 2 ? std::to_string(i * 36) + " km/h m/s\n" : std::to_string(i * 10) + " m/s km/h\n";
    expected += std::to_string(i % 2 ? i * 10 : i * 36) + "\n";
  }
  const CliRun run = runQzCli("units --batch", input);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out == expected) << "the first results: " << run.out.substr(0, 80);
}

TEST(UnitsBatch, EndlesslyDifferentSpellingsDoNotStopTheRun) {
  // More spellings than are remembered: the oldest are forgotten, the
  // results stay right.
  std::string input = "1 km m\n";
  for (int i = 0; i < 5000; ++i) input += "1 u" + std::to_string(i) + " m\n";
  input += "2 km m\n1 km cm\n";
  const CliRun run = runQzCli("units --batch", input);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "1000\n" + std::string(5000, '\n') + "2000\n100000\n");
}

TEST(UnitsBatch, OneJsonObjectPerLine) {
  const CliRun run = runQzCli("units --batch --json", "36 km/h m/s\nx km/h m/s\n\n1 h s\n");
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 4u) << run.out;
  const nlohmann::json first = nlohmann::json::parse(lines[0]);
  EXPECT_EQ(first["line"], 1);
  EXPECT_EQ(first["value"], 36.0);
  EXPECT_EQ(first["result"], 10.0);
  EXPECT_EQ(first["resultText"], "10");
  EXPECT_EQ(first["from"], "km/h");
  EXPECT_EQ(first["to"], "m/s");
  const nlohmann::json error = nlohmann::json::parse(lines[1]);
  EXPECT_EQ(error["line"], 2);
  EXPECT_EQ(error["input"], "x km/h m/s");
  EXPECT_EQ(error["error"], "Valeur incorrecte !");
  EXPECT_EQ(lines[2], "{\"line\":3}") << "a blank line asks nothing, and keeps its place";
  EXPECT_EQ(nlohmann::json::parse(lines[3])["result"], 3600.0);
}

TEST(UnitsBatch, HostileLinesAreRefusedAndTheRunGoesOn) {
  const std::string input = "1 km m\n" + std::string(5000, '9') + " km m\n" + std::string("2\0 km m\n", 8) +
                            "3 \xff\xfe m\n" + "nan km m\n" + "inf km m\n" + "1E999 km m\n" + "-1E999 km m\n" +
                            "0x10 km m\n" + "4 km m\n";
  const CliRun run = runQzCli("units --batch", input);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "1000\n\n\n\n\n\n\n\n\n4000\n") << "later results intact";
  const std::vector<std::string> errors = linesOf(run.err);
  ASSERT_EQ(errors.size(), 8u) << run.err;
  EXPECT_EQ(errors[0], "Ligne 2 : ligne trop longue (plus de 4096 octets).");
  EXPECT_EQ(errors[1], "Ligne 3 : caractères de contrôle (données binaires ?) refusés.");
  EXPECT_EQ(errors[2], "Ligne 4 : texte qui n'est pas en UTF-8.");
  EXPECT_EQ(errors[3], "Ligne 5 : Valeur incorrecte !");
  EXPECT_EQ(errors[4], "Ligne 6 : Valeur incorrecte !");
  EXPECT_EQ(errors[5], "Ligne 7 : Valeur maximale = 1e+300 !");
  EXPECT_EQ(errors[6], "Ligne 8 : Valeur minimale = -1e+300 !");
  EXPECT_EQ(errors[7], "Ligne 9 : Valeur incorrecte !");
}

TEST(UnitsBatch, UsageErrors) {
  struct Case {
    const char* arguments;
    const char* err;
  };
  const Case cases[] = {
      {"units --batch km/h", "Attendu : qz-cli units --batch"},
      {"units --batch nope m/s", "Unité inconnue : \"nope\""},
      {"units --batch --doc x.qz", "--doc ne s'emploie pas avec --batch"},
      {"units --batch --list", "ne s'emploie pas avec"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const CliRun run = runQzCli(c.arguments, "1\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(contains(run.err, c.err)) << run.err;
  }
}

TEST(UnitsBatch, IncoherentPairOnTheCommandLineIsACalculationError) {
  const CliRun run = runQzCli("units --batch kg m", "1\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(contains(run.err, "incohérentes")) << run.err;
}

}  // namespace
