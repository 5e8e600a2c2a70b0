// qz-cli attacked: files that are not what they should be, inputs without end,
// bytes that are not UTF-8, values the fields cannot hold, disks that fill up
// and outputs that cannot be written. Each refusal is a French message and a
// failure exit code, and no file is damaged.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "cli/cli_runner.h"
#include "cli/doc_files.h"
#include "support/small_disk.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using qz::testing::CliRun;
using qz::testing::fileBytes;
using qz::testing::runQzCli;
using qz::testing::runQzCliFrom;
using qz::testing::writeBytes;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

mode_t modeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

// A valid UTF-8 text: what every JSON output must be.
bool isUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t more = 0;
    if (lead < 0x80) more = 0;
    else if ((lead & 0xE0) == 0xC0) more = 1;
    else if ((lead & 0xF0) == 0xE0) more = 2;
    else if ((lead & 0xF8) == 0xF0) more = 3;
    else return false;
    if (i + more >= text.size() && more > 0) return false;
    for (std::size_t k = 1; k <= more; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += more + 1;
  }
  return true;
}

const char* const kTwoSections = "QZ_01\r\n<000>\r\n1\r\n1|0|12.5|0|0|0|2\r\n<EOB>\r\n<EOF>\r\n";

TEST(CliJson, BytesThatAreNotUtf8AreReplacedNeverAnAbort) {
  CliRun eval = runQzCli("eval --json y=x --x \"$(printf '\\377')\"");
  EXPECT_EQ(eval.status, 1) << "a value that is not a number, not an abort: " << eval.err;
  EXPECT_TRUE(isUtf8(eval.out));
  EXPECT_TRUE(contains(eval.out, "\xEF\xBF\xBD")) << eval.out;

  qz::testing::TempFolder folder;
  const std::string named = folder.file("essai\xff.qz");
  writeBytes(named, kTwoSections);
  CliRun doc = runQzCli("doc --json '" + named + "'");
  EXPECT_EQ(doc.status, 0) << doc.err;
  EXPECT_TRUE(isUtf8(doc.out));
  EXPECT_TRUE(contains(doc.out, "essai\xEF\xBF\xBD.qz")) << doc.out;
}

TEST(CliInput, OnlyRegularFilesAreRead) {
  qz::testing::TempFolder folder;
  ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);
  struct Case {
    const char* name;
    std::string arguments;
  };
  const Case cases[] = {
      {"doc on a folder", "doc '" + folder.path().string() + "'"},
      {"doc on an endless device", "doc /dev/zero"},
      {"doc on a FIFO (would hang)", "doc '" + folder.file("pipe") + "'"},
      {"stats on an endless device", "stats /dev/zero"},
      {"stats on a FIFO (would hang)", "stats '" + folder.file("pipe") + "'"},
      {"tape file that is a device", "tape --tape /dev/zero 1 +"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = runQzCli(c.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.err, "Impossible d'ouvrir le fichier")) << run.err;
    EXPECT_TRUE(contains(run.err, "Fichier invalide.")) << run.err;
  }
}

TEST(CliInput, EndlessStandardInputEndsWithAMessage) {
  CliRun tape = runQzCliFrom("tape", "/dev/zero");
  EXPECT_EQ(tape.status, 1);
  EXPECT_TRUE(contains(tape.err, "L'entrée standard ne peut pas être lue")) << tape.err;
  // The streams read line by line: an endless first line is refused as too long.
  CliRun stats = runQzCliFrom("stats -", "/dev/zero");
  EXPECT_EQ(stats.status, 1);
  EXPECT_EQ(stats.err, "Ligne 1 : ligne trop longue (plus de 4096 octets).\n");
}

