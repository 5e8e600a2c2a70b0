// qz-cli geo --doc: the figure's known data carry on from run to run, each
// figure keeps its own, and the view of the figure stays as the document has it.
#include <gtest/gtest.h>

#include <string>

#include "cli/cli_runner.h"
#include "cli/doc_files.h"

namespace {

using qz::testing::CliRun;

CliRun runGeo(const std::string& arguments, const std::string& doc) {
  return qz::testing::runQzCli("geo " + arguments + " --doc '" + doc + "'");
}

TEST(GeoDocument, KnownDataCarryOn) {
  const std::string doc = qz::testing::freshPath("geo.qz");
  struct Step {
    const char* name;
    const char* arguments;
    int status;
    const char* shows;  ///< in the output (standard error on a failure)
  };
  const Step steps[] = {
      {"two sides of the triangle", "22 L1=5 L2=6", 0, "L1    donnée        5\nL2    donnée        6\n"},
      {"the third side joins them", "22 L3=7", 0,
       "L1    donnée        5\nL2    donnée        6\nL3    donnée        7\n"},
      {"a side changed in place", "22 L1=6", 0, "L1    donnée        6\nL2    donnée        6\n"},
      {"another figure has data of its own", "0 L=2", 0, "L     donnée        2\n"},
      {"a refused value changes nothing", "22 L2=-1", 1, "Valeur minimale = 0"},
      {"the triangle as it was left", "22", 0,
       "L1    donnée        6\nL2    donnée        6\nL3    donnée        7\n"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    CliRun run = runGeo(step.arguments, doc);
    EXPECT_EQ(run.status, step.status) << run.err;
    EXPECT_NE((step.status == 0 ? run.out : run.err).find(step.shows), std::string::npos)
        << run.out << run.err;
  }
  // Figure 22 shown last: dimension, figure, then figure 22's view, rows and orientation.
  CliRun section = qz::testing::runQzCli("doc '" + doc + "' --section 3");
  EXPECT_EQ(section.out.substr(0, 5), "0\n22\n");
  EXPECT_NE(section.out.find("\n22\n0|3|0\n"), std::string::npos) << section.out;
  EXPECT_NE(section.out.find("\n0\n0|1|0\n"), std::string::npos) << section.out;
}

TEST(GeoDocument, ViewKeptUnlessGiven) {
  const std::string doc = qz::testing::freshPath("view.qz");
  EXPECT_EQ(runGeo("22 --sub 2 L1=3 L2=4 L3=5", doc).status, 0);
  EXPECT_EQ(runGeo("22 L1=3", doc).status, 0);
  CliRun section = qz::testing::runQzCli("doc '" + doc + "' --section 3");
  EXPECT_NE(section.out.find("\n22\n2|3|0\n"), std::string::npos) << section.out;
  EXPECT_EQ(runGeo("22 --sub 1", doc).status, 0);
  section = qz::testing::runQzCli("doc '" + doc + "' --section 3");
  EXPECT_NE(section.out.find("\n22\n1|3|0\n"), std::string::npos) << section.out;
}

TEST(GeoDocument, ListTakesNoDocument) {
  const std::string doc = qz::testing::freshPath("list.qz");
  EXPECT_EQ(qz::testing::runQzCli("geo --list --doc '" + doc + "'").status, 2);
}

}  // namespace
