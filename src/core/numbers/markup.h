// The program's markup: single-byte text in which "\R", "\b", "\g"... switch
// colours, styles, the Greek font, subscript and superscript.
#pragma once

#include <string>
#include <string_view>

#include "platform/canvas.h"

namespace qz {

/// Internal one-byte codes of the markup.
enum MarkupCode : unsigned char {
  kMarkupIgnored = 0x81,    ///< removed wherever the text is shown
  kMarkupField = 0x82,      ///< "\/": opens or closes a result's value field
  kMarkupRed = 0x83,        ///< "\R"
  kMarkupGreen = 0x84,      ///< "\G"
  kMarkupBlue = 0x85,       ///< "\B"
  kMarkupBold = 0x86,       ///< "\b"
  kMarkupUnderline = 0x87,  ///< "\u"
  kMarkupOverline = 0x88,   ///< "\o"
  kMarkupItalic = 0x89,     ///< "\i"
  kMarkupGreek = 0x8A,      ///< "\g": Symbol font
  kMarkupSubscript = 0x8B,  ///< "\s"
  kMarkupSuperscript = 0x8C,///< "\e"
};

inline bool isMarkupCode(unsigned char byte) { return byte >= kMarkupIgnored && byte <= kMarkupSuperscript; }

/// Replaces the two-character codes by their bytes, in the order "\/", "\R",
/// "\G", "\B", "\b", "\u", "\o", "\i", "\g", "\s", "\e", then "¤" by a
/// literal backslash (which is therefore never read as a code).
std::string convertMarkup(std::string_view text);

/// The text without any byte 0x81 to 0x8C.
std::string stripMarkup(std::string_view text);

/// A markup line as plain UTF-8 for a terminal: codes removed, Greek runs as
/// Greek letters, superscript digits as superscripts, overlined characters
/// with a combining macron.
std::string markupToPlainUtf8(std::string_view line);

/// Every "{singular|plural}" group replaced by its plural text when `count` > 1,
/// else by its singular text.
std::string choosePlural(std::string_view text, long long count);

/// What the codes have switched on at a point of a line.
struct MarkupState {
  enum class Colour { Base, Red, Green, Blue };
  Colour colour = Colour::Base;
  bool bold = false, underline = false, overline = false, italic = false;
  bool greek = false, subscript = false, superscript = false;

  /// Applies a code byte: each toggles its state; a colour code sets its
  /// colour, or returns to the base colour when that colour is current.
  void apply(unsigned char code);
};

/// How the report grid measures text when the report is printed: every
/// character is one cell.
struct TextGrid {
  int cellWidth = 0;
  int lineHeight = 0;
};

enum class MarkupAlign { Left = 0, Right = 2, Centre = 3 };

/// The general renderer: draws a markup line (internal form) in `rect` and
/// returns its size (total width, greatest height). Characters that would
/// cross the right edge are not drawn. With `grid`, characters are measured as
/// report cells. `text` is put in front of string `textId` (0: `text` alone).
Size drawMarkup(Canvas& canvas, int textId, std::string_view text, const Rect& rect, MarkupAlign align,
                Rgb baseColour, const FontSpec& baseFont, const TextGrid* grid = nullptr);

/// Colours of the markup.
inline constexpr Rgb kMarkupRedColour{255, 0, 0};
inline constexpr Rgb kMarkupGreenColour{0, 128, 0};
inline constexpr Rgb kMarkupBlueColour{0, 0, 255};

}  // namespace qz
