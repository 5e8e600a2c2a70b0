// The geometric calculator's document section: written and read back, with
// the limits applied to what a file may hold.
#include "geometry/geo_section.h"

#include <gtest/gtest.h>

#include <string>

namespace qz {
namespace {

KnownRow makeRow(int variable, double value) {
  KnownRow r;
  r.variable = variable;
  r.value = value;
  r.minimum = -2.5;
  r.maximum = 1e300;
  r.forbidden1 = 0.0;
  r.forbidden2 = 360.0;
  r.numberKind = kNumberReal;
  r.negative = 1;
  return r;
}

TEST(GeoSection, NothingWrittenWithoutKnownData) {
  GeoDocumentState state;
  state.figure = 7;
  state.figures[7].subFigure = 2;
  EXPECT_FALSE(WriteGeoSection(state).has_value());
}

TEST(GeoSection, LayoutOfTheBody) {
  GeoDocumentState state;
  state.dimension = 1;
  state.figure = 30;
  state.figures[3].subFigure = 1;
  state.figures[3].rows = 1;
  state.figures[3].orientation = kOrientationLeft;
  state.figures[3].row[0] = makeRow(14, 12.5);
  const std::string body = WriteGeoSection(state).value();
  const std::string head =
      "1\n30\n0\n0|0|0\n1\n0|0|0\n2\n0|0|0\n3\n1|1|2\n14|12.5|-2.5|1E+300|0|360|3|1\n4\n";
  EXPECT_EQ(body.rfind(head, 0), 0u) << body;
  EXPECT_NE(body.find("\n52\n0|0|0\n"), std::string::npos);
  EXPECT_EQ(body.substr(body.size() - 10), "\n52\n0|0|0\n");
}

TEST(GeoSection, RoundTrip) {
  GeoDocumentState state;
  state.dimension = 0;
  state.figure = 10;
  state.figures[10].rows = 9;
  state.figures[10].orientation = kOrientationRight;
  for (int r = 0; r < 9; ++r) state.figures[10].row[static_cast<size_t>(r)] = makeRow(11 + r, 0.1 * (r + 1));
  state.figures[10].row[4].numberKind = kNumberInteger;
  state.figures[10].row[4].negative = 0;
  state.figures[52].subFigure = 3;
  state.figures[52].rows = 1;
  state.figures[52].row[0] = makeRow(20, 1.0 / 3.0);

  GeoDocumentState back;
  ReadGeoSection(WriteGeoSection(state).value(), back);
  EXPECT_EQ(back.dimension, 0);
  EXPECT_EQ(back.figure, 10);
  for (int v = 0; v < kFigureCount; ++v) {
    SCOPED_TRACE(v);
    const FigureData& a = state.figures[static_cast<size_t>(v)];
    const FigureData& b = back.figures[static_cast<size_t>(v)];
    EXPECT_EQ(a.subFigure, b.subFigure);
    EXPECT_EQ(a.rows, b.rows);
    EXPECT_EQ(a.orientation, b.orientation);
    for (int r = 0; r < a.rows; ++r) {
      const KnownRow& x = a.row[static_cast<size_t>(r)];
      const KnownRow& y = b.row[static_cast<size_t>(r)];
      EXPECT_EQ(x.variable, y.variable);
      EXPECT_NEAR(x.value, y.value, 1e-12 * std::abs(x.value));
      EXPECT_EQ(x.minimum, y.minimum);
      EXPECT_EQ(x.maximum, y.maximum);
      EXPECT_EQ(x.forbidden2, y.forbidden2);
      EXPECT_EQ(x.numberKind, y.numberKind);
      EXPECT_EQ(x.negative, y.negative);
    }
  }
}

TEST(GeoSection, ReadingResetsTheStateFirst) {
  GeoDocumentState state;
  state.dimension = 1;
  state.figure = 40;
  state.figures[40].rows = 2;
  ReadGeoSection("", state);
  EXPECT_EQ(state.dimension, 0);
  EXPECT_EQ(state.figure, 0);
  EXPECT_EQ(state.figures[40].rows, 0);
}

struct LimitCase {
  const char* name;
  const char* body;
  int figure;
  int dimension;
  int rowsOf5;
  int rowsOf6;
};

TEST(GeoSection, LimitsWhileReading) {
  const LimitCase cases[] = {
      {"row count above nine reads as nine, extra rows skipped",
       "0\n5\n5\n0|11|0\n11|1|0|9|0|0|3|0\n12|2|0|9|0|0|3|0\n13|3|0|9|0|0|3|0\n"
       "14|4|0|9|0|0|3|0\n15|5|0|9|0|0|3|0\n16|6|0|9|0|0|3|0\n17|7|0|9|0|0|3|0\n"
       "18|8|0|9|0|0|3|0\n19|9|0|9|0|0|3|0\n"
       "20|10|0|9|0|0|3|0\n21|11|0|9|0|0|3|0\n6\n0|1|0\n30|4|0|9|0|0|3|0\n",
       5, 0, 9, 1},
      {"figure number outside 0..52 stops reading",
       "0\n5\n5\n0|1|0\n11|1|0|9|0|0|3|0\n53\n6\n0|1|0\n30|4|0|9|0|0|3|0\n", 5, 0, 1, 0},
      {"negative figure number stops reading", "0\n5\n-1\n5\n0|1|0\n11|1|0|9|0|0|3|0\n", 5, 0, 0, 0},
      {"figure shown outside 0..52 reads as figure 0", "1\n77\n5\n0|1|0\n11|1|0|9|0|0|3|0\n", 0, 0, 1, 0},
      {"dimension follows the figure shown", "0\n30\n", 30, 1, 0, 0},
      {"negative row count reads as none", "0\n5\n5\n0|-4|0\n6\n0|1|0\n30|4|0|9|0|0|3|0\n", 5, 0, 0, 1},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.name);
    GeoDocumentState state;
    ReadGeoSection(c.body, state);
    EXPECT_EQ(state.figure, c.figure);
    EXPECT_EQ(state.dimension, c.dimension);
    EXPECT_EQ(state.figures[5].rows, c.rowsOf5);
    EXPECT_EQ(state.figures[6].rows, c.rowsOf6);
  }
  GeoDocumentState state;
  ReadGeoSection(cases[0].body, state);
  EXPECT_EQ(state.figures[5].row[8].variable, 19);
  EXPECT_EQ(state.figures[6].row[0].variable, 30);
  EXPECT_EQ(state.figures[6].row[0].value, 4.0);
}

}  // namespace
}  // namespace qz
