#include "standard/tape_lines.h"

#include <algorithm>

#include "numbers/cp1252.h"
#include "numbers/symbol_font.h"

namespace qz {

namespace {

constexpr int kSeparatorWidth = 29;
constexpr const char* kErrorMark = " (ERREUR)";

Rgb fixedColour(TapeColour colour, Rgb tapeText) {
  switch (colour) {
    case TapeColour::DarkRed:
      return {128, 0, 0};
    case TapeColour::Green:
      return {0, 128, 0};
    case TapeColour::Navy:
      return {0, 0, 128};
    default:
      return tapeText;
  }
}

// The sign of an operator or a function, in the font that draws it.
TapePiece symbolPiece(EntryKind kind, TapeColour colour) {
  switch (kind) {
    case EntryKind::Plus:
      return {"+", false, colour};
    case EntryKind::Minus:
      return {"-", false, colour};
    case EntryKind::Times:
      return {"*", false, colour};
    case EntryKind::Divide:
      return {"\xB8", true, colour};
    case EntryKind::SquareRoot:
      return {"\xD6", true, colour};
    case EntryKind::Square:
      return {"x\xB2", false, colour};
    case EntryKind::Inverse:
      return {"1/x", false, colour};
    case EntryKind::Power:
      return {"^", false, colour};
    case EntryKind::Open:
      return {"(", false, colour};
    case EntryKind::Close:
      return {")", false, colour};
    case EntryKind::Equals:
      return {"=", false, colour};
    default:
      return {"", false, colour};
  }
}

}  // namespace

Rgb paintColour(TapeColour colour, Rgb tapeText, bool selected) {
  Rgb c = fixedColour(colour, tapeText);
  if (selected)
    c = {static_cast<std::uint8_t>(255 - c.r), static_cast<std::uint8_t>(255 - c.g),
         static_cast<std::uint8_t>(255 - c.b)};
  return c;
}

std::string TapePiece::utf8() const { return symbolFont ? symbolRunToUtf8(text) : cp1252ToUtf8(text); }

std::string TapeLine::plainUtf8() const {
  std::string out;
  for (const TapePiece& p : pieces) out += p.utf8();
  return out;
}

std::string TapeLine::markupText() const {
  std::string out;
  for (const TapePiece& p : pieces) out += p.symbolFont ? "\x8A" + p.text + "\x8A" : p.text;
  return out;
}

TapeLine tapeLine(const TapeEntry& entry, bool selected) {
  TapeLine line;
  line.selected = selected;
  if (entry.kind == EntryKind::Empty) return line;
  if (entry.kind == EntryKind::Separator) {
    line.pieces.push_back({" " + std::string(kSeparatorWidth, '-'), false, TapeColour::Text});
    return line;
  }
  const int level = std::max(0, entry.level);
  const bool paren = entry.kind == EntryKind::Open || entry.kind == EntryKind::Close;
  const int indent = paren ? std::max(0, level - 1) : level;
  line.pieces.push_back({std::string(static_cast<std::size_t>(1 + indent), ' '), false, TapeColour::Text});

  if (entry.kind == EntryKind::Number || entry.kind == EntryKind::Total) {
    const TapeColour colour = entry.kind == EntryKind::Total ? TapeColour::DarkRed : TapeColour::Text;
    line.pieces.push_back(
        {FormatReal(entry.value, {}, entry.display.mode, entry.display.decimals), false, colour});
    if (entry.error) line.pieces.push_back({kErrorMark, false, TapeColour::DarkRed});
    return line;
  }
  TapeColour colour = TapeColour::Text;
  if (isOperator(entry.kind)) colour = TapeColour::Navy;
  if (isFunction(entry.kind)) colour = TapeColour::Green;
  if (entry.kind == EntryKind::Equals) colour = TapeColour::DarkRed;
  line.pieces.push_back(symbolPiece(entry.kind, colour));
  return line;
}

}  // namespace qz
