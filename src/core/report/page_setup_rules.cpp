#include "report/page_setup_rules.h"

#include <algorithm>
#include <cmath>

#include "app/calc_app.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/number_check.h"
#include "numbers/real_format.h"
#include "numbers/string_table.h"

namespace qz {

namespace {

constexpr int kStringMaximum = 6;     // "Valeur maximale = %g !"
constexpr int kStringMinimum = 7;     // "Valeur minimale = %g !"
constexpr int kStringEmpty = 250;     // "Introduire une valeur dans ce champ !"
constexpr int kStringFontSize = 190;  // "Police : %s, %d pt."

// Offsets and margins come from conversions (points to centimetres, hundredths
// times 0.01); a difference this small is no difference.
constexpr double kTolerance = 1e-6;

// The preview: shadow offset and the gap kept around the sheet, in millimetres.
constexpr double kShadowMm = 4.0;
constexpr double kGapMm = 6.0;
constexpr double kTextLineMm = 1.2;
constexpr Rgb kShadowGrey{128, 128, 128};
constexpr Rgb kMarginGrey{192, 192, 192};
constexpr Rgb kTextGrey{128, 128, 128};
constexpr Rgb kPaperWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

double offsetOn(const PrinterPage& page, MarginSide side) {
  switch (side) {
    case MarginSide::Left: return page.offsetLeftCm;
    case MarginSide::Right: return page.offsetRightCm;
    case MarginSide::Top: return page.offsetTopCm;
    case MarginSide::Bottom: return page.offsetBottomCm;
  }
  return 0;
}

// A margin is a decimal number without exponent or sign. The no-negative form
// of the number check still lets a leading "+" through, so it is refused here.
bool isMarginText(std::string& text) {
  return text.find('+') == std::string::npos &&
         CheckNumberText(text, static_cast<int>(NumberKind::Decimal), false);
}

constexpr MarginSide kSides[] = {MarginSide::Left, MarginSide::Right, MarginSide::Top, MarginSide::Bottom};

}  // namespace

double marginMinimum(const PrinterPage& page, MarginSide side) {
  // Up, not to the nearest: a margin of 0.4 on a 0.42 cm border would put the
  // first column into the part of the sheet the printer cannot reach.
  const double tenths = std::ceil(offsetOn(page, side) * 10.0 - kTolerance);
  return std::max(0.0, tenths / 10.0);
}

double marginMaximum(const PrinterPage& page) { return (page.paperWidthCm - 10.0) / 2.0; }

std::string marginText(double centimetres) { return formatDouble("%.1f", centimetres); }

PageSetupRules::PageSetupRules(const PageSetup& start)
    : m_margins{start.leftMargin, start.rightMargin, start.topMargin, start.bottomMargin,
                start.orientation == 1 ? 1 : 0},
      m_font(start.reportFont) {}

void PageSetupRules::setPrinterPage(const PrinterPage& page) {
  m_page = page;
  applyMinimums();
}

void PageSetupRules::applyMinimums() {
  for (MarginSide side : kSides) {
    double& value = marginRef(side);
    value = std::max(value, marginMinimum(m_page, side));
  }
}

bool PageSetupRules::acceptsTyping(const std::string& text) {
  if (text.size() > static_cast<std::size_t>(kMarginFieldLength)) return false;
  std::string checked = text;
  return isMarginText(checked);
}

MarginVerdict PageSetupRules::leaveField(MarginSide side, const std::string& text) {
  if (text == fieldText(side)) return {MarginCheck::Unchanged, margin(side)};
  std::string normalised = text;
  if (!isMarginText(normalised)) return {MarginCheck::NotANumber, margin(side)};
  if (normalised.empty()) return {MarginCheck::Empty, margin(side)};
  double value = 0;
  if (!parseReal(normalised, value)) return {MarginCheck::NotANumber, margin(side)};
  const double minimum = marginMinimum(m_page, side);
  if (value < minimum - kTolerance) return {MarginCheck::BelowMinimum, minimum};
  const double maximum = marginMaximum(m_page);
  // Half a tenth of slack: a maximum of 5.55 still takes the "5.6" it shows as.
  if (value > maximum + 0.05 + kTolerance) return {MarginCheck::AboveMaximum, maximum};
  marginRef(side) = value;
  return {MarginCheck::Accepted, value};
}

void PageSetupRules::reportRefusal(Messenger& messenger, const MarginVerdict& verdict) {
  switch (verdict.check) {
    case MarginCheck::Accepted:
    case MarginCheck::Unchanged: return;
    case MarginCheck::Empty: ShowValueMessage(messenger, kStringEmpty, 0); return;
    case MarginCheck::NotANumber: SoundBeep(messenger, BeepKind::Warning); return;
    case MarginCheck::BelowMinimum: ShowValueMessage(messenger, kStringMinimum, verdict.value); return;
    case MarginCheck::AboveMaximum: ShowValueMessage(messenger, kStringMaximum, verdict.value); return;
  }
}

double PageSetupRules::margin(MarginSide side) const { return const_cast<PageSetupRules*>(this)->marginRef(side); }

double& PageSetupRules::marginRef(MarginSide side) {
  switch (side) {
    case MarginSide::Left: return m_margins.left;
    case MarginSide::Right: return m_margins.right;
    case MarginSide::Top: return m_margins.top;
    case MarginSide::Bottom: return m_margins.bottom;
  }
  return m_margins.left;
}

void PageSetupRules::restoreDefaults() { m_margins = ReportMargins{}; }

PageSetup PageSetupRules::result() const {
  PageSetup setup;
  setup.leftMargin = m_margins.left;
  setup.rightMargin = m_margins.right;
  setup.topMargin = m_margins.top;
  setup.bottomMargin = m_margins.bottom;
  setup.orientation = m_margins.orientation;
  setup.reportFont = m_font;
  return setup;
}

bool checkReportFontSize(Messenger& messenger, int points) {
  if (reportFontSizeAllowed(points)) return true;
  const std::string text = "La taille de la police doit être comprise entre " +
                           std::to_string(kMinReportFontPoints) + " et " + std::to_string(kMaxReportFontPoints) +
                           " points.";
  ShowMessage(messenger, kCaptionError, 0, utf8ToCp1252(text), MessageStyle::Warning);
  return false;
}

std::string storedFaceName(const std::string& installedFace) {
  return installedFace == "Liberation Mono" ? std::string("Courier New") : installedFace;
}

FontDescription reportFontFromChoice(const FontDescription& previous, const ChosenFont& chosen, int resolution) {
  FontDescription font = previous;
  font.face = storedFaceName(chosen.face);
  font.height = -static_cast<int>(std::lround(chosen.points * static_cast<double>(resolution) / 72.0));
  font.width = 0;
  font.weight = chosen.weight;
  font.italic = chosen.italic ? 1 : 0;
  font.underline = chosen.underline ? 1 : 0;
  font.strikeOut = chosen.strikeOut ? 1 : 0;
  // The chooser lists fixed-pitch fonts only: fixed pitch, modern family.
  font.pitchAndFamily = 0x31;
  return font;
}

int fontPointSize(int characterHeightPx, int resolution) {
  if (resolution <= 0) return 0;
  // Rounded, so that a 10 pt font (13 pixels at 96 dpi) is shown as 10 pt again.
  return static_cast<int>(std::lround(std::abs(characterHeightPx) * 72.0 / resolution));
}

std::string fontCaption(const std::string& face, int points) {
  std::string text = LoadString(kStringFontSize);
  std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, face);
  at = text.find("%d", at == std::string::npos ? 0 : at + face.size());
  if (at != std::string::npos) text.replace(at, 2, std::to_string(points));
  return text;
}

