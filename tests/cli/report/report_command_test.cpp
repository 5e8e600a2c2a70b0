// qz-cli report over documents made by the calculator commands with --doc:
// the report's text, the PDF file (read back with poppler's tools), the RTF
// export, the statistics options, the failures and the exit codes. The date
// line changes from run to run: only the lines that do not hold it are compared.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "cli/doc_files.h"

namespace {

using namespace qz::testing;

CliRun report(const std::string& doc, const std::string& arguments) {
  return runQzCli("report '" + doc + "' " + arguments);
}

// A tool's standard output and exit code, its messages left out.
CliRun runTool(const std::string& command) { return runShell(command + " 2>/dev/null"); }

// The PDF checks need poppler-utils: without them the test fails, it does not skip.
void requirePoppler() {
  ASSERT_EQ(runTool("command -v pdfinfo && command -v pdftotext").status, 0)
      << "pdfinfo and pdftotext (poppler-utils) are needed: scripts/setup.sh installs them";
}

int pdfPageCount(const std::string& pdf) {
  const std::string info = runTool("pdfinfo '" + pdf + "'").out;
  const std::size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

const std::string kRule(80, '-');

class ReportCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_doc = new std::string(fiveSectionDocument("report.qz")); }
  static void TearDownTestSuite() {
    delete s_doc;
    s_doc = nullptr;
  }
  static const std::string& doc() { return *s_doc; }

 private:
  static std::string* s_doc;
};
std::string* ReportCommand::s_doc = nullptr;

struct TextCase {
  int calculator;
  std::vector<std::string> shows;  ///< pieces of the text, in this order
  const char* pdfShows;            ///< a text pdftotext finds in the PDF file
};

const TextCase kTextCases[] = {
    {0, {" 2\n +\n 3\n =\n 5\n\n" + kRule + "\n"}, "Fichier"},
    {1,
     {"Fonction :\ny=a*x^2\n\nConstante :\na=3\n\n" + kRule + "\n\nx    y\n1    3\n2    12\n\n" + kRule +
      "\n"},
     "Fonction :"},
    {2,
     {"n ........ = 4 (nombre total de résultats)\n\nΣx ....... = 10\n",
      "a ........ = 2.04 (y = a.x + b)\nb ........ = -0.05\nr²........ = 0.997986 (coefficient de "
      "corrélation)\n\n",
      // The line's uncertainty after the described lines: s(a) = sr / √Sxx, t(0.975; 2) = 4.30265273.
      "s(a) ..... = 0.0648074069841 (erreur type)\n",
      "a min .... = 1.76115623343 (IC 95 %)\na max .... = 2.31884376657\n",
      "Ajustement : Linéaire : y = a.x + b\ny = 2.04·x - 0.05   r² = 0.997985611511\n\n" + kRule + "\n"},
     "nombre total de"},
    {3,
     {"Figure :\n[figure]\n\nTriangle quelconque\n\nDonnées :\n\nL1   = 5\nL2   = 6\nL3   = 7\n\n"
      "Valeurs calculées :\n\n",
      "S    = 14.6969384567\nP    = 18\n"},
     "Triangle quelconque"},
    {4,
     {"Unité courante : km/h\nNouvelle unité : m/s\n\n" + kRule + "\n\nkm/h  m/s\n36    10\n\n" + kRule +
      "\n"},
     "Nouvelle unit"},
};

TEST_F(ReportCommand, TextOfEachCalculator) {
  const std::string header =
      kRule + "\n\nFichier ... : " + std::filesystem::absolute(doc()).string() + "\nDate ...... : ";
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(c.calculator);
    CliRun run = report(doc(), "--calc " + std::to_string(c.calculator) + " --text");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.substr(0, header.size()), header);
    // Past the date: an empty line and the header's closing rule.
    const std::size_t afterDate = run.out.find('\n', header.size());
    ASSERT_NE(afterDate, std::string::npos);
    EXPECT_EQ(run.out.substr(afterDate, kRule.size() + 4), "\n\n" + kRule + "\n\n");
    std::size_t from = afterDate;
    for (const std::string& piece : c.shows) {
      const std::size_t at = run.out.find(piece, from);
      EXPECT_NE(at, std::string::npos) << "missing:\n" << piece << "\nin:\n" << run.out;
      if (at != std::string::npos) from = at + piece.size();
    }
  }
}

TEST_F(ReportCommand, PdfOfEachCalculator) {
  requirePoppler();
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(c.calculator);
    const std::string pdf = freshPath("note.pdf");
    CliRun run = report(doc(), "--calc " + std::to_string(c.calculator) + " --pdf '" + pdf + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(fileBytes(pdf).substr(0, 5), "%PDF-");
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_NE(runTool("pdfinfo '" + pdf + "'").out.find("(A4)"), std::string::npos);
    const std::string text = runTool("pdftotext -layout '" + pdf + "' -").out;
    EXPECT_NE(text.find("Fichier ... : " + std::filesystem::absolute(doc()).string()), std::string::npos)
        << text;
    EXPECT_NE(text.find(c.pdfShows), std::string::npos) << text;
  }
}

