// A fixed amount of work for instruction counting under callgrind
// (valgrind --tool=callgrind count_scientific): each formula evaluated
// 100000 times by the compiled program and by a hand-written function, each
// loop in a function of its own, so that the inclusive count of that
// function divided by 100000 is the cost of one evaluation.
#include <cmath>
#include <cstdio>
#include <string>

#include "scientific/compiled_expression.h"
#include "scientific/expression_checker.h"
#include "scientific/expression_compiler.h"

namespace {

constexpr int kRuns = 100000;

double xAt(int i) { return -20.0 + 40.0 * static_cast<double>((i * 617) % 1024) / 1024.0; }

qz::CompiledExpression compile(const char* expression, const char* constants) {
  std::string e = expression, c = constants;
  qz::checkExpressionTexts(e, c);
  qz::CompiledTokens tokens;
  qz::compileExpressionTokens(e, c, tokens);
  return qz::CompiledExpression::fromTokens(tokens.tokens, qz::AngleUnit::Radians);
}

// The tag keeps the three loops apart (identical functions would be merged).
template <int Tag>
__attribute__((noinline)) double compiledRuns(qz::CompiledExpression& program) {
  qz::RandomGenerator random(Tag);
  double sum = Tag;
  for (int i = 0; i < kRuns; ++i) sum += program.evaluate(xAt(i), random).y;
  return sum;
}

__attribute__((noinline)) double handRuns1() {
  double sum = 0;
  for (int i = 0; i < kRuns; ++i) {
    double x = xAt(i);
    sum += std::sin(x) * std::exp(-x / 10) + x * x / 3;
  }
  return sum;
}

__attribute__((noinline)) double handRuns2() {
  double sum = 0;
  for (int i = 0; i < kRuns; ++i) {
    double x = xAt(i);
    sum += std::sqrt(x * x + 1) / (1 + std::fabs(x));
  }
  return sum;
}

__attribute__((noinline)) double handRuns3() {
  double sum = 0;
  for (int i = 0; i < kRuns; ++i) {
    double x = xAt(i);
    sum += 1.5 * x * x * x + -2.25 * x * x + 0.75 * x + 4;
  }
  return sum;
}

__attribute__((noinline)) double compileRuns() {
  double sum = 0;
  for (int i = 0; i < kRuns / 100; ++i)
    sum += static_cast<double>(compile("y=a*x^3+b*x^2+c*x+d", "a=1\r\nb=2\r\nc=3\r\nd=4").instructionCount());
  return sum;
}

double formula1(qz::CompiledExpression& p) { return compiledRuns<1>(p); }
double formula2(qz::CompiledExpression& p) { return compiledRuns<2>(p); }
double formula3(qz::CompiledExpression& p) { return compiledRuns<3>(p); }

}  // namespace

int main() {
  qz::CompiledExpression p1 = compile("y=sin(x)*exp(-x/10)+x^2/3", "");
  qz::CompiledExpression p2 = compile("y=sqr(x^2+1)/(1+abs(x))", "");
  qz::CompiledExpression p3 = compile("y=a*x^3+b*x^2+c*x+d", "a=1.5\r\nb=-2.25\r\nc=0.75\r\nd=4");
  std::printf("%g %g\n", formula1(p1), handRuns1());
  std::printf("%g %g\n", formula2(p2), handRuns2());
  std::printf("%g %g\n", formula3(p3), handRuns3());
  std::printf("%g\n", compileRuns());
  return 0;
}
