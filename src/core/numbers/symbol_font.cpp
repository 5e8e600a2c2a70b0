#include "numbers/symbol_font.h"

#include "numbers/cp1252.h"

namespace qz {

namespace {

// Letters A..Z and a..z of the Symbol font (Adobe's Symbol encoding).
constexpr char32_t kUpper[26] = {
    U'Α', U'Β', U'Χ', U'Δ', U'Ε', U'Φ', U'Γ', U'Η', U'Ι', U'ϑ', U'Κ', U'Λ', U'Μ',
    U'Ν', U'Ο', U'Π', U'Θ', U'Ρ', U'Σ', U'Τ', U'Υ', U'ς', U'Ω', U'Ξ', U'Ψ', U'Ζ',
};
constexpr char32_t kLower[26] = {
    U'α', U'β', U'χ', U'δ', U'ε', U'φ', U'γ', U'η', U'ι', U'ϕ', U'κ', U'λ', U'μ',
    U'ν', U'ο', U'π', U'θ', U'ρ', U'σ', U'τ', U'υ', U'ϖ', U'ω', U'ξ', U'ψ', U'ζ',
};

struct SymbolPair {
  unsigned char byte;
  char32_t unicode;
};

constexpr SymbolPair kOthers[] = {
    {0x22, U'∀'}, {0x24, U'∃'}, {0x27, U'∋'}, {0x2A, U'∗'}, {0x2D, U'−'}, {0x40, U'≅'},
    {0x5C, U'∴'}, {0x5E, U'⊥'}, {0x7E, U'∼'}, {0xA1, U'ϒ'}, {0xA2, U'′'}, {0xA3, U'≤'},
    {0xA4, U'⁄'}, {0xA5, U'∞'}, {0xA6, U'ƒ'}, {0xAB, U'↔'}, {0xAC, U'←'}, {0xAD, U'↑'},
    {0xAE, U'→'}, {0xAF, U'↓'}, {0xB0, U'°'}, {0xB1, U'±'}, {0xB2, U'″'}, {0xB3, U'≥'},
    {0xB4, U'×'}, {0xB5, U'∝'}, {0xB6, U'∂'}, {0xB7, U'•'}, {0xB8, U'÷'}, {0xB9, U'≠'},
    {0xBA, U'≡'}, {0xBB, U'≈'}, {0xBC, U'…'}, {0xC0, U'ℵ'}, {0xC1, U'ℑ'}, {0xC2, U'ℜ'},
    {0xC3, U'℘'}, {0xC4, U'⊗'}, {0xC5, U'⊕'}, {0xC6, U'∅'}, {0xC7, U'∩'}, {0xC8, U'∪'},
    {0xC9, U'⊃'}, {0xCA, U'⊇'}, {0xCB, U'⊄'}, {0xCC, U'⊂'}, {0xCD, U'⊆'}, {0xCE, U'∈'},
    {0xCF, U'∉'}, {0xD0, U'∠'}, {0xD1, U'∇'}, {0xD5, U'∏'}, {0xD6, U'√'}, {0xD7, U'⋅'},
    {0xD8, U'¬'}, {0xD9, U'∧'}, {0xDA, U'∨'}, {0xDB, U'⇔'}, {0xDC, U'⇐'}, {0xDD, U'⇑'},
    {0xDE, U'⇒'}, {0xDF, U'⇓'}, {0xE0, U'◊'}, {0xE1, U'〈'}, {0xE5, U'∑'}, {0xF1, U'〉'},
    {0xF2, U'∫'},
};

}  // namespace

char32_t symbolToUnicode(unsigned char byte) {
  if (byte >= 'A' && byte <= 'Z') return kUpper[byte - 'A'];
  if (byte >= 'a' && byte <= 'z') return kLower[byte - 'a'];
  for (const auto& p : kOthers)
    if (p.byte == byte) return p.unicode;
  return cp1252ToUnicode(byte);
}

std::string symbolRunToUtf8(std::string_view bytes) {
  std::string out;
  for (char c : bytes) appendUtf8(out, symbolToUnicode(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace qz
