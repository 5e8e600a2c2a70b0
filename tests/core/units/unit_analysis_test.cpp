#include "units/unit_analysis.h"

#include <gtest/gtest.h>

#include "core/units/unit_test_support.h"

namespace qz {
namespace {

using testing::component;
using testing::hour;
using testing::kLength;
using testing::metre;
using testing::one;
using testing::second;
using testing::unitOf;

UnitComponent kilometre() { return component("m", 1.0, kLength, "k"); }

TEST(DimensionText, ZeroForceAndLength) {
  EXPECT_EQ(DimensionText(DimensionVector{}), "sans dimension");
  EXPECT_EQ(DimensionText(DimensionVector{1, 1, -2, 0, 0, 0, 0, 0, 0}), "LMT\x8C-2\x8C");
  EXPECT_EQ(DimensionText(DimensionVector{1, 0, 0, 0, 0, 0, 0, 0, 0}), "L");
  EXPECT_EQ(DimensionText(DimensionVector{0, 0, 0, 0, 0, 0, 1, 0, 1}), "CS");
  EXPECT_EQ(DimensionText(DimensionVector{0.5, 0, 0, 0, 0, 0, 0, 0, 0}),
            "L\x8C"
            "0.5\x8C");
  EXPECT_EQ(DimensionText(DimensionVector{1e-8, 0, 0, 0, 0, 0, 0, 0, 0}), "sans dimension")
      << "below the epsilon";
}

TEST(DimensionOf, DivisionExponentsAndRounding) {
  EXPECT_EQ(DimensionOf(unitOf({metre(), second()}, 1)), (DimensionVector{1, 0, -1, 0, 0, 0, 0, 0, 0}));

  UnitComponent s2 = second();
  s2.exponent = "2";
  EXPECT_EQ(DimensionOf(unitOf({metre(), s2, metre()}, 1)), (DimensionVector{0, 0, -2, 0, 0, 0, 0, 0, 0}))
      << "every component after the division sign divides";

  UnitComponent third = component("x", 1.0, DimensionVector{0.33333, 0, 0, 0, 0, 0, 0, 0, 0});
  third.exponent = "3";
  EXPECT_DOUBLE_EQ(DimensionOf(unitOf({third}))[0], 0.999) << "values are rounded to three decimals first";
}

TEST(DimensionOf, StopsAtTheFirstContinuationPiece) {
  UnitComponent whole =
      component("km", 1.0 / 3.6, DimensionVector{1, 0, -1, 0, 0, 0, 0, 0, 0}, "1", "1", 0, 0);
  UnitComponent piece = component("h", 0, kLength);
  piece.unitKey = kContinuationKey;
  piece.divides = 1;
  EXPECT_EQ(DimensionOf(unitOf({whole, piece})), (DimensionVector{1, 0, -1, 0, 0, 0, 0, 0, 0}));
}

TEST(UnitsCoherent, SpeedsAgreeLengthAndTimeDoNot) {
  UnitRecord ms = unitOf({metre(), second()}, 1);
  UnitRecord kmh = unitOf({kilometre(), hour()}, 1);
  EXPECT_TRUE(UnitsCoherent(ms, kmh));
  EXPECT_FALSE(UnitsCoherent(unitOf({metre()}), unitOf({second()})));
  EXPECT_TRUE(UnitsCoherent(UnitRecord{}, unitOf({second()}))) << "an empty unit passes";
  EXPECT_TRUE(UnitsCoherent(unitOf({one(), metre(), second()}, 2), ms));
}

TEST(UnitText, SeparatorsPrefixesExponentsAndFieldMarks) {
  UnitComponent s2 = second();
  s2.exponent = "2";
  EXPECT_EQ(UnitText(unitOf({kilometre(), hour()}, 1)), "\x82km\x82/h\x82");
  EXPECT_EQ(UnitText(unitOf({metre(), s2}, 1)),
            "\x82m\x82/s\x8C"
            "2\x8C\x82");
  EXPECT_EQ(UnitText(unitOf({one(), metre()})),
            "\x82"
            "1\x82*m\x82");
  EXPECT_EQ(UnitText(UnitRecord{}), "\x82");
}

TEST(NormaliseUnit, DropsALeadingOneOnlyAheadOfAQuotient) {
  UnitRecord oneMetrePerSecond = unitOf({one(), metre(), second()}, 2);
  EXPECT_EQ(NormaliseUnit(oneMetrePerSecond), 2);
  EXPECT_EQ(oneMetrePerSecond, unitOf({metre(), second()}, 1)) << "1*m/s becomes m/s, slots moved down";

  UnitRecord perSecond = unitOf({one(), second()}, 1);
  UnitRecord before = perSecond;
  EXPECT_EQ(NormaliseUnit(perSecond), 2);
  EXPECT_EQ(perSecond, before) << "1/s stays";

  UnitRecord twoOnes = unitOf({one(), one(), metre()});
  EXPECT_EQ(NormaliseUnit(twoOnes), 2) << "one removal per call";
  EXPECT_EQ(NormaliseUnit(twoOnes), 1);

  UnitRecord single = unitOf({one()});
  EXPECT_EQ(NormaliseUnit(single), 1);
}

TEST(MarkupPlainUtf8, GreekExponentsSubscriptsAndMarks) {
  EXPECT_EQ(markupPlainUtf8("\x82k\x8AW\x8A\x82"), "k\xCE\xA9");  // kΩ
  EXPECT_EQ(markupPlainUtf8("\x82m\x82/s\x8C"
                            "2\x8C\x82"),
            "m/s^2");
  EXPECT_EQ(markupPlainUtf8("mmH\x8B"
                            "2\x8BO"),
            "mmH2O");
  EXPECT_EQ(markupPlainUtf8("\xB0"
                            "C"),
            "\xC2\xB0"
            "C");  // °C
  EXPECT_EQ(markupPlainUtf8("LMT\x8C-2\x8C"), "LMT^-2");
}

}  // namespace
}  // namespace qz
