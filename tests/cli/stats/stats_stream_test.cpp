// qz-cli stats on files of any size: the NIST reference sets against means
// and deviations worked out exactly here, a million rows in a bounded
// address space, CSV columns and headers, and the document's limit.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/doc_files.h"
#include "support/temp_folder.h"

namespace {

using qz::testing::CliRun;
using qz::testing::runQzCli;

const std::string kNist = std::string(QZ_NIST_TESTDATA) + "/";

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The exact mean and sample standard deviation of decimal values: every
// value is scaled by 10^d (d its largest number of decimals) to an integer,
// the sums are 128-bit integers, and only the final quotient and root are
// rounded, in long double.
struct Exact {
  long double mean = 0, sd = 0;
};

Exact exactMeanAndDeviation(const std::vector<std::string>& texts) {
  int decimals = 0;
  for (const std::string& t : texts) {
    const std::size_t point = t.find('.');
    if (point != std::string::npos) decimals = std::max(decimals, static_cast<int>(t.size() - point - 1));
  }
  __int128 sum = 0, squares = 0;
  for (const std::string& t : texts) {
    __int128 scaled = 0;
    int seen = -1;  // decimals read after the point
    bool negative = false;
    for (char c : t) {
      if (c == '-') {
        negative = true;
      } else if (c == '.') {
        seen = 0;
      } else {
        scaled = scaled * 10 + (c - '0');
        if (seen >= 0) ++seen;
      }
    }
    for (int k = std::max(seen, 0); k < decimals; ++k) scaled *= 10;
    if (negative) scaled = -scaled;
    sum += scaled;
    squares += scaled * scaled;
  }
  const __int128 n = static_cast<__int128>(texts.size());
  const long double scale = std::pow(10.0L, decimals);
  // n²·variance·10^2d = n·Σv² − (Σv)², exactly.
  const __int128 spread = n * squares - sum * sum;
  Exact e;
  e.mean = static_cast<long double>(sum) / static_cast<long double>(n) / scale;
  e.sd = std::sqrt(static_cast<long double>(spread) / static_cast<long double>(n * (n - 1))) / scale;
  return e;
}

// Correct significant digits of `value` against `reference` (the log relative error).
double digits(long double value, long double reference) {
  const long double error = std::fabs(value - reference);
  if (error == 0) return 99;
  return static_cast<double>(-std::log10(error / std::fabs(reference)));
}

struct NistSet {
  const char* name;
  double minimumDigits;
};

class NistThroughTheCommandLine : public ::testing::TestWithParam<NistSet> {};

TEST_P(NistThroughTheCommandLine, MeanAndDeviationAsCertified) {
  const NistSet set = GetParam();
  const std::string values = kNist + set.name + ".txt";
  std::vector<std::string> texts;
  std::istringstream lines(fileText(values));
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) texts.push_back(line);
  const nlohmann::json info = nlohmann::json::parse(fileText(kNist + set.name + ".json"));
  ASSERT_EQ(texts.size(), info["n"].get<std::size_t>());

  const Exact exact = exactMeanAndDeviation(texts);
  // The exact values are those NIST certifies (to the 15 digits it prints).
  EXPECT_GE(digits(exact.mean, std::stold(info["certified"]["mean"].get<std::string>())), 14);
  EXPECT_GE(digits(exact.sd, std::stold(info["certified"]["sd_sample_n_minus_1"].get<std::string>())), 14);

