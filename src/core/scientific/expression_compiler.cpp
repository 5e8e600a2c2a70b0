#include "scientific/expression_compiler.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "numbers/real_format.h"
#include "scientific/expression_checker.h"

namespace qz {

namespace {

constexpr char kBlank = ' ';

bool isDigit(char c) { return c >= '0' && c <= '9'; }

/// The working text and one token slot per character. A character that
/// became a token, or was dropped, is blanked out of the text.
class Workspace {
 public:
  explicit Workspace(std::string text) : m_text(std::move(text)), m_slots(m_text.size()) {}

  std::size_t size() const { return m_text.size(); }
  char at(std::size_t i) const { return m_text[i]; }
  std::size_t find(std::string_view what, std::size_t from) const { return m_text.find(what, from); }
  void blank(std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count && i < m_text.size(); ++i) m_text[i] = kBlank;
  }
  void unblank(std::size_t i, char c) { m_text[i] = c; }
  void setToken(std::size_t i, ExpressionToken token) { m_slots[i] = token; }
  void dropToken(std::size_t i) { m_slots[i].reset(); }
  std::optional<ExpressionToken>& slot(std::size_t i) { return m_slots[i]; }
  bool anythingLeft() const { return m_text.find_first_not_of(kBlank) != std::string::npos; }
  /// The nearest slot before (step -1) or after (step +1) `i` holding a token
  /// or a character not yet read; nullptr when it is a character or there is none.
  ExpressionToken* neighbour(std::size_t i, int step) {
    for (std::ptrdiff_t k = static_cast<std::ptrdiff_t>(i) + step;
         k >= 0 && k < static_cast<std::ptrdiff_t>(size()); k += step) {
      if (m_slots[k]) return &*m_slots[k];
      if (m_text[k] != kBlank) return nullptr;
    }
    return nullptr;
  }
  TokenList compact() const {
    TokenList out;
    for (const auto& s : m_slots)
      if (s) out.push_back(*s);
    return out;
  }

