#include "scientific/reference_evaluator.h"

#include <algorithm>

#include "scientific/expression_math.h"

namespace qz {

namespace {

double valueOf(const ExpressionToken& t) { return t.value * t.sign; }

/// Reduces tokens [first, last) of `tokens` to one value token in place.
int reduceRange(TokenList& tokens, std::size_t first, std::size_t& last, double x, double& result) {
  for (std::size_t i = first; i < last; ++i)
    if (tokens[i].kind == TokenKind::X) tokens[i].value = x;
  for (const char* op = kOperatorPriority; *op; ++op) {
    for (std::size_t i = first; i < last;) {
      if (tokens[i].kind != TokenKind::Operator || tokens[i].tag != *op) {
        ++i;
        continue;
      }
      double r = 0.0;
      int error = expr::applyOperator(*op, valueOf(tokens[i - 1]), valueOf(tokens[i + 1]), r);
      if (error != kExprOk) return error;
      tokens[i - 1] = {TokenKind::Value, 0, r, 1.0};
      tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i),
                   tokens.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      last -= 2;
    }
  }
  result = valueOf(tokens[first]);
  return kExprOk;
}

}  // namespace

EvalOutcome evaluateTokensDirectly(TokenList tokens, double x, AngleUnit unit, RandomGenerator& random) {
  int highest = 0;
  for (const ExpressionToken& t : tokens)
    if (t.kind == TokenKind::Open) highest = std::max(highest, t.tag);
  for (int level = highest; level >= 1; --level) {
    std::size_t open = 0;
    while (!(tokens[open].kind == TokenKind::Open && tokens[open].tag == level)) ++open;
    std::size_t close = open + 1;
    while (!(tokens[close].kind == TokenKind::Close && tokens[close].tag == -level)) ++close;
    double result = 0.0;
    int error = reduceRange(tokens, open + 1, close, x, result);
    if (error != kExprOk) return {error, 0.0};
    // The "(" becomes the value; everything up to the ")" goes.
    tokens[open].kind = TokenKind::Value;
    tokens[open].tag = 0;
    tokens[open].value = result;
    tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(open) + 1,
                 tokens.begin() + static_cast<std::ptrdiff_t>(close) + 1);
    if (open > 0 && tokens[open - 1].kind == TokenKind::Function) {
      ExpressionToken& function = tokens[open - 1];
      double r = 0.0;
      error = expr::applyFunction(function.tag, valueOf(tokens[open]), unit, random, r);
      if (error != kExprOk) return {error, 0.0};
      // The sign of "-sin(" applies once, to the function's result.
      function = {TokenKind::Value, 0, r * function.sign, 1.0};
      tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(open));
    }
  }
  std::size_t last = tokens.size();
  double y = 0.0;
  int error = reduceRange(tokens, 0, last, x, y);
  if (error != kExprOk) return {error, 0.0};
  return {kExprOk, y};
}

}  // namespace qz
