#include "scientific/scientific_calculator.h"

#include <gtest/gtest.h>

#include "platform/scripted_messenger.h"

namespace qz {
namespace {

class Calculator : public ::testing::Test {
 protected:
  void SetUp() override { calc.open(ScientificState{}); }
  void calculate(const char* expression, const char* x) {
    ASSERT_TRUE(calc.editExpression(expression));
    calc.leaveExpression();
    ASSERT_TRUE(calc.editX(x));
    calc.calculate();
  }
  ScriptedMessenger messenger;
  ScientificCalculator calc{messenger, RandomGenerator(3)};
};

TEST_F(Calculator, SquareOfThreeShowsNineAndAppendsTheLine) {
  calculate("y=x^2", "3");
  EXPECT_EQ(calc.resultBoxText(), " 9");
  ASSERT_EQ(calc.results().size(), 1u);
  EXPECT_EQ(calc.resultLine(0), "3               9");
  EXPECT_EQ(calc.listCopyText(), "3\t9\r\n");
  EXPECT_TRUE(messenger.boxes().empty());
}

TEST_F(Calculator, ListLinesAndCopyUseThreeDigitExponents) {
  calculate("y=x*1e10", "-1.5E20");
  EXPECT_EQ(calc.resultLine(0), "-1.5E+020       -1.5E+030");
  calculate("y=x", "1.23456789012E-100");
  EXPECT_EQ(calc.resultLine(0), "1.23456789012E-100 1.23456789012E-100") << "at least one blank";
  EXPECT_EQ(calc.listCopyText(), "1.23456789012E-100\t1.23456789012E-100\r\n");
}

TEST_F(Calculator, ExpressionFieldRefusesOtherCharactersAndEmptiesTheList) {
  calculate("y=x", "2");
  ASSERT_EQ(calc.results().size(), 1u);
  EXPECT_FALSE(calc.editExpression("y=x!"));
  ASSERT_EQ(messenger.sounds().size(), 1u);
  EXPECT_EQ(messenger.sounds()[0], BeepKind::Warning);
  EXPECT_EQ(calc.expression(), "y=x");
  EXPECT_EQ(calc.results().size(), 1u) << "a refused change changes nothing";
  EXPECT_TRUE(calc.editExpression("Y=X+1"));
  EXPECT_EQ(calc.expression(), "y=x+1") << "the field is lower case";
  EXPECT_TRUE(calc.results().empty());
  EXPECT_EQ(calc.resultBoxText(), " ?");
}

TEST_F(Calculator, BlanksGoWhenTheExpressionFieldIsLeft) {
  ASSERT_TRUE(calc.editExpression(" y = 2 * x "));
  calc.leaveExpression();
  EXPECT_EQ(calc.expression(), "y=2*x");
  ASSERT_TRUE(calc.editExpression("y="));
  calc.leaveExpression();
  EXPECT_EQ(calc.expression(), "y=0");
}

TEST_F(Calculator, SemicolonsBecomeLineBreaksWhenTheConstantsFieldIsLeft) {
  ASSERT_TRUE(calc.editConstants(";a = 2;b=3;;"));
  calc.leaveConstants();
  EXPECT_EQ(calc.constants(), "a=2\r\nb=3");
  EXPECT_FALSE(calc.editConstants("a=2*3")) << "no operator but signs in constants";
  EXPECT_TRUE(calc.editConstants("a=2\nb=4"));
  EXPECT_EQ(calc.constants(), "a=2\r\nb=4") << "line breaks are stored CR LF";
}

TEST_F(Calculator, SwitchingTheAngleUnitEmptiesTheListAndShowsQuestionMark) {
  calculate("y=sin(x)", "90");
  EXPECT_EQ(calc.resultBoxText(), " 1") << "a new document is in degrees";
  calc.setAngleUnit(AngleUnit::Radians);
  EXPECT_TRUE(calc.results().empty());
  EXPECT_EQ(calc.resultBoxText(), " ?");
}

TEST_F(Calculator, ListStopsAtOneThousandPairs) {
  ASSERT_TRUE(calc.editExpression("y=x"));
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(calc.editX(std::to_string(i)));
    ASSERT_TRUE(calc.calculate());
  }
  EXPECT_TRUE(messenger.boxes().empty());
  ASSERT_TRUE(calc.editX("1000"));
  EXPECT_FALSE(calc.calculate());
  EXPECT_EQ(messenger.lastTextUtf8(), "ERREUR\n\nLe nombre maximum de coordonnées x,y a été atteint !");
  EXPECT_EQ(calc.results().size(), 1000u);
  EXPECT_EQ(calc.results().back().x, 999);
}

TEST_F(Calculator, FailedCalculationShowsQuestionMarkAndKeepsTheList) {
  calculate("y=1/x", "2");
  calculate("y=1/x", "0");
  EXPECT_EQ(messenger.lastTextUtf8(), "ERREUR\n\nDivision par zéro !");
  EXPECT_EQ(calc.resultBoxText(), " ?");
  EXPECT_EQ(calc.results().size(), 1u);
}

TEST_F(Calculator, UndoOverThreeChanges) {
  const char* texts[] = {"y=x+1", "y=x+2", "y=x+3"};
  for (const char* t : texts) {
    ASSERT_TRUE(calc.editExpression(t));
    calc.leaveExpression();
  }
  EXPECT_EQ(calc.undoCount(), 3);
  EXPECT_TRUE(calc.undo());
  EXPECT_EQ(calc.expression(), "y=x+2");
  EXPECT_TRUE(calc.undo());
  EXPECT_EQ(calc.expression(), "y=x+1");
  EXPECT_TRUE(calc.undo());
  EXPECT_EQ(calc.expression(), "y=0") << "the first expression";
  EXPECT_FALSE(calc.canUndo());
  EXPECT_FALSE(calc.undo());
}

TEST_F(Calculator, LeavingWithoutChangePushesNothing) {
  calc.leaveExpression();
  calc.leaveConstants();
  EXPECT_EQ(calc.undoCount(), 0);
  ASSERT_TRUE(calc.editConstants("a=1"));
  calc.leaveConstants();
  EXPECT_EQ(calc.undoCount(), 1);
  EXPECT_TRUE(calc.undo());
  EXPECT_EQ(calc.constants(), "");
}

TEST_F(Calculator, UndoRestoresAtMostEightStepsBack) {
  for (int i = 1; i <= 12; ++i) {
    ASSERT_TRUE(calc.editExpression("y=x+" + std::to_string(i)));
    calc.leaveExpression();
  }
  std::vector<std::string> seen;
  while (calc.undo()) seen.push_back(calc.expression());
  ASSERT_EQ(seen.size(), 12u);
  EXPECT_EQ(seen[0], "y=x+11");
  EXPECT_EQ(seen[7], "y=x+4");
  EXPECT_EQ(seen[8], "y=x+4") << "entry 9 stays once the older ones are used up";
  EXPECT_EQ(seen[11], "y=x+4");
}

TEST_F(Calculator, ClearAllAsksAndLeavesRadians) {
  EXPECT_EQ(calc.angleUnit(), AngleUnit::Degrees);
  ASSERT_TRUE(calc.editConstants("a=1"));
  calculate("y=x", "4");
  messenger.answerNext(MessageAnswer::No);
  EXPECT_FALSE(calc.clearAll());
  EXPECT_EQ(calc.results().size(), 1u);
  messenger.answerNext(MessageAnswer::Yes);
  EXPECT_TRUE(calc.clearAll());
  EXPECT_EQ(messenger.boxes().back().style, MessageStyle::YesNo);
  EXPECT_EQ(calc.angleUnit(), AngleUnit::Radians);
  EXPECT_EQ(calc.expression(), "y=0");
  EXPECT_EQ(calc.constants(), "");
  EXPECT_EQ(calc.xText(), "");
  EXPECT_TRUE(calc.results().empty());
  EXPECT_FALSE(calc.canClearAll());
  EXPECT_FALSE(calc.canCheck());
}

TEST_F(Calculator, CheckShowsTheControlMessage) {
  ASSERT_TRUE(calc.editExpression("y = a*x"));
  ASSERT_TRUE(calc.editConstants("a = 2"));
  EXPECT_TRUE(calc.check());
  EXPECT_EQ(messenger.lastTextUtf8(),
            "CONTRÔLE\n\nLa fonction et les constantes sont correctement définies.");
  EXPECT_EQ(messenger.boxes().back().style, MessageStyle::Information);
  EXPECT_EQ(calc.expression(), "y=a*x") << "shown again as stored";
  EXPECT_EQ(calc.constants(), "a=2");
}

struct XCase {
  const char* name;
  const char* text;
  XFieldStatus status;
  const char* message;  ///< the box, UTF-8; "" when none
};

TEST_F(Calculator, XFieldLimits) {
  const XCase cases[] = {
      {"Zero", "0", XFieldStatus::Valid, ""},
      {"Maximum", "1E300", XFieldStatus::Valid, ""},
      {"Smallest", "-1E-300", XFieldStatus::Valid, ""},
      {"AboveMaximum", "1E301", XFieldStatus::Invalid, "ERREUR\n\nValeur maximale = 1e+300 !"},
      {"BelowMinimum", "-1E301", XFieldStatus::Invalid, "ERREUR\n\nValeur minimale = -1e+300 !"},
      {"TooSmall", "1E-301", XFieldStatus::Invalid, "ERREUR\n\nPlus petite valeur = |1e-300| !"},
      {"OverflowingText", "1E999", XFieldStatus::Invalid, "ERREUR\n\nValeur maximale = 1e+300 !"},
      {"UnderflowingText", "1E-999", XFieldStatus::Invalid, "ERREUR\n\nPlus petite valeur = |1e-300| !"},
      {"LoneMinus", "-", XFieldStatus::Invalid, "ERREUR\n\nValeur incorrecte !"},
      {"OpenExponent", "1E", XFieldStatus::Invalid, "ERREUR\n\nValeur incorrecte !"},
      {"Empty", "", XFieldStatus::Empty, ""},
  };
  for (const XCase& c : cases) {
    SCOPED_TRACE(c.name);
    messenger.clear();
    ASSERT_TRUE(calc.editX(c.text));
    double x = 0;
    EXPECT_EQ(calc.checkX(x), c.status);
    EXPECT_EQ(messenger.lastTextUtf8(), c.message);
    EXPECT_EQ(calc.ready(), c.status != XFieldStatus::Invalid);
  }
}

TEST_F(Calculator, XFieldTypingRules) {
  EXPECT_TRUE(calc.editX("1,5e3"));
  EXPECT_EQ(calc.xText(), "1.5E3") << "upper case, comma read as point";
  EXPECT_FALSE(calc.editX("1.5E3.2"));
  EXPECT_FALSE(calc.editX("abc"));
  EXPECT_EQ(calc.xText(), "1.5E3");
  EXPECT_EQ(messenger.sounds().size(), 2u);
}

TEST_F(Calculator, AboveMaximumCalculatesNothing) {
  ASSERT_TRUE(calc.editExpression("y=x"));
  ASSERT_TRUE(calc.editX("1E301"));
  EXPECT_FALSE(calc.calculate());
  EXPECT_TRUE(calc.results().empty());
  ASSERT_TRUE(calc.editX(""));
  messenger.clear();
  EXPECT_FALSE(calc.calculate());
  EXPECT_TRUE(messenger.boxes().empty()) << "an empty x field shows nothing";
}

TEST_F(Calculator, CopyTexts) {
  EXPECT_EQ(calc.copyText(ScientificField::None, ""), "");
  calculate("y=x/3", "1");
  EXPECT_EQ(calc.copyText(ScientificField::None, ""), "0.333333333333");
  EXPECT_EQ(calc.copyText(ScientificField::Expression, "x/3"), "x/3");
  EXPECT_EQ(calc.copyText(ScientificField::X, ""), "0.333333333333");
}

TEST_F(Calculator, PasteGoesToTheFocusedFieldOrOverTheWholeX) {
  ASSERT_TRUE(calc.editX("12"));
  auto update = calc.paste(ScientificField::None, " 3,5 ", {});
  ASSERT_TRUE(update.has_value());
  EXPECT_EQ(update->field, ScientificField::X);
  EXPECT_EQ(calc.xText(), "3.5");
  update = calc.paste(ScientificField::X, "9", {0, 1});
  ASSERT_TRUE(update.has_value());
  EXPECT_EQ(calc.xText(), "9.5");
  ASSERT_TRUE(calc.editExpression("y=x"));
  update = calc.paste(ScientificField::Expression, "*2", {3, 3});
  ASSERT_TRUE(update.has_value());
  EXPECT_EQ(calc.expression(), "y=x*2");
  EXPECT_EQ(update->caret, 5);
  EXPECT_FALSE(calc.paste(ScientificField::Expression, "!", {0, 0}).has_value());
  EXPECT_EQ(calc.expression(), "y=x*2");
}

TEST_F(Calculator, UsingAMemoryInTheConstantsFieldInsertsAtTheCaret) {
  ASSERT_TRUE(calc.editConstants("a=\r\nb=2"));
  calc.setResultSelected(true);
  auto update = calc.useMemory(1.5e15, ScientificField::Constants, {2, 2});
  ASSERT_TRUE(update.has_value());
  EXPECT_EQ(calc.constants(), "a=1.5e+015\r\nb=2");
  EXPECT_EQ(update->caret, 10);
  EXPECT_FALSE(calc.resultSelected());
  update = calc.useMemory(-2.5, ScientificField::None, {});
  ASSERT_TRUE(update.has_value());
  EXPECT_EQ(calc.xText(), "-2.5");
}

TEST_F(Calculator, MemorySources) {
  calculate("y=x*2", "4");
  EXPECT_FALSE(calc.memorySourceText(ScientificField::None).has_value()) << "result not selected";
  calc.setResultSelected(true);
  EXPECT_EQ(calc.memorySourceText(ScientificField::None), "8");
  EXPECT_FALSE(calc.resultSelected());
  EXPECT_EQ(calc.memorySourceText(ScientificField::X), "4");
  ASSERT_TRUE(calc.editX("1E301"));
  calc.setResultSelected(true);
  messenger.clear();
  EXPECT_FALSE(calc.memorySourceText(ScientificField::None).has_value());
  EXPECT_EQ(messenger.lastTextUtf8(), "ERREUR\n\nValeur maximale = 1e+300 !");
}

TEST_F(Calculator, EnablingRules) {
  EXPECT_FALSE(calc.canCheck());
  EXPECT_FALSE(calc.canClearAll());
  EXPECT_FALSE(calc.canPrint());
  EXPECT_FALSE(calc.canCopyList());
  ASSERT_TRUE(calc.editX("1"));
  EXPECT_TRUE(calc.canClearAll());
  EXPECT_FALSE(calc.canCheck());
  ASSERT_TRUE(calc.editConstants("a=1"));
  EXPECT_TRUE(calc.canCheck());
  calculate("y=x", "2");
  EXPECT_TRUE(calc.canPrint());
  EXPECT_TRUE(calc.canCopyList());
  EXPECT_TRUE(calc.canClearList());
  calc.clearLastResult();
  EXPECT_FALSE(calc.canPrint());
}

TEST_F(Calculator, OpeningResetsUndoAndTakesTheState) {
  ASSERT_TRUE(calc.editExpression("y=x+1"));
  calc.leaveExpression();
  ScientificState s = calc.state();
  calc.open(s);
  EXPECT_EQ(calc.undoCount(), 0);
  EXPECT_EQ(calc.state().history[0].expression, "y=x+1");
  EXPECT_EQ(calc.xText(), "");
}

TEST_F(Calculator, ClipboardFailureMessage) {
  calc.reportClipboardFailure();
  EXPECT_EQ(messenger.lastTextUtf8(), "ERREUR\n\nLe contenu du presse-papiers est inutilisable !");
}

}  // namespace
}  // namespace qz
