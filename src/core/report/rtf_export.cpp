// Export of the calculation report into an RTF file.
#include "report/rtf_export.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "files/file_access.h"
#include "numbers/messages.h"
#include "report/report_lines.h"

namespace qz {

namespace {

constexpr std::string_view kKeyStart = "[@@@---";
constexpr std::string_view kKeyEnd = "---@@@]";
constexpr int kMaxFontNumber = 9998;
constexpr double kTwipsPerInch = 1440.0;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

long roundToLong(double v) { return std::lround(v); }

}  // namespace

RtfMaskStatus splitRtfMask(std::string_view content, RtfMask& mask) {
  std::string text;
  text.reserve(content.size());
  for (char c : content)
    if (c != '\r' && c != '\n' && c != '\t') text += c;
  if (text.size() < 10) return RtfMaskStatus::Unreadable;
  const std::size_t start = text.find(kKeyStart);
  if (start == std::string::npos) return RtfMaskStatus::NoKey;
  const std::size_t end = text.find(kKeyEnd, start + kKeyStart.size());
  if (end == std::string::npos) return RtfMaskStatus::NoKey;
  mask.head = text.substr(0, start);
  mask.tail = text.substr(end + kKeyEnd.size());
  return RtfMaskStatus::Ok;
}

std::string rtfMaskPath(const std::string& folder) {
  if (folder.empty()) return "QZ_REPORT.SRC";
  return folder.back() == '/' ? folder + "QZ_REPORT.SRC" : folder + "/QZ_REPORT.SRC";
}

std::optional<RtfMask> loadRtfMask(const std::string& folder, Messenger& messenger) {
  // Read without the generic file message: the export has its own texts.
  const std::optional<std::string> content = ReadWholeFile(rtfMaskPath(folder), messenger, 0);
  RtfMask mask;
  const RtfMaskStatus status =
      content ? splitRtfMask(*content, mask) : RtfMaskStatus::Unreadable;
  if (status == RtfMaskStatus::Ok) return mask;
  ShowMessage(messenger, kCaptionError,
              status == RtfMaskStatus::NoKey ? kRtfMaskKeyMissingText : kRtfMaskMissingText, {},
              MessageStyle::Error);
  return std::nullopt;
}

int findMaskFont(std::string_view head, std::string_view face) {
  // First occurrence of each "\fN" control word (a digit must follow "\f", and
  // none may follow N, so "\fs" and "\f12" do not count for "\f1").
  std::map<int, std::size_t> firstAt;
  for (std::size_t i = 0; i + 2 < head.size(); ++i) {
    if (head[i] != '\\' || head[i + 1] != 'f' || !isDigit(head[i + 2])) continue;
    if (i > 0 && head[i - 1] == '\\') continue;  // an escaped backslash
    std::size_t j = i + 2;
    long n = 0;
    while (j < head.size() && isDigit(head[j]) && n <= kMaxFontNumber) n = n * 10 + (head[j++] - '0');
    if (j < head.size() && isDigit(head[j])) continue;
    if (n <= kMaxFontNumber) firstAt.emplace(static_cast<int>(n), i);
  }
  const std::string wanted = std::string(face) + ";";
  for (const auto& [n, at] : firstAt) {
    const std::size_t open = head.rfind('{', at);
    const std::size_t close = head.find('}', at);
    const std::size_t from = open == std::string_view::npos ? 0 : open;
    const std::size_t to = close == std::string_view::npos ? head.size() : close;
    if (head.substr(from, to - from).find(wanted) != std::string_view::npos) return n;
  }
  return 0;
}

int reportFontHalfPoints(int fontHeight, int screenDpi) {
  if (screenDpi <= 0) return 20;
  return std::abs(fontHeight) * 72 / screenDpi * 2;
}

RtfPageTwips pageTwips(const PrinterPage& page, const ReportMargins& margins) {
  RtfPageTwips t;
  const double cmToTwips = kTwipsPerInch / 2.54;
  if (page.dpiX > 0) t.paperWidth = roundToLong(page.paperWidthPx * kTwipsPerInch / page.dpiX);
  if (page.dpiY > 0) t.paperHeight = roundToLong(page.paperHeightPx * kTwipsPerInch / page.dpiY);
  t.left = roundToLong(margins.left * cmToTwips);
  t.right = roundToLong(margins.right * cmToTwips);
  t.top = roundToLong(margins.top * cmToTwips);
  t.bottom = roundToLong(margins.bottom * cmToTwips);
  return t;
}

std::string setPageKeywords(std::string head, const RtfPageTwips& twips) {
  const std::pair<std::string_view, long> keywords[] = {
      {"\\paperw", twips.paperWidth}, {"\\paperh", twips.paperHeight}, {"\\margl", twips.left},
      {"\\margr", twips.right},       {"\\margt", twips.top},          {"\\margb", twips.bottom},
  };
  for (const auto& [word, value] : keywords) {
    // Only the keyword itself, followed by its number: "\marglsxn" is another word.
    std::size_t at = 0;
    for (;;) {
      at = head.find(word, at);
      if (at == std::string::npos) break;
      const std::size_t digits = at + word.size();
      if (digits < head.size() && (isDigit(head[digits]) || head[digits] == '-')) break;
      at = digits;
    }
    if (at == std::string::npos) continue;
    const std::size_t from = at + word.size();
    // The number is its sign and digits only: a closing brace or any other
    // character right after it belongs to the document.
    std::size_t to = from + 1;
    while (to < head.size() && isDigit(head[to])) ++to;
    head.replace(from, to - from, std::to_string(value));
  }
  return head;
}

namespace {

constexpr std::string_view kPngSignature{"\x89PNG\r\n\x1a\n", 8};

// Hexadecimal picture data, broken into lines that readers take and people can page through.
void appendHex(std::string& out, std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out.reserve(out.size() + bytes.size() * 2 + bytes.size() / 64 + 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % 64 == 0) out += '\n';
    const auto byte = static_cast<unsigned char>(bytes[i]);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
  }
}

long twipsOf(int pixels, int dpi) { return std::lround(pixels * kTwipsPerInch / dpi); }

}  // namespace

