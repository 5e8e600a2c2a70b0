#include "units/unit_record.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace qz {
namespace {

// Field offsets of the byte image.
constexpr std::size_t kCountAt = 0;
constexpr std::size_t kUnitKeyAt = 4;
constexpr std::size_t kSystemAt = 44;
constexpr std::size_t kCategoryAt = 84;
constexpr std::size_t kQuantityAt = 124;
constexpr std::size_t kDividesAt = 164;
constexpr std::size_t kPrefixAt = 204;
constexpr std::size_t kSymbolAt = 234;
constexpr std::size_t kExponentAt = 474;
constexpr std::size_t kPrefixAllowedAt = 516;
constexpr std::size_t kExponentAllowedAt = 556;
constexpr std::size_t kCoefficientAt = 600;
constexpr std::size_t kOffsetAt = 680;
constexpr std::size_t kDimensionAt = 760;
constexpr std::size_t kPrefixField = kPrefixTextMax + 1;
constexpr std::size_t kSymbolField = kSymbolTextMax + 1;
constexpr std::size_t kExponentField = kExponentTextMax + 1;
static_assert(kDimensionAt + 8 * kDimensionCount * kMaxUnitComponents == kUnitRecordSize);

void putInt(UnitRecordBytes& out, std::size_t at, int value) {
  auto u = static_cast<std::uint32_t>(value);
  for (int b = 0; b < 4; ++b) out[at + b] = static_cast<std::uint8_t>(u >> (8 * b));
}

void putReal(UnitRecordBytes& out, std::size_t at, double value) {
  auto u = std::bit_cast<std::uint64_t>(value);
  for (int b = 0; b < 8; ++b) out[at + b] = static_cast<std::uint8_t>(u >> (8 * b));
}

void putText(UnitRecordBytes& out, std::size_t at, std::size_t field, const std::string& text) {
  std::string fitted = fitText(text, field - 1);
  std::memcpy(out.data() + at, fitted.data(), fitted.size());
}

int getInt(const std::uint8_t* in, std::size_t at) {
  std::uint32_t u = 0;
  for (int b = 0; b < 4; ++b) u |= static_cast<std::uint32_t>(in[at + b]) << (8 * b);
  return static_cast<int>(u);
}

double getReal(const std::uint8_t* in, std::size_t at) {
  std::uint64_t u = 0;
  for (int b = 0; b < 8; ++b) u |= static_cast<std::uint64_t>(in[at + b]) << (8 * b);
  return std::bit_cast<double>(u);
}

// False when the field holds no terminator: such a text would run into the next field.
bool getText(const std::uint8_t* in, std::size_t at, std::size_t field, std::string& text) {
  const void* zero = std::memchr(in + at, 0, field);
  if (zero == nullptr) return false;
  text.assign(reinterpret_cast<const char*>(in + at), static_cast<const std::uint8_t*>(zero) - (in + at));
  return true;
}

}  // namespace

void clearUnit(UnitRecord& record) { record = UnitRecord{}; }

std::string fitText(std::string_view text, std::size_t max) {
  std::size_t zero = text.find('\0');
  if (zero != std::string_view::npos) text = text.substr(0, zero);
  return std::string(text.substr(0, max));
}

UnitRecordBytes unitRecordToBytes(const UnitRecord& record) {
  UnitRecordBytes out{};
  int count = record.count < 0 ? 0 : (record.count > kMaxUnitComponents ? kMaxUnitComponents : record.count);
  putInt(out, kCountAt, count);
  for (int i = 0; i < count; ++i) {
    const UnitComponent& c = record.components[i];
    putInt(out, kUnitKeyAt + 4 * i, c.unitKey);
    putInt(out, kSystemAt + 4 * i, c.system);
    putInt(out, kCategoryAt + 4 * i, c.category);
    putInt(out, kQuantityAt + 4 * i, c.quantity);
    putInt(out, kDividesAt + 4 * i, c.divides);
    putText(out, kPrefixAt + kPrefixField * i, kPrefixField, c.prefix);
    putText(out, kSymbolAt + kSymbolField * i, kSymbolField, c.symbol);
    putText(out, kExponentAt + kExponentField * i, kExponentField, c.exponent);
    putInt(out, kPrefixAllowedAt + 4 * i, c.prefixAllowed);
    putInt(out, kExponentAllowedAt + 4 * i, c.exponentAllowed);
    putReal(out, kCoefficientAt + 8 * i, c.coefficient);
    putReal(out, kOffsetAt + 8 * i, c.offset);
    for (int k = 0; k < kDimensionCount; ++k)
      putReal(out, kDimensionAt + 8 * (kDimensionCount * i + k), c.dimension[k]);
  }
  return out;
}

bool unitRecordFromBytes(const std::uint8_t* bytes, std::size_t size, UnitRecord& record) {
  clearUnit(record);
  if (bytes == nullptr || size < kUnitRecordSize) return false;
  int count = getInt(bytes, kCountAt);
  if (count < 0 || count > kMaxUnitComponents) return false;
  UnitRecord read;
  read.count = count;
  for (int i = 0; i < count; ++i) {
    UnitComponent& c = read.components[i];
    c.unitKey = getInt(bytes, kUnitKeyAt + 4 * i);
    c.system = getInt(bytes, kSystemAt + 4 * i);
    c.category = getInt(bytes, kCategoryAt + 4 * i);
    c.quantity = getInt(bytes, kQuantityAt + 4 * i);
    c.divides = getInt(bytes, kDividesAt + 4 * i);
    if (!getText(bytes, kPrefixAt + kPrefixField * i, kPrefixField, c.prefix) ||
        !getText(bytes, kSymbolAt + kSymbolField * i, kSymbolField, c.symbol) ||
        !getText(bytes, kExponentAt + kExponentField * i, kExponentField, c.exponent)) {
      return false;
    }
    c.prefixAllowed = getInt(bytes, kPrefixAllowedAt + 4 * i);
    c.exponentAllowed = getInt(bytes, kExponentAllowedAt + 4 * i);
    c.coefficient = getReal(bytes, kCoefficientAt + 8 * i);
    c.offset = getReal(bytes, kOffsetAt + 8 * i);
    if (!std::isfinite(c.coefficient) || !std::isfinite(c.offset)) return false;
    for (int k = 0; k < kDimensionCount; ++k) {
      c.dimension[k] = getReal(bytes, kDimensionAt + 8 * (kDimensionCount * i + k));
      if (!std::isfinite(c.dimension[k])) return false;
    }
  }
  record = read;
  return true;
}

bool sameUnitBytes(const UnitRecord& a, const UnitRecord& b) {
  return unitRecordToBytes(a) == unitRecordToBytes(b);
}

}  // namespace qz
