#include "statistics/diagram_renderer.h"

#include <vector>

#include <algorithm>
#include <cmath>
#include <cstdio>
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
constexpr int kMaxLabelLength = 16;

std::string printfText(const char* format, double value) { return formatDouble(format, value); }

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
    return {Kind::Scientific, std::min(decimals, 3)};
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
      label.text = printfText(spec, magnitude * 100);
      break;
    case Kind::Scientific: {
      std::snprintf(spec, sizeof spec, "%%.%de", format.decimals);
      std::string text = printfText(spec, magnitude);
      std::size_t e = text.find_first_of("eE");
      if (e == std::string::npos) {
        label.text = text;
        break;
      }
      // "2.5e-005" becomes "2.5.10" with "-5" raised: the dot is the multiplication sign.
      std::string mantissa = text.substr(0, e);
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
  FontSpec m_labelFont, m_exponentFont;
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

}  // namespace

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

  // Layout: room for the widest and tallest labels of both axes.
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
  const int gap = p.units(4);
  Rect plot{inner.left + widestY + gap, inner.top + tallestY / 2, inner.right - widestX / 2,
            inner.bottom - tallestX - gap};
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
      if (!g.label) continue;
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

  // The fitted line, in y-axis units, clipped to the inside of the plot.
  {
    const AxisRange& xr = axes[0].range;
    auto x0 = mapX(xr.start), x1 = mapX(xr.end);
    if (x0 && x1 && axes[1].valid) {
      int y0 = mapUnits(series.a * xr.start + series.b, axes[1], plot.bottom, -plot.height());
      int y1 = mapUnits(series.a * xr.end + series.b, axes[1], plot.bottom, -plot.height());
      canvas.setClip({plot.left + 1, plot.top + 1, plot.right - 1, plot.bottom - 1});
      canvas.setPen({kLineGreen, p.units(3), PenStyle::Solid});
      canvas.drawLine({*x0, y0}, {*x1, y1});
      canvas.clearClip();
    }
  }

  // The points.
  const int radius = p.units(4);
  // The ring is as thick on paper as on the screen: a one-pixel pen is a hairline at printer resolution.
  canvas.setPen({kPointRed, p.units(1), PenStyle::Solid});
  canvas.setBrush(style.background);
  for (const StatRow& row : series.points) {
    if (stop()) return false;
    auto x = mapX(row.x), y = mapY(row.second);
    if (!x || !y || !plot.contains({*x, *y})) continue;
    canvas.drawEllipse({*x - radius, *y - radius, *x + radius + 1, *y + radius + 1});
  }
  return true;
}

}  // namespace qz
