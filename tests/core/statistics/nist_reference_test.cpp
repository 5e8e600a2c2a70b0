// NIST's certified univariate data sets through the engine, in mode 0 from the
// published files and in mode 1 from their value/count tables.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "statistics/stat_engine.h"

namespace qz {
namespace {

const std::string kNistFolder = std::string(QZ_NIST_TESTDATA) + "/";

std::vector<std::string> readLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The values of a NIST .dat file: the numbers after the dashes under "Data: Y".
std::vector<double> datValues(const std::string& path) {
  std::vector<double> values;
  bool inData = false;
  for (const std::string& line : readLines(path)) {
    if (!inData) {
      inData = line.find_first_not_of('-') == std::string::npos && line.size() > 3;
      continue;
    }
    std::istringstream fields(line);
    for (double v; fields >> v;) values.push_back(v);
  }
  return values;
}

std::vector<double> txtValues(const std::string& path) {
  std::vector<double> values;
  for (const std::string& line : readLines(path))
    if (!line.empty()) values.push_back(std::stod(line));
  return values;
}

double relativeError(double actual, double expected) {
  return std::fabs(actual - expected) / (expected != 0 ? std::fabs(expected) : 1.0);
}

class NistUnivariate : public ::testing::TestWithParam<const char*> {};

TEST_P(NistUnivariate, ModeZeroMatchesTheCertifiedValues) {
  const std::string name = GetParam();
  std::vector<double> dat = datValues(kNistFolder + name + ".dat");
  std::vector<double> txt = txtValues(kNistFolder + name + ".txt");
  std::ifstream jsonFile(kNistFolder + name + ".json");
  ASSERT_TRUE(jsonFile) << "missing " << kNistFolder << name << ".json";
  nlohmann::json json = nlohmann::json::parse(jsonFile);
  ASSERT_EQ(dat, txt) << "the .dat and .txt files hold the same values";
  ASSERT_EQ(static_cast<int>(dat.size()), json["n"].get<int>());

  StatTable table;
  for (double v : dat) table.append({v, 0.0});
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(table, StatMode::Values));
  const StatResults& r = engine.results();
  const auto& certified = json["certified"];
  const auto& exact = json["derived_exact_from_data_not_nist_certified"];
  EXPECT_EQ(r.n, json["n"].get<int>());
  EXPECT_LT(relativeError(r.meanX, std::stod(certified["mean"].get<std::string>())), 1e-14);
  EXPECT_LT(relativeError(r.sX, std::stod(certified["sd_sample_n_minus_1"].get<std::string>())), 1e-14);
  EXPECT_LT(relativeError(r.varX, std::stod(exact["variance_population_n"].get<std::string>())), 1e-14);
  EXPECT_LT(relativeError(r.sigmaX, std::stod(exact["sd_population_n"].get<std::string>())), 1e-14);
  EXPECT_EQ(r.sumX, std::stod(exact["sum"].get<std::string>()));
}

TEST_P(NistUnivariate, ModeOneFromTheFrequencyTableMatchesToo) {
  const std::string name = GetParam();
  StatTable table;
  for (const std::string& line : readLines(kNistFolder + "freq/" + name + ".freq.tsv")) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    double value = 0, count = 0;
    ASSERT_TRUE(fields >> value >> count) << line;
    ASSERT_TRUE(table.append({value, count}));
  }
  std::ifstream jsonFile(kNistFolder + name + ".json");
  nlohmann::json json = nlohmann::json::parse(jsonFile);
  StatEngine engine;
  ASSERT_TRUE(engine.computeStatistics(table, StatMode::Frequencies));
  const StatResults& r = engine.results();
  EXPECT_EQ(r.n, json["n"].get<int>());
  EXPECT_LT(relativeError(r.meanX, std::stod(json["certified"]["mean"].get<std::string>())), 1e-14);
  EXPECT_LT(relativeError(r.sX, std::stod(json["certified"]["sd_sample_n_minus_1"].get<std::string>())),
            1e-14);
  EXPECT_TRUE(r.hasLine()) << "many distinct values: a Henry line";
}

INSTANTIATE_TEST_SUITE_P(Sets, NistUnivariate, ::testing::Values("Lew", "Lottery"));

}  // namespace
}  // namespace qz
