// The statistics diagram: points and fitted line in a framed plot with
// graduated axes (linear, decimal logarithm or normal probability), drawn on
// any canvas (dialog, printed page, picture for the RTF export).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "statistics/axis_scale.h"
#include "statistics/stat_table.h"

namespace qz {

/// The points and line to draw.
struct DiagramSeries {
  std::vector<StatRow> points;  ///< x, and y (mode 2) or the cumulative frequency (mode 1)
  double a = 0, b = 0;          ///< line u = a.x + b, u in y-axis units (quantiles on a probability axis)
  AxisScales axes{AxisScale::Linear, AxisScale::Linear};
  /// A fitted curve other than the straight line: u = curve(x), u in y-axis
  /// units; empty for the line a, b. It may return NaN where it is not defined.
  std::function<double(double)> curve;
  /// The fitted equation and its r² for a corner of the plot (code page
  /// 1252, e.g. "y = 2.5·x + 1   r² = 0.998"); empty draws none. A line
  /// break starts a second line.
  std::string equation;
};

/// Start, end and step of one axis.
struct AxisRange {
  double start = 0, end = 0, step = 0;
  int probabilities = 0;  ///< graduated probability pairs (probability axes)
};

/// The graduated range of an axis holding data from `minimum` to `maximum`.
AxisRange axisRange(AxisScale kind, double minimum, double maximum);

/// How the labels of an axis are written.
struct LabelFormat {
  enum class Kind {
    Integer,     ///< "%d"
    Fixed,       ///< "%.Nf"
    Scientific,  ///< "%.Ne", the exponent drawn as a superscript
    Percent,     ///< fixed, of the value times 100
  };
  Kind kind = Kind::Integer;
  int decimals = 0;
  /// Scientific labels of a linear axis: the axis step. Each label then takes
  /// as many decimals as its own exponent needs to show this step ("1.4.10"
  /// and "1.6.10" with the exponent 7 for a step of 2E+06, not "1.10" twice),
  /// trailing zeros dropped, and zero reads "0". 0 keeps `decimals` for all.
  double step = 0;
  friend bool operator==(const LabelFormat&, const LabelFormat&) = default;
};
LabelFormat labelFormat(AxisScale kind, const AxisRange& range);

/// A label: the text and, in scientific form, the exponent drawn raised
/// ("1.10" and "-5" for 1E-05).
struct LabelText {
  std::string text;
  std::string exponent;
  friend bool operator==(const LabelText&, const LabelText&) = default;
};
LabelText labelText(double value, const LabelFormat& format);

/// Colours and device of a drawing.
struct DiagramStyle {
  Rgb background{255, 255, 255};  ///< window background colour (also behind the equation)
  bool fillArea = true;           ///< on screen the area is painted first
};

/// The titles of the axes: "x", and "y" or, on a probability axis,
/// "Fréquences cumulées (%)" (code page 1252).
std::string axisTitle(int axis, AxisScale kind);

/// Draws the whole diagram into `area`. `interrupted` (may be empty) is asked
/// after each axis and before each point; when it answers true the drawing
/// stops there and false is returned.
bool drawDiagram(Canvas& canvas, const Rect& area, const DiagramSeries& series, const DiagramStyle& style,
                 const std::function<bool()>& interrupted = {});

}  // namespace qz
