#include "statistics/stat_grid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/scripted_messenger.h"

namespace qz {
namespace {

class StatGridTest : public ::testing::Test {
 protected:
  void fill(StatMode mode, int rows) {
    grid.setMode(mode);
    for (int i = 1; i <= rows; ++i) table.append({i * 1.5, i * 10.0});
  }
  std::string lastText() const { return messenger.lastTextUtf8(); }

  StatTable table;
  ScriptedMessenger messenger;
  StatGrid grid{table, messenger};
  int changes = 0;
  void SetUp() override {
    messenger.setBeepEnabled(false);
    grid.setChangeHandler([this] { ++changes; });
  }
};

TEST_F(StatGridTest, RowsTextsAndTheNewRow) {
  fill(StatMode::Frequencies, 3);
  EXPECT_EQ(grid.rows(), 4);
  EXPECT_EQ(grid.newRow(), 4);
  EXPECT_EQ(grid.rowNumberText(7), "0007");
  EXPECT_EQ(grid.countText(), "0003");
  EXPECT_EQ(grid.cellText(2, 0), "3");
  EXPECT_EQ(grid.cellText(2, 1), "20");
  EXPECT_EQ(grid.cellText(4, 0), "") << "unfilled cell of the new row";
  table.setValue(1, 0, 1.0 / 3);
  EXPECT_EQ(grid.cellText(1, 0), "0.333333333");
}

TEST_F(StatGridTest, TypingIntoTheNewRowOfTwoColumns) {
  grid.setMode(StatMode::Pairs);
  grid.openEditor(1, 0);
  ASSERT_TRUE(grid.setEditorText("2.5"));
  EXPECT_TRUE(grid.navigate(EditorKey::TabOrEnter));
  EXPECT_EQ(table.count(), 0) << "one cell of two is not a row";
  EXPECT_TRUE(grid.newRowFilled(0));
  EXPECT_EQ(grid.cellText(1, 0), "2.5");
  EXPECT_EQ(grid.currentColumn(), 1);
  ASSERT_TRUE(grid.setEditorText("7"));
  EXPECT_TRUE(grid.navigate(EditorKey::TabOrEnter));
  EXPECT_EQ(table.count(), 1);
  EXPECT_EQ(table.row(1), (StatRow{2.5, 7}));
  EXPECT_EQ(grid.currentRow(), 2);
  EXPECT_EQ(grid.currentColumn(), 0);
  EXPECT_GT(changes, 0);
}

TEST_F(StatGridTest, KeystrokesAreChecked) {
  grid.setMode(StatMode::Frequencies);
  grid.openEditor(1, 1);
  EXPECT_TRUE(grid.setEditorText("1.5")) << "a count is typed as any number, and checked when left";
  EXPECT_TRUE(grid.setEditorText("15"));
  EXPECT_FALSE(grid.setEditorText("1-"));
  grid.openEditor(1, 0);
  EXPECT_TRUE(grid.setEditorText("-1.5E-"));
  EXPECT_FALSE(grid.setEditorText("1 2"));
  EXPECT_FALSE(grid.setEditorText("12345678901234567890123456"));
}

// Each keystroke as the cell editor sends it: the text so far plus one character.
void typeKeys(StatGrid& grid, const std::string& keys) {
  for (char c : keys) grid.setEditorText(grid.editorText() + c);
}

TEST_F(StatGridTest, SmallExponentAndDecimalCommaAreTyped) {
  grid.setMode(StatMode::Pairs);
  const struct {
    const char* keys;
    const char* shown;
    double stored;
  } cases[] = {
      {"2,5e-3", "2.5E-3", 0.0025},
      {"1,5", "1.5", 1.5},
      {"-4e2", "-4E2", -400},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    messenger.clear();
    grid.openEditor(grid.newRow(), 0);
    grid.setEditorText("");
    typeKeys(grid, c.keys);
    EXPECT_EQ(grid.editorText(), c.shown);
    EXPECT_TRUE(messenger.sounds().empty()) << "no keystroke refused";
    ASSERT_TRUE(grid.navigate(EditorKey::TabOrEnter));
    typeKeys(grid, "1");
    ASSERT_TRUE(grid.navigate(EditorKey::TabOrEnter));
    EXPECT_EQ(table.row(table.count()).x, c.stored);
  }
}

TEST_F(StatGridTest, EscapeClosesTheEditorAndKeepsTheCell) {
  fill(StatMode::Pairs, 2);
  grid.openEditor(2, 1);
  typeKeys(grid, "5");
  grid.cancelEditor();
  EXPECT_FALSE(grid.editorOpen());
  EXPECT_EQ(table.row(2), (StatRow{3, 20})) << "what was typed is not stored";
  EXPECT_TRUE(messenger.boxes().empty());
  grid.openEditor(2, 1);
  EXPECT_EQ(grid.editorText(), "20");
}

TEST_F(StatGridTest, NegativeOrFractionalCountIsRefusedWithItsRow) {
  fill(StatMode::Frequencies, 3);
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"-2", "ERREUR\n\nLigne 3 : une fréquence n ne peut pas être négative !"},
      {"1,5", "ERREUR\n\nLigne 3 : une fréquence n est un nombre entier de répétitions,\nsans décimales !"},
      {"2.5E-1", "ERREUR\n\nLigne 3 : une fréquence n est un nombre entier de répétitions,\nsans décimales !"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    grid.openEditor(3, 1);
    ASSERT_TRUE(grid.setEditorText(c.text));
    EXPECT_EQ(grid.commitEditor(), CommitResult::Refused);
    EXPECT_EQ(lastText(), c.message);
    EXPECT_EQ(table.row(3).second, 30) << "the count stays";
  }
  grid.openEditor(3, 1);
  grid.setEditorText("1E1");
  EXPECT_EQ(grid.commitEditor(), CommitResult::Accepted) << "a whole count written with an exponent";
  EXPECT_EQ(table.row(3).second, 10);
  grid.openEditor(3, 1);
  grid.setEditorText("0");
  EXPECT_EQ(grid.commitEditor(), CommitResult::Accepted) << "no occurrence is a count";
}

TEST_F(StatGridTest, PastedCountsMeetTheCountRule) {
  fill(StatMode::Frequencies, 2);
  const StatTable before = table;
  EXPECT_EQ(grid.paste(std::string("1\t2\r\n3\t-4\r\n"), false, false), PasteResult::Refused);
  EXPECT_EQ(lastText(), "ERREUR\n\nLigne 4 : une fréquence n ne peut pas être négative !");
  EXPECT_EQ(grid.paste(std::string("1\t2,5\r\n"), false, false), PasteResult::Refused);
  EXPECT_EQ(lastText(),
            "ERREUR\n\nLigne 3 : une fréquence n est un nombre entier de répétitions,\nsans décimales !");
  EXPECT_EQ(table, before) << "nothing written";
  EXPECT_FALSE(grid.undoAvailable());
  grid.selectRows(1, 2, 1);
  EXPECT_EQ(grid.paste(std::string("7\n-1"), false, false), PasteResult::Refused) << "into a selection";
  EXPECT_EQ(lastText(), "ERREUR\n\nLigne 2 : une fréquence n ne peut pas être négative !");
  EXPECT_EQ(table, before);
  grid.clearSelection();
  EXPECT_EQ(grid.paste(std::string("1\t2\r\n3\t4\r\n5\t0\r\n"), false, false), PasteResult::Pasted);
  EXPECT_EQ(table.count(), 5);
}

TEST(CountRule, WholeNumbersFromZero) {
  const struct {
    double count;
    CountFault fault;
  } cases[] = {
      {0, CountFault::None},           {3, CountFault::None},         {2147483647.0, CountFault::None},
      {-1, CountFault::Negative},      {-0.5, CountFault::Fractional}, {1.5, CountFault::Fractional},
      {1e-9, CountFault::Fractional},  {std::nan(""), CountFault::Fractional},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    EXPECT_EQ(countFault(c.count), c.fault);
  }
  StatTable table;
  for (double n : {1.0, 2.0, -3.0, 0.5}) table.append({1, n});
  EXPECT_EQ(firstRefusedCount(table, 1, 4).row, 3);
  EXPECT_EQ(firstRefusedCount(table, 1, 4).fault, CountFault::Negative);
  EXPECT_EQ(firstRefusedCount(table, 4, 99).row, 4);
  EXPECT_EQ(firstRefusedCount(table, 1, 2).row, 0);
}

TEST_F(StatGridTest, LeavingACellChecksItsValue) {
  fill(StatMode::Frequencies, 2);
  struct Case {
    const char* name;
    int column;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"empty", 0, "", "ERREUR\n\nIntroduire une valeur dans ce champ !"},
      {"not a number", 0, "1E", "ERREUR\n\nValeur incorrecte !"},
      {"above the maximum", 0, "2E300", "ERREUR\n\nValeur maximale = 1e+300 !"},
      {"overflowing", 0, "1E999", "ERREUR\n\nValeur maximale = 1e+300 !"},
      {"below the minimum", 0, "-2E300", "ERREUR\n\nValeur minimale = -1e+300 !"},
      {"count beyond 2147483647", 1, "2147483648", "ERREUR\n\nValeur maximale = 2.14748e+009 !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid.openEditor(1, c.column);
    grid.setEditorText(c.text);
    EXPECT_EQ(grid.commitEditor(), CommitResult::Refused);
    EXPECT_EQ(lastText(), c.message);
    EXPECT_EQ(grid.editorText(), c.column == 0 ? "1.5" : "10") << "previous value back";
    EXPECT_EQ(table.row(1), (StatRow{1.5, 10}));
  }
  messenger.clear();
  grid.setEditorText("");
  EXPECT_EQ(grid.commitEditor(true), CommitResult::Refused);
  EXPECT_TRUE(messenger.boxes().empty()) << "focus going to Annuler: no message";
}

TEST_F(StatGridTest, ValuesAreStoredWithTwelveDigits) {
  fill(StatMode::Values, 2);
  grid.openEditor(2, 0);
  grid.setEditorText("1.23456789012345");
  EXPECT_EQ(grid.commitEditor(), CommitResult::Accepted);
  EXPECT_EQ(table.row(2).x, 1.23456789012);
}

TEST_F(StatGridTest, PassingThroughACellChangesNothing) {
  fill(StatMode::Values, 2);
  table.setValue(1, 0, 1.0 / 3);
  grid.openEditor(1, 0);
  changes = 0;
  EXPECT_TRUE(grid.navigate(EditorKey::Down));
  EXPECT_EQ(table.row(1).x, 1.0 / 3) << "not rounded to the twelve digits shown";
  EXPECT_EQ(changes, 0);
}

TEST_F(StatGridTest, EmptyingTheOnlyValueClearsTheTable) {
  fill(StatMode::Values, 1);
  grid.openEditor(1, 0);
  grid.setEditorText("");
  EXPECT_EQ(grid.commitEditor(), CommitResult::TableCleared);
  EXPECT_TRUE(table.isEmpty());
}

TEST_F(StatGridTest, Navigation) {
  fill(StatMode::Pairs, 3);
  grid.openEditor(1, 0);
  messenger.setBeepEnabled(true);
  EXPECT_FALSE(grid.navigate(EditorKey::Up)) << "beep at row 1";
  EXPECT_FALSE(grid.navigate(EditorKey::ShiftTab));
  EXPECT_EQ(messenger.sounds().size(), 2u);
  EXPECT_TRUE(grid.navigate(EditorKey::CtrlEnd));
  EXPECT_EQ(grid.currentRow(), 4);
  EXPECT_FALSE(grid.navigate(EditorKey::Down)) << "below the incomplete new row";
  EXPECT_TRUE(grid.navigate(EditorKey::ShiftTab));
  EXPECT_EQ(grid.currentRow(), 3);
  EXPECT_EQ(grid.currentColumn(), 1);
  EXPECT_TRUE(grid.navigate(EditorKey::CtrlHome));
  EXPECT_EQ(grid.currentRow(), 1);
  EXPECT_EQ(grid.scrollPosition(), 0);
}

TEST_F(StatGridTest, ScrollingKeepsTheEditedRowVisible) {
  fill(StatMode::Values, 30);
  EXPECT_EQ(grid.maxScroll(), 21);
  grid.openEditor(1, 0);
  EXPECT_TRUE(grid.navigate(EditorKey::CtrlEnd));
  EXPECT_EQ(grid.currentRow(), 31);
  EXPECT_EQ(grid.scrollPosition(), 21);
  grid.scrollBy(-9);
  EXPECT_EQ(grid.scrollPosition(), 12);
  EXPECT_FALSE(grid.editorOpen()) << "scrolling closes the editor";
  grid.scrollTo(500);
  EXPECT_EQ(grid.scrollPosition(), 21);
}

TEST_F(StatGridTest, FillingRow1000ShowsNoNewRow) {
  fill(StatMode::Values, 999);
  grid.openEditor(1000, 0);
  grid.setEditorText("4");
  EXPECT_EQ(grid.commitEditor(), CommitResult::Accepted);
  EXPECT_EQ(table.count(), 1000);
  EXPECT_EQ(grid.rows(), 1000);
  EXPECT_EQ(grid.newRow(), 0);
}

TEST_F(StatGridTest, DragSelectionIsNormalisedWithoutTheNewRow) {
  fill(StatMode::Pairs, 5);
  grid.pressCell(6, 1);
  grid.dragTo(3, 0);
  EXPECT_FALSE(grid.release());
  EXPECT_EQ(grid.selection(), (GridSelection{0, 1, 3, 5}));
  grid.pressCell(6, 0);
  grid.dragTo(6, 1);
  grid.release();
  EXPECT_TRUE(grid.selection().isNone()) << "the new row alone";
  grid.pressCell(2, 1);
  EXPECT_TRUE(grid.release()) << "a click opens the editor";
  EXPECT_EQ(grid.currentRow(), 2);
  EXPECT_EQ(grid.editorText(), "20");
}

TEST_F(StatGridTest, AutoScrollExtendsTheSelection) {
  fill(StatMode::Values, 40);
  grid.pressCell(5, 0);
  grid.dragTo(10, 0);
  grid.autoScroll(+1);
  grid.autoScroll(+1);
  EXPECT_EQ(grid.scrollPosition(), 2);
  EXPECT_EQ(grid.selection().lastRow, 12);
}

TEST_F(StatGridTest, DeleteRowsTwoToThreeOfFiveThenUndo) {
  fill(StatMode::Pairs, 5);
  StatTable before = table;
  grid.selectRows(2, 3, 2);
  messenger.answerNext(MessageAnswer::Yes);
  EXPECT_TRUE(grid.deleteSelection(false));
  EXPECT_EQ(lastText(),
            "ATTENTION\n\nToutes les valeurs sélectionnées\nvont être supprimées.\n\nConfirmation ?");
  EXPECT_EQ(table.count(), 3);
  EXPECT_EQ(table.row(2), before.row(4));
  EXPECT_EQ(table.row(3), before.row(5));
  EXPECT_TRUE(grid.selection().isNone());
  EXPECT_TRUE(grid.undoAvailable());
  EXPECT_TRUE(grid.undo());
  EXPECT_EQ(table, before);
  EXPECT_FALSE(grid.undo()) << "one level only";
}

TEST_F(StatGridTest, DeleteNeedsWholeRowsAndConfirmation) {
  fill(StatMode::Pairs, 5);
  grid.selectColumn(1);
  EXPECT_FALSE(grid.deleteSelection(false));
  EXPECT_EQ(lastText(), "ATTENTION\n\nSupprimer impossible :\n\n\"Sélectionner un groupe de cellule\".");
  grid.selectAll();
  messenger.answerNext(MessageAnswer::No);
  EXPECT_FALSE(grid.deleteSelection(false));
  EXPECT_EQ(table.count(), 5);
  EXPECT_FALSE(grid.deleteSelection(true)) << "refused while the editor has the focus";
  messenger.answerNext(MessageAnswer::Yes);
  EXPECT_TRUE(grid.deleteSelection(false)) << "select all includes the new row; only data rows go";
  EXPECT_EQ(table.count(), 0);
}

TEST_F(StatGridTest, CopyUsesTheDecimalSeparatorInUse) {
  fill(StatMode::Pairs, 3);
  grid.selectRows(1, 2, 2);
  EXPECT_EQ(grid.selectionText(','), "1,5\t10\r\n3\t20");
  grid.selectRows(2, 3, 1);
  EXPECT_EQ(grid.selectionText('.'), "20\r\n30");
  table.setValue(1, 0, 1.5e20);
  grid.selectRows(1, 1, 0);
  EXPECT_EQ(grid.selectionText(','), "1,5E+020");
  grid.clearSelection();
  EXPECT_EQ(grid.selectionText(','), std::nullopt);
}

TEST_F(StatGridTest, PastedValuesBeyondTheLimitsAreRefusedNotClamped) {
  // Typed, 2E300 is refused; pasted, it once arrived as 1E+300.
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"1\r\n2E300\r\n", "ERREUR\n\nValeur maximale = 1e+300 !"},
      {"-3E301\r\n4\r\n", "ERREUR\n\nValeur minimale = -1e+300 !"},
  };
  for (const auto& c : cases) {
    fill(StatMode::Values, 2);
    const StatTable before = table;
    EXPECT_EQ(grid.paste(std::string(c.text), false, false), PasteResult::Refused) << c.text;
    EXPECT_EQ(lastText(), c.message);
    EXPECT_EQ(table, before) << "nothing written";
  }
  EXPECT_EQ(grid.paste(std::string("1E300\r\n-1E300\r\n"), false, false), PasteResult::Pasted) << "the limits";
  EXPECT_EQ(table.row(table.count()).x, -1e300);
}

