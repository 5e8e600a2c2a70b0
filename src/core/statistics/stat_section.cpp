#include "statistics/stat_section.h"

#include <algorithm>

#include "document/section_text.h"

namespace qz {

StatMode readStoredStatMode(const SettingsStore& settings) {
  return statModeFromInt(settings.readInt(kStatModeSection, kStatModeKey, 0));
}

bool writeStoredStatMode(SettingsStore& settings, StatMode mode) {
  return settings.writeInt(kStatModeSection, kStatModeKey, static_cast<int>(mode));
}

std::optional<std::string> writeStatisticsSection(StatMode mode, const StatResults& r,
                                                  const StatTable& table) {
  if (table.isEmpty()) return std::nullopt;
  SectionWriter w;
  w.line().integer(static_cast<int>(mode));
  w.line().integer(r.n);
  w.line().real(r.sumX).real(r.sumX2).real(r.sumY).real(r.sumY2).real(r.sumXY);
  w.line().real(r.meanX).real(r.meanY);
  w.line().real(r.sigmaX).real(r.sigmaY).real(r.sX).real(r.sY);
  w.line().real(r.varX).real(r.varY).real(r.covXY);
  w.line().real(r.a).real(r.b).real(r.r2);
  w.line().integer(table.count());
  for (int i = 1; i <= table.count(); ++i) w.line().real(table.row(i).x).real(table.row(i).second);
  return w.finish();
}

void readStatisticsSection(const std::optional<std::string>& body, SettingsStore& settings, StatMode& mode,
                           StatResults& results, StatTable& table) {
  table.clear();
  results = StatResults{};
  mode = readStoredStatMode(settings);
  results.mode = mode;
  if (!body) return;

  SectionReader reader(*body);
  mode = statModeFromInt(reader.nextFields().integer(0));
  results.mode = mode;
  writeStoredStatMode(settings, mode);
  StatResults& r = results;
  r.n = reader.nextFields().integer(0);
  SectionLine sums = reader.nextFields();
  r.sumX = sums.real(0);
  r.sumX2 = sums.real(1);
  r.sumY = sums.real(2);
  r.sumY2 = sums.real(3);
  r.sumXY = sums.real(4);
  SectionLine means = reader.nextFields();
  r.meanX = means.real(0);
  r.meanY = means.real(1);
  SectionLine deviations = reader.nextFields();
  r.sigmaX = deviations.real(0);
  r.sigmaY = deviations.real(1);
  r.sX = deviations.real(2);
  r.sY = deviations.real(3);
  SectionLine variances = reader.nextFields();
  r.varX = variances.real(0);
  r.varY = variances.real(1);
  r.covXY = variances.real(2);
  SectionLine line = reader.nextFields();
  r.a = line.real(0);
  r.b = line.real(1);
  r.r2 = line.real(2);
  int count = std::clamp(reader.nextFields().integer(0), 0, StatTable::kCapacity);
  for (int i = 1; i <= count; ++i) {
    SectionLine row = reader.nextFields();
    table.setRow(i, {row.real(0), row.real(1)});
  }
  table.setCount(count);
}

}  // namespace qz
