// Runs qz-cli eval as a user would and checks its output, messages and exit code.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_runner.h"
#include "cli/doc_files.h"

namespace {

using qz::testing::CliRun;

CliRun runCli(const std::string& arguments) { return qz::testing::runQzCli("eval " + arguments); }

struct CliCase {
  const char* name;
  const char* arguments;
  int status;
  const char* out;
  const char* err;
};

const CliCase kCases[] = {
    {"SquareOfThree", "'y=x^2' --x 3", 0, "3               9\n", ""},
    {"SeveralValuesNegativeIncluded", "'y=x*2' --x 1 -2.5 1E20", 0,
     "1               2\n-2.5            -5\n1E+020          2E+020\n", ""},
    {"ConstantsWithSemicolons", "'y=a*x+b' --const 'a=2;b=3' --x 1", 0, "1               5\n", ""},
    {"DegreesByDefault", "'y=sin(x)' --x 90", 0, "90              1\n", ""},
    {"Radians", "'y=sin(x)' --rad --x 0", 0, "0               0\n", ""},
    {"Range", "'y=x' --from 0 --to 0.3 --step 0.1", 0,
     "0               0\n0.1             0.1\n0.2             0.2\n0.3             0.3\n", ""},
    {"CheckFault", "'y=x+' --x 1", 1, "", "ERREUR\n\nOpérateur illicite !\n\n[ -> fonction y = f(x) ]\n"},
    {"ConstantFault", "'y=x' --const 'a=1;e1=2' --x 1", 1, "",
     "ERREUR\n\nConstante e ou e# interdite !\n\n[ -> constante 2 ]\n"},
    {"CompileFault", "'y=2x' --x 1", 1, "", "ERREUR\n\nErreur de syntaxe !\n\n[ -> fonction y = f(x) ]\n"},
    {"EvaluationFaultKeepsOtherRows", "'y=1/x' --x 1 0 4", 1, "1               1\n4               0.25\n",
     "ERREUR\n\nDivision par zéro !\n"},
    {"XAboveMaximum", "'y=x' --x 1E301", 1, "", "ERREUR\n\nValeur maximale = 1e+300 !\n"},
    {"CheckOnly", "'y = a*x' --const 'a=1' --check", 0,
     "CONTRÔLE\n\nLa fonction et les constantes sont correctement définies.\n", ""},
    {"CheckOnlyFault", "'y=(x' --check", 1, "",
     "ERREUR\n\nNombre de parenthèses incorrect !\n\n[ -> fonction y = f(x) ]\n"},
};

TEST(EvalCommand, Cases) {
  for (const CliCase& c : kCases) {
    SCOPED_TRACE(c.name);
    CliRun run = runCli(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
  }
}

TEST(EvalCommand, UsageErrors) {
  for (const char* arguments :
       {"'y=x!' --x 1", "'y=x'", "'y=x' --deg --rad --x 1", "'y=x' --from 1 --to 0 --step 1"}) {
    SCOPED_TRACE(arguments);
    EXPECT_EQ(runCli(arguments).status, 2);
  }
}

// The document's results list holds 1000 pairs, as the window's does.
TEST(EvalCommand, RangeIntoADocumentStopsAtTheListLimit) {
  CliRun run = runCli("'y=x' --from 1 --to 2000 --step 1 --doc '" + qz::testing::freshPath("range.qz") + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "ERREUR\n\nLe nombre maximum de coordonnées x,y a été atteint !\n");
  std::size_t lines = 0;
  for (char ch : run.out) lines += ch == '\n';
  EXPECT_EQ(lines, 1000u);
}

TEST(EvalCommand, Json) {
  CliRun run = runCli("'y=1/x' --rad --x 2 0 --json");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("\"angleUnit\": \"radians\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"y\": 0.5"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"message\": \"ERREUR\\n\\nDivision par zéro !\""), std::string::npos) << run.out;
}

// One document through a sequence of runs, as a person would carry on a
// calculation: what is not given comes from the document, the same
// expression typed again keeps the list, any change of it empties the list.
TEST(EvalCommand, DocumentCarriesTheListOn) {
  const std::string doc = qz::testing::freshPath("eval.qz");
  struct Step {
    const char* name;
    std::string arguments;
    int status;
    const char* out;
  };
  const Step steps[] = {
      {"first rows, radians", "'y=a*sin(x)' --const 'a=2' --rad --x 0", 0, "0               0\n"},
      {"same fields typed again with blanks", "'y = a*sin(x)' --const ' a=2 ' --x 1", 0,
       "0               0\n1               1.68294196962\n"},
      {"expression, constants and angles from the document", "--x 2", 0,
       "0               0\n1               1.68294196962\n2               1.81859485365\n"},
      {"new constants empty the list", "--const 'a=1' --x 0", 0, "0               0\n"},
      {"degrees empty the list", "--deg --x 90", 0, "90              1\n"},
      {"a faulty expression changes nothing", "'y=x+' --x 1", 1, ""},
      {"the document is as the last good run left it", "--x 30", 0,
       "90              1\n30              0.5\n"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    CliRun run = runCli(step.arguments + " --doc '" + doc + "'");
    EXPECT_EQ(run.status, step.status) << run.err;
    EXPECT_EQ(run.out, step.out);
  }
}

TEST(EvalCommand, DocumentWithoutScientificSectionNeedsAnExpression) {
  const std::string doc = qz::testing::freshPath("empty.qz");
  CliRun run = runCli("--x 1 --doc '" + doc + "'");
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(std::filesystem::exists(doc));
}

}  // namespace
