#include "standard/calculation_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace qz {

namespace {

// Anything below this in magnitude is taken as 0, and anything above the
// largest is an overflow, as everywhere in the program.
constexpr double kSmallest = 1e-300;
constexpr double kLargest = 1e300;

bool isOperatorChar(char c) { return c == '^' || c == '*' || c == '/' || c == kTextPlus || c == kTextMinus; }

// One piece of a flat text: an operand's text, or an operator character.
struct Piece {
  char op = 0;  // 0 for an operand
  std::string text;
};

double flushTiny(double v) { return std::fabs(v) < kSmallest ? 0.0 : v; }

// An operand text read as a C-locale real: the whole text must be a number.
bool convertOperand(const std::string& text, double& value) {
  if (text.empty()) {
    value = 0.0;
    return true;
  }
  for (char c : text)
    if (!std::strchr("0123456789.E+-e", c)) return false;
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(v)) return false;
  value = flushTiny(v);
  return true;
}

bool applyOperator(char op, double a, double b, double& result) {
  double r = 0.0;
  switch (op) {
    case '^':
      r = std::pow(a, b);
      break;
    case '*':
      r = (a == 0.0 || b == 0.0) ? 0.0 : a * b;
      break;
    case '/':
      if (b == 0.0) return false;
      r = a == 0.0 ? 0.0 : a / b;
      break;
    case kTextPlus:
      r = a + b;
      break;
    default:
      r = a - b;
      break;
  }
  if (!std::isfinite(r) || std::fabs(r) > kLargest) return false;
  result = roundTo12Digits(flushTiny(r));
  // 9.999999999995E+299 rounds to 1E+300 at most, never beyond it.
  return std::fabs(result) <= kLargest;
}

// Evaluates a text without parentheses, operator by operator in the fixed order.
bool evaluateFlat(const std::vector<Piece>& pieces, double& result) {
  if (pieces.empty()) {
    result = 0.0;
    return true;
  }
  // An operator in first position has no left operand: not a calculation.
  if (pieces.front().op != 0) return false;
  std::vector<double> operands;
  std::vector<char> ops;
  bool expectOperand = true;
  for (const Piece& p : pieces) {
    if (p.op == 0) {
      double v = 0.0;
      if (!convertOperand(p.text, v)) return false;
      operands.push_back(v);
      expectOperand = false;
    } else {
      if (expectOperand) operands.push_back(0.0);  // two operators in a row
      ops.push_back(p.op);
      expectOperand = true;
    }
  }
  if (expectOperand) operands.push_back(0.0);  // trailing operator

  for (char op : {'^', '*', '/', kTextPlus, kTextMinus}) {
    std::vector<double> nextOperands;
    std::vector<char> nextOps;
    double acc = operands[0];
    for (std::size_t k = 0; k < ops.size(); ++k) {
      if (ops[k] == op) {
        if (!applyOperator(op, acc, operands[k + 1], acc)) return false;
      } else {
        nextOperands.push_back(acc);
        nextOps.push_back(ops[k]);
        acc = operands[k + 1];
      }
    }
    nextOperands.push_back(acc);
    operands.swap(nextOperands);
    ops.swap(nextOps);
  }
  result = operands[0];
  return true;
}

void appendText(std::vector<Piece>& frame, std::string_view text) {
  if (!frame.empty() && frame.back().op == 0)
    frame.back().text.append(text);
  else
    frame.push_back(Piece{0, std::string(text)});
}

}  // namespace

double roundTo12Digits(double value) {
  if (!std::isfinite(value) || value == 0.0) return value;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.12G", value);
  return std::strtod(buffer, nullptr);
}

TextValue evaluateCalculationText(std::string_view text) {
  // One frame per open parenthesis. A closed group is replaced by its value's
  // text, which joins any text right beside it, as in the text itself.
  std::vector<std::vector<Piece>> frames(1);
  const TextValue failed{0.0, true};
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == ' ') {
      ++i;
    } else if (c == '(') {
      frames.emplace_back();
      ++i;
    } else if (c == ')') {
      if (frames.size() == 1) return failed;
      double v = 0.0;
      if (!evaluateFlat(frames.back(), v)) return failed;
      frames.pop_back();
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%.12G", v);
      appendText(frames.back(), buffer);
      ++i;
    } else if (isOperatorChar(c)) {
      frames.back().push_back(Piece{c, {}});
      ++i;
    } else {
      std::size_t j = i;
      while (j < text.size() && text[j] != ' ' && text[j] != '(' && text[j] != ')' &&
             !isOperatorChar(text[j]))
        ++j;
      appendText(frames.back(), text.substr(i, j - i));
      i = j;
    }
  }
  if (frames.size() != 1) return failed;
  double v = 0.0;
  if (!evaluateFlat(frames.front(), v)) return failed;
  return {roundTo12Digits(v), false};
}

}  // namespace qz
