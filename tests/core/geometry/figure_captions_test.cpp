// Every caption and title of the catalogue's pictures lies inside the frame
// it is drawn in, whatever the frame's proportions, while a figure whose
// captions fit keeps the plain mapping of its frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "geometry/figure_drawing.h"
#include "geometry/geometry_model.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_messenger.h"

namespace qz {
namespace {

using Kind = RecordingCanvas::Kind;

std::string dataFolder() {
  const char* env = std::getenv("QZ_DATA_DIR");
  return env && *env ? env : ".";
}

// The window's original picture frame, a square one, the window's today, a
// flat one, and the smallest the window allows.
const Rect kFrames[] = {{0, 0, 266, 315}, {0, 0, 400, 400}, {10, 20, 416, 457}, {0, 0, 600, 400}, {0, 0, 200, 220}};

class GeometryFigureCaptions : public ::testing::Test {
 protected:
  void SetUp() override {
    m_model.readSection(std::nullopt);
    ASSERT_TRUE(m_model.load()) << "the shipped catalogues are missing";
  }
  void show(int figure, int subFigure = 0) {
    m_model.chooseDimension(figure >= kPlaneFigureCount ? 1 : 0);
    ASSERT_TRUE(m_model.chooseFigure(figure - (figure >= kPlaneFigureCount ? kPlaneFigureCount : 0)));
    if (subFigure != 0) {
      ASSERT_TRUE(m_model.chooseSubFigure(subFigure));
    }
  }
  int subFigures() const { return static_cast<int>(m_model.layout().subFigures.size()); }

  /// The captions of the sub-figure shown, as drawn in `frame`: each text
  /// with the rectangle it covers.
  std::vector<std::pair<std::string, Rect>> captionsIn(const Rect& frame) {
    RecordingCanvas canvas;
    DrawFigure(canvas, frame, m_model.table(), m_model.layout(), m_model.subFigure());
    std::vector<std::string> texts;
    for (int i = m_model.table().predefinedCount(); i < m_model.table().size(); ++i) {
      const GeoVariable& v = m_model.table().at(i);
      if (v.kind == 'C' && v.subFigure == m_model.subFigure() && !captionText(v.caption).empty())
        texts.push_back(captionText(v.caption));
    }
    std::vector<std::pair<std::string, Rect>> drawn;
    for (const RecordingCanvas::Item& item : canvas.itemsOf(Kind::Text)) {
      bool caption = false;
      for (const std::string& t : texts) caption = caption || t == item.text;
      if (!caption) continue;
      const int h = std::abs(item.font.height);
      const int w = static_cast<int>(item.text.size()) * h / 2;
      drawn.push_back({item.text, Rect{item.a.x, item.a.y, item.a.x + w, item.a.y + h}});
    }
    EXPECT_EQ(drawn.size(), texts.size()) << "every caption is drawn";
    return drawn;
  }

  ScriptedMessenger m_messenger;
  GeometryModel m_model{dataFolder(), m_messenger};
};

TEST_F(GeometryFigureCaptions, EveryCaptionIsInsideTheFrame) {
  for (int figure = 0; figure < kFigureCount; ++figure) {
    show(figure);
    for (int sub = 0; sub < subFigures(); ++sub) {
      if (sub > 0) {
        ASSERT_TRUE(m_model.chooseSubFigure(sub));
      }
      for (const Rect& frame : kFrames) {
        for (const auto& [text, r] : captionsIn(frame)) {
          SCOPED_TRACE(testing::Message() << "figure " << figure << " view " << sub << " frame " << frame.width()
                                          << "x" << frame.height() << ": " << text);
          EXPECT_GE(r.top, frame.top);
          EXPECT_LE(r.bottom, frame.bottom);
        }
      }
    }
  }
  EXPECT_TRUE(m_messenger.boxes().empty());
}

TEST_F(GeometryFigureCaptions, TheCaptionsThatWereCutOff) {
  // The cube's caption; figure 47's first and last ones; the triangles'
  // "HAUTEURS" title above the drawing.
  struct Case {
    int figure, subFigure;
    const char* text;
  };
  const Case cases[] = {
      {27, 0, "= surface totale des faces"},
      {47, 0, "= 2 x R"},
      {47, 0, "= cylindre enlev\xE9"},
      {21, 0, "HAUTEURS"},
      {22, 0, "HAUTEURS"},
      {23, 0, "HAUTEURS"},
      {22, 2, "BISSECTRICES"},
  };
  for (const Case& c : cases) {
    show(c.figure, c.subFigure);
    for (const Rect& frame : kFrames) {
      SCOPED_TRACE(testing::Message() << c.text << " in " << frame.width() << "x" << frame.height());
      bool found = false;
      for (const auto& [text, r] : captionsIn(frame)) {
        if (text != c.text) continue;
        found = true;
        EXPECT_GE(r.top, frame.top);
        EXPECT_LE(r.bottom, frame.bottom);
        EXPECT_GE(r.left, frame.left);
        EXPECT_LE(r.right, frame.right);
      }
      EXPECT_TRUE(found);
    }
  }
}

TEST_F(GeometryFigureCaptions, OnlyAFigureWhoseCaptionsDoNotFitIsNarrowed) {
  const Rect window{10, 20, 416, 457};
  RecordingCanvas canvas;
  struct Case {
    const char* name;
    int figure;
    bool narrowed;
  };
  const Case cases[] = {{"square", 0, false}, {"rectangle", 15, false}, {"cube", 27, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    show(c.figure);
    const Rect drawn = figureDrawingFrame(canvas, window, m_model.table(), m_model.layout(), 0);
    EXPECT_EQ(drawn.top, window.top);
    EXPECT_EQ(drawn.bottom, window.bottom);
    if (!c.narrowed) {
      EXPECT_EQ(drawn, window);
      continue;
    }
    EXPECT_LT(drawn.width(), window.width());
    EXPECT_GE(drawn.width(), window.height() * 2 / 3);
    EXPECT_LE(std::abs((drawn.left - window.left) - (window.right - drawn.right)), 1) << "centred";
  }
  // The original frame's proportions hold every caption as they are.
  const Rect original{0, 0, 266, 315};
  for (int figure : {27, 47}) {
    show(figure);
    EXPECT_EQ(figureDrawingFrame(canvas, original, m_model.table(), m_model.layout(), 0), original);
  }
}

TEST_F(GeometryFigureCaptions, AFigureThatFitsIsDrawnWithTheFramesOwnMapping) {
  const Rect window{10, 20, 416, 457};
  show(0);
  RecordingCanvas canvas;
  DrawFigure(canvas, window, m_model.table(), m_model.layout(), 0);
  const VariableTable& table = m_model.table();
  int first = -1;
  for (int i = table.predefinedCount(); i < table.size() && first < 0; ++i)
    if (table.at(i).kind == 'S' && table.at(i).subFigure == 0) first = i;
  ASSERT_GE(first, 0);
  const std::vector<RecordingCanvas::Item> lines = canvas.itemsOf(Kind::Line);
  ASSERT_FALSE(lines.empty());
  const FigureMapping mapping(window);
  const SubFigureHeader& view = m_model.layout().subFigures[0];
  const double dy = view.offsetY + (mapping.worldHeight() - kFigureWorldWidth) * 0.5;
  const GeoVariable& s = table.at(first);
  EXPECT_EQ(lines.front().a, mapping.toDevice(s.x1 + view.offsetX, s.y1 + dy));
  EXPECT_EQ(lines.front().b, mapping.toDevice(s.x2 + view.offsetX, s.y2 + dy));
}

}  // namespace
}  // namespace qz
