#include "geometry/geo_variable.h"

#include <gtest/gtest.h>

#include "geometry/figure_data.h"
#include "platform/scripted_messenger.h"

namespace qz {
namespace {

TEST(VariableTable, PredefinedEntriesInOrder) {
  VariableTable table;
  table.createPredefined();
  ASSERT_EQ(table.predefinedCount(), 11);
  const char* names[] = {"1", "AD", "AP", "xH", "xL11", "xL12", "xA11", "xA12", "xS2", "xS3", "xP"};
  for (int i = 0; i < 11; ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(table.at(i).name, names[i]);
    EXPECT_EQ(table.at(i).kind, 'V');
    EXPECT_EQ(table.at(i).subFigure, -1);
    EXPECT_EQ(table.lookupVariable(names[i]), i);
  }
  EXPECT_EQ(table.at(0).value, 1.0);
  EXPECT_EQ(table.at(1).value, 90.0);
  EXPECT_EQ(table.at(2).value, 180.0);
  EXPECT_EQ(table.at(1).state, kKnown);
  EXPECT_EQ(table.at(10).state, kUnknown);
  EXPECT_EQ(table.nameIndex().substr(0, 15), "1   |AD  |AP  |");
}

TEST(VariableTable, MissingNameShowsItemErrorUnlessSilent) {
  ScriptedMessenger messenger;
  VariableTable table(&messenger);
  table.createPredefined();
  EXPECT_EQ(table.lookupVariable("L9", true), -1);
  EXPECT_TRUE(messenger.boxes().empty());
  EXPECT_EQ(table.lookupVariable("L9"), -1);
  ASSERT_EQ(messenger.boxes().size(), 1u);
  EXPECT_EQ(messenger.boxes()[0].text, "nItem Error");
  EXPECT_EQ(messenger.boxes()[0].style, MessageStyle::Error);
}

TEST(VariableTable, LookupMatchesWholeCellsOnly) {
  VariableTable table;
  table.createPredefined();
  GeoVariable a;
  a.name = "L1";
  GeoVariable b;
  b.name = "AL1";
  table.append(b);
  table.append(a);
  // "L1  |" must not be found inside "AL1 |" shifted by one byte.
  EXPECT_EQ(table.lookupVariable("L1"), 12);
  EXPECT_EQ(table.lookupVariable("AL1"), 11);
  EXPECT_EQ(table.lookupVariable("L", true), -1);
  EXPECT_EQ(table.lookupVariable("AL1XY", true), -1);
}

TEST(VariableTable, CapacityIs232) {
  VariableTable table;
  table.createPredefined();
  GeoVariable v;
  v.name = "Q";
  int last = 0;
  while (!table.full()) last = table.append(v);
  EXPECT_EQ(last, 231);
  EXPECT_EQ(table.append(v), -1);
  EXPECT_EQ(table.size(), kVariableCapacity);
}

TEST(FigureData, KindORowsBuiltOnceInTableOrder) {
  VariableTable table;
  table.createPredefined();
  GeoVariable l;
  l.name = "L";
  l.kind = 'O';
  l.value = 10.0;
  l.minimum = 0.0;
  l.maximum = 1e6;
  GeoVariable n;
  n.name = "N";
  n.kind = 'O';
  n.value = 6;
  n.minimum = -3;
  GeoVariable r;
  r.name = "R";
  r.kind = 'R';
  table.append(l);
  table.append(r);
  table.append(n);
  FigureData data;
  data.fillFromTable(table);
  ASSERT_EQ(data.rows, 2);
  EXPECT_EQ(data.row[0].variable, 11);
  EXPECT_EQ(data.row[0].value, 10.0);
  EXPECT_EQ(data.row[0].numberKind, kNumberReal);
  EXPECT_EQ(data.row[0].negative, 0);
  EXPECT_EQ(data.row[1].variable, 13);
  EXPECT_EQ(data.row[1].numberKind, kNumberInteger);
  EXPECT_EQ(data.row[1].negative, 1);
  data.fillFromTable(table);  // rows exist: nothing added
  EXPECT_EQ(data.rows, 2);
  for (int i = 0; i < 7; ++i) data.addRow(table, 11);
  EXPECT_EQ(data.rows, 9);
  EXPECT_FALSE(data.addRow(table, 11));  // a tenth datum is refused

  data.subFigure = 2;
  data.orientation = kOrientationLeft;
  data.clear();
  EXPECT_EQ(data.rows, 0);
  EXPECT_EQ(data.orientation, kOrientationNone);
  EXPECT_EQ(data.row[0].variable, -1);
  EXPECT_EQ(data.subFigure, 2);
}

}  // namespace
}  // namespace qz
