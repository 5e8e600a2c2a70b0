// Fuzzes the history file reader: any file image must read without a read
// past a field, give at most twelve records, and every record read must
// survive a write and a second read unchanged.
#include <cstdint>
#include <string_view>

#include "units/unit_analysis.h"
#include "units/unit_conversion.h"
#include "units/unit_history.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qz;
  std::string_view image(reinterpret_cast<const char*>(data), size);
  std::vector<UnitRecord> records = UnitHistory::readRecords(image);
  if (records.size() > static_cast<std::size_t>(kMaxHistoryRecords)) __builtin_trap();
  for (int n = -1; n <= kMaxHistoryRecords; ++n) {
    UnitRecord r;
    if (!UnitHistory::recordFromImage(image, n, r)) {
      if (r.count != 0) __builtin_trap();
      continue;
    }
    UnitRecordBytes bytes = unitRecordToBytes(r);
    UnitRecord again;
    if (!unitRecordFromBytes(bytes.data(), bytes.size(), again) || !(again == r)) __builtin_trap();
    (void)UnitText(r);
    (void)DimensionOf(r);
    UnitConversion conversion;
    conversion.unit(UnitConversion::kCurrent) = r;
    conversion.unit(UnitConversion::kNew) = records.empty() ? r : records.front();
    (void)conversion.Convert(1.0);
  }
  return 0;
}
