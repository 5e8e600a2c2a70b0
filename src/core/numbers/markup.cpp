#include "numbers/markup.h"

#include <cstdlib>
#include <utility>

#include "numbers/cp1252.h"
#include "numbers/string_table.h"
#include "numbers/symbol_font.h"

namespace qz {

namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

}  // namespace

std::string convertMarkup(std::string_view text) {
  static constexpr std::pair<const char*, char> kCodes[] = {
      {"\\/", '\x82'}, {"\\R", '\x83'}, {"\\G", '\x84'}, {"\\B", '\x85'}, {"\\b", '\x86'}, {"\\u", '\x87'},
      {"\\o", '\x88'}, {"\\i", '\x89'}, {"\\g", '\x8A'}, {"\\s", '\x8B'}, {"\\e", '\x8C'},
  };
  std::string out(text);
  for (const auto& [code, byte] : kCodes) replaceAll(out, code, std::string_view(&byte, 1));
  replaceAll(out, "\xA4", "\\");
  return out;
}

std::string stripMarkup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (!isMarkupCode(static_cast<unsigned char>(c))) out += c;
  return out;
}

std::string markupToPlainUtf8(std::string_view line) {
  static constexpr char32_t kSuperDigits[10] = {U'⁰', U'¹', U'²', U'³', U'⁴', U'⁵', U'⁶', U'⁷', U'⁸', U'⁹'};
  MarkupState state;
  std::string out;
  for (char c : line) {
    auto byte = static_cast<unsigned char>(c);
    if (isMarkupCode(byte)) {
      state.apply(byte);
      continue;
    }
    if (state.superscript && byte >= '0' && byte <= '9')
      appendUtf8(out, kSuperDigits[byte - '0']);
    else
      appendUtf8(out, state.greek ? symbolToUnicode(byte) : cp1252ToUnicode(byte));
    if (state.overline && byte != ' ') appendUtf8(out, U'\u0304');
  }
  return out;
}

std::string choosePlural(std::string_view text, long long count) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t open = text.find('{', pos);
    std::size_t bar = open == std::string_view::npos ? open : text.find('|', open);
    std::size_t close = bar == std::string_view::npos ? bar : text.find('}', bar);
    if (close == std::string_view::npos) break;
    out.append(text.substr(pos, open - pos));
    out.append(count > 1 ? text.substr(bar + 1, close - bar - 1) : text.substr(open + 1, bar - open - 1));
    pos = close + 1;
  }
  out.append(text.substr(std::min(pos, text.size())));
  return out;
}

void MarkupState::apply(unsigned char code) {
  auto toggleColour = [this](Colour c) { colour = colour == c ? Colour::Base : c; };
  switch (code) {
    case kMarkupRed: toggleColour(Colour::Red); break;
    case kMarkupGreen: toggleColour(Colour::Green); break;
    case kMarkupBlue: toggleColour(Colour::Blue); break;
    case kMarkupBold: bold = !bold; break;
    case kMarkupUnderline: underline = !underline; break;
    case kMarkupOverline: overline = !overline; break;
    case kMarkupItalic: italic = !italic; break;
    case kMarkupGreek: greek = !greek; break;
    case kMarkupSubscript: subscript = !subscript; break;
    case kMarkupSuperscript: superscript = !superscript; break;
    default: break;
  }
}

namespace {

struct CharacterStyle {
  FontSpec font;
  Rgb colour;
  int baselineOffset = 0;  // device units, downwards
};

CharacterStyle styleOf(const MarkupState& s, const FontSpec& base, Rgb baseColour) {
  CharacterStyle style;
  style.font = base;
  style.font.weight = s.bold ? 700 : 400;
  style.font.italic = s.italic;
  style.font.underline = s.underline;
  if (s.greek) style.font.face = "Symbol";
  if (s.subscript || s.superscript) {
    int reduced = base.height - base.height / 4;
    style.font.height = reduced;
    int size = std::abs(reduced);
    if (s.subscript) style.baselineOffset += s.superscript ? size / 6 : size / 4;
    if (s.superscript) style.baselineOffset -= size / 4;
  }
  switch (s.colour) {
    case MarkupState::Colour::Red: style.colour = kMarkupRedColour; break;
    case MarkupState::Colour::Green: style.colour = kMarkupGreenColour; break;
    case MarkupState::Colour::Blue: style.colour = kMarkupBlueColour; break;
    case MarkupState::Colour::Base: style.colour = baseColour; break;
  }
  return style;
}

}  // namespace

Size drawMarkup(Canvas& canvas, int textId, std::string_view text, const Rect& rect, MarkupAlign align,
                Rgb baseColour, const FontSpec& baseFont, const TextGrid* grid) {
  std::string line = textId != 0 ? std::string(text) + LoadString(textId) : std::string(text);
  std::string shown;
  for (char c : line)
    if (c != '\x81' && c != '\x82') shown += c;

  // First pass: measure.
  MarkupState state;
  int width = 0, height = 0;
  bool fontSet = false;
  for (char c : shown) {
    auto byte = static_cast<unsigned char>(c);
    if (isMarkupCode(byte)) {
      state.apply(byte);
      fontSet = false;
      continue;
    }
    if (grid) {
      width += grid->cellWidth;
      height = std::max(height, grid->lineHeight);
      continue;
    }
    if (!fontSet) {
      canvas.setFont(styleOf(state, baseFont, baseColour).font);
      fontSet = true;
    }
    Size s = canvas.measureText(std::string(1, c));
    width += s.width;
    height = std::max(height, s.height);
  }

  int x = rect.left;
  if (align == MarkupAlign::Right) x = rect.right - width;
  else if (align == MarkupAlign::Centre) x = (rect.left + rect.right - width) / 2;
  x = std::max(x, rect.left);
  const int top = (rect.top + rect.bottom - height) / 2;

  // Second pass: draw.
  state = MarkupState{};
  CharacterStyle style = styleOf(state, baseFont, baseColour);
  canvas.setFont(style.font);
  canvas.setTextColour(style.colour);
  for (char c : shown) {
    auto byte = static_cast<unsigned char>(c);
    if (isMarkupCode(byte)) {
      state.apply(byte);
      style = styleOf(state, baseFont, baseColour);
      canvas.setFont(style.font);
      canvas.setTextColour(style.colour);
      continue;
    }
    const std::string character(1, c);
    const int advance = grid ? grid->cellWidth : canvas.measureText(character).width;
    if (x + advance >= rect.right) break;
    const int baseline = top + std::abs(baseFont.height) + style.baselineOffset;
    canvas.drawText({x, baseline - canvas.fontAscent()}, character);
    if (state.overline) {
      canvas.setPen(Pen{style.colour, 1, PenStyle::Solid});
      canvas.drawLine({x, top}, {x + advance + 1, top});
    }
    x += advance;
  }
  return {width, height};
}

}  // namespace qz
