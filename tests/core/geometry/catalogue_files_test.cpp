// The shipped catalogues GEO_2D.SRC and GEO_3D.SRC against the figures'
// equation lists: every name defined, sound ranges and initial data, pictures
// inside the window, and drawn values that the equations reproduce.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "geometry/catalogue_loader.h"
#include "geometry/figure_lists.h"
#include "geometry/geo_solver.h"
#include "platform/scripted_messenger.h"

namespace qz {
namespace {

constexpr int kFigures = 53;

std::string dataFolder() {
  const char* env = std::getenv("QZ_DATA_DIR");
  return env != nullptr ? env : ".";
}

// One figure loaded from the shipped files.
struct LoadedFigure {
  ScriptedMessenger messenger;
  VariableTable table{&messenger};
  FigureData data;
  CatalogueLoader loader{dataFolder(), messenger};
  bool ok = false;

  explicit LoadedFigure(int figure) {
    ok = loader.LoadFigure(figureDimension(figure), figure, 0, table, data);
  }
};

TEST(CatalogueFiles, ListFiguresInNumberOrder) {
  ScriptedMessenger messenger;
  CatalogueLoader loader(dataFolder(), messenger);
  ASSERT_TRUE(loader.readCatalogue(kDimensionPlane));
  ASSERT_EQ(loader.figureNames().size(), 24u);
  EXPECT_EQ(loader.figureNames()[0], "Carr\xE9");
  EXPECT_EQ(loader.figureNames()[22], "Triangle quelconque");
  ASSERT_TRUE(loader.readCatalogue(kDimensionSolid));
  ASSERT_EQ(loader.figureNames().size(), 29u);
  EXPECT_EQ(loader.figureNames()[45 - 24], "Sph\xE8re");
  EXPECT_EQ(loader.figureNames()[49 - 24], "Tore");
}

TEST(CatalogueFiles, EveryFigureDefinesEveryNameOfItsList) {
  for (int figure = 0; figure < kFigures; ++figure) {
    SCOPED_TRACE("figure " + std::to_string(figure));
    LoadedFigure f(figure);
    ASSERT_TRUE(f.ok);
    EXPECT_LE(f.table.size(), kVariableCapacity);
    for (const std::string& name : FigureListNames(figure)) {
      EXPECT_GE(f.table.lookupVariable(name, true), 0) << "undefined: " << name;
    }
    EXPECT_TRUE(f.messenger.boxes().empty());
  }
}

TEST(CatalogueFiles, EveryLabelIsAVariableOfTheEquations) {
  // A clickable label that no equation uses would never get a value.
  for (int figure = 0; figure < kFigures; ++figure) {
    SCOPED_TRACE("figure " + std::to_string(figure));
    LoadedFigure f(figure);
    ASSERT_TRUE(f.ok);
    const std::vector<std::string> names = FigureListNames(figure);
    const std::set<std::string> listed(names.begin(), names.end());
    for (int i = f.table.predefinedCount(); i < f.table.size(); ++i) {
      const GeoVariable& v = f.table.at(i);
      if (v.name.empty()) continue;
      EXPECT_TRUE(listed.count(v.name)) << "label without equation: " << v.name;
    }
  }
}

TEST(CatalogueFiles, InitialDataAreValidKnownDataRows) {
  for (int figure = 0; figure < kFigures; ++figure) {
    SCOPED_TRACE("figure " + std::to_string(figure));
    LoadedFigure f(figure);
    ASSERT_TRUE(f.ok);
    const auto subCount = static_cast<int>(f.loader.layout().subFigures.size());
    EXPECT_GE(subCount, 1);
    EXPECT_LE(subCount, kMaxSubFigures);
    EXPECT_GE(f.data.rows, 1);
    std::set<std::string> seen;
    for (int r = 0; r < f.data.rows; ++r) {
      const KnownRow& row = f.data.row[static_cast<size_t>(r)];
      const GeoVariable& v = f.table.at(row.variable);
      SCOPED_TRACE(v.name);
      EXPECT_TRUE(seen.insert(v.name).second) << "two rows for one name";
      EXPECT_GE(row.value, row.minimum);
      EXPECT_LE(row.value, row.maximum);
      EXPECT_NE(row.value, row.forbidden1);
      EXPECT_NE(row.value, row.forbidden2);
    }
    for (int i = f.table.predefinedCount(); i < f.table.size(); ++i) {
      const GeoVariable& v = f.table.at(i);
      if (v.kind == 'V' || v.kind == 'C') continue;
      EXPECT_LT(v.subFigure, subCount);
      if (v.name.empty()) continue;
      EXPECT_LT(v.minimum, v.maximum) << v.name;
      EXPECT_GE(v.startValue, v.minimum) << v.name;
      EXPECT_LE(v.startValue, v.maximum) << v.name;
    }
  }
}

TEST(CatalogueFiles, PicturesStayInsideTheWindowFrame) {
  // The window's picture frame is 177 x 194 dialog units: the world shown is
  // 1000 wide and about 1184 high, from -92 to 1092 once centred.
  for (int figure = 0; figure < kFigures; ++figure) {
    SCOPED_TRACE("figure " + std::to_string(figure));
    LoadedFigure f(figure);
    ASSERT_TRUE(f.ok);
    for (int i = f.table.predefinedCount(); i < f.table.size(); ++i) {
      const GeoVariable& v = f.table.at(i);
      if (v.kind == 'V') continue;
      SCOPED_TRACE("entry " + std::to_string(i) + " " + v.name + v.caption);
      if (v.kind == 'C') {
        EXPECT_LT(v.x1, 900);
        EXPECT_GE(v.y1, -60);
        EXPECT_LE(v.y1, 1070);
        continue;
      }
      if (v.kind == 'S') {
        for (int x : {v.x1, v.x2}) EXPECT_TRUE(x >= 0 && x <= 1000) << x;
        for (int y : {v.y1, v.y2}) EXPECT_TRUE(y >= -80 && y <= 1080) << y;
      } else if (v.kind == 'A' || v.kind == 'E') {
        // The ends and the middle of an arc; the whole width of a full turn.
        const bool full = v.startAngle == 0.0 && v.endAngle == 360.0;
        double end = v.endAngle < v.startAngle ? v.endAngle + 360.0 : v.endAngle;
        for (double a : {v.startAngle, (v.startAngle + end) / 2, end}) {
          const double x = v.x1 + std::abs(v.anchorX) * (full ? (a == v.startAngle ? 1.0 : -1.0)
                                                              : std::cos(a * 0.0174532925199433));
          const double y = v.y1 + std::abs(v.anchorY) * (full ? 0.0 : std::sin(a * 0.0174532925199433));
          EXPECT_TRUE(x >= -20 && x <= 1020) << x;
          EXPECT_TRUE(y >= -90 && y <= 1090) << y;
        }
      }
      if (!v.name.empty() && v.kind != 'S' && v.kind != 'A' && v.kind != 'E' && v.kind != 'I') {
        // A label is centred on its point: keep the whole label visible.
        EXPECT_TRUE(v.x1 >= 20 && v.x1 <= 980) << v.x1;
        EXPECT_TRUE(v.y1 >= -60 && v.y1 <= 1065) << v.y1;
      }
    }
  }
}

TEST(CatalogueFiles, InitialDataComputeTheValuesDrawn) {
  // The catalogues' starting values were worked out from the drawn figure
  // with textbook formulas; the equations must give every one of them, and
  // the same, from the data.
  for (int figure = 0; figure < kFigures; ++figure) {
    SCOPED_TRACE("figure " + std::to_string(figure));
    LoadedFigure f(figure);
    ASSERT_TRUE(f.ok);
    GeoSolver solver(f.table, &f.messenger);
    solver.ComputeFigure(figure, f.data);
    int unreached = 0;
    std::set<std::string> checked;
    for (int i = f.table.predefinedCount(); i < f.table.size(); ++i) {
      const GeoVariable& shown = f.table.at(i);
      if (shown.kind == 'V' || shown.kind == 'C' || shown.name.empty()) continue;
      if (!checked.insert(shown.name).second) continue;
      const GeoVariable& v = f.table.at(f.table.lookupVariable(shown.name, true));
      if (v.state != kKnown) {
        ++unreached;
        EXPECT_NE(v.state, kIncalculable) << v.name;
        continue;
      }
      EXPECT_NEAR(v.value, v.startValue, 1e-6 * std::max(1.0, std::abs(v.startValue))) << v.name;
    }
    EXPECT_EQ(unreached, 0);
    EXPECT_TRUE(f.messenger.boxes().empty());
  }
}

}  // namespace
}  // namespace qz
