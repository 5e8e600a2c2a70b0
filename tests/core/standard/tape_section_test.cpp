#include "standard/tape_section.h"

#include <gtest/gtest.h>

#include <string>

#include "standard/calculation_text.h"
#include "standard_fixture.h"

namespace qz {
namespace {

class TapeSection : public StandardFixture {};

TEST_F(TapeSection, EmptyTapeWritesNothing) { EXPECT_FALSE(writeTapeSection(engine.tape()).has_value()); }

TEST_F(TapeSection, OneNumber) {
  engine.tape().append(EntryKind::Number, 12.5, {0, 2});
  EXPECT_EQ(writeTapeSection(engine.tape()), "1\n1|0|12.5|0|0|0|2\n");
}

TEST_F(TapeSection, RoundTripOfEveryKind) {
  run("( 2 + 7 ) sqrt * 3 = fixed dec4 sq - 1E20 / 4 neg sqrt = ( 1 / 3 ) inv =");
  const std::optional<std::string> body = writeTapeSection(engine.tape());
  ASSERT_TRUE(body.has_value());
  Tape copy;
  EXPECT_EQ(readTapeSection(*body, copy), engine.tape().count());
  // Documents keep twelve significant digits of each value.
  for (int i = 0; i < Tape::kCapacity; ++i) {
    TapeEntry expected = engine.tape()[i];
    expected.value = roundTo12Digits(expected.value);
    ASSERT_EQ(copy[i], expected) << i;
  }
  EXPECT_EQ(writeTapeSection(copy), body);
}

TEST_F(TapeSection, ValuesKeepTwelveDigitsAndThreeDigitExponents) {
  engine.tape().append(EntryKind::Number, 1.0 / 3.0, {0, 2});
  engine.tape().append(EntryKind::Number, 1.5e15, {0, 2});
  EXPECT_EQ(writeTapeSection(engine.tape()), "2\n1|0|0.333333333333|0|0|0|2\n1|0|1.5E+015|0|0|0|2\n");
}

struct DamagedCase {
  const char* name;
  std::string body;
  int count;
};

TEST(TapeSectionReading, DamagedBodiesLoadWhatIsValid) {
  std::string huge = "999999999999\n";
  for (int i = 0; i < 2100; ++i) huge += "1|0|1|0|0|0|2\n";
  const DamagedCase cases[] = {
      {"empty body", "", 0},
      {"negative count", "-5\n1|0|1|0|0|0|2\n", 0},
      {"count not a number", "abc\n1|0|1|0|0|0|2\n", 0},
      {"huge count capped at 2000", huge, 2000},
      {"fewer lines than the count", "3\n1|0|1|0|0|0|2\n", 1},
      {"unknown kinds left out", "4\n1|0|1|0|0|0|2\n14|0|0|0|0|0|2\n-2|0|0|0|0|0|2\n2|0|0|0|0|0|2\n", 2},
      {"empty slots left out", "2\n0|0|0|0|0|0|2\n1|0|3|0|0|0|2\n", 1},
      {"non-numeric value reads as 0", "1\n1|0|abc|0|0|0|2\n", 1},
      {"missing fields", "1\n13\n", 1},
  };
  for (const DamagedCase& c : cases) {
    SCOPED_TRACE(c.name);
    Tape tape;
    tape.append(EntryKind::Number, 9, {0, 2});
    EXPECT_EQ(readTapeSection(c.body, tape), c.count);
    EXPECT_EQ(tape.count(), c.count) << "the tape is cleared first";
  }
}

TEST(TapeSectionReading, FieldsAreSanitised) {
  Tape tape;
  readTapeSection("3\n10|77|0|0|0|9|15\n1|-4|2.5|5|1|-1|-3\n11|0|0|0|0|0|2\n", tape);
  ASSERT_EQ(tape.count(), 3);
  EXPECT_EQ(tape[0].level, 1) << "levels come from the kinds";
  EXPECT_EQ(tape[1].level, 1);
  EXPECT_EQ(tape[2].level, 1);
  EXPECT_EQ(tape[0].display, (DisplaySetting{0, 9}));
  EXPECT_EQ(tape[1].display, (DisplaySetting{0, 0}));
  EXPECT_TRUE(tape[1].absorbed);
  EXPECT_TRUE(tape[1].error);
  EXPECT_EQ(tape[1].value, 2.5);
}

TEST_F(TapeSection, LoadedTapeCarriesOn) {
  readTapeSection("5\n1|0|2|0|0|0|2\n2|0|0|0|0|0|2\n1|0|3|0|0|0|2\n12|0|0|0|0|0|2\n13|0|5|0|0|0|2\n",
                  engine.tape());
  calc.reset();
  run("* 4 =");
  EXPECT_EQ(tape(), "2 + 3 = 5 * 4 = 20");
}

}  // namespace
}  // namespace qz
