// A token list turned once into straight-line code over registers, so that
// each evaluation runs the reductions without scanning or moving tokens.
#pragma once

#include <cstdint>
#include <vector>

#include "scientific/expression_types.h"
#include "scientific/random_generator.h"
#include "scientific/reference_evaluator.h"

namespace qz {

/// The program of one compiled expression. It performs the same reductions,
/// in the same order and with the same arithmetic, as the token-list
/// reduction (evaluateTokensDirectly), so it gives the
/// same y and the same first error, and draws rnd values in the same order.
class CompiledExpression {
 public:
  /// An empty program (no expression compiled): every evaluation gives 0.
  CompiledExpression();

  /// Builds the program of a well-formed token list (see isWellFormed) for
  /// one angle unit.
  static CompiledExpression fromTokens(const TokenList& tokens, AngleUnit unit);

  /// y for `x`, or the error id of the first failure.
  EvalOutcome evaluate(double x, RandomGenerator& random);

  /// Number of instructions (each one operator or function).
  std::size_t instructionCount() const { return m_code.size(); }

 private:
  /// Operators, then one code per function (and angle unit where it matters),
  /// so that one dispatch reaches the arithmetic.
  enum class Op : std::uint8_t {
    Assign,
    Power,
    PowerReal,
    PowerInt,
    Square,
    Cube,
    Multiply,
    Divide,
    Add,
    Subtract,
    Negate,
    Abs,
    AcosRad,
    AcosDeg,
    AsinRad,
    AsinDeg,
    AtnRad,
    AtnDeg,
    CosRad,
    CosDeg,
    Cosh,
    Exp,
    Fix,
    Int,
    Log,
    Ln,
    Rnd,
    Sgn,
    SinRad,
    SinDeg,
    Sinh,
    Sqr,
    TanRad,
    TanDeg,
    Tanh,
  };
  static Op functionOp(int index, AngleUnit unit);
  struct Instruction {
    Op op;
    bool negate;  ///< functions: the result takes the sign written before the function
    std::uint32_t dst, a, b;
    double n;  ///< PowerInt: the exponent
  };
  struct Builder;

  static constexpr std::uint32_t kRegX = 0;
  static constexpr std::uint32_t kRegMinusX = 1;

  std::vector<Instruction> m_code;
  std::vector<double> m_registers;  ///< x, -x, the literal values, then intermediates
  std::uint32_t m_result = 0;
  bool m_usesMinusX = false;
};

}  // namespace qz
