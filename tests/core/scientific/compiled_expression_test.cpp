#include "scientific/compiled_expression.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "random_expression.h"
#include "scientific/expression_checker.h"
#include "scientific/expression_compiler.h"
#include "scientific/reference_evaluator.h"

namespace qz {
namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

/// Compares the compiled program with the token-list reduction on one
/// expression for several x; returns the number of successful evaluations.
int compareOn(std::string expression, std::string constants, AngleUnit unit, bool& compiled) {
  compiled = false;
  if (!checkExpressionTexts(expression, constants).ok()) return 0;
  CompiledTokens tokens;
  if (!compileExpressionTokens(expression, constants, tokens).ok()) return 0;
  compiled = true;
  CompiledExpression program = CompiledExpression::fromTokens(tokens.tokens, unit);
  RandomGenerator fast(11), direct(11);
  int successes = 0;
  for (double x : {0.0, 1.0, -1.0, 2.5, -3.75, 90.0, 1e-5, 1e100, -0.5, 1e-250}) {
    EvalOutcome a = program.evaluate(x, fast);
    EvalOutcome b = evaluateTokensDirectly(tokens.tokens, x, unit, direct);
    EXPECT_EQ(a.error, b.error) << expression << " x=" << x;
    if (a.ok() && b.ok()) {
      EXPECT_TRUE(sameBits(a.y, b.y)) << expression << " x=" << x << ": " << a.y << " vs " << b.y;
      ++successes;
    }
  }
  return successes;
}

TEST(CompiledExpression, MatchesTheTokenReductionOnRandomExpressions) {
  testing::RandomExpression random(20261208);
  int compiledCount = 0, successes = 0;
  const int total = 6000;
  for (int i = 0; i < total; ++i) {
    std::string expression = random.expression();
    bool compiled = false;
    successes +=
        compareOn(expression, random.constants(), i % 2 ? AngleUnit::Degrees : AngleUnit::Radians, compiled);
    compiledCount += compiled;
    if (::testing::Test::HasFailure()) break;
  }
  // Make sure the comparison ran on a useful share of cases.
  EXPECT_GT(compiledCount, total / 2);
  EXPECT_GT(successes, total);
}

TEST(CompiledExpression, MatchesOnChosenCases) {
  const char* cases[] = {
      "y=x^2",
      "y=x^3",
      "y=x^-2",
      "y=x^0",
      "y=x^a",
      "y=2^x",
      "y=x^0.5",
      "y=-x^2",
      "y=-sin(x)",
      "y=-(x)^2",
      "y=1e200^2",
      "y=1e-200^2",
      "y=1e120^3",
      "y=1e-120^3",
      "y=(x+1)^1000",
      "y=1.0001^100000",
      "y=0^0",
      "y=0^-2",
      "y=(-8)^(1/3)",
      "y=rnd(x)+rnd(1)",
      "y=ln(x)+1/x",
      "y=(1/x)+ln(x)",
      "y=x=x",
      "y=x-x",
      "y=8/2*2",
      "y=5-2+1",
      "y=2^3^2",
      "y=(-2)^1048577",
      "y=1.000001^2000000",
  };
  for (const char* e : cases) {
    SCOPED_TRACE(e);
    bool compiled = false;
    compareOn(e, "a=3", AngleUnit::Radians, compiled);
    EXPECT_TRUE(compiled);
  }
}

TEST(CompiledExpression, EmptyProgramGivesZero) {
  CompiledExpression empty;
  RandomGenerator g;
  EvalOutcome o = empty.evaluate(5, g);
  EXPECT_TRUE(o.ok());
  EXPECT_EQ(o.y, 0.0);
}

TEST(CompiledExpression, OneInstructionPerOperatorAndFunction) {
  CompiledTokens tokens;
  ASSERT_TRUE(compileExpressionTokens("y=sin(x)*exp(-x/10)+x^2/3", "", tokens).ok());
  EXPECT_EQ(CompiledExpression::fromTokens(tokens.tokens, AngleUnit::Radians).instructionCount(), 7u);
}

}  // namespace
}  // namespace qz
