// The check run by "Co&ntrôler" and before every calculation: the expression
// and constants texts are normalised, then examined rule by rule until the
// first fault.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scientific/expression_types.h"

namespace qz {

/// The expression without blanks; "", "y" and "y=" become "y=0".
std::string normalisedExpression(std::string_view text);

/// The constants without blanks and without leading line breaks.
std::string normalisedConstants(std::string_view text);

/// The constants as the check and the compiler read them: every line break
/// (CR LF, or a lone CR or LF) becomes ";", a final ";" is added, and only the
/// first 255 characters are kept.
std::string joinedConstants(std::string_view constants);

/// The definitions of a joined constants text, each ended by ";". A last
/// piece left without its ";" by the 255-character cut is not read, so a
/// value is never taken from a truncated text.
std::vector<std::string_view> constantDefinitions(std::string_view joined);

/// A number of the language: the whole text converts as a C-locale real. A
/// text too small for a double reads as the conversion gives it (0 or a
/// denormal); one too large is refused, since its value would be infinite.
bool readLiteral(std::string_view text, double& value);

/// Examines one definition "name=value"; returns 0 (and fills `constant`) or
/// the fault's text id (177, 175, 176, 187, 186, 178).
int parseConstantDefinition(std::string_view definition, Constant& constant);

/// The expression rules, on a text already without blanks; the fault is placed
/// in the expression.
ExpressionFault checkExpressionRules(std::string_view expression);

/// The constants rules on normalised constants; fills `table` with the
/// definitions read before the first fault (all of them on success).
ExpressionFault parseConstants(std::string_view constants, ConstantTable& table);

/// `CheckExpression` without the message: normalises both texts in place (as
/// the calculator stores them afterwards), examines the expression, then the
/// constants when the expression passed, and returns the first fault.
ExpressionFault checkExpressionTexts(std::string& expression, std::string& constants);

}  // namespace qz
