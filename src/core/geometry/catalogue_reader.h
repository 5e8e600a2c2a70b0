// Reading the figure catalogue files: figure headers, sub-figure headers and
// the variable lines of one figure into a VariableTable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geometry/geo_variable.h"

namespace qz {

/// Most sub-figures (views) one figure may have.
inline constexpr int kMaxSubFigures = 6;

/// The header of one sub-figure: its name in the sub-figure list, its
/// angles-note flag and the drawing offsets of its elements.
struct SubFigureHeader {
  std::string name;  ///< code page 1252
  int anglesNote = 0;
  double offsetX = 0.0;
  double offsetY = 0.0;
};

/// What a figure block holds besides its variables.
struct FigureLayout {
  std::vector<SubFigureHeader> subFigures;
  /// The angles-note flag that counts: the last sub-figure's.
  bool anglesNote() const { return !subFigures.empty() && subFigures.back().anglesNote != 0; }
};

/// Why a figure block could not be read.
enum class CatalogueError {
  None,
  NoSuchFigure,       ///< the figure number is beyond the figures of the file
  BadSubFigureCount,  ///< the count line is missing or not between 1 and 6
  MissingSubHeader,   ///< no "@SUBn" line for sub-figure n inside the figure's block
  TableFull,          ///< more variable lines than the 232-entry table holds
};

/// Maps a colour letter of the catalogue to its RGB value ("B" blue, "D"
/// black, "G" green, "J" purple, "M" grey, "R" red, "W" white; others black).
Rgb catalogueColour(char letter);
/// Maps a line style letter ("C" solid, "T" dashed, "P" dotted, "M" dash-dot;
/// others solid) to its GeoLineStyle.
int catalogueLineStyle(char letter);

/// Reads one variable line into `variable` (kind, anchors, colour, style,
/// marks, name, angles, range, starting value, forbidden values). Missing
/// fields read as 0 or empty; an empty line gives false. `subFigure` is
/// stored for drawn kinds, -1 for kind "V". The name is cut to 4 bytes and
/// the caption to 127.
bool parseVariableLine(std::string_view line, int subFigure, GeoVariable& variable);

/// One catalogue file held in memory: its text and where each figure starts.
///
/// Format (code page 1252 text, lines ending with a line feed, an optional
/// carriage return before it ignored): a figure starts with a line whose first
/// character is "#" followed by its name (the file has at least one line
/// before the first). The next line is the sub-figure count E (1 to 6); then,
/// for each sub-figure l, lines are skipped up to the line "@SUBl", followed
/// by its name, its angles-note flag, the line "offsetX,offsetY" and its
/// variable lines, ended by a line whose first field begins with ".".
class CatalogueText {
 public:
  CatalogueText() = default;
  explicit CatalogueText(std::string text) { setText(std::move(text)); }

  /// Replaces the text and finds the figure headers.
  void setText(std::string text);
  const std::string& text() const { return m_text; }

  int figureCount() const { return static_cast<int>(m_names.size()); }
  /// Figure names in file order (code page 1252).
  const std::vector<std::string>& figureNames() const { return m_names; }

  /// Appends the variables of figure `position` (0-based in this file) to
  /// `table`, which should hold the predefined entries already, and fills
  /// `layout`. On failure the entries read so far stay in the table.
  CatalogueError readFigure(int position, VariableTable& table, FigureLayout& layout) const;

 private:
  std::string m_text;
  std::vector<std::string> m_names;
  std::vector<size_t> m_blockStart;  ///< offset just after each figure's name line
  std::vector<size_t> m_blockEnd;    ///< offset of the next header's line feed, or the text's end
};

}  // namespace qz
