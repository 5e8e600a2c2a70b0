// The calculator's extended results: the list order, the chosen fit, its
// refusals and memory, the diagram series and the prediction fields.
#include <gtest/gtest.h>

#include <cmath>

#include "numbers/cp1252.h"
#include "numbers/string_table.h"
#include "platform/scripted_messenger.h"
#include "statistics/results_list.h"
#include "statistics/stat_section.h"
#include "statistics/statistics_calculator.h"

namespace qz {
namespace {

class CalculatorFitTest : public ::testing::Test {
 protected:
  void SetUp() override { messenger.setBeepEnabled(true); }
  void load(StatMode mode, std::initializer_list<StatRow> rows) {
    settings.writeInt("Statistic", "Mode", static_cast<int>(mode));
    StatTable t;
    for (const StatRow& r : rows) t.append(r);
    calc.loadSection(writeStatisticsSection(mode, StatResults{}, t));
  }
  MemorySettingsStore settings;
  ScriptedMessenger messenger;
  StatisticsCalculator calc{settings, messenger};
};

TEST_F(CalculatorFitTest, DescribedLinesComeFirstUnchanged) {
  load(StatMode::Values, {{2, 0}, {4, 0}, {4, 0}, {4, 0}, {5, 0}, {5, 0}, {7, 0}, {9, 0}});
  ASSERT_TRUE(calc.resultsValid());
  const auto& described = calc.resultLines();
  EXPECT_EQ(described, buildResultsList(calc.engine().results(), StatMode::Values));
  const auto& shown = calc.shownLines();
  ASSERT_EQ(shown.size(), described.size() + 14);
  EXPECT_TRUE(std::equal(described.begin(), described.end(), shown.begin()));
  EXPECT_TRUE(shown[described.size()].empty());
  // An extended line is clicked and copied as the described ones.
  calc.clickResultLine(static_cast<int>(described.size()) + 4);  // the median
  EXPECT_EQ(*calc.highlightedValue(','), 4.5);
  EXPECT_EQ(calc.copy(false, '.').text, "4.5");
}

TEST_F(CalculatorFitTest, ModeTwoListsTheUncertaintyAfterTheLine) {
  load(StatMode::Pairs, {{0, 1}, {1, 3}, {2, 2}, {3, 5}});
  const std::size_t described = calc.resultLines().size();
  ASSERT_EQ(described, 18u);
  EXPECT_EQ(markupToPlainUtf8(calc.shownLines()[described + 1]), "r ...... = 0.831521841 (coef. de corr.)");
  EXPECT_EQ(markupToPlainUtf8(calc.shownLines()[described + 2]), "s(a) ... = 0.519615242 (erreur type)");
}

TEST_F(CalculatorFitTest, TheChosenFitIsListedDrawnAndRemembered) {
  load(StatMode::Pairs, {{1, 2}, {2, 5}, {3, 10}, {4, 17}});  // y = x² + 1
  EXPECT_EQ(calc.fit(), FitKind::Linear);
  DiagramSeries line = calc.diagramSeries();
  EXPECT_FALSE(line.curve) << "the straight line is the series' a, b";
  EXPECT_EQ(cp1252ToUtf8(line.equation).find("y = 5·x - 4   r² = 0.968992"), 0u) << "125/129";
  const std::size_t before = calc.shownLines().size();

  EXPECT_TRUE(calc.chooseFit(FitKind::Poly2));
  EXPECT_EQ(settings.readInt("Statistic", "Fit", -1), static_cast<int>(FitKind::Poly2));
  EXPECT_EQ(calc.shownLines().size(), before + 7) << "a0..a2, their errors, r²";
  const DiagramSeries curve = calc.diagramSeries();
  ASSERT_TRUE(curve.curve);
  EXPECT_NEAR(curve.curve(5), 26, 1e-9);
  EXPECT_EQ(cp1252ToUtf8(curve.equation), "y = 1·x² + 1   r² = 1");

  // Another calculator over the same settings starts with that fit.
  StatisticsCalculator other(settings, messenger);
  EXPECT_EQ(other.fit(), FitKind::Poly2);
}

TEST_F(CalculatorFitTest, ARefusedFitSaysWhyAndKeepsThePrevious) {
  load(StatMode::Pairs, {{1, 2}, {0, 5}, {3, 10}});
  ASSERT_TRUE(calc.chooseFit(FitKind::Exponential));
  messenger.clear();
  EXPECT_FALSE(calc.chooseFit(FitKind::Logarithmic));
  EXPECT_EQ(calc.fit(), FitKind::Exponential);
  ASSERT_EQ(messenger.boxes().size(), 1u);
  EXPECT_EQ(messenger.lastTextUtf8(),
            "CALCUL IMPOSSIBLE\n\nLigne 2 : x doit être strictement positif\npour un ajustement en puissance ou "
            "logarithmique !");
  EXPECT_EQ(settings.readInt("Statistic", "Fit", -1), static_cast<int>(FitKind::Exponential));
}

TEST_F(CalculatorFitTest, PredictionsByTheChosenFit) {
  load(StatMode::Pairs, {{0, 1}, {1, 3}, {2, 2}, {3, 5}});  // y = 1.1 x + 1.1
  EXPECT_TRUE(calc.typePrediction(PredictionField::YForX, "2,5e1"));
  EXPECT_EQ(calc.predictionText(PredictionField::YForX), "2.5E1") << "the one typing rule";
  EXPECT_NEAR(*calc.predictionResult(PredictionField::YForX), 28.6, 1e-12);
  EXPECT_TRUE(calc.typePrediction(PredictionField::XForY, "3.3"));
  EXPECT_EQ(calc.predictionResultText(PredictionField::XForY), "2");
  messenger.clear();
  EXPECT_FALSE(calc.typePrediction(PredictionField::XForY, "3.3a"));
  EXPECT_EQ(messenger.sounds().size(), 1u) << "a refused keystroke beeps";
  EXPECT_EQ(calc.predictionText(PredictionField::XForY), "3.3");
  EXPECT_TRUE(calc.typePrediction(PredictionField::XForY, "-"));
  EXPECT_FALSE(calc.predictionResult(PredictionField::XForY)) << "not a number yet";

  ASSERT_TRUE(calc.chooseFit(FitKind::Origin));
  EXPECT_NEAR(*calc.predictionResult(PredictionField::YForX), 25 * 11.0 / 7, 1e-12);
  calc.grid().openEditor(1, 0);
  calc.grid().setEditorText("7");
  EXPECT_FALSE(calc.predictionResult(PredictionField::YForX)) << "results no longer valid";
}

TEST_F(CalculatorFitTest, HenryDiagramNamesTheNormalLaw) {
  load(StatMode::Frequencies, {{1, 1}, {2, 3}, {3, 5}, {4, 2}, {5, 1}});
  ASSERT_TRUE(calc.lineButtonEnabled());
  const DiagramSeries series = calc.diagramSeries();
  EXPECT_EQ(cp1252ToUtf8(series.equation).substr(0, 10), "moyenne = ");
  EXPECT_FALSE(series.curve);
  const std::size_t described = calc.resultLines().size();
  EXPECT_EQ(markupToPlainUtf8(calc.shownLines().back()).substr(0, 9), "s Henry =");
  EXPECT_GT(calc.shownLines().size(), described);
}

TEST(StatisticsTexts, EveryFitRefusalHasItsText) {
  for (int id : {kFitNeedsPositiveX, kFitNeedsPositiveY, kFitNeedsDistinctX, kFitImpossible}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(LoadString(id).empty());
  }
}

}  // namespace
}  // namespace qz