TEST_F(StatGridTest, PasteAppendsAndSavesUndo) {
  fill(StatMode::Pairs, 1);
  EXPECT_EQ(grid.paste(std::string("1\t2\r\n3\t4\r\n5\t6\r\n"), false, false), PasteResult::Pasted);
  EXPECT_EQ(table.count(), 4);
  EXPECT_EQ(table.row(4), (StatRow{5, 6}));
  EXPECT_TRUE(grid.undo());
  EXPECT_EQ(table.count(), 1);
}

TEST_F(StatGridTest, PasteTwoByTwoAsksUnlessItIsOurs) {
  fill(StatMode::Pairs, 0);
  messenger.answerNext(MessageAnswer::No);
  EXPECT_EQ(grid.paste(std::string("1\t2\n3\t4"), false, false), PasteResult::Pasted);
  EXPECT_EQ(lastText(), "ATTENTION\n\nLes valeurs x,y sont placées verticalement ?");
  EXPECT_EQ(table.row(1), (StatRow{1, 3})) << "No: each line is a column";
  messenger.clear();
  EXPECT_EQ(grid.paste(std::string("1\t2\n3\t4"), true, false), PasteResult::Pasted);
  EXPECT_TRUE(messenger.boxes().empty());
  EXPECT_EQ(table.row(3), (StatRow{1, 2}));
  EXPECT_EQ(table.row(4), (StatRow{3, 4}));
}

