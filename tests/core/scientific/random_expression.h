// Random expressions of the language, for the tests that compare the
// compiled program with the token-list reduction.
#pragma once

#include <random>
#include <string>

namespace qz::testing {

class RandomExpression {
 public:
  explicit RandomExpression(unsigned seed) : m_rng(seed) {}

  /// "y=" and a random expression over x, numbers, the constants a, b, c1
  /// and every function; most pass the check, some fail on purpose.
  std::string expression() { return "y=" + sum(0, kMinus); }
  /// Definitions of a, b and c1 with random values, CR LF separated.
  std::string constants() {
    return "a=" + pick(kNumbers) + "\r\nb=-" + pick(kNumbers) + "\r\nc1=" + pick(kNumbers);
  }

 private:
  static constexpr const char* kNumbers[] = {"0",      "1",      "2",     "3",      "0.5", "10",
                                             "1e3",    "2.5e-3", "1e200", "1e-200", "7",   "0.1",
                                             "1e-160", "4e150",  "180",   "45"};
  static constexpr const char* kFunctions[] = {"abs(", "acos(", "asin(", "atn(", "cos(", "cosh(",
                                               "exp(", "fix(",  "int(",  "log(", "ln(",  "rnd(",
                                               "sgn(", "sin(",  "sinh(", "sqr(", "tan(", "tanh("};
  static constexpr char kOperators[] = "=^*/+-*/+-^";

  template <std::size_t N>
  std::string pick(const char* const (&list)[N]) {
    return list[std::uniform_int_distribution<std::size_t>(0, N - 1)(m_rng)];
  }
  int roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

  /// Signs the check accepts: none after most operators, "-" at the start
  /// and after "(", "-" or "+" after "^".
  enum Signs { kNone, kMinus, kEither };

  std::string operand(int depth, Signs signs) {
    std::string sign;
    if (signs != kNone && roll(4) == 0) sign = signs == kEither && roll(3) == 0 ? "+" : "-";
    int kind = roll(depth > 3 ? 3 : (signs == kNone ? 6 : 7));
    switch (kind) {
      case 0:
        return sign + "x";
      case 1:
        return sign + pick(kNumbers);
      case 2:
        return sign + std::string(roll(3) == 0 ? "c1" : (roll(2) ? "a" : "b"));
      case 3:
      case 4:
        return sign + pick(kFunctions) + sum(depth + 1, kMinus) + ")";
      case 5:
        return sign + "(" + sum(depth + 1, kMinus) + ")";
      default:
        return "-(" + sum(depth + 1, kMinus) + ")";
    }
  }

  std::string sum(int depth, Signs signs) {
    std::string text = operand(depth, signs);
    int more = roll(depth > 2 ? 2 : 4);
    for (int i = 0; i < more; ++i) {
      char op = kOperators[roll(sizeof(kOperators) - 1)];
      text += op;
      text += operand(depth, op == '^' ? kEither : kNone);
    }
    return text;
  }

  std::mt19937 m_rng;
};

}  // namespace qz::testing
