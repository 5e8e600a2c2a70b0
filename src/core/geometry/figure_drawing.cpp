#include "geometry/figure_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "numbers/numeric_guard.h"
#include "numbers/string_table.h"

namespace qz {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeviceLimit = 32767.0;
// Step of the polyline that draws half a rotated ellipse (100 steps).
constexpr double kHalfEllipseStep = 0.0314159265358979;
constexpr double kMarkRadius = 2.0;
constexpr int kMaxPenWidth = 64;

// Device coordinates stay within ±32767, so that sums and differences of a
// few of them (boxes, radii) never leave the int range. A NaN has no place:
// the drawing leaves out what has one, and this last guard gives 0 rather
// than a conversion whose result is undefined.
int toDeviceInt(double v) {
  if (std::isnan(v)) return 0;
  v = std::clamp(v, -kDeviceLimit, kDeviceLimit);
  return static_cast<int>(roundInt(v));
}

// Rounded half away from zero; limited to the int range, so that a catalogue's
// huge coordinate or radius cannot overflow the conversion (NaN gives 0).
int roundHalfAway(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(roundInt(std::clamp(v, -2147483647.0, 2147483647.0)));
}

PenStyle penStyleOf(int lineStyle) {
  switch (lineStyle) {
    case kLineDashed:
      return PenStyle::Dash;
    case kLineDotted:
      return PenStyle::Dot;
    case kLineDashDot:
      return PenStyle::DashDot;
    default:
      return PenStyle::Solid;
  }
}

// Angle in degrees normalised to [0, 360).
double normalised(double degrees) {
  double d = std::fmod(degrees, 360.0);
  return d < 0.0 ? d + 360.0 : d;
}

struct WorldPoint {
  double x = 0.0, y = 0.0;

  bool isFinite() const { return std::isfinite(x) && std::isfinite(y); }
};

// Places the elements of one sub-figure: its offsets, and the vertical
// centring of the 1000-unit drawing in a taller or flatter world.
class SubFigurePlacement {
 public:
  SubFigurePlacement(const FigureMapping& mapping, const FigureLayout& layout, int subFigure)
      : m_mapping(mapping) {
    if (subFigure >= 0 && subFigure < static_cast<int>(layout.subFigures.size())) {
      m_dx = layout.subFigures[static_cast<size_t>(subFigure)].offsetX;
      m_dy = layout.subFigures[static_cast<size_t>(subFigure)].offsetY;
    }
    m_dy += (mapping.worldHeight() - kFigureWorldWidth) * 0.5;
  }
  Point device(double x, double y) const { return m_mapping.toDevice(x + m_dx, y + m_dy); }
  Point device(WorldPoint p) const { return device(p.x, p.y); }

 private:
  const FigureMapping& m_mapping;
  double m_dx = 0.0;
  double m_dy = 0.0;
};

// Point of the element's ellipse at `degrees` (kinds "A", "E").
WorldPoint ellipsePoint(const GeoVariable& v, double degrees) {
  const double t = degrees * kPi / 180.0;
  return {v.x1 + std::abs(static_cast<double>(v.anchorX)) * std::cos(t),
          v.y1 + std::abs(static_cast<double>(v.anchorY)) * std::sin(t)};
}

// Point of a rotated ellipse (kind "I") at parameter `t` radians.
WorldPoint rotatedEllipsePoint(const GeoVariable& v, double t) {
  const double rot = v.endAngle * kPi / 180.0;
  const double ex = std::abs(static_cast<double>(v.anchorX)) * std::cos(t);
  const double ey = std::abs(static_cast<double>(v.anchorY)) * std::sin(t);
  return {v.x1 + ex * std::cos(rot) - ey * std::sin(rot), v.y1 + ex * std::sin(rot) + ey * std::cos(rot)};
}

bool isFullTurn(const GeoVariable& v) { return v.startAngle == 0.0 && v.endAngle == 360.0; }

double arcSpan(const GeoVariable& v) {
  double span = v.endAngle - v.startAngle;
  if (span <= 0.0) span = normalised(span);
  if (span == 0.0) span = 360.0;
  return span;
}

// An angle of 1e308 degrees is infinite once turned into radians: the
// element's points are then NaN, and it is neither drawn nor labelled.
bool hasFiniteGeometry(const GeoVariable& v) {
  switch (v.kind) {
    case 'A':
    case 'E':
      return ellipsePoint(v, v.startAngle).isFinite() && ellipsePoint(v, v.endAngle).isFinite() &&
             std::isfinite(arcSpan(v));
    case 'I': {
      const double t0 = v.startAngle * kPi / 180.0;
      return rotatedEllipsePoint(v, t0).isFinite() && rotatedEllipsePoint(v, t0 + kPi).isFinite();
    }
    default:
      return true;
  }
}

WorldPoint labelAnchor(const GeoVariable& v) {
  switch (v.kind) {
    case 'A':
    case 'E': {
      double middle = (v.startAngle + v.endAngle) * 0.5;
      if (v.endAngle < v.startAngle) middle += 180.0;
      return ellipsePoint(v, middle);
    }
    case 'I':
      // The middle of the half turn that is drawn.
      return rotatedEllipsePoint(v, v.startAngle * kPi / 180.0 + kPi * 0.5);
    case 'S':
      // Summed as doubles: two catalogue coordinates near the int limit overflow an int sum.
      return {(static_cast<double>(v.x1) + v.x2) * 0.5, (static_cast<double>(v.y1) + v.y2) * 0.5};
    default:
      return {static_cast<double>(v.x1), static_cast<double>(v.y1)};
  }
}

class FigurePainter {
 public:
  FigurePainter(Canvas& canvas, const Rect& frame, const FigureDrawOptions& options)
      : m_canvas(canvas), m_mapping(frame), m_options(options) {
    m_sizeScale = std::max(1.0, frame.width() / kFigureReferenceWidth);
  }

