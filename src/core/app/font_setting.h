// Font descriptions as the program stores them: thirteen integers and a face name.
#pragma once

#include <string>

#include "platform/canvas.h"
#include "platform/settings_store.h"

namespace qz {

/// A font by description, with every field the stored text carries.
struct FontDescription {
  int height = 0;  ///< logical units; negative: character height
  int width = 0;
  int escapement = 0;
  int orientation = 0;
  int weight = 0;
  unsigned char italic = 0;
  unsigned char underline = 0;
  unsigned char strikeOut = 0;
  unsigned char charSet = 0;
  unsigned char outPrecision = 0;
  unsigned char clipPrecision = 0;
  unsigned char quality = 0;
  unsigned char pitchAndFamily = 0;
  std::string face;
  friend bool operator==(const FontDescription&, const FontDescription&) = default;

  /// The same font for drawing on a canvas.
  FontSpec toFontSpec() const { return {face, height, weight, italic != 0, underline != 0}; }
};

/// The text "%d,%d,...,%s" of a description (thirteen integers, then the face).
std::string fontSettingText(const FontDescription& font);

/// Reads a description from section/key with `fallbackText`. A text without a
/// face name gives Courier New, height -14, weight 400, pitch and family 18; a
/// stored positive height is replaced by the default's height when that is negative.
FontDescription ReadFontSetting(const SettingsStore& store, const std::string& section, const std::string& key,
                                const std::string& fallbackText);
bool WriteFontSetting(SettingsStore& store, const std::string& section, const std::string& key,
                      const FontDescription& font);

}  // namespace qz
