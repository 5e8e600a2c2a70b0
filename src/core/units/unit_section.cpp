#include "units/unit_section.h"

#include "document/section_text.h"

namespace qz {
namespace {

constexpr int kLinesPerComponent = 12 + kDimensionCount;

void writeUnit(SectionWriter& w, const UnitRecord& record) {
  int count = record.count < 0 ? 0 : (record.count > kMaxUnitComponents ? kMaxUnitComponents : record.count);
  w.line().integer(count);
  for (int i = 0; i < count; ++i) {
    const UnitComponent& c = record.components[i];
    w.line().integer(c.unitKey);
    w.line().integer(c.system);
    w.line().integer(c.category);
    w.line().integer(c.quantity);
    w.line().integer(c.divides);
    w.textLine(fitText(c.prefix, kPrefixTextMax));
    w.textLine(fitText(c.symbol, kSymbolTextMax));
    w.textLine(fitText(c.exponent, kExponentTextMax));
    w.line().integer(c.prefixAllowed);
    w.line().integer(c.exponentAllowed);
    w.line().real(c.coefficient);
    w.line().real(c.offset);
    for (double d : c.dimension) w.line().real(d);
  }
}

int readInteger(SectionReader& r) { return readIntegerPrefix(r.nextLine()); }
double readReal(SectionReader& r) { return r.nextFields().real(0); }

void readUnit(SectionReader& r, UnitRecord& record) {
  clearUnit(record);
  int count = readInteger(r);
  int kept = count < 0 ? 0 : (count > kMaxUnitComponents ? kMaxUnitComponents : count);
  for (int i = 0; i < kept; ++i) {
    UnitComponent& c = record.components[i];
    c.unitKey = readInteger(r);
    c.system = readInteger(r);
    c.category = readInteger(r);
    c.quantity = readInteger(r);
    c.divides = readInteger(r);
    c.prefix = fitText(r.nextLine(), kPrefixTextMax);
    c.symbol = fitText(r.nextLine(), kSymbolTextMax);
    c.exponent = fitText(r.nextLine(), kExponentTextMax);
    c.prefixAllowed = readInteger(r);
    c.exponentAllowed = readInteger(r);
    c.coefficient = readReal(r);
    c.offset = readReal(r);
    for (double& d : c.dimension) d = readReal(r);
  }
  record.count = kept;
  // Components beyond the ten a unit holds are passed over whole.
  for (long long skip = static_cast<long long>(count - kept) * kLinesPerComponent; skip > 0 && !r.atEnd();
       --skip) {
    r.nextLine();
  }
}

}  // namespace

bool unitSectionWanted(const UnitRecord& current, const UnitRecord& target) {
  return current.count > 0 || target.count > 0;
}

std::string writeUnitSection(const UnitRecord& current, const UnitRecord& target,
                             const std::vector<ConversionRow>& rows) {
  SectionWriter w;
  writeUnit(w, current);
  writeUnit(w, target);
  std::size_t n =
      rows.size() > static_cast<std::size_t>(kMaxConversionRows) ? kMaxConversionRows : rows.size();
  w.line().integer(static_cast<long long>(n));
  for (std::size_t i = 0; i < n; ++i) w.line().real(rows[i].value).real(rows[i].result);
  return w.finish();
}

void readUnitSection(std::string_view body, UnitRecord& current, UnitRecord& target,
                     std::vector<ConversionRow>& rows) {
  SectionReader r(body);
  readUnit(r, current);
  readUnit(r, target);
  rows.clear();
  int count = readInteger(r);
  if (count > kMaxConversionRows) count = kMaxConversionRows;
  for (int i = 0; i < count; ++i) {
    SectionLine line = r.nextFields();
    rows.push_back({line.real(0), line.real(1)});
  }
}

}  // namespace qz
