// Drawing the picture of a figure: its lines, arcs and ellipses, marks,
// captions and the labels of its variables coloured by their state.
#pragma once

#include "geometry/catalogue_reader.h"
#include "geometry/geo_variable.h"
#include "platform/canvas.h"

namespace qz {

/// Width of the picture world; its height follows the frame's proportions.
inline constexpr double kFigureWorldWidth = 1000.0;
/// Frame width, in device units, at which pens, marks and the label font are
/// drawn at their nominal size (the window's picture frame).
inline constexpr double kFigureReferenceWidth = 266.0;

/// Label backgrounds by state.
inline constexpr Rgb kLabelIncalculable{192, 192, 192};
inline constexpr Rgb kLabelComputed{255, 255, 0};
inline constexpr Rgb kLabelGivenFrame{128, 0, 0};

struct FigureDrawOptions {
  /// The window's background colour: behind unknown and given labels, and the
  /// frame's fill on the screen.
  Rgb background{240, 240, 240};
  /// Fill the frame with the background first (the screen; not the report).
  bool fillFrame = true;
  /// Drawing for the export: the label font is two units smaller.
  bool forExport = false;
  /// The label font at the reference frame width; scaled with the frame.
  FontSpec labelFont{"Arial", -12, 400};
};

/// Maps the picture world onto a device frame: x from 0 to 1000 across the
/// frame's width, y upwards from the frame's bottom with the same unit.
class FigureMapping {
 public:
  explicit FigureMapping(const Rect& frame);
  /// Height of the world shown in the frame (1000 for a square frame).
  double worldHeight() const { return m_worldHeight; }
  /// Device point of a world point: each coordinate limited to
  /// -32767..32767 and rounded half away from zero.
  Point toDevice(double x, double y) const;
  /// Device length of a world length (for radii).
  double scale() const { return m_unit; }

 private:
  Rect m_frame;
  double m_worldHeight;
  double m_unit;  ///< device units per world unit
};

/// The text a caption shows: the part before "@" followed by string 7000 + n,
/// n being the number after "@"; a caption without "@" as it is.
std::string captionText(const std::string& caption);

/// Turns every entry of kind "L" lying between two entries of kind "S" into
/// the arc of a rounded corner of radius |anchorX| (positive for a right
/// turn, negative for a left one), shortening both segments. Written into the
/// table; the entry becomes kind "A", so a second call changes nothing.
void roundCorners(VariableTable& table);

/// The part of `frame` the picture's world is mapped onto: `frame` itself
/// when every caption of the sub-figure lies within its height, otherwise the
/// widest frame of the same height, centred in it, that holds them (a frame
/// flatter than the window's original one has too little height above and
/// below the drawing), no narrower than two thirds of its height. Pens,
/// marks and the label font follow its width.
Rect figureDrawingFrame(Canvas& canvas, const Rect& frame, const VariableTable& table, const FigureLayout& layout,
                        int subFigure, const FigureDrawOptions& options = {});

/// Draws sub-figure `subFigure` of the figure in `table` inside `frame`,
/// clipped to it. A label shows the state of the variable its name resolves
/// to (the entry the equations use), so a name drawn in several sub-figures
/// reads the same everywhere; each drawn label's rectangle is stored in its
/// entry's `labelRect` (other entries of the sub-figure get an empty one).
/// Corners are rounded first (see roundCorners). The world is mapped onto
/// figureDrawingFrame, so that no caption is cut off by the frame's height.
void DrawFigure(Canvas& canvas, const Rect& frame, VariableTable& table, const FigureLayout& layout,
                int subFigure, const FigureDrawOptions& options = {});

/// The entry whose label lies under device point `p` in the last drawing of
/// `subFigure`, resolved to the entry its name designates; -1 when none.
int variableAtPoint(const VariableTable& table, int subFigure, Point p);

}  // namespace qz