TEST(CliOutput, OutputThatCannotBeWrittenFails) {
  for (const char* arguments : {"tape 1 + 2 =", "eval y=2*x --x 3", "geo --list"}) {
    SCOPED_TRACE(arguments);
    CliRun run = runQzCli(std::string(arguments) + " >/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.err, "Impossible d'écrire la sortie")) << run.err;
  }
}

TEST(CliValues, AnXLongerThanTheFieldIsRefusedNeverCut) {
  const std::string thirty = "123456789012345678901234567890";
  CliRun run = runQzCli("eval y=x --x " + thirty);
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(contains(run.err, "25 caractères au plus")) << run.err;
  const std::string twentyFive = thirty.substr(0, 25);
  CliRun fits = runQzCli("eval y=x --x " + twentyFive);
  EXPECT_EQ(fits.status, 0) << fits.err;
}

TEST(CliValues, AWidthOutOfRangeIsRefusedNeverClamped) {
  qz::testing::TempFolder folder;
  struct Case {
    const char* name;
    std::string arguments;
  };
  const Case cases[] = {
      {"figure too narrow", "geo 0 L=2 --width 50 --png '" + folder.file("a.png") + "'"},
      {"figure too wide", "geo 0 L=2 --width 9000 --png '" + folder.file("a.png") + "'"},
      {"diagram too narrow", "stats --mode 2 --width 150 --plot '" + folder.file("a.png") + "' -"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = runQzCli(c.arguments, "1 2\n2 4\n3 7\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.err, "refusée : un entier de")) << run.err;
    EXPECT_FALSE(fs::exists(folder.file("a.png")));
  }
}

TEST(CliCommandLine, ErrorsAreInFrench) {
  struct Case {
    const char* name;
    const char* arguments;
    const char* french;
  };
  const Case cases[] = {
      {"value out of range", "doc x.qz --section 5", "--section : valeur « 5 » refusée : un entier de 0 à 4 est attendu"},
      {"unexpected argument", "eval y=x --x 1 --nope", "Argument inattendu : --nope"},
      {"missing argument", "doc", "FILE est obligatoire"},
      {"not one of the choices", "geo 0 L=2 --incline haut", "valeur « haut » refusée : droite, gauche attendu"},
      {"not a number", "stats --mode deux -", "--mode"},
      {"options that exclude each other", "eval y=x --deg --rad --x 1", "ne s'emploie pas avec"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = runQzCli(c.arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.err, c.french)) << run.err;
    EXPECT_TRUE(contains(run.err, "Pour en savoir plus : --help.")) << run.err;
    for (const char* english : {"Run with", "not in range", "was not expected", "is required", "excludes",
                                "Could not convert", "not an allowed value"})
      EXPECT_FALSE(contains(run.err, english)) << run.err;
  }
}

TEST(CliCommandLine, HelpIsInFrench) {
  CliRun run = runQzCli("--help");
  EXPECT_EQ(run.status, 0);
  for (const char* french : {"Utilisation:", "affiche cette aide", "affiche la version", "Commandes:"})
    EXPECT_TRUE(contains(run.out, french)) << french;
  for (const char* english : {"Usage:", "Subcommands", "Print this help", "Display program version"})
    EXPECT_FALSE(contains(run.out, english)) << english;
  CliRun doc = runQzCli("doc --help");
  EXPECT_TRUE(contains(doc.out, "--section ENTIER de 0 à 4")) << doc.out;
}

TEST(CliTapeFile, AFileThatIsNotATapeIsLeftAlone) {
  qz::testing::TempFolder folder;
  const std::string notes = folder.file("notes.txt");
  writeBytes(notes, "Liste de courses\npain\n");
  CliRun run = runQzCli("tape --tape '" + notes + "' 1 + 2 =");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.err, "n'est pas un ruban de qz-cli : il est laissé tel quel")) << run.err;
  EXPECT_EQ(fileBytes(notes), "Liste de courses\npain\n");
}

TEST(CliTapeFile, KeepsItsModeAndFollowsNoPlantedLink) {
  qz::testing::TempFolder folder;
  const std::string tape = folder.file("ruban.txt");
  ASSERT_EQ(runQzCli("tape --tape '" + tape + "' 2 + 3 =").status, 0);
  ::chmod(tape.c_str(), 0600);
  // A link where a writer with a fixed temporary name would write.
  writeBytes(folder.file("victim"), "other file");
  fs::create_symlink(folder.file("victim"), tape + ".tmp");
  CliRun run = runQzCli("tape --tape '" + tape + "' '*' 4 =");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(modeOf(tape), 0600u) << "a private tape stays private";
  EXPECT_EQ(fileBytes(folder.file("victim")), "other file");
  EXPECT_TRUE(fs::is_symlink(tape + ".tmp"));
  int entries = 0;
  for (const auto& e : fs::directory_iterator(folder.path())) (void)e, ++entries;
  EXPECT_EQ(entries, 3) << "the tape, the victim and the link: no temporary left";
}

TEST(CliTapeFile, AReadOnlyTapeIsRefused) {
  qz::testing::TempFolder folder;
  const std::string tape = folder.file("ruban.txt");
  ASSERT_EQ(runQzCli("tape --tape '" + tape + "' 2 + 3 =").status, 0);
  const std::string before = fileBytes(tape);
  ::chmod(tape.c_str(), 0444);
  CliRun run = runQzCli("tape --tape '" + tape + "' '*' 4 =");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.err, "Accès refusé.")) << run.err;
  EXPECT_EQ(fileBytes(tape), before);
}

class CliFullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(m_folder.file("disk"));
    m_disk = std::make_unique<qz::testing::SmallDisk>(m_folder.file("disk"), 256);
    if (!m_disk->skipReason().empty()) GTEST_SKIP() << m_disk->skipReason();
  }
  void TearDown() override { m_disk.reset(); }
  std::string onDisk(const std::string& name) const { return m_folder.file("disk/" + name); }

  qz::testing::TempFolder m_folder;
  std::unique_ptr<qz::testing::SmallDisk> m_disk;
};

TEST_F(CliFullDisk, ADocumentKeepsItsOldContent) {
  const std::string doc = onDisk("calculs.qz");
  ASSERT_EQ(runQzCli("tape --doc '" + doc + "' 2 + 3 =").status, 0);
  const std::string before = fileBytes(doc);
  qz::testing::fillDisk(m_folder.file("disk"));
  CliRun run = runQzCli("tape --doc '" + doc + "' '*' 4 =");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.err, "Impossible d'enregistrer le fichier " + doc + " !")) << run.err;
  EXPECT_TRUE(contains(run.err, "Disque plein.")) << run.err;
  EXPECT_EQ(fileBytes(doc), before);
  int entries = 0;
  for (const auto& e : fs::directory_iterator(m_folder.file("disk"))) (void)e, ++entries;
  EXPECT_EQ(entries, 2) << "the document and the filler, no temporary";
}

TEST_F(CliFullDisk, APictureThatCannotBeWrittenIsAnErrorAndLeavesNoFile) {
#ifndef QZ_CLI_CAN_PLOT
  GTEST_SKIP() << "this qz-cli draws no picture (built without Qt)";
#endif
  qz::testing::fillDisk(m_folder.file("disk"));
  const std::string png = onDisk("figure.png");
  CliRun run = runQzCli("geo 22 L1=14 L2=15 L3=13 --png '" + png + "'", {}, "QT_QPA_PLATFORM=offscreen");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.err, "Disque plein.")) << run.err;
  EXPECT_FALSE(fs::exists(png)) << "no partial picture";
}

}  // namespace
