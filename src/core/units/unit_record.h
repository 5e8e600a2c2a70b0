// The composed unit record: up to ten components, and its fixed 1480-byte image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qz {

inline constexpr int kMaxUnitComponents = 10;
/// Base dimensions, in the order of the letters of kDimensionLetters.
inline constexpr int kDimensionCount = 9;
inline constexpr std::string_view kDimensionLetters = "LMTIKQCRS";
/// Size of the byte image of a record (history file).
inline constexpr std::size_t kUnitRecordSize = 1480;
/// Longest texts a component can hold (the byte fields keep one more byte for the terminator).
inline constexpr std::size_t kPrefixTextMax = 2;
inline constexpr std::size_t kSymbolTextMax = 23;
inline constexpr std::size_t kExponentTextMax = 3;
/// Unit key of a continuation piece: display only, every calculation stops there.
inline constexpr int kContinuationKey = -1;

using DimensionVector = std::array<double, kDimensionCount>;

/// One component of a composed unit. Texts are code page 1252 markup.
struct UnitComponent {
  int unitKey = 0;       ///< database unit key; kContinuationKey for a display-only piece
  int system = 0;        ///< 1-based in the systems list
  int category = 0;      ///< 1-based in the categories list
  int quantity = 0;      ///< 1-based in the quantities list
  int divides = 0;       ///< non-zero: preceded by a division sign (it and every later component divide)
  std::string prefix;    ///< prefix symbol, "1" when none (at most kPrefixTextMax bytes)
  std::string symbol;    ///< unit symbol (at most kSymbolTextMax bytes)
  std::string exponent;  ///< exponent text, "1" when none (at most kExponentTextMax bytes)
  int prefixAllowed = 0;
  int exponentAllowed = 0;
  double coefficient = 0.0;  ///< SI coefficient
  double offset = 0.0;       ///< SI offset
  DimensionVector dimension{};

  friend bool operator==(const UnitComponent&, const UnitComponent&) = default;
};

/// A composed unit of `count` components. Slots at and beyond `count` stay empty.
struct UnitRecord {
  int count = 0;
  std::array<UnitComponent, kMaxUnitComponents> components{};

  bool empty() const { return count <= 0; }
  friend bool operator==(const UnitRecord&, const UnitRecord&) = default;
};

using UnitRecordBytes = std::array<std::uint8_t, kUnitRecordSize>;

/// Empties a record: no component, every slot zeroed.
void clearUnit(UnitRecord& record);

/// `text` cut to at most `max` bytes (and at its first zero byte, which a
/// zero-terminated field could not keep).
std::string fitText(std::string_view text, std::size_t max);

/// The little-endian byte image of a record, field by field; texts are cut
/// to their fields and zero-padded, unused slots are zero.
UnitRecordBytes unitRecordToBytes(const UnitRecord& record);

/// Reads a byte image. Refuses (false, `record` emptied) an image whose count
/// lies outside 0..10, whose texts of a used slot are not terminated inside
/// their fields, or whose reals of a used slot are not finite. Unused slots
/// are ignored and come back empty.
bool unitRecordFromBytes(const std::uint8_t* bytes, std::size_t size, UnitRecord& record);

/// Byte-for-byte equality of the images of two records.
bool sameUnitBytes(const UnitRecord& a, const UnitRecord& b);

}  // namespace qz
