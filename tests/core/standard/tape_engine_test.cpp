#include "standard/tape_engine.h"

#include <gtest/gtest.h>

#include "standard/display_number.h"
#include "standard_fixture.h"

namespace qz {
namespace {

const std::string kSep(29, '-');

// Key words, then the tape as drawn (indents dropped), then the messages.
struct KeysCase {
  const char* name;
  const char* keys;
  std::string tape;
  std::vector<std::string> messages = {};
};

class TapeKeys : public StandardFixture {};

TEST_F(TapeKeys, Sequences) {
  const KeysCase cases[] = {
      {"a total", "2 + 3 =", "2 + 3 = 5"},
      {"continuation after a total", "2 + 3 = * 4 =", "2 + 3 = 5 * 4 = 20"},
      {"a number after a total starts anew", "2 + 3 = 7 +", "2 + 3 = 5 " + kSep + " 7 +"},
      {"times before divide", "8 / 2 * 2 =", "8 ÷ 2 * 2 = 2"},
      {"plus before minus", "5 - 2 + 1 =", "5 - 2 + 1 = 2"},
      {"parentheses", "( 5 - 2 ) + 1 =", "( 5 - 2 ) + 1 = 4"},
      {"one third times three", "1 / 3 * 3 =", "1 ÷ 3 * 3 = 0.111111111111"},
      {"function result written with twelve digits",
       "3 inv * 3 =", "3 1/x 0.333333333333 * 3 = 0.999999999999"},
      {"square root continues the calculation", "9 sqrt + 1 =", "9 √ 3 + 1 = 4"},
      {"square root of a negative spreads the error",
       "4 neg sqrt + 1 =", "-4 √ 0 (ERREUR) + 1 (ERREUR) = 0 (ERREUR)"},
      {"spread flag keeps a later function's own value",
       "4 neg sqrt + 9 sqrt =", "-4 √ 0 (ERREUR) + 9 √ 3 (ERREUR) = 0 (ERREUR)"},
      {"division by zero", "1 / 0 =", "1 ÷ 0 = 0 (ERREUR)"},
      {"inverse of zero", "0 inv", "0 1/x 0 (ERREUR)"},
      {"square beyond the reals", "1e200 sq", "1E+200 x² 0 (ERREUR)"},
      {"product beyond 1E+300", "1e300 * 10 =", "1E+300 * 10 = 0 (ERREUR)"},
      {"sum beyond 1E+300", "1e300 + 1e300 =", "1E+300 + 1E+300 = 0 (ERREUR)"},
      {"square beyond 1E+300", "1e160 sq", "1E+160 x² 0 (ERREUR)"},
      {"1E+300 itself is a result", "1e299 * 10 =", "1E+299 * 10 = 1E+300"},
      {"square", "1.5 sq + 1 =", "1.5 x² 2.25 + 1 = 3.25"},
      {"unbalanced parentheses", "( 2 + 3 =", "( 2 + 3", {"ERREUR\n\nNombre de parenthèses incorrect."}},
      {"too many closing parentheses",
       "2 + 3 ) =",
       "2 + 3 )",
       {"ERREUR\n\nNombre de parenthèses incorrect."}},
      {"function after a closing parenthesis", "( 2 + 7 ) sqrt + 1 =", "( 2 + 7 ) √ 3 + 1 = 4"},
      {"function after nested groups", "( ( 1 + 3 ) sqrt + 7 ) sq =", "( ( 1 + 3 ) √ 2 + 7 ) x² 81 = 81"},
      {"function after a group inside a group",
       "2 * ( 1 + ( 4 + 5 ) sqrt ) =", "2 * ( 1 + ( 4 + 5 ) √ 3 ) = 8"},
      {"closing a group ending with a function result", "( 9 sqrt ) + 1 =", "( 9 √ 3 ) + 1 = 4"},
      {"function of a total", "2 + 7 = sqrt + 1 =", "2 + 7 = 9 √ 3 + 1 = 4"},
      {"total again adds nothing", "2 + 3 = =", "2 + 3 = 5"},
      {"operator twice", "2 + +", "2 +"},
      {"operator after a group ignores the display", "1 + ( 2 ) 5 + 1 =", "1 + ( 2 ) + 1 = 4"},
      {"close right after the first entry does nothing", "( 2 )", "("},
      {"open after a close does nothing", "2 + 3 ) (", "2 + 3 )"},
      {"open after a total starts anew", "1 + 1 = ( 2 ) =", "1 + 1 = 2 " + kSep + " ( 2 ) = 2"},
      {"close needs two entries", "( )", "("},
      {"close after a close needs an open group", "( 1 + 2 ) )", "( 1 + 2 )"},
      {"pi", "pi * 2 =", "3.14159265359 * 2 = 6.28318530718"},
      {"delete a function result removes the function", "9 sqrt undo + 1 =", "9 + 1 = 10"},
      {"delete a total removes the equals", "2 + 3 = undo", "2 + 3"},
      {"delete the first entry after a separator", "1 + 1 = ( undo", "1 + 1 = 2"},
      {"invalid number adds nothing", "2 + 12E =", "2 +", {"ERREUR\n\nValeur incorrecte !"}},
      {"display modes stamp new entries only", "2 + 3 = fixed dec3 * 4 =", "2 + 3 = 5 * 4.000 = 20.000"},
      {"refresh stamps the calculation", "2 + 3 = fixed dec3 * 4 = refresh",
       "2.000 + 3.000 = 5.000 * 4.000 = 20.000"},
      {"scientific mode", "sci dec2 12345 + 1 =", "1.23E+004 + 1.00E+000 = 1.23E+004"},
  };
  for (const KeysCase& c : cases) {
    SCOPED_TRACE(c.name);
    engine.clearTape();
    engine.setDisplaySetting({0, 2});
    messenger.clear();
    run(c.keys);
    EXPECT_EQ(tape(), c.tape);
    EXPECT_EQ(boxes(), c.messages);
  }
}

TEST_F(TapeKeys, LevelsFollowParentheses) {
  run("( 1 + ( 2 ) ) + 3 =");
  const int expected[] = {1, 1, 1, 2, 2, 2, 1, 0, 0, 0, 0};
  ASSERT_EQ(engine.tape().count(), 11);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(entry(i).level, expected[i]) << i;
}

TEST_F(TapeKeys, FunctionAfterGroupAbsorbsTheGroup) {
  run("( 2 + 7 ) sqrt");
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(entry(i).absorbed) << i;
  EXPECT_FALSE(entry(5).absorbed);
  EXPECT_FALSE(entry(6).absorbed);
  EXPECT_EQ(entry(6).value, 3.0);
  run("undo");
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(entry(i).absorbed) << "the operand counts again";
}

TEST_F(TapeKeys, FunctionResultHoldsFullPrecision) {
  run("3 inv");
  EXPECT_EQ(last().value, 1.0 / 3.0);
  EXPECT_TRUE(entry(0).absorbed);
}

TEST_F(TapeKeys, UpdateRewritesTheTotal) {
  run("2 + 3 =");
  calc.clickEntry(2);
  EXPECT_EQ(calc.mode(), EditMode::EditNumber);
  EXPECT_EQ(calc.displayText(), "3");
  run("4 update");
  EXPECT_EQ(tape(), "2 + 4 = 6");
  EXPECT_EQ(engine.selected(), 2) << "the selection stays";
  run("endedit");
  EXPECT_EQ(calc.mode(), EditMode::Normal);
}

TEST_F(TapeKeys, UpdateBeforeAFunctionOfATotal) {
  run("2 + 7 = sqrt + 1 =");
  calc.clickEntry(2);
  run("14 update");
  EXPECT_EQ(tape(), "2 + 14 = 16 √ 4 + 1 = 5");
}

TEST_F(TapeKeys, FunctionResultCannotBeEdited) {
  run("9 sqrt");
  calc.clickEntry(2);
  EXPECT_TRUE(calc.displayReadOnly());
  EXPECT_EQ(engine.updateSelected("5"), KeyResult::Ignored);
  EXPECT_EQ(tape(), "9 √ 3");
}

TEST_F(TapeKeys, ChangeOperatorRewritesAndEvaluates) {
  run("2 + 3 =");
  calc.clickEntry(1);
  EXPECT_EQ(calc.mode(), EditMode::ChangeOperator);
  EXPECT_FALSE(calc.displayEnabled());
  run("*");
  EXPECT_EQ(tape(), "2 * 3 = 6");
  run("sqrt");
  EXPECT_EQ(tape(), "2 * 3 = 6") << "an operator does not become a function";
  EXPECT_EQ(engine.selected(), 1);
}

TEST_F(TapeKeys, ChangeFunctionRecomputesItsResult) {
  run("9 sqrt + 1 =");
  engine.select(1);
  EXPECT_EQ(engine.pressFunction(EntryKind::Square, ""), KeyResult::Done);
  EXPECT_EQ(tape(), "9 x² 81 + 1 = 82");
  EXPECT_EQ(engine.pressOperator(EntryKind::Plus, ""), KeyResult::Ignored) << "a function stays a function";
}

TEST_F(TapeKeys, EditNumberModeIgnoresKeys) {
  run("2 + 3 =");
  calc.clickEntry(0);
  run("* ( ) = sqrt");
  EXPECT_EQ(tape(), "2 + 3 = 5");
}

TEST_F(TapeKeys, TotalSelectedShowsTheTotal) {
  run("1 / 4 =");
  calc.clickEntry(4);
  EXPECT_EQ(calc.mode(), EditMode::TotalSelected);
  EXPECT_EQ(calc.displayText(), "0.25");
  EXPECT_FALSE(calc.displayEnabled());
  calc.clickEntry(3);  // "=" selects nothing
  EXPECT_EQ(calc.mode(), EditMode::Normal);
  EXPECT_EQ(calc.displayText(), "");
}

TEST_F(TapeKeys, RefreshUsesTheSelectedCalculation) {
  run("1 + 1 = 2 + 2 = fixed dec1");
  calc.clickEntry(0);
  run("refresh");
  EXPECT_EQ(tape(), "1.0 + 1.0 = 2.0 " + kSep + " 2 + 2 = 4");
  EXPECT_EQ(calc.mode(), EditMode::Normal);
}

TEST_F(TapeKeys, DeleteLeavesEditing) {
  run("2 + 3 =");
  calc.clickEntry(2);
  run("undo");
  EXPECT_EQ(calc.mode(), EditMode::Normal);
  EXPECT_EQ(tape(), "2 + 3");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(engine.deleteLast(), KeyResult::Done);
  EXPECT_EQ(engine.deleteLast(), KeyResult::Ignored) << "empty tape";
}

// Fills the tape with "1 + 1 + ..." up to `count` entries.
void fillNumbers(Tape& tape, int count) {
  for (int i = 0; i < count; ++i) tape.append(i % 2 == 0 ? EntryKind::Number : EntryKind::Plus, 1.0, {0, 2});
}

TEST_F(TapeKeys, CapacityAt1997And1998) {
  // "(" then 998 times "1 +": 1997 entries, the last an operator.
  run("(");
  for (int i = 0; i < 998; ++i) {
    engine.tape().append(EntryKind::Number, 1.0, {0, 2});
    engine.tape().append(EntryKind::Plus, 0.0, {0, 2});
  }
  ASSERT_EQ(engine.tape().count(), 1997);
  run("5 +");
  EXPECT_EQ(engine.tape().count(), 1999) << "two entries still fit";
  EXPECT_TRUE(boxes().empty());
  run("5");
  EXPECT_EQ(runScriptKey(calc, "+", messenger), ScriptOutcome::Refused);
  EXPECT_EQ(engine.tape().count(), 1999);
  EXPECT_EQ(boxes(), std::vector<std::string>{"ERREUR\n\nLa capacité maximale du ruban a été atteinte !"});
  EXPECT_EQ(calc.displayText(), "5") << "the refused number stays in the display";
}

TEST_F(TapeKeys, CapacityRefusesAtExactly1998) {
  fillNumbers(engine.tape(), 1997);
  run("+");
  ASSERT_EQ(engine.tape().count(), 1998);
  for (const char* key : {"+", "(", ")", "sqrt", "="}) {
    SCOPED_TRACE(key);
    messenger.clear();
    run(std::string("5 ") + key);
    EXPECT_EQ(engine.tape().count(), 1998);
    EXPECT_EQ(boxes().size(), 1u);
  }
}

TEST_F(TapeKeys, FourEntryFunctionKeyNeverOverflows) {
  fillNumbers(engine.tape(), 1995);
  run("=");
  ASSERT_EQ(engine.tape().count(), 1997);
  ASSERT_EQ(last().kind, EntryKind::Total);
  run("9");
  EXPECT_EQ(runScriptKey(calc, "sqrt", messenger), ScriptOutcome::Refused)
      << "separator, number, function and result need four entries";
  EXPECT_EQ(engine.tape().count(), 1997);
  run("endedit sqrt");  // the function of the total needs two
  EXPECT_EQ(engine.tape().count(), 1999);
}

TEST_F(TapeKeys, CloseIgnoredBelowTwoEntries) {
  run("5 )");
  EXPECT_EQ(engine.tape().count(), 0);
  EXPECT_EQ(engine.pressClose("5"), KeyResult::Ignored);
}

TEST_F(TapeKeys, TotalOnEmptyTapeDoesNothing) {
  EXPECT_EQ(engine.pressTotal("5"), KeyResult::Ignored);
  EXPECT_TRUE(engine.tape().empty());
}

TEST_F(TapeKeys, ErrorSpreadsToLaterTotalsOfTheCalculation) {
  run("4 neg sqrt = + 1 =");
  EXPECT_EQ(tape(), "-4 √ 0 (ERREUR) = 0 (ERREUR) + 1 (ERREUR) = 0 (ERREUR)");
}

TEST_F(TapeKeys, EvaluateReportsTheValue) {
  run("2 * ( 3 + 4");
  Evaluation open = engine.evaluate(0, false);
  EXPECT_FALSE(open.balanced);
  EXPECT_TRUE(messenger.boxes().empty()) << "without messages";
  run(")");
  Evaluation closed = engine.evaluate(0, false);
  EXPECT_TRUE(closed.balanced);
  EXPECT_EQ(closed.value, 14);
}

struct DisplayCase {
  const char* name;
  const char* text;
  bool valid;
  int message;
  double limit;
};

TEST(DisplayNumber, ValidityAndReasons) {
  const DisplayCase cases[] = {
      {"plain", "12.5", true, 0, 0},
      {"zero", "0", true, 0, 0},
      {"exponent", "-1.5E-3", true, 0, 0},
      {"limit itself", "1E300", true, 0, 0},
      {"empty", "", false, 0, 0},
      {"unfinished exponent", "12E", false, 10, 0},
      {"lone minus", "-", false, 10, 0},
      {"two points", "1.2.3", false, 10, 0},
      {"small e", "1e5", false, 10, 0},
      {"too large", "2E300", false, 6, 1e300},
      {"beyond the reals", "1E400", false, 6, 1e300},
      {"too negative", "-2E300", false, 7, -1e300},
      {"too small", "1E-301", false, 3, 1e-300},
      {"underflow", "1E-400", false, 3, 1e-300},
  };
  for (const DisplayCase& c : cases) {
    SCOPED_TRACE(c.name);
    DisplayNumber n = checkDisplayNumber(c.text);
    EXPECT_EQ(n.valid, c.valid);
    EXPECT_EQ(n.messageId, c.message);
    EXPECT_EQ(n.limit, c.limit);
  }
}

}  // namespace
}  // namespace qz