  const FigureMapping& mapping() const { return m_mapping; }

  void drawElement(const GeoVariable& v, const SubFigurePlacement& place) {
    if (v.kind != 'S' && v.kind != 'A' && v.kind != 'E' && v.kind != 'I') return;
    if (!hasFiniteGeometry(v)) return;
    Pen pen;
    pen.colour = v.colour;
    pen.style = penStyleOf(v.lineStyle);
    // A catalogue's pen width is a few units; a wild one is kept drawable.
    pen.width = std::clamp(roundHalfAway(v.styleParameter * m_sizeScale), 1, kMaxPenWidth);
    m_canvas.setPen(pen);
    m_canvas.setBrush(v.colour, true);
    WorldPoint start, end;
    if (v.kind == 'S') {
      start = {static_cast<double>(v.x1), static_cast<double>(v.y1)};
      end = {static_cast<double>(v.x2), static_cast<double>(v.y2)};
      m_canvas.drawLine(place.device(start), place.device(end));
    } else if (v.kind == 'I') {
      std::vector<Point> points;
      const double t0 = v.startAngle * kPi / 180.0;
      for (int k = 0; k <= 100; ++k) {
        const WorldPoint p = rotatedEllipsePoint(v, t0 + k * kHalfEllipseStep);
        if (!p.isFinite()) return;
        points.push_back(place.device(p));
      }
      m_canvas.drawPolyline(points);
      start = rotatedEllipsePoint(v, t0);
      end = rotatedEllipsePoint(v, t0 + 100 * kHalfEllipseStep);
    } else {
      const Point c = place.device(v.x1, v.y1);
      // Radii beyond the device range are drawn at the device range.
      const int rx = toDeviceInt(std::abs(static_cast<double>(v.anchorX)) * m_mapping.scale());
      const int ry = toDeviceInt(std::abs(static_cast<double>(v.anchorY)) * m_mapping.scale());
      const Rect bounds{c.x - rx, c.y - ry, c.x + rx, c.y + ry};
      if (isFullTurn(v)) {
        m_canvas.drawEllipse(bounds);
      } else {
        m_canvas.drawArc(bounds, v.startAngle, arcSpan(v));
      }
      start = ellipsePoint(v, v.startAngle);
      end = ellipsePoint(v, v.endAngle);
    }
    if (v.startMark) drawMark(place.device(start), v.colour);
    if (v.endMark) drawMark(place.device(end), v.colour);
  }

  void drawLabel(GeoVariable& v, const GeoVariable& resolved, const SubFigurePlacement& place) {
    const WorldPoint at = labelAnchor(v);
    if (!hasFiniteGeometry(v) || !at.isFinite()) return;  // not drawn, so not labelled either
    const Point anchor = place.device(at);
    const Size size = m_canvas.measureText(v.name);
    const int left = anchor.x - size.width / 2;
    const int top = anchor.y - size.height / 2;
    const Rect rect{left - 2, top, left + size.width + 1, top + size.height};
    Rgb background = m_options.background;
    if (resolved.state == kIncalculable) {
      background = kLabelIncalculable;
    } else if (resolved.state == kKnown && !resolved.given) {
      background = kLabelComputed;
    }
    m_canvas.fillRect(rect, background);
    if (resolved.given) {
      m_canvas.setPen(Pen{kLabelGivenFrame, 1, PenStyle::Solid});
      m_canvas.setBrush(kLabelGivenFrame, true);
      m_canvas.drawRect(rect);
    }
    m_canvas.setTextColour(v.colour);
    m_canvas.drawText({left, top}, v.name);
    v.labelRect = rect;
  }

