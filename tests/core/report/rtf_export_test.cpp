#include "report/rtf_export.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/report/a4_pages.h"
#include "numbers/messages.h"
#include "platform/scripted_messenger.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

std::string dataFolder() {
  const char* env = std::getenv("QZ_DATA_DIR");
  return env != nullptr ? env : ".";
}

// A mask whose font table has the report font as font 2 and Symbol as font 5.
const char* const kMask =
    "{\\rtf1\\ansi\r\n{\\fonttbl{\\f0\\froman Times New Roman;}{\\f12\\fmodern Courier;}"
    "{\\f2\\fmodern\\fprq1 Courier New;}\r\n{\\f5\\ftech\\fcharset2 Symbol;}}\r\n"
    "\\paperw100\\paperh200\\margl1800\\margr1800\\margt1440\\margb1440 \\sectd\t"
    "[@@@---CLE---@@@]\r\n\\par }";

class TempFolder {
 public:
  TempFolder() {
    // A fresh name: the same test of another build may run at the same time.
    std::string pattern = (fs::temp_directory_path() / "qz_rtf_test_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary folder";
    m_path = pattern;
  }
  ~TempFolder() { fs::remove_all(m_path); }
  std::string path() const { return m_path.string(); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(m_path / name, std::ios::binary) << text;
  }

 private:
  fs::path m_path;
};

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(RtfMask, SplitsAroundTheInsertionKey) {
  struct Row {
    const char* name;
    std::string content;
    RtfMaskStatus status;
    std::string head, tail;
  };
  const Row rows[] = {
      {"key in the middle", "{\\rtf1 abc[@@@---x---@@@]def}", RtfMaskStatus::Ok, "{\\rtf1 abc", "def}"},
      {"line ends and tabs removed", "{\\rtf1\r\n\tab[@@@------@@@]\r\n}", RtfMaskStatus::Ok, "{\\rtf1ab", "}"},
      {"too short", "{\\rtf1 }", RtfMaskStatus::Unreadable, "", ""},
      {"short once line ends are gone", "{\\rtf1\r\n\r\n\r\n }", RtfMaskStatus::Unreadable, "", ""},
      {"no key", "{\\rtf1 nothing here}", RtfMaskStatus::NoKey, "", ""},
      {"end marker before the start", "{\\rtf1 ---@@@] [@@@--- }", RtfMaskStatus::NoKey, "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RtfMask mask;
    EXPECT_EQ(splitRtfMask(row.content, mask), row.status);
    EXPECT_EQ(mask.head, row.head);
    EXPECT_EQ(mask.tail, row.tail);
  }
}

TEST(RtfMask, FontNumbersComeFromTheFontTable) {
  RtfMask mask;
  ASSERT_EQ(splitRtfMask(kMask, mask), RtfMaskStatus::Ok);
  EXPECT_EQ(findMaskFont(mask.head, "Courier New"), 2);
  EXPECT_EQ(findMaskFont(mask.head, "Symbol"), 5);
  EXPECT_EQ(findMaskFont(mask.head, "Courier"), 12) << "\\f12 is not \\f1, and the face needs its semicolon";
  EXPECT_EQ(findMaskFont(mask.head, "Lucida Console"), 0);
}

TEST(RtfMask, PageKeywordsCarryPaperAndMarginsInTwips) {
  ReportMargins margins;  // 2.5, 1.5, 2.5, 2.0
  const RtfPageTwips t = pageTwips(testing::a4Page(300), margins);
  EXPECT_EQ(t.paperWidth, 11904);
  EXPECT_EQ(t.paperHeight, 16838);
  EXPECT_EQ(t.left, 1417);
  EXPECT_EQ(t.right, 850);
  EXPECT_EQ(t.bottom, 1134);

  EXPECT_EQ(setPageKeywords("\\paperw1\\paperh2 \\margl1800{\\margr3}\\margt4\\margb5 x", t),
            "\\paperw11904\\paperh16838 \\margl1417{\\margr850}\\margt1417\\margb1134 x");
  EXPECT_EQ(setPageKeywords("\\marglsxn99\\margl1800 \\paperh7", t), "\\marglsxn99\\margl1417 \\paperh16838")
      << "other words starting alike stay; missing keywords are skipped";
}

TEST(RtfMask, ReportFontSizeInHalfPoints) {
  struct Row {
    const char* name;
    int height, dpi, expected;
  };
  const Row rows[] = {
      {"default font, whole points cut", -14, 96, 20},
      {"twelve points", -16, 96, 24},
      {"cell height counts alike", 14, 120, 16},
      {"no screen resolution", -14, 0, 20},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(reportFontHalfPoints(row.height, row.dpi), row.expected);
  }
}

TEST(RtfExportPath, NamedAfterTheDocument) {
  struct Row {
    const char* name;
    std::string folder, document, expected;
  };
  const Row rows[] = {
      {"saved document", "/home/u/export", "/home/u/calc/Poutre.qz", "/home/u/export/Poutre.RTF"},
      {"never saved", "/home/u/export", "", "/home/u/export/QZ.RTF"},
      {"no extension", "/x", "/d/note", "/x/note.RTF"},
      {"doubled separators reduced", "/x//y/", "/d/a.b.qz", "/x/y/a.b.RTF"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(rtfExportPath(row.folder, row.document), row.expected);
  }
}

const std::string kTinyPng = std::string("\x89PNG\r\n\x1a\n", 8) + "rest";

TEST(RtfPicture, PngShownAtItsGoalSizeWithoutScaling) {
  const std::string group = rtfPictureGroup(RtfPicture{Size{2, 3}, kTinyPng}, Size{10, 12});
  // A scale other than 100 would make readers shrink the picture below its box.
  EXPECT_EQ(group,
            "{\\pict\\pngblip\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0"
            "\\picw2\\pich3\\picwgoal10\\pichgoal12\n89504e470d0a1a0a72657374}");
}

TEST(RtfPicture, HexLinesStayShort) {
  const std::string group = rtfPictureGroup(RtfPicture{Size{1, 1}, kTinyPng + std::string(200, 'a')}, Size{1, 1});
  std::size_t longest = 0, start = 0;
  for (std::size_t at = group.find('\n'); at != std::string::npos; at = group.find('\n', start)) {
    longest = std::max(longest, at - start);
    start = at + 1;
  }
  EXPECT_LE(longest, 200u);
  EXPECT_EQ(std::count(group.begin(), group.end(), '\n'), 4);
}

TEST(RtfPicture, RefusesWhatIsNotAPngOrHasNoSize) {
  EXPECT_EQ(rtfPictureGroup(RtfPicture{Size{2, 2}, "BM not a png"}, Size{10, 10}), "");
  EXPECT_EQ(rtfPictureGroup(RtfPicture{Size{0, 2}, kTinyPng}, Size{10, 10}), "");
  EXPECT_EQ(rtfPictureGroup(RtfPicture{Size{2, 2}, kTinyPng}, Size{10, 0}), "");
}

TEST(RtfBody, SmallReportWithTableOverTwoPages) {
  RtfBodySetup setup;
  setup.fonts = RtfFonts{2, 5, 20};
  const ReportPages pages =
      paginate({"<LINE>", "<INI_MEMO>", "\x86x\x86", "1", "2", "<END_MEMO>", "\x8As\x8A", "<END>"}, 3);
  ASSERT_EQ(pages.pageCount(), 2);
  EXPECT_EQ(rtfReportBody(pages, setup),
            "\\par \\pard \\widctlpar\\brdrt\\brdrs\\brdrw20\\brsp20 \\par \\pard \\widctlpar "
            "{\\f2\\fs20\\b x}\\par \\pard "
            "{\\f2\\fs20 1}\\par \\pard "
            "\\page \\pard "
            "{\\f2\\fs20\\b x}\\par \\pard "
            "{\\f2\\fs20 2}\\par \\pard "
            "{\\f5\\fs21 s}\\par \\pard ");
}

TEST(RtfBody, PicturesComeFromTheProducer) {
  RtfBodySetup setup;
  setup.page = testing::a4Page(300);
  setup.metrics = computePageMetrics(setup.page, setup.margins, Size{8, 16}, 96);
  Size asked;
  bool askedDiagram = false;
  setup.pictures = [&](bool diagram, Size pixels) -> std::optional<RtfPicture> {
    asked = pixels;
    askedDiagram = diagram;
    return RtfPicture{pixels, kTinyPng};
  };
  const std::string body = rtfReportBody(paginate({"<GEOMETRIC>", "<END>"}, 50), setup);
  EXPECT_FALSE(askedDiagram);
  EXPECT_EQ(asked, (Size{1004, 1406}));
  EXPECT_EQ(body.rfind("{\\pict\\pngblip\\picscalex100\\picscaley100", 0), 0u) << body.substr(0, 80);
  EXPECT_NE(body.find("\\picw1004\\pich1406\\picwgoal4819\\pichgoal6749\n"), std::string::npos);
  EXPECT_EQ(body.substr(body.size() - 6), "}\\par ");

  setup.pictures = nullptr;
  EXPECT_EQ(rtfReportBody(paginate({"<DIAGRAM>", "<END>"}, 50), setup), "")
      << "without a producer the picture is left out";
}

TEST(RtfBody, DiagramIsCentredOnItsPage) {
  RtfBodySetup setup;
  setup.page = testing::a4Page(300);
  setup.metrics = computePageMetrics(setup.page, setup.margins, Size{8, 16}, 96);
  setup.pictures = [&](bool, Size pixels) -> std::optional<RtfPicture> { return RtfPicture{pixels, kTinyPng}; };
  const std::string body = rtfReportBody(paginate({"<DIAGRAM>", "<END>"}, 50), setup);
  // Portrait: a 17 cm square in a text area 25.2 cm high leaves 4.1 cm above it.
  const Rect box = diagramBox(setup.page, setup.margins, setup.metrics);
  EXPECT_NEAR((box.top - setup.metrics.textRect.top) / (300 / 2.54), 4.1, 0.01);
  EXPECT_EQ(body.rfind("\\pard \\qc\\sb2323 {\\pict\\pngblip", 0), 0u) << body.substr(0, 60);
  EXPECT_NE(body.find("\\picwgoal9638\\pichgoal9638"), std::string::npos);
}

RtfExportJob jobFor(const std::string& maskFolder, const std::string& exportPath) {
  RtfExportJob job;
  job.maskFolder = maskFolder;
  job.exportPath = exportPath;
  job.reportFace = "Courier New";
  job.reportFontHeight = -14;
  job.body.page = testing::a4Page(300);
  return job;
}

TEST(RtfExport, WritesHeadReportAndTail) {
  TempFolder folder;
  folder.write("QZ_REPORT.SRC", kMask);
  ScriptedMessenger messenger;
  const std::string out = folder.path() + "/QZ.RTF";
  ASSERT_TRUE(exportRtfReport(paginate({"ab", "\x81"
                                                "\xE1", "<END>"}, 10),
                              jobFor(folder.path(), out), messenger));
  EXPECT_EQ(readFile(out),
            "{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times New Roman;}{\\f12\\fmodern Courier;}"
            "{\\f2\\fmodern\\fprq1 Courier New;}{\\f5\\ftech\\fcharset2 Symbol;}}"
            "\\paperw11904\\paperh16838\\margl1417\\margr850\\margt1417\\margb1134 \\sectd"
            "{\\f2\\fs20 ab}\\par \\pard "
            "{\\f2\\fs20 \\'e1}\\par \\pard "
            "\\par }");
  ASSERT_EQ(messenger.boxes().size(), 1u);
  EXPECT_NE(messenger.boxes()[0].text.find(LoadMessageText(108)), std::string::npos);
  EXPECT_EQ(messenger.boxes()[0].style, MessageStyle::Information);
}

TEST(RtfExport, MissingMaskOrKeyStopsWithItsMessage) {
  struct Row {
    const char* name;
    const char* mask;  // nullptr: no mask file
    int message;
  };
  const Row rows[] = {
      {"no mask", nullptr, 109},
      {"mask too short", "{}", 109},
      {"mask without key", "{\\rtf1\\ansi no key in this mask}", 111},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempFolder folder;
    if (row.mask != nullptr) folder.write("QZ_REPORT.SRC", row.mask);
    ScriptedMessenger messenger;
    const std::string out = folder.path() + "/QZ.RTF";
    EXPECT_FALSE(exportRtfReport(paginate({"a", "<END>"}, 10), jobFor(folder.path(), out), messenger));
    EXPECT_FALSE(fs::exists(out));
    ASSERT_EQ(messenger.boxes().size(), 1u);
    EXPECT_NE(messenger.boxes()[0].text.find(LoadMessageText(row.message)), std::string::npos)
        << messenger.boxes()[0].text;
    EXPECT_EQ(messenger.boxes()[0].style, MessageStyle::Error);
  }
}

TEST(RtfExport, UnwritableExportFileShowsTheSaveMessage) {
  TempFolder folder;
  folder.write("QZ_REPORT.SRC", kMask);
  ScriptedMessenger messenger;
  const std::string out = folder.path() + "/missing/sub/QZ.RTF";
  EXPECT_FALSE(exportRtfReport(paginate({"a", "<END>"}, 10), jobFor(folder.path(), out), messenger));
  EXPECT_FALSE(fs::exists(out));
  ASSERT_EQ(messenger.boxes().size(), 1u);
  EXPECT_NE(messenger.boxes()[0].text.find("Impossible d'enregistrer le fichier"), std::string::npos)
      << messenger.boxes()[0].text;
}

TEST(RtfExport, ShippedMaskLoadsWithItsKeyFontsAndColours) {
  ScriptedMessenger messenger;
  const std::optional<RtfMask> mask = loadRtfMask(dataFolder(), messenger);
  ASSERT_TRUE(mask.has_value());
  EXPECT_TRUE(messenger.boxes().empty());
  const std::string raw = readFile(rtfMaskPath(dataFolder()));
  EXPECT_NE(raw.find("[@@@---"), std::string::npos);
  EXPECT_EQ(mask->head.rfind("{\\rtf1", 0), 0u);
  EXPECT_EQ(findMaskFont(mask->head, "Courier New"), 0);
  EXPECT_EQ(findMaskFont(mask->head, "Symbol"), 1);
  for (const char* word : {"\\paperw", "\\paperh", "\\margl", "\\margr", "\\margt", "\\margb"})
    EXPECT_NE(mask->head.find(word), std::string::npos) << word;
  // Colours 9, 11 and 13 are the blue, green and red of the markup.
  const std::size_t table = mask->head.find("{\\colortbl;");
  ASSERT_NE(table, std::string::npos);
  std::vector<std::string> colours;
  std::string entry;
  for (std::size_t i = table + 11; i < mask->head.size() && mask->head[i] != '}'; ++i) {
    if (mask->head[i] == ';') {
      colours.push_back(entry);
      entry.clear();
    } else {
      entry += mask->head[i];
    }
  }
  ASSERT_GE(colours.size(), 13u);
  EXPECT_EQ(colours[8], "\\red0\\green0\\blue255");
  EXPECT_EQ(colours[10], "\\red0\\green128\\blue0");
  EXPECT_EQ(colours[12], "\\red255\\green0\\blue0");
  // Braces balance over head and tail, so the result is one document.
  int depth = 0;
  for (char c : mask->head + mask->tail) depth += c == '{' ? 1 : c == '}' ? -1 : 0;
  EXPECT_EQ(depth, 0);
}

}  // namespace
}  // namespace qz
