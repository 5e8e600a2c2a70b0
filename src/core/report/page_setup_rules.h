// The page setup dialog's rules: margin limits from the printer, the check of
// a margin field, defaults, the report font chosen, the settings written on
// "OK" and the preview of the sheet.
#pragma once

#include <string>

#include "app/font_setting.h"
#include "platform/canvas.h"
#include "platform/messenger.h"
#include "platform/settings_store.h"
#include "report/report_layout.h"

namespace qz {

struct PageSetup;

/// The four margin fields, in the order the dialog shows them.
enum class MarginSide : int { Left = 0, Right = 1, Top = 2, Bottom = 3 };

/// Characters a margin field holds.
inline constexpr int kMarginFieldLength = 25;
/// Point sizes the font chooser accepts for the report font.
inline constexpr int kMinReportFontPoints = 6;
inline constexpr int kMaxReportFontPoints = 36;

/// Smallest margin on `side`: the printer's unprintable border there, rounded
/// up to one decimal so that the margin a field shows is never inside it.
double marginMinimum(const PrinterPage& page, MarginSide side);
/// Largest margin, the same on all four sides: (paper width - 10 cm) / 2.
double marginMaximum(const PrinterPage& page);
/// A margin as its field shows it: "%.1f".
std::string marginText(double centimetres);

/// What leaving a margin field found.
enum class MarginCheck {
  Accepted,      ///< a number within the limits: it becomes the margin
  Unchanged,     ///< the text is the one the field was given: nothing to do
  Empty,         ///< message 250
  NotANumber,    ///< a beep, the previous value back
  BelowMinimum,  ///< message 7 with the minimum
  AboveMaximum,  ///< message 6 with the maximum
};

struct MarginVerdict {
  MarginCheck check = MarginCheck::Accepted;
  double value = 0;  ///< the accepted margin, or the limit the message names
};

/// The dialog's working copy of the page setup and the printer page it is
/// checked against. Nothing here is stored until `storePageSetup`.
class PageSetupRules {
 public:
  explicit PageSetupRules(const PageSetup& start);

  /// Takes the printer's page for the current orientation and raises every
  /// margin below its minimum to it (opening, orientation change, "Appliquer").
  void setPrinterPage(const PrinterPage& page);
  const PrinterPage& printerPage() const { return m_page; }
  /// Raises the margins to the minimums of the current printer page again.
  void applyMinimums();

  /// Typing in a margin field: true when `text` may stand (decimal digits and
  /// one point, no sign or exponent, at most kMarginFieldLength characters; a comma counts as
  /// the point).
  static bool acceptsTyping(const std::string& text);

  /// Leaving margin field `side` with `text`: on acceptance the margin changes.
  MarginVerdict leaveField(MarginSide side, const std::string& text);
  /// Shows what a refused verdict calls for (message 250, 7 or 6, or a beep);
  /// nothing for an accepted one.
  static void reportRefusal(Messenger& messenger, const MarginVerdict& verdict);

  /// The text margin field `side` shows.
  std::string fieldText(MarginSide side) const { return marginText(margin(side)); }
  double margin(MarginSide side) const;
  const ReportMargins& margins() const { return m_margins; }

  int orientation() const { return m_margins.orientation; }
  /// The orientation the next printer page will be read for.
  void setOrientation(int orientation) { m_margins.orientation = orientation == 1 ? 1 : 0; }
  /// Portrait and the margins 2.5, 1.5, 2.5 and 2.0 cm; the caller then reads
  /// the portrait page and gives it to `setPrinterPage`.
  void restoreDefaults();

  const FontDescription& reportFont() const { return m_font; }
  void setReportFont(const FontDescription& font) { m_font = font; }

  /// The page setup as the dialog leaves it.
  PageSetup result() const;

 private:
  double& marginRef(MarginSide side);

  ReportMargins m_margins;
  FontDescription m_font;
  PrinterPage m_page;
};

/// True when the font chooser may keep a size of `points`.
inline bool reportFontSizeAllowed(int points) {
  return points >= kMinReportFontPoints && points <= kMaxReportFontPoints;
}

/// True when the font chooser may keep a size of `points`; otherwise shows
/// under "ERREUR" that the report font takes 6 to 36 points.
bool checkReportFontSize(Messenger& messenger, int points);

/// The face name stored for a face the font chooser offers: the installed
/// metric twin of Courier New ("Liberation Mono") is stored as "Courier New", so
/// that settings and the RTF mask name the font they always named.
std::string storedFaceName(const std::string& installedFace);

/// What the font chooser returned, in the terms of the stored description.
struct ChosenFont {
  std::string face;  ///< as the chooser names it
  int points = 10;
  int weight = 400;
  bool italic = false, underline = false, strikeOut = false;
};

/// The report font after the chooser's "OK": `previous` with the chosen face,
/// style and a character height of `points` at `resolution` (rounded), fixed
/// pitch; the fields the chooser does not set stay as they were.
FontDescription reportFontFromChoice(const FontDescription& previous, const ChosenFont& chosen, int resolution);

/// The font's size in points: its character height (without internal
/// leading) in pixels at `resolution`, times 72, divided by the resolution,
/// rounded to the nearest point.
int fontPointSize(int characterHeightPx, int resolution);
/// String 190 "Police : %s, %d pt." for `face` (code page 1252) and `points`.
std::string fontCaption(const std::string& face, int points);

/// A margin in the settings: hundredths of a centimetre, truncated. A margin
/// that is a whole number of hundredths (2.3) keeps it even when its binary
/// value falls just short (229.99999...).
long long marginHundredths(double centimetres);

/// Writes the page setup: section "Preference" key "ReportFont", section
/// "rMakeUp" keys "lMargin", "rMargin", "tMargin", "bMargin" and "Orient".
/// False when a value could not be written.
bool storePageSetup(SettingsStore& store, const PageSetup& setup);

/// Draws the sheet of `page` at one millimetre per unit, scaled to fit in
/// `frame` and centred there: a grey shadow, the white sheet, the four
/// margins as light grey lines across it and grey text lines every 1.2 mm
/// inside the margins. The frame's background is left to the caller.
void drawPageSetupPreview(Canvas& canvas, const Rect& frame, const PrinterPage& page, const ReportMargins& margins);

}  // namespace qz