  /// Where a caption's text goes: vertically centred on its point, from its
  /// x or centred on the world's middle when x is negative. Empty when it
  /// shows no text.
  Rect captionRect(const GeoVariable& v, const SubFigurePlacement& place) {
    const std::string text = captionText(v.caption);
    if (text.empty()) return {};
    const Size size = m_canvas.measureText(text);
    Point at = place.device(v.x1, v.y1);
    if (v.x1 < 0) at.x = place.device(kFigureWorldWidth * 0.5, v.y1).x - size.width / 2;
    const int top = at.y - size.height / 2;
    return {at.x, top, at.x + size.width, top + size.height};
  }

  void drawCaption(const GeoVariable& v, const SubFigurePlacement& place) {
    const Rect rect = captionRect(v, place);
    if (rect.isEmpty()) return;
    m_canvas.setTextColour(v.colour);
    m_canvas.drawText({rect.left, rect.top}, captionText(v.caption));
  }

  FontSpec labelFont() const {
    FontSpec font = m_options.labelFont;
    if (m_options.forExport) font.height += font.height < 0 ? 2 : -2;
    font.height = roundHalfAway(font.height * m_sizeScale);
    if (font.height == 0) font.height = -1;
    return font;
  }

 private:
  void drawMark(Point at, Rgb colour) {
    const int r = std::max(1, roundHalfAway(kMarkRadius * m_sizeScale));
    m_canvas.setPen(Pen{colour, 1, PenStyle::Solid});
    m_canvas.setBrush(colour, false);
    m_canvas.drawEllipse({at.x - r, at.y - r, at.x + r + 1, at.y + r + 1});
  }

  Canvas& m_canvas;
  FigureMapping m_mapping;
  const FigureDrawOptions& m_options;
  double m_sizeScale = 1.0;
};

}  // namespace

FigureMapping::FigureMapping(const Rect& frame) : m_frame(frame) {
  const int width = std::max(1, frame.width());
  m_worldHeight = kFigureWorldWidth * std::max(1, frame.height()) / width;
  m_unit = width / kFigureWorldWidth;
}

Point FigureMapping::toDevice(double x, double y) const {
  const double dx = x * m_frame.width() / kFigureWorldWidth + m_frame.left + 0.5;
  const double dy = y * -m_frame.height() / m_worldHeight + m_frame.bottom + 0.5;
  return {toDeviceInt(dx), toDeviceInt(dy)};
}

std::string captionText(const std::string& caption) {
  const size_t at = caption.find('@');
  if (at == std::string::npos) return caption;
  const int n = std::atoi(caption.c_str() + at + 1);
  return caption.substr(0, at) + LoadString(7000 + n);
}

void roundCorners(VariableTable& table) {
  auto& e = table.entries();
  for (size_t i = 1; i + 1 < e.size(); ++i) {
    GeoVariable& corner = e[i];
    GeoVariable& first = e[i - 1];
    GeoVariable& second = e[i + 1];
    if (corner.kind != 'L' || first.kind != 'S' || second.kind != 'S') continue;
    const double t1 =
        std::atan2(static_cast<double>(first.y2) - first.y1, static_cast<double>(first.x2) - first.x1);
    const double cornerX = second.x1, cornerY = second.y1;
    const double t2 = std::atan2(second.y2 - cornerY, second.x2 - cornerX);
    const double r = corner.anchorX;
    const double d = r * std::tan((t2 - t1) * 0.5);
    const double endX = first.x2 + std::cos(t1) * d;
    const double endY = first.y2 + std::sin(t1) * d;
    first.x2 = roundHalfAway(endX);
    first.y2 = roundHalfAway(endY);
    second.x1 = roundHalfAway(cornerX - std::cos(t2) * d);
    second.y1 = roundHalfAway(cornerY - std::sin(t2) * d);
    corner.x1 = roundHalfAway(endX + std::sin(t1) * r);
    corner.y1 = roundHalfAway(endY - std::cos(t1) * r);
    const double d1 = t1 * 180.0 / kPi, d2 = t2 * 180.0 / kPi;
    if (r >= 0.0) {
      corner.startAngle = normalised(d2 + 90.0);
      corner.endAngle = normalised(d1 + 90.0);
    } else {
      corner.startAngle = normalised(d1 + 270.0);
      corner.endAngle = normalised(d2 + 270.0);
    }
    corner.anchorX = corner.anchorY = roundHalfAway(std::abs(r));
    corner.kind = 'A';
  }
}

