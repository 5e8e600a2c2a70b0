#include "statistics/diagram_renderer.h"

#include <vector>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "numbers/numeric_guard.h"
#include "numbers/real_format.h"
#include "statistics/normal_table.h"

namespace qz {

namespace {

constexpr double kDataLimit = 1e300;
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kLineGreen{0, 128, 0};
constexpr Rgb kPointRed{128, 0, 0};
constexpr Rgb kPointRing{255, 255, 255};
constexpr Rgb kNoteFrame{128, 128, 128};
constexpr int kMaxLabelLength = 16;

std::string printfText(const char* format, double value) { return formatDouble(format, value); }

// The decimal exponent of a positive value as printf writes it (9.9999999999999998E+06 is 1E+07).
int decimalExponent(double magnitude) {
  char text[40];
  std::snprintf(text, sizeof text, "%.14e", magnitude);
  const char* e = std::strchr(text, 'e');
  return e ? std::atoi(e + 1) : 0;
}

}  // namespace

AxisRange axisRange(AxisScale kind, double minimum, double maximum) {
  minimum = std::clamp(minimum, -kDataLimit, kDataLimit);
  maximum = std::clamp(maximum, -kDataLimit, kDataLimit);
  AxisRange r;
  switch (kind) {
    case AxisScale::Linear: {
      if (minimum == maximum) {
        r = {minimum - 10, maximum + 10, 2, 0};
        break;
      }
      const double span = maximum - minimum;
      const int k = static_cast<int>(std::log10(span)) - 1;
      static constexpr double kMultiples[] = {1, 2, 5};
      double step = std::pow(10.0, k);
      for (int i = 0; i < 60; ++i) {
        step = kMultiples[i % 3] * std::pow(10.0, k + i / 3);
        if (span / step <= 10) break;
      }
      r.step = step;
      r.start = std::floor(minimum / step - 0.5) * step;
      r.end = std::ceil(maximum / step + 0.5) * step;
      break;
    }
    case AxisScale::Log10:
      r.start = minimum <= 0 ? 0.1 : std::pow(10.0, std::floor(std::log10(minimum) - 0.1));
      r.end = maximum <= 0 ? 10.0 : std::pow(10.0, std::ceil(std::log10(maximum) + 0.1));
      r.step = 0;
      break;
    case AxisScale::Probit: {
      int k = 3;
      for (; k <= 13; ++k)
        if (1 - NormalTable::nominal(k) < minimum && NormalTable::nominal(k) > maximum) break;
      if (k > 13) k = 13;
      r = {1 - NormalTable::nominal(k), NormalTable::nominal(k), 0.01, k};
      break;
    }
  }
  return r;
}

LabelFormat labelFormat(AxisScale kind, const AxisRange& range) {
  using Kind = LabelFormat::Kind;
  switch (kind) {
    case AxisScale::Log10:
      return {Kind::Scientific, 2};
    case AxisScale::Probit:
      return {Kind::Percent, 2};
    case AxisScale::Linear:
      break;
  }
  char step[64];
  std::snprintf(step, sizeof step, "%g", range.step);
  std::string text = step;
  std::size_t e = text.find('e');
  std::size_t point = text.find('.');
  if (e != std::string::npos) {
    int decimals = point != std::string::npos && point < e ? static_cast<int>(e - point - 1) : 0;
    return {Kind::Scientific, std::min(decimals, 3), range.step};
  }
  if (point == std::string::npos) return {Kind::Integer, 0};
  int decimals = static_cast<int>(text.size() - point - 1);
  if (decimals <= 5) return {Kind::Fixed, decimals};
  return {Kind::Scientific, 3};
}

LabelText labelText(double value, const LabelFormat& format) {
  using Kind = LabelFormat::Kind;
  LabelText label;
  const double magnitude = std::fabs(value);
  char spec[16];
  switch (format.kind) {
    case Kind::Integer:
      if (magnitude >= 2147483647.0)
        label.text = "***********";
      else
        label.text = std::to_string(static_cast<int>(magnitude));
      break;
    case Kind::Fixed:
      std::snprintf(spec, sizeof spec, "%%.%df", format.decimals);
      label.text = printfText(spec, magnitude);
      break;
    case Kind::Percent:
      std::snprintf(spec, sizeof spec, "%%.%df", format.decimals);
      label.text = printfText(spec, magnitude * 100) + " %";
      break;
    case Kind::Scientific: {
      int decimals = format.decimals;
      const bool ownExponent = format.step > 0 && std::isfinite(format.step);
      if (ownExponent) {
        // Labels are multiples of the step: anything far below it is zero.
        if (magnitude < format.step / 1000) {
          label.text = "0";
          break;
        }
        // A label ten times the step needs one decimal more than the step
        // to tell it from its neighbours.
        decimals = std::clamp(decimalExponent(magnitude) - decimalExponent(format.step) + format.decimals, 0, 15);
      }
      std::snprintf(spec, sizeof spec, "%%.%de", decimals);
      std::string text = printfText(spec, magnitude);
      std::size_t e = text.find_first_of("eE");
      if (e == std::string::npos) {
        label.text = text;
        break;
      }
      // "2.5e-005" becomes "2.5.10" with "-5" raised: the dot is the multiplication sign.
      std::string mantissa = text.substr(0, e);
      if (ownExponent && mantissa.find('.') != std::string::npos) {
        // "1.0.10" would read as a product of three numbers: "1.10".
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.') mantissa.pop_back();
      }
      std::string exponent = text.substr(e + 1);
      bool negative = !exponent.empty() && exponent[0] == '-';
      std::size_t digits = exponent.find_first_not_of("+-0");
      exponent = digits == std::string::npos ? "0" : exponent.substr(digits);
      label.text = mantissa + ".10";
      label.exponent = (negative ? "-" : "") + exponent;
      break;
    }
  }
  if (value < 0 && label.text.find_first_not_of("0.") != std::string::npos) label.text = "-" + label.text;
  if (label.text.size() + label.exponent.size() > kMaxLabelLength) label = {"********", {}};
  return label;
}

namespace {

// One axis as drawn: its range, format and transformed ends.
struct Axis {
  AxisScale kind = AxisScale::Linear;
  AxisRange range;
  LabelFormat format;
  double t0 = 0, t1 = 1;  // T(start), T(end)
  bool valid = false;
};

class DiagramPainter {
 public:
  DiagramPainter(Canvas& canvas, const DiagramStyle& style) : m_canvas(canvas), m_style(style) {
    m_scale = canvas.dpiY() / 96.0;
    int height = static_cast<int>(std::lround(14.0 * canvas.dpiY() / 72.0));
    m_labelFont = {"MS Sans Serif", -height, 400};
    m_exponentFont = {"MS Sans Serif", -std::max(1, height * 10 / 12), 400};
    // The equation is a note on the plot, not a graduation: smaller, so that
    // it covers little of the data.
    m_noteFont = {"MS Sans Serif", -std::max(1, height * 10 / 12), 400};
  }

