#include "scientific/expression_checker.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "numbers/real_format.h"

namespace qz {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLowerLetter(char c) { return c >= 'a' && c <= 'z'; }
bool oneOf(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

std::string withoutBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (!isBlank(c)) out += c;
  return out;
}

/// Characters refused before and after each operator.
struct OperatorRule {
  char op;
  const char* refusedBefore;
  const char* refusedAfter;
};
constexpr OperatorRule kOperatorRules[] = {
    {'*', "*+-/=^(", "*/=^)"}, {'/', "*+-/=^(", "*/=^)"}, {'^', "*+-/=^(", "*/=^)"},
    {'+', "*+-/(", "*+-/=^)"}, {'-', "*+/-", "*+-/=^)"},  {'=', "(*+-/=^)", "*/=^)"},
};

}  // namespace

std::string normalisedExpression(std::string_view text) {
  std::string out = withoutBlanks(text);
  if (out.empty() || out == "y" || out == "y=") out = "y=0";
  return out;
}

std::string normalisedConstants(std::string_view text) {
  std::string out = withoutBlanks(text);
  std::size_t first = out.find_first_not_of("\r\n");
  return first == std::string::npos ? std::string() : out.substr(first);
}

std::string joinedConstants(std::string_view constants) {
  std::string joined;
  joined.reserve(constants.size() + 1);
  for (std::size_t i = 0; i < constants.size(); ++i) {
    char c = constants[i];
    if (c == '\r') {
      if (i + 1 < constants.size() && constants[i + 1] == '\n') ++i;
      joined += ';';
    } else if (c == '\n') {
      joined += ';';
    } else {
      joined += c;
    }
  }
  joined += ';';
  if (joined.size() > kMaxJoinedConstantsLength) joined.resize(kMaxJoinedConstantsLength);
  return joined;
}

std::vector<std::string_view> constantDefinitions(std::string_view joined) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  for (std::size_t semi = joined.find(';'); semi != std::string_view::npos; semi = joined.find(';', start)) {
    out.push_back(joined.substr(start, semi - start));
    start = semi + 1;
  }
  return out;
}

bool readLiteral(std::string_view text, double& value) {
  if (parseReal(text, value)) return true;
  // parseReal refuses every range error; an underflow has still read the
  // whole text, and its tiny value is harmless.
  std::string s(text);
  if (s.empty()) return false;
  for (char c : s)
    if (!std::strchr("0123456789.eE+-", c)) return false;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || errno != ERANGE || !(std::fabs(v) < 1.0)) return false;
  value = v;
  return true;
}

int parseConstantDefinition(std::string_view definition, Constant& constant) {
  if (definition.empty() || std::count(definition.begin(), definition.end(), '=') != 1)
    return kBadConstantDefinition;
  std::size_t equal = definition.find('=');
  std::string_view name = definition.substr(0, equal);
  std::string_view value = definition.substr(equal + 1);
  if (name.empty() || name.size() > 2 || !isLowerLetter(name[0]) || (name.size() == 2 && !isDigit(name[1])))
    return kBadConstantDefinition;
  if (name == "x") return kConstantNamedX;
  if (name == "y") return kConstantNamedY;
  // "e" and "e5" would be read as exponents of numbers.
  if (name[0] == 'e') return kConstantNamedE;
  if (value.empty()) return kMissingConstantValue;
  double v = 0.0;
  if (value.size() > kMaxNumberLength || !readLiteral(value, v)) return kBadConstantValue;
  constant.name = std::string(name);
  constant.value = v;
  return kExprOk;
}

ExpressionFault checkExpressionRules(std::string_view text) {
  auto fault = [](int id) { return ExpressionFault::inExpression(id); };
  if (text.substr(0, 2) != "y=") return fault(kMustBeginWithY);
  // A "y" on the right side can only begin a constant name such as y1.
  for (std::size_t i = 2; i < text.size(); ++i)
    if (text[i] == 'y' && (i + 1 >= text.size() || !isDigit(text[i + 1]))) return fault(kYOnRightSide);
  std::size_t firstOpen = text.find('('), firstClose = text.find(')');
  if (firstOpen != std::string_view::npos && firstClose != std::string_view::npos && firstClose < firstOpen)
    return fault(kClosingFirst);
  if (std::count(text.begin(), text.end(), '(') != std::count(text.begin(), text.end(), ')'))
    return fault(kParenthesisCount);
  if (text.find("()") != std::string_view::npos) return fault(kEmptyParentheses);
  if (text.find(")(") != std::string_view::npos) return fault(kBadInstruction);
  for (std::size_t i = 0; i < text.size(); ++i) {
    for (const OperatorRule& rule : kOperatorRules) {
      if (text[i] != rule.op) continue;
      if (i == 0 || i + 1 >= text.size()) return fault(kBadOperator);
      if (oneOf(text[i - 1], rule.refusedBefore) || oneOf(text[i + 1], rule.refusedAfter))
        return fault(kBadOperator);
    }
  }
  if (text.find("..") != std::string_view::npos) return fault(kBadDecimalPoint);
  return {};
}

ExpressionFault parseConstants(std::string_view constants, ConstantTable& table) {
  table.clear();
  if (constants.empty()) return {};
  std::string joined = joinedConstants(constants);
  std::vector<std::string_view> definitions = constantDefinitions(joined);
  for (std::size_t i = 0; i < definitions.size(); ++i) {
    int number = static_cast<int>(i) + 1;
    if (number > kMaxConstants) return ExpressionFault::inConstant(kTooManyConstants, number);
    Constant constant;
    int id = parseConstantDefinition(definitions[i], constant);
    if (id != kExprOk) return ExpressionFault::inConstant(id, number);
    table.push_back(std::move(constant));
  }
  return {};
}

ExpressionFault checkExpressionTexts(std::string& expression, std::string& constants) {
  expression = normalisedExpression(expression);
  constants = normalisedConstants(constants);
  ExpressionFault fault = checkExpressionRules(expression);
  if (!fault.ok()) return fault;
  ConstantTable table;
  return parseConstants(constants, table);
}

}  // namespace qz
