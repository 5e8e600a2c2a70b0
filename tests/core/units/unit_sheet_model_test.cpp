#include "units/unit_sheet_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/units/unit_test_support.h"
#include "platform/scripted_messenger.h"
#include "units/unit_history.h"
#include "units/unit_tables.h"
#include "support/temp_folder.h"

namespace qz {
namespace {

class UnitSheet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_db = new UnitsDatabase(testing::shippedDatabase()); }
  static void TearDownTestSuite() {
    delete s_db;
    s_db = nullptr;
  }
  void SetUp() override { ASSERT_FALSE(s_db->units.empty()) << "the shipped units database is missing"; }

  /// Index of the elementary database unit written with `symbol` alone.
  static int elementary(const std::string &symbol) {
    for (std::size_t i = 0; i < s_db->units.size(); ++i) {
      const DatabaseUnit &u = s_db->units[i];
      if (u.elementary && u.record.count == 1 && u.record.components[0].symbol == symbol &&
          u.record.components[0].prefix == "1")
        return static_cast<int>(i);
    }
    ADD_FAILURE() << "no elementary unit " << symbol;
    return -1;
  }

  /// Walks the four lists down to database unit `index`, checking each list
  /// offers the next choice.
  static void pick(UnitSheetModel &sheet, int index) {
    ASSERT_GE(index, 0);
    const UnitComponent &c = s_db->units[index].record.components[0];
    sheet.chooseSystem(c.system);
    const std::vector<int> categories = sheet.categories();
    ASSERT_NE(std::find(categories.begin(), categories.end(), c.category), categories.end());
    sheet.chooseCategory(c.category);
    const std::vector<int> quantities = sheet.quantities();
    ASSERT_NE(std::find(quantities.begin(), quantities.end(), c.quantity), quantities.end());
    sheet.chooseQuantity(c.quantity);
    const std::vector<int> units = sheet.unitChoices();
    ASSERT_NE(std::find(units.begin(), units.end(), index), units.end());
    sheet.chooseUnit(index);
    ASSERT_TRUE(sheet.workReady());
  }

  static UnitsDatabase *s_db;
  ScriptedMessenger m_messenger;
  UnitRecord m_unit;
};

UnitsDatabase *UnitSheet::s_db = nullptr;

TEST_F(UnitSheet, CascadeFiltersEachListAndResetsTheLaterOnes) {
  UnitSheetModel sheet(*s_db, m_unit, m_messenger);
  EXPECT_FALSE(sheet.nonStandard()) << "an empty unit opens in standard mode";
  const int metre = elementary("m");
  pick(sheet, metre);
  const UnitComponent &m = s_db->units[metre].record.components[0];

  const std::vector<int> categories = sheet.categories();
  for (std::size_t i = 0; i < categories.size(); ++i)
    EXPECT_EQ(std::count(categories.begin(), categories.end(), categories[i]), 1) << "each category once";
  for (int index : sheet.unitChoices()) {
    const UnitComponent &c = s_db->units[index].record.components[0];
    EXPECT_EQ(c.system, m.system);
    EXPECT_EQ(c.category, m.category);
    EXPECT_EQ(c.quantity, m.quantity);
  }
  EXPECT_TRUE(m_unit == s_db->units[metre].record) << "standard mode: the chosen unit is the edited one";

  sheet.chooseCategory(m.category);
  EXPECT_EQ(sheet.quantity(), 0);
  EXPECT_EQ(sheet.unitIndex(), -1);
  EXPECT_FALSE(sheet.workReady());
  pick(sheet, metre);
  sheet.chooseSystem(m.system);
  EXPECT_EQ(sheet.category(), 0);
  EXPECT_EQ(sheet.quantity(), 0);
  EXPECT_FALSE(sheet.workReady());
  EXPECT_FALSE(sheet.prefixEnabled());
}

TEST_F(UnitSheet, PrefixAndExponentApplyToTheFirstComponent) {
  UnitSheetModel sheet(*s_db, m_unit, m_messenger);
  pick(sheet, elementary("m"));
  ASSERT_TRUE(sheet.prefixEnabled());
  ASSERT_TRUE(sheet.exponentEnabled());
  const int kilo = PrefixIndexOf(testing::unitOf({testing::component("m", 1.0, testing::kLength, "k")}), 0);
  sheet.choosePrefix(kilo);
  EXPECT_EQ(m_unit.components[0].prefix, "k");
  EXPECT_EQ(sheet.coefficientText().rfind("x 1000 (", 0), 0u) << sheet.coefficientText();
  sheet.chooseExponent(kMaxExponentIndex + 5);
  EXPECT_EQ(sheet.exponent(), kMaxExponentIndex) << "out-of-range indexes are clamped";
  EXPECT_EQ(m_unit.components[0].exponent, ExponentText(kMaxExponentIndex, false));
}

