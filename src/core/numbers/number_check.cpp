#include "numbers/number_check.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "numbers/real_format.h"

namespace qz {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t countOf(const std::string& s, char c) { return static_cast<std::size_t>(std::count(s.begin(), s.end(), c)); }

// A sign part of a number: at most one sign, and only in first position.
bool signsOnlyFirst(const std::string& part) {
  for (char sign : {'+', '-'}) {
    std::size_t n = countOf(part, sign);
    if (n > 1 || (n == 1 && part.find(sign) != 0)) return false;
  }
  return true;
}

}  // namespace

std::string TypedNumberText(std::string_view typed) {
  std::string text(typed);
  for (char& c : text) {
    if (c == 'e')
      c = 'E';
    else if (c == ',')
      c = '.';
  }
  return text;
}

bool CheckTypedNumber(const std::string& text) {
  if (text.empty()) return true;
  if (text.find(' ') != std::string::npos || countOf(text, 'E') > 1 || text.front() == 'E') return false;
  for (char c : text)
    if (!isDigit(c) && c != 'E' && c != '.' && c != '+' && c != '-') return false;
  std::size_t e = text.find('E');
  std::string mantissa = text.substr(0, e);
  std::string exponent = e == std::string::npos ? std::string() : text.substr(e + 1);
  if (!exponent.empty() && (!signsOnlyFirst(exponent) || exponent.find('.') != std::string::npos)) return false;
  return signsOnlyFirst(mantissa) && countOf(mantissa, '.') <= 1;
}

bool CheckNumberText(std::string& text, int kind, bool allowNegative) {
  std::string s;
  for (char c : text)
    if (c != ' ') s += c == ',' ? '.' : c;
  if (s.empty()) {
    text = s;
    return true;
  }
  const std::size_t eCount = countOf(s, 'E');
  const std::size_t points = countOf(s, '.');
  // Without an exponent every "-" is a mantissa sign.
  const std::size_t ePos = s.find('E');
  const std::size_t split = ePos == std::string::npos ? s.size() : ePos;
  const std::size_t mantissaMinus = static_cast<std::size_t>(std::count(s.begin(), s.begin() + split, '-'));
  const std::size_t exponentMinus = static_cast<std::size_t>(std::count(s.begin() + split, s.end(), '-'));

  if (mantissaMinus > 1 || (mantissaMinus > 0 && !allowNegative)) return false;
  switch (kind) {
    case 1:
      if (points > 0 || eCount > 0) return false;
      break;
    case 2:
      if (points > 1 || eCount > 0) return false;
      break;
    case 3:
      if (points > 1 || eCount > 1 || ePos == 0 || exponentMinus > 1) return false;
      if (points == 1 && eCount == 1 && s.find('.') > ePos) return false;
      break;
    default:
      break;
  }
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '+' || c == '-') {
      if (i != 0 && s[i - 1] != 'E') return false;
    } else if (!isDigit(c) && c != '.' && c != 'E') {
      return false;
    }
  }
  text = s;
  return true;
}

bool InsertSign(std::string& text, int& selStart, int& selEnd, bool negative) {
  const char sign = negative ? '-' : '+';
  const char opposite = negative ? '+' : '-';
  const std::size_t ePos = text.find('E');
  const bool hasExponent = ePos != std::string::npos && ePos > 0;
  std::string mantissa = hasExponent ? text.substr(0, ePos) : text;
  std::string exponent = hasExponent ? text.substr(ePos + 1) : std::string();
  int newStart = selStart, newEnd = selEnd;
  bool signedExponent = false;

  if (mantissa.empty()) {
    mantissa = std::string(1, sign);
    newStart = newEnd = 1;
  } else if (selStart == 0 && selEnd == 0) {
    if (mantissa.front() == opposite)
      mantissa.front() = sign;
    else
      mantissa.insert(mantissa.begin(), sign);
    newStart = newEnd = 1;
  }
  if (hasExponent) {
    const int afterE = static_cast<int>(mantissa.size()) + 1;
    const int oldAfterE = static_cast<int>(ePos) + 1;
    if (exponent.empty()) {
      exponent = std::string(1, sign);
      newStart = newEnd = afterE;
      signedExponent = true;
    } else if (selStart == oldAfterE && selEnd == oldAfterE) {
      if (exponent.front() == opposite)
        exponent.front() = sign;
      else
        exponent.insert(exponent.begin(), sign);
      newStart = newEnd = afterE;
      signedExponent = true;
    }
  }
  std::string result = mantissa + (hasExponent ? "E" : "") + exponent;
  if (result == text || !CheckTypedNumber(result)) return false;
  text = result;
  if (!hasExponent || signedExponent) {
    newStart = newEnd = static_cast<int>(text.size());
  }
  selStart = newStart;
  selEnd = newEnd;
  return true;
}

bool ChangeSign(std::string& text, int& selStart, int& selEnd) {
  if (text.empty()) return false;
  const std::size_t ePos = text.find('E');
  const bool hasExponent = ePos != std::string::npos && ePos > 0;
  const int afterE = hasExponent ? static_cast<int>(ePos) + 1 : 0;
  const bool inExponent = hasExponent && std::min(selStart, selEnd) >= afterE;
  int caret = 0;
  if (inExponent) {
    // An exponent not yet typed has no sign to change.
    if (static_cast<std::size_t>(afterE) >= text.size()) return false;
    caret = afterE;
  }
  const bool partIsNegative = text[static_cast<std::size_t>(caret)] == '-';
  int start = caret, end = caret;
  if (!InsertSign(text, start, end, !partIsNegative)) return false;
  selStart = start;
  selEnd = end;
  return true;
}

double ExtractNumber(std::string& text) {
  const auto notBlank = [](char c) { return c != ' '; };
  auto first = std::find_if(text.begin(), text.end(), notBlank);
  auto last = std::find_if(text.rbegin(), text.rend(), notBlank).base();
  std::string s = first < last ? std::string(first, last) : std::string();
  if (s.empty()) {
    text.clear();
    return 0.0;
  }
  // Digit groups ("1 234 567") join up; a decimal comma becomes a point.
  std::string joined;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == ' ' && i > 0 && i + 1 < s.size() && isDigit(s[i - 1]) && isDigit(s[i + 1])) continue;
    joined += s[i] == ',' ? '.' : s[i];
  }
  std::size_t pos = 0;
  while (pos < joined.size()) {
    while (pos < joined.size() && joined[pos] == ' ') ++pos;
    std::size_t end = joined.find(' ', pos);
    if (end == std::string::npos) end = joined.size();
    std::string word = joined.substr(pos, end - pos);
    double value = 0.0;
    if (!word.empty() && parseReal(word, value)) {
      text = word;
      return value;
    }
    pos = end;
  }
  text.clear();
  return 0.0;
}

std::string LocalisePoint(std::string text, char separator) {
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

std::string DelocalisePoint(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

bool ClampReal(double& value) {
  if (value > 1e300) {
    value = 1e300;
    return true;
  }
  if (value < -1e300) {
    value = -1e300;
    return true;
  }
  if (std::fabs(value) < 1e-300) value = 0.0;
  return false;
}

}  // namespace qz
