// The evaluation of a token list exactly as the language describes it:
// parentheses from the highest number down, each range reduced operator by
// operator in the order "=^*/+-". Slow (it copies and erases tokens); it is
// the yardstick the compiled program is tested and fuzzed against.
#pragma once

#include "scientific/expression_types.h"
#include "scientific/random_generator.h"

namespace qz {

/// y, or the error id of the first failure.
struct EvalOutcome {
  int error = kExprOk;
  double y = 0.0;
  bool ok() const { return error == kExprOk; }
};

/// Evaluates a well-formed token list (as compileExpressionTokens returns it)
/// for `x`. The list is taken by value: the compiled tokens stay as they were.
EvalOutcome evaluateTokensDirectly(TokenList tokens, double x, AngleUnit unit, RandomGenerator& random);

}  // namespace qz
