#include "scientific/compiled_expression.h"

#include <algorithm>
#include <cmath>

#include "scientific/expression_math.h"

namespace qz {

namespace {

/// An item of the token list while the program is built: a token not yet
/// reduced, or an operand already in a register.
struct Item {
  TokenKind kind;
  int tag;
  double sign;
  std::uint32_t reg;  ///< for operands: the register holding value times sign
};

}  // namespace

struct CompiledExpression::Builder {
  CompiledExpression& program;
  std::vector<double> literal;  ///< the compile-time value of each register, NaN when computed

  std::uint32_t newRegister(double value) {
    program.m_registers.push_back(value);
    literal.push_back(value);
    return static_cast<std::uint32_t>(program.m_registers.size() - 1);
  }
  std::uint32_t emit(Op op, std::uint32_t a, std::uint32_t b, bool negate = false, double n = 0.0) {
    std::uint32_t dst = newRegister(0.0);
    literal.back() = std::nan("");
    program.m_code.push_back({op, negate, dst, a, b, n});
    return dst;
  }
  bool isLiteral(std::uint32_t reg) const { return reg >= 2 && !std::isnan(literal[reg]); }

  /// The register of an operand token: value times sign, folded now (a
  /// negation is exact, so folding it changes no result).
  std::uint32_t operandOf(const Item& item) {
    if (item.kind == TokenKind::X) {
      if (item.sign < 0) {
        program.m_usesMinusX = true;
        return kRegMinusX;
      }
      return kRegX;
    }
    return item.reg;
  }

  std::uint32_t emitOperator(char op, std::uint32_t a, std::uint32_t b) {
    switch (op) {
      case '=':
        return emit(Op::Assign, a, b);
      case '*':
        return emit(Op::Multiply, a, b);
      case '/':
        return emit(Op::Divide, a, b);
      case '+':
        return emit(Op::Add, a, b);
      case '-':
        return emit(Op::Subtract, a, b);
      default:
        break;
    }
    // "^" with a literal exponent: decide now between 1, the repeated
    // multiplication and the power function.
    if (isLiteral(b)) {
      double e = literal[b];
      if (e != 0.0 && e != std::trunc(e)) return emit(Op::PowerReal, a, b);
      if (e == 2.0) return emit(Op::Square, a, b);
      if (e == 3.0) return emit(Op::Cube, a, b);
      return emit(Op::PowerInt, a, b, false, e);
    }
    return emit(Op::Power, a, b);
  }