TEST_F(UnitSheet, StandardModeDisablesEveryButtonButClearAll) {
  UnitSheetModel sheet(*s_db, m_unit, m_messenger);
  pick(sheet, elementary("m"));
  for (ComposeAction a : {ComposeAction::One, ComposeAction::FrontMultiply, ComposeAction::AppendDivide,
                          ComposeAction::Invert, ComposeAction::Remove})
    EXPECT_FALSE(sheet.actionEnabled(a));
  EXPECT_TRUE(sheet.actionEnabled(ComposeAction::ClearAll));
  sheet.compose(ComposeAction::ClearAll);
  EXPECT_TRUE(m_unit.empty());
  EXPECT_FALSE(sheet.workReady());
}

TEST_F(UnitSheet, RepeatedQuantityIsRefusedWithMessage159) {
  UnitSheetModel sheet(*s_db, m_unit, m_messenger);
  sheet.setNonStandard(true);
  EXPECT_TRUE(sheet.actionEnabled(ComposeAction::One)) << "an empty unit may start from 1";
  pick(sheet, elementary("m"));
  ASSERT_EQ(m_unit.count, 1) << "nothing selected and U empty: the choice becomes U";
  const int second = elementary("s");

  sheet.selectGap(1);
  pick(sheet, second);
  EXPECT_EQ(m_unit.count, 1) << "with a gap selected the choice waits for a button";
  ASSERT_TRUE(sheet.actionEnabled(ComposeAction::AppendDivide));
  sheet.compose(ComposeAction::AppendDivide);
  ASSERT_EQ(m_unit.count, 2);
  EXPECT_EQ(sheet.componentText(1), "/s");
  EXPECT_EQ(sheet.selectedGap(), -1) << "every button clears the selection";
  EXPECT_TRUE(sheet.accept());
  EXPECT_TRUE(m_messenger.boxes().empty());

  sheet.selectGap(2);
  pick(sheet, second);
  sheet.compose(ComposeAction::AppendDivide);
  ASSERT_EQ(m_unit.count, 3);
  EXPECT_FALSE(sheet.accept());
  ASSERT_EQ(m_messenger.boxes().size(), 1u);
  EXPECT_EQ(m_messenger.boxes()[0].style, MessageStyle::Warning);
  EXPECT_EQ(m_messenger.lastTextUtf8(),
            "CONTRÔLE\n\nL'expression de l'unité comprend plusieurs\nfois la "
            "même grandeur !");

  sheet.selectComponent(2);
  ASSERT_TRUE(sheet.actionEnabled(ComposeAction::Remove));
  sheet.compose(ComposeAction::Remove);
  EXPECT_EQ(m_unit.count, 2);
  EXPECT_TRUE(sheet.accept());
}

TEST_F(UnitSheet, RemovingADividedComponentKeepsTheDenominator) {
  UnitSheetModel sheet(*s_db, m_unit, m_messenger);
  sheet.setNonStandard(true);
  pick(sheet, elementary("m"));
  sheet.selectGap(1);
  pick(sheet, elementary("s"));
  sheet.compose(ComposeAction::AppendDivide);
  sheet.selectGap(2);
  pick(sheet, elementary("A"));
  sheet.compose(ComposeAction::AppendMultiply);
  ASSERT_EQ(m_unit.count, 3);
  EXPECT_EQ(m_unit.components[2].divides, 0);

  sheet.selectComponent(1);
  sheet.compose(ComposeAction::Remove);
  ASSERT_EQ(m_unit.count, 2);
  EXPECT_EQ(m_unit.components[1].symbol, "A");
  EXPECT_EQ(m_unit.components[1].divides, 1) << "A was in the denominator and stays there";
}

TEST_F(UnitSheet, InvertPutsOneInFront) {
  UnitSheetModel sheet(*s_db, m_unit, m_messenger);
  sheet.setNonStandard(true);
  pick(sheet, elementary("s"));
  ASSERT_TRUE(sheet.actionEnabled(ComposeAction::Invert));
  sheet.compose(ComposeAction::Invert);
  ASSERT_EQ(m_unit.count, 2);
  EXPECT_EQ(m_unit.components[0].unitKey, 1);
  EXPECT_EQ(m_unit.components[0].divides, 0);
  EXPECT_EQ(m_unit.components[1].symbol, "s");
  EXPECT_EQ(m_unit.components[1].divides, 1);
}

TEST_F(UnitSheet, ButtonsApplyOnlyWhereTheSelectionAllows) {
  UnitSheetModel sheet(*s_db, m_unit, m_messenger);
  sheet.setNonStandard(true);
  pick(sheet, elementary("m"));
  sheet.selectGap(1);
  pick(sheet, elementary("s"));
  sheet.compose(ComposeAction::AppendDivide);
  ASSERT_EQ(m_unit.count, 2);  // m/s, the work component still on s
  ASSERT_TRUE(sheet.workReady());

  using A = ComposeAction;
  const A actions[] = {A::One,          A::FrontMultiply,  A::FrontDivide,  A::InsertMultiply,
                       A::InsertDivide, A::AppendMultiply, A::AppendDivide, A::Invert,
                       A::Remove,       A::ClearAll};
  struct Row {
    const char *name;
    int gap;        // -1: none
    int component;  // -1: none
    std::vector<A> enabled;
  };
  const Row rows[] = {
      {"nothing selected", -1, -1, {A::Invert, A::ClearAll}},
      {"gap before the first", 0, -1, {A::FrontMultiply, A::FrontDivide, A::Invert, A::ClearAll}},
      {"gap before the first divided", 1, -1, {A::InsertMultiply, A::InsertDivide, A::Invert, A::ClearAll}},
      {"gap after the last", 2, -1, {A::AppendMultiply, A::AppendDivide, A::Invert, A::ClearAll}},
      {"a component", -1, 0, {A::Invert, A::Remove, A::ClearAll}},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    sheet.clearSelection();
    if (row.gap >= 0) sheet.selectGap(row.gap);
    if (row.component >= 0) sheet.selectComponent(row.component);
    for (A a : actions) {
      const bool expected = std::find(row.enabled.begin(), row.enabled.end(), a) != row.enabled.end();
      EXPECT_EQ(sheet.actionEnabled(a), expected) << "action " << static_cast<int>(a);
    }
  }
}

