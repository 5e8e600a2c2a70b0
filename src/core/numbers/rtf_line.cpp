#include "numbers/rtf_line.h"

#include <cstdio>

#include "numbers/markup.h"

namespace qz {

namespace {

const char* colourWord(MarkupState::Colour colour) {
  switch (colour) {
    case MarkupState::Colour::Red: return "\\cf13";
    case MarkupState::Colour::Green: return "\\cf11";
    case MarkupState::Colour::Blue: return "\\cf9";
    case MarkupState::Colour::Base: return "\\cf0";
  }
  return "";
}

// The words a code writes when it changes the state from `before` to `after`.
std::string wordsFor(unsigned char code, const MarkupState& after) {
  switch (code) {
    case kMarkupRed:
    case kMarkupGreen:
    case kMarkupBlue: return colourWord(after.colour);
    case kMarkupBold: return after.bold ? "\\b" : "\\b0";
    case kMarkupUnderline: return after.underline ? "\\ul" : "\\ul0";
    case kMarkupItalic: return after.italic ? "\\i" : "\\i0";
    case kMarkupSubscript: return after.subscript ? "\\sub" : "\\nosupersub";
    case kMarkupSuperscript: return after.superscript ? "\\super" : "\\nosupersub";
    default: return "";  // overline and Greek write no word
  }
}

// The words of the formatting in force that the collected words did not set:
// each run is a group of its own and would otherwise lose them.
std::string carriedWords(const MarkupState& s, const std::string& collected) {
  std::string words;
  auto carry = [&](bool on, const char* word) {
    if (!on) return;
    std::string w(word);
    // Already collected as the same word (and not as a longer one like "\b0").
    for (std::size_t at = collected.find(w); at != std::string::npos; at = collected.find(w, at + 1)) {
      std::size_t after = at + w.size();
      if (after == collected.size() || collected[after] == '\\') return;
    }
    words += w;
  };
  carry(s.colour != MarkupState::Colour::Base, colourWord(s.colour));
  carry(s.bold, "\\b");
  carry(s.underline, "\\ul");
  carry(s.italic, "\\i");
  carry(s.subscript, "\\sub");
  carry(s.superscript && !s.subscript, "\\super");
  return words;
}

void appendEscaped(std::string& out, unsigned char c) {
  if (c == '{' || c == '}' || c == '\\') {
    out += '\\';
    out += static_cast<char>(c);
  } else if (c >= 0x80 || c < 0x20) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\'%02x", c);
    out += hex;
  } else {
    out += static_cast<char>(c);
  }
}

}  // namespace

std::string rtfLine(std::string_view line, const RtfFonts& fonts) {
  std::string text;
  for (char c : line)
    if (c != '\x81' && c != '\x82') text += c;
  if (text.empty()) return "\\par ";

  std::string out;
  MarkupState state;
  std::string run, collected;
  auto flush = [&] {
    if (run.empty()) return;
    char fontWords[48];
    std::snprintf(fontWords, sizeof fontWords, "\\f%d\\fs%d", state.greek ? fonts.symbolFont : fonts.textFont,
                  state.greek ? fonts.sizeHalfPoints + 1 : fonts.sizeHalfPoints);
    out += "{";
    out += fontWords;
    out += collected + carriedWords(state, collected);
    out += " " + run + "}";
    run.clear();
    collected.clear();
  };
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (isMarkupCode(byte)) {
      flush();
      state.apply(byte);
      collected += wordsFor(byte, state);
      continue;
    }
    appendEscaped(run, byte);
  }
  flush();
  return out + "\\par ";
}

}  // namespace qz