  /// Reduces items [first, last) to one operand register, emitting the
  /// operators in the language's order.
  std::uint32_t reduce(const std::vector<Item>& items, std::size_t first, std::size_t last) {
    std::vector<std::uint32_t> operands;
    std::vector<char> ops;
    for (std::size_t i = first; i < last; ++i) {
      if (items[i].kind == TokenKind::Operator)
        ops.push_back(static_cast<char>(items[i].tag));
      else
        operands.push_back(operandOf(items[i]));
    }
    for (const char* op = kOperatorPriority; *op; ++op) {
      for (std::size_t i = 0; i < ops.size();) {
        if (ops[i] != *op) {
          ++i;
          continue;
        }
        operands[i] = emitOperator(*op, operands[i], operands[i + 1]);
        operands.erase(operands.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        ops.erase(ops.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
    return operands.front();
  }
};

CompiledExpression::CompiledExpression() : m_registers{0.0, 0.0, 0.0}, m_result(2) {}

CompiledExpression::Op CompiledExpression::functionOp(int index, AngleUnit unit) {
  const bool deg = unit == AngleUnit::Degrees;
  switch (index) {
    case kAbs:
      return Op::Abs;
    case kAcos:
      return deg ? Op::AcosDeg : Op::AcosRad;
    case kAsin:
      return deg ? Op::AsinDeg : Op::AsinRad;
    case kAtn:
      return deg ? Op::AtnDeg : Op::AtnRad;
    case kCos:
      return deg ? Op::CosDeg : Op::CosRad;
    case kCosh:
      return Op::Cosh;
    case kExp:
      return Op::Exp;
    case kFix:
      return Op::Fix;
    case kInt:
      return Op::Int;
    case kLog:
      return Op::Log;
    case kLn:
      return Op::Ln;
    case kRnd:
      return Op::Rnd;
    case kSgn:
      return Op::Sgn;
    case kSin:
      return deg ? Op::SinDeg : Op::SinRad;
    case kSinh:
      return Op::Sinh;
    case kSqr:
      return Op::Sqr;
    case kTan:
      return deg ? Op::TanDeg : Op::TanRad;
    default:
      return Op::Tanh;
  }
}

CompiledExpression CompiledExpression::fromTokens(const TokenList& tokens, AngleUnit unit) {
  CompiledExpression program;
  program.m_registers = {0.0, 0.0};
  Builder b{program, {std::nan(""), std::nan("")}};

  std::vector<Item> items;
  items.reserve(tokens.size());
  int highest = 0;
  for (const ExpressionToken& t : tokens) {
    Item item{t.kind, t.tag, t.sign, 0};
    if (t.kind == TokenKind::Value) item.reg = b.newRegister(t.value * t.sign);
    if (t.kind == TokenKind::Open) highest = std::max(highest, t.tag);
    items.push_back(item);
  }

  for (int level = highest; level >= 1; --level) {
    std::size_t open = 0;
    while (!(items[open].kind == TokenKind::Open && items[open].tag == level)) ++open;
    std::size_t close = open + 1;
    while (!(items[close].kind == TokenKind::Close && items[close].tag == -level)) ++close;
    std::uint32_t result = b.reduce(items, open + 1, close);
    // A signed parenthesis (never produced by the compiler, which writes
    // "-(" as "-1*(") would negate its value.
    if (items[open].sign < 0) result = b.emit(Op::Negate, result, result);
    items[open] = {TokenKind::Value, 0, 1.0, result};
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(open) + 1,
                items.begin() + static_cast<std::ptrdiff_t>(close) + 1);
    if (open > 0 && items[open - 1].kind == TokenKind::Function) {
      const Item& f = items[open - 1];
      std::uint32_t r = b.emit(functionOp(f.tag, unit), result, result, f.sign < 0);
      items[open - 1] = {TokenKind::Value, 0, 1.0, r};
      items.erase(items.begin() + static_cast<std::ptrdiff_t>(open));
    }
  }
  program.m_result = b.reduce(items, 0, items.size());
  return program;
}

EvalOutcome CompiledExpression::evaluate(double x, RandomGenerator& random) {
  double* reg = m_registers.data();
  reg[kRegX] = x;
  if (m_usesMinusX) reg[kRegMinusX] = -x;
  for (const Instruction& in : m_code) {
    const double a = reg[in.a];
    double r = 0.0;
    int error = kExprOk;
    switch (in.op) {
      case Op::Assign:
        error = expr::assign(a, reg[in.b], r);
        break;
      case Op::Power:
        error = expr::power(a, reg[in.b], r);
        break;
      case Op::PowerReal:
        error = expr::realPower(a, reg[in.b], r);
        break;
      case Op::PowerInt:
        r = expr::integerPower(a, in.n);
        error = expr::powerResult(r);
        break;
      case Op::Square:
        // a^2 by repeated multiplication is (1*a)*a, and 1*a is a exactly.
        r = a * a;
        error = expr::powerResult(r);
        break;
      case Op::Cube:
        // (a*a)*a: an overflow or underflow of a*a stays one, as in the loop.
        r = a * a * a;
        error = expr::powerResult(r);
        break;
      case Op::Multiply:
        error = expr::multiply(a, reg[in.b], r);
        break;
      case Op::Divide:
        error = expr::divide(a, reg[in.b], r);
        break;
      case Op::Add:
        error = expr::add(a, reg[in.b], r);
        break;
      case Op::Subtract:
        error = expr::subtract(a, reg[in.b], r);
        break;
      case Op::Negate:
        r = -a;
        break;
      case Op::Abs:
        error = expr::fnAbs(a, r);
        break;
      case Op::AcosRad:
        error = expr::fnAcos<false>(a, r);
        break;
      case Op::AcosDeg:
        error = expr::fnAcos<true>(a, r);
        break;
      case Op::AsinRad:
        error = expr::fnAsin<false>(a, r);
        break;
      case Op::AsinDeg:
        error = expr::fnAsin<true>(a, r);
        break;
      case Op::AtnRad:
        error = expr::fnAtn<false>(a, r);
        break;
      case Op::AtnDeg:
        error = expr::fnAtn<true>(a, r);
        break;
      case Op::CosRad:
        error = expr::fnCos<false>(a, r);
        break;
      case Op::CosDeg:
        error = expr::fnCos<true>(a, r);
        break;
      case Op::Cosh:
        error = expr::fnCosh(a, r);
        break;
      case Op::Exp:
        error = expr::fnExp(a, r);
        break;
      case Op::Fix:
        error = expr::fnFix(a, r);
        break;
      case Op::Int:
        error = expr::fnInt(a, r);
        break;
      case Op::Log:
        error = expr::fnLog(a, r);
        break;
      case Op::Ln:
        error = expr::fnLn(a, r);
        break;
      case Op::Rnd:
        error = expr::fnRnd(a, random, r);
        break;
      case Op::Sgn:
        error = expr::fnSgn(a, r);
        break;
      case Op::SinRad:
        error = expr::fnSin<false>(a, r);
        break;
      case Op::SinDeg:
        error = expr::fnSin<true>(a, r);
        break;
      case Op::Sinh:
        error = expr::fnSinh(a, r);
        break;
      case Op::Sqr:
        error = expr::fnSqr(a, r);
        break;
      case Op::TanRad:
        error = expr::fnTan<false>(a, r);
        break;
      case Op::TanDeg:
        error = expr::fnTan<true>(a, r);
        break;
      case Op::Tanh:
        error = expr::fnTanh(a, r);
        break;
    }
    if (error != kExprOk) return {error, 0.0};
    reg[in.dst] = in.negate ? -r : r;
  }
  return {kExprOk, reg[m_result]};
}

}  // namespace qz
