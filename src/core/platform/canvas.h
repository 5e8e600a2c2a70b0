// Drawing surface the core's renderers draw on: screen, image, printer or a
// recording canvas in tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qz {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

/// Device rectangle; right and bottom are exclusive, as on the screen.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool isEmpty() const { return right <= left || bottom <= top; }
  bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
  int width = 0, height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

enum class PenStyle {
  Solid,    ///< continuous line
  Dash,     ///< dashed
  Dot,      ///< dotted
  DashDot,  ///< dash, dot
  None,     ///< no outline at all
};

struct Pen {
  Rgb colour;
  int width = 1;  ///< device units, at least 1
  PenStyle style = PenStyle::Solid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

/// A font by description. `height` is in device units: negative for the
/// character height (the usual case), positive for the cell height.
struct FontSpec {
  std::string face;  ///< face name as the program names it ("Arial", "Courier New", "Symbol")
  int height = -12;
  int weight = 400;  ///< 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

/// The drawing operations the renderers need. Texts are code page 1252 bytes;
/// a font whose face is "Symbol" draws its bytes through the Symbol encoding.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void setPen(const Pen& pen) = 0;
  /// Fill for closed shapes; `hollow` leaves them unfilled.
  virtual void setBrush(Rgb colour, bool hollow = false) = 0;
  virtual void setFont(const FontSpec& font) = 0;
  virtual void setTextColour(Rgb colour) = 0;

  virtual void drawLine(Point from, Point to) = 0;
  virtual void drawPolyline(const std::vector<Point>& points) = 0;
  /// Outline with the pen, inside with the brush.
  virtual void drawRect(const Rect& r) = 0;
  virtual void fillRect(const Rect& r, Rgb colour) = 0;
  /// Ellipse inscribed in `bounds`, outlined with the pen, filled with the brush.
  virtual void drawEllipse(const Rect& bounds) = 0;
  /// Arc of the ellipse inscribed in `bounds`, counter-clockwise from
  /// `startDegrees` over `spanDegrees` (0 degrees = 3 o'clock).
  virtual void drawArc(const Rect& bounds, double startDegrees, double spanDegrees) = 0;

  /// Text with its top-left corner at `topLeft`, in the current font and text colour.
  virtual void drawText(Point topLeft, const std::string& text) = 0;
  /// Width and height of a text in the current font.
  virtual Size measureText(const std::string& text) = 0;
  /// Height of the current font's ascent (baseline below the top).
  virtual int fontAscent() = 0;

  virtual void setClip(const Rect& r) = 0;
  virtual void clearClip() = 0;

  /// Device units per logical inch, for scaling sizes given in points.
  virtual int dpiY() const { return 96; }
};

}  // namespace qz
