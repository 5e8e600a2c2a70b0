// The catalogue format: variable lines, figure headers, sub-figures and the
// loading of a figure into the variable table.
#include "geometry/catalogue_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "geometry/catalogue_loader.h"
#include "numbers/cp1252.h"
#include "platform/scripted_messenger.h"

namespace qz {
namespace {

struct LineCase {
  const char* name;
  const char* line;
  char kind;
  int subFigure;
  int x1, y1, x2, y2, anchorX, anchorY;
  const char* varName;
  double minimum, maximum, value;
  int shown;
};

TEST(CatalogueReader, VariableLinesOfEveryKind) {
  const LineCase cases[] = {
      {"internal", "V,AH13", 'V', -1, 0, 0, 0, 0, 0, 0, "AH13", -1e300, 1e300, 0, 0},
      {"datum", "O,10,20,30,40,B,T,2,<,>,L1,0,0,0,1E300,12.5,0,0", 'O', 2, 10, 20, 30, 40, 0, 0, "L1", 0,
       1e300, 12.5, 1},
      {"angle copies x2 twice", "A,500,400,90,7,R,C,1,-,-,A1,30,120,0,180,60,0,180", 'A', 2, 500, 400, 90, 7,
       90, 90, "A1", 0, 180, 60, 1},
      {"corner copies x2 twice", "L,1,2,-40,9,D,C,1,-,-,,0,0,0,0,0,0,0", 'L', 2, 1, 2, -40, 9, -40, -40, "",
       0, 0, 0, 0},
      {"ellipse copies x2 and y2", "E,500,500,380,120,D,C,2,-,-,,0,360,0,0,0,0,0", 'E', 2, 500, 500, 380, 120,
       380, 120, "", 0, 0, 0, 0},
      {"rotated half ellipse", "I,5,6,70,30,D,T,1,-,-,,180,-30,0,0,0,0,0", 'I', 2, 5, 6, 70, 30, 70, 30, "",
       0, 0, 0, 0},
      {"name cut to four bytes", "P,1,1,0,0,D,C,1,-,-,ABCDEF,0,0,0,9,3,0,0", 'P', 2, 1, 1, 0, 0, 0, 0, "ABCD",
       0, 9, 3, 1},
      {"short line reads zeros", "S,100,200", 'S', 2, 100, 200, 0, 0, 0, 0, "", 0, 0, 0, 0},
      {"huge coordinate is limited", "S,99999999999999,-99999999999999,0,0", 'S', 2, 2147483647, -2147483647,
       0, 0, 0, 0, "", 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GeoVariable v;
    ASSERT_TRUE(parseVariableLine(c.line, 2, v));
    EXPECT_EQ(v.kind, c.kind);
    EXPECT_EQ(v.subFigure, c.subFigure);
    EXPECT_EQ(v.x1, c.x1);
    EXPECT_EQ(v.y1, c.y1);
    EXPECT_EQ(v.x2, c.x2);
    EXPECT_EQ(v.y2, c.y2);
    EXPECT_EQ(v.anchorX, c.anchorX);
    EXPECT_EQ(v.anchorY, c.anchorY);
    EXPECT_EQ(v.name, c.varName);
    EXPECT_EQ(v.minimum, c.minimum);
    EXPECT_EQ(v.maximum, c.maximum);
    EXPECT_EQ(v.value, c.value);
    EXPECT_EQ(v.startValue, c.value);
    EXPECT_EQ(v.shown, c.shown);
  }
}

TEST(CatalogueReader, DrawnVariableFields) {
  GeoVariable v;
  ASSERT_TRUE(parseVariableLine("A,500,400,90,0,J,M,3,<,>,AH1,30.5,120,-5,95,45,7,8\r", 1, v));
  EXPECT_EQ(v.colour, (Rgb{128, 0, 128}));
  EXPECT_EQ(v.lineStyle, kLineDashDot);
  EXPECT_EQ(v.styleParameter, 3);
  EXPECT_EQ(v.startMark, 1);
  EXPECT_EQ(v.endMark, 1);
  EXPECT_EQ(v.startAngle, 30.5);
  EXPECT_EQ(v.endAngle, 120.0);
  EXPECT_EQ(v.forbidden1, 7.0);
  EXPECT_EQ(v.forbidden2, 8.0);
  EXPECT_EQ(v.state, kUnknown);
  EXPECT_EQ(v.given, 0);
}

TEST(CatalogueReader, ColourAndStyleLetters) {
  struct {
    char letter;
    Rgb colour;
  } colours[] = {{'B', {0, 0, 255}},     {'D', {0, 0, 0}},   {'G', {0, 128, 0}},     {'J', {128, 0, 128}},
                 {'M', {192, 192, 192}}, {'R', {255, 0, 0}}, {'W', {255, 255, 255}}, {'Z', {0, 0, 0}}};
  for (const auto& c : colours) {
    SCOPED_TRACE(std::string(1, c.letter));
    EXPECT_EQ(catalogueColour(c.letter), c.colour);
  }
  EXPECT_EQ(catalogueLineStyle('C'), kLineSolid);
  EXPECT_EQ(catalogueLineStyle('T'), kLineDashed);
  EXPECT_EQ(catalogueLineStyle('P'), kLineDotted);
  EXPECT_EQ(catalogueLineStyle('M'), kLineDashDot);
  EXPECT_EQ(catalogueLineStyle('X'), kLineSolid);
}

TEST(CatalogueReader, CaptionIsTheRestOfTheLine) {
  GeoVariable v;
  ASSERT_TRUE(parseVariableLine("C,-1,950,B,Note, avec virgule @5", 0, v));
  EXPECT_EQ(v.kind, 'C');
  EXPECT_EQ(v.x1, -1);
  EXPECT_EQ(v.y1, 950);
  EXPECT_EQ(v.colour, (Rgb{0, 0, 255}));
  EXPECT_EQ(v.caption, "Note, avec virgule @5");
  EXPECT_EQ(v.shown, 0);

  ASSERT_TRUE(parseVariableLine("C," + std::string(10, '1') + ",2,D," + std::string(300, 'x'), 0, v));
  EXPECT_EQ(v.caption.size(), 127u);
  EXPECT_FALSE(parseVariableLine("", 0, v));
}

constexpr const char* kTwoFigures =
    "Catalogue d'essai\n"
    "#Premier\n"
    "2\n"
    "commentaire ignoré\n"
    "@SUB0\n"
    "Vue un\n"
    "1\n"
    "10,-20\n"
    "O,1,2,0,0,D,C,1,-,-,L,0,0,0,1E300,10,0,0\n"
    "V,X\n"
    "S,0,0,10,10\n"
    ".\n"
    "@SUB1\n"
    "Vue deux\n"
    "0\n"
    "0.5,0\n"
    "P,1,2,0,0,D,C,1,-,-,L,0,0,0,1E300,10,0,0\n"
    ".\n"
    "#Second\r\n"
    "1\n"
    "@SUB0\n"
    "Seule vue\n"
    "0\n"
    "0,0\n"
    "O,5,5,0,0,D,C,1,-,-,N,0,0,3,100,6,0,0\n"
    "O,5,5,0,0,D,C,1,-,-,X,0,0,-10,10,2,0,0\n"
    ".\n";

TEST(CatalogueText, FindsFigureHeadersInFileOrder) {
  CatalogueText text(kTwoFigures);
  ASSERT_EQ(text.figureCount(), 2);
  EXPECT_EQ(text.figureNames()[0], "Premier");
  EXPECT_EQ(text.figureNames()[1], "Second");
  // The file's first line is never a header, even when it starts with "#".
  EXPECT_EQ(CatalogueText("#pas un titre\n#Titre\n1\n").figureCount(), 1);
}

TEST(CatalogueText, ReadsEverySubFigureOfAFigure) {
  CatalogueText text(kTwoFigures);
  VariableTable table;
  table.createPredefined();
  FigureLayout layout;
  ASSERT_EQ(text.readFigure(0, table, layout), CatalogueError::None);
  ASSERT_EQ(layout.subFigures.size(), 2u);
  EXPECT_EQ(layout.subFigures[0].name, "Vue un");
  EXPECT_EQ(layout.subFigures[0].offsetX, 10.0);
  EXPECT_EQ(layout.subFigures[0].offsetY, -20.0);
  EXPECT_EQ(layout.subFigures[1].offsetX, 0.5);
  // The last sub-figure's flag is the one that counts.
  EXPECT_FALSE(layout.anglesNote());
  ASSERT_EQ(table.size(), table.predefinedCount() + 4);
  const int first = table.predefinedCount();
  EXPECT_EQ(table.at(first).subFigure, 0);
  EXPECT_EQ(table.at(first + 1).subFigure, -1);
  EXPECT_EQ(table.at(first + 2).kind, 'S');
  EXPECT_EQ(table.at(first + 3).subFigure, 1);
}

struct MalformedCase {
  const char* name;
  const char* text;
  CatalogueError error;
};

TEST(CatalogueText, MalformedFiguresFailCleanly) {
  const MalformedCase cases[] = {
      {"missing second @SUB", "x\n#F\n2\n@SUB0\nA\n0\n0,0\nV,X\n.\n", CatalogueError::MissingSubHeader},
      {"@SUB of the next figure is not taken", "x\n#F\n2\n@SUB0\nA\n0\n0,0\n.\n#G\n1\n@SUB1\n",
       CatalogueError::MissingSubHeader},
      {"no count line", "x\n#F", CatalogueError::BadSubFigureCount},
      {"count zero", "x\n#F\n0\n", CatalogueError::BadSubFigureCount},
      {"count above six", "x\n#F\n7\n", CatalogueError::BadSubFigureCount},
      {"huge count", "x\n#F\n99999999999999999999\n", CatalogueError::BadSubFigureCount},
      {"negative count", "x\n#F\n-3\n", CatalogueError::BadSubFigureCount},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CatalogueText text(c.text);
    VariableTable table;
    table.createPredefined();
    FigureLayout layout;
    EXPECT_EQ(text.readFigure(0, table, layout), c.error);
  }
  CatalogueText text(kTwoFigures);
  VariableTable table;
  FigureLayout layout;
  EXPECT_EQ(text.readFigure(2, table, layout), CatalogueError::NoSuchFigure);
  EXPECT_EQ(text.readFigure(-1, table, layout), CatalogueError::NoSuchFigure);
}

TEST(CatalogueText, HeaderLinesWithoutTheirFieldsStillRead) {
  // A block cut short after "@SUB0": no name, flag or offsets, no terminator.
  CatalogueText text("x\n#F\n1\n@SUB0");
  VariableTable table;
  table.createPredefined();
  FigureLayout layout;
  EXPECT_EQ(text.readFigure(0, table, layout), CatalogueError::None);
  ASSERT_EQ(layout.subFigures.size(), 1u);
  EXPECT_EQ(table.size(), table.predefinedCount());
}

TEST(CatalogueText, MissingTerminatorDoesNotEatTheNextSubFigure) {
  CatalogueText text("x\n#F\n2\n@SUB0\nA\n0\n0,0\nV,X\n@SUB1\nB\n1\n0,0\nV,Y\n.\n");
  VariableTable table;
  table.createPredefined();
  FigureLayout layout;
  ASSERT_EQ(text.readFigure(0, table, layout), CatalogueError::None);
  ASSERT_EQ(layout.subFigures.size(), 2u);
  EXPECT_EQ(layout.subFigures[1].name, "B");
  EXPECT_TRUE(layout.anglesNote());
  EXPECT_EQ(table.size(), table.predefinedCount() + 2);
}

TEST(CatalogueText, MoreVariablesThanTheTableHoldsIsAnError) {
  std::string text = "x\n#F\n1\n@SUB0\nA\n0\n0,0\n";
  for (int i = 0; i < 300; ++i) text += "V,v" + std::to_string(i) + "\n";
  text += ".\n";
  CatalogueText catalogue(text);
  VariableTable table;
  table.createPredefined();
  FigureLayout layout;
  EXPECT_EQ(catalogue.readFigure(0, table, layout), CatalogueError::TableFull);
  EXPECT_EQ(table.size(), kVariableCapacity);
}

TEST(CatalogueLoader, MissingFileShowsTheFileOpenMessage) {
  ScriptedMessenger messenger;
  CatalogueLoader loader("/nonexistent-folder-for-qz-tests", messenger);
  VariableTable table;
  FigureData data;
  EXPECT_FALSE(loader.LoadFigure(kDimensionPlane, 0, 0, table, data));
  ASSERT_EQ(messenger.boxes().size(), 1u);
  const std::string text = cp1252ToUtf8(messenger.boxes()[0].text);
  EXPECT_NE(text.find("Impossible d'ouvrir le fichier"), std::string::npos) << text;
  EXPECT_NE(text.find("GEO_2D.SRC"), std::string::npos) << text;
  EXPECT_NE(text.find("Ce fichier n'a pas été localisé."), std::string::npos) << text;
}

TEST(CatalogueLoader, DefectiveFigureLeavesNoHalfLoadedTable) {
  ScriptedMessenger messenger;
  CatalogueLoader loader("", messenger);
  loader.setCatalogueText(kDimensionPlane, "x\n#F\n2\n@SUB0\nA\n0\n0,0\nV,X\nV,Y\n.\n");
  VariableTable table;
  FigureData data;
  EXPECT_FALSE(loader.LoadFigure(kDimensionPlane, 0, 0, table, data));
  EXPECT_EQ(table.size(), table.predefinedCount());
  EXPECT_EQ(loader.figure(), -1);
  ASSERT_EQ(messenger.boxes().size(), 1u);
  EXPECT_NE(cp1252ToUtf8(messenger.boxes()[0].text).find("Fichier invalide."), std::string::npos);
}

TEST(CatalogueLoader, KindOVariablesBecomeTheKnownDataRows) {
  ScriptedMessenger messenger;
  CatalogueLoader loader("", messenger);
  loader.setCatalogueText(kDimensionPlane, kTwoFigures);
  VariableTable table;
  FigureData data;
  ASSERT_TRUE(loader.LoadFigure(kDimensionPlane, 1, 5, table, data));
  EXPECT_EQ(data.subFigure, 0);  // limited to the figure's only view
  ASSERT_EQ(data.rows, 2);
  EXPECT_EQ(table.at(data.row[0].variable).name, "N");
  EXPECT_EQ(data.row[0].value, 6.0);
  EXPECT_EQ(data.row[0].numberKind, kNumberInteger);
  EXPECT_EQ(data.row[0].negative, 0);
  EXPECT_EQ(data.row[1].numberKind, kNumberReal);
  EXPECT_EQ(data.row[1].negative, 1);
  EXPECT_EQ(table.lookupVariable("X", true), data.row[1].variable);

  // Rows the user already has are kept.
  data.row[0].value = 8.0;
  ASSERT_TRUE(loader.LoadFigure(kDimensionPlane, 1, 0, table, data));
  EXPECT_EQ(data.rows, 2);
  EXPECT_EQ(data.row[0].value, 8.0);
  EXPECT_TRUE(messenger.boxes().empty());
}

TEST(CatalogueLoader, ASolidIsFoundAfterThePlaneFigures) {
  ScriptedMessenger messenger;
  CatalogueLoader loader("", messenger);
  loader.setCatalogueText(kDimensionSolid, kTwoFigures);
  VariableTable table;
  FigureData data;
  ASSERT_TRUE(loader.LoadFigure(kDimensionSolid, 25, 0, table, data));
  EXPECT_EQ(loader.figure(), 25);
  EXPECT_GE(table.lookupVariable("N", true), 0);
  EXPECT_FALSE(loader.LoadFigure(kDimensionSolid, 26, 0, table, data));
}

}  // namespace
}  // namespace qz
