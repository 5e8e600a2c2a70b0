// Nanoseconds per evaluation of a compiled expression, each beside a
// hand-written C++ function computing the same formula in the same run, and
// the cost of checking and compiling an expression.
//
// Goals: at most 3 times the hand-written function for the first formula
// (mostly sin and exp), 8 times for the second, 20 times for the third;
// compiling should cost no more than a few hundred evaluations.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "scientific/compiled_expression.h"
#include "scientific/expression_checker.h"
#include "scientific/expression_compiler.h"
#include "scientific/reference_evaluator.h"

namespace {

const char* const kFormula1 = "y=sin(x)*exp(-x/10)+x^2/3";
const char* const kFormula2 = "y=sqr(x^2+1)/(1+abs(x))";
const char* const kFormula3 = "y=a*x^3+b*x^2+c*x+d";
const char* const kConstants3 = "a=1.5\r\nb=-2.25\r\nc=0.75\r\nd=4";

double handWritten1(double x) { return std::sin(x) * std::exp(-x / 10) + x * x / 3; }
double handWritten2(double x) { return std::sqrt(x * x + 1) / (1 + std::fabs(x)); }
double handWritten3(double x) { return 1.5 * x * x * x + -2.25 * x * x + 0.75 * x + 4; }

/// x values spread over an interval, so that no branch is always predicted.
std::vector<double> xValues() {
  std::vector<double> xs(1024);
  for (std::size_t i = 0; i < xs.size(); ++i)
    xs[i] = -20.0 + 40.0 * static_cast<double>((i * 617) % 1024) / 1024.0;
  return xs;
}

qz::CompiledTokens compile(const char* expression, const char* constants) {
  std::string e = expression, c = constants;
  qz::checkExpressionTexts(e, c);
  qz::CompiledTokens tokens;
  qz::compileExpressionTokens(e, c, tokens);
  return tokens;
}

void compiledLoop(benchmark::State& state, const char* expression, const char* constants) {
  qz::CompiledExpression program =
      qz::CompiledExpression::fromTokens(compile(expression, constants).tokens, qz::AngleUnit::Radians);
  qz::RandomGenerator random(1);
  std::vector<double> xs = xValues();
  std::size_t i = 0;
  for (auto _ : state) {
    qz::EvalOutcome o = program.evaluate(xs[i++ & 1023], random);
    benchmark::DoNotOptimize(o);
  }
}

void handLoop(benchmark::State& state, double (*f)(double)) {
  std::vector<double> xs = xValues();
  std::size_t i = 0;
  for (auto _ : state) {
    double y = f(xs[i++ & 1023]);
    benchmark::DoNotOptimize(y);
  }
}

void directLoop(benchmark::State& state, const char* expression, const char* constants) {
  qz::CompiledTokens tokens = compile(expression, constants);
  qz::RandomGenerator random(1);
  std::vector<double> xs = xValues();
  std::size_t i = 0;
  for (auto _ : state) {
    qz::EvalOutcome o =
        qz::evaluateTokensDirectly(tokens.tokens, xs[i++ & 1023], qz::AngleUnit::Radians, random);
    benchmark::DoNotOptimize(o);
  }
}

void BM_Formula1_Compiled(benchmark::State& s) { compiledLoop(s, kFormula1, ""); }
void BM_Formula1_HandWritten(benchmark::State& s) { handLoop(s, handWritten1); }
void BM_Formula1_TokenReduction(benchmark::State& s) { directLoop(s, kFormula1, ""); }
void BM_Formula2_Compiled(benchmark::State& s) { compiledLoop(s, kFormula2, ""); }
void BM_Formula2_HandWritten(benchmark::State& s) { handLoop(s, handWritten2); }
void BM_Formula2_TokenReduction(benchmark::State& s) { directLoop(s, kFormula2, ""); }
void BM_Formula3_Compiled(benchmark::State& s) { compiledLoop(s, kFormula3, kConstants3); }
void BM_Formula3_HandWritten(benchmark::State& s) { handLoop(s, handWritten3); }
void BM_Formula3_TokenReduction(benchmark::State& s) { directLoop(s, kFormula3, kConstants3); }

/// Check, token compilation and code generation of one expression.
void compileCost(benchmark::State& state, const char* expression, const char* constants) {
  for (auto _ : state) {
    std::string e = expression, c = constants;
    qz::ExpressionFault fault = qz::checkExpressionTexts(e, c);
    qz::CompiledTokens tokens;
    fault = qz::compileExpressionTokens(e, c, tokens);
    qz::CompiledExpression program =
        qz::CompiledExpression::fromTokens(tokens.tokens, qz::AngleUnit::Radians);
    benchmark::DoNotOptimize(fault);
    benchmark::DoNotOptimize(program);
  }
}

void BM_Formula1_CheckAndCompile(benchmark::State& s) { compileCost(s, kFormula1, ""); }
void BM_Formula2_CheckAndCompile(benchmark::State& s) { compileCost(s, kFormula2, ""); }
void BM_Formula3_CheckAndCompile(benchmark::State& s) { compileCost(s, kFormula3, kConstants3); }

}  // namespace

BENCHMARK(BM_Formula1_HandWritten);
BENCHMARK(BM_Formula1_Compiled);
BENCHMARK(BM_Formula1_TokenReduction);
BENCHMARK(BM_Formula2_HandWritten);
BENCHMARK(BM_Formula2_Compiled);
BENCHMARK(BM_Formula2_TokenReduction);
BENCHMARK(BM_Formula3_HandWritten);
BENCHMARK(BM_Formula3_Compiled);
BENCHMARK(BM_Formula3_TokenReduction);
BENCHMARK(BM_Formula1_CheckAndCompile);
BENCHMARK(BM_Formula2_CheckAndCompile);
BENCHMARK(BM_Formula3_CheckAndCompile);
