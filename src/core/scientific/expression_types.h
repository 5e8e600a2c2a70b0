// Shared vocabulary of the expression language: angle unit, tokens, constants
// and the fault that the check, the compiler and the evaluator report.
#pragma once

#include <string>
#include <vector>

namespace qz {

/// Unit of the arguments of cos, sin, tan and of the results of acos, asin, atn.
/// The values are the flag stored in the document.
enum class AngleUnit { Radians = 0, Degrees = 1 };

/// String-table ids of the faults of the expression language.
enum ExpressionErrorId : int {
  kExprOk = 0,
  kAcosDomain = 8,            ///< |a| > 1 in acos
  kAsinDomain = 11,           ///< |a| > 1 in asin
  kParenthesisCount = 166,    ///< unequal counts of "(" and ")"
  kExpressionLocation = 167,  ///< "\n\n[ -> fonction y = f(x) ]"
  kConstantLocation = 168,    ///< "\n\n[ -> constante @ ]"
  kMustBeginWithY = 169,      ///< the text does not begin with "y="
  kYOnRightSide = 170,        ///< a "y" not followed by a digit
  kBadOperator = 171,         ///< operator placement
  kBadDecimalPoint = 172,     ///< ".."
  kEmptyParentheses = 173,    ///< "()"
  kBadInstruction = 174,      ///< ")("
  kConstantNamedX = 175,
  kConstantNamedY = 176,
  kBadConstantDefinition = 177,
  kBadConstantValue = 178,  ///< not a number, or longer than 25 characters
  kTooManyConstants = 179,  ///< a 21st definition
  kUnknownElement = 181,    ///< characters left over after compiling
  kClosingFirst = 182,      ///< a ")" before the first "("
  kExprMathError = 185,         ///< a result beyond ±1E+300 or not a number
  kMissingConstantValue = 186,
  kConstantNamedE = 187,  ///< e, e0 ... e9 would read as an exponent
  kSyntaxError = 261,     ///< two tokens that cannot stand side by side
  kDivisionByZeroError = 1001,
  kNegativeValue = 1002,     ///< log, ln, sqr of a value out of their domain
  kOverflowError = 1003,     ///< infinite product or power
  kQuotientOverflow = 1004,  ///< infinite quotient
};

/// Where a check or compile fault lies; evaluation faults have no place.
enum class FaultPlace {
  None,        ///< an evaluation error: its text alone
  Expression,  ///< followed by text 167
  Constant,    ///< followed by text 168 with the definition's number
};

/// The first fault found, or none (textId 0).
struct ExpressionFault {
  int textId = kExprOk;
  FaultPlace place = FaultPlace::None;
  int definition = 0;  ///< 1-based number of the faulty constant definition

  bool ok() const { return textId == kExprOk; }
  static ExpressionFault inExpression(int id) { return {id, FaultPlace::Expression, 0}; }
  static ExpressionFault inConstant(int id, int definition) { return {id, FaultPlace::Constant, definition}; }
  static ExpressionFault inEvaluation(int id) { return {id, FaultPlace::None, 0}; }
  /// The body of the message box (code page 1252): the text, then the
  /// location line when the fault has a place.
  std::string messageText() const;
  friend bool operator==(const ExpressionFault&, const ExpressionFault&) = default;
};

/// One named constant; names are a lower-case letter optionally followed by a digit.
struct Constant {
  std::string name;
  double value = 0.0;
};
/// The constants in the order of their definitions, at most kMaxConstants.
using ConstantTable = std::vector<Constant>;
inline constexpr int kMaxConstants = 20;

enum class TokenKind : int {
  X = 1,         ///< the variable x
  Open = 2,      ///< "(", tag = its number (1, 2, ... in order of appearance)
  Close = 3,     ///< ")", tag = minus the number of the "(" it closes
  Value = 4,     ///< a number, a constant or a computed intermediate; tag = constant index or 0
  Operator = 5,  ///< two-operand operator, tag = the operator character
  Function = 6,  ///< tag = index in the function table
};

/// A token's value in a computation is value times sign.
struct ExpressionToken {
  TokenKind kind = TokenKind::Value;
  int tag = 0;
  double value = 0.0;
  double sign = 1.0;  ///< 1 or -1
  friend bool operator==(const ExpressionToken&, const ExpressionToken&) = default;
};
using TokenList = std::vector<ExpressionToken>;

/// Operators in the order they are reduced: strictly, not grouped.
inline constexpr char kOperatorPriority[] = "=^*/+-";

/// Function names as written, with their opening parenthesis, in table order.
inline constexpr const char* kFunctionNames[] = {"abs(", "acos(", "asin(", "atn(", "cos(", "cosh(",
                                                 "exp(", "fix(",  "int(",  "log(", "ln(",  "rnd(",
                                                 "sgn(", "sin(",  "sinh(", "sqr(", "tan(", "tanh("};
inline constexpr int kFunctionCount = 18;

/// Indices of the function table.
enum FunctionIndex : int {
  kAbs,
  kAcos,
  kAsin,
  kAtn,
  kCos,
  kCosh,
  kExp,
  kFix,
  kInt,
  kLog,
  kLn,
  kRnd,
  kSgn,
  kSin,
  kSinh,
  kSqr,
  kTan,
  kTanh,
};

/// Longest expression and constants texts the fields hold.
inline constexpr std::size_t kMaxExpressionLength = 255;
inline constexpr std::size_t kMaxConstantsLength = 511;
/// Only this many characters of the joined constants ("a=1;b=2;") are read.
inline constexpr std::size_t kMaxJoinedConstantsLength = 255;
/// Longest number text, in constants and in the expression.
inline constexpr std::size_t kMaxNumberLength = 25;

}  // namespace qz
