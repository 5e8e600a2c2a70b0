// --doc FILE on the five calculator commands: each carries on from its own
// section, writes it back and leaves every other byte of the document alone;
// a document that cannot be read or written stops the command with exit code 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/cli_runner.h"
#include "cli/doc_files.h"

namespace {

using namespace qz::testing;

struct Continuation {
  int calculator;
  const char* command;
  const char* input;
  const char* shows;  ///< in the output: the document's data and the new data together
};

const Continuation kContinuations[] = {
    {0, "tape '*' 4 =", "", " 2\n +\n 3\n =\n 5\n *\n 4\n =\n 20\n"},
    {1, "eval --x 3", "", "1               3\n2               12\n3               27\n"},
    {2, "stats", "5 10.1\n", "n ...... = 5 résultats\n"},
    {3, "geo 22 L1=6", "", "L1    donnée        6\nL2    donnée        6\nL3    donnée        7\n"},
    {4, "units 72", "", "72 km/h = 20 m/s\n"},
};

TEST(DocumentOption, EachCommandCarriesOnAndKeepsTheOtherSections) {
  const std::string base = fiveSectionDocument("five.qz");
  const std::string before = fileBytes(base);
  for (int c = 0; c < 5; ++c) ASSERT_FALSE(sectionBytes(before, c).empty()) << c;
  ASSERT_EQ(before.substr(0, 7), "QZ_01\r\n");

  for (const Continuation& step : kContinuations) {
    SCOPED_TRACE(step.command);
    const std::string path = freshPath("copy.qz");
    std::filesystem::copy_file(base, path);
    CliRun run = runOnDocument(step.command, path, step.input);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(step.shows), std::string::npos) << run.out;
    const std::string after = fileBytes(path);
    EXPECT_NE(sectionBytes(after, step.calculator), sectionBytes(before, step.calculator));
    EXPECT_EQ(withoutSection(after, step.calculator), withoutSection(before, step.calculator));
  }
}

TEST(DocumentOption, NewDocumentHoldsOnlyTheCommandsSection) {
  for (int c = 0; c < 5; ++c) {
    SCOPED_TRACE(kSectionCommands[c]);
    const std::string path = freshPath("new.qz");
    ASSERT_EQ(runOnDocument(kSectionCommands[c], path, c == 2 ? kStatsPairs : "").status, 0);
    const std::string bytes = fileBytes(path);
    const std::string section = sectionBytes(bytes, c);
    ASSERT_FALSE(section.empty());
    EXPECT_EQ(bytes, "QZ_01\r\n" + section + "<EOF>\r\n");
  }
}

TEST(DocumentOption, UnreadableOrUnwritableDocumentStopsTheCommand) {
  const std::string folder = freshPath("folder.qz");
  std::filesystem::create_directory(folder);
  const std::string notQz = freshPath("notes.txt");
  writeBytes(notQz, "Liste des courses\r\n");
  const std::string plainFile = freshPath("plain");
  writeBytes(plainFile, "x");
  struct Case {
    const char* name;
    std::string path;
    const char* message;
  };
  const Case cases[] = {
      {"a folder", folder, "Impossible d'ouvrir le fichier"},
      {"not a QZ document", notQz, "n'est pas un document QZ"},
      {"inside a file", plainFile + "/doc.qz", "Impossible d'enregistrer le fichier"},
  };
  for (const Case& c : cases) {
    for (int calculator = 0; calculator < 5; ++calculator) {
      SCOPED_TRACE(std::string(c.name) + " / " + kSectionCommands[calculator]);
      CliRun run = runOnDocument(kSectionCommands[calculator], c.path, calculator == 2 ? kStatsPairs : "");
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
  }
  EXPECT_EQ(fileBytes(notQz), "Liste des courses\r\n");
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST(DocumentOption, UnchangedDocumentIsNotRewritten) {
  const std::string path = fiveSectionDocument("same.qz");
  const auto written = std::filesystem::last_write_time(path);
  // The figure computed again from the same data, then a refused datum
  // that computes nothing: the section stays as it was, and so does the file.
  EXPECT_EQ(runOnDocument("geo 22", path).status, 0);
  EXPECT_EQ(runOnDocument("geo 22 L1=-1", path).status, 1);
  EXPECT_EQ(std::filesystem::last_write_time(path), written);
}

}  // namespace