  const CliRun run = runQzCli("stats --json '" + values + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json results = nlohmann::json::parse(run.out);
  EXPECT_EQ(results["n"], texts.size());
  EXPECT_GE(digits(results["meanX"].get<double>(), exact.mean), set.minimumDigits);
  EXPECT_GE(digits(results["sX"].get<double>(), exact.sd), set.minimumDigits);
}

// NumAcc4's values (10000000.1 ...) are not exact in binary: doubles hold
// its deviation to about 8.3 digits.
INSTANTIATE_TEST_SUITE_P(UnivariateSets, NistThroughTheCommandLine,
                         ::testing::Values(NistSet{"Lew", 9}, NistSet{"Lottery", 9}, NistSet{"Mavro", 9},
                                           NistSet{"Michelso", 9}, NistSet{"NumAcc1", 9}, NistSet{"NumAcc2", 9},
                                           NistSet{"NumAcc3", 9}, NistSet{"NumAcc4", 8}, NistSet{"PiDigits", 9}),
                         [](const ::testing::TestParamInfo<NistSet>& info) { return std::string(info.param.name); });

TEST(StatsStream, AMillionRowsInLessThanAHundredMegabytesOfAddressSpace) {
  qz::testing::TempFolder folder;
  const std::string path = folder.file("million.txt");
  {
    std::ofstream out(path);
    for (int k = 0; k < 1000000; ++k) out << k << ".5\n";
  }
  // The limit covers the program, its libraries and everything it allocates.
  const CliRun run = qz::testing::runShell("ulimit -v 100000 && '" + std::string(QZ_CLI_PATH) + "' stats --json '" +
                                           path + "' 2>&1");
  ASSERT_EQ(run.status, 0) << run.out;
  const nlohmann::json results = nlohmann::json::parse(run.out);
  EXPECT_EQ(results["n"], 1000000);
  EXPECT_EQ(results["meanX"], 500000.0);
  // The sample variance of k + 0.5, k = 0 .. n-1, is n(n+1)/12.
  EXPECT_GE(digits(results["sX"].get<double>(), std::sqrt(1e6L * 1000001.0L / 12.0L)), 12);
}

TEST(StatsStream, PairsOfChosenCsvColumnsAfterAHeader) {
  qz::testing::TempFolder folder;
  const std::string path = folder.file("table.csv");
  std::ofstream(path) << "essai,x,y,note\n1,0,1,a\n2,5,11,b\n3,10,21,c\n";
  const CliRun run = runQzCli("stats --json --columns 2,3 --header '" + path + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json results = nlohmann::json::parse(run.out);
  EXPECT_EQ(results["mode"], 2);
  EXPECT_EQ(results["n"], 3);
  EXPECT_DOUBLE_EQ(results["line"]["a"].get<double>(), 2.0);
  EXPECT_DOUBLE_EQ(results["line"]["b"].get<double>(), 1.0);

  const CliRun header = runQzCli("stats --columns 2,3 '" + path + "'");
  EXPECT_EQ(header.status, 1) << "the names are not numbers";
  EXPECT_EQ(header.err, "Valeur incorrecte ! (ligne 1 : « x »)\n");

  const CliRun frequencies = runQzCli("stats --mode 1 --json --columns 2,3 --header '" + path + "'");
  EXPECT_EQ(frequencies.status, 0) << frequencies.err;
  EXPECT_EQ(nlohmann::json::parse(frequencies.out)["n"], 33) << "the counts of column 3";
}

TEST(StatsStream, DecimalCommas) {
  const CliRun run = runQzCli("stats --json --mode 2 --decimal-comma -", "1,5 2,5\n2,5 4,5\n3,5 6,5\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_DOUBLE_EQ(nlohmann::json::parse(run.out)["sumX"].get<double>(), 7.5);
  // Without it, a lone comma between two expected columns separates them.
  const CliRun pairs = runQzCli("stats --json --mode 2 -", "1,5\n2,7\n");
  ASSERT_EQ(pairs.status, 0) << pairs.err;
  EXPECT_DOUBLE_EQ(nlohmann::json::parse(pairs.out)["sumX"].get<double>(), 3.0);
  EXPECT_EQ(runQzCli("stats --mode 2 --decimal-comma -", "1,5\n2,7\n").status, 1);
}

TEST(StatsStream, HostileLinesAreRefusedWithTheirNumber) {
  struct Case {
    const char* name;
    std::string input;
    const char* err;
  };
  const Case cases[] = {
      {"binary", std::string("1\n2\0\n", 5), "Ligne 2 : caractères de contrôle (données binaires ?) refusés.\n"},
      {"not UTF-8", "1\n\xe9t\xe9\n", "Ligne 2 : texte qui n'est pas en UTF-8.\n"},
      {"too long", "1\n2\n" + std::string(5000, '3') + "\n", "Ligne 3 : ligne trop longue (plus de 4096 octets).\n"},
      {"NaN", "1\nNaN\n", "Valeur incorrecte ! (ligne 2 : « NaN »)\n"},
      {"infinite", "1\n-inf\n", "Valeur incorrecte ! (ligne 2 : « -inf »)\n"},
      {"beyond the doubles", "1\n1e999\n", "Valeur maximale = 1e+300 ! (ligne 2 : « 1e999 »)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CliRun run = runQzCli("stats -", c.input);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.err);
  }
}

TEST(StatsStream, ColumnsThatDoNotFitTheModeAreAUsageError) {
  for (const char* arguments : {"stats --columns 1,2 --mode 0 -", "stats --columns 2 --mode 2 -",
                                "stats --columns 1,2,3 -", "stats --columns 0 -", "stats --columns x -"}) {
    SCOPED_TRACE(arguments);
    EXPECT_EQ(runQzCli(arguments, "1 2\n").status, 2);
  }
}

TEST(StatsStream, ADocumentHoldsWhatAWindowHolds) {
  std::string values;
  for (int i = 0; i < 1001; ++i) values += std::to_string(i) + "\n";
  const std::string doc = qz::testing::freshPath("stats_limit.qz");
  const CliRun run = runQzCli("stats --doc '" + doc + "' -", values);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "ERREUR\n\nLe nombre maximum de coordonnées x,y a été atteint !\n");
  // Without a document there is no such limit.
  const CliRun free = runQzCli("stats --json -", values);
  EXPECT_EQ(free.status, 0) << free.err;
  EXPECT_EQ(nlohmann::json::parse(free.out)["n"], 1001);
}

}  // namespace
