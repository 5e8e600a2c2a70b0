#include "geometry/geometry_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/scripted_messenger.h"

namespace qz {
namespace {

std::string dataFolder() {
  const char *env = std::getenv("QZ_DATA_DIR");
  return env && *env ? env : ".";
}

class GeometryModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_model.readSection(std::nullopt);
    ASSERT_TRUE(m_model.load()) << "the shipped catalogues are missing";
  }

  /// Chooses the plane figure named `name` (code page 1252) from the list.
  void choose(const std::string &name) {
    const std::vector<std::string> names = m_model.figureNames();
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) {
        ASSERT_TRUE(m_model.chooseFigure(static_cast<int>(i)));
        return;
      }
    FAIL() << "no figure " << name;
  }
  void chooseSquare() { choose("Carr\xE9"); }

  /// A clickable variable left unknown: the rectangle with its second side removed.
  int unknownOfARectangleWithOneSide() {
    choose("Rectangle");
    if (m_model.rows() < 2 || !m_model.removeRow(1)) return -1;
    const VariableTable &table = m_model.table();
    for (int v = table.predefinedCount(); v < table.size(); ++v) {
      const GeoVariable &g = table.at(v);
      if (g.shown && g.kind != 'V' && g.kind != 'R' && g.kind != 'C' && g.state == kUnknown && !g.given &&
          table.lookupVariable(g.name, true) == v)
        return v;
    }
    return -1;
  }

  int variable(const std::string &name) const {
    return const_cast<GeometryModel &>(m_model).table().lookupVariable(name, true);
  }
  const GeoVariable &var(const std::string &name) { return m_model.table().at(variable(name)); }
  int rowOf(const std::string &name) const {
    for (int r = 0; r < m_model.rows(); ++r)
      if (m_model.rowName(r) == name) return r;
    return -1;
  }

  ScriptedMessenger m_messenger;
  GeometryModel m_model{dataFolder(), m_messenger};
};

TEST_F(GeometryModelTest, DimensionsRememberTheirFigure) {
  EXPECT_EQ(m_model.dimension(), 0);
  EXPECT_EQ(m_model.figureNames().size(), static_cast<std::size_t>(kPlaneFigureCount));
  chooseSquare();
  const int square = m_model.figure();
  EXPECT_EQ(m_model.listIndex(), square);

  EXPECT_TRUE(m_model.chooseDimension(1));
  EXPECT_EQ(m_model.dimension(), 1);
  EXPECT_EQ(m_model.figure(), 27) << "the solid catalogue opens on its usual figure";
  EXPECT_TRUE(m_model.loaded());
  EXPECT_EQ(m_model.figureNames().size(), static_cast<std::size_t>(kFigureCount - kPlaneFigureCount));
  EXPECT_EQ(m_model.listIndex(), 27 - kPlaneFigureCount);
  EXPECT_FALSE(m_model.chooseDimension(1)) << "already there";
  ASSERT_TRUE(m_model.chooseFigure(4));
  EXPECT_EQ(m_model.figure(), kPlaneFigureCount + 4);

  EXPECT_TRUE(m_model.chooseDimension(0));
  EXPECT_EQ(m_model.figure(), square);
  EXPECT_EQ(m_model.rememberedFigure(1), kPlaneFigureCount + 4);
  EXPECT_TRUE(m_messenger.boxes().empty());
}

TEST_F(GeometryModelTest, FigureChoicesOutOfTheListAreIgnored) {
  chooseSquare();
  const int square = m_model.figure();
  EXPECT_FALSE(m_model.chooseFigure(-1));
  EXPECT_FALSE(m_model.chooseFigure(kPlaneFigureCount));
  EXPECT_FALSE(m_model.chooseSubFigure(static_cast<int>(m_model.layout().subFigures.size())));
  EXPECT_EQ(m_model.figure(), square);
}

