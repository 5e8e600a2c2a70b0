#include "standard/standard_calculator.h"

#include <gtest/gtest.h>

#include "standard_fixture.h"

namespace qz {
namespace {

class StandardWindow : public StandardFixture {
 protected:
  std::vector<BeepKind> warnings() const {
    std::vector<BeepKind> out;
    for (BeepKind k : messenger.sounds())
      if (k == BeepKind::Warning) out.push_back(k);
    return out;
  }
};

TEST_F(StandardWindow, TypingChecksEachKeystroke) {
  for (char c : std::string("1.2")) EXPECT_TRUE(calc.typeCharacter(c));
  EXPECT_FALSE(calc.typeCharacter('.')) << "a second point";
  EXPECT_EQ(calc.displayText(), "1.2");
  EXPECT_EQ(warnings().size(), 1u);
  EXPECT_TRUE(calc.typeCharacter('e')) << "upper-cased";
  EXPECT_EQ(calc.displayText(), "1.2E");
}

TEST_F(StandardWindow, DecimalCommaAndSmallExponentAreTyped) {
  EXPECT_TRUE(calc.editDisplay("1,5", 3));
  EXPECT_EQ(calc.displayText(), "1.5");
  EXPECT_TRUE(calc.editDisplay("1.5e-3", 6));
  EXPECT_EQ(calc.displayText(), "1.5E-3");
  calc.setDisplaySelection(0, 6);
  EXPECT_TRUE(calc.paste("2,5e3"));
  EXPECT_EQ(calc.displayText(), "2.5E3");
  EXPECT_TRUE(warnings().empty());
}

TEST_F(StandardWindow, SignAfterTheExponentLetterGoesIntoTheExponent) {
  const auto press = [&](char c) {
    KeyInput input;
    input.character = c;
    if (calc.keyPressed(input)) return;
    // Left to the field: typed where the caret is.
    calc.typeCharacter(c);
  };
  for (char c : std::string("1E+5")) press(c);
  EXPECT_EQ(calc.displayText(), "1E+5");
  EXPECT_TRUE(engine.tape().empty()) << "no operator went to the tape";
  press('+');
  EXPECT_EQ(tape(), "100000 +") << "after the exponent's digits \"+\" is the operator again";
  for (char c : std::string("2e-3")) press(c);
  EXPECT_EQ(calc.displayText(), "2E-3");
}

TEST(KeyboardTable, SignAfterExponentIsLeftToTheField) {
  KeyInput plus;
  plus.character = '+';
  EXPECT_EQ(keyboardAction(plus, true).kind, KeyboardAction::Command);
  plus.afterExponent = true;
  EXPECT_EQ(keyboardAction(plus, true).kind, KeyboardAction::None);
  KeyInput times;
  times.character = '*';
  times.afterExponent = true;
  EXPECT_EQ(keyboardAction(times, true).kind, KeyboardAction::Command) << "only signs belong to an exponent";
}

TEST_F(StandardWindow, DisplayHoldsAtMost25Characters) {
  const std::string digits(25, '1');
  EXPECT_TRUE(calc.editDisplay(digits, 25));
  EXPECT_FALSE(calc.typeCharacter('1'));
  EXPECT_EQ(calc.displayText(), digits);
}

TEST_F(StandardWindow, RefusedEditKeepsTextAndMovesCaretBack) {
  calc.editDisplay("12", 2);
  EXPECT_FALSE(calc.editDisplay("1 2", 2));
  EXPECT_EQ(calc.displayText(), "12");
  EXPECT_EQ(calc.selectionStart(), 1);
}

TEST_F(StandardWindow, LeavingTheDisplayWithAnUnfinishedNumber) {
  calc.editDisplay("5", 1);
  calc.displayFocusGained();
  calc.editDisplay("12E", 3);
  EXPECT_FALSE(calc.displayFocusLost(StandardCalculator::FocusTarget::Other));
  EXPECT_EQ(boxes(), std::vector<std::string>{"ERREUR\n\nValeur incorrecte !"});
  EXPECT_EQ(calc.displayText(), "5") << "the text saved on focus comes back";
  EXPECT_FALSE(calc.ready());
  EXPECT_TRUE(calc.displayFocusLost(StandardCalculator::FocusTarget::Other));
  EXPECT_TRUE(calc.ready());
}

TEST_F(StandardWindow, LeavingTheDisplayReportsLimits) {
  calc.editDisplay("2E300", 5);
  calc.displayFocusLost(StandardCalculator::FocusTarget::Other);
  calc.editDisplay("1E-301", 6);
  calc.displayFocusLost(StandardCalculator::FocusTarget::Other);
  EXPECT_EQ(boxes(), (std::vector<std::string>{"ERREUR\n\nValeur maximale = 1e+300 !",
                                               "ERREUR\n\nPlus petite valeur = |1e-300| !"}));
}

TEST_F(StandardWindow, LeavingForCancelOrClearChecksNothing) {
  calc.editDisplay("12E", 3);
  EXPECT_TRUE(calc.displayFocusLost(StandardCalculator::FocusTarget::CancelButton));
  EXPECT_TRUE(calc.displayFocusLost(StandardCalculator::FocusTarget::ClearButton));
  calc.clearDisplay();
  EXPECT_TRUE(calc.displayFocusLost(StandardCalculator::FocusTarget::Other)) << "empty text";
  EXPECT_TRUE(messenger.boxes().empty());
}

TEST_F(StandardWindow, ChangeSignAlternates) {
  calc.editDisplay("5", 1);
  const char* expected[] = {"-5", "+5", "-5"};
  for (const char* text : expected) {
    calc.command(StandardCommand::ChangeSign);
    EXPECT_EQ(calc.displayText(), text);
  }
}

TEST_F(StandardWindow, PiFillsTheDisplay) {
  calc.command(StandardCommand::Pi);
  EXPECT_EQ(calc.displayText(), "3.14159265359");
}

TEST_F(StandardWindow, KeypadTable) {
  const auto& keys = keypadKeys();
  EXPECT_EQ(keys[0].character, '7');
  EXPECT_EQ(keys[3].command, StandardCommand::Plus);
  EXPECT_EQ(keys[13].character, '.');
  EXPECT_EQ(keys[14].command, StandardCommand::ChangeSign);
  EXPECT_EQ(keys[16].character, 'E');
  EXPECT_EQ(keys[19].command, StandardCommand::Total);
  EXPECT_EQ(keys[23].command, StandardCommand::Pi);
  for (int i = 0; i < kKeypadKeyCount; ++i) {
    EXPECT_EQ(keys[static_cast<std::size_t>(i)].row, i / 4);
    EXPECT_EQ(keys[static_cast<std::size_t>(i)].column, i % 4);
  }
  EXPECT_EQ(keypadKeyAt(0, 0), 0);
  EXPECT_EQ(keypadKeyAt(50, 40), 5);
  EXPECT_EQ(keypadKeyAt(179, 209), 23);
  EXPECT_EQ(keypadKeyAt(180, 0), -1);
  EXPECT_EQ(keypadKeyAt(0, 210), -1);
  EXPECT_EQ(keypadKeyAt(-1, 5), -1);
}

TEST_F(StandardWindow, KeypadTypesACalculation) {
  const int keys[] = {9, 3, 10, 19};  // 2 + 3 =
  for (int key : keys) {
    calc.keypadPressed(key);
    EXPECT_EQ(calc.pressedKey(), key);
    EXPECT_TRUE(calc.keypadReleased());
    EXPECT_EQ(calc.pressedKey(), -1);
  }
  EXPECT_EQ(tape(), "2 + 3 = 5");
}

TEST_F(StandardWindow, KeypadSilentWhileATotalOrFunctionIsSelected) {
  run("9 sqrt + 1 =");
  for (int selected : {1, 2, 6}) {  // the function, its result, the total
    SCOPED_TRACE(selected);
    calc.clickEntry(selected);
    calc.keypadPressed(3);
    EXPECT_FALSE(calc.keypadReleased());
  }
  calc.clickEntry(3);  // the "+": keys change it
  calc.keypadPressed(11);
  EXPECT_TRUE(calc.keypadReleased());
  EXPECT_EQ(tape(), "9 √ 3 * 1 = 3");
}

struct KeyboardCase {
  const char* name;
  KeyInput input;
  bool tapeEmpty;
  KeyboardAction action;
};

TEST(StandardKeyboard, Table) {
  using A = KeyboardAction;
  auto command = [](StandardCommand c) { return A{A::Command, static_cast<int>(c)}; };
  const KeyboardCase cases[] = {
      {"enter", {0, true, false, false}, false, command(StandardCommand::Total)},
      {"equals", {'=', false, false, false}, false, command(StandardCommand::Total)},
      {"plus", {'+', false, false, false}, false, command(StandardCommand::Plus)},
      {"plus typed with shift is still plus", {'+', false, false, true}, false, command(StandardCommand::Plus)},
      {"times typed with shift", {'*', false, false, true}, false, command(StandardCommand::Times)},
      {"equals typed with shift", {'=', false, false, true}, false, command(StandardCommand::Total)},
      {"point with shift goes to the field", {'.', false, false, true}, false, A{}},
      {"minus", {'-', false, false, false}, false, command(StandardCommand::Minus)},
      {"times", {'*', false, false, false}, false, command(StandardCommand::Times)},
      {"divide", {'/', false, false, false}, false, command(StandardCommand::Divide)},
      {"point", {'.', false, false, false}, false, A{A::Keypad, 13}},
      {"small e", {'e', false, false, false}, false, A{A::Keypad, 16}},
      {"digit", {'7', false, false, false}, false, A{A::Keypad, 0}},
      {"digit with shift", {'0', false, false, true}, false, A{A::Keypad, 12}},
      {"digit with ctrl", {'7', false, true, false}, false, A{}},
      {"open", {'(', false, false, true}, false, command(StandardCommand::Open)},
      {"close", {')', false, false, false}, false, command(StandardCommand::Close)},
      {"copy", {'c', false, true, false}, false, command(StandardCommand::Copy)},
      {"paste", {'V', false, true, false}, false, command(StandardCommand::Paste)},
      {"open file", {'o', false, true, false}, true, command(StandardCommand::OpenFile)},
      {"save", {'s', false, true, false}, true, command(StandardCommand::Save)},
      {"print", {'p', false, true, false}, false, command(StandardCommand::Print)},
      {"print needs a tape", {'p', false, true, false}, true, A{}},
      {"undo", {'z', false, true, false}, false, command(StandardCommand::Undo)},
      {"undo needs a tape", {'z', false, true, false}, true, A{}},
      {"letter", {'a', false, false, false}, false, A{}},
  };
  for (const KeyboardCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(keyboardAction(c.input, c.tapeEmpty), c.action);
  }
}

TEST_F(StandardWindow, KeyboardTypesACalculation) {
  for (char c : std::string("12*3")) EXPECT_TRUE(calc.keyPressed({c, false, false, false}) || c == 0);
  EXPECT_TRUE(calc.keyPressed({0, true, false, false}));
  EXPECT_EQ(tape(), "12 * 3 = 36");
  int forwarded = 0;
  EXPECT_TRUE(calc.keyPressed({'p', false, true, false}, &forwarded));
  EXPECT_EQ(forwarded, static_cast<int>(StandardCommand::Print)) << "printing belongs to the shared commands";
  EXPECT_TRUE(calc.keyPressed({'z', false, true, false}, &forwarded));
  EXPECT_EQ(forwarded, 0);
  EXPECT_EQ(tape(), "12 * 3");
}

TEST_F(StandardWindow, TapeScrolling) {
  for (int i = 0; i < 10; ++i) run("1 +");
  calc.setVisibleLines(5);
  EXPECT_EQ(calc.scrollRange(), 15);
  calc.showEnd();
  EXPECT_EQ(calc.firstVisible(), 15);
  calc.scrollLines(-1);
  EXPECT_EQ(calc.firstVisible(), 14);
  calc.scrollPages(1);
  EXPECT_EQ(calc.firstVisible(), 15);
  calc.scrollPages(-4);
  EXPECT_EQ(calc.firstVisible(), 0);
  EXPECT_EQ(calc.visibleTapeLines().size(), 5u);
  EXPECT_EQ(StandardCalculator::linesThatFit(108, 20), 5);
  EXPECT_EQ(calc.entryAtY(3, 20), -1) << "inside the margin";
  EXPECT_EQ(calc.entryAtY(4, 20), 0);
  EXPECT_EQ(calc.entryAtY(4 + 2 * 20 + 19, 20), 2);
  EXPECT_EQ(calc.entryAtY(4 + 5 * 20, 20), -1) << "below the last visible line";
  run("2 =");
  EXPECT_EQ(calc.firstVisible(), 18) << "keys show the end";
}

TEST_F(StandardWindow, SelectedLineIsMarked) {
  run("2 + 3 =");
  calc.clickEntry(2);
  EXPECT_TRUE(calc.line(2).selected);
  EXPECT_FALSE(calc.line(1).selected);
  EXPECT_TRUE(calc.editButtonsShown());
  calc.clickEntry(-1);
  EXPECT_FALSE(calc.editButtonsShown());
}

TEST_F(StandardWindow, DisplayModeMenuState) {
  EXPECT_TRUE(calc.isModeChecked(0));
  EXPECT_FALSE(calc.decimalsEnabled());
  calc.command(StandardCommand::FixedMode);
  calc.command(static_cast<int>(StandardCommand::DecimalsFirst) + 4);
  EXPECT_TRUE(calc.isModeChecked(1));
  EXPECT_TRUE(calc.decimalsEnabled());
  EXPECT_TRUE(calc.isDecimalsChecked(4));
  calc.command(StandardCommand::ScientificMode);
  EXPECT_EQ(engine.displaySetting(), (DisplaySetting{3, 4}));
}

TEST_F(StandardWindow, MemoryBoxTakesTheLargestPrecisionThatFits) {
  memories[0] = 123456789012.0;
  auto eightPixels = [](std::string_view text) { return static_cast<int>(text.size()) * 8; };
  EXPECT_EQ(calc.memoryBoxText(0, 8 + 12 * 8, eightPixels), "123456789012");
  EXPECT_EQ(calc.memoryBoxText(0, 8 + 10 * 8, eightPixels), "1.235E+011");
  EXPECT_EQ(calc.memoryBoxText(0, 8 + 8 * 8, eightPixels), "") << "not even three digits fit";
  EXPECT_EQ(calc.memoryBoxText(1, 20, eightPixels), "0");
}

TEST_F(StandardWindow, MemoryCommands) {
  calc.editDisplay("12.5", 4);
  calc.command(static_cast<int>(StandardCommand::CopyToMemoryFirst) + 3);
  EXPECT_EQ(memories[3], 12.5);
  calc.command(static_cast<int>(StandardCommand::AddToMemoryFirst) + 3);
  EXPECT_EQ(memories[3], 25);
  calc.clearDisplay();
  calc.command(static_cast<int>(StandardCommand::MemoryButtonFirst) + 3);
  EXPECT_EQ(calc.displayText(), "25");
  calc.command(static_cast<int>(StandardCommand::ClearMemoryFirst) + 3);
  EXPECT_EQ(memories[3], 0);
}

TEST_F(StandardWindow, MemoryOperationsBeepWithAnOperatorSelected) {
  run("2 + 3 =");
  calc.clickEntry(1);
  memories[1] = 7;
  calc.command(static_cast<int>(StandardCommand::UseMemoryFirst) + 1);
  calc.command(static_cast<int>(StandardCommand::CopyToMemoryFirst) + 1);
  EXPECT_EQ(warnings().size(), 2u);
  EXPECT_EQ(memories[1], 7);
}

TEST_F(StandardWindow, MemoryOperationsWorkOnTheSelectedTotal) {
  run("2 + 3 =");
  calc.clickEntry(4);
  calc.command(static_cast<int>(StandardCommand::CopyToMemoryFirst) + 2);
  EXPECT_EQ(memories[2], 5);
}

TEST_F(StandardWindow, UsingAMemoryThatIsNotADisplayNumberBeeps) {
  memories[4] = 1e305;
  calc.editDisplay("8", 1);
  calc.command(static_cast<int>(StandardCommand::UseMemoryFirst) + 4);
  EXPECT_EQ(calc.displayText(), "8");
  EXPECT_EQ(warnings().size(), 1u);
}

TEST_F(StandardWindow, InvalidDisplayChangesNoMemory) {
  memories[5] = 1;
  calc.editDisplay("12E", 3);
  calc.command(static_cast<int>(StandardCommand::AddToMemoryFirst) + 5);
  EXPECT_EQ(memories[5], 1);
}

TEST_F(StandardWindow, ClearAllMemoriesAsks) {
  memories.fill(3);
  messenger.answerNext(MessageAnswer::No);
  calc.command(StandardCommand::ClearAllMemories);
  EXPECT_EQ(memories[9], 3);
  messenger.answerNext(MessageAnswer::Yes);
  calc.command(StandardCommand::ClearAllMemories);
  EXPECT_EQ(memories[9], 0);
  EXPECT_EQ(boxes().back(), "ATTENTION\n\nToutes les mémoires vont être ré-initialisées !\n\nContinuer ?");
}

TEST_F(StandardWindow, CopyAndPaste) {
  calc.editDisplay("123.5", 5);
  EXPECT_EQ(calc.copyText(), "123.5");
  calc.setDisplaySelection(1, 3);
  EXPECT_EQ(calc.copyText(), "23");
  EXPECT_TRUE(calc.paste("9"));
  EXPECT_EQ(calc.displayText(), "19.5");
  calc.setDisplaySelection(4, 4);
  EXPECT_TRUE(calc.paste("1e5")) << "nothing selected: replaces all, upper-cased";
  EXPECT_EQ(calc.displayText(), "1E5");
}

TEST_F(StandardWindow, PastingTextThatIsNotANumberBeepsAndRestores) {
  calc.editDisplay("42", 2);
  for (const char* text : {"abc", "12 m", "", "1.2.3", "1E400"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(calc.paste(text));
    EXPECT_EQ(calc.displayText(), "42");
  }
  EXPECT_EQ(warnings().size(), 5u);
}

TEST_F(StandardWindow, NoPasteWithAnOperatorSelected) {
  run("2 + 3 =");
  calc.clickEntry(1);
  EXPECT_FALSE(calc.paste("4"));
  EXPECT_EQ(calc.displayText(), "");
}

TEST_F(StandardWindow, ClearTapeAsksFirst) {
  EXPECT_FALSE(calc.clearTapeConfirmed()) << "an empty tape asks nothing";
  EXPECT_TRUE(messenger.boxes().empty());
  run("2 + 3 =");
  messenger.answerNext(MessageAnswer::No);
  calc.command(StandardCommand::ClearTape);
  EXPECT_EQ(engine.tape().count(), 5);
  EXPECT_EQ(boxes().back(),
            "ATTENTION\n\nToutes les valeurs affichées vont être effacées !\n\nConfirmation ?");
  messenger.answerNext(MessageAnswer::Yes);
  calc.command(StandardCommand::ClearTape);
  EXPECT_TRUE(engine.tape().empty());
  EXPECT_FALSE(calc.canPrint());
  EXPECT_FALSE(calc.canUndo());
}

TEST_F(StandardWindow, UndoOnAnEmptyTapeKeepsTheDisplay) {
  calc.editDisplay("5", 1);
  calc.command(StandardCommand::Undo);
  EXPECT_EQ(calc.displayText(), "5");
}

TEST_F(StandardWindow, UpdateOnlyForAnEditableNumber) {
  run("9 sqrt + 1 =");
  calc.clickEntry(0);
  EXPECT_TRUE(calc.canUpdate());
  calc.clickEntry(2);
  EXPECT_FALSE(calc.canUpdate()) << "a function result";
  calc.clickEntry(3);
  EXPECT_FALSE(calc.canUpdate()) << "an operator";
}

TEST_F(StandardWindow, SharedCommandsAreNotTakenHere) {
  EXPECT_FALSE(calc.command(StandardCommand::Print));
  EXPECT_FALSE(calc.command(StandardCommand::Copy));
  EXPECT_FALSE(calc.command(57604));
}

}  // namespace
}  // namespace qz