  int units(double u) const { return std::max(1, static_cast<int>(std::lround(u * m_scale))); }

  Size labelSize(const LabelText& label) {
    m_canvas.setFont(m_labelFont);
    Size main = m_canvas.measureText(label.text);
    if (label.exponent.empty()) return main;
    m_canvas.setFont(m_exponentFont);
    Size raised = m_canvas.measureText(label.exponent);
    return {main.width + raised.width, main.height + std::abs(m_labelFont.height) / 2};
  }

  // Draws a label whose box has its top-left corner at `topLeft`.
  void drawLabel(const LabelText& label, Point topLeft) {
    const int raise = label.exponent.empty() ? 0 : std::abs(m_labelFont.height) / 2;
    m_canvas.setTextColour(kBlack);
    m_canvas.setFont(m_labelFont);
    m_canvas.drawText({topLeft.x, topLeft.y + raise}, label.text);
    if (label.exponent.empty()) return;
    int width = m_canvas.measureText(label.text).width;
    m_canvas.setFont(m_exponentFont);
    m_canvas.drawText({topLeft.x + width, topLeft.y}, label.exponent);
  }

  Canvas& m_canvas;
  const DiagramStyle& m_style;
  double m_scale = 1.0;
  FontSpec m_labelFont, m_exponentFont, m_noteFont;
};

// Values graduated on an axis, each with its label when it has one.
struct Graduation {
  double value;
  bool tick;
  bool label;
};

std::vector<Graduation> graduations(const Axis& axis) {
  std::vector<Graduation> out;
  const AxisRange& r = axis.range;
  switch (axis.kind) {
    case AxisScale::Linear: {
      const double step = r.step;
      if (!(step > 0)) break;
      auto snap = [&](double v) {
        if (std::fabs(v) < step / 1000) return 0.0;
        if (std::fabs(v - r.end) < step / 1000) return r.end;
        return v;
      };
      for (int i = 0; i < 1000; ++i) {
        double v = r.start + i * step;
        if (v > r.end + step / 100) break;
        out.push_back({snap(v), v <= r.end - step / 100, true});
      }
      break;
    }
    case AxisScale::Log10: {
      if (!(r.start > 0) || !(r.end > r.start)) break;
      const int firstDecade = static_cast<int>(std::floor(std::log10(r.start) + 1e-9));
      const int lastDecade = static_cast<int>(std::ceil(std::log10(r.end) - 1e-9));
      const bool oneDecade = lastDecade - firstDecade <= 1;
      for (int k = firstDecade; k <= lastDecade && k - firstDecade < 700; ++k) {
        for (int m = 1; m <= 9; ++m) {
          double v = m * std::pow(10.0, k);
          if (v < r.start * (1 - 1e-12) || v > r.end * (1 + 1e-12)) continue;
          out.push_back({v, true, m == 1 || oneDecade});
        }
      }
      if (!out.empty()) {
        out.front().label = true;
        out.back().label = true;
      }
      break;
    }
    case AxisScale::Probit: {
      out.push_back({0.5, false, true});
      const int pairs = r.probabilities;
      for (int k = 1; k <= pairs; ++k) {
        bool labelled = pairs <= 10 || k % 2 == 1;
        out.push_back({NormalTable::nominal(k), true, labelled});
        out.push_back({1 - NormalTable::nominal(k), true, labelled});
      }
      break;
    }
  }
  return out;
}

std::optional<double> transform(double v, AxisScale kind) {
  NumericGuard guard;
  double t = scaleForward(v, kind, guard);
  if (guard.code() != kNumericOk) return std::nullopt;
  return t;
}

// Device coordinate of an axis-unit value `t`, limited to the device's range.
int mapUnits(double t, const Axis& axis, int origin, int size) {
  double d = (t - axis.t0) * size / (axis.t1 - axis.t0) + origin;
  if (!std::isfinite(d)) d = d > 0 ? 32767 : -32767;
  d = std::clamp(d, -32767.0, 32767.0);
  return static_cast<int>(roundInt(d));
}

// Whether the label at `value` is shown when one in `stride` is.
bool strideKeeps(double value, const Axis& axis, int stride) {
  if (stride <= 1 || !(axis.range.step > 0)) return true;
  const double k = std::round(value / axis.range.step);
  return std::fmod(std::fabs(k), stride) == 0;
}

// The smallest of 1, 2, 5, 10, 20, ... for which the labels kept do not
// touch along the axis; `box` gives a label's extent (along x or y).
int labelStride(const std::vector<Graduation>& marks, const Axis& axis, bool horizontal,
                const std::function<std::optional<Rect>(double)>& box) {
  std::vector<std::pair<double, Rect>> labels;
  for (const Graduation& g : marks)
    if (g.label)
      if (auto b = box(g.value)) labels.push_back({g.value, *b});
  static constexpr int kStrides[] = {1, 2, 5, 10, 20, 50, 100};
  for (int stride : kStrides) {
    bool clear = true;
    const Rect* previous = nullptr;
    for (const auto& [value, b] : labels) {
      if (!strideKeeps(value, axis, stride)) continue;
      if (previous) {
        // A small gap keeps two labels from reading as one.
        const int gap = horizontal ? (b.left > previous->left ? b.left - previous->right : previous->left - b.right)
                                   : (b.top > previous->top ? b.top - previous->bottom : previous->top - b.bottom);
        clear = clear && gap >= 4;
      }
      previous = &b;
    }
    if (clear) return stride;
  }
  return kStrides[std::size(kStrides) - 1];
}

// The lines of a note ("y = ..." then "r² = ..."), split at line breaks.
std::vector<std::string> noteLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t to = text.find('\n', from);
    if (to == std::string::npos) to = text.size();
    std::string line = text.substr(from, to - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    from = to + 1;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

struct PointF {
  double x = 0, y = 0;
};

// Cuts the segment a-b to the rectangle [left, right] x [top, bottom]
// (Liang-Barsky); false when nothing of it is inside. The renderer clips by
// itself because not every device does: an SVG picture keeps what runs
// outside a clip.
bool clipSegment(PointF& a, PointF& b, double left, double top, double right, double bottom) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  double t0 = 0, t1 = 1;
  const double p[] = {-dx, dx, -dy, dy};
  const double q[] = {a.x - left, right - a.x, a.y - top, bottom - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const PointF from{a.x + t0 * dx, a.y + t0 * dy}, to{a.x + t1 * dx, a.y + t1 * dy};
  a = from;
  b = to;
  return true;
}

Point devicePoint(PointF p) { return {static_cast<int>(roundInt(p.x)), static_cast<int>(roundInt(p.y))}; }

// Polylines cut to `box` (inclusive bounds): a run that leaves the box and
// comes back becomes two polylines.
std::vector<std::vector<Point>> clipRuns(const std::vector<std::vector<PointF>>& runs, const Rect& box) {
  const double left = box.left, top = box.top, right = box.right - 1, bottom = box.bottom - 1;
  std::vector<std::vector<Point>> out;
  std::vector<Point> current;
  auto flush = [&] {
    if (current.size() >= 2) out.push_back(current);
    current.clear();
  };
  for (const std::vector<PointF>& run : runs) {
    for (std::size_t i = 1; i < run.size(); ++i) {
      PointF a = run[i - 1], b = run[i];
      if (!clipSegment(a, b, left, top, right, bottom)) {
        flush();
        continue;
      }
      const Point from = devicePoint(a), to = devicePoint(b);
      if (current.empty() || current.back() != from) {
        flush();
        current.push_back(from);
      }
      if (to != current.back()) current.push_back(to);
      if (b.x != run[i].x || b.y != run[i].y) flush();  // cut at its end: the run left the box
    }
    flush();
  }
  return out;
}

// The fitted curve u = curve(x) in device units, sampled once per device
// column over the x axis. A run ends where the curve is not defined (NaN,
// infinite) and where it leaves the plot, so a pole or a gap is never
// bridged; the first point outside is kept for the cut at the frame.
std::vector<std::vector<PointF>> curveRuns(const std::function<double(double)>& curve, const Axis& xAxis,
                                           const Axis& yAxis, const Rect& plot) {
  std::vector<std::vector<PointF>> runs;
  if (!xAxis.valid || !yAxis.valid) return runs;
  const int samples = std::clamp(plot.width() + 1, 2, 8192);
  const double band = plot.height();
  std::vector<PointF> run;
  auto flush = [&] {
    if (run.size() >= 2) runs.push_back(run);
    run.clear();
  };
  bool previousDrawn = false, previousInside = false;
  PointF previous;
  for (int i = 0; i < samples; ++i) {
    const double t = xAxis.t0 + (xAxis.t1 - xAxis.t0) * i / (samples - 1);
    NumericGuard guard;
    const double x = scaleInverse(t, xAxis.kind, guard);
    const double u = guard.code() == kNumericOk ? curve(x) : std::nan("");
    if (!std::isfinite(u)) {
      flush();
      previousDrawn = false;
      continue;
    }
    double dy = (u - yAxis.t0) * -plot.height() / (yAxis.t1 - yAxis.t0) + plot.bottom;
    if (!std::isfinite(dy)) dy = dy > 0 ? plot.bottom + band : plot.top - band;
    const bool inside = dy >= plot.top && dy <= plot.bottom;
    // Far outside, only the direction toward the frame matters.
    dy = std::clamp(dy, plot.top - band, plot.bottom + band);
    const PointF p{plot.left + (t - xAxis.t0) * plot.width() / (xAxis.t1 - xAxis.t0), dy};
    if (inside) {
      if (run.empty() && previousDrawn && !previousInside) run.push_back(previous);
      run.push_back(p);
    } else if (!run.empty()) {
      run.push_back(p);
      flush();
    }
    previousDrawn = true;
    previousInside = inside;
    previous = p;
  }
  flush();
  return runs;
}

}  // namespace

std::string axisTitle(int axis, AxisScale kind) {
  if (kind == AxisScale::Probit) return "Fr\xE9quences cumul\xE9" "es (%)";
  return axis == 0 ? "x" : "y";
}

bool drawDiagram(Canvas& canvas, const Rect& area, const DiagramSeries& series, const DiagramStyle& style,
                 const std::function<bool()>& interrupted) {
  auto stop = [&] { return interrupted && interrupted(); };
  DiagramPainter p(canvas, style);

  // Data range of each axis.
  std::array<Axis, 2> axes;
  for (int a = 0; a < 2; ++a) {
    double lo = 0, hi = 0;
    bool any = false;
    for (const StatRow& row : series.points) {
      double v = std::clamp(a == 0 ? row.x : row.second, -kDataLimit, kDataLimit);
      lo = any ? std::min(lo, v) : v;
      hi = any ? std::max(hi, v) : v;
      any = true;
    }
    Axis& axis = axes[static_cast<std::size_t>(a)];
    axis.kind = series.axes[static_cast<std::size_t>(a)];
    axis.range = axisRange(axis.kind, lo, hi);
    axis.format = labelFormat(axis.kind, axis.range);
    auto t0 = transform(axis.range.start, axis.kind), t1 = transform(axis.range.end, axis.kind);
    axis.valid = t0 && t1 && *t1 != *t0;
    if (axis.valid) axis.t0 = *t0, axis.t1 = *t1;
  }
  const std::array<std::vector<Graduation>, 2> marks{graduations(axes[0]), graduations(axes[1])};

  // Layout: room for the widest and tallest labels of both axes, and for the
  // axis titles: x centred under the x labels, y above the y labels.
  if (style.fillArea) canvas.fillRect(area, style.background);
  const int margin = p.units(16);
  Rect inner{area.left + margin, area.top + margin, area.right - margin, area.bottom - margin};
  int widestY = 0, tallestY = 0, widestX = 0, tallestX = 0;
  for (int a = 0; a < 2; ++a) {
    for (const Graduation& g : marks[static_cast<std::size_t>(a)]) {
      if (!g.label) continue;
      Size s = p.labelSize(labelText(g.value, axes[static_cast<std::size_t>(a)].format));
      int& wide = a == 0 ? widestX : widestY;
      int& tall = a == 0 ? tallestX : tallestY;
      wide = std::max(wide, s.width);
      tall = std::max(tall, s.height);
    }
  }
  const std::array<std::string, 2> titles{axisTitle(0, axes[0].kind), axisTitle(1, axes[1].kind)};
  canvas.setFont(p.m_labelFont);
  const Size xTitle = canvas.measureText(titles[0]), yTitle = canvas.measureText(titles[1]);
  const int gap = p.units(4);
  Rect plot{inner.left + widestY + gap, inner.top + yTitle.height + gap + tallestY / 2, inner.right - widestX / 2,
            inner.bottom - tallestX - gap - xTitle.height - gap};
  if (plot.width() < 2 || plot.height() < 2) return true;
  canvas.setBrush(style.background, true);
  canvas.setPen({kBlack, 1, PenStyle::Solid});
  canvas.drawRect(plot);

  auto mapX = [&](double v) -> std::optional<int> {
    auto t = transform(v, axes[0].kind);
    if (!t || !axes[0].valid) return std::nullopt;
    return mapUnits(*t, axes[0], plot.left, plot.width());
  };
  auto mapY = [&](double v) -> std::optional<int> {
    auto t = transform(v, axes[1].kind);
    if (!t || !axes[1].valid) return std::nullopt;
    return mapUnits(*t, axes[1], plot.bottom, -plot.height());
  };

  // Graduations and labels, x axis then y axis.
  const int tick = p.units(6);
  for (int a = 0; a < 2; ++a) {
    const Axis& axis = axes[static_cast<std::size_t>(a)];
    // Graduations crowd at the ends of a probability axis: a label that would
    // cover one already drawn is left out, so every label stays legible.
    std::vector<Rect> drawnLabels;
    // Long labels on a linear axis (scientific form, a narrow area): one in
    // two, or one in five, ... so that those shown stay evenly spaced.
    auto extent = [&](double v) -> std::optional<Rect> {
      auto c = a == 0 ? mapX(v) : mapY(v);
      if (!c) return std::nullopt;
      const Size s = p.labelSize(labelText(v, axis.format));
      if (a == 0) return Rect{*c - s.width / 2, 0, *c - s.width / 2 + s.width, 1};
      return Rect{0, *c - s.height / 2, 1, *c - s.height / 2 + s.height};
    };
    const int stride =
        axis.kind == AxisScale::Linear ? labelStride(marks[static_cast<std::size_t>(a)], axis, a == 0, extent) : 1;
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    for (const Graduation& g : marks[static_cast<std::size_t>(a)]) {
      auto c = a == 0 ? mapX(g.value) : mapY(g.value);
      if (!c) continue;
      canvas.setPen({kBlack, 1, PenStyle::Solid});
      if (g.tick) {
        if (a == 0) {
          canvas.drawLine({*c, plot.bottom - 1}, {*c, plot.bottom - 1 - tick});
          canvas.drawLine({*c, plot.top}, {*c, plot.top + tick});
        } else {
          canvas.drawLine({plot.left, *c}, {plot.left + tick, *c});
          canvas.drawLine({plot.right - 1, *c}, {plot.right - 1 - tick, *c});
        }
      }
      // A line across the plot at 0 (linear) or at 50 % (probability).
      bool across =
          (axis.kind == AxisScale::Linear && g.value == 0 && axis.range.start < 0 && axis.range.end > 0) ||
          (axis.kind == AxisScale::Probit && g.value == 0.5);
      if (across) {
        canvas.setPen({kBlack, 1, PenStyle::Dot});
        if (a == 0)
          canvas.drawLine({*c, plot.top}, {*c, plot.bottom - 1});
        else
          canvas.drawLine({plot.left, *c}, {plot.right - 1, *c});
      }
      if (!g.label || !strideKeeps(g.value, axis, stride)) continue;
      LabelText label = labelText(g.value, axis.format);
      Size s = p.labelSize(label);
      Point at = a == 0 ? Point{*c - s.width / 2, plot.bottom + gap} : Point{plot.left - gap - s.width, *c - s.height / 2};
      Rect box{at.x, at.y, at.x + s.width, at.y + s.height};
      bool covers = false;
      for (const Rect& other : drawnLabels)
        covers = covers || (box.left < other.right && other.left < box.right && box.top < other.bottom &&
                            other.top < box.bottom);
      if (covers) continue;
      drawnLabels.push_back(box);
      p.drawLabel(label, at);
    }
    if (stop()) return false;
  }

  // Axis titles.
  canvas.setFont(p.m_labelFont);
  canvas.setTextColour(kBlack);
  canvas.drawText({(plot.left + plot.right) / 2 - xTitle.width / 2, plot.bottom + gap + tallestX + gap}, titles[0]);
  canvas.drawText({std::max(inner.left, plot.left - gap - yTitle.width), inner.top}, titles[1]);

  // The fitted curve, or the straight line, in y-axis units, clipped to the
  // inside of the plot. The device points are kept to place the equation
  // where it hides the least.
  std::vector<Point> drawn;
  const Rect inside{plot.left + 1, plot.top + 1, plot.right - 1, plot.bottom - 1};
  std::vector<std::vector<PointF>> runs;
  if (series.curve) {
    runs = curveRuns(series.curve, axes[0], axes[1], plot);
  } else if (axes[0].valid && axes[1].valid) {
    const AxisRange& xr = axes[0].range;
    auto y = [&](double x) {
      const double u = series.a * x + series.b;
      const double d = (u - axes[1].t0) * -plot.height() / (axes[1].t1 - axes[1].t0) + plot.bottom;
      return std::isfinite(d) ? std::clamp(d, -1e12, 1e12) : (d > 0 ? 1e12 : -1e12);
    };
    auto x0 = mapX(xr.start), x1 = mapX(xr.end);
    if (x0 && x1) runs.push_back({{static_cast<double>(*x0), y(xr.start)}, {static_cast<double>(*x1), y(xr.end)}});
  }
  const std::vector<std::vector<Point>> lines = clipRuns(runs, inside);
  if (!lines.empty()) {
    canvas.setClip(inside);
    canvas.setPen({kLineGreen, p.units(3), PenStyle::Solid});
    for (const std::vector<Point>& line : lines) {
      if (series.curve)
        canvas.drawPolyline(line);
      else
        canvas.drawLine(line.front(), line.back());
      drawn.insert(drawn.end(), line.begin(), line.end());
    }
    canvas.clearClip();
  }
  if (!series.curve && lines.size() == 1) {
    // The straight line as two ends: sample it for the placing of the equation.
    const Point a = lines[0].front(), b = lines[0].back();
    for (int i = 1; i < 64; ++i) drawn.push_back({a.x + (b.x - a.x) * i / 64, a.y + (b.y - a.y) * i / 64});
  }

  // The points: filled dark so that they show on a white page as on the
  // screen, ringed in white so that they stand out on the line and on each other.
  const int radius = p.units(4);
  // The ring is as thick on paper as on the screen: a one-pixel pen is a hairline at printer resolution.
  canvas.setPen({kPointRing, p.units(1), PenStyle::Solid});
  canvas.setBrush(kPointRed);
  for (const StatRow& row : series.points) {
    if (stop()) return false;
    auto x = mapX(row.x), y = mapY(row.second);
    if (!x || !y || !plot.contains({*x, *y})) continue;
    canvas.drawEllipse({*x - radius, *y - radius, *x + radius + 1, *y + radius + 1});
    drawn.push_back({*x, *y});
  }

  // The equation, in the inside corner that covers the fewest points and the least of the line.
  const std::vector<std::string> note = noteLines(series.equation);
  if (!note.empty()) {
    canvas.setFont(p.m_noteFont);
    int width = 0, height = 0;
    std::vector<int> heights;
    for (const std::string& line : note) {
      const Size s = canvas.measureText(line);
      width = std::max(width, s.width);
      heights.push_back(s.height);
      height += s.height;
    }
    const int pad = p.units(4), offset = p.units(6);
    const int w = width + 2 * pad, h = height + 2 * pad;
    const Rect corners[] = {
        {plot.left + offset, plot.top + offset, plot.left + offset + w, plot.top + offset + h},
        {plot.right - offset - w, plot.top + offset, plot.right - offset, plot.top + offset + h},
        {plot.right - offset - w, plot.bottom - offset - h, plot.right - offset, plot.bottom - offset},
        {plot.left + offset, plot.bottom - offset - h, plot.left + offset + w, plot.bottom - offset},
    };
    const Rect* best = &corners[0];
    int fewest = -1;
    for (const Rect& box : corners) {
      const Rect near{box.left - radius, box.top - radius, box.right + radius, box.bottom + radius};
      const int covered = static_cast<int>(
          std::count_if(drawn.begin(), drawn.end(), [&](Point q) { return near.contains(q); }));
      if (fewest < 0 || covered < fewest) best = &box, fewest = covered;
    }
    canvas.setClip(inside);
    canvas.setBrush(style.background);
    canvas.setPen({kNoteFrame, 1, PenStyle::Solid});
    canvas.drawRect(*best);
    canvas.setTextColour(kBlack);
    int y = best->top + pad;
    for (std::size_t i = 0; i < note.size(); ++i) {
      canvas.drawText({best->left + pad, y}, note[i]);
      y += heights[i];
    }
    canvas.clearClip();
  }
  return true;
}

}  // namespace qz