TEST_F(UnitSheet, FrontDivideMakesTheFormerUnitTheDenominator) {
  UnitSheetModel sheet(*s_db, m_unit, m_messenger);
  sheet.setNonStandard(true);
  pick(sheet, elementary("s"));
  sheet.selectGap(0);
  pick(sheet, elementary("m"));
  sheet.compose(ComposeAction::FrontDivide);
  ASSERT_EQ(m_unit.count, 2);
  EXPECT_EQ(m_unit.components[0].symbol, "m");
  EXPECT_EQ(m_unit.components[0].divides, 0);
  EXPECT_EQ(m_unit.components[1].symbol, "s");
  EXPECT_EQ(m_unit.components[1].divides, 1);
}

TEST_F(UnitSheet, NonStandardModeRebuildsComponentsFromElementaryUnits) {
  int composed = -1;
  // A unit of two components both written with elementary units (outside the
  // systems whose symbols only count within themselves).
  const auto hasElementary = [](const UnitComponent &c) {
    for (const DatabaseUnit &u : s_db->units)
      if (u.elementary && u.record.count == 1 && u.record.components[0].symbol == c.symbol) return true;
    return false;
  };
  for (std::size_t i = 0; i < s_db->units.size() && composed < 0; ++i) {
    const UnitRecord &r = s_db->units[i].record;
    if (r.count == 2 && r.components[0].system < 5 && hasElementary(r.components[0]) &&
        hasElementary(r.components[1]))
      composed = static_cast<int>(i);
  }
  ASSERT_GE(composed, 0) << "no unit of two components in the database";
  m_unit = s_db->units[composed].record;
  UnitSheetModel sheet(*s_db, m_unit, m_messenger);
  EXPECT_FALSE(sheet.nonStandard()) << "a database unit opens in standard mode";
  sheet.setNonStandard(true);
  ASSERT_EQ(m_unit.count, 2);
  for (int c = 0; c < m_unit.count; ++c) {
    SCOPED_TRACE(m_unit.components[c].symbol);
    bool elementaryFound = false;
    for (const DatabaseUnit &u : s_db->units)
      if (u.elementary && u.record.count == 1 &&
          u.record.components[0].unitKey == m_unit.components[c].unitKey &&
          u.record.components[0].symbol == m_unit.components[c].symbol)
        elementaryFound = true;
    EXPECT_TRUE(elementaryFound) << "each component now refers to an elementary unit";
  }
  sheet.setNonStandard(false);
  EXPECT_TRUE(m_unit.empty()) << "leaving the non-standard mode empties the unit";
}

TEST_F(UnitSheet, ClosingRecordsInTheHistoryOrRestores) {
  qz::testing::TempFolder temp;
  const std::filesystem::path folder = temp.path();
  UnitHistory history(folder.string());
  history.ClearHistory();

  {
    UnitSheetModel sheet(*s_db, m_unit, m_messenger);
    pick(sheet, elementary("m"));
    ASSERT_TRUE(sheet.accept());
    sheet.finish(&history);
  }
  UnitRecord recorded;
  ASSERT_TRUE(history.LoadHistoryRecord(0, recorded));
  EXPECT_TRUE(recorded == m_unit);
  const UnitRecord metre = m_unit;

  {
    // Reopened on the metre: the lists come back on it; a cancelled change is
    // undone.
    UnitSheetModel sheet(*s_db, m_unit, m_messenger);
    EXPECT_FALSE(sheet.nonStandard());
    EXPECT_EQ(sheet.unitIndex(), elementary("m"));
    pick(sheet, elementary("s"));
    sheet.cancel();
    sheet.finish(&history);
  }
  EXPECT_TRUE(m_unit == metre);
  UnitRecord second;
  EXPECT_FALSE(history.LoadHistoryRecord(1, second)) << "a cancelled sheet records nothing";

  {
    UnitSheetModel sheet(*s_db, m_unit, m_messenger);
    sheet.useUnit(recorded);
    EXPECT_TRUE(sheet.validated());
    EXPECT_EQ(sheet.unitIndex(), elementary("m"));
  }
  history.ClearHistory();
}

}  // namespace
}  // namespace qz
