// A canvas that records what is drawn, for tests of the renderers.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace qz {

class RecordingCanvas : public Canvas {
 public:
  enum class Op { Line, Polyline, Rect, FillRect, Ellipse, Arc, Text, Clip, ClearClip };
  struct Item {
    Op op = Op::Line;
    Rect rect{};         // rectangles, ellipses, clips
    Point from{}, to{};  // lines; text position in `from`
    std::string text;
    Pen pen;
    Rgb brush{};
    bool hollow = false;
    FontSpec font;
    Rgb textColour{};
  };

  void setPen(const Pen& pen) override { m_pen = pen; }
  void setBrush(Rgb colour, bool hollow) override {
    m_brush = colour;
    m_hollow = hollow;
  }
  void setFont(const FontSpec& font) override { m_font = font; }
  void setTextColour(Rgb colour) override { m_textColour = colour; }
  void drawLine(Point from, Point to) override { add(Op::Line, {}, from, to); }
  void drawPolyline(const std::vector<Point>& points) override {
    if (!points.empty()) add(Op::Polyline, {}, points.front(), points.back());
  }
  void drawRect(const Rect& r) override { add(Op::Rect, r); }
  void fillRect(const Rect& r, Rgb colour) override {
    add(Op::FillRect, r);
    m_items.back().brush = colour;
  }
  void drawEllipse(const Rect& bounds) override { add(Op::Ellipse, bounds); }
  void drawArc(const Rect& bounds, double, double) override { add(Op::Arc, bounds); }
  void drawText(Point topLeft, const std::string& text) override { add(Op::Text, {}, topLeft, {}, text); }
  /// Every character 7 units wide, or 5 in a font smaller than 16 units; height the font's.
  Size measureText(const std::string& text) override {
    int h = m_font.height < 0 ? -m_font.height : m_font.height;
    return {static_cast<int>(text.size()) * (h >= 16 ? 7 : 5), h};
  }
  int fontAscent() override { return (m_font.height < 0 ? -m_font.height : m_font.height) * 4 / 5; }
  void setClip(const Rect& r) override { add(Op::Clip, r); }
  void clearClip() override { add(Op::ClearClip); }
  int dpiY() const override { return m_dpi; }
  void setDpi(int dpi) { m_dpi = dpi; }

  const std::vector<Item>& items() const { return m_items; }
  std::vector<Item> itemsOf(Op op) const {
    std::vector<Item> out;
    for (const Item& i : m_items)
      if (i.op == op) out.push_back(i);
    return out;
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const Item& i : m_items)
      if (i.op == Op::Text) out.push_back(i.text);
    return out;
  }

 private:
  void add(Op op, Rect rect = {}, Point from = {}, Point to = {}, std::string text = {}) {
    Item item;
    item.op = op;
    item.rect = rect;
    item.from = from;
    item.to = to;
    item.text = std::move(text);
    item.pen = m_pen;
    item.brush = m_brush;
    item.hollow = m_hollow;
    item.font = m_font;
    item.textColour = m_textColour;
    m_items.push_back(std::move(item));
  }
  std::vector<Item> m_items;
  Pen m_pen;
  Rgb m_brush{};
  bool m_hollow = false;
  FontSpec m_font;
  Rgb m_textColour{};
  int m_dpi = 96;
};

}  // namespace qz
