// The statistics calculator's section of the document: mode, results record
// and table.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_store.h"
#include "statistics/stat_engine.h"

namespace qz {

/// Settings place of the statistics mode.
inline constexpr const char* kStatModeSection = "Statistic";
inline constexpr const char* kStatModeKey = "Mode";

/// The mode stored in the settings (default 0).
StatMode readStoredStatMode(const SettingsStore& settings);
bool writeStoredStatMode(SettingsStore& settings, StatMode mode);

/// The section body, or nothing when the table holds no row (no section then).
std::optional<std::string> writeStatisticsSection(StatMode mode, const StatResults& results,
                                                  const StatTable& table);

/// Resets the state (table cleared, results zeroed, mode from the settings),
/// then reads `body` when there is one. The mode read becomes both `mode` and
/// the results' mode, and is written to the settings. Row counts above 1000
/// read as 1000; missing fields read as 0.
void readStatisticsSection(const std::optional<std::string>& body, SettingsStore& settings, StatMode& mode,
                           StatResults& results, StatTable& table);

}  // namespace qz
