#include "report/page_setup_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/report/a4_pages.h"
#include "app/calc_app.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_messenger.h"

namespace qz {
namespace {

// An A4 sheet at 600 dpi whose printer cannot reach the outer 0.4 cm.
PrinterPage a4(double offset = 0.4) { return testing::a4Page(600, offset); }
PrinterPage a4Landscape(double offset = 0.4) { return testing::turned(a4(offset)); }

PageSetup setupWith(double left, double right, double top, double bottom, int orientation = 0) {
  PageSetup s;
  s.leftMargin = left;
  s.rightMargin = right;
  s.topMargin = top;
  s.bottomMargin = bottom;
  s.orientation = orientation;
  s.reportFont.face = "Courier New";
  s.reportFont.height = -14;
  s.reportFont.weight = 400;
  return s;
}

std::vector<double> marginsOf(const PageSetupRules& rules) {
  return {rules.margin(MarginSide::Left), rules.margin(MarginSide::Right), rules.margin(MarginSide::Top),
          rules.margin(MarginSide::Bottom)};
}

void expectMargins(const PageSetupRules& rules, std::vector<double> expected) {
  const std::vector<double> actual = marginsOf(rules);
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-9) << "side " << i;
}

TEST(PageSetupRules, LeavingAMarginField) {
  struct Row {
    const char* name;
    MarginSide side;
    const char* text;
    MarginCheck check;
    double marginAfter;  ///< the previous 2.5 when refused
    const char* message;  ///< "" when no box is shown
    bool beepOnly;
  };
  const Row rows[] = {
      {"0.0 on a 0.4 cm border", MarginSide::Left, "0.0", MarginCheck::BelowMinimum, 2.5,
       "ERREUR\n\nValeur minimale = 0.4 !", false},
      {"just under the border", MarginSide::Bottom, "0.39", MarginCheck::BelowMinimum, 2.5,
       "ERREUR\n\nValeur minimale = 0.4 !", false},
      {"the border itself", MarginSide::Right, "0.4", MarginCheck::Accepted, 0.4, "", false},
      {"empty", MarginSide::Top, "", MarginCheck::Empty, 2.5, "ERREUR\n\nIntroduire une valeur dans ce champ !",
       false},
      {"blanks only", MarginSide::Top, "   ", MarginCheck::Empty, 2.5,
       "ERREUR\n\nIntroduire une valeur dans ce champ !", false},
      {"a lone point", MarginSide::Left, ".", MarginCheck::NotANumber, 2.5, "", true},
      {"a minus sign", MarginSide::Left, "-1", MarginCheck::NotANumber, 2.5, "", true},
      {"a plus sign", MarginSide::Left, "+3", MarginCheck::NotANumber, 2.5, "", true},
      {"letters", MarginSide::Left, "deux", MarginCheck::NotANumber, 2.5, "", true},
      {"French comma", MarginSide::Left, "3,25", MarginCheck::Accepted, 3.25, "", false},
      {"blanks around", MarginSide::Right, " 3 ", MarginCheck::Accepted, 3.0, "", false},
      {"the maximum (21 - 10) / 2", MarginSide::Left, "5.5", MarginCheck::Accepted, 5.5, "", false},
      {"half a tenth over the maximum", MarginSide::Left, "5.55", MarginCheck::Accepted, 5.55, "", false},
      {"over the maximum", MarginSide::Left, "5.6", MarginCheck::AboveMaximum, 2.5,
       "ERREUR\n\nValeur maximale = 5.5 !", false},
      {"the same maximum for the top", MarginSide::Top, "5.6", MarginCheck::AboveMaximum, 2.5,
       "ERREUR\n\nValeur maximale = 5.5 !", false},
      {"the same maximum for the bottom", MarginSide::Bottom, "12", MarginCheck::AboveMaximum, 2.5,
       "ERREUR\n\nValeur maximale = 5.5 !", false},
      {"the text shown, untouched", MarginSide::Top, "2.5", MarginCheck::Unchanged, 2.5, "", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    PageSetupRules rules(setupWith(2.5, 2.5, 2.5, 2.5));
    rules.setPrinterPage(a4());
    ScriptedMessenger messenger;
    const MarginVerdict verdict = rules.leaveField(row.side, row.text);
    PageSetupRules::reportRefusal(messenger, verdict);
    EXPECT_EQ(verdict.check, row.check);
    EXPECT_NEAR(rules.margin(row.side), row.marginAfter, 1e-12);
    EXPECT_EQ(messenger.lastTextUtf8(), row.message);
    if (row.beepOnly) {
      EXPECT_TRUE(messenger.boxes().empty());
      EXPECT_EQ(messenger.sounds(), std::vector<BeepKind>{BeepKind::Warning});
    }
    if (row.check == MarginCheck::Accepted || row.check == MarginCheck::Unchanged) {
      EXPECT_TRUE(messenger.boxes().empty());
      EXPECT_TRUE(messenger.sounds().empty());
    }
  }
}

TEST(PageSetupRules, TypingTakesDecimalNumbersOnly) {
  struct Row {
    std::string text;
    bool accepted;
  };
  const Row rows[] = {
      {"", true},       {"2", true},         {"2.", true},      {".5", true},      {"2,5", true},
      {"12.75", true},  {"2.5.1", false},    {"-1", false},     {"+1", false},     {"1E3", false},
      {"a", false},     {std::string(25, '1'), true},           {std::string(26, '1'), false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(PageSetupRules::acceptsTyping(row.text), row.accepted);
  }
}

TEST(PageSetupRules, MinimumIsTheBorderRoundedUpToATenth) {
  struct Row {
    double offset;
    double minimum;
    const char* shown;
  };
  const Row rows[] = {
      {0.0, 0.0, "0.0"},       {0.4, 0.4, "0.4"},  {0.4000001, 0.4, "0.4"}, {0.35, 0.4, "0.4"},
      {0.4233, 0.5, "0.5"},    {1.0, 1.0, "1.0"},  {-0.2, 0.0, "0.0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.offset);
    EXPECT_NEAR(marginMinimum(a4(row.offset), MarginSide::Top), row.minimum, 1e-12);
    EXPECT_EQ(marginText(marginMinimum(a4(row.offset), MarginSide::Top)), row.shown);
  }
  EXPECT_DOUBLE_EQ(marginMaximum(a4()), 5.5);
  EXPECT_DOUBLE_EQ(marginMaximum(a4Landscape()), 9.85);
}

TEST(PageSetupRules, OpeningRaisesMarginsToTheBorders) {
  PageSetupRules rules(setupWith(0.2, 1.5, 0.0, 0.45));
  PrinterPage page = a4();
  page.offsetBottomCm = 0.42;
  rules.setPrinterPage(page);
  expectMargins(rules, {0.4, 1.5, 0.4, 0.5});
  EXPECT_EQ(rules.fieldText(MarginSide::Left), "0.4");
  EXPECT_EQ(rules.fieldText(MarginSide::Right), "1.5");
  EXPECT_EQ(rules.fieldText(MarginSide::Bottom), "0.5");
  // Leaving the raised field as the dialog filled it is never refused.
  EXPECT_EQ(rules.leaveField(MarginSide::Bottom, "0.5").check, MarginCheck::Unchanged);
}

TEST(PageSetupRules, LandscapeBordersAreAppliedAgain) {
  // The printer's wide border is at the bottom in portrait and on the right in landscape.
  PrinterPage portrait = a4();
  portrait.offsetBottomCm = 1.2;
  PrinterPage landscape = a4Landscape();
  landscape.offsetRightCm = 1.2;
  PageSetupRules rules(setupWith(0.5, 0.5, 0.5, 0.5));
  rules.setPrinterPage(portrait);
  expectMargins(rules, {0.5, 0.5, 0.5, 1.2});
  rules.setOrientation(1);
  rules.setPrinterPage(landscape);
  // Raised where the border grew; never lowered where it shrank.
  expectMargins(rules, {0.5, 1.2, 0.5, 1.2});
  EXPECT_EQ(rules.orientation(), 1);
  // The wider sheet allows wider margins.
  EXPECT_EQ(rules.leaveField(MarginSide::Left, "9.9").check, MarginCheck::Accepted);
  EXPECT_EQ(rules.leaveField(MarginSide::Left, "10").check, MarginCheck::AboveMaximum);
  EXPECT_EQ(rules.result().orientation, 1);
}

TEST(PageSetupRules, DefaultsAreTheFactoryMarginsInPortrait) {
  PageSetup start = setupWith(1.0, 1.0, 1.0, 1.0, 1);
  start.reportFont.face = "DejaVu Sans Mono";
  PageSetupRules rules(start);
  rules.setPrinterPage(a4Landscape());
  rules.restoreDefaults();
  EXPECT_EQ(rules.orientation(), 0);
  PrinterPage wideLeft = a4();
  wideLeft.offsetLeftCm = 3.0;
  rules.setPrinterPage(wideLeft);
  expectMargins(rules, {3.0, 1.5, 2.5, 2.0});
  // The defaults are the margins and the orientation: the font stays.
  EXPECT_EQ(rules.reportFont().face, "DejaVu Sans Mono");
}

TEST(PageSetupRules, MarginsAreStoredInWholeHundredths) {
  struct Row {
    double centimetres;
    long long hundredths;
  };
  const Row rows[] = {{2.5, 250}, {2.3, 230}, {1.15, 115}, {0.4, 40}, {2.345, 234}, {2.999, 299}, {0.0, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.centimetres);
    EXPECT_EQ(marginHundredths(row.centimetres), row.hundredths);
  }
}

TEST(PageSetupRules, OkWritesTheSettingsKeys) {
  PageSetup setup = setupWith(2.3, 1.15, 2.5, 2.0, 1);
  setup.reportFont.height = -16;
  setup.reportFont.weight = 700;
  setup.reportFont.pitchAndFamily = 0x31;
  MemorySettingsStore store;
  ASSERT_TRUE(storePageSetup(store, setup));
  const std::pair<const char*, const char*> expected[] = {
      {"lMargin", "230"}, {"rMargin", "115"}, {"tMargin", "250"}, {"bMargin", "200"}, {"Orient", "1"}};
  for (const auto& [key, value] : expected) EXPECT_EQ(store.readText("rMakeUp", key, "?"), value) << key;
  EXPECT_EQ(store.readText("Preference", "ReportFont", ""), "-16,0,0,0,700,0,0,0,0,0,0,0,49,Courier New");
  EXPECT_EQ(ReadFontSetting(store, "Preference", "ReportFont", ""), setup.reportFont);

  MemorySettingsStore locked;
  locked.setWritable(false);
  EXPECT_FALSE(storePageSetup(locked, setup));
}

TEST(PageSetupRules, ResultIsTheWorkingCopy) {
  PageSetupRules rules(setupWith(2.5, 1.5, 2.5, 2.0));
  rules.setPrinterPage(a4());
  ASSERT_EQ(rules.leaveField(MarginSide::Top, "3.5").check, MarginCheck::Accepted);
  FontDescription font = rules.reportFont();
  font.height = -20;
  rules.setReportFont(font);
  const PageSetup result = rules.result();
  EXPECT_DOUBLE_EQ(result.topMargin, 3.5);
  EXPECT_DOUBLE_EQ(result.leftMargin, 2.5);
  EXPECT_EQ(result.reportFont.height, -20);
  EXPECT_EQ(result.orientation, 0);
}

TEST(ReportFontChoice, FaceSizeAndStyle) {
  FontDescription previous;
  previous.face = "Courier New";
  previous.height = -14;
  previous.weight = 400;
  previous.charSet = 0;
  previous.quality = 2;
  struct Row {
    const char* name;
    ChosenFont chosen;
    const char* face;
    int height;
  };
  const Row rows[] = {
      {"the Courier New twin keeps its old name", {"Liberation Mono", 12, 700, true, false, false}, "Courier New",
       -16},
      {"other faces as named", {"DejaVu Sans Mono", 10, 400, false, true, true}, "DejaVu Sans Mono", -13},
      {"11 points round to 15 pixels", {"Liberation Mono", 11, 400, false, false, false}, "Courier New", -15},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const FontDescription font = reportFontFromChoice(previous, row.chosen, 96);
    EXPECT_EQ(font.face, row.face);
    EXPECT_EQ(font.height, row.height);
    EXPECT_EQ(font.weight, row.chosen.weight);
    EXPECT_EQ(font.italic != 0, row.chosen.italic);
    EXPECT_EQ(font.underline != 0, row.chosen.underline);
    EXPECT_EQ(font.strikeOut != 0, row.chosen.strikeOut);
    EXPECT_EQ(font.pitchAndFamily, 0x31);
    EXPECT_EQ(font.quality, 2);
    // The size the dialog shows is the size chosen.
    EXPECT_EQ(fontPointSize(-font.height, 96), row.chosen.points);
  }
  EXPECT_FALSE(reportFontSizeAllowed(5));
  EXPECT_TRUE(reportFontSizeAllowed(6));
  EXPECT_TRUE(reportFontSizeAllowed(36));
  EXPECT_FALSE(reportFontSizeAllowed(37));
  ScriptedMessenger messenger;
  EXPECT_TRUE(checkReportFontSize(messenger, 12));
  EXPECT_TRUE(messenger.boxes().empty());
  EXPECT_FALSE(checkReportFontSize(messenger, 48));
  EXPECT_EQ(messenger.lastTextUtf8(), "ERREUR\n\nLa taille de la police doit être comprise entre 6 et 36 points.");
}

TEST(ReportFontChoice, CaptionUnderThePreview) {
  struct Row {
    int pixels, resolution, points;
  };
  const Row rows[] = {{14, 96, 11}, {13, 96, 10}, {16, 96, 12}, {-16, 96, 12}, {50, 300, 12}, {14, 0, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.pixels);
    EXPECT_EQ(fontPointSize(row.pixels, row.resolution), row.points);
  }
  EXPECT_EQ(fontCaption("Courier New", 10), "Police : Courier New, 10 pt.");
  EXPECT_EQ(fontCaption("%d", 9), "Police : %d, 9 pt.");
}

// Items of one kind and colour.
std::vector<RecordingCanvas::Item> linesIn(const RecordingCanvas& canvas, Rgb colour) {
  std::vector<RecordingCanvas::Item> out;
  for (const auto& item : canvas.itemsOf(RecordingCanvas::Kind::Line))
    if (item.pen.colour == colour) out.push_back(item);
  return out;
}

TEST(PageSetupPreview, SheetShadowMarginsAndTextLines) {
  RecordingCanvas canvas;
  const Rect frame{10, 20, 710, 1020};
  drawPageSetupPreview(canvas, frame, a4(), ReportMargins{});

  const auto fills = canvas.itemsOf(RecordingCanvas::Kind::FillRect);
  ASSERT_EQ(fills.size(), 2u);
  const Rect shadow{fills[0].a.x, fills[0].a.y, fills[0].b.x, fills[0].b.y};
  const Rect sheet{fills[1].a.x, fills[1].a.y, fills[1].b.x, fills[1].b.y};
  EXPECT_EQ(fills[0].colour, (Rgb{128, 128, 128}));
  EXPECT_EQ(fills[1].colour, (Rgb{255, 255, 255}));
  // The shadow is the sheet moved down and right.
  EXPECT_GT(shadow.left, sheet.left);
  EXPECT_GT(shadow.top, sheet.top);
  EXPECT_EQ(shadow.width(), sheet.width());
  EXPECT_NEAR(shadow.height(), sheet.height(), 1);
  // One scale both ways: the sheet keeps the A4 proportions, inside the frame.
  EXPECT_NEAR(static_cast<double>(sheet.height()) / sheet.width(), 297.0 / 210.0, 0.01);
  EXPECT_GE(sheet.left, frame.left);
  EXPECT_LE(shadow.right, frame.right);
  EXPECT_LE(shadow.bottom, frame.bottom);
  // Centred: the sheet with its shadow leaves equal gaps left and right.
  EXPECT_NEAR(sheet.left - frame.left, frame.right - shadow.right, 1);
  const double scale = sheet.width() / 210.0;

  const auto margins = linesIn(canvas, Rgb{192, 192, 192});
  ASSERT_EQ(margins.size(), 4u);
  EXPECT_NEAR(margins[0].a.x, sheet.left + 25 * scale, 1);  // left, across the sheet
  EXPECT_EQ(margins[0].a.y, sheet.top);
  EXPECT_EQ(margins[0].b.y, sheet.bottom);
  EXPECT_NEAR(margins[1].a.x, sheet.right - 15 * scale, 1);
  EXPECT_NEAR(margins[2].a.y, sheet.top + 25 * scale, 1);
  EXPECT_EQ(margins[2].a.x, sheet.left);
  EXPECT_EQ(margins[2].b.x, sheet.right);
  EXPECT_NEAR(margins[3].a.y, sheet.bottom - 20 * scale, 1);

  // (297 - 25 - 20) mm of text every 1.2 mm: 209 lines below the top margin.
  const auto text = linesIn(canvas, Rgb{128, 128, 128});
  ASSERT_EQ(text.size(), 209u);
  for (std::size_t i = 0; i < text.size(); ++i) {
    EXPECT_EQ(text[i].a.x, margins[0].a.x);
    EXPECT_EQ(text[i].b.x, margins[1].a.x);
    EXPECT_GT(text[i].a.y, margins[2].a.y);
    EXPECT_LT(text[i].a.y, margins[3].a.y);
    if (i > 0) {
      EXPECT_NEAR(text[i].a.y - text[i - 1].a.y, 1.2 * scale, 1);
    }
  }
  // Everything stays on the sheet, whose black outline comes last.
  EXPECT_EQ(canvas.clip(), Rect{});
  const auto outlines = canvas.itemsOf(RecordingCanvas::Kind::Rect);
  ASSERT_EQ(outlines.size(), 1u);
  EXPECT_EQ(outlines[0].pen.colour, (Rgb{0, 0, 0}));
  EXPECT_TRUE(outlines[0].hollow);
  EXPECT_EQ(canvas.items().back().kind, RecordingCanvas::Kind::Rect);
}

TEST(PageSetupPreview, SmallFramesLandscapeAndNoRoom) {
  // In a small frame the lines keep a blank pixel row between them.
  RecordingCanvas small;
  drawPageSetupPreview(small, Rect{0, 0, 150, 200}, a4(), ReportMargins{});
  const auto text = linesIn(small, Rgb{128, 128, 128});
  ASSERT_GT(text.size(), 40u);
  for (std::size_t i = 1; i < text.size(); ++i) EXPECT_GE(text[i].a.y, text[i - 1].a.y + 2);

  RecordingCanvas wide;
  drawPageSetupPreview(wide, Rect{0, 0, 300, 300}, a4Landscape(), ReportMargins{});
  const auto sheet = wide.itemsOf(RecordingCanvas::Kind::FillRect).at(1);
  EXPECT_GT(sheet.b.x - sheet.a.x, sheet.b.y - sheet.a.y);

  RecordingCanvas full;
  drawPageSetupPreview(full, Rect{0, 0, 300, 300}, a4(), ReportMargins{11.0, 11.0, 2.5, 2.0, 0});
  EXPECT_TRUE(linesIn(full, Rgb{128, 128, 128}).empty());
  EXPECT_EQ(linesIn(full, Rgb{192, 192, 192}).size(), 4u);

  RecordingCanvas none;
  drawPageSetupPreview(none, Rect{}, a4(), ReportMargins{});
  drawPageSetupPreview(none, Rect{0, 0, 100, 100}, PrinterPage{}, ReportMargins{});
  EXPECT_TRUE(none.items().empty());
}

}  // namespace
}  // namespace qz