 private:
  std::string m_text;
  std::vector<std::optional<ExpressionToken>> m_slots;
};

ExpressionToken token(TokenKind kind, int tag, double value = 0.0) { return {kind, tag, value, 1.0}; }

void readFunctions(Workspace& w) {
  for (int f = 0; f < kFunctionCount; ++f) {
    std::string_view name = kFunctionNames[f];
    for (std::size_t pos = w.find(name, 0); pos != std::string::npos;
         pos = w.find(name, pos + name.size() - 1)) {
      w.setToken(pos, token(TokenKind::Function, f));
      w.blank(pos, name.size() - 1);  // the "(" stays, to be read as a parenthesis
    }
  }
}

void readParentheses(Workspace& w) {
  int count = 0;
  std::vector<std::pair<std::size_t, int>> open;
  for (std::size_t i = 0; i < w.size(); ++i) {
    if (w.at(i) == '(') {
      open.emplace_back(i, ++count);
      w.setToken(i, token(TokenKind::Open, count));
      w.blank(i, 1);
    } else if (w.at(i) == ')' && !open.empty()) {
      w.setToken(i, token(TokenKind::Close, -open.back().second));
      open.pop_back();
      w.blank(i, 1);
    }
  }
  // Unpaired parentheses (only in a text that skipped the check) stay in
  // the text and are reported as left over.
  for (auto [pos, number] : open) {
    w.dropToken(pos);
    w.unblank(pos, '(');
  }
}

void readConstants(Workspace& w, const ConstantTable& table) {
  // A plain text search in table order: a one-letter name defined before a
  // two-character name with the same letter takes that letter from it.
  for (std::size_t c = 0; c < table.size(); ++c) {
    const std::string& name = table[c].name;
    for (std::size_t pos = w.find(name, 0); pos != std::string::npos; pos = w.find(name, pos + name.size())) {
      w.setToken(pos, token(TokenKind::Value, static_cast<int>(c) + 1, table[c].value));
      w.blank(pos, name.size());
    }
  }
}

void readVariable(Workspace& w) {
  for (std::size_t i = 0; i < w.size(); ++i) {
    if (w.at(i) == 'x') {
      w.setToken(i, token(TokenKind::X, 0));
      w.blank(i, 1);
    }
  }
}

void readNumbers(Workspace& w) {
  const std::size_t n = w.size();
  auto bodyChar = [&](std::size_t i) {
    return isDigit(w.at(i)) || w.at(i) == '.' || (w.at(i) == 'e' && i + 1 < n);
  };
  for (std::size_t i = 0; i < n;) {
    if (!bodyChar(i)) {
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    while (j < n && (bodyChar(j) || ((w.at(j) == '+' || w.at(j) == '-') && w.at(j - 1) == 'e'))) ++j;
    std::string run;
    for (std::size_t k = i; k < j; ++k) run += w.at(k);
    double value = 0.0;
    if (run.size() <= kMaxNumberLength && readLiteral(run, value)) {
      w.setToken(i, token(TokenKind::Value, 0, value));
      w.blank(i, run.size());
    }
    i = j;
  }
}

void readOperators(Workspace& w) {
  for (const char* op = kOperatorPriority; *op; ++op) {
    for (std::size_t i = 0; i < w.size(); ++i) {
      if (w.at(i) != *op) continue;
      w.blank(i, 1);
      const ExpressionToken* before = w.neighbour(i, -1);
      bool unary = before && (before->kind == TokenKind::Operator || before->kind == TokenKind::Open);
      if (!unary) {
        w.setToken(i, token(TokenKind::Operator, *op));
        continue;
      }
      // A sign: it goes onto the operand that follows; any other operator
      // in this place is dropped.
      ExpressionToken* after = w.neighbour(i, +1);
      if ((*op == '-' || *op == '+') && after && after->kind != TokenKind::Operator &&
          after->kind != TokenKind::Close)
        after->sign = *op == '-' ? -1.0 : 1.0;
    }
  }
}

bool isOperand(TokenKind k) { return k == TokenKind::X || k == TokenKind::Value; }

/// The adjacency rules: value or x then value, x, function or "(";
/// function then operator; ")" then value, x or function.
bool badNeighbours(const ExpressionToken& a, const ExpressionToken& b) {
  bool bStartsOperand = isOperand(b.kind) || b.kind == TokenKind::Function || b.kind == TokenKind::Open;
  if (isOperand(a.kind) && bStartsOperand) return true;
  if (a.kind == TokenKind::Function && b.kind == TokenKind::Operator) return true;
  if (a.kind == TokenKind::Close && bStartsOperand) return true;
  return false;
}

}  // namespace

std::string rewriteNegatedParentheses(std::string_view expression) {
  std::string out;
  out.reserve(expression.size() + 8);
  for (std::size_t i = 0; i < expression.size(); ++i) {
    out += expression[i];
    if (expression[i] == '-' && i + 1 < expression.size() && expression[i + 1] == '(') out += "1*";
  }
  return out;
}

bool isWellFormed(const TokenList& tokens) {
  std::vector<int> open;
  bool expectOperand = true;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const ExpressionToken& t = tokens[i];
    if (expectOperand) {
      if (isOperand(t.kind)) {
        expectOperand = false;
      } else if (t.kind == TokenKind::Function) {
        if (t.tag < 0 || t.tag >= kFunctionCount) return false;
        if (i + 1 >= tokens.size() || tokens[i + 1].kind != TokenKind::Open) return false;
      } else if (t.kind == TokenKind::Open) {
        open.push_back(t.tag);
      } else {
        return false;
      }
    } else {
      if (t.kind == TokenKind::Operator) {
        if (!std::strchr(kOperatorPriority, static_cast<char>(t.tag)) || t.tag == 0) return false;
        expectOperand = true;
      } else if (t.kind == TokenKind::Close) {
        if (open.empty() || t.tag != -open.back()) return false;
        open.pop_back();
      } else {
        return false;
      }
    }
  }
  if (expectOperand || !open.empty()) return false;
  // Parenthesis numbers are 1..N, each once, in order of appearance.
  int expected = 1;
  for (const ExpressionToken& t : tokens)
    if (t.kind == TokenKind::Open && t.tag != expected++) return false;
  return true;
}

ExpressionFault compileExpressionTokens(std::string_view expression, std::string_view constants,
                                        CompiledTokens& out) {
  out.tokens.clear();
  ExpressionFault fault = parseConstants(constants, out.constants);
  if (!fault.ok()) return fault;

  Workspace w(rewriteNegatedParentheses(expression));
  const bool leadingY = expression.substr(0, 2) == "y=";
  if (leadingY) w.blank(0, 1);
  readFunctions(w);
  readParentheses(w);
  readConstants(w, out.constants);
  readVariable(w);
  readNumbers(w);
  readOperators(w);
  if (leadingY && w.slot(1) && w.slot(1)->kind == TokenKind::Operator) w.dropToken(1);
  if (w.anythingLeft()) return ExpressionFault::inExpression(kUnknownElement);

  TokenList tokens = w.compact();
  for (std::size_t i = 0; i + 1 < tokens.size(); ++i)
    if (badNeighbours(tokens[i], tokens[i + 1])) return ExpressionFault::inExpression(kSyntaxError);
  // Whatever else cannot be evaluated (an empty text, a dangling operator in
  // a text that skipped the check) is a syntax error too.
  if (!isWellFormed(tokens)) return ExpressionFault::inExpression(kSyntaxError);
  out.tokens = std::move(tokens);
  return {};
}

}  // namespace qz
