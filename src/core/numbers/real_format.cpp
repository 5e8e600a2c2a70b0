#include "numbers/real_format.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace qz {

namespace {

// Pads every exponent of a printed number ("e+15", "E-5") to three digits,
// the form the program's files and users have always seen.
std::string widenExponents(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    out += c;
    bool afterDigit = i > 0 && std::isdigit(static_cast<unsigned char>(text[i - 1]));
    if ((c == 'e' || c == 'E') && afterDigit && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) {
      std::size_t digits = i + 2;
      std::size_t end = digits;
      while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
      if (end == digits) continue;
      out += text[i + 1];
      for (std::size_t n = end - digits; n < 3; ++n) out += '0';
      out.append(text, digits, end - digits);
      i = end - 1;
    }
  }
  return out;
}

std::string printfDouble(const char* format, double value) {
  char buffer[512];
  int n = std::snprintf(buffer, sizeof buffer, format, value);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof buffer) return buffer;
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), format, value);
  big.resize(static_cast<std::size_t>(n));
  return big;
}

// The conversion character of a one-argument printf format, or 0.
char conversionOf(std::string_view format) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    while (j < format.size() && std::strchr("-+ #0123456789.lhLqjzt", format[j])) ++j;
    return j < format.size() ? format[j] : 0;
  }
  return 0;
}

// A custom format comes from our own code, but it is still checked: only
// formats with exactly one floating or integer conversion are used.
bool isDoubleConversion(char c) { return c && std::strchr("eEfFgGaA", c); }
bool isIntegerConversion(char c) { return c && std::strchr("di", c); }

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string integerText(double value) {
  double t = std::trunc(value);
  if (!std::isfinite(t)) return {};
  // Beyond 64 bits an integer text would be meaningless: print the truncated real.
  if (std::fabs(t) >= 9.2e18) return formatDouble("%.0f", t);
  return std::to_string(static_cast<long long>(t));
}

}  // namespace

std::string formatDouble(const char* format, double value) {
  // Only the conversion's own output is widened, never the text around it.
  std::string_view f(format);
  std::size_t start = std::string_view::npos, end = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%') continue;
    if (i + 1 < f.size() && f[i + 1] == '%') {
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    while (j < f.size() && std::strchr("-+ #0123456789.lhLqjzt", f[j])) ++j;
    if (j < f.size()) {
      start = i;
      end = j + 1;
    }
    break;
  }
  if (start == std::string_view::npos) return printfDouble(format, value);
  std::string literalBefore = printfDouble(std::string(f.substr(0, start)).c_str(), 0.0);
  std::string literalAfter = printfDouble(std::string(f.substr(end)).c_str(), 0.0);
  std::string number = widenExponents(printfDouble(std::string(f.substr(start, end - start)).c_str(), value));
  return literalBefore + number + literalAfter;
}

std::string exchangeText(double value) { return formatDouble("%.12G", value); }

std::string FormatReal(double value, std::string_view customFormat, int mode, int decimals) {
  if (mode < 0 || mode > 4) return {};
  if (decimals < 0) decimals = 0;
  if (decimals > 9) decimals = 9;
  std::string text;
  bool trim = false;
  if (!customFormat.empty()) {
    std::string format(customFormat);
    char conversion = conversionOf(format);
    if (mode == 4) {
      if (isIntegerConversion(conversion)) {
        double t = std::trunc(value);
        if (std::fabs(t) >= 2147483648.0) return integerText(value);
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, format.c_str(), static_cast<int>(t));
        text = buffer;
      } else if (isDoubleConversion(conversion)) {
        text = formatDouble(format.c_str(), std::trunc(value));
      }
    } else if (isDoubleConversion(conversion)) {
      text = formatDouble(format.c_str(), value);
    }
  } else {
    char format[16];
    switch (mode) {
      case 0:
        text = formatDouble("%.12G", value);
        trim = true;
        break;
      case 1:
        std::snprintf(format, sizeof format, "%%.%df", decimals);
        text = formatDouble(format, value);
        break;
      case 2:
        text = formatDouble("%.12G", value);
        break;
      case 3:
        std::snprintf(format, sizeof format, "%%.%de", decimals);
        text = formatDouble(format, value);
        break;
      case 4:
        text = integerText(value);
        break;
    }
  }
  text = upper(std::move(text));
  if (trim) {
    std::size_t point = text.find('.');
    if (point != std::string::npos && point > 0 && text.find('E') == std::string::npos) {
      while (!text.empty() && text.back() == '0') text.pop_back();
      if (!text.empty() && text.back() == '.') text.pop_back();
    }
  }
  return text;
}

std::string FormatDateStamp(bool withTime) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, withTime ? "%d/%m/%Y (%H:%M)" : "%d/%m/%Y", &local);
  return buffer;
}

bool parseReal(std::string_view text, double& value) {
  std::string s(text);
  if (s.empty() || std::isspace(static_cast<unsigned char>(s.front()))) return false;
  const char* begin = s.c_str();
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(begin, &end);
  if (end == begin || *end != '\0' || errno == ERANGE) return false;
  // strtod also takes "inf", "nan" and hexadecimal; the program's numbers never are.
  for (char c : s)
    if (!std::strchr("0123456789.eE+-", c)) return false;
  value = v;
  return true;
}

double readRealPrefix(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  // Only decimal digits, point, sign and exponent: never "inf" or "nan".
  std::size_t len = 0;
  bool integer = true;  // a sign and at most 15 digits: exact in a double, no strtod needed
  while (start + len < text.size() && std::strchr("0123456789.eE+-", text[start + len]) && text[start + len]) {
    const char c = text[start + len];
    const bool sign = c == '+' || c == '-';
    integer = integer && ((sign && len == 0) || (c >= '0' && c <= '9'));
    ++len;
  }
  const std::string_view run = text.substr(start, len);
  // Most fields of the data files are small integers (dimensions, counts).
  const std::size_t digits = run.size() - (integer && !run.empty() && (run[0] == '+' || run[0] == '-'));
  if (integer && digits > 0 && digits <= 15) {
    double value = 0;
    for (char c : run.substr(run.size() - digits)) value = value * 10 + (c - '0');
    return run[0] == '-' ? -value : value;
  }
  const std::string number(run);
  char* end = nullptr;
  double v = std::strtod(number.c_str(), &end);
  if (end == number.c_str() || !std::isfinite(v)) return 0.0;
  return v;
}

}  // namespace qz
