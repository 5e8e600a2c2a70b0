#include "units/unit_conversion.h"

#include <gtest/gtest.h>

#include "core/units/unit_test_support.h"
#include "numbers/string_table.h"
#include "platform/scripted_messenger.h"

namespace qz {
namespace {

using testing::component;
using testing::hour;
using testing::kLength;
using testing::kTemperature;
using testing::metre;
using testing::second;
using testing::unitOf;

UnitComponent celsius() {
  return component(
      "\xB0"
      "C",
      1.0, kTemperature, "1", "1", 0, 0, 273.15);
}
UnitComponent kelvin() { return component("K", 1.0, kTemperature); }
UnitComponent kilometre() { return component("m", 1.0, kLength, "k"); }

TEST(UnitFactor, PrefixesExponentsDivisionAndOffsets) {
  EXPECT_EQ(UnitFactor(UnitRecord{}).coefficient, 0.0);
  UnitFactors kmh = UnitFactor(unitOf({kilometre(), hour()}, 1));
  EXPECT_DOUBLE_EQ(kmh.coefficient, 1000.0 / 3600.0);
  EXPECT_EQ(kmh.offset, 0.0);

  EXPECT_NEAR(UnitFactor(unitOf({component("m", 1.0, kLength, "c", "3")})).coefficient, 1e-6, 1e-21);
  EXPECT_DOUBLE_EQ(UnitFactor(unitOf({component("m", 4.0, kLength, "1", "1/2")})).coefficient, 2.0);

  EXPECT_EQ(UnitFactor(unitOf({celsius()})).offset, 273.15);
  EXPECT_EQ(UnitFactor(unitOf({celsius(), second()}, 1)).offset, 0.0)
      << "degree Celsius per second has no offset";
  EXPECT_EQ(UnitFactor(unitOf({celsius(), celsius()})).offset, 0.0) << "two components never carry an offset";

  UnitFactors first = UnitFactorFirst(unitOf({celsius(), second()}, 1));
  EXPECT_EQ(first.coefficient, 1.0);
  EXPECT_EQ(first.offset, 273.15);
  EXPECT_DOUBLE_EQ(UnitFactorFirst(unitOf({component("m", 1.0, kLength, "k", "2"), second()})).coefficient,
                   1e6);
}

TEST(UnitFactor, StopsAtAContinuationPiece) {
  UnitComponent whole = component("km", 1000.0 / 3600.0, kLength, "1", "1", 0, 0);
  UnitComponent piece = component("h", 3600.0, kLength);
  piece.unitKey = kContinuationKey;
  piece.divides = 1;
  EXPECT_DOUBLE_EQ(UnitFactor(unitOf({whole, piece})).coefficient, 1000.0 / 3600.0);
}

TEST(UnitConversion, CelsiusToKelvinAndBack) {
  UnitConversion conv;
  conv.unit(UnitConversion::kCurrent) = unitOf({celsius()});
  conv.unit(UnitConversion::kNew) = unitOf({kelvin()});
  EXPECT_DOUBLE_EQ(conv.Convert(100), 373.15);
  std::swap(conv.unit(UnitConversion::kCurrent), conv.unit(UnitConversion::kNew));
  EXPECT_DOUBLE_EQ(conv.Convert(373.15), 100);
  EXPECT_FALSE(conv.conversionError());
}

TEST(UnitConversion, KilometresPerHourToMetresPerSecond) {
  UnitConversion conv;
  conv.unit(UnitConversion::kCurrent) = unitOf({kilometre(), hour()}, 1);
  conv.unit(UnitConversion::kNew) = unitOf({metre(), second()}, 1);
  EXPECT_DOUBLE_EQ(conv.Convert(36), 10);
}

TEST(UnitConversion, SameUnitTolerance) {
  UnitConversion conv;
  conv.unit(0) = unitOf({component("a", 1.0, kLength)});
  conv.unit(1) = unitOf({component("b", 1.0 + 5e-8, kLength)});
  EXPECT_EQ(conv.Convert(123.456789), 123.456789) << "within one part in ten million: unchanged";
  conv.unit(1) = unitOf({component("b", 1.0 + 5e-7, kLength)});
  EXPECT_NE(conv.Convert(123.456789), 123.456789);
  conv.unit(0) = unitOf({celsius()});
  conv.unit(1) = unitOf({component("c", 1.0, kTemperature, "1", "1", 0, 0, 273.15 * (1 + 5e-8))});
  EXPECT_EQ(conv.Convert(20), 20.0);
}

TEST(UnitConversion, OverflowSetsTheErrorFlag) {
  UnitConversion conv;
  conv.unit(0) = unitOf({component("m", 1.0, kLength, "Y", "9")});
  conv.unit(1) = unitOf({component("m", 1.0, kLength, "y", "9")});
  EXPECT_EQ(conv.Convert(1.0), 0.0);
  EXPECT_TRUE(conv.conversionError());
  conv.unit(0) = unitOf({metre()});
  conv.unit(1) = unitOf({kilometre()});
  EXPECT_DOUBLE_EQ(conv.Convert(1500), 1.5);
  EXPECT_FALSE(conv.conversionError()) << "each conversion clears the flag first";
}

class RefreshConversionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    conv.unit(0) = unitOf({metre()});
    conv.unit(1) = unitOf({metre()});
    conv.rememberListUnits();
    for (int i = 1; i <= 5; ++i) rows.push_back({double(i), double(i)});
    conv.unit(1) = unitOf({kilometre()});
  }
  UnitConversion conv;
  std::vector<ConversionRow> rows;
  ScriptedMessenger messenger;
};

TEST_F(RefreshConversionsTest, NoKeepsTheOldResults) {
  messenger.answerNext(MessageAnswer::No);
  conv.RefreshConversions(messenger, rows);
  ASSERT_EQ(messenger.boxes().size(), 1u);
  EXPECT_EQ(messenger.boxes()[0].text, LoadString(143) + "\n\n" + LoadString(23));
  EXPECT_EQ(messenger.boxes()[0].style, MessageStyle::YesNo);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[4].result, 5.0);
}

TEST_F(RefreshConversionsTest, YesRecomputesEveryRow) {
  messenger.answerNext(MessageAnswer::Yes);
  conv.RefreshConversions(messenger, rows);
  ASSERT_EQ(rows.size(), 5u);
  for (const ConversionRow& row : rows) EXPECT_DOUBLE_EQ(row.result, row.value / 1000);
}

TEST_F(RefreshConversionsTest, UnchangedPairAsksNothing) {
  conv.unit(1) = unitOf({metre()});
  conv.RefreshConversions(messenger, rows);
  EXPECT_TRUE(messenger.boxes().empty());
  EXPECT_EQ(rows.size(), 5u);
}

TEST_F(RefreshConversionsTest, AnEmptyUnitEmptiesTheList) {
  conv.unit(0) = UnitRecord{};
  conv.RefreshConversions(messenger, rows);
  EXPECT_TRUE(messenger.boxes().empty());
  EXPECT_TRUE(rows.empty());
}

TEST_F(RefreshConversionsTest, NoRowsNoQuestion) {
  rows.clear();
  conv.RefreshConversions(messenger, rows);
  EXPECT_TRUE(messenger.boxes().empty());
}

}  // namespace
}  // namespace qz