std::string rtfPictureGroup(const RtfPicture& picture, Size goal) {
  if (picture.pixels.width <= 0 || picture.pixels.height <= 0 || goal.width <= 0 || goal.height <= 0 ||
      picture.png.compare(0, kPngSignature.size(), kPngSignature) != 0)
    return {};
  char words[200];
  std::snprintf(words, sizeof words,
                "{\\pict\\pngblip\\picscalex100\\picscaley100\\piccropl0\\piccropr0\\piccropt0\\piccropb0"
                "\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d",
                picture.pixels.width, picture.pixels.height, goal.width, goal.height);
  std::string group = words;
  appendHex(group, picture.png);
  group += "}";
  return group;
}

std::string rtfReportBody(const ReportPages& pages, const RtfBodySetup& setup) {
  const int dpiX = setup.page.dpiX > 0 ? setup.page.dpiX : 1;
  const int dpiY = setup.page.dpiY > 0 ? setup.page.dpiY : 1;
  auto picture = [&](bool diagram, const Rect& box) -> std::string {
    if (!setup.pictures || box.isEmpty()) return {};
    const Size pixels{box.width(), box.height()};
    const std::optional<RtfPicture> image = setup.pictures(diagram, pixels);
    if (!image) return {};
    const Size goal{static_cast<int>(twipsOf(pixels.width, dpiX)), static_cast<int>(twipsOf(pixels.height, dpiY))};
    return rtfPictureGroup(*image, goal);
  };
  auto diagramParagraph = [&]() -> std::string {
    const Rect box = diagramBox(setup.page, setup.margins, setup.metrics);
    std::string group = picture(true, box);
    if (group.empty()) return {};
    const long spaceBefore = std::max(0L, twipsOf(box.top - setup.metrics.textRect.top, dpiY));
    return "\\pard \\qc\\sb" + std::to_string(spaceBefore) + " " + group + "\\par \\pard ";
  };

  std::string out;
  for (int p = 0; p < pages.pageCount(); ++p) {
    if (p > 0) out += "\\page \\pard ";
    for (const std::string& line : pages.pages[static_cast<std::size_t>(p)]) {
      if (line == kReportRule) {
        out += "\\par \\pard \\widctlpar\\brdrt\\brdrs\\brdrw20\\brsp20 \\par \\pard \\widctlpar ";
      } else if (line == kReportDiagram) {
        out += diagramParagraph();
      } else if (line == kReportFigure) {
        const std::string group = picture(false, figureBox(setup.page, setup.margins, setup.metrics, 0));
        if (!group.empty()) out += group + "\\par ";
      } else {
        out += rtfLine(line, setup.fonts) + "\\pard ";
      }
    }
  }
  return out;
}

std::string rtfExportPath(const std::string& exportFolder, const std::string& documentPath) {
  return reportFilePath(exportFolder, documentPath, "RTF");
}

std::string reportFilePath(const std::string& folder, const std::string& documentPath, std::string_view extension) {
  const std::string suffix = "." + std::string(extension);
  std::string name = "QZ" + suffix;
  const std::size_t slash = documentPath.find_last_of('/');
  const std::string base = slash == std::string::npos ? documentPath : documentPath.substr(slash + 1);
  if (!base.empty()) {
    const std::size_t dot = base.rfind('.');
    name = (dot == std::string::npos || dot == 0 ? base : base.substr(0, dot)) + suffix;
  }
  std::string path = folder + "/" + name;
  std::string reduced;
  for (char c : path)
    if (!(c == '/' && !reduced.empty() && reduced.back() == '/')) reduced += c;
  return reduced;
}

bool exportRtfReport(const ReportPages& pages, const RtfExportJob& job, Messenger& messenger) {
  const std::optional<RtfMask> mask = loadRtfMask(job.maskFolder, messenger);
  if (!mask) return false;
  RtfBodySetup body = job.body;
  body.fonts.textFont = findMaskFont(mask->head, job.reportFace);
  body.fonts.symbolFont = findMaskFont(mask->head, "Symbol");
  body.fonts.sizeHalfPoints = reportFontHalfPoints(job.reportFontHeight, body.screenDpi);
  const std::string text = setPageKeywords(mask->head, pageTwips(body.page, body.margins)) +
                           rtfReportBody(pages, body) + mask->tail;
  if (!WriteFileAtomically(job.exportPath, text, messenger, kCannotSaveFile)) return false;
  ShowMessage(messenger, kCaptionNote, kRtfExportDoneText, {}, MessageStyle::Information);
  return true;
}

}  // namespace qz
