#include "units/unit_expression.h"

#include <vector>

#include "numbers/cp1252.h"
#include "units/unit_analysis.h"
#include "units/unit_tables.h"

namespace qz {
namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// One spelling for the characters a terminal user may type for the same thing.
std::string canonicalInput(std::string_view text) {
  std::string s(text);
  replaceAll(s, "\xC2\xB2", "^2");            // ²
  replaceAll(s, "\xC2\xB3", "^3");            // ³
  replaceAll(s, "\xC2\xB7", ".");             // middle dot
  replaceAll(s, "\xE2\x8B\x85", ".");         // dot operator
  replaceAll(s, "\xC2\xB5", "\xCE\xBC");      // micro sign as Greek mu, as the Symbol font draws it
  replaceAll(s, "\xE2\x84\xA6", "\xCE\xA9");  // ohm sign as Greek omega
  return s;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Products compare equal whichever sign they are written with.
std::string productForm(std::string_view s) {
  std::string out(trim(s));
  for (char& c : out) {
    if (c == '.') c = '*';
  }
  return out;
}

bool isSeparator(char c) { return c == '.' || c == '*' || c == '/'; }

// The plain symbols of the database units, computed once per expression.
struct SymbolIndex {
  const UnitsDatabase& database;
  const DimensionVector* prefer;
  std::vector<std::string> plain;
  SymbolIndex(const UnitsDatabase& db, const DimensionVector* preferred) : database(db), prefer(preferred) {
    plain.reserve(db.units.size());
    for (const DatabaseUnit& unit : db.units) plain.push_back(canonicalInput(plainUnitSymbol(unit.record)));
  }
  bool prefers(const DatabaseUnit& unit) const {
    return prefer != nullptr && unit.record.count > 0 && unit.record.components[0].dimension == *prefer;
  }
};

bool acceptsExponent(const DatabaseUnit& unit) {
  return unit.record.components[0].exponentAllowed != 0 && unit.record.components[0].exponent == "1";
}

// The best single-component unit whose plain symbol is `symbol`: one that
// takes the exponent wanted, then an elementary one, then the first one.
const DatabaseUnit* findSingleUnit(const SymbolIndex& index, std::string_view symbol, bool needsPrefix,
                                   bool needsExponent) {
  const DatabaseUnit* best = nullptr;
  int bestRank = -1;
  for (std::size_t i = 0; i < index.plain.size(); ++i) {
    const DatabaseUnit& unit = index.database.units[i];
    const UnitRecord& r = unit.record;
    if (r.count != 1 || r.components[0].unitKey < 0) continue;
    if (needsPrefix && (r.components[0].prefixAllowed == 0 || r.components[0].prefix != "1")) continue;
    if (index.plain[i] != symbol) continue;
    int rank = (needsExponent && acceptsExponent(unit) ? 4 : 0) + (index.prefers(unit) ? 2 : 0) +
               (unit.elementary ? 1 : 0);
    if (rank > bestRank) {
      best = &unit;
      bestRank = rank;
    }
  }
  return best;
}

struct FactorMatch {
  const DatabaseUnit* unit = nullptr;
  int prefixIndex = 0;
};

// A unit of that very symbol wins ("cd" is the candela, not a centi-day),
// unless it refuses the exponent and a prefixed reading takes it ("km^3").
FactorMatch matchFactor(const SymbolIndex& index, std::string_view symbol, bool needsExponent) {
  FactorMatch exact{findSingleUnit(index, symbol, false, needsExponent), 0};
  if (exact.unit != nullptr && (!needsExponent || acceptsExponent(*exact.unit))) return exact;
  // Two-letter "da" is tried before "d".
  static constexpr int kOrder[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10};
  FactorMatch prefixed;
  for (int k : kOrder) {
    std::string prefix = canonicalInput(cp1252ToUtf8(PrefixSymbol(k)));
    if (symbol.size() <= prefix.size() || symbol.substr(0, prefix.size()) != prefix) continue;
    const DatabaseUnit* unit = findSingleUnit(index, symbol.substr(prefix.size()), true, needsExponent);
    if (unit == nullptr) continue;
    if (!needsExponent || acceptsExponent(*unit)) return {unit, k};
    if (prefixed.unit == nullptr) prefixed = {unit, k};
  }
  return exact.unit != nullptr ? exact : prefixed;
}

UnitExpressionResult failure(UnitExpressionError error, std::size_t position, std::string_view factor) {
  UnitExpressionResult result;
  result.error = error;
  result.position = position;
  result.factor = std::string(factor);
  return result;
}

}  // namespace

std::string plainUnitSymbol(const UnitRecord& record) { return markupPlainUtf8(UnitText(record)); }

UnitExpressionResult parseUnitExpression(std::string_view input, const UnitsDatabase& database,
                                         const DimensionVector* prefer) {
  std::string text = canonicalInput(input);
  if (trim(text).empty()) return failure(UnitExpressionError::Empty, 0, text);

  SymbolIndex index(database, prefer);
  std::string wanted = productForm(text);
  const DatabaseUnit* whole = nullptr;
  int wholeRank = -1;
  for (std::size_t i = 0; i < index.plain.size(); ++i) {
    const DatabaseUnit& unit = database.units[i];
    if (unit.record.count <= 0 || productForm(index.plain[i]) != wanted) continue;
    int rank = (index.prefers(unit) ? 2 : 0) + (unit.elementary ? 1 : 0);
    if (rank > wholeRank) {
      whole = &unit;
      wholeRank = rank;
    }
  }
  if (whole != nullptr) {
    UnitExpressionResult result;
    result.record = whole->record;
    return result;
  }

  UnitExpressionResult result;
  UnitRecord& record = result.record;
  std::size_t pos = 0;
  bool divided = false;
  while (true) {
    std::size_t start = pos;
    while (pos < text.size() && !isSeparator(text[pos]) && text[pos] != '^') ++pos;
    std::string_view symbol = trim(std::string_view(text).substr(start, pos - start));
    std::string exponent = "1";
    if (pos < text.size() && text[pos] == '^') {
      std::size_t expStart = ++pos;
      while (pos < text.size() && (text[pos] == ' ')) ++pos;
      std::string_view rest = std::string_view(text).substr(pos);
      if (rest.starts_with("1/2") || rest.starts_with("3/2") || rest.starts_with("5/2")) {
        exponent = std::string(rest.substr(0, 3));
        pos += 3;
      } else if (!rest.empty() && rest[0] >= '1' && rest[0] <= '9' &&
                 (rest.size() == 1 || !(rest[1] >= '0' && rest[1] <= '9'))) {
        exponent = std::string(1, rest[0]);
        pos += 1;
      } else {
        return failure(UnitExpressionError::BadExponent, expStart - 1, std::string_view(text).substr(start));
      }
      while (pos < text.size() && text[pos] == ' ') ++pos;
      if (pos < text.size() && !isSeparator(text[pos])) {
        return failure(UnitExpressionError::BadExponent, expStart - 1, std::string_view(text).substr(start));
      }
    }
    if (symbol.empty()) return failure(UnitExpressionError::Empty, start, symbol);
    if (record.count >= kMaxUnitComponents)
      return failure(UnitExpressionError::TooManyComponents, start, symbol);

    FactorMatch match = matchFactor(index, symbol, exponent != "1");
    if (match.unit == nullptr) return failure(UnitExpressionError::UnknownSymbol, start, symbol);
    UnitComponent c = match.unit->record.components[0];
    if (match.prefixIndex != 0) c.prefix = PrefixSymbol(match.prefixIndex);
    if (exponent != "1") {
      if (c.exponentAllowed == 0 || c.exponent != "1") {
        return failure(UnitExpressionError::ExponentRefused, start, symbol);
      }
      c.exponent = exponent;
    }
    c.divides = divided ? 1 : 0;
    record.components[record.count++] = c;

    if (pos >= text.size()) break;
    divided = text[pos] == '/';
    ++pos;
  }
  return result;
}

std::string unitExpressionErrorText(const UnitExpressionResult& result) {
  std::string factor = utf8ToCp1252(result.factor);
  switch (result.error) {
    case UnitExpressionError::None:
      return {};
    case UnitExpressionError::Empty:
      return "Expression d'unit\xE9 vide ou incompl\xE8te !";
    case UnitExpressionError::UnknownSymbol:
      return "Unit\xE9 inconnue : \"" + factor + "\"";
    case UnitExpressionError::BadExponent:
      return "Exposant incorrect dans \"" + factor + "\" (2 \xE0 9, 1/2, 3/2 ou 5/2)";
    case UnitExpressionError::ExponentRefused:
      return "L'unit\xE9 \"" + factor + "\" n'admet pas d'exposant !";
    case UnitExpressionError::TooManyComponents:
      return "Une unit\xE9 comprend au plus 10 composantes !";
  }
  return {};
}

}  // namespace qz
