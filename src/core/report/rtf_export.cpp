// Export of the calculation report into an RTF file.
#include "report/rtf_export.h"

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

void putLe(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string rtfPicture(const RtfBitmap& b, int picScale, Size goal) {
  const long long count = static_cast<long long>(b.planes) * b.height * b.widthBytes;
  const int pixelBytes = b.bitsPerPixel / 8;
  if (b.width <= 0 || b.height <= 0 || b.planes != 1 || (b.bitsPerPixel != 24 && b.bitsPerPixel != 32) ||
      b.widthBytes < b.width * pixelBytes || count != static_cast<long long>(b.bytes.size()))
    return {};
  // Written as a device-independent bitmap: word processors refuse a whole
  // document that holds a device bitmap group, but all read this one. Its rows
  // run from the bottom, each padded to four bytes.
  const int stride = (b.width * pixelBytes + 3) / 4 * 4;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(stride) * static_cast<std::uint32_t>(b.height);
  std::string dib;
  dib.reserve(40 + imageSize);
  putLe(dib, 40, 4);  // header size
  putLe(dib, static_cast<std::uint32_t>(b.width), 4);
  putLe(dib, static_cast<std::uint32_t>(b.height), 4);
  putLe(dib, 1, 2);  // planes
  putLe(dib, static_cast<std::uint32_t>(b.bitsPerPixel), 2);
  putLe(dib, 0, 4);  // uncompressed
  putLe(dib, imageSize, 4);
  putLe(dib, 11811, 4);  // 300 dpi in pixels per metre; the goal size rules anyway
  putLe(dib, 11811, 4);
  putLe(dib, 0, 4);
  putLe(dib, 0, 4);
  const std::string padding(static_cast<std::size_t>(stride - b.width * pixelBytes), '\0');
  for (int row = b.height - 1; row >= 0; --row) {
    dib.append(b.bytes, static_cast<std::size_t>(row) * static_cast<std::size_t>(b.widthBytes),
               static_cast<std::size_t>(b.width * pixelBytes));
    dib += padding;
  }
  char words[256];
  std::snprintf(words, sizeof words,
                "{\\pict\\dibitmap0\\picscalex%d \\picscaley%d \\piccropl0\\piccropr0\\piccropt0\\piccropb0"
                "\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d\\bin%zu ",
                picScale, picScale, b.width, b.height, goal.width, goal.height, dib.size());
  return std::string(words) + dib + "}\\par ";
}

std::string rtfReportBody(const ReportPages& pages, const RtfBodySetup& setup) {
  const int dpiX = setup.page.dpiX > 0 ? setup.page.dpiX : 1;
  const int dpiY = setup.page.dpiY > 0 ? setup.page.dpiY : 1;
  const int picScale = static_cast<int>(std::lround(static_cast<double>(setup.screenDpi) / dpiX * 100.0));
  auto picture = [&](bool diagram, const Rect& box) -> std::string {
    if (!setup.pictures || box.isEmpty()) return {};
    const Size pixels{box.width(), box.height()};
    const std::optional<RtfBitmap> bitmap = setup.pictures(diagram, pixels);
    if (!bitmap) return {};
    const Size goal{static_cast<int>(std::lround(pixels.width * kTwipsPerInch / dpiX)),
                    static_cast<int>(std::lround(pixels.height * kTwipsPerInch / dpiY))};
    return rtfPicture(*bitmap, picScale, goal);
  };

  std::string out;
  for (int p = 0; p < pages.pageCount(); ++p) {
    if (p > 0) out += "\\page \\pard ";
    for (const std::string& line : pages.pages[static_cast<std::size_t>(p)]) {
      if (line == kReportRule) {
        out += "\\par \\pard \\widctlpar\\brdrt\\brdrs\\brdrw20\\brsp20 \\par \\pard \\widctlpar ";
      } else if (line == kReportDiagram) {
        out += picture(true, diagramBox(setup.page, setup.margins, setup.metrics));
      } else if (line == kReportFigure) {
        out += picture(false, figureBox(setup.page, setup.margins, setup.metrics, 0));
      } else {
        out += rtfLine(line, setup.fonts) + "\\pard ";
      }
    }
  }
  return out;
}

std::string rtfExportPath(const std::string& exportFolder, const std::string& documentPath) {
  std::string name = "QZ.RTF";
  const std::size_t slash = documentPath.find_last_of('/');
  const std::string base = slash == std::string::npos ? documentPath : documentPath.substr(slash + 1);
  if (!base.empty()) {
    const std::size_t dot = base.rfind('.');
    name = (dot == std::string::npos || dot == 0 ? base : base.substr(0, dot)) + ".RTF";
  }
  std::string path = exportFolder + "/" + name;
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
