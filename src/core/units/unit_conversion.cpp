#include "units/unit_conversion.h"

#include <cmath>

#include "numbers/messages.h"
#include "units/unit_tables.h"

namespace qz {
namespace {

// Relative tolerance under which two units count as the same one, so a value
// between them passes through without a rounding trip.
constexpr double kSameUnitTolerance = 1e-7;

double componentFactor(const UnitRecord& record, int i) {
  const UnitComponent& c = record.components[i];
  double p = PrefixFactor(PrefixIndexOf(record, i));
  double e = ExponentValue(ExponentIndexOf(record, i));
  double v = p * c.coefficient;
  return e != 1.0 ? std::pow(v, e) : v;
}

}  // namespace

UnitFactors UnitFactor(const UnitRecord& record) {
  if (record.count <= 0) return {};
  int count = record.count > kMaxUnitComponents ? kMaxUnitComponents : record.count;
  double k = 1.0;
  bool divisionSeen = false;
  for (int i = 0; i < count && record.components[i].unitKey >= 0; ++i) {
    double v = componentFactor(record, i);
    if (record.components[i].divides != 0) divisionSeen = true;
    k = divisionSeen ? k / v : k * v;
  }
  double offset = (record.count == 1 && !divisionSeen) ? record.components[0].offset : 0.0;
  return {k, offset};
}

UnitFactors UnitFactorFirst(const UnitRecord& record) {
  if (record.count <= 0) return {};
  return {componentFactor(record, 0), record.components[0].offset};
}

double UnitConversion::Convert(double x) {
  m_error = false;
  UnitFactors from = UnitFactor(m_units[0]);
  UnitFactors to = UnitFactor(m_units[1]);
  if (std::fabs(to.coefficient - from.coefficient) <= from.coefficient * kSameUnitTolerance &&
      std::fabs(to.offset - from.offset) <= from.offset * kSameUnitTolerance) {
    return x;
  }
  double result = (from.coefficient * x + from.offset - to.offset) / to.coefficient;
  if (!std::isfinite(result) || !std::isfinite(from.coefficient * x)) {
    m_error = true;
    return 0.0;
  }
  return result;
}

void UnitConversion::RefreshConversions(Messenger& messenger, std::vector<ConversionRow>& rows) {
  if (rows.empty()) return;
  if (m_units[0].empty() || m_units[1].empty()) {
    rows.clear();
    return;
  }
  if (sameUnitBytes(m_units[0], m_listUnits[0]) && sameUnitBytes(m_units[1], m_listUnits[1])) return;
  if (!Confirm(messenger, kRefreshQuestion)) return;
  for (ConversionRow& row : rows) row.result = Convert(row.value);
}

}  // namespace qz