TEST_F(ReportCommand, RtfOfEachCalculator) {
  for (int calculator = 0; calculator < 5; ++calculator) {
    SCOPED_TRACE(calculator);
    const std::string rtf = freshPath("note.rtf");
    CliRun run = report(doc(), "--calc " + std::to_string(calculator) + " --rtf '" + rtf + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    // The export's "NOTA" box is a window's business: nothing is said on success.
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    const std::string bytes = fileBytes(rtf);
    EXPECT_EQ(bytes.substr(0, 6), "{\\rtf1");
    EXPECT_LT(bytes.size(), 1024u * 1024u);
    EXPECT_NE(bytes.find("Fichier ... :"), std::string::npos);
    const bool figure = calculator == 3;
    EXPECT_EQ(bytes.find("\\pngblip") != std::string::npos, figure);
    EXPECT_EQ(bytes.find("\\picscalex100") != std::string::npos, figure);
  }
}

TEST_F(ReportCommand, StatisticsDataAndLine) {
  CliRun plain = report(doc(), "--calc 2 --text");
  EXPECT_EQ(plain.out.find("X    Y"), std::string::npos);
  CliRun data = report(doc(), "--calc 2 --text --data");
  ASSERT_EQ(data.status, 0) << data.err;
  EXPECT_NE(data.out.find("\nX    Y\n1    2\n2    4.1\n3    5.9\n4    8.2\n\n" + kRule + "\n"),
            std::string::npos)
      << data.out;

  const std::string rtf = freshPath("line.rtf");
  CliRun line = report(doc(), "--calc 2 --rtf '" + rtf + "' --data --line");
  ASSERT_EQ(line.status, 0) << line.err;
  const std::string bytes = fileBytes(rtf);
  EXPECT_NE(bytes.find("\\pngblip"), std::string::npos);
  EXPECT_NE(bytes.find("\\page"), std::string::npos);
  EXPECT_NE(bytes.find("8.2"), std::string::npos);
  EXPECT_LT(bytes.size(), 1024u * 1024u);
  const std::string withoutLine = freshPath("noline.rtf");
  ASSERT_EQ(report(doc(), "--calc 2 --rtf '" + withoutLine + "'").status, 0);
  EXPECT_EQ(fileBytes(withoutLine).find("\\pngblip"), std::string::npos);

  // Mode 0 has no line to export.
  const std::string values = freshPath("values.qz");
  ASSERT_EQ(runOnDocument("stats", values, "1\n2\n4\n").status, 0);
  CliRun refused = report(values, "--calc 2 --rtf '" + freshPath("v.rtf") + "' --line");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("pas de droite"), std::string::npos) << refused.err;
}

TEST_F(ReportCommand, LongTableRunsOnSeveralPages) {
  requirePoppler();
  const std::string path = freshPath("long.qz");
  std::string rows;
  for (int i = 1; i <= 100; ++i) rows += std::to_string(i) + " " + std::to_string(3 * i + 1) + "\n";
  ASSERT_EQ(runOnDocument("stats", path, rows).status, 0);
  const std::string one = freshPath("one.pdf");
  const std::string several = freshPath("several.pdf");
  ASSERT_EQ(report(path, "--calc 2 --pdf '" + one + "'").status, 0);
  ASSERT_EQ(report(path, "--calc 2 --data --pdf '" + several + "'").status, 0);
  EXPECT_EQ(pdfPageCount(one), 1);
  EXPECT_GE(pdfPageCount(several), 2);
  const std::string text = runTool("pdftotext '" + several + "' -").out;
  EXPECT_NE(text.find("301"), std::string::npos);
}

TEST(ReportCommandFailures, ReportTooLong) {
  // 250 tape entries, or 300 results: more lines than a report holds.
  std::string keys = "tape";
  for (int i = 0; i < 125; ++i) keys += " 1 +";
  const std::string tape = freshPath("tape.qz");
  ASSERT_EQ(runOnDocument(keys, tape).status, 0);
  const std::string eval = freshPath("eval.qz");
  ASSERT_EQ(runOnDocument("eval 'y=x' --from 1 --to 300 --step 1", eval).status, 0);
  struct Case {
    std::string doc;
    int calculator;
  };
  for (const Case& c : {Case{tape, 0}, Case{eval, 1}}) {
    for (const std::string& output : {std::string("--text"), "--pdf '" + freshPath("long.pdf") + "'"}) {
      SCOPED_TRACE(std::to_string(c.calculator) + " " + output);
      CliRun run = report(c.doc, "--calc " + std::to_string(c.calculator) + " " + output);
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err, "ERREUR\n\nImpossible de créer la note de calcul !\n");
    }
  }
}

TEST(ReportCommandFailures, ExitCodes) {
  const std::string doc = freshPath("geo.qz");
  ASSERT_EQ(runOnDocument("geo 22 L1=5 L2=6 L3=7", doc).status, 0);
  const std::string oneRow = freshPath("one.qz");
  ASSERT_EQ(runOnDocument("stats", oneRow, "5\n").status, 1);
  const std::string pdf = freshPath("never.pdf");
  struct Case {
    const char* name;
    std::string arguments;
    int status;
    const char* err;
  };
  const Case cases[] = {
      {"the example", "'" + doc + "' --calc 3 --pdf '" + freshPath("note.pdf") + "'", 0, ""},
      {"no such section", "'" + doc + "' --calc 4 --text", 1,
       "Ce document ne contient pas de section <004> (CONVERSION D'UNITÉ)."},
      {"nothing to report", "'" + oneRow + "' --calc 2 --text", 1, "ne contient aucun calcul à présenter"},
      {"missing document", "'" + freshPath("absent.qz") + "' --calc 3 --text", 1,
       "Impossible d'ouvrir le fichier"},
      {"not a calculator", "'" + doc + "' --calc 5 --text", 2, ""},
      {"no output", "'" + doc + "' --calc 3", 2, ""},
      {"two outputs", "'" + doc + "' --calc 3 --text --pdf '" + pdf + "'", 2, ""},
      {"no calculator", "'" + doc + "' --text", 2, ""},
      {"data for another calculator", "'" + doc + "' --calc 3 --text --data", 2, ""},
      {"line without export", "'" + doc + "' --calc 2 --pdf '" + pdf + "' --line", 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CliRun run = runQzCli("report " + c.arguments);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace
