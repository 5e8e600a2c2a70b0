// Compilation of a checked expression into the token list: functions,
// numbered parentheses, constants, x, numbers, signs and operators.
#pragma once

#include <string_view>

#include "scientific/expression_types.h"

namespace qz {

/// The compiled form of an expression: its constants and its token list.
struct CompiledTokens {
  ConstantTable constants;
  TokenList tokens;
};

/// The working text of the compiler: the expression with every "-(" written
/// "-1*(", so that a negated parenthesis is a product.
std::string rewriteNegatedParentheses(std::string_view expression);

/// `CompileExpression` without the message: builds the constant table from
/// `constants` (normalised, as the check leaves it) and the token list of
/// `expression` (checked, without blanks). Returns the first fault: a faulty
/// constant definition, 181 for characters left over, 261 for tokens that
/// cannot stand side by side. On success the list is well formed: operands
/// and two-operand operators alternate, every function is followed by its
/// "(", and parentheses pair up.
ExpressionFault compileExpressionTokens(std::string_view expression, std::string_view constants,
                                        CompiledTokens& out);

/// True when `tokens` alternate operands and operators with paired,
/// numbered parentheses (what both evaluators rely on).
bool isWellFormed(const TokenList& tokens);

}  // namespace qz