TEST_F(GeometryModelTest, SquareFromItsSide) {
  chooseSquare();
  ASSERT_EQ(m_model.rows(), 1);
  ASSERT_EQ(m_model.rowName(0), "L");
  EXPECT_EQ(m_model.rowValue(0), 10.0) << "the figure's first datum";
  double shown = -1.0;
  EXPECT_EQ(m_model.commitRow(0, "2,5", shown), 0) << "a decimal comma is taken";
  EXPECT_EQ(m_model.rowValue(0), 2.5);
  EXPECT_EQ(m_model.rowText(0), "2.5");
  EXPECT_EQ(var("S").state, kKnown);
  EXPECT_DOUBLE_EQ(var("S").value, 6.25);
  EXPECT_DOUBLE_EQ(var("P").value, 10.0);
  EXPECT_TRUE(m_model.hasResults());
  EXPECT_TRUE(m_messenger.boxes().empty());
}

TEST_F(GeometryModelTest, RefusedEntriesKeepTheRow) {
  chooseSquare();
  const int row = rowOf("L");
  ASSERT_GE(row, 0);
  // The side: no lower than 0, 0 itself forbidden, no maximum below 1E300.
  struct Case {
    const char *name;
    const char *text;
    int code;
    double shown;
  };
  const Case cases[] = {
      {"empty", "", 250, 0.0},
      {"blanks only", "   ", 250, 0.0},
      {"not a number", "quatre", 10, 0.0},
      {"forbidden zero", "0", 33, 0.0},
      {"negative", "-1", 7, 0.0},
      {"above the maximum", "2E300", 6, 1e300},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    double shown = -1.0;
    EXPECT_EQ(m_model.commitRow(row, c.text, shown), c.code);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(m_model.rowValue(row), 10.0);
  }
  double shown = -1.0;
  EXPECT_EQ(m_model.commitRow(row, " 4 ", shown), 0) << "blanks around a number are dropped";
  EXPECT_EQ(m_model.rowValue(row), 4.0);
  EXPECT_DOUBLE_EQ(var("P").value, 16.0);
}

