// Drawing the statistics results list: each markup line run by run, with its
// value field boxed (highlighted on the line the user clicked).
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace qz {

struct ResultsListStyle {
  FontSpec textFont{"Arial", -16, 400};    ///< the list font (AppFont 4), at 96 dots per inch
  FontSpec greekFont{"Symbol", -16, 400};  ///< the Greek font (AppFont 6)
  Rgb windowText{0, 0, 0};
  Rgb windowBackground{255, 255, 255};
  Rgb highlight{0, 120, 215};
};

/// Height of one list line (the text font's height on this canvas); lines are
/// drawn one unit apart.
int resultsListLineHeight(Canvas& canvas, const ResultsListStyle& style);

/// Index of the line under device y (may be past the last line), or -1 above the area.
int resultsListLineAt(Canvas& canvas, const ResultsListStyle& style, const Rect& area, int y);

/// Paints the area with the window background and draws `lines` (one-byte
/// markup codes) from its top, clipped to it. `highlighted` is -1 or the line
/// whose value field is drawn in the highlight colour.
void drawResultsList(Canvas& canvas, const Rect& area, const std::vector<std::string>& lines, int highlighted,
                     const ResultsListStyle& style);

}  // namespace qz
