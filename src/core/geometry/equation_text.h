// Parsing of the equation texts of the sum form ("2.*Rm=Ri+Re") and the
// product form ("3.*V=PI*R^2.*H", "B21=B22*L2/LB22").
#pragma once

#include <array>
#include <string_view>

namespace qz {

/// One term: coefficient × value(name)^exponent.
struct EquationTerm {
  std::string_view name;
  double coefficient = 1.0;
  double exponent = 1.0;
};

/// Terms of an equation; term 0 is the left side.
struct ParsedEquation {
  std::array<EquationTerm, 16> terms{};
  int count = 0;
};

/// Cuts `text` into terms. Separators are "=+*^()" (sum form) or "=*/^()"
/// (product form). A token "PI" sets the current term's coefficient to
/// 3.14159265358979; a token holding "." is a number: the exponent of the
/// last named term when it follows "^" or "^(", else the current term's
/// coefficient (replacing any earlier one); any other token is a name and
/// closes the current term. In the product form "/" before a name gives that
/// term the exponent -1. Returns false for an empty or malformed text, a
/// number that does not parse, or more than 16 terms.
bool parseEquation(std::string_view text, bool product, ParsedEquation& out);

}  // namespace qz
