#include "units/unit_record.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/units/unit_test_support.h"

namespace qz {
namespace {

using testing::kLength;
using testing::unitOf;

std::int32_t int32At(const UnitRecordBytes& b, std::size_t at) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(b[at + i]) << (8 * i);
  return static_cast<std::int32_t>(u);
}

double realAt(const UnitRecordBytes& b, std::size_t at) {
  std::uint64_t u = 0;
  for (int i = 0; i < 8; ++i) u |= static_cast<std::uint64_t>(b[at + i]) << (8 * i);
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

UnitRecord twoComponents() {
  UnitComponent km = testing::component("m", 1.0, kLength, "k");
  km.unitKey = 7;
  km.system = 2;
  km.category = 3;
  km.quantity = 4;
  UnitComponent h = testing::hour();
  h.unitKey = 0x01020304;
  h.offset = -2.5;
  h.exponent = "5/2";
  return unitOf({km, h}, 1);
}

TEST(UnitRecordBytes, FieldsLieAtTheirOffsetsLittleEndian) {
  UnitRecordBytes b = unitRecordToBytes(twoComponents());
  EXPECT_EQ(b.size(), 1480u);
  EXPECT_EQ(int32At(b, 0), 2);
  EXPECT_EQ(int32At(b, 4), 7);
  EXPECT_EQ(b[8], 0x04) << "second key, least significant byte first";
  EXPECT_EQ(b[11], 0x01);
  EXPECT_EQ(int32At(b, 44), 2);
  EXPECT_EQ(int32At(b, 84), 3);
  EXPECT_EQ(int32At(b, 124), 4);
  EXPECT_EQ(int32At(b, 164), 0);
  EXPECT_EQ(int32At(b, 168), 1);
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[204]), "k");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[207]), "1");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[234]), "m");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[258]), "h");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[474]), "1");
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[478]), "5/2");
  EXPECT_EQ(int32At(b, 516), 1);
  EXPECT_EQ(int32At(b, 520), 0) << "the hour takes no prefix";
  EXPECT_EQ(int32At(b, 560), 1);
  EXPECT_EQ(int32At(b, 596), 0) << "reserved";
  EXPECT_EQ(realAt(b, 600), 1.0);
  EXPECT_EQ(realAt(b, 608), 3600.0);
  EXPECT_EQ(realAt(b, 688), -2.5);
  EXPECT_EQ(realAt(b, 760), 1.0) << "component 0, L";
  EXPECT_EQ(realAt(b, 760 + 8 * 9 + 16), 1.0) << "component 1, T";
  for (std::size_t i = 760 + 8 * 18; i < 1480; ++i) ASSERT_EQ(b[i], 0) << "unused slots are zero, byte " << i;
}

TEST(UnitRecordBytes, RoundTripAndEmptyRecord) {
  UnitRecord original = twoComponents();
  UnitRecordBytes b = unitRecordToBytes(original);
  UnitRecord back;
  ASSERT_TRUE(unitRecordFromBytes(b.data(), b.size(), back));
  EXPECT_EQ(back, original);
  EXPECT_TRUE(sameUnitBytes(back, original));

  UnitRecordBytes zero = unitRecordToBytes(UnitRecord{});
  for (auto byte : zero) ASSERT_EQ(byte, 0);
  ASSERT_TRUE(unitRecordFromBytes(zero.data(), zero.size(), back));
  EXPECT_EQ(back.count, 0);
}

TEST(UnitRecordBytes, LongTextsAreCutToTheirFields) {
  UnitRecord r = unitOf({testing::component(std::string(40, 'x'), 1.0, kLength, "abc", "1234")});
  UnitRecordBytes b = unitRecordToBytes(r);
  UnitRecord back;
  ASSERT_TRUE(unitRecordFromBytes(b.data(), b.size(), back));
  EXPECT_EQ(back.components[0].symbol, std::string(23, 'x'));
  EXPECT_EQ(back.components[0].prefix, "ab");
  EXPECT_EQ(back.components[0].exponent, "123");
}

TEST(UnitRecordBytes, DamagedImagesAreRefused) {
  struct Case {
    const char* name;
    std::size_t at;
    std::size_t length;
    std::uint8_t fill;
  };
  const Case cases[] = {
      {"count 11", 0, 1, 11},
      {"negative count", 3, 1, 0x80},
      {"prefix without terminator", 204, 3, 'k'},
      {"symbol without terminator", 234, 24, 'm'},
      {"exponent without terminator", 474, 4, '2'},
      {"NaN coefficient", 600, 8, 0xFF},
      {"NaN offset", 680, 8, 0xFF},
      {"NaN dimension", 760 + 8 * 3, 8, 0xFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UnitRecordBytes b = unitRecordToBytes(unitOf({testing::metre()}));
    std::memset(b.data() + c.at, c.fill, c.length);
    UnitRecord r = unitOf({testing::metre()});
    EXPECT_FALSE(unitRecordFromBytes(b.data(), b.size(), r));
    EXPECT_EQ(r.count, 0) << "a refused record comes back empty";
  }
  UnitRecordBytes infinite = unitRecordToBytes(unitOf({testing::metre()}));
  infinite[686] = 0xF0;  // +infinity in the offset of component 0
  infinite[687] = 0x7F;
  UnitRecord r;
  EXPECT_FALSE(unitRecordFromBytes(infinite.data(), infinite.size(), r));
  UnitRecordBytes b = unitRecordToBytes(unitOf({testing::metre()}));
  EXPECT_FALSE(unitRecordFromBytes(b.data(), 1479, r)) << "short image";
  EXPECT_FALSE(unitRecordFromBytes(nullptr, 1480, r));
}

TEST(UnitRecordBytes, UnusedSlotsAreIgnoredWhenRead) {
  UnitRecordBytes b = unitRecordToBytes(unitOf({testing::metre()}));
  std::memset(b.data() + 258, 'z', 24);  // symbol of slot 1 while count is 1, without terminator
  std::memset(b.data() + 608, 0xFF, 8);  // NaN coefficient in slot 1
  UnitRecord r;
  ASSERT_TRUE(unitRecordFromBytes(b.data(), b.size(), r));
  EXPECT_EQ(r.components[1], UnitComponent{});
}

}  // namespace
}  // namespace qz