long long marginHundredths(double centimetres) {
  return static_cast<long long>(std::trunc(centimetres * 100.0 + kTolerance));
}

bool storePageSetup(SettingsStore& store, const PageSetup& setup) {
  bool ok = WriteFontSetting(store, "Preference", "ReportFont", setup.reportFont);
  ok = store.writeInt("rMakeUp", "lMargin", marginHundredths(setup.leftMargin)) && ok;
  ok = store.writeInt("rMakeUp", "rMargin", marginHundredths(setup.rightMargin)) && ok;
  ok = store.writeInt("rMakeUp", "tMargin", marginHundredths(setup.topMargin)) && ok;
  ok = store.writeInt("rMakeUp", "bMargin", marginHundredths(setup.bottomMargin)) && ok;
  ok = store.writeInt("rMakeUp", "Orient", setup.orientation) && ok;
  return ok;
}

void drawPageSetupPreview(Canvas& canvas, const Rect& frame, const PrinterPage& page, const ReportMargins& margins) {
  const double widthMm = page.paperWidthCm * 10.0;
  const double heightMm = page.paperHeightCm * 10.0;
  if (widthMm <= 0 || heightMm <= 0 || frame.isEmpty()) return;
  // The sheet, its shadow and a gap all round fit in the frame, same scale both ways.
  const double scale = std::min(frame.width() / (widthMm + kShadowMm + 2 * kGapMm),
                                frame.height() / (heightMm + kShadowMm + 2 * kGapMm));
  const double originX = frame.left + (frame.width() - (widthMm + kShadowMm) * scale) / 2.0;
  const double originY = frame.top + (frame.height() - (heightMm + kShadowMm) * scale) / 2.0;
  auto x = [&](double mm) { return static_cast<int>(std::lround(originX + mm * scale)); };
  auto y = [&](double mm) { return static_cast<int>(std::lround(originY + mm * scale)); };

  const Rect sheet{x(0), y(0), x(widthMm), y(heightMm)};
  canvas.fillRect({x(kShadowMm), y(kShadowMm), x(widthMm + kShadowMm), y(heightMm + kShadowMm)}, kShadowGrey);
  canvas.fillRect(sheet, kPaperWhite);

  const double leftMm = margins.left * 10.0, rightMm = widthMm - margins.right * 10.0;
  const double topMm = margins.top * 10.0, bottomMm = heightMm - margins.bottom * 10.0;

  // Text lines first, so the margin lines stay visible where the two meet.
  canvas.setClip(sheet);
  if (rightMm > leftMm && bottomMm > topMm) {
    canvas.setPen({kTextGrey, 1, PenStyle::Solid});
    int lastRow = y(topMm);
    for (int k = 1; topMm + k * kTextLineMm < bottomMm - kTolerance; ++k) {
      const int rowY = y(topMm + k * kTextLineMm);
      // At the dialog's scale 1.2 mm is less than a pixel: a line that would
      // touch the previous one is left out, so the lines read as lines of text
      // and not as a grey block.
      if (rowY < lastRow + 2) continue;
      canvas.drawLine({x(leftMm), rowY}, {x(rightMm), rowY});
      lastRow = rowY;
    }
  }
  canvas.setPen({kMarginGrey, 1, PenStyle::Solid});
  canvas.drawLine({x(leftMm), sheet.top}, {x(leftMm), sheet.bottom});
  canvas.drawLine({x(rightMm), sheet.top}, {x(rightMm), sheet.bottom});
  canvas.drawLine({sheet.left, y(topMm)}, {sheet.right, y(topMm)});
  canvas.drawLine({sheet.left, y(bottomMm)}, {sheet.right, y(bottomMm)});
  canvas.clearClip();

  canvas.setPen({kBlack, 1, PenStyle::Solid});
  canvas.setBrush(kPaperWhite, true);
  canvas.drawRect(sheet);
}

}  // namespace qz
