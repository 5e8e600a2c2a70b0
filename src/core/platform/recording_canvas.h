// A canvas that records what is drawn, for tests and for measuring without a
// device. Text is measured on a fixed grid: each character is half the font
// height wide and the font height tall.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace qz {

class RecordingCanvas : public Canvas {
 public:
  enum class Kind { Line, Polyline, Rect, FillRect, Ellipse, Arc, Text };
  struct Item {
    Kind kind;
    Point a, b;            ///< line ends, or the rectangle's corners
    std::vector<Point> points;
    double start = 0, span = 0;
    std::string text;
    Pen pen;
    Rgb colour;            ///< text colour, or fill colour
    bool hollow = false;
    FontSpec font;
  };

  void setPen(const Pen& pen) override { m_pen = pen; }
  void setBrush(Rgb colour, bool hollow) override {
    m_brush = colour;
    m_hollow = hollow;
  }
  void setFont(const FontSpec& font) override { m_font = font; }
  void setTextColour(Rgb colour) override { m_textColour = colour; }
  void drawLine(Point from, Point to) override { add(Kind::Line, from, to); }
  void drawPolyline(const std::vector<Point>& points) override {
    Item& item = add(Kind::Polyline, {}, {});
    item.points = points;
  }
  void drawRect(const Rect& r) override { add(Kind::Rect, {r.left, r.top}, {r.right, r.bottom}); }
  void fillRect(const Rect& r, Rgb colour) override {
    add(Kind::FillRect, {r.left, r.top}, {r.right, r.bottom}).colour = colour;
  }
  void drawEllipse(const Rect& r) override { add(Kind::Ellipse, {r.left, r.top}, {r.right, r.bottom}); }
  void drawArc(const Rect& r, double start, double span) override {
    Item& item = add(Kind::Arc, {r.left, r.top}, {r.right, r.bottom});
    item.start = start;
    item.span = span;
  }
  void drawText(Point topLeft, const std::string& text) override {
    Item& item = add(Kind::Text, topLeft, {});
    item.text = text;
    item.colour = m_textColour;
  }
  Size measureText(const std::string& text) override {
    int h = std::abs(m_font.height);
    return {static_cast<int>(text.size()) * h / 2, h};
  }
  int fontAscent() override { return std::abs(m_font.height) * 4 / 5; }
  void setClip(const Rect& r) override { m_clip = r; }
  void clearClip() override { m_clip = Rect{}; }

  const std::vector<Item>& items() const { return m_items; }
  std::vector<Item> itemsOf(Kind kind) const {
    std::vector<Item> out;
    for (const auto& i : m_items)
      if (i.kind == kind) out.push_back(i);
    return out;
  }
  /// Every text drawn, joined in drawing order.
  std::string allText() const {
    std::string out;
    for (const auto& i : m_items)
      if (i.kind == Kind::Text) out += i.text;
    return out;
  }
  const Rect& clip() const { return m_clip; }
  void clear() { m_items.clear(); }

 private:
  Item& add(Kind kind, Point a, Point b) {
    Item item{kind, a, b, {}, 0, 0, {}, m_pen, m_brush, m_hollow, m_font};
    m_items.push_back(item);
    return m_items.back();
  }

  std::vector<Item> m_items;
  Pen m_pen;
  Rgb m_brush;
  Rgb m_textColour;
  bool m_hollow = false;
  FontSpec m_font;
  Rect m_clip;
};

}  // namespace qz
