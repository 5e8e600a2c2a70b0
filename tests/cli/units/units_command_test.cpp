// Runs qz-cli units as a user would and checks its output, messages and exit code.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/cli_runner.h"
#include "cli/doc_files.h"

namespace {

using qz::testing::CliRun;

CliRun runCli(const std::string& arguments, const std::string& environment = "") {
  return qz::testing::runQzCli("units " + arguments, {}, environment);
}

struct CliCase {
  const char* name;
  const char* arguments;
  int status;
  const char* out;
  const char* err;
};

const CliCase kCases[] = {
    {"KilometresPerHour", "36 km/h m/s", 0, "36 km/h = 10 m/s\n", ""},
    {"CelsiusToFahrenheit", "100 °C °F", 0, "100 °C = 212 °F\n", ""},
    {"NegativeValue", "-40 °C °F", 0, "-40 °C = -40 °F\n", ""},
    {"FrenchDecimalComma", "1,5 km m", 0, "1.5 km = 1500 m\n", ""},
    {"ComposedWithPrefixesAndExponents", "1 'kg/m^3' 'g/cm^3'", 0, "1 kg/m^3 = 0.001 g/cm^3\n", ""},
    {"ProductWithDot", "1 N.m 'lbf.ft'", 0, "1 N*m = 0.737562149277 lbf*ft\n", ""},
    {"MicroPrefix", "1 µS/cm S/m", 0, "1 µS/cm = 0.0001 S/m\n", ""},
    {"HectareToAres", "1 ha a", 0, "1 ha = 100 a\n", ""},
    {"YearIsAn", "1 an j", 0, "1 an = 365 j\n", ""},
    {"JulianYear", "1 aj j", 0, "1 aj = 365.25 j\n", ""},
    {"ElectricityPerYear", "8760 kWh/an W", 0, "8760 kWh/an = 1000 W\n", ""},
    {"FemtolitreNotFootLambert", "1 fL 'µm^3'", 0, "1 fL = 1 µm^3\n", ""},
    {"Incoherent", "1 m s", 1, "",
     "Attention : ces deux unités sont incohérentes !\nUnité courante : m (L)\nNouvelle unité : s (T)\n"},
    {"UnknownUnit", "1 xyz m", 2, "", "Unité inconnue : \"xyz\"\n"},
    {"BadExponent", "1 m^0 m", 2, "", "Exposant incorrect dans \"m^0\" (2 à 9, 1/2, 3/2 ou 5/2)\n"},
    {"BadValue", "abc m km", 1, "", "ERREUR\n\nValeur incorrecte !\n"},
    {"ValueTooLarge", "2e300 m km", 1, "", "ERREUR\n\nValeur maximale = 1e+300 !\n"},
    {"Overflow", "1e300 Ym^9 ym^9", 1, "", "CALCUL IMPOSSIBLE\n\nDépassement de capacité !\n"},
    {"MissingUnit", "1 m", 2, "",
     "Attendu : qz-cli units VALEUR UNITÉ_COURANTE NOUVELLE_UNITÉ (par exemple 36 km/h m/s).\n"},
    {"Info", "--info km/h", 0,
     "Expression symbolique : km/h\n"
     "Unité : kilomètre par heure (Unités hors SI en usage, Cinématique, vitesse)\n"
     "Coefficient SI (équation aux dimensions) : x 0.277778 (LT^-1)\n"
     "Dimension : LT^-1\n",
     ""},
    {"InfoWithOffset", "--info °F", 0,
     "Expression symbolique : °F\n"
     "Unité : degré Fahrenheit (Unités anglo-saxonnes (impériales), Thermique, température)\n"
     "Coefficient SI (équation aux dimensions) : x 0.555556 + 255.372 (K)\n"
     "Dimension : K\n",
     ""},
    {"InfoComposed", "--info 'kN.m/s^2'", 0,
     "Expression symbolique : kN*m/s^2\n"
     "Coefficient SI (équation aux dimensions) : x 1000 (L^2MT^-4)\n"
     "Dimension : L^2MT^-4\n",
     ""},
    {"ListUnknownQuantity", "--list zz", 2, "",
     "Grandeur inconnue : « zz » (qz-cli units --list pour la liste).\n"},
};

TEST(UnitsCommand, Cases) {
  for (const CliCase& c : kCases) {
    SCOPED_TRACE(c.name);
    CliRun run = runCli(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
  }
}

TEST(UnitsCommand, ListOfOneQuantity) {
  CliRun run = runCli("--list 'température'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(
      run.out.rfind("température (Thermique)\n  K             kelvin [Système international (SI)]\n", 0), 0u)
      << run.out;
  EXPECT_NE(run.out.find("  °F            degré Fahrenheit [Unités anglo-saxonnes (impériales)]\n"),
            std::string::npos);
  EXPECT_EQ(run.out.find("\n\n"), std::string::npos) << "one quantity only";
}

TEST(UnitsCommand, ListOfEverything) {
  CliRun run = runCli("--list --json");
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json units = nlohmann::json::parse(run.out);
  ASSERT_TRUE(units.is_array());
  EXPECT_GE(units.size(), 300u);
  EXPECT_EQ(units[0]["symbol"], "1");
  EXPECT_EQ(units[0]["key"], 1);
}

TEST(UnitsCommand, JsonConversion) {
  CliRun run = runCli("--json 36 km/h m/s");
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json out = nlohmann::json::parse(run.out);
  EXPECT_DOUBLE_EQ(out["result"].get<double>(), 10.0);
  EXPECT_EQ(out["resultText"], "10");
  EXPECT_EQ(out["from"]["name"], "kilomètre par heure");
  EXPECT_EQ(out["from"]["dimension"], "LT^-1");
  EXPECT_EQ(out["to"]["name"], "mètre par seconde");
  EXPECT_EQ(out["to"]["coefficient"], 1.0);
}

TEST(UnitsCommand, ComposedUnitHasNoDatabaseName) {
  CliRun run = runCli("--json --info 'g.m'");
  ASSERT_EQ(run.status, 0) << run.err;
  nlohmann::json out = nlohmann::json::parse(run.out);
  EXPECT_FALSE(out.contains("name"));
  EXPECT_DOUBLE_EQ(out["coefficient"].get<double>(), 1e-3);
}

TEST(UnitsCommand, MissingDatabase) {
  CliRun run = runCli("36 km/h m/s", "QZ_DATA_DIR=/nonexistent");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "ERREUR\n\nImpossible de charger la base de données des unités !\n");
}

// The document's conversions list grows run after run; another unit pair
// works the list out again for it, as the window does when asked.
TEST(UnitsCommand, DocumentCarriesTheListOn) {
  const std::string doc = qz::testing::freshPath("units.qz");
  struct Step {
    const char* name;
    const char* arguments;
    int status;
    const char* out;
  };
  const Step steps[] = {
      {"value alone needs the document's units", "72", 2, ""},
      {"first conversion", "36 km/h m/s", 0, "36 km/h = 10 m/s\n"},
      {"value alone: the document's units", "72", 0, "72 km/h = 20 m/s\n"},
      {"another pair recomputes the list", "1 km/h km/s", 0, "1 km/h = 0.000277777777778 km/s\n"},
      {"incoherent units change nothing", "1 m s", 1, ""},
      {"a zero value converts like any other", "0", 0, "0 km/h = 0 km/s\n"},
      {"listing does not take a document", "--list", 2, ""},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    CliRun run = runCli(std::string(step.arguments) + " --doc '" + doc + "'");
    EXPECT_EQ(run.status, step.status) << run.err;
    EXPECT_EQ(run.out, step.out);
  }
  CliRun section = qz::testing::runQzCli("doc '" + doc + "' --section 4");
  const std::string rows = "\n4\n36|0.01\n72|0.02\n1|0.000277777777778\n0|0\n";
  EXPECT_EQ(section.out.substr(section.out.size() - rows.size()), rows);
}

}  // namespace