TEST_F(StatGridTest, PasteTransposedIntoASelection) {
  fill(StatMode::Pairs, 4);
  grid.selectRows(2, 4, 2);
  EXPECT_EQ(grid.paste(std::string("7\t8\t9\n70\t80\t90"), false, false), PasteResult::Pasted);
  EXPECT_EQ(table.row(2), (StatRow{7, 70}));
  EXPECT_EQ(table.row(4), (StatRow{9, 90}));
  EXPECT_EQ(table.row(1), (StatRow{1.5, 10}));
  EXPECT_EQ(table.count(), 4);
}

TEST_F(StatGridTest, PasteFailuresShowTheirMessageAndWriteNothing) {
  fill(StatMode::Values, 2);
  StatTable before = table;
  EXPECT_EQ(grid.paste(std::nullopt, false, false), PasteResult::Refused);
  EXPECT_EQ(lastText(), "ERREUR\n\nLe contenu du presse-papiers est inutilisable !");
  EXPECT_EQ(grid.paste(std::string(""), false, false), PasteResult::Refused);
  EXPECT_EQ(lastText(), "ERREUR\n\nOpération impossible :\n\n< Le presse-papiers est vide > !");
  EXPECT_EQ(grid.paste(std::string("1\t2\n3\t4"), false, false), PasteResult::Refused);
  EXPECT_EQ(
      lastText(),
      "ERREUR\n\nOpération impossible :\n\n< Les cellules copiées doivent être sur\nune seule ligne ou une "
      "seule colonne > !");
  EXPECT_EQ(grid.paste(std::string("1\nzz"), false, false), PasteResult::Refused);
  // A clipboard far beyond what the grid holds is refused before it is read.
  EXPECT_EQ(grid.paste(std::string(kMaxPastedBytes + 1, '7'), false, true), PasteResult::Refused);
  EXPECT_NE(lastText().find("cellules copi"), std::string::npos) << lastText();
  EXPECT_EQ(table, before);
  EXPECT_FALSE(grid.undoAvailable());
}

