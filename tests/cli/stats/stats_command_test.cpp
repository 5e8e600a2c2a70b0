// Runs qz-cli stats as a user would: values on standard input or in a file,
// plain and JSON output, messages and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/cli_runner.h"
#include "cli/doc_files.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

using qz::testing::CliRun;

// Feeds `input` on standard input.
CliRun runStats(const std::string& arguments, const std::string& input) {
  return qz::testing::runQzCli("stats " + arguments, input);
}

TEST(StatsCommand, ModeZeroPrintsTheResultsList) {
  CliRun run = runStats("", "2\n4\n4\n4\n5\n5\n7\n9\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "n ...... = 8 résultats\n\nΣx ..... = 40\nΣx² .... = 232\n\nx̄ ...... = 5\n\nvar(x) . = 4\n\n"
            "σx ..... = 2\nsx ..... = 2.13808994\n"
            // Then, after a blank line, the descriptive statistics; t(0.975; 7) = 2.36462425.
            "\nmin .... = 2\nmax .... = 9\nétendue = 7\nmédiane = 4.5\nQ1 ..... = 4 (inclusifs)\n"
            "Q3 ..... = 5.5\nmode ... = 4 (3 fois)\nCV ..... = 0.427617987 (sx / x̄)\n"
            "s(x̄) ... = 0.755928946 (erreur type)\nG1 ..... = 0.818487553 (asymétrie)\n"
            "G2 ..... = 0.940625 (aplatissement)\nx̄ min .. = 3.21251208 (IC 95 %)\nx̄ max .. = 6.78748792\n");
  EXPECT_EQ(run.err, "");
}

// Pairs whose quadratic least-squares fit is, exactly, y = 1/5 + 1303/700 x + 3/140 x².
constexpr const char* kQuadraticPairs = "1 2.1\n2 3.9\n3 6.2\n4 7.8\n5 10.1\n";

TEST(StatsCommand, ChosenFitAndPredictionsInJson) {
  CliRun run = runStats("--json --fit poly2 --predict-x 6 --predict-y 2,5e0", kQuadraticPairs);
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["fit"]["kind"], "poly2");
  EXPECT_NEAR(j["fit"]["coefficients"]["a0"].get<double>(), 0.2, 1e-13);
  EXPECT_NEAR(j["fit"]["coefficients"]["a1"].get<double>(), 1303.0 / 700.0, 1e-13);
  EXPECT_NEAR(j["fit"]["coefficients"]["a2"].get<double>(), 3.0 / 140.0, 1e-14);
  EXPECT_NEAR(j["fit"]["r2"].get<double>(), 0.9974672250284218, 1e-13);
  EXPECT_TRUE(j["fit"]["se"]["a2"].is_number());
  EXPECT_NEAR(j["predict_x"]["y_hat"].get<double>(), 12.14, 1e-12);  // 0.2 + 6·1303/700 + 36·3/140
  // x̂ solves 3/140 x² + 1303/700 x + 1/5 = 2.5 within the data's x.
  const double xHat = j["predict_y"]["x_hat"].get<double>();
  EXPECT_NEAR(3.0 / 140.0 * xHat * xHat + 1303.0 / 700.0 * xHat + 0.2, 2.5, 1e-12);
  // The straight line's uncertainty is there whatever the fit.
  EXPECT_TRUE(j["se_a"].is_number());
  EXPECT_EQ(j["ci95_a"].size(), 2u);
  EXPECT_LT(j["p_a"].get<double>(), 1e-3);
  EXPECT_DOUBLE_EQ(j["r"].get<double>(), std::sqrt(j["line"]["r2"].get<double>()));
}

TEST(StatsCommand, ChosenFitInText) {
  CliRun run = runStats("--fit poly2 --predict-x 6", kQuadraticPairs);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\na2 ..... = 0.0214285714"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\nAjustement : Polynôme de degré 2\ny = 0.0214285714·x² + 1.86142857·x + 0.2"), std::string::npos);
  EXPECT_NE(run.out.find("\nŷ(x = 6) = 12.14\n"), std::string::npos);
}

