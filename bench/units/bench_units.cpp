// Speed of the unit conversion engine. Goals: a conversion between composed
// units of up to five components under 1 µs; reading the whole units
// database under 20 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/scripted_messenger.h"
#include "units/unit_analysis.h"
#include "units/unit_conversion.h"
#include "units/unit_expression.h"
#include "units/unit_history.h"
#include "units/units_database.h"

namespace {

const qz::UnitsDatabase& database() {
  static const qz::UnitsDatabase db = [] {
    qz::UnitsDatabase loaded;
    qz::ScriptedMessenger messenger;
    qz::LoadUnitsDatabase(QZ_UNITS_DATABASE_FOLDER, messenger, loaded);
    return loaded;
  }();
  return db;
}

// Coherent pairs whose current unit is composed of one to five components.
const char* const kComposed[][2] = {
    {"ft", "mm"},
    {"m/s", "mm/h"},
    {"lbf.ft/s", "kN.m/min"},
    {"kg.m^2/s^2/K",
     "kcal/\xC2\xB0"
     "C"},
    {"kg.m^2/s^3/A.h", "mV/min"},
};

void BM_ConvertComposed(benchmark::State& state) {
  const auto& pair = kComposed[state.range(0) - 1];
  qz::UnitConversion conversion;
  conversion.unit(qz::UnitConversion::kCurrent) = qz::parseUnitExpression(pair[0], database()).record;
  conversion.unit(qz::UnitConversion::kNew) = qz::parseUnitExpression(pair[1], database()).record;
  if (conversion.unit(0).count != state.range(0) ||
      !qz::UnitsCoherent(conversion.unit(0), conversion.unit(1))) {
    state.SkipWithError("units not parsed as expected");
    return;
  }
  double x = 1.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(conversion.Convert(x));
    x += 1e-9;
  }
  state.SetLabel(std::string(pair[0]) + " -> " + pair[1]);
}
BENCHMARK(BM_ConvertComposed)->DenseRange(1, 5);

void BM_ConvertDatabaseUnits(benchmark::State& state) {
  qz::UnitConversion conversion;
  conversion.unit(0) = qz::parseUnitExpression("km/h", database()).record;
  conversion.unit(1) = qz::parseUnitExpression("kn", database()).record;
  for (auto _ : state) benchmark::DoNotOptimize(conversion.Convert(36.0));
}
BENCHMARK(BM_ConvertDatabaseUnits);

void BM_LoadUnitsDatabase(benchmark::State& state) {
  qz::ScriptedMessenger messenger;
  for (auto _ : state) {
    qz::UnitsDatabase db;
    benchmark::DoNotOptimize(qz::LoadUnitsDatabase(QZ_UNITS_DATABASE_FOLDER, messenger, db));
  }
  state.SetLabel(std::to_string(database().units.size()) + " units");
}
BENCHMARK(BM_LoadUnitsDatabase)->Unit(benchmark::kMillisecond);

void BM_ParseUnitExpression(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(qz::parseUnitExpression("kg.m^2/s^3/A", database()));
}
BENCHMARK(BM_ParseUnitExpression)->Unit(benchmark::kMicrosecond);

void BM_UnitTextAndDimension(benchmark::State& state) {
  qz::UnitRecord r = qz::parseUnitExpression("kg.m^2/s^3/A", database()).record;
  for (auto _ : state) {
    benchmark::DoNotOptimize(qz::UnitText(r));
    benchmark::DoNotOptimize(qz::DimensionText(qz::DimensionOf(r)));
  }
}
BENCHMARK(BM_UnitTextAndDimension);

void BM_HistoryAddAndReadTwelve(benchmark::State& state) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "qz_bench_units_history";
  qz::UnitHistory history(folder.string());
  qz::ScriptedMessenger messenger;
  int n = 0;
  for (auto _ : state) {
    const qz::DatabaseUnit& unit = database().units[static_cast<std::size_t>(n++ % 40)];
    history.AddToHistory(unit.record, messenger);
    qz::UnitRecord r;
    for (int i = 0; history.LoadHistoryRecord(i, r); ++i) benchmark::DoNotOptimize(r);
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HistoryAddAndReadTwelve)->Unit(benchmark::kMicrosecond);

}  // namespace