namespace {

// Whether every caption of the sub-figure, drawn in `drawn`, lies within the
// height of `frame`.
bool captionsFit(Canvas& canvas, const Rect& frame, const Rect& drawn, const VariableTable& table,
                 const FigureLayout& layout, int subFigure, const FigureDrawOptions& options) {
  FigurePainter painter(canvas, drawn, options);
  canvas.setFont(painter.labelFont());
  const SubFigurePlacement place(painter.mapping(), layout, subFigure);
  for (int i = table.predefinedCount(); i < table.size(); ++i) {
    const GeoVariable& v = table.at(i);
    if (v.subFigure != subFigure || v.kind != 'C') continue;
    const Rect r = painter.captionRect(v, place);
    if (!r.isEmpty() && (r.top < frame.top || r.bottom > frame.bottom)) return false;
  }
  return true;
}

Rect centredOfWidth(const Rect& frame, int width) {
  const int left = frame.left + (frame.width() - width) / 2;
  return {left, frame.top, left + width, frame.bottom};
}

}  // namespace

Rect figureDrawingFrame(Canvas& canvas, const Rect& frame, const VariableTable& table, const FigureLayout& layout,
                        int subFigure, const FigureDrawOptions& options) {
  if (frame.isEmpty() || captionsFit(canvas, frame, frame, table, layout, subFigure, options)) return frame;
  // The catalogue's captions sit above and below the 1000-unit drawing, in
  // room a frame flatter than the window's original one does not have:
  // narrowing the world's frame gives it more height. The widest frame that
  // holds them all is taken, down to a world 1.5 times as high as wide (the
  // catalogue's captions need 1.2).
  int fits = std::clamp(frame.height() * 2 / 3, 1, frame.width());
  int fails = frame.width();
  if (fits == fails ||
      !captionsFit(canvas, frame, centredOfWidth(frame, fits), table, layout, subFigure, options))
    return centredOfWidth(frame, fits);
  while (fails - fits > 1) {
    const int middle = fits + (fails - fits) / 2;
    if (captionsFit(canvas, frame, centredOfWidth(frame, middle), table, layout, subFigure, options)) {
      fits = middle;
    } else {
      fails = middle;
    }
  }
  return centredOfWidth(frame, fits);
}

void DrawFigure(Canvas& canvas, const Rect& frame, VariableTable& table, const FigureLayout& layout,
                int subFigure, const FigureDrawOptions& options) {
  roundCorners(table);
  for (auto& v : table.entries()) v.labelRect = Rect{};
  if (frame.isEmpty()) return;
  FigurePainter painter(canvas, figureDrawingFrame(canvas, frame, table, layout, subFigure, options), options);
  canvas.setClip(frame);
  if (options.fillFrame) canvas.fillRect(frame, options.background);
  const SubFigurePlacement place(painter.mapping(), layout, subFigure);

  for (const auto& v : table.entries()) {
    if (v.subFigure == subFigure && v.kind != 'V' && v.kind != 'C') painter.drawElement(v, place);
  }
  canvas.setFont(painter.labelFont());
  for (int i = table.predefinedCount(); i < table.size(); ++i) {
    GeoVariable& v = table.at(i);
    if (v.subFigure != subFigure || v.kind == 'V') continue;
    if (v.kind == 'C') {
      painter.drawCaption(v, place);
    } else if (v.shown && !v.name.empty()) {
      const int owner = table.lookupVariable(v.name, true);
      painter.drawLabel(v, table.at(owner >= 0 ? owner : i), place);
    }
  }
  canvas.clearClip();
}

int variableAtPoint(const VariableTable& table, int subFigure, Point p) {
  for (int i = table.predefinedCount(); i < table.size(); ++i) {
    const GeoVariable& v = table.at(i);
    if (v.subFigure != subFigure || v.kind == 'V' || v.name.empty()) continue;
    if (!v.labelRect.isEmpty() && v.labelRect.contains(p)) {
      const int owner = table.lookupVariable(v.name, true);
      return owner >= 0 ? owner : i;
    }
  }
  return -1;
}

}  // namespace qz