TEST(StatsCommand, FitsTheDataCannotTakeAreRefused) {
  struct Case {
    const char* name;
    const char* arguments;
    const char* input;
    const char* message;
  };
  const Case cases[] = {
      {"exponential through y = 0", "--fit exp", "1 1\n2 0\n3 4\n", "Ligne 2 : y doit être strictement positif"},
      {"power of a negative x", "--fit power", "-1 1\n2 2\n3 4\n", "Ligne 1 : x doit être strictement positif"},
      {"fit outside mode 2", "--mode 0 --fit poly2", "1\n2\n3\n", "mode 2"},
      {"prediction that is not a number", "--predict-x abc", "1 1\n2 2\n3 4\n", "--predict-x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = runStats(c.arguments, c.input);
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

TEST(StatsCommand, SeparatorsAndDecimalCommas) {
  struct Case {
    const char* name;
    const char* arguments;
    const char* input;
    const char* firstLines;
  };
  const Case cases[] = {
      {"semicolons with decimal commas", "", "1,5;3\n4;12,5\n", "n ...... = 2 résultats\nΣx ..... = 5.5\n"},
      {"tabs", "", "1.5\t3\n4\t12.5\n", "n ...... = 2 résultats\nΣx ..... = 5.5\n"},
      {"blanks", "", "  1,5   3 \n4 12,5\n", "n ...... = 2 résultats\nΣx ..... = 5.5\n"},
      {"comma separated pairs", "--mode 2", "1.5,3\n4,12.5\n", "n ...... = 2 résultats\nΣx ..... = 5.5\n"},
      {"one column with decimal commas", "", "1,5\n4\n", "n ...... = 2 résultats\n\nΣx ..... = 5.5\n"},
      {"comments and blank lines", "", "# x\n\n2\n3\r\n", "n ...... = 2 résultats\n\nΣx ..... = 5\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = runStats(c.arguments, c.input);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, std::string(c.firstLines).size()), c.firstLines);
  }
}

TEST(StatsCommand, JsonForMachines) {
  CliRun run = runStats("--json --mode 2 -", "1 3\n4 12\n");
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["mode"], 2);
  EXPECT_EQ(j["n"], 2);
  EXPECT_DOUBLE_EQ(j["line"]["a"].get<double>(), 3.0);
  EXPECT_EQ(j["line"]["r2"].get<double>(), 1.0);
  EXPECT_EQ(j["lines"].size(), 18u);
  EXPECT_EQ(j["lines"][17], "r²...... = 1 (coef. de corr.)");
}

TEST(StatsCommand, FrequenciesAndAFile) {
  qz::testing::TempFolder folder;
  const std::string path = folder.file("frequencies.txt");
  std::ofstream(path) << "10 1\n20 2\n30 4\n40 2\n50 1\n";
  CliRun run = runStats("--mode 1 " + path, "");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Σnx .... = 300\n"), std::string::npos);
  EXPECT_NE(run.out.find("r²...... = 0.99"), std::string::npos);
}

TEST(StatsCommand, FailuresGoToStandardErrorWithExitOne) {
  struct Case {
    const char* name;
    const char* arguments;
    const char* input;
    const char* err;
  };
  const Case cases[] = {
      {"one row", "", "5\n", "Le calcul demande au moins deux lignes de valeurs.\n"},
      {"not a number", "", "1\nabc\n", "Valeur incorrecte ! (ligne 2 : « abc »)\n"},
      {"ragged", "", "1 2\n3\n", "Ligne 2 : 2 valeurs attendues, 1 trouvée(s).\n"},
      {"overflow", "", "1e300\n1e300\n-1e300\n",
       "ERREUR\n\nLe calcul de la régression a été interrompu !\n\n\"Calcul des sommes impossible\".\n"},
      {"beyond the limit", "", "2e300\n1\n", "Valeur maximale = 1e+300 ! (ligne 1 : « 2e300 »)\n"},
      {"counts beyond the limit", "--mode 1", "1 2e9\n2 2e9\n",
       "ERREUR\n\nLe calcul de la régression a été interrompu !\n\n\"Calcul des sommes impossible\".\n"},
      {"negative count", "--mode 1", "1 2\n# n\n2 -3\n", "ERREUR\n\nLigne 3 : une fréquence n ne peut pas être négative !\n"},
      {"fractional count", "--mode 1", "1 2,5\n2 3\n",
       "ERREUR\n\nLigne 1 : une fréquence n est un nombre entier de répétitions,\nsans décimales !\n"},
      {"no line to plot", "--plot /dev/null", "1\n2\n", "Pas de droite à tracer"},
      {"missing file", "/nonexistent/values.txt", "",
       "ERREUR\n\nImpossible d'ouvrir le fichier /nonexistent/values.txt.\n\nCe fichier n'a pas été localisé."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = runStats(c.arguments, c.input);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, std::string(c.err).size()), c.err);
  }
}

TEST(StatsCommand, BadModeIsAUsageError) { EXPECT_EQ(runStats("--mode 3", "1\n2\n").status, 2); }

#ifdef QZ_CLI_CAN_PLOT
TEST(StatsCommand, PlotWritesAPng) {
  qz::testing::TempFolder folder;
  const std::string path = folder.file("plot.png");
  CliRun run = runStats("--plot " + path + " --width 400", "0 1\n5 12\n10 19\n15 33\n");
  ASSERT_EQ(run.status, 0) << run.err;
  std::ifstream png(path, std::ios::binary);
  char signature[8] = {};
  png.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}
#endif

// Rows come in a few at a time: each run adds its rows to the document's
// table, in the document's mode, and a table not computable yet is kept.
TEST(StatsCommand, DocumentCarriesTheTableOn) {
  const std::string doc = qz::testing::freshPath("stats.qz");
  struct Step {
    const char* name;
    const char* arguments;
    const char* input;
    int status;
    const char* firstLine;  ///< of the output, or of standard error on a failure
  };
  const Step steps[] = {
      {"one pair cannot be computed but is kept", "--mode 2", "1 2\n", 1,
       "Le calcul demande au moins deux lignes de valeurs."},
      {"a second pair in the document's mode", "", "2 4\n", 0, "n ...... = 2 résultats"},
      {"nothing new: the document's table again", "", "", 0, "n ...... = 2 résultats"},
      {"another mode would erase the table", "--mode 0", "3\n", 1,
       "Le document est en mode 2 avec 2 ligne(s)"},
      {"a bad line adds nothing", "", "3 x\n", 1, "Valeur incorrecte !"},
      {"the same mode given is fine", "--mode 2", "3 6.5\n", 0, "n ...... = 3 résultats"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    CliRun run = runStats(std::string(step.arguments) + " --doc '" + doc + "'", step.input);
    EXPECT_EQ(run.status, step.status) << run.err;
    const std::string& text = step.status == 0 ? run.out : run.err;
    EXPECT_EQ(text.substr(0, std::string(step.firstLine).size()), step.firstLine);
  }
  CliRun section = qz::testing::runQzCli("doc '" + doc + "' --section 2");
  EXPECT_NE(section.out.find("\n3\n1|2\n2|4\n3|6.5\n"), std::string::npos) << section.out;
}

}  // namespace
