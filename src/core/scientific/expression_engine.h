// The scientific calculator's expression engine: check, compile once,
// evaluate for any number of x values, with the program's messages.
#pragma once

#include <string>
#include <string_view>

#include "platform/messenger.h"
#include "scientific/compiled_expression.h"
#include "scientific/expression_compiler.h"
#include "scientific/expression_types.h"
#include "scientific/random_generator.h"

namespace qz {

/// Owns the constant table, the token list, its compiled program and the
/// generator behind rnd(). Every failure is shown under "ERREUR" with the
/// error beep: check and compile faults with their location line, evaluation
/// faults with their text alone.
class ExpressionEngine {
 public:
  /// The generator is seeded from the clock.
  explicit ExpressionEngine(Messenger& messenger);
  ExpressionEngine(Messenger& messenger, RandomGenerator random);

  /// Rewrites both texts as stored (no blanks, "y=0" for an empty expression,
  /// no leading line breaks in the constants) and examines them; shows the
  /// first fault and returns false, or returns true.
  bool CheckExpression(std::string& expression, std::string& constants);

  /// Fills the constant table and the token list and builds the program for
  /// `unit`; shows the fault and returns false, or returns true. Expects
  /// texts that passed CheckExpression.
  bool CompileExpression(std::string_view expression, std::string_view constants, AngleUnit unit);

  /// y for `x` with the last compiled expression; shows the evaluation error
  /// and returns false, or returns true. The compiled tokens are left as they
  /// were, so one compilation serves any number of evaluations.
  bool EvaluateExpression(double x, double& y);

  /// The fault of the last call (0 after a success).
  const ExpressionFault& lastFault() const { return m_lastFault; }
  const ConstantTable& constants() const { return m_tokens.constants; }
  const TokenList& tokens() const { return m_tokens.tokens; }
  CompiledExpression& program() { return m_program; }
  RandomGenerator& random() { return m_random; }
  AngleUnit angleUnit() const { return m_unit; }

  /// Shows `fault` as the engine does (caption 142, error style).
  void showFault(const ExpressionFault& fault);

 private:
  Messenger& m_messenger;
  RandomGenerator m_random;
  CompiledTokens m_tokens;
  CompiledExpression m_program;
  AngleUnit m_unit = AngleUnit::Radians;
  ExpressionFault m_lastFault;
};

}  // namespace qz
