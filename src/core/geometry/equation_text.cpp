#include "geometry/equation_text.h"

#include <charconv>

namespace qz {

namespace {

// The literal the equations use for pi, not the exact double.
constexpr double kEquationPi = 3.14159265358979;
constexpr int kMaxTerms = 16;

bool parseNumber(std::string_view token, double& value) {
  // from_chars ignores the locale (the GUI may run under a decimal comma)
  // but refuses a leading "+".
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  const char* end = token.data() + token.size();
  auto [ptr, ec] = std::from_chars(token.data(), end, value);
  return ec == std::errc() && ptr == end;
}

// The separators of a sum ("=+*^()") or of a product ("=*/^()"); tested by
// hand because the solver parses every equation of every sweep.
bool isSeparator(char c, bool product) {
  switch (c) {
    case '=':
    case '*':
    case '^':
    case '(':
    case ')':
      return true;
    case '+':
      return !product;
    case '/':
      return product;
    default:
      return false;
  }
}

}  // namespace

bool parseEquation(std::string_view text, bool product, ParsedEquation& out) {
  out = ParsedEquation{};
  int current = 0;  // term being built
  int lastNamed = -1;
  bool sawEquals = false;
  size_t pos = 0;
  while (pos < text.size()) {
    if (isSeparator(text[pos], product)) {
      if (text[pos] == '=') {
        if (sawEquals || current != 1) return false;  // the left side is exactly one term
        sawEquals = true;
      }
      ++pos;
      continue;
    }
    size_t end = pos;
    while (end < text.size() && !isSeparator(text[end], product)) ++end;
    std::string_view token = text.substr(pos, end - pos);
    if (current >= kMaxTerms) return false;
    EquationTerm& term = out.terms[static_cast<size_t>(current)];
    if (token == "PI") {
      term.coefficient = kEquationPi;
    } else if (token.find('.') != std::string_view::npos) {
      double number = 0.0;
      if (!parseNumber(token, number)) return false;
      char before = pos > 0 ? text[pos - 1] : '\0';
      bool exponent = before == '^' || (before == '(' && pos > 1 && text[pos - 2] == '^');
      if (exponent) {
        if (lastNamed < 0) return false;
        out.terms[static_cast<size_t>(lastNamed)].exponent = number;
      } else {
        term.coefficient = number;
      }
    } else {
      term.name = token;
      if (product && pos > 0 && text[pos - 1] == '/') term.exponent = -1.0;
      lastNamed = current;
      ++current;
    }
    pos = end;
  }
  if (!sawEquals || current < 2) return false;
  out.count = current;
  return true;
}

}  // namespace qz
