#include "statistics/statistics_calculator.h"

#include <gtest/gtest.h>

#include "numbers/string_table.h"
#include "platform/scripted_messenger.h"
#include "statistics/stat_section.h"

namespace qz {
namespace {

class CalculatorTest : public ::testing::Test {
 protected:
  void SetUp() override { messenger.setBeepEnabled(false); }
  void load(StatMode mode, std::initializer_list<StatRow> rows) {
    settings.writeInt("Statistic", "Mode", static_cast<int>(mode));
    StatTable t;
    for (const StatRow& r : rows) t.append(r);
    StatResults empty;
    calc.loadSection(writeStatisticsSection(mode, empty, t));
  }
  MemorySettingsStore settings;
  ScriptedMessenger messenger;
  StatisticsCalculator calc{settings, messenger};
};

TEST_F(CalculatorTest, OpeningComputesSilently) {
  load(StatMode::Pairs, {{1, 3}, {4, 12}});
  EXPECT_TRUE(calc.resultsValid());
  EXPECT_EQ(calc.resultLines().size(), 18u);
  EXPECT_EQ(calc.lineButton(), LineButton::Regression);
  EXPECT_TRUE(calc.lineButtonEnabled());
  EXPECT_TRUE(messenger.boxes().empty());
}

TEST_F(CalculatorTest, AnyTableChangeInvalidatesTheResults) {
  load(StatMode::Values, {{1, 0}, {2, 0}, {4, 0}});
  ASSERT_TRUE(calc.resultsValid());
  calc.grid().openEditor(2, 0);
  calc.grid().setEditorText("3");
  EXPECT_FALSE(calc.resultsValid()) << "typing in a cell";
  EXPECT_TRUE(calc.resultLines().empty());
  EXPECT_TRUE(calc.calculate());
  EXPECT_EQ(calc.engine().results().sumX, 8);
  EXPECT_FALSE(calc.grid().editorOpen());
  calc.grid().selectRows(1, 1, 0);
  messenger.answerNext(MessageAnswer::Yes);
  calc.grid().deleteSelection(false);
  EXPECT_FALSE(calc.resultsValid());
  EXPECT_TRUE(calc.calculate());
  EXPECT_TRUE(calc.grid().undo());
  EXPECT_FALSE(calc.resultsValid());
}

TEST_F(CalculatorTest, CalculateWithoutRowsOnlyBeeps) {
  load(StatMode::Values, {});
  messenger.setBeepEnabled(true);
  EXPECT_FALSE(calc.calculate());
  EXPECT_TRUE(messenger.boxes().empty());
  EXPECT_EQ(messenger.sounds().size(), 1u);
}

TEST_F(CalculatorTest, CalculateWithHalfANewRowComplains) {
  load(StatMode::Pairs, {{1, 3}, {4, 12}});
  calc.grid().openEditor(3, 0);
  calc.grid().setEditorText("5");
  EXPECT_FALSE(calc.calculate());
  EXPECT_EQ(messenger.lastTextUtf8(), "ERREUR\n\nValeur manquante à la dernière ligne du tableau !");
  EXPECT_FALSE(calc.resultsValid());
}

TEST_F(CalculatorTest, FailedComputationShowsMessage117) {
  load(StatMode::Values, {{1e300, 0}, {1e300, 0}, {-1e300, 0}});
  EXPECT_FALSE(calc.resultsValid()) << "silent at opening";
  EXPECT_TRUE(messenger.boxes().empty());
  EXPECT_FALSE(calc.calculate());
  EXPECT_EQ(messenger.boxes().size(), 1u);
  EXPECT_TRUE(calc.resultLines().empty());
}

TEST_F(CalculatorTest, ModeChangeAsksQuestion13AndClears) {
  load(StatMode::Pairs, {{1, 3}, {4, 12}});
  messenger.answerNext(MessageAnswer::No);
  EXPECT_FALSE(calc.chooseMode(StatMode::Values));
  EXPECT_EQ(
      messenger.lastTextUtf8(),
      "ATTENTION\n\nLe changement de mode nécessite l'effacement\ndu tableau de valeurs.\n\nConfirmation ?");
  EXPECT_EQ(calc.mode(), StatMode::Pairs);
  EXPECT_EQ(calc.table().count(), 2);
  EXPECT_TRUE(calc.resultsValid());

  messenger.answerNext(MessageAnswer::Yes);
  EXPECT_TRUE(calc.chooseMode(StatMode::Values));
  EXPECT_EQ(calc.mode(), StatMode::Values);
  EXPECT_TRUE(calc.table().isEmpty());
  EXPECT_EQ(calc.engine().results().mode, StatMode::Values);
  EXPECT_EQ(settings.readInt("Statistic", "Mode", -1), 0);
  EXPECT_EQ(calc.grid().valueColumns(), 1);
  EXPECT_FALSE(calc.resultsValid());
  EXPECT_EQ(calc.lineButton(), LineButton::None);

  messenger.clear();
  EXPECT_TRUE(calc.chooseMode(StatMode::Frequencies)) << "an empty table changes without a question";
  EXPECT_TRUE(messenger.boxes().empty());
  EXPECT_FALSE(calc.chooseMode(StatMode::Frequencies)) << "the current mode: nothing to do";
}

TEST_F(CalculatorTest, ClearAllAsksAndReadsTheStoredMode) {
  load(StatMode::Pairs, {{1, 3}, {4, 12}});
  settings.writeInt("Statistic", "Mode", 1);
  messenger.answerNext(MessageAnswer::No);
  EXPECT_FALSE(calc.clearAll());
  EXPECT_EQ(calc.table().count(), 2);
  messenger.answerNext(MessageAnswer::Yes);
  EXPECT_TRUE(calc.clearAll());
  EXPECT_EQ(messenger.lastTextUtf8(),
            "ATTENTION\n\nToutes les valeurs affichées vont être effacées !\n\nConfirmation ?");
  EXPECT_TRUE(calc.table().isEmpty());
  EXPECT_EQ(calc.mode(), StatMode::Frequencies);
}

TEST_F(CalculatorTest, ResultLineClickCopyAndMemory) {
  load(StatMode::Values, {{2, 0}, {4, 0}, {4, 0}, {4, 0}, {5, 0}, {5, 0}, {7, 0}, {9, 0}});
  calc.clickResultLine(1);
  EXPECT_EQ(calc.highlightedLine(), -1) << "blank line";
  calc.clickResultLine(10);
  EXPECT_EQ(calc.highlightedLine(), 10);
  CopyOutcome out = calc.copy(false, ',');
  EXPECT_EQ(out.kind, CopyOutcome::Kind::Text);
  EXPECT_EQ(out.text, "2.13808994") << "only the number";
  EXPECT_FALSE(out.ourCells);
  EXPECT_DOUBLE_EQ(*calc.highlightedValue(','), 2.13808994);
  calc.clickResultLine(40);
  EXPECT_EQ(calc.highlightedLine(), -1);
  EXPECT_EQ(calc.highlightedValue(','), std::nullopt);
}

TEST_F(CalculatorTest, CopyOrder) {
  load(StatMode::Values, {});
  EXPECT_EQ(calc.copy(false, '.').kind, CopyOutcome::Kind::Nothing);
  load(StatMode::Pairs, {{1.5, 2}, {3, 4}});
  EXPECT_EQ(calc.copy(true, '.').kind, CopyOutcome::Kind::EditorCopies);
  EXPECT_EQ(calc.copy(false, '.').kind, CopyOutcome::Kind::Nothing);
  EXPECT_EQ(messenger.lastTextUtf8(),
            "ATTENTION\n\nCopier impossible :\n\n\"Sélectionner un groupe de cellule\".");
  calc.grid().selectAll();
  CopyOutcome out = calc.copy(false, ',');
  EXPECT_EQ(out.text, "1,5\t2\r\n3\t4");
  EXPECT_TRUE(out.ourCells);
  // Our own 2 x 2 block comes back row-wise without the question.
  calc.grid().clearSelection();
  messenger.clear();
  EXPECT_EQ(calc.paste(out.text, out.ourCells, false), PasteResult::Pasted);
  EXPECT_TRUE(messenger.boxes().empty());
  EXPECT_EQ(calc.table().row(3), (StatRow{1.5, 2}));
}

TEST_F(CalculatorTest, ButtonsAndMenuStates) {
  load(StatMode::Frequencies, {{1, 2}, {2, 3}});
  EXPECT_EQ(calc.lineButton(), LineButton::Henry);
  EXPECT_FALSE(calc.lineButtonEnabled()) << "count 2: no Henry line";
  EXPECT_TRUE(calc.canPrint());
  EXPECT_FALSE(calc.canDelete());
  calc.grid().selectColumn(0);
  EXPECT_FALSE(calc.canDelete()) << "two-column modes need both columns";
  EXPECT_TRUE(calc.toolbarDeleteEnabled());
  calc.grid().selectAll();
  EXPECT_TRUE(calc.canDelete());
  load(StatMode::Frequencies, {{1, 2}, {2, 3}, {3, 1}});
  EXPECT_TRUE(calc.lineButtonEnabled());
  DiagramSeries s = calc.diagramSeries();
  EXPECT_EQ(s.points.size(), 2u);
  EXPECT_EQ(s.points[1], (StatRow{2, 5.0 / 6}));
  EXPECT_EQ(s.axes, (AxisScales{AxisScale::Linear, AxisScale::Probit}));
}

TEST_F(CalculatorTest, UseMemoryValueInTheCountColumn) {
  load(StatMode::Frequencies, {{1, 2}, {2, 3}});
  calc.grid().openEditor(1, 1);
  EXPECT_TRUE(calc.useMemoryValue(7.9));
  EXPECT_EQ(calc.grid().editorText(), "7");
  calc.grid().openEditor(1, 0);
  EXPECT_TRUE(calc.useMemoryValue(-2.5));
  EXPECT_EQ(calc.grid().editorText(), "-2.5");
  EXPECT_FALSE(calc.resultsValid());
}

TEST_F(CalculatorTest, SectionRoundTrip) {
  load(StatMode::Pairs, {{1, 3}, {4, 12}, {5, 1}});
  auto body = calc.sectionBody();
  MemorySettingsStore otherSettings;
  StatisticsCalculator other(otherSettings, messenger);
  other.loadSection(body);
  EXPECT_EQ(other.table(), calc.table());
  EXPECT_EQ(other.mode(), StatMode::Pairs);
  EXPECT_EQ(otherSettings.readInt("Statistic", "Mode", -1), 2);
  EXPECT_EQ(other.resultLines(), calc.resultLines());
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

TEST(StatisticsTexts, EveryMessageTheCalculatorShowsHasItsText) {
  const int ids[] = {kGridValueMaximum, kGridValueMinimum, kGridValueIncorrect, 12, kStatModeChangeQuestion,
                     14, 16, 17, 18, 19, kStatClearAllQuestion, kStatMissingValue, kGridCopyImpossible,
                     kGridDeleteConfirm, kPasteFailureText, kPasteEmpty, kPasteRagged, kPasteTooMany,
                     kPasteEmptyCell, kPasteNotNumeric, kClipboardUnusableText, kPasteShapeMismatch,
                     kPasteNeedTwoLines, kPasteVerticalQuestion, kPasteNeedOneLine, kStatComputationFailedText,
                     kGridDeleteImpossible, kGridValueRequired};
  for (int id : ids) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(LoadString(id).empty());
  }
}

}  // namespace
}  // namespace qz