TEST_F(GeometryModelTest, TypingFollowsTheRowsSignRule) {
  chooseSquare();
  struct Case {
    const char *name;
    std::string text;
    bool accepted;
  };
  const Case cases[] = {
      {"digits", "12", true},
      {"empty", "", true},
      {"minus sign", "-", false},
      {"letter", "1x", false},
      {"26 characters", std::string(26, '1'), false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = c.text;
    EXPECT_EQ(m_model.acceptsTyping(0, text), c.accepted);
  }
  std::string text = "1";
  EXPECT_FALSE(m_model.acceptsTyping(1, text)) << "no second row";
}

TEST_F(GeometryModelTest, TypingTakesSmallExponentAndDecimalComma) {
  chooseSquare();
  for (const auto& [typed, shown] : {std::pair<std::string, std::string>{"1,5", "1.5"}, {"2.5e3", "2.5E3"},
                                     {"1,5e-2", "1.5E-2"}}) {
    SCOPED_TRACE(typed);
    std::string text = typed;
    EXPECT_TRUE(m_model.acceptsTyping(0, text));
    EXPECT_EQ(text, shown);
  }
  double shown = 0;
  EXPECT_EQ(m_model.commitRow(0, "1.5E-2", shown), 0);
  EXPECT_DOUBLE_EQ(m_model.rowValue(0), 0.015);
}

TEST_F(GeometryModelTest, ClickingALabelShowsItsValueAndFollowsTheComputation) {
  chooseSquare();
  EXPECT_EQ(m_model.resultText(), "?");
  EXPECT_EQ(m_model.clickVariable(variable("P")), LabelClick::ResultShown);
  EXPECT_EQ(m_model.resultText(), "P=40");
  EXPECT_FALSE(m_model.resultSelected());
  double shown = 0.0;
  ASSERT_EQ(m_model.commitRow(0, "3", shown), 0);
  EXPECT_EQ(m_model.resultText(), "P=12") << "the shown value follows the new side";

  EXPECT_TRUE(m_model.clearFigure());
  EXPECT_EQ(m_model.rows(), 1);
  EXPECT_EQ(m_model.rowValue(0), 10.0);
  EXPECT_EQ(m_model.resultText(), "?");
  EXPECT_EQ(m_model.clickVariable(-1), LabelClick::Nothing);
  EXPECT_EQ(m_model.clickVariable(m_model.table().size()), LabelClick::Nothing);
}

TEST_F(GeometryModelTest, ClickingAnUnknownMakesItADatum) {
  const int unknown = unknownOfARectangleWithOneSide();
  ASSERT_GE(unknown, 0);
  const int rows = m_model.rows();
  const std::string name = m_model.table().at(unknown).name;
  EXPECT_EQ(m_model.clickVariable(unknown), LabelClick::RowAdded);
  EXPECT_EQ(m_model.rows(), rows + 1);
  EXPECT_EQ(m_model.rowName(rows), name);
  EXPECT_EQ(m_model.selectedRow(), rows);
  EXPECT_TRUE(m_model.table().at(m_model.table().lookupVariable(name, true)).given);
}

/// The first shown variable, past the predefined ones, that is its name's own entry and satisfies `wanted`.
template <typename Wanted>
int findVariable(const VariableTable &table, Wanted wanted) {
  for (int v = table.predefinedCount(); v < table.size(); ++v) {
    const GeoVariable &g = table.at(v);
    if (g.shown && g.kind != 'V' && table.lookupVariable(g.name, true) == v && wanted(g)) return v;
  }
  return -1;
}

TEST_F(GeometryModelTest, ATenthDatumIsRefused) {
  const int unknown = unknownOfARectangleWithOneSide();
  ASSERT_GE(unknown, 0);
  // No shipped figure shows ten variables to click: the grid is filled with
  // copies of the first datum instead.
  FigureData &data = m_model.data();
  ASSERT_GE(data.rows, 1);
  while (data.rows < 9) data.row[static_cast<std::size_t>(data.rows++)] = data.row[0];
  EXPECT_EQ(m_model.clickVariable(unknown), LabelClick::GridFull);
  EXPECT_EQ(m_model.rows(), 9);
  EXPECT_FALSE(m_model.table().at(unknown).given);
  ASSERT_EQ(m_messenger.boxes().size(), 1u);
  EXPECT_NE(m_messenger.lastTextUtf8().find("Neuf données au plus."), std::string::npos);
  // Taking it from its menu is refused the same way.
  m_messenger.clear();
  EXPECT_EQ(m_model.takeAsDatum(unknown), LabelClick::GridFull);
  EXPECT_EQ(m_model.rows(), 9);
  EXPECT_EQ(m_messenger.boxes().size(), 1u);
}

/// State and value of every entry after a computation, to compare two ways
/// of reaching the same data.
std::vector<std::pair<int, double>> outcome(const VariableTable &table) {
  std::vector<std::pair<int, double>> all;
  for (int v = table.predefinedCount(); v < table.size(); ++v) {
    const GeoVariable &g = table.at(v);
    all.emplace_back(g.state, g.state == kKnown ? g.value : 0.0);
  }
  return all;
}

TEST_F(GeometryModelTest, ARemovedRowIsAsIfNeverGiven) {
  using Rows = std::vector<std::pair<std::string, double>>;
  struct Case {
    const char *name;
    Rows rows;
    int removed;
  };
  // The rectangle 3 x 4: its diagonal is 5, its perimeter 14, its surface 12.
  const Case cases[] = {
      {"first", {{"P", 14}, {"L1", 3}, {"D", 5}}, 0},
      {"middle", {{"L1", 3}, {"S", 12}, {"D", 5}}, 1},
      {"last", {{"L1", 3}, {"L2", 4}, {"D", 5}}, 2},
      {"the only one", {{"L1", 3}}, 0},
  };
  choose("Rectangle");
  const auto give = [this](const Rows &rows) {
    FigureData &data = m_model.data();
    data.clear();
    for (const auto &[name, value] : rows) {
      const int index = variable(name);
      ASSERT_GE(index, 0) << name;
      m_model.table().at(index).value = value;
      ASSERT_TRUE(data.addRow(m_model.table(), index));
    }
    m_model.compute();
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Rows without = c.rows;
    without.erase(without.begin() + c.removed);
    give(without);
    const auto expected = outcome(m_model.table());

    give(c.rows);
    m_model.selectRow(c.removed);
    const std::string removed = m_model.rowName(c.removed);
    ASSERT_TRUE(m_model.removeRow(c.removed));
    ASSERT_EQ(m_model.rows(), static_cast<int>(without.size()));
    for (int r = 0; r < m_model.rows(); ++r) {
      EXPECT_EQ(m_model.rowName(r), without[static_cast<std::size_t>(r)].first);
      EXPECT_EQ(m_model.rowValue(r), without[static_cast<std::size_t>(r)].second);
    }
    EXPECT_EQ(m_model.data().row[without.size()].variable, -1) << "the freed row is empty";
    EXPECT_FALSE(var(removed).given);
    EXPECT_EQ(outcome(m_model.table()), expected);
    // The selection moves to the row taking the removed one's place.
    const int last = m_model.rows() - 1;
    EXPECT_EQ(m_model.selectedRow(), std::min(c.removed, last));
  }
  EXPECT_FALSE(m_model.removeRow(m_model.rows()));
  EXPECT_FALSE(m_model.removeRow(-1));
  EXPECT_TRUE(m_messenger.boxes().empty());
}

TEST_F(GeometryModelTest, RemovingARowKeepsTheSelectionOnItsDatum) {
  choose("Rectangle");
  struct Case {
    const char *name;
    int selected, removed, expected;
  };
  const Case cases[] = {
      {"below the removed row", 2, 0, 1},
      {"above the removed row", 0, 1, 0},
      {"none", -1, 1, -1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    m_model.clearFigure();
    ASSERT_EQ(m_model.takeAsDatum(variable("D")), LabelClick::RowAdded);
    m_model.selectRow(c.selected);
    const std::string kept = m_model.rowName(c.selected);
    ASSERT_TRUE(m_model.removeRow(c.removed));
    EXPECT_EQ(m_model.selectedRow(), c.expected);
    if (c.expected >= 0) {
      EXPECT_EQ(m_model.rowName(c.expected), kept);
    }
  }
}

TEST_F(GeometryModelTest, AnyShownVariableCanBeTakenAsADatum) {
  chooseSquare();
  ASSERT_EQ(var("P").state, kKnown);
  const auto before = outcome(m_model.table());
  // A computed value becomes a datum holding it: the figure does not change.
  EXPECT_TRUE(m_model.canTakeAsDatum(variable("P")));
  EXPECT_EQ(m_model.takeAsDatum(variable("P")), LabelClick::RowAdded);
  ASSERT_EQ(m_model.rows(), 2);
  EXPECT_EQ(m_model.rowName(1), "P");
  EXPECT_EQ(m_model.rowValue(1), 40.0);
  EXPECT_EQ(m_model.selectedRow(), 1);
  EXPECT_TRUE(var("P").given);
  EXPECT_EQ(outcome(m_model.table()), before);
  // The editor's six digits, committed unchanged, leave the exact value.
  // (P first: a side of π with a perimeter of 40 would contradict it.)
  double shown = 0.0;
  ASSERT_EQ(m_model.commitRow(1, "12.5663706144", shown), 0);
  ASSERT_EQ(m_model.commitRow(0, "3.14159265", shown), 0);
  ASSERT_EQ(m_model.takeAsDatum(variable("S")), LabelClick::RowAdded);
  const double surface = var("S").value;
  ASSERT_EQ(m_model.rowText(2), "9.8696");
  ASSERT_EQ(m_model.commitRow(2, m_model.rowText(2), shown), 0);
  EXPECT_EQ(m_model.rowValue(2), surface);
  ASSERT_EQ(m_model.commitRow(2, "9.8696", shown), 0);
  ASSERT_EQ(m_model.commitRow(2, "9.86961", shown), 0);
  EXPECT_EQ(m_model.rowValue(2), 9.86961) << "a changed text is taken";
  ASSERT_EQ(m_model.commitRow(1, "40", shown), 0);
  ASSERT_TRUE(m_model.removeRow(2));
  ASSERT_EQ(m_model.commitRow(0, "10", shown), 0);
  EXPECT_EQ(outcome(m_model.table()), before);
  // A datum already given only has its row selected.
  EXPECT_EQ(m_model.takeAsDatum(variable("L")), LabelClick::RowSelected);
  EXPECT_EQ(m_model.rows(), 2);
  EXPECT_EQ(m_model.selectedRow(), 0);
  // Neither a hidden entry nor one out of the table.
  EXPECT_FALSE(m_model.canTakeAsDatum(-1));
  EXPECT_EQ(m_model.takeAsDatum(m_model.table().size()), LabelClick::Nothing);
  EXPECT_TRUE(m_messenger.boxes().empty());
}

TEST_F(GeometryModelTest, AnIncalculableVariableIsTakenFromItsStartingValue) {
  choose("Triangle quelconque");
  FigureData &data = m_model.data();
  for (int r = 0; r < data.rows; ++r) data.row[static_cast<std::size_t>(r)].value = r < 2 ? 1.0 : 5.0;
  m_model.compute();
  const int s = variable("S");
  ASSERT_EQ(m_model.table().at(s).state, kIncalculable);
  ASSERT_EQ(m_model.takeAsDatum(s), LabelClick::RowAdded);
  EXPECT_EQ(m_model.rowValue(m_model.rows() - 1), m_model.table().at(s).startValue);
}

TEST_F(GeometryModelTest, AResultOnlyVariableIsNeverADatum) {
  int result = -1;
  for (int dimension : {0, 1}) {
    m_model.chooseDimension(dimension);
    const int count = static_cast<int>(m_model.figureNames().size());
    for (int i = 0; i < count && result < 0; ++i) {
      ASSERT_TRUE(m_model.chooseFigure(i));
      result = findVariable(m_model.table(), [](const GeoVariable &g) { return g.kind == 'R'; });
    }
    if (result >= 0) break;
  }
  ASSERT_GE(result, 0);
  const int rows = m_model.rows();
  EXPECT_FALSE(m_model.canTakeAsDatum(result));
  EXPECT_EQ(m_model.takeAsDatum(result), LabelClick::Nothing);
  EXPECT_EQ(m_model.rows(), rows);
}

TEST_F(GeometryModelTest, SectionRoundTrip) {
  chooseSquare();
  const int square = m_model.figure();
  double shown = 0.0;
  ASSERT_EQ(m_model.commitRow(0, "3.5", shown), 0);
  const std::optional<std::string> body = m_model.sectionBody();
  ASSERT_TRUE(body);

  ScriptedMessenger messenger;
  GeometryModel loaded(dataFolder(), messenger);
  loaded.readSection(body);
  ASSERT_TRUE(loaded.load());
  EXPECT_EQ(loaded.dimension(), 0);
  EXPECT_EQ(loaded.figure(), square);
  ASSERT_EQ(loaded.rows(), 1);
  EXPECT_EQ(loaded.rowName(0), "L");
  EXPECT_EQ(loaded.rowValue(0), 3.5);
  EXPECT_EQ(loaded.sectionBody(), body);

  loaded.clearAll();
  EXPECT_TRUE(loaded.loaded());
  EXPECT_EQ(loaded.figure(), square) << "clearing keeps the figure shown";
  ASSERT_EQ(loaded.rows(), 1);
  EXPECT_EQ(loaded.rowValue(0), 10.0) << "only the figure's first datum comes back";
  EXPECT_TRUE(messenger.boxes().empty());
}

}  // namespace
}  // namespace qz
