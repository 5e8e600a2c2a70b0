#include "scientific/expression_engine.h"

#include "numbers/messages.h"
#include "scientific/expression_checker.h"

namespace qz {

ExpressionEngine::ExpressionEngine(Messenger& messenger)
    : ExpressionEngine(messenger, RandomGenerator::seededFromClock()) {}

ExpressionEngine::ExpressionEngine(Messenger& messenger, RandomGenerator random)
    : m_messenger(messenger), m_random(random) {}

void ExpressionEngine::showFault(const ExpressionFault& fault) {
  ShowMessage(m_messenger, kCaptionError, 0, fault.messageText(), MessageStyle::Error);
}

bool ExpressionEngine::CheckExpression(std::string& expression, std::string& constants) {
  m_lastFault = checkExpressionTexts(expression, constants);
  if (m_lastFault.ok()) return true;
  showFault(m_lastFault);
  return false;
}

bool ExpressionEngine::CompileExpression(std::string_view expression, std::string_view constants,
                                         AngleUnit unit) {
  m_unit = unit;
  m_lastFault = compileExpressionTokens(expression, constants, m_tokens);
  if (!m_lastFault.ok()) {
    m_tokens.tokens.clear();
    m_program = CompiledExpression();
    showFault(m_lastFault);
    return false;
  }
  m_program = CompiledExpression::fromTokens(m_tokens.tokens, unit);
  return true;
}

bool ExpressionEngine::EvaluateExpression(double x, double& y) {
  EvalOutcome outcome = m_program.evaluate(x, m_random);
  m_lastFault = ExpressionFault::inEvaluation(outcome.error);
  if (!outcome.ok()) {
    showFault(m_lastFault);
    return false;
  }
  // A negative zero (y=-x at 0) is shown and stored as 0.
  y = outcome.y == 0.0 ? 0.0 : outcome.y;
  return true;
}

}  // namespace qz