TEST_F(StatGridTest, SingleNumberGoesIntoTheOpenEditor) {
  fill(StatMode::Values, 2);
  grid.openEditor(1, 0);
  EXPECT_EQ(grid.paste(std::string("12,5\r\n"), false, true), PasteResult::IntoEditor);
  EXPECT_EQ(table.count(), 2);
  EXPECT_EQ(grid.paste(std::string("12,5\r\n"), false, false), PasteResult::Pasted) << "editor not focused";
  EXPECT_EQ(table.row(3).x, 12.5);
}

TEST_F(StatGridTest, SelectionDialogOpensOnTheSelection) {
  fill(StatMode::Pairs, 6);
  EXPECT_EQ(grid.selectionDialogStart(), (StatGrid::RowRangeChoice{1, 6, 0}));
  grid.selectRows(5, 2, 1);
  EXPECT_EQ(grid.selection(), (GridSelection{1, 1, 2, 5})) << "rows swapped, the second column";
  EXPECT_EQ(grid.selectionDialogStart(), (StatGrid::RowRangeChoice{2, 5, 1}));
  grid.selectAll();
  EXPECT_EQ(grid.selectionDialogStart(), (StatGrid::RowRangeChoice{1, 6, 2})) << "not the new row";
}

TEST(SelectionRowField, ChecksTheRange) {
  ScriptedMessenger m;
  m.setBeepEnabled(false);
  EXPECT_EQ(checkSelectionRowField("12", 20, m), 12);
  EXPECT_EQ(checkSelectionRowField("0", 20, m), std::nullopt);
  EXPECT_EQ(m.lastTextUtf8(), "ERREUR\n\nValeur minimale = 1 !");
  EXPECT_EQ(checkSelectionRowField("21", 20, m), std::nullopt);
  EXPECT_EQ(m.lastTextUtf8(), "ERREUR\n\nValeur maximale = 20 !");
  m.clear();
  EXPECT_EQ(checkSelectionRowField("1.5", 20, m), std::nullopt);
  EXPECT_TRUE(m.boxes().empty());
}

}  // namespace
}  // namespace qz
