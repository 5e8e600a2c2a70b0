#include "units/unit_tables.h"

#include <array>
#include <string_view>

namespace qz {
namespace {

struct PrefixRow {
  std::string_view name;    // code page 1252
  std::string_view symbol;  // code page 1252
  double factor;
};

// Index -10 to 10; the SI prefixes up to yotta.
constexpr std::array<PrefixRow, 21> kPrefixes{{
    {"yocto", "y", 1e-24},
    {"zepto", "z", 1e-21},
    {"atto", "a", 1e-18},
    {"femto", "f", 1e-15},
    {"pico", "p", 1e-12},
    {"nano", "n", 1e-9},
    {"micro", "\xB5", 1e-6},
    {"milli", "m", 1e-3},
    {"centi", "c", 1e-2},
    {"d\xE9"
     "ci",
     "d", 1e-1},
    {"(aucun)", "1", 1.0},
    {"d\xE9"
     "ca",
     "da", 1e1},
    {"hecto", "h", 1e2},
    {"kilo", "k", 1e3},
    {"m\xE9"
     "ga",
     "M", 1e6},
    {"giga", "G", 1e9},
    {"t\xE9"
     "ra",
     "T", 1e12},
    {"peta", "P", 1e15},
    {"exa", "E", 1e18},
    {"zetta", "Z", 1e21},
    {"yotta", "Y", 1e24},
}};

struct ExponentRow {
  std::string_view text;
  double value;
};

// Index -1 to 10.
constexpr std::array<ExponentRow, 12> kExponents{{
    {"1/2", 0.5},
    {"1", 1.0},
    {"3/2", 1.5},
    {"2", 2.0},
    {"5/2", 2.5},
    {"3", 3.0},
    {"4", 4.0},
    {"5", 5.0},
    {"6", 6.0},
    {"7", 7.0},
    {"8", 8.0},
    {"9", 9.0},
}};

const PrefixRow& prefixRow(int index) {
  if (index < kMinPrefixIndex || index > kMaxPrefixIndex) index = 0;
  return kPrefixes[static_cast<std::size_t>(index - kMinPrefixIndex)];
}

const ExponentRow& exponentRow(int index) {
  if (index < kMinExponentIndex || index > kMaxExponentIndex) index = 0;
  return kExponents[static_cast<std::size_t>(index - kMinExponentIndex)];
}

}  // namespace

double PrefixFactor(int index) { return prefixRow(index).factor; }
std::string PrefixName(int index) { return std::string(prefixRow(index).name); }
std::string PrefixSymbol(int index) { return std::string(prefixRow(index).symbol); }

double ExponentValue(int index) { return exponentRow(index).value; }

std::string ExponentText(int index, bool forList) {
  const ExponentRow& row = exponentRow(index);
  if (forList && row.text == "1") return "(aucun)";
  return std::string(row.text);
}

int PrefixIndexOf(const UnitRecord& record, int i) {
  if (i < 0 || i >= kMaxUnitComponents) return 0;
  const UnitComponent& c = record.components[i];
  if (c.prefixAllowed == 0) return 0;
  for (int k = 1; k <= kMaxPrefixIndex; ++k) {
    if (c.prefix == prefixRow(k).symbol) return k;
    if (c.prefix == prefixRow(-k).symbol) return -k;
  }
  return 0;
}

int ExponentIndexOf(const UnitRecord& record, int i) {
  if (i < 0 || i >= kMaxUnitComponents) return 0;
  const UnitComponent& c = record.components[i];
  if (c.exponentAllowed == 0 || c.exponent == "1") return 0;
  if (c.exponent == "1/2") return -1;
  for (int k = 1; k <= kMaxExponentIndex; ++k) {
    if (c.exponent == exponentRow(k).text) return k;
  }
  return 0;
}

}  // namespace qz
