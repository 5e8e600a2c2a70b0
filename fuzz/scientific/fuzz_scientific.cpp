// Feeds random expressions and constants through the check, the compiler and
// both evaluators (which must agree bit for bit), and random section bodies
// through the section reader.
//
// Input layout: expression, then a line feed, then the constants (";" or line
// breaks between definitions). Bytes past a second line feed choose x.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scientific/compiled_expression.h"
#include "scientific/expression_checker.h"
#include "scientific/expression_compiler.h"
#include "scientific/reference_evaluator.h"
#include "scientific/scientific_state.h"

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void evaluateBoth(const qz::TokenList& tokens, qz::AngleUnit unit, double x) {
  qz::CompiledExpression program = qz::CompiledExpression::fromTokens(tokens, unit);
  qz::RandomGenerator fast(5), direct(5);
  qz::EvalOutcome a = program.evaluate(x, fast);
  qz::EvalOutcome b = qz::evaluateTokensDirectly(tokens, x, unit, direct);
  if (a.error != b.error || (a.ok() && !sameBits(a.y, b.y))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t split = input.find('\n');
  std::string expression = input.substr(0, split);
  std::string rest = split == std::string::npos ? std::string() : input.substr(split + 1);
  std::size_t split2 = rest.find('\n');
  std::string constants = rest.substr(0, split2);
  std::string tail = split2 == std::string::npos ? std::string() : rest.substr(split2 + 1);
  for (char& c : constants)
    if (c == ';') c = '\n';
  // The fields hold at most 255 and 511 characters.
  if (expression.size() > qz::kMaxExpressionLength) expression.resize(qz::kMaxExpressionLength);
  if (constants.size() > qz::kMaxConstantsLength) constants.resize(qz::kMaxConstantsLength);

  // The compiler must also stand texts that skipped the check.
  qz::CompiledTokens unchecked;
  if (qz::compileExpressionTokens(expression, constants, unchecked).ok()) {
    if (!qz::isWellFormed(unchecked.tokens)) std::abort();
    evaluateBoth(unchecked.tokens, qz::AngleUnit::Radians, 1.5);
  }

  std::string e = expression, c = constants;
  if (qz::checkExpressionTexts(e, c).ok()) {
    qz::CompiledTokens tokens;
    if (qz::compileExpressionTokens(e, c, tokens).ok()) {
      double x = 0.5;
      if (tail.size() >= sizeof(double)) std::memcpy(&x, tail.data(), sizeof x);
      if (!(std::abs(x) <= 1e300)) x = 2.0;
      for (double v : {x, 0.0, -1.0, 90.0}) {
        evaluateBoth(tokens.tokens, qz::AngleUnit::Degrees, v);
        evaluateBoth(tokens.tokens, qz::AngleUnit::Radians, v);
      }
    }
  }

  qz::ScientificState state;
  qz::readScientificSection(input, state);
  if (state.expression.size() > qz::kMaxExpressionLength || state.results.size() > qz::kMaxResults)
    std::abort();
  qz::ScientificState again;
  qz::readScientificSection(qz::writeScientificSection(state), again);
  return 0;
}
