// Export of the calculation report into an RTF file built around a mask
// document shipped with the program.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "numbers/rtf_line.h"
#include "platform/messenger.h"
#include "report/report_layout.h"

namespace qz {

/// Messages of the export.
inline constexpr int kRtfExportDoneText = 108;  ///< "Enregistrement du fichier d'exportation terminé."
inline constexpr int kRtfMaskMissingText = 109;
inline constexpr int kRtfMaskKeyMissingText = 111;

/// The mask around its insertion key "[@@@---...---@@@]".
struct RtfMask {
  std::string head;  ///< text before the key
  std::string tail;  ///< text after the key
};

enum class RtfMaskStatus { Ok, Unreadable, NoKey };

/// Splits a mask's content: carriage returns, line feeds and tabs are removed
/// first; under 10 bytes is unreadable; no complete key is NoKey.
RtfMaskStatus splitRtfMask(std::string_view content, RtfMask& mask);

/// Path of the mask file "QZ_REPORT.SRC" in `folder`.
std::string rtfMaskPath(const std::string& folder);

/// Reads and splits the mask of `folder`. Without a readable mask, message 109;
/// without its key, message 111 (both under "ERREUR"): an export without head
/// and tail would not be a document a word processor opens.
std::optional<RtfMask> loadRtfMask(const std::string& folder, Messenger& messenger);

/// Number of the font whose font-table group, found at the first "\fN" of
/// `head`, names `face` followed by ";" (the lowest such N); 0 when none does.
int findMaskFont(std::string_view head, std::string_view face);

/// Report font size in half points from its height in screen units.
int reportFontHalfPoints(int fontHeight, int screenDpi);

/// Page size and margins in twips as the mask's page keywords carry them.
struct RtfPageTwips {
  long paperWidth = 0, paperHeight = 0, left = 0, right = 0, top = 0, bottom = 0;
};
RtfPageTwips pageTwips(const PrinterPage& page, const ReportMargins& margins);

/// `head` with the numbers after "\paperw", "\paperh", "\margl", "\margr",
/// "\margt" and "\margb" replaced; a keyword the head lacks is skipped.
std::string setPageKeywords(std::string head, const RtfPageTwips& twips);

/// A picture of the export as PNG bytes: compressed, word processors read
/// it, and a report with a diagram stays well under a megabyte.
struct RtfPicture {
  Size pixels;      ///< the image's size in pixels
  std::string png;  ///< the PNG file's bytes
};

/// Renders the figure (`diagram` false) or the diagram (true) on a white
/// picture of the given size in printer pixels; nothing when it cannot.
using RtfPictureProducer = std::function<std::optional<RtfPicture>(bool diagram, Size pixels)>;

/// The "{\pict\pngblip...}" group of a picture shown at `goal` twips, its bytes
/// in hexadecimal. The goal alone gives the size: the scale stays at 100 %,
/// so every reader shows the picture at the size of its box. Empty when the
/// bytes are not a PNG image or a size is not positive.
std::string rtfPictureGroup(const RtfPicture& picture, Size goal);

/// What the body of the export needs besides the pages.
struct RtfBodySetup {
  RtfFonts fonts;
  PrinterPage page;
  ReportMargins margins;
  PageMetrics metrics;
  int screenDpi = 96;
  RtfPictureProducer pictures;  ///< may be empty: the figure and the diagram are then left out
};

/// The RTF paragraphs of the paginated report (between the mask's head and
/// tail). The diagram's paragraph is centred, and spaced from the top of its
/// page so that its square sits in the middle of the text area.
std::string rtfReportBody(const ReportPages& pages, const RtfBodySetup& setup);

/// Export file: the document's file name with the extension "RTF" in
/// `exportFolder`, or "QZ.RTF" there for a document without a name.
std::string rtfExportPath(const std::string& exportFolder, const std::string& documentPath);
/// The same rule for another extension ("pdf" for the PDF export and for
/// printing without a printer).
std::string reportFilePath(const std::string& folder, const std::string& documentPath, std::string_view extension);

struct RtfExportJob {
  std::string maskFolder;    ///< folder of "QZ_REPORT.SRC"
  std::string exportPath;
  std::string reportFace;    ///< report font face name
  int reportFontHeight = -14;
  RtfBodySetup body;         ///< its fonts are found from the mask
};

/// Writes the export file atomically (message 30804 when it cannot) and, when
/// done, shows "NOTA :" with message 108. False when nothing was written.
bool exportRtfReport(const ReportPages& pages, const RtfExportJob& job, Messenger& messenger);

}  // namespace qz
