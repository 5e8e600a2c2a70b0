#include "app/font_setting.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

constexpr const char* kDefault = "-14,0,0,0,400,0,0,0,0,0,0,0,0,Courier New";

TEST(ReadFontSetting, DefaultText) {
  MemorySettingsStore store;
  FontDescription f = ReadFontSetting(store, "Preference", "ReportFont", kDefault);
  EXPECT_EQ(f.face, "Courier New");
  EXPECT_EQ(f.height, -14);
  EXPECT_EQ(f.weight, 400);
}

TEST(ReadFontSetting, PositiveHeightTakesTheDefaultsHeight) {
  MemorySettingsStore store;
  store.write("Preference", "ReportFont", "12,0,0,0,700,0,0,0,0,0,0,0,34,Arial");
  FontDescription f = ReadFontSetting(store, "Preference", "ReportFont", kDefault);
  EXPECT_EQ(f.face, "Arial");
  EXPECT_EQ(f.weight, 700);
  EXPECT_EQ(f.height, -14);
  EXPECT_EQ(f.pitchAndFamily, 34);
}

TEST(ReadFontSetting, TextWithoutFaceFallsBackToCourier) {
  MemorySettingsStore store;
  for (const char* text : {"-20,0,0,0,700", "garbage", "-20,0,0,0,700,0,0,0,0,0,0,0,0,"}) {
    SCOPED_TRACE(text);
    store.write("Preference", "ReportFont", text);
    FontDescription f = ReadFontSetting(store, "Preference", "ReportFont", kDefault);
    EXPECT_EQ(f.face, "Courier New");
    EXPECT_EQ(f.height, -14);
    EXPECT_EQ(f.weight, 400);
    EXPECT_EQ(f.pitchAndFamily, 18);
  }
}

TEST(WriteFontSetting, RoundTrip) {
  MemorySettingsStore store;
  FontDescription f;
  f.height = -17;
  f.weight = 700;
  f.italic = 1;
  f.pitchAndFamily = 0x31;
  f.face = "Courier New";
  WriteFontSetting(store, "Preference", "ReportFont", f);
  EXPECT_EQ(*store.read("Preference", "ReportFont"), "-17,0,0,0,700,1,0,0,0,0,0,0,49,Courier New");
  EXPECT_EQ(ReadFontSetting(store, "Preference", "ReportFont", kDefault), f);
}

}  // namespace
}  // namespace qz
