// How each tape entry is drawn: text pieces, fonts and colours, so that a
// window or a report only has to paint them.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"
#include "standard/tape_entry.h"

namespace qz {

/// The colours of the tape's text.
enum class TapeColour {
  Text,     ///< the tape text colour of the system
  DarkRed,  ///< RGB(128,0,0): "=", totals, " (ERREUR)"
  Green,    ///< RGB(0,128,0): functions
  Navy,     ///< RGB(0,0,128): operators
};

/// The colour a piece is painted in: `tapeText` for Text; on the selected line
/// every colour is inverted (255 minus each component).
Rgb paintColour(TapeColour colour, Rgb tapeText, bool selected);

/// One run of text in one font and colour.
struct TapePiece {
  std::string text;         ///< code page 1252, or Symbol-font bytes when `symbolFont`
  bool symbolFont = false;  ///< the divide (0xB8) and square-root (0xD6) signs
  TapeColour colour = TapeColour::Text;
  /// The piece as UTF-8 (Symbol-font bytes mapped to their Unicode signs).
  std::string utf8() const;
};

/// One drawn line of the tape.
struct TapeLine {
  std::vector<TapePiece> pieces;
  bool selected = false;  ///< filled with the selection colour, colours inverted
  /// The whole line as UTF-8 text (for the command line and tests).
  std::string plainUtf8() const;
  /// The line as report markup (code page 1252): Symbol-font signs between
  /// two 0x8A font switches, as the operation labels of the report hold them.
  std::string markupText() const;
};

/// The line of one entry: one leading blank; numbers, operators, functions,
/// "=" and totals indented by their level, "(" and ")" by their level minus
/// one; " (ERREUR)" after a flagged number or total; a separator is 29 "-".
/// Numbers and totals use the entry's own display mode and decimals.
TapeLine tapeLine(const TapeEntry& entry, bool selected = false);

}  // namespace qz
