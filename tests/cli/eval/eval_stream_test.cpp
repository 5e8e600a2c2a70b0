// qz-cli eval without a list to fill: x values from standard input or a
// range of any length, the expression compiled once, every failing value
// reported on its own line and the run going on.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/cli_runner.h"

namespace {

using qz::testing::CliRun;
using qz::testing::linesOf;
using qz::testing::runQzCli;

TEST(EvalStream, OneYPerLineOfStandardInput) {
  const CliRun run = runQzCli("eval 'y=1/x' --stdin", "4\n0\nabc\n\n-2,5\n1e400\n1 2\n3e-1\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "0.25\n\n\n\n-0.4\n\n\n3.33333333333\n");
  EXPECT_EQ(linesOf(run.err), (std::vector<std::string>{"Ligne 2 : Division par zéro !",
                                                         "Ligne 3 : Valeur incorrecte !",
                                                         "Ligne 6 : Valeur maximale = 1e+300 !",
                                                         "Ligne 7 : Valeur incorrecte !"}));
}

TEST(EvalStream, ConstantsAndAnglesAsForAList) {
  const CliRun run = runQzCli("eval 'y=a*sin(x)' --const 'a=2' --stdin", "90\n30\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "2\n1\n");
  EXPECT_EQ(runQzCli("eval 'y=sin(x)' --rad --stdin", "0\n").out, "0\n");
}

TEST(EvalStream, NoLimitOnTheNumberOfValues) {
  std::string input, expected;
  for (int i = 0; i < 5000; ++i) {
    input += std::to_string(i) + "\n";
    expected += std::to_string(i * i) + "\n";
  }
  const CliRun run = runQzCli("eval 'y=x^2' --stdin", input);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out == expected) << run.out.substr(0, 80);
}

TEST(EvalStream, ARangeBeyondTheListLimitWithoutADocument) {
  const CliRun run = runQzCli("eval 'y=2*x' --from 1 --to 5000 --step 1");
  EXPECT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 5000u);
  EXPECT_EQ(lines.front(), "1               2");
  EXPECT_EQ(lines.back(), "5000            10000");
}

TEST(EvalStream, ARangeGoesOnPastAFailingValue) {
  const CliRun run = runQzCli("eval 'y=1/x' --from -1 --to 1 --step 1");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "-1              -1\n1               1\n");
  EXPECT_EQ(run.err, "x = 0 : Division par zéro !\n");
}

TEST(EvalStream, OneJsonObjectPerLine) {
  const CliRun run = runQzCli("eval 'y=1/x' --stdin --json", "4\n0\nx\n\n");
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 4u) << run.out;
  EXPECT_EQ(lines[3], "{\"line\":4}") << "a blank line keeps its place";
  const nlohmann::json first = nlohmann::json::parse(lines[0]);
  EXPECT_EQ(first["line"], 1);
  EXPECT_EQ(first["x"], 4.0);
  EXPECT_EQ(first["y"], 0.25);
  for (std::size_t i = 1; i < 3; ++i) {
    const nlohmann::json error = nlohmann::json::parse(lines[i]);
    EXPECT_EQ(error["line"], i + 1);
    EXPECT_TRUE(error.contains("error")) << lines[i];
  }
  EXPECT_EQ(nlohmann::json::parse(lines[2])["x"], "x") << "the text that was refused";

  const CliRun range = runQzCli("eval 'y=x' --from 0 --to 2 --step 1 --json");
  EXPECT_EQ(linesOf(range.out).size(), 3u);
  EXPECT_EQ(nlohmann::json::parse(linesOf(range.out)[2])["y"], 2.0);
}

TEST(EvalStream, HostileLinesAreRefusedAndTheRunGoesOn) {
  const std::string input = "1\n" + std::string(5000, '1') + "\n" + std::string("2\0\n", 3) + "\xff\n" + "nan\n" +
                            "inf\n" + "12345678901234567890123456\n" + "3\n";
  const CliRun run = runQzCli("eval 'y=x+1' --stdin", input);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "2\n\n\n\n\n\n\n4\n");
  const std::vector<std::string> errors = linesOf(run.err);
  ASSERT_EQ(errors.size(), 6u) << run.err;
  EXPECT_EQ(errors[0], "Ligne 2 : ligne trop longue (plus de 4096 octets).");
  EXPECT_EQ(errors[1], "Ligne 3 : caractères de contrôle (données binaires ?) refusés.");
  EXPECT_EQ(errors[2], "Ligne 4 : texte qui n'est pas en UTF-8.");
  EXPECT_EQ(errors[3], "Ligne 5 : Valeur incorrecte !");
  EXPECT_EQ(errors[4], "Ligne 6 : Valeur incorrecte !");
  EXPECT_EQ(errors[5], "Ligne 7 : 25 caractères au plus pour x.") << "a value longer than the field, never cut";
}

TEST(EvalStream, AFaultyExpressionStopsBeforeAnyValue) {
  const CliRun run = runQzCli("eval 'y=x+' --stdin", "1\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "ERREUR\n\nOpérateur illicite !\n\n[ -> fonction y = f(x) ]\n");
}

TEST(EvalStream, UsageErrors) {
  for (const char* arguments : {"eval y=x --stdin --x 1", "eval y=x --stdin --doc a.qz",
                                "eval y=x --stdin --from 1 --to 2 --step 1", "eval y=x --stdin --check"}) {
    SCOPED_TRACE(arguments);
    EXPECT_EQ(runQzCli(arguments, "1\n").status, 2);
  }
}

}  // namespace
