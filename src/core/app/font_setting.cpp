#include "app/font_setting.h"

#include <cstdio>

#include "document/section_text.h"

namespace qz {

std::string fontSettingText(const FontDescription& f) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,", f.height, f.width, f.escapement,
                f.orientation, f.weight, f.italic, f.underline, f.strikeOut, f.charSet, f.outPrecision,
                f.clipPrecision, f.quality, f.pitchAndFamily);
  return buffer + f.face;
}

namespace {

FontDescription parseFontText(const std::string& text) {
  FontDescription font;
  int fields[13] = {};
  std::size_t pos = 0;
  for (int i = 0; i < 13; ++i) {
    std::size_t comma = text.find(',', pos);
    if (comma == std::string::npos) {
      // Fewer than thirteen numbers: no face name follows.
      fields[i] = readIntegerPrefix(std::string_view(text).substr(pos));
      pos = text.size();
      break;
    }
    fields[i] = readIntegerPrefix(std::string_view(text).substr(pos, comma - pos));
    pos = comma + 1;
  }
  font.height = fields[0];
  font.width = fields[1];
  font.escapement = fields[2];
  font.orientation = fields[3];
  font.weight = fields[4];
  font.italic = static_cast<unsigned char>(fields[5]);
  font.underline = static_cast<unsigned char>(fields[6]);
  font.strikeOut = static_cast<unsigned char>(fields[7]);
  font.charSet = static_cast<unsigned char>(fields[8]);
  font.outPrecision = static_cast<unsigned char>(fields[9]);
  font.clipPrecision = static_cast<unsigned char>(fields[10]);
  font.quality = static_cast<unsigned char>(fields[11]);
  font.pitchAndFamily = static_cast<unsigned char>(fields[12]);
  font.face = pos < text.size() ? text.substr(pos) : std::string();
  return font;
}

}  // namespace

FontDescription ReadFontSetting(const SettingsStore& store, const std::string& section, const std::string& key,
                                const std::string& fallbackText) {
  std::string text = store.readText(section, key, fallbackText);
  FontDescription font = text.empty() ? FontDescription{} : parseFontText(text);
  if (font.face.empty()) {
    FontDescription courier;
    courier.height = -14;
    courier.weight = 400;
    courier.pitchAndFamily = 18;
    courier.face = "Courier New";
    return courier;
  }
  if (font.height > 0 && !fallbackText.empty()) {
    int fallbackHeight = readIntegerPrefix(fallbackText.substr(0, fallbackText.find(',')));
    if (fallbackHeight < 0) font.height = fallbackHeight;
  }
  return font;
}

bool WriteFontSetting(SettingsStore& store, const std::string& section, const std::string& key,
                      const FontDescription& font) {
  return store.write(section, key, fontSettingText(font));
}

}  // namespace qz
