#include "units/unit_analysis.h"

#include <cmath>

#include "numbers/cp1252.h"
#include "numbers/numeric_guard.h"
#include "numbers/real_format.h"
#include "numbers/symbol_font.h"
#include "units/unit_tables.h"

namespace qz {
namespace {

// Smallest difference that counts: the single-precision epsilon.
constexpr double kDimensionEpsilon = 1.1920929e-7;

}  // namespace

DimensionVector DimensionOf(const UnitRecord& record) {
  DimensionVector sum{};
  int count = record.count > kMaxUnitComponents ? kMaxUnitComponents : record.count;
  double sign = 1.0;
  for (int i = 0; i < count && record.components[i].unitKey >= 0; ++i) {
    const UnitComponent& c = record.components[i];
    if (c.divides != 0) sign = -1.0;
    double e = ExponentValue(ExponentIndexOf(record, i));
    for (int k = 0; k < kDimensionCount; ++k) sum[k] += sign * (e * roundTo(c.dimension[k], 3));
  }
  return sum;
}

std::string DimensionText(const DimensionVector& vector) {
  std::string text;
  for (int k = 0; k < kDimensionCount; ++k) {
    double v = vector[k];
    if (!(std::fabs(v) > kDimensionEpsilon)) continue;
    text += kDimensionLetters[k];
    if (!(std::fabs(v - 1.0) < kDimensionEpsilon)) {
      text += kMarkExponent;
      text += formatDouble("%g", v);
      text += kMarkExponent;
    }
  }
  return text.empty() ? std::string("sans dimension") : text;
}

std::string UnitText(const UnitRecord& record) {
  std::string text(1, kMarkField);
  int count = record.count > kMaxUnitComponents ? kMaxUnitComponents : record.count;
  for (int i = 0; i < count; ++i) {
    const UnitComponent& c = record.components[i];
    if (c.divides != 0) {
      text += '/';
    } else if (i >= 1) {
      text += '*';
    }
    if (c.prefix != "1") text += c.prefix;
    text += c.symbol;
    if (c.exponent != "1") {
      text += kMarkExponent;
      text += c.exponent;
      text += kMarkExponent;
    }
    text += kMarkField;
  }
  return text;
}

int NormaliseUnit(UnitRecord& record) {
  if (record.count < 2) return record.count;
  int count = record.count > kMaxUnitComponents ? kMaxUnitComponents : record.count;
  int firstDivided = count;
  for (int i = 0; i < count; ++i) {
    if (record.components[i].divides != 0) {
      firstDivided = i;
      break;
    }
  }
  if (firstDivided <= 1) return record.count;
  for (int i = 0; i < firstDivided; ++i) {
    if (record.components[i].symbol != "1") continue;
    for (int j = i; j + 1 < count; ++j) record.components[j] = record.components[j + 1];
    record.components[count - 1] = UnitComponent{};
    record.count = count - 1;
    break;
  }
  return record.count;
}

bool UnitsCoherent(const UnitRecord& current, const UnitRecord& target) {
  UnitRecord a = current;
  UnitRecord b = target;
  NormaliseUnit(a);
  NormaliseUnit(b);
  if (a.count <= 0 || b.count <= 0) return true;
  return DimensionOf(a) == DimensionOf(b);
}

std::string markupPlainUtf8(std::string_view markup) {
  std::string out;
  bool greek = false;
  bool exponent = false;
  for (char ch : markup) {
    auto byte = static_cast<unsigned char>(ch);
    if (byte == static_cast<unsigned char>(kMarkGreek)) {
      greek = !greek;
    } else if (byte == static_cast<unsigned char>(kMarkExponent)) {
      exponent = !exponent;
      if (exponent) out += '^';
    } else if (byte >= 0x81 && byte <= 0x8B) {
      // Field marks, colours, styles and subscript switches are not shown.
    } else {
      appendUtf8(out, greek ? symbolToUnicode(byte) : cp1252ToUnicode(byte));
    }
  }
  return out;
}

}  // namespace qz
