// Fuzzes the reader of the unit conversion calculator's document section:
// any body must read within the limits, and once written (reals in the
// twelve-digit exchange text) must read and write back to the same body.
#include <cstdint>
#include <string_view>

#include "units/unit_section.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qz;
  UnitRecord current, target;
  std::vector<ConversionRow> rows;
  readUnitSection(std::string_view(reinterpret_cast<const char*>(data), size), current, target, rows);
  if (current.count < 0 || current.count > kMaxUnitComponents || target.count < 0 ||
      target.count > kMaxUnitComponents || rows.size() > static_cast<std::size_t>(kMaxConversionRows)) {
    __builtin_trap();
  }
  std::string body = writeUnitSection(current, target, rows);
  UnitRecord current2, target2;
  std::vector<ConversionRow> rows2;
  readUnitSection(body, current2, target2, rows2);
  if (writeUnitSection(current2, target2, rows2) != body || rows.size() != rows2.size()) __builtin_trap();
  return 0;
}
